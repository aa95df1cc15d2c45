#include "platform/Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace pennock::core {

bool Shell::startCalculator()
{
    for (const QString& program : calculators())
        if (startProgram(program))
            return true;
    return false;
}

bool Shell::lockScreen()
{
    for (const QStringList& command : lockCommands())
        if (runCommand(command.first(), command.mid(1)))
            return true;
    return false;
}

const QStringList& Shell::calculators()
{
    static const QStringList programs = {
        QStringLiteral("gnome-calculator"),
        QStringLiteral("kcalc"),
        QStringLiteral("galculator"),
        QStringLiteral("xcalc"),
    };
    return programs;
}

const QList<QStringList>& Shell::lockCommands()
{
    static const QList<QStringList> commands = {
        { QStringLiteral("loginctl"), QStringLiteral("lock-session") },
        { QStringLiteral("xdg-screensaver"), QStringLiteral("lock") },
        { QStringLiteral("dm-tool"), QStringLiteral("lock") },
    };
    return commands;
}

bool DesktopShell::openUrl(const QString& address)
{
    QString cleaned = address;
    cleaned.remove(QLatin1Char('\''));
    return QDesktopServices::openUrl(QUrl::fromUserInput(cleaned));
}

bool DesktopShell::startProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool DesktopShell::runCommand(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    // A lock command answers at once; one that hangs counts as failed rather than blocking.
    if (!process.waitForStarted(3000) || !process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace pennock::core
