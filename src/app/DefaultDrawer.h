#pragma once

#include <QVariantMap>

namespace pennock::core {

class Database;

/// The first party of the group "默认出票人" (lowest `ID`), each column by its name; empty when
/// there is none or the table cannot be read.
QVariantMap loadDefaultDrawer(Database &db);

} // namespace pennock::core
