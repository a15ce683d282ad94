// Upgrade Firmware and Check for Updates from a configuration frame; see FirmwareCommands.h.
#include "transfer/FirmwareCommands.h"

#include "app/CMainFrame.h"
#include "app/CUrlOpener.h"
#include "app/CquillTrakApp.h"

#include "FirmwareUpgrade.h"
#include "UpdateCheck.h"

#include <QCoreApplication>
#include <QUrl>

void RunUpgradeFirmware(CMainFrame& frame)
{
    FirmwareUpgrade upgrade(frame.Connection(), frame.App().Internet());
    upgrade.Run();
}

void RunCheckForUpdates(CMainFrame& frame)
{
    UpdateCheck check(frame.Ui(), frame.App().Internet());
    if (check.Run() != UpdateCheck::Outcome::InstallerChosen)
        return;
    CUrlOpener::Open(QUrl(check.InstallerUrl()));
    // The installer replaces this program: end without closing the frames, so no document
    // is offered for saving (quit() would close every window first).
    QCoreApplication::exit(0);
}
