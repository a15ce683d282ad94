// The access-code prompt before an FTP transfer or firmware upgrade: a masked, digits-only
// field. OK hands back the code; the callers abort on Cancel.
#pragma once

#include <QDialog>

class QLineEdit;

class CPasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPasswordDialog(QWidget* parent = nullptr);
    QString AccessCode() const;
    QLineEdit* Field() const { return m_field; }

private:
    QLineEdit* m_field = nullptr;
};
