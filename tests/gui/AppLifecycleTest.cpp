// The application with several documents: closing one of two frames asks about that document
// only and leaves the application running, closing the last ends it; a second start hands its
// file (or a request for a new configuration) to the running instance, which opens it; a
// definition document picks its configuration from a list only when several are open; without
// a network the first window says so.
#include <gtest/gtest.h>

#include "ScriptedUis.h"
#include "app/CMainFrame.h"
#include "app/CquillTrakApp.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class AppLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override { UseScriptedUis(m_app, m_uis); }

    static int VisibleWindows()
    {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->isVisible() ? 1 : 0;
        return n;
    }

    CquillTrakApp m_app;
    std::vector<ScriptedUserInterface*> m_uis;
};

TEST_F(AppLifecycleTest, ClosingOneOfTwoAsksAboutItOnlyAndTheLastFrameEndsTheApplication)
{
    ASSERT_EQ(VisibleWindows(), 0);
    CMainFrame* first = m_app.NewConfiguration();
    CMainFrame* second = m_app.NewConfiguration();
    ASSERT_EQ(m_uis.size(), 2u);
    first->Document().SetModifiedFlag();
    second->Document().SetModifiedFlag();
    m_uis[0]->messages.clear();
    m_uis[1]->messages.clear();
    m_uis[0]->answers = {UserInterface::No};
    m_uis[1]->answers = {UserInterface::No};

    // The frames close inside the application's event loop, as a user closes them; the loop
    // ends only when the last one has gone. A frame's user interface goes with the frame, so
    // it is read right after close().
    bool ranAfterFirstClose = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    guard.start(10000);
    QTimer::singleShot(0, &guard, [&] {
        EXPECT_TRUE(second->close());
        EXPECT_EQ(m_uis[1]->MessageTexts(), QStringList{QStringLiteral("Save changes to Untitled?")});
        EXPECT_TRUE(m_uis[0]->messages.empty());
        QTimer::singleShot(50, &guard, [&] {
            ranAfterFirstClose = true;
            EXPECT_EQ(m_app.CountOpenDocuments(), 1);
            EXPECT_EQ(m_app.MainFrame(), first);
            EXPECT_TRUE(first->isVisible());
            EXPECT_TRUE(first->close());
            EXPECT_EQ(m_uis[0]->messages.size(), 1u);
        });
    });
    EXPECT_EQ(QApplication::exec(), 0);
    guard.stop();
    EXPECT_TRUE(ranAfterFirstClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_app.CountOpenDocuments(), 0);
    EXPECT_EQ(VisibleWindows(), 0);
}

TEST_F(AppLifecycleTest, SecondStartHandsItsFileToTheRunningInstance)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("handed.qcf"));
    {
        CquillTrakDoc doc;
        doc.OnNewDocument();
        ASSERT_TRUE(doc.SaveFile(path));
    }
    const QString name = QStringLiteral("quarrant-lifecycle-%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(m_app.BecomeRunningInstance(name));

    CquillTrakApp second;
    ASSERT_TRUE(second.HandOverToRunningInstance(name, path));
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_app.CountOpenDocuments() == 1; }, 5000));
    EXPECT_EQ(m_app.Frames().first()->FilePath(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(second.CountOpenDocuments(), 0);

    // Without a file the running instance opens a new configuration.
    ASSERT_TRUE(second.HandOverToRunningInstance(name, QString()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_app.CountOpenDocuments() == 2; }, 5000));
    EXPECT_EQ(m_app.Frames().last()->Document().title, QStringLiteral("Untitled"));
}

TEST_F(AppLifecycleTest, ConfigurationDocumentIsChosenFromAListOnlyWhenSeveralAreOpen)
{
    ScriptedUserInterface chooser;
    chooser.listChoice = 1;
    EXPECT_EQ(m_app.ChooseConfigurationDocument(chooser), nullptr);

    CMainFrame* first = m_app.NewConfiguration();
    EXPECT_EQ(m_app.ChooseConfigurationDocument(chooser), first);
    EXPECT_TRUE(chooser.lastListItems.isEmpty()) << "one document is taken without asking";

    CMainFrame* second = m_app.NewConfiguration();
    first->Document().title = QStringLiteral("Loading-rack-north.qcf");
    first->Document().port = 3;
    first->Document().deviceAddress = 0x0107;
    second->Document().title = QStringLiteral("Bay2");
    second->Document().port = 0;
    second->Document().deviceAddress = 0xC0A8010Au; // 192.168.1.10: unit address 10
    EXPECT_EQ(m_app.ChooseConfigurationDocument(chooser), second);
    EXPECT_EQ(chooser.lastListItems,
              (QStringList{QStringLiteral("Loading-rack \t\t(Com3,  Address 7)"),
                           QStringLiteral("Bay2         \t\t(TCP/IP,  Address 10)")}));

    chooser.listChoice = -1;
    EXPECT_EQ(m_app.ChooseConfigurationDocument(chooser), nullptr);
    for (CMainFrame* frame : m_app.Frames())
        frame->Document().SetModifiedFlag(false);
}

TEST(AppNetworkStartTest, WithoutTheNetworkTheFirstWindowSaysSoAndNoSessionExists)
{
    for (bool networkReady : {true, false}) {
        SCOPED_TRACE(networkReady);
        CquillTrakApp app([networkReady] { return networkReady; });
        std::vector<ScriptedUserInterface*> uis;
        UseScriptedUis(app, uis);
        EXPECT_EQ(app.Internet() != nullptr, networkReady);

        app.NewConfiguration();
        app.NewConfiguration();
        ASSERT_EQ(uis.size(), 2u);
        const QStringList expected =
            networkReady ? QStringList{} : QStringList{QStringLiteral("Error initializing network connection")};
        EXPECT_EQ(uis[0]->MessageTexts(), expected);
        // Said once, over the first window only.
        EXPECT_TRUE(uis[1]->messages.empty());
        for (CMainFrame* frame : app.Frames())
            frame->Document().SetModifiedFlag(false);
    }
}

} // namespace
