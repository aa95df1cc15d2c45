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

/// Bad input to a command: exit 2 with this one-line message.
struct CliError
{
    QString message;
};

/// The value of `--name VALUE`, empty when the option is absent; CliError when it has no value.
QString cliOption(const QStringList &args, const QString &name);
/// The required `--home DIR`.
QString cliHome(const QStringList &args);

/// The headless commands of pennock-cli; `args` excludes the program name.
/// Exit 0 on success, 2 with a one-line message for bad input.
CliResult runCli(const QStringList &args);

} // namespace pennock::core
