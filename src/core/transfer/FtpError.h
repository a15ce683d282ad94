// The FTP failure numbers the transfer threads report, numbered as the internet client of the
// original platform numbered them (owners and users know 12014 and 12003 from the device's
// documentation), and their texts. libcurl's result codes are folded onto these numbers:
// a refused login is 12014, a command the server refused is 12003 (its reply tells why).
#pragma once

#include <QString>

class FtpError {
public:
    enum Number {
        None = 0,
        Timeout = 12002,
        Extended = 12003,          // the server refused a command; its last reply says why
        Internal = 12004,
        InvalidUrl = 12005,
        NameNotResolved = 12007,
        IncorrectPassword = 12014, // the server refused the login
        Cancelled = 12017,
        CannotConnect = 12029,
        ConnectionAborted = 12030,
        InvalidResponse = 12152,
    };

    // The number for a libcurl result code (CURLcode); 0 for success.
    static int FromCurl(int curlCode);
    // The fixed text of a number, without any server reply.
    static QString Text(int number);
};
