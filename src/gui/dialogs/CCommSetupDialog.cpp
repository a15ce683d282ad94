// Communications setup dialog (see CCommSetupDialog.h).
#include "CCommSetupDialog.h"

#include "CPortSettings.h"
#include "CommSettings.h"
#include "ValueFormat.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CCommSetupDialog::CCommSetupDialog(int portIndex, uint32_t address, QWidget* parent)
    : QDialog(parent)
    , m_portIndex(portIndex)
    , m_address(address)
{
    setWindowTitle(QStringLiteral("Corvantix.net Liquid Communications Setup"));
    setProperty("helpContext", 140);
    m_addressEdit = new QLineEdit(IpDottedText(address), this);
    m_port = new QComboBox(this);
    m_port->addItem(QStringLiteral("TCP/IP"));
    for (int n = 1; n <= 99; ++n)
        m_port->addItem(QStringLiteral("Com %1").arg(n));
    m_port->setCurrentIndex(portIndex >= 0 && portIndex <= 99 ? portIndex : 0);
    m_settingsButton = new QPushButton(QStringLiteral("Comm Port Settings..."), this);
    m_settingsButton->setEnabled(m_port->currentIndex() != 0);
    connect(m_port, &QComboBox::currentIndexChanged, this, [this](int index) { m_settingsButton->setEnabled(index != 0); });
    connect(m_settingsButton, &QPushButton::clicked, this, &CCommSetupDialog::EditPortSettings);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Corvantix.net Liquid Address:"), m_addressEdit);
    form->addRow(new QLabel(QStringLiteral("(For a serial connection, only the last octet in the IP address is used)"), this));
    form->addRow(QStringLiteral("Port:"), m_port);
    form->addRow(m_settingsButton);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    m_runPortDialog = [](CPortSettings& dialog) { return dialog.exec() == QDialog::Accepted; };
}

void CCommSetupDialog::ReadFields()
{
    m_portIndex = m_port->currentIndex();
    // An address field that does not read as an address keeps the address it started with.
    if (const std::optional<uint32_t> address = ParseDottedIp(m_addressEdit->text()))
        m_address = *address;
}

void CCommSetupDialog::EditPortSettings()
{
    ReadFields();
    if (m_portIndex == 0)
        return;
    const LineSettings settings = CommSettings::ReadLineSettings(m_portIndex, CommSettings::DialogDefaultModeText());
    CPortSettings dialog(m_portIndex, settings, CommSettings::ReadProtocolKind(m_portIndex), this);
    if (!m_runPortDialog(dialog))
        return;
    CommSettings::WriteModeText(m_portIndex, dialog.Settings());
    CommSettings::WriteProtocolKind(m_portIndex, dialog.ProtocolIndex());
}

void CCommSetupDialog::accept()
{
    ReadFields();
    QDialog::accept();
}
