#include "parties/SpreadsheetExport.h"

#include "format/TextUtils.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QUuid>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace pennock::core {

namespace {

constexpr int kMaxCellText = 32767;
constexpr double kMaxColumnWidth = 255.0;

QString errorText(lxw_error error) { return QString::fromUtf8(lxw_strerror(error)); }

int longestLine(const QString& text)
{
    int longest = 0;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n')))
        longest = std::max(longest, GbkByteLength(line));
    return longest;
}

// Closes the workbook (writing the file) unless already closed; on failure removes the part file.
class Workbook
{
public:
    explicit Workbook(const QString& partPath)
        : mPath(partPath)
    {
        mBook = workbook_new(QFile::encodeName(partPath).constData());
        if (!mBook)
            throw ExportError(QStringLiteral("无法创建文件：%1").arg(partPath));
    }
    ~Workbook()
    {
        if (mBook) {
            workbook_close(mBook);
            QFile::remove(mPath);
        }
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const noexcept { return mBook; }
    void close()
    {
        lxw_workbook* book = mBook;
        mBook = nullptr;
        const lxw_error error = workbook_close(book);
        if (error != LXW_NO_ERROR) {
            QFile::remove(mPath);
            throw ExportError(QStringLiteral("%1：%2").arg(errorText(error), mPath));
        }
    }

private:
    QString mPath;
    lxw_workbook* mBook = nullptr;
};

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw ExportError(errorText(error));
}

} // namespace

ExportError::ExportError(const QString& message)
    : std::runtime_error(message.toStdString())
    , mMessage(message)
{
}

QString SpreadsheetExport::fieldName(const QAbstractItemModel& model, int column)
{
    if (const auto* sql = qobject_cast<const QSqlQueryModel*>(&model)) {
        const QString name = sql->record().fieldName(column);
        if (!name.isEmpty())
            return name;
    }
    return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString SpreadsheetExport::cellText(const QVariant& value)
{
    if (value.isNull())
        return {};
    QString text = value.typeId() == QMetaType::QDateTime
        ? value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        : value.toString();
    text.removeIf([](QChar c) {
        return c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n')
            && c != QLatin1Char('\r');
    });
    if (text.size() > kMaxCellText)
        text.truncate(kMaxCellText);
    return text;
}

double SpreadsheetExport::widthFor(int longestLineUnits)
{
    return std::clamp(longestLineUnits * 1.1 + 2.0, 4.0, kMaxColumnWidth);
}

void SpreadsheetExport::writeXlsx(
    const QString& path, const QString& title, QAbstractItemModel& model, const Progress& progress)
{
    while (model.canFetchMore({}))
        model.fetchMore({});
    const int rows = model.rowCount();
    const int columns = model.columnCount();
    if (columns > LXW_COL_MAX || rows + 1 > int(LXW_ROW_MAX))
        throw ExportError(QStringLiteral("数据超出工作表的大小"));

    const QFileInfo target(path);
    const QString part = target.dir().filePath(
        QStringLiteral(".%1.%2.part")
            .arg(target.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces)));
    Workbook book(part);
    lxw_worksheet* sheet = workbook_add_worksheet(book.get(), nullptr);
    if (!sheet)
        throw ExportError(QStringLiteral("无法添加工作表"));

    const QByteArray titleUtf8 = title.toUtf8();
    lxw_doc_properties properties {};
    properties.title = const_cast<char*>(titleUtf8.constData());
    check(workbook_set_properties(book.get(), &properties));

    lxw_format* head = workbook_add_format(book.get());
    format_set_bold(head);
    format_set_font_size(head, 9);
    format_set_font_name(head, "宋体");
    lxw_format* text = workbook_add_format(book.get());
    format_set_font_size(text, 9);
    format_set_font_name(text, "宋体");
    format_set_num_format(text, "@");

    std::vector<int> widest(size_t(columns), 0);
    check(worksheet_set_row(sheet, 0, LXW_DEF_ROW_HEIGHT, head));
    for (int c = 0; c < columns; ++c) {
        const QString name = cellText(fieldName(model, c));
        widest[size_t(c)] = longestLine(name);
        check(worksheet_write_string(sheet, 0, lxw_col_t(c), name.toUtf8().constData(), head));
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString value = cellText(model.data(model.index(r, c), Qt::DisplayRole));
            widest[size_t(c)] = std::max(widest[size_t(c)], longestLine(value));
            const lxw_row_t row = lxw_row_t(r + 1);
            if (value.isEmpty())
                check(worksheet_write_blank(sheet, row, lxw_col_t(c), text));
            else
                check(worksheet_write_string(
                    sheet, row, lxw_col_t(c), value.toUtf8().constData(), text));
        }
        if (progress && (r % 250 == 249 || r + 1 == rows) && !progress(r + 1, rows))
            throw ExportError(QStringLiteral("导出已取消"));
    }
    for (int c = 0; c < columns; ++c)
        check(worksheet_set_column(
            sheet, lxw_col_t(c), lxw_col_t(c), widthFor(widest[size_t(c)]), nullptr));
    book.close();

    // rename(2) replaces an older file of that name in one step.
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData())
        != 0) {
        QFile::remove(part);
        throw ExportError(QStringLiteral("无法写入文件：%1").arg(path));
    }
}

QString SpreadsheetExport::lineField(const QVariant& value)
{
    QString text = cellText(value);
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

} // namespace pennock::core
