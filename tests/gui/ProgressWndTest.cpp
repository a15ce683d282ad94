// The progress window: title with the percentage, the bar's visibility, Escape only when the
// caller asks for it, and Cancel turning into "&Close" at the end.
#include "GuiTestApp.h"

#include "dialogs/CProgressWnd.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

TEST(ProgressWndTest, TitleShowsPercentageAndEmptyRangeHidesTheBar)
{
    EnsureGuiApp();
    CProgressWnd wnd(nullptr, QStringLiteral("Reading Report..."));
    wnd.show();
    EXPECT_EQ(wnd.windowTitle(), QStringLiteral("Reading Report..."));
    EXPECT_EQ(wnd.MoveBar(45), 0);
    EXPECT_EQ(wnd.windowTitle(), QStringLiteral("Reading Report... [45%]"));
    wnd.SetBarRange(0, 0, 1);
    EXPECT_TRUE(wnd.Bar()->isHidden());
    EXPECT_FALSE(wnd.Button()->isHidden());
    wnd.SetBarRange(0, 200, 1);
    EXPECT_FALSE(wnd.Bar()->isHidden());
    wnd.MoveBar(100);
    EXPECT_EQ(wnd.windowTitle(), QStringLiteral("Reading Report... [50%]"));
}

TEST(ProgressWndTest, EscapeCancelsOnlyWhenAsked)
{
    EnsureGuiApp();
    CProgressWnd wnd(nullptr, QStringLiteral("Dump"));
    wnd.show();
    QCoreApplication::postEvent(&wnd, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    wnd.PollCancel(false, false);
    EXPECT_FALSE(wnd.IsCancelled());
    QCoreApplication::postEvent(&wnd, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    wnd.PollCancel(true, false);
    EXPECT_TRUE(wnd.IsCancelled());
}

TEST(ProgressWndTest, CancelThenCloseAtTheEnd)
{
    EnsureGuiApp();
    CProgressWnd wnd(nullptr, QStringLiteral("Read All"));
    wnd.show();
    EXPECT_EQ(wnd.Button()->text(), QStringLiteral("Cancel"));
    QTest::mouseClick(wnd.Button(), Qt::LeftButton);
    EXPECT_TRUE(wnd.IsCancelled());
    wnd.Finish(QStringLiteral("Transfer Complete!"), false);
    EXPECT_EQ(wnd.Button()->text(), QStringLiteral("&Close"));
    EXPECT_EQ(wnd.ProgressText(), QStringLiteral("Transfer Complete!"));
    QTest::mouseClick(wnd.Button(), Qt::LeftButton);
    EXPECT_FALSE(wnd.isVisible());
    EXPECT_TRUE(wnd.IsCancelled());
}
