// The configuration frame and its views: the tree and list after File New, section changes,
// the list of a loaded file, the close rule with the save prompt, pane switching, and the
// connection indicator against the simulator.
#include <gtest/gtest.h>

#include "../e2e/SimProcess.h"
#include "ScriptedUis.h"
#include "app/CMainFrame.h"
#include "app/CquillTrakApp.h"
#include "views/CDirectoryTreeView.h"
#include "views/CParamListView.h"

#include "ConnectionStateText.h"
#include "CquillTrakDoc.h"
#include "DeviceAddress.h"
#include "ParamEdit.h"
#include "ValueFormat.h"

#include <QApplication>
#include <QHeaderView>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override { UseScriptedUis(m_app, m_uis); }

    static QStringList Column(const QTreeWidget& list, int column)
    {
        QStringList out;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            out << list.topLevelItem(i)->text(column);
        return out;
    }

    static void Select(CMainFrame& frame, int section)
    {
        frame.TreeView()->setCurrentItem(frame.TreeView()->ItemOfSection(section));
    }

    static void SetValue(CMainFrame& frame, int section, int number, const QString& text)
    {
        DBParam* p = frame.Document().Sections().Find(section, number);
        ASSERT_NE(p, nullptr);
        ASSERT_TRUE(StoreValue(frame.Document().Image(), *p, text));
        p->programmed = 1;
    }

    CquillTrakApp m_app;
    std::vector<ScriptedUserInterface*> m_uis;
};

TEST_F(MainFrameTest, FileNewSelectsPulseOutputsAndListsItsProgramCodes)
{
    CMainFrame* frame = m_app.NewConfiguration();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Document().currentSection, 1);
    EXPECT_EQ(frame->TreeView()->currentItem()->text(0), QStringLiteral("Pulse Outputs"));
    EXPECT_TRUE(frame->TreeView()->topLevelItem(0)->isExpanded());
    EXPECT_EQ(frame->TreeView()->topLevelItemCount(), 10);

    const QStringList names = Column(*frame->ListView(), 0);
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names.first(), QStringLiteral("101 Pulse Output Function"));
    EXPECT_EQ(names.last(), QStringLiteral("104 Pulse Out 1 Max Frequency"));
    // Nothing programmed yet: every value cell is empty although the stored values are 0.
    EXPECT_EQ(Column(*frame->ListView(), 1), QStringList(4, QString()));
    EXPECT_EQ(frame->ListView()->headerItem()->text(0), QStringLiteral("ID  Description"));
    EXPECT_EQ(frame->ListView()->columnCount(), 3);
    EXPECT_EQ(frame->ListView()->columnWidth(0), 180);
    EXPECT_EQ(frame->ListView()->columnWidth(2), 100);
    // The line does not exist: the device does not answer, and the panes say so.
    EXPECT_LT(frame->Document().connectionState, int(CquillTrakDoc::ReadOnly));
    EXPECT_EQ(frame->PaneText(CDocFrame::kStatePane), ConnectionStateText(frame->Document().connectionState));
    EXPECT_FALSE(frame->PaneText(CDocFrame::kStatePane).isEmpty());
    EXPECT_EQ(m_app.CountOpenDocuments(), 1);
}

TEST_F(MainFrameTest, SectionsListTheirProgramCodesAndRecipesKeepTheFocusedRow)
{
    CMainFrame* frame = m_app.NewConfiguration();
    Select(*frame, 16);
    EXPECT_EQ(frame->Document().currentSection, 16);
    ASSERT_EQ(frame->ListView()->topLevelItemCount(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(frame->ListView()->ParamOf(frame->ListView()->topLevelItem(i))->instance, 2);

    frame->ListView()->setCurrentItem(frame->ListView()->topLevelItem(5));
    Select(*frame, 14);
    EXPECT_EQ(frame->ListView()->indexOfTopLevelItem(frame->ListView()->currentItem()), 5);
    Select(*frame, 5);
    EXPECT_EQ(frame->ListView()->indexOfTopLevelItem(frame->ListView()->currentItem()), 0);

    // Sections without program codes show no rows, and Enter there does nothing.
    for (int empty : {0, 13}) {
        Select(*frame, empty);
        EXPECT_EQ(frame->ListView()->topLevelItemCount(), 0);
        QTest::keyClick(frame->ListView(), Qt::Key_Return);
    }

    // An update while a section is selected leaves the tree as it is.
    Select(*frame, 9);
    frame->TreeView()->topLevelItem(0)->setExpanded(false);
    frame->Document().UpdateAllViews();
    EXPECT_EQ(frame->TreeView()->currentItem()->text(0), QStringLiteral("Pressure"));
    EXPECT_FALSE(frame->TreeView()->topLevelItem(0)->isExpanded());
}

TEST_F(MainFrameTest, LoadedFileShowsValuesOptionsCommentsAndSecurityLevels)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("device.qcf"));
    {
        CMainFrame* source = m_app.NewConfiguration();
        SetValue(*source, 11, 701, QStringLiteral("4"));
        SetValue(*source, 1, 102, QStringLiteral("10"));
        DBParam* p = source->Document().Sections().Find(1, 102);
        source->Document().SetSecurityLevel(*p, 2);
        ASSERT_TRUE(source->Document().SaveFile(path));
        delete source;
    }
    GeneralOptions options = m_app.Options();
    options.showSecLvl = true;
    m_app.ApplyOptions(options);

    CMainFrame* frame = m_app.OpenDocumentFile(path);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("device.qcf[*] - Quarrant Liquid"));
    CParamListView& list = *frame->ListView();
    ASSERT_EQ(list.columnCount(), 4);
    EXPECT_EQ(list.headerItem()->text(3), QStringLiteral("Sec. Lvl"));
    EXPECT_EQ(list.columnWidth(3), 120);
    DBParam* p102 = frame->Document().Sections().Find(1, 102);
    EXPECT_EQ(list.topLevelItem(1)->text(1), FormatValue(*p102, frame->Document().Image()));
    EXPECT_FALSE(list.topLevelItem(1)->text(1).trimmed().isEmpty());
    EXPECT_EQ(list.topLevelItem(1)->text(3), QStringLiteral("2"));
    EXPECT_EQ(list.topLevelItem(0)->text(1), QString());

    Select(*frame, 11);
    EXPECT_EQ(list.topLevelItem(0)->text(0), QStringLiteral("701 Comm 1 Function"));
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("04 Printer"));

    // Read-only program codes: name without its mark, "Read Only" comment.
    bool sawReadOnly = false;
    for (int s = 0; s < 18 && !sawReadOnly; ++s) {
        Select(*frame, s);
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            if (list.ParamOf(list.topLevelItem(i))->IsReadOnly()) {
                EXPECT_FALSE(list.topLevelItem(i)->text(0).contains(QLatin1Char('{')));
                EXPECT_EQ(list.topLevelItem(i)->text(2), QStringLiteral("Read Only"));
                sawReadOnly = true;
            }
        }
    }
    EXPECT_TRUE(sawReadOnly);

    // A program code without a level shows "N/A".
    bool sawNoLevel = false;
    for (int s = 0; s < 18 && !sawNoLevel; ++s) {
        Select(*frame, s);
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            if (list.topLevelItem(i)->text(0).startsWith(QLatin1String("164 "))) {
                EXPECT_EQ(list.topLevelItem(i)->text(3), QStringLiteral("N/A"));
                sawNoLevel = true;
            }
        }
    }
    EXPECT_TRUE(sawNoLevel);

    // Opening the same file again brings up its frame instead of a second document.
    EXPECT_EQ(m_app.OpenDocumentFile(path), frame);
    EXPECT_EQ(m_app.RecentFiles().value(0), QFileInfo(path).absoluteFilePath());
}

TEST_F(MainFrameTest, EnterAndDoubleClickEditThroughTheEditorAndRewriteTheRow)
{
    CMainFrame* frame = m_app.NewConfiguration();
    Select(*frame, 11);
    CParamListView& list = *frame->ListView();
    int edits = 0;
    bool accept = false;
    list.SetParamEditor([&](DBParam& p) {
        ++edits;
        if (accept)
            StoreValue(frame->Document().Image(), p, QStringLiteral("4"));
        return accept;
    });
    list.setCurrentItem(list.topLevelItem(0));
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QString());
    EXPECT_FALSE(frame->Document().modified);

    accept = true;
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("4 Printer"));
    EXPECT_TRUE(frame->Document().modified);
    EXPECT_TRUE(list.ParamOf(list.topLevelItem(0))->programmed);
    list.OnUpdate();
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("04 Printer"));

    emit list.itemDoubleClicked(list.topLevelItem(0), 0);
    EXPECT_EQ(edits, 3);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("04 Printer"));
}

TEST_F(MainFrameTest, EnterOnAReadOnlyProgramCodeShowsTheMessageInsteadOfADialog)
{
    CMainFrame* frame = m_app.NewConfiguration();
    CParamListView& list = *frame->ListView();
    QTreeWidgetItem* readOnly = nullptr;
    for (int s = 0; s < 18 && !readOnly; ++s) {
        Select(*frame, s);
        for (int i = 0; i < list.topLevelItemCount() && !readOnly; ++i) {
            if (list.topLevelItem(i)->text(0) == QStringLiteral("101 Date"))
                readOnly = list.topLevelItem(i);
        }
    }
    ASSERT_NE(readOnly, nullptr);
    EXPECT_EQ(readOnly->text(2), QStringLiteral("Read Only"));
    ScriptedUserInterface& ui = *m_uis[0];
    ui.messages.clear();
    list.setCurrentItem(readOnly);
    QTest::keyClick(&list, Qt::Key_Return);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, ParamEdit::ReadOnlyMessage());
    EXPECT_EQ(readOnly->text(1), QString());
    EXPECT_FALSE(frame->Document().modified);
}

TEST_F(MainFrameTest, CloseAsksToSaveAModifiedDocumentAndCancelKeepsTheFrame)
{
    QTemporaryDir dir;
    CMainFrame* first = m_app.NewConfiguration();
    CMainFrame* second = m_app.NewConfiguration();
    ASSERT_EQ(m_uis.size(), 2u);
    EXPECT_EQ(m_app.CountOpenDocuments(), 2);

    // Unmodified: closes without a question.
    QPointer<CMainFrame> watch = second;
    const size_t shown = m_uis[1]->messages.size();
    EXPECT_TRUE(second->close());
    EXPECT_EQ(m_uis[1]->messages.size(), shown);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(m_app.CountOpenDocuments(), 1);

    first->Document().SetModifiedFlag();
    ScriptedUserInterface& ui = *m_uis[0];
    ui.messages.clear();
    ui.answers = {UserInterface::Cancel};
    EXPECT_FALSE(first->close());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Save changes to Untitled?"));
    EXPECT_EQ(ui.messages[0].buttons, UserInterface::Buttons::YesNoCancel);
    EXPECT_EQ(m_app.CountOpenDocuments(), 1);

    // Yes with a cancelled file choice keeps the frame too; Yes with a file saves and closes.
    ui.answers = {UserInterface::Yes};
    EXPECT_FALSE(first->close());
    const QString path = dir.filePath(QStringLiteral("kept.qcf"));
    ui.answers = {UserInterface::Yes};
    ui.fileAnswers = {path};
    EXPECT_TRUE(first->close());
    EXPECT_TRUE(QFileInfo::exists(path));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_app.CountOpenDocuments(), 0);
}

TEST_F(MainFrameTest, F6AndTabMoveTheFocusBetweenTheTwoPanes)
{
    CMainFrame* frame = m_app.NewConfiguration();
    // The offscreen platform may not activate windows: the frame's focus widget is what
    // would have the keyboard focus.
    frame->TreeView()->setFocus();
    ASSERT_EQ(frame->focusWidget(), frame->TreeView());
    frame->Command(57680)->trigger();
    EXPECT_EQ(frame->focusWidget(), frame->ListView());
    frame->Command(57681)->trigger();
    EXPECT_EQ(frame->focusWidget(), frame->TreeView());
    QTest::keyClick(frame->TreeView(), Qt::Key_Tab);
    EXPECT_EQ(frame->focusWidget(), frame->ListView());
    QTest::keyClick(frame->ListView(), Qt::Key_Tab);
    EXPECT_EQ(frame->focusWidget(), frame->TreeView());
}

TEST_F(MainFrameTest, DeviceCommandsFollowTheConnectionState)
{
    CMainFrame* frame = m_app.NewConfiguration();
    frame->UpdateIdle();
    for (int id : {150, 151, 152, 153, 145, 162, 163, 164})
        EXPECT_FALSE(frame->Command(id)->isEnabled()) << id;
    EXPECT_TRUE(frame->Command(144)->isEnabled());
    // Types that are not built stay disabled rather than pretend.
    for (int id : {11846, 11847, 11844, 11866, 155})
        EXPECT_FALSE(frame->Command(id)->isEnabled()) << id;
    EXPECT_EQ(frame->Command(57600)->text(), QStringLiteral("&Pendralux.net Data File \tCtrl+N"));
    EXPECT_EQ(frame->Command(57601)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
}

TEST_F(MainFrameTest, ConnectedToTheSimulatorTheIndicatorShowsOnlineAndThePort)
{
    SimProcess sim;
    const std::optional<DeviceAddress> address = sim.StartForAddress();
    ASSERT_TRUE(address);

    CMainFrame* frame = m_app.NewConfiguration(address);
    EXPECT_EQ(frame->Document().port, 0);
    EXPECT_EQ(frame->Document().deviceAddress, 0x7F000001u);
    frame->UpdateIdle();
    EXPECT_EQ(frame->PaneText(CDocFrame::kStatePane), QStringLiteral(" *ONLINE* "));
    EXPECT_EQ(frame->PaneText(CDocFrame::kPortPane), frame->Connection().PortStatusText());
    EXPECT_FALSE(frame->PaneText(CDocFrame::kPortPane).isEmpty());
    for (int id : {150, 151, 152, 153, 145, 162})
        EXPECT_TRUE(frame->Command(id)->isEnabled()) << id;

    frame->Command(145)->trigger();
    EXPECT_EQ(frame->PaneText(CDocFrame::kStatePane), QStringLiteral(" Offline  "));
    EXPECT_FALSE(frame->Command(151)->isEnabled());
    frame->Command(144)->trigger();
    EXPECT_EQ(frame->PaneText(CDocFrame::kStatePane), QStringLiteral(" *ONLINE* "));

    // Read All fills the list of the selected section.
    frame->Command(151)->trigger();
    EXPECT_FALSE(frame->ListView()->topLevelItem(0)->text(1).isEmpty());
    EXPECT_TRUE(frame->Document().modified);
    frame->Document().SetModifiedFlag(false);
}

} // namespace
