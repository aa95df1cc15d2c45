#include "history/HistorySearch.h"
#include "app/CliCommands.h"
#include "history/HistoryKind.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::TempHome;

namespace {

class HistorySearchTest : public ::testing::Test
{
protected:
    HistorySearchTest() { ensureSeededInstallation(ProgramFolder(home.path())); }

    /// Stores a row of a history's table; returns its serial.
    int insert(const HistoryKind& h, const QList<std::pair<QString, QVariant>>& values)
    {
        QStringList columns;
        QStringList marks;
        QVariantList bound;
        for (const auto& [column, value] : values) {
            columns << Database::quoted(column);
            marks << QStringLiteral("?");
            bound << value;
        }
        return db
            .insert(QStringLiteral("insert into %1 (%2) values (%3)")
                        .arg(Database::quoted(h.table), columns.join(','), marks.join(',')),
                bound, QStringLiteral("流水号"))
            .toInt();
    }

    /// Serials the statement finds, in its order.
    QList<int> run(const HistoryStatement& st)
    {
        QList<int> out;
        QSqlQuery q = db.exec(st.sql, st.values);
        while (q.next())
            out << q.value(QStringLiteral("流水号")).toInt();
        return out;
    }

    CliResult cli(const QStringList& args)
    {
        return runCli(
            QStringList { args.value(0), QStringLiteral("--home"), home.path() } + args.mid(1));
    }

    TempHome home;
    std::unique_ptr<Database> mainDb = openMainDatabase(ProgramFolder(home.path()));
    Database& db = *mainDb;
};

const HistoryKind& history(const char* kind) { return *findHistoryKind(QString::fromUtf8(kind)); }

} // namespace

// One query of each window: its number, each of its text filters, its dates and amount bounds
// find the one row that has them all; its sum adds only the rows found.
TEST_F(HistorySearchTest, EveryWindowFindsByItsOwnColumns)
{
    ASSERT_EQ(historyKinds().size(), 11);
    for (const HistoryKind& h : historyKinds()) {
        const auto row = [&h](const QString& tag, const QString& date, const QString& amount) {
            QList<std::pair<QString, QVariant>> v
                = { { h.numberColumn, QStringLiteral("NO-") + tag }, { h.dateColumn, date } };
            for (const HistoryFilter& f : h.filters)
                v.append({ f.columns.last(), f.option + QStringLiteral("'值") + tag });
            if (!h.amountColumn.isEmpty())
                v.append({ h.amountColumn, amount });
            else if (!h.sumColumn.isEmpty())
                v.append({ h.sumColumn, amount });
            return v;
        };
        const int wanted = insert(h,
            row(QStringLiteral("A"), QStringLiteral("2024-03-05 10:00:00"),
                QStringLiteral("120.5")));
        insert(h,
            row(QStringLiteral("B"), QStringLiteral("2024-03-09 10:00:00"), QStringLiteral("300")));
        insert(h,
            row(QStringLiteral("A"), QStringLiteral("2023-01-01 10:00:00"),
                QStringLiteral("120.5")));

        HistoryCriteria c;
        c.number = QStringLiteral("-A");
        for (const HistoryFilter& f : h.filters)
            c.texts.insert(f.option, QStringLiteral("'值A")); // an apostrophe is just a character
        c.from = QDate(2024, 3, 5);
        c.to = QDate(2024, 3, 5);
        if (!h.amountColumn.isEmpty()) {
            c.amountFrom = QStringLiteral("100");
            c.amountTo = QStringLiteral("121");
        }
        HistorySearch search(db, h);
        const HistoryStatement st = search.build(c);
        ASSERT_TRUE(st.runnable()) << h.className.toStdString();
        EXPECT_EQ(run(st), QList<int> { wanted }) << h.className.toStdString();
        if (h.sumColumn.isEmpty()) {
            EXPECT_FALSE(search.sum(st)) << h.className.toStdString();
        } else {
            EXPECT_DOUBLE_EQ(search.sum(st).value_or(-1), 120.5) << h.className.toStdString();
        }
        EXPECT_EQ(run(search.build({})).size(), 3) << "no filter lists every bill";
    }
}

TEST_F(HistorySearchTest, MatchingOrderAndBadInput)
{
    const HistoryKind& zp = history("支票");
    HistorySearch search(db, zp);
    const int a = insert(zp,
        { { QStringLiteral("收款人全称"), QStringLiteral("上海100%公司") },
            { QStringLiteral("金额"), QStringLiteral("5") } });
    const int b = insert(zp,
        { { QStringLiteral("收款人全称"), QStringLiteral("上海1000公司") },
            { QStringLiteral("金额"), QStringLiteral("7") } });

    HistoryCriteria c;
    c.texts.insert(QStringLiteral("payee"), QStringLiteral("100%"));
    EXPECT_EQ(run(search.build(c)), QList<int> { a }) << "% typed is a character";
    c.texts.insert(QStringLiteral("payee"), QStringLiteral("上海"));
    EXPECT_EQ(run(search.build(c)).size(), 2);
    c.exact = true;
    EXPECT_TRUE(run(search.build(c)).isEmpty()) << "exact wants the whole value";
    c.texts.insert(QStringLiteral("payee"), QStringLiteral("上海1000公司"));
    EXPECT_EQ(run(search.build(c)), QList<int> { b });

    // The cheque window orders only after a title is clicked; the others newest first.
    EXPECT_FALSE(search.build({}).sql.contains(QStringLiteral("order by")));
    HistoryCriteria sorted;
    sorted.sortColumn = QStringLiteral("金额");
    sorted.descending = false;
    EXPECT_EQ(run(search.build(sorted)), (QList<int> { a, b }));
    sorted.sortColumn = QStringLiteral("金额; drop table DataZPTable");
    EXPECT_FALSE(search.build(sorted).sql.contains(QStringLiteral("drop"))) << "not a column";
    EXPECT_TRUE(HistorySearch(db, history("进账单"))
                    .build({})
                    .sql.endsWith(QStringLiteral("order by \"流水号\" desc")));

    HistoryCriteria bad;
    bad.from = QDate(2024, 5, 2);
    bad.to = QDate(2024, 5, 1);
    const HistoryStatement reversed = search.build(bad);
    EXPECT_FALSE(reversed.runnable());
    EXPECT_TRUE(reversed.dateError.startsWith(QStringLiteral("日期选择有误:\"")));

    HistoryCriteria amounts;
    amounts.amountFrom = QStringLiteral("1,000");
    amounts.amountTo = QStringLiteral("6.9.1");
    const HistoryStatement st = search.build(amounts);
    EXPECT_EQ(st.badBounds, QStringList { QStringLiteral("from") });
    EXPECT_TRUE(HistorySearch::isAmountBound(QStringLiteral("12.5.1")));
    EXPECT_EQ(run(st), QList<int> { a }) << "6.9.1 reaches the database and is read as 6.9";
}

TEST_F(HistorySearchTest, DatesFallOnTheirDayWhateverTheTimeLooksLike)
{
    const HistoryKind& zp = history("支票");
    HistorySearch search(db, zp);
    for (const char* stored : { "2024-01-02", "2024-01-02 23:59:59", "2024-01-02T08:00:00",
             "2024-01-01 23:59:59", "2024-01-03 00:00:00" })
        insert(zp, { { QStringLiteral("出票日期"), QString::fromUtf8(stored) } });
    HistoryCriteria c;
    c.from = c.to = QDate(2024, 1, 2);
    EXPECT_EQ(run(search.build(c)).size(), 3);
}

TEST_F(HistorySearchTest, AmountsStoredAsShownAreReadPastTheirCurrency)
{
    const HistoryKind& jzd = history("进账单");
    HistorySearch search(db, jzd);
    for (const char* shown : { "￥1,234.50", "USD100.00", " 2,000", "无" })
        insert(jzd, { { QStringLiteral("金额"), QString::fromUtf8(shown) } });
    EXPECT_DOUBLE_EQ(search.sum(search.build({})).value_or(-1), 3334.5);
    HistoryCriteria c;
    c.amountFrom = QStringLiteral("1000");
    c.amountTo = QStringLiteral("1500");
    EXPECT_EQ(run(search.build(c)).size(), 1);
}

TEST_F(HistorySearchTest, RegistersVoidsAndRenumbers)
{
    EXPECT_EQ(HistorySearch::checkRange(QStringLiteral("1"), QStringLiteral("101")),
        QStringLiteral("一次不能导入超过100张！"));
    EXPECT_EQ(HistorySearch::checkRange(QStringLiteral("9"), QStringLiteral("3")),
        QStringLiteral("编号范围输入错误！"));
    EXPECT_EQ(HistorySearch::checkRange(QStringLiteral("a"), QStringLiteral("3")),
        QStringLiteral("请输入合法的编号范围，只能是数字！"));
    EXPECT_TRUE(HistorySearch::checkRange(QStringLiteral(" 1"), QStringLiteral("100 ")).isEmpty());
    const QStringList numbers = HistorySearch::numbersOf(1, 100, 8, QStringLiteral("A"));
    EXPECT_EQ(numbers.first(), QStringLiteral("A00000001"));
    EXPECT_EQ(numbers.last(), QStringLiteral("A00000100"));
    EXPECT_EQ(HistorySearch::numbersOf(123456789, 123456789, 8, {}),
        QStringList { QStringLiteral("23456789") });

    HistorySearch cheques(db, history("支票"));
    const auto first = cheques.registerBlanks(HistorySearch::numbersOf(1, 3, 8, {}),
        QStringLiteral("工商银行2010版"), QStringLiteral("甲"), QStringLiteral("123"),
        QStringLiteral("工行"));
    EXPECT_EQ(first.size(), 3);
    EXPECT_TRUE(std::all_of(first.begin(), first.end(), [](const auto& r) { return r.written; }));
    const auto again
        = cheques.registerBlanks(HistorySearch::numbersOf(3, 4, 8, {}), {}, {}, {}, {});
    EXPECT_FALSE(again[0].written);
    EXPECT_EQ(
        again[0].message, QStringLiteral("登记票据“00000003”失败！可能该票据号码已经登记过了！"));
    EXPECT_TRUE(again[1].written);
    EXPECT_EQ(
        db.scalar(QStringLiteral("select 付款行名称 from DataZPTable where 票据编号='00000001' "
                                 "and 票据状态='未用' and 金额='0'"))
            .toString(),
        QStringLiteral("工行"));

    HistorySearch wires(db, history("电汇单"));
    wires.registerBlanks({ QStringLiteral("W1") }, {}, {}, {}, QStringLiteral("农行"));
    EXPECT_EQ(db.scalar(QStringLiteral("select 出票人开户行 from DataDHDTable")).toString(),
        QStringLiteral("农行"));

    HistorySearch invoices(db, history("出口商品发票"));
    invoices.registerInvoices(
        HistorySearch::numbersOf(1, 6, 4, {}), QStringLiteral("T"), QStringLiteral("C1"));
    const auto skipped = invoices.registerInvoices(
        HistorySearch::numbersOf(1, 7, 4, {}), QStringLiteral("T"), QStringLiteral("C1"));
    QStringList told;
    for (const auto& r : skipped)
        if (!r.message.isEmpty())
            told << r.message;
    EXPECT_EQ(told.size(), 4) << "at most four skips are told";
    EXPECT_EQ(told.first(), QStringLiteral("0001编号票据已经存在了，跳过登记了！"));
    EXPECT_TRUE(skipped.last().written);

    const QList<int> serials = { 1, 2, 3 };
    EXPECT_EQ(cheques.voidRows(serials), 3);
    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from DataZPTable where 票据状态='作废'")).toInt(),
        3);
    EXPECT_TRUE(cheques.renumber(1, QStringLiteral("X'1")));
    EXPECT_FALSE(cheques.renumber(999, QStringLiteral("X")));
}

TEST_F(HistorySearchTest, CommandLineListsSumsVoidsAndRegisters)
{
    const HistoryKind& zp = history("支票");
    insert(zp,
        { { QStringLiteral("收款人全称"), QStringLiteral("甲") },
            { QStringLiteral("金额"), QStringLiteral("10.5") },
            { QStringLiteral("出票日期"), QStringLiteral("2024-01-02 00:00:00") } });
    insert(zp,
        { { QStringLiteral("收款人全称"), QStringLiteral("乙") },
            { QStringLiteral("金额"), QStringLiteral("4") },
            { QStringLiteral("出票日期"), QStringLiteral("2024-02-02 00:00:00") } });

    const CliResult all = cli({ "history", "--kind", "支票" });
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QStringList lines = all.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("1\t")));
    EXPECT_EQ(lines[2], QStringLiteral("共检索到 2 条记录 金额汇总:￥14.50"));

    const CliResult some
        = cli({ "history", "--kind", "支票", "--from", "2024-02-01", "--summary" });
    EXPECT_EQ(some.out, QStringLiteral("共检索到 1 条记录 金额汇总:￥4.00\n"));
    const CliResult none = cli({ "history", "--kind", "支票", "--payee", "丙", "--summary" });
    EXPECT_EQ(none.out, QStringLiteral("共检索到 0 条记录 金额汇总:￥\n"));
    const CliResult noSum = cli({ "history", "--kind", "出口商品发票", "--summary" });
    EXPECT_EQ(noSum.out, QStringLiteral("共检索到 0 条记录\n"));

    // The custom bill's history: payee, dates and amounts, as the cash deposit slip's.
    HistoryKind custom;
    custom.table = QStringLiteral("DataDEFTable");
    insert(custom,
        { { QStringLiteral("收款人全称"), QStringLiteral("定制甲") },
            { QStringLiteral("金额"), QStringLiteral("3.25") },
            { QStringLiteral("出票日期"), QStringLiteral("2024-01-05 00:00:00") } });
    const CliResult byPayee = cli(
        { "history", "--kind", "定制单", "--payee", "定制", "--amount-from", "3", "--summary" });
    ASSERT_EQ(byPayee.exitCode, 0) << byPayee.err.toStdString();
    EXPECT_EQ(byPayee.out, QStringLiteral("共检索到 1 条记录 金额汇总:￥3.25\n"));

    struct Bad
    {
        QStringList args;
        const char* message;
    };
    const Bad bad[] = {
        { { "history", "--kind", "缴款单", "--drawer", "x" },
            "the 缴款单 history has no --drawer filter" },
        { { "history", "--kind", "定制单", "--drawer", "x" },
            "the 定制单 history has no --drawer filter" },
        { { "history", "--kind", "支票", "--amount-from", "1,0" }, "非法数字: 1,0" },
        { { "history", "--kind", "支票", "--from", "2024-03-01", "--to", "2024-02-01" },
            "日期选择有误" },
        { { "history", "--kind", "快递单", "--amount-to", "3" }, "no amount filter" },
        { { "void", "--kind", "进账单", "1" }, "cannot void" },
        { { "register", "--kind", "支票", "--from", "1", "--to", "101" },
            "一次不能导入超过100张！" },
        { { "register", "--kind", "出口商品发票", "--from", "1", "--to", "2" },
            "模板种类不能为空！" },
    };
    for (const Bad& b : bad) {
        const CliResult r = cli(b.args);
        EXPECT_EQ(r.exitCode, 2) << b.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(b.message))) << r.err.toStdString();
    }

    const QString xlsx = home.file(QStringLiteral("history.xlsx"));
    const CliResult exported = cli({ "history", "--kind", "支票", "--xlsx", xlsx });
    EXPECT_EQ(exported.out, QStringLiteral("共检索到 2 条记录 金额汇总:￥14.50\n"));
    EXPECT_GT(QFileInfo(xlsx).size(), 0);

    const CliResult voided = cli({ "void", "--kind", "支票", "1", "2" });
    EXPECT_EQ(voided.out, QStringLiteral("成功作废2条记录！\n"));
    const CliResult registered = cli({ "register", "--kind", "电汇单", "--from", "7", "--to", "8",
        "--digits", "4", "--prefix", "DH" });
    ASSERT_EQ(registered.exitCode, 0) << registered.err.toStdString();
    EXPECT_EQ(registered.out,
        QStringLiteral("登记编号为：DH0007的票据!\n登记编号为：DH0008的票据!\n登记结束！\n"));
    const CliResult listed
        = cli({ "history", "--kind", "电汇单", "--number", "DH0007", "--exact", "--summary" });
    EXPECT_EQ(listed.out, QStringLiteral("共检索到 1 条记录 金额汇总:￥0.00\n"));
}
