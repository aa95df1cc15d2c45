#include "templates/Seed.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/FormDescription.h"
#include "templates/PrinterPresets.h"

#include <QImageReader>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

const QStringList kKinds = {
    QStringLiteral("支票"),
    QStringLiteral("进账单"),
    QStringLiteral("电汇单"),
    QStringLiteral("缴款单"),
    QStringLiteral("承兑汇票"),
    QStringLiteral("境外汇款申请书"),
    QStringLiteral("定制单"),
    QStringLiteral("普通发票收据"),
    QStringLiteral("出口商品发票"),
    QStringLiteral("国际货运发票"),
    QStringLiteral("快递单"),
};

// One seeded installation for the whole suite: seeding is what is under test, not repeated.
class SeedTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        home = new TempHome;
        ensureSeededInstallation(ProgramFolder(home->path()));
    }
    static void TearDownTestSuite()
    {
        delete home;
        home = nullptr;
    }

    QStringList column(const QString& sql, const QVariantList& values = {})
    {
        QStringList out;
        QSqlQuery q = db.exec(sql, values);
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

    // The column as one comma-separated text, readable in a failure message.
    std::string joined(const QString& sql, const QVariantList& values = {})
    {
        return column(sql, values).join(QLatin1Char(',')).toStdString();
    }

    static TempHome* home;
    ProgramFolder folder { home->path() };
    Database db { folder.databasePath() };
};

TempHome* SeedTest::home = nullptr;

} // namespace

TEST_F(SeedTest, EveryKindHasOneEnabledDefaultTemplate)
{
    EXPECT_EQ(column(QStringLiteral("select distinct CheckTypeName from NameDict")).size(),
        kKinds.size());
    for (const QString& kind : kKinds) {
        EXPECT_EQ(
            column(QStringLiteral("select CheckTypeID from CKTypeTable where TypeFirstName=? "
                                  "and IsDefault='默认' and Visiable='启用' and IsCommon='是'"),
                { kind })
                .size(),
            1)
            << kind.toStdString();
        EXPECT_EQ(column(QStringLiteral("select CheckTypeID from CKTypeTable where TypeFirstName=? "
                                        "and IsDefault='默认'"),
                      { kind })
                      .size(),
            1)
            << kind.toStdString();
    }
    const QStringList names = column(QStringLiteral("select TypeName from CKTypeTable"));
    for (const QString& name : names)
        EXPECT_EQ(name.count(QStringLiteral("（")), 1) << name.toStdString();
    EXPECT_EQ(
        column(QStringLiteral("select TypeDescribe from CKTypeTable where TypeFirstName='快递单' "
                              "order by TypeDescribe")),
        (QStringList { QStringLiteral("圆通速递"), QStringLiteral("申通速递"),
            QStringLiteral("邮政快递"), QStringLiteral("韵达快运"), QStringLiteral("顺丰速运") }));
    for (const char* bankKind :
        { "支票", "进账单", "电汇单", "缴款单", "承兑汇票", "境外汇款申请书" })
        EXPECT_GE(column(QStringLiteral("select CheckTypeID from CKTypeTable where TypeFirstName=? "
                                        "and Visiable='启用'"),
                      { QString::fromUtf8(bankKind) })
                      .size(),
            2)
            << bankKind;
}

TEST_F(SeedTest, EveryPrintableItemIsLaidOutOnItsKindsDefaultTemplate)
{
    const QStringList missing = column(QStringLiteral(
        "select n.CheckTypeName || ':' || n.CtlName from NameDict n join CKTypeTable t on "
        "t.TypeFirstName=n.CheckTypeName and t.IsDefault='默认' where n.PrintItem=1 and not exists "
        "(select 1 from CKControl c where c.CheckTypeID=t.CheckTypeID and c.CtlName=n.CtlName)"));
    EXPECT_TRUE(missing.isEmpty()) << missing.join(' ').toStdString();
    const QStringList stray = column(QStringLiteral(
        "select c.CheckTypeID || ':' || c.CtlName from CKControl c join CKTypeTable t on "
        "t.CheckTypeID=c.CheckTypeID where not exists (select 1 from NameDict n where "
        "n.CheckTypeName=t.TypeFirstName and n.CtlName=c.CtlName)"));
    EXPECT_TRUE(stray.isEmpty()) << stray.join(' ').toStdString();
    EXPECT_EQ(column(QStringLiteral("select CtlName from NameDict where CtlName<>upper(CtlName) "
                                    "collate binary")),
        QStringList());
}

TEST_F(SeedTest, LayoutsLieOnThePaperAndOnThePicture)
{
    const QStringList outside = column(QStringLiteral(
        "select c.CheckTypeID || ':' || c.CtlName from CKControl c join CKTypeTable t on "
        "t.CheckTypeID=c.CheckTypeID where c.CtlX<0 or c.CtlY<0 or c.CtlX+c.CtlW>t.PWidth or "
        "c.CtlY+c.CtlH>t.PHeight or c.SrcX+c.SrcW>t.Twidth+1 or c.SrcY+c.SrcH>t.Theight+1"));
    EXPECT_TRUE(outside.isEmpty()) << outside.join(' ').toStdString();
}

TEST_F(SeedTest, EveryTemplateHasItsPictureAtItsScreenSize)
{
    QSqlQuery q
        = db.exec(QStringLiteral("select TypeName, ImgFile, Twidth, Theight, PWidth, PHeight "
                                 "from CKTypeTable"));
    int templates = 0;
    while (q.next()) {
        ++templates;
        const QString name = q.value(0).toString();
        QImageReader reader(folder.path(QStringLiteral("Image/") + q.value(1).toString()));
        EXPECT_EQ(reader.size(), QSize(q.value(2).toInt(), q.value(3).toInt()))
            << name.toStdString();
        // Real bill papers: from a cheque to an A4 sheet.
        EXPECT_GE(q.value(4).toInt(), 1500) << name.toStdString();
        EXPECT_LE(q.value(4).toInt(), 2500) << name.toStdString();
        EXPECT_GE(q.value(5).toInt(), 700) << name.toStdString();
        EXPECT_LE(q.value(5).toInt(), 2970) << name.toStdString();
    }
    EXPECT_GE(templates, 21);
    for (const char* system : { "sys_boot.jpg", "sys_bg.jpg", "sys_PosExp.jpg", "sys_exZX.jpg",
             "sys_exHX.jpg", "dhd_default.jpg" })
        EXPECT_TRUE(
            QImageReader(folder.path(QStringLiteral("image\\") + QString::fromLatin1(system)))
                .canRead())
            << system;
}

TEST_F(SeedTest, EveryBankTemplateShowsItsDatePickerAndPartyPickersBesideTheFields)
{
    const QList<QPair<QString, QStringList>> pickers = {
        { QStringLiteral("支票"), { "SELDATE", "SHPHKR", "SHPSKR" } },
        { QStringLiteral("进账单"), { "SELDATE", "SHPHKR", "SHPSKR" } },
        { QStringLiteral("承兑汇票"), { "SELDATE", "SHPHKR", "SHPSKR" } },
        { QStringLiteral("电汇单"), { "SELDATE", "SHPHKR", "SHPSKR" } },
        { QStringLiteral("定制单"), { "SELDATE", "SHPHKR", "SHPSKR" } },
        { QStringLiteral("缴款单"), { "SELDATE", "SHPSKR" } },
        { QStringLiteral("境外汇款申请书"),
            { "SELDATE", "SELOUTCOMP", "SELINCOMP", "SELINAGENTBANK" } },
    };
    for (const auto& [kind, names] : pickers) {
        const QStringList templates = column(
            QStringLiteral("select CheckTypeID from CKTypeTable where TypeFirstName=?"), { kind });
        ASSERT_FALSE(templates.isEmpty()) << kind.toStdString();
        for (const QString& name : names) {
            const std::string what = (kind + QLatin1Char(':') + name).toStdString();
            EXPECT_EQ(joined(QStringLiteral("select PrintItem from NameDict where CheckTypeName=? "
                                            "and CtlName=?"),
                          { kind, name }),
                "0")
                << what;
            for (const QString& id : templates) {
                // Shown, on the picture, and over no other item: a control on top of another
                // takes its clicks.
                EXPECT_EQ(
                    joined(QStringLiteral(
                               "select c.NeedShow || ':' || (c.SrcX>=0 and c.SrcY>=0 and "
                               "c.SrcX+c.SrcW<=t.Twidth and c.SrcY+c.SrcH<=t.Theight) from "
                               "CKControl c join CKTypeTable t on t.CheckTypeID=c.CheckTypeID "
                               "where c.CheckTypeID=? and c.CtlName=?"),
                        { id, name }),
                    "1:1")
                    << what << " in " << id.toStdString();
                EXPECT_EQ(joined(QStringLiteral(
                                     "select o.CtlName from CKControl c join CKControl o on "
                                     "o.CheckTypeID=c.CheckTypeID and o.ID<>c.ID where "
                                     "c.CheckTypeID=? and c.CtlName=? and c.CtlX<o.CtlX+o.CtlW and "
                                     "o.CtlX<c.CtlX+c.CtlW and c.CtlY<o.CtlY+o.CtlH and "
                                     "o.CtlY<c.CtlY+c.CtlH"),
                              { id, name }),
                    "")
                    << what << " in " << id.toStdString();
            }
        }
    }
}

TEST_F(SeedTest, ChequesAndAcceptanceBillsStartWithTheIssueDateInCapitals)
{
    ScriptedPrompter prompter;
    Settings settings(db, folder, prompter);
    const QList<QPair<QString, QString>> expected = {
        { QStringLiteral("支票"), QStringLiteral("1") },
        { QStringLiteral("承兑汇票"), QStringLiteral("1") },
        { QStringLiteral("进账单"), QString() },
    };
    for (const auto& [kind, value] : expected) {
        const QStringList templates = column(
            QStringLiteral("select CheckTypeID from CKTypeTable where TypeFirstName=?"), { kind });
        ASSERT_FALSE(templates.isEmpty()) << kind.toStdString();
        for (const QString& id : templates) {
            const auto cache = settings.OpenCheckInif(id.toInt());
            ASSERT_TRUE(cache) << id.toStdString();
            EXPECT_EQ(
                Settings::getInifCheckConfigByName(cache.get(), QStringLiteral("cfgDateChinese"))
                    .toStdString(),
                value.toStdString())
                << kind.toStdString() << ' ' << id.toStdString();
        }
    }
}

TEST(FormDescriptionOptions, AreTextsAndAWrongOneNamesTheFile)
{
    const QByteArray form = R"({"image": "x.jpg", "paper": [200, 90], "options": %1})";
    const FormDescription f = parseFormDescription(
        QByteArray(form).replace("%1", R"({"cfgDateChinese": "1", "cfgNoPrtDate": ""})"),
        QStringLiteral("x.json"));
    EXPECT_EQ(f.options,
        (QList<QPair<QString, QString>> { { QStringLiteral("cfgDateChinese"), QStringLiteral("1") },
            { QStringLiteral("cfgNoPrtDate"), QString() } }));
    for (const char* wrong : { R"({"cfgDateChinese": 1})", R"(["cfgDateChinese"])" }) {
        try {
            parseFormDescription(QByteArray(form).replace("%1", wrong), QStringLiteral("x.json"));
            ADD_FAILURE() << wrong;
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("x.json: ")))
                << e.what();
        }
    }
}

TEST_F(SeedTest, ReferenceDataIsReady)
{
    EXPECT_EQ(column(QStringLiteral("select 币种 || 缩写 from coins order by 顺序 desc limit 2")),
        (QStringList { QStringLiteral("人民币￥"), QStringLiteral("美元USD") }));
    EXPECT_EQ(column(QStringLiteral("select 二级代码 from DMTable2 where 类型='省市' and "
                                    "一级代码='北京市' and 二级代码='海淀区'"))
                  .size(),
        1);
    EXPECT_GE(column(QStringLiteral("select distinct 一级代码 from DMTable2")).size(), 34);
    EXPECT_EQ(
        column(QStringLiteral("select ItemName from MatchColumn where MatchType='收件信息导入'"))
            .size(),
        33);
    EXPECT_TRUE(column(QStringLiteral("select SourceName from MatchColumn where ItemName='订单号'"))
                    .value(0)
                    .startsWith(QLatin1Char('\t')));
    EXPECT_EQ(column(QStringLiteral("select cvalue from configtable where cname='启用默认出票人'")),
        QStringList { QStringLiteral("no") });
    EXPECT_FALSE(column(QStringLiteral("select DMValue from DMTable where DMName='用途' and "
                                       "CheckTypeID=0"))
                     .isEmpty());
}

TEST_F(SeedTest, ANewInstallationOffersTheKnownBillPrinters)
{
    const IniFile config(folder.configIniPath());
    const QStringList models = presetModels(config);
    EXPECT_TRUE(models.contains(QStringLiteral("EPSON LQ-630K"))) << models.join(',').toStdString();
    EXPECT_EQ(
        readPreset(config, QStringLiteral("EPSON LQ-630K")).direction, QStringLiteral("纵向"));
}

TEST_F(SeedTest, ASecondStartSeedsNothingTwice)
{
    const QString before = db.scalar(QStringLiteral("select count(*) from NameDict")).toString()
        + db.scalar(QStringLiteral("select count(*) from CKControl")).toString();
    ensureSeededInstallation(folder);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from NameDict")).toString()
            + db.scalar(QStringLiteral("select count(*) from CKControl")).toString(),
        before);
}

TEST(ReadTsv, NamesFieldsByTheHeaderAndRejectsRaggedRows)
{
    const auto rows = readTsv("a\tb\r\n1\t2\n\n3\t\n", QStringLiteral("t.tsv"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].value(QStringLiteral("b")), QStringLiteral("2"));
    EXPECT_EQ(rows[1].value(QStringLiteral("b")), QString());
    EXPECT_THROW(readTsv("a\tb\n1\n", QStringLiteral("t.tsv")), std::runtime_error);
}
