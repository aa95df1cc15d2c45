#pragma once

#include <QLineEdit>

namespace pennock::ui {

/// The floating amount box `inputJEXX`: takes figures only at the keyboard (pasted text is
/// cleaned when committed), commits on Enter and when the focus moves to another control.
class AmountInputBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit AmountInputBox(QWidget* parent = nullptr);

signals:
    /// A key was dropped; the form tells the user why.
    void refused();
    /// Enter, or the focus left the box.
    void commitRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace pennock::ui
