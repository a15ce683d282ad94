// The addresses behind Browse (167) and the maker's web site (168). The device's web page is
// "http://<dotted device address>/" with no path, for a serial document as well: the device
// address of a serial document is still the device's IP address (only its last octet serves
// as the unit address on the line), and the web server is reached over the network.
#pragma once

#include <QUrl>

class CquillTrakDoc;

QUrl DeviceWebPage(const CquillTrakDoc& doc);
// The "Network/MakerWebSite" setting (UpdateSettings).
QUrl MakerWebSite();
