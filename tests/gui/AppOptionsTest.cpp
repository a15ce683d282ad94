// General Options: confirming writes all seven keys even when nothing changed, the dialog
// keeps what it has no control for, the unused-arms box cannot be reached; through the
// application's command, Cancel writes nothing and OK writes all seven keys and refreshes the
// open configuration's list; the About text.
#include <gtest/gtest.h>

#include "app/CAboutDlg.h"
#include "app/CAppOptionsDlg.h"
#include "app/CMainFrame.h"
#include "app/CquillTrakApp.h"
#include "ModalDriver.h"
#include "ScriptedUserInterface.h"
#include "views/CParamListView.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>

namespace {

QSettings Settings()
{
    return QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
}

const QStringList kKeys = {QStringLiteral("General/MRUFileCount"), QStringLiteral("ParamView/ShowSecLvl"),
                           QStringLiteral("ParamView/ShowUnused"), QStringLiteral("ParamView/TextCharSet"),
                           QStringLiteral("ParamPrint/ShowSecLvl"), QStringLiteral("ParamPrint/SuppressBelowLvl"),
                           QStringLiteral("ParamPrint/SuppressUnused")};

} // namespace

TEST(AppOptionsTest, ConfirmingWritesAllSevenKeysAndTheDialogKeepsUnreachableValues)
{
    {
        QSettings s = Settings();
        for (const QString& k : kKeys)
            s.remove(k);
        s.setValue(QStringLiteral("ParamView/ShowUnused"), 1);
        s.setValue(QStringLiteral("ParamView/TextCharSet"), 3);
        s.setValue(QStringLiteral("General/MRUFileCount"), 5);
    }
    CquillTrakApp app;
    EXPECT_TRUE(app.Options().showUnused);
    EXPECT_EQ(app.Options().mruFileCount, 5);

    CAppOptionsDlg dlg(app.Options());
    for (QCheckBox* box : dlg.findChildren<QCheckBox*>()) {
        if (box->text() == QStringLiteral("Display unused arms and meters in directory tree")) {
            EXPECT_FALSE(box->isEnabled() && box->isVisibleTo(&dlg));
        }
    }
    const GeneralOptions unchanged = dlg.Options();
    EXPECT_TRUE(unchanged.showUnused);
    EXPECT_EQ(unchanged.textCharSet, 3); // no entry for it in the box: kept as it was
    app.ApplyOptions(unchanged);

    QSettings s = Settings();
    for (const QString& k : kKeys)
        EXPECT_TRUE(s.contains(k)) << k.toStdString();
    EXPECT_EQ(s.value(QStringLiteral("General/MRUFileCount")).toInt(), 5);
    EXPECT_EQ(s.value(QStringLiteral("ParamView/TextCharSet")).toInt(), 3);
    EXPECT_EQ(s.value(QStringLiteral("ParamView/ShowUnused")).toInt(), 1);
    for (const QString& k : kKeys)
        s.remove(k);
}

TEST(AppOptionsTest, CancelWritesNothingAndOkWritesAllSevenKeys)
{
    {
        QSettings s = Settings();
        for (const QString& k : kKeys)
            s.remove(k);
    }
    CquillTrakApp app;
    app.SetUiFactory([](CDocFrame&) { return std::make_unique<ScriptedUserInterface>(); });
    CMainFrame* frame = app.NewConfiguration();
    ASSERT_EQ(frame->ListView()->columnCount(), 3);

    for (const QDialogButtonBox::StandardButton button : {QDialogButtonBox::Cancel, QDialogButtonBox::Ok}) {
        DriveNextModal<CAppOptionsDlg>([button](CAppOptionsDlg& dlg) {
            for (QCheckBox* box : dlg.findChildren<QCheckBox*>())
                if (box->text() == QStringLiteral("Display security level in parameter list view"))
                    box->setChecked(true);
            dlg.findChild<QDialogButtonBox*>()->button(button)->click();
        });
        app.OnGeneralOptions(frame);

        QSettings s = Settings();
        const bool ok = button == QDialogButtonBox::Ok;
        for (const QString& k : kKeys)
            EXPECT_EQ(s.contains(k), ok) << k.toStdString();
        EXPECT_EQ(app.Options().showSecLvl, ok);
        EXPECT_EQ(frame->ListView()->columnCount(), ok ? 4 : 3);
    }
    QSettings s = Settings();
    for (const QString& k : kKeys)
        s.remove(k);
}

TEST(AppOptionsTest, AboutShowsTheRevision)
{
    EXPECT_EQ(CAboutDlg::RevisionText(), QStringLiteral("Quarrant Liquid Revision 0.10"));
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About quarrant Liquid"));
}
