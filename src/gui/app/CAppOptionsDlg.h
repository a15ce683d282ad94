// General Options: "Display Options" (security level column, unused arms and meters, text
// character set) and "Printing Options" (security level on printout, level limit, unused
// recipes). The dialog edits a copy of the options; the caller stores and writes them on OK,
// so Cancel changes nothing. The "unused arms and meters" box is kept but never reachable.
#pragma once

#include "GeneralOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

class CAppOptionsDlg : public QDialog {
    Q_OBJECT
public:
    CAppOptionsDlg(const GeneralOptions& options, QWidget* parent = nullptr);

    // The options as the controls show them (unchanged values where no control exists).
    GeneralOptions Options() const;

private:
    GeneralOptions m_options;
    QCheckBox* m_showSecLvl;
    QCheckBox* m_showUnused;
    QComboBox* m_charSet;
    QCheckBox* m_printSecLvl;
    QComboBox* m_suppressBelow;
    QCheckBox* m_suppressUnused;
};
