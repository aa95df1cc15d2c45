#include "bills/FlowLayout.h"

#include <QWidget>

namespace pennock::ui {

FlowLayout::FlowLayout(QWidget* parent, int hSpacing, int vSpacing)
    : QLayout(parent)
    , mHSpacing(hSpacing)
    , mVSpacing(vSpacing)
{
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item) { mItems.append(item); }

QLayoutItem* FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= mItems.size())
        return nullptr;
    return mItems.takeAt(index);
}

int FlowLayout::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

QSize FlowLayout::sizeHint() const
{
    // One row: the width the bar would like; narrower, it wraps.
    const QMargins m = contentsMargins();
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : mItems) {
        if (item->isEmpty())
            continue;
        const QSize s = item->sizeHint();
        width += (width > 0 ? mHSpacing : 0) + s.width();
        height = std::max(height, s.height());
    }
    return { width + m.left() + m.right(), height + m.top() + m.bottom() };
}

QSize FlowLayout::minimumSize() const
{
    QSize size;
    for (const QLayoutItem* item : mItems)
        if (!item->isEmpty())
            size = size.expandedTo(item->sizeHint());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool place) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x();
    int y = area.y();
    int rowHeight = 0;
    for (QLayoutItem* item : mItems) {
        if (item->isEmpty())
            continue;
        const QSize s = item->sizeHint();
        if (x > area.x() && x + s.width() > area.right() + 1) {
            x = area.x();
            y += rowHeight + mVSpacing;
            rowHeight = 0;
        }
        if (place)
            item->setGeometry(QRect(QPoint(x, y), s));
        x += s.width() + mHSpacing;
        rowHeight = std::max(rowHeight, s.height());
    }
    const QMargins m = contentsMargins();
    return y + rowHeight - rect.y() + m.bottom();
}

} // namespace pennock::ui
