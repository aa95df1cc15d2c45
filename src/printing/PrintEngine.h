#pragma once

#include "printing/PrintCanvas.h"
#include "printing/PrinterCalibration.h"

#include <QHash>
#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

namespace pennock::core {

class Database;
class Prompter;

/// The print layout of one item on one template (`CKControl`), as the engine reads it.
struct ItemLayout
{
    QString name;
    int x = 0; ///< `CtlX`, 0.1 mm
    int y = 0; ///< `CtlY`, 0.1 mm
    int linePitch = 0; ///< `CtlLH`, 0.1 mm; 0 or less means 50
    QString fontName;
    int fontSize = 0;
    int breakFontSize = 0;
    QString fontColor; ///< decimal colour number as text
    int bold = 0;
    int italic = 0;
    int underline = 0;
    QString fitParam; ///< cell pitch in 0.1 mm; empty for one run of text
    QString breakNum; ///< line length in double-byte characters; digits only or no breaking
};

/// One piece of an item, decided before the job draws anything.
struct PrintRun
{
    enum class Kind {
        Text, ///< one run of text with its top-left corner at (x, y)
        Cells, ///< one character per cell, the first at (x, y)
        FontOnly ///< selects the font and draws nothing (an item that failed after choosing it)
    };
    Kind kind = Kind::Text;
    int x = 0; ///< 0.1 mm on paper, offsets included
    int y = 0;
    QString text;
    int cellPitch = 0; ///< 0.1 mm, cells only
    PrintFont font;
};

/// What one item prints.
struct PlannedItem
{
    QString name;
    QList<PrintRun> runs;
    bool failed = false; ///< the item reported a print error
};

/// A value of a bill form for the item loop: item name, item type ("TEXT", "CHECKBOX",
/// "IMAGE"; any case) and the text to print.
struct PrintValue
{
    QString name;
    QString type;
    QString value;
};

/// Puts the values of a bill onto the printer canvas: paper positions in 0.1 mm become device
/// pixels, values are split and broken into lines, boxed fields are spread over their cells.
/// Holds the job state the bill forms set: whether a job may open, the currency code and the
/// cell pitch of the bill being printed.
class PrintEngine
{
public:
    PrintEngine(Database& db, Prompter& prompter);

    /// The canvas of the current printer; the engine draws nothing without one.
    void setCanvas(PrintCanvas* canvas) noexcept { mCanvas = canvas; }
    /// The correction of the printer in use, applied to every position on top of the offsets.
    void setCalibration(const PrinterCalibration& calibration) noexcept
    {
        mCalibration = calibration;
    }
    const PrinterCalibration& calibration() const noexcept { return mCalibration; }
    PrintCanvas* canvas() const noexcept { return mCanvas; }

    bool printJobReady() const noexcept { return mJobReady; }
    void setPrintJobReady(bool ready) noexcept { mJobReady = ready; }
    const QString& printMoneyCode() const noexcept { return mMoneyCode; }
    void setPrintMoneyCode(const QString& code) { mMoneyCode = code; }
    int printCellPitch() const noexcept { return mCellPitch; }
    void setPrintCellPitch(int pitchTenthMm) noexcept { mCellPitch = pitchTenthMm; }

    /// Print preparation: clears `printJobReady`, reads the template's whole-page offset, turns
    /// the paper as `HVPrint` says (unless told not to) and sets `printJobReady`. No such
    /// template: the flag stays clear. Database errors reach the caller as DbError.
    /// The job asks the canvas for the template's paper; a template larger than the page the
    /// canvas can give leaves the flag clear and says why in `paperRefusal`.
    std::optional<QPoint> prepareJob(int templateId, bool turnPaper = true);
    /// Why the last preparation refused the paper; empty when it did not.
    const QString& paperRefusal() const noexcept { return mPaperRefusal; }
    /// Landscape or portrait paper for the next document.
    void setOrientation(bool landscape);
    /// Only while `printJobReady`: sets the copy count (1 below 2) and opens the document.
    /// False when no job is ready or the printer refuses (then the flag is cleared).
    bool beginJob(int copies);
    /// Only while `printJobReady`: closes the document (the spooler receives the page) and clears
    /// the flag. False when no job was ready or the document could not be delivered.
    bool endJob();
    /// Drops the open document and clears the flag.
    void abortJob();
    /// Starts the next page of the job that is ready (one bill a page); false otherwise.
    bool newPage();

    /// Prints one item of a template; true when printed or when there is nothing to print,
    /// false after the item's error was reported.
    bool printCheckItem(int templateId, int xOffset, int yOffset, const QString& itemName,
        const QString& value, const QString& separator);
    /// Draws a text run whose top-left corner is at paper position (x, y) in 0.1 mm.
    void printTextAt(int x, int y, const QString& text, int underline, int italic, int bold,
        int fontSize, const QString& colour, const QString& fontName);
    /// Draws the text one character per cell, `cellPitch` 0.1 mm apart; an empty pitch is
    /// printTextAt. False when the pitch is not a whole number.
    bool printTextInCells(int x, int y, const QString& text, int underline, int italic, int bold,
        const QString& cellPitch, int fontSize, const QString& colour, const QString& fontName);
    /// Distance in 0.1 mm between two items of a template; the default when one has no layout;
    /// 0 when the database fails.
    int getCellsWidth(
        int templateId, const QString& firstName, int defaultPitch, const QString& secondName);
    /// The template's `HVPrint` ("1" is landscape); empty when missing or unreadable.
    QString getHXPaperIn(int templateId);

    /// The item loop of a printed bill, while `printJobReady`: every value is planned first (its
    /// errors reported), then everything is drawn. Returns the number of items that failed.
    int printItems(int templateId, int xOffset, int yOffset, const QList<PrintValue>& values);
    /// Plans the values of a bill on a template without drawing: one query for all layouts,
    /// "TEXT" values split at line feeds, "CHECKBOX" values whole, "IMAGE" values left out.
    QList<PlannedItem> planItems(
        int templateId, int xOffset, int yOffset, const QList<PrintValue>& values);
    /// Draws planned items on the canvas.
    void drawPlanned(const QList<PlannedItem>& items);

    /// The layout of one item; nullopt when it has none. Throws DbError.
    std::optional<ItemLayout> loadItemLayout(int templateId, const QString& itemName);
    /// Every item layout of a template, by upper-case item name. Throws DbError.
    QHash<QString, ItemLayout> loadTemplateLayout(int templateId);
    /// The runs of one item: lines, fonts, the currency rule, cells. Touches neither the
    /// database nor the canvas.
    PlannedItem planItem(const ItemLayout& layout, int xOffset, int yOffset, const QString& value,
        const QString& separator) const;

    /// Paper length in 0.1 mm to device pixels: three roundings, ties to even.
    static int paperToPixels(int tenthMm, int dpi) noexcept;
    /// The colour of a colour number text: Windows RGB order, black when empty or unreadable;
    /// system colours (negative numbers) print black.
    static QColor colourFromText(const QString& text) noexcept;
    /// A print font: face ("宋体" when empty), size, styles on when greater than 0, colour.
    static PrintFont makeFont(const QString& fontName, int fontSize, int bold, int italic,
        int underline, const QString& colour);
    /// The text without the blanks and control characters at its ends.
    static QString trimBlanks(const QString& text);

private:
    void reportItemError(const QString& itemName);
    void drawRun(const PrintRun& run);

    Database& mDb;
    Prompter& mPrompter;
    PrintCanvas* mCanvas = nullptr;
    PrinterCalibration mCalibration;
    bool mJobReady = false;
    QString mPaperRefusal;
    QString mMoneyCode;
    int mCellPitch = 0;
};

} // namespace pennock::core
