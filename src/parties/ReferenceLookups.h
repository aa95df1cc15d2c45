#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace pennock::core {

class Database;

/// The drop-down lists of the bill forms: dictionaries, currencies, provinces and cities, and the
/// template names used by saved bills. A database error gives the list read so far.
class ReferenceLookups
{
public:
    explicit ReferenceLookups(Database& db)
        : mDb(db)
    {
    }

    /// Entries of a dictionary for the templates of a comma list ("0,5"): the highest template
    /// identity first, so a template's own entries come before the shared ones.
    QStringList loadDMListByName(const QString& name, const QString& templateIds);
    QStringList loadMoneyTypeList();
    /// `缩写` of the first currency of that name; empty when none.
    QString getMoneyCodeByName(const QString& name);
    /// `币种` of the first currency with that code; empty when none.
    QString getMoneyNameByCode(const QString& code);
    QStringList loadProvinces();
    /// Cities of a province (trimmed); empty for an empty province.
    QStringList loadCitysByProvince(const QString& province);
    /// The city list of the party editor after a change of province: region rows whose
    /// trimmed province matches, in stored order.
    QStringList loadCitysOfProvinceTrimmed(const QString& province);
    /// Template names used by the saved bills of a bill table; empty for a table that is not a
    /// bill table.
    QStringList loadHistoryTypeNameList(const QString& table);

private:
    QStringList column(const QString& sql, const QVariantList& values = {});
    QString firstValue(const QString& sql, const QVariantList& values);

    Database& mDb;
};

} // namespace pennock::core
