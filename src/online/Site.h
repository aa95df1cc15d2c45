#pragma once

#include <QString>

namespace pennock::core {

/// Host name of the vendor's web site.
QString siteHost();
/// "http://" + the site's host + "/" + `pathAndQuery` (a leading slash is not doubled).
QString siteAddress(const QString &pathAndQuery);

} // namespace pennock::core
