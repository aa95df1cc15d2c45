#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// The desktop outside the program: the browser, other programs, the screen lock. Tests script it.
class Shell
{
public:
    virtual ~Shell() = default;

    /// Opens a web address in the user's browser; false when nothing took it.
    virtual bool openUrl(const QString& address) = 0;
    /// Starts a program that lives on by itself; false when it cannot be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments = {}) = 0;
    /// Runs a command to its end; true only when it ran and reported success.
    virtual bool runCommand(const QString& program, const QStringList& arguments = {}) = 0;

    /// Starts the first desktop calculator that starts at all; false when none does.
    bool startCalculator();
    /// Locks the screen with the first session lock command that succeeds; false when none does.
    bool lockScreen();

    /// The calculators tried, in order.
    static const QStringList& calculators();
    /// The lock commands tried, in order: program followed by its arguments.
    static const QList<QStringList>& lockCommands();
};

/// The real desktop: QDesktopServices and QProcess.
class DesktopShell final : public Shell
{
public:
    bool openUrl(const QString& address) override;
    bool startProgram(const QString& program, const QStringList& arguments = {}) override;
    bool runCommand(const QString& program, const QStringList& arguments = {}) override;
};

} // namespace pennock::core
