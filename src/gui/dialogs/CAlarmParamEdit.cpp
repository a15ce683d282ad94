// Alarm flag edit dialog (see CAlarmParamEdit.h).
#include "CAlarmParamEdit.h"

#include "ValueFormat.h"

#include <QCheckBox>
#include <QVBoxLayout>
#include <QWidget>

CAlarmParamEdit::CAlarmParamEdit(const DBParam& p, const ConfigImage& image, QWidget* parent)
    : CGenParamEdit(p, image, parent)
{
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    const AlarmFlags flags = SplitAlarmFlags(m_currentText);
    for (int i = 0; i < kAlarmFlagCount; ++i) {
        auto* box = new QCheckBox(AlarmFlagLabel(i), area);
        box->setChecked(flags[static_cast<size_t>(i)]);
        layout->addWidget(box);
        m_boxes[static_cast<size_t>(i)] = box;
    }
    ReplaceNewValue(area);
}

QString CAlarmParamEdit::ValueText() const
{
    AlarmFlags flags{};
    for (int i = 0; i < kAlarmFlagCount; ++i)
        flags[static_cast<size_t>(i)] = m_boxes[static_cast<size_t>(i)]->isChecked();
    return JoinAlarmFlags(flags);
}
