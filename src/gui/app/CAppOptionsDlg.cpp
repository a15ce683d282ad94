// The General Options dialog; see CAppOptionsDlg.h.
#include "app/CAppOptionsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

CAppOptionsDlg::CAppOptionsDlg(const GeneralOptions& options, QWidget* parent) : QDialog(parent), m_options(options)
{
    setWindowTitle(QStringLiteral("Quarrant Liquid General Options"));
    setProperty("helpContext", 1140);

    auto* display = new QGroupBox(QStringLiteral("Display Options"), this);
    m_showSecLvl = new QCheckBox(QStringLiteral("Display security level in parameter list view"), display);
    // Present for its setting only: hidden and disabled, so the user cannot reach it.
    m_showUnused = new QCheckBox(QStringLiteral("Display unused arms and meters in directory tree"), this);
    m_showUnused->setEnabled(false);
    m_showUnused->hide();
    m_charSet = new QComboBox(display);
    m_charSet->addItems({QStringLiteral("Default (DOS 852 Latin)"), QStringLiteral("Cyrillic (DOS 866)")});
    auto* displayLayout = new QFormLayout(display);
    displayLayout->addRow(m_showSecLvl);
    displayLayout->addRow(QStringLiteral("Character set for text Program Codes"), m_charSet);

    auto* printing = new QGroupBox(QStringLiteral("Printing Options"), this);
    m_printSecLvl = new QCheckBox(QStringLiteral("Include security level on printout"), printing);
    m_suppressBelow = new QComboBox(printing);
    m_suppressBelow->addItems({QStringLiteral("Print all"), QStringLiteral("Level 2 and above"), QStringLiteral("Level 3 only")});
    m_suppressUnused = new QCheckBox(QStringLiteral("Suppress printing unused recipes"), printing);
    auto* printLayout = new QFormLayout(printing);
    printLayout->addRow(m_printSecLvl);
    printLayout->addRow(QStringLiteral("Limit printout of parameters to:"), m_suppressBelow);
    printLayout->addRow(m_suppressUnused);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(display);
    layout->addWidget(printing);
    layout->addWidget(buttons);

    m_showSecLvl->setChecked(options.showSecLvl);
    m_showUnused->setChecked(options.showUnused);
    // Character sets 2 to 4 have no entry: the box shows none and the value is kept.
    m_charSet->setCurrentIndex(options.textCharSet >= 0 && options.textCharSet < m_charSet->count() ? options.textCharSet : -1);
    m_printSecLvl->setChecked(options.printSecLvl);
    m_suppressBelow->setCurrentIndex(options.suppressBelowLvl >= 0 && options.suppressBelowLvl <= 2 ? options.suppressBelowLvl : 0);
    m_suppressUnused->setChecked(options.suppressUnused);
}

GeneralOptions CAppOptionsDlg::Options() const
{
    GeneralOptions o = m_options;
    o.showSecLvl = m_showSecLvl->isChecked();
    o.showUnused = m_showUnused->isChecked();
    if (m_charSet->currentIndex() >= 0)
        o.textCharSet = m_charSet->currentIndex();
    o.printSecLvl = m_printSecLvl->isChecked();
    o.suppressBelowLvl = m_suppressBelow->currentIndex();
    o.suppressUnused = m_suppressUnused->isChecked();
    return o;
}
