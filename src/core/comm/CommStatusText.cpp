// The one table of communication status texts, indexed by status code.
#include "CommStatusText.h"

namespace {

const char* const kCommStatusTexts[kCommStatusCount] = {
    "Communications status OK",
    "Cannot open Communications Port",
    "Error In Transmission of Data",
    "Parity Error detected in response",
    "Framing Error detected in response",
    "Overrrun Error detected in response",
    "Error receiving response",
    "Timeout waiting for response",
    "Transmitted Command was rejected",
    "Protocol error in response",
};

} // namespace

int CommStatusShown(int code)
{
    return code >= 0 && code < kCommStatusCount ? code : CommCannotOpen;
}

QString CommStatusText(int code)
{
    return QString::fromLatin1(kCommStatusTexts[CommStatusShown(code)]);
}
