#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

/// Why a workbook or one of its sheets could not be read; the message names the file.
struct SheetError
{
    QString message;

    /// "无法读取表格文件：<path>（<reason>）"
    static SheetError unreadable(const QString& path, const QString& reason);
};

/// A workbook read whole into cell texts: .xlsx, .ods (unpacked by liborcus), .xls (freexl) and
/// .csv (liborcus). The reader is chosen by the file's content; plain text is read as CSV only
/// from a file whose name ends in .csv or .txt, in UTF-8 (with or without a byte order mark) or
/// else in GB18030.
class SheetBook
{
public:
    /// Reads every sheet of the file. Throws SheetError for a missing or unreadable file and for
    /// a format it does not know.
    static SheetBook open(const QString& path);

    QStringList sheetNames() const;
    /// A sheet given as its number from 1 or its name; the first for an empty text; -1 when
    /// there is no such sheet.
    int sheetIndex(const QString& sheet) const;
    /// Every row of a sheet (0-based index) as cell texts, row 0 being the titles: numbers as a
    /// user sees them (13800138000, 12.5), dates as yyyy-MM-dd (with " HH:mm:ss" when the cell
    /// shows a time of day), empty cells as empty strings. Each row ends at its last non-empty
    /// cell, the sheet at its last non-empty row. Throws SheetError for an index out of range.
    QList<QStringList> rows(int sheet) const;

private:
    QString mPath;
    QStringList mNames;
    QList<QList<QStringList>> mSheets; // rows of each sheet
};

} // namespace pennock::core
