#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `package export --home DIR --templates ID[,ID...] OUT.tpk`, `package list FILE.tpk`,
/// `package import --home DIR FILE.tpk [--templates NAME[,NAME...]] [--replace]`.
/// Throws CliError for bad input; the installation is then unchanged.
QString runPackage(const QStringList& args);

} // namespace pennock::core
