// The transaction log's hand-over to the spreadsheet templates (see SpreadsheetHandOver.h).
#include "SpreadsheetHandOver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char* const kTemplates[] = {"QuarrantDataTemplate.xls", "QuarrantDataTemplate.xlsm"};
constexpr int kLookupWaitMs = 3000;

#ifndef Q_OS_WIN
// One line of output of a short helper program; empty when it fails or is missing.
QString RunQuery(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral("xdg-mime"), args);
    if (!process.waitForFinished(kLookupWaitMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(kLookupWaitMs);
        return QString();
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}
#endif

} // namespace

SpreadsheetHandOver::SpreadsheetHandOver(ShellOpen open, ProgramLookup lookup)
    : m_open(std::move(open))
    , m_lookup(std::move(lookup))
    , m_directory(QDir::currentPath())
{
}

QString SpreadsheetHandOver::HandOver(const QString& logFilePath)
{
    const QString fullPath = QFileInfo(logFilePath).absoluteFilePath();
    for (const char* name : kTemplates) {
        const QString templatePath = QDir(m_directory).filePath(QString::fromLatin1(name));
        if (!QFileInfo::exists(templatePath) || !m_lookup)
            continue;
        if (!m_lookup(templatePath).contains(QLatin1String("EXCEL.EXE"), Qt::CaseInsensitive))
            continue;
        QSettings settings(QStringLiteral("VB and VBA Program Settings"), QStringLiteral("QuarrantDataTemplate"));
        settings.setValue(QStringLiteral("TranslogData/LogFileName"), QDir::toNativeSeparators(fullPath));
        settings.sync();
        if (m_open)
            m_open(templatePath);
        return templatePath;
    }
    if (m_open)
        m_open(fullPath);
    return fullPath;
}

QString SpreadsheetHandOver::AssociatedProgram(const QString& filePath)
{
    if (!QFileInfo::exists(filePath))
        return QString();
#ifdef Q_OS_WIN
    const QString suffix = QLatin1Char('.') + QFileInfo(filePath).suffix();
    QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT"), QSettings::NativeFormat);
    const QString type = classes.value(suffix + QStringLiteral("/."), QString()).toString();
    if (type.isEmpty())
        return QString();
    return classes.value(type + QStringLiteral("/shell/open/command/."), QString()).toString();
#else
    const QString mimeType = RunQuery({QStringLiteral("query"), QStringLiteral("filetype"), filePath});
    if (mimeType.isEmpty())
        return QString();
    const QString desktopId = RunQuery({QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (desktopId.isEmpty())
        return QString();
    const QString desktopFile = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
    if (desktopFile.isEmpty())
        return QString();
    // The Exec line of the desktop entry: the program and its arguments.
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return QString();
#endif
}
