#include "bills/AmountDerivation.h"

#include "format/Capitals.h"

#include <QLocale>

namespace pennock::core {

namespace {
constexpr double kAmountLimit = 1000000000.0;
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

std::array<QString, 11> amountCells(const QString& currencyCode, double value, bool noSymbol)
{
    std::array<QString, 11> cells;
    if (!(value > 0))
        return cells;
    QString s = shortestDecimalText(value);
    if (s.startsWith(u'.'))
        s.prepend(u'0');
    if (s.endsWith(u'.'))
        s.append(QStringLiteral("00"));
    if (!s.contains(u'.'))
        s.append(QStringLiteral(".00"));
    const qsizetype point = s.indexOf(u'.');
    QString integer = s.left(point);
    QString fraction = s.mid(point + 1, 2);
    if (fraction.size() < 2)
        fraction = fraction.leftJustified(2, u'0');
    while (integer.startsWith(u'0'))
        integer.remove(0, 1);
    // The range check keeps the integer part within nine digits.
    const qsizetype digits = std::min<qsizetype>(integer.size(), std::size(kIntegerCells));
    for (qsizetype i = 0; i < digits; ++i)
        cells[size_t(kIntegerCells[i])] = integer.at(integer.size() - 1 - i);
    cells[kJiao] = fraction.at(0);
    cells[kFen] = fraction.at(1);
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

AmountDerivation deriveAmount(const QString& text, const QString& currencyName,
    const QString& currencyCode, const AmountOptions& options)
{
    AmountDerivation out;
    const QString trimmed = text.trimmed();
    double value = 0;
    if (!trimmed.isEmpty()) {
        bool ok = false;
        value = trimmed.toDouble(&ok);
        if (!ok) {
            out.problem = AmountDerivation::Problem::NotANumber;
            return out;
        }
    }
    if (value >= kAmountLimit || value < 0) {
        out.problem = AmountDerivation::Problem::OutOfRange;
        return out;
    }
    if (value == 0)
        return out;
    out.figures = FormatMoney(value, true);
    if (options.figuresWithCode)
        out.figures.prepend(currencyCode);
    out.counterfoil = out.figures;
    out.cells = amountCells(currencyCode, value, options.noSymbol);
    const QString capitals
        = AmountToCapitals(shortestDecimalText(value)).value_or(QString()).trimmed();
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
