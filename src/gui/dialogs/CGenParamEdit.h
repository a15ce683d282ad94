// The general parameter edit dialog, and the base of the option-list, alarm and IP address
// dialogs: description, current value, the new value, valid range, help text and the
// security level list. OK runs the program code's check; a failed check shows its message and
// keeps the dialog open. The dialog only collects the edit: applying it (offline store or
// device write) is the core's OnlineParamEdit.
#pragma once

#include "ConfigImage.h"
#include "DBParam.h"

#include <QDialog>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

class CGenParamEdit : public QDialog {
    Q_OBJECT
public:
    using MessageSink = std::function<void(const QString& text)>;

    CGenParamEdit(const DBParam& p, const ConfigImage& image, QWidget* parent = nullptr);

    // Where a failed check's message goes; default a message box titled "Quarrant Liquid".
    void SetMessageSink(MessageSink sink) { m_showMessage = std::move(sink); }

    // The value text to apply, as the core's store and "PC" take it.
    virtual QString ValueText() const;
    // The security choice (level - 1), -1 when none; the list is disabled for program codes
    // without a level.
    int SecurityChoice() const;
    int HelpContext() const { return m_helpContext; }

    QLabel* CurrentValueLabel() const { return m_current; }
    QLineEdit* NewValueEdit() const { return m_newValue; }
    QComboBox* SecurityList() const { return m_security; }
    QLabel* HelpLabel() const { return m_help; }
    QLabel* RangeLabel() const { return m_range; }

    void accept() override;

signals:
    void HelpRequested(int helpContext);

protected:
    // The check on OK; the message, or nothing when the edit passes.
    virtual std::optional<QString> Check();
    // Puts a dialog's own control in place of the new value edit box.
    void ReplaceNewValue(QWidget* control);
    void HideCurrentValue();
    void HideRange();

    const DBParam& m_param;
    const ParamDef& m_def;
    QString m_currentText;

private:
    QLabel* m_current = nullptr;
    QLabel* m_currentCaption = nullptr;
    QLineEdit* m_newValue = nullptr;
    QLabel* m_newCaption = nullptr;
    QLabel* m_range = nullptr;
    QLabel* m_rangeCaption = nullptr;
    QLabel* m_help = nullptr;
    QComboBox* m_security = nullptr;
    QVBoxLayout* m_ownArea = nullptr;
    int m_helpContext = 0;
    MessageSink m_showMessage;
};
