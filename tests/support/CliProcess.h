#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace pennock::test {

/// What one run of pennock-cli gave.
struct CliRun
{
    int exitCode = -1; ///< -1 when it crashed or did not finish
    QString out;
    QString err;
};

/// Runs pennock-cli (`PENNOCK_CLI_PATH`) with `args` to its end; `env` adds to the environment.
CliRun runCliProcess(const QStringList& args, const QProcessEnvironment& env = {});

} // namespace pennock::test
