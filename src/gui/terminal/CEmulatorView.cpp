// The terminal emulator's form (see CEmulatorView.h).
#include "terminal/CEmulatorView.h"

#include "app/CUrlOpener.h"

#include "CquillTrakDoc.h"
#include "DeviceConnection.h"
#include "TerminalCommandTable.h"
#include "UserInterface.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The output control shows the session's "\r\n" line ends as plain line breaks.
QString ForDisplay(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.remove(QLatin1Char('\r'));
    return text;
}

qsizetype LineBreakIn(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n'))
            return i;
    }
    return -1;
}

} // namespace

CEmulatorView::CEmulatorView(DeviceConnection& connection, UserInterface& ui, QWidget* parent)
    : QWidget(parent)
    , m_connection(connection)
    , m_ui(ui)
    , m_session(ui)
    , m_helpTopic(TerminalCommandTable::kDefaultHelpTopic)
{
    m_arm = new QComboBox(this);
    m_arm->setObjectName(QStringLiteral("armSelector"));
    m_arm->setEnabled(false);
    m_arm->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    m_input = new QLineEdit(this);
    m_input->setObjectName(QStringLiteral("input"));
    m_output = new QPlainTextEdit(this);
    m_output->setObjectName(QStringLiteral("output"));
    m_output->setReadOnly(true);
    m_output->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The echo lines are laid out in columns.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_input->setFont(fixed);
    m_output->setFont(fixed);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_arm, 0, Qt::AlignLeft);
    layout->addWidget(m_input);
    layout->addWidget(m_output, 1);
    setFocusProxy(m_input);
    SetHelpTopic(m_helpTopic);

    connect(m_input, &QLineEdit::textChanged, this, &CEmulatorView::OnInputChanged);
    connect(m_input, &QLineEdit::returnPressed, this, &CEmulatorView::OnReturnPressed);

    // A macro's next line runs once the event loop has had its turn, as a posted message would.
    m_macroTimer.setSingleShot(true);
    connect(&m_macroTimer, &QTimer::timeout, this, &CEmulatorView::StepMacro);

    m_session.SetBeeper([] { QApplication::beep(); });
    m_session.SetReportOpener([](const QString& path) {
        CUrlOpener::Open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    });
}

CEmulatorView::~CEmulatorView()
{
    m_macroTimer.stop();
}

void CEmulatorView::OnInitialUpdate()
{
    m_arm->clear();
    m_arm->addItem(QStringLiteral("Arm %1").arg(1));
    m_arm->setCurrentIndex(0);
    m_arm->setEnabled(false);
    SetHelpTopic(TerminalCommandTable::kDefaultHelpTopic);
    ShowOutput();
    m_input->setFocus(Qt::OtherFocusReason);
}

void CEmulatorView::OnUpdate()
{
    // A line still executing (a WAITFOR pumps events while it polls) keeps the command it is
    // sending; the input is emptied all the same.
    if (!m_busy)
        m_session.ForgetLastCommand();
    WriteBack(QString(), 0);
    m_arm->show();
    m_input->show();
    m_output->show();
    SetHelpTopic(TerminalCommandTable::kDefaultHelpTopic);
    ShowOutput();
}

void CEmulatorView::ChooseCommand(int itemId)
{
    const TerminalMenuItem* item = TerminalCommandTable::FindItem(itemId);
    if (!item)
        return;
    SetHelpTopic(itemId - 10000);
    const QString prefix = QString::fromLatin1(item->prefix);
    m_input->setFocus(Qt::OtherFocusReason);
    ProcessInput(prefix);
}

void CEmulatorView::OnInputChanged(const QString& text)
{
    if (m_writingBack)
        return;
    ProcessInput(text);
}

void CEmulatorView::OnReturnPressed()
{
    // Enter executes the whole line, wherever the caret is.
    ProcessInput(m_input->text() + QLatin1Char('\r'));
}

void CEmulatorView::ProcessInput(QString text)
{
    if (text != m_session.LastCommand()) {
        const qsizetype p = LineBreakIn(text);
        if (p < 0) {
            if (text.size() < 8)
                text = TerminalCommandTable::TypedText(text);
            WriteBack(text, text.size());
            SetHelpTopic(TerminalCommandTable::HelpTopicFor(text));
        } else {
            text.truncate(p);
            if (p < 2 || m_busy) {
                // Too short to be a command (or a line is still running): it stays in the input.
                WriteBack(text, p);
            } else {
                WriteBack(QString(), 0);
                ExecuteTyped(text);
            }
        }
    }
    m_ui.SetStatusText(TerminalSession::kMessagePane, QStringLiteral("Ready"));
}

void CEmulatorView::SetHelpTopic(int topic)
{
    m_helpTopic = topic;
    // The application's F1 help takes the topic of the focused widget's nearest carrier.
    setProperty("helpContext", topic);
}

void CEmulatorView::WriteBack(const QString& text, qsizetype caret)
{
    m_writingBack = true;
    if (m_input->text() != text)
        m_input->setText(text);
    m_input->setCursorPosition(int(caret));
    m_writingBack = false;
}

void CEmulatorView::AttachLink()
{
    m_session.SetLink(m_connection.Link());
    m_session.SetUnitAddress(int(m_connection.Document().deviceAddress & 0xFF));
}

void CEmulatorView::ExecuteTyped(const QString& line)
{
    AttachLink();
    m_busy = true;
    m_session.SubmitTypedLine(line);
    m_busy = false;
    AfterExecution();
}

void CEmulatorView::StepMacro()
{
    if (m_busy || !m_session.MacroPending())
        return;
    if (m_stepGate && !m_stepGate()) {
        m_macroTimer.start(50);
        return;
    }
    AttachLink();
    m_busy = true;
    m_session.Step();
    m_busy = false;
    AfterExecution();
}

void CEmulatorView::AfterExecution()
{
    ShowOutput();
    if (m_session.ExitRequested()) {
        emit ExitRequested();
        return;
    }
    if (m_session.MacroPending())
        m_macroTimer.start(0);
    emit Idle();
}

void CEmulatorView::ShowOutput()
{
    const QString output = m_session.Output();
    if (output != m_shownOutput) {
        if (!m_shownOutput.isEmpty() && output.startsWith(m_shownOutput)) {
            QTextCursor end(m_output->document());
            end.movePosition(QTextCursor::End);
            end.insertText(ForDisplay(output.mid(m_shownOutput.size())));
        } else {
            m_output->setPlainText(ForDisplay(output));
        }
        m_shownOutput = output;
    }
    // The caret at the end keeps the newest line in view.
    QTextCursor caret = m_output->textCursor();
    caret.movePosition(QTextCursor::End);
    m_output->setTextCursor(caret);
    m_output->ensureCursorVisible();
}
