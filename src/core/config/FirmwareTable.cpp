// The firmware table (see FirmwareTable.h).
#include "FirmwareTable.h"

namespace {

const FirmwareTable::Row kRows[] = {
    {0x650CB6B6u, 0.10f}, {0x4C385439u, 0.09f}, {0xBDEF70D4u, 0.08f}, {0x25E4A2A3u, 0.07f},
    {0x66A3043Au, 0.06f}, {0xABCE9A43u, 0.05f}, {0x688BA09Au, 0.04f}, {0xB14CDA93u, 0.02f},
    {0x63C3ED54u, 0.01f}, {0x7E874DCEu, 0.00f}, {0u, -1.0f},
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::span<const FirmwareTable::Row> FirmwareTable::Rows()
{
    return kRows;
}

float FirmwareTable::Revision(uint32_t crc)
{
    for (const Row& row : kRows) {
        if (row.crc == 0)
            break;
        if (row.crc == crc)
            return row.revision;
    }
    return -1.0f;
}

uint32_t FirmwareTable::ParseChecksum(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0)
            break;
        value = value * 16 + uint64_t(d);
        if (value > 0xFFFFFFFFull)
            value = 0xFFFFFFFFull;
    }
    return uint32_t(value);
}
