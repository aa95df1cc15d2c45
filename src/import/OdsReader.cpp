#include "import/OdsReader.h"

#include "import/SheetReader.h"
#include "import/ZipPackage.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace pennock::core {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

int repeated(const QXmlStreamAttributes& attributes, QLatin1String name)
{
    return std::max(1, attributes.value(kTable, name).toInt());
}

// "2024-03-05" or "2024-03-05T14:30:00.25".
QString dateText(QStringView value)
{
    const QDate date = QDate::fromString(value.left(10).toString(), Qt::ISODate);
    if (!date.isValid())
        return value.toString();
    const QTime time = value.size() > 11
        ? QTime::fromString(value.mid(11, 8).toString(), QStringLiteral("HH:mm:ss"))
        : QTime();
    return CellText::dateTime(date, time);
}

// "PT14H30M00S", as a clock shows it.
QString timeText(QStringView value)
{
    static const QRegularExpression duration(
        QStringLiteral("^-?P(?:(\\d+)D)?T?(?:(\\d+)H)?(?:(\\d+)M)?(?:([\\d.]+)S)?$"));
    const QRegularExpressionMatch m = duration.match(value.toString());
    if (!m.hasMatch())
        return value.toString();
    const long long seconds = std::llround(m.capturedView(1).toLongLong() * 86400.0
        + m.capturedView(2).toLongLong() * 3600.0 + m.capturedView(3).toLongLong() * 60.0
        + m.capturedView(4).toDouble());
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// A paragraph to its end: its text, spaces, tabs and line breaks, through spans and links;
// notes left out.
QString paragraphText(QXmlStreamReader& xml)
{
    QString text;
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            text += xml.text();
        } else if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (xml.namespaceUri() == kText && name == u"s") {
                text += QString(
                    std::max(1, xml.attributes().value(kText, QLatin1String("c")).toInt()), u' ');
                xml.skipCurrentElement();
            } else if (xml.namespaceUri() == kText && name == u"tab") {
                text += u'\t';
                xml.skipCurrentElement();
            } else if (xml.namespaceUri() == kText && name == u"line-break") {
                text += u'\n';
                xml.skipCurrentElement();
            } else if (name == u"note" || name == u"annotation") {
                xml.skipCurrentElement();
            } else {
                ++depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 0)
                break;
            --depth;
        }
    }
    return text;
}

// A cell to its end: its value as the type says, its paragraphs for a text.
QString cellText(QXmlStreamReader& xml)
{
    const QXmlStreamAttributes a = xml.attributes();
    const QStringView type = a.value(kOffice, QLatin1String("value-type"));
    QString text;
    if (type == u"float" || type == u"percentage" || type == u"currency")
        text = CellText::number(a.value(kOffice, QLatin1String("value")).toDouble());
    else if (type == u"date")
        text = dateText(a.value(kOffice, QLatin1String("date-value")));
    else if (type == u"time")
        text = timeText(a.value(kOffice, QLatin1String("time-value")));
    else if (type == u"boolean")
        text = a.value(kOffice, QLatin1String("boolean-value")) == u"true"
            ? QStringLiteral("TRUE")
            : QStringLiteral("FALSE");
    else if (a.hasAttribute(kOffice, QStringLiteral("string-value")))
        text = a.value(kOffice, QLatin1String("string-value")).toString();
    else if (type == u"string" || type.isEmpty()) {
        QStringList paragraphs;
        while (xml.readNextStartElement()) {
            if (xml.namespaceUri() == kText && xml.name() == u"p")
                paragraphs.append(paragraphText(xml));
            else
                xml.skipCurrentElement();
        }
        return paragraphs.join(u'\n');
    }
    xml.skipCurrentElement();
    return text;
}

class TableReader
{
public:
    QList<QStringList> read(QXmlStreamReader& xml)
    {
        readRows(xml);
        return std::move(mRows);
    }

private:
    // Rows stand in the table and in its header rows, row groups and row lists.
    void readRows(QXmlStreamReader& xml)
    {
        while (xml.readNextStartElement()) {
            const QStringView name = xml.name();
            if (xml.namespaceUri() != kTable)
                xml.skipCurrentElement();
            else if (name == u"table-row")
                readRow(xml);
            else if (name == u"table-header-rows" || name == u"table-row-group"
                || name == u"table-rows")
                readRows(xml);
            else
                xml.skipCurrentElement();
        }
    }

    // Empty rows are counted, not kept, until a row with text follows: a sheet ends in a
    // million of them.
    void readRow(QXmlStreamReader& xml)
    {
        const int rows = repeated(xml.attributes(), QLatin1String("number-rows-repeated"));
        QStringList row;
        int column = 0;
        while (xml.readNextStartElement()) {
            const QStringView name = xml.name();
            if (xml.namespaceUri() != kTable
                || (name != u"table-cell" && name != u"covered-table-cell")) {
                xml.skipCurrentElement();
                continue;
            }
            const int columns
                = repeated(xml.attributes(), QLatin1String("number-columns-repeated"));
            const QString text = cellText(xml);
            if (!text.isEmpty() && column < kMaxColumns) {
                while (row.size() < column)
                    row.append(QString());
                for (int i = 0; i < columns && row.size() < kMaxColumns; ++i)
                    row.append(text);
            }
            column = int(std::min<qint64>(qint64(column) + columns, kMaxColumns));
        }
        if (row.isEmpty()) {
            mEmptyRows += rows;
            return;
        }
        for (; mEmptyRows > 0 && mRows.size() < kMaxRows; --mEmptyRows)
            mRows.append(QStringList());
        mEmptyRows = 0;
        for (int i = 0; i < rows && mRows.size() < kMaxRows; ++i)
            mRows.append(row);
    }

    QList<QStringList> mRows;
    qint64 mEmptyRows = 0;
};

} // namespace

QList<SheetRows> OdsReader::read(const ZipPackage& package)
{
    const QString contentPart = QStringLiteral("content.xml");
    if (!package.part(QStringLiteral("mimetype"))
             .startsWith("application/vnd.oasis.opendocument.spreadsheet"))
        throw SheetError { package.error(
            QStringLiteral("mimetype"), QStringLiteral("不是 xlsx 或 ods 工作簿")) };
    QList<SheetRows> sheets;
    QXmlStreamReader xml(package.part(contentPart));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.namespaceUri() == kTable
            && xml.name() == u"table") {
            const QString name = xml.attributes().value(kTable, QLatin1String("name")).toString();
            sheets.append({ name, TableReader().read(xml) });
        }
    }
    if (xml.hasError())
        throw SheetError { package.error(contentPart,
            QStringLiteral("第 %1 行：%2").arg(xml.lineNumber()).arg(xml.errorString())) };
    return sheets;
}

} // namespace pennock::core
