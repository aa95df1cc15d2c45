#pragma once

#include "platform/Prompter.h"

#include <QString>

class QWidget;

namespace pennock::ui {

/// Prompter on real message boxes, parented to the main window. A box without a caption of its
/// own carries the application's title.
class MessageBoxPrompter final : public core::Prompter
{
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr)
        : mParent(parent)
    {
    }
    void setParent(QWidget* parent) { mParent = parent; }
    void setTitle(const QString& title) { mTitle = title; }
    void inform(const QString& text, const QString& caption = {}) override;
    void warn(const QString& text, const QString& caption = {}) override;
    bool ask(const QString& text, const QString& caption = {}) override;

private:
    QString captionOr(const QString& caption) const;

    QWidget* mParent;
    QString mTitle;
};

} // namespace pennock::ui
