#pragma once

#include "printing/PainterCanvas.h"

class QPrinter;

namespace pennock::ui {

/// The canvas of a QPrinter: a system printer through CUPS, or a PDF file when the printer has
/// an output file name. The painter's origin is the top-left corner of the printable area.
class PrinterCanvas final : public core::PainterCanvas
{
public:
    explicit PrinterCanvas(QPrinter& printer);
    ~PrinterCanvas() override;

    int physicalTopMargin() const override;
    int physicalLeftMargin() const override;
    void setLandscape(bool landscape) override;
    QSizeF requestPaper(const QSizeF& sizeMm) override;
    /// The paper the user chose in the printer dialog stays whatever a bill asks for.
    void keepPaper(bool keep) noexcept { mKeepPaper = keep; }
    void setCopyCount(int copies) override;
    bool beginDocument() override;
    bool endDocument() override;
    void abortDocument() override;

    QPrinter& printer() const noexcept { return mPrinter; }

protected:
    QPaintDevice* device() const override;

private:
    QPrinter& mPrinter;
    bool mKeepPaper = false;
};

} // namespace pennock::ui
