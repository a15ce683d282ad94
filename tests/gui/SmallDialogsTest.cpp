// The communications setup and port settings dialogs against the "Comm" settings, and the
// shared list chooser and access-code prompt.
#include "GuiTestApp.h"

#include "CommSettings.h"
#include "dialogs/CCommSetupDialog.h"
#include "dialogs/CPasswordDialog.h"
#include "dialogs/CPortSettings.h"
#include "dialogs/CStringArrayDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

QSettings AppSettings()
{
    return QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
}

} // namespace

TEST(CommSetupDialogTest, PortSettingsShowAndWriteTheStoredModeText)
{
    EnsureGuiApp();
    AppSettings().setValue(QStringLiteral("Comm/COM2"), QStringLiteral("9600,E,7,1"));
    AppSettings().setValue(QStringLiteral("Comm/COM2_Protocol"), 0);
    CCommSetupDialog dialog(2, (192u << 24) | (168u << 16) | (1u << 8) | 7u);
    EXPECT_EQ(dialog.AddressEdit()->text(), QStringLiteral("192.168.1.7"));
    EXPECT_EQ(dialog.PortList()->count(), 100);
    EXPECT_EQ(dialog.PortList()->currentText(), QStringLiteral("Com 2"));
    EXPECT_TRUE(dialog.PortSettingsButton()->isEnabled());

    QStringList shown;
    dialog.SetPortDialogRunner([&shown](CPortSettings& ports) {
        shown << ports.BaudList()->currentText() << ports.DataParityList()->currentText()
              << ports.ProtocolList()->currentText();
        ports.accept();
        return true;
    });
    dialog.EditPortSettings();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("9600"), QStringLiteral("7/Even"), QStringLiteral("Terminal")}));
    EXPECT_EQ(AppSettings().value(QStringLiteral("Comm/COM2")).toString(), QStringLiteral("9600,E,7,1"));

    // Mark parity opens as no parity and is written back without it; 600 baud opens as 38400.
    AppSettings().setValue(QStringLiteral("Comm/COM2"), QStringLiteral("600,M,8,1"));
    shown.clear();
    dialog.EditPortSettings();
    EXPECT_EQ(shown.mid(0, 2), (QStringList{QStringLiteral("38400"), QStringLiteral("8/None")}));
    EXPECT_EQ(AppSettings().value(QStringLiteral("Comm/COM2")).toString(), QStringLiteral("38400,N,8,1"));

    // TCP/IP has no port settings; OK hands back the port and the typed address.
    dialog.PortList()->setCurrentIndex(0);
    EXPECT_FALSE(dialog.PortSettingsButton()->isEnabled());
    dialog.AddressEdit()->setText(QStringLiteral("10.0.0.3"));
    dialog.accept();
    EXPECT_EQ(dialog.PortIndex(), 0);
    EXPECT_EQ(dialog.Address(), 0x0A000003u);
}

TEST(StringArrayDialogTest, OkWithoutSelectionHandsBackMinusOne)
{
    EnsureGuiApp();
    CStringArrayDialog dialog({QStringLiteral("first"), QStringLiteral("second")});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select an Entry from the List"));
    dialog.accept();
    EXPECT_EQ(dialog.ChosenIndex(), -1);
    CStringArrayDialog chosen({QStringLiteral("first"), QStringLiteral("second")});
    chosen.List()->setCurrentRow(1);
    chosen.accept();
    EXPECT_EQ(chosen.ChosenIndex(), 1);
}

TEST(PasswordDialogTest, AcceptsDigitsOnlyAndMasksThem)
{
    EnsureGuiApp();
    CPasswordDialog dialog;
    dialog.show();
    QTest::keyClicks(dialog.Field(), QStringLiteral("12a3"));
    EXPECT_EQ(dialog.AccessCode(), QStringLiteral("123"));
    EXPECT_EQ(dialog.Field()->echoMode(), QLineEdit::Password);
}
