#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

class QAbstractItemModel;

namespace pennock::core {

/// Why a spreadsheet could not be written.
class ExportError : public std::runtime_error
{
public:
    explicit ExportError(const QString& message);
    const QString& message() const noexcept { return mMessage; }

private:
    QString mMessage;
};

/// Writes a result grid's model into a new .xlsx workbook: the field names as a bold title row,
/// then every row with every value stored as text ("@"), all in font size 9, each column as wide
/// as its contents. Columns a grid hides are written too.
class SpreadsheetExport
{
public:
    /// Rows written so far out of all; returning false stops the export.
    using Progress = std::function<bool(int done, int total)>;

    /// Writes `path` whole or not at all (an existing file is replaced only on success).
    /// Fetches every row of the model first. Throws ExportError, also when stopped.
    static void writeXlsx(const QString& path, const QString& title, QAbstractItemModel& model,
        const Progress& progress = {});

    /// The field name a model gives its column, as the title row shows it.
    static QString fieldName(const QAbstractItemModel& model, int column);
    /// A cell's text as it is written: empty for null, control characters other than tab and
    /// line breaks removed (they are not allowed in the file), at most 32767 characters.
    static QString cellText(const QVariant& value);
    /// A cell's text for one tab-separated line: tabs and line breaks inside become blanks.
    static QString lineField(const QVariant& value);
    /// Column width in character units for the longest line of its texts, a Chinese character
    /// counting double.
    static double widthFor(int longestLineUnits);
};

} // namespace pennock::core
