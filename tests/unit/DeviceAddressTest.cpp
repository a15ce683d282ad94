// Device address texts: the forms that parse, what they name, and the ones refused.
#include "DeviceAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceAddressTest, ValidFormsNameTheirPortAndUnit)
{
    using K = DeviceAddress::Kind;
    const struct {
        const char* text;
        K kind;
        const char* hostOrPath;
        int port; // TCP port or COM port number
        int unit;
        const char* normalised;
    } cases[] = {
        {"tcp:192.168.1.20", K::Tcp, "192.168.1.20", 7734, 1, "tcp:192.168.1.20"},
        {"TCP:127.0.0.2:40000", K::Tcp, "127.0.0.2", 40000, 1, "tcp:127.0.0.2:40000"},
        {"com1", K::ComPort, "", 1, 1, "com1:1"},
        {"COM12:7", K::ComPort, "", 12, 7, "com12:7"},
        {"com99:0", K::ComPort, "", 99, 0, "com99:0"},
        {"/dev/ttyUSB0", K::DevicePath, "/dev/ttyUSB0", 0, 1, "/dev/ttyUSB0:1"},
        {"/dev/ttyUSB0:99", K::DevicePath, "/dev/ttyUSB0", 0, 99, "/dev/ttyUSB0:99"},
        {"/tmp/a:b/line:5", K::DevicePath, "/tmp/a:b/line", 0, 5, "/tmp/a:b/line:5"},
    };
    for (const auto& c : cases) {
        QString error;
        const std::optional<DeviceAddress> a = DeviceAddress::Parse(QString::fromLatin1(c.text), &error);
        ASSERT_TRUE(a) << c.text << ": " << qPrintable(error);
        EXPECT_EQ(a->AddressKind(), c.kind) << c.text;
        if (c.kind == K::Tcp) {
            EXPECT_EQ(a->Host(), QLatin1String(c.hostOrPath));
            EXPECT_EQ(a->TcpPort(), c.port);
        } else if (c.kind == K::ComPort) {
            EXPECT_EQ(a->PortNumber(), c.port);
        } else {
            EXPECT_EQ(a->Path(), QLatin1String(c.hostOrPath));
        }
        EXPECT_EQ(a->UnitAddress(), c.unit) << c.text;
        EXPECT_EQ(a->Text(), QLatin1String(c.normalised));
    }
}

TEST(DeviceAddressTest, MalformedFormsAreRefusedWithAReason)
{
    for (const char* text : {"", "tcp:", "tcp:1.2.3", "tcp:1.2.3.256", "tcp:1.2.3.4:", "tcp:1.2.3.4:65536", "tcp:1.2.3.4:1:2",
                             "tcp:host.example", "com0", "com100", "com", "com1:", "com1:100", "com1:x", "com1:2:3",
                             "/dev/ttyS0:", "/dev/ttyS0:100", "/dev/ttyS0:-1", "/", "ttyS0", "dev/ttyS0"}) {
        QString error;
        EXPECT_FALSE(DeviceAddress::Parse(QString::fromLatin1(text), &error)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
    }
}

} // namespace
