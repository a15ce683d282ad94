// FTP operations as libcurl transfers on one reused easy handle.
#include "FtpSession.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QSettings>
#include <QStringList>
#include <QUrl>
#include <curl/curl.h>

#include <algorithm>

namespace {

// libcurl's global state is set up once per process and never torn down while the process
// may still transfer.
void EnsureCurlInitialised()
{
    FtpSession::InitialiseLibrary();
}

long CeilSeconds(int milliseconds)
{
    return (milliseconds + 999) / 1000;
}

} // namespace

bool FtpSession::InitialiseLibrary()
{
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

FtpSession::FtpSession()
{
    EnsureCurlInitialised();
    m_errorBuffer = new char[CURL_ERROR_SIZE];
    m_errorBuffer[0] = '\0';
}

FtpSession::~FtpSession()
{
    Disconnect();
    delete[] m_errorBuffer;
}

quint16 FtpSession::DefaultPort()
{
    QSettings settings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
    bool ok = false;
    const uint port = settings.value(QStringLiteral("Network/FtpPort"), kStandardPort).toUInt(&ok);
    return ok && port > 0 && port <= 65535 ? quint16(port) : kStandardPort;
}

FtpSession::Result FtpSession::Connect(const QString& host, const QString& user,
                                       const QString& password, quint16 port, bool passive)
{
    Disconnect();
    m_host = host;
    m_user = user;
    m_password = password;
    m_port = port != 0 ? port : DefaultPort();
    m_passive = passive;
    m_entryPath.clear();
    m_currentFolder.clear();
    if (host.isEmpty() || host.contains(QLatin1Char('/')) || !IsSafeName(host + user + password))
        return Failure(FtpError::InvalidUrl, FtpError::Text(FtpError::InvalidUrl));

    m_curl = curl_easy_init();
    if (!m_curl)
        return Failure(FtpError::Internal, FtpError::Text(FtpError::Internal));

    // A body-less transfer of the login folder: connect, log in, learn the login folder.
    Prepare(FolderUrl(QString()));
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    Result result = Perform();
    if (!result.Ok()) {
        Disconnect();
        return result;
    }
    char* entry = nullptr;
    if (curl_easy_getinfo(m_curl, CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry)
        m_entryPath = QString::fromUtf8(entry);
    m_connected = true;
    return result;
}

void FtpSession::Disconnect()
{
    if (m_curl) {
        curl_easy_cleanup(m_curl);
        m_curl = nullptr;
    }
    m_connected = false;
}

FtpSession::Result FtpSession::SetCurrentFolder(const QString& folder)
{
    if (!m_connected)
        return Failure(FtpError::Internal, QStringLiteral("Not connected to an FTP server"));
    if (!IsSafeName(folder))
        return Failure(FtpError::InvalidUrl, FtpError::Text(FtpError::InvalidUrl));
    const QString resolved = Resolve(folder);
    Prepare(FolderUrl(resolved));
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    Result result = Perform();
    if (result.Ok())
        m_currentFolder = resolved;
    return result;
}

QString FtpSession::CurrentFolder() const
{
    if (m_currentFolder.startsWith(QLatin1Char('/')))
        return m_currentFolder;
    const QString entry = m_entryPath.isEmpty() ? QStringLiteral("/") : m_entryPath;
    if (m_currentFolder.isEmpty())
        return entry;
    return QDir::cleanPath(entry + QLatin1Char('/') + m_currentFolder);
}

FtpSession::Result FtpSession::CreateFolder(const QString& folder)
{
    if (folder.isEmpty())
        return Failure(FtpError::InvalidUrl, FtpError::Text(FtpError::InvalidUrl));
    return CommandAtCurrentFolder(QStringLiteral("MKD ") + folder);
}

FtpSession::Result FtpSession::DeleteFile(const QString& name)
{
    if (name.isEmpty())
        return Failure(FtpError::InvalidUrl, FtpError::Text(FtpError::InvalidUrl));
    return CommandAtCurrentFolder(QStringLiteral("DELE ") + name);
}

FtpSession::Result FtpSession::CommandAtCurrentFolder(const QString& command)
{
    if (!m_connected)
        return Failure(FtpError::Internal, QStringLiteral("Not connected to an FTP server"));
    if (!IsSafeName(command))
        return Failure(FtpError::InvalidUrl, FtpError::Text(FtpError::InvalidUrl));
    // Commands after the transfer are sent once libcurl stands in the current folder, so a
    // relative name means the same to the server as it does here.
    const QByteArray text = command.toUtf8();
    curl_slist* commands = curl_slist_append(nullptr, text.constData());
    Prepare(FolderUrl(m_currentFolder));
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, commands);
    Result result = Perform();
    curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, nullptr);
    curl_slist_free_all(commands);
    return result;
}

FtpSession::Result FtpSession::Download(const QString& name, QFile& local, TransferType type,
                                        const BlockCallback& onBlock, const OpenedCallback& onOpened)
{
    if (!m_connected)
        return Failure(FtpError::Internal, QStringLiteral("Not connected to an FTP server"));
    const QString resolved = Resolve(name);
    if (name.isEmpty() || name.endsWith(QLatin1Char('/')) || !IsSafeName(name) || resolved.isEmpty())
        return Failure(FtpError::InvalidUrl, FtpError::Text(FtpError::InvalidUrl));

    Prepare(FileUrl(resolved));
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &FtpSession::WriteCallback);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_TRANSFERTEXT, type == TransferType::Ascii ? 1L : 0L);

    m_file = &local;
    m_onBlock = onBlock;
    m_onOpened = onOpened;
    m_transferring = true;
    Result result = Perform();
    if (result.Ok()) {
        MarkOpened();
        // The last, short block: the transfer is complete, so a cancel here changes nothing.
        FlushBlock();
    }
    if (m_localError) {
        result.kind = Result::Kind::LocalFile;
        result.error = local.error();
        result.text = local.errorString();
    }
    result.opened = m_opened;
    m_transferring = false;
    m_file = nullptr;
    m_onBlock = nullptr;
    m_onOpened = nullptr;
    return result;
}

FtpSession::Result FtpSession::Upload(const QString& name, QFile& local, const BlockCallback& onBlock,
                                      const OpenedCallback& onOpened)
{
    if (!m_connected)
        return Failure(FtpError::Internal, QStringLiteral("Not connected to an FTP server"));
    const QString resolved = Resolve(name);
    if (name.isEmpty() || name.endsWith(QLatin1Char('/')) || !IsSafeName(name) || resolved.isEmpty())
        return Failure(FtpError::InvalidUrl, FtpError::Text(FtpError::InvalidUrl));

    Prepare(FileUrl(resolved));
    curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, &FtpSession::ReadCallback);
    curl_easy_setopt(m_curl, CURLOPT_READDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(std::max<qint64>(0, local.size() - local.pos())));

    m_file = &local;
    m_onBlock = onBlock;
    m_onOpened = onOpened;
    m_transferring = true;
    Result result = Perform();
    if (m_localError) {
        result.kind = Result::Kind::LocalFile;
        result.error = local.error();
        result.text = local.errorString();
    } else if (result.Ok()) {
        MarkOpened();
        // libcurl stops asking once the announced size went out; the final, empty block of a
        // file that ends on a block boundary is reported here instead.
        if (!m_endOfFile && m_onBlock)
            m_onBlock(m_total);
    }
    result.opened = m_opened;
    m_transferring = false;
    m_file = nullptr;
    m_onBlock = nullptr;
    m_onOpened = nullptr;
    return result;
}

void FtpSession::Prepare(const QByteArray& url)
{
    CURL* curl = m_curl;
    m_errorBuffer[0] = '\0';
    m_pending.clear();
    m_total = 0;
    m_opened = false;
    m_abortRequested = false;
    m_localError = false;
    m_endOfFile = false;

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_errorBuffer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &FtpSession::HeaderCallback);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &FtpSession::ProgressCallback);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    // Active mode answers on the address of the control connection, which is what a device
    // on the local network (or the loopback simulator) can reach.
    curl_easy_setopt(curl, CURLOPT_FTPPORT, m_passive ? nullptr : "-");

    const long connectMs = m_timeoutMs > 0 ? m_timeoutMs : 0L;
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
    curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, m_timeoutMs > 0 ? long(m_timeoutMs) : 60000L);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_timeoutMs > 0 ? CeilSeconds(m_timeoutMs) : 0L);
    // Receive and send: give up when no byte moved for the whole time-out.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, m_timeoutMs > 0 ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, m_timeoutMs > 0 ? CeilSeconds(m_timeoutMs) : 0L);

    // Reset what the previous operation set.
    curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, nullptr);
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(-1));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &FtpSession::DiscardCallback);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &FtpSession::ReadCallback);
    curl_easy_setopt(curl, CURLOPT_READDATA, this);
}

FtpSession::Result FtpSession::Perform()
{
    const CURLcode code = curl_easy_perform(m_curl);
    Result result;
    if (code == CURLE_OK)
        return result;
    if (m_abortRequested || code == CURLE_ABORTED_BY_CALLBACK) {
        result.kind = Result::Kind::Cancelled;
        result.error = FtpError::Cancelled;
        result.text = FtpError::Text(FtpError::Cancelled);
        return result;
    }
    const auto number = FtpError::Number(FtpError::FromCurl(code));
    QString text = FtpError::Text(number);
    if ((number == FtpError::Extended || number == FtpError::IncorrectPassword) && !m_lastResponse.isEmpty())
        text += QStringLiteral(": ") + m_lastResponse;
    else if (m_errorBuffer[0] != '\0')
        text += QStringLiteral(" (") + QString::fromUtf8(m_errorBuffer) + QLatin1Char(')');
    return Failure(number, text);
}

FtpSession::Result FtpSession::Failure(FtpError::Number number, const QString& text) const
{
    Result result;
    result.kind = Result::Kind::Internet;
    result.error = number;
    result.text = text;
    result.opened = m_opened;
    return result;
}

// Paths are kept relative to the login folder ("" is the login folder itself) unless they
// start with "/".
QString FtpSession::Resolve(const QString& path) const
{
    QString joined;
    if (path.startsWith(QLatin1Char('/')) || m_currentFolder.isEmpty())
        joined = path;
    else if (path.isEmpty())
        joined = m_currentFolder;
    else
        joined = m_currentFolder + QLatin1Char('/') + path;
    if (joined.isEmpty())
        return joined;
    QString clean = QDir::cleanPath(joined);
    if (clean == QLatin1String("."))
        clean.clear();
    return clean;
}

QByteArray FtpSession::FolderUrl(const QString& resolvedFolder) const
{
    QByteArray host = QUrl::toPercentEncoding(m_host, ":");
    if (m_host.contains(QLatin1Char(':')) && !m_host.startsWith(QLatin1Char('[')))
        host = '[' + host + ']';
    QByteArray url = "ftp://" + host + ':' + QByteArray::number(m_port) + '/';

    QList<QByteArray> parts;
    for (const QString& part : resolvedFolder.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        parts.append(QUrl::toPercentEncoding(part));
    // libcurl takes an encoded slash at the start of the path as the server's root.
    if (resolvedFolder.startsWith(QLatin1Char('/'))) {
        if (parts.isEmpty())
            parts.append(QByteArray());
        parts.first().prepend("%2F");
    }
    if (!parts.isEmpty())
        url += parts.join('/') + '/';
    return url;
}

QByteArray FtpSession::FileUrl(const QString& resolvedFile) const
{
    const int slash = resolvedFile.lastIndexOf(QLatin1Char('/'));
    QString folder = slash < 0 ? QString() : resolvedFile.left(slash);
    if (slash == 0)
        folder = QStringLiteral("/");
    return FolderUrl(folder) + QUrl::toPercentEncoding(resolvedFile.mid(slash + 1));
}

bool FtpSession::IsSafeName(const QString& name)
{
    return !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n'))
        && !name.contains(QChar(0));
}

size_t FtpSession::HeaderCallback(char* data, size_t size, size_t count, void* self)
{
    static_cast<FtpSession*>(self)->OnResponseLine(QByteArray(data, qsizetype(size * count)));
    return size * count;
}

size_t FtpSession::WriteCallback(char* data, size_t size, size_t count, void* self)
{
    return static_cast<FtpSession*>(self)->OnData(data, size * count);
}

size_t FtpSession::ReadCallback(char* buffer, size_t size, size_t count, void* self)
{
    return static_cast<FtpSession*>(self)->OnRead(buffer, size * count);
}

size_t FtpSession::DiscardCallback(char*, size_t size, size_t count, void*)
{
    return size * count;
}

int FtpSession::ProgressCallback(void* self, long long, long long, long long, long long)
{
    const auto* session = static_cast<FtpSession*>(self);
    return session->m_cancelCheck && session->m_cancelCheck() ? 1 : 0;
}

// Replies arrive line by line. "NNN text" ends a reply; "NNN-text" opens a reply of several
// lines that runs until its closing "NNN text" line.
void FtpSession::OnResponseLine(QByteArray line)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    const bool coded = line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, [](char c) {
        return c >= '0' && c <= '9';
    });
    if (coded && (line.size() == 3 || line[3] == ' ')) {
        const QByteArray whole = m_responseOpen ? m_openResponse + '\n' + line : line;
        m_lastResponse = QString::fromUtf8(whole);
        m_openResponse.clear();
        m_responseOpen = false;
        const int code = line.left(3).toInt();
        if (m_transferring && (code == 125 || code == 150))
            MarkOpened();
    } else if (coded && line[3] == '-' && !m_responseOpen) {
        m_openResponse = line;
        m_responseOpen = true;
    } else if (m_responseOpen) {
        m_openResponse += '\n' + line;
    }
}

void FtpSession::MarkOpened()
{
    if (m_opened)
        return;
    m_opened = true;
    if (m_onOpened)
        m_onOpened();
}

size_t FtpSession::OnData(const char* data, size_t length)
{
    MarkOpened();
    size_t used = 0;
    while (used < length) {
        const size_t room = size_t(m_blockSize) - size_t(m_pending.size());
        const size_t take = std::min(room, length - used);
        m_pending.append(data + used, qsizetype(take));
        used += take;
        if (m_pending.size() == m_blockSize && !FlushBlock())
            return 0; // anything but the length handed in makes libcurl stop
    }
    return length;
}

bool FtpSession::FlushBlock()
{
    if (m_file->write(m_pending) != m_pending.size()) {
        m_localError = true;
        return false;
    }
    m_total += m_pending.size();
    m_pending.clear();
    if (m_onBlock && !m_onBlock(m_total)) {
        m_abortRequested = true;
        return false;
    }
    return true;
}

size_t FtpSession::OnRead(char* buffer, size_t length)
{
    if (m_endOfFile)
        return 0;
    if (m_abortRequested)
        return CURL_READFUNC_ABORT;
    MarkOpened();
    // As many whole blocks as libcurl has room for, each read and reported on its own: the
    // same reports as one block per call, with far fewer and larger sends.
    size_t filled = 0;
    do {
        const qint64 want = qint64(std::min(length - filled, size_t(m_blockSize)));
        const qint64 got = m_file->read(buffer + filled, want);
        if (got < 0) {
            m_localError = true;
            return CURL_READFUNC_ABORT;
        }
        filled += size_t(got);
        m_total += got;
        if (got < want)
            m_endOfFile = true;
        const bool carryOn = !m_onBlock || m_onBlock(m_total);
        if (!carryOn && !m_endOfFile)
            m_abortRequested = true; // what was read still goes out; the next call stops
        if (!carryOn || m_endOfFile)
            break;
    } while (length - filled >= size_t(m_blockSize));
    return filled;
}
