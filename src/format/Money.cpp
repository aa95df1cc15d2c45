#include "format/Money.h"

#include <QLocale>

namespace pennock::core {

namespace {

__extension__ typedef __int128 Wide; // 128 bits hold a product of two mantissas

constexpr int kMaxDigits = 18; // what an int64 mantissa holds
constexpr int kMaxIntegerDigits = 15;

constexpr Wide power10(int exponent) noexcept
{
    Wide p = 1;
    for (int i = 0; i < exponent; ++i)
        p *= 10;
    return p;
}

// numerator / denominator (both positive) rounded half away from zero.
constexpr Wide roundedQuotient(Wide numerator, Wide denominator) noexcept
{
    const Wide q = numerator / denominator;
    const Wide r = numerator % denominator;
    return 2 * r >= denominator ? q + 1 : q;
}

// |mantissa| × 10^-scale in fen, rounded half away from zero; the result may exceed int64
// only when the caller's operands do, and is then clamped by Money.
Wide fenOf(Wide magnitude, int scale) noexcept
{
    if (scale <= 2)
        return magnitude * power10(2 - scale);
    return roundedQuotient(magnitude, power10(scale - 2));
}

Money signedMoney(Wide fen, bool negative) noexcept
{
    const Wide clamped = fen >= Money::kHugeFen ? Wide(Money::kHugeFen) : fen;
    const auto value = std::int64_t(clamped);
    return Money::fromFen(negative ? -value : value);
}

Wide magnitudeOf(std::int64_t value) noexcept { return value < 0 ? -Wide(value) : Wide(value); }

} // namespace

std::optional<Decimal> Decimal::parse(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    QString integer;
    QString fraction;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u',')
            continue;
        if (c == u'.') {
            if (point)
                return std::nullopt;
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        (point ? fraction : integer) += c;
    }
    if (integer.isEmpty() && fraction.isEmpty())
        return std::nullopt;

    while (integer.startsWith(u'0'))
        integer.remove(0, 1);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    Decimal d;
    d.mNegative = negative;
    if (integer.size() > kMaxIntegerDigits) {
        d.mHuge = true;
        return d;
    }
    // At most 18 digits after the point and 18 in all: the mantissa fits 64 bits and a
    // product of two fits 128.
    const qsizetype kept = std::min<qsizetype>(fraction.size(), kMaxDigits - integer.size());
    std::int64_t mantissa = 0;
    for (const QChar c : integer + fraction.left(kept))
        mantissa = mantissa * 10 + (c.unicode() - u'0');
    d.mMantissa = negative ? -mantissa : mantissa;
    d.mScale = int(kept);
    return d;
}

std::optional<Money> Money::parse(QStringView text)
{
    const std::optional<Decimal> d = Decimal::parse(text);
    if (!d)
        return std::nullopt;
    return of(*d);
}

Money Money::fromDouble(double value)
{
    return parse(QString::number(value, 'f', QLocale::FloatingPointShortest)).value_or(Money());
}

Money Money::of(const Decimal& value) noexcept
{
    if (value.isHuge())
        return fromFen(value.isNegative() ? -kHugeFen : kHugeFen);
    return signedMoney(fenOf(magnitudeOf(value.mantissa()), value.scale()), value.mantissa() < 0);
}

Money Money::product(const Decimal& a, const Decimal& b) noexcept
{
    const bool negative = a.isNegative() != b.isNegative();
    if (a.isZero() || b.isZero())
        return Money();
    if (a.isHuge() || b.isHuge())
        return fromFen(negative ? -kHugeFen : kHugeFen);
    // Two mantissas of 18 digits make at most 36: within 128 bits.
    const Wide magnitude = magnitudeOf(a.mantissa()) * magnitudeOf(b.mantissa());
    return signedMoney(fenOf(magnitude, a.scale() + b.scale()), negative);
}

std::optional<Money> Money::atRate(Money amount, const Decimal& value, const Decimal& base) noexcept
{
    if (base.isZero())
        return std::nullopt;
    const bool negative = amount.isNegative() != (value.isNegative() != base.isNegative());
    if (amount.isZero() || value.isZero())
        return Money();
    if (amount.isHuge() || value.isHuge())
        return fromFen(negative ? -kHugeFen : kHugeFen);
    if (base.isHuge())
        return Money(); // a rate of nothing worth rounding to a fen
    // fen × value ÷ base = (fen × mantissa × 10^baseScale) ÷ (baseMantissa × 10^valueScale).
    Wide numerator = 0;
    if (__builtin_mul_overflow(magnitudeOf(amount.fen()), magnitudeOf(value.mantissa()), &numerator)
        || __builtin_mul_overflow(numerator, power10(base.scale()), &numerator))
        return fromFen(negative ? -kHugeFen : kHugeFen);
    const Wide denominator = magnitudeOf(base.mantissa()) * power10(value.scale());
    return signedMoney(roundedQuotient(numerator, denominator), negative);
}

QString Money::plainText() const
{
    const std::int64_t magnitude = mFen < 0 ? -mFen : mFen;
    return (mFen < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 100)
        + QLatin1Char('.') + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

} // namespace pennock::core
