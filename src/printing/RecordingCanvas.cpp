#include "printing/RecordingCanvas.h"

namespace pennock::core {

RecordingCanvas::RecordingCanvas(
    int dpiX, int dpiY, int physicalTopMargin, const PrintFont& initialFont, WidthRule widthRule)
    : mDpiX(dpiX)
    , mDpiY(dpiY)
    , mTopMargin(physicalTopMargin)
    , mInitialFont(initialFont)
    , mFont(initialFont)
    , mWidthRule(widthRule ? std::move(widthRule) : WidthRule(&RecordingCanvas::halfEm))
{
}

int RecordingCanvas::halfEm(const PrintFont& font, int dpiX)
{
    // Integer arithmetic keeps the expected positions of the tests exact.
    return font.pointSize * dpiX / 144;
}

int RecordingCanvas::averageCharWidth() const { return mWidthRule(mFont, mDpiX); }

QSizeF RecordingCanvas::requestPaper(const QSizeF& sizeMm)
{
    mRequested = sizeMm;
    return mPaper.isEmpty() ? sizeMm : mPaper;
}

void RecordingCanvas::setFont(const PrintFont& font)
{
    mFont = font;
    mFonts.append(font);
}

void RecordingCanvas::drawText(int leftPx, int topPx, const QString& text)
{
    mTexts.append({ leftPx, topPx, text, mFont });
}

bool RecordingCanvas::beginDocument()
{
    mActive = true;
    mFont = mInitialFont;
    ++mBegun;
    return true;
}

bool RecordingCanvas::endDocument()
{
    if (!mActive)
        return false;
    mActive = false;
    ++mEnded;
    return true;
}

void RecordingCanvas::abortDocument()
{
    mActive = false;
    ++mAborted;
}

bool RecordingCanvas::newPage()
{
    if (!mActive)
        return false;
    ++mPageBreaks;
    return true;
}

void RecordingCanvas::clear()
{
    mTexts.clear();
    mFonts.clear();
}

} // namespace pennock::core
