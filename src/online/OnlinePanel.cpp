#include "online/OnlinePanel.h"

#include "online/Site.h"
#include "platform/Http.h"
#include "platform/Prompter.h"

#include <QTextBrowser>
#include <QUrl>

#include <exception>

namespace pennock::ui {

THTTPThread::THTTPThread(
    core::Http& http, core::Prompter& prompter, QWidget* panel, QTextBrowser* browser, QString host)
    : mHttp(http)
    , mPrompter(prompter)
    , mPanel(panel)
    , mBrowser(browser)
    , mHost(std::move(host))
{
}

bool THTTPThread::siteAnswered(const QByteArray& reply, const QString& host)
{
    return QString::fromUtf8(reply).contains(QStringLiteral("site=") + host);
}

void THTTPThread::run(int screenWidth)
{
    try {
        const core::HttpReply probe = mHttp.get(
            core::vendorPageAddress(core::VendorPage::Probe, mHost), core::kSiteReadTimeoutMs);
        if (probe.ok && siteAnswered(probe.body, mHost)) {
            const QString address = core::vendorPageAddress(core::VendorPage::Service, mHost);
            const core::HttpReply page = mHttp.get(address, core::kSiteReadTimeoutMs);
            // A page that does not come is no error: the area stays empty.
            mBrowser->setSource(QUrl());
            mBrowser->setHtml(page.ok ? QString::fromUtf8(page.body) : QString());
            mBrowser->setProperty("address", address);
            mBrowser->show();
        } else {
            mBrowser->hide();
        }
        if (screenWidth < 1000)
            mPanel->hide();
    } catch (const std::exception& e) {
        mPrompter.warn(QStringLiteral("异常") + QString::fromLocal8Bit(e.what()));
    }
}

} // namespace pennock::ui
