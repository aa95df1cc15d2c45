#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;

/// The kind of `MatchColumn` rows that the receiver import and the waybills' order sheets use.
inline const QString kReceiverImport = QStringLiteral("收件信息导入");

/// The rule of an item: the `SourceName` of its first `MatchColumn` row of that kind, the item
/// name compared without regard to letter case; the item name itself when there is no row, the
/// value is empty or the query fails.
QString loadMatchRule(
    Database& db, const QString& item, const QString& matchType = kReceiverImport);

/// Whether a column title meets a rule of comma-separated pieces, tried in order, empty pieces
/// skipped: a piece without "*" equals the title when both are in upper case; a piece with "*"
/// occurs in the title (letter case counting) once its stars are removed; only stars never meet.
bool MatchColumnOK(const QString& title, const QString& rule);

/// The column of each item (0-based, -1 for none), items given by their rules in priority
/// order: each title, in column order, trimmed and when not empty, goes to the first item that
/// has no column yet and whose rule it meets. An item takes one column, a column one item.
QList<int> matchColumns(const QStringList& titles, const QStringList& rules);

} // namespace pennock::core
