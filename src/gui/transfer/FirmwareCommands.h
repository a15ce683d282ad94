// Upgrade Firmware (148) and Check for Updates (169) of a configuration frame. The core runs
// both on this thread through the application's Internet session and asks the frame's user
// interface for every question, message and progress text; here only what the core leaves to
// its caller is done: an accepted newer release opens the installer's address and ends the
// application at once.
#pragma once

class CMainFrame;

// The image is "UPIMG.BIN" of the current folder, its descriptor "APPINFO.DAT" beside it.
void RunUpgradeFirmware(CMainFrame& frame);
void RunCheckForUpdates(CMainFrame& frame);
