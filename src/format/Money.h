#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>

namespace pennock::core {

/// A number read exactly from its decimal text: mantissa × 10^-scale. Quantities, prices and
/// rates are kept this way so that no binary fraction ever decides a rounding.
class Decimal
{
public:
    /// Reads "1,234.567", "-0.5", "+3", " 12 ", ".5": blanks around it, "," anywhere, one sign,
    /// digits with at most one "."; none for anything else. Digits beyond the eighteenth in
    /// all are dropped (below 10^-3 of a fen); an integer part of more than 15 digits is huge.
    static std::optional<Decimal> parse(QStringView text);

    std::int64_t mantissa() const noexcept { return mMantissa; }
    int scale() const noexcept { return mScale; }
    /// Too large for any amount a bill holds (10^15 or more).
    bool isHuge() const noexcept { return mHuge; }
    bool isZero() const noexcept { return !mHuge && mMantissa == 0; }
    bool isNegative() const noexcept { return mNegative; }

private:
    std::int64_t mMantissa = 0; ///< signed
    int mScale = 0;
    bool mHuge = false;
    bool mNegative = false;
};

/// An amount of money in fen, exact. Every amount is formed once from decimal text or from
/// exact arithmetic, rounded half away from zero at the fen; sums of amounts are exact.
/// Amounts of 10^15 yuan or more are all one huge value that every range check refuses.
class Money
{
public:
    static constexpr std::int64_t kHugeFen = 100'000'000'000'000'000; ///< 10^15 yuan

    constexpr Money() = default;
    static constexpr Money fromFen(std::int64_t fen) noexcept { return Money(fen); }
    /// The amount a text stands for (as `Decimal::parse` reads it), rounded at the fen.
    static std::optional<Money> parse(QStringView text);
    /// The amount of a number, rounded at the fen as its shortest decimal text reads.
    static Money fromDouble(double value);
    /// A decimal number rounded at the fen.
    static Money of(const Decimal& value) noexcept;
    /// quantity × price, rounded once at the fen.
    static Money product(const Decimal& a, const Decimal& b) noexcept;
    /// amount × value ÷ base, rounded once at the fen; none for a zero base.
    static std::optional<Money> atRate(
        Money amount, const Decimal& value, const Decimal& base) noexcept;

    constexpr std::int64_t fen() const noexcept { return mFen; }
    constexpr bool isZero() const noexcept { return mFen == 0; }
    constexpr bool isNegative() const noexcept { return mFen < 0; }
    constexpr bool isHuge() const noexcept { return mFen >= kHugeFen || mFen <= -kHugeFen; }
    /// At least 0 and under `yuan` (a bill's range).
    constexpr bool isWithin(std::int64_t yuan) const noexcept
    {
        return mFen >= 0 && mFen < yuan * 100;
    }
    /// The figures with two decimals and no separators: "1234.50", "-0.05".
    QString plainText() const;
    /// The value as a binary number, for whoever still reckons in those.
    double toDouble() const noexcept { return double(mFen) / 100.0; }

    Money operator+(Money other) const noexcept { return Money(mFen + other.mFen); }
    Money& operator+=(Money other) noexcept { return *this = *this + other; }
    Money operator-() const noexcept { return Money(-mFen); }
    friend constexpr bool operator==(Money, Money) = default;
    friend constexpr auto operator<=>(Money, Money) = default;

private:
    constexpr explicit Money(std::int64_t fen) noexcept
        : mFen(fen >= kHugeFen     ? kHugeFen
                : fen <= -kHugeFen ? -kHugeFen
                                   : fen)
    {
    }

    std::int64_t mFen = 0;
};

} // namespace pennock::core
