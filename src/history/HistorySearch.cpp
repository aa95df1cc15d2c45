#include "history/HistorySearch.h"

#include "store/Database.h"
#include "store/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace pennock::core {

namespace {
const QString kSerial = QStringLiteral("流水号");
const QString kStatus = QStringLiteral("票据状态");
const QString kUnused = QStringLiteral("未用");

// One condition on a column: equal, or containing the text.
QString condition(const QString& column, const QString& text, bool exact, QVariantList& values)
{
    if (exact) {
        values << text;
        return Database::quoted(column) + QStringLiteral("=?");
    }
    values << Database::containsPattern(text);
    return Database::quoted(column) + Database::likeContains(text);
}

} // namespace

bool HistorySearch::isAmountBound(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (QChar c : t)
        if (!c.isDigit() && c != u'.')
            return false;
    return true;
}

bool HistorySearch::isColumn(const QString& column) const
{
    const TableDef* table = findTable(mainTables(), mKind.table);
    if (!table)
        return false;
    for (const ColumnDef& c : table->columns)
        if (c.name == column)
            return true;
    return false;
}

HistoryStatement HistorySearch::build(const HistoryCriteria& c) const
{
    HistoryStatement st;
    QString where;
    QVariantList values;
    const QString number = c.number.trimmed();
    if (!number.isEmpty())
        where += QStringLiteral(" and ") + condition(mKind.numberColumn, number, c.exact, values);
    for (const HistoryFilter& f : mKind.filters) {
        const QString text = c.texts.value(f.option).trimmed();
        if (text.isEmpty())
            continue;
        QStringList parts;
        for (const QString& column : f.columns)
            parts << QLatin1Char('(') + condition(column, text, c.exact, values) + QLatin1Char(')');
        where += QStringLiteral(" and (") + parts.join(QStringLiteral(" or ")) + QLatin1Char(')');
    }
    if (c.from && c.to && *c.to < *c.from) {
        st.dateError = QStringLiteral("日期选择有误:\"%1>%2\"")
                           .arg(QLocale().toString(*c.from, QLocale::ShortFormat),
                               QLocale().toString(*c.to, QLocale::ShortFormat));
        return st;
    }
    const QString date = Database::quoted(mKind.dateColumn);
    // Whole days, compared as text so the index serves: a date with or without its time, with
    // a blank or a "T" before it, falls on its day.
    if (c.from) {
        where += QStringLiteral(" and ") + date + QStringLiteral(">=?");
        values << c.from->toString(QStringLiteral("yyyy-MM-dd"));
    }
    if (c.to) {
        where += QStringLiteral(" and ") + date + QStringLiteral("<?");
        values << c.to->addDays(1).toString(QStringLiteral("yyyy-MM-dd"));
    }
    if (!mKind.amountColumn.isEmpty()) {
        // Amounts are stored as shown: money() reads them past a currency code and commas.
        const QString amount
            = QStringLiteral("money(") + Database::quoted(mKind.amountColumn) + ')';
        const std::pair<const QString*, const char*> bounds[]
            = { { &c.amountFrom, ">=money(?)" }, { &c.amountTo, "<=money(?)" } };
        for (const auto& [text, op] : bounds) {
            if (text->trimmed().isEmpty())
                continue;
            if (!isAmountBound(*text)) {
                st.badBounds << (text == &c.amountFrom ? QStringLiteral("from")
                                                       : QStringLiteral("to"));
                continue;
            }
            where += QStringLiteral(" and ") + amount + QString::fromLatin1(op);
            // The bound reaches the database as typed and is read there as amounts are.
            values << text->trimmed();
        }
    }
    const QString table = Database::quoted(mKind.table);
    st.sql = QStringLiteral("select * from ") + table;
    if (!where.isEmpty())
        st.sql += QStringLiteral(" where 1=1") + where;
    st.values = values;
    st.countSql = QStringLiteral("select count(*) from ") + table
        + (where.isEmpty() ? QString() : QStringLiteral(" where 1=1") + where);
    QString sortColumn = isColumn(c.sortColumn) ? c.sortColumn : QString();
    bool descending = c.descending;
    if (sortColumn.isEmpty() && mKind.order == HistoryOrder::Serial) {
        sortColumn = kSerial;
        descending = true;
    }
    if (!sortColumn.isEmpty())
        st.sql += QStringLiteral(" order by ") + Database::quoted(sortColumn)
            + (descending ? QStringLiteral(" desc") : QStringLiteral(" asc"));
    if (!mKind.sumColumn.isEmpty()) {
        const QString sum = Database::quoted(mKind.sumColumn);
        st.sumSql = QStringLiteral("select sum(money(%1)) from %2 where (%1 is not null) and "
                                   "(trim(%1)<>'')")
                        .arg(sum, table)
            + where;
        st.sumValues = values;
    }
    return st;
}

std::optional<double> HistorySearch::sum(const HistoryStatement& st)
{
    if (st.sumSql.isEmpty() || !st.runnable())
        return std::nullopt;
    const QVariant v = mDb.scalar(st.sumSql, st.sumValues);
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

void HistorySearch::showIn(QSqlQueryModel& model, const HistoryStatement& st)
{
    // A million rows are read only as far as the grid shows them.
    mDb.showIn(model, st.sql, st.values);
}

int HistorySearch::count(const HistoryStatement& st)
{
    return st.runnable() ? mDb.scalar(st.countSql, st.values).toInt() : 0;
}

QStringList HistorySearch::numberList() { return distinctValues(mKind.numberListColumn); }

QStringList HistorySearch::distinctValues(const QString& column)
{
    if (!isColumn(column))
        return {};
    QSqlQuery q = mDb.exec(QStringLiteral("select distinct %1 from %2")
                               .arg(Database::quoted(column), Database::quoted(mKind.table)));
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

std::optional<QString> HistorySearch::nameOfShortCode(const QString& code)
{
    // The pattern finds the code anywhere; without its leading "%" it finds the beginning.
    QSqlQuery q = mDb.exec(QStringLiteral("select 全称 from CKPersonalInfoTable where 助记码")
            + Database::likeContains(code) + QStringLiteral(" order by len(助记码) asc"),
        { Database::containsPattern(code).mid(1) });
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

bool HistorySearch::setValue(int serial, const QString& column, const QVariant& value)
{
    if (!isColumn(column) || column == kSerial)
        return false;
    QSqlQuery q = mDb.exec(QStringLiteral("update %1 set %2=? where %3=?")
                               .arg(Database::quoted(mKind.table), Database::quoted(column),
                                   Database::quoted(kSerial)),
        { value, serial });
    return q.numRowsAffected() > 0;
}

int HistorySearch::voidRows(const QList<int>& serials)
{
    if (serials.isEmpty())
        return 0;
    QStringList marks;
    QVariantList values { QStringLiteral("作废") };
    for (int serial : serials) {
        marks << QStringLiteral("?");
        values << serial;
    }
    QSqlQuery q = mDb.exec(QStringLiteral("update %1 set %2=? where %3 in (%4)")
                               .arg(Database::quoted(mKind.table), Database::quoted(kStatus),
                                   Database::quoted(kSerial), marks.join(QLatin1Char(','))),
        values);
    return q.numRowsAffected();
}

bool HistorySearch::renumber(int serial, const QString& number)
{
    return setValue(serial, mKind.numberListColumn, number);
}

QString HistorySearch::checkRange(const QString& fromText, const QString& toText)
{
    bool okFrom = false;
    bool okTo = false;
    const qlonglong from = fromText.trimmed().toLongLong(&okFrom);
    const qlonglong to = toText.trimmed().toLongLong(&okTo);
    if (!okFrom || !okTo)
        return QStringLiteral("请输入合法的编号范围，只能是数字！");
    if (to - from + 1 > 100)
        return QStringLiteral("一次不能导入超过100张！");
    if (to < from)
        return QStringLiteral("编号范围输入错误！");
    return {};
}

QStringList HistorySearch::numbersOf(int from, int to, int digits, const QString& prefix)
{
    QStringList out;
    for (int n = from; n <= to; ++n)
        out << prefix + QString::number(n).rightJustified(digits, u'0').right(digits);
    return out;
}

QList<HistorySearch::Registered> HistorySearch::registerBlanks(const QStringList& numbers,
    const QString& variant, const QString& drawer, const QString& account, const QString& bank)
{
    const QString table = Database::quoted(mKind.table);
    const QString number = Database::quoted(mKind.numberListColumn);
    QList<Registered> out;
    for (const QString& n : numbers) {
        // One number is one blank: a number already registered is refused.
        if (mDb.scalar(
                   QStringLiteral("select count(*) from %1 where %2=?").arg(table, number), { n })
                .toInt()
            > 0) {
            out.append({ n, false,
                QStringLiteral("登记票据“%1”失败！可能该票据号码已经登记过了！").arg(n) });
            continue;
        }
        try {
            mDb.execute(QStringLiteral("insert into %1 (%2, %3, 模板种类, 出票人全称, 出票人账号, "
                                       "%4, 金额) values (?, ?, ?, ?, ?, ?, '0')")
                            .arg(table, number, Database::quoted(kStatus),
                                Database::quoted(mKind.registrationBank)),
                { n, kUnused, variant, drawer, account, bank });
            out.append({ n, true, {} });
        } catch (const DbError& e) {
            out.append({ n, false,
                QStringLiteral("登记票据“%1”失败！可能该票据号码已经登记过了！").arg(n)
                    + e.message() });
        }
    }
    return out;
}

QList<HistorySearch::Registered> HistorySearch::registerInvoices(
    const QStringList& numbers, const QString& variant, const QString& code)
{
    const QString table = Database::quoted(mKind.table);
    QList<Registered> out;
    int skipped = 0;
    for (const QString& n : numbers) {
        if (mDb.scalar(QStringLiteral("select count(*) from %1 where 发票代码=? and 发票编号=?")
                           .arg(table),
                   { code, n })
                .toInt()
            > 0) {
            // Only the first few skips are told; a long run of them would bury the window.
            out.append({ n, false,
                ++skipped <= 4 ? n + QStringLiteral("编号票据已经存在了，跳过登记了！")
                               : QString() });
            continue;
        }
        try {
            // The number goes under both names: the entry form lists and fills 票据编号.
            mDb.execute(
                QStringLiteral("insert into %1 (模板种类, 发票代码, 发票编号, 票据编号, 票据状态) "
                               "values (?, ?, ?, ?, ?)")
                    .arg(table),
                { variant, code, n, n, kUnused });
            out.append({ n, true, {} });
        } catch (const DbError& e) {
            out.append({ n, false, QStringLiteral("登记票据“%1”失败！").arg(n) + e.message() });
        }
    }
    return out;
}

} // namespace pennock::core
