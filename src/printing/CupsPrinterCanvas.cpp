#include "printing/CupsPrinterCanvas.h"

#include <cups/cups.h>

#include <algorithm>

namespace pennock::core {

namespace {

constexpr int kResolution = 1200; // what Qt's printer engine paints CUPS printers with

// The destinations of the scheduler, freed on leaving the scope.
class Destinations
{
public:
    Destinations()
        : mCount(cupsGetDests2(CUPS_HTTP_DEFAULT, &mDests))
    {
    }
    ~Destinations() { cupsFreeDests(mCount, mDests); }
    Destinations(const Destinations&) = delete;
    Destinations& operator=(const Destinations&) = delete;

    int count() const { return mCount; }
    cups_dest_t* at(int i) const { return &mDests[i]; }

private:
    cups_dest_t* mDests = nullptr;
    int mCount;
};

QPageLayout layoutOf(const cups_size_t& size)
{
    // CUPS measures in hundredths of a millimetre. Qt's printer engine keeps at least 10 points
    // of margin where the driver allows less; the same here, so that a test print from the
    // command line lands where the program prints.
    const auto points
        = [](int hundredths) { return std::max(hundredths / 100.0 * 72 / 25.4, 10.0); };
    const QPageSize page(QSizeF(size.width / 100.0, size.length / 100.0), QPageSize::Millimeter,
        QString::fromUtf8(size.media), QPageSize::ExactMatch);
    return QPageLayout(page, QPageLayout::Portrait,
        QMarginsF(points(size.left), points(size.top), points(size.right), points(size.bottom)),
        QPageLayout::Point);
}

} // namespace

CupsPrinterCanvas::CupsPrinterCanvas(std::unique_ptr<QTemporaryDir> dir, QString printer,
    QString title, QString media, const QPageLayout& layout)
    : PdfCanvas(dir->filePath(QStringLiteral("job.pdf")), layout, kResolution)
    , mDir(std::move(dir))
    , mPrinter(std::move(printer))
    , mTitle(std::move(title))
    , mMedia(std::move(media))
{
}

CupsPrinterCanvas::~CupsPrinterCanvas() = default;

QStringList CupsPrinterCanvas::printerNames()
{
    const Destinations dests;
    QStringList names;
    for (int i = 0; i < dests.count(); ++i)
        if (!dests.at(i)->instance)
            names << QString::fromUtf8(dests.at(i)->name);
    return names;
}

std::unique_ptr<CupsPrinterCanvas> CupsPrinterCanvas::open(
    const QString& name, const QString& title)
{
    const Destinations dests;
    cups_dest_t* dest = nullptr;
    for (int i = 0; i < dests.count() && !dest; ++i)
        if (!dests.at(i)->instance
            && QString::fromUtf8(dests.at(i)->name).compare(name, Qt::CaseInsensitive) == 0)
            dest = dests.at(i);
    if (!dest)
        return nullptr;

    // The default paper and its printable area, as the driver describes them: the user's
    // choice of paper for the printer, else the printer's own.
    cups_size_t size {};
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
        QPageLayout::Point);
    QString media;
    // A paper the user set for the printer (lpoptions -o media=...) is kept for every bill.
    const bool userPaper = cupsGetOption("media", dest->num_options, dest->options) != nullptr;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        const char* name = cupsGetOption("media", dest->num_options, dest->options);
        if (!name)
            if (ipp_attribute_t* def = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media"))
                name = ippGetString(def, 0, nullptr);
        if (name ? cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info, name, 0, &size)
                 : cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size)) {
            layout = layoutOf(size);
            media = QString::fromUtf8(size.media);
        }
        cupsFreeDestInfo(info);
    }
    auto dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid())
        return nullptr;
    std::unique_ptr<CupsPrinterCanvas> canvas(
        new CupsPrinterCanvas(std::move(dir), QString::fromUtf8(dest->name), title, media, layout));
    canvas->keepPaper(userPaper);
    return canvas;
}

QSizeF CupsPrinterCanvas::requestPaper(const QSizeF& sizeMm)
{
    const bool asked = !isActive() && !keepsPaper() && !sizeMm.isEmpty();
    const QSizeF page = PdfCanvas::requestPaper(sizeMm);
    if (asked) {
        const QSizeF upright = pageLayout().pageSize().size(QPageSize::Millimeter);
        mMedia = QStringLiteral("Custom.%1x%2mm")
                     .arg(upright.width(), 0, 'f', 1)
                     .arg(upright.height(), 0, 'f', 1);
    }
    return page;
}

bool CupsPrinterCanvas::endDocument()
{
    if (!PdfCanvas::endDocument())
        return false;
    cups_option_t* options = nullptr;
    int count = 0;
    if (copyCount() > 1)
        count
            = cupsAddOption("copies", QByteArray::number(copyCount()).constData(), count, &options);
    if (!mMedia.isEmpty())
        count = cupsAddOption("media", mMedia.toUtf8().constData(), count, &options);
    // Positions are millimetres on the paper: the driver must not fit the page to anything.
    count = cupsAddOption("print-scaling", "none", count, &options);
    mJobId = cupsPrintFile2(CUPS_HTTP_DEFAULT, mPrinter.toUtf8().constData(),
        filePath().toLocal8Bit().constData(), mTitle.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (mJobId == 0) {
        setError(QStringLiteral("%1: %2").arg(mPrinter, QString::fromUtf8(cupsLastErrorString())));
        return false;
    }
    return true;
}

} // namespace pennock::core
