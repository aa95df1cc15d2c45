#include "templates/TemplateLookups.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

class TemplateLookupsTest : public ::testing::Test
{
protected:
    TemplateLookupsTest() { ensureInstallation(folder); }

    void addTemplate(int id, const QString& kind, const QString& variant, const char* isDefault,
        const char* common, const char* visible, const QString& typeName = {})
    {
        db.execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName, "
                                  "TypeDescribe, TypeName, IsDefault, IsCommon, Visiable, XMove, "
                                  "YMove) values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            { id, kind, variant,
                typeName.isEmpty() ? TemplateLookups::fullName(kind, variant) : typeName,
                QString::fromUtf8(isDefault), QString::fromUtf8(common), QString::fromUtf8(visible),
                id * 10, -id });
    }

    TempHome home;
    ProgramFolder folder { home.path() };
    Database db { folder.databasePath() };
    ScriptedPrompter prompter;
    TemplateLookups lookups { db, prompter };
};

} // namespace

TEST_F(TemplateLookupsTest, DefaultTemplateFallsBackToTheLowestEnabledOne)
{
    addTemplate(7, QStringLiteral("支票"), QStringLiteral("建行"), "0", "是", "启用");
    addTemplate(3, QStringLiteral("支票"), QStringLiteral("工行"), "", "是", "启用");
    addTemplate(2, QStringLiteral("支票"), QStringLiteral("旧版"), "", "是", "停用隐藏");
    EXPECT_EQ(lookups.loadDefaultCheckTypeId(QStringLiteral("支票")), 3);
    EXPECT_EQ(prompter.texts(),
        QStringList { QStringLiteral("没有设定默认的支票,请到【系统管理】-【模板管理】，设定!") });
}

TEST_F(TemplateLookupsTest, KindWithOnlyHiddenTemplatesHasNoneAndSaysBoth)
{
    addTemplate(4, QStringLiteral("进账单"), QStringLiteral("工行"), "0", "是", "停用隐藏");
    EXPECT_EQ(lookups.loadDefaultCheckTypeId(QStringLiteral("进账单")), -1);
    EXPECT_EQ(prompter.texts(),
        (QStringList { QStringLiteral("没有设定默认的进账单,请到【系统管理】-【模板管理】，设定!"),
            QStringLiteral("没有找到任何启用的【进账单】模板！") }));
}

TEST_F(TemplateLookupsTest, HiddenDefaultIsStillTheDefault)
{
    addTemplate(5, QStringLiteral("电汇单"), QStringLiteral("工行"), "0", "是", "启用");
    addTemplate(6, QStringLiteral("电汇单"), QStringLiteral("农行"), "默认", "是", "停用隐藏");
    EXPECT_EQ(lookups.loadDefaultCheckTypeId(QStringLiteral("电汇单")), 6);
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(TemplateLookupsTest, KindIsDerivedFromTheFullNameWhenItsColumnIsEmpty)
{
    struct Case
    {
        int id;
        const char* typeName;
        const char* kind;
    };
    const Case cases[] = { { 11, "支票（工商银行）", "支票" }, { 12, "支票(ASCII)", "支票" },
        { 13, "定制单", "定制单" }, { 14, "快递单（顺丰速运(新)）", "快递单" } };
    for (const Case& c : cases) {
        addTemplate(c.id, QString(), QString(), "0", "是", "启用", QString::fromUtf8(c.typeName));
        EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(c.id), QString::fromUtf8(c.kind))
            << c.typeName;
    }
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(99), QString());
}

TEST_F(TemplateLookupsTest, MissingKindColumnIsAddedAndFilled)
{
    db.execute(QStringLiteral("drop table CKTypeTable"));
    db.execute(QStringLiteral("create table CKTypeTable (CheckTypeID integer primary key, "
                              "TypeName text)"));
    db.execute(QStringLiteral("insert into CKTypeTable values (1, '支票（工行）'), "
                              "(2, '进账单(农行)'), (3, '定制单')"));
    db.close(); // the column list is read when the connection opens
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(1), QString());
    // Only a name with a parenthesis gives a stored kind; the others stay empty.
    EXPECT_EQ(db.scalar(QStringLiteral("select group_concat(kind) from (select CheckTypeID || '=' "
                                       "|| coalesce(TypeFirstName, '') as kind from CKTypeTable "
                                       "order by CheckTypeID)"))
                  .toString(),
        QStringLiteral("1=支票,2=进账单,3="));
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(1), QStringLiteral("支票"));
    EXPECT_EQ(lookups.loadCheckTypeFirstNameByID(3), QStringLiteral("定制单"));
}

TEST_F(TemplateLookupsTest, IdentityByNamesFallsBackToTheFullName)
{
    addTemplate(21, QString(), QString(), "0", "是", "启用", QStringLiteral("支票（招商银行）"));
    addTemplate(22, QStringLiteral("支票"), QStringLiteral("工行"), "0", "是", "启用");
    EXPECT_EQ(lookups.loadCheckTypeIDByFirstAndLastName(
                  QStringLiteral("支票"), QStringLiteral("招商银行")),
        21);
    EXPECT_EQ(
        lookups.loadCheckTypeIDByFirstAndLastName(QStringLiteral("支票"), QStringLiteral("工行")),
        22);
    EXPECT_EQ(
        lookups.loadCheckTypeIDByFirstAndLastName(QStringLiteral("支票"), QStringLiteral("无")), 0);
    EXPECT_EQ(lookups.loadCheckTypeIDByTypeFullName(QStringLiteral("支票（工行）")),
        QStringLiteral("22"));
    EXPECT_EQ(
        lookups.loadCheckTypeIDByTypeFullName(QStringLiteral("支票（无）")), QStringLiteral("0"));
    EXPECT_EQ(lookups.loadCheckTypeFullNameByID(22), QStringLiteral("支票（工行）"));
    EXPECT_EQ(lookups.loadCheckTypeLastNameByID(22), QStringLiteral("工行"));
    EXPECT_EQ(lookups.loadCheckTypeFullNameByID(404), QString());
}

TEST_F(TemplateLookupsTest, ListsKeepTheirOrderAndPutTheDefaultFirst)
{
    addTemplate(31, QStringLiteral("快递单"), QStringLiteral("申通速递"), "0", "是", "启用");
    addTemplate(32, QStringLiteral("快递单"), QStringLiteral("圆通速递"), "0", "否", "启用");
    addTemplate(33, QStringLiteral("快递单"), QStringLiteral("韵达快运"), "0", "是", "停用隐藏");
    addTemplate(34, QStringLiteral("快递单"), QStringLiteral("顺丰速运"), "默认", "是", "启用");
    addTemplate(35, QStringLiteral("支票"), QStringLiteral("工行"), "默认", "是", "启用");
    // A template whose name columns were never filled belongs to no kind, not to "".
    addTemplate(
        36, QString(), QStringLiteral("无类"), "0", "是", "启用", QStringLiteral("无类模板"));
    EXPECT_EQ(lookups.loadCommonTypeLastNameList(QStringLiteral("快递单")),
        (QStringList { QStringLiteral("顺丰速运"), QStringLiteral("申通速递") }));
    EXPECT_TRUE(lookups.loadCommonTypeLastNameList(QString()).isEmpty());
    EXPECT_EQ(lookups.loadCheckTypeLastNameList(QStringLiteral("快递单")).size(), 3);
    EXPECT_EQ(lookups.loadCheckTypeFullNameList(QStringLiteral("支票")),
        QStringList { QStringLiteral("支票（工行）") });
    EXPECT_EQ(lookups.loadCheckTypeFullNameList().size(), 5);
    EXPECT_TRUE(lookups.CheckTypeExists(QStringLiteral("快递单"), QStringLiteral("韵达快运")));
    EXPECT_FALSE(lookups.CheckTypeExists(QStringLiteral("快递单"), QStringLiteral("EMS")));
    EXPECT_TRUE(prompter.entries().isEmpty());

    EXPECT_TRUE(lookups.loadCheckTypeLastNameList(QString()).isEmpty());
    EXPECT_EQ(prompter.texts(),
        QStringList { QStringLiteral("没有指定单据类型，无法调入确定的模板种类！") });
}

TEST_F(TemplateLookupsTest, CatalogueKindsAndTheFirstKind)
{
    EXPECT_EQ(lookups.loadDefaultTypeFirstName(), QString());
    db.execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName) values "
                              "('进账单', 'A'), ('支票', 'B'), ('进账单', 'C')"));
    EXPECT_EQ(lookups.loadDefaultTypeFirstName(), QStringLiteral("进账单"));
    EXPECT_EQ(lookups.loadCheckTypeFirstNameList(),
        (QStringList { QStringLiteral("支票"), QStringLiteral("进账单") }));
}

TEST_F(TemplateLookupsTest, OffsetsComeFromTheFirstTemplateByCommonAndDefaultMarks)
{
    int x = 0, y = 0;
    EXPECT_FALSE(lookups.loadUserXYMoveByFirstName(QStringLiteral("支票"), x, y));
    addTemplate(41, QStringLiteral("支票"), QStringLiteral("甲"), "默认", "是", "启用");
    addTemplate(42, QStringLiteral("支票"), QStringLiteral("乙"), "0", "否", "启用");
    ASSERT_TRUE(lookups.loadUserXYMoveByFirstName(QStringLiteral("支票"), x, y));
    // "否" sorts before "是": the first by common mark wins.
    EXPECT_EQ(x, 420);
    EXPECT_EQ(y, -42);
}

TEST_F(TemplateLookupsTest, RegisteredNumbersByState)
{
    db.execute(
        QStringLiteral("insert into DataZPTable (票据编号, 票据状态) values "
                       "('001', '未用'), ('002', '已用'), ('001', '未用'), ('003', '未用')"));
    EXPECT_EQ(lookups.loadCheckNOList(QStringLiteral("DataZPTable"), QStringLiteral("未用"),
                  QStringLiteral("票据编号")),
        (QStringList { QStringLiteral("001"), QStringLiteral("003") }));
    EXPECT_EQ(
        lookups
            .loadCheckNOList(QStringLiteral("DataZPTable"), QString(), QStringLiteral("票据编号"))
            .size(),
        3);
    EXPECT_THROW(lookups.loadCheckNOList(QStringLiteral("DataZPTable; drop table x"), QString(),
                     QStringLiteral("票据编号")),
        DbError);
}

TEST(TemplateNames, TypeCodesAndCleanVariants)
{
    EXPECT_EQ(TemplateLookups::getTypeCodeByTypeName(QStringLiteral("发票及收据")),
        QStringLiteral("fpiv"));
    EXPECT_EQ(TemplateLookups::getTypeCodeByTypeName(QStringLiteral("国际货运发票")),
        QStringLiteral("ivIntel"));
    EXPECT_EQ(TemplateLookups::getTypeCodeByTypeName(QStringLiteral("收款收据")), QString());
    EXPECT_EQ(TemplateLookups::cleanVariantName(QStringLiteral(" 工行(新)（2010） 'x'%*? ")),
        QStringLiteral("工行新2010x"));
}
