#include "PdfWords.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

namespace pennock::test {

namespace {
constexpr double kMmPerPoint = 25.4 / 72.0;
}

QList<PdfPage> readPdfWords(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), { QStringLiteral("-bbox"), path, QStringLiteral("-") });
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << path.toStdString() << ": "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    const QString xml = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression pageRe(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    static const QRegularExpression wordRe(
        QStringLiteral(R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" )re"
                       R"re(xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re"));
    QList<PdfPage> pages;
    for (const QString& chunk : xml.split(QStringLiteral("</page>"))) {
        const auto page = pageRe.match(chunk);
        if (!page.hasMatch())
            continue;
        PdfPage out { QSizeF(page.captured(1).toDouble() * kMmPerPoint,
                          page.captured(2).toDouble() * kMmPerPoint),
            {} };
        for (auto it = wordRe.globalMatch(chunk); it.hasNext();) {
            const auto m = it.next();
            const QString text = QTextDocumentFragment::fromHtml(m.captured(5)).toPlainText();
            out.words.append({ text.normalized(QString::NormalizationForm_KC),
                m.captured(1).toDouble() * kMmPerPoint, m.captured(2).toDouble() * kMmPerPoint,
                m.captured(3).toDouble() * kMmPerPoint, m.captured(4).toDouble() * kMmPerPoint });
        }
        pages.append(out);
    }
    return pages;
}

QList<PdfWord> wordsEqualTo(const PdfPage& page, const QString& text)
{
    QList<PdfWord> found;
    for (const PdfWord& w : page.words)
        if (w.text == text)
            found.append(w);
    return found;
}

} // namespace pennock::test
