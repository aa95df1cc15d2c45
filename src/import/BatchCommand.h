#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `batch --home DIR --kind 快递单 [--template VARIANT] --rows FILE [--sheet N] [--sender NAME]
/// [--set CONTROL=VALUE]... [--first-number N [--step S]] (--pdf OUT.pdf | --printer NAME)
/// [--save]`: one waybill a data row of an order sheet, all in one print job. Returns a line per
/// row that could not be used and a last line with the numbers printed and saved. Needs a GUI
/// application object (fonts). Throws CliError.
QString runBatch(const QStringList& args);

} // namespace pennock::core
