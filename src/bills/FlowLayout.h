#pragma once

#include <QLayout>
#include <QList>

namespace pennock::ui {

/// Lays its widgets out left to right and starts a new row where the next one would not fit,
/// so that a bar of options keeps every caption whole at any width.
class FlowLayout : public QLayout
{
public:
    explicit FlowLayout(QWidget* parent = nullptr, int hSpacing = 8, int vSpacing = 2);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(mItems.size()); }
    QLayoutItem* itemAt(int index) const override { return mItems.value(index); }
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    /// Places the items in `rect` (or only measures them); the height used.
    int arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> mItems;
    int mHSpacing;
    int mVSpacing;
};

} // namespace pennock::ui
