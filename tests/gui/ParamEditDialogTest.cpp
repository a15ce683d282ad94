// The parameter edit dialogs as real widgets: what they show for a stored value, the value
// text they hand on, and OK with a failing check keeping the dialog open with the message.
#include "GuiTestApp.h"

#include "dialogs/CAlarmParamEdit.h"
#include "dialogs/CGenParamEdit.h"
#include "dialogs/CIPParamEdit.h"
#include "dialogs/CListParamEdit.h"
#include "CquillTrakDoc.h"
#include "LiteralTable.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

class ParamEditDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        InitLiteralTable();
    }

    DBParam& Find(int number)
    {
        for (DBParam* p = doc.Sections().Chain(); p; p = p->next)
            if (p->number == number)
                return *p;
        ADD_FAILURE() << "no program code " << number;
        return *doc.Sections().Chain();
    }

    CquillTrakDoc doc;
};

} // namespace

TEST_F(ParamEditDialogTest, AlarmDialogShowsAndJoinsTheBits)
{
    DBParam& p = Find(611);
    ASSERT_TRUE(StoreValue(doc.Image(), p, QStringLiteral("5")));
    CAlarmParamEdit dialog(p, doc.Image());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quarrant Liquid Parameter Edit"));
    EXPECT_TRUE(dialog.Box(0)->isChecked());
    EXPECT_FALSE(dialog.Box(1)->isChecked());
    EXPECT_TRUE(dialog.Box(2)->isChecked());
    dialog.show();
    QTest::mouseClick(dialog.Box(0), Qt::LeftButton, {}, QPoint(4, dialog.Box(0)->height() / 2));
    EXPECT_EQ(dialog.ValueText(), QStringLiteral("4"));
}

TEST_F(ParamEditDialogTest, IpDialogShowsDottedAddressAndHandsOnTheNumber)
{
    DBParam& p = Find(721);
    ASSERT_TRUE(StoreValue(doc.Image(), p, QString::number((192u << 24) | (168u << 16) | (1u << 8) | 1u)));
    CIPParamEdit dialog(p, doc.Image());
    EXPECT_EQ(dialog.AddressEdit()->text(), QStringLiteral("192.168.1.1"));
    EXPECT_TRUE(dialog.RangeLabel()->isHidden());
    EXPECT_TRUE(dialog.CurrentValueLabel()->isHidden());
    dialog.AddressEdit()->setText(QStringLiteral("10.0.0.2"));
    EXPECT_EQ(dialog.ValueText(), QStringLiteral("167772162"));

    // Something that is no address keeps the dialog open instead of storing another number.
    QStringList shown;
    dialog.SetMessageSink([&shown](const QString& text) { shown << text; });
    dialog.show();
    dialog.AddressEdit()->setText(QStringLiteral("10.0.300.2"));
    dialog.accept();
    EXPECT_EQ(shown, QStringList{CIPParamEdit::AddressMessage()});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
}

TEST_F(ParamEditDialogTest, FailedCheckKeepsTheDialogOpenWithItsMessage)
{
    DBParam& p = Find(111);
    CGenParamEdit general(p, doc.Image());
    QStringList shown;
    general.SetMessageSink([&shown](const QString& text) { shown << text; });
    general.show();
    general.NewValueEdit()->clear();
    QTest::keyClicks(general.NewValueEdit(), QStringLiteral("7"));
    QTest::keyClick(general.NewValueEdit(), Qt::Key_Return);
    EXPECT_EQ(shown, QStringList{QStringLiteral("Enter a number between 0 and 1.")});
    EXPECT_TRUE(general.isVisible());

    general.NewValueEdit()->setText(QStringLiteral("1"));
    QTest::keyClick(general.NewValueEdit(), Qt::Key_Return);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_FALSE(general.isVisible());
    EXPECT_EQ(general.result(), int(QDialog::Accepted));
}

TEST_F(ParamEditDialogTest, ListDialogOffersNumberedOptionsAndTheStoredLevel)
{
    DBParam& p = Find(111);
    ASSERT_TRUE(StoreValue(doc.Image(), p, QStringLiteral("1")));
    doc.SetSecurityLevel(p, 3);
    CListParamEdit dialog(p, doc.Image());
    const QComboBox* options = dialog.OptionList();
    ASSERT_EQ(options->count(), 2);
    for (int n = 0; n < options->count(); ++n)
        EXPECT_EQ(options->itemText(n), OptionChoices(*p.def).at(n));
    EXPECT_TRUE(options->itemText(0).startsWith(QLatin1String("0 "))) << qPrintable(options->itemText(0));
    EXPECT_EQ(options->currentIndex(), 1);
    EXPECT_TRUE(dialog.CurrentValueLabel()->isHidden());
    EXPECT_EQ(dialog.SecurityChoice(), 2);
    EXPECT_EQ(dialog.SecurityList()->itemText(0), QStringLiteral("Level 1"));
    EXPECT_EQ(dialog.ValueText(), QStringLiteral("1"));
}

TEST_F(ParamEditDialogTest, ProgramCodeWithoutLevelHasTheListDisabled)
{
    DBParam& p = Find(164);
    CGenParamEdit dialog(p, doc.Image());
    EXPECT_FALSE(dialog.SecurityList()->isEnabled());
    EXPECT_EQ(dialog.SecurityChoice(), -1);
    EXPECT_EQ(dialog.HelpLabel()->text(), LiteralText(p.def->helpLiteral));
}
