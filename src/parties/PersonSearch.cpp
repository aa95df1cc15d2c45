#include "parties/PersonSearch.h"

#include "store/Database.h"
#include "store/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace pennock::core {

namespace {

const QString kTable = QStringLiteral("CKPersonalInfoTable");

QString canonicalColumn(const QString& name)
{
    const TableDef* table = findTable(mainTables(), kTable);
    if (!table)
        return {};
    for (const ColumnDef& c : table->columns)
        if (c.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return c.name;
    return {};
}

} // namespace

const QString PersonSearch::kAllGroups = QStringLiteral("全部分组");

bool PersonSearch::listsAll() const
{
    return !advanced && keyword.trimmed().isEmpty() && group == kAllGroups && type.isEmpty()
        && advKey.isEmpty();
}

QString PersonSearch::toggled(const QString& direction)
{
    return direction.compare(QStringLiteral("ASC"), Qt::CaseInsensitive) == 0
        ? QStringLiteral("DESC")
        : QStringLiteral("ASC");
}

bool PersonSearch::isPartyColumn(const QString& name) { return !canonicalColumn(name).isEmpty(); }

QString PersonSearch::order(const QString& defaultColumn, bool narrowed) const
{
    const QString column = canonicalColumn(sortColumn);
    QString dir = direction.trimmed().toUpper();
    if (dir != u"ASC" && dir != u"DESC")
        dir = QStringLiteral("DESC");
    // A narrowed list sorts its few hits faster than it walks the name index over every row;
    // the "+" keeps the column's collation but not its index.
    const QString by = column.isEmpty() ? defaultColumn : column;
    return QStringLiteral(" order by ")
        + (narrowed && !by.contains(QLatin1Char(',')) ? QStringLiteral("+") : QString()) + by
        + QLatin1Char(' ') + dir;
}

PersonSearch::Statement PersonSearch::prepare()
{
    Statement st;
    QString condition;
    const QString k = keyword.trimmed();
    if (advanced) {
        const QString column = canonicalColumn(advColumn);
        if (column.isEmpty()) {
            // Only the table's own columns may name a condition; anything else finds nothing.
            condition = QStringLiteral(" where (1=0) ");
        } else if (advEquals) {
            condition = QStringLiteral(" where (") + column + QStringLiteral("=?) ");
            st.values << advKey;
        } else {
            condition = QStringLiteral(" where (") + column + Database::likeContains(advKey)
                + QStringLiteral(") ");
            st.values << Database::containsPattern(advKey);
        }
    } else if (!k.isEmpty()) {
        type.clear();
        QStringList parts;
        for (const char16_t* column :
            { u"全称", u"联系人", u"电话", u"手机", u"省", u"助记码", u"地址" }) {
            parts << QString::fromUtf16(column) + Database::likeContains(k);
            st.values << Database::containsPattern(k);
        }
        condition = QStringLiteral(" where (") + parts.join(QStringLiteral(" or "))
            + QStringLiteral(") ");
    }
    if (!type.isEmpty()) {
        condition += condition.isEmpty() ? QStringLiteral(" where 单位类型=?")
                                         : QStringLiteral(" and (单位类型=?) ");
        st.values << type;
    }
    if (!group.isEmpty() && group != kAllGroups) {
        condition += condition.isEmpty() ? QStringLiteral(" where 分组=?")
                                         : QStringLiteral(" and 分组=?");
        st.values << group;
    }
    st.sql = QStringLiteral("select * from CKPersonalInfoTable ") + condition
        + order(QStringLiteral("全称"), !condition.isEmpty());
    return st;
}

PersonSearch::Statement PersonSearch::allStatement() const
{
    return { QStringLiteral("select * from CKPersonalInfoTable")
            + order(QStringLiteral("排序,全称"), false),
        {} };
}

void PersonSearch::runInto(Database& db, QSqlQueryModel& model, const Statement& statement)
{
    db.showIn(model, statement.sql, statement.values);
    while (model.canFetchMore())
        model.fetchMore();
}

} // namespace pennock::core
