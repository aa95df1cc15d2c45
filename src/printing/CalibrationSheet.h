#pragma once

#include <QPointF>
#include <QSizeF>

#include <utility>

namespace pennock::core {

class PrintCanvas;

/// Draws the calibration sheet on an open canvas: a cross at each mark with its letter and
/// nominal position (mm) written just below and right of it, 2 mm away, and how to measure.
void drawCalibrationSheet(
    PrintCanvas& canvas, const QSizeF& paperMm, const std::pair<QPointF, QPointF>& marks);

/// How far below and right of a mark its label starts, mm.
constexpr double kCalibrationLabelGap = 2;

} // namespace pennock::core
