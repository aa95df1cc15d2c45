#pragma once

#include <QString>

namespace pennock::core {

class Database;

/// The bill kind (`TypeFirstName`) of a template; empty when unknown or unreadable.
QString loadCheckTypeFirstNameByID(Database &db, int templateId);

} // namespace pennock::core
