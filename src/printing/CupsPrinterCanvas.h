#pragma once

#include "printing/PdfCanvas.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace pennock::core {

/// A system printer reached through the CUPS scheduler itself, for the command line, which has
/// no Qt print support: the page is the printer's default paper with its printable area at the
/// resolution Qt prints with, drawn into a PDF that the scheduler receives when the document
/// ends.
class CupsPrinterCanvas final : public PdfCanvas
{
public:
    ~CupsPrinterCanvas() override;

    /// The printers the scheduler offers, in its order.
    static QStringList printerNames();
    /// The canvas of the first printer whose name equals `name` without regard to letter case;
    /// null when there is none. `title` names the job.
    static std::unique_ptr<CupsPrinterCanvas> open(const QString& name, const QString& title);

    bool endDocument() override;
    QSizeF requestPaper(const QSizeF& sizeMm) override;

    const QString& printerName() const noexcept { return mPrinter; }
    /// The scheduler's job number once the document ended; 0 before.
    int jobId() const noexcept { return mJobId; }

private:
    CupsPrinterCanvas(std::unique_ptr<QTemporaryDir> dir, QString printer, QString title,
        QString media, const QPageLayout& layout);

    std::unique_ptr<QTemporaryDir> mDir;
    QString mPrinter;
    QString mTitle;
    QString mMedia;
    int mJobId = 0;
};

} // namespace pennock::core
