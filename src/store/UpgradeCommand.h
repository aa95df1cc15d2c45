#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `upgrade --home DIR`: the start-up upgrade, one line per step that changed something.
/// Throws CliError; a failed upgrade leaves the installation as it was.
QString runUpgrade(const QStringList& args);

} // namespace pennock::core
