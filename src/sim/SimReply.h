// One reply of the simulated device: the reply text (between the address field and the end
// marks), the raw bytes it sends after the framed reply (a printed report), or no answer at
// all. Built by CommandHandler; framed and sent by SimConnection.
#pragma once

#include <QByteArray>
#include <utility>

struct SimReply {
    SimReply() = default;
    SimReply(QByteArray replyText) : text(std::move(replyText)) {}
    static SimReply Silent()
    {
        SimReply r;
        r.silent = true;
        return r;
    }

    QByteArray text;      // the reply text; empty together with silent
    QByteArray trailer;   // raw bytes sent after the framed reply
    bool silent = false;  // the device does not answer at all
};
