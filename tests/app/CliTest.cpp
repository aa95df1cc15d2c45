#include "store/Database.h"
#include "support/CliProcess.h"
#include "support/TempHome.h"

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using pennock::test::CliRun;
using pennock::test::TempHome;

namespace {

CliRun cli(const QStringList& args) { return pennock::test::runCliProcess(args); }

struct Case
{
    QStringList args;
    QString out; // expected standard output
};

} // namespace

TEST(Cli, GivesTheWorkedExamples)
{
    const QString s = QStringLiteral("\n");
    const Case cases[] = {
        { { "capitals", "0" }, "零元整" },
        { { "capitals", "0.01" }, "壹分" },
        { { "capitals", "0.1" }, "壹角整" },
        { { "capitals", "1" }, "壹元整" },
        { { "capitals", "10.01" }, "壹拾元零壹分" },
        { { "capitals", "100.10" }, "壹佰元壹角整" },
        { { "capitals", "101" }, "壹佰零壹元整" },
        { { "capitals", "1010" }, "壹仟零壹拾元整" },
        { { "capitals", "10000.01" }, "壹万元零壹分" },
        { { "capitals", "100010" }, "壹拾万零壹拾元整" },
        { { "capitals", "1000000.5" }, "壹佰万元伍角整" },
        { { "capitals", "100000001" }, "壹亿零壹元整" },
        { { "capitals", "110000000" }, "壹亿壹仟万元整" },
        { { "capitals", "1000000000000" }, "壹万亿元整" },
        { { "capitals", "1234.56" }, "壹仟贰佰叁拾肆元伍角陆分" },
        { { "capitals", "1,234.56" }, "壹仟贰佰叁拾肆元伍角陆分" },
        { { "digit-capitals", "1234.56", "6", "0.00" }, "零零壹贰叁肆伍陆" },
        { { "digit-capitals", "1234.5", "4", "0" }, "壹贰叁伍" },
        { { "digit-capitals", "1234567", "6", "0.00" }, "超出位数限制" },
        { { "digit-capitals", "1,234.56", "6", ".00" }, "零零壹贰叁肆伍陆" },
        { { "digit-capitals", "0", "8", "0.00" }, "零" },
        { { "date-capitals", "2024" }, "贰零贰肆" },
        { { "date-capitals", "03" }, "零叁" },
        { { "date-capitals", "10" }, "零壹拾" },
        { { "date-capitals", "12" }, "壹拾贰" },
        { { "date-capitals", "31" }, "叁拾壹" },
        { { "normalize-amount", "1２3。4５" }, "123.45" },
        { { "normalize-amount", " 1,234．5 " }, "1234.5" },
        { { "normalize-amount", "ab" }, "" },
        { { "format-money", "1234567.891" }, "1234567.89" },
        { { "format-money", "1234567.885", "--thousands" }, "1,234,567.89" },
        { { "format-money", "0.005" }, "0.01" },
        { { "break-text", "4", "北京市海淀区中关村" }, "北京市海\n淀区中关\n村" },
        { { "break-text", "4", "ab北京市海淀" }, "ab北京市\n海淀" },
        { { "break-text", "2", "abcdefghij" }, "abcd\nefgh\nij" },
        { { "break-text", "2", "abcd" }, "abcd" },
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(r.out, c.out + s) << c.args.join(' ').toStdString();
    }
}

TEST(Cli, BadInputExitsTwoWithOneLine)
{
    const QStringList cases[] = {
        {},
        { "nonsense" },
        { "capitals" },
        { "capitals", "12a" },
        { "capitals", "-1" },
        { "capitals", "10000000000000" },
        { "digit-capitals", "12", "x", "0.00" },
        { "digit-capitals", "abc", "6", "0.00" },
        { "date-capitals", "00" },
        { "date-capitals", "32" },
        { "format-money", "1.2.3" },
        { "break-text", "0", "abc" },
        { "init", "--home" },
    };
    for (const QStringList& args : cases) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty()) << args.join(' ').toStdString();
        if (!args.isEmpty()) {
            EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        }
    }
}

TEST(Cli, InitCreatesAnInstallationAndRefusesAForeignDatabase)
{
    TempHome home;
    const CliRun ok = cli({ QStringLiteral("init"), QStringLiteral("--home"), home.path() });
    ASSERT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    pennock::core::Database db(home.file(QStringLiteral("Data/EPData.ini")));
    EXPECT_TRUE(db.tableExists(QStringLiteral("DataKDDTable")));

    TempHome broken;
    broken.write(QStringLiteral("Data/EPData.ini"), "not a database at all");
    const CliRun bad = cli({ QStringLiteral("init"), QStringLiteral("--home"), broken.path() });
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("EPData.ini"))) << bad.err.toStdString();
}

TEST(Cli, WithoutHomeTheWindowsInstallationIsUsed)
{
    TempHome home;
    QProcessEnvironment env;
    env.insert(QStringLiteral("PENNOCK_HOME"), home.path());
    const CliRun init = pennock::test::runCliProcess({ QStringLiteral("init") }, env);
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_EQ(init.out, QStringLiteral("installation ready: %1\n").arg(home.path()));
    EXPECT_TRUE(QFileInfo::exists(home.file(QStringLiteral("Data/EPData.ini"))));
    const CliRun listed = pennock::test::runCliProcess({ QStringLiteral("templates") }, env);
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_FALSE(listed.out.isEmpty());
}

TEST(Cli, TemplatesListsWhatInitSeeded)
{
    TempHome home;
    ASSERT_EQ(cli({ QStringLiteral("init"), QStringLiteral("--home"), home.path() }).exitCode, 0);
    const CliRun all = cli({ QStringLiteral("templates"), QStringLiteral("--home"), home.path() });
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QStringList lines = all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), QStringLiteral("ID\t模板名称\t默认\t常用\t状态\t纸张(毫米)"));
    EXPECT_EQ(lines.mid(1).filter(QStringLiteral("\t默认\t")).size(), 11);

    const CliRun waybills = cli({ QStringLiteral("templates"), QStringLiteral("--home"),
        home.path(), QStringLiteral("--kind"), QStringLiteral("快递单") });
    ASSERT_EQ(waybills.exitCode, 0);
    const QStringList rows = waybills.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1);
    EXPECT_EQ(rows.size(), 5);
    for (const QString& row : rows) {
        const QStringList f = row.split(QLatin1Char('\t'));
        ASSERT_EQ(f.size(), 6) << row.toStdString();
        EXPECT_TRUE(f[1].startsWith(QStringLiteral("快递单（"))) << row.toStdString();
        EXPECT_EQ(f[4], QStringLiteral("启用"));
        EXPECT_TRUE(f[5].contains(QLatin1Char('x'))) << row.toStdString();
    }

    EXPECT_EQ(cli({ QStringLiteral("templates"), QStringLiteral("--home"), home.path(),
                      QStringLiteral("--kind"), QStringLiteral("不存在") })
                  .exitCode,
        2);
    TempHome empty;
    const CliRun none
        = cli({ QStringLiteral("templates"), QStringLiteral("--home"), empty.path() });
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_FALSE(QFile::exists(empty.file(QStringLiteral("Data/EPData.ini"))));
}
