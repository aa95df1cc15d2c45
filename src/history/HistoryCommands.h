#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// `history --home DIR --kind KIND [--from D] [--to D] [--number T] [--payee T] [--drawer T]
/// [--account T] [--template T] [--customer T] [--buyer T] [--state T] [--contract T]
/// [--sender T] [--recipient T] [--amount-from A] [--amount-to B] [--exact] [--summary]
/// [--xlsx OUT]`: the rows of a kind's history window, tab-separated, and the count and sum
/// line. A filter the kind's window lacks is refused. Throws CliError.
QString runHistory(const QStringList& args);
/// `void --home DIR --kind KIND SERIAL...`: marks bills "作废". Throws CliError.
QString runVoid(const QStringList& args);
/// `register --home DIR --kind KIND --from N --to M [--digits D] [--prefix P]
/// [--template VARIANT] [--code C] [--drawer NAME] [--account A] [--bank B]`: registers
/// pre-numbered blanks. Throws CliError.
QString runRegister(const QStringList& args);

} // namespace pennock::core
