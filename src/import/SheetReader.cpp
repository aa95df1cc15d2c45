#include "import/SheetReader.h"

#include "import/CellText.h"
#include "import/OdsReader.h"
#include "import/XlsxReader.h"
#include "import/ZipPackage.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <freexl.h>
#include <orcus/orcus_csv.hpp>
#include <orcus/spreadsheet/import_interface.hpp>

#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace pennock::core {

namespace {

namespace oss = orcus::spreadsheet;

// ---- CSV --------------------------------------------------------------------------------------

// The one sheet of a CSV file: the reader gives every cell as text.
class CsvSheet final : public oss::iface::import_sheet
{
public:
    QList<QStringList> takeRows()
    {
        for (QStringList& row : mRows)
            CellText::trimRow(row);
        CellText::trimSheet(mRows);
        return std::move(mRows);
    }

    void set_auto(oss::row_t row, oss::col_t col, std::string_view s) override
    {
        if (s.empty() || row < 0 || col < 0 || row >= kRows || col >= kColumns)
            return;
        while (mRows.size() <= row)
            mRows.append(QStringList());
        QStringList& cells = mRows[row];
        while (cells.size() <= col)
            cells.append(QString());
        cells[col] = QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    void set_string(oss::row_t, oss::col_t, oss::string_id_t) override { }
    void set_value(oss::row_t, oss::col_t, double) override { }
    void set_bool(oss::row_t, oss::col_t, bool) override { }
    void set_date_time(oss::row_t, oss::col_t, int, int, int, int, int, double) override { }
    void set_format(oss::row_t, oss::col_t, std::size_t) override { }
    void set_format(oss::row_t, oss::col_t, oss::row_t, oss::col_t, std::size_t) override { }
    void fill_down_cells(oss::row_t, oss::col_t, oss::row_t) override { }
    oss::range_size_t get_sheet_size() const override { return { kRows, kColumns }; }

private:
    static constexpr oss::row_t kRows = 1048576;
    static constexpr oss::col_t kColumns = 16384;

    QList<QStringList> mRows;
};

class CsvFactory final : public oss::iface::import_factory
{
public:
    oss::iface::import_sheet* append_sheet(oss::sheet_t, std::string_view) override
    {
        return &sheet;
    }
    oss::iface::import_sheet* get_sheet(std::string_view) override { return &sheet; }
    oss::iface::import_sheet* get_sheet(oss::sheet_t index) override
    {
        return index == 0 ? &sheet : nullptr;
    }
    void finalize() override { }

    CsvSheet sheet;
};

// CSV files come in UTF-8 (with or without a byte order mark) or in the Chinese Windows code page.
QList<SheetRows> readCsv(const QByteArray& bytes, const QString& path)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        QStringDecoder gb18030("GB18030", QStringDecoder::Flag::Stateless);
        if (!gb18030.isValid())
            throw SheetError::unreadable(path, QStringLiteral("无法按 GB18030 解码"));
        text = gb18030(bytes);
    }
    // The CSV reader leaves the carriage return of a line end in the line's last cell.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const QByteArray utf8Text = text.toUtf8();

    CsvFactory factory;
    try {
        orcus::orcus_csv(&factory).read_stream(
            std::string_view(utf8Text.constData(), std::size_t(utf8Text.size())));
    } catch (const std::exception& e) {
        throw SheetError::unreadable(path, QString::fromLocal8Bit(e.what()));
    }
    // Named after the file, as spreadsheet programs do.
    return { { QFileInfo(path).completeBaseName(), factory.sheet.takeRows() } };
}

// ---- xls --------------------------------------------------------------------------------------

QString freexlReason(int code)
{
    switch (code) {
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("内存不足");
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
        return QStringLiteral("文字编码无法转换");
    default:
        return QStringLiteral("文件已损坏或不是 Excel 97-2003 工作簿（freexl %1）").arg(code);
    }
}

QString freexlCellText(const FreeXL_CellValue& cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return CellText::number(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return QString::fromUtf8(cell.value.text_value);
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_TIME:
        return QString::fromLatin1(cell.value.text_value);
    case FREEXL_CELL_DATETIME: {
        QString text = QString::fromLatin1(cell.value.text_value);
        if (text.endsWith(QLatin1String(" 00:00:00")))
            text.chop(9);
        return text;
    }
    default:
        return {};
    }
}

struct FreexlCloser
{
    void operator()(const void* handle) const { freexl_close(handle); }
};

QList<SheetRows> readXls(const QString& path)
{
    const void* opened = nullptr;
    const int rc = freexl_open(QFile::encodeName(path).constData(), &opened);
    // Closed on failure as well.
    const std::unique_ptr<const void, FreexlCloser> handle(opened);
    const auto check = [&path](int code) {
        if (code != FREEXL_OK)
            throw SheetError::unreadable(path, freexlReason(code));
    };
    check(rc);
    unsigned int password = 0, count = 0;
    check(freexl_get_info(opened, FREEXL_BIFF_PASSWORD, &password));
    if (password == FREEXL_BIFF_OBFUSCATED)
        throw SheetError::unreadable(path, QStringLiteral("文件设有密码"));
    check(freexl_get_info(opened, FREEXL_BIFF_SHEET_COUNT, &count));

    QList<SheetRows> sheets;
    for (unsigned short s = 0; s < count; ++s) {
        SheetRows sheet;
        const char* name = nullptr;
        check(freexl_get_worksheet_name(opened, s, &name));
        sheet.name = QString::fromUtf8(name);
        check(freexl_select_active_worksheet(opened, s));
        unsigned int rowCount = 0;
        unsigned short columnCount = 0;
        check(freexl_worksheet_dimensions(opened, &rowCount, &columnCount));
        for (unsigned int r = 0; r < rowCount; ++r) {
            QStringList row;
            for (unsigned short c = 0; c < columnCount; ++c) {
                FreeXL_CellValue cell;
                check(freexl_get_cell_value(opened, r, c, &cell));
                row.append(freexlCellText(cell));
            }
            CellText::trimRow(row);
            sheet.rows.append(std::move(row));
        }
        CellText::trimSheet(sheet.rows);
        sheets.append(std::move(sheet));
    }
    return sheets;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray readAll(int fd)
{
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        bytes.append(buffer, n);
    }
}

// libfreexl writes past its own buffers on some damaged files (found by fuzzing). It reads in a
// child process, so that such a file costs that process and not the program with its open bills.
QList<SheetRows> readXlsApart(const QString& path)
{
    int fds[2];
    if (::pipe(fds) != 0)
        throw SheetError::unreadable(path, QString::fromLocal8Bit(std::strerror(errno)));
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        throw SheetError::unreadable(path, QString::fromLocal8Bit(std::strerror(error)));
    }
    if (child == 0) {
        ::close(fds[0]);
        QByteArray out;
        {
            QDataStream stream(&out, QIODevice::WriteOnly);
            try {
                const QList<SheetRows> sheets = readXls(path);
                stream << true << qint64(sheets.size());
                for (const SheetRows& sheet : sheets)
                    stream << sheet.name << sheet.rows;
            } catch (const SheetError& e) {
                stream << false << e.message;
            } catch (const std::exception& e) {
                stream << false
                       << SheetError::unreadable(path, QString::fromLocal8Bit(e.what())).message;
            }
        }
        // No exit handlers: they belong to the parent.
        ::_exit(writeAll(fds[1], out) ? 0 : 1);
    }
    ::close(fds[1]);
    const QByteArray in = readAll(fds[0]);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    const QString damaged = QStringLiteral("文件已损坏，读取时出错");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw SheetError::unreadable(path, damaged);
    QDataStream stream(in);
    bool ok = false;
    stream >> ok;
    if (!ok) {
        QString message;
        stream >> message;
        throw SheetError { message.isEmpty() ? SheetError::unreadable(path, damaged).message
                                             : message };
    }
    qint64 count = 0;
    stream >> count;
    QList<SheetRows> sheets;
    for (qint64 s = 0; s < count && stream.status() == QDataStream::Ok; ++s) {
        SheetRows sheet;
        stream >> sheet.name >> sheet.rows;
        sheets.append(std::move(sheet));
    }
    if (stream.status() != QDataStream::Ok || sheets.size() != count)
        throw SheetError::unreadable(path, damaged);
    return sheets;
}

} // namespace

SheetError SheetError::unreadable(const QString& path, const QString& reason)
{
    return { QStringLiteral("无法读取表格文件：%1（%2）").arg(path, reason) };
}

SheetBook SheetBook::open(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        throw SheetError { QStringLiteral("找不到文件：%1").arg(path) };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SheetError::unreadable(path, file.errorString());

    QList<SheetRows> sheets;
    if (file.peek(8) == QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        file.close();
        sheets = readXlsApart(path);
    } else {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw SheetError::unreadable(path, file.errorString());
        file.close();
        if (bytes.startsWith("PK\x03\x04")) {
            const ZipPackage package(bytes, path);
            sheets = package.part(QStringLiteral("mimetype")).isNull() ? XlsxReader::read(package)
                                                                       : OdsReader::read(package);
        } else {
            const QString suffix = info.suffix().toLower();
            if ((suffix != u"csv" && suffix != u"txt") || bytes.contains('\0'))
                throw SheetError::unreadable(
                    path, QStringLiteral("不认识的文件格式，只能读取 xlsx、xls、ods 和 csv 文件"));
            sheets = readCsv(bytes, path);
        }
    }

    SheetBook book;
    book.mPath = path;
    for (SheetRows& sheet : sheets) {
        book.mNames.append(sheet.name);
        book.mSheets.append(std::move(sheet.rows));
    }
    return book;
}

int SheetBook::sheetIndex(const QString& sheet) const
{
    if (sheet.isEmpty())
        return 0;
    bool isNumber = false;
    const int n = sheet.toInt(&isNumber);
    if (isNumber && n >= 1 && n <= mNames.size())
        return n - 1;
    return int(mNames.indexOf(sheet));
}

QStringList SheetBook::sheetNames() const { return mNames; }

QList<QStringList> SheetBook::rows(int sheet) const
{
    if (sheet < 0 || sheet >= mSheets.size())
        throw SheetError { QStringLiteral("没有第 %1 张工作表：%2 共有 %3 张")
                               .arg(sheet + 1)
                               .arg(mPath)
                               .arg(mSheets.size()) };
    return mSheets.at(sheet);
}

} // namespace pennock::core
