// Qt dialogs behind the UserInterface seam (see GuiUserInterface.h).
#include "GuiUserInterface.h"

#include "CPasswordDialog.h"
#include "CProgressWnd.h"
#include "CStringArrayDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::StandardButtons ToButtons(UserInterface::Buttons buttons)
{
    switch (buttons) {
    case UserInterface::Buttons::Ok: return QMessageBox::Ok;
    case UserInterface::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case UserInterface::Buttons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case UserInterface::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case UserInterface::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case UserInterface::Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon ToIcon(UserInterface::Icon icon)
{
    switch (icon) {
    case UserInterface::Icon::Information: return QMessageBox::Information;
    case UserInterface::Icon::Warning: return QMessageBox::Warning;
    case UserInterface::Icon::Error: return QMessageBox::Critical;
    case UserInterface::Icon::Question: return QMessageBox::Question;
    case UserInterface::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A box closed without a button (Escape, the window's close) answers as its cancelling
// button would: Cancel, No or Abort, whichever the box has.
int ToResult(int pressed, UserInterface::Buttons buttons)
{
    switch (pressed) {
    case QMessageBox::Ok: return UserInterface::Ok;
    case QMessageBox::Cancel: return UserInterface::Cancel;
    case QMessageBox::Abort: return UserInterface::Abort;
    case QMessageBox::Retry: return UserInterface::Retry;
    case QMessageBox::Ignore: return UserInterface::Ignore;
    case QMessageBox::Yes: return UserInterface::Yes;
    case QMessageBox::No: return UserInterface::No;
    default: break;
    }
    switch (buttons) {
    case UserInterface::Buttons::Ok: return UserInterface::Ok;
    case UserInterface::Buttons::YesNo: return UserInterface::No;
    case UserInterface::Buttons::AbortRetryIgnore: return UserInterface::Abort;
    default: return UserInterface::Cancel;
    }
}

} // namespace

GuiUserInterface::GuiUserInterface(QWidget* parent)
    : m_parent(parent)
{
}

GuiUserInterface::~GuiUserInterface()
{
    while (m_waitDepth > 0)
        SetWaitCursor(false);
}

int GuiUserInterface::MessageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon)
{
    QMessageBox box(ToIcon(icon), caption.isEmpty() ? ApplicationTitle() : caption, text, ToButtons(buttons),
                    m_parent.data());
    // The user answers with the normal cursor, even in the middle of a device exchange.
    const bool waiting = m_waitDepth > 0;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int pressed = box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
    return ToResult(box.clickedButton() ? int(box.standardButton(box.clickedButton())) : pressed, buttons);
}

void GuiUserInterface::ProgressBegin(const QString& title, const QString& text, int lower, int upper)
{
    m_progress = std::make_unique<CProgressWnd>(m_parent.data(), title, true);
    m_progress->SetBarRange(lower, upper, 1);
    m_progress->ShowProgressText(text);
    m_progress->MoveBar(lower);
    m_progress->show();
    QCoreApplication::processEvents();
}

void GuiUserInterface::ProgressSetText(const QString& text)
{
    if (m_progress)
        m_progress->ShowProgressText(text);
}

void GuiUserInterface::ProgressSetPos(int pos)
{
    if (m_progress)
        m_progress->MoveBar(pos);
}

void GuiUserInterface::ProgressStep()
{
    if (m_progress)
        m_progress->StepBar();
}

bool GuiUserInterface::ProgressCancelled()
{
    if (!m_progress)
        return false;
    m_progress->PollCancel(true, true);
    return m_progress->IsCancelled();
}

void GuiUserInterface::ProgressFinish(const QString& text, bool waitForClose)
{
    if (m_progress)
        m_progress->Finish(text, waitForClose);
}

void GuiUserInterface::ProgressEnd()
{
    m_progress.reset();
}

void GuiUserInterface::Pump()
{
    if (m_progress)
        m_progress->PollCancel(true, true);
    else
        QCoreApplication::processEvents();
}

std::optional<QString> GuiUserInterface::ChooseSaveFile(const QString& caption, const QString& suggestedName,
                                                        const QString& filter)
{
    const QString path = QFileDialog::getSaveFileName(m_parent.data(), caption, suggestedName, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> GuiUserInterface::ChooseOpenFile(const QString& caption, const QString& filter)
{
    const QString path = QFileDialog::getOpenFileName(m_parent.data(), caption, QString(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> GuiUserInterface::AskAccessCode(const QString&)
{
    CPasswordDialog dialog(m_parent.data());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.AccessCode();
}

int GuiUserInterface::ChooseFromList(const QString& caption, const QStringList& items)
{
    CStringArrayDialog dialog(items, m_parent.data());
    if (!caption.isEmpty())
        dialog.setWindowTitle(caption);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return dialog.ChosenIndex();
}

void GuiUserInterface::SetStatusText(int pane, const QString& text)
{
    if (m_statusSink)
        m_statusSink(pane, text);
}

void GuiUserInterface::SetWaitCursor(bool on)
{
    if (on) {
        ++m_waitDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_waitDepth > 0) {
        --m_waitDepth;
        QApplication::restoreOverrideCursor();
    }
}
