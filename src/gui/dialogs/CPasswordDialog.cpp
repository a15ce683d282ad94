// Access-code prompt (see CPasswordDialog.h).
#include "CPasswordDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

CPasswordDialog::CPasswordDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Enter Access Code"));
    m_field = new QLineEdit(this);
    m_field->setEchoMode(QLineEdit::Password);
    m_field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_field));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Access Code:"), m_field);
    auto* note = new QLabel(QStringLiteral("You must log in with the access code for the highest security level "
                                           "configured to perfom this function."), this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

QString CPasswordDialog::AccessCode() const
{
    return m_field->text();
}
