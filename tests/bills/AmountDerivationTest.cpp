#include "bills/AmountDerivation.h"
#include "format/Capitals.h"

#include <gtest/gtest.h>

using namespace pennock::core;

namespace {

QStringList cellsOf(const AmountDerivation& d)
{
    return QStringList(d.cells.begin(), d.cells.end());
}

} // namespace

TEST(AmountDerivationTest, CapitalsCarryTheCurrencyNameAsTheOptionsSay)
{
    struct Case
    {
        QString currency;
        bool withName;
        bool keepRmb;
        QString prefix;
    };
    const Case cases[] = {
        { QStringLiteral("人民币"), true, false, QString() },
        { QStringLiteral("人民币"), true, true, QStringLiteral("人民币") },
        { QStringLiteral("人民币"), false, true, QString() },
        { QStringLiteral("美元"), true, false, QStringLiteral("美元") },
        { QStringLiteral("美元"), false, false, QString() },
    };
    const QString words = *AmountToCapitals(QStringLiteral("1234.5"));
    for (const Case& c : cases) {
        AmountOptions o;
        o.capitalsWithName = c.withName;
        o.capitalsKeepRmb = c.keepRmb;
        const AmountDerivation d
            = deriveAmount(QStringLiteral("1234.5"), c.currency, QStringLiteral("X"), o);
        EXPECT_EQ(d.capitals, c.prefix + words) << c.currency.toStdString() << c.withName;
    }
}

TEST(AmountDerivationTest, FiguresCellsAndRefusals)
{
    AmountOptions o;
    AmountDerivation d
        = deriveAmount(QStringLiteral(" 20.5 "), QStringLiteral("美元"), QStringLiteral("USD"), o);
    EXPECT_EQ(d.figures, QStringLiteral("USD20.50"));
    EXPECT_EQ(d.counterfoil, d.figures);
    EXPECT_EQ(cellsOf(d), (QStringList { "", "", "", "", "", "", "USD", "2", "0", "5", "0" }));

    o.figuresWithCode = false;
    o.noSymbol = true;
    d = deriveAmount(QStringLiteral("20.5"), QStringLiteral("美元"), QStringLiteral("USD"), o);
    EXPECT_EQ(d.figures, QStringLiteral("20.50"));
    EXPECT_FALSE(cellsOf(d).contains(QStringLiteral("USD")));

    EXPECT_EQ(deriveAmount(QStringLiteral("12.3.4"), {}, {}, o).problem,
        AmountDerivation::Problem::NotANumber);
    EXPECT_EQ(deriveAmount(QStringLiteral("12.3.4"), {}, {}, o).message(),
        QStringLiteral("金额只能为数值，例如：123.50"));
    EXPECT_EQ(deriveAmount(QStringLiteral("-1"), {}, {}, o).problem,
        AmountDerivation::Problem::OutOfRange);
    EXPECT_EQ(deriveAmount(QStringLiteral("1000000000"), {}, {}, o).problem,
        AmountDerivation::Problem::OutOfRange);
    const AmountDerivation empty = deriveAmount(QString(), {}, QStringLiteral("￥"), o);
    EXPECT_EQ(empty.problem, AmountDerivation::Problem::None);
    EXPECT_TRUE(empty.figures.isEmpty() && empty.capitals.isEmpty());
    EXPECT_EQ(cellsOf(empty), QStringList(11, QString()));
}

TEST(AmountDerivationTest, TinyAmountsNeverTurnIntoAnExponent)
{
    EXPECT_EQ(shortestDecimalText(0.00001), QStringLiteral("0.00001"));
    EXPECT_EQ(shortestDecimalText(999999999.99), QStringLiteral("999999999.99"));
    const auto cells = amountCells(QStringLiteral("￥"), 0.00001, false);
    EXPECT_EQ(QStringList(cells.begin(), cells.end()),
        (QStringList { "", "", "", "", "", "", "", "", "￥", "0", "0" }));
}

TEST(AmountDerivationTest, TheAmountBoxRefusesBlanksMinusAndEverythingFromZUp)
{
    for (const QChar c : QStringLiteral(" -Zaz１．。￥"))
        EXPECT_TRUE(isRefusedAmountChar(c)) << QString(c).toStdString();
    for (const QChar c : QStringLiteral("0123456789.,AY+*"))
        EXPECT_FALSE(isRefusedAmountChar(c)) << QString(c).toStdString();
}
