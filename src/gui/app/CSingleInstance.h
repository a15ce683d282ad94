// One running instance per user. The first start listens on a local socket; a later start
// connects to it, hands over its file name (an empty line asks for a new configuration
// document) and exits. The message is one line of UTF-8 ended by a newline.
// A print request (--print, --print-to) is the line "\tprint\t<file>\t<target>" with both
// fields percent-encoded (an open request is an absolute path or empty, so it never starts
// with a tab); the running instance prints and answers "ok" or "error\t<encoded text>".
// The line "\tcheck-updates" enables Check for Updates in the running instance.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <functional>

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QObject* parent = nullptr);

    // The socket name of the current user's instance.
    static QString DefaultName();

    // Sends the file name (may be empty) to a running instance; true when one took it.
    static bool HandOver(const QString& name, const QString& filePath);
    // Asks a running instance to enable Check for Updates; true when one took it.
    static bool HandOverUpdateCheck(const QString& name);
    // Becomes the running instance; false when the socket cannot be made.
    bool Listen(const QString& name);
    // Where the rendezvous lives (a socket file on Unix), once listening.
    QString ServerPath() const { return m_server.fullServerName(); }

    // Print requests: the running instance prints with the handler and reports the outcome.
    enum class PrintHandOver { NoInstance, Printed, Failed };
    using PrintHandler = std::function<bool(const QString& filePath, const QString& target, QString* error)>;
    void SetPrintHandler(PrintHandler handler) { m_printHandler = std::move(handler); }
    // Hands a print request to a running instance and waits for its answer (*error on Failed).
    static PrintHandOver HandOverPrint(const QString& name, const QString& filePath, const QString& target,
                                       QString* error);

signals:
    // A later start asked for this file; an empty path asks for a new configuration.
    void OpenRequested(const QString& filePath);
    // A later start asked for the update check to be enabled.
    void UpdateCheckRequested();

private:
    void OnNewConnection();

    QByteArray AnswerPrintRequest(const QByteArray& line);

    QLocalServer m_server;
    PrintHandler m_printHandler;
};
