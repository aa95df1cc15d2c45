#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace pennock::ui {

/// Prompter on real message boxes, parented to the main window.
class MessageBoxPrompter final : public core::Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr) : mParent(parent) {}
    void setParent(QWidget *parent) { mParent = parent; }
    void inform(const QString &text, const QString &caption = {}) override;
    void warn(const QString &text, const QString &caption = {}) override;
    bool ask(const QString &text, const QString &caption = {}) override;

private:
    QWidget *mParent;
};

} // namespace pennock::ui
