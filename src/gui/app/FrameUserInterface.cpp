// Plain Qt dialogs behind the UserInterface seam for one frame; see FrameUserInterface.h.
#include "app/FrameUserInterface.h"

#include "app/CDocFrame.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

FrameUserInterface::FrameUserInterface(CDocFrame* frame) : m_frame(frame) {}

FrameUserInterface::~FrameUserInterface()
{
    ProgressEnd();
    while (m_waitDepth > 0)
        SetWaitCursor(false);
}

int FrameUserInterface::MessageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon)
{
    QMessageBox box(m_frame);
    box.setWindowTitle(caption.isEmpty() ? ApplicationTitle() : caption);
    box.setText(text);
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::None: break;
    }
    struct Choice { QMessageBox::StandardButton button; int result; };
    std::vector<Choice> choices;
    switch (buttons) {
    case Buttons::Ok: choices = {{QMessageBox::Ok, Ok}}; break;
    case Buttons::OkCancel: choices = {{QMessageBox::Ok, Ok}, {QMessageBox::Cancel, Cancel}}; break;
    case Buttons::AbortRetryIgnore:
        choices = {{QMessageBox::Abort, Abort}, {QMessageBox::Retry, Retry}, {QMessageBox::Ignore, Ignore}};
        break;
    case Buttons::YesNoCancel:
        choices = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}, {QMessageBox::Cancel, Cancel}};
        break;
    case Buttons::YesNo: choices = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}}; break;
    case Buttons::RetryCancel: choices = {{QMessageBox::Retry, Retry}, {QMessageBox::Cancel, Cancel}}; break;
    }
    QMessageBox::StandardButtons set;
    for (const Choice& c : choices)
        set |= c.button;
    box.setStandardButtons(set);
    const int pressed = box.exec();
    for (const Choice& c : choices) {
        if (c.button == pressed)
            return c.result;
    }
    // Closed with Escape or the window button: the box's way out.
    if (buttons == Buttons::Ok)
        return Ok;
    if (buttons == Buttons::YesNo)
        return No;
    if (buttons == Buttons::AbortRetryIgnore)
        return Abort;
    return Cancel;
}

void FrameUserInterface::ProgressBegin(const QString& title, const QString& text, int lower, int upper)
{
    ProgressEnd();
    m_progress = new QProgressDialog(text, QStringLiteral("Cancel"), lower, upper, m_frame);
    m_progress->setWindowTitle(title);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(0);
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setValue(lower);
    m_progress->show();
    QApplication::processEvents();
}

void FrameUserInterface::ProgressSetText(const QString& text)
{
    if (m_progress)
        m_progress->setLabelText(text);
}

void FrameUserInterface::ProgressSetPos(int pos)
{
    if (m_progress)
        m_progress->setValue(pos);
}

void FrameUserInterface::ProgressStep()
{
    if (m_progress)
        m_progress->setValue(m_progress->value() + 1);
}

bool FrameUserInterface::ProgressCancelled()
{
    QApplication::processEvents();
    return m_progress && m_progress->wasCanceled();
}

void FrameUserInterface::ProgressFinish(const QString& text, bool waitForClose)
{
    if (!m_progress)
        return;
    m_progress->setLabelText(text);
    if (!waitForClose)
        return;
    // Cancel becomes "&Close"; the window stays until the user closes it.
    auto* close = new QPushButton(QStringLiteral("&Close"), m_progress);
    m_progress->setCancelButton(close);
    m_progress->exec();
}

void FrameUserInterface::ProgressEnd()
{
    delete m_progress;
    m_progress = nullptr;
}

void FrameUserInterface::Pump()
{
    QApplication::processEvents();
}

std::optional<QString> FrameUserInterface::ChooseSaveFile(const QString& caption, const QString& suggestedName,
                                                          const QString& filter)
{
    const QString path = QFileDialog::getSaveFileName(m_frame, caption, suggestedName, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> FrameUserInterface::ChooseOpenFile(const QString& caption, const QString& filter)
{
    const QString path = QFileDialog::getOpenFileName(m_frame, caption, QString(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> FrameUserInterface::AskAccessCode(const QString& prompt)
{
    bool ok = false;
    const QString code = QInputDialog::getText(m_frame, ApplicationTitle(), prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return code;
}

int FrameUserInterface::ChooseFromList(const QString& caption, const QStringList& items)
{
    bool ok = false;
    const QString item = QInputDialog::getItem(m_frame, caption, caption, items, 0, false, &ok);
    return ok ? int(items.indexOf(item)) : -1;
}

void FrameUserInterface::SetStatusText(int pane, const QString& text)
{
    if (m_frame)
        m_frame->SetPaneText(pane, text);
}

void FrameUserInterface::SetWaitCursor(bool on)
{
    if (on) {
        ++m_waitDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_waitDepth > 0) {
        --m_waitDepth;
        QApplication::restoreOverrideCursor();
    }
}
