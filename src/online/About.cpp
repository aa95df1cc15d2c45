#include "online/About.h"

#include "online/Site.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace pennock::ui {

Tfm_About::Tfm_About(core::Shell& shell, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog)
    , mShell(shell)
{
    setObjectName(QStringLiteral("fm_About"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background());
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);

    const auto label = [this](const QString& text, int pixelSize, bool bold) {
        auto* l = new QLabel(text, this);
        QFont face = l->font();
        face.setPixelSize(pixelSize);
        face.setBold(bold);
        l->setFont(face);
        l->installEventFilter(this);
        return l;
    };
    QLabel* title = label(QStringLiteral("关于"), 14, true);
    title->setObjectName(QStringLiteral("lbAbout"));
    QLabel* product = label(QStringLiteral("Pennock票据打印软件"), 22, true);
    product->setObjectName(QStringLiteral("lbProduct"));
    QLabel* edition
        = label(QStringLiteral("单机版 for win98/Me/2000/Xp/2003/vista/Win7"), 12, false);
    edition->setObjectName(QStringLiteral("lbEdition"));
    QLabel* version = label(versionLine(), 12, false);
    version->setObjectName(QStringLiteral("lbVersion"));
    lbContact = label(QStringLiteral("软件官方网站：") + core::siteHost()
            + QStringLiteral("\n使用中有任何问题，欢迎通过官方网站与我们联系。"),
        12, false);
    lbContact->setObjectName(QStringLiteral("lbContact"));
    lbContact->setToolTip(QStringLiteral("单击鼠标进入软件官方网站"));
    lbContact->setCursor(Qt::PointingHandCursor);
    lbContact->setStyleSheet(QStringLiteral("color: #ffff99"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 12, 18, 12);
    layout->addWidget(title);
    layout->addSpacing(6);
    layout->addWidget(product);
    layout->addWidget(edition);
    layout->addWidget(version);
    layout->addStretch();
    layout->addWidget(lbContact);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(kWidth / 2, kHeight / 2));

    closeTimer = new QTimer(this);
    closeTimer->setObjectName(QStringLiteral("Timer1"));
    closeTimer->setSingleShot(true);
    closeTimer->setInterval(kCloseAfterMs);
    connect(closeTimer, &QTimer::timeout, this, &QDialog::close);
    closeTimer->start();
}

QColor Tfm_About::background()
{
    const int stored = 14650176; // blue, green, red from the high byte down
    return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

QString Tfm_About::versionLine()
{
    return QStringLiteral("当前版本：") + core::fullVersion() + QStringLiteral("(H1)");
}

void Tfm_About::mouseReleaseEvent(QMouseEvent* event)
{
    QDialog::mouseReleaseEvent(event);
    close();
}

bool Tfm_About::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == lbContact)
            core::BrowseURL(mShell, core::vendorPageAddress(core::VendorPage::Home));
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pennock::ui
