#include "printing/PrinterCanvas.h"

#include <QPrinter>

namespace pennock::ui {

PrinterCanvas::PrinterCanvas(QPrinter& printer)
    : mPrinter(printer)
{
}

PrinterCanvas::~PrinterCanvas() { endPainting(); }

QPaintDevice* PrinterCanvas::device() const { return &mPrinter; }

int PrinterCanvas::physicalTopMargin() const
{
    // Where the painter's origin lies below the paper's edge.
    return int(mPrinter.pageRect(QPrinter::DevicePixel).top()
        - mPrinter.paperRect(QPrinter::DevicePixel).top());
}

int PrinterCanvas::physicalLeftMargin() const
{
    return int(mPrinter.pageRect(QPrinter::DevicePixel).left()
        - mPrinter.paperRect(QPrinter::DevicePixel).left());
}

void PrinterCanvas::setLandscape(bool landscape)
{
    if (!isActive())
        mPrinter.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QSizeF PrinterCanvas::requestPaper(const QSizeF& sizeMm)
{
    if (!isActive() && !mKeepPaper && !sizeMm.isEmpty()) {
        const QSizeF upright = mPrinter.pageLayout().orientation() == QPageLayout::Landscape
            ? sizeMm.transposed()
            : sizeMm;
        mPrinter.setPageSize(
            QPageSize(upright, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    }
    return mPrinter.pageLayout().fullRect(QPageLayout::Millimeter).size();
}

void PrinterCanvas::setCopyCount(int copies)
{
    if (!isActive())
        mPrinter.setCopyCount(copies);
}

bool PrinterCanvas::beginDocument()
{
    if (isActive())
        return true;
    setError({});
    if (!mPrinter.isValid()) {
        setError(QStringLiteral("%1: printer not available").arg(mPrinter.printerName()));
        return false;
    }
    if (!beginPainting()) {
        setError(QStringLiteral("%1: the print document could not be opened")
                     .arg(mPrinter.outputFileName().isEmpty() ? mPrinter.printerName()
                                                              : mPrinter.outputFileName()));
        return false;
    }
    return true;
}

bool PrinterCanvas::endDocument()
{
    if (!isActive())
        return false;
    endPainting();
    if (mPrinter.printerState() == QPrinter::Error) {
        setError(QStringLiteral("%1: the printer reported an error").arg(mPrinter.printerName()));
        return false;
    }
    return true;
}

void PrinterCanvas::abortDocument()
{
    if (!isActive())
        return;
    mPrinter.abort();
    endPainting();
}

} // namespace pennock::ui
