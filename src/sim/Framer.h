// The device's side of the two command framings. Incoming bytes are collected into frames:
//   Terminal:     '*' AA command, ended by CR or LF (a CR LF pair ends one frame; the LF is
//                 skipped with the rest of the line noise before the next '*')
//   Minicomputer: STX AA command ETX check, the check byte the exclusive OR of every byte
//                 after STX up to and including ETX; the host's 0x7F 0x00 after it is skipped
// Bytes outside a frame are skipped. A start character inside an unfinished frame starts the
// frame anew (the host gave up on the old one). A frame that grows past the send-frame size
// without its end is dropped. Replies are framed with FrameFormat's encoders.
#pragma once

#include "FrameFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

class Framer {
public:
    struct Frame {
        int address = -1;       // the two address digits, -1 when they are not digits
        QByteArray command;     // the text after the address field
        bool checkOk = true;    // Minicomputer check byte matched (always true for Terminal)
    };

    explicit Framer(ProtocolKind kind);

    // Collects bytes; returns the frames they completed, in order.
    std::vector<Frame> Feed(QByteArrayView bytes);
    // Drops any partial frame.
    void Reset();

    // The framed reply text: '*' AA text CR LF, or STX AA text ETX check 0x7F.
    QByteArray EncodeReply(int address, QByteArrayView text) const;

    ProtocolKind Kind() const { return m_kind; }

private:
    enum class Phase { Idle, Body, Check };

    Frame Finish(uint8_t check) const;

    ProtocolKind m_kind;
    Phase m_phase = Phase::Idle;
    QByteArray m_body; // after the start character, without the end character
};
