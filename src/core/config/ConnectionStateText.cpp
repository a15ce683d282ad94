// The connection state texts (see ConnectionStateText.h).
#include "ConnectionStateText.h"

#include <iterator>

namespace {

const char* const kStateTexts[] = {
    " ? Comm ", " Offline  ", " *READ ONLY* ", " *ONLINE/ARM* ", " *ONLINE* ",
};

} // namespace

QString ConnectionStateText(int state)
{
    if (state < 0 || state >= int(std::size(kStateTexts)))
        return QString();
    return QString::fromLatin1(kStateTexts[state]);
}
