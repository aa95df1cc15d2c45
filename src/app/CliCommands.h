#pragma once

#include "store/CliArgs.h"

namespace pennock::core {

/// The headless commands of pennock-cli; `args` excludes the program name.
/// Exit 0 on success, 2 with a one-line message for bad input.
CliResult runCli(const QStringList& args);

} // namespace pennock::core
