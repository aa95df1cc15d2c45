#include "format/Capitals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

using namespace pennock::core;

namespace {

// UTF-8 strings make gtest print failures readably.
std::string utf8(const QString& text) { return text.toStdString(); }

std::optional<std::string> utf8(const std::optional<QString>& text)
{
    return text ? std::optional(text->toStdString()) : std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// Amount in words

struct WordsCase
{
    double amount;
    const char* expected;
    friend std::ostream& operator<<(std::ostream& os, const WordsCase& c) { return os << c.amount; }
};

class AmountToCapitalsTest : public testing::TestWithParam<WordsCase>
{
};

TEST_P(AmountToCapitalsTest, ConvertsAmount)
{
    EXPECT_EQ(utf8(AmountToCapitals(GetParam().amount)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Words, AmountToCapitalsTest,
    testing::Values(WordsCase { 0, "零元整" }, WordsCase { 0.01, "壹分" },
        WordsCase { 0.1, "壹角整" }, WordsCase { 1, "壹元整" }, WordsCase { 10.01, "壹拾元零壹分" },
        WordsCase { 100.10, "壹佰元壹角整" }, WordsCase { 101, "壹佰零壹元整" },
        WordsCase { 1010, "壹仟零壹拾元整" }, WordsCase { 10000.01, "壹万元零壹分" },
        WordsCase { 100010, "壹拾万零壹拾元整" }, WordsCase { 1000000.5, "壹佰万元伍角整" },
        WordsCase { 100000001, "壹亿零壹元整" }, WordsCase { 110000000, "壹亿壹仟万元整" },
        WordsCase { 1000000000000, "壹万亿元整" },
        WordsCase { 1234.56, "壹仟贰佰叁拾肆元伍角陆分" }, WordsCase { 10.5, "壹拾元伍角整" },
        WordsCase { 10100, "壹万零壹佰元整" }, WordsCase { 100000000000, "壹仟亿元整" },
        WordsCase { 100000000, "壹亿元整" }, WordsCase { 100000010, "壹亿零壹拾元整" },
        WordsCase {
            9999999999999.99, "玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分" },
        // Halves go up, judged on the decimal text, not on the nearest binary fraction.
        WordsCase { 0.005, "壹分" }, WordsCase { 1.005, "壹元零壹分" },
        WordsCase { 0.145, "壹角伍分" }, WordsCase { 99.995, "壹佰元整" },
        // Rounds to no fen at all: the same words as zero.
        WordsCase { 0.004, "零元整" },
        // Outside the unit table.
        WordsCase { -0.01, "" }, WordsCase { -100, "" }, WordsCase { 1e13, "" },
        WordsCase { 1e20, "" }, WordsCase { std::numeric_limits<double>::infinity(), "" },
        WordsCase { std::nan(""), "" }));

TEST(AmountToCapitalsText, ReadsFieldText)
{
    EXPECT_EQ(utf8(AmountToCapitals(QStringLiteral("1,234.56"))), "壹仟贰佰叁拾肆元伍角陆分");
    EXPECT_EQ(utf8(AmountToCapitals(QStringLiteral(" 1010 "))), "壹仟零壹拾元整");
    EXPECT_EQ(utf8(AmountToCapitals(QStringLiteral("1.005"))), "壹元零壹分");
    EXPECT_EQ(utf8(AmountToCapitals(QStringLiteral("-5"))), "");
}

TEST(AmountToCapitalsText, RejectsTextThatIsNoNumber)
{
    for (const char* text : { "", " ", "abc", "1.2.3", "1e5", "12元" })
        EXPECT_EQ(AmountToCapitals(QString::fromUtf8(text)), std::nullopt) << text;
}

// ---------------------------------------------------------------------------------------------
// Amount in cells

struct CellsCase
{
    const char* amount;
    int cells;
    const char* mode;
    std::optional<std::string> expected;
    friend std::ostream& operator<<(std::ostream& os, const CellsCase& c)
    {
        return os << c.amount << " / " << c.cells << " / \"" << c.mode << '"';
    }
};

class AmountToDigitCapitalsTest : public testing::TestWithParam<CellsCase>
{
};

TEST_P(AmountToDigitCapitalsTest, FillsCells)
{
    const CellsCase& c = GetParam();
    EXPECT_EQ(utf8(AmountToDigitCapitals(
                  QString::fromUtf8(c.amount), c.cells, QString::fromUtf8(c.mode))),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cells, AmountToDigitCapitalsTest,
    testing::Values(CellsCase { "1234.56", 6, "0.00", "零零壹贰叁肆伍陆" },
        CellsCase { "1234.5", 4, "0", "壹贰叁伍" },
        CellsCase { "1234567", 6, "0.00", "超出位数限制" },
        CellsCase { "1,234.56", 6, "0.00", "零零壹贰叁肆伍陆" },
        CellsCase { "1234.56", 4, ".00", "壹贰叁肆伍陆" },
        CellsCase { "1234.56", 5, "0.0", "零壹贰叁肆陆" },
        CellsCase { "1234.56", 5, ".0", "零壹贰叁肆陆" },
        CellsCase { "1234.5", 4, "", "壹贰叁肆伍零" },
        CellsCase { "1234.5", 4, "#,##0", "壹贰叁肆伍零" },
        CellsCase { "999.5", 3, "0", "超出位数限制" }, CellsCase { "0.4", 2, "0", "零零" },
        CellsCase { "0.004", 1, "0.00", "零零零" }, CellsCase { "1.005", 1, "0.00", "壹零壹" },
        CellsCase { "0.145", 1, "0.00", "零壹伍" },
        CellsCase { "9999999999999.99", 13, "0.00", "玖玖玖玖玖玖玖玖玖玖玖玖玖玖玖" },
        CellsCase { "0", 6, "0.00", "零" }, CellsCase { "0.00", 0, "0", "零" },
        CellsCase { "1", 0, "0", "超出位数限制" }, CellsCase { "-1", 6, "0.00", "" },
        CellsCase { "10000000000000", 20, "0.00", "" },
        CellsCase { "abc", 6, "0.00", std::nullopt }, CellsCase { "", 6, "0.00", std::nullopt }));

// ---------------------------------------------------------------------------------------------
// Date parts

struct DateCase
{
    const char* part;
    const char* expected;
    friend std::ostream& operator<<(std::ostream& os, const DateCase& c)
    {
        return os << '"' << c.part << '"';
    }
};

class DateNumberToCapitalsTest : public testing::TestWithParam<DateCase>
{
};

TEST_P(DateNumberToCapitalsTest, ConvertsPart)
{
    EXPECT_EQ(utf8(DateNumberToCapitals(QString::fromUtf8(GetParam().part))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, DateNumberToCapitalsTest,
    testing::Values(DateCase { "03", "零叁" }, DateCase { "3", "零叁" }, DateCase { "09", "零玖" },
        DateCase { "10", "零壹拾" }, DateCase { "11", "壹拾壹" }, DateCase { "12", "壹拾贰" },
        DateCase { "19", "壹拾玖" }, DateCase { "20", "零贰拾" }, DateCase { "21", "贰拾壹" },
        DateCase { "30", "零叁拾" }, DateCase { "31", "叁拾壹" }, DateCase { "2024", "贰零贰肆" },
        DateCase { "1999", "壹玖玖玖" }, DateCase { "00", "" }, DateCase { "0", "" },
        DateCase { "32", "" }, DateCase { "99", "" }, DateCase { "ab", "" }, DateCase { "", "" },
        DateCase { "20a4", "" }));

// ---------------------------------------------------------------------------------------------
// Money text

struct MoneyCase
{
    double amount;
    bool thousands;
    const char* expected;
    friend std::ostream& operator<<(std::ostream& os, const MoneyCase& c)
    {
        return os << c.amount << (c.thousands ? " with thousands" : "");
    }
};

class FormatMoneyTest : public testing::TestWithParam<MoneyCase>
{
};

TEST_P(FormatMoneyTest, FormatsTwoDecimals)
{
    EXPECT_EQ(utf8(FormatMoney(GetParam().amount, GetParam().thousands)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Money, FormatMoneyTest,
    testing::Values(MoneyCase { 0, false, "0.00" }, MoneyCase { 2.5, false, "2.50" },
        MoneyCase { 1234567.891, false, "1234567.89" },
        MoneyCase { 1234567.891, true, "1,234,567.89" }, MoneyCase { 1.005, false, "1.01" },
        MoneyCase { 0.145, false, "0.15" }, MoneyCase { 999.995, true, "1,000.00" },
        MoneyCase { 100, true, "100.00" }, MoneyCase { 123456, true, "123,456.00" },
        MoneyCase { -1234.565, true, "-1,234.57" }, MoneyCase { -0.001, false, "0.00" },
        MoneyCase { 1e20, true, "100,000,000,000,000,000,000.00" }));

// ---------------------------------------------------------------------------------------------
// Typed amount text

struct NormalizeCase
{
    const char* text;
    const char* expected;
    friend std::ostream& operator<<(std::ostream& os, const NormalizeCase& c)
    {
        return os << '"' << c.text << '"';
    }
};

class NormalizeAmountTextTest : public testing::TestWithParam<NormalizeCase>
{
};

TEST_P(NormalizeAmountTextTest, KeepsDigitsAndPoint)
{
    EXPECT_EQ(utf8(NormalizeAmountText(QString::fromUtf8(GetParam().text))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Typed, NormalizeAmountTextTest,
    testing::Values(NormalizeCase { "1２3。4５", "123.45" }, NormalizeCase { "ab", "" },
        NormalizeCase { "", "" }, NormalizeCase { "  1,234．5 ", "1234.5" },
        NormalizeCase { "０１２３４５６７８９", "0123456789" },
        NormalizeCase { "¥1，000元", "1000" }, NormalizeCase { "-12.5", "12.5" }));

// ---------------------------------------------------------------------------------------------
// Parsing amount text

struct ParseCase
{
    const char* text;
    std::optional<double> expected;
    friend std::ostream& operator<<(std::ostream& os, const ParseCase& c)
    {
        return os << '"' << c.text << '"';
    }
};

class ParseAmountTest : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseAmountTest, ReadsPlainDecimals)
{
    EXPECT_EQ(ParseAmount(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Parse, ParseAmountTest,
    testing::Values(ParseCase { "1,234.56", 1234.56 }, ParseCase { " -1.5 ", -1.5 },
        ParseCase { "+2", 2.0 }, ParseCase { ".5", 0.5 }, ParseCase { "1.", 1.0 },
        ParseCase { "007", 7.0 }, ParseCase { "", std::nullopt }, ParseCase { "   ", std::nullopt },
        ParseCase { "abc", std::nullopt }, ParseCase { "1.2.3", std::nullopt },
        ParseCase { "1e5", std::nullopt }, ParseCase { ".", std::nullopt },
        ParseCase { "-", std::nullopt }, ParseCase { "--1", std::nullopt },
        ParseCase { "1 2", std::nullopt }, ParseCase { "0x10", std::nullopt },
        ParseCase { "inf", std::nullopt }, ParseCase { "１２", std::nullopt }));

} // namespace
