// The search dialog's match rule and requests, and the search box's history.
#include "GuiTestApp.h"

#include "dialogs/CFindDialog.h"
#include "dialogs/CSearchBox.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

TEST(FindDialogTest, IgnoreCaseDecidesTheMatchAndFindAsksTheOwner)
{
    EnsureGuiApp();
    CFindDialog dialog;
    dialog.show();
    std::vector<int> requests;
    QObject::connect(&dialog, &CFindDialog::SearchRequested, [&requests](int r) { requests.push_back(r); });
    QTest::keyClicks(dialog.SearchBox()->lineEdit(), QStringLiteral("abc"));
    EXPECT_TRUE(dialog.FindButton()->isEnabled());
    EXPECT_FALSE(dialog.FindNextButton()->isEnabled());

    QTest::mouseClick(dialog.FindButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.Matches(QStringLiteral("xxABCxx")).has_value());
    EXPECT_EQ(dialog.Matches(QStringLiteral("xxabc")), std::optional<qsizetype>(2));
    EXPECT_TRUE(dialog.FindNextButton()->isEnabled());

    dialog.IgnoreCaseBox()->setChecked(true);
    dialog.FromCursorBox()->setChecked(true);
    QTest::mouseClick(dialog.FindButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Matches(QStringLiteral("xxABCxx")), std::optional<qsizetype>(2));
    QTest::mouseClick(dialog.FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(requests, (std::vector<int>{CFindDialog::FindFromStart, CFindDialog::FindFromCursor, CFindDialog::FindNext}));
}

TEST(FindDialogTest, SearchBoxKeepsTheNewestFifteen)
{
    EnsureGuiApp();
    CSearchBox box;
    box.show();
    for (int i = 1; i <= 18; ++i) {
        box.lineEdit()->setText(QStringLiteral("text %1").arg(i));
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    }
    ASSERT_EQ(box.count(), 15);
    EXPECT_EQ(box.itemText(0), QStringLiteral("text 18"));
    EXPECT_EQ(box.itemText(14), QStringLiteral("text 4"));
    // An auto-repeated Enter adds nothing.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(box.lineEdit(), &repeat);
    EXPECT_EQ(box.itemText(0), QStringLiteral("text 18"));
    EXPECT_EQ(box.itemText(1), QStringLiteral("text 17"));
}
