#include "printing/PrinterCalibration.h"

#include "settings/IniFile.h"

#include <QStringList>

#include <cmath>

namespace pennock::core {

namespace {
const QString kSection = QStringLiteral("PrinterCalibration");
constexpr double kMarkInset = 20; // mm from the paper's edges
} // namespace

int PrinterCalibration::x(int tenthMm) const
{
    return int(std::lround(tenthMm * scaleX + offsetX * 10));
}

int PrinterCalibration::y(int tenthMm) const
{
    return int(std::lround(tenthMm * scaleY + offsetY * 10));
}

std::pair<QPointF, QPointF> PrinterCalibration::marks(const QSizeF& paperMm)
{
    return { QPointF(kMarkInset, kMarkInset),
        QPointF(paperMm.width() - kMarkInset, paperMm.height() - kMarkInset) };
}

std::optional<PrinterCalibration> PrinterCalibration::fromMeasured(
    const std::pair<QPointF, QPointF>& nominal, const std::pair<QPointF, QPointF>& measured)
{
    const QPointF n = nominal.second - nominal.first;
    const QPointF m = measured.second - measured.first;
    if (std::abs(n.x()) < 1 || std::abs(n.y()) < 1 || std::abs(m.x()) < 1 || std::abs(m.y()) < 1)
        return std::nullopt;
    // The printer put a mark asked for at p at p × feed + shift; asking for (p − shift) / feed
    // puts it at p.
    const double feedX = m.x() / n.x();
    const double feedY = m.y() / n.y();
    if (std::abs(feedX - 1) > 0.2 || std::abs(feedY - 1) > 0.2)
        return std::nullopt;
    const double shiftX = measured.first.x() - nominal.first.x() * feedX;
    const double shiftY = measured.first.y() - nominal.first.y() * feedY;
    PrinterCalibration c;
    c.scaleX = 1 / feedX;
    c.scaleY = 1 / feedY;
    c.offsetX = -shiftX / feedX;
    c.offsetY = -shiftY / feedY;
    return c;
}

PrinterCalibration PrinterCalibration::load(const IniFile& ini, const QString& printer)
{
    const QStringList parts = ini.readString(kSection, printer).split(QLatin1Char(','));
    PrinterCalibration c;
    if (parts.size() != 4)
        return c;
    bool ok[4] = {};
    const double values[4] = { parts[0].toDouble(&ok[0]), parts[1].toDouble(&ok[1]),
        parts[2].toDouble(&ok[2]), parts[3].toDouble(&ok[3]) };
    if (!(ok[0] && ok[1] && ok[2] && ok[3]) || values[0] <= 0 || values[1] <= 0)
        return c;
    c.scaleX = values[0];
    c.scaleY = values[1];
    c.offsetX = values[2];
    c.offsetY = values[3];
    return c;
}

void PrinterCalibration::store(IniFile& ini, const QString& printer) const
{
    ini.writeString(kSection, printer,
        QStringLiteral("%1,%2,%3,%4")
            .arg(scaleX, 0, 'g', 10)
            .arg(scaleY, 0, 'g', 10)
            .arg(offsetX, 0, 'g', 10)
            .arg(offsetY, 0, 'g', 10));
}

void PrinterCalibration::reset(IniFile& ini, const QString& printer)
{
    ini.writeString(kSection, printer, {});
}

QString PrinterCalibration::describe() const
{
    return QStringLiteral("offset %1,%2 mm, scale %3,%4")
        .arg(offsetX, 0, 'f', 2)
        .arg(offsetY, 0, 'f', 2)
        .arg(scaleX, 0, 'f', 5)
        .arg(scaleY, 0, 'f', 5);
}

} // namespace pennock::core
