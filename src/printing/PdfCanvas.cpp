#include "printing/PdfCanvas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pennock::core {

PdfCanvas::PdfCanvas(const QString& filePath, const QPageLayout& layout, int resolution)
    : mPath(filePath)
    , mWriter(filePath)
{
    mWriter.setResolution(resolution);
    mWriter.setPageLayout(layout);
    mWriter.setCreator(QStringLiteral("Pennock"));
}

PdfCanvas::~PdfCanvas() { endPainting(); }

QPageLayout PdfCanvas::paperLayout(int widthTenthMm, int heightTenthMm)
{
    const QPageSize size(QSizeF(widthTenthMm / 10.0, heightTenthMm / 10.0), QPageSize::Millimeter,
        QString(), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
}

QPaintDevice* PdfCanvas::device() const { return &mWriter; }

int PdfCanvas::physicalTopMargin() const
{
    return mWriter.pageLayout().paintRectPixels(mWriter.resolution()).top();
}

void PdfCanvas::setLandscape(bool landscape)
{
    if (!isActive())
        mWriter.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int PdfCanvas::physicalLeftMargin() const
{
    return mWriter.pageLayout().paintRectPixels(mWriter.resolution()).left();
}

QSizeF PdfCanvas::requestPaper(const QSizeF& sizeMm)
{
    QPageLayout layout = mWriter.pageLayout();
    if (!isActive() && !mKeepPaper && !sizeMm.isEmpty()) {
        // A page size is defined upright; a landscape page is that size turned.
        const QSizeF upright
            = layout.orientation() == QPageLayout::Landscape ? sizeMm.transposed() : sizeMm;
        layout.setPageSize(
            QPageSize(upright, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
            layout.margins());
        mWriter.setPageLayout(layout);
    }
    return mWriter.pageLayout().fullRect(QPageLayout::Millimeter).size();
}

bool PdfCanvas::beginDocument()
{
    if (isActive())
        return true;
    setError({});
    const QFileInfo info(mPath);
    QDir().mkpath(info.absolutePath());
    if (!beginPainting()) {
        setError(QStringLiteral("%1: cannot be written").arg(QDir::toNativeSeparators(mPath)));
        return false;
    }
    return true;
}

bool PdfCanvas::endDocument()
{
    if (!isActive())
        return false;
    endPainting();
    if (!QFileInfo(mPath).isFile() || QFileInfo(mPath).size() == 0) {
        setError(QStringLiteral("%1: nothing was written").arg(QDir::toNativeSeparators(mPath)));
        return false;
    }
    return true;
}

void PdfCanvas::abortDocument()
{
    if (!isActive())
        return;
    endPainting();
    QFile::remove(mPath);
}

} // namespace pennock::core
