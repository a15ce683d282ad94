// Mode-text parsing and the derived values of serial line settings.
#include "LineSettings.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const char kParityLetters[] = "NOEMS";
const uint32_t kListedRates[LineSettings::kBaudIndexCount] = {600, 1200, 2400, 4800, 9600, 19200, 38400};

bool ParseBaud(QStringView text, LineSettings& s)
{
    bool ok = false;
    const uint32_t rate = text.trimmed().toUInt(&ok);
    if (!ok || rate == 0)
        return false;
    s.baudRate = rate;
    return true;
}

bool ParseParity(QStringView text, LineSettings& s)
{
    const QStringView t = text.trimmed();
    if (t.size() != 1)
        return false;
    const char c = char(t.at(0).toUpper().toLatin1());
    for (int i = 0; i < 5; ++i) {
        if (kParityLetters[i] == c) {
            s.parity = uint8_t(i);
            return true;
        }
    }
    return false;
}

bool ParseData(QStringView text, LineSettings& s)
{
    bool ok = false;
    const int bits = text.trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return false;
    s.dataBits = uint8_t(bits);
    return true;
}

bool ParseStop(QStringView text, LineSettings& s)
{
    const QStringView t = text.trimmed();
    if (t == u"1")
        s.stopBits = LineSettings::OneStop;
    else if (t == u"1.5")
        s.stopBits = LineSettings::OneAndHalfStop;
    else if (t == u"2")
        s.stopBits = LineSettings::TwoStop;
    else
        return false;
    return true;
}

// Removes a leading "COMn:" (any port number) and blanks.
QStringView StripPortPrefix(const QString& text)
{
    static const QRegularExpression prefix(QStringLiteral("^\\s*COM\\d*:\\s*"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = prefix.match(text);
    return m.hasMatch() ? QStringView(text).mid(m.capturedLength()).trimmed() : QStringView(text).trimmed();
}

// "BAUD=38400 PARITY=N DATA=8 STOP=1" in any order; the flow-control keys of the same syntax
// are accepted and ignored.
bool ParseKeyed(QStringView text, LineSettings& s)
{
    static const QStringList ignored = {QStringLiteral("TO"), QStringLiteral("XON"), QStringLiteral("ODSR"),
                                        QStringLiteral("OCTS"), QStringLiteral("DTR"), QStringLiteral("RTS"),
                                        QStringLiteral("IDSR")};
    const QList<QStringView> tokens = text.split(u' ', Qt::SkipEmptyParts);
    if (tokens.isEmpty())
        return false;
    for (QStringView token : tokens) {
        const qsizetype eq = token.indexOf(u'=');
        if (eq <= 0)
            return false;
        const QString key = token.left(eq).toString().toUpper();
        const QStringView value = token.mid(eq + 1);
        bool ok = true;
        if (key == u"BAUD")
            ok = ParseBaud(value, s);
        else if (key == u"PARITY")
            ok = ParseParity(value, s);
        else if (key == u"DATA")
            ok = ParseData(value, s);
        else if (key == u"STOP")
            ok = ParseStop(value, s);
        else
            ok = ignored.contains(key);
        if (!ok)
            return false;
    }
    return true;
}

// "38400,N,8,1": baud rate first, the later fields optional.
bool ParseCommaForm(QStringView text, LineSettings& s)
{
    const QList<QStringView> fields = text.split(u',');
    if (fields.size() > 4 || !ParseBaud(fields[0], s))
        return false;
    if (fields.size() > 1 && !ParseParity(fields[1], s))
        return false;
    if (fields.size() > 2 && !ParseData(fields[2], s))
        return false;
    if (fields.size() > 3 && !ParseStop(fields[3], s))
        return false;
    return true;
}

} // namespace

bool LineSettings::ApplyModeText(QStringView text)
{
    const QString spaced = text.toString().replace(u'\t', u' ');
    const QStringView body = StripPortPrefix(spaced);
    LineSettings result = *this;
    const bool ok = body.contains(u'=') ? ParseKeyed(body, result) : ParseCommaForm(body, result);
    if (ok)
        *this = result;
    return ok;
}

QString LineSettings::ModeText() const
{
    return QString::asprintf("%u,%c,%d,%d", baudRate, ParityLetter(), int(dataBits),
                             stopBits == TwoStop ? 2 : 1);
}

char LineSettings::ParityLetter() const
{
    return parity < 5 ? kParityLetters[parity] : '?';
}

int LineSettings::StopBitsShown() const
{
    return stopBits == OneStop ? 1 : 2;
}

int LineSettings::BaudIndex() const
{
    return BaudIndexOf(baudRate);
}

int LineSettings::BaudIndexOf(uint32_t baudRate)
{
    for (int i = 0; i < kBaudIndexCount; ++i) {
        if (kListedRates[i] == baudRate)
            return i;
    }
    return kBaudIndexCount - 1;
}

QString LineSettings::BaudText(int baudIndex)
{
    if (baudIndex < 0 || baudIndex >= kBaudIndexCount)
        baudIndex = kBaudIndexCount - 1;
    return QString::number(kListedRates[baudIndex]);
}

int LineSettings::ReadTimeoutMs(int baudIndex)
{
    if (baudIndex < 0 || baudIndex >= kBaudIndexCount)
        baudIndex = kBaudIndexCount - 1;
    return 2000 + 1000 / (baudIndex + 1);
}
