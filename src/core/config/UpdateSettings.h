// Where the application finds its own releases and its maker: the update server (anonymous
// FTP), the password it logs in with, the installer package offered for a newer release and
// the maker's web site. Each is a setting of section "Network" so that a site sets its own;
// the defaults are placeholders under example.com that reach nothing real.
#pragma once

#include <QString>

class UpdateSettings {
public:
    // "Network/UpdateServer": host name of the update server.
    static QString UpdateServer();
    // "Network/AnonymousPassword": the e-mail-style password of the anonymous login.
    static QString AnonymousPassword();
    // "Network/InstallerUrl": the installer package of the newest release.
    static QString InstallerUrl();
    // "Network/MakerWebSite": the maker's web site.
    static QString MakerWebSite();

private:
    static QString Value(const char* key, const char* fallback);
};
