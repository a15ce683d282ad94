// The progress dialog of an FTP transfer; see CProgressDlg.h.
#include "transfer/CProgressDlg.h"

#include "CTransferThread.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CProgressDlg::CProgressDlg(QWidget* parent) : QDialog(parent)
{
    setModal(false);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);
    m_detail = new QLabel(this);
    m_detail->setObjectName(QStringLiteral("detail"));
    m_detail->setTextFormat(Qt::PlainText);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("bar"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_detail);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    setMinimumWidth(390);
    UpdateTitle();
}

CProgressDlg::~CProgressDlg() = default;

void CProgressDlg::Attach(CTransferThread* thread)
{
    m_thread = thread;
    // The thread emits on its own thread: these connections are queued to this one.
    connect(thread, &CTransferThread::ProgressOpened, this, [this](int) { show(); });
    connect(thread, &CTransferThread::ProgressTitle, this, &CProgressDlg::SetBaseTitle);
    connect(thread, &CTransferThread::ProgressStatus, this, &CProgressDlg::ShowStatusLine);
    connect(thread, &CTransferThread::ProgressDetail, this, &CProgressDlg::ShowDetailLine);
    connect(thread, &CTransferThread::ProgressPosition, this, &CProgressDlg::MoveBar);
    connect(thread, &CTransferThread::ProgressClosed, this, &QWidget::hide);
}

void CProgressDlg::ShowStatusLine(const QString& text)
{
    m_status->setText(text);
}

void CProgressDlg::ShowDetailLine(const QString& text)
{
    m_detail->setText(text);
}

QString CProgressDlg::StatusLine() const
{
    return m_status->text();
}

QString CProgressDlg::DetailLine() const
{
    return m_detail->text();
}

void CProgressDlg::SetBaseTitle(const QString& text)
{
    m_baseTitle = text;
    UpdateTitle();
}

void CProgressDlg::SetUpperBound(int value)
{
    m_lower = 0;
    m_upper = value;
}

void CProgressDlg::MoveBar(int position)
{
    const qint64 span = qint64(m_upper) - m_lower;
    int percent = span > 0 ? int((qint64(position) - m_lower) * 100 / span) : 0;
    if (percent != 100)
        percent = (percent % 100 + 100) % 100;
    m_percent = percent;
    m_bar->setValue(percent);
    UpdateTitle();
}

void CProgressDlg::UpdateTitle()
{
    const QString title = QStringLiteral("%1% %2").arg(m_percent).arg(m_baseTitle);
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CProgressDlg::reject()
{
    // The thread ends the dialog when it has stopped; until then it stays up.
    if (m_thread)
        m_thread->Cancel();
    emit CancelRequested();
}
