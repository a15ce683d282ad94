// Test helper: an in-process device behind a protocol object, for the configuration document's
// device operations. FakeDevice keeps program-code values and levels, logs and the program-mode
// lock, answers the commands those operations send, and records every command. Scripted
// replies (a time-out, a rejection, a send failure) can be queued per command text and are
// used before the device's own answer. FakeLink is the protocol object a DeviceConnection gets
// from its link factory; it talks to one FakeDevice that outlives it.
#pragma once

#include "ComStream.h"
#include "CommStatusText.h"
#include "CquillTrakDoc.h"
#include "DeviceConnection.h"
#include "ValueFormat.h"
#include "VandtProtocol.h"

#include <QByteArray>
#include <QMap>
#include <deque>
#include <map>
#include <memory>
#include <vector>

struct FakeReply {
    int status = CommOk; // 0 accepted, 8 rejected, 6/7/9 failures
    QByteArray text;     // the reply text of an accepted reply
    int rejection = 0;   // the number after "NO"
    bool sendFails = false;

    static FakeReply Timeout() { return {CommTimeout, {}, 0, false}; }
    static FakeReply Rejected(int n) { return {CommRejected, {}, n, false}; }
    static FakeReply SendFailure() { return {CommIoError, {}, 0, true}; }
};

class FakeDevice {
public:
    FakeDevice() { values["SY 111"] = "1"; } // the identify value

    std::vector<QByteArray> sent;                       // every command that went out
    std::map<QByteArray, std::deque<FakeReply>> script; // per command text, used first
    QMap<QByteArray, QByteArray> values;                // "dd nnn" -> value text
    QMap<QByteArray, int> levels;                       // "dd nnn" -> security level
    uint32_t firmwareCrc = 0x650CB6B6;
    bool locked = false;                                // rejects every write (NO24)
    bool answering = true;                              // false: every reply times out
    std::vector<QByteArray> events;                     // entry 1 first
    std::vector<QByteArray> audits;
    int nextTransaction = 0;                            // "TS"; 0 rejects it
    std::map<uint32_t, QByteArray> transactions;       // number -> "TR" text after "TR "
    std::map<uint32_t, QByteArray> userData;           // number -> "TU" text from offset 14

    FakeReply Answer(const QByteArray& command)
    {
        sent.push_back(command);
        auto it = script.find(command);
        if (it != script.end() && !it->second.empty()) {
            FakeReply r = it->second.front();
            it->second.pop_front();
            return r;
        }
        if (!answering)
            return FakeReply::Timeout();
        const QByteArray code = command.left(2);
        const QByteArray address = command.mid(3, 6);
        if (code == "PV")
            return Ok(command + ' ' + values.value(address));
        if (code == "XV")
            return Ok(command + ' ' + QByteArray::number(levels.value(address, 0)));
        if (code == "PC" || code == "XC") {
            if (locked)
                return FakeReply::Rejected(24);
            if (code == "PC")
                values[address] = command.mid(10);
            else
                levels[address] = command.mid(10).toInt();
            return Ok(command);
        }
        if (command == "GP")
            return Ok("GP " + QByteArray::number(firmwareCrc, 16).toUpper());
        if (command == "LO")
            return Ok("LO");
        if (command == "ES" || command == "PS") {
            const size_t n = command == "ES" ? events.size() : audits.size();
            return Ok(command + "0001 " + QByteArray::number(qulonglong(n)).rightJustified(4, '0'));
        }
        if (code == "ER" || code == "PR") {
            const auto& log = code == "ER" ? events : audits;
            const uint32_t n = command.mid(3).toUInt();
            if (n < 1 || n > log.size())
                return FakeReply::Rejected(37);
            return Ok(code + QByteArray::number(n).rightJustified(4, '0') + ' ' + log[n - 1]);
        }
        if (command == "TS") {
            if (nextTransaction == 0)
                return FakeReply::Rejected(5);
            return Ok("TS " + QByteArray::number(nextTransaction).rightJustified(4, '0'));
        }
        if (code == "TR" || code == "TU") {
            const uint32_t n = command.mid(3).toUInt();
            if (!transactions.count(n))
                return FakeReply::Rejected(37);
            if (code == "TR")
                return Ok("TR " + transactions[n]);
            if (!userData.count(n))
                return FakeReply::Rejected(37);
            return Ok("TU " + QByteArray::number(n).rightJustified(4, '0') + " USER: " + userData[n]);
        }
        return FakeReply::Rejected(0);
    }

    // The commands sent that start with a prefix.
    std::vector<QByteArray> Sent(const QByteArray& prefix) const
    {
        std::vector<QByteArray> out;
        for (const QByteArray& c : sent) {
            if (c.startsWith(prefix))
                out.push_back(c);
        }
        return out;
    }

private:
    static FakeReply Ok(const QByteArray& text) { return {CommOk, text, 0, false}; }
};

class FakeStream : public ComStream {
public:
    FakeStream() { m_open = 1; }
    int Write(const char*, int) override { return 0; }
    int Read(char*, int, int) override { return 0; }
    void Flush() override {}
    void Purge() override {}
    QString StatusText(int unitAddress) const override { return QStringLiteral("Fake:%1").arg(unitAddress); }
    bool IsNetwork() const override { return false; }

protected:
    QString PortLabel() const override { return QStringLiteral("9"); }
};

class FakeLink : public VandtProtocol {
public:
    explicit FakeLink(FakeDevice& device)
        : VandtProtocol(std::make_unique<FakeStream>(), 1)
        , m_device(device)
    {
    }

    std::optional<QByteArray> Send(QByteArrayView command) override
    {
        m_pending = m_device.Answer(command.toByteArray());
        if (m_pending.sendFails) {
            m_port->SetStatus(CommIoError);
            return std::nullopt;
        }
        return command.toByteArray();
    }

    int Receive(QByteArray& reply) override
    {
        const FakeReply r = m_pending;
        m_pending = FakeReply::Timeout();
        m_port->SetStatus(r.status);
        if (r.status == CommRejected)
            m_rejectionNumber = r.rejection;
        if (r.status == CommOk)
            reply = r.text;
        return r.status;
    }

private:
    FakeDevice& m_device;
    FakeReply m_pending = FakeReply::Timeout();
};

// A new document connected (with the probe) to a fake device.
struct FakeSetup {
    FakeDevice device;
    CquillTrakDoc doc;
    DeviceConnection connection;

    explicit FakeSetup(UserInterface& ui)
        : connection(doc, ui)
    {
        connection.SetLinkFactory([this](const CquillTrakDoc&) { return std::make_unique<FakeLink>(device); });
    }
    int New()
    {
        doc.OnNewDocument();
        device.sent.clear();
        return doc.connectionState;
    }
};
