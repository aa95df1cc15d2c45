#pragma once

#include <QString>

namespace pennock::core {

class Services;
struct Bill;

/// Prints a bill as a proof: a PDF page of the template's paper size with the template's form
/// picture stretched over the whole page underneath, and the values exactly where the printer
/// would put them, the template's whole-page offset included. Returns an empty text on
/// success, else why it failed. Throws DbError.
QString printProof(
    Services& services, const Bill& bill, const QString& currencyCode, const QString& path);

} // namespace pennock::core
