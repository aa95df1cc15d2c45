#include "import/XlsxReader.h"

#include "import/SheetReader.h"
#include "import/ZipPackage.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace pennock::core {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

struct Relationship
{
    QString type;
    QString part;
};

[[noreturn]] void fail(const ZipPackage& package, const QString& part, const QXmlStreamReader& xml)
{
    throw SheetError { package.error(
        part, QStringLiteral("第 %1 行：%2").arg(xml.lineNumber()).arg(xml.errorString())) };
}

/// The part a relationship names: relative to the folder of its source, or from the package
/// root when it starts with "/".
QString resolvePart(const QString& sourcePart, QString target)
{
    target.replace(u'\\', u'/');
    const QString joined = target.startsWith(u'/')
        ? target
        : sourcePart.left(sourcePart.lastIndexOf(u'/') + 1) + target;
    QStringList parts;
    for (const QString& piece : joined.split(u'/', Qt::SkipEmptyParts)) {
        if (piece == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (piece != u".") {
            parts.append(piece);
        }
    }
    return parts.join(u'/');
}

QHash<QString, Relationship> relationships(const ZipPackage& package, const QString& sourcePart)
{
    const qsizetype slash = sourcePart.lastIndexOf(u'/');
    const QString relsPart = sourcePart.left(slash + 1) + QStringLiteral("_rels/")
        + sourcePart.mid(slash + 1) + QStringLiteral(".rels");
    QHash<QString, Relationship> found;
    QXmlStreamReader xml(package.part(relsPart));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (a.value(QLatin1String("TargetMode")) == u"External")
            continue;
        found.insert(a.value(QLatin1String("Id")).toString(),
            { a.value(QLatin1String("Type")).toString(),
                resolvePart(sourcePart, a.value(QLatin1String("Target")).toString()) });
    }
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        fail(package, relsPart, xml);
    return found;
}

QString relationshipId(const QXmlStreamAttributes& attributes)
{
    for (const QXmlStreamAttribute& a : attributes)
        if (a.name() == u"id" && !a.namespaceUri().isEmpty())
            return a.value().toString();
    return {};
}

// Characters a string cannot hold in XML are written as "_x000D_".
QString unescaped(QString text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype last = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += QChar(m.capturedView(1).toUShort(nullptr, 16));
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

/// The text of a shared string or an inline string: its runs, without phonetic guides.
QString richText(QXmlStreamReader& xml)
{
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"t") {
            text += xml.readElementText();
        } else if (xml.name() == u"r") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"t")
                    text += xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    return unescaped(text);
}

QStringList sharedStrings(const ZipPackage& package, const QString& part)
{
    QStringList strings;
    QXmlStreamReader xml(package.part(part));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings.append(richText(xml));
    }
    if (xml.hasError())
        fail(package, part, xml);
    return strings;
}

/// The shape of each cell format.
QList<CellText::Shape> cellShapes(const ZipPackage& package, const QString& part)
{
    QHash<int, QString> codes;
    QList<int> formats;
    QXmlStreamReader xml(package.part(part));
    bool cellFormats = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
            cellFormats = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"numFmt")
            codes.insert(a.value(QLatin1String("numFmtId")).toInt(),
                a.value(QLatin1String("formatCode")).toString());
        else if (xml.name() == u"cellXfs")
            cellFormats = true;
        else if (xml.name() == u"xf" && cellFormats)
            formats.append(a.value(QLatin1String("numFmtId")).toInt());
    }
    if (xml.hasError())
        fail(package, part, xml);
    QList<CellText::Shape> shapes;
    shapes.reserve(formats.size());
    for (const int id : formats)
        shapes.append(CellText::shapeOf(id, codes.value(id)));
    return shapes;
}

class WorksheetReader
{
public:
    WorksheetReader(const QStringList& strings, const QList<CellText::Shape>& shapes, bool date1904)
        : mStrings(strings)
        , mShapes(shapes)
        , mDate1904(date1904)
    {
    }

    QList<QStringList> read(const ZipPackage& package, const QString& part) const
    {
        QList<QStringList> rows;
        QXmlStreamReader xml(package.part(part));
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sheetData")
                readRows(xml, rows);
        }
        if (xml.hasError())
            fail(package, part, xml);
        return rows;
    }

private:
    void readRows(QXmlStreamReader& xml, QList<QStringList>& rows) const
    {
        int row = -1;
        while (xml.readNextStartElement()) {
            if (xml.name() != u"row") {
                xml.skipCurrentElement();
                continue;
            }
            const int given = xml.attributes().value(QLatin1String("r")).toInt();
            row = given > 0 ? given - 1 : row + 1;
            int column = -1;
            while (xml.readNextStartElement()) {
                if (xml.name() != u"c") {
                    xml.skipCurrentElement();
                    continue;
                }
                const QXmlStreamAttributes a = xml.attributes();
                const int named = columnOf(a.value(QLatin1String("r")));
                column = named >= 0 ? named : column + 1;
                const QString text = cellText(xml, a);
                if (text.isEmpty() || row >= kMaxRows || column >= kMaxColumns)
                    continue;
                while (rows.size() <= row)
                    rows.append(QStringList());
                QStringList& cells = rows[row];
                while (cells.size() < column)
                    cells.append(QString());
                if (cells.size() == column)
                    cells.append(text);
                else
                    cells[column] = text;
            }
        }
    }

    static int columnOf(QStringView address)
    {
        int column = 0;
        for (const QChar c : address) {
            if (!c.isLetter())
                break;
            column = column * 26 + (c.toUpper().unicode() - u'A' + 1);
            if (column > kMaxColumns)
                return kMaxColumns;
        }
        return column - 1;
    }

    // Reads the cell to its end.
    QString cellText(QXmlStreamReader& xml, const QXmlStreamAttributes& attributes) const
    {
        const QString type = attributes.value(QLatin1String("t")).toString();
        const int format = attributes.value(QLatin1String("s")).toInt();
        QString value;
        bool inlineString = false;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"v") {
                value = xml.readElementText();
            } else if (xml.name() == u"is") {
                value = richText(xml);
                inlineString = true;
            } else {
                xml.skipCurrentElement(); // the formula: its saved result is in <v>
            }
        }
        if (value.isEmpty() || inlineString || type == u"str" || type == u"e"
            || type == u"inlineStr")
            return value;
        if (type == u"s")
            return mStrings.value(value.toInt());
        if (type == u"b")
            return value == u"1" || value == u"true" ? QStringLiteral("TRUE")
                                                     : QStringLiteral("FALSE");
        if (type == u"d") {
            const QDateTime when = QDateTime::fromString(value, Qt::ISODate);
            return when.isValid() ? CellText::dateTime(when.date(), when.time()) : value;
        }
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            return value;
        return CellText::serial(number, mShapes.value(format, CellText::Shape::Number), mDate1904);
    }

    const QStringList& mStrings;
    const QList<CellText::Shape>& mShapes;
    bool mDate1904;
};

} // namespace

QList<SheetRows> XlsxReader::read(const ZipPackage& package)
{
    QString workbookPart;
    for (const Relationship& r : relationships(package, QString()))
        if (r.type.endsWith(u"/officeDocument"))
            workbookPart = r.part;
    const QByteArray workbook = workbookPart.isEmpty() ? QByteArray() : package.part(workbookPart);
    if (workbook.isNull())
        throw SheetError { package.error(
            QStringLiteral("_rels/.rels"), QStringLiteral("不是 xlsx 或 ods 工作簿")) };

    bool date1904 = false;
    QList<std::pair<QString, QString>> sheets; // name, relationship
    QXmlStreamReader xml(workbook);
    if (!xml.readNextStartElement() || xml.name() != u"workbook")
        throw SheetError { package.error(workbookPart, QStringLiteral("不是 xlsx 或 ods 工作簿")) };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"workbookPr")
            date1904 = a.value(QLatin1String("date1904")) == u"1"
                || a.value(QLatin1String("date1904")) == u"true";
        else if (xml.name() == u"sheet")
            sheets.append(std::pair(a.value(QLatin1String("name")).toString(), relationshipId(a)));
    }
    if (xml.hasError())
        fail(package, workbookPart, xml);

    const QHash<QString, Relationship> parts = relationships(package, workbookPart);
    QStringList strings;
    QList<CellText::Shape> shapes;
    for (const Relationship& r : parts) {
        if (r.type.endsWith(u"/sharedStrings"))
            strings = sharedStrings(package, r.part);
        else if (r.type.endsWith(u"/styles"))
            shapes = cellShapes(package, r.part);
    }
    const WorksheetReader worksheets(strings, shapes, date1904);
    QList<SheetRows> read;
    for (const auto& [name, id] : sheets) {
        const QString part = parts.value(id).part;
        read.append(
            { name, part.isEmpty() ? QList<QStringList>() : worksheets.read(package, part) });
    }
    return read;
}

} // namespace pennock::core
