// Applying an accepted parameter edit against the simulator as a real process: the value goes
// out with "PC" and a changed level with "XC" (none for an unchanged level), recipe instances
// use their own command directory, and a device that refuses "PC" leaves the document as it was.
#include "SimLine.h"

#include "CquillTrakDoc.h"
#include "DeviceConnection.h"
#include "OnlineParamEdit.h"
#include "ScriptedUserInterface.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

struct EditSession {
    ScriptedUserInterface ui;
    CquillTrakDoc doc;
    DeviceConnection connection{doc, ui};

    explicit EditSession(const SimProcess& sim)
    {
        connection.SetLinkFactory([&sim](const CquillTrakDoc&) {
            return ConnectSim(sim, SimLine::Tcp, 1, std::chrono::milliseconds(1500));
        });
        doc.OnNewDocument();
    }

    DBParam* Find(int number, int instance = 0) const
    {
        for (DBParam* p = doc.Sections().Chain(); p; p = p->next)
            if (p->number == number && p->instance == instance)
                return p;
        return nullptr;
    }
};

QStringList LoggedCommands(const QString& log)
{
    QStringList out;
    static const QRegularExpression line(QStringLiteral("^quarrant-devsim: .*?: (.*) -> "),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(log); it.hasNext();)
        out << it.next().captured(1).trimmed();
    return out;
}

} // namespace

TEST(OnlineParamEditTest, SendsValueAndOnlyAChangedLevel)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--verbose")})) << qPrintable(sim.Error());
    EditSession s(sim);
    ASSERT_EQ(s.doc.connectionState, CquillTrakDoc::Online);
    DBParam* p = s.Find(111);
    ASSERT_NE(p, nullptr);
    // A Float program code of the second recipe instance.
    DBParam* recipe = nullptr;
    for (DBParam* q = s.doc.Sections().Chain(); q && !recipe; q = q->next)
        if (q->section == 14 && q->instance == 1 && q->def->type == ValueType::Float && !q->IsReadOnly())
            recipe = q;
    ASSERT_NE(recipe, nullptr);
    const QString recipeValue = QString::number(double(recipe->def->minimum + recipe->def->maximum) / 2.0, 'f', 1);

    EXPECT_TRUE(OnlineParamEdit::Apply(s.doc, s.connection.Link(), s.ui, *p, QStringLiteral("1"), 2));
    EXPECT_EQ(FormatValue(*p, s.doc.Image()), QStringLiteral("1"));
    EXPECT_EQ(s.doc.GetSecurityLevel(*p), 2);
    EXPECT_EQ(p->programmed, 1);
    // The same level again: only the value goes out.
    EXPECT_TRUE(OnlineParamEdit::Apply(s.doc, s.connection.Link(), s.ui, *p, QStringLiteral("0"), 2));
    EXPECT_EQ(FormatValue(*p, s.doc.Image()), QStringLiteral("0"));
    EXPECT_TRUE(OnlineParamEdit::Apply(s.doc, s.connection.Link(), s.ui, *recipe, recipeValue, 0));
    EXPECT_TRUE(s.ui.messages.empty()) << qPrintable(s.ui.MessageTexts().join(QLatin1Char('|')));
    EXPECT_EQ(s.ui.waitCursorDepth, 0);

    sim.Stop();
    QStringList edits;
    for (const QString& c : LoggedCommands(sim.Stderr()))
        if (c.startsWith(QLatin1String("PC ")) || c.startsWith(QLatin1String("XC ")))
            edits << c;
    // The connection's program-mode probe writes 111 back first.
    ASSERT_FALSE(edits.isEmpty());
    edits.removeFirst();
    EXPECT_EQ(edits, (QStringList{QStringLiteral("PC SY 111 1"), QStringLiteral("XC SY 111 2"),
                                  QStringLiteral("PC SY 111 0"), QStringLiteral("PC 02 %1 %2").arg(recipe->number, 3, 10, QLatin1Char('0')).arg(recipeValue)}));
}

TEST(OnlineParamEditTest, RefusedValueKeepsTheDocument)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--locked")})) << qPrintable(sim.Error());
    EditSession s(sim);
    ASSERT_EQ(s.doc.connectionState, CquillTrakDoc::ReadOnly);
    DBParam* p = s.Find(111);
    ASSERT_NE(p, nullptr);

    EXPECT_FALSE(OnlineParamEdit::Apply(s.doc, s.connection.Link(), s.ui, *p, QStringLiteral("1"), 3));
    ASSERT_EQ(s.ui.messages.size(), 1u);
    EXPECT_TRUE(s.ui.messages[0].text.startsWith(QLatin1String("Command Rejected - "))) << qPrintable(s.ui.messages[0].text);
    EXPECT_EQ(FormatValue(*p, s.doc.Image()), QStringLiteral("0"));
    EXPECT_EQ(s.doc.GetSecurityLevel(*p), 0);
    EXPECT_EQ(p->programmed, 0);
    EXPECT_FALSE(s.doc.modified);
}

TEST(OnlineParamEditTest, OfflineEditStoresValueAndLevel)
{
    ScriptedUserInterface ui;
    CquillTrakDoc doc;
    DBParam* p = nullptr;
    for (DBParam* q = doc.Sections().Chain(); q; q = q->next)
        if (q->number == 111)
            p = q;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(OnlineParamEdit::Apply(doc, nullptr, ui, *p, QStringLiteral("1"), 3));
    EXPECT_EQ(FormatValue(*p, doc.Image()), QStringLiteral("1"));
    EXPECT_EQ(doc.GetSecurityLevel(*p), 3);
    EXPECT_TRUE(doc.modified);
    // A value out of range is refused with the check's message and changes nothing.
    EXPECT_FALSE(OnlineParamEdit::Apply(doc, nullptr, ui, *p, QStringLiteral("7"), 1));
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Enter a number between 0 and 1.")});
    EXPECT_EQ(doc.GetSecurityLevel(*p), 3);
}
