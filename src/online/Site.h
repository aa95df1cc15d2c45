#pragma once

#include <QString>

namespace pennock::core {

class Http;
class Shell;

/// Host name of the vendor's web site.
QString siteHost();
/// "http://" + the site's host + "/" + `pathAndQuery` (a leading slash is not doubled).
QString siteAddress(const QString& pathAndQuery);

/// "pname=PNKSUITE&ptype=H1&ver=" + major.minor of the program's version.
QString getProductInfoUrlParam();
/// The four-part version (major.minor.release.build) the About box shows.
QString fullVersion();

/// The vendor's pages that the program opens or fetches.
enum class VendorPage { Probe, Service, Help, Upgrade, Postcode, PaperSize, Home };
/// The address of a page on `host` (the site's host by default), with the product parameters
/// where the page takes them.
QString vendorPageAddress(VendorPage page, const QString& host = siteHost());

/// Opens an address in the user's browser, without its single quotes; failures are ignored.
void BrowseURL(Shell& shell, const QString& address);

/// GETs `address` and saves whatever arrived as `file`; true when the request succeeded.
bool getWebAppInfo(Http& http, const QString& address, const QString& file);

/// The read time-out of every request to the site.
inline constexpr int kSiteReadTimeoutMs = 3000;

} // namespace pennock::core
