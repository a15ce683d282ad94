// Runs the built command-line tool once and keeps what it left: exit code (-1 when it crashed
// or did not end within the time-out and was killed), standard output as bytes, standard error
// as text. Standard input gets `input` and is then closed, so a command never waits on it.
#pragma once

#include "TestSupport.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

namespace testsupport {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;

    QString OutText() const { return QString::fromLocal8Bit(out); }
};

struct CliOptions {
    QString workDir;                        // empty: the test's own
    QByteArray input;                       // written to standard input before it is closed
    std::optional<QProcessEnvironment> env; // none: the test's own
    int timeoutMs = 60000;
};

inline CliRun RunCli(const QStringList& args, const CliOptions& options = {})
{
    QProcess p;
    if (!options.workDir.isEmpty())
        p.setWorkingDirectory(options.workDir);
    if (options.env)
        p.setProcessEnvironment(*options.env);
    p.start(CliPath(), args);
    if (!options.input.isEmpty())
        p.write(options.input);
    p.closeWriteChannel();
    CliRun r;
    if (!p.waitForFinished(options.timeoutMs)) {
        p.kill();
        p.waitForFinished(10000);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace testsupport
