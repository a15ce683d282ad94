// The port settings dialog of one serial port: baud rate, data bits with parity, and the
// protocol framing. It edits a copy of the line settings; OK puts the choices into it
// (other fields kept) and the caller writes them to the "Comm" settings.
#pragma once

#include "LineSettings.h"

#include <QDialog>

class QComboBox;

class CPortSettings : public QDialog {
    Q_OBJECT
public:
    CPortSettings(int portIndex, const LineSettings& settings, int protocolIndex, QWidget* parent = nullptr);

    LineSettings Settings() const { return m_settings; }
    int ProtocolIndex() const { return m_protocolIndex; }
    QComboBox* BaudList() const { return m_baud; }
    QComboBox* DataParityList() const { return m_dataParity; }
    QComboBox* ProtocolList() const { return m_protocol; }

    void accept() override;

private:
    LineSettings m_settings;
    int m_protocolIndex = 1;
    QComboBox* m_baud = nullptr;
    QComboBox* m_dataParity = nullptr;
    QComboBox* m_protocol = nullptr;
};
