#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class QSqlDatabase;

namespace pennock::core {

/// Registers val(), ucase(), lcase(), len() and cdate() on an open SQLite connection.
void registerSqlFunctions(QSqlDatabase& db);

/// True when SQLite could open the file for reading only.
bool isReadOnly(QSqlDatabase& db);

/// The leading decimal number of a text, 0 when it has none: "12.5abc" -> 12.5.
double leadingNumber(QStringView text) noexcept;

/// Reads "yyyy-M-d", "yyyy/M/d" or "yyyy.M.d" with an optional "H:m[:s]" time.
std::optional<QDateTime> parseDateTimeText(const QString& text);

} // namespace pennock::core
