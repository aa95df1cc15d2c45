#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <utility>

namespace pennock::core {

class IniFile;

/// How one printer misplaces a page, corrected: a position on the paper in 0.1 mm is printed at
/// position × scale + offset. Measured once with a ruler on a calibration sheet; the identity
/// changes nothing.
struct PrinterCalibration
{
    double scaleX = 1;
    double scaleY = 1;
    double offsetX = 0; ///< mm
    double offsetY = 0; ///< mm

    bool isIdentity() const { return scaleX == 1 && scaleY == 1 && offsetX == 0 && offsetY == 0; }
    /// A paper position in 0.1 mm as the printer must be told it.
    int x(int tenthMm) const;
    int y(int tenthMm) const;

    /// The two cross marks of a calibration sheet of that paper size (mm), near opposite corners.
    static std::pair<QPointF, QPointF> marks(const QSizeF& paperMm);
    /// The correction from where the two marks were printed (`nominal`) and where a ruler found
    /// them on the paper (`measured`), all in mm; none when the marks coincide on an axis or a
    /// scale would be off by more than a fifth.
    static std::optional<PrinterCalibration> fromMeasured(
        const std::pair<QPointF, QPointF>& nominal, const std::pair<QPointF, QPointF>& measured);

    /// The calibration stored for a printer in the user settings ("Config.ini", section
    /// "PrinterCalibration", the printer's name as key); the identity when none is stored.
    static PrinterCalibration load(const IniFile& ini, const QString& printer);
    void store(IniFile& ini, const QString& printer) const;
    static void reset(IniFile& ini, const QString& printer);
    /// "offset X,Y mm, scale SX,SY".
    QString describe() const;
};

} // namespace pennock::core
