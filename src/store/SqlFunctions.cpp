#include "store/SqlFunctions.h"

#include "store/Database.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>

#include <sqlite3.h>

#include <charconv>
#include <cstdlib>
#include <string>

namespace pennock::core {

namespace {

QString argText(sqlite3_value* value)
{
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(value));
    const int bytes = sqlite3_value_bytes16(value);
    return QString::fromUtf16(text, bytes / 2);
}

void resultText(sqlite3_context* ctx, const QString& text)
{
    sqlite3_result_text16(ctx, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

// The leading number of a stored amount in plain ASCII, without building a string; none for
// text that needs the general rules (other blanks, very long numbers).
std::optional<double> asciiLeadingNumber(const unsigned char* p, int n)
{
    int i = 0;
    while (i < n && (p[i] == ' ' || (p[i] >= '\t' && p[i] <= '\r')))
        ++i;
    if (i < n && p[i] >= 0x80)
        return std::nullopt;
    char buf[64];
    int len = 0;
    if (i < n && (p[i] == '-' || p[i] == '+')) {
        if (p[i] == '-')
            buf[len++] = '-';
        ++i;
    }
    bool point = false;
    bool digits = false;
    for (; i < n; ++i) {
        const unsigned char c = p[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        if (len == int(sizeof buf))
            return std::nullopt;
        buf[len++] = char(c);
    }
    if (!digits)
        return 0.0;
    double value = 0;
    std::from_chars(buf, buf + len, value);
    return value;
}

// A stored amount as the bills write it: a currency code or symbol may stand in front and
// thousands may be separated by commas ("￥1,234.50", "USD100.00").
double moneyValue(const unsigned char* p, int n)
{
    int i = 0;
    while (i < n && !(p[i] >= '0' && p[i] <= '9') && p[i] != '.' && p[i] != '-')
        ++i;
    char buf[64];
    int len = 0;
    if (i < n && p[i] == '-')
        buf[len++] = p[i++];
    bool point = false;
    for (; i < n && len < int(sizeof buf); ++i) {
        const unsigned char c = p[i];
        if (c == ',' && i + 1 < n && p[i + 1] >= '0' && p[i + 1] <= '9' && !point)
            continue;
        if (c == '.' && !point)
            point = true;
        else if (c < '0' || c > '9')
            break;
        buf[len++] = char(c);
    }
    double value = 0;
    std::from_chars(buf, buf + len, value);
    return value;
}

// Null stays null and numbers stay as they are; a text is read by `number`.
template <double (*number)(sqlite3_value*)>
void sqlNumber(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        sqlite3_result_value(ctx, argv[0]);
        return;
    default:
        sqlite3_result_double(ctx, number(argv[0]));
    }
}

double moneyOf(sqlite3_value* v)
{
    return moneyValue(sqlite3_value_text(v), sqlite3_value_bytes(v));
}

double leadingNumberOf(sqlite3_value* v)
{
    if (const auto fast = asciiLeadingNumber(sqlite3_value_text(v), sqlite3_value_bytes(v)))
        return *fast;
    return leadingNumber(argText(v));
}

void sqlUcase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    resultText(ctx, argText(argv[0]).toUpper());
}

void sqlLcase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    resultText(ctx, argText(argv[0]).toLower());
}

void sqlLen(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, int(argText(argv[0]).size()));
}

void sqlCdate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const auto dt = parseDateTimeText(argText(argv[0]));
    if (!dt)
        return sqlite3_result_null(ctx);
    resultText(ctx, Database::dateTimeText(*dt));
}

} // namespace

double leadingNumber(QStringView text) noexcept
{
    std::string ascii;
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ascii += char(text[i++].unicode());
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9')
            ascii += char(c);
        else if (c == u'.' && !point) {
            point = true;
            ascii += '.';
        } else
            break;
    }
    return ascii.empty() ? 0.0 : std::strtod(ascii.c_str(), nullptr);
}

std::optional<QDateTime> parseDateTimeText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{4})[-/.](\d{1,2})[-/.](\d{1,2})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const auto m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

namespace {
sqlite3* nativeHandle(QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}
} // namespace

bool isReadOnly(QSqlDatabase& db)
{
    sqlite3* sqlite = nativeHandle(db);
    return sqlite && sqlite3_db_readonly(sqlite, "main") == 1;
}

void registerSqlFunctions(QSqlDatabase& db)
{
    sqlite3* sqlite = nativeHandle(db);
    if (!sqlite)
        return;
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(
        sqlite, "val", 1, flags, nullptr, sqlNumber<leadingNumberOf>, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(
        sqlite, "money", 1, flags, nullptr, sqlNumber<moneyOf>, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(
        sqlite, "ucase", 1, flags, nullptr, sqlUcase, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(
        sqlite, "lcase", 1, flags, nullptr, sqlLcase, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(sqlite, "len", 1, flags, nullptr, sqlLen, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(
        sqlite, "cdate", 1, flags, nullptr, sqlCdate, nullptr, nullptr, nullptr);
}

} // namespace pennock::core
