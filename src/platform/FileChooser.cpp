#include "platform/FileChooser.h"

#include <QFileDialog>

namespace pennock::ui {

QString DialogFileChooser::saveFileName(
    QWidget* parent, const QString& caption, const QString& proposedPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter);
}

QString DialogFileChooser::openFileName(
    QWidget* parent, const QString& caption, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

} // namespace pennock::ui
