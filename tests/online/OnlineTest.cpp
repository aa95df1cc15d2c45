#include "online/About.h"
#include "online/NetworkHttp.h"
#include "online/OnlinePanel.h"
#include "online/Site.h"
#include "platform/Shell.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QFile>
#include <QLabel>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pennock;

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

// A web site on this machine for one test: serves fixed pages by path, records what it was
// asked; it stops with the test, also when the test fails.
class LocalSite : public QObject
{
public:
    LocalSite()
    {
        EXPECT_TRUE(mServer.listen(QHostAddress::LocalHost));
        connect(&mServer, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = mServer.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            }
        });
    }
    ~LocalSite() override { mServer.close(); }

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(mServer.serverPort()); }

    QMap<QString, QByteArray> pages; ///< path (without the query) → body
    QStringList requests; ///< request lines
    QByteArray lastHeaders;
    bool silent = false; ///< accepts but never answers

private:
    void answer(QTcpSocket* socket)
    {
        QByteArray& buffer = mBuffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n") || silent)
            return;
        const QByteArray requestLine = buffer.left(buffer.indexOf("\r\n"));
        requests << QString::fromLatin1(requestLine);
        lastHeaders = buffer;
        const QString path
            = QString::fromLatin1(requestLine.split(' ').value(1)).section(u'?', 0, 0);
        const bool found = pages.contains(path);
        const QByteArray body = found ? pages.value(path) : QByteArray("missing");
        socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
            + QByteArray("Content-Type: text/html; charset=utf-8\r\nContent-Length: ")
            + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer mServer;
    QMap<QTcpSocket*, QByteArray> mBuffers;
};

// A port where nothing listens: one taken and given back at once.
QString closedHost()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

struct Panel
{
    QWidget panel;
    QTextBrowser* browser = new QTextBrowser(&panel);
    Panel()
    {
        panel.show();
        browser->hide();
    }
};

TEST(SiteTest, VendorPagesCarryTheProductParameters)
{
    const QString params = core::getProductInfoUrlParam();
    EXPECT_TRUE(params.startsWith(u"pname=PNKSUITE&ptype=H1&ver="_qs));
    EXPECT_EQ(params.section(u"ver="_qs, 1).count(u'.'), 1);
    const struct
    {
        core::VendorPage page;
        const char* address;
    } rows[] = {
        { core::VendorPage::Probe, "http://h/webapp.css" },
        { core::VendorPage::Service, "http://h/agent/ServicePNK.asp?%1" },
        { core::VendorPage::Help, "http://h/help.asp?rail=kdd&%1" },
        { core::VendorPage::Upgrade, "http://h/update/up.asp?a=1&%1" },
        { core::VendorPage::Postcode, "http://h/help/postcode.asp?%1" },
        { core::VendorPage::PaperSize, "http://h/kdd/help/paperset.htm?%1" },
        { core::VendorPage::Home, "http://h?%1" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(core::vendorPageAddress(row.page, u"h"_qs),
            QString::fromLatin1(row.address).arg(params));
    EXPECT_EQ(core::fullVersion().count(u'.'), 3);
    // The host is our own placeholder, never a real vendor's.
    EXPECT_TRUE(core::siteHost().endsWith(u".example"_qs));
}

TEST(SiteTest, AnAddressOpensWithoutItsSingleQuotes)
{
    RecordingShell shell;
    core::BrowseURL(shell, u"http://h/a?x='1'&y=2'"_qs);
    EXPECT_EQ(shell.urls, QStringList { u"http://h/a?x=1&y=2"_qs });
}

TEST(NetworkHttpTest, GetSendsTheSiteHeadersAndReturnsTheBody)
{
    LocalSite site;
    site.pages[u"/webapp.css"_qs] = "body { } /* site=x */";
    ui::NetworkHttp http;
    const core::HttpReply reply
        = http.get(u"http://"_qs + site.host() + u"/webapp.css?a=b c"_qs, 3000);
    EXPECT_TRUE(reply.ok) << reply.error.toStdString();
    EXPECT_EQ(reply.body, QByteArray("body { } /* site=x */"));
    ASSERT_EQ(site.requests.size(), 1);
    EXPECT_EQ(site.requests[0], u"GET /webapp.css?a=b%20c HTTP/1.1"_qs);
    const QByteArray headers = site.lastHeaders.toLower();
    EXPECT_TRUE(headers.contains("user-agent: mozilla/3.0 (compatible; indy library)\r\n"));
    EXPECT_TRUE(headers.contains("accept: text/html, */*\r\n"));
    EXPECT_TRUE(headers.contains("content-type: text/html\r\n"));

    const core::HttpReply missing = http.get(u"http://"_qs + site.host() + u"/none"_qs, 3000);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(http.get(u"http://"_qs + closedHost() + u"/webapp.css"_qs, 3000).ok);
}

TEST(NetworkHttpTest, ASiteThatNeverAnswersEndsAtTheReadTimeOut)
{
    LocalSite site;
    site.silent = true;
    ui::NetworkHttp http;
    const core::HttpReply reply = http.get(u"http://"_qs + site.host() + u"/webapp.css"_qs, 300);
    EXPECT_FALSE(reply.ok);
    EXPECT_FALSE(reply.error.isEmpty());
}

TEST(OnlinePanelTest, AnAvailableSiteShowsItsServicePage)
{
    LocalSite site;
    site.pages[u"/webapp.css"_qs] = "/* site=" + site.host().toLatin1() + " */";
    site.pages[u"/agent/ServicePNK.asp"_qs] = "<html><body><p>在线服务</p></body></html>";
    Panel p;
    test::ScriptedPrompter prompter;
    ui::NetworkHttp http;
    ui::THTTPThread(http, prompter, &p.panel, p.browser, site.host()).run(1400);
    EXPECT_TRUE(p.browser->isVisible());
    EXPECT_TRUE(p.browser->toPlainText().contains(u8("在线服务")));
    EXPECT_TRUE(p.panel.isVisible());
    ASSERT_EQ(site.requests.size(), 2);
    EXPECT_TRUE(
        site.requests[1].startsWith(u"GET /agent/ServicePNK.asp?pname=PNKSUITE&ptype=H1&ver="_qs));
    EXPECT_TRUE(prompter.entries().isEmpty());
}

struct UnavailableCase
{
    const char* name;
    bool serve;
    const char* probe; // reply of the probe
    int screenWidth;
    bool panelStays;
};

class UnavailableTable : public ::testing::TestWithParam<UnavailableCase>
{
};

TEST_P(UnavailableTable, TheBrowserAreaHidesAndNothingIsSaid)
{
    const UnavailableCase& c = GetParam();
    LocalSite site;
    if (c.probe)
        site.pages[u"/webapp.css"_qs] = c.probe;
    site.pages[u"/agent/ServicePNK.asp"_qs] = "<p>x</p>";
    const QString host = c.serve ? site.host() : closedHost();
    Panel p;
    p.browser->show();
    test::ScriptedPrompter prompter;
    ui::NetworkHttp http;
    ui::THTTPThread(http, prompter, &p.panel, p.browser, host).run(c.screenWidth);
    EXPECT_FALSE(p.browser->isVisible());
    EXPECT_EQ(p.panel.isVisible(), c.panelStays);
    EXPECT_TRUE(prompter.entries().isEmpty());
    for (const QString& request : site.requests)
        EXPECT_FALSE(request.contains(u"ServicePNK"_qs));
}

INSTANTIATE_TEST_SUITE_P(Site, UnavailableTable,
    ::testing::Values(UnavailableCase { "NoServer", false, nullptr, 1400, true },
        UnavailableCase { "NoMarker", true, "body {}", 1400, true },
        UnavailableCase { "OtherHost", true, "site=www.other.example", 1400, true },
        UnavailableCase { "NoProbePage", true, nullptr, 1400, true },
        UnavailableCase { "NarrowScreen", false, nullptr, 999, false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OnlinePanelTest, ANarrowScreenHidesThePanelAlsoWhenTheSiteAnswers)
{
    LocalSite site;
    site.pages[u"/webapp.css"_qs] = "site=" + site.host().toLatin1();
    Panel p;
    test::ScriptedPrompter prompter;
    ui::NetworkHttp http;
    ui::THTTPThread(http, prompter, &p.panel, p.browser, site.host()).run(999);
    EXPECT_FALSE(p.panel.isVisible());
    p.panel.show();
    ui::THTTPThread(http, prompter, &p.panel, p.browser, site.host()).run(1000);
    EXPECT_TRUE(p.panel.isVisible());
}

TEST(OnlinePanelTest, WebAppInfoIsSavedWhateverArrived)
{
    LocalSite site;
    site.pages[u"/webapp.ini"_qs] = "[App]\nName=x\n";
    test::TempHome home;
    ui::NetworkHttp http;
    const QString file = home.file(u"Data/WebApp.ini"_qs);
    EXPECT_TRUE(core::getWebAppInfo(http, u"http://"_qs + site.host() + u"/webapp.ini"_qs, file));
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("[App]\nName=x\n"));
    saved.close();
    EXPECT_FALSE(core::getWebAppInfo(http, u"http://"_qs + closedHost() + u"/webapp.ini"_qs, file));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().isEmpty());
}

// ---- the About box ----------------------------------------------------------------------------

TEST(AboutTest, SizeColourTextsAndSelfClose)
{
    RecordingShell shell;
    ui::Tfm_About about(shell);
    EXPECT_EQ(about.size(), QSize(398, 239));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(0x40, 0x8B, 0xDF));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    for (const char* text :
        { "关于", "Pennock票据打印软件", "单机版 for win98/Me/2000/Xp/2003/vista/Win7" })
        EXPECT_TRUE(texts.contains(u8(text))) << text;
    EXPECT_TRUE(texts.contains(u8("当前版本：") + core::fullVersion() + u"(H1)"_qs));
    EXPECT_EQ(about.lbContact->toolTip(), u8("单击鼠标进入软件官方网站"));
    EXPECT_EQ(about.closeTimer->interval(), 15000);
    EXPECT_TRUE(about.closeTimer->isSingleShot());
    EXPECT_TRUE(about.closeTimer->isActive());
    about.show();
    // The same timer, run out at once.
    about.closeTimer->setInterval(0);
    about.closeTimer->start();
    QTRY_VERIFY(!about.isVisible());
    EXPECT_TRUE(shell.urls.isEmpty());
}

TEST(AboutTest, AClickOnTheContactOpensTheHomePageAnyClickCloses)
{
    RecordingShell shell;
    {
        ui::Tfm_About about(shell);
        about.show();
        QTest::mouseClick(about.lbContact, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(shell.urls, QStringList { core::vendorPageAddress(core::VendorPage::Home) });
    }
    shell.urls.clear();
    ui::Tfm_About about(shell);
    about.show();
    QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(shell.urls.isEmpty());
}

} // namespace
