#include "templates/Seed.h"

#include "settings/IniFile.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "templates/FormDescription.h"
#include "templates/PrinterPresets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <stdexcept>

static void initSeedResources() { Q_INIT_RESOURCE(seed); }

namespace pennock::core {

namespace {

QByteArray resource(const QString& path)
{
    initSeedResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(("missing seed resource " + path).toStdString());
    return file.readAll();
}

QStringList resourceFiles(const QString& folder, const QString& pattern)
{
    initSeedResources();
    return QDir(folder).entryList({ pattern }, QDir::Files, QDir::Name);
}

void writePicture(const QString& name, const QString& imageFolder)
{
    QSaveFile out(imageFolder + QLatin1Char('/') + name);
    const QByteArray bytes = resource(QStringLiteral(":/images/") + name);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw DbError(
            QStringLiteral("无法写入图片：%1（%2）").arg(out.fileName(), out.errorString()), {});
}

bool isSystemPicture(const QString& name)
{
    return name.startsWith(QStringLiteral("sys_"), Qt::CaseInsensitive)
        || name.compare(QStringLiteral("dhd_default.jpg"), Qt::CaseInsensitive) == 0;
}

struct CatalogueEntry
{
    QString label;
    QString type;
    int showOrd = 0;
};

// Kind -> item -> what the layout rows copy from the catalogue.
using Catalogue = QMap<QString, QMap<QString, CatalogueEntry>>;

Catalogue seedCatalogue(Database& db)
{
    Catalogue catalogue;
    for (const QString& file :
        resourceFiles(QStringLiteral(":/data/catalogue"), QStringLiteral("*.tsv"))) {
        const QString path = QStringLiteral(":/data/catalogue/") + file;
        for (const auto& row : readTsv(resource(path), file)) {
            const QString kind = row.value(QStringLiteral("kind"));
            const QString name = row.value(QStringLiteral("CtlName")).toUpper();
            db.execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlLabel, "
                                      "CtlType, PrintItem, ShowOrd, Groups, CtlData) values "
                                      "(?, ?, ?, ?, ?, ?, ?, ?)"),
                { kind, name, row.value(QStringLiteral("CtlLabel")),
                    row.value(QStringLiteral("CtlType")),
                    row.value(QStringLiteral("PrintItem")).toInt(),
                    row.value(QStringLiteral("ShowOrd")).toInt(),
                    row.value(QStringLiteral("Groups")), row.value(QStringLiteral("CtlData")) });
            catalogue[kind][name]
                = { row.value(QStringLiteral("CtlLabel")), row.value(QStringLiteral("CtlType")),
                      row.value(QStringLiteral("ShowOrd")).toInt() };
        }
    }
    return catalogue;
}

void seedTemplate(Database& db, const FormDescription& f, const Catalogue& catalogue)
{
    const QString fullName = f.kind + QStringLiteral("（") + f.variant + QStringLiteral("）");
    db.execute(
        QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName, TypeDescribe, "
                       "TypeName, IsDefault, IsCommon, Visiable, ImgFile, Twidth, Theight, "
                       "PWidth, PHeight, XMove, YMove, HVPrint, CheckBoxs, ShowOrd, "
                       "PreImgURL, IniFile) values (?, ?, ?, ?, ?, ?, '启用', ?, ?, ?, ?, ?, "
                       "0, 0, ?, ?, ?, '', '')"),
        { f.templateId, f.kind, f.variant, fullName,
            f.isDefault ? QStringLiteral("默认") : QStringLiteral("0"),
            f.isCommon ? QStringLiteral("是") : QStringLiteral("否"), f.image,
            f.pictureSize().width(), f.pictureSize().height(), FormDescription::tenthMm(f.widthMm),
            FormDescription::tenthMm(f.heightMm),
            f.landscape ? QStringLiteral("1") : QStringLiteral("0"), f.checkBoxes, f.templateId });
    const auto items = catalogue.value(f.kind);
    for (const FormItem& item : f.items) {
        if (!items.contains(item.name))
            throw std::runtime_error(QStringLiteral("%1: %2 is not an item of %3")
                                         .arg(f.sourceName, item.name, f.kind)
                                         .toStdString());
        const CatalogueEntry& entry = items[item.name];
        const QRectF& b = item.boxMm;
        // A centred cell's print box starts where its character does and ends at the cell's
        // right edge.
        const int printLeft = FormDescription::tenthMm(item.printLeftMm());
        db.execute(
            QStringLiteral("insert into CKControl (CheckTypeID, CtlName, CtlCName, CtlType, CtlX, "
                           "CtlY, CtlW, CtlH, CtlLH, SrcX, SrcY, SrcW, SrcH, NeedShow, NeedPrint, "
                           "CtlFontName, CtlFontSize, BreakFontSize, ctlFontColor, Bold, Italic, "
                           "UnderLine, FitParam, BreakNum, ShowOrd, InitValue) values (?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '', ?, 0, 0, ?, ?, ?, ?)"),
            { f.templateId, item.name, entry.label, entry.type, printLeft,
                FormDescription::tenthMm(b.y()), FormDescription::tenthMm(b.right()) - printLeft,
                FormDescription::tenthMm(b.height()), FormDescription::tenthMm(item.linePitchMm),
                f.px(b.x()), f.px(b.y()), f.px(b.width()), f.px(b.height()), item.show, item.show,
                f.font, item.fontSize, item.breakFontSize, item.bold, item.fit, item.breakNum,
                entry.showOrd, item.init });
    }
    for (const auto& [name, value] : f.options)
        db.execute(QStringLiteral("insert into DMTable (DMName, DMValue, CheckTypeID) values "
                                  "(?, ?, ?)"),
            { name, value, f.templateId });
}

void seedReference(Database& db)
{
    const auto rows = [](const char* name) {
        const QString file = QString::fromLatin1(name);
        return readTsv(resource(QStringLiteral(":/data/reference/") + file), file);
    };
    // Counties sit in the same table as the provinces' cities, under their own type.
    for (const auto& r : rows("regions.tsv") + rows("counties.tsv"))
        db.execute(
            QStringLiteral("insert into DMTable2 (类型, 一级代码, 二级代码) values (?, ?, ?)"),
            { r.value(QStringLiteral("类型")), r.value(QStringLiteral("一级代码")),
                r.value(QStringLiteral("二级代码")) });
    for (const auto& r : rows("coins.tsv"))
        db.execute(QStringLiteral("insert into coins (币种, 缩写, 顺序) values (?, ?, ?)"),
            { r.value(QStringLiteral("币种")), r.value(QStringLiteral("缩写")),
                r.value(QStringLiteral("顺序")).toInt() });
    for (const auto& r : rows("dictionaries.tsv"))
        db.execute(QStringLiteral("insert into DMTable (DMName, DMValue, CheckTypeID) values "
                                  "(?, ?, 0)"),
            { r.value(QStringLiteral("DMName")), r.value(QStringLiteral("DMValue")) });
    for (const auto& r : rows("matchcolumn.tsv")) {
        QString source = r.value(QStringLiteral("SourceName"));
        source.replace(
            QStringLiteral("\\t"), QStringLiteral("\t")); // a tab cannot stand in a field
        db.execute(QStringLiteral("insert into MatchColumn (MatchType, ItemName, SourceName) "
                                  "values (?, ?, ?)"),
            { r.value(QStringLiteral("MatchType")), r.value(QStringLiteral("ItemName")), source });
    }
    for (const auto& r : rows("config.tsv"))
        db.execute(QStringLiteral("insert into configtable (cname, cvalue) values (?, ?)"),
            { r.value(QStringLiteral("cname")), r.value(QStringLiteral("cvalue")) });
}

} // namespace

QList<QMap<QString, QString>> readTsv(const QByteArray& text, const QString& sourceName)
{
    QList<QMap<QString, QString>> rows;
    QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    if (lines.isEmpty())
        return rows;
    const QStringList header = lines.takeFirst().remove(QLatin1Char('\r')).split(QLatin1Char('\t'));
    int lineNo = 1;
    for (QString line : lines) {
        ++lineNo;
        line.remove(QLatin1Char('\r'));
        if (line.trimmed().isEmpty())
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != header.size())
            throw std::runtime_error(QStringLiteral("%1:%2: %3 fields, the header has %4")
                                         .arg(sourceName)
                                         .arg(lineNo)
                                         .arg(fields.size())
                                         .arg(header.size())
                                         .toStdString());
        QMap<QString, QString> row;
        for (qsizetype i = 0; i < header.size(); ++i)
            row.insert(header[i], fields[i]);
        rows << row;
    }
    return rows;
}

QList<QMap<QString, QString>> referenceRows(const QString& file)
{
    return readTsv(resource(QStringLiteral(":/data/reference/") + file), file);
}

QStringList bundledPictures()
{
    return resourceFiles(QStringLiteral(":/images"), QStringLiteral("*.jpg"));
}

void restoreSystemPictures(const ProgramFolder& folder)
{
    const QString images = folder.imageFolder();
    QDir().mkpath(images);
    for (const QString& name : bundledPictures())
        if (isSystemPicture(name)
            && !QFileInfo::exists(folder.path(QStringLiteral("Image/") + name)))
            writePicture(name, images);
}

void seedDatabase(Database& db, const ProgramFolder& folder)
{
    Transaction tx(db);
    const Catalogue catalogue = seedCatalogue(db);
    for (const QString& file :
        resourceFiles(QStringLiteral(":/data/forms"), QStringLiteral("*.json")))
        seedTemplate(db,
            parseFormDescription(resource(QStringLiteral(":/data/forms/") + file), file),
            catalogue);
    seedReference(db);
    tx.commit();

    const QString images = folder.imageFolder();
    QDir().mkpath(images);
    for (const QString& name : bundledPictures())
        writePicture(name, images);

    // A new installation offers the bill printers we know in its matching window.
    IniFile config(folder.configIniPath());
    installPrinterPresets(config);
}

void ensureSeededInstallation(const ProgramFolder& folder)
{
    ensureInstallation(folder, seedDatabase);
    try {
        restoreSystemPictures(folder);
    } catch (const std::exception& e) {
        throw InstallError(QString::fromStdString(e.what()));
    }
}

} // namespace pennock::core
