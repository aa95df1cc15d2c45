#pragma once

#include "templates/ItemRows.h"

#include <QUndoCommand>

#include <functional>

class QMenuBar;
class QUndoStack;
class QWidget;

namespace pennock::core {
class Database;
class Prompter;
} // namespace pennock::core

namespace pennock::ui {

/// One change of a template's layout, item rows before and after; taking it back writes the
/// earlier rows to the database at once.
class LayoutChange : public QUndoCommand
{
public:
    using Refresh = std::function<void(const QStringList& names)>;

    LayoutChange(core::Database& db, core::Prompter& prompter, int templateId,
        QList<core::ItemRow> before, QList<core::ItemRow> after, const QString& text,
        Refresh refresh);

    void undo() override;
    void redo() override;

private:
    void write(const QList<core::ItemRow>& rows);

    core::Database& mDb;
    core::Prompter& mPrompter;
    int mTemplateId;
    QList<core::ItemRow> mBefore;
    QList<core::ItemRow> mAfter;
    Refresh mRefresh;
    bool mDone = true; ///< the change was made before it was recorded
};

/// Records what a change does to some items: rows read when made, compared when committed; a
/// change that altered nothing is not recorded.
class LayoutRecorder
{
public:
    LayoutRecorder(QUndoStack& stack, core::Database& db, core::Prompter& prompter, int templateId,
        const QStringList& names, const QString& text, LayoutChange::Refresh refresh);
    /// Pushes the change when any row differs; true when it did.
    bool commit();

private:
    QUndoStack& mStack;
    core::Database& mDb;
    core::Prompter& mPrompter;
    int mTemplateId;
    QStringList mNames;
    QString mText;
    LayoutChange::Refresh mRefresh;
    QList<core::ItemRow> mBefore;
};

/// "编辑(E)" with "撤销" (Ctrl+Z) and "重做" (Ctrl+Y, Ctrl+Shift+Z) of a window's layout changes.
QMenuBar* undoMenuBar(QUndoStack& stack, QWidget* window);

} // namespace pennock::ui
