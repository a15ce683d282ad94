// Web addresses of the device and the maker; see DeviceWebPage.h.
#include "DeviceWebPage.h"

#include "CquillTrakDoc.h"
#include "UpdateSettings.h"
#include "ValueFormat.h"

QUrl DeviceWebPage(const CquillTrakDoc& doc)
{
    return QUrl(QStringLiteral("http://%1/").arg(IpDottedText(doc.deviceAddress)));
}

QUrl MakerWebSite()
{
    return QUrl::fromUserInput(UpdateSettings::MakerWebSite());
}
