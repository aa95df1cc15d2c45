#include "format/TextUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

using namespace pennock::core;

namespace {

using Lines = std::vector<std::string>;

// UTF-8 strings make gtest print failures readably.
Lines utf8(const QStringList& list)
{
    Lines lines;
    for (const QString& text : list)
        lines.push_back(text.toStdString());
    return lines;
}

// ---------------------------------------------------------------------------------------------
// Splitting

struct SplitCase
{
    const char* text;
    const char* separator;
    Lines expected;
    friend std::ostream& operator<<(std::ostream& os, const SplitCase& c)
    {
        return os << '"' << c.text << "\" at \"" << c.separator << '"';
    }
};

class SplitTextTest : public testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitTextTest, SplitsAtEverySeparator)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(
        utf8(SplitText(QString::fromUtf8(c.text), QString::fromUtf8(c.separator))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Split, SplitTextTest,
    testing::Values(SplitCase { "a,b,", ",", { "a", "b", "" } },
        SplitCase { "a,,b", ",", { "a", "", "b" } }, SplitCase { ",a", ",", { "", "a" } },
        SplitCase { "abc", ",", { "abc" } }, SplitCase { "", ",", { "" } },
        SplitCase { "a::b::c", "::", { "a", "b", "c" } },
        SplitCase { "a:b::c:", "::", { "a:b", "c:" } }, SplitCase { "aaa", "aa", { "", "a" } },
        SplitCase { "是，否，", "，", { "是", "否", "" } }, SplitCase { "a,b", "", { "a,b" } }));

// ---------------------------------------------------------------------------------------------
// Byte length

struct LengthCase
{
    QString text;
    int expected;
    friend std::ostream& operator<<(std::ostream& os, const LengthCase& c)
    {
        return os << '"' << c.text.toStdString() << '"';
    }
};

class GbkByteLengthTest : public testing::TestWithParam<LengthCase>
{
};

TEST_P(GbkByteLengthTest, CountsBytes)
{
    EXPECT_EQ(GbkByteLength(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Length, GbkByteLengthTest,
    testing::Values(LengthCase { QString(), 0 }, LengthCase { QStringLiteral("abc"), 3 },
        LengthCase { QStringLiteral("北京"), 4 }, LengthCase { QStringLiteral("ab北京"), 6 },
        LengthCase { QStringLiteral("\u007f\u0080é"), 5 },
        LengthCase { QStringLiteral("a\U00020000b"), 4 }, // one character in two code units
        LengthCase { QString(QChar(0xD800)), 2 })); // a lone surrogate still takes two

// ---------------------------------------------------------------------------------------------
// Line breaking

struct BreakCase
{
    QString text;
    int width;
    Lines expected;
    friend std::ostream& operator<<(std::ostream& os, const BreakCase& c)
    {
        return os << '"' << c.text.toStdString() << "\" width " << c.width;
    }
};

class BreakTextByWidthTest : public testing::TestWithParam<BreakCase>
{
};

TEST_P(BreakTextByWidthTest, BreaksIntoLines)
{
    EXPECT_EQ(utf8(BreakTextByWidth(GetParam().text, GetParam().width)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Break, BreakTextByWidthTest,
    testing::Values(
        BreakCase { QStringLiteral("北京市海淀区中关村"), 4, { "北京市海", "淀区中关", "村" } },
        BreakCase { QStringLiteral("ab北京市海淀"), 4, { "ab北京市", "海淀" } },
        BreakCase { QStringLiteral("abcdefghij"), 2, { "abcd", "efgh", "ij" } },
        BreakCase { QString(), 4, {} },
        // Exactly 2 * width bytes still fits.
        BreakCase { QStringLiteral("北京市海"), 4, { "北京市海" } },
        BreakCase { QStringLiteral("ab北京市"), 4, { "ab北京市" } },
        // A Chinese character after an odd number of ASCII bytes overshoots by one byte.
        BreakCase { QStringLiteral("a北京市海淀"), 2, { "a北京", "市海", "淀" } },
        BreakCase { QStringLiteral("abc北"), 2, { "abc北" } },
        BreakCase { QStringLiteral("a北"), 1, { "a北" } },
        BreakCase { QStringLiteral("北a北a北"), 1, { "北", "a北", "a北" } },
        BreakCase { QStringLiteral("a\U0001F600b"), 1, { "a\U0001F600", "b" } },
        BreakCase { QStringLiteral("\U0001F600\U0001F600\U0001F600"), 1,
            { "\U0001F600", "\U0001F600", "\U0001F600" } },
        BreakCase { QStringLiteral("北京市"), 0, { "北京市" } },
        BreakCase { QStringLiteral("北京市"), -3, { "北京市" } }));

// ---------------------------------------------------------------------------------------------
// Numeric text

struct NumericCase
{
    const char* text;
    bool isDecimal;
    bool isDigits;
    friend std::ostream& operator<<(std::ostream& os, const NumericCase& c)
    {
        return os << '"' << c.text << '"';
    }
};

class NumericTextTest : public testing::TestWithParam<NumericCase>
{
};

TEST_P(NumericTextTest, ChecksEveryCharacter)
{
    const QString text = QString::fromUtf8(GetParam().text);
    EXPECT_EQ(IsDecimalText(text), GetParam().isDecimal);
    EXPECT_EQ(IsDigitText(text), GetParam().isDigits);
}

INSTANTIATE_TEST_SUITE_P(Numeric, NumericTextTest,
    testing::Values(NumericCase { "0123", true, true }, NumericCase { "12.5", true, false },
        NumericCase { "1.2.3", true, false }, NumericCase { ".", true, false },
        NumericCase { " 12", false, false }, NumericCase { "12 ", false, false },
        NumericCase { "", false, false }, NumericCase { "  ", false, false },
        NumericCase { "-1", false, false }, NumericCase { "1,000", false, false },
        NumericCase { "１２", false, false }, NumericCase { "١٢", false, false }));

// ---------------------------------------------------------------------------------------------
// Pixels

struct PixelCase
{
    int tenthMm;
    int dpi;
    int expected;
    friend std::ostream& operator<<(std::ostream& os, const PixelCase& c)
    {
        return os << c.tenthMm << " at " << c.dpi << " dpi";
    }
};

class TenthMmToPixelsTest : public testing::TestWithParam<PixelCase>
{
};

TEST_P(TenthMmToPixelsTest, RoundsTiesToEven)
{
    EXPECT_EQ(TenthMmToPixels(GetParam().tenthMm, GetParam().dpi), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Pixels, TenthMmToPixelsTest,
    testing::Values(PixelCase { 254, 300, 300 }, PixelCase { 0, 300, 0 },
        PixelCase { 127, 100, 50 }, PixelCase { 2100, 96, 794 }, // 793.70
        PixelCase { 100, 600, 236 }, // 236.22
        PixelCase { 128, 1, 1 }, // 0.504
        PixelCase { 126, 1, 0 }, // 0.496
        PixelCase { 127, 1, 0 }, // 0.5
        PixelCase { 127, 3, 2 }, // 1.5
        PixelCase { 127, 5, 2 }, // 2.5
        PixelCase { 381, 7, 10 }, // 10.5
        PixelCase { -127, 3, -2 }, // -1.5
        PixelCase { -127, 5, -2 }, // -2.5
        PixelCase { INT_MAX, INT_MAX, INT_MAX }, PixelCase { INT_MIN, INT_MAX, INT_MIN }));

} // namespace
