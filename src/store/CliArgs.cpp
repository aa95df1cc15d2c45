#include "store/CliArgs.h"

#include "store/DatabaseUrl.h"
#include "store/ProgramFolder.h"

namespace pennock::core {

QString cliOption(const QStringList& args, const QString& name)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return {};
    if (at + 1 >= args.size() || args[at + 1].isEmpty())
        throw CliError { QStringLiteral("%1: %2 needs a value").arg(args.value(0), name) };
    return args[at + 1];
}

QString cliHome(const QStringList& args)
{
    const qsizetype at = args.indexOf(QStringLiteral("--home"));
    if (at < 0)
        return ProgramFolder::locate(); // the installation the window uses
    if (at + 1 >= args.size() || args[at + 1].isEmpty())
        throw CliError { QStringLiteral("%1: --home DIR is required").arg(args.value(0)) };
    return args[at + 1];
}

void requireInstallation(const QString& home)
{
    if (!hasMainDatabase(ProgramFolder(home)))
        throw CliError { QStringLiteral("no installation in %1 (run init first)").arg(home) };
}

} // namespace pennock::core
