#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

struct CliResult
{
    int exitCode = 0;
    QString out; ///< standard output, lines ending in "\n"
    QString err; ///< standard error
};

/// The headless commands of pennock-cli; `args` excludes the program name.
/// Exit 0 on success, 2 with a one-line message for bad input.
CliResult runCli(const QStringList &args);

} // namespace pennock::core
