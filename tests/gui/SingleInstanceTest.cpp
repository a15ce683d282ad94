// A second start hands its file name (or nothing) to the running instance over the local
// socket; without a running instance nothing takes it.
#include <gtest/gtest.h>

#include "app/CSingleInstance.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>

TEST(SingleInstanceTest, ASecondStartHandsOverItsFileOrAnEmptyRequest)
{
    const QString name = QStringLiteral("quarrant-test-%1").arg(QCoreApplication::applicationPid());
    EXPECT_FALSE(CSingleInstance::HandOver(name, QStringLiteral("/tmp/a.qcf")));

    CSingleInstance running;
    ASSERT_TRUE(running.Listen(name));
    QSignalSpy spy(&running, &CSingleInstance::OpenRequested);
    ASSERT_TRUE(CSingleInstance::HandOver(name, QStringLiteral("/tmp/a b.qcf")));
    ASSERT_TRUE(spy.count() > 0 || spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("/tmp/a b.qcf"));

    ASSERT_TRUE(CSingleInstance::HandOver(name, QString()));
    ASSERT_TRUE(spy.count() > 0 || spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QString());
}

TEST(SingleInstanceTest, OnlyTheUserMayConnectAndAnEndlessRequestIsDropped)
{
    const QString name = QStringLiteral("quarrant-test-guard-%1").arg(QCoreApplication::applicationPid());
    CSingleInstance running;
    ASSERT_TRUE(running.Listen(name));
#ifdef Q_OS_UNIX
    const QFileInfo socketFile(running.ServerPath());
    ASSERT_TRUE(socketFile.exists()) << running.ServerPath().toStdString();
    EXPECT_FALSE(socketFile.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther));
#endif

    QSignalSpy spy(&running, &CSingleInstance::OpenRequested);
    QLocalSocket flood;
    flood.connectToServer(name);
    ASSERT_TRUE(flood.waitForConnected(2000));
    const QByteArray chunk(16 * 1024, 'x');
    for (int i = 0; i < 8 && flood.state() == QLocalSocket::ConnectedState; ++i) {
        flood.write(chunk);
        flood.waitForBytesWritten(1000);
        QCoreApplication::processEvents();
    }
    // The instance hangs up on a line without end, and never takes it for a file name.
    EXPECT_TRUE(flood.state() == QLocalSocket::UnconnectedState || flood.waitForDisconnected(5000));
    EXPECT_EQ(spy.count(), 0);

    ASSERT_TRUE(CSingleInstance::HandOver(name, QStringLiteral("/tmp/after.qcf")));
    ASSERT_TRUE(spy.count() > 0 || spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("/tmp/after.qcf"));
}
