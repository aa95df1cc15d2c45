#include "app/Boot.h"

#include "store/ProgramFolder.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace pennock::ui {

Tfm_Boot::Tfm_Boot(const core::ProgramFolder &folder, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), mPicture(new QLabel(this)),
      mTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("fm_Boot"));
    setWindowTitle(QStringLiteral("启动窗口"));
    setFixedSize(370, 249);
    mPicture->setObjectName(QStringLiteral("Image1"));
    mPicture->setScaledContents(true);
    // A missing picture leaves the window plain.
    const QPixmap picture(folder.path(QStringLiteral("Image/Sys_boot.jpg")));
    if (!picture.isNull())
        mPicture->setPixmap(picture);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mPicture);
    mTimer->setObjectName(QStringLiteral("Timer1"));
    mTimer->setInterval(500);
    mTimer->setSingleShot(true);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void Tfm_Boot::run()
{
    QEventLoop loop;
    connect(mTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
    show();
    repaint();
    mTimer->start();
    loop.exec();
    hide();
}

bool Tfm_Boot::hasPicture() const
{
    return !mPicture->pixmap().isNull();
}

} // namespace pennock::ui
