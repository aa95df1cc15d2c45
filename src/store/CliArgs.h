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
QString cliOption(const QStringList& args, const QString& name);
/// `--home DIR`; without it the installation the window would use.
QString cliHome(const QStringList& args);
/// CliError "no installation in DIR (run init first)" when `home` has neither its database file
/// nor a configured server.
void requireInstallation(const QString& home);

} // namespace pennock::core
