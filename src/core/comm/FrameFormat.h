// The two command framings the device speaks, as plain constants and encoders shared by the
// protocol classes, the device simulator and the tests.
//
// Terminal framing:     '*' AA command CR LF
// Minicomputer framing: STX AA command ETX check 0x7F 0x00     (host to device)
//                       STX AA text    ETX check <one byte>    (device to host)
// AA is the unit address as exactly two decimal digits, so the header (start character plus
// address field) is always three bytes. The check byte is the exclusive OR of every byte after
// STX up to and including ETX. A reply body (everything after the start character up to and
// including the end character) is shorter than kMaxReplyBody bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

// The framing a protocol object uses; the value is the protocol kind kept in the settings.
enum class ProtocolKind : int { Terminal = 0, Minicomputer = 1 };

namespace FrameFormat {

inline constexpr char kTerminalStart = '*';
inline constexpr char kCarriageReturn = '\r';
inline constexpr char kLineFeed = '\n';
inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kFormFeed = 0x0C;
// The two bytes a host sends after a Minicomputer check byte.
inline constexpr char kMiniPad = 0x7F;
inline constexpr char kMiniNul = 0x00;

inline constexpr int kAddressDigits = 2;
inline constexpr int kHeaderLength = 1 + kAddressDigits;
inline constexpr int kMaxUnitAddress = 99;  // the largest address two digits can carry
inline constexpr int kSendFrameSize = 1028;
inline constexpr int kMaxReplyBody = 4096;
inline constexpr int kMiniReplyTrailer = 2;   // check byte and one more byte after ETX
inline constexpr uint16_t kDeviceTcpPort = 7734;

// Bytes the framing adds after the command: CR LF, or ETX plus check byte, 0x7F, 0x00.
inline constexpr int TrailerLength(ProtocolKind kind)
{
    return kind == ProtocolKind::Terminal ? 2 : 1 + 3;
}

// The longest command text one send frame carries.
inline constexpr int MaxCommandLength(ProtocolKind kind)
{
    return kSendFrameSize - kHeaderLength - TrailerLength(kind);
}

inline constexpr char StartCharacter(ProtocolKind kind)
{
    return kind == ProtocolKind::Terminal ? kTerminalStart : kStx;
}

// The character that ends a reply body.
inline constexpr char EndCharacter(ProtocolKind kind)
{
    return kind == ProtocolKind::Terminal ? kLineFeed : kEtx;
}

// Exclusive OR of n bytes.
inline uint8_t CheckByte(const char* data, qsizetype n)
{
    uint8_t x = 0;
    for (qsizetype i = 0; i < n; ++i)
        x ^= static_cast<uint8_t>(data[i]);
    return x;
}

inline uint8_t CheckByte(QByteArrayView bytes)
{
    return CheckByte(bytes.data(), bytes.size());
}

inline bool IsValidUnitAddress(int address)
{
    return address >= 0 && address <= kMaxUnitAddress;
}

// The two address digits with a leading zero; the address must be valid.
inline QByteArray AddressField(int address)
{
    const char digits[kAddressDigits] = {char('0' + address / 10 % 10), char('0' + address % 10)};
    return QByteArray(digits, kAddressDigits);
}

// '*' AA text CR LF: a host command, and also the shape of a Terminal reply.
inline QByteArray EncodeTerminal(int address, QByteArrayView text)
{
    QByteArray f;
    f.reserve(kHeaderLength + text.size() + 2);
    f.append(kTerminalStart).append(AddressField(address)).append(text);
    f.append(kCarriageReturn).append(kLineFeed);
    return f;
}

// STX AA text ETX: the part of a Minicomputer frame the check byte covers (after STX).
inline QByteArray EncodeMiniBody(int address, QByteArrayView text)
{
    QByteArray f;
    f.reserve(kHeaderLength + text.size() + 4);
    f.append(kStx).append(AddressField(address)).append(text).append(kEtx);
    return f;
}

// STX AA command ETX check 0x7F 0x00, as a host sends it.
inline QByteArray EncodeMiniCommand(int address, QByteArrayView text)
{
    QByteArray f = EncodeMiniBody(address, text);
    const char check = char(CheckByte(f.constData() + 1, f.size() - 1));
    f.append(check).append(kMiniPad).append(kMiniNul);
    return f;
}

// STX AA text ETX check 0x7F, as a device replies.
inline QByteArray EncodeMiniReply(int address, QByteArrayView text)
{
    QByteArray f = EncodeMiniBody(address, text);
    const char check = char(CheckByte(f.constData() + 1, f.size() - 1));
    f.append(check).append(kMiniPad);
    return f;
}

} // namespace FrameFormat
