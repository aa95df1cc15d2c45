#include "Capitals.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace pennock::core {

namespace {

constexpr std::u16string_view kDigits = u"零壹贰叁肆伍陆柒捌玖";
constexpr std::u16string_view kUnits = u"零壹贰叁肆伍陆柒捌玖-万仟佰拾亿仟佰拾万仟佰拾元角分";
static_assert(kDigits.size() == 10 && kUnits.size() == 26);

struct ZeroRule
{
    std::u16string_view from;
    char16_t to;
};

constexpr std::array<ZeroRule, 12> kZeroRules = { {
    { u"零仟", u'零' },
    { u"零佰", u'零' },
    { u"零拾", u'零' },
    { u"零零零", u'零' },
    { u"零零", u'零' },
    { u"零亿", u'亿' },
    { u"零万", u'万' },
    { u"零元", u'元' },
    { u"亿万", u'亿' },
    { u"零角", u'零' },
    { u"零分", u'整' },
    { u"零整", u'整' },
} };

constexpr std::array<std::u16string_view, 31> kDayCapitals = {
    u"零壹",
    u"零贰",
    u"零叁",
    u"零肆",
    u"零伍",
    u"零陆",
    u"零柒",
    u"零捌",
    u"零玖",
    u"零壹拾",
    u"壹拾壹",
    u"壹拾贰",
    u"壹拾叁",
    u"壹拾肆",
    u"壹拾伍",
    u"壹拾陆",
    u"壹拾柒",
    u"壹拾捌",
    u"壹拾玖",
    u"零贰拾",
    u"贰拾壹",
    u"贰拾贰",
    u"贰拾叁",
    u"贰拾肆",
    u"贰拾伍",
    u"贰拾陆",
    u"贰拾柒",
    u"贰拾捌",
    u"贰拾玖",
    u"零叁拾",
    u"叁拾壹",
};

// The units stop at 万亿: 13 digits of yuan, 15 of fen.
constexpr double kAmountLimit = 1e13;
constexpr std::size_t kMaxYuanDigits = 13;
constexpr std::size_t kMaxFenDigits = 15;

// The fixed notation of any finite double fits: 309 integer digits at most, or "0." and 326
// decimals.
constexpr int kDecimalCapacity = 400;

// |value| rounded to a few decimals, halves away from zero. Rounds the shortest text that
// reads back as the same double, so 1.005 is rounded as written and not as 1.00499999....
class RoundedDecimal
{
public:
    RoundedDecimal(double value, int decimals) noexcept
    {
        char buffer[kDecimalCapacity];
        const char* end = std::to_chars(
            buffer, buffer + kDecimalCapacity, std::fabs(value), std::chars_format::fixed)
                              .ptr;
        const std::string_view text(buffer, std::size_t(end - buffer));
        const std::size_t point = std::min(text.find('.'), text.size());
        const std::string_view fraction = text.substr(std::min(point + 1, text.size()));

        // Slot 0 takes the carry of 9.995 -> 10.00.
        mDigits[0] = '0';
        mPoint = 1 + int(text.copy(mDigits + 1, point));
        mEnd = mPoint;
        for (std::size_t i = 0; i < std::size_t(decimals); ++i)
            mDigits[mEnd++] = i < fraction.size() ? fraction[i] : '0';
        if (std::size_t(decimals) < fraction.size() && fraction[decimals] >= '5') {
            int i = mEnd - 1;
            for (; mDigits[i] == '9'; --i)
                mDigits[i] = '0';
            ++mDigits[i];
        }
        mBegin = mDigits[0] == '0' ? 1 : 0;
    }

    std::string_view integerDigits() const noexcept { return digits(mBegin, mPoint); }
    std::string_view fractionDigits() const noexcept { return digits(mPoint, mEnd); }
    std::string_view allDigits() const noexcept { return digits(mBegin, mEnd); }
    bool isZero() const noexcept
    {
        return allDigits().find_first_not_of('0') == std::string_view::npos;
    }

private:
    std::string_view digits(int from, int to) const noexcept
    {
        return { mDigits + from, std::size_t(to - from) };
    }

    char mDigits[kDecimalCapacity + 4];
    int mBegin;
    int mPoint;
    int mEnd;
};

// In place, as a replacement is never longer than what it replaces. The text is followed by two
// zero sentinels, so the match test may read past its end instead of checking it.
qsizetype replaceAll(char16_t* text, qsizetype size, const ZeroRule& rule) noexcept
{
    const qsizetype length = qsizetype(rule.from.size());
    const char16_t first = rule.from[0];
    const char16_t second = rule.from[1];
    const char16_t third = length > 2 ? rule.from[2] : 0;
    qsizetype out = 0;
    for (qsizetype in = 0; in < size; ++out) {
        const bool match = (text[in] == first) & (text[in + 1] == second)
            & ((third == 0) | (text[in + 2] == third));
        text[out] = match ? rule.to : text[in];
        in += match ? length : 1;
    }
    text[out] = text[out + 1] = 0;
    return out;
}

bool isAsciiDigit(QChar c) noexcept { return c >= u'0' && c <= u'9'; }

// The words of an amount written as its digits in fen, without leading zeros.
QString capitalsOfFen(std::string_view digits)
{
    const std::size_t n = digits.size();
    if (n > kMaxFenDigits)
        return {};
    // Less than half a fen is nothing to pay, not a lone "整".
    if (digits == "0")
        return QStringLiteral("零元整");

    std::array<char16_t, 2 * kMaxFenDigits + 2> text;
    qsizetype size = 0;
    for (std::size_t i = 0; i < n; ++i) {
        text[size++] = kDigits[digits[i] - '0'];
        text[size++] = kUnits[kUnits.size() - n + i];
    }
    text[size] = text[size + 1] = 0;

    // Every rule needs a 零, or for 亿万 a 零 removed between the two, so the words before the
    // unit ahead of the first zero digit stay as they are.
    const std::size_t firstZero = digits.find('0');
    if (firstZero != std::string_view::npos) {
        const qsizetype kept = qsizetype(firstZero) * 2 - (firstZero > 0);
        for (const ZeroRule& rule : kZeroRules)
            size = kept + replaceAll(text.data() + kept, size - kept, rule);
    }
    return QStringView(text.data(), size).toString();
}

} // namespace

QString AmountToCapitals(double amount)
{
    if (amount == 0)
        return QStringLiteral("零元整");
    if (!(amount > 0 && amount < kAmountLimit))
        return {};

    // Far from a half fen, binary rounding of amount * 100 agrees with rounding the decimal
    // text, and skips writing that text out.
    char fastDigits[24];
    std::string_view digits;
    const double scaled = amount * 100;
    if (scaled < 1e12 && std::fabs(scaled - std::floor(scaled) - 0.5) > 1e-3) {
        const char* end
            = std::to_chars(fastDigits, fastDigits + sizeof fastDigits, std::llround(scaled)).ptr;
        digits = std::string_view(fastDigits, std::size_t(end - fastDigits));
    }
    const RoundedDecimal fen(digits.empty() ? amount : 0.0, 2);
    if (digits.empty()) {
        digits = fen.allDigits();
        digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size() - 1));
    }
    return capitalsOfFen(digits);
}

QString AmountToCapitals(Money amount)
{
    if (amount.isZero())
        return QStringLiteral("零元整");
    if (amount.isNegative() || amount.isHuge())
        return {};
    char buffer[24];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, amount.fen()).ptr;
    return capitalsOfFen(std::string_view(buffer, std::size_t(end - buffer)));
}

std::optional<QString> AmountToCapitals(const QString& amountText)
{
    const std::optional<Decimal> amount = Decimal::parse(amountText);
    if (!amount)
        return std::nullopt;
    // Within the words' range the digits decide; beyond it the answer is the same empty text.
    return AmountToCapitals(Money::of(*amount));
}

std::optional<QString> AmountToDigitCapitals(
    const QString& amountText, int cells, const QString& mode)
{
    const std::optional<double> amount = ParseAmount(amountText);
    if (!amount)
        return std::nullopt;
    if (*amount == 0)
        return QStringLiteral("零");
    if (!(*amount > 0 && *amount < kAmountLimit))
        return QString();

    const int decimals = mode == u"0" ? 0 : (mode == u"0.0" || mode == u".0") ? 1 : 2;
    const RoundedDecimal rounded(*amount, decimals);
    const std::string_view integer = rounded.integerDigits();
    if (integer.size() > kMaxYuanDigits)
        return QString();
    if (std::size_t(std::max(cells, 0)) < integer.size())
        return QStringLiteral("超出位数限制");

    const std::string_view fraction = rounded.fractionDigits();
    QString result(qsizetype(cells) + qsizetype(fraction.size()), kDigits[0]);
    QChar* out = result.data() + (cells - qsizetype(integer.size()));
    for (const std::string_view digits : { integer, fraction }) {
        for (const char c : digits)
            *out++ = QChar(kDigits[c - '0']);
    }
    return result;
}

QString DateNumberToCapitals(const QString& part)
{
    if (part.isEmpty() || !std::all_of(part.begin(), part.end(), isAsciiDigit))
        return {};
    if (part.size() <= 2) {
        const int value = part.toInt();
        if (value < 1 || value > int(kDayCapitals.size()))
            return {};
        return QStringView(kDayCapitals[value - 1]).toString();
    }
    QString year = part;
    for (QChar& c : year)
        c = QChar(kDigits[c.unicode() - u'0']);
    return year;
}

namespace {

// "-1,234.56" from its sign, integer digits and fraction digits.
QString moneyText(
    bool negative, std::string_view integer, std::string_view fraction, bool thousands)
{
    std::string text;
    text.reserve(integer.size() * 4 / 3 + fraction.size() + 2);
    if (negative)
        text += '-';
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (thousands && i > 0 && (integer.size() - i) % 3 == 0)
            text += ',';
        text += integer[i];
    }
    text += '.';
    text += fraction;
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

QString FormatMoney(double amount, bool thousands)
{
    if (!std::isfinite(amount))
        return {};
    const RoundedDecimal rounded(amount, 2);
    const std::string_view integer = rounded.integerDigits();

    // No "-0.00".
    return moneyText(amount < 0 && !rounded.isZero(), integer, rounded.fractionDigits(), thousands);
}

QString FormatMoney(Money amount, bool thousands)
{
    const std::int64_t fen = amount.fen();
    const std::int64_t magnitude = fen < 0 ? -fen : fen;
    char buffer[24];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, magnitude / 100).ptr;
    const std::string_view integer(buffer, std::size_t(end - buffer));
    const char fraction[2] = { char('0' + magnitude % 100 / 10), char('0' + magnitude % 10) };
    return moneyText(fen < 0, integer, std::string_view(fraction, 2), thousands);
}

QString NormalizeAmountText(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (isAsciiDigit(c) || u == u'.')
            result += c;
        else if (u >= u'０' && u <= u'９')
            result += QChar(u'0' + (u - u'０'));
        else if (u == u'．' || u == u'。')
            result += u'.';
    }
    return result;
}

std::optional<double> ParseAmount(const QString& text)
{
    std::string number;
    number.reserve(std::size_t(text.size()));
    for (const QChar c : QStringView(text).trimmed()) {
        if (c == u',')
            continue;
        if (c.unicode() >= 0x80)
            return std::nullopt;
        number += char(c.unicode());
    }

    std::string_view body = number;
    if (body.starts_with('+') || body.starts_with('-'))
        body.remove_prefix(1);
    const std::size_t point = body.find('.');
    const std::string_view integer = body.substr(0, point);
    const std::string_view fraction
        = point == std::string_view::npos ? std::string_view() : body.substr(point + 1);
    const auto allDigits = [](std::string_view s) {
        return s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (integer.empty() && fraction.empty())
        return std::nullopt;
    if (!allDigits(integer) || !allDigits(fraction))
        return std::nullopt;

    // from_chars takes no "+".
    const char* first = number.data() + (number.front() == '+' ? 1 : 0);
    const char* last = number.data() + number.size();
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

} // namespace pennock::core
