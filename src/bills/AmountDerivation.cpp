#include "bills/AmountDerivation.h"

#include "format/Capitals.h"

#include <QLocale>

namespace pennock::core {

namespace {
constexpr std::int64_t kAmountLimitYuan = 1000000000;
const QString kRmb = QStringLiteral("人民币");

// Cells filled by the integer digits, units first, as indexes into the 亿 … 分 row.
constexpr int kIntegerCells[] = { 8, 7, 6, 5, 4, 3, 2, 1, 0 };
constexpr int kJiao = 9;
constexpr int kFen = 10;
} // namespace

QString AmountDerivation::message() const
{
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::NotANumber:
        return QStringLiteral("金额只能为数值，例如：123.50");
    case Problem::OutOfRange:
        return QStringLiteral("金额值必须介于0~1,000,000,000之间！");
    }
    return {};
}

QString shortestDecimalText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

bool isRefusedAmountChar(QChar c) noexcept { return c == u' ' || c == u'-' || c.unicode() >= 0x5A; }

namespace {
std::array<QString, 11> cellsOfFen(const QString& currencyCode, std::int64_t fen, bool noSymbol)
{
    std::array<QString, 11> cells;
    const QString integer = fen >= 100 ? QString::number(fen / 100) : QString();
    // The range check keeps the integer part within nine digits.
    const qsizetype digits = std::min<qsizetype>(integer.size(), std::size(kIntegerCells));
    for (qsizetype i = 0; i < digits; ++i)
        cells[size_t(kIntegerCells[i])] = integer.at(integer.size() - 1 - i);
    cells[kJiao] = QString::number(fen / 10 % 10);
    cells[kFen] = QString::number(fen % 10);
    if (!noSymbol) {
        for (int index : kIntegerCells) {
            if (cells[size_t(index)].isEmpty()) {
                cells[size_t(index)] = currencyCode;
                break;
            }
        }
    }
    return cells;
}
} // namespace

std::array<QString, 11> amountCells(const QString& currencyCode, Money value, bool noSymbol)
{
    if (value.fen() <= 0 || value.isHuge())
        return {};
    return cellsOfFen(currencyCode, value.fen(), noSymbol);
}

std::array<QString, 11> amountCells(const QString& currencyCode, double value, bool noSymbol)
{
    if (!(value > 0))
        return {};
    const Money money = Money::fromDouble(value);
    if (money.isHuge())
        return {};
    return cellsOfFen(currencyCode, money.fen(), noSymbol);
}

AmountDerivation deriveAmount(const QString& text, const QString& currencyName,
    const QString& currencyCode, const AmountOptions& options)
{
    AmountDerivation out;
    const QString trimmed = text.trimmed();
    Money value;
    if (!trimmed.isEmpty()) {
        bool ok = false;
        const double number = trimmed.toDouble(&ok);
        if (!ok) {
            out.problem = AmountDerivation::Problem::NotANumber;
            return out;
        }
        // The figures as typed decide the fen; the number only says they are one.
        value = Money::parse(trimmed).value_or(Money::fromDouble(number));
    }
    if (!value.isWithin(kAmountLimitYuan)) {
        out.problem = AmountDerivation::Problem::OutOfRange;
        return out;
    }
    if (value.isZero())
        return out;
    out.figures = FormatMoney(value, true);
    if (options.figuresWithCode)
        out.figures.prepend(currencyCode);
    out.counterfoil = out.figures;
    out.cells = amountCells(currencyCode, value, options.noSymbol);
    const QString capitals = AmountToCapitals(value);
    if (options.capitalsWithName) {
        out.capitals = currencyName + capitals;
        if (currencyName == kRmb && !options.capitalsKeepRmb)
            out.capitals.remove(out.capitals.indexOf(kRmb), kRmb.size());
    } else {
        out.capitals = capitals;
    }
    return out;
}

} // namespace pennock::core
