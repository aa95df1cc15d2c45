#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `split-address TEXT [--home DIR]`: the seven parts of a pasted recipient text, one
/// `part=value` line each (name, mobile, phone, province, city, district, address), empty
/// values kept. Regions come from the installation's database with `--home`, else from the
/// tables the program carries. Throws CliError.
QString runSplitAddress(const QStringList& args);

} // namespace pennock::core
