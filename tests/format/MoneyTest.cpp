#include "format/Money.h"
#include "format/Capitals.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

using namespace pennock::core;

namespace {

std::optional<std::int64_t> fenOf(const char* text)
{
    const std::optional<Money> m = Money::parse(QString::fromUtf8(text));
    return m ? std::optional(m->fen()) : std::nullopt;
}

Decimal decimal(const char* text) { return Decimal::parse(QString::fromUtf8(text)).value(); }

struct ParseCase
{
    const char* text;
    std::optional<std::int64_t> fen;
    friend std::ostream& operator<<(std::ostream& os, const ParseCase& c) { return os << c.text; }
};

class MoneyParseTest : public testing::TestWithParam<ParseCase>
{
};

TEST_P(MoneyParseTest, RoundsTheDecimalTextHalfAwayFromZeroAtTheFen)
{
    EXPECT_EQ(fenOf(GetParam().text), GetParam().fen);
}

INSTANTIATE_TEST_SUITE_P(Texts, MoneyParseTest,
    testing::Values(ParseCase { "2.675", 268 }, ParseCase { "1.005", 101 },
        ParseCase { "0.005", 1 }, ParseCase { "0.004", 0 }, ParseCase { "-2.675", -268 },
        ParseCase { "99.995", 10000 }, ParseCase { "2.67499999999999999999", 267 },
        ParseCase { "1,234.5", 123450 }, ParseCase { " +12 ", 1200 }, ParseCase { ".5", 50 },
        ParseCase { "7.", 700 }, ParseCase { "999999999.99", 99999999999 },
        ParseCase { "999999999999999", 99999999999999900 },
        // A sixteenth integer digit is beyond every bill: one huge amount.
        ParseCase { "1234567890123456", Money::kHugeFen },
        ParseCase { "-1234567890123456", -Money::kHugeFen }, ParseCase { "", std::nullopt },
        ParseCase { ".", std::nullopt }, ParseCase { "1.2.3", std::nullopt },
        ParseCase { "1e3", std::nullopt }, ParseCase { "--1", std::nullopt },
        ParseCase { "１２", std::nullopt }, ParseCase { "12元", std::nullopt }));

struct ProductCase
{
    const char* a;
    const char* b;
    std::int64_t fen;
    friend std::ostream& operator<<(std::ostream& os, const ProductCase& c)
    {
        return os << c.a << " x " << c.b;
    }
};

class MoneyProductTest : public testing::TestWithParam<ProductCase>
{
};

TEST_P(MoneyProductTest, RoundsTheExactProductOnce)
{
    const ProductCase& c = GetParam();
    EXPECT_EQ(Money::product(decimal(c.a), decimal(c.b)).fen(), c.fen);
    EXPECT_EQ(Money::product(decimal(c.b), decimal(c.a)).fen(), c.fen);
}

INSTANTIATE_TEST_SUITE_P(Products, MoneyProductTest,
    testing::Values(ProductCase { "1", "1.005", 101 }, ProductCase { "3", "1.005", 302 },
        ProductCase { "3", "2.675", 803 }, ProductCase { "7", "0.285", 200 },
        ProductCase { "0.1", "0.3", 3 }, ProductCase { "2.5", "0.01", 3 },
        ProductCase { "0.5", "0.01", 1 }, ProductCase { "0.4", "0.01", 0 },
        ProductCase { "-2", "25", -5000 }, ProductCase { "-1", "2.675", -268 },
        ProductCase { "0", "123456789012345", 0 },
        ProductCase { "123456789.123456789", "1000", 12345678912346 },
        ProductCase { "100000000", "100000000", Money::kHugeFen }));

struct RateCase
{
    const char* amount;
    const char* value;
    const char* base;
    std::int64_t fen;
    friend std::ostream& operator<<(std::ostream& os, const RateCase& c)
    {
        return os << c.amount << " at " << c.base << ":" << c.value;
    }
};

class MoneyRateTest : public testing::TestWithParam<RateCase>
{
};

TEST_P(MoneyRateTest, ConvertsWithOneRounding)
{
    const RateCase& c = GetParam();
    const std::optional<Money> converted = Money::atRate(
        Money::parse(QString::fromUtf8(c.amount)).value(), decimal(c.value), decimal(c.base));
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->fen(), c.fen);
}

INSTANTIATE_TEST_SUITE_P(Rates, MoneyRateTest,
    testing::Values(RateCase { "1000", "680.23", "100", 680230 },
        RateCase { "950", "680.23", "100", 646219 }, // 6462.185
        RateCase { "0.01", "1", "3", 0 }, RateCase { "0.02", "1", "3", 1 },
        RateCase { "-100", "720", "100", -72000 }, RateCase { "250", "1234.5", "100", 308625 },
        RateCase { "1", "7.1", "1", 710 }));

TEST(MoneyTest, AZeroBaseIsNoRate)
{
    EXPECT_FALSE(Money::atRate(Money::fromFen(100), decimal("680"), decimal("0.00")));
}

TEST(MoneyTest, SumsOfRoundedAmountsAreExactAndShowAsTheyAdd)
{
    Money sum;
    for (const char* line : { "2.675", "2.675", "0.1", "0.2" })
        sum += Money::parse(QString::fromUtf8(line)).value();
    EXPECT_EQ(sum.fen(), 566);
    EXPECT_EQ(sum.plainText(), QStringLiteral("5.66"));
    EXPECT_EQ(FormatMoney(sum, true), QStringLiteral("5.66"));
    EXPECT_EQ(AmountToCapitals(sum), QStringLiteral("伍元陆角陆分"));
}

TEST(MoneyTest, FiguresAndCapitalsOfAnExactAmount)
{
    struct Case
    {
        std::int64_t fen;
        const char* plain;
        const char* thousands;
        const char* capitals;
    };
    const Case cases[] = {
        { 0, "0.00", "0.00", "零元整" },
        { 5, "0.05", "0.05", "伍分" },
        { 268, "2.68", "2.68", "贰元陆角捌分" },
        { 123456789, "1234567.89", "1,234,567.89", "壹佰贰拾叁万肆仟伍佰陆拾柒元捌角玖分" },
        { -5000, "-50.00", "-50.00", "" }, // no capitals for a negative amount
        { 99999999999, "999999999.99", "999,999,999.99",
            "玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain);
        const Money m = Money::fromFen(c.fen);
        EXPECT_EQ(m.plainText(), QString::fromUtf8(c.plain));
        EXPECT_EQ(FormatMoney(m, false), QString::fromUtf8(c.plain));
        EXPECT_EQ(FormatMoney(m, true), QString::fromUtf8(c.thousands));
        EXPECT_EQ(AmountToCapitals(m), QString::fromUtf8(c.capitals));
    }
    EXPECT_EQ(AmountToCapitals(Money::fromFen(Money::kHugeFen)), QString());
}

TEST(MoneyTest, AmountTextInCapitalsIsRoundedFromItsDigits)
{
    // The nearest binary number of this text is 2.675 itself; its digits say 2.67.
    EXPECT_EQ(
        AmountToCapitals(QStringLiteral("2.67499999999999999999")), QStringLiteral("贰元陆角柒分"));
    EXPECT_EQ(AmountToCapitals(QStringLiteral("2.675")), QStringLiteral("贰元陆角捌分"));
    EXPECT_EQ(AmountToCapitals(QStringLiteral("1,000.005")), QStringLiteral("壹仟元零壹分"));
}

} // namespace
