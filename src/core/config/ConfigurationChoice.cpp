// The list line of a configuration document (see ConfigurationChoice.h).
#include "ConfigurationChoice.h"

#include "CquillTrakDoc.h"

QString ConfigurationChoiceLine(const CquillTrakDoc& doc)
{
    // "%-12.12s \t\t(%s,  Address %d)", counted in characters rather than bytes so a title
    // with accented letters is never cut inside one.
    const QString title = doc.title.left(12).leftJustified(12, QLatin1Char(' '));
    const QString port = doc.port == 0 ? QStringLiteral("TCP/IP") : QStringLiteral("Com%1").arg(doc.port);
    return QStringLiteral("%1 \t\t(%2,  Address %3)").arg(title, port).arg(int(doc.deviceAddress & 0xFFu));
}
