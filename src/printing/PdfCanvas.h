#pragma once

#include "printing/PainterCanvas.h"

#include <QPageLayout>
#include <QPdfWriter>

namespace pennock::core {

/// A canvas that writes one PDF file. The page layout's margins play the printer's unprintable
/// border: the painter's origin lies inside them and the top margin is the physical top margin.
class PdfCanvas : public PainterCanvas
{
public:
    PdfCanvas(const QString& filePath, const QPageLayout& layout, int resolution = 1200);
    ~PdfCanvas() override;

    int physicalTopMargin() const override;
    int physicalLeftMargin() const override;
    void setLandscape(bool landscape) override;
    QSizeF requestPaper(const QSizeF& sizeMm) override;
    void setCopyCount(int copies) override { mCopies = copies; }
    bool beginDocument() override;
    bool endDocument() override;
    void abortDocument() override;

    const QString& filePath() const noexcept { return mPath; }
    int copyCount() const noexcept { return mCopies; }
    QPageLayout pageLayout() const { return mWriter.pageLayout(); }

    /// The paper the user chose for the device stays whatever a bill asks for.
    void keepPaper(bool keep) noexcept { mKeepPaper = keep; }
    bool keepsPaper() const noexcept { return mKeepPaper; }

    /// A page of the given paper size in 0.1 mm without margins: the bill paper itself.
    static QPageLayout paperLayout(int widthTenthMm, int heightTenthMm);

protected:
    QPaintDevice* device() const override;

private:
    QString mPath;
    mutable QPdfWriter mWriter;
    int mCopies = 1;
    bool mKeepPaper = false;
};

} // namespace pennock::core
