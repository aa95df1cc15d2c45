#include "import/ColumnMatch.h"

#include "store/Database.h"

namespace pennock::core {

QString loadMatchRule(Database& db, const QString& item, const QString& matchType)
{
    try {
        const QString rule = db.scalar(QStringLiteral("select SourceName from MatchColumn where "
                                                      "ucase(ItemName)=? and MatchType=? "
                                                      "order by Id limit 1"),
                                   { item.toUpper(), matchType })
                                 .toString();
        return rule.isEmpty() ? item : rule;
    } catch (const DbError&) {
        // An installation without the table still matches titles equal to the item names.
        return item;
    }
}

bool MatchColumnOK(const QString& title, const QString& rule)
{
    const QString upperTitle = title.toUpper();
    for (const QString& piece : rule.split(QLatin1Char(','))) {
        if (piece.isEmpty())
            continue;
        if (!piece.contains(QLatin1Char('*'))) {
            if (piece.toUpper() == upperTitle)
                return true;
            continue;
        }
        QString core = piece;
        core.remove(QLatin1Char('*'));
        if (!core.isEmpty() && title.contains(core))
            return true;
    }
    return false;
}

QList<int> matchColumns(const QStringList& titles, const QStringList& rules)
{
    QList<int> columns(rules.size(), -1);
    for (int column = 0; column < titles.size(); ++column) {
        const QString title = titles.at(column).trimmed();
        if (title.isEmpty())
            continue;
        for (qsizetype item = 0; item < rules.size(); ++item) {
            if (columns.at(item) == -1 && MatchColumnOK(title, rules.at(item))) {
                columns[item] = column;
                break;
            }
        }
    }
    return columns;
}

} // namespace pennock::core
