// One QApplication for the whole GUI test binary (gtest_main makes none), settings in a
// temporary folder, and serial port 1 pointed at a path that does not exist, so a new
// configuration document fails to open its line at once instead of waiting on a real port.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "LiteralTable.h"

namespace {

class GuiAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "quarrant_gui_tests";
            static char* argv[] = {name, nullptr};
            m_app = new QApplication(argc, argv);
        }
        QSettings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"))
            .setValue(QStringLiteral("Comm/COM1_Device"), m_settingsDir.filePath(QStringLiteral("no-such-line")));
        InitLiteralTable();
    }

private:
    QTemporaryDir m_settingsDir;
    QApplication* m_app = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

} // namespace
