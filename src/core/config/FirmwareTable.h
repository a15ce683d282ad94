// The device firmware releases this application knows: the CRC-32 of each release's image
// (as the device reports it with "GP" and as an image file's checksum is computed) and its
// revision. The table ends with a row whose CRC is 0; that row is never a match, so a reply
// that carries no checksum (read as 0) is an unknown release.
#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <span>

class FirmwareTable {
public:
    struct Row {
        uint32_t crc;
        float revision;
    };

    // Every row, newest release first, the end row (CRC 0, revision -1) last.
    static std::span<const Row> Rows();

    // The revision of a firmware checksum, or -1 when the table does not hold it.
    static float Revision(uint32_t crc);

    // Reads a checksum the way the device writes it: leading blanks skipped, then hexadecimal
    // digits up to the first character that is not one. No digits read as 0; a number beyond
    // 32 bits saturates at FFFFFFFF (neither is a known release).
    static uint32_t ParseChecksum(QByteArrayView text);
};
