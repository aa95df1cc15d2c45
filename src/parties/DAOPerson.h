#pragma once

#include "parties/TPerson.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class QSqlRecord;

namespace pennock::core {

class Database;

/// Reading and writing parties in `CKPersonalInfoTable`, and the lists the bill forms fill their
/// company, account and bank boxes from. Lookups never throw: a database error gives no party or
/// the list read so far.
class DAOPerson
{
public:
    explicit DAOPerson(Database& db)
        : mDb(db)
    {
    }

    static const QString kOwnCompany; ///< "我方单位"
    static const QString kCounterparty; ///< "往来单位"
    static const QString kDefaultDrawer; ///< "默认出票人"

    /// Fills `person` from the row of its `ID`: 1 found, 0 not found, -1 for an `ID` of 0 or
    /// less or a database error.
    int loadPersonById(TPerson& person);
    /// A code with "%" or "*" in it has them removed and matches anywhere in `助记码` (a "_"
    /// left in it still stands for any one character); otherwise the code must equal `助记码`.
    std::optional<TPerson> findPersonByInputCode(const QString& code);
    std::optional<TPerson> findPersonByFullName(const QString& name);
    std::optional<TPerson> findPersonByNameAndAccount(const QString& name, const QString& account);
    std::optional<TPerson> findPersonByNameAndContact(const QString& name, const QString& contact);
    std::optional<TPerson> findPersonByContact(const QString& contact);
    std::optional<TPerson> findPersonByAccount(const QString& account);
    /// The drawer a bill names: the first party, by full name, whose stored full name without
    /// surrounding blanks equals `name` trimmed, so names imported with stray blanks are found.
    std::optional<TPerson> findDrawerByName(const QString& name);
    /// The first party of the group "默认出票人".
    std::optional<TPerson> loadDefaultDrawer();

    /// Updates the row of `person.ID`, or inserts a row when there is none and gives `person`
    /// the new `ID`. Returns 1; throws DbError.
    int storePerson(TPerson& person);

    /// Distinct full names, of one party type or (empty type) of all.
    QStringList loadCompanyList(const QString& type = {});
    /// Distinct accounts of a full name (trimmed); empty for an empty name.
    QStringList loadAccountsByCompany(const QString& name);
    /// Distinct banks recorded for an account (trimmed); empty for an empty account.
    QStringList loadBankNamesByAccount(const QString& account);
    /// Distinct groups by name, without blanks and without "默认出票人".
    QStringList loadPersonTableGroupList();
    /// Distinct provinces by name, without blanks.
    QStringList loadPersonTableProvinceList();

    /// Moves the mark "默认出票人" to the party `id`, which becomes an own company. Throws DbError.
    void setDefaultDrawer(int id);
    /// Deletes every party, or those of one type; the number deleted. Throws DbError.
    int deleteAllPersons(const QString& type);

    static TPerson personFromRecord(const QSqlRecord& record);

private:
    std::optional<TPerson> first(const QString& where, const QVariantList& values);
    QStringList column(const QString& sql, const QVariantList& values, bool skipBlank);

    Database& mDb;
};

} // namespace pennock::core
