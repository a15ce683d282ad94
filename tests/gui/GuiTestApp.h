// The one QApplication of the GUI test binary, made on first use (gtest_main makes none).
#pragma once

#include <QApplication>

inline void EnsureGuiApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quarrant_gui_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}
