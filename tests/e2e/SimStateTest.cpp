// The simulator's configuration: a state file's values read back with "PV"/"XV" exactly as
// FormatValue shows them, and writes ending up in the state file written on exit.
#include "SimLine.h"

#include "CquillTrakDoc.h"
#include "ScriptedUserInterface.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

namespace {

QByteArray ReadCommand(const char* verb, const DBParam& p)
{
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(verb), CommandDirectory(p.section, p.instance)).arg(p.number, 3, 10, QLatin1Char('0')).toLatin1();
}

// A value inside the program code's range that no factory default has.
QString SampleValue(const DBParam& p)
{
    const ParamDef& def = *p.def;
    if (def.type == ValueType::Text)
        return QStringLiteral("Q%1").arg(p.instance).left(int(def.maximum));
    const double v = double(def.minimum) + (double(def.maximum) - double(def.minimum)) / 3.0;
    if (IsIntegralType(def.Type()))
        return QString::number(qulonglong(v) + (def.maximum - def.minimum >= 1.0f ? 1 : 0));
    return QString::number(v, 'f', 2);
}

// A document with a sample value in every writable program code and level 2 everywhere.
void FillSamples(CquillTrakDoc& doc)
{
    for (DBParam* p = doc.Sections().Chain(); p; p = p->next) {
        if (!p->IsReadOnly()) {
            ASSERT_TRUE(StoreValue(doc.Image(), *p, SampleValue(*p))) << p->def->name;
        }
        doc.SetSecurityLevel(*p, 2);
        p->programmed = 1;
    }
}

bool LoadDoc(CquillTrakDoc& doc, const QString& path)
{
    ScriptedUserInterface ui;
    QString error;
    return doc.OpenFile(path, ui, &error);
}

TEST(SimStateTest, EveryProgramCodeReadsBackAsTheStateFileHoldsIt)
{
    SimProcess sim;
    CquillTrakDoc doc;
    FillSamples(doc);
    const QString state = sim.TempPath(QStringLiteral("state.qcf"));
    ASSERT_TRUE(doc.SaveFile(state));
    ASSERT_TRUE(sim.Start({QStringLiteral("--state"), state})) << qPrintable(sim.Error());
    auto protocol = ConnectSim(sim, SimLine::Tcp);

    int checked = 0;
    for (DBParam* p = doc.Sections().Chain(); p; p = p->next) {
        if (p->IsReadOnly())
            continue; // the date and time follow the device clock
        const QByteArray command = ReadCommand("PV", *p);
        const SimExchange value = Exchange(*protocol, command);
        ASSERT_EQ(value.status, 0) << command.constData();
        EXPECT_EQ(value.text, command + ' ' + FormatValue(*p, doc.Image()).toLatin1()) << p->def->name;
        if (p->def->HasSecurityLevel()) {
            const SimExchange level = Exchange(*protocol, ReadCommand("XV", *p));
            EXPECT_EQ(level.text.mid(10), QByteArray("2")) << p->def->name;
        }
        ++checked;
    }
    EXPECT_EQ(checked, doc.Sections().Count() - 2);
}

TEST(SimStateTest, WritesReachTheStateFileWrittenOnExit)
{
    SimProcess sim;
    CquillTrakDoc before;
    FillSamples(before);
    const QString in = sim.TempPath(QStringLiteral("in.qcf"));
    const QString out = sim.TempPath(QStringLiteral("out.qcf"));
    ASSERT_TRUE(before.SaveFile(in));
    ASSERT_TRUE(sim.Start(sim.WithPty(QStringLiteral("mini"), {QStringLiteral("--state"), in, QStringLiteral("--state-out"), out})))
        << qPrintable(sim.Error());

    // What a dump sends: the value text of FormatValue (texts padded to their width, an IP
    // address as a ten-digit number) and the level; over the serial line here.
    CquillTrakDoc expected;
    FillSamples(expected);
    const struct {
        int section;
        int instance;
        int number;
        const char* value;
        int level;
    } writes[] = {
        {11, 0, 705, "250", 3},
        {11, 0, 721, "3232235777", 1},   // 192.168.1.1
        {5, 0, 112, "LPM", 0},
        {14, 2, 2, "DIESEL", 0},          // recipe 3's name
        {1, 0, 102, "12.5", 1},
    };
    auto protocol = ConnectSim(sim, SimLine::PtyMini);
    for (const auto& w : writes) {
        DBParam* p = expected.Sections().Find(w.section + w.instance, w.number);
        ASSERT_NE(p, nullptr) << w.number;
        ASSERT_TRUE(StoreValue(expected.Image(), *p, QString::fromLatin1(w.value)));
        const QByteArray command = "PC " + CommandDirectory(p->section, p->instance).toLatin1() + ' '
            + QByteArray::number(w.number).rightJustified(3, '0') + ' ' + FormatValue(*p, expected.Image()).toLatin1();
        EXPECT_EQ(Exchange(*protocol, command).status, 0) << command.constData();
        if (w.level) {
            expected.SetSecurityLevel(*p, uint8_t(w.level));
            const QByteArray xc = "XC" + command.mid(2, 8) + ' ' + QByteArray::number(w.level);
            EXPECT_EQ(Exchange(*protocol, xc).status, 0) << xc.constData();
        }
    }
    protocol.reset();
    ASSERT_EQ(sim.Stop(), 0) << qPrintable(sim.Stderr());

    CquillTrakDoc after;
    ASSERT_TRUE(LoadDoc(after, out));
    const DBParam* e = expected.Sections().Chain();
    for (const DBParam* a = after.Sections().Chain(); a && e; a = a->next, e = e->next) {
        EXPECT_TRUE(a->programmed) << a->def->name;
        if (a->IsReadOnly())
            continue;
        EXPECT_EQ(FormatValue(*a, after.Image()), FormatValue(*e, expected.Image())) << a->def->name;
        EXPECT_EQ(after.GetSecurityLevel(*a), expected.GetSecurityLevel(*e)) << a->def->name;
    }
}

TEST(SimStateTest, ProgramCodesAFileLacksKeepTheirFactoryDefaults)
{
    SimProcess sim;
    CquillTrakDoc doc;
    DBParam* timeout = doc.Sections().Find(11, 705);
    ASSERT_NE(timeout, nullptr);
    ASSERT_TRUE(StoreValue(doc.Image(), *timeout, QStringLiteral("42")));
    timeout->programmed = 1;
    const QString state = sim.TempPath(QStringLiteral("one.qcf"));
    ASSERT_TRUE(doc.SaveFile(state));
    ASSERT_TRUE(sim.Start({QStringLiteral("--state"), state})) << qPrintable(sim.Error());
    auto protocol = ConnectSim(sim, SimLine::Tcp);
    EXPECT_EQ(Exchange(*protocol, "PV SY 705").text, QByteArray("PV SY 705 042"));
    EXPECT_EQ(Exchange(*protocol, "PV SY 112").text, QByteArray("PV SY 112 GPM"));
}

TEST(SimStateTest, UnreadableStateFileStopsTheStart)
{
    SimProcess sim;
    const QString bad = sim.TempPath(QStringLiteral("bad.qcf"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a configuration file");
    f.close();
    EXPECT_FALSE(sim.Start({QStringLiteral("--state"), bad}));
    EXPECT_EQ(sim.Stop(), 1);
}

} // namespace
