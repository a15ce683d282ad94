// A second start hands its file name (or nothing) to the running instance over the local
// socket; without a running instance nothing takes it.
#include <gtest/gtest.h>

#include "app/CSingleInstance.h"

#include <QCoreApplication>
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
