// Check for Updates against a real anonymous FTP server standing in for the update server:
// the revision file's number decides between the offer and "latest revision", a missing file
// says nothing, an earlier local file is never read, and an unreachable server is reported.
#include "FtpServerFixture.h"
#include "InternetSession.h"
#include "ScriptedUserInterface.h"
#include "UpdateCheck.h"

#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

const QString kLatest = QStringLiteral("You are currently running the latest revision of Quarrant for Corvantix.net Liquid.");

bool WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

} // namespace

TEST(UpdateCheckTest, RevisionFileDecides)
{
    struct Case {
        const char* name;
        std::optional<QByteArray> serverFile; // nullopt: no REV.TXT on the server
        std::optional<QByteArray> staleLocal; // an earlier local file, under a lower-case name
        UpdateCheck::Outcome outcome;
        QStringList messages;
    };
    const QString offer = QStringLiteral("A newer revision of Quarrant Liquid (revision 00.11) is now available. Upgrade now?");
    const Case cases[] = {
        {"newer", QByteArray("0.11\r\n"), std::nullopt, UpdateCheck::Outcome::InstallerChosen, {offer}},
        {"same", QByteArray("0.10\r\n"), std::nullopt, UpdateCheck::Outcome::Latest, {kLatest}},
        {"older", QByteArray("0.09"), std::nullopt, UpdateCheck::Outcome::Latest, {kLatest}},
        {"missing", std::nullopt, QByteArray("0.11"), UpdateCheck::Outcome::NoInformation, {}},
        {"empty", QByteArray(), std::nullopt, UpdateCheck::Outcome::NoInformation, {}},
    };
    QTemporaryDir updates;
    ASSERT_TRUE(updates.isValid());
    FtpServerFixture server;
    server.SetExtraArguments({QStringLiteral("--anonymous-root"), updates.path()});
    QString error;
    ASSERT_TRUE(server.Start(&error)) << qPrintable(error);
    const QString remote = updates.filePath(QStringLiteral("QuarrantL/REV.TXT"));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(remote);
        if (c.serverFile)
            ASSERT_TRUE(WriteFile(remote, *c.serverFile));
        QTemporaryDir work;
        ASSERT_TRUE(work.isValid());
        if (c.staleLocal)
            ASSERT_TRUE(WriteFile(work.filePath(QStringLiteral("rev.TXT")), *c.staleLocal));

        ScriptedUserInterface ui;
        InternetSession internet;
        UpdateCheck check(ui, &internet);
        check.SetServer(QStringLiteral("127.0.0.1"), server.Port());
        check.SetFolder(work.path());
        EXPECT_EQ(check.Run(), c.outcome);
        EXPECT_EQ(ui.MessageTexts(), c.messages);
        if (c.outcome == UpdateCheck::Outcome::InstallerChosen)
            EXPECT_EQ(ui.messages[0].caption, QStringLiteral("Quarrant for Corvantix.net Liquid Upgrade Wizard"));
        EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("rev.TXT"))));
        EXPECT_EQ(QFile::exists(work.filePath(QStringLiteral("REV.TXT"))), c.serverFile.has_value());
    }
}

TEST(UpdateCheckTest, UnreachableServerIsReported)
{
    // A port that was just free: nothing listens there.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    ScriptedUserInterface ui;
    InternetSession internet;
    UpdateCheck check(ui, &internet);
    check.SetServer(QStringLiteral("127.0.0.1"), port);
    check.SetFolder(work.path());
    EXPECT_EQ(check.Run(), UpdateCheck::Outcome::NoInformation);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Unable to open FTP connection to server via Internet"));
    EXPECT_EQ(ui.messages[0].caption, QStringLiteral("Pendralux.net Upgrade Wizard"));
}
