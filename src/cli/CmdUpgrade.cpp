// quarrant upgrade --device tcp:A.B.C.D --image UPIMG.BIN --access-code CODE [--yes]
// [--ftp-port N]: Upgrade Firmware on a device reached over TCP/IP. The wizard's questions
// are answered by --yes (without it the erase warning is declined and nothing happens);
// "APPINFO.DAT" is written to the current folder. The wizard's messages go to stderr.
#include "CliHandlers.h"

#include "CliDeviceSession.h"
#include "CquillTrakDoc.h"
#include "FirmwareUpgrade.h"
#include "InternetSession.h"

int CmdUpgrade(const QStringList& args, CliContext& ctx)
{
    QCommandLineParser parser;
    CliDeviceSession session(ctx);
    session.AddOptions(parser);
    const QCommandLineOption image(QStringLiteral("image"), QStringLiteral("The firmware image file."), QStringLiteral("FILE"));
    const QCommandLineOption accessCode(QStringLiteral("access-code"), QStringLiteral("The device's access code."),
                                        QStringLiteral("CODE"));
    const QCommandLineOption ftpPort(QStringLiteral("ftp-port"),
                                     QStringLiteral("The device's FTP port (default: setting Network/FtpPort, else 21)."),
                                     QStringLiteral("N"));
    parser.addOptions({image, accessCode, ftpPort});
    int exitCode = ExitOk;
    if (!ParseCommandLine(parser, QStringLiteral("upgrade"), args, ctx, &exitCode, 0, 0))
        return exitCode;
    if (!session.ReadOptions(parser, QStringLiteral("upgrade"), &exitCode))
        return exitCode;
    auto usage = [&ctx](const QString& text) {
        ctx.err << "quarrant upgrade: " << text << "\n";
        return int(ExitUsage);
    };
    if (session.Address().AddressKind() != DeviceAddress::Kind::Tcp)
        return usage(QStringLiteral("a firmware upgrade needs a TCP/IP device (tcp:A.B.C.D)"));
    if (!parser.isSet(image))
        return usage(QStringLiteral("--image is required"));
    if (!parser.isSet(accessCode))
        return usage(QStringLiteral("--access-code is required"));
    InternetSession internet;
    if (parser.isSet(ftpPort)) {
        bool ok = false;
        const uint n = parser.value(ftpPort).toUInt(&ok);
        if (!ok || n < 1 || n > 65535)
            return usage(QStringLiteral("--ftp-port must be a port number 1..65535"));
        internet.SetFtpPort(quint16(n));
    }
    session.Ui().SetAccessCode(parser.value(accessCode));

    CquillTrakDoc doc;
    const std::unique_ptr<DeviceConnection> connection = session.Attach(doc);
    session.StoreAddressIn(doc);
    FirmwareUpgrade upgrade(*connection, &internet);
    upgrade.SetImagePath(parser.value(image));
    switch (upgrade.Run()) {
    case FirmwareUpgrade::Outcome::Upgraded:
        ctx.out << "Firmware upgraded; the device restarts with its factory configuration.\n";
        return ExitOk;
    case FirmwareUpgrade::Outcome::Cancelled:
        return Fail(ctx, QStringLiteral("upgrade cancelled (confirm the wizard's questions with --yes)"));
    case FirmwareUpgrade::Outcome::Failed:
        break;
    }
    return Fail(ctx, QStringLiteral("the firmware was not upgraded"));
}
