// Edit dialog of the alarm program codes (directories 6 and 7): three check boxes for the bit
// values 1, 2 and 4 instead of the edit box. The value is the sum of the set bits.
#pragma once

#include "CGenParamEdit.h"

#include <array>

class QCheckBox;

class CAlarmParamEdit : public CGenParamEdit {
    Q_OBJECT
public:
    CAlarmParamEdit(const DBParam& p, const ConfigImage& image, QWidget* parent = nullptr);
    QString ValueText() const override;
    QCheckBox* Box(int flag) const { return m_boxes[static_cast<size_t>(flag)]; }

protected:
    std::optional<QString> Check() override { return std::nullopt; }

private:
    std::array<QCheckBox*, 3> m_boxes{};
};
