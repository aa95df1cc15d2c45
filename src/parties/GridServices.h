#pragma once

#include <QString>
#include <QStringList>

class QTableView;

namespace pennock::core {
class FileChooser;
class Services;
class Shell;
} // namespace pennock::core

namespace pennock::ui {

/// The commands every result grid offers: remembered column widths and hidden columns, the
/// column dialog, keys and deletion of the selected rows, deletion of every listed row and the
/// spreadsheet export. A grid is a QTableView whose model shows one column per field of a query
/// (a QSqlQueryModel); its object name names its entries in "Config.ini".
class GridServices
{
public:
    GridServices(core::Services& services, core::Shell& shell, core::FileChooser& files);

    core::Services& services() noexcept { return mServices; }

    /// Width of a column without a remembered width, and of a column shown again.
    static constexpr int kDefaultWidth = 40;
    static constexpr int kShownAgainWidth = 50;

    /// Stores each column's width, "-1" for a hidden one, under the section `key`.
    void GridColsWidthSave(QTableView* grid, const QString& key);
    /// Applies the stored widths: 40 when unset or not a number, hidden below 1.
    void GridColsWidthLoad(QTableView* grid, const QString& key);
    /// The column dialog `TfrmGridConfig`, modally.
    void GridColsConfigration(QTableView* grid, const QString& key);
    /// The key column's values of the selected rows joined by ","; quoted for the key type "STR"
    /// (any case). Returns the number of rows read.
    int GridSelectedFetch(
        QTableView* grid, const QString& keyColumn, const QString& keyType, QString& keyList);
    /// Deletes the selected rows from `table` by `keyColumn` after a question; the number
    /// deleted. The grid is not refreshed: callers query again.
    int GridSelectedDelete(QTableView* grid, const QString& table, const QString& word,
        const QString& keyType, const QString& keyColumn);
    /// Deletes every listed row from `table` by `keyColumn`, one by one, after a question; the
    /// number deleted. Callers query again.
    int GridDeleteCurrentList(QTableView* grid, const QString& table, const QString& keyColumn);
    /// Writes the grid's rows into an .xlsx file the user chooses (proposed: title + ".xlsx")
    /// and opens it with the desktop's spreadsheet program. True when the file was written.
    bool ExportGrid2Excel(QTableView* grid, const QString& title);

    /// The grid shows the result of a query.
    static bool isOpen(const QTableView* grid);
    /// Field name of a grid column.
    static QString fieldName(const QTableView* grid, int column);
    /// The first column with this field name (letter case ignored); -1 for none.
    static int columnOf(const QTableView* grid, const QString& field);
    /// A title as a file name: characters that file names cannot hold become "_".
    static QString fileNameFor(const QString& title);

private:
    QStringList selectedKeys(QTableView* grid, const QString& keyColumn);

    core::Services& mServices;
    core::Shell& mShell;
    core::FileChooser& mFiles;
};

} // namespace pennock::ui
