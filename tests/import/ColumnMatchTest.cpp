#include "SheetFiles.h"

#include "import/ColumnMatch.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::TempHome;

namespace {

TEST(MatchColumnOK, PiecesOfARule)
{
    struct Case
    {
        const char* title;
        const char* rule;
        bool hits;
    };
    const Case cases[] = {
        { "收件人电话", "收件电话,固定电话,联系方式,联系电话,*电话*", true },
        { "联系电话", "收件电话,固定电话,联系方式,联系电话,*电话*", true },
        { "NAME", "联系人,收件人姓名,收货人,*姓名*,name,fullname", true },
        { "Full Name", "联系人,name,fullname", false },
        { "Mobile", "MOBILE", true },
        // A star piece counts letter case; the stars are removed, they stand for nothing.
        { "Mobile Phone", "*mobile*", false },
        { "Mobile Phone", "*Mobile*", true },
        { "Mobile Phone", "Mob*ile", true },
        { "收件人地址", "收件*地址", false },
        { "收件地址明细", "收件*地址", true },
        { "收货人", "*", false },
        { "收货人", "**,***", false },
        { "收货人", ",,收货人,", true },
        { "收货人", "", false },
        // Pieces are not trimmed.
        { "收货人", " 收货人", false },
        { "收货人", "收货人 ", false },
        { " 收货人", " 收货人", true },
        { "订单编号", "\t订单编号,订单ID,订单号", false },
        // The first hit ends the test, whatever follows.
        { "省份", "*省*,州,Province", true },
        { "PROVINCE", "*省*,州,Province", true },
        { "Province code", "*省*,州,Province", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchColumnOK(QString::fromUtf8(c.title), QString::fromUtf8(c.rule)), c.hits)
            << c.title << " / " << c.rule;
}

class ColumnMatchTest : public ::testing::Test
{
protected:
    ColumnMatchTest() { ensureSeededInstallation(ProgramFolder(home.path())); }

    void addRule(const QString& type, const QString& item, const QString& rule)
    {
        db.execute(u"insert into MatchColumn (MatchType, ItemName, SourceName) values (?, ?, ?)"_qs,
            { type, item, rule });
    }

    TempHome home;
    Database db { ProgramFolder(home.path()).databasePath() };
};

TEST_F(ColumnMatchTest, RulesOfTheSeededItems)
{
    EXPECT_EQ(kReceiverImport, u"收件信息导入"_qs);
    EXPECT_EQ(loadMatchRule(db, u"电话"_qs), u"收件电话,固定电话,联系方式,联系电话,*电话*"_qs);
    EXPECT_EQ(loadMatchRule(db, u"会员id"_qs), u"QQ,旺旺,会员ID,客户编号"_qs);
    EXPECT_EQ(loadMatchRule(db, u"订单号"_qs), u"\t订单编号,订单ID,订单号"_qs);
}

TEST_F(ColumnMatchTest, RuleLookups)
{
    addRule(kReceiverImport, u"Weight"_qs, u"kg,*重*"_qs);
    addRule(kReceiverImport, u"空规则"_qs, QString());
    addRule(kReceiverImport, u"电话"_qs, u"第二行"_qs);
    addRule(u"其他导入"_qs, u"手机"_qs, u"别的规则"_qs);
    const std::pair<QString, QString> cases[] = {
        { u"WEIGHT"_qs, u"kg,*重*"_qs },
        { u"weight"_qs, u"kg,*重*"_qs },
        { u"不存在的项目"_qs, u"不存在的项目"_qs },
        { u"空规则"_qs, u"空规则"_qs },
        { u"电话"_qs, u"收件电话,固定电话,联系方式,联系电话,*电话*"_qs }, // the first row
        { u"手机"_qs, u"收件手机,Mobile,移动电话,*手机*"_qs },
    };
    for (const auto& [item, rule] : cases)
        EXPECT_EQ(loadMatchRule(db, item), rule) << item.toStdString();
    EXPECT_EQ(loadMatchRule(db, u"手机"_qs, u"其他导入"_qs), u"别的规则"_qs);
    EXPECT_EQ(loadMatchRule(db, u"电话"_qs, u"其他导入"_qs), u"电话"_qs);
}

TEST_F(ColumnMatchTest, AFailingLookupGivesTheItemName)
{
    db.execute(u"drop table MatchColumn"_qs);
    EXPECT_EQ(loadMatchRule(db, u"电话"_qs), u"电话"_qs);
}

TEST_F(ColumnMatchTest, ShopTitlesWithTheSeededRules)
{
    const QStringList items
        = { u"联系人"_qs, u"单位全称"_qs, u"电话"_qs, u"手机"_qs, u"地址"_qs, u"省"_qs, u"市"_qs,
              u"镇区"_qs, u"物品内容"_qs, u"备注"_qs, u"目的站"_qs, u"件数"_qs, u"订单号"_qs };
    QStringList rules;
    for (const QString& item : items)
        rules.append(loadMatchRule(db, item));
    const QStringList titles = { u"订单编号"_qs, u"收货人"_qs, u" 收件人电话 "_qs, u"手机"_qs,
        u"省"_qs, u"市"_qs, u"区"_qs, u"详细地址"_qs, u"宝贝标题"_qs, u"数量"_qs, u"买家留言"_qs };
    // "市" goes to 市, not to 目的站 further down; "区" equals no piece of 镇区; 订单号's first
    // piece starts with a tab, so "订单编号" is nobody's.
    const QList<int> expected = { 1, -1, 2, 3, 7, 4, 5, -1, 8, 10, -1, 9, -1 };
    EXPECT_EQ(matchColumns(titles, rules), expected);
}

TEST(MatchColumns, OneColumnPerItemAndOneItemPerColumn)
{
    struct Case
    {
        const char* name;
        QStringList titles;
        QStringList rules;
        QList<int> columns;
    };
    const Case cases[] = {
        { "the first item in priority takes a column both want", { u"收货人电话"_qs },
            { u"*收货人*"_qs, u"*电话*"_qs }, { 0, -1 } },
        { "an item with a column lets later columns pass", { u"电话"_qs, u"电话2"_qs },
            { u"*电话*"_qs, u"*电话2*"_qs }, { 0, 1 } },
        { "an item keeps its first column", { u"电话"_qs, u"联系电话"_qs }, { u"*电话*"_qs },
            { 0 } },
        { "columns in order, each to the first free item", { u"联系电话"_qs, u"电话"_qs },
            { u"电话"_qs, u"*电话*"_qs }, { 1, 0 } },
        { "titles are trimmed", { u"  收货人\t"_qs }, { u"收货人"_qs }, { 0 } },
        { "blank titles are skipped", { u" "_qs, u"x"_qs }, { u" ,x"_qs }, { 1 } },
        { "no titles", {}, { u"收货人"_qs }, { -1 } },
        { "no items", { u"收货人"_qs }, {}, {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchColumns(c.titles, c.rules), c.columns) << c.name;
}

} // namespace
