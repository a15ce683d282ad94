// Port settings dialog (see CPortSettings.h).
#include "CPortSettings.h"

#include "CommSettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

CPortSettings::CPortSettings(int portIndex, const LineSettings& settings, int protocolIndex, QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_protocolIndex(protocolIndex)
{
    Q_UNUSED(portIndex);
    setWindowTitle(QStringLiteral("Port Settings - Com"));
    m_baud = new QComboBox(this);
    m_baud->addItems(CommSettings::BaudRateChoices());
    m_baud->setCurrentIndex(CommSettings::BaudChoiceIndex(settings));
    m_dataParity = new QComboBox(this);
    m_dataParity->addItems(CommSettings::DataParityChoices());
    m_dataParity->setCurrentIndex(CommSettings::DataParityChoiceIndex(settings));
    m_protocol = new QComboBox(this);
    m_protocol->addItems(CommSettings::ProtocolChoices());
    m_protocol->setCurrentIndex(protocolIndex == 0 ? 0 : 1);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Baud Rate:"), m_baud);
    form->addRow(QStringLiteral("Data/Parity:"), m_dataParity);
    form->addRow(QStringLiteral("Protocol:"), m_protocol);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CPortSettings::accept()
{
    CommSettings::ApplyChoices(m_settings, m_baud->currentIndex(), m_dataParity->currentIndex());
    m_protocolIndex = m_protocol->currentIndex();
    QDialog::accept();
}
