#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `print-template --home DIR --template ID (--pdf OUT.pdf | --printer NAME) [--copies N]`:
/// prints every printable item's sample text of a template at its place, shifted by the
/// template's offset, into a PDF of the bill paper or on a system printer. Throws CliError.
QString runPrintTemplate(const QStringList& args);

} // namespace pennock::core
