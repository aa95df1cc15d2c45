#include "printing/PrintEngine.h"

#include "format/TextUtils.h"
#include "platform/Prompter.h"
#include "store/Database.h"

#include <QSqlQuery>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace pennock::core {

namespace {

const QString kItemColumns = QStringLiteral(
    "CtlName, CtlX, CtlY, CtlLH, CtlFontName, CtlFontSize, BreakFontSize, ctlFontColor, Bold, "
    "Italic, UnderLine, FitParam, BreakNum");
const QString kLineSeparator = QStringLiteral("##");
// The window text colour of the system palette, which cells use when no colour is given.
const QString kWindowTextColour = QStringLiteral("-2147483640");
constexpr int kDefaultLinePitch = 50;
constexpr int kSmallestBreakFontSize = 6;

ItemLayout layoutFromRow(const QSqlQuery& q)
{
    ItemLayout l;
    l.name = q.value(0).toString();
    l.x = q.value(1).toInt();
    l.y = q.value(2).toInt();
    l.linePitch = q.value(3).toInt();
    l.fontName = q.value(4).toString();
    l.fontSize = q.value(5).toInt();
    l.breakFontSize = q.value(6).toInt();
    l.fontColor = q.value(7).toString();
    l.bold = q.value(8).toInt();
    l.italic = q.value(9).toInt();
    l.underline = q.value(10).toInt();
    l.fitParam = q.value(11).toString();
    l.breakNum = q.value(12).toString();
    return l;
}

// num / den rounded to the nearest integer, ties to the even one; den > 0.
qint64 roundDivEven(qint64 num, qint64 den) noexcept
{
    qint64 quotient = num / den;
    qint64 remainder = num % den;
    if (remainder < 0) {
        remainder += den;
        --quotient;
    }
    if (2 * remainder > den || (2 * remainder == den && (quotient & 1) != 0))
        ++quotient;
    return quotient;
}

bool hasDoubleByteChar(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; });
}

// A cell pitch must be a whole number; the text as the column holds it.
std::optional<int> cellPitchOf(const QString& text)
{
    bool ok = false;
    const int pitch = text.toInt(&ok);
    return ok ? std::optional<int>(pitch) : std::nullopt;
}

} // namespace

PrintEngine::PrintEngine(Database& db, Prompter& prompter)
    : mDb(db)
    , mPrompter(prompter)
{
}

int PrintEngine::paperToPixels(int tenthMm, int dpi) noexcept
{
    // v * dpi * 1000 / 25.4 is v * dpi * 10000 / 254: whole numbers all the way.
    const qint64 micro = roundDivEven(qint64(tenthMm) * dpi * 10000, 254);
    const qint64 pixels = roundDivEven(roundDivEven(micro, 1000), 10);
    return int(std::clamp<qint64>(pixels, INT_MIN, INT_MAX));
}

QColor PrintEngine::colourFromText(const QString& text) noexcept
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < 0)
        return Qt::black; // system colours: the window text is black ink on paper
    return QColor(number & 0xff, (number >> 8) & 0xff, (number >> 16) & 0xff);
}

PrintFont PrintEngine::makeFont(const QString& fontName, int fontSize, int bold, int italic,
    int underline, const QString& colour)
{
    PrintFont font;
    font.family = fontName.isEmpty() ? QStringLiteral("宋体") : fontName;
    font.pointSize = fontSize;
    font.bold = bold > 0;
    font.italic = italic > 0;
    font.underline = underline > 0;
    font.colour = colourFromText(colour);
    return font;
}

QString PrintEngine::trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.sliced(begin, end - begin);
}

std::optional<QPoint> PrintEngine::prepareJob(int templateId, bool turnPaper)
{
    mJobReady = false;
    mPaperRefusal.clear();
    QSqlQuery q = mDb.exec(QStringLiteral("select XMove, YMove, PWidth, PHeight from CKTypeTable "
                                          "where CheckTypeID=?"),
        { templateId });
    if (!q.next())
        return std::nullopt;
    const QPoint offset(q.value(0).toInt(), q.value(1).toInt());
    const QSizeF paperMm(q.value(2).toInt() / 10.0, q.value(3).toInt() / 10.0);
    q.finish();
    if (turnPaper)
        setOrientation(getHXPaperIn(templateId) == u"1");
    if (mCanvas && !paperMm.isEmpty()) {
        const QSizeF page = mCanvas->requestPaper(paperMm);
        // Half a millimetre for the rounding of page sizes to whole points.
        constexpr double kSlackMm = 0.5;
        if (!page.isEmpty()
            && (paperMm.width() > page.width() + kSlackMm
                || paperMm.height() > page.height() + kSlackMm)) {
            mPaperRefusal = QStringLiteral("票据纸张（%1×%2毫米）比打印机的纸张（%3×%4毫米）大，"
                                           "超出纸张的内容打印不出来！请在打印机设置中选择能放下"
                                           "票据的纸张后再打印。")
                                .arg(paperMm.width(), 0, 'f', 1)
                                .arg(paperMm.height(), 0, 'f', 1)
                                .arg(page.width(), 0, 'f', 1)
                                .arg(page.height(), 0, 'f', 1);
            return std::nullopt;
        }
    }
    mJobReady = true;
    return offset;
}

void PrintEngine::setOrientation(bool landscape)
{
    if (mCanvas)
        mCanvas->setLandscape(landscape);
}

bool PrintEngine::beginJob(int copies)
{
    if (!mJobReady)
        return false;
    if (!mCanvas) {
        mJobReady = false;
        return false;
    }
    mCanvas->setCopyCount(copies < 2 ? 1 : copies);
    if (!mCanvas->beginDocument()) {
        mJobReady = false;
        return false;
    }
    return true;
}

bool PrintEngine::endJob()
{
    if (!mJobReady)
        return false;
    mJobReady = false;
    return mCanvas && mCanvas->endDocument();
}

bool PrintEngine::newPage()
{
    return mJobReady && mCanvas && mCanvas->isActive() && mCanvas->newPage();
}

void PrintEngine::abortJob()
{
    mJobReady = false;
    if (mCanvas)
        mCanvas->abortDocument();
}

std::optional<ItemLayout> PrintEngine::loadItemLayout(int templateId, const QString& itemName)
{
    QSqlQuery q = mDb.exec(QStringLiteral("select %1 from CKControl where CheckTypeID=? and "
                                          "CtlName=? collate nocase order by ID")
                               .arg(kItemColumns),
        { templateId, itemName });
    if (!q.next())
        return std::nullopt;
    return layoutFromRow(q);
}

QHash<QString, ItemLayout> PrintEngine::loadTemplateLayout(int templateId)
{
    const QString sql = QStringLiteral("select %1 from CKControl where CheckTypeID=? order by ID")
                            .arg(kItemColumns);
    QSqlQuery q = mDb.exec(sql, { templateId });
    QHash<QString, ItemLayout> layouts;
    while (q.next()) {
        ItemLayout l = layoutFromRow(q);
        const QString key = l.name.toUpper();
        if (!layouts.contains(key)) // the first row of a name counts, as a lookup by name finds it
            layouts.insert(key, std::move(l));
    }
    return layouts;
}

PlannedItem PrintEngine::planItem(const ItemLayout& layout, int xOffset, int yOffset,
    const QString& value, const QString& separator) const
{
    PlannedItem item { layout.name, {}, false };
    const int breakFontSize = std::max(layout.breakFontSize, kSmallestBreakFontSize);
    int x = xOffset + layout.x;
    const int y = yOffset + layout.y;
    int breakWidth = -1;
    if (IsDigitText(layout.breakNum)) {
        bool ok = false;
        breakWidth = layout.breakNum.toInt(&ok);
        if (!ok) { // digits beyond any whole number: a broken layout, not "no breaking"
            item.failed = true;
            return item;
        }
    }
    const int pitch = layout.linePitch <= 0 ? kDefaultLinePitch : layout.linePitch;
    const QString trimmed = trimBlanks(value);

    const QStringList pieces = separator.isEmpty() || !trimmed.contains(separator)
        ? QStringList { trimmed }
        : SplitText(trimmed, separator);
    QStringList lines;
    for (const QString& piece : pieces) {
        if (piece.isEmpty())
            continue;
        if (breakWidth < 1)
            lines << piece;
        else
            lines << BreakTextByWidth(piece, breakWidth);
    }

    if (lines.size() == 1 && trimmed == mMoneyCode) {
        if (hasDoubleByteChar(trimmed))
            x -= 10;
        else if (trimmed.size() > 1 && mCellPitch > 0)
            x = x + 4 - (int(trimmed.size()) - 2) * mCellPitch;
    }

    const int fontSize = lines.size() == 1 ? layout.fontSize : breakFontSize;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const int lineY = y + int(i) * pitch;
        if (trimBlanks(line).isEmpty())
            continue; // a blank line selects no font and draws nothing
        if (layout.fitParam.isEmpty()) {
            item.runs.append({ PrintRun::Kind::Text, x, lineY, line, 0,
                makeFont(layout.fontName, fontSize, layout.bold, layout.italic, layout.underline,
                    layout.fontColor) });
            continue;
        }
        const PrintFont cellFont = makeFont(layout.fontName, fontSize, layout.bold, layout.italic,
            layout.underline, layout.fontColor.isEmpty() ? kWindowTextColour : layout.fontColor);
        const std::optional<int> cellPitch = cellPitchOf(layout.fitParam);
        if (!cellPitch) {
            // The font is chosen before the pitch is read, as the item's error shows in it.
            item.runs.append({ PrintRun::Kind::FontOnly, x, lineY, {}, 0, cellFont });
            item.failed = true;
            break;
        }
        item.runs.append({ PrintRun::Kind::Cells, x, lineY, line, *cellPitch, cellFont });
    }
    return item;
}

void PrintEngine::drawRun(const PrintRun& run)
{
    if (!mCanvas)
        return;
    PrintCanvas& canvas = *mCanvas;
    switch (run.kind) {
    case PrintRun::Kind::FontOnly:
        canvas.setFont(run.font);
        return;
    case PrintRun::Kind::Text: {
        const int px
            = paperToPixels(mCalibration.x(run.x), canvas.dpiX()) - canvas.physicalLeftMargin();
        int py = paperToPixels(mCalibration.y(run.y), canvas.dpiY()) - canvas.physicalTopMargin();
        if (py < -2)
            py = -3;
        canvas.setFont(run.font);
        canvas.drawText(px, py, run.text);
        return;
    }
    case PrintRun::Kind::Cells: {
        canvas.setFont(run.font);
        const int py
            = paperToPixels(mCalibration.y(run.y), canvas.dpiY()) - canvas.physicalTopMargin();
        const int left = canvas.physicalLeftMargin();
        int x = run.x;
        for (qsizetype i = 0; i < run.text.size();) {
            // A character outside the basic plane is one cell, not two.
            const qsizetype units
                = run.text[i].isHighSurrogate() && i + 1 < run.text.size() ? 2 : 1;
            if (i > 0)
                x += run.cellPitch;
            canvas.drawText(paperToPixels(mCalibration.x(x), canvas.dpiX()) - left, py,
                run.text.sliced(i, units));
            i += units;
        }
        return;
    }
    }
}

void PrintEngine::drawPlanned(const QList<PlannedItem>& items)
{
    for (const PlannedItem& item : items)
        for (const PrintRun& run : item.runs)
            drawRun(run);
}

void PrintEngine::reportItemError(const QString& itemName)
{
    mPrompter.warn(
        QStringLiteral("打印") + itemName + QStringLiteral("出现错误！"), QStringLiteral("错误"));
}

bool PrintEngine::printCheckItem(int templateId, int xOffset, int yOffset, const QString& itemName,
    const QString& value, const QString& separator)
{
    if (trimBlanks(value).isEmpty())
        return true;
    std::optional<ItemLayout> layout;
    try {
        layout = loadItemLayout(templateId, itemName);
    } catch (const DbError&) {
        reportItemError(itemName);
        return false;
    }
    if (!layout)
        return true;
    const PlannedItem item = planItem(*layout, xOffset, yOffset, value, separator);
    drawPlanned({ item });
    if (item.failed) {
        reportItemError(itemName);
        return false;
    }
    return true;
}

void PrintEngine::printTextAt(int x, int y, const QString& text, int underline, int italic,
    int bold, int fontSize, const QString& colour, const QString& fontName)
{
    if (trimBlanks(text).isEmpty())
        return;
    drawRun({ PrintRun::Kind::Text, x, y, text, 0,
        makeFont(fontName, fontSize, bold, italic, underline, colour) });
}

bool PrintEngine::printTextInCells(int x, int y, const QString& text, int underline, int italic,
    int bold, const QString& cellPitch, int fontSize, const QString& colour,
    const QString& fontName)
{
    if (cellPitch.isEmpty()) {
        printTextAt(x, y, text, underline, italic, bold, fontSize, colour, fontName);
        return true;
    }
    if (trimBlanks(text).isEmpty())
        return true;
    const PrintFont font = makeFont(
        fontName, fontSize, bold, italic, underline, colour.isEmpty() ? kWindowTextColour : colour);
    const std::optional<int> pitch = cellPitchOf(cellPitch);
    if (!pitch) {
        drawRun({ PrintRun::Kind::FontOnly, x, y, {}, 0, font });
        return false;
    }
    drawRun({ PrintRun::Kind::Cells, x, y, text, *pitch, font });
    return true;
}

int PrintEngine::getCellsWidth(
    int templateId, const QString& firstName, int defaultPitch, const QString& secondName)
{
    try {
        QSqlQuery q = mDb.exec(QStringLiteral("select CtlX from CKControl where CheckTypeID=? and "
                                              "(CtlName=? collate nocase or CtlName=? collate "
                                              "nocase) order by ID"),
            { templateId, firstName, secondName });
        QList<int> xs;
        while (xs.size() < 2 && q.next())
            xs << q.value(0).toInt();
        return xs.size() < 2 ? defaultPitch : std::abs(xs[0] - xs[1]);
    } catch (const DbError&) {
        return 0;
    }
}

QString PrintEngine::getHXPaperIn(int templateId)
{
    try {
        return mDb
            .scalar(QStringLiteral("select HVPrint from CKTypeTable where CheckTypeID=?"),
                { templateId })
            .toString();
    } catch (const DbError&) {
        return {};
    }
}

QList<PlannedItem> PrintEngine::planItems(
    int templateId, int xOffset, int yOffset, const QList<PrintValue>& values)
{
    QList<PlannedItem> items;
    std::optional<QHash<QString, ItemLayout>> layouts;
    bool unreadable = false;
    for (const PrintValue& v : values) {
        const QString type = v.type.toUpper();
        QString value = v.value;
        QString separator;
        if (type.isEmpty() || type == u"TEXT") {
            value.replace(QLatin1Char('\n'), kLineSeparator);
            value.remove(QLatin1Char('\r'));
            separator = kLineSeparator;
        } else if (type != u"CHECKBOX") {
            continue; // pictures are not printed
        }
        if (trimBlanks(value).isEmpty())
            continue;
        if (!layouts && !unreadable) {
            try {
                layouts = loadTemplateLayout(templateId);
            } catch (const DbError&) {
                unreadable = true;
            }
        }
        if (unreadable) {
            reportItemError(v.name);
            items.append({ v.name, {}, true });
            continue;
        }
        const auto found = layouts->constFind(v.name.toUpper());
        if (found == layouts->constEnd())
            continue;
        PlannedItem item = planItem(*found, xOffset, yOffset, value, separator);
        item.name = v.name;
        if (item.failed)
            reportItemError(v.name);
        items.append(std::move(item));
    }
    return items;
}

int PrintEngine::printItems(
    int templateId, int xOffset, int yOffset, const QList<PrintValue>& values)
{
    if (!mJobReady)
        return 0;
    const QList<PlannedItem> items = planItems(templateId, xOffset, yOffset, values);
    drawPlanned(items);
    return int(
        std::count_if(items.begin(), items.end(), [](const PlannedItem& i) { return i.failed; }));
}

} // namespace pennock::core
