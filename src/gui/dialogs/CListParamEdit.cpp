// Option-list edit dialog (see CListParamEdit.h).
#include "CListParamEdit.h"

#include "EditChecks.h"
#include "ValueFormat.h"

#include <QComboBox>

CListParamEdit::CListParamEdit(const DBParam& p, const ConfigImage& image, QWidget* parent)
    : CGenParamEdit(p, image, parent)
{
    m_options = new QComboBox(this);
    m_options->addItems(OptionChoices(m_def));
    // A stored number outside the list selects nothing; OK then refuses it with the range.
    m_options->setCurrentIndex(LeadingInt(m_currentText));
    ReplaceNewValue(m_options);
    HideCurrentValue();
}

QString CListParamEdit::ValueText() const
{
    return OptionValueFromChoice(m_options->currentIndex());
}

std::optional<QString> CListParamEdit::Check()
{
    return CheckOptionNumber(m_def, m_options->currentIndex());
}
