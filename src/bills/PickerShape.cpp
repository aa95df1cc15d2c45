#include "bills/PickerShape.h"

#include <QMouseEvent>
#include <QPainter>

namespace pennock::ui {

namespace {
constexpr int kInsideMargin = 5;
}

PickerShape::PickerShape(QWidget* parent)
    : QFrame(parent)
{
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PickerShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (mHatched)
        painter.fillRect(rect(), QBrush(Qt::red, Qt::BDiagPattern));
    painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PickerShape::mouseMoveEvent(QMouseEvent* event)
{
    const int y = int(event->position().y());
    const bool inside = y > kInsideMargin && y < height() - kInsideMargin;
    if (inside != mHatched) {
        mHatched = inside;
        update();
    }
    QFrame::mouseMoveEvent(event);
}

void PickerShape::mouseReleaseEvent(QMouseEvent* event)
{
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit released();
}

void PickerShape::leaveEvent(QEvent* event)
{
    mHatched = false;
    update();
    QFrame::leaveEvent(event);
}

} // namespace pennock::ui
