#include "SheetFiles.h"

#include "import/ColumnMatch.h"
#include "import/PartyImport.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "store/ProgramFolder.h"
#include "support/CliProcess.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QFile>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace pennock;
using core::ImportColumns;
using core::ImportOptions;
using core::PartyImport;
using test::TestCell;
using test::TestSheet;

namespace {

QString u8(const char* text) { return QString::fromUtf8(text); }

class PartyImportTest : public ::testing::Test
{
protected:
    PartyImportTest() { core::ensureSeededInstallation(core::ProgramFolder(home.path())); }

    // Columns of the titles by the rules the installation carries.
    ImportColumns match(const QStringList& titles)
    {
        ImportColumns columns;
        columns.items = core::autoMatch(core::sheetTitles({ titles }),
            core::loadImportRules(services.db(), core::kReceiverImport));
        columns.items[core::kTypeItem] = -1;
        return columns;
    }

    core::ImportSummary run(const QList<QStringList>& rows, const ImportOptions& options = {},
        const core::ImportHooks& hooks = {})
    {
        PartyImport import(services.db(), prompter, logPath());
        return import.run(u"/data/客户.xlsx"_qs, rows, match(rows.value(0)), options, hooks);
    }

    QString logPath() const { return home.file(u"ImportLog.txt"_qs); }
    QString log(const char* section, const QString& key)
    {
        return core::IniFile(logPath()).readString(QString::fromLatin1(section), key);
    }

    // "全称|联系人|电话|手机|地址|单位类型|扩展信息" of every party, by ID.
    QStringList parties()
    {
        QStringList out;
        QSqlQuery q = services.db().exec(
            u"select 全称, 联系人, 电话, 手机, 地址, 单位类型, 扩展信息, 省, 市, 镇区, 邮编, 国家, "
            "开户银行, 开户行账号, 分组, 助记码 from CKPersonalInfoTable order by ID"_qs);
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < 16; ++i)
                fields << q.value(i).toString();
            while (!fields.isEmpty() && fields.last().isEmpty())
                fields.removeLast();
            out << fields.join(u'|');
        }
        return out;
    }

    test::TempHome home;
    test::ScriptedPrompter prompter;
    core::Services services { home.path(), prompter };
};

// ---- matching -------------------------------------------------------------------------------

struct MatchCase
{
    const char* titles; // comma-separated first row
    const char* item;
    int column; // 1-based, -1 none
};

class MatchTable : public PartyImportTest, public ::testing::WithParamInterface<MatchCase>
{
};

TEST_P(MatchTable, TitleGoesToTheFirstItemWhoseRuleItMeets)
{
    const MatchCase& c = GetParam();
    const ImportColumns columns = match(u8(c.titles).split(u','));
    EXPECT_EQ(columns.items[core::importItemIndex(u8(c.item))], c.column) << c.titles;
}

INSTANTIATE_TEST_SUITE_P(Rules, MatchTable,
    ::testing::Values(
        // ‹姓名› takes the contact by "*姓名*"; ‹收件人姓名› after it finds the item taken.
        MatchCase { "姓名,收件人姓名", "联系人", 1 }, MatchCase { "公司名称", "单位全称", 1 },
        MatchCase { "Company", "单位全称", -1 }, MatchCase { "邮政编码", "邮编", -1 },
        MatchCase { "邮编", "邮编", 1 }, MatchCase { "NAME", "联系人", 1 },
        MatchCase { "收件人电话", "电话", 1 }, MatchCase { "电话,手机号码", "手机", 2 },
        // A title is taken once: ‹收件公司电话› meets the full name first (priority 1).
        MatchCase { "收件公司电话", "电话", -1 }, MatchCase { "收件公司电话", "单位全称", 1 },
        MatchCase { ",,地址", "地址", 3 }, MatchCase { "Province,city", "市", 2 }));

TEST_F(PartyImportTest, TitleListEntriesAndTheirColumnNumbers)
{
    const QList<core::SheetTitle> titles
        = core::sheetTitles({ { u" 姓名 "_qs, QString(), u"电话"_qs }, { u"a"_qs } });
    ASSERT_EQ(titles.size(), 2);
    EXPECT_EQ(titles[0].entry(), u"列1:姓名"_qs);
    EXPECT_EQ(titles[1].entry(), u"列3:电话"_qs);
    EXPECT_EQ(core::entryColumn(u"列12:收件人:电话"_qs), 12);
    EXPECT_EQ(core::entryColumn(QString()), -1);
    EXPECT_EQ(core::entryColumn(u"往来单位"_qs), -1);
    // Beyond 61 columns nothing is read.
    QStringList wide;
    for (int c = 1; c <= 70; ++c)
        wide << QStringLiteral("T%1").arg(c);
    EXPECT_EQ(core::sheetTitles({ wide, wide }).size(), 61);
    EXPECT_TRUE(core::sheetTitles({}).isEmpty());
}

TEST_F(PartyImportTest, RulesAreReadAgainAndCompareItemNamesWithoutCase)
{
    services.db().execute(
        u"update MatchColumn set SourceName='客户名' where ItemName='单位全称'"_qs);
    EXPECT_EQ(match({ u"客户名"_qs }).items[0], 1);
    EXPECT_EQ(core::loadMatchRule(services.db(), u"会员Id"_qs), u"QQ,旺旺,会员ID,客户编号"_qs);
    EXPECT_EQ(core::loadMatchRule(services.db(), u"单位类型"_qs), u"单位类型"_qs);
}

TEST_F(PartyImportTest, RuleTextIsCleanedAsTheRulesWindowStoresIt)
{
    EXPECT_EQ(core::cleanRuleText(u8("联系人，收货人,,收件人'")), u8("联系人,收货人,收件人"));
    EXPECT_EQ(core::cleanRuleText(u8(" a,,,,b? ")), u8("a,b"));
    EXPECT_EQ(core::cleanRuleText(u8("'?'")), QString());
}

TEST_F(PartyImportTest, AMissingRulesTableIsMadeWithItsDefaultRows)
{
    services.db().execute(u"drop table MatchColumn"_qs);
    core::ensureMatchColumn(services.db());
    EXPECT_EQ(core::loadMatchRule(services.db(), u"电话"_qs),
        u8("收件电话,固定电话,联系方式,联系电话,*电话*"));
    EXPECT_TRUE(core::loadMatchRule(services.db(), u"订单号"_qs).startsWith(u'\t'));
}

// ---- the run --------------------------------------------------------------------------------

TEST_F(PartyImportTest, RowsAreImportedEmptyAndDuplicateRowsSkippedAndLogged)
{
    services.db().execute(u"insert into CKPersonalInfoTable (全称, 联系人, 电话) values "
                          "('甲公司', '张三', '010-1')"_qs);
    const QList<QStringList> rows = {
        { u"公司名称"_qs, u"联系人"_qs, u"电话"_qs, u"手机"_qs, u"详细地址"_qs, u"备注"_qs },
        { u"乙公司"_qs, u"李四"_qs, u"'010-1234"_qs, u"'13800138000"_qs, u"北京路1号"_qs,
            u"老客户"_qs },
        { u"甲公司"_qs, u"张三"_qs, u"010-1"_qs, {}, u"广州"_qs },
        {},
        { u"  "_qs, {}, {}, u"139"_qs, u"只有地址"_qs },
        { u"丙公司"_qs, {}, {}, {}, u"深圳"_qs },
        { u"丙公司"_qs, {}, {}, {}, u"深圳2"_qs },
        { u"乙公司"_qs, u"李四"_qs, u"010-1234"_qs },
    };
    const core::ImportSummary summary = run(rows);
    EXPECT_TRUE(summary.started);
    EXPECT_EQ(summary.imported, 2);
    EXPECT_EQ(summary.empty, 2);
    EXPECT_EQ(summary.duplicate, 3);
    EXPECT_EQ(summary.errors, 0);
    EXPECT_EQ(parties(),
        (QStringList { u"甲公司|张三|010-1"_qs,
            u"乙公司|李四|010-1234|13800138000|北京路1号|往来单位|老客户"_qs,
            u"丙公司||||深圳|往来单位"_qs }));
    EXPECT_EQ(log("LOG", u"N3"_qs), u8("重复，单位：甲公司,联系人：张三,电话：010-1"));
    EXPECT_EQ(log("LOG", u"N4"_qs), u8("无效行，联系人、电话、全称均为空！"));
    EXPECT_EQ(log("LOG", u"N5"_qs), u8("无效行，联系人、电话、全称均为空！"));
    // A duplicate without a contact is logged by its address.
    EXPECT_EQ(log("LOG", u"N7"_qs), u8("无效行，地址：深圳2"));
    EXPECT_EQ(log("LOG", u"N8"_qs), u8("重复，单位：乙公司,联系人：李四,电话：010-1234"));
    EXPECT_EQ(log("LOG", u"N2"_qs), QString());
    EXPECT_EQ(log("INFO", u"File"_qs), u8("数据文件来源:/data/客户.xlsx"));
    EXPECT_EQ(log("INFO", u"Total"_qs), u8("本次任务数据共有：7行"));
    EXPECT_EQ(summary.finish,
        u8("导入结束，共有 2 条导入成功！\r\n 其中跳过了5 "
           "条重复的或无效(单位、联系人、电话都为空)的记录！"));
    EXPECT_EQ(log("INFO", u"Finish"_qs),
        u8("导入结束，共有 2 条导入成功！ 其中跳过了5 "
           "条重复的或无效(单位、联系人、电话都为空)的记录！"));
    EXPECT_TRUE(prompter.entries().isEmpty());
}

// Duplicates compare as the columns do: ASCII letters in either case, NULL as empty, nothing else
// folded.
TEST_F(PartyImportTest, DuplicatesCompareAsTheColumnsDo)
{
    services.db().execute(u"insert into CKPersonalInfoTable (全称, 联系人, 电话) values "
                          "('ACME Trading', 'Li Lei', NULL), ('乙公司', NULL, '010-2'), "
                          "('ÄRGER AG', NULL, NULL)"_qs);
    struct Case
    {
        QStringList row; // 公司名称, 联系人, 电话
        bool byPhone;
        bool duplicate;
    };
    const Case cases[] = {
        { { u"acme TRADING"_qs, u"LI LEI"_qs, {} }, true, true },
        { { u"ACME Trading"_qs, u"Li Lei"_qs, u"010"_qs }, true, false },
        { { u"ACME Trading"_qs, u"Li Lei"_qs, u"010"_qs }, false, true },
        { { u"ＡCME Trading"_qs, u"Li Lei"_qs, {} }, true, false },
        { { u"Acme Tradіng"_qs, u"Li Lei"_qs, {} }, true, false }, // Cyrillic і
        { { u"乙公司"_qs, {}, u"010-2"_qs }, true, true },
        { { u"乙公司"_qs, u" "_qs, u"010-2"_qs }, true, true }, // cells are trimmed
        { { u"乙公司"_qs, u"王五"_qs, u"010-2"_qs }, true, false },
        { { u"äRGER ag"_qs, {}, {} }, true, false }, // only ASCII letters fold
        { { u"ÄRGER ag"_qs, {}, {} }, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.join(u'|').toStdString() + (c.byPhone ? "" : " (not by phone)"));
        ImportOptions options;
        options.byPhone = c.byPhone;
        const int before
            = services.db().scalar(u"select count(*) from CKPersonalInfoTable"_qs).toInt();
        const core::ImportSummary summary
            = run({ { u"公司名称"_qs, u"联系人"_qs, u"电话"_qs }, c.row }, options);
        EXPECT_EQ(summary.duplicate, c.duplicate ? 1 : 0);
        EXPECT_EQ(summary.imported, c.duplicate ? 0 : 1);
        services.db().execute(u"delete from CKPersonalInfoTable where ID > ?"_qs,
            { services.db().scalar(u"select max(ID) from CKPersonalInfoTable"_qs).toInt()
                - summary.imported });
        EXPECT_EQ(
            services.db().scalar(u"select count(*) from CKPersonalInfoTable"_qs).toInt(), before);
    }
}

TEST_F(PartyImportTest, ANewRunErasesTheLogSectionsOfTheLastOne)
{
    core::IniFile old(logPath());
    old.writeString(u"LOG"_qs, u"N99"_qs, u"old"_qs);
    old.writeString(u"Other"_qs, u"kept"_qs, u"yes"_qs);
    old.flush();
    run({ { u"联系人"_qs }, { u"王五"_qs } });
    EXPECT_EQ(log("LOG", u"N99"_qs), QString());
    EXPECT_EQ(log("Other", u"kept"_qs), u"yes"_qs);
}

TEST_F(PartyImportTest, TitlesWithoutDataEndWithASummaryOfNone)
{
    const core::ImportSummary summary = run({ { u"联系人"_qs, u"电话"_qs } });
    EXPECT_EQ(summary.imported, 0);
    EXPECT_EQ(summary.finish, u8("导入结束，共有 0 条导入成功！\r\n"));
    EXPECT_EQ(log("INFO", u"Total"_qs), u8("本次任务数据共有：0行"));
}

TEST_F(PartyImportTest, ASheetWithoutNameContactOrAddressIsRefused)
{
    const core::ImportSummary summary = run({ { u"电话"_qs, u"手机"_qs }, { u"1"_qs, u"2"_qs } });
    EXPECT_FALSE(summary.started);
    ASSERT_EQ(prompter.texts().size(), 1);
    EXPECT_EQ(prompter.entries()[0].caption, u8("提示"));
    EXPECT_TRUE(prompter.texts()[0].startsWith(u8("收、发件单位名称、联系人、地址不能同时为空")));
    EXPECT_TRUE(parties().isEmpty());
}

TEST_F(PartyImportTest, WithoutCriteriaTheRunAsksAndOnYesImportsEveryRow)
{
    ImportOptions options;
    options.byName = options.byContact = options.byPhone = false;
    const QList<QStringList> rows = { { u"联系人"_qs }, { u"王五"_qs }, { u"王五"_qs } };
    prompter.queueAnswer(false);
    EXPECT_FALSE(run(rows, options).started);
    EXPECT_TRUE(parties().isEmpty());
    prompter.queueAnswer(true);
    EXPECT_EQ(run(rows, options).imported, 2);
    EXPECT_EQ(prompter.entries().last().caption, u8("重复匹配确认"));
    EXPECT_EQ(prompter.texts().last(),
        u8("你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？"));
}

TEST_F(PartyImportTest, ADuplicateIsAskedAboutWhenTheBoxSaysSo)
{
    services.db().execute(u"insert into CKPersonalInfoTable (全称, 联系人, 电话) values "
                          "('甲公司', '张三', '1')"_qs);
    ImportOptions options;
    options.alertDuplicate = true;
    const QList<QStringList> rows = { { u"单位全称"_qs, u"联系人"_qs, u"电话"_qs },
        { u"甲公司"_qs, u"张三"_qs, u"1"_qs }, { u"甲公司"_qs, u"张三"_qs, u"1"_qs } };
    prompter.queueAnswer(true); // skip the first
    prompter.queueAnswer(false); // add the second
    const core::ImportSummary summary = run(rows, options);
    EXPECT_EQ(summary.imported, 1);
    EXPECT_EQ(summary.duplicate, 1);
    EXPECT_EQ(prompter.texts()[0],
        u8("单位\"甲公司(联系人:张三)\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！"));
    EXPECT_EQ(prompter.entries()[0].caption, u8("记录已经存在"));
    // Without the contact criterion the question leaves the contact out.
    prompter.clear();
    options.byContact = false;
    prompter.queueAnswer(true);
    prompter.queueAnswer(true);
    run(rows, options);
    EXPECT_EQ(prompter.texts()[0],
        u8("单位\"甲公司\"已经存在,是否跳过？点击\"是\"跳过,点击\"否\"继续添加！"));
}

TEST_F(PartyImportTest, TypeComesFromTheFixedChoiceOrFromItsColumn)
{
    const QStringList row = { u"甲"_qs, u"我方单位"_qs, u"其他"_qs };
    ImportColumns columns;
    columns.items[0] = 1;
    columns.items[core::kTypeItem] = 2;
    ImportOptions options;
    options.type = u"我方单位"_qs;
    EXPECT_EQ(PartyImport::rowValues(row, columns, options)[core::kTypeItem], u8("我方单位"));
    options.type.clear();
    EXPECT_EQ(PartyImport::rowValues(row, columns, options)[core::kTypeItem], u8("往来单位"));
    options.fixedType = false;
    EXPECT_EQ(PartyImport::rowValues(row, columns, options)[core::kTypeItem], u8("我方单位"));
    columns.items[core::kTypeItem] = 3;
    EXPECT_EQ(PartyImport::rowValues(row, columns, options)[core::kTypeItem], u8("往来单位"));
    columns.items[core::kTypeItem] = -1;
    EXPECT_EQ(PartyImport::rowValues(row, columns, options)[core::kTypeItem], u8("往来单位"));
}

TEST_F(PartyImportTest, OrderNumberAndMemberGoIntoTheRemarkWhenTicked)
{
    ImportColumns columns;
    columns.items[0] = 1;
    columns.items[12] = 2;
    columns.order = 3;
    columns.member = 1;
    ImportOptions options;
    const QStringList row = { u"wang01"_qs, u"留言"_qs, u"A100"_qs };
    EXPECT_EQ(PartyImport::rowValues(row, columns, options)[12], u8("留言"));
    options.orderIdOn = true;
    options.memberIdOn = true;
    const QStringList values = PartyImport::rowValues(row, columns, options);
    EXPECT_EQ(values[12], u8("留言 订单号:A100;会员ID:wang01"));
    EXPECT_EQ(values[0], u8("会员ID:wang01"));
}

TEST_F(PartyImportTest, RowsBeyondTheSixThousandthAreLeftWithAMessage)
{
    QList<QStringList> rows = { { u"联系人"_qs } };
    for (int i = 0; i < 7000; ++i)
        rows << QStringList { QStringLiteral("客户%1").arg(i) };
    ImportOptions options;
    options.judgeRepeated = false;
    const core::ImportSummary summary = run(rows, options);
    EXPECT_EQ(summary.imported, 5999);
    EXPECT_TRUE(summary.limitReached);
    EXPECT_EQ(prompter.texts(), QStringList { u8("导入中止，一次最大行数为6000") });
    EXPECT_EQ(summary.finish, u8("导入结束，共有 5999 条导入成功！\r\n"));
    EXPECT_EQ(parties().last(), u"|客户5998||||往来单位"_qs);
}

TEST_F(PartyImportTest, AStopKeepsTheRowsImportedAndLogsWhereItStopped)
{
    QList<QStringList> rows = { { u"联系人"_qs } };
    for (int i = 0; i < 50; ++i)
        rows << QStringList { QStringLiteral("客户%1").arg(i) };
    ImportOptions options;
    options.batchRows = 7;
    int done = 0;
    core::ImportHooks hooks;
    hooks.rowDone = [&done](int) { ++done; };
    hooks.stopRequested = [&done] { return done >= 10; };
    prompter.queueAnswer(false); // after row 11: go on
    prompter.queueAnswer(true); // after row 12: stop
    const core::ImportSummary summary = run(rows, options, hooks);
    EXPECT_EQ(summary.imported, 11);
    EXPECT_EQ(summary.stoppedAtRow, 12);
    EXPECT_EQ(
        prompter.texts(), (QStringList { u8("需要中止导出操作吗？"), u8("需要中止导出操作吗？") }));
    EXPECT_EQ(parties().size(), 11);
    EXPECT_EQ(log("INFO", u"Stop"_qs), u8("用户中止于第12行，其后的行未导入"));
    EXPECT_EQ(log("INFO", u"Finish"_qs), u8("导入结束，共有 11 条导入成功！"));
}

TEST_F(PartyImportTest, ProgressRunsFromZeroToItsMaximum)
{
    QList<std::pair<int, int>> seen;
    core::ImportHooks hooks;
    hooks.progress = [&seen](int maximum, int position) { seen.append({ maximum, position }); };
    QStringList status;
    hooks.status = [&status](const QString& text) { status << text; };
    run({ { u"联系人"_qs }, { u"a"_qs }, { u"b"_qs } }, {}, hooks);
    EXPECT_EQ(seen, (QList<std::pair<int, int>> { { 3, 0 }, { 3, 1 }, { 3, 2 }, { 3, 3 } }));
    EXPECT_EQ(status,
        (QStringList { u8("正在验证数据文件有效性！"), u8("数据文件有效！共有数据行：2") }));
}

TEST_F(PartyImportTest, AnEmptySheetEndsWithoutRows)
{
    ImportColumns columns;
    columns.items[1] = 1;
    PartyImport import(services.db(), prompter, logPath());
    const core::ImportSummary summary = import.run(u"x.csv"_qs, {}, columns, {});
    EXPECT_EQ(summary.finish, u8("导入完成，所选数据文件不存在有效数据！"));
    EXPECT_EQ(summary.imported, 0);
}

// ---- every format through the command line ----------------------------------------------------

TestSheet officeSheet()
{
    const auto s = [](const char* t) { return TestCell::str(QString::fromUtf8(t)); };
    return { u"客户"_qs,
        { { s("单位全称"), s("联系人"), s("联系电话"), s("手机"), s("省份"), s("城市"), s("区县"),
              s("地址"), s("邮编"), s("开户银行"), s("银行账号"), s("备注"), s("分组") },
            { s("深圳市甲科技有限公司"), s("张三"), s("0755-88886666"),
                TestCell::num(13800138000.0, u"13800138000"_qs), s("广东省"), s("深圳市"),
                s("南山区"), s("科技园路1号"), TestCell::num(518000, u"518000"_qs), s("招商银行"),
                s("6225 8888 0000 1234"), s("VIP, \"老\"客户"), s("华南") },
            { s("北京乙贸易公司"), s("李四"), s("'010-12345678"), {}, s("北京市"), s("北京市"),
                s("朝阳区"), s("建国路88号") },
            {}, { s("深圳市甲科技有限公司"), s("张三"), s("0755-88886666") } } };
}

struct FormatCase
{
    const char* name;
    const char* file;
};

class FormatTable : public PartyImportTest, public ::testing::WithParamInterface<FormatCase>
{
};

TEST_P(FormatTable, TheCommandImportsTheSameParties)
{
    const QString file = home.file(QString::fromLatin1(GetParam().file));
    const QString kind = QString::fromLatin1(GetParam().name);
    const TestSheet sheet = officeSheet();
    if (kind == u"xlsx")
        test::writeXlsx(file, { sheet });
    else if (kind == u"xls")
        test::writeXls(file, { sheet });
    else if (kind == u"ods")
        test::writeOds(file, { sheet });
    else
        test::writeCsv(file, sheet, kind);

    test::TempHome fresh;
    const test::CliRun cli
        = test::runCliProcess({ u"import-parties"_qs, u"--home"_qs, fresh.path(), file });
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    const QStringList lines = cli.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 17) << cli.out.toStdString();
    EXPECT_EQ(lines[0], u8("单位全称\t列1:单位全称"));
    EXPECT_EQ(lines[2], u8("电话\t列3:联系电话"));
    EXPECT_EQ(lines[4], u8("省\t列5:省份"));
    EXPECT_EQ(lines[6], u8("镇区\t列7:区县"));
    EXPECT_EQ(lines[9], u8("国家\t-"));
    EXPECT_EQ(lines[14], u8("单位类型\t固定:往来单位"));
    EXPECT_EQ(lines[16], u"imported 2, skipped empty 1, skipped duplicate 1, errors 0"_qs);

    core::Services other(fresh.path(), prompter);
    QSqlQuery q = other.db().exec(
        u"select 全称, 联系人, 电话, 手机, 省, 市, 镇区, 地址, 邮编, 开户银行, "
        "开户行账号, 扩展信息, 分组, 单位类型 from CKPersonalInfoTable order by ID"_qs);
    QStringList got;
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < 14; ++i)
            fields << q.value(i).toString();
        got << fields.join(u'|');
    }
    EXPECT_EQ(got,
        (QStringList {
            u8("深圳市甲科技有限公司|张三|0755-88886666|13800138000|广东省|深圳市|南山区|"
               "科技园路1号|518000|招商银行|6225 8888 0000 1234|VIP, \"老\"客户|华南|往来单位"),
            u8("北京乙贸易公司|李四|010-12345678||北京市|北京市|朝阳区|建国路88号|||||"
               "|往来单位") }));
    EXPECT_TRUE(QFile::exists(fresh.file(u"ImportLog.txt"_qs)));
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatTable,
    ::testing::Values(FormatCase { "xlsx", "客户.xlsx" }, FormatCase { "xls", "客户.xls" },
        FormatCase { "ods", "客户.ods" }, FormatCase { "UTF-8", "u8.csv" },
        FormatCase { "UTF-8 BOM", "bom.csv" }, FormatCase { "GB18030", "gbk.csv" }),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.name);
        name.remove(u'-').replace(u' ', u'_');
        return name.toStdString();
    });

TEST_F(PartyImportTest, TheCommandTakesMappingsAndRefusesWhatItCannotRead)
{
    const QString csv = home.file(u"shop.csv"_qs);
    test::writeCsv(csv,
        { u"s"_qs,
            { { TestCell::str(u"买家"_qs), TestCell::str(u"类型"_qs),
                  TestCell::str(u"Company"_qs) },
                { TestCell::str(u"王五"_qs), TestCell::str(u"我方单位"_qs),
                    TestCell::str(u"X Ltd"_qs) } } },
        u"UTF-8"_qs);
    test::CliRun cli = test::runCliProcess(
        { u"import-parties"_qs, u"--home"_qs, home.path(), csv, u"--map"_qs, u"联系人=买家"_qs,
            u"--map"_qs, u"单位类型=类型"_qs, u"--map"_qs, u"单位全称=列3:Company"_qs });
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    EXPECT_TRUE(cli.out.contains(u8("联系人\t列1:买家\n")));
    EXPECT_TRUE(
        cli.out.endsWith(u"imported 1, skipped empty 0, skipped duplicate 0, errors 0\n"_qs));
    EXPECT_EQ(parties(), QStringList { u8("X Ltd|王五||||我方单位") });

    const struct
    {
        QStringList args;
        const char* says;
    } bad[] = {
        { { home.file(u"none.xlsx"_qs) }, "找不到文件" },
        { { home.file(u"shop.csv.json"_qs) }, "无法读取表格文件" },
        { { csv, u"--map"_qs, u"姓名=买家"_qs }, "no import item 姓名" },
        { { csv, u"--map"_qs, u"联系人=卖家"_qs }, "no column titled 卖家" },
        { { csv, u"--sheet"_qs, u"3"_qs }, "no sheet 3" },
        { { csv, u"--scene"_qs, u"发票"_qs }, "no scene 发票" },
        { {}, "expects one FILE" },
    };
    QFile junk(home.file(u"shop.csv.json"_qs));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("{}");
    junk.close();
    for (const auto& b : bad) {
        cli = test::runCliProcess(
            QStringList { u"import-parties"_qs, u"--home"_qs, home.path() } + b.args);
        EXPECT_EQ(cli.exitCode, 2) << b.says;
        EXPECT_TRUE(cli.err.contains(u8(b.says))) << cli.err.toStdString();
        EXPECT_EQ(cli.err.count(u'\n'), 1) << cli.err.toStdString();
    }
}

} // namespace
