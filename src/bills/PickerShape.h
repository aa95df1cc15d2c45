#pragma once

#include <QFrame>

namespace pennock::ui {

/// A red dotted frame over the bill picture that opens the party picker when released;
/// hatched while the pointer is well inside it.
class PickerShape : public QFrame
{
    Q_OBJECT
public:
    explicit PickerShape(QWidget* parent = nullptr);

    bool hatched() const noexcept { return mHatched; }

signals:
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool mHatched = false;
};

} // namespace pennock::ui
