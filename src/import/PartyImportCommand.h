#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `import-parties --home DIR FILE [--sheet N] [--scene SCENE] [--map ITEM=COLUMN_TITLE]...`:
/// the import window's run without the window. Prints the matching (one line an item: item,
/// column), the run's messages and a last line with the rows imported, skipped as empty,
/// skipped as duplicates and failed; writes "ImportLog.txt" in DIR. Creates the installation
/// when DIR has none. Throws CliError (an unreadable file: one line saying why).
QString runImportParties(const QStringList& args);

} // namespace pennock::core
