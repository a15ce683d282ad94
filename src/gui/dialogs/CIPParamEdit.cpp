// IP address edit dialog (see CIPParamEdit.h).
#include "CIPParamEdit.h"

#include "ValueFormat.h"

#include <QLineEdit>

CIPParamEdit::CIPParamEdit(const DBParam& p, const ConfigImage& image, QWidget* parent)
    : CGenParamEdit(p, image, parent)
{
    m_address = new QLineEdit(IpDottedText(IpFromValueText(m_currentText)), this);
    ReplaceNewValue(m_address);
    HideCurrentValue();
    HideRange();
}

QString CIPParamEdit::AddressMessage()
{
    return QStringLiteral("Enter an IP address of four numbers from 0 to 255.");
}

QString CIPParamEdit::ValueText() const
{
    const std::optional<uint32_t> address = ParseDottedIp(m_address->text());
    return address ? IpValueText(*address) : QString();
}

std::optional<QString> CIPParamEdit::Check()
{
    // A text that is no address would otherwise be stored as some other number.
    if (!ParseDottedIp(m_address->text()))
        return AddressMessage();
    return std::nullopt;
}
