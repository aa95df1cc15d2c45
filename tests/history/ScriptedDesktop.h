#pragma once

#include "platform/FileChooser.h"
#include "platform/Shell.h"

#include <QStringList>

namespace pennock::test {

/// A save dialog that answers with a queued path (empty: cancelled) and records what it offered.
class ScriptedFileChooser final : public core::FileChooser
{
public:
    QString saveFileName(
        QWidget*, const QString& caption, const QString& proposedPath, const QString&) override
    {
        captions << caption;
        proposed << proposedPath;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QStringList captions;
    QStringList proposed;
};

/// A desktop that records the addresses it was asked to open; `opens` says whether it can.
class RecordingShell final : public core::Shell
{
public:
    bool openUrl(const QString& address) override
    {
        urls << address;
        return opens;
    }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    bool runCommand(const QString&, const QStringList&) override { return false; }

    bool opens = true;
    QStringList urls;
};

} // namespace pennock::test
