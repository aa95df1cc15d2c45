#include "printing/PainterCanvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>

#include <cmath>

namespace pennock::core {

namespace {

// Letter frequencies per thousand, with the blank; the classic definition of the average width.
constexpr int kWeights[27] = { 64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56, 56, 17, 4, 49,
    56, 71, 31, 10, 18, 3, 18, 2, 166 };

} // namespace

PainterCanvas::PainterCanvas()
    : mFont(initialFont())
{
}

PainterCanvas::~PainterCanvas()
{
    if (mPainter.isActive())
        mPainter.end();
}

PrintFont PainterCanvas::initialFont()
{
    return PrintFont { QStringLiteral("宋体"), 9, false, false, false, Qt::black };
}

QFont PainterCanvas::toQFont(const PrintFont& font)
{
    QFont f(font.family);
    if (font.pointSize > 0)
        f.setPointSize(font.pointSize);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

int PainterCanvas::classicAverageCharWidth(const QFont& font, QPaintDevice* device)
{
    const QFontMetricsF metrics(font, device);
    double sum = 0;
    for (int i = 0; i < 26; ++i)
        sum += kWeights[i] * metrics.horizontalAdvance(QChar(u'a' + i));
    sum += kWeights[26] * metrics.horizontalAdvance(QChar(u' '));
    return int(std::lround(sum / 1000.0));
}

int PainterCanvas::dpiX() const { return device()->logicalDpiX(); }

int PainterCanvas::dpiY() const { return device()->logicalDpiY(); }

int PainterCanvas::averageCharWidth() const
{
    // The engine asks before every text run; the letters are measured once per font.
    const int dpi = dpiX();
    if (mMeasuredWidth < 0 || !(mMeasuredFont == mFont) || mMeasuredDpi != dpi) {
        mMeasuredWidth = classicAverageCharWidth(toQFont(mFont), device());
        mMeasuredFont = mFont;
        mMeasuredDpi = dpi;
    }
    return mMeasuredWidth;
}

void PainterCanvas::setFont(const PrintFont& font)
{
    mFont = font;
    if (mPainter.isActive()) {
        mPainter.setFont(toQFont(mFont));
        mPainter.setPen(mFont.colour);
    }
}

void PainterCanvas::drawText(int leftPx, int topPx, const QString& text)
{
    if (!mPainter.isActive())
        return;
    // Windows places the top of the character cell; Qt places the baseline.
    const qreal ascent = QFontMetricsF(mPainter.font(), mPainter.device()).ascent();
    mPainter.drawText(QPointF(leftPx, topPx + ascent), text);
}

bool PainterCanvas::beginPainting()
{
    if (!mPainter.begin(device()))
        return false;
    mFont = initialFont();
    mPainter.setFont(toQFont(mFont));
    mPainter.setPen(mFont.colour);
    return true;
}

void PainterCanvas::drawLine(int x1Px, int y1Px, int x2Px, int y2Px)
{
    if (mPainter.isActive())
        mPainter.drawLine(x1Px, y1Px, x2Px, y2Px);
}

void PainterCanvas::drawPicture(const QImage& picture)
{
    if (!mPainter.isActive())
        return;
    const QPaintDevice* page = device();
    mPainter.drawImage(QRect(0, 0, page->width(), page->height()), picture);
}

bool PainterCanvas::newPage()
{
    auto* paged = dynamic_cast<QPagedPaintDevice*>(device());
    return mPainter.isActive() && paged && paged->newPage();
}

void PainterCanvas::endPainting()
{
    if (mPainter.isActive())
        mPainter.end();
}

} // namespace pennock::core
