#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `parties --home DIR [--type 我方单位|往来单位] [--search TEXT] [--xlsx OUT.xlsx]`: the parties
/// the party manager's search lists, as tab-separated rows under a title row, or exported into
/// a spreadsheet. As in the manager, a search text looks through every type. Throws CliError.
QString runParties(const QStringList& args);

} // namespace pennock::core
