// One running instance per user. The first start listens on a local socket; a later start
// connects to it, hands over its file name (an empty line asks for a new configuration
// document) and exits. The message is one line of UTF-8 ended by a newline.
#pragma once

#include <QLocalServer>
#include <QObject>

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QObject* parent = nullptr);

    // The socket name of the current user's instance.
    static QString DefaultName();

    // Sends the file name (may be empty) to a running instance; true when one took it.
    static bool HandOver(const QString& name, const QString& filePath);
    // Becomes the running instance; false when the socket cannot be made.
    bool Listen(const QString& name);

signals:
    // A later start asked for this file; an empty path asks for a new configuration.
    void OpenRequested(const QString& filePath);

private:
    void OnNewConnection();

    QLocalServer m_server;
};
