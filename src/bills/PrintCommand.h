#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `print --home DIR --kind KIND [--template VARIANT] [--set CONTROL=VALUE]... [--amount AMOUNT]
/// [--date YYYY-MM-DD] [--copies N] (--pdf OUT.pdf | --printer NAME) [--save]`: fills a bill of a
/// kind by the rules of its form, without a window, prints it and with `--save` stores it.
/// Needs a GUI application object (fonts). Throws CliError.
QString runPrint(const QStringList& args);

} // namespace pennock::core
