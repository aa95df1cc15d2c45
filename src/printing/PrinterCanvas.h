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
    void setLandscape(bool landscape) override;
    void setCopyCount(int copies) override;
    bool beginDocument() override;
    bool endDocument() override;
    void abortDocument() override;

    QPrinter& printer() const noexcept { return mPrinter; }

protected:
    QPaintDevice* device() const override;

private:
    QPrinter& mPrinter;
};

} // namespace pennock::ui
