#pragma once

#include <QDialog>

class QLabel;

namespace pennock::core {
class Database;
class ProgramFolder;
class Prompter;
} // namespace pennock::core

namespace pennock::ui {

/// The picture viewer: one picture filling a resizable window; a click closes it.
class TfrmImageShow : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImageShow(QWidget* parent = nullptr);

    /// Shows the picture of the template with this full name; false (and a message) when it
    /// has none or it cannot be read.
    bool loadPictureByFullName(core::Database& db, const core::ProgramFolder& folder,
        core::Prompter& prompter, const QString& fullName);
    /// Shows a picture handed over by the caller in a 750 by 400 picture area.
    void showPicture(const QPixmap& picture);

    const QLabel* pictureLabel() const { return mPicture; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* mPicture;
};

} // namespace pennock::ui
