#pragma once

#include <QPushButton>

namespace pennock::ui {

/// A named push button that Enter in the dialog's edits never presses by itself.
inline QPushButton* dialogButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace pennock::ui
