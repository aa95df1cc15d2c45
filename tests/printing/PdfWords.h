#pragma once

#include <QList>
#include <QSizeF>
#include <QString>

namespace pennock::test {

/// One word of a PDF page as `pdftotext -bbox` finds it, in millimetres from the page's
/// top-left corner. CJK compatibility forms (radicals that share a glyph) are folded back.
struct PdfWord
{
    QString text;
    double left;
    double top;
    double right;
    double bottom;
};

struct PdfPage
{
    QSizeF sizeMm;
    QList<PdfWord> words;
};

/// The pages of a PDF file; fails the test and returns nothing when pdftotext cannot read it.
QList<PdfPage> readPdfWords(const QString& path);

/// Words whose text equals `text`.
QList<PdfWord> wordsEqualTo(const PdfPage& page, const QString& text);

} // namespace pennock::test
