#include "platform/MessageBoxPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace pennock::ui {

QString MessageBoxPrompter::captionOr(const QString& caption) const
{
    if (!caption.isEmpty())
        return caption;
    return mTitle.isEmpty() ? QApplication::applicationName() : mTitle;
}

void MessageBoxPrompter::inform(const QString& text, const QString& caption)
{
    QMessageBox::information(mParent, captionOr(caption), text);
}

void MessageBoxPrompter::warn(const QString& text, const QString& caption)
{
    QMessageBox::warning(mParent, captionOr(caption), text);
}

bool MessageBoxPrompter::ask(const QString& text, const QString& caption)
{
    return QMessageBox::question(mParent, captionOr(caption), text,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace pennock::ui
