#include "settings/Settings.h"
#include "printing/Services.h"
#include "store/Installation.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    SettingsTest() { ensureInstallation(ProgramFolder(home.path())); }

    int rows(const QString& sql, const QVariantList& values = {})
    {
        return services.db().scalar(sql, values).toInt();
    }

    // A cheque template 5 with two catalogue items, one laid out and shown.
    void addChequeTemplate()
    {
        Database& db = services.db();
        db.execute(
            QStringLiteral("insert into NameDict (CheckTypeName, CtlName) values "
                           "('支票', 'ZDJEXX'), ('支票', 'ZDINCOMP'), ('进账单', 'ZDOTHER')"));
        db.execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName) values "
                                  "(5, '支票')"));
        db.execute(QStringLiteral("insert into CKControl (CheckTypeID, CtlName, SrcX, SrcY, SrcW, "
                                  "SrcH, NeedShow, InitValue) values (5, 'zdJEXX', 120, 40, 90, "
                                  "20, 1, '人民币')"));
        db.execute(QStringLiteral("insert into DMTable (DMName, DMValue, CheckTypeID) values "
                                  "('cfgDateChinese', '1', 5), ('用途', '货款', 5), "
                                  "('cfgPrintOutBank', '0', 6)"));
    }

    TempHome home;
    ScriptedPrompter prompter;
    Services services { home.path(), prompter };
    Settings& settings = services.settings();
};

} // namespace

TEST_F(SettingsTest, ConfigTableInsertsOnceUpdatesAfterwardsAndReadsTrimmed)
{
    EXPECT_EQ(settings.getConfigByname(QStringLiteral("启用默认出票人")), QString());
    ASSERT_TRUE(settings.setConfigByname(QStringLiteral("启用默认出票人"), QStringLiteral("yes")));
    ASSERT_TRUE(settings.setConfigByname(QStringLiteral("启用默认出票人"), QStringLiteral("no")));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from configtable")), 1);
    EXPECT_EQ(settings.getConfigByname(QStringLiteral("启用默认出票人")), QStringLiteral("no"));

    // A key stored with blanks is found when read, but an update inserts an exact row.
    services.db().execute(QStringLiteral("insert into configtable (cname, cvalue) values "
                                         "(' DefaultPrinter ', 'LQ-630K')"));
    EXPECT_EQ(
        settings.getConfigByname(QStringLiteral("DefaultPrinter")), QStringLiteral("LQ-630K"));
    settings.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("PDF"));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from configtable where ltrim(rtrim(cname))="
                                  "'DefaultPrinter'")),
        2);
}

TEST_F(SettingsTest, YesAndOneBothCountAsTicked)
{
    for (const auto& [value, ticked] :
        std::initializer_list<std::pair<const char*, bool>> { { "yes", true }, { "1", true },
            { " YES ", true }, { "no", false }, { "0", false }, { "", false } })
        EXPECT_EQ(Settings::isYes(QString::fromLatin1(value)), ticked) << value;
}

TEST_F(SettingsTest, UserAndDebugFilesWriteThrough)
{
    settings.setINIConfigByname(QStringLiteral("ZPView_DBLOPEN"), QStringLiteral("1"));
    settings.DebugOutN(QStringLiteral("getControlValue"), QStringLiteral("zdX=nil  not found."));
    settings.DebugOutN(QStringLiteral("getControlValue"), QStringLiteral("zdY=nil  not found."));
    settings.DebugOut(QStringLiteral("plain"), QStringLiteral("text"));

    const IniFile config(services.folder().configIniPath());
    EXPECT_EQ(config.readString(QStringLiteral("config"), QStringLiteral("zpview_dblopen")),
        QStringLiteral("1"));
    EXPECT_EQ(settings.OpenUserIniFile().readString(
                  QStringLiteral("Config"), QStringLiteral("ZPView_DBLOPEN")),
        QStringLiteral("1"));
    const IniFile debug(services.folder().debugIniPath());
    EXPECT_EQ(debug.keys(QStringLiteral("debug")),
        (QStringList { QStringLiteral("getControlValue-1"), QStringLiteral("getControlValue-2"),
            QStringLiteral("plain") }));
}

TEST_F(SettingsTest, TemplateOptionsInsertThenUpdateWithoutRegardToCase)
{
    addChequeTemplate();
    EXPECT_TRUE(
        settings.setCheckConfigByName(5, QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("1")));
    EXPECT_TRUE(
        settings.setCheckConfigByName(5, QStringLiteral("CFGJEDXRMBCHECKED"), QStringLiteral("0")));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from DMTable where CheckTypeID=5 and "
                                  "DMName='cfgJEDXRMBChecked' and DMValue='0'")),
        1);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from DMTable where CheckTypeID=5 and "
                                  "ucase(DMName)='CFGJEDXRMBCHECKED'")),
        1);

    services.db().execute(QStringLiteral("drop table DMTable"));
    EXPECT_FALSE(settings.setCheckConfigByName(5, QStringLiteral("cfgX"), QStringLiteral("1")));
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_TRUE(prompter.texts()[0].startsWith(QStringLiteral("cfgX设置模板参数错误:")));
}

TEST_F(SettingsTest, LayoutCacheIsBuiltFromTheTemplateAndRebuiltWhenForgotten)
{
    addChequeTemplate();
    auto cache = settings.OpenCheckInif(5);
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->path(), home.file(QStringLiteral("Temp/CheckIni/5.ini")));
    EXPECT_EQ(cache->readString(QStringLiteral("view"), QStringLiteral("ConfigItems")),
        QStringLiteral("ZDJEXX,ZDINCOMP,"));
    struct Key
    {
        const char* section;
        const char* key;
        int value;
    };
    for (const Key& k : { Key { "viewx", "ZDJEXX.x", 120 }, Key { "viewy", "ZDJEXX.y", 40 },
             Key { "vieww", "ZDJEXX.w", 90 }, Key { "viewh", "ZDJEXX.h", 20 },
             Key { "viewv", "ZDJEXX.v", 1 } })
        EXPECT_EQ(
            cache->readInteger(QString::fromLatin1(k.section), QString::fromLatin1(k.key), -1),
            k.value)
            << k.key;
    EXPECT_EQ(cache->readString(QStringLiteral("viewdv"), QStringLiteral("ZDJEXX.dv")),
        QStringLiteral("人民币"));
    EXPECT_EQ(Settings::getInifCheckConfigByName(cache.get(), QStringLiteral("cfgDateChinese")),
        QStringLiteral("1"));
    EXPECT_EQ(Settings::getInifCheckConfigByName(cache.get(), QStringLiteral("用途")), QString());
    EXPECT_EQ(
        Settings::getInifCheckConfigByName(nullptr, QStringLiteral("cfgDateChinese")), QString());
    EXPECT_EQ(services.db()
                  .scalar(QStringLiteral("select IniFile from CKTypeTable where "
                                         "CheckTypeID=5"))
                  .toString(),
        QStringLiteral("5.ini"));

    // A changed option is not seen until the cache is forgotten, then it is rebuilt.
    settings.setCheckConfigByName(5, QStringLiteral("cfgDateChinese"), QStringLiteral("0"));
    EXPECT_EQ(settings.OpenCheckInif(5)->readString(
                  QStringLiteral("CheckConfig"), QStringLiteral("cfgDateChinese")),
        QStringLiteral("1"));
    services.db().execute(QStringLiteral("update CKTypeTable set IniFile=''"));
    services.db().execute(QStringLiteral("delete from CKControl where CheckTypeID=5"));
    const auto rebuilt = settings.OpenCheckInif(5);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->readString(QStringLiteral("CheckConfig"), QStringLiteral("cfgDateChinese")),
        QStringLiteral("0"));
    // A layout row that is gone leaves no stale place behind.
    EXPECT_FALSE(rebuilt->hasKey(QStringLiteral("viewx"), QStringLiteral("ZDJEXX.x")));
}
