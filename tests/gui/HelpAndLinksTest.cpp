// Help and the web links open their addresses through the URL opener (replaced here, so no
// browser starts): F1 in General Options opens topic 1140, F1 where no widget carries an id
// opens topic 100, Help Topics the manual's contents, Shift+F1 and a click the clicked
// control's topic, a parameter editor's Help button its program code's topic; Browse opens the device's page and the
// web-site entry the maker's address from the settings. The bundled device font answers to
// every face name the editors use while the application runs, and to none after it.
#include <gtest/gtest.h>

#include "ModalDriver.h"
#include "ScriptedUserInterface.h"
#include "app/CAppOptionsDlg.h"
#include "app/CDeviceFont.h"
#include "app/CHelp.h"
#include "app/CMainFrame.h"
#include "app/CUrlOpener.h"
#include "app/CquillTrakApp.h"
#include "dialogs/CCommSetupDialog.h"
#include "dialogs/CGenParamEdit.h"
#include "views/CParamListView.h"

#include "CquillTrakDoc.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QSettings>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QWhatsThis>

namespace {

class HelpAndLinksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app.SetUiFactory([](CDocFrame&) { return std::make_unique<ScriptedUserInterface>(); });
        CUrlOpener::SetHandler([this](const QUrl& url) {
            m_opened << url;
            return true;
        });
    }
    void TearDown() override { CUrlOpener::SetHandler(nullptr); }

    CquillTrakApp m_app;
    QList<QUrl> m_opened;
};

TEST_F(HelpAndLinksTest, F1InGeneralOptionsOpensTopic1140)
{
    CMainFrame* frame = m_app.NewConfiguration();
    DriveNextModal<CAppOptionsDlg>([](CAppOptionsDlg& dialog) {
        auto* box = dialog.findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F1);
        dialog.reject();
    });
    frame->Command(11842)->trigger();
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].fragment(), QStringLiteral("topic-1140"));
    EXPECT_TRUE(m_opened[0].isLocalFile());
    EXPECT_TRUE(m_opened[0].toLocalFile().endsWith(QLatin1String("/manual.html")));
}

TEST_F(HelpAndLinksTest, TopicsComeFromTheNearestWidgetWithAnIdElse100)
{
    QWidget outer;
    outer.setProperty("helpContext", 1140);
    auto* inner = new QWidget(&outer);
    auto* leaf = new QCheckBox(inner);
    QWidget plain;
    EXPECT_EQ(CHelp::TopicOf(leaf), 1140);
    EXPECT_EQ(CHelp::TopicOf(&plain), 100);
    EXPECT_EQ(CHelp::TopicOf(nullptr), 100);

    // The frame's F1 and Help Topics: no id in the frame gives 100; the contents have none.
    CMainFrame* frame = m_app.NewConfiguration();
    frame->Command(57670)->trigger();
    frame->Command(57667)->trigger();
    ASSERT_EQ(m_opened.size(), 2);
    EXPECT_EQ(m_opened[0].fragment(), QStringLiteral("topic-100"));
    EXPECT_FALSE(m_opened[1].hasFragment());
    EXPECT_EQ(m_opened[1].toLocalFile(), m_opened[0].toLocalFile());
}

TEST_F(HelpAndLinksTest, ShiftF1ThenAClickOpensTheTopicOfTheClickedControl)
{
    CMainFrame* frame = m_app.NewConfiguration();
    CCommSetupDialog dialog(1, 0x0A000001, frame); // carries topic 140
    dialog.show();
    frame->Command(57669)->trigger();
    ASSERT_TRUE(QWhatsThis::inWhatsThisMode());
    QTest::mouseClick(dialog.PortList(), Qt::LeftButton);
    for (int i = 0; i < 100 && m_opened.isEmpty(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].fragment(), QStringLiteral("topic-140"));
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
}

TEST_F(HelpAndLinksTest, TheHelpButtonOfAParameterEditorOpensTheProgramCodesTopic)
{
    CMainFrame* frame = m_app.NewConfiguration(); // "Pulse Outputs", 101 first
    DriveNextModal<CGenParamEdit>([](CGenParamEdit& dialog) {
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        buttons->button(QDialogButtonBox::Help)->click();
        dialog.reject();
    });
    frame->ListView()->setCurrentItem(frame->ListView()->topLevelItem(0));
    QTest::keyClick(frame->ListView(), Qt::Key_Return);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].fragment(), QStringLiteral("topic-10101"));
}

TEST_F(HelpAndLinksTest, BrowseOpensTheDevicePageAndTheWebSiteEntryTheMakersAddress)
{
    CMainFrame* frame = m_app.NewConfiguration();
    CquillTrakDoc& doc = frame->Document();
    frame->UpdateIdle();
    EXPECT_FALSE(frame->Command(167)->isEnabled()); // the device does not answer
    EXPECT_TRUE(frame->Command(168)->isEnabled());

    doc.deviceAddress = 0xC0A80105;
    doc.connectionState = CquillTrakDoc::ReadOnly;
    frame->UpdateIdle();
    ASSERT_TRUE(frame->Command(167)->isEnabled());
    frame->Command(167)->trigger();

    QSettings settings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
    settings.remove(QStringLiteral("Network/MakerWebSite"));
    frame->Command(168)->trigger();
    settings.setValue(QStringLiteral("Network/MakerWebSite"), QStringLiteral("https://maker.example.org/liquid"));
    frame->Command(168)->trigger();
    settings.remove(QStringLiteral("Network/MakerWebSite"));

    const QList<QUrl> expected = {QUrl(QStringLiteral("http://192.168.1.5/")), QUrl(QStringLiteral("https://www.example.com/")),
                                  QUrl(QStringLiteral("https://maker.example.org/liquid"))};
    EXPECT_EQ(m_opened, expected);
}

TEST(DeviceFontTest, EveryFaceNameResolvesToTheBundledFontWhileTheApplicationRuns)
{
    QString family;
    {
        CquillTrakApp app;
        family = app.DeviceFont().Family();
        ASSERT_FALSE(family.isEmpty());
        for (const QString& face : CDeviceFont::FaceNames()) {
            QFont font(face);
            EXPECT_EQ(QFontInfo(font).family(), family) << face.toStdString();
        }
    }
    for (const QString& face : CDeviceFont::FaceNames())
        EXPECT_TRUE(QFont::substitutes(face).isEmpty()) << face.toStdString();
}

} // namespace
