#include "parties/DAOPerson.h"

#include "store/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace pennock::core {

const QString DAOPerson::kOwnCompany = QStringLiteral("我方单位");
const QString DAOPerson::kCounterparty = QStringLiteral("往来单位");
const QString DAOPerson::kDefaultDrawer = QStringLiteral("默认出票人");

TPerson DAOPerson::personFromRecord(const QSqlRecord& record)
{
    TPerson person;
    person.ID = record.value(QStringLiteral("ID")).toInt();
    for (const QString& column : TPerson::columns())
        person.setValue(column, record.value(column).toString());
    return person;
}

std::optional<TPerson> DAOPerson::first(const QString& where, const QVariantList& values)
{
    try {
        // "First" is the database's order, which for SQLite is the order of the keys.
        QSqlQuery q = mDb.exec(QStringLiteral("select * from CKPersonalInfoTable where ") + where
                + QStringLiteral(" order by ID limit 1"),
            values);
        if (q.next())
            return personFromRecord(q.record());
    } catch (const DbError&) {
        // A lookup that cannot read finds nobody.
    }
    return std::nullopt;
}

QStringList DAOPerson::column(const QString& sql, const QVariantList& values, bool skipBlank)
{
    QStringList out;
    try {
        QSqlQuery q = mDb.exec(sql, values);
        while (q.next()) {
            const QString value = q.value(0).toString();
            if (!skipBlank || !value.trimmed().isEmpty())
                out << value;
        }
    } catch (const DbError&) {
        // The list read so far is what the form gets.
    }
    return out;
}

int DAOPerson::loadPersonById(TPerson& person)
{
    if (person.ID <= 0)
        return -1;
    try {
        QSqlQuery q = mDb.exec(
            QStringLiteral("select * from CKPersonalInfoTable where ID=?"), { person.ID });
        if (!q.next())
            return 0;
        person = personFromRecord(q.record());
        return 1;
    } catch (const DbError&) {
        return -1;
    }
}

std::optional<TPerson> DAOPerson::findPersonByInputCode(const QString& code)
{
    if (code.isEmpty())
        return std::nullopt;
    if (code.contains(QLatin1Char('%')) || code.contains(QLatin1Char('*'))) {
        QString part = code;
        part.remove(QLatin1Char('%')).remove(QLatin1Char('*'));
        if (part.isEmpty())
            return std::nullopt;
        // The user asked for a wildcard match: the rest may stand anywhere in the code.
        return first(
            QStringLiteral("助记码 like ?"), { QLatin1Char('%') + part + QLatin1Char('%') });
    }
    return first(QStringLiteral("助记码=?"), { code });
}

std::optional<TPerson> DAOPerson::findPersonByFullName(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    return first(QStringLiteral("全称=?"), { name });
}

std::optional<TPerson> DAOPerson::findDrawerByName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    try {
        QSqlQuery q = mDb.exec(QStringLiteral("select * from CKPersonalInfoTable where "
                                              "trim(全称)=? order by 全称, ID limit 1"),
            { trimmed });
        if (q.next())
            return personFromRecord(q.record());
    } catch (const DbError&) {
        // A lookup that cannot read finds nobody.
    }
    return std::nullopt;
}

std::optional<TPerson> DAOPerson::findPersonByNameAndAccount(
    const QString& name, const QString& account)
{
    if (name.isEmpty() || account.isEmpty())
        return std::nullopt;
    return first(QStringLiteral("全称=? and 开户行账号=?"), { name, account });
}

std::optional<TPerson> DAOPerson::findPersonByNameAndContact(
    const QString& name, const QString& contact)
{
    if (name.isEmpty() || contact.isEmpty())
        return std::nullopt;
    return first(QStringLiteral("全称=? and 联系人=?"), { name, contact });
}

std::optional<TPerson> DAOPerson::findPersonByContact(const QString& contact)
{
    if (contact.isEmpty())
        return std::nullopt;
    return first(QStringLiteral("联系人=?"), { contact });
}

std::optional<TPerson> DAOPerson::findPersonByAccount(const QString& account)
{
    if (account.isEmpty())
        return std::nullopt;
    return first(QStringLiteral("开户行账号=?"), { account });
}

std::optional<TPerson> DAOPerson::loadDefaultDrawer()
{
    return first(QStringLiteral("分组=?"), { kDefaultDrawer });
}

int DAOPerson::storePerson(TPerson& person)
{
    const QStringList& columns = TPerson::columns();
    QVariantList values;
    for (const QString& column : columns)
        values << person.value(column);
    const bool exists = person.ID > 0
        && mDb.scalar(QStringLiteral("select count(*) from CKPersonalInfoTable where ID=?"),
                  { person.ID })
                .toInt()
            > 0;
    if (exists) {
        QStringList sets;
        for (const QString& column : columns)
            sets << column + QStringLiteral("=?");
        values << person.ID;
        mDb.execute(QStringLiteral("update CKPersonalInfoTable set ") + sets.join(QLatin1Char(','))
                + QStringLiteral(" where ID=?"),
            values);
        return 1;
    }
    const QString marks = QStringLiteral("?,").repeated(columns.size() - 1) + QLatin1Char('?');
    QSqlQuery q = mDb.exec(QStringLiteral("insert into CKPersonalInfoTable (")
            + columns.join(QLatin1Char(',')) + QStringLiteral(") values (") + marks
            + QLatin1Char(')'),
        values);
    person.ID = q.lastInsertId().toInt();
    return 1;
}

QStringList DAOPerson::loadCompanyList(const QString& type)
{
    if (type.isEmpty())
        return column(QStringLiteral("select distinct 全称 from CKPersonalInfoTable"), {}, false);
    return column(QStringLiteral("select distinct 全称 from CKPersonalInfoTable where 单位类型=?"),
        { type }, false);
}

QStringList DAOPerson::loadAccountsByCompany(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return {};
    return column(
        QStringLiteral("select distinct 开户行账号 from CKPersonalInfoTable where 全称=?"),
        { trimmed }, false);
}

QStringList DAOPerson::loadBankNamesByAccount(const QString& account)
{
    const QString trimmed = account.trimmed();
    if (trimmed.isEmpty())
        return {};
    return column(QStringLiteral("select distinct 开户银行 from CKPersonalInfoTable where "
                                 "开户行账号=?"),
        { trimmed }, false);
}

QStringList DAOPerson::loadPersonTableGroupList()
{
    return column(QStringLiteral("select distinct 分组 from CKPersonalInfoTable where 分组 is not "
                                 "null and 分组<>? order by 分组"),
        { kDefaultDrawer }, true);
}

QStringList DAOPerson::loadPersonTableProvinceList()
{
    return column(QStringLiteral("select distinct 省 from CKPersonalInfoTable where 省 is not null "
                                 "order by 省"),
        {}, true);
}

void DAOPerson::setDefaultDrawer(int id)
{
    // Both marks move together: a failure must not leave the program without a default drawer.
    Transaction tx(mDb);
    mDb.execute(
        QStringLiteral("update CKPersonalInfoTable set 分组='' where 分组=?"), { kDefaultDrawer });
    mDb.execute(QStringLiteral("update CKPersonalInfoTable set 分组=?, 单位类型=? where ID=?"),
        { kDefaultDrawer, kOwnCompany, id });
    tx.commit();
}

int DAOPerson::deleteAllPersons(const QString& type)
{
    if (type.isEmpty())
        return mDb.execute(QStringLiteral("delete from CKPersonalInfoTable"));
    return mDb.execute(
        QStringLiteral("delete from CKPersonalInfoTable where 单位类型=?"), { type });
}

} // namespace pennock::core
