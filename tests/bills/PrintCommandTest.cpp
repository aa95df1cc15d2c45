#include "PdfWords.h"

#include "format/Capitals.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/CliProcess.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace pennock;
using pennock::test::CliRun;

namespace {

CliRun cli(const QStringList& args) { return pennock::test::runCliProcess(args); }

class PrintCommandTest : public ::testing::Test
{
protected:
    PrintCommandTest() { core::ensureSeededInstallation(core::ProgramFolder(home.path())); }

    QStringList base() const
    {
        return { QStringLiteral("print"), QStringLiteral("--home"), home.path(),
            QStringLiteral("--kind"), QStringLiteral("支票") };
    }

    test::TempHome home;
};

} // namespace

TEST_F(PrintCommandTest, FillsPrintsAndSavesACheque)
{
    const QString pdf = home.file(QStringLiteral("cheque.pdf"));
    const CliRun run = cli(base()
        + QStringList { "--template", "建设银行2010版", "--amount", "1,234.5", "--date",
            "2024-03-05", "--set", "zdInComp=PAYEE", "--set", "zdOutBank=BANKX", "--set",
            "cfgPrintOutBank=1", "--set", "zdRemark=R1", "--pdf", pdf, "--save" });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
        QStringLiteral("printed 支票（建设银行2010版） to %1\nsaved as 流水号 1\n").arg(pdf));

    core::Database db(core::ProgramFolder(home.path()).databasePath());
    QSqlQuery q = db.exec(QStringLiteral("select 模板种类, 金额, 收款人全称, 付款行名称, 出票日期, "
                                         "票据状态, 备注 from DataZPTable where 流水号=1"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("建设银行2010版"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("1234.5"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("PAYEE"));
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("BANKX"));
    EXPECT_TRUE(q.value(4).toString().startsWith(QStringLiteral("2024-03-05")));
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("已用"));
    EXPECT_EQ(q.value(6).toString(), QStringLiteral("R1"));

    const auto pages = test::readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1);
    for (const char* word : { "PAYEE", "BANKX", "￥1,234.50", "2024" })
        EXPECT_FALSE(test::wordsEqualTo(
            pages[0], QString::fromUtf8(word).normalized(QString::NormalizationForm_KC))
                         .isEmpty())
            << word;

    // Without --save nothing is stored.
    const CliRun again = cli(base() + QStringList { "--amount", "1", "--pdf", pdf });
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.out, QStringLiteral("printed 支票（工商银行2010版） to %1\n").arg(pdf));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(), 1);
}

TEST_F(PrintCommandTest, RefusesBadInputWithOneLine)
{
    const QString pdf = home.file(QStringLiteral("bad.pdf"));
    struct Case
    {
        QStringList args;
        QString message;
    };
    const QStringList home
        = { QStringLiteral("print"), QStringLiteral("--home"), this->home.path() };
    const Case cases[] = {
        { home + QStringList { "--pdf", pdf }, "print: --kind KIND is required" },
        { home + QStringList { "--kind", "汇票", "--pdf", pdf },
            "print: unknown bill kind 汇票 (kinds with a form: 支票, 进账单, 电汇单, 缴款单, "
            "承兑汇票, 境外汇款申请书, 定制单, 普通发票收据, 出口商品发票, 国际货运发票, 快递单)" },
        { base() + QStringList { "--template", "不存在", "--pdf", pdf },
            "print: no enabled template 支票（不存在） (templates: " },
        { base() + QStringList { "--set", "zdNoSuch=1", "--pdf", pdf },
            "print: unknown control zdNoSuch of 支票" },
        { base() + QStringList { "--set", "btPrint1=1", "--pdf", pdf },
            "print: unknown control btPrint1 of 支票" },
        { base() + QStringList { "--set", "zdJEDX=壹元", "--pdf", pdf },
            "print: zdJEDX is filled by the form (use --amount or --date)" },
        { base() + QStringList { "--set", "cfgNoPrtJEDX=1", "--pdf", pdf },
            "print: cfgNoPrtJEDX cannot be changed on 支票" },
        { base() + QStringList { "--set", "cfgMoneyType=金币", "--pdf", pdf },
            "print: cfgMoneyType has no entry 金币" },
        { base() + QStringList { "--set", "zdRemark", "--pdf", pdf },
            "print: --set needs CONTROL=VALUE" },
        { base() + QStringList { "--amount", "1000000000", "--pdf", pdf },
            "print: 金额值必须介于0~1,000,000,000之间！" },
        { base() + QStringList { "--amount", "1.2.3", "--pdf", pdf },
            "print: 金额只能为数值，例如：123.50" },
        { base() + QStringList { "--date", "2024-13-01", "--pdf", pdf },
            "print: --date must be YYYY-MM-DD: 2024-13-01" },
        { base() + QStringList { "--copies", "0", "--pdf", pdf },
            "print: --copies must be a whole number of at least 1: 0" },
        { base(), "print: give either --pdf FILE or --printer NAME" },
        { { "print", "--home", this->home.file("nothing"), "--kind", "支票", "--pdf", pdf },
            "no installation in" },
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(pdf)) << "nothing was printed";
}

TEST_F(PrintCommandTest, FillsPrintsAndSavesEveryBankKind)
{
    const struct
    {
        const char* kind;
        const char* table;
        QStringList args;
        QList<std::pair<const char*, QString>> stored; ///< columns of the saved row
        const char* printed; ///< a word on the paper
    } cases[] = {
        { "进账单", "DataJZDTable",
            { "--set", "zdInComp=收款乙", "--set", "zdOutComp=出票甲", "--set", "zdPJZS=2", "--set",
                "cfgChangeInOuter=1", "--amount", "1234.5" },
            { { "收款人全称", "出票甲" }, { "出票人全称", "收款乙" }, { "票据张数", "2" },
                { "金额", "￥1,234.50" } },
            "出票甲" },
        { "承兑汇票", "DataCDHPTable",
            { "--set", "zdTimeOutDate=+180", "--set", "zdInComp=收款丙", "--amount", "99", "--date",
                "2024-01-01" },
            { { "汇票到期日",
                  core::DateNumberToCapitals("2024") + "年" + core::DateNumberToCapitals("06")
                      + "月" + core::DateNumberToCapitals("29") + "日" },
                { "票据状态", "已用" }, { "金额", "99.00" } },
            "收款丙" },
        { "电汇单", "DataDHDTable",
            { "--set", "zdInComp=收款丁", "--set", "zdInProv=北京市", "--set", "zdYT=货款",
                "--amount", "5" },
            { { "收款人省", "北京市" }, { "用途", "货款" }, { "金额", "￥5.00" } }, "收款丁" },
        { "缴款单", "DataJKDTable",
            { "--set", "zdInComp=收款戊", "--set", "zdInContactor=张三", "--amount", "6.5" },
            { { "收款人联系人", "张三" }, { "收款人全称", "收款戊" } }, "收款戊" },
        { "境外汇款申请书", "DataJWHTable",
            { "--set", "InnerComp=BENEFICIARY", "--set", "cfgMoneyType=美元", "--amount", "100",
                "--set", "QITAJE=50.5" },
            { { "收款人全称", "BENEFICIARY" }, { "币种", "美元" }, { "金额", "USD150.50" } },
            "BENEFICIARY" },
        { "定制单", "DataDEFTable",
            { "--set", "zdInComp=收款己", "--set", "zdInBank=某银行", "--amount", "7" },
            { { "收款人开户行", "某银行" }, { "金额", "￥7.00" } }, "收款己" },
    };
    core::Database db(core::ProgramFolder(home.path()).databasePath());
    for (const auto& c : cases) {
        const QString kind = QString::fromUtf8(c.kind);
        const QString pdf = home.file(kind + QStringLiteral(".pdf"));
        const CliRun run = cli(QStringList { "print", "--home", home.path(), "--kind", kind }
            + c.args + QStringList { "--pdf", pdf, "--save" });
        ASSERT_EQ(run.exitCode, 0) << c.kind << run.err.toStdString();
        EXPECT_TRUE(run.out.endsWith(QStringLiteral("saved as 流水号 1\n")))
            << run.out.toStdString();
        QSqlQuery q = db.exec(QStringLiteral("select * from %1 where 流水号=1").arg(c.table));
        ASSERT_TRUE(q.next()) << c.kind;
        for (const auto& [column, value] : c.stored)
            EXPECT_EQ(q.value(QString::fromUtf8(column)).toString(), value) << c.kind << column;
        const auto pages = test::readPdfWords(pdf);
        ASSERT_EQ(pages.size(), 1);
        EXPECT_FALSE(test::wordsEqualTo(pages[0], QString::fromUtf8(c.printed)).isEmpty())
            << c.kind;
    }
    // Controls of another kind are refused by name.
    const CliRun wrong = cli(QStringList { "print", "--home", home.path(), "--kind",
        "境外汇款申请书", "--set", "zdInComp=x", "--pdf", home.file("x.pdf") });
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("unknown control zdInComp of 境外汇款申请书")));
}
