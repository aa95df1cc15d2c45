#include "printing/LayoutUndo.h"

#include "platform/Prompter.h"
#include "store/Database.h"

#include <QAction>
#include <QMenuBar>
#include <QUndoStack>

namespace pennock::ui {

LayoutChange::LayoutChange(core::Database& db, core::Prompter& prompter, int templateId,
    QList<core::ItemRow> before, QList<core::ItemRow> after, const QString& text, Refresh refresh)
    : QUndoCommand(text)
    , mDb(db)
    , mPrompter(prompter)
    , mTemplateId(templateId)
    , mBefore(std::move(before))
    , mAfter(std::move(after))
    , mRefresh(std::move(refresh))
{
}

void LayoutChange::write(const QList<core::ItemRow>& rows)
{
    QStringList names;
    try {
        core::Transaction transaction(mDb);
        for (const core::ItemRow& row : rows) {
            core::writeItemRow(mDb, mTemplateId, row);
            names << row.name;
        }
        transaction.commit();
    } catch (const core::DbError& error) {
        mPrompter.warn(QStringLiteral("撤销失败！") + error.message(), QStringLiteral("错误"));
        return;
    }
    if (mRefresh)
        mRefresh(names);
}

void LayoutChange::undo() { write(mBefore); }

void LayoutChange::redo()
{
    if (mDone) { // pushed after the windows wrote it themselves
        mDone = false;
        return;
    }
    write(mAfter);
}

LayoutRecorder::LayoutRecorder(QUndoStack& stack, core::Database& db, core::Prompter& prompter,
    int templateId, const QStringList& names, const QString& text, LayoutChange::Refresh refresh)
    : mStack(stack)
    , mDb(db)
    , mPrompter(prompter)
    , mTemplateId(templateId)
    , mNames(names)
    , mText(text)
    , mRefresh(std::move(refresh))
{
    try {
        mBefore = core::readItemRows(mDb, mTemplateId, mNames);
    } catch (const core::DbError&) {
        mNames.clear(); // nothing known to go back to
    }
}

bool LayoutRecorder::commit()
{
    if (mNames.isEmpty())
        return false;
    QList<core::ItemRow> after;
    try {
        after = core::readItemRows(mDb, mTemplateId, mNames);
    } catch (const core::DbError&) {
        return false;
    }
    if (after == mBefore)
        return false;
    mStack.push(new LayoutChange(mDb, mPrompter, mTemplateId, mBefore, after, mText, mRefresh));
    return true;
}

QMenuBar* undoMenuBar(QUndoStack& stack, QWidget* window)
{
    auto* bar = new QMenuBar(window);
    QMenu* edit = bar->addMenu(QStringLiteral("编辑(&E)"));
    QAction* undo = stack.createUndoAction(window, QStringLiteral("撤销"));
    undo->setObjectName(QStringLiteral("actUndo"));
    undo->setShortcut(QKeySequence::Undo);
    edit->addAction(undo);
    QAction* redo = stack.createRedoAction(window, QStringLiteral("重做"));
    redo->setObjectName(QStringLiteral("actRedo"));
    redo->setShortcuts({ QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence::Redo });
    edit->addAction(redo);
    return bar;
}

} // namespace pennock::ui
