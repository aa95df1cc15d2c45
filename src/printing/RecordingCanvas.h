#pragma once

#include "printing/PrintCanvas.h"

#include <QList>

#include <functional>

namespace pennock::core {

/// A canvas that remembers every font and text it receives, with exact device positions and
/// metrics fixed by the test that builds it.
class RecordingCanvas final : public PrintCanvas
{
public:
    struct Text
    {
        int leftPx;
        int topPx;
        QString text;
        PrintFont font;
    };
    /// Average character width of a font; by default half an em at the horizontal resolution.
    using WidthRule = std::function<int(const PrintFont& font, int dpiX)>;

    RecordingCanvas(int dpiX, int dpiY, int physicalTopMargin,
        const PrintFont& initialFont = PrintFont { QStringLiteral("宋体"), 9 },
        WidthRule widthRule = {});

    int dpiX() const override { return mDpiX; }
    int dpiY() const override { return mDpiY; }
    int physicalTopMargin() const override { return mTopMargin; }
    int physicalLeftMargin() const override { return mLeftMargin; }
    void setPhysicalLeftMargin(int px) noexcept { mLeftMargin = px; }
    int averageCharWidth() const override;
    const PrintFont& font() const override { return mFont; }
    void setFont(const PrintFont& font) override;
    void drawText(int leftPx, int topPx, const QString& text) override;
    void drawLine(int, int, int, int) override { ++mLines; }
    int lines() const noexcept { return mLines; }

    void setLandscape(bool landscape) override { mLandscape = landscape; }
    /// Takes any paper asked for, unless a paper was set with `setPaper`.
    QSizeF requestPaper(const QSizeF& sizeMm) override;
    void setPaper(const QSizeF& sizeMm) { mPaper = sizeMm; }
    const QSizeF& requestedPaper() const noexcept { return mRequested; }
    void setCopyCount(int copies) override { mCopies = copies; }
    bool beginDocument() override;
    bool endDocument() override;
    void abortDocument() override;
    bool newPage() override;
    bool isActive() const override { return mActive; }
    QString errorString() const override { return {}; }

    /// Half an em: the rule used when the test gives none.
    static int halfEm(const PrintFont& font, int dpiX);

    const QList<Text>& texts() const noexcept { return mTexts; }
    /// Every font selected, in order.
    const QList<PrintFont>& fonts() const noexcept { return mFonts; }
    bool landscape() const noexcept { return mLandscape; }
    int copyCount() const noexcept { return mCopies; }
    int documentsBegun() const noexcept { return mBegun; }
    int documentsEnded() const noexcept { return mEnded; }
    int documentsAborted() const noexcept { return mAborted; }
    /// Pages ended by `newPage` in every document so far.
    int pageBreaks() const noexcept { return mPageBreaks; }
    void clear();

private:
    int mDpiX;
    int mDpiY;
    int mTopMargin;
    int mLeftMargin = 0;
    QSizeF mPaper;
    QSizeF mRequested;
    PrintFont mInitialFont;
    PrintFont mFont;
    WidthRule mWidthRule;
    QList<Text> mTexts;
    QList<PrintFont> mFonts;
    bool mLandscape = false;
    bool mActive = false;
    int mCopies = 1;
    int mPageBreaks = 0;
    int mLines = 0;
    int mBegun = 0;
    int mEnded = 0;
    int mAborted = 0;
};

} // namespace pennock::core
