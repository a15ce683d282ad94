// Check for Updates: fetches the revision file "REV.TXT" from folder "QuarrantL" of the
// update server by anonymous FTP and compares the newest released revision with this one
// (0.10). A newer release is offered; accepting it hands back the installer's address, which
// the caller opens before the application ends (the core neither opens addresses nor quits).
//
// Invariants: without an Internet session no connection is attempted; an earlier revision
// file (under any case of its name) is removed before the fetch and a fetch that fails leaves
// none behind, so only a file fetched now is ever read; a missing or empty file ends the check
// silently.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class InternetSession;
class UserInterface;

class UpdateCheck {
public:
    enum class Outcome {
        NoInformation,  // no revision file to read: nothing more was said
        Latest,         // this is the latest revision (said so)
        Declined,       // a newer revision was offered and declined
        InstallerChosen,// a newer revision was offered and accepted: open InstallerUrl() and quit
        NoSession,      // no Internet session (said so); nothing was attempted
    };

    static constexpr float kApplicationRevision = 0.1f;

    // internet may be nullptr (start-up made no Internet session).
    UpdateCheck(UserInterface& ui, InternetSession* internet);

    // The update server; defaults from the settings "Network/UpdateServer" and the session's
    // FTP port.
    void SetServer(const QString& host, quint16 port = 0);
    // Where the revision file is kept (default: the current folder).
    void SetFolder(const QString& folder) { m_folder = folder; }

    Outcome Run();

    // The installer package's address (setting "Network/InstallerUrl").
    QString InstallerUrl() const;
    // The revision the file offered, or -1 when none was read.
    float OfferedRevision() const { return m_revision; }

    // The revision held by the start of a revision file (at most its first 7 bytes, the
    // leading decimal number); nullopt when they hold no number.
    static std::optional<float> ParseRevision(const QByteArray& text);

private:
    void Fetch();
    QString LocalPath() const;

    UserInterface& m_ui;
    InternetSession* m_internet;
    QString m_host;
    quint16 m_port = 0;
    QString m_folder = QStringLiteral(".");
    float m_revision = -1.0f;
};
