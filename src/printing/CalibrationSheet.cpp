#include "printing/CalibrationSheet.h"

#include "printing/PrintCanvas.h"

#include <QString>

#include <cmath>

namespace pennock::core {

void drawCalibrationSheet(
    PrintCanvas& canvas, const QSizeF& paperMm, const std::pair<QPointF, QPointF>& marks)
{
    const auto px = [](double mm, int dpi) { return int(std::lround(mm * dpi / 25.4)); };
    const int top = canvas.physicalTopMargin();
    const int left = canvas.physicalLeftMargin();
    const auto cross = [&](const QPointF& at, const QString& letter) {
        const int x = px(at.x(), canvas.dpiX()) - left;
        const int y = px(at.y(), canvas.dpiY()) - top;
        const int arm = px(6, canvas.dpiX());
        canvas.drawLine(x - arm, y, x + arm, y);
        canvas.drawLine(x, y - arm, x, y + arm);
        canvas.drawText(px(at.x() + kCalibrationLabelGap, canvas.dpiX()) - left,
            px(at.y() + kCalibrationLabelGap, canvas.dpiY()) - top,
            QStringLiteral("%1 %2,%3").arg(letter).arg(at.x(), 0, 'f', 1).arg(at.y(), 0, 'f', 1));
    };
    cross(marks.first, QStringLiteral("A"));
    cross(marks.second, QStringLiteral("B"));
    const QPointF note(paperMm.width() / 2 - 40, paperMm.height() / 2);
    canvas.drawText(px(note.x(), canvas.dpiX()) - left, px(note.y(), canvas.dpiY()) - top,
        QStringLiteral("校准页：用尺量出 A、B 两个十字中心距纸张左边和上边的毫米数"));
}

} // namespace pennock::core
