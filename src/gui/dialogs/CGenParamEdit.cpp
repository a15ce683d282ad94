// General parameter edit dialog (see CGenParamEdit.h).
#include "CGenParamEdit.h"

#include "EditChecks.h"
#include "LiteralTable.h"
#include "ParamEdit.h"
#include "UserInterface.h"
#include "ValueFormat.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {

// The face of the "ParamView"/"TextCharSet" setting, for the values of Text program codes.
QString TextFontFace()
{
    QSettings settings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
    switch (settings.value(QStringLiteral("ParamView/TextCharSet"), 0).toInt()) {
    case 1: return QStringLiteral("VGI 866 Bold (DOS Cyrillic)");
    case 2: return QStringLiteral("VGI 1251 Bold (Cyrillic)");
    case 3: return QStringLiteral("VGI 1250 Bold (Central Europe)");
    case 4: return QStringLiteral("VGI 1253 Bold (Greek)");
    default: return QStringLiteral("VGI Bold");
    }
}

} // namespace

CGenParamEdit::CGenParamEdit(const DBParam& p, const ConfigImage& image, QWidget* parent)
    : QDialog(parent)
    , m_param(p)
    , m_def(*p.def)
    , m_currentText(FormatValue(p, image))
    , m_helpContext(ParamEdit::HelpContextId(p))
{
    setWindowTitle(QStringLiteral("Quarrant Liquid Parameter Edit"));
    setProperty("helpContext", m_helpContext);

    auto* description = new QLabel(QString::fromLatin1(m_def.name), this);
    m_currentCaption = new QLabel(QStringLiteral("Current Value:"), this);
    m_current = new QLabel(m_currentText, this);
    m_current->setTextFormat(Qt::PlainText);
    m_newCaption = new QLabel(QStringLiteral("Enter New Value:"), this);
    m_newValue = new QLineEdit(m_currentText, this);
    m_rangeCaption = new QLabel(QStringLiteral("Valid Range:"), this);
    m_range = new QLabel(RangeText(m_def), this);
    m_help = new QLabel(m_def.helpLiteral >= 0 ? LiteralText(m_def.helpLiteral) : QString(), this);
    m_help->setTextFormat(Qt::PlainText);
    m_security = new QComboBox(this);
    if (m_def.HasSecurityLevel()) {
        m_security->addItems(SecurityLevelChoices());
        m_security->setCurrentIndex(SecurityChoiceForLevel(image.GetSecurityLevel(p)));
    } else {
        m_security->setEnabled(false);
    }
    if (m_def.type == ValueType::Text) {
        QFont font(TextFontFace());
        m_current->setFont(font);
        m_newValue->setFont(font);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(description, 0, 0, 1, 2);
    grid->addWidget(m_currentCaption, 1, 0);
    grid->addWidget(m_current, 1, 1);
    grid->addWidget(m_newCaption, 2, 0);
    m_ownArea = new QVBoxLayout;
    m_ownArea->addWidget(m_newValue);
    grid->addLayout(m_ownArea, 2, 1);
    grid->addWidget(m_rangeCaption, 3, 0);
    grid->addWidget(m_range, 3, 1);
    grid->addWidget(m_help, 4, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Select Security Level"), this), 5, 0, 1, 2);
    grid->addWidget(m_security, 6, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit HelpRequested(m_helpContext); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    m_showMessage = [this](const QString& text) {
        QMessageBox::warning(this, UserInterface::ApplicationTitle(), text);
    };
}

QString CGenParamEdit::ValueText() const
{
    return m_newValue->text();
}

int CGenParamEdit::SecurityChoice() const
{
    return m_def.HasSecurityLevel() ? m_security->currentIndex() : -1;
}

std::optional<QString> CGenParamEdit::Check()
{
    QString text = m_newValue->text();
    std::optional<QString> message = ParamEdit::CheckValue(m_def, text);
    if (!message)
        m_newValue->setText(text); // the time form's letter in upper case
    return message;
}

void CGenParamEdit::accept()
{
    if (std::optional<QString> message = Check()) {
        m_showMessage(*message);
        return;
    }
    QDialog::accept();
}

void CGenParamEdit::ReplaceNewValue(QWidget* control)
{
    m_newValue->hide();
    m_ownArea->addWidget(control);
}

void CGenParamEdit::HideCurrentValue()
{
    m_currentCaption->hide();
    m_current->hide();
}

void CGenParamEdit::HideRange()
{
    m_rangeCaption->hide();
    m_range->hide();
}
