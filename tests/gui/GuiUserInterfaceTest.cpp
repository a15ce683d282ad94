// The desktop side of the user-interface seam: a message box carries the application title
// when no caption is given and answers with the button pressed; status texts reach the frame.
#include "GuiTestApp.h"

#include "dialogs/CProgressWnd.h"
#include "dialogs/GuiUserInterface.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

// Presses the button of the next modal message box once it is shown, and keeps its texts.
void AnswerNextBox(QMessageBox::StandardButton button, QString* title, QString* text)
{
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextBox(button, title, text);
            return;
        }
        *title = box->windowTitle();
        *text = box->text();
        box->button(button)->click();
    });
}

} // namespace

TEST(GuiUserInterfaceTest, MessageBoxTitleAndAnswer)
{
    EnsureGuiApp();
    GuiUserInterface ui;
    QString title;
    QString text;
    AnswerNextBox(QMessageBox::Retry, &title, &text);
    EXPECT_EQ(ui.MessageBox(QStringLiteral("Time-out"), QString(), UserInterface::Buttons::AbortRetryIgnore,
                            UserInterface::Icon::Warning),
              UserInterface::Retry);
    EXPECT_EQ(title, QStringLiteral("Quarrant Liquid"));
    EXPECT_EQ(text, QStringLiteral("Time-out"));

    AnswerNextBox(QMessageBox::No, &title, &text);
    EXPECT_EQ(ui.MessageBox(QStringLiteral("Save?"), QStringLiteral("Dump"), UserInterface::Buttons::YesNo), UserInterface::No);
    EXPECT_EQ(title, QStringLiteral("Dump"));
}

TEST(GuiUserInterfaceTest, StatusTextsAndProgressWindow)
{
    EnsureGuiApp();
    GuiUserInterface ui;
    std::vector<std::pair<int, QString>> status;
    ui.SetStatusSink([&status](int pane, const QString& text) { status.emplace_back(pane, text); });
    ui.SetStatusText(0, QStringLiteral(" *ONLINE* "));
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0], std::make_pair(0, QStringLiteral(" *ONLINE* ")));

    ui.ProgressBegin(QStringLiteral("Reading"), QStringLiteral("111"), 0, 4);
    ASSERT_NE(ui.ProgressWindow(), nullptr);
    ui.ProgressStep();
    ui.ProgressStep();
    EXPECT_EQ(ui.ProgressWindow()->windowTitle(), QStringLiteral("Reading [50%]"));
    EXPECT_FALSE(ui.ProgressCancelled());
    ui.ProgressFinish(QStringLiteral("Transfer Complete!"), false);
    ui.ProgressEnd();
    EXPECT_EQ(ui.ProgressWindow(), nullptr);
}
