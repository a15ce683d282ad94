// The transfer progress dialog: its title for percentages up to and past 100, and a real
// download thread against a real FTP server, followed by the dialog, whose Cancel stops the
// transfer with the cancelled text and no error.
#include <gtest/gtest.h>

#include "FtpServerFixture.h"
#include "transfer/CProgressDlg.h"

#include "CDownloadThread.h"
#include "TransferEvent.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Processes events until the condition holds or 20 s went by; returns the condition.
template <class Condition>
bool WaitFor(Condition condition)
{
    const QDeadlineTimer deadline(20000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

TEST(ProgressDlgTest, TitleShowsThePercentageOfTheBoundsPastHundredModuloHundred)
{
    struct Case {
        int upper;
        int position;
        int percent;
    };
    const Case cases[] = {
        {100, 5, 5}, {100, 105, 5}, {100, 100, 100}, {100, 150, 50}, {100, 200, 0}, {100, 0, 0}, {1000, 250, 25},
    };
    for (const Case& c : cases) {
        CProgressDlg dlg;
        dlg.SetBaseTitle(QStringLiteral("Receiving CONFIG/TRANSRPT.CFG"));
        dlg.SetUpperBound(c.upper);
        dlg.MoveBar(c.position);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("%1% Receiving CONFIG/TRANSRPT.CFG").arg(c.percent)) << c.position;
        EXPECT_EQ(dlg.Bar()->value(), c.percent) << c.position;
    }
}

TEST(ProgressDlgTest, FollowsADownloadAndCancelStopsItWithTheCancelledText)
{
    FtpServerFixture server(QStringLiteral("4711"));
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();
    QByteArray data(100000, Qt::Uninitialized);
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 13 & 0xFF);
    ASSERT_TRUE(server.PutFile(QStringLiteral("CONFIG/BIG.BIN"), data));
    QTemporaryDir local;
    const QString localPath = local.filePath(QStringLiteral("BIG.BIN"));

    auto* thread = new CDownloadThread;
    thread->SetDeviceDefaults(QStringLiteral("127.0.0.1"), server.AccessCode());
    thread->SetPort(server.Port());
    thread->SetRemotePath(QStringLiteral("CONFIG/BIG.BIN"));
    thread->SetLocalPath(localPath);
    thread->SetExpectedSize(data.size());

    CProgressDlg dlg;
    dlg.Attach(thread);
    // The worker holds after its first block until the test has pressed Cancel, so the
    // transfer cannot outrun the button.
    TransferEvent pressed;
    QObject::connect(thread, &CTransferThread::ProgressStatus, thread, [&pressed](const QString& text) {
        if (text.contains(QStringLiteral("bytes transferred")))
            pressed.Wait(20000);
    }, Qt::DirectConnection);
    QString message;
    int errorFlag = -1;
    QObject::connect(thread, &CDownloadThread::DownloadFinished, &dlg, [&](CDownloadThread* t) {
        message = t->TransferMessage();
        errorFlag = t->ErrorFlag();
    });
    thread->start();

    ASSERT_TRUE(WaitFor([&] { return dlg.StatusLine().contains(QStringLiteral("bytes transferred")); }))
        << dlg.StatusLine().toStdString();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.StatusLine(), QStringLiteral("BIG.BIN (512 of 100000  bytes transferred)"));
    EXPECT_EQ(dlg.DetailLine(), QStringLiteral("to: ") + localPath);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("0% Receiving CONFIG/BIG.BIN"));

    QTest::mouseClick(dlg.CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(thread->IsCancelled());
    EXPECT_TRUE(dlg.isVisible()); // the thread, not the button, ends the dialog
    pressed.Set();

    ASSERT_TRUE(thread->WaitTransferFinished(20000));
    ASSERT_TRUE(WaitFor([&] { return !message.isEmpty() && !dlg.isVisible(); }));
    EXPECT_EQ(message, QStringLiteral("\"BIG.BIN\" download cancelled."));
    EXPECT_EQ(errorFlag, 0);
    thread->FinishTransfer();

    QFile partial(localPath);
    ASSERT_TRUE(partial.open(QIODevice::ReadOnly));
    EXPECT_EQ(partial.readAll(), data.left(512));
}

} // namespace
