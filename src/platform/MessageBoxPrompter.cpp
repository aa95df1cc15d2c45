#include "platform/MessageBoxPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace pennock::ui {

namespace {
QString captionOr(const QString &caption)
{
    return caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
}
} // namespace

void MessageBoxPrompter::inform(const QString &text, const QString &caption)
{
    QMessageBox::information(mParent, captionOr(caption), text);
}

void MessageBoxPrompter::warn(const QString &text, const QString &caption)
{
    QMessageBox::warning(mParent, captionOr(caption), text);
}

bool MessageBoxPrompter::ask(const QString &text, const QString &caption)
{
    return QMessageBox::question(mParent, captionOr(caption), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace pennock::ui
