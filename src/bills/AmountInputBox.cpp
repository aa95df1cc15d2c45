#include "bills/AmountInputBox.h"

#include "bills/AmountDerivation.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>

namespace pennock::ui {

namespace {
bool anyRefused(const QString& text)
{
    return std::any_of(text.begin(), text.end(), core::isRefusedAmountChar);
}
} // namespace

AmountInputBox::AmountInputBox(QWidget* parent)
    : QLineEdit(parent)
{
}

void AmountInputBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit commitRequested();
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Escape:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    // Keys without text (arrows, shortcuts) or with a control character (Delete brings DEL)
    // move or edit and never add a character.
    const QString text = event->text();
    const bool typed = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
    if (typed && text != u"." && !(event->modifiers() & Qt::ControlModifier) && anyRefused(text)) {
        event->accept();
        emit refused();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void AmountInputBox::inputMethodEvent(QInputMethodEvent* event)
{
    // Full-width typing arrives through the input method rather than as keys.
    if (anyRefused(event->commitString())) {
        event->accept();
        emit refused();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void AmountInputBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A message box or another window taking the focus is no leaving: typing goes on after it.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    if (isVisible())
        emit commitRequested();
}

} // namespace pennock::ui
