// Prints the differences of two configurations for diff and compare: per section a heading
// and one line per program code with both sides (value text and security level), or, with
// --json, {"equal": bool, "differences": [...]}. Returns the exit code: 0 equal, 1 different.
#pragma once

#include "CliCommand.h"
#include "ConfigComparison.h"

#include <vector>

int PrintDifferenceReport(const std::vector<ConfigComparison::Difference>& differences, CliContext& ctx, bool json);
