// Firmware upgrade and update check without a device: the image's length and CRC-32, the
// descriptor bytes, the revision file's number, and the upgrade paths that must stop before
// the device is contacted at all.
#include "CquillTrakDoc.h"
#include "Crc32.h"
#include "DeviceConnection.h"
#include "FirmwareUpgrade.h"
#include "ForcedCrc.h"
#include "InternetSession.h"
#include "ScriptedUserInterface.h"
#include "UpdateCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(FirmwareUpgradeTest, ForcedImagesCarryTheWantedChecksum)
{
    for (const uint32_t wanted : {0x650CB6B6u, 0x4C385439u, 0x7E874DCEu, 0x00000000u, 0xFFFFFFFFu}) {
        for (const QByteArray& data : {QByteArray(), QByteArray("firmware"), QByteArray(1000, '\xA5')}) {
            const QByteArray image = WithCrc32(data, wanted);
            EXPECT_EQ(Crc32(image.constData(), size_t(image.size())), wanted) << std::hex << wanted;
            EXPECT_TRUE(image.startsWith(data));
        }
    }
}

TEST(FirmwareUpgradeTest, ImageInfoAndDescriptorBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        QByteArray image;
        uint32_t length;
    };
    const Case cases[] = {
        {QByteArray(), 0},
        {QByteArray("abc"), 3},
        {WithCrc32(QByteArray(70000, 'x'), 0x650CB6B6u), 70004}, // crosses the reading blocks
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("UPIMG.BIN"));
        ASSERT_TRUE(WriteFile(path, c.image));
        const std::optional<FirmwareUpgrade::ImageInfo> info = FirmwareUpgrade::ReadImageInfo(path);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->length, c.length);
        // An empty file has CRC 0, as nothing was fed.
        const uint32_t crc = c.image.isEmpty() ? 0 : Crc32(c.image.constData(), size_t(c.image.size()));
        EXPECT_EQ(info->crc, crc);
        const QByteArray bytes = FirmwareUpgrade::DescriptorBytes(*info);
        const QByteArray expected = QByteArray::fromHex(QByteArray::number(c.length, 16).rightJustified(8, '0')
                                                        + QByteArray::number(crc, 16).rightJustified(8, '0'));
        EXPECT_EQ(bytes.toHex(), expected.toHex());
    }
    // A 3-byte image: 00 00 00 03, then its CRC most significant byte first.
    const uint32_t abc = Crc32("abc", 3);
    EXPECT_EQ(FirmwareUpgrade::DescriptorBytes({3, abc}).toHex(),
              QByteArray("00000003") + QByteArray::number(abc, 16).rightJustified(8, '0'));
    EXPECT_FALSE(FirmwareUpgrade::ReadImageInfo(dir.filePath(QStringLiteral("missing.bin"))).has_value());
}

TEST(FirmwareUpgradeTest, RevisionFileNumbers)
{
    struct Case {
        QByteArray text;
        std::optional<float> revision;
    };
    const Case cases[] = {
        {"0.11", 0.11f},          {"0.10\r\n", 0.10f},   {"  0.09 beta", 0.09f},
        {"1.5", 1.5f},            {"0.1234567", 0.12345f}, // only the first 7 bytes count
        {"12345678", 1234567.0f}, {"rev 0.11", std::nullopt}, {"", std::nullopt},
        {".", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<float> r = UpdateCheck::ParseRevision(c.text);
        ASSERT_EQ(r.has_value(), c.revision.has_value()) << c.text.constData();
        if (r)
            EXPECT_FLOAT_EQ(*r, *c.revision) << c.text.constData();
    }
}

// Paths that end before the device is contacted: no link is made, nothing is sent, the access
// code is never asked for and the session's time-out is untouched.
TEST(FirmwareUpgradeTest, StopsBeforeContactingTheDevice)
{
    struct Case {
        const char* name;
        QByteArray image; // empty: no image file
        std::deque<int> answers;
        FirmwareUpgrade::Outcome outcome;
        QStringList messages;
        QString lastCaption;
    };
    const QString warning = QStringLiteral("WARNING: Upgrading will erase ALL memory in the Corvantix.net Liquid (batch "
                                           "records, configuration, reports, equations, etc.)... continue?");
    const Case cases[] = {
        {"declined warning", WithCrc32("img", 0x650CB6B6u), {UserInterface::Cancel}, FirmwareUpgrade::Outcome::Cancelled,
         {warning}, QStringLiteral("Firmware Upgrade Wizard")},
        {"no image", QByteArray(), {}, FirmwareUpgrade::Outcome::Failed,
         {warning, QStringLiteral("No new application image found... Unable to upgrade. \n Refer to XN27705 for upgrade "
                                  "information")},
         QStringLiteral("Corvantix.net Liquid Upgrade Wizard")},
        {"unknown checksum", WithCrc32("img", 0x12345678u), {}, FirmwareUpgrade::Outcome::Failed,
         {warning, QStringLiteral("This UPIMG.BIN is unrecognized by Quarrant Liquid... Unable to upgrade. \n Refer to "
                                  "XN27705 for upgrade instructions .")},
         QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString image = dir.filePath(QStringLiteral("UPIMG.BIN"));
        if (!c.image.isEmpty())
            ASSERT_TRUE(WriteFile(image, c.image));

        CquillTrakDoc doc;
        doc.port = 0;
        doc.deviceAddress = 0x7F000001u;
        ScriptedUserInterface ui;
        ui.answers = c.answers;
        ui.accessCode = QStringLiteral("1234");
        DeviceConnection connection(doc, ui);
        int linksMade = 0;
        connection.SetLinkFactory([&linksMade](const CquillTrakDoc&) {
            ++linksMade;
            return std::unique_ptr<VandtProtocol>();
        });
        InternetSession internet;
        internet.SetReceiveTimeout(1234);
        FirmwareUpgrade upgrade(connection, &internet);
        upgrade.SetImagePath(image);
        upgrade.SetDescriptorPath(dir.filePath(QStringLiteral("APPINFO.DAT")));

        EXPECT_EQ(upgrade.Run(), c.outcome);
        EXPECT_EQ(ui.MessageTexts(), c.messages);
        EXPECT_EQ(ui.messages.back().caption, c.lastCaption);
        EXPECT_EQ(linksMade, 0);
        EXPECT_TRUE(ui.paneMessages.empty());
        EXPECT_EQ(doc.connectionState, CquillTrakDoc::StateNone);
        EXPECT_EQ(internet.ReceiveTimeout(), 1234);
    }
}

TEST(FirmwareUpgradeTest, SerialDocumentIsRefused)
{
    CquillTrakDoc doc;
    doc.port = 1;
    ScriptedUserInterface ui;
    DeviceConnection connection(doc, ui);
    InternetSession internet;
    FirmwareUpgrade upgrade(connection, &internet);
    EXPECT_EQ(upgrade.Run(), FirmwareUpgrade::Outcome::Failed);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(FirmwareUpgradeTest, UpdateCheckWithoutInternetSessionMakesNoConnection)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A revision file left from before must not be read either.
    ASSERT_TRUE(WriteFile(dir.filePath(QStringLiteral("REV.TXT")), "0.11"));
    ScriptedUserInterface ui;
    UpdateCheck check(ui, nullptr);
    check.SetFolder(dir.path());
    EXPECT_EQ(check.Run(), UpdateCheck::Outcome::NoSession);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("No Internet connection")));
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("REV.TXT"))), QByteArray("0.11"));
}
