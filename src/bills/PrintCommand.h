#pragma once

#include <QString>
#include <QStringList>

namespace pennock::ui {

/// `print --home DIR --kind KIND [--template VARIANT] [--set CONTROL=VALUE]... [--amount AMOUNT]
/// [--date YYYY-MM-DD] [--copies N] (--pdf OUT.pdf | --printer NAME) [--save]`: fills a bill
/// through its form, offscreen, prints it and with `--save` stores it. Throws CliError.
QString runPrint(const QStringList& args);

} // namespace pennock::ui
