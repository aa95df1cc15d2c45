#pragma once

#include "printing/PrinterSetupDialog.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

namespace pennock::test {

/// The printer dialog, answered by the test; counts how often it was shown.
class ScriptedPrinterDialog final : public ui::PrinterSetupDialog
{
public:
    Result exec(QPrinter&, QWidget*) override
    {
        ++shown;
        return answer;
    }
    Result answer = Result::Accepted;
    int shown = 0;
};

/// Points CUPS at a socket where no scheduler listens, so that no test reaches the machine's
/// printers: register it with `AddGlobalTestEnvironment`.
class NoPrintScheduler : public ::testing::Environment
{
public:
    void SetUp() override
    {
        qputenv("CUPS_SERVER",
            QDir::temp()
                .filePath(QStringLiteral("pennock-no-scheduler-%1.sock")
                              .arg(QCoreApplication::applicationPid()))
                .toLocal8Bit());
    }
};

} // namespace pennock::test
