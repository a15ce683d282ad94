// Start-up probe for the benchmark script: with QUARRANT_STARTUP_PROBE=1 in the environment,
// the first paint of the first frame prints one line to stderr and ends the application:
//   startup-probe: first-window-ms=N vmhwm-kb=N vmrss-kb=N
// first-window-ms counts from the process's start as the kernel records it (clock-tick
// resolution) where /proc exists, else from the probe's installation. Without the variable
// nothing is installed.
#pragma once

class QWidget;

class StartupProbe {
public:
    static void InstallIfRequested(QWidget* firstWindow);
};
