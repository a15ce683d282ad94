// Applying line faults to framed replies (see FaultInjector.h).
#include "FaultInjector.h"

namespace {

struct KindEntry {
    FaultKind kind;
    const char* name;
};

const KindEntry kKinds[] = {
    {FaultKind::Drop, "drop"},
    {FaultKind::Noise, "noise"},
    {FaultKind::BadCheck, "bad-check"},
    {FaultKind::Truncate, "truncate"},
    {FaultKind::Disconnect, "disconnect"},
};

} // namespace

QStringList FaultInjector::KindNames()
{
    QStringList names;
    for (const KindEntry& k : kKinds)
        names << QLatin1String(k.name);
    return names;
}

QString FaultInjector::KindName(FaultKind kind)
{
    for (const KindEntry& k : kKinds) {
        if (k.kind == kind)
            return QLatin1String(k.name);
    }
    return QString();
}

const QByteArray& FaultInjector::NoiseBytes()
{
    // Line junk: a stray line end, high bytes, a NUL, an ETX and text; never '*' or STX.
    static const QByteArray noise("\r\n\xff\x00#~\x03" "01NO99\x80\r\n", 15);
    return noise;
}

bool FaultInjector::ParseRule(const QString& text, FaultRule* rule, QString* error)
{
    QString name = text.trimmed();
    int every = 1;
    const int eq = name.indexOf(QLatin1Char('='));
    if (eq >= 0) {
        bool ok = false;
        every = name.mid(eq + 1).toInt(&ok);
        if (!ok || every < 1) {
            *error = QStringLiteral("fault '%1': N must be a whole number of at least 1").arg(text);
            return false;
        }
        name = name.left(eq);
    }
    for (const KindEntry& k : kKinds) {
        if (name == QLatin1String(k.name)) {
            rule->kind = k.kind;
            rule->every = every;
            return true;
        }
    }
    *error = QStringLiteral("unknown fault '%1' (known: %2)").arg(name, KindNames().join(QStringLiteral(", ")));
    return false;
}

FaultInjector::FaultInjector(std::vector<FaultRule> faults)
    : m_faults(std::move(faults))
{
}

FaultInjector::Outcome FaultInjector::Apply(const QByteArray& frame, ProtocolKind framing)
{
    ++m_exchanges;
    Outcome out;
    out.bytes = frame;
    bool drop = false;
    for (const FaultRule& f : m_faults) {
        if (m_exchanges % uint64_t(f.every) != 0)
            continue;
        out.applied << KindName(f.kind);
        switch (f.kind) {
        case FaultKind::Drop:
            drop = true;
            break;
        case FaultKind::Disconnect:
            out.disconnect = true;
            break;
        case FaultKind::Noise:
            out.bytes.prepend(NoiseBytes());
            break;
        case FaultKind::BadCheck:
            if (framing == ProtocolKind::Minicomputer) {
                // The check byte is the second byte from the end (check, then one pad byte).
                if (out.bytes.size() >= 2)
                    out.bytes[out.bytes.size() - 2] = char(out.bytes[out.bytes.size() - 2] ^ 0x5A);
            } else {
                const qsizetype cr = out.bytes.lastIndexOf(FrameFormat::kCarriageReturn);
                if (cr >= 0)
                    out.bytes.remove(cr, 1);
            }
            break;
        case FaultKind::Truncate: {
            // Keep the first half of the frame proper (noise, if any, stays in front).
            const qsizetype frameStart = out.bytes.size() - frame.size();
            out.bytes.truncate(frameStart + qMax<qsizetype>(1, frame.size() / 2));
            break;
        }
        }
    }
    if (drop || out.disconnect)
        out.bytes.clear();
    return out;
}
