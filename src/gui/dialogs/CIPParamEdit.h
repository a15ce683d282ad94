// Edit dialog of the address program codes (directory 3, 32-bit): a dotted address field
// instead of the edit box; the current value and range lines are hidden. The value is the
// address as one unsigned number, first field most significant.
#pragma once

#include "CGenParamEdit.h"

class CIPParamEdit : public CGenParamEdit {
    Q_OBJECT
public:
    CIPParamEdit(const DBParam& p, const ConfigImage& image, QWidget* parent = nullptr);
    QString ValueText() const override;
    QLineEdit* AddressEdit() const { return m_address; }

    // "Enter an IP address of four numbers from 0 to 255."
    static QString AddressMessage();

protected:
    std::optional<QString> Check() override;

private:
    QLineEdit* m_address = nullptr;
};
