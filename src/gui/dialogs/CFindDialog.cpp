// Text search dialog (see CFindDialog.h).
#include "CFindDialog.h"

#include "CSearchBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CFindDialog::CFindDialog(QWidget* owner)
    : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Search for Text"));
    setModal(false);
    m_box = new CSearchBox(this);
    m_ignoreBox = new QCheckBox(QStringLiteral("&Ignore Case"), this);
    m_cursorBox = new QCheckBox(QStringLiteral("&Find From Cursor"), this);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* forward = new QRadioButton(QStringLiteral("Forward"), direction);
    m_backward = new QRadioButton(QStringLiteral("Backward"), direction);
    forward->setChecked(true);
    auto* directionLayout = new QVBoxLayout(direction);
    directionLayout->addWidget(forward);
    directionLayout->addWidget(m_backward);
    m_find = new QPushButton(QStringLiteral("&Find"), this);
    m_findNext = new QPushButton(QStringLiteral("Find &Next"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    m_find->setEnabled(false);
    m_findNext->setEnabled(false);

    connect(m_box->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        m_find->setEnabled(!text.isEmpty());
        m_findNext->setEnabled(false);
    });
    connect(m_find, &QPushButton::clicked, this, [this] {
        ReadFields();
        m_findNext->setEnabled(true);
        Request(m_fromCursor ? FindFromCursor : FindFromStart);
    });
    connect(m_findNext, &QPushButton::clicked, this, [this] {
        ReadFields();
        Request(FindNext);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Text to Find:"), this), 0, 0);
    grid->addWidget(m_box, 0, 1);
    grid->addWidget(m_find, 0, 2);
    grid->addWidget(m_ignoreBox, 1, 0, 1, 2);
    grid->addWidget(m_findNext, 1, 2);
    grid->addWidget(m_cursorBox, 2, 0, 1, 2);
    grid->addWidget(close, 2, 2);
    grid->addWidget(direction, 3, 0, 1, 2);
}

void CFindDialog::ReadFields()
{
    m_text = m_box->currentText();
    m_upperText = m_text.toUpper();
    m_ignoreCase = m_ignoreBox->isChecked();
    m_fromCursor = m_cursorBox->isChecked();
    m_direction = m_backward->isChecked() ? 1 : 0;
}

void CFindDialog::Request(int request)
{
    m_lastRequest = request;
    emit SearchRequested(request);
}

std::optional<qsizetype> CFindDialog::Matches(const QString& text) const
{
    const qsizetype at = m_ignoreCase ? text.toUpper().indexOf(m_upperText) : text.indexOf(m_text);
    if (at < 0)
        return std::nullopt;
    return at;
}
