#pragma once

#include <QString>

class QWidget;

namespace pennock::core {

/// The file dialogs that wait for a person; tests script them.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    /// Asks where to save a file, proposing `proposedPath`; empty when the person cancels.
    virtual QString saveFileName(
        QWidget* parent, const QString& caption, const QString& proposedPath, const QString& filter)
        = 0;
    /// Asks for an existing file to read; empty when the person cancels or nothing is offered.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& filter)
    {
        (void)parent;
        (void)caption;
        (void)filter;
        return {};
    }
};

} // namespace pennock::core

namespace pennock::ui {

/// The desktop's own save dialog.
class DialogFileChooser final : public core::FileChooser
{
public:
    QString saveFileName(QWidget* parent, const QString& caption, const QString& proposedPath,
        const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override;
};

} // namespace pennock::ui
