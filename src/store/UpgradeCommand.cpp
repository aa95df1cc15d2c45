#include "store/UpgradeCommand.h"

#include "store/CliArgs.h"
#include "store/ProgramFolder.h"
#include "store/Upgrade.h"

#include <QFileInfo>

namespace pennock::core {

QString runUpgrade(const QStringList& args)
{
    const QString home = cliHome(args);
    for (qsizetype i = 1; i < args.size(); ++i)
        if (args[i] == u"--home")
            ++i;
        else
            throw CliError { QStringLiteral("upgrade: unexpected argument %1").arg(args[i]) };
    const ProgramFolder folder(home);
    if (!QFileInfo::exists(folder.databasePath()))
        throw CliError { QStringLiteral("no installation in %1 (run init first)").arg(home) };
    UpgradeReport report;
    try {
        report = upgradeInstallation(folder);
    } catch (const UpgradeError& e) {
        throw CliError { e.message() };
    }
    if (report.steps.isEmpty())
        return QStringLiteral("installation is up to date\n");
    QString out;
    for (const QString& step : std::as_const(report.steps))
        out += step + QLatin1Char('\n');
    if (!report.backupPath.isEmpty())
        out += QStringLiteral("backup: %1\n").arg(report.backupPath);
    return out;
}

} // namespace pennock::core
