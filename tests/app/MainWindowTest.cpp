#include "app/MainWindow.h"
#include "ScriptedShell.h"
#include "bills/AmountInputBox.h"
#include "bills/BillFormRegistry.h"
#include "bills/BillKind.h"
#include "bills/TemplatedForm.h"
#include "bills/TfmBillForm.h"
#include "parties/PersonManage.h"
#include "printing/PrinterBinding.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "settings/ProgramRegistry.h"
#include "store/Installation.h"
#include "support/ScriptedPrinterDialog.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

using namespace pennock::core;
using pennock::test::ScriptedPrinterDialog;
using pennock::test::ScriptedPrompter;
using pennock::test::ScriptedShell;
using pennock::test::TempHome;
using pennock::ui::BillFormRegistry;
using pennock::ui::TfmMain;

namespace {

QString u8(const char* text) { return QString::fromUtf8(text); }

/// A test-only bill form: reports a template tag, counts re-layouts and records the keys it gets.
class FakeBillForm : public QWidget, public pennock::ui::TemplatedForm
{
public:
    explicit FakeBillForm(int tag)
        : mTag(tag)
    {
        setFocusPolicy(Qt::StrongFocus);
    }
    int templateTag() const override { return mTag; }
    void reinitTemplate() override { ++reinits; }

    int reinits = 0;
    QList<int> keys;
    int wheels = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys << event->key(); }
    void wheelEvent(QWheelEvent*) override { ++wheels; }

private:
    int mTag;
};

// No test here may reach a scheduler of the machine: the window finds no printer.
const auto* const kNoScheduler
    = ::testing::AddGlobalTestEnvironment(new pennock::test::NoPrintScheduler);

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest() { ensureInstallation(folder); }

    std::unique_ptr<TfmMain> makeWindow()
    {
        auto window = std::make_unique<TfmMain>(services, shell, registry, nullptr, &printerDialog);
        window->show();
        return window;
    }

    /// Forms for a cheque (tag 7), a waybill (tag 11), a wire transfer and a cash deposit (no tag).
    static void registerFakeForms(TfmMain& window)
    {
        const std::pair<const char*, int> kinds[]
            = { { "支票", 7 }, { "快递单", 11 }, { "电汇单", 0 }, { "缴款单", 0 } };
        for (const auto& [kind, tag] : kinds)
            window.billForms().registerForm(u8(kind), QStringLiteral("TfmFake"),
                window.billForms().opensBesideOthers(u8(kind)),
                [tag = tag] { return new FakeBillForm(tag); });
    }

    QString config(const char* key) { return services.settings().getConfigByname(u8(key)); }
    void setConfig(const char* key, const QString& value)
    {
        ASSERT_TRUE(services.settings().setConfigByname(u8(key), value));
    }
    QString iniValue(const char* section, const char* key)
    {
        return IniFile(folder.configIniPath()).readString(u8(section), u8(key));
    }
    static QAction* command(const TfmMain& window, const char* name)
    {
        QAction* action = window.command(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    static QWidget* child(const TfmMain& window, const char* name)
    {
        auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static int today() { return TfmMain::daySum(QDate::currentDate()); }

    TempHome home;
    ProgramFolder folder { home.path() };
    ScriptedPrompter prompter;
    ScriptedShell shell;
    ScriptedPrinterDialog printerDialog;
    ProgramRegistry registry { home.file(QStringLiteral("user/registry.ini")) };
    Services services { home.path(), prompter };
};

// ---- menus, toolbar, popup -------------------------------------------------------------------

struct CommandRow
{
    const char* name;
    const char* caption;
    bool enabled;
    const char* shortcut;
};

TEST_F(MainWindowTest, EveryCommandHasItsCaptionShortcutAndState)
{
    const CommandRow rows[] = {
        { "m_new_zp", "支票", true, "Ctrl+B" },
        { "m_new_jzd", "进账单", true, "Ctrl+A" },
        { "m_new_dhd", "电汇单-贷记业务凭证", true, "Ctrl+D" },
        { "m_new_JKD", "现金缴款单", true, "" },
        { "m_new_cdhp", "承兑汇票", true, "" },
        { "m_new_JWH", "境外汇款申请", true, "" },
        { "m_new_Def", "定制单", true, "" },
        { "m_new_Receipts", "普通发票收据", true, "" },
        { "m_new_CKSP", "出口商品发票", true, "" },
        { "m_new_IVIntel", "国际货运发票", true, "" },
        { "m_new_kdd", "填写快递单", true, "" },
        { "m_CloseALL", "关闭所有填开单据", true, "" },
        { "mZPSearch", "支票管理(&Z)", true, "" },
        { "mJZDSearch", "进帐单管理(&J) ", true, "" },
        { "mDHDSearch", "电汇单管理(&D)", true, "" },
        { "mCDHPSearch", "承兑汇票管理", true, "" },
        { "mJWHSearch", "境外汇款申请书管理", true, "" },
        { "mJKDSearch", "现金缴款单管理", true, "" },
        { "mDefSearch", "定制单管理", true, "" },
        { "mKDDSearch", "快递单管理", true, "" },
        { "mReceiptSearch", "收据及发票管理", true, "" },
        { "mIVIntelSearch", "国际货运发票管理", true, "" },
        { "mIVCKSPSearch", "出口商品发票管理", true, "" },
        { "PersonalInfoManage", "单位及客户资料管理(&K) ", true, "" },
        { "nDesign", "设计模式（票据模板界面及打印效果调整）", true, "" },
        { "nImpExp", "票据模板导入", true, "" },
        { "nTempManage", "票据模板管理（默认、显示、隐藏）", true, "" },
        { "BaseSet", "字典管理设置(&N) 用途、始发站等", true, "" },
        { "N21", "币种设置", true, "" },
        { "MenuSsSet", "省市代码设置(&O)", true, "" },
        { "N23", "更改系统登录密码", false, "" },
        { "mPopPrint", "打印前弹出打印机配置窗口", true, "" },
        { "mNeedLogin", "进入系统需要密码验证", true, "" },
        { "mSystemBackImage", "启用系统背景图", true, "" },
        { "mUseDefaultCPR", "启用默认出票人", true, "" },
        { "mTemplateProperty", "打印整体偏移调整(&M)", true, "" },
        { "mLockPrinter", "锁定/匹配票据打印机", true, "" },
        { "PrinterConfig", "打印机设置 (&C)", true, "" },
        { "N8", "添加打印机纸张规格", true, "" },
        { "updates", "  在线升级", true, "" },
        { "mResetTemps", "  清除软件缓存文件", true, "" },
        { "N1", "  修复压缩数据库", true, "" },
        { "mLockDeskTop", "  锁定电脑屏幕", true, "" },
        { "N10", "  显示\\隐藏在线中心", true, "" },
        { "N7", "  邮政编码查询", true, "" },
        { "CallCounter", "  计算器 (&U)", true, "" },
        { "nHiddenOrShowBar", "显示/隐藏工具栏(&L)", true, "" },
        { "N9281", "  升级到9.28", false, "" },
        { "AboutSystem", "  关于 (&A)", true, "" },
        { "SystemHelp", "  帮助 (&H)", true, "F1" },
        { "mRestartMe", "  重启软件", true, "" },
        { "ExitSystem", "  退出 (&Q)", true, "" },
        // Toolbar
        { "ToolButton4", "填开新票据", true, "" },
        { "tbSelfComp", "我方单位", true, "" },
        { "tbCustomerComp", "往来单位(&K)", true, "" },
        { "ToolButton2", "模板管理", true, "" },
        { "ToolButton15", "新模板导入", true, "" },
        { "ToolButton5", "打印机(&C)", true, "" },
        { "btFirstUser", "第一次用", true, "" },
        { "ToolButton6", "  退出 (&Q)", true, "" },
        // Popup menu of the background
        { "nZP", "支票", true, "" },
        { "nJZD", "进账单", true, "" },
        { "nDHD", "电汇单-贷记业务凭证", true, "" },
        { "nCDHP", "承兑汇票", true, "" },
        { "nJKD", "缴款单", true, "" },
        { "nJWH", "境外汇款申请书", true, "" },
        { "nDef", "定制单", true, "" },
        { "nKDD", "快递单", true, "" },
        { "nIVReceipt", "普通发票收据", true, "" },
        { "nIVIntel", "国际货运发票", true, "" },
        { "nIVCKSP", "出口商品发票", true, "" },
        { "nRefresh", "刷新", true, "" },
        { "nHelp", "帮助", true, "" },
    };
    auto window = makeWindow();
    for (const CommandRow& row : rows) {
        const QAction* action = command(*window, row.name);
        if (!action)
            continue;
        EXPECT_EQ(action->text(), u8(row.caption)) << row.name;
        EXPECT_EQ(action->isEnabled(), row.enabled) << row.name;
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut))) << row.name;
        EXPECT_TRUE(action->isVisible()) << row.name;
    }
    const std::pair<const char*, const char*> hints[] = {
        { "tbSelfComp", "我方单位信息与帐户管理" },
        { "tbCustomerComp", "客户地址账户资料管理" },
        { "ToolButton15", "导入新票据模板" },
        { "ToolButton5", "打印机、打印方向及纸张设定（并不会启动打印）" },
        { "btFirstUser", "第一次使用软件前简读" },
        { "ToolButton6", "退出打印系统" },
    };
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(command(*window, name)->toolTip(), u8(hint)) << name;
    EXPECT_EQ(window->objectName(), QStringLiteral("fm_Main"));
    EXPECT_EQ(window->font().family(), u8("宋体"));
    EXPECT_EQ(window->font().pixelSize(), 12);
}

TEST_F(MainWindowTest, MenusHoldTheirEntriesAndTheOtherBillMenusAreDisabled)
{
    auto window = makeWindow();
    const auto captions = [&](const char* menu) {
        QStringList out;
        const auto* m = window->findChild<QMenu*>(QString::fromLatin1(menu));
        EXPECT_NE(m, nullptr) << menu;
        if (m)
            for (const QAction* a : m->actions())
                if (!a->isSeparator())
                    out << a->text();
        return out;
    };
    EXPECT_EQ(captions("nNewCheck"),
        (QStringList {
            u8("填开新票据"), u8("其他发票收据"), u8("其他定制票据"), u8("关闭所有填开单据") }));
    EXPECT_EQ(captions("nIVCheck"),
        (QStringList { u8("国地税发票"), u8("增值税发票"), u8("海运业发票"), u8("其他发票") }));
    EXPECT_EQ(captions("N43"),
        (QStringList { u8("送货单"), u8("销售单"), u8("珠宝质保单"), u8("单位收付款单") }));
    EXPECT_FALSE(window->findChild<QMenu*>(QStringLiteral("nIVCheck"))->isEnabled());
    EXPECT_FALSE(window->findChild<QMenu*>(QStringLiteral("N43"))->isEnabled());
    EXPECT_EQ(captions("mItem_config").size(), 4);
    EXPECT_EQ(captions("S1").size(), 11);
    EXPECT_EQ(command(*window, "ToolButton4")->menu(),
        window->findChild<QMenu*>(QStringLiteral("nBankCheck")));
}

// ---- start-up --------------------------------------------------------------------------------

TEST_F(MainWindowTest, StartFillsStatusBarCaptionRegistryAndPrinterList)
{
    setConfig("DefaultPrinter", QStringLiteral("无此打印机"));
    auto window = makeWindow();

    const QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_EQ(window->statusText(0),
        screen->geometry().height() < 750 ? u8("显示器分辨率太低") : u8("系统已就绪"));
    EXPECT_EQ(window->statusText(1), u8("建议分辨率:1024x768以上"));
    EXPECT_TRUE(window->statusText(2).startsWith(u8(" 当前时间：")))
        << window->statusText(2).toStdString();
    EXPECT_EQ(window->statusText(3), QString());
    EXPECT_EQ(window->statusText(4), QCoreApplication::applicationFilePath());
    const auto* bar = window->findChild<QStatusBar*>(QStringLiteral("StatusBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->findChildren<QLabel*>().size(), 5);

    EXPECT_TRUE(window->windowTitle().startsWith(u8("Pennock票据打印V") + TfmMain::versionText()));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+单机版$"))
                    .match(TfmMain::versionText())
                    .hasMatch());
    EXPECT_EQ(window->getRunPath(), folder.root() + QLatin1Char('/'));

    EXPECT_EQ(registry.readValue(QStringLiteral("RunPath")), folder.root() + QLatin1Char('/'));
    EXPECT_EQ(registry.readValue(QStringLiteral("Version")), TfmMain::versionText());
    EXPECT_EQ(
        registry.readValue(QStringLiteral("FullPath")), QCoreApplication::applicationFilePath());
    EXPECT_EQ(registry.readValue(QStringLiteral("NoSuchValue")), u8("空"));

    EXPECT_EQ(window->printers(), QPrinterInfo::availablePrinterNames());
    EXPECT_TRUE(window->cbPrinters()->isHidden());
    EXPECT_EQ(window->cbPrinters()->currentIndex(), -1);
    EXPECT_EQ(window->currentTemplateId(), -1);
    EXPECT_TRUE(prompter.entries().isEmpty()) << prompter.texts().join('|').toStdString();
}

TEST_F(MainWindowTest, AnUnwritableRegistryIsReportedAndStartGoesOn)
{
    home.write(QStringLiteral("blocker"), "a file where a folder should be");
    ProgramRegistry blocked(home.file(QStringLiteral("blocker/registry.ini")));
    TfmMain window(services, shell, blocked);
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].text, u8("注册表读写错误！"));
    EXPECT_EQ(prompter.entries()[0].caption, u8("错误"));
    EXPECT_TRUE(window.windowTitle().startsWith(u8("Pennock票据打印V")));
}

TEST_F(MainWindowTest, AFolderWithADollarSignIsRefusedBeforeAnyFileIsTouched)
{
    const QString archive = home.file(QStringLiteral("Rar$EXa12.345/Pennock"));
    EXPECT_TRUE(TfmMain::refuseArchiveFolder(archive, prompter));
    ASSERT_EQ(prompter.entries().size(), 1);
    const QString text = prompter.entries()[0].text;
    EXPECT_EQ(text, TfmMain::archiveWarning());
    EXPECT_TRUE(
        text.startsWith(u8("请不要从压缩包中直接运行软件，这样会使你的软件设置失效，建议：\n"
                           "  1、鼠标右击压缩包解压到非系统盘（例如： D:\\Pennock软件OrvaneV")
            + TfmMain::versionText() + u8("\\，再运行）;\n  2、")));
    EXPECT_FALSE(QDir(archive).exists());

    prompter.clear();
    EXPECT_FALSE(TfmMain::refuseArchiveFolder(home.path(), prompter));
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(MainWindowTest, DefaultDrawerIsReadAtStartOnlyWhenTheOptionIsOn)
{
    services.db().execute(QStringLiteral("insert into CKPersonalInfoTable (ID, 全称, 分组) values "
                                         "(1, '甲公司', '客户'), (2, '乙公司', '默认出票人'), "
                                         "(3, '丙公司', '默认出票人')"));
    EXPECT_FALSE(makeWindow()->defaultDrawer().has_value());

    setConfig("启用默认出票人", QStringLiteral("yes"));
    auto window = makeWindow();
    EXPECT_TRUE(window->useDefaultDrawer());
    ASSERT_TRUE(window->defaultDrawer().has_value());
    EXPECT_EQ(window->defaultDrawer()->全称, u8("乙公司"));
    EXPECT_EQ(window->defaultDrawer()->ID, 2);
}

TEST_F(MainWindowTest, ClockShowsTheTimeAndAsksForTheOnlineContentOnceOnTheSecondTick)
{
    auto window = makeWindow();
    QSignalSpy due(window.get(), &TfmMain::onlineFetchDue);
    window->onClockTick();
    EXPECT_EQ(due.count(), 0);
    EXPECT_EQ(window->clockTicks(), 1);
    window->onClockTick();
    EXPECT_EQ(due.count(), 1);
    for (int i = 0; i < 3; ++i)
        window->onClockTick();
    EXPECT_EQ(due.count(), 1);
    EXPECT_EQ(window->clockTicks(), 5);
    const QTimer* clock = window->findChild<QTimer*>(QStringLiteral("TimerSystem"));
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->interval(), 1000);
    EXPECT_TRUE(clock->isActive());
    EXPECT_TRUE(window->statusText(2).startsWith(u8(" 当前时间：")));
}

TEST_F(MainWindowTest, AlertShowsNothingWithoutACaption)
{
    auto window = makeWindow();
    EXPECT_FALSE(window->alert(QStringLiteral("x"), QString(), true));
    EXPECT_TRUE(prompter.entries().isEmpty());
    EXPECT_FALSE(window->alert(u8("已保存"), u8("提示"), false));
    prompter.queueAnswer(true);
    EXPECT_TRUE(window->alert(u8("删除吗？"), u8("确认"), true));
    ASSERT_EQ(prompter.entries().size(), 2);
    EXPECT_EQ(prompter.entries()[0].kind, QStringLiteral("inform"));
    EXPECT_EQ(prompter.entries()[1].kind, QStringLiteral("ask"));
    EXPECT_EQ(prompter.entries()[1].caption, u8("确认"));
}

// ---- online panel and day sum ----------------------------------------------------------------

TEST(MainWindowDaySum, AddsYearMonthAndDay)
{
    EXPECT_EQ(TfmMain::daySum(QDate(2024, 3, 5)), 2032);
    // Another day with the same sum counts as the same day for the panel.
    EXPECT_EQ(TfmMain::daySum(QDate(2024, 4, 4)), 2032);
    EXPECT_EQ(TfmMain::daySum(QDate(2023, 12, 31)), 2066);
}

struct PanelStartCase
{
    int offset; ///< stored value = today's sum + offset
    const char* text; ///< stored text instead, when set
    bool hidden;
};

void PrintTo(const PanelStartCase& c, std::ostream* os)
{
    *os << (c.text ? "text '" + std::string(c.text) + "'" : "today" + std::to_string(c.offset));
}

class MainWindowPanelStart : public MainWindowTest,
                             public ::testing::WithParamInterface<PanelStartCase>
{
};

TEST_P(MainWindowPanelStart, PanelIsHiddenOnlyOnTheStoredDaySum)
{
    const PanelStartCase c = GetParam();
    if (c.text)
        setConfig("HideADPanelDate", u8(c.text));
    else
        setConfig("HideADPanelDate", QString::number(today() + c.offset));
    auto window = makeWindow();
    EXPECT_EQ(child(*window, "panalAd")->isHidden(), c.hidden);
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowPanelStart,
    ::testing::Values(PanelStartCase { 0, nullptr, true }, PanelStartCase { -1000, nullptr, false },
        PanelStartCase { -1, nullptr, false }, PanelStartCase { 0, "", false },
        PanelStartCase { 0, "abc", false }));

TEST_F(MainWindowTest, HideLinkHidesThePanelForTheRestOfTheDay)
{
    auto window = makeWindow();
    QWidget* panel = child(*window, "panalAd");
    auto* hide = window->findChild<QLabel*>(QStringLiteral("lbHide"));
    ASSERT_NE(hide, nullptr);
    EXPECT_EQ(hide->text(), u8("[隐藏]"));
    ASSERT_FALSE(panel->isHidden());
    QTest::mouseClick(hide, Qt::LeftButton);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(config("HideADPanelDate"), QString::number(today()));
    EXPECT_TRUE(child(*makeWindow(), "panalAd")->isHidden());
}

TEST_F(MainWindowTest, OnlineCentreCommandTogglesAndRefreshShowsWithoutStoring)
{
    auto window = makeWindow();
    QWidget* panel = child(*window, "panalAd");
    command(*window, "N10")->trigger();
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(config("HideADPanelDate"), QString::number(today()));
    command(*window, "N10")->trigger();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(config("HideADPanelDate"), QString::number(today() - 1000));

    command(*window, "N10")->trigger();
    command(*window, "nRefresh")->trigger();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(config("HideADPanelDate"), QString::number(today()));
}

TEST_F(MainWindowTest, PanelHasItsTitleStripAndContactLabel)
{
    auto window = makeWindow();
    auto* contact = window->findChild<QLabel*>(QStringLiteral("LabelX"));
    ASSERT_NE(contact, nullptr);
    EXPECT_FALSE(contact->isHidden());
    EXPECT_TRUE(contact->text().startsWith(u8("欢迎使用Pennock票据打印软件")));
    EXPECT_EQ(contact->text().count(QStringLiteral(">>")), 4);
    EXPECT_EQ(contact->toolTip(), contact->text());
    const QWidget* strip = child(*window, "Panel3");
    QStringList labels;
    for (const QLabel* label : strip->findChildren<QLabel*>())
        labels << label->text();
    EXPECT_EQ(labels, (QStringList { u8("在线服务中心"), u8("[隐藏]") }));
}

// ---- options ---------------------------------------------------------------------------------

struct OptionDef
{
    const char* action;
    const char* key;
};

void PrintTo(const OptionDef& o, std::ostream* os) { *os << o.action; }

const OptionDef kOptions[] = {
    { "mPopPrint", "打印前弹出打印机设置" },
    { "mNeedLogin", "进入系统需验证" },
    { "mSystemBackImage", "启用系统背景" },
    { "mUseDefaultCPR", "启用默认出票人" },
};

struct StoredValue
{
    const char* value; ///< null: no row at all
    bool checked;
};

void PrintTo(const StoredValue& v, std::ostream* os)
{
    *os << (v.value ? "'" + std::string(v.value) + "'" : std::string("missing"));
}

class MainWindowOptions : public MainWindowTest,
                          public ::testing::WithParamInterface<std::tuple<OptionDef, StoredValue>>
{
};

TEST_P(MainWindowOptions, StoredValueSetsTheCheckMarkAndFlag)
{
    const auto [option, stored] = GetParam();
    if (stored.value)
        setConfig(option.key, u8(stored.value));
    auto window = makeWindow();
    EXPECT_EQ(command(*window, option.action)->isChecked(), stored.checked);
    EXPECT_TRUE(command(*window, option.action)->isCheckable());
    if (QByteArray(option.action) == "mPopPrint") {
        EXPECT_EQ(window->popPrinterDialog(), stored.checked);
    }
    if (QByteArray(option.action) == "mUseDefaultCPR") {
        EXPECT_EQ(window->useDefaultDrawer(), stored.checked);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowOptions,
    ::testing::Combine(::testing::ValuesIn(kOptions),
        ::testing::Values(StoredValue { "1", true }, StoredValue { "yes", true },
            StoredValue { "no", false }, StoredValue { "0", false }, StoredValue { "", false },
            StoredValue { nullptr, false })));

TEST_F(MainWindowTest, OptionClickStoresTheOppositeOfTheStoredValue)
{
    for (const OptionDef& option : { kOptions[0], kOptions[1], kOptions[3] }) {
        setConfig(option.key, QStringLiteral("1"));
        auto window = makeWindow();
        QAction* action = command(*window, option.action);
        action->trigger();
        EXPECT_EQ(config(option.key), QStringLiteral("no")) << option.action;
        EXPECT_FALSE(action->isChecked()) << option.action;
        action->trigger();
        EXPECT_EQ(config(option.key), QStringLiteral("yes")) << option.action;
        EXPECT_TRUE(action->isChecked()) << option.action;
    }
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(MainWindowTest, PrinterDialogAndDefaultDrawerFlagsFollowTheirOptions)
{
    auto window = makeWindow();
    command(*window, "mPopPrint")->trigger();
    command(*window, "mUseDefaultCPR")->trigger();
    EXPECT_TRUE(window->popPrinterDialog());
    EXPECT_TRUE(window->useDefaultDrawer());
    command(*window, "mPopPrint")->trigger();
    EXPECT_FALSE(window->popPrinterDialog());
}

TEST_F(MainWindowTest, BackgroundOptionShowsAtOnceAndGoesOnlyAfterRestart)
{
    restoreSystemPictures(folder);
    auto window = makeWindow();
    auto* image = window->findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->pixmap().isNull());

    command(*window, "mSystemBackImage")->trigger();
    EXPECT_EQ(config("启用系统背景"), QStringLiteral("yes"));
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_TRUE(prompter.entries().isEmpty());

    command(*window, "mSystemBackImage")->trigger();
    EXPECT_EQ(config("启用系统背景"), QStringLiteral("no"));
    EXPECT_FALSE(command(*window, "mSystemBackImage")->isChecked());
    EXPECT_EQ(prompter.texts(), QStringList { u8("需要重启软件才生效哦！") });
    EXPECT_FALSE(image->pixmap().isNull());

    EXPECT_TRUE(makeWindow()->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
}

TEST_F(MainWindowTest, BackgroundIsStretchedOverTheDocumentAreaAndMissingPictureIsIgnored)
{
    setConfig("启用系统背景", QStringLiteral("yes"));
    {
        auto window = makeWindow();
        EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
        EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("LabelX"))->text().isEmpty());
    }
    restoreSystemPictures(folder);
    auto window = makeWindow();
    auto* image = window->findChild<QLabel*>(QStringLiteral("Image1"));
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_TRUE(image->hasScaledContents());
    window->resize(900, 640);
    QCoreApplication::processEvents();
    EXPECT_EQ(image->geometry(), window->findChild<QMdiArea*>()->viewport()->rect());
}

// ---- first use, wheel, toolbar ---------------------------------------------------------------

TEST_F(MainWindowTest, FirstUseInstructionsToggleAndCloseOnResize)
{
    auto window = makeWindow();
    auto* memo = window->findChild<QPlainTextEdit*>(QStringLiteral("MemoFirstRead"));
    QWidget* image = child(*window, "Image1");
    QWidget* panel = child(*window, "panalAd");
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isHidden());
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_TRUE(memo->toPlainText().startsWith(u8("  第一次使用软件【3步走】：")));
    EXPECT_TRUE(memo->toPlainText().endsWith(QString(52, QLatin1Char('='))
        + u8("【双击我关闭本提示】") + QString(51, QLatin1Char('='))));

    command(*window, "N10")->trigger(); // panel hidden before
    command(*window, "btFirstUser")->trigger();
    EXPECT_FALSE(memo->isHidden());
    EXPECT_TRUE(image->isHidden());
    EXPECT_EQ(memo->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(memo->size(), image->size());

    QTest::mouseDClick(memo->viewport(), Qt::LeftButton);
    EXPECT_TRUE(memo->isHidden());
    EXPECT_FALSE(image->isHidden());
    EXPECT_FALSE(panel->isHidden());

    command(*window, "btFirstUser")->trigger();
    ASSERT_FALSE(memo->isHidden());
    window->resize(window->width() + 40, window->height() + 20);
    QCoreApplication::processEvents();
    EXPECT_TRUE(memo->isHidden());
}

TEST_F(MainWindowTest, MouseWheelBecomesAnArrowKeyInTheActiveWindow)
{
    auto window = makeWindow();
    registerFakeForms(*window);
    command(*window, "m_new_kdd")->trigger();
    auto* form = static_cast<FakeBillForm*>(window->billForms().form(u8("快递单")));
    ASSERT_NE(form, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    form->setFocus();
    for (int delta : { 120, -120, 0 }) {
        QWheelEvent wheel(QPointF(5, 5), form->mapToGlobal(QPointF(5, 5)), QPoint(),
            QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form, &wheel);
    }
    EXPECT_EQ(form->keys, (QList<int> { Qt::Key_Up, Qt::Key_Down, Qt::Key_Down }));
    EXPECT_EQ(form->wheels, 0);
}

struct ToolbarCase
{
    const char* stored; ///< null: no key
    bool shown;
};

void PrintTo(const ToolbarCase& c, std::ostream* os) { *os << (c.stored ? c.stored : "missing"); }

class MainWindowToolbar : public MainWindowTest, public ::testing::WithParamInterface<ToolbarCase>
{
};

TEST_P(MainWindowToolbar, StoredStateDecidesAtStart)
{
    if (GetParam().stored) {
        IniFile ini(folder.configIniPath());
        ini.writeString(
            QStringLiteral("FM_MAIN"), QStringLiteral("TOOLBARMAIN"), u8(GetParam().stored));
        ASSERT_TRUE(ini.flush());
    }
    auto window = makeWindow();
    EXPECT_EQ(
        !window->findChild<QToolBar*>(QStringLiteral("ToolBarMain"))->isHidden(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowToolbar,
    ::testing::Values(ToolbarCase { "1", true }, ToolbarCase { "0", false },
        ToolbarCase { "yes", false }, ToolbarCase { nullptr, true }));

TEST_F(MainWindowTest, ToolbarToggleIsStoredAndKeptForTheNextStart)
{
    {
        auto window = makeWindow();
        command(*window, "nHiddenOrShowBar")->trigger();
        EXPECT_TRUE(window->findChild<QToolBar*>(QStringLiteral("ToolBarMain"))->isHidden());
        EXPECT_EQ(iniValue("FM_MAIN", "TOOLBARMAIN"), QStringLiteral("0"));
    }
    auto window = makeWindow();
    auto* toolbar = window->findChild<QToolBar*>(QStringLiteral("ToolBarMain"));
    EXPECT_TRUE(toolbar->isHidden());
    command(*window, "nHiddenOrShowBar")->trigger();
    EXPECT_FALSE(toolbar->isHidden());
    EXPECT_EQ(iniValue("FM_MAIN", "TOOLBARMAIN"), QStringLiteral("1"));
}

// ---- bill forms ------------------------------------------------------------------------------

TEST_F(MainWindowTest, BillCommandsAreEnabledOnceTheirFormIsRegistered)
{
    auto window = makeWindow();
    // The cheque's form exists from the start; without any cheque template it says why and
    // stays closed.
    EXPECT_EQ(window->billForms().className(u8("支票")), QStringLiteral("TfmCheckZP"));
    command(*window, "nZP")->trigger();
    EXPECT_FALSE(window->billForms().anyOpen());
    EXPECT_FALSE(prompter.entries().isEmpty());

    // A kind's commands are available exactly when its form exists.
    const auto checkCommands = [&] {
        for (const pennock::core::BillKind* kind : pennock::core::billKinds()) {
            EXPECT_EQ(command(*window, kind->menuCommand.toUtf8().constData())->isEnabled(),
                kind->hasForm())
                << kind->kind.toStdString();
            if (!kind->popupCommand.isEmpty()) {
                EXPECT_EQ(command(*window, kind->popupCommand.toUtf8().constData())->isEnabled(),
                    kind->hasForm())
                    << kind->kind.toStdString();
            }
        }
    };
    checkCommands();
    registerFakeForms(*window);
    checkCommands();
    EXPECT_EQ(window->billForms().className(u8("支票")), QStringLiteral("TfmFake"));
}

struct OpenCase
{
    const char* first;
    const char* second;
    const char* secondKind;
    bool refused;
    int openAfter;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.first << " then " << c.second; }

class MainWindowBillOpening : public MainWindowTest, public ::testing::WithParamInterface<OpenCase>
{
};

TEST_P(MainWindowBillOpening, OnlyWireTransferAndCashDepositOpenBesideAnotherForm)
{
    const OpenCase c = GetParam();
    auto window = makeWindow();
    registerFakeForms(*window);
    BillFormRegistry& forms = window->billForms();
    command(*window, c.first)->trigger();
    ASSERT_EQ(forms.openForms().size(), 1);
    QWidget* first = forms.openForms().first();
    command(*window, c.second)->trigger();

    EXPECT_EQ(forms.openForms().size(), c.openAfter);
    EXPECT_EQ(forms.openForms().first(), first);
    EXPECT_EQ(window->findChild<QMdiArea*>()->subWindowList().size(), c.openAfter);
    if (c.refused) {
        ASSERT_EQ(prompter.entries().size(), 1);
        EXPECT_EQ(prompter.entries()[0].text, u8("请先关闭打开的单据！"));
        EXPECT_EQ(prompter.entries()[0].caption, u8("提示"));
    } else {
        EXPECT_TRUE(prompter.entries().isEmpty());
        const QString kind = u8(c.secondKind);
        ASSERT_NE(forms.form(kind), nullptr);
        EXPECT_FALSE(forms.form(kind)->isHidden());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowBillOpening,
    ::testing::Values(OpenCase { "m_new_kdd", "m_new_zp", "支票", true, 1 },
        OpenCase { "m_new_kdd", "m_new_kdd", "快递单", true, 1 },
        OpenCase { "m_new_dhd", "m_new_zp", "支票", true, 1 },
        OpenCase { "m_new_kdd", "m_new_dhd", "电汇单", false, 2 },
        OpenCase { "m_new_zp", "m_new_JKD", "缴款单", false, 2 },
        OpenCase { "m_new_dhd", "m_new_dhd", "电汇单", false, 1 },
        OpenCase { "m_new_JKD", "nJKD", "缴款单", false, 1 },
        OpenCase { "nKDD", "nZP", "支票", true, 1 }));

TEST_F(MainWindowTest, ClosingFormsResetsTheTemplateAndFreesTheInstances)
{
    auto window = makeWindow();
    registerFakeForms(*window);
    BillFormRegistry& forms = window->billForms();
    command(*window, "m_new_zp")->trigger();
    command(*window, "m_new_dhd")->trigger();
    forms.setCurrentTemplateId(7);

    // Closed through its frame: gone once deferred deletions ran.
    forms.form(u8("电汇单"))->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(forms.form(u8("电汇单")), nullptr);
    EXPECT_EQ(forms.openForms().size(), 1);
    EXPECT_EQ(window->currentTemplateId(), -1);

    forms.setCurrentTemplateId(7);
    command(*window, "m_CloseALL")->trigger();
    EXPECT_FALSE(forms.anyOpen());
    EXPECT_EQ(forms.form(u8("支票")), nullptr);
    EXPECT_EQ(window->currentTemplateId(), -1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window->findChild<QMdiArea*>()->subWindowList().isEmpty());

    // A form may also close itself.
    command(*window, "m_new_kdd")->trigger();
    forms.form(u8("快递单"))->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(forms.anyOpen());
    EXPECT_TRUE(window->findChild<QMdiArea*>()->subWindowList().isEmpty());
    command(*window, "m_new_zp")->trigger();
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(MainWindowTest, DesignModeTakesTheTopFormsTemplateAndEveryFormLaysOutAgain)
{
    auto window = makeWindow();
    registerFakeForms(*window);
    BillFormRegistry& forms = window->billForms();
    EXPECT_EQ(forms.templateForDesign(), -1);

    command(*window, "m_new_kdd")->trigger();
    EXPECT_EQ(forms.templateForDesign(), 11);
    command(*window, "m_new_dhd")->trigger(); // on top, without a template
    forms.setCurrentTemplateId(3);
    EXPECT_EQ(forms.templateForDesign(), 3);

    forms.relayoutAll();
    for (QWidget* form : forms.openForms())
        EXPECT_EQ(static_cast<FakeBillForm*>(form)->reinits, 1);
}

// ---- tools -----------------------------------------------------------------------------------

class MainWindowClearCaches : public MainWindowTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(MainWindowClearCaches, ClearsAndClosesTheOpenBillForms)
{
    const bool formOpen = GetParam();
    services.db().execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName) values "
                                         "('支票', 'ZDJEXX')"));
    services.db().execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName, "
                                         "IniFile) values (1, '支票', '1.ini')"));
    auto window = makeWindow();
    registerFakeForms(*window);
    if (formOpen)
        command(*window, "m_new_zp")->trigger();

    command(*window, "mResetTemps")->trigger();
    EXPECT_EQ(prompter.texts(),
        QStringList { formOpen ? u8("缓存清除需要关闭开单界面重新打开！") : u8("缓存清除成功！") });
    EXPECT_FALSE(window->billForms().anyOpen());
    EXPECT_EQ(services.db().scalar(QStringLiteral("select IniFile from CKTypeTable")).toString(),
        QString());
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowClearCaches, ::testing::Bool());

TEST_F(MainWindowTest, RepairIsUnderConstruction)
{
    auto window = makeWindow();
    command(*window, "N1")->trigger();
    EXPECT_EQ(prompter.texts(), QStringList { u8("正在建设!") });
}

struct ShellCase
{
    const char* command;
    QStringList failing;
    QStringList started; ///< what the shell started or ran
    const char* message; ///< null: no message
};

void PrintTo(const ShellCase& c, std::ostream* os)
{
    *os << c.command << " with " << c.failing.size() << " failing";
}

class MainWindowShell : public MainWindowTest, public ::testing::WithParamInterface<ShellCase>
{
};

TEST_P(MainWindowShell, TriesEachProgramInTurnAndReportsWhenNoneWorks)
{
    const ShellCase c = GetParam();
    shell.failing = c.failing;
    auto window = makeWindow();
    command(*window, c.command)->trigger();
    EXPECT_EQ(shell.started + shell.commands, c.started);
    if (c.message) {
        ASSERT_EQ(prompter.entries().size(), 1);
        EXPECT_EQ(prompter.entries()[0].text, u8(c.message));
        EXPECT_EQ(prompter.entries()[0].caption, u8("错误"));
    } else {
        EXPECT_TRUE(prompter.entries().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowShell,
    ::testing::Values(ShellCase { "CallCounter", {}, { "gnome-calculator" }, nullptr },
        ShellCase {
            "CallCounter", { "gnome-calculator", "kcalc", "galculator" }, { "xcalc" }, nullptr },
        ShellCase { "CallCounter", Shell::calculators(), {}, "系统计算器调用失败！" },
        ShellCase { "mLockDeskTop", {}, { "loginctl lock-session" }, nullptr },
        ShellCase { "mLockDeskTop", { "loginctl" }, { "xdg-screensaver lock" }, nullptr },
        ShellCase { "mLockDeskTop", { "loginctl", "xdg-screensaver", "dm-tool" }, {},
            "锁定电脑屏幕失败！" }));

struct RestartCase
{
    bool answer;
    bool startFails;
    bool restarted;
};

void PrintTo(const RestartCase& c, std::ostream* os)
{
    *os << (c.answer ? "yes" : "no") << (c.startFails ? ", start fails" : "");
}

class MainWindowRestart : public MainWindowTest, public ::testing::WithParamInterface<RestartCase>
{
};

TEST_P(MainWindowRestart, AsksThenClosesFormsAndStartsTheProgramAgain)
{
    const RestartCase c = GetParam();
    const QString program = QCoreApplication::applicationFilePath();
    if (c.startFails)
        shell.failing << program;
    auto window = makeWindow();
    registerFakeForms(*window);
    command(*window, "m_new_kdd")->trigger();
    prompter.queueAnswer(c.answer);
    command(*window, "mRestartMe")->trigger();

    ASSERT_GE(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].text, u8("确定要重开软件吗?"));
    EXPECT_EQ(prompter.entries()[0].caption, u8("重启软件"));
    EXPECT_EQ(shell.started, c.restarted ? QStringList { program } : QStringList {});
    EXPECT_EQ(window->isVisible(), !c.restarted);
    EXPECT_EQ(window->billForms().anyOpen(), !c.answer);
    EXPECT_EQ(prompter.entries().size(), c.startFails ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowRestart,
    ::testing::Values(RestartCase { false, false, false }, RestartCase { true, false, true },
        RestartCase { true, true, false }));

// ---- exit and close --------------------------------------------------------------------------

TEST_F(MainWindowTest, ExitAsksWithTheVendorNameAndClosesOnYes)
{
    {
        IniFile ini(folder.configIniPath());
        ini.writeString(QStringLiteral("Info"), QStringLiteral("nm"), u8("云杉"));
        ASSERT_TRUE(ini.flush());
    }
    auto window = makeWindow();
    prompter.queueAnswer(false);
    command(*window, "ToolButton6")->trigger();
    EXPECT_TRUE(window->isVisible());
    prompter.queueAnswer(true);
    command(*window, "ExitSystem")->trigger();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(prompter.entries().size(), 2);
    for (const auto& entry : prompter.entries()) {
        EXPECT_EQ(entry.text, u8("真的要退出【云杉票据打印】系统吗？"));
        EXPECT_EQ(entry.caption, u8("确认"));
    }
}

TEST_F(MainWindowTest, CloseReleasesTheConnectionAndWritesTheSettings)
{
    auto window = makeWindow();
    ASSERT_TRUE(services.db().isOpen());
    services.settings().userIni().writeString(
        QStringLiteral("FM_MAIN"), QStringLiteral("Probe"), QStringLiteral("1"));
    window->close();
    EXPECT_FALSE(services.db().isOpen());
    EXPECT_EQ(iniValue("FM_MAIN", "Probe"), QStringLiteral("1"));
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(MainWindowTest, TheBackgroundPopupStaysAwayWhileABillFormIsOpen)
{
    auto window = makeWindow();
    registerFakeForms(*window);
    auto* picture = window->findChild<QLabel*>(QStringLiteral("Image1"));
    auto* popup = window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(popup, nullptr);

    emit picture->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(popup->isVisible());
    popup->hide();

    window->billForms().open(u8("快递单"));
    emit picture->customContextMenuRequested(QPoint(5, 5));
    EXPECT_FALSE(popup->isVisible());

    window->billForms().closeAll();
    emit picture->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
}

TEST_F(MainWindowTest, ABillFormThatStaysOpenKeepsTheWindowAndItsConnection)
{
    /// A bill form whose user answered the closing question with "stay".
    class StayingForm : public QWidget
    {
    protected:
        void closeEvent(QCloseEvent* event) override { event->ignore(); }
    };
    auto window = makeWindow();
    window->billForms().registerForm(
        u8("快递单"), QStringLiteral("TfmFake"), false, [] { return new StayingForm; });
    ASSERT_NE(window->billForms().open(u8("快递单")), nullptr);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(services.db().isOpen());
}

} // namespace

TEST_F(MainWindowTest, PrinterAndPartyCommandsOpenTheirWindows)
{
    auto window = makeWindow();
    PrintEngine& engine = services.printEngine();

    // Without any printer the dialog cannot choose one; both commands say so.
    ASSERT_TRUE(window->printers().isEmpty());
    engine.setPrintJobReady(true);
    for (const char* name : { "ToolButton5", "PrinterConfig" }) {
        prompter.clear();
        command(*window, name)->trigger();
        EXPECT_EQ(prompter.texts(),
            QStringList { u8("没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，"
                             "请重新打开软件！") })
            << name;
    }
    EXPECT_EQ(printerDialog.shown, 0);
    EXPECT_TRUE(engine.printJobReady());

    // Each party command shows the manager on its own type; closing it returns to the window.
    const std::pair<const char*, const char*> commands[] = { { "tbSelfComp", "【我方单位】" },
        { "tbCustomerComp", "【往来单位】" }, { "PersonalInfoManage", "【全部分组】" } };
    for (const auto& [name, tab] : commands) {
        QString seenTab;
        QTimer::singleShot(0, [&seenTab] {
            auto* manager
                = qobject_cast<pennock::ui::Tfm_PersonManage*>(QApplication::activeModalWidget());
            if (!manager)
                return;
            seenTab = manager->TabControl1->tabText(manager->TabControl1->currentIndex());
            manager->close();
        });
        command(*window, name)->trigger();
        EXPECT_EQ(seenTab, u8(tab)) << name;
    }

    const char* windows[] = { "BaseSet", "N21", "MenuSsSet", "mLockPrinter" };
    for (const char* name : windows) {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = QString::fromLatin1(modal->metaObject()->className());
                modal->close();
            }
        });
        command(*window, name)->trigger();
        EXPECT_FALSE(shown.isEmpty()) << name;
    }
}

QAction* command(const TfmMain& window, const char* name)
{
    QAction* action = window.command(QString::fromLatin1(name));
    EXPECT_NE(action, nullptr) << name;
    return action;
}

TEST(MainWindowCheque, TheChequeCommandOpensTheFormOnTheDefaultTemplate)
{
    TempHome home;
    ensureSeededInstallation(ProgramFolder(home.path()));
    ScriptedPrompter prompter;
    ScriptedShell shell;
    ScriptedPrinterDialog printerDialog;
    Services services(home.path(), prompter);
    ProgramRegistry registry(home.file(QStringLiteral("user/registry.ini")));
    auto window = std::make_unique<TfmMain>(services, shell, registry, nullptr, &printerDialog);
    window->show();

    window->command(QStringLiteral("m_new_zp"))->trigger();
    QWidget* cheque = window->billForms().form(u8("支票"));
    ASSERT_NE(cheque, nullptr);
    EXPECT_STREQ(cheque->metaObject()->className(), "pennock::ui::TfmCheckZP");
    EXPECT_EQ(window->findChild<QMdiArea*>()->subWindowList().size(), 1);
    EXPECT_EQ(window->currentTemplateId(), services.templates().loadDefaultCheckTypeId(u8("支票")));
    EXPECT_TRUE(prompter.entries().isEmpty()) << prompter.texts().join('|').toStdString();

    // A second command refuses and leaves the one form; the window can then go with it open.
    window->command(QStringLiteral("nZP"))->trigger();
    EXPECT_EQ(prompter.texts(), QStringList { u8("请先关闭打开的单据！") });
    EXPECT_EQ(window->billForms().form(u8("支票")), cheque);
    EXPECT_EQ(window->findChild<QMdiArea*>()->subWindowList().size(), 1);
    window.reset();
}

/// The main window over a seeded installation with its real bill forms.
class MainWindowSeeded : public ::testing::Test
{
protected:
    MainWindowSeeded() { ensureSeededInstallation(ProgramFolder(home.path())); }

    std::unique_ptr<TfmMain> makeWindow()
    {
        auto window = std::make_unique<TfmMain>(services, shell, registry, nullptr, &printerDialog);
        window->show();
        return window;
    }
    static pennock::ui::TfmBillForm* openCheque(TfmMain& window)
    {
        window.command(QStringLiteral("m_new_zp"))->trigger();
        return qobject_cast<pennock::ui::TfmBillForm*>(window.billForms().form(u8("支票")));
    }
    int savedCheques()
    {
        return services.db().scalar(QStringLiteral("select count(*) from DataZPTable")).toInt();
    }

    TempHome home;
    ScriptedPrompter prompter;
    ScriptedShell shell;
    ScriptedPrinterDialog printerDialog;
    Services services { home.path(), prompter };
    ProgramRegistry registry { home.file(QStringLiteral("user/registry.ini")) };
};

class MainWindowExitWithBill : public MainWindowSeeded, public ::testing::WithParamInterface<bool>
{
};

TEST_P(MainWindowExitWithBill, OffersToSaveTheFilledBillAndNotesWhereItStood)
{
    const bool save = GetParam();
    auto window = makeWindow();
    pennock::ui::TfmBillForm* cheque = openCheque(*window);
    ASSERT_NE(cheque, nullptr);
    cheque->setItemText(QStringLiteral("zdInComp"), u8("上海浦江机电设备有限公司"));
    QTest::mouseClick(cheque->item(QStringLiteral("zdJEDX")), Qt::LeftButton);
    cheque->inputJEXX()->insert(QStringLiteral("100"));
    QTest::keyClick(cheque->inputJEXX(), Qt::Key_Return);
    ASSERT_FALSE(cheque->itemText(QStringLiteral("zdJEDX")).isEmpty());
    prompter.clear();

    prompter.queueAnswer(true);
    prompter.queueAnswer(save);
    command(*window, "ExitSystem")->trigger();

    QStringList expected { u8("真的要退出【Pennock票据打印】系统吗？"), u8("是否保存该支票？") };
    if (save)
        expected << u8("新支票保存成功！ ");
    EXPECT_EQ(prompter.texts(), expected);
    EXPECT_EQ(savedCheques(), save ? 1 : 0);
    EXPECT_FALSE(window->billForms().anyOpen());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(IniFile(ProgramFolder(home.path()).configIniPath())
                    .hasKey(QStringLiteral("FMCHECKZP"), QStringLiteral("PositionX")));
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowExitWithBill, ::testing::Bool());

TEST_F(MainWindowSeeded, TheDefaultDrawerIsReadAtStartAndPrefillsOnlyWhileTheOptionIsOn)
{
    services.db().execute(QStringLiteral("insert into CKPersonalInfoTable (ID, 全称, 开户银行, "
                                         "开户行账号, 分组) values (1, '乙公司', '工行', "
                                         "'6222', '默认出票人')"));
    ASSERT_TRUE(services.settings().setConfigByname(u8("启用默认出票人"), QStringLiteral("yes")));
    auto window = makeWindow();
    // Off, on again, then turned on only after a start without it: the drawer read at start
    // prefills while the option is on; one not read at start never does.
    const std::pair<bool, const char*> steps[] = { { false, "" }, { true, "乙公司" } };
    EXPECT_EQ(openCheque(*window)->itemText(QStringLiteral("zdOutComp")), u8("乙公司"));
    for (const auto& [on, drawer] : steps) {
        window->billForms().closeAll();
        command(*window, "mUseDefaultCPR")->trigger();
        ASSERT_EQ(window->useDefaultDrawer(), on);
        EXPECT_EQ(openCheque(*window)->itemText(QStringLiteral("zdOutComp")), u8(drawer)) << on;
        EXPECT_EQ(window->defaultDrawer().has_value(), on);
    }
    window->billForms().closeAll();
    window.reset();

    ASSERT_TRUE(services.settings().setConfigByname(u8("启用默认出票人"), QStringLiteral("no")));
    window = makeWindow();
    command(*window, "mUseDefaultCPR")->trigger();
    ASSERT_TRUE(window->useDefaultDrawer());
    EXPECT_FALSE(window->defaultDrawer().has_value());
    EXPECT_EQ(openCheque(*window)->itemText(QStringLiteral("zdOutComp")), QString());
}
