#include "import/XlsxReader.h"

#include "import/SheetReader.h"
#include "import/ZipPackage.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <orcus/exception.hpp>
#include <orcus/sax_parser.hpp>

#include <charconv>
#include <string>
#include <string_view>

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

// The large parts, the strings and the sheets, go through orcus's SAX parser: it hands out views
// into the unpacked part instead of building strings for every name and attribute.
template <typename Handler>
void parseLarge(const ZipPackage& package, const QString& part, Handler& handler)
{
    const QByteArray xml = package.part(part);
    try {
        orcus::sax_parser<Handler> parser(xml.constData(), std::size_t(xml.size()), handler);
        parser.parse();
    } catch (const orcus::parse_error& e) {
        throw SheetError { package.error(part,
            QStringLiteral("第 %1 字节：%2").arg(e.offset()).arg(QString::fromUtf8(e.what()))) };
    } catch (const std::exception& e) {
        throw SheetError { package.error(part, QString::fromUtf8(e.what())) };
    }
}

/// The text of shared or inline strings: the runs of <t>, without phonetic guides (<rPh>).
class RichText
{
public:
    void start(std::string_view name)
    {
        if (name == "rPh")
            ++mPhonetic;
        else if (name == "t" && mPhonetic == 0)
            mInText = true;
    }
    void end(std::string_view name)
    {
        if (name == "rPh")
            --mPhonetic;
        else if (name == "t")
            mInText = false;
    }
    void characters(std::string_view text)
    {
        if (mInText)
            mText.append(text);
    }
    void clear()
    {
        mText.clear();
        mInText = false;
        mPhonetic = 0;
    }
    QString take() const
    {
        return unescaped(QString::fromUtf8(mText.data(), qsizetype(mText.size())));
    }

private:
    std::string mText;
    bool mInText = false;
    int mPhonetic = 0;
};

class SharedStrings final : public orcus::sax_handler
{
public:
    void start_element(const orcus::sax::parser_element& e)
    {
        if (e.name == "si") {
            mInItem = true;
            mText.clear();
        } else if (mInItem) {
            mText.start(e.name);
        }
    }
    void end_element(const orcus::sax::parser_element& e)
    {
        if (e.name == "si") {
            mInItem = false;
            strings.append(mText.take());
        } else if (mInItem) {
            mText.end(e.name);
        }
    }
    void characters(std::string_view text, bool) { mText.characters(text); }
    void attribute(const orcus::sax::parser_attribute&) { }

    QStringList strings;

private:
    RichText mText;
    bool mInItem = false;
};

QStringList sharedStrings(const ZipPackage& package, const QString& part)
{
    SharedStrings handler;
    parseLarge(package, part, handler);
    return handler.strings;
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

int toInt(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

/// The column of a cell address ("AB12" -> 27), or -1 without letters.
int columnOf(std::string_view address)
{
    int column = 0;
    for (const char c : address) {
        const char upper = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        if (upper < 'A' || upper > 'Z')
            break;
        column = column * 26 + (upper - 'A' + 1);
        if (column > kMaxColumns)
            return kMaxColumns;
    }
    return column - 1;
}

class Worksheet final : public orcus::sax_handler
{
public:
    Worksheet(const QStringList& strings, const QList<CellText::Shape>& shapes, bool date1904)
        : mStrings(strings)
        , mShapes(shapes)
        , mDate1904(date1904)
    {
    }

    // Attributes come before the element they belong to.
    void attribute(const orcus::sax::parser_attribute& a)
    {
        if (a.name == "r")
            mAttrR.assign(a.value);
        else if (a.name == "s")
            mAttrS = toInt(a.value);
        else if (a.name == "t")
            mAttrT.assign(a.value);
    }

    void start_element(const orcus::sax::parser_element& e)
    {
        const std::string_view name = e.name;
        if (name == "sheetData") {
            mInData = true;
        } else if (!mInData) {
        } else if (mInCell) {
            if (name == "v") {
                mInValue = true;
                mValue.clear();
            } else if (name == "is") {
                mInInline = true;
                mInlineString = true;
                mText.clear();
            } else if (mInInline) {
                mText.start(name);
            }
        } else if (name == "row") {
            const int given = toInt(mAttrR);
            mRow = given > 0 ? given - 1 : mRow + 1;
            mColumn = -1;
        } else if (name == "c") {
            const int named = columnOf(mAttrR);
            mColumn = named >= 0 ? named : mColumn + 1;
            mInCell = true;
            mInlineString = false;
            mValue.clear();
            mType = mAttrT;
            mFormat = mAttrS;
        }
        mAttrR.clear();
        mAttrT.clear();
        mAttrS = 0;
    }

    void end_element(const orcus::sax::parser_element& e)
    {
        const std::string_view name = e.name;
        if (name == "sheetData") {
            mInData = false;
        } else if (!mInCell) {
        } else if (name == "c") {
            mInCell = false;
            store(mInlineString ? mText.take() : cellText());
        } else if (name == "v") {
            mInValue = false;
        } else if (name == "is") {
            mInInline = false;
        } else if (mInInline) {
            mText.end(name);
        }
    }

    void characters(std::string_view text, bool)
    {
        if (mInValue)
            mValue.append(text);
        else if (mInInline)
            mText.characters(text);
    }

    QList<QStringList> rows;

private:
    void store(const QString& text)
    {
        if (text.isEmpty() || mRow < 0 || mRow >= kMaxRows || mColumn >= kMaxColumns)
            return;
        while (rows.size() <= mRow)
            rows.append(QStringList());
        QStringList& cells = rows[mRow];
        // Rows of a sheet are mostly as wide as the one before.
        if (cells.isEmpty())
            cells.reserve(std::max<qsizetype>(mWidth, mColumn + 1));
        mWidth = std::max<qsizetype>(mWidth, mColumn + 1);
        while (cells.size() < mColumn)
            cells.append(QString());
        if (cells.size() == mColumn)
            cells.append(text);
        else
            cells[mColumn] = text;
    }

    QString cellText() const
    {
        const std::string_view type = mType;
        const std::string_view raw = mValue;
        // Most cells are shared strings and numbers: no text is built for their value.
        if (type == "s" && !raw.empty())
            return mStrings.value(toInt(raw));
        if (type.empty() || type == "n") {
            double number = 0;
            const auto [end, error] = std::from_chars(raw.data(), raw.data() + raw.size(), number);
            if (error == std::errc() && end == raw.data() + raw.size() && !raw.empty())
                return CellText::serial(
                    number, mShapes.value(mFormat, CellText::Shape::Number), mDate1904);
        }
        const QString value = QString::fromUtf8(raw.data(), qsizetype(raw.size()));
        if (value.isEmpty() || type == "str" || type == "e" || type == "inlineStr")
            return value;
        if (type == "b")
            return value == u"1" || value == u"true" ? QStringLiteral("TRUE")
                                                     : QStringLiteral("FALSE");
        if (type == "d") {
            const QDateTime when = QDateTime::fromString(value, Qt::ISODate);
            return when.isValid() ? CellText::dateTime(when.date(), when.time()) : value;
        }
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            return value;
        return CellText::serial(number, mShapes.value(mFormat, CellText::Shape::Number), mDate1904);
    }

    const QStringList& mStrings;
    const QList<CellText::Shape>& mShapes;
    const bool mDate1904;
    std::string mAttrR;
    std::string mAttrT;
    int mAttrS = 0;
    bool mInData = false;
    bool mInCell = false;
    bool mInValue = false;
    bool mInInline = false;
    bool mInlineString = false;
    int mRow = -1;
    int mColumn = -1;
    qsizetype mWidth = 0;
    std::string mType;
    int mFormat = 0;
    std::string mValue;
    RichText mText;
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
    QList<SheetRows> read;
    for (const auto& [name, id] : sheets) {
        const QString part = parts.value(id).part;
        Worksheet sheet(strings, shapes, date1904);
        if (!part.isEmpty())
            parseLarge(package, part, sheet);
        read.append({ name, std::move(sheet.rows) });
    }
    return read;
}

} // namespace pennock::core
