#pragma once

#include <QString>

class QTextBrowser;
class QWidget;

namespace pennock::core {
class Http;
class Prompter;
} // namespace pennock::core

namespace pennock::ui {

/// The online panel's one fetch: probes the site and shows its service page in the panel's
/// browser area when the site answers with its marker, else leaves the contact label in sight.
class THTTPThread
{
public:
    THTTPThread(core::Http& http, core::Prompter& prompter, QWidget* panel, QTextBrowser* browser,
        QString host);

    /// One pass; `screenWidth` below 1000 hides the whole panel afterwards.
    void run(int screenWidth);
    /// The probe's verdict: the reply names the site as "site=" + host.
    static bool siteAnswered(const QByteArray& reply, const QString& host);

private:
    core::Http& mHttp;
    core::Prompter& mPrompter;
    QWidget* mPanel;
    QTextBrowser* mBrowser;
    QString mHost;
};

} // namespace pennock::ui
