// Shared helpers for the test suites: paths of the built programs and temporary folders.
#pragma once

#include <QString>

namespace testsupport {

inline QString CliPath() { return QStringLiteral(QUARRANT_CLI_PATH); }
inline QString SimulatorPath() { return QStringLiteral(QUARRANT_SIM_PATH); }
inline QString SourceDir() { return QStringLiteral(QUARRANT_SOURCE_DIR); }

} // namespace testsupport
