#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;

/// Province and city pairs of `DMTable2` (type "省市") as the region-code editor changes them.
/// Throws DbError.
class RegionStore
{
public:
    explicit RegionStore(Database& db)
        : mDb(db)
    {
    }

    static const QString kRegionType; ///< "省市"

    /// Provinces of the region rows (type compared trimmed), in stored order.
    QStringList provinces();
    /// Every second-level code under a province (trimmed), whatever its type, by name.
    QStringList cities(const QString& province);
    /// A "省市" row with exactly this province and city exists.
    bool exists(const QString& province, const QString& city);
    void add(const QString& province, const QString& city);
    /// Renames a city (both compared trimmed); true when the new pair exists afterwards.
    bool rename(const QString& province, const QString& oldCity, const QString& newCity);
    /// Deletes a pair (compared trimmed); true when none is left afterwards.
    bool remove(const QString& province, const QString& city);

private:
    bool existsTrimmed(const QString& province, const QString& city);

    Database& mDb;
};

} // namespace pennock::core
