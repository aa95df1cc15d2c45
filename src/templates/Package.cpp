#include "templates/Package.h"

#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "store/Schema.h"
#include "store/TemplatePictures.h"
#include "templates/TemplateLookups.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace pennock::core {

namespace {

QAtomicInteger<quint64> gPackageConnections;

const QString kTypeTable = QStringLiteral("_CKTypeTable");
const QString kControlTable = QStringLiteral("_ckControl");
const QString kConfigTable = QStringLiteral("_Config");

// What the import reads without a fallback; everything else of the layout may be missing.
const char* const kRequiredTypeColumns[] = { "CheckTypeID", "TypeName", "TypeDescribe", "XMove",
    "YMove", "Twidth", "Theight", "HVPrint", "CheckBoxs", "Img_Bytes" };
const char* const kRequiredControlColumns[] = { "CheckTypeID", "CtlName", "CtlCName", "CtlX",
    "CtlY", "CtlFontName", "CtlFontSize", "FitParam", "BreakNum" };
const char* const kRequiredConfigColumns[] = { "DMName", "DMValue", "CheckTypeId" };

// A value the package leaves out is written as the forms expect it.
const struct
{
    const char* column;
    const char* value;
} kItemDefaults[] = {
    { "Bold", "0" },
    { "Italic", "0" },
    { "UnderLine", "0" },
    { "ShowOrd", "0" },
    { "BreakNum", "" },
    { "BreakFontSize", "7" },
    { "CtlLH", "50" },
    { "SrcX", "10" },
    { "SrcY", "10" },
    { "SrcW", "50" },
    { "SrcH", "20" },
    { "NeedPrint", "1" },
    { "NeedShow", "1" },
    { "CtlType", "Text" },
    { "CtlH", "0" },
    { "CtlW", "0" },
};

QString fileName(const QString& path) { return QDir::toNativeSeparators(path); }

QString sqlError(const QSqlQuery& q) { return q.lastError().text().trimmed(); }

// The columns a table of the package has, in lower case.
QSet<QString> columnsOf(QSqlDatabase& db, const QString& table)
{
    QSet<QString> out;
    const QSqlRecord record = db.record(table);
    for (int i = 0; i < record.count(); ++i)
        out.insert(record.fieldName(i).toLower());
    return out;
}

QVariant value(const QVariantMap& row, const QString& column)
{
    for (auto it = row.constBegin(); it != row.constEnd(); ++it)
        if (it.key().compare(column, Qt::CaseInsensitive) == 0)
            return it.value();
    return {};
}

bool missing(const QVariant& v) { return v.isNull() || !v.isValid(); }

QString typeCodeFile(const QString& code, int id, int attempt)
{
    const QString stem = (code.isEmpty() ? QStringLiteral("img") : code) + QString::number(id);
    return attempt == 0 ? stem + QStringLiteral(".jpg")
                        : stem + QStringLiteral("_%1.jpg").arg(attempt + 1);
}

// Picture names that no template but `ownerId` uses and that no file in Image/ has yet, except
// the one the replaced template itself had.
QString freePictureName(Database& db, const ProgramFolder& folder, const QString& code, int id,
    const QString& ownPicture, const QSet<QString>& taken)
{
    for (int attempt = 0;; ++attempt) {
        const QString name = typeCodeFile(code, id, attempt);
        const bool own = name.compare(ownPicture, Qt::CaseInsensitive) == 0;
        if (taken.contains(name.toLower()))
            continue;
        if (!own && QFileInfo::exists(folder.path(QStringLiteral("Image/") + name)))
            continue;
        if (db.scalar(
                  QStringLiteral("select count(*) from CKTypeTable where lower(ImgFile)=lower(?) "
                                 "and CheckTypeID<>?"),
                  { name, id })
                .toInt()
            > 0)
            continue;
        return name;
    }
}

struct PendingPicture
{
    QString path;
    QByteArray bytes;
};

struct TemplateFailure
{
    QString text;
};

} // namespace

QString kindOfFullName(const QString& fullName)
{
    for (const QString& open : { QStringLiteral("（"), QStringLiteral("(") }) {
        const qsizetype at = fullName.indexOf(open);
        if (at >= 0)
            return fullName.left(at);
    }
    return {};
}

bool isPackageName(const QString& path)
{
    return path.contains(QStringLiteral(".tpk"), Qt::CaseInsensitive)
        || path.contains(QStringLiteral(".pnk"), Qt::CaseInsensitive);
}

// ---- reading -----------------------------------------------------------------------------------

PackageFile::PackageFile(const QString& path)
    : mPath(path)
    , mConnectionName(QStringLiteral("pennock-package-%1").arg(++gPackageConnections))
{
    try {
        open();
    } catch (...) {
        close();
        throw;
    }
}

void PackageFile::open()
{
    const QFileInfo info(mPath);
    if (!info.exists())
        refuse(QStringLiteral("文件不存在"));
    if (!info.isFile())
        refuse(QStringLiteral("不是文件"));
    QFile file(mPath);
    if (!file.open(QIODevice::ReadOnly))
        refuse(QStringLiteral("无法读取（%1）").arg(file.errorString()));
    const QByteArray head = file.read(100);
    file.close();
    if (head.isEmpty())
        refuse(QStringLiteral("文件是空的"));
    if (!head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) {
        if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB")
            refuse(QStringLiteral("这是其他程序的 Access 数据库，不是票据包"));
        refuse(QStringLiteral("不是票据包（不是 SQLite 数据库文件）"));
    }
    if (head.size() < 100)
        refuse(QStringLiteral("文件不完整（被截断）"));
    const auto bigEndian = [&head](int at) {
        return (quint32(quint8(head[at])) << 24) | (quint32(quint8(head[at + 1])) << 16)
            | (quint32(quint8(head[at + 2])) << 8) | quint32(quint8(head[at + 3]));
    };
    const quint32 pageSize = (quint32(quint8(head[16])) << 8 | quint8(head[17])) == 1
        ? 65536
        : (quint32(quint8(head[16])) << 8 | quint8(head[17]));
    // The page count in the header holds only when the file was last written by a writer
    // that keeps it (its change counter matches).
    if (bigEndian(92) == bigEndian(24) && qint64(bigEndian(28)) * pageSize > info.size())
        refuse(QStringLiteral("文件不完整（被截断）"));

    mDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), mConnectionName);
    mDb.setDatabaseName(info.absoluteFilePath());
    // Reading a package never changes it, nor leaves a journal beside it.
    mDb.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!mDb.open())
        refuse(QStringLiteral("无法打开（%1）").arg(mDb.lastError().text().trimmed()));
    {
        QSqlQuery check(mDb);
        if (!check.exec(QStringLiteral("PRAGMA quick_check")))
            refuse(QStringLiteral("文件已损坏（%1）").arg(sqlError(check)));
        QStringList problems;
        while (check.next())
            problems << check.value(0).toString();
        if (problems != QStringList { QStringLiteral("ok") })
            refuse(QStringLiteral("文件已损坏（%1）").arg(problems.value(0)));
    }
    const auto requireTable = [this](const QString& table, const auto& required) {
        QSqlQuery probe(mDb);
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master where type='table' and "
                                       "lower(name)=lower('%1')")
                            .arg(table))
            || !probe.next() || probe.value(0).toInt() == 0)
            refuse(QStringLiteral("缺少表 %1").arg(table));
        const QSet<QString> have = columnsOf(mDb, table);
        for (const char* column : required)
            if (!have.contains(QString::fromLatin1(column).toLower()))
                refuse(QStringLiteral("表 %1 缺少列 %2").arg(table, QString::fromLatin1(column)));
    };
    requireTable(kTypeTable, kRequiredTypeColumns);
    requireTable(kControlTable, kRequiredControlColumns);
    requireTable(kConfigTable, kRequiredConfigColumns);

    const QSet<QString> typeColumns = columnsOf(mDb, kTypeTable);
    const bool hasKind = typeColumns.contains(QStringLiteral("typefirstname"));
    const bool hasPaper = typeColumns.contains(QStringLiteral("pwidth"))
        && typeColumns.contains(QStringLiteral("pheight"));
    for (const QVariantMap& row :
        rows(QStringLiteral("select * from _CKTypeTable order by rowid"), {})) {
        PackageEntry e;
        e.packageId = value(row, QStringLiteral("CheckTypeID")).toInt();
        e.fullName = value(row, QStringLiteral("TypeName")).toString();
        e.kind = hasKind ? value(row, QStringLiteral("TypeFirstName")).toString() : QString();
        if (e.kind.isEmpty())
            e.kind = kindOfFullName(e.fullName);
        if (hasPaper) {
            e.paperWidth = value(row, QStringLiteral("PWidth")).toInt();
            e.paperHeight = value(row, QStringLiteral("PHeight")).toInt();
        }
        mEntries << e;
    }
    const QList<QVariantMap> version
        = rows(QStringLiteral("select DMValue from _Config where DMName='version'"), {});
    if (!version.isEmpty())
        mVersion = version.first().value(QStringLiteral("DMValue")).toString();
}

void PackageFile::close()
{
    if (mDb.isValid())
        mDb.close();
    mDb = QSqlDatabase();
    if (QSqlDatabase::contains(mConnectionName))
        QSqlDatabase::removeDatabase(mConnectionName);
}

PackageFile::~PackageFile() { close(); }

void PackageFile::refuse(const QString& what) const
{
    throw PackageError(QStringLiteral("票据包 %1 无法导入：%2").arg(fileName(mPath), what));
}

QList<QVariantMap> PackageFile::rows(const QString& sql, const QVariantList& values)
{
    QSqlQuery q(mDb);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        refuse(QStringLiteral("文件已损坏（%1）").arg(sqlError(q)));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        refuse(QStringLiteral("文件已损坏（%1）").arg(sqlError(q)));
    QList<QVariantMap> out;
    while (q.next()) {
        const QSqlRecord r = q.record();
        QVariantMap row;
        for (int i = 0; i < r.count(); ++i)
            row.insert(r.fieldName(i), r.value(i));
        out << row;
    }
    if (q.lastError().isValid())
        refuse(QStringLiteral("文件已损坏（%1）").arg(sqlError(q)));
    return out;
}

QVariantMap PackageFile::templateRow(const QString& fullName)
{
    const QList<QVariantMap> found = rows(
        QStringLiteral("select * from _CKTypeTable where TypeName=? order by rowid"), { fullName });
    return found.isEmpty() ? QVariantMap() : found.first();
}

QList<QVariantMap> PackageFile::items(int packageId)
{
    return rows(QStringLiteral("select * from _ckControl where CheckTypeID=? order by rowid"),
        { packageId });
}

QList<QVariantMap> PackageFile::settings(int packageId)
{
    return rows(
        QStringLiteral("select * from _Config where CheckTypeId=? order by rowid"), { packageId });
}

// ---- import ------------------------------------------------------------------------------------

namespace {

struct ReadTemplate
{
    QString fullName;
    QVariantMap row;
    QList<QVariantMap> items;
    QList<QVariantMap> settings;
};

class Importer
{
public:
    Importer(Database& db, const ProgramFolder& folder)
        : mDb(db)
        , mFolder(folder)
    {
    }

    // One template; throws TemplateFailure for a template the database cannot take.
    ImportOutcome import(const ReadTemplate& t)
    {
        ImportOutcome out;
        out.fullName = t.fullName;
        const int packageId = value(t.row, QStringLiteral("CheckTypeID")).toInt();
        if (packageId <= 0)
            throw TemplateFailure { QStringLiteral("包内编号无效（%1）").arg(packageId) };
        QString kind = value(t.row, QStringLiteral("TypeFirstName")).toString();
        if (kind.isEmpty())
            kind = kindOfFullName(t.fullName);
        if (kind.isEmpty())
            throw TemplateFailure { QStringLiteral("模板名称中没有票据种类") };
        for (const QVariantMap& item : t.items)
            for (const char* column : { "CtlX", "CtlY", "CtlFontSize" })
                if (missing(value(item, QString::fromLatin1(column))))
                    throw TemplateFailure {
                        QStringLiteral("项目 %1 缺少 %2")
                            .arg(value(item, QStringLiteral("CtlName")).toString(),
                                QString::fromLatin1(column))
                    };
        const QByteArray picture = value(t.row, QStringLiteral("Img_Bytes")).toByteArray();
        if (!picture.isEmpty() && QImage::fromData(picture).isNull())
            throw TemplateFailure { QStringLiteral("底图数据不是图片") };

        // A same-named template gives way; its identity, offsets and picture name stay.
        int id = 0;
        int xMove = 0, yMove = 0;
        QString ownPicture;
        // A new template is enabled, common and not the default; one that replaces another keeps
        // that one's standing, so a kind never loses its default to a newer layout.
        QVariantList standing { QStringLiteral("0"), QStringLiteral("是"), QStringLiteral("启用"),
            0 };
        {
            QSqlQuery q
                = mDb.exec(QStringLiteral("select CheckTypeID, XMove, YMove, ImgFile, "
                                          "IsDefault, IsCommon, Visiable, ShowOrd from "
                                          "CKTypeTable where TypeName=? order by CheckTypeID"),
                    { t.fullName });
            QList<int> same;
            while (q.next()) {
                if (same.isEmpty()) {
                    id = q.value(0).toInt();
                    xMove = q.value(1).toInt();
                    yMove = q.value(2).toInt();
                    ownPicture = q.value(3).toString();
                    standing = { q.value(4), q.value(5), q.value(6), q.value(7) };
                }
                same << q.value(0).toInt();
                mReplacedPictures << q.value(3).toString();
            }
            q.finish();
            for (int old : same) {
                mDb.execute(QStringLiteral("delete from CKControl where CheckTypeID=?"), { old });
                mDb.execute(QStringLiteral("delete from CKTypeTable where CheckTypeID=?"), { old });
                if (old != id)
                    mDb.execute(QStringLiteral("delete from DMTable where CheckTypeID=?"), { old });
            }
        }
        const QString code = TemplateLookups::getTypeCodeByTypeName(kind);
        if (id == 0) {
            if (code.isEmpty())
                throw TemplateFailure { QStringLiteral("未知的票据种类：%1").arg(kind) };
            id = mDb.scalar(QStringLiteral("select coalesce(max(CheckTypeID), 0) + 1 from "
                                           "CKTypeTable"))
                     .toInt();
            // The kind's calibrated offsets suit this printer better than the exporter's.
            QSqlQuery q = mDb.exec(QStringLiteral("select XMove, YMove from CKTypeTable where "
                                                  "TypeFirstName=? order by IsCommon, IsDefault"),
                { kind });
            if (q.next()) {
                xMove = q.value(0).toInt();
                yMove = q.value(1).toInt();
            }
        } else {
            out.replaced = true;
        }

        QString imageFile;
        if (!picture.isEmpty()) {
            imageFile = freePictureName(mDb, mFolder, code, id, ownPicture, mTakenPictures);
            mTakenPictures.insert(imageFile.toLower());
            mPictures << PendingPicture { mFolder.imageFolder() + QLatin1Char('/') + imageFile,
                picture };
        }
        const auto row
            = [&t](const char* column) { return value(t.row, QString::fromLatin1(column)); };
        const auto orZero = [](const QVariant& v) { return missing(v) ? QVariant(0) : v; };
        mDb.execute(
            QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName, "
                           "TypeDescribe, TypeName, IsDefault, IsCommon, Visiable, ImgFile, "
                           "Twidth, Theight, PWidth, PHeight, XMove, YMove, HVPrint, "
                           "CheckBoxs, ShowOrd, PreImgURL, IniFile) values (?, ?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '')"),
            { id, kind, row("TypeDescribe"), t.fullName, standing[0], standing[1], standing[2],
                imageFile, orZero(row("Twidth")), orZero(row("Theight")), orZero(row("PWidth")),
                orZero(row("PHeight")), xMove, yMove, row("HVPrint"), row("CheckBoxs"),
                orZero(standing[3]), row("PreImgURL") });
        for (const QVariantMap& item : t.items)
            insertItem(id, item);
        mDb.execute(QStringLiteral("delete from DMTable where CheckTypeID=?"), { id });
        for (const QVariantMap& setting : t.settings)
            mDb.execute(QStringLiteral("insert into DMTable (DMName, DMValue, CheckTypeID) values "
                                       "(?, ?, ?)"),
                { value(setting, QStringLiteral("DMName")),
                    value(setting, QStringLiteral("DMValue")), id });
        out.templateId = id;
        mNewPictures << imageFile;
        return out;
    }

    void insertItem(int id, const QVariantMap& item)
    {
        static const QStringList columns = { QStringLiteral("CtlName"), QStringLiteral("CtlCName"),
            QStringLiteral("CtlType"), QStringLiteral("CtlX"), QStringLiteral("CtlY"),
            QStringLiteral("CtlH"), QStringLiteral("CtlW"), QStringLiteral("CtlLH"),
            QStringLiteral("SrcX"), QStringLiteral("SrcY"), QStringLiteral("SrcH"),
            QStringLiteral("SrcW"), QStringLiteral("NeedPrint"), QStringLiteral("NeedShow"),
            QStringLiteral("CtlFontName"), QStringLiteral("CtlFontSize"),
            QStringLiteral("BreakFontSize"), QStringLiteral("Bold"), QStringLiteral("Italic"),
            QStringLiteral("UnderLine"), QStringLiteral("FitParam"), QStringLiteral("BreakNum"),
            QStringLiteral("ShowOrd"), QStringLiteral("InitValue"),
            QStringLiteral("ctlFontColor") };
        QVariantList values { id };
        for (const QString& column : columns) {
            QVariant v = value(item, column);
            if (missing(v))
                for (const auto& d : kItemDefaults)
                    if (column.compare(QString::fromLatin1(d.column), Qt::CaseInsensitive) == 0)
                        v = QString::fromLatin1(d.value);
            if (column == u"CtlName" && !missing(v))
                v = v.toString().toUpper();
            values << v;
        }
        QString marks = QStringLiteral("?");
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks += QStringLiteral(", ?");
        mDb.execute(QStringLiteral("insert into CKControl (CheckTypeID, %1) values (%2)")
                        .arg(columns.join(QStringLiteral(", ")), marks),
            values);
    }

    // On an office server the pictures go into the database with the templates, so every
    // clerk's folder gets them.
    void sharePictures()
    {
        for (const PendingPicture& p : std::as_const(mPictures))
            TemplatePictures::store(mDb, QFileInfo(p.path).fileName(), p.bytes);
    }

    // Writes the pictures; on a failure removes the ones written and reports the file.
    void writePictures()
    {
        if (!mPictures.isEmpty() && !QDir().mkpath(mFolder.imageFolder()))
            throw PackageError(QStringLiteral("无法创建图片文件夹：%1").arg(mFolder.imageFolder()));
        QStringList written;
        for (const PendingPicture& p : std::as_const(mPictures)) {
            QSaveFile out(p.path);
            if (!out.open(QIODevice::WriteOnly) || out.write(p.bytes) != p.bytes.size()
                || !out.commit()) {
                for (const QString& done : std::as_const(written))
                    QFile::remove(done);
                throw PackageError(QStringLiteral("无法写入图片 %1（%2）")
                                       .arg(fileName(p.path), out.errorString()));
            }
            written << p.path;
        }
    }

    // Pictures of replaced templates that nothing uses any more.
    void removeReplacedPictures()
    {
        for (const QString& name : std::as_const(mReplacedPictures)) {
            if (name.isEmpty() || mNewPictures.contains(name, Qt::CaseInsensitive))
                continue;
            if (mDb.scalar(QStringLiteral("select count(*) from CKTypeTable where "
                                          "lower(ImgFile)=lower(?)"),
                       { name })
                    .toInt()
                == 0)
                QFile::remove(mFolder.path(QStringLiteral("Image/") + name));
        }
    }

    void forgetPending(qsizetype pictures)
    {
        while (mPictures.size() > pictures)
            mPictures.removeLast();
    }
    qsizetype pendingPictures() const { return mPictures.size(); }

private:
    Database& mDb;
    const ProgramFolder& mFolder;
    QList<PendingPicture> mPictures;
    QSet<QString> mTakenPictures;
    QStringList mReplacedPictures;
    QStringList mNewPictures;
};

} // namespace

QList<ImportOutcome> importPackage(Database& db, const ProgramFolder& folder,
    const QString& packagePath, const QStringList& fullNames, bool replace)
{
    PackageFile package(packagePath);
    QStringList names = fullNames;
    if (names.isEmpty())
        for (const PackageEntry& e : package.entries())
            names << e.fullName;
    if (names.isEmpty())
        throw PackageError(QStringLiteral("票据包 %1 中没有模板").arg(fileName(packagePath)));

    // Everything is read before anything is written, so a damaged package writes nothing.
    QList<ReadTemplate> chosen;
    for (const QString& name : std::as_const(names)) {
        ReadTemplate t { name, package.templateRow(name), {}, {} };
        if (t.row.isEmpty())
            throw PackageError(
                QStringLiteral("票据包 %1 中没有模板：%2").arg(fileName(packagePath), name));
        const int packageId = value(t.row, QStringLiteral("CheckTypeID")).toInt();
        if (packageId > 0) {
            t.items = package.items(packageId);
            t.settings = package.settings(packageId);
        }
        chosen << t;
    }
    try {
        if (!replace)
            for (const ReadTemplate& t : std::as_const(chosen))
                if (db.scalar(QStringLiteral("select count(*) from CKTypeTable where TypeName=?"),
                          { t.fullName })
                        .toInt()
                    > 0)
                    throw PackageError(QStringLiteral("已有同名模板：%1").arg(t.fullName));

        QList<ImportOutcome> outcomes;
        Importer importer(db, folder);
        Transaction tx(db);
        for (const ReadTemplate& t : std::as_const(chosen)) {
            // A template that fails takes back only its own rows.
            db.execute(QStringLiteral("SAVEPOINT template_import"));
            const qsizetype pictures = importer.pendingPictures();
            try {
                outcomes << importer.import(t);
                db.execute(QStringLiteral("RELEASE template_import"));
            } catch (const TemplateFailure& f) {
                db.execute(QStringLiteral("ROLLBACK TO template_import"));
                db.execute(QStringLiteral("RELEASE template_import"));
                importer.forgetPending(pictures);
                ImportOutcome failed;
                failed.fullName = t.fullName;
                failed.failure = f.text;
                outcomes << failed;
            }
        }
        importer.writePictures();
        importer.sharePictures();
        tx.commit();
        importer.removeReplacedPictures();
        return outcomes;
    } catch (const DbError& e) {
        throw PackageError(QStringLiteral("导入失败，数据库错误：%1").arg(e.message()));
    }
}

QString importSummary(const QList<ImportOutcome>& outcomes)
{
    int imported = 0, failed = 0;
    for (const ImportOutcome& o : outcomes)
        (o.failure.isEmpty() ? imported : failed) += 1;
    if (failed == 0)
        return QStringLiteral("导入结束，成功导入单据%1个!").arg(imported);
    if (imported == 0)
        return QStringLiteral("导入结束，失败%1个!").arg(failed);
    return QStringLiteral("导入结束，成功导入单据%1个，失败%2个!").arg(imported).arg(failed);
}

// ---- export ------------------------------------------------------------------------------------

QStringList exportPackage(
    Database& db, const ProgramFolder& folder, const QList<int>& templateIds, const QString& target)
{
    const QString blank = folder.blankPackagePath();
    if (!QFileInfo::exists(blank))
        throw PackageError(QStringLiteral("空白票据包 %1 不存在").arg(fileName(blank)));
    const QFileInfo targetInfo(target);
    if (!QDir().mkpath(targetInfo.absolutePath()))
        throw PackageError(QStringLiteral("无法创建文件夹：%1").arg(targetInfo.absolutePath()));
    // The package is built beside its place and takes it only when complete.
    const QString part = targetInfo.absoluteFilePath() + QStringLiteral(".")
        + QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".part");
    if (!QFile::copy(blank, part))
        throw PackageError(QStringLiteral("无法写入票据包 %1").arg(fileName(target)));
    QFile::setPermissions(
        part, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QStringList messages;
    try {
        {
            Database package(part, Database::Kind::Package);
            ensureSchema(package, packageTables());
            Transaction tx(package);
            package.execute(QStringLiteral("delete from _CKTypeTable"));
            package.execute(QStringLiteral("delete from _ckControl"));
            package.execute(QStringLiteral("delete from _Config where DMName<>'version' or "
                                           "CheckTypeId<>0"));
            if (package.execute(
                    QStringLiteral("update _Config set DMValue=? where DMName='version'"),
                    { schemaVersionText() })
                == 0)
                package.execute(QStringLiteral("insert into _Config (DMName, DMValue, CheckTypeId) "
                                               "values ('version', ?, 0)"),
                    { schemaVersionText() });
            for (int id : templateIds) {
                QSqlQuery q = db.exec(
                    QStringLiteral("select * from CKTypeTable where CheckTypeID=?"), { id });
                if (!q.next())
                    throw PackageError(QStringLiteral("没有编号为 %1 的模板").arg(id));
                const QSqlRecord r = q.record();
                const auto col
                    = [&r](const char* name) { return r.value(QString::fromLatin1(name)); };
                const QString isDefault = col("IsDefault").toString();
                const QString imageFile = col("ImgFile").toString();
                QByteArray picture;
                if (!imageFile.isEmpty()) {
                    const QString path = folder.path(QStringLiteral("Image/") + imageFile);
                    QFile file(path);
                    if (file.open(QIODevice::ReadOnly))
                        picture = file.readAll();
                    else
                        messages << QStringLiteral("图片获取失败,") + fileName(path);
                }
                package.execute(
                    QStringLiteral(
                        "insert into _CKTypeTable (CheckTypeID, TypeFirstName, "
                        "TypeDescribe, TypeName, IsDefault, IsCommon, Visiable, ImgFile, "
                        "Twidth, Theight, PWidth, PHeight, XMove, YMove, HVPrint, "
                        "CheckBoxs, ShowOrd, PreImgURL, IniFile, Img_Bytes, Ini_Text) "
                        "values (?, ?, ?, ?, ?, '是', '启用', ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                        "0, ?, '', ?, ' ')"),
                    { id, col("TypeFirstName"), col("TypeDescribe"), col("TypeName"),
                        isDefault == u"默认" || isDefault == u"1" ? QStringLiteral("默认")
                                                                  : QStringLiteral("0"),
                        imageFile, col("Twidth"), col("Theight"), col("PWidth"), col("PHeight"),
                        col("XMove"), col("YMove"), col("HVPrint"), col("CheckBoxs"),
                        col("PreImgURL"), picture });
                q.finish();
                package.execute(QStringLiteral("delete from _Config where CheckTypeId=?"), { id });
                QSqlQuery items = db.exec(QStringLiteral("select CheckTypeID, CtlName, CtlCName, "
                                                         "CtlType, CtlX, CtlY, CtlH, CtlW, CtlLH, "
                                                         "SrcX, SrcY, SrcH, SrcW, NeedPrint, "
                                                         "NeedShow, CtlFontName, CtlFontSize, "
                                                         "BreakFontSize, Bold, Italic, UnderLine, "
                                                         "FitParam, BreakNum, ShowOrd, InitValue, "
                                                         "ctlFontColor from CKControl where "
                                                         "CheckTypeID=? order by ID"),
                    { id });
                while (items.next()) {
                    QVariantList values;
                    for (int i = 0; i < 26; ++i)
                        values << items.value(i);
                    package.execute(
                        QStringLiteral("insert into _ckControl (CheckTypeID, CtlName, "
                                       "CtlCName, CtlType, CtlX, CtlY, CtlH, CtlW, "
                                       "CtlLH, SrcX, SrcY, SrcH, SrcW, NeedPrint, "
                                       "NeedShow, CtlFontName, CtlFontSize, "
                                       "BreakFontSize, Bold, Italic, UnderLine, "
                                       "FitParam, BreakNum, ShowOrd, InitValue, "
                                       "ctlFontColor) values (?, ?, ?, ?, ?, ?, ?, ?, "
                                       "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                       "?, ?)"),
                        values);
                }
                QSqlQuery settings = db.exec(QStringLiteral("select DMName, DMValue from DMTable "
                                                            "where CheckTypeID=? order by ID"),
                    { id });
                while (settings.next())
                    package.execute(QStringLiteral("insert into _Config (DMName, DMValue, "
                                                   "CheckTypeId) values (?, ?, ?)"),
                        { settings.value(0), settings.value(1), id });
            }
            tx.commit();
        }
        QFile::remove(target);
        if (!QFile::rename(part, target))
            throw PackageError(QStringLiteral("无法写入票据包 %1").arg(fileName(target)));
    } catch (const DbError& e) {
        QFile::remove(part);
        throw PackageError(QStringLiteral("导出到 %1 失败：%2").arg(fileName(target), e.message()));
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    return messages;
}

} // namespace pennock::core
