#pragma once

#include <QColor>
#include <QSizeF>
#include <QString>

namespace pennock::core {

/// A font as the print engine selects it: face, size in points, styles and colour.
struct PrintFont
{
    QString family;
    int pointSize = 0; ///< 0 or less: the device's default size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour = Qt::black;

    bool operator==(const PrintFont& other) const = default;
};

/// The drawing surface of one printer (or a PDF file, or a recording for tests) and its
/// document. Positions are device pixels from the painter's origin, which lies at the top-left
/// corner of the printable area.
class PrintCanvas
{
public:
    virtual ~PrintCanvas() = default;

    /// Device resolution in pixels per inch.
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    /// Distance from the paper's top edge to the first printable row, in device pixels.
    virtual int physicalTopMargin() const = 0;
    /// Distance from the paper's left edge to the first printable column, in device pixels.
    virtual int physicalLeftMargin() const = 0;
    /// Average character width of the font currently selected, in device pixels.
    virtual int averageCharWidth() const = 0;
    /// The font currently selected: the canvas's initial font until the first setFont of a
    /// document.
    virtual const PrintFont& font() const = 0;
    virtual void setFont(const PrintFont& font) = 0;
    /// Draws a text run whose top-left corner is at the given device position.
    virtual void drawText(int leftPx, int topPx, const QString& text) = 0;
    /// Draws a thin line between two device positions.
    virtual void drawLine(int x1Px, int y1Px, int x2Px, int y2Px) = 0;

    virtual void setLandscape(bool landscape) = 0;
    /// Asks for a bill's own paper before the document opens: `sizeMm` as drawn, its width
    /// along the page's x. A canvas whose paper the user chose keeps that paper. Returns the
    /// page the document will have, as drawn, in mm.
    virtual QSizeF requestPaper(const QSizeF& sizeMm) = 0;
    virtual void setCopyCount(int copies) = 0;
    /// Opens the print document with the initial font selected, so that every job places its
    /// first text alike; false (and errorString) when the device refuses.
    virtual bool beginDocument() = 0;
    /// Closes the document and hands it to its destination; false (and errorString) on failure.
    virtual bool endDocument() = 0;
    /// Ends the page of the open document and starts the next; false when the device refuses.
    virtual bool newPage() = 0;
    /// Drops the open document.
    virtual void abortDocument() = 0;
    virtual bool isActive() const = 0;
    virtual QString errorString() const = 0;
};

} // namespace pennock::core
