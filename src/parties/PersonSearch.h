#pragma once

#include <QString>
#include <QVariantList>

class QSqlQueryModel;

namespace pennock::core {

class Database;

/// What the party manager lists: its search text, type filter, group, advanced search and order,
/// turned into one statement over `CKPersonalInfoTable`. Typed text only ever reaches SQL bound.
class PersonSearch
{
public:
    static const QString kAllGroups; ///< "全部分组"

    QString keyword; ///< `KeyEdit`
    QString type; ///< `edtZHType`: "我方单位", "往来单位" or empty
    QString group = kAllGroups;
    QString sortColumn = QStringLiteral("全称");
    QString direction = QStringLiteral("DESC");
    bool advanced = false; ///< "精确查询"
    QString advColumn; ///< `Column1`
    bool advEquals = false; ///< `EqualOrContain1` says "等于"
    QString advKey; ///< `key1`

    struct Statement
    {
        QString sql;
        QVariantList values;
    };

    /// Nothing narrows the list: the manager runs "全部(&A)" instead.
    bool listsAll() const;
    /// The search statement. A keyword searches every kind of party, so it clears the type
    /// filter first.
    Statement prepare();
    /// The statement of "全部(&A)": every party in the current order.
    Statement allStatement() const;

    /// The sort direction after a click on a column title.
    static QString toggled(const QString& direction);
    /// A column of `CKPersonalInfoTable` (letter case ignored).
    static bool isPartyColumn(const QString& name);

    /// Runs a statement into a grid's model with every row fetched. Throws DbError.
    static void runInto(Database& db, QSqlQueryModel& model, const Statement& statement);

private:
    QString order(const QString& defaultColumn, bool narrowed) const;
};

} // namespace pennock::core
