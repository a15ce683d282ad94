// The line that names a configuration document in the list from which a definition document
// (report, display, translation, equation set) picks the device it is to use: the title cut or
// padded to 12 characters, then the port ("Com<n>", or "TCP/IP" for a network link) and the unit
// address, which is the low byte of the device address.
#pragma once

#include <QString>

class CquillTrakDoc;

QString ConfigurationChoiceLine(const CquillTrakDoc& doc);
