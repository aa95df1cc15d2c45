#include "parties/GridServices.h"

#include "parties/GridConfig.h"
#include "parties/SpreadsheetExport.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/BillItemValues.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTableView>
#include <QUrl>

#include <algorithm>
#include <stdexcept>

namespace pennock::ui {

namespace {

// The key of every bill table; deleting bills by it deletes their item values too.
const QString kSerialColumn = QStringLiteral("流水号");

// Stops a grid's repainting for the life of the guard, also when an error leaves early.
class FrozenGrid
{
public:
    explicit FrozenGrid(QTableView* grid)
        : mGrid(grid)
    {
        mGrid->setUpdatesEnabled(false);
    }
    ~FrozenGrid() { mGrid->setUpdatesEnabled(true); }
    FrozenGrid(const FrozenGrid&) = delete;
    FrozenGrid& operator=(const FrozenGrid&) = delete;

private:
    QTableView* mGrid;
};

QString widthKey(const QTableView* grid, int column)
{
    return grid->objectName().toUpper() + QStringLiteral(".W") + QString::number(column);
}

void fetchAll(QTableView* grid)
{
    QAbstractItemModel* model = grid->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
}

// Table and key column must be the code's own: they are the only names put into a statement.
std::pair<QString, QString> checkedTarget(const QString& table, const QString& keyColumn)
{
    const core::TableDef* def = core::findTable(core::mainTables(), table);
    if (!def)
        throw std::runtime_error(QStringLiteral("未知的数据表：%1").arg(table).toStdString());
    for (const core::ColumnDef& c : def->columns)
        if (c.name.compare(keyColumn, Qt::CaseInsensitive) == 0)
            return { def->name, c.name };
    throw std::runtime_error(QStringLiteral("未知的数据列：%1").arg(keyColumn).toStdString());
}

QVariant keyValue(const QString& text, bool isString)
{
    if (!isString) {
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        if (ok)
            return number;
    }
    return text;
}

const QString kNoSpreadsheetProgram
    = QStringLiteral("MSExcel 和 wps Excel 均不能正常启动。请确认系统安装了可用的Office "
                     "Excel软件(WPS或者MSOffice)！");

} // namespace

GridServices::GridServices(core::Services& services, core::Shell& shell, core::FileChooser& files)
    : mServices(services)
    , mShell(shell)
    , mFiles(files)
{
}

bool GridServices::isOpen(const QTableView* grid)
{
    return grid && grid->model() && grid->model()->columnCount() > 0;
}

QString GridServices::fieldName(const QTableView* grid, int column)
{
    return core::SpreadsheetExport::fieldName(*grid->model(), column);
}

int GridServices::columnOf(const QTableView* grid, const QString& field)
{
    if (!isOpen(grid))
        return -1;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (fieldName(grid, c).compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

QString GridServices::fileNameFor(const QString& title)
{
    QString name = title.trimmed();
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("导出") : name;
}

void GridServices::GridColsWidthSave(QTableView* grid, const QString& key)
{
    if (!isOpen(grid))
        return;
    if (key.isEmpty()) {
        mServices.prompter().inform(QStringLiteral("保存表格列宽异常！"));
        return;
    }
    core::IniFile& ini = mServices.settings().OpenUserIniFile();
    const QString section = key.toUpper();
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        ini.writeString(section, widthKey(grid, c),
            grid->isColumnHidden(c) ? QStringLiteral("-1") : QString::number(grid->columnWidth(c)));
    ini.flush();
}

void GridServices::GridColsWidthLoad(QTableView* grid, const QString& key)
{
    if (key.isEmpty())
        return;
    core::IniFile& ini = mServices.settings().OpenUserIniFile();
    if (!isOpen(grid))
        return;
    const QString section = key.toUpper();
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        bool ok = false;
        int width = ini.readString(section, widthKey(grid, c)).toInt(&ok);
        if (!ok)
            width = kDefaultWidth;
        if (width >= 1) {
            grid->setColumnHidden(c, false);
            grid->setColumnWidth(c, width);
        } else {
            // Shown again later, it must come back at the width of a shown-again column.
            grid->setColumnHidden(c, true);
            grid->setColumnWidth(c, 0);
        }
    }
}

void GridServices::GridColsConfigration(QTableView* grid, const QString& key)
{
    TfrmGridConfig dialog(*this, grid, key, grid ? grid->window() : nullptr);
    dialog.exec();
}

QStringList GridServices::selectedKeys(QTableView* grid, const QString& keyColumn)
{
    QStringList keys;
    if (keyColumn.isEmpty())
        throw std::runtime_error(QStringLiteral("没有指定列名~").toStdString());
    if (!isOpen(grid) || !grid->selectionModel())
        return keys;
    QModelIndexList rows = grid->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return keys;
    const int column = columnOf(grid, keyColumn);
    if (column < 0)
        throw std::runtime_error(QStringLiteral("没有找到数据列：%1").arg(keyColumn).toStdString());
    std::sort(rows.begin(), rows.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    FrozenGrid frozen(grid);
    for (const QModelIndex& row : rows)
        keys << grid->model()->index(row.row(), column).data().toString();
    grid->selectionModel()->setCurrentIndex(
        grid->model()->index(rows.last().row(), column), QItemSelectionModel::NoUpdate);
    return keys;
}

int GridServices::GridSelectedFetch(
    QTableView* grid, const QString& keyColumn, const QString& keyType, QString& keyList)
{
    keyList.clear();
    const bool quoted = keyType.toUpper() == u"STR";
    QStringList keys;
    try {
        keys = selectedKeys(grid, keyColumn);
    } catch (const std::exception& e) {
        mServices.prompter().warn(
            QStringLiteral("DBGrid记录选取失败~") + QString::fromStdString(e.what()));
        return 0;
    }
    QStringList parts;
    for (const QString& key : keys)
        parts << (quoted ? QLatin1Char('\'') + key + QLatin1Char('\'') : key);
    keyList = parts.join(QLatin1Char(','));
    return int(keys.size());
}

int GridServices::GridSelectedDelete(QTableView* grid, const QString& table, const QString& word,
    const QString& keyType, const QString& keyColumn)
{
    QString keyList;
    const int count = GridSelectedFetch(grid, keyColumn, keyType, keyList);
    if (keyList.isEmpty() || count == 0)
        return 0;
    const QString what = word.isEmpty() ? QStringLiteral("数据记录") : word;
    if (!mServices.prompter().ask(
            QStringLiteral("确认要删除所选中的%1个%2吗?").arg(count).arg(what),
            QStringLiteral("删除确认")))
        return 0;
    try {
        const bool isString = keyType.toUpper() == u"STR";
        const auto [tableName, column] = checkedTarget(table, keyColumn);
        QVariantList values;
        for (const QString& key : selectedKeys(grid, keyColumn))
            values << keyValue(key, isString);
        const QString marks = QStringLiteral("?,").repeated(values.size() - 1) + QLatin1Char('?');
        core::Transaction transaction(mServices.db());
        const int deleted = mServices.db().execute(
            QStringLiteral("delete from %1 where %2 in(%3)")
                .arg(core::Database::quoted(tableName), core::Database::quoted(column), marks),
            values);
        if (column == kSerialColumn)
            core::BillItemValues::remove(mServices.db(), tableName, values);
        transaction.commit();
        mServices.prompter().inform(
            QStringLiteral("%1个%2删除成功！").arg(deleted).arg(what), QStringLiteral("提示"));
        return deleted;
    } catch (const core::DbError& e) {
        mServices.prompter().warn(QStringLiteral("删除失败，错误=") + e.message());
    } catch (const std::exception& e) {
        mServices.prompter().warn(
            QStringLiteral("删除失败，错误=") + QString::fromStdString(e.what()));
    }
    return 0;
}

int GridServices::GridDeleteCurrentList(
    QTableView* grid, const QString& table, const QString& keyColumn)
{
    if (!mServices.prompter().ask(QStringLiteral("此操作将删除当前查询到的所有记录，确定删除吗？"),
            QStringLiteral("警告")))
        return 0;
    int deleted = 0;
    try {
        if (isOpen(grid)) {
            const auto [tableName, column] = checkedTarget(table, keyColumn);
            const int keyAt = columnOf(grid, keyColumn);
            if (keyAt < 0)
                throw std::runtime_error("key column not in the grid");
            FrozenGrid frozen(grid);
            fetchAll(grid);
            const QString sql
                = QStringLiteral("delete from %1 where %2=?")
                      .arg(core::Database::quoted(tableName), core::Database::quoted(column));
            const QAbstractItemModel* model = grid->model();
            for (int r = 0; r < model->rowCount(); ++r) {
                const QVariant key = model->index(r, keyAt).data();
                mServices.db().execute(sql, { key });
                if (column == kSerialColumn)
                    core::BillItemValues::remove(mServices.db(), tableName, { key });
                ++deleted;
            }
        }
    } catch (const std::exception&) {
        mServices.prompter().warn(QStringLiteral("删除出现异常！"));
        return deleted;
    }
    mServices.prompter().inform(
        QStringLiteral("%1条记录删除成功！").arg(deleted), QStringLiteral("提示"));
    return deleted;
}

bool GridServices::ExportGrid2Excel(QTableView* grid, const QString& title)
{
    if (isOpen(grid))
        fetchAll(grid);
    if (!isOpen(grid) || grid->model()->rowCount() == 0) {
        mServices.prompter().inform(QStringLiteral("没有可导出的数据~"));
        return false;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QString path = mFiles.saveFileName(grid->window(), QStringLiteral("导出Excel"),
        QDir(folder).filePath(fileNameFor(title) + QStringLiteral(".xlsx")),
        QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");

    QAbstractItemModel& model = *grid->model();
    QProgressDialog progress(QStringLiteral("正在导出数据，请稍候……"), QStringLiteral("取消"), 0,
        model.rowCount(), grid->window());
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    try {
        FrozenGrid frozen(grid);
        core::SpreadsheetExport::writeXlsx(path, title, model, [&progress](int done, int) {
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    } catch (const core::ExportError& e) {
        if (!progress.wasCanceled())
            mServices.prompter().warn(QStringLiteral("数据导出Excel出错,错误提示:") + e.message());
        return false;
    }
    progress.reset();

    // An apostrophe in the path is spelt out, so that the shell cannot take it for a quote.
    QString address = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    address.replace(QLatin1Char('\''), QStringLiteral("%27"));
    if (!mShell.openUrl(address))
        mServices.prompter().warn(kNoSpreadsheetProgram);
    return true;
}

} // namespace pennock::ui
