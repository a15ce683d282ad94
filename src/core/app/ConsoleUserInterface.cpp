// Console answers to the user-interface seam (see ConsoleUserInterface.h).
#include "ConsoleUserInterface.h"

#include <QByteArray>

namespace {

void Print(FILE* f, const QString& s)
{
    const QByteArray b = s.toLocal8Bit();
    std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), f);
}

} // namespace

ConsoleUserInterface::ConsoleUserInterface(FILE* err)
    : m_err(err)
{
}

int ConsoleUserInterface::MessageBox(const QString& text, const QString& caption, Buttons buttons, Icon)
{
    if (!caption.isEmpty() && caption != ApplicationTitle())
        Print(m_err, caption + QStringLiteral(": "));
    Print(m_err, text + QLatin1Char('\n'));
    switch (buttons) {
    case Buttons::Ok:
        return Ok;
    case Buttons::OkCancel:
        return m_assumeYes ? Ok : Cancel;
    case Buttons::YesNo:
        return m_assumeYes ? Yes : No;
    case Buttons::YesNoCancel:
        return m_assumeYes ? Yes : Cancel;
    case Buttons::RetryCancel:
        if (m_errorPolicy == ErrorPolicy::Retry && m_retriesUsed < m_maxRetries) {
            ++m_retriesUsed;
            return Retry;
        }
        return Cancel;
    case Buttons::AbortRetryIgnore:
        switch (m_errorPolicy) {
        case ErrorPolicy::Ignore:
            return Ignore;
        case ErrorPolicy::Retry:
            if (m_retriesUsed < m_maxRetries) {
                ++m_retriesUsed;
                return Retry;
            }
            return Abort;
        case ErrorPolicy::Abort:
            return Abort;
        }
    }
    return Cancel;
}

void ConsoleUserInterface::ProgressBegin(const QString& title, const QString& text, int lower, int upper)
{
    m_title = title;
    m_text = text;
    m_lower = lower;
    m_upper = upper;
    m_pos = lower;
    m_lastPercent = -1;
    m_retriesUsed = 0;
    DrawProgress();
}

void ConsoleUserInterface::ProgressSetText(const QString& text)
{
    m_text = text;
    m_lastPercent = -1;
    DrawProgress();
}

void ConsoleUserInterface::ProgressSetPos(int pos)
{
    m_pos = pos;
    m_retriesUsed = 0;
    DrawProgress();
}

void ConsoleUserInterface::ProgressStep()
{
    ProgressSetPos(m_pos + 1);
}

void ConsoleUserInterface::ProgressFinish(const QString& text, bool)
{
    m_text = text;
    m_pos = m_upper;
    m_lastPercent = -1;
    DrawProgress();
    if (m_progress)
        Print(m_err, QStringLiteral("\n"));
}

void ConsoleUserInterface::ProgressEnd()
{
    if (m_progress && m_lastPercent >= 0)
        Print(m_err, QStringLiteral("\n"));
    m_lastPercent = -1;
}

void ConsoleUserInterface::DrawProgress()
{
    if (!m_progress)
        return;
    const int span = m_upper - m_lower;
    const int percent = span > 0 ? (100 * (m_pos - m_lower)) / span : 100;
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    Print(m_err, QStringLiteral("\r%1 [%2%] %3\x1b[K").arg(m_title).arg(percent).arg(m_text));
    std::fflush(m_err);
}

std::optional<QString> ConsoleUserInterface::ChooseSaveFile(const QString&, const QString& suggestedName,
                                                            const QString&)
{
    // The command line names its files; a suggestion is taken as it stands.
    if (suggestedName.isEmpty())
        return std::nullopt;
    return suggestedName;
}

std::optional<QString> ConsoleUserInterface::ChooseOpenFile(const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> ConsoleUserInterface::AskAccessCode(const QString&)
{
    return m_accessCode;
}

int ConsoleUserInterface::ChooseFromList(const QString&, const QStringList& items)
{
    return items.size() == 1 ? 0 : -1;
}

void ConsoleUserInterface::SetStatusText(int, const QString&)
{
}
