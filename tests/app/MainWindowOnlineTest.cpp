#include "ScriptedShell.h"
#include "app/MainWindow.h"
#include "bills/BillEnvironment.h"
#include "bills/BillFormRegistry.h"
#include "online/About.h"
#include "online/Site.h"
#include "parties/PersonManage.h"
#include "platform/Http.h"
#include "printing/Services.h"
#include "settings/ProgramRegistry.h"
#include "store/Installation.h"
#include "support/ScriptedPrinterDialog.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pennock;
using namespace pennock::core;

namespace {

QString u8(const char* text) { return QString::fromUtf8(text); }

// Pages by address; anything else fails as an unreachable site does.
class ScriptedHttp final : public Http
{
public:
    HttpReply get(const QString& address, int readTimeoutMs) override
    {
        asked << address;
        timeouts << readTimeoutMs;
        for (auto it = pages.cbegin(); it != pages.cend(); ++it)
            if (address.startsWith(it.key()))
                return { true, it.value(), {} };
        return { false, {}, u"unreachable"_qs };
    }
    QMap<QString, QByteArray> pages;
    QStringList asked;
    QList<int> timeouts;
};

class MainWindowOnlineTest : public ::testing::Test
{
protected:
    MainWindowOnlineTest() { ensureInstallation(folder); }

    std::unique_ptr<ui::TfmMain> makeWindow()
    {
        auto window
            = std::make_unique<ui::TfmMain>(services, shell, registry, nullptr, &printerDialog);
        window->setOnlineSite(http, u"h"_qs);
        window->show();
        return window;
    }
    QWidget* panel(const ui::TfmMain& window) { return window.findChild<QWidget*>(u"panalAd"_qs); }

    test::TempHome home;
    ProgramFolder folder { home.path() };
    test::ScriptedPrompter prompter;
    test::ScriptedShell shell;
    ScriptedHttp http;
    test::ScriptedPrinterDialog printerDialog;
    ProgramRegistry registry { home.file(u"user/registry.ini"_qs) };
    Services services { home.path(), prompter };
};

TEST_F(MainWindowOnlineTest, VendorPagesOpenFromTheirCommands)
{
    auto window = makeWindow();
    const struct
    {
        const char* command;
        VendorPage page;
        bool showsPanel;
    } rows[] = {
        { "updates", VendorPage::Upgrade, true },
        { "SystemHelp", VendorPage::Help, true },
        { "nHelp", VendorPage::Help, true },
        { "N7", VendorPage::Postcode, false },
        { "N8", VendorPage::PaperSize, false },
    };
    for (const auto& row : rows) {
        // Hidden for the day: help and upgrade show it all the same.
        panel(*window)->hide();
        shell.urls.clear();
        window->command(QString::fromLatin1(row.command))->trigger();
        EXPECT_EQ(shell.urls, QStringList { vendorPageAddress(row.page) }) << row.command;
        EXPECT_EQ(panel(*window)->isVisible(), row.showsPanel) << row.command;
    }
    shell.urls.clear();
    panel(*window)->show();
    QTest::mouseClick(window->findChild<QLabel*>(u"LabelX"_qs), Qt::LeftButton);
    EXPECT_EQ(shell.urls, QStringList { vendorPageAddress(VendorPage::Home) });
}

TEST_F(MainWindowOnlineTest, AboutOpensFromTheHelpMenu)
{
    auto window = makeWindow();
    bool seen = false;
    QTimer::singleShot(0, window.get(), [&seen] {
        auto* about = qobject_cast<ui::Tfm_About*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        seen = true;
        EXPECT_EQ(about->size(), QSize(398, 239));
        about->close();
    });
    window->command(u"AboutSystem"_qs)->trigger();
    EXPECT_TRUE(seen);
}

TEST_F(MainWindowOnlineTest, TheClockFetchesTheServicePageOnce)
{
    http.pages[u"http://h/webapp.css"_qs] = "/* site=h */";
    http.pages[u"http://h/agent/ServicePNK.asp?"_qs] = "<p>服务中心</p>";
    auto window = makeWindow();
    auto* browser = window->findChild<QTextBrowser*>(u"WebBrowser1"_qs);
    EXPECT_FALSE(browser->isVisible());
    window->onClockTick();
    EXPECT_TRUE(http.asked.isEmpty());
    window->onClockTick();
    for (int i = 0; i < 3; ++i)
        window->onClockTick();
    EXPECT_EQ(http.asked,
        (QStringList { vendorPageAddress(VendorPage::Probe, u"h"_qs),
            vendorPageAddress(VendorPage::Service, u"h"_qs) }));
    EXPECT_EQ(http.timeouts, (QList<int> { 3000, 3000 }));
    EXPECT_TRUE(browser->toPlainText().contains(u8("服务中心")));
    // Unless the screen is narrow, the panel shows the page.
    if (window->screen()->geometry().width() >= 1000) {
        EXPECT_TRUE(browser->isVisible());
    }
}

TEST_F(MainWindowOnlineTest, DefaultDrawerSetFromAFormsPickerReachesTheMainWindow)
{
    ASSERT_TRUE(services.settings().setConfigByname(u8("启用默认出票人"), u"yes"_qs));
    services.db().execute(
        u8("insert into CKPersonalInfoTable (ID, 全称, 分组, 单位类型) values "
           "(1, '甲公司', '默认出票人', '我方单位'), (2, '乙公司', '', '我方单位')"));
    auto window = makeWindow();
    ASSERT_EQ(window->defaultDrawer()->ID, 1);
    window->billForms().registerForm(u8("支票"), u"TfmFake"_qs, false, [] { return new QWidget; });
    ASSERT_NE(window->billForms().open(u8("支票")), nullptr);

    // In the picker the person makes 乙公司 the default drawer and picks it.
    QTimer::singleShot(0, window.get(), [] {
        auto* manager = qobject_cast<ui::Tfm_PersonManage*>(QApplication::activeModalWidget());
        ASSERT_NE(manager, nullptr);
        for (int row = 0; row < manager->rows(); ++row) {
            manager->DBGrid1->setCurrentIndex(manager->DBGrid1->model()->index(row, 0));
            if (manager->currentId() == 2)
                break;
        }
        ASSERT_EQ(manager->currentId(), 2);
        manager->btSetDefaultClick();
        manager->pickCurrent();
    });
    const auto picked = window->billEnvironment().pickParty(u8("我方单位"), u8("选取出票人"));
    // The form is about to be filled anew, so the pick is not written into it.
    EXPECT_FALSE(picked.has_value());
    ASSERT_TRUE(window->defaultDrawer().has_value());
    EXPECT_EQ(window->defaultDrawer()->ID, 2);
    QTRY_VERIFY(!window->billForms().anyOpen());
    EXPECT_TRUE(prompter.texts().contains(u8("默认出票人已经修改，请重新填开票据！")));
    EXPECT_TRUE(prompter.texts().contains(u8("默认出票人设置成功！")));
}

TEST_F(MainWindowOnlineTest, APickWithoutADrawerChangeLeavesTheFormsOpen)
{
    services.db().execute(u8(
        "insert into CKPersonalInfoTable (ID, 全称, 单位类型) values (5, '丙公司', '往来单位')"));
    auto window = makeWindow();
    window->billForms().registerForm(u8("支票"), u"TfmFake"_qs, false, [] { return new QWidget; });
    window->billForms().open(u8("支票"));
    QTimer::singleShot(0, window.get(), [] {
        auto* manager = qobject_cast<ui::Tfm_PersonManage*>(QApplication::activeModalWidget());
        ASSERT_NE(manager, nullptr);
        manager->pickCurrent();
    });
    const auto picked = window->billEnvironment().pickParty(u8("往来单位"), u8("选取收款人"));
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->ID, 5);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->billForms().anyOpen());
    EXPECT_FALSE(prompter.texts().contains(u8("默认出票人已经修改，请重新填开票据！")));
}

} // namespace
