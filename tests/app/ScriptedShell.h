#pragma once

#include "platform/Shell.h"

#include <QStringList>

namespace pennock::test {

/// A desktop that records what the program asked of it; programs named in `failing` do not start.
class ScriptedShell final : public core::Shell
{
public:
    bool openUrl(const QString& address) override
    {
        urls << address;
        return true;
    }
    bool startProgram(const QString& program, const QStringList& arguments = {}) override
    {
        if (failing.contains(program))
            return false;
        started << (QStringList { program } + arguments).join(QLatin1Char(' '));
        return true;
    }
    bool runCommand(const QString& program, const QStringList& arguments = {}) override
    {
        if (failing.contains(program))
            return false;
        commands << (QStringList { program } + arguments).join(QLatin1Char(' '));
        return true;
    }

    QStringList failing;
    QStringList urls;
    QStringList started;
    QStringList commands;
};

} // namespace pennock::test
