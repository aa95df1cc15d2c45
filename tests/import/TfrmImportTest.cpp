#include "SheetFiles.h"

#include "import/ColumnMatch.h"
#include "import/ImportColumnCfg.h"
#include "import/PartyImport.h"
#include "import/TfrmImport.h"
#include "platform/FileChooser.h"
#include "platform/Shell.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pennock;
using test::TestCell;

namespace {

QString u8(const char* text) { return QString::fromUtf8(text); }

class RecordingShell final : public core::Shell
{
public:
    bool openUrl(const QString& address) override
    {
        urls << address;
        return true;
    }
    bool startProgram(const QString&, const QStringList& = {}) override { return false; }
    bool runCommand(const QString&, const QStringList& = {}) override { return false; }
    QStringList urls;
};

class OneFile final : public core::FileChooser
{
public:
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString openFileName(QWidget*, const QString&, const QString& filter) override
    {
        filters << filter;
        return path;
    }
    QString path;
    QStringList filters;
};

class TfrmImportTest : public ::testing::Test
{
protected:
    TfrmImportTest() { core::ensureSeededInstallation(core::ProgramFolder(home.path())); }

    QString sheetFile(const QList<QList<TestCell>>& rows)
    {
        const QString path = home.file(u"book.xlsx"_qs);
        test::writeXlsx(path, { { u"第一页"_qs, rows }, { u"空白"_qs, {} } });
        return path;
    }
    int parties()
    {
        return services.db().scalar(u"select count(*) from CKPersonalInfoTable"_qs).toInt();
    }

    test::TempHome home;
    test::ScriptedPrompter prompter;
    core::Services services { home.path(), prompter };
    RecordingShell shell;
    OneFile files;
};

TestCell s(const char* text) { return TestCell::str(QString::fromUtf8(text)); }

TEST_F(TfrmImportTest, ChoosingAFileFillsTheSheetsAndMatchesTheDropDowns)
{
    ui::TfrmImport window(services, files, shell);
    EXPECT_EQ(window.windowTitle(), u8("Pennock软件-收、发件人资料导入"));
    EXPECT_FALSE(window.gbScene->isEnabled());
    EXPECT_EQ(window.scene(), 0);
    EXPECT_FALSE(window.btStart->isEnabled());
    EXPECT_EQ(window.itemBox(core::kTypeItem)->currentText(), u8("往来单位"));
    files.path = sheetFile({ { s("收货人"), s("姓名"), s("收件人电话"), s("地址"), {}, s("类型") },
        { s("张三"), s("x"), s("1"), s("a"), {}, s("我方单位") } });
    window.btBrowse->click();
    ASSERT_EQ(files.filters.size(), 1);
    EXPECT_TRUE(files.filters[0].startsWith(u"Excel(*.xls,*.csv,*.xlw,*.et)"_qs));
    EXPECT_EQ(window.ed_file->text(), files.path);
    EXPECT_EQ(window.cboWorkSheets->count(), 2);
    EXPECT_EQ(window.titleEntries(),
        (QStringList { QString(), u8("列1:收货人"), u8("列2:姓名"), u8("列3:收件人电话"),
            u8("列4:地址"), u8("列6:类型") }));
    EXPECT_EQ(window.itemBox(1)->currentText(), u8("列1:收货人"));
    EXPECT_EQ(window.itemBox(2)->currentText(), u8("列3:收件人电话"));
    EXPECT_EQ(window.itemBox(0)->currentText(), QString());
    // "固定": the type box holds the two types only.
    EXPECT_EQ(window.itemBox(core::kTypeItem)->count(), 2);
    EXPECT_EQ(window.itemBox(core::kTypeItem)->currentText(), u8("往来单位"));
    EXPECT_TRUE(window.btStart->isEnabled());
    EXPECT_FALSE(window.btLog->isEnabled());

    // Corrected by hand: the second column is the full name, the type comes from its column.
    window.itemBox(0)->setCurrentIndex(2);
    window.ckType->click();
    EXPECT_EQ(window.itemBox(core::kTypeItem)->count(), 6);
    window.itemBox(core::kTypeItem)->setCurrentIndex(5);
    window.btReadyMatchClick();
    EXPECT_EQ(window.columns().items[0], 2);
    EXPECT_EQ(window.columns().items[core::kTypeItem], 6);

    // A sheet without titles says so and leaves only the empty entry.
    window.cboWorkSheets->setCurrentIndex(1);
    window.sheetChosen(1);
    EXPECT_EQ(prompter.texts().last(),
        u8("Excel的[空白]没有可识别的列(表格第一行必须为非空的列标题，比如：联系人,电话..)!"));
    EXPECT_EQ(window.itemBox(1)->count(), 1);
}

TEST_F(TfrmImportTest, TheRunImportsShowsTheSummaryRefreshesTheManagerAndCloses)
{
    ui::TfrmImport window(services, files, shell);
    int refreshed = 0;
    window.setAfterRun([&refreshed] { ++refreshed; });
    window.chooseFile(sheetFile(
        { { s("单位全称"), s("联系人") }, { s("甲"), s("张三") }, { s("甲"), s("张三") } }));
    window.ckReadLog->setChecked(false);
    window.show();
    window.btStart->click();
    EXPECT_EQ(parties(), 1);
    EXPECT_EQ(prompter.entries().last().caption, u8("导入结束"));
    EXPECT_EQ(prompter.texts().last(),
        u8("导入结束，共有 1 条导入成功！\r\n 其中跳过了1 "
           "条重复的或无效(单位、联系人、电话都为空)的记录！"));
    EXPECT_EQ(refreshed, 1);
    EXPECT_TRUE(window.btLog->isEnabled());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.progress->value(), window.progress->maximum());
    window.btLog->click();
    EXPECT_EQ(
        shell.urls, QStringList { QUrl::fromLocalFile(home.file(u"ImportLog.txt"_qs)).toString() });
}

TEST_F(TfrmImportTest, ReadingTheLogInsteadOfTheSummaryWhenTicked)
{
    ui::TfrmImport window(services, files, shell);
    window.chooseFile(sheetFile({ { s("联系人") }, { s("张三") } }));
    window.btStart->click();
    EXPECT_EQ(shell.urls.size(), 1);
    EXPECT_TRUE(shell.urls[0].endsWith(u"/ImportLog.txt"_qs));
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(TfrmImportTest, StopButtonDuringTheRunKeepsWhatWasImported)
{
    QList<QList<TestCell>> rows { { s("联系人") } };
    for (int i = 0; i < 40; ++i)
        rows << QList<TestCell> { TestCell::str(QStringLiteral("客户%1").arg(i)) };
    ui::TfrmImport window(services, files, shell);
    window.chooseFile(sheetFile(rows));
    window.ckReadLog->setChecked(false);
    window.show();
    // Pressed while the run lets input through, at the first row.
    QTimer::singleShot(0, window.btStopIt, &QPushButton::click);
    prompter.queueAnswer(true);
    window.btStart->click();
    // The press is seen at the first moment the run lets input through.
    const int stoppedAt = window.summary().stoppedAtRow;
    EXPECT_GE(stoppedAt, 2);
    EXPECT_LE(stoppedAt, 12);
    EXPECT_EQ(parties(), stoppedAt - 1);
    EXPECT_EQ(prompter.texts().first(), u8("需要中止导出操作吗？"));
    EXPECT_EQ(core::IniFile(window.logPath()).readString(u"INFO"_qs, u"Stop"_qs),
        u8("用户中止于第%1行，其后的行未导入").arg(stoppedAt));
}

TEST_F(TfrmImportTest, TickBoxesKeepTheirSettings)
{
    {
        ui::TfrmImport window(services, files, shell);
        EXPECT_TRUE(window.cfgWPSFirst->isChecked());
        EXPECT_FALSE(window.ckOrderIDOn->isChecked());
        window.cfgWPSFirst->click();
        window.ckOrderIDOn->click();
        EXPECT_EQ(services.settings().getINIConfigByname(u"MS EXCEL FIRST"_qs), u"1"_qs);
        EXPECT_EQ(services.settings().getINIConfigByname(u"ckOrderIDOn"_qs), u"1"_qs);
        window.ckJudgeRepeated->click();
        EXPECT_FALSE(window.ckName->isChecked() || window.ckContactor->isChecked()
            || window.ckPhone->isChecked());
    }
    ui::TfrmImport again(services, files, shell);
    EXPECT_FALSE(again.cfgWPSFirst->isChecked());
    EXPECT_TRUE(again.ckOrderIDOn->isChecked());
}

TEST_F(TfrmImportTest, AnUnreadableFileSaysWhyAndKeepsStartDisabled)
{
    ui::TfrmImport window(services, files, shell);
    const QString path = home.file(u"bad.xlsx"_qs);
    home.write(u"bad.xlsx"_qs, "PK\x03\x04 not a zip");
    window.chooseFile(path);
    EXPECT_TRUE(prompter.texts().last().startsWith(u8("EXCEL导入错误,")));
    EXPECT_FALSE(window.btStart->isEnabled());
}

TEST_F(TfrmImportTest, RulesWindowCleansAndStoresTheRuleAndOpensMaintenanceOnItsCode)
{
    ui::TfrmImportColumnCfg config(services);
    EXPECT_EQ(config.windowTitle(), u8("导入列匹配-设置"));
    EXPECT_FALSE(config.cbScene->isEnabled());
    ASSERT_GT(config.grid->rowCount(), 10);
    const int row = [&] {
        for (int r = 0; r < config.grid->rowCount(); ++r)
            if (config.grid->item(r, 1)->text() == u8("联系人"))
                return r;
        return -1;
    }();
    ASSERT_GE(row, 0);
    config.grid->setCurrentCell(row, 1);
    EXPECT_EQ(config.edItemName->text(), u8("联系人"));
    config.edSourceName->setText(u8("联系人，收货人,,收件人'"));
    config.btSubmitClick();
    EXPECT_EQ(core::loadMatchRule(services.db(), u8("联系人")), u8("联系人,收货人,收件人"));
    config.edSourceName->setText(u8(" '? "));
    config.btSubmitClick();
    EXPECT_EQ(prompter.texts().last(), u8("请输入有效的Excel/csv列名"));
    EXPECT_EQ(core::loadMatchRule(services.db(), u8("联系人")), u8("联系人,收货人,收件人"));

    EXPECT_TRUE(config.btAdd->isHidden());
    EXPECT_FALSE(config.edItemName->isEnabled());
    config.edShowOrd->setText(u"4736285"_qs);
    EXPECT_FALSE(config.btAdd->isHidden());
    EXPECT_TRUE(config.edItemName->isEnabled());
    config.edShowOrd->setText(u"3"_qs);
    EXPECT_FALSE(config.btAdd->isHidden());
    EXPECT_FALSE(config.edItemName->isEnabled());
    const int before = config.grid->rowCount();
    config.btAddClick();
    EXPECT_EQ(config.grid->rowCount(), before + 1);
    config.btDeleteClick();
    EXPECT_EQ(config.grid->rowCount(), before);
}

} // namespace
