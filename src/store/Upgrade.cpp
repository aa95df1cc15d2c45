#include "store/Upgrade.h"

#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>

static void initUpgradeResources() { Q_INIT_RESOURCE(seed); }

namespace pennock::core {

namespace {

const QString kMainFile = QStringLiteral("EPData.ini");
const QString kPackageFile = QStringLiteral("Template.a01");

struct ColumnStep
{
    const char* table;
    const char* columns;
};

// The columns earlier releases lacked, in the order they were introduced.
const ColumnStep kMainColumnSteps[] = {
    { "CKControl", "CtlLH CtlH CtlW NeedShow NeedPrint SrcX SrcY SrcW SrcH" },
    { "CKControl", "CtlType" },
    { "CKControl", "InitValue" },
    { "NameDict", "CtlData CtlType" },
    { "CKTypeTable", "IsCommon PWidth PHeight" },
    { "ReceiverList",
        "体积 代收金额 手续费 保价金额 保价费 运费 加急费 包装费 送货费 其他费 金额大写1 "
        "自定义3 自定义4 自定义5" },
    { "DataKDDTable",
        "体积 代收金额 手续费 保价金额 保价费 运费 加急费 包装费 送货费 其他费 金额大写1 "
        "自定义1 自定义2 自定义3 自定义4 自定义5" },
};

const ColumnStep kPackageColumnSteps[] = {
    { "_CKControl", "SrcX SrcY SrcH SrcW NeedShow NeedPrint CtlLH CtlType InitValue" },
    { "_CKTypeTable", "PWidth PHeight" },
};

// Rows laid out before these columns existed were shown and printed; a new column's 0 would
// hide every item of every template.
const struct
{
    const char* column;
    int value;
} kLayoutColumnValues[] = {
    { "NeedShow", 1 },
    { "NeedPrint", 1 },
    { "CtlLH", 50 },
    { "SrcX", 10 },
    { "SrcY", 10 },
    { "SrcW", 50 },
    { "SrcH", 20 },
};

const struct
{
    const char* label;
    const char* name;
    int showOrd;
} kWaybillItems[] = {
    { "体积", "zdTiJi", 357 },
    { "代收金额", "zdDaisJE", 357 },
    { "手续费", "zdShouxuFee", 358 },
    { "保价金额", "zdBJJE", 359 },
    { "保价费", "zdBJFee", 360 },
    { "运费", "zdYunFee", 361 },
    { "寄方编码", "zdJFKHBM", 29 },
    { "加急费", "zdJiaJiFee", 362 },
    { "包装费", "zdBaoZFee", 363 },
    { "送货费", "zdSongHFee", 364 },
    { "其他费", "zdQiTaFee", 365 },
    { "金额大写1", "zdJEDX1", 366 },
};

const QString kWaybill = QStringLiteral("快递单");

QStringList words(const char* list)
{
    return QString::fromUtf8(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

const ColumnDef* findColumn(const TableDef& table, const QString& name)
{
    for (const ColumnDef& c : table.columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString createStatement(const TableDef& table)
{
    QStringList defs;
    for (const ColumnDef& c : table.columns)
        defs << Database::quoted(c.name) + QLatin1Char(' ') + c.sqlType;
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(Database::quoted(table.name), defs.join(QStringLiteral(", ")));
}

// A key cannot be added to an existing table; an older file keeps its own.
QString addableType(const ColumnDef& c)
{
    return c.sqlType.contains(QStringLiteral("PRIMARY KEY")) ? QStringLiteral("INTEGER")
                                                             : c.sqlType;
}

// The shipped import rules, the same rows a new installation gets.
QList<QStringList> matchColumnDefaults()
{
    initUpgradeResources();
    QFile file(QStringLiteral(":/data/reference/matchcolumn.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        throw UpgradeError(QStringLiteral("缺少导入规则的默认数据"));
    QList<QStringList> rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        line.remove(QLatin1Char('\r'));
        QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 3)
            continue;
        fields[2].replace(QStringLiteral("\\t"), QStringLiteral("\t"));
        rows << fields;
    }
    return rows;
}

int setConfigValue(Database& db, const QString& key, const QString& value)
{
    if (db.execute(QStringLiteral("update configtable set cvalue=? where cname=?"), { value, key })
        > 0)
        return 1;
    return db.execute(
        QStringLiteral("insert into configtable (cname, cvalue) values (?, ?)"), { key, value });
}

QStringList upgradeMain(Database& db)
{
    Up2NewVersion up(db, mainTables());
    QStringList added;
    const auto addSteps = [&](const ColumnStep& s) {
        const QString table = QString::fromUtf8(s.table);
        for (const QString& column : words(s.columns)) {
            if (!db.tableExists(table))
                up.CreateTableIFNotExists(table);
            else if (up.aAddColumn(table, column))
                added << table + QLatin1Char('.') + column;
        }
    };
    for (const ColumnStep& s : kMainColumnSteps)
        addSteps(s);
    for (const auto& c : kLayoutColumnValues) {
        const QString column = QString::fromLatin1(c.column);
        if (!added.contains(QStringLiteral("CKControl.") + column))
            continue;
        db.execute(
            QStringLiteral("update CKControl set %1=?").arg(Database::quoted(column)), { c.value });
    }
    addSteps({ "CKTypeTable", "IniFile TypeFirstName" });
    if (added.contains(QStringLiteral("CKTypeTable.TypeFirstName")))
        up.initTypeFirstNameValue();

    // Whatever else the current layout has: tables of later releases and their columns.
    for (const TableDef& table : mainTables()) {
        if (up.CreateTableIFNotExists(table.name))
            continue;
        for (const ColumnDef& c : table.columns)
            up.aAddColumn(table.name, c.name);
    }
    up.CreateMatchColumnTableIFNotExists();

    for (const auto& item : kWaybillItems)
        up.aInsertNameDictItemIFLost(kWaybill, QString::fromUtf8(item.label),
            QStringLiteral("TEXT"), item.showOrd, 1, QString::fromLatin1(item.name));
    up.aInsertNameDictItemIFLost(kWaybill, QStringLiteral("自定义3"), QStringLiteral("TEXT"), 470,
        1, QStringLiteral("zdDef3"));
    up.aInsertNameDictItemIFLost(kWaybill, QStringLiteral("自定义4"), QStringLiteral("TEXT"), 471,
        1, QStringLiteral("zdDef4"));
    up.aInsertNameDictItemIFLost(kWaybill, QStringLiteral("自定义5"), QStringLiteral("TEXT"), 472,
        1, QStringLiteral("zdDef5"));
    for (int n = 0; n <= 12; ++n)
        up.aInsertNameDictItemIFLost(kWaybill, QStringLiteral("勾选%1").arg(n),
            QStringLiteral("CHECKBOX"), 409 + n, 1, QStringLiteral("DEFCHECK%1").arg(n));

    QStringList steps = up.steps();
    const auto count = [&steps](int rows, const QString& text) {
        if (rows > 0)
            steps << text.arg(rows);
    };
    // Item names are stored in upper case; a comparison under the column's own collation
    // would call "zdJE" and "ZDJE" equal.
    count(db.execute(QStringLiteral("update NameDict set CtlName=upper(CtlName) where "
                                    "CtlName<>upper(CtlName) collate binary")),
        QStringLiteral("目录项目名改为大写：%1 行"));
    count(db.execute(QStringLiteral("update NameDict set CtlType='CHECKBOX' where CtlName like "
                                    "'DEFCHECK%' and (CtlType is null or CtlType<>'CHECKBOX' "
                                    "collate binary)")),
        QStringLiteral("勾选项目的类型改为 CHECKBOX：%1 行"));
    // Picture items keep their type; only what no form knows becomes text.
    count(db.execute(QStringLiteral("update NameDict set CtlType=upper(trim(CtlType)) where "
                                    "upper(trim(CtlType)) in ('TEXT','CHECKBOX','IMAGE') and "
                                    "CtlType<>upper(trim(CtlType)) collate binary")),
        QStringLiteral("目录项目类型改为大写：%1 行"));
    count(db.execute(QStringLiteral("update NameDict set CtlType='TEXT' where CtlName not like "
                                    "'DEFCHECK%' and (CtlType is null or upper(trim(CtlType)) not "
                                    "in ('TEXT','CHECKBOX','IMAGE'))")),
        QStringLiteral("目录项目类型改为 TEXT：%1 行"));

    // Before the mark existed no template was common: the carriers' enabled templates and
    // every default become the tabs of their forms. Later choices of the user stay untouched.
    if (added.contains(QStringLiteral("CKTypeTable.IsCommon"))) {
        int marked = 0;
        for (const char* carrier : { "邮政快递", "申通速递", "圆通速递", "韵达快运", "顺丰速运" })
            marked += db.execute(QStringLiteral("update CKTypeTable set IsCommon='是' where "
                                                "Visiable='启用' and TypeName like ?"),
                { QStringLiteral("%") + QString::fromUtf8(carrier) + QStringLiteral("%") });
        marked += db.execute(
            QStringLiteral("update CKTypeTable set IsCommon='是' where IsDefault='默认'"));
        count(marked, QStringLiteral("设为常用模板：%1 个"));
    }
    for (const TableDef& table : mainTables())
        for (const QString& index : table.indexSql)
            db.execute(index);
    if (!steps.isEmpty())
        setConfigValue(db, QStringLiteral("version"), schemaVersionText());
    return steps;
}

QStringList upgradePackage(Database& package)
{
    Up2NewVersion up(package, packageTables());
    for (const ColumnStep& s : kPackageColumnSteps) {
        const QString table = QString::fromUtf8(s.table);
        for (const QString& column : words(s.columns))
            if (!package.tableExists(table))
                up.CreateTableIFNotExists(table);
            else
                up.aAddColumn(table, column);
    }
    for (const TableDef& table : packageTables()) {
        if (up.CreateTableIFNotExists(table.name))
            continue;
        for (const ColumnDef& c : table.columns)
            up.aAddColumn(table.name, c.name);
    }
    up.CreateTemplateConfigTable(schemaVersionText());
    return up.steps();
}

QString prefixed(const QString& file, const QString& step)
{
    return file + QStringLiteral(": ") + step;
}

QString backupCopy(Database& db, const ProgramFolder& folder, const QDateTime& now)
{
    const QString dir = folder.path(QStringLiteral("Data/backup"));
    if (!QDir().mkpath(dir))
        throw UpgradeError(QStringLiteral("无法创建备份文件夹：%1").arg(dir));
    const QString stem
        = dir + QStringLiteral("/EPData-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = stem + QStringLiteral(".ini");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral("-%1.ini").arg(n);
    // A consistent copy even while the write-ahead log holds committed pages.
    db.execute(QStringLiteral("VACUUM INTO ?"), { path });
    return path;
}

} // namespace

Up2NewVersion::Up2NewVersion(Database& db, const QList<TableDef>& tables)
    : mDb(db)
    , mTables(tables)
{
}

bool Up2NewVersion::aIFExistsColumn(const QString& table, const QString& column)
{
    return mDb.tableExists(table) && mDb.columnExists(table, column);
}

bool Up2NewVersion::aAddColumn(const QString& table, const QString& column)
{
    const TableDef* def = findTable(mTables, table);
    const ColumnDef* c = def ? findColumn(*def, column) : nullptr;
    if (!c || aIFExistsColumn(def->name, c->name))
        return false;
    mDb.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                    .arg(Database::quoted(def->name), Database::quoted(c->name), addableType(*c)));
    step(QStringLiteral("添加列 %1.%2").arg(def->name, c->name));
    return true;
}

bool Up2NewVersion::CreateTableIFNotExists(const QString& table)
{
    const TableDef* def = findTable(mTables, table);
    if (!def || mDb.tableExists(def->name))
        return false;
    mDb.execute(createStatement(*def));
    step(QStringLiteral("创建表 %1").arg(def->name));
    return true;
}

void Up2NewVersion::CreateMatchColumnTableIFNotExists()
{
    CreateTableIFNotExists(QStringLiteral("MatchColumn"));
    if (mDb.scalar(QStringLiteral("select count(*) from MatchColumn")).toInt() > 0)
        return;
    const QList<QStringList> rows = matchColumnDefaults();
    for (const QStringList& r : rows)
        mDb.execute(QStringLiteral("insert into MatchColumn (MatchType, ItemName, SourceName) "
                                   "values (?, ?, ?)"),
            { r[0], r[1], r[2] });
    step(QStringLiteral("导入规则 MatchColumn 取默认的 %1 行").arg(rows.size()));
}

void Up2NewVersion::CreateTemplateConfigTable(const QString& version)
{
    CreateTableIFNotExists(QStringLiteral("_Config"));
    QSqlQuery q = mDb.exec(QStringLiteral("select DMValue from _Config where DMName='version'"));
    if (!q.next()) {
        mDb.execute(QStringLiteral("insert into _Config (DMName, DMValue, CheckTypeId) values "
                                   "('version', ?, 0)"),
            { version });
        step(QStringLiteral("版本记录 %1").arg(version));
    } else if (q.value(0).toString() != version) {
        q.finish();
        mDb.execute(
            QStringLiteral("update _Config set DMValue=? where DMName='version'"), { version });
        step(QStringLiteral("版本记录 %1").arg(version));
    }
}

bool Up2NewVersion::aInsertNameDictItemIFLost(const QString& kind, const QString& label,
    const QString& itemType, int showOrd, int printFlag, const QString& name)
{
    const QString upper = name.toUpper();
    if (mDb.scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName=? and "
                                  "CtlName=?"),
               { kind, upper })
            .toInt()
        > 0)
        return false;
    mDb.execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName, CtlLabel, PrintItem, "
                               "ShowOrd, CtlType) values (?, ?, ?, ?, ?, ?)"),
        { kind, upper, label, printFlag, showOrd,
            itemType.isEmpty() ? QStringLiteral("TEXT") : itemType });
    step(QStringLiteral("添加%1项目 %2（%3）").arg(kind, upper, label));
    return true;
}

int Up2NewVersion::initTypeFirstNameValue()
{
    QSqlQuery q = mDb.exec(QStringLiteral("select CheckTypeID, TypeName from CKTypeTable where "
                                          "TypeFirstName is null or TypeFirstName=''"));
    QList<std::pair<int, QString>> rows;
    while (q.next()) {
        const QString name = q.value(1).toString();
        qsizetype at = name.indexOf(QStringLiteral("（"));
        if (at < 0)
            at = name.indexOf(QLatin1Char('('));
        // A name without a parenthesis names no kind; it stays empty.
        if (at > 0)
            rows.append({ q.value(0).toInt(), name.left(at) });
    }
    q.finish();
    for (const auto& [id, kind] : rows)
        mDb.execute(QStringLiteral("update CKTypeTable set TypeFirstName=? where CheckTypeID=?"),
            { kind, id });
    if (!rows.isEmpty())
        step(QStringLiteral("填写模板的票据种类：%1 个").arg(rows.size()));
    return int(rows.size());
}

UpgradeReport upgradeInstallation(const ProgramFolder& folder, const QDateTime& now)
{
    UpgradeReport report;
    const QString dbPath = folder.databasePath();
    if (!QFileInfo::exists(dbPath))
        return report;
    try {
        Database db(dbPath);
        QStringList steps;
        {
            // A trial inside a transaction that is rolled back tells whether anything is due,
            // so an up-to-date installation gets no backup copy.
            Transaction trial(db);
            steps = upgradeMain(db);
        }
        if (!steps.isEmpty()) {
            report.backupPath = backupCopy(db, folder, now);
            Transaction tx(db);
            steps = upgradeMain(db);
            tx.commit();
            for (const QString& s : std::as_const(steps))
                report.steps << prefixed(kMainFile, s);
        }
    } catch (const DbError& e) {
        throw UpgradeError(QStringLiteral("%1 升级失败：%2").arg(dbPath, e.message()));
    }

    const QString packagePath = folder.blankPackagePath();
    if (!QFileInfo::exists(packagePath))
        return report;
    try {
        Database package(packagePath, Database::Kind::Package);
        Transaction tx(package);
        const QStringList steps = upgradePackage(package);
        tx.commit();
        for (const QString& s : steps)
            report.steps << prefixed(kPackageFile, s);
    } catch (const DbError& e) {
        throw UpgradeError(QStringLiteral("%1 升级失败：%2").arg(packagePath, e.message()));
    }
    return report;
}

QStringList schemaDifferences(Database& db, const QList<TableDef>& tables)
{
    QStringList out;
    for (const TableDef& table : tables) {
        if (!db.tableExists(table.name)) {
            out << QStringLiteral("missing table %1").arg(table.name);
            continue;
        }
        struct Actual
        {
            QString type, dflt;
        };
        QHash<QString, Actual> actual;
        QSqlQuery info = db.exec(QStringLiteral("select name, type, dflt_value from "
                                                "pragma_table_info(?)"),
            { table.name });
        while (info.next())
            actual.insert(info.value(0).toString().toLower(),
                { info.value(1).toString().toUpper(), info.value(2).toString() });
        const QString sql = db.scalar(QStringLiteral("select sql from sqlite_master where "
                                                     "type='table' and lower(name)=lower(?)"),
                                  { table.name })
                                .toString();
        for (const ColumnDef& c : table.columns) {
            const auto found = actual.constFind(c.name.toLower());
            if (found == actual.constEnd()) {
                out << QStringLiteral("missing column %1.%2").arg(table.name, c.name);
                continue;
            }
            const QString type = c.sqlType.section(QLatin1Char(' '), 0, 0).toUpper();
            static const QRegularExpression defaultRe(QStringLiteral("DEFAULT\\s+(\\S+)"));
            const QString dflt = defaultRe.match(c.sqlType).captured(1);
            if (found->type != type || found->dflt != dflt)
                out << QStringLiteral("column %1.%2 is %3 default %4, expected %5")
                           .arg(table.name, c.name, found->type, found->dflt, c.sqlType);
            if (c.sqlType.contains(QStringLiteral("COLLATE NOCASE"))) {
                const QRegularExpression declared(
                    QStringLiteral("[(,]\\s*\"?%1\"?\\s+TEXT\\s+COLLATE\\s+NOCASE")
                        .arg(QRegularExpression::escape(c.name)),
                    QRegularExpression::CaseInsensitiveOption);
                if (!declared.match(sql).hasMatch())
                    out << QStringLiteral("column %1.%2 compares with letter case")
                               .arg(table.name, c.name);
            }
        }
        for (const QString& index : table.indexSql) {
            static const QRegularExpression nameRe(
                QStringLiteral("EXISTS\\s+\"?([^\"\\s]+)\"?\\s+ON"));
            const QString name = nameRe.match(index).captured(1);
            if (db.scalar(QStringLiteral("select count(*) from sqlite_master where type='index' "
                                         "and name=?"),
                      { name })
                    .toInt()
                == 0)
                out << QStringLiteral("missing index %1").arg(name);
        }
    }
    return out;
}

} // namespace pennock::core
