#include "templates/ImageShow.h"

#include "platform/Prompter.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QEvent>
#include <QImageReader>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace pennock::ui {

TfrmImageShow::TfrmImageShow(QWidget* parent)
    : QDialog(parent)
    , mPicture(new QLabel)
{
    setObjectName(QStringLiteral("frmImageShow"));
    setWindowTitle(QStringLiteral("Pennock图示"));
    setSizeGripEnabled(true);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(mPicture);
    scroll->setWidgetResizable(true);
    mPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mPicture->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

bool TfrmImageShow::loadPictureByFullName(core::Database& db, const core::ProgramFolder& folder,
    core::Prompter& prompter, const QString& fullName)
{
    setWindowTitle(QStringLiteral("Pennock软件-模板图片查看【") + fullName + QStringLiteral("】"));
    try {
        const QString image = db.scalar(QStringLiteral("select ImgFile from CKTypeTable where "
                                                       "TypeName=? order by CheckTypeID"),
                                    { fullName })
                                  .toString();
        if (image.isEmpty()) {
            prompter.inform(QStringLiteral("没有有效的图片文件~"));
            return false;
        }
        QImageReader reader(folder.path(QStringLiteral("Image/") + image));
        const QImage picture = reader.read();
        if (picture.isNull()) {
            prompter.warn(reader.fileName() + QStringLiteral("：") + reader.errorString());
            return false;
        }
        mPicture->setPixmap(QPixmap::fromImage(picture));
        resize(picture.size().boundedTo(QSize(1200, 800)) + QSize(4, 4));
        return true;
    } catch (const core::DbError& e) {
        prompter.warn(e.message());
        return false;
    }
}

void TfrmImageShow::showPicture(const QPixmap& picture)
{
    mPicture->setPixmap(picture.scaled(750, 400, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    resize(754, 404);
    show();
}

bool TfrmImageShow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mPicture
        && (event->type() == QEvent::MouseButtonRelease
            || event->type() == QEvent::MouseButtonDblClick)) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pennock::ui
