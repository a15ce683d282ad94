// Folding libcurl's result codes onto the transfer failure numbers.
#include "FtpError.h"

#include <curl/curl.h>

int FtpError::FromCurl(int curlCode)
{
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_OK:
        return None;
    case CURLE_LOGIN_DENIED:
        return IncorrectPassword;
    // The server answered a command with a refusal: no such folder or file, no right to
    // write, a refused transfer type, data port or quote command, a full disk.
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_FTP_COULDNT_USE_REST:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_REMOTE_FILE_EXISTS:
        return Extended;
    case CURLE_COULDNT_CONNECT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return CannotConnect;
    case CURLE_COULDNT_RESOLVE_HOST:
        return NameNotResolved;
    case CURLE_OPERATION_TIMEDOUT:
        return Timeout;
    case CURLE_ABORTED_BY_CALLBACK:
        return Cancelled;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return ConnectionAborted;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_WEIRD_PASS_REPLY:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
        return InvalidResponse;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return InvalidUrl;
    default:
        return Internal;
    }
}

QString FtpError::Text(int number)
{
    switch (number) {
    case None:
        return QString();
    case Timeout:
        return QStringLiteral("The operation timed out");
    case Extended:
        return QStringLiteral("The server refused the command");
    case InvalidUrl:
        return QStringLiteral("The server address is not valid");
    case NameNotResolved:
        return QStringLiteral("The server name or address could not be resolved");
    case IncorrectPassword:
        return QStringLiteral("The server refused the user name or password");
    case Cancelled:
        return QStringLiteral("The operation was cancelled");
    case CannotConnect:
        return QStringLiteral("A connection with the server could not be established");
    case ConnectionAborted:
        return QStringLiteral("The connection with the server was terminated abnormally");
    case InvalidResponse:
        return QStringLiteral("The server returned an invalid or unrecognized response");
    default:
        return QStringLiteral("An internal error occurred in the FTP client");
    }
}
