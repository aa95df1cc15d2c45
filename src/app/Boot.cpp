#include "app/Boot.h"

#include "platform/Prompter.h"
#include "store/ProgramFolder.h"
#include "store/Upgrade.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace pennock::ui {

Tfm_Boot::Tfm_Boot(const core::ProgramFolder& folder, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , mPicture(new QLabel(this))
    , mTimer(new QTimer(this))
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
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mPicture);
    mTimer->setObjectName(QStringLiteral("Timer1"));
    mTimer->setInterval(500);
    mTimer->setSingleShot(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
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

bool Tfm_Boot::hasPicture() const { return !mPicture->pixmap().isNull(); }

bool runStartUpUpgrade(const core::ProgramFolder& folder, core::Prompter& prompter)
{
    try {
        const core::UpgradeReport report = core::upgradeInstallation(folder);
        if (!report.steps.isEmpty()) {
            // Only a changed database is copied first; the blank package alone needs no copy.
            const QString backup = report.backupPath.isEmpty()
                ? QString()
                : QStringLiteral("原数据库已备份到：\n") + report.backupPath + QStringLiteral("\n");
            prompter.inform(QStringLiteral("软件数据已升级到当前版本。") + backup
                    + QStringLiteral("\n") + report.steps.join(QLatin1Char('\n')),
                QStringLiteral("软件升级"));
        }
        return true;
    } catch (const core::UpgradeError& e) {
        prompter.warn(QStringLiteral("升级失败，意外错误:") + e.message(), QStringLiteral("错误"));
        return false;
    }
}

} // namespace pennock::ui
