// Macro files (see CMacro.h).
#include "CMacro.h"

#include "TerminalLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

const char* const kErrorTexts[] = {
    "No error",
    "Out of memory",
    "Command argument out of range",
    "Cannot perform operation while macro running",
    "Cannot perform operation while recording",
    "File not found",
    "Unable to create file",
    "Label not defined",
    "End of file",
    "LAST ERROR",
};
constexpr int kErrorCount = int(std::size(kErrorTexts));

bool StartsWith(const QString& line, const char* keyword)
{
    return line.startsWith(QLatin1String(keyword), Qt::CaseInsensitive);
}

QString WithoutLeadingBlanks(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t')))
        ++i;
    return s.mid(i);
}

bool IsFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

// The file a typed name means on a file system that tells case apart: the name itself when it
// exists, else the one file of its folder whose name differs from it only in case (the folder
// is taken as given). Several such files and none of them exact: nothing, as no file could be
// chosen without guessing.
QString ExistingFile(const QString& path)
{
    if (IsFile(path))
        return path;
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty())
        return QString();
    const QDir folder = info.dir();
    QString found;
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (!found.isEmpty())
            return QString();
        found = entry;
    }
    return found.isEmpty() ? QString() : folder.filePath(found);
}

} // namespace

CMacro::CMacro(const QString& fileName, std::unique_ptr<CMacro> parent, TerminalLog* log)
    : m_parent(std::move(parent))
    , m_log(log)
{
    QString path = ExistingFile(fileName);
    if (path.isEmpty()) {
        if (fileName.contains(QLatin1Char('.'))) {
            m_error = FileNotFound;
            return;
        }
        // The usual extension: exactly as written, then its lower-case form, then any case.
        path = fileName + QStringLiteral(".MAC");
        if (!IsFile(path) && IsFile(fileName + QStringLiteral(".mac")))
            path = fileName + QStringLiteral(".mac");
        path = ExistingFile(path);
        if (path.isEmpty()) {
            m_error = FileNotFound;
            return;
        }
    }
    if (!Load(path)) {
        m_error = FileNotFound;
        return;
    }
    m_state = Running;
    m_error = NoError;
}

CMacro::~CMacro() = default;

bool CMacro::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    QList<QByteArray> lines = data.split('\n');
    if (!data.isEmpty() && data.endsWith('\n'))
        lines.removeLast();
    if (data.isEmpty())
        lines.clear();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        m_lines << QString::fromLatin1(line);
    }
    m_fileName = path;
    m_state = Loaded;
    return true;
}

QString CMacro::ErrorTextOf(int code)
{
    if (code < 0 || code >= kErrorCount)
        return QLatin1String(kErrorTexts[kErrorCount - 1]);
    return QLatin1String(kErrorTexts[code]);
}

QString CMacro::NextLine()
{
    // More file commands in a row than the file has lines means a GOTO loop without a line for
    // the terminal; hand back an empty line so the terminal regains control.
    int budget = int(m_lines.size()) + 1;
    while (m_cursor < m_lines.size()) {
        const QString line = m_lines[m_cursor++];
        const int r = ExecuteFileCommand(line);
        if (r < 0)
            return QString();
        if (r == 0)
            return line;
        if (--budget <= 0)
            return QString();
    }
    m_error = EndOfFile;
    m_state = Ended;
    return QString();
}

int CMacro::ExecuteFileCommand(const QString& line)
{
    if (StartsWith(line, "GOTO"))
        return Goto(line);
    if (StartsWith(line, "LOG")) {
        if (m_log && m_log->IsOpen()) {
            m_log->Close();
            return 1;
        }
        const QString name = WithoutLeadingBlanks(line.mid(3));
        return m_log && m_log->Open(name) ? 1 : -1;
    }
    if (StartsWith(line, "SHELL"))
        return Shell(line);
    if (StartsWith(line, "IF") || StartsWith(line, "LET") || StartsWith(line, "ENDIF"))
        return 1;
    return 0;
}

int CMacro::Goto(const QString& line)
{
    const QString label = line.mid(5) + QLatin1Char(':');
    const int n = int(m_lines.size());
    // Forward from the line after the GOTO, then from the top; a label on the last line has
    // nothing after it to run and does not count.
    auto search = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            if (i < n - 1 && m_lines[i] == label)
                return i;
        }
        return -1;
    };
    int found = search(m_cursor, n);
    if (found < 0)
        found = search(0, std::min(m_cursor, n));
    if (found < 0) {
        m_error = LabelNotDefined;
        m_state = Ended;
        return -1;
    }
    m_cursor = found + 1;
    return 1;
}

int CMacro::Shell(const QString& line)
{
    if (m_log)
        m_log->Write(line + QStringLiteral("\r\n"));
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
#ifdef Q_OS_WIN
    process.start(QStringLiteral("cmd"), {QStringLiteral("/c"), line.mid(6)});
#else
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), line.mid(6)});
#endif
    if (!process.waitForStarted(-1))
        return 1;
    while (!process.waitForFinished(50) && process.state() != QProcess::NotRunning) {
        if (m_pump && m_pump()) {
            process.kill();
            process.waitForFinished(5000);
            break;
        }
    }
    return 1;
}
