// Edit dialog of a program code with an option list: a drop-down of "%0*d %s" entries, one
// per option number from 0 to the maximum, instead of the edit box; no current value line.
#pragma once

#include "CGenParamEdit.h"

class CListParamEdit : public CGenParamEdit {
    Q_OBJECT
public:
    CListParamEdit(const DBParam& p, const ConfigImage& image, QWidget* parent = nullptr);
    QString ValueText() const override;
    QComboBox* OptionList() const { return m_options; }

protected:
    std::optional<QString> Check() override;

private:
    QComboBox* m_options = nullptr;
};
