#pragma once

#include "printing/PrintCanvas.h"

#include <QFont>
#include <QPainter>

class QImage;
class QPaintDevice;

namespace pennock::core {

/// The drawing half of a canvas on a Qt paint device; subclasses own the device and its
/// document.
class PainterCanvas : public PrintCanvas
{
public:
    PainterCanvas();
    ~PainterCanvas() override;

    int dpiX() const override;
    int dpiY() const override;
    int averageCharWidth() const override;
    const PrintFont& font() const override { return mFont; }
    void setFont(const PrintFont& font) override;
    void drawText(int leftPx, int topPx, const QString& text) override;
    void drawLine(int x1Px, int y1Px, int x2Px, int y2Px) override;
    bool isActive() const override { return mPainter.isActive(); }
    bool newPage() override;
    /// Draws a picture over the whole page, under whatever is drawn afterwards.
    void drawPicture(const QImage& picture);
    QString errorString() const override { return mError; }

    /// The canvas's font before the first setFont: "宋体", 9 points, black.
    static PrintFont initialFont();
    /// The Qt font of a print font, for drawing on `device`.
    static QFont toQFont(const PrintFont& font);
    /// The average character width as Windows reports it for the classic fonts: the weighted
    /// mean of the lower-case letters and the blank. OpenType CJK fonts report the mean of all
    /// their glyphs instead, nearly a full em, which would double the shift of the origin.
    static int classicAverageCharWidth(const QFont& font, QPaintDevice* device);

protected:
    virtual QPaintDevice* device() const = 0;
    /// Begins painting on the device with the initial font.
    bool beginPainting();
    void endPainting();
    void setError(const QString& message) { mError = message; }

private:
    QPainter mPainter;
    PrintFont mFont;
    QString mError;
    mutable PrintFont mMeasuredFont;
    mutable int mMeasuredDpi = 0;
    mutable int mMeasuredWidth = -1;
};

} // namespace pennock::core
