#include "bills/ProofWindow.h"

#include <QAction>
#include <QKeySequence>
#include <QPdfDocument>
#include <QPdfView>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace pennock::ui {

namespace {
constexpr double kZoomStep = 1.25;
constexpr double kZoomMin = 0.1;
constexpr double kZoomMax = 8.0;
} // namespace

ProofWindow::ProofWindow(std::function<void()> print, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , mBar(new QToolBar(this))
    , mView(new QPdfView(this))
    , mDocument(new QPdfDocument(this))
{
    setObjectName(QStringLiteral("fmProof"));
    setWindowTitle(QStringLiteral("打印预览"));
    setAttribute(Qt::WA_DeleteOnClose);
    mBar->setObjectName(QStringLiteral("toolBarProof"));
    mBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    mView->setObjectName(QStringLiteral("pdfProof"));
    mView->setDocument(mDocument);
    mView->setPageMode(QPdfView::PageMode::SinglePage);
    mView->setZoomMode(QPdfView::ZoomMode::FitInView);

    const auto add = [this](const char* name, const QString& caption, const QString& hint,
                         const QList<QKeySequence>& keys, auto handler) {
        QAction* a = mBar->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    QAction* printIt = add("acPrint", QStringLiteral("打印(&P)"),
        QStringLiteral("打印这张票据，与单张打印相同"), { QKeySequence::Print }, [print] {
            if (print)
                print();
        });
    printIt->setEnabled(bool(print));
    mBar->addSeparator();
    add("acZoomIn", QStringLiteral("放大(&+)"), QStringLiteral("放大"),
        { QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal) }, [this] { zoomIn(); });
    add("acZoomOut", QStringLiteral("缩小(&-)"), QStringLiteral("缩小"), { QKeySequence::ZoomOut },
        [this] { zoomOut(); });
    add("acFitWidth", QStringLiteral("适合宽度(&W)"), QStringLiteral("按窗口宽度显示"),
        { QKeySequence(Qt::CTRL | Qt::Key_2) }, [this] { fitWidth(); });
    add("acFitPage", QStringLiteral("整页(&F)"), QStringLiteral("显示整页"),
        { QKeySequence(Qt::CTRL | Qt::Key_1) }, [this] { fitPage(); });
    mBar->addSeparator();
    add("acClose", QStringLiteral("关闭(&C)"), {}, { QKeySequence(Qt::Key_Escape) },
        [this] { close(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mBar);
    layout->addWidget(mView, 1);

    // Most of the screen, so that a whole bill is readable at once.
    const QSize room = screen() ? screen()->availableGeometry().size() : QSize(1024, 700);
    resize(room.width() * 3 / 4, room.height() * 3 / 4);
}

ProofWindow::~ProofWindow() { release(); }

QString ProofWindow::load(const QString& path)
{
    release();
    const QPdfDocument::Error error = mDocument->load(path);
    if (error != QPdfDocument::Error::None || mDocument->pageCount() < 1)
        return QStringLiteral("无法显示校样文件：") + path;
    fitPage();
    return {};
}

void ProofWindow::release() { mDocument->close(); }

QAction* ProofWindow::action(const QString& name) const { return findChild<QAction*>(name); }

double ProofWindow::shownZoom() const
{
    if (mView->zoomMode() == QPdfView::ZoomMode::Custom || mDocument->pageCount() < 1)
        return mView->zoomFactor();
    // A fitted page has no factor of its own: the one the view works out, so that zooming
    // goes on from what the user sees.
    const QSizeF page = mDocument->pagePointSize(0) * (logicalDpiX() / 72.0);
    const QSize room = mView->viewport()->size().shrunkBy(mView->documentMargins());
    if (page.isEmpty() || room.isEmpty())
        return mView->zoomFactor();
    const double across = room.width() / page.width();
    return mView->zoomMode() == QPdfView::ZoomMode::FitToWidth
        ? across
        : std::min(across, room.height() / page.height());
}

void ProofWindow::zoomBy(double factor)
{
    const double zoom = std::clamp(shownZoom() * factor, kZoomMin, kZoomMax);
    mView->setZoomMode(QPdfView::ZoomMode::Custom);
    mView->setZoomFactor(zoom);
}

void ProofWindow::zoomIn() { zoomBy(kZoomStep); }

void ProofWindow::zoomOut() { zoomBy(1 / kZoomStep); }

void ProofWindow::fitWidth() { mView->setZoomMode(QPdfView::ZoomMode::FitToWidth); }

void ProofWindow::fitPage() { mView->setZoomMode(QPdfView::ZoomMode::FitInView); }

} // namespace pennock::ui
