// Macro files: loading with the ".MAC" rule, the lines NextLine hands to the terminal, GOTO's
// search and its failures, the file commands LOG and SHELL, and the error table.
#include "CMacro.h"
#include "TerminalLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MacroFiles : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& text)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // The lines NextLine hands out, up to n of them or the macro's end.
    static QStringList Run(CMacro& m, int n)
    {
        QStringList out;
        while (n-- > 0 && m.State() == CMacro::Running)
            out << m.NextLine();
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(MacroFiles, LoadingTriesTheExtensionOnlyForNamesWithoutADot)
{
    Write(QStringLiteral("BOTH"), "ECHO plain\n");
    Write(QStringLiteral("BOTH.MAC"), "ECHO mac\n");
    Write(QStringLiteral("ONLY.MAC"), "ECHO only\n");
    Write(QStringLiteral("TEST.TXT.MAC"), "ECHO never\n");
    const struct {
        const char* name;
        int error;
        const char* firstLine;
    } cases[] = {
        {"BOTH", CMacro::NoError, "ECHO plain"},
        {"ONLY", CMacro::NoError, "ECHO only"},
        {"TEST.TXT", CMacro::FileNotFound, ""},
        {"MISSING", CMacro::FileNotFound, ""},
    };
    for (const auto& c : cases) {
        CMacro m(Path(QLatin1String(c.name)), nullptr, nullptr);
        EXPECT_EQ(m.ErrorCode(), c.error) << c.name;
        EXPECT_EQ(m.State(), c.error ? CMacro::NoFile : CMacro::Running) << c.name;
        if (c.error == CMacro::NoError)
            EXPECT_EQ(m.NextLine(), QLatin1String(c.firstLine)) << c.name;
        else
            EXPECT_EQ(m.ErrorText(), QStringLiteral("File not found"));
    }
}

TEST_F(MacroFiles, ANameNotFoundAsWrittenMatchesOneFileOfAnyCase)
{
    // The input line upper-cases the first characters typed: "play mymacro" arrives as MYmacro.
    Write(QStringLiteral("mymacro.mac"), "ECHO lower\n");
    Write(QStringLiteral("Notes"), "ECHO notes\n");
    Write(QStringLiteral("PAIR.MAC"), "ECHO upper\n");
    Write(QStringLiteral("pair.mac"), "ECHO lower pair\n");
    Write(QStringLiteral("Pair.Mac"), "ECHO mixed pair\n");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    Write(QStringLiteral("sub/inner.mac"), "ECHO inner\n");
    const struct {
        const char* name;
        const char* firstLine; // empty: not found
    } cases[] = {
        {"MYmacro", "ECHO lower"},
        {"MYMACRO.MAC", "ECHO lower"},
        {"mymacro.mac", "ECHO lower"},
        {"NOTES", "ECHO notes"},
        {"PAIR", "ECHO upper"},          // the exact name with the usual extension
        {"pair", "ECHO lower pair"},     // the exact name with the extension in lower case
        {"Pair.Mac", "ECHO mixed pair"}, // exact
        {"pAIR.mac", ""},                // three files differ from it only in case: none is chosen
        {"PAIR.TXT", ""},
        {"sub/INNER", "ECHO inner"},
        {"SUB/inner", ""},               // the folder is taken as written
    };
    for (const auto& c : cases) {
        CMacro m(Path(QLatin1String(c.name)), nullptr, nullptr);
        const bool found = *c.firstLine != 0;
        EXPECT_EQ(m.ErrorCode(), found ? CMacro::NoError : CMacro::FileNotFound) << c.name;
        if (found) {
            EXPECT_EQ(m.NextLine(), QLatin1String(c.firstLine)) << c.name;
        }
    }
}

TEST_F(MacroFiles, LinesKeepNoLineEndsAndTheEndIsError8)
{
    Write(QStringLiteral("A.MAC"), "EQ\r\n\r\nGD");
    CMacro m(Path(QStringLiteral("A")), nullptr, nullptr);
    EXPECT_EQ(m.Lines(), (QStringList{QStringLiteral("EQ"), QString(), QStringLiteral("GD")}));
    EXPECT_EQ(Run(m, 10), (QStringList{QStringLiteral("EQ"), QString(), QStringLiteral("GD"), QString()}));
    EXPECT_EQ(m.State(), CMacro::Ended);
    EXPECT_EQ(m.ErrorCode(), CMacro::EndOfFile);
    EXPECT_EQ(m.ErrorText(), QStringLiteral("End of file"));
}

TEST_F(MacroFiles, GotoSearchesForwardThenFromTheTopAndSkipsReservedWords)
{
    Write(QStringLiteral("L.MAC"), "START:\nECHO one\nGOTO FWD\nECHO skipped\nFWD:\nLET x=1\nIF x\nENDIF\n"
                                   "LEVEL 3\ngoto START\nEND:\n");
    CMacro m(Path(QStringLiteral("L")), nullptr, nullptr);
    EXPECT_EQ(Run(m, 5), (QStringList{QStringLiteral("START:"), QStringLiteral("ECHO one"), QStringLiteral("LEVEL 3"),
                                      QStringLiteral("ECHO one"), QStringLiteral("LEVEL 3")}));
    EXPECT_EQ(m.State(), CMacro::Running);
}

TEST_F(MacroFiles, GotoFailuresEndTheMacroWithError7)
{
    const struct {
        const char* text;
    } cases[] = {
        {"GOTO LOOP\nloop:\nECHO x\n"},     // labels compare with case
        {"GOTO END\nECHO a\nEND:\n"},       // a label on the last line does not count
        {"ECHO a\nGOTO NOWHERE\nECHO b\n"},
    };
    for (const auto& c : cases) {
        Write(QStringLiteral("G.MAC"), c.text);
        CMacro m(Path(QStringLiteral("G")), nullptr, nullptr);
        const QStringList lines = Run(m, 10);
        EXPECT_FALSE(lines.contains(QStringLiteral("ECHO x")) || lines.contains(QStringLiteral("ECHO b"))) << c.text;
        EXPECT_EQ(lines.last(), QString()) << c.text;
        EXPECT_EQ(m.State(), CMacro::Ended) << c.text;
        EXPECT_EQ(m.ErrorCode(), CMacro::LabelNotDefined) << c.text;
        EXPECT_EQ(m.ErrorText(), QStringLiteral("Label not defined"));
    }
}

TEST_F(MacroFiles, AGotoOntoItselfStillReturnsControl)
{
    Write(QStringLiteral("S.MAC"), "A:\nGOTO A\n");
    CMacro m(Path(QStringLiteral("S")), nullptr, nullptr);
    EXPECT_EQ(m.NextLine(), QStringLiteral("A:"));
    EXPECT_EQ(m.NextLine(), QString());
    EXPECT_EQ(m.State(), CMacro::Running);
}

TEST_F(MacroFiles, LogOpensAndClosesTheTerminalLogAndShellRunsLogged)
{
    const QString logPath = Path(QStringLiteral("t.log"));
    const QString marker = Path(QStringLiteral("made"));
    Write(QStringLiteral("M.MAC"), "LOG   " + logPath.toLatin1() + "\nSHELL echo hi > '" + marker.toLatin1()
                                       + "'\nLOG\nLOG\nEQ\n");
    TerminalLog log;
    CMacro m(Path(QStringLiteral("M")), nullptr, &log);
    EXPECT_EQ(m.NextLine(), QString()); // the LOG without a name fails; the macro goes on
    EXPECT_EQ(m.State(), CMacro::Running);
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(m.NextLine(), QStringLiteral("EQ"));

    QFile made(marker);
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    EXPECT_EQ(made.readAll(), "hi\n");
    QFile written(logPath);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.startsWith("Log started ")) << text.constData();
    EXPECT_TRUE(text.endsWith("\r\nSHELL echo hi > '" + marker.toLatin1() + "'\r\n")) << text.constData();
}

TEST(MacroErrors, TableTextsAndEndMarker)
{
    const char* texts[] = {"No error", "Out of memory", "Command argument out of range",
                           "Cannot perform operation while macro running", "Cannot perform operation while recording",
                           "File not found", "Unable to create file", "Label not defined", "End of file"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(CMacro::ErrorTextOf(i), QLatin1String(texts[i]));
    EXPECT_EQ(CMacro::ErrorTextOf(9), QStringLiteral("LAST ERROR"));
    EXPECT_EQ(CMacro::ErrorTextOf(-1), QStringLiteral("LAST ERROR"));
}

TEST(TerminalLogHeader, LongDateForm)
{
    const QDateTime when(QDate(2026, 3, 5), QTime(7, 8, 9));
    EXPECT_EQ(TerminalLog::HeaderLine(when), "Log started Thursday, March 05, 2026 07:08:09\r\n");
}

} // namespace
