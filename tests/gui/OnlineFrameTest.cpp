// A configuration frame connected to the simulator: Enter on "701 Comm 1 Function" edits it
// through the real option-list dialog and sends "PC" and, for a changed level only, "XC";
// a device that refuses "PC" leaves the row and the document as they were; a frame without a
// configuration document keeps its state and port panes empty while another is online.
#include <gtest/gtest.h>

#include "../e2e/SimProcess.h"
#include "ModalDriver.h"
#include "ScriptedUis.h"
#include "app/CMainFrame.h"
#include "app/CquillTrakApp.h"
#include "dialogs/CListParamEdit.h"
#include "views/CDirectoryTreeView.h"
#include "views/CParamListView.h"

#include "DeviceAddress.h"

#include <QComboBox>
#include <QRegularExpression>
#include <QTest>

namespace {

class OnlineFrameTest : public ::testing::Test {
protected:
    void SetUp() override { UseScriptedUis(m_app, m_uis); }

    // A new configuration on the simulator, "Communications" selected, "701" focused.
    CMainFrame* OpenOnSimulator(const QStringList& simOptions)
    {
        const std::optional<DeviceAddress> address = m_sim.StartForAddress(simOptions);
        if (!address)
            return nullptr;
        CMainFrame* frame = m_app.NewConfiguration(address);
        frame->TreeView()->setCurrentItem(frame->TreeView()->ItemOfSection(11));
        QTreeWidgetItem* row = frame->ListView()->topLevelItem(0);
        EXPECT_EQ(row->text(0), QStringLiteral("701 Comm 1 Function"));
        frame->ListView()->setCurrentItem(row);
        return frame;
    }

    // Enter on the focused row; the option-list dialog picks the option and the level (1-3).
    static void EditWithEnter(CMainFrame& frame, int option, int level)
    {
        DriveNextModal<CListParamEdit>([option, level](CListParamEdit& dialog) {
            dialog.OptionList()->setCurrentIndex(option);
            dialog.SecurityList()->setCurrentIndex(level - 1);
            dialog.accept();
        });
        QTest::keyClick(frame.ListView(), Qt::Key_Return);
    }

    // The program-code writes the simulator received after its connection probe's write-back.
    QStringList WritesOf701()
    {
        m_sim.Stop();
        QStringList out;
        static const QRegularExpression write(QStringLiteral("^quarrant-devsim: .*?: ((PC|XC) \\S+ 701 .*?) -> "),
                                              QRegularExpression::MultilineOption);
        for (auto it = write.globalMatch(m_sim.Stderr()); it.hasNext();)
            out << it.next().captured(1).trimmed();
        return out;
    }

    SimProcess m_sim;
    CquillTrakApp m_app;
    std::vector<ScriptedUserInterface*> m_uis;
};

TEST_F(OnlineFrameTest, EnterEditSendsTheValueAndOnlyAChangedLevel)
{
    CMainFrame* frame = OpenOnSimulator({QStringLiteral("--verbose")});
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->Document().connectionState, int(CquillTrakDoc::Online));
    QTreeWidgetItem* row = frame->ListView()->topLevelItem(0);

    EditWithEnter(*frame, 4, 3);
    EXPECT_EQ(row->text(1), QStringLiteral("4 Printer"));
    EXPECT_EQ(frame->Document().GetSecurityLevel(*frame->ListView()->ParamOf(row)), 3);
    frame->ListView()->OnUpdate();
    row = frame->ListView()->topLevelItem(0);
    EXPECT_EQ(row->text(1), QStringLiteral("04 Printer"));

    frame->ListView()->setCurrentItem(row);
    EditWithEnter(*frame, 2, 3);
    EXPECT_TRUE(m_uis[0]->messages.empty()) << m_uis[0]->MessageTexts().join(QLatin1Char('|')).toStdString();
    frame->Document().SetModifiedFlag(false);

    const QStringList writes = WritesOf701();
    ASSERT_EQ(writes.size(), 3) << writes.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(writes[0].startsWith(QLatin1String("PC ")) && writes[0].endsWith(QLatin1String(" 701 4"))) << writes[0].toStdString();
    EXPECT_TRUE(writes[1].startsWith(QLatin1String("XC ")) && writes[1].endsWith(QLatin1String(" 701 3"))) << writes[1].toStdString();
    EXPECT_TRUE(writes[2].startsWith(QLatin1String("PC ")) && writes[2].endsWith(QLatin1String(" 701 2"))) << writes[2].toStdString();
}

TEST_F(OnlineFrameTest, RefusedWriteKeepsTheRowAndTheDocument)
{
    CMainFrame* frame = OpenOnSimulator({QStringLiteral("--locked")});
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->Document().connectionState, int(CquillTrakDoc::ReadOnly));
    m_uis[0]->messages.clear();

    EditWithEnter(*frame, 4, 3);
    QTreeWidgetItem* row = frame->ListView()->topLevelItem(0);
    EXPECT_EQ(row->text(1), QString());
    ASSERT_EQ(m_uis[0]->messages.size(), 1u);
    EXPECT_TRUE(m_uis[0]->messages[0].text.startsWith(QLatin1String("Command Rejected - ")))
        << m_uis[0]->messages[0].text.toStdString();
    EXPECT_FALSE(frame->ListView()->ParamOf(row)->programmed);
    EXPECT_FALSE(frame->Document().modified);
}

TEST_F(OnlineFrameTest, FrameWithoutConfigurationKeepsItsPanesEmptyWhileAnotherIsOnline)
{
    CMainFrame* online = OpenOnSimulator({});
    ASSERT_NE(online, nullptr);
    online->UpdateIdle();
    ASSERT_EQ(online->PaneText(CDocFrame::kStatePane), QStringLiteral(" *ONLINE* "));

    CDocFrame plain(m_app);
    plain.SetPaneText(CDocFrame::kStatePane, QStringLiteral(" *ONLINE* "));
    plain.SetPaneText(CDocFrame::kPortPane, online->PaneText(CDocFrame::kPortPane));
    plain.UpdateIdle();
    EXPECT_EQ(plain.PaneText(CDocFrame::kStatePane), QString());
    EXPECT_EQ(plain.PaneText(CDocFrame::kPortPane), QString());
}

} // namespace
