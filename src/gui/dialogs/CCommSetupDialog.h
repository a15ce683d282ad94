// How a configuration document reaches its device: TCP/IP or serial port COMn (list index =
// port index) and the device's IP address, whose last octet is the unit address on a serial
// line. "Comm Port Settings..." (serial ports only) edits and stores that port's line settings
// and protocol at once; OK hands back the port index and the address for the document to apply.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class CPortSettings;

class CCommSetupDialog : public QDialog {
    Q_OBJECT
public:
    CCommSetupDialog(int portIndex, uint32_t address, QWidget* parent = nullptr);

    int PortIndex() const { return m_portIndex; }
    uint32_t Address() const { return m_address; }
    QComboBox* PortList() const { return m_port; }
    QLineEdit* AddressEdit() const { return m_addressEdit; }
    QPushButton* PortSettingsButton() const { return m_settingsButton; }

    // Runs the port settings dialog; tests replace it to answer without a modal loop.
    using PortDialogRunner = std::function<bool(CPortSettings&)>;
    void SetPortDialogRunner(PortDialogRunner runner) { m_runPortDialog = std::move(runner); }
    // The "Comm Port Settings..." button: reads, edits and on OK writes the port's settings.
    void EditPortSettings();

    void accept() override;

private:
    void ReadFields();

    int m_portIndex = 0;
    uint32_t m_address = 0;
    QComboBox* m_port = nullptr;
    QLineEdit* m_addressEdit = nullptr;
    QPushButton* m_settingsButton = nullptr;
    PortDialogRunner m_runPortDialog;
};
