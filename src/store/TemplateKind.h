#pragma once

#include <QString>

namespace pennock::core {

class Database;

/// The bill kind (`TypeFirstName`) of a template; derived from `TypeName` when the column is
/// empty; empty when unknown or unreadable. A database without the column gets it added.
QString loadCheckTypeFirstNameByID(Database& db, int templateId);

} // namespace pennock::core
