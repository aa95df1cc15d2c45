#include "settings/IniFile.h"
#include "support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::TempHome;

TEST(IniFile, ReadsLikeAWindowsProfile)
{
    TempHome home;
    home.write(QStringLiteral("Config.ini"),
        "\xEF\xBB\xBF[FM_Main]\r\nToolBarMain = 0 \r\n[Info]\r\nnm=\xE5\x8C\x97\xE4\xBA\xAC\r\n");
    const IniFile ini(home.file(QStringLiteral("Config.ini")));
    EXPECT_TRUE(ini.errorString().isEmpty());
    EXPECT_EQ(ini.readString(QStringLiteral("fm_main"), QStringLiteral("TOOLBARMAIN")),
        QStringLiteral("0"));
    EXPECT_EQ(ini.readString(QStringLiteral("INFO"), QStringLiteral("NM")), QStringLiteral("北京"));
    EXPECT_EQ(
        ini.readString(QStringLiteral("Info"), QStringLiteral("missing"), QStringLiteral("d")),
        QStringLiteral("d"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("Info"), QStringLiteral("nm"), 40), 40);
}

TEST(IniFile, WritesRoundTripAndKeepTheFirstSpellingOfASection)
{
    TempHome home;
    const QString path = home.file(QStringLiteral("sub/x.ini"));
    {
        IniFile ini(path);
        ini.writeString(
            QStringLiteral("CheckConfig"), QStringLiteral("cfgDateChinese"), QStringLiteral("1"));
        ini.writeString(
            QStringLiteral("CHECKCONFIG"), QStringLiteral("CFGDATECHINESE"), QStringLiteral("0"));
        ini.writeString(QStringLiteral("viewx"), QStringLiteral("ZDJEXX.x"), QStringLiteral("120"));
        ASSERT_TRUE(ini.flush()) << ini.errorString().toStdString();
    }
    IniFile back(path);
    EXPECT_EQ(
        back.keys(QStringLiteral("checkconfig")), QStringList { QStringLiteral("cfgDateChinese") });
    EXPECT_EQ(back.readString(QStringLiteral("CheckConfig"), QStringLiteral("cfgdatechinese")),
        QStringLiteral("0"));
    EXPECT_EQ(back.readInteger(QStringLiteral("VIEWX"), QStringLiteral("zdjexx.x"), 30), 120);
    back.eraseSection(QStringLiteral("VIEWX"));
    ASSERT_TRUE(back.flush());
    EXPECT_FALSE(IniFile(path).hasKey(QStringLiteral("viewx"), QStringLiteral("ZDJEXX.x")));
}

TEST(IniFile, ReportsAFileThatCannotBeWritten)
{
    TempHome home;
    home.write(QStringLiteral("blocker"), "a file where a folder should be");
    IniFile ini(home.file(QStringLiteral("blocker/x.ini")));
    ini.writeString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    EXPECT_FALSE(ini.flush());
    EXPECT_TRUE(ini.errorString().contains(QStringLiteral("x.ini")));
}
