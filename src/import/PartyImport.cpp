#include "import/PartyImport.h"

#include "import/ColumnMatch.h"
#include "platform/Prompter.h"
#include "settings/IniFile.h"
#include "store/Database.h"
#include "store/RepeatedStatement.h"
#include "store/Schema.h"
#include "templates/Seed.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <memory>
#include <optional>

namespace pennock::core {

namespace {

enum Item {
    Name,
    Contact,
    Phone,
    Mobile,
    Province,
    City,
    Town,
    Address,
    Zip,
    Country,
    Bank,
    Account,
    Remark,
    Group,
    Type,
    InputCode
};

const QString kOwn = QStringLiteral("我方单位");
const QString kOther = QStringLiteral("往来单位");
constexpr int kTitleColumns = 61;

QString cell(const QStringList& row, int column)
{
    return column > 0 ? row.value(column - 1).trimmed() : QString();
}

// Empty cells are stored as empty text, not as NULL, so that the duplicate check finds them.
QString bound(const QString& value) { return value.isEmpty() ? QStringLiteral("") : value; }

} // namespace

const QList<ImportItem>& importItems()
{
    static const QList<ImportItem> items = {
        { QStringLiteral("单位全称"), QStringLiteral("全称"), QStringLiteral("cbName"),
            QStringLiteral("*单位全称->") },
        { QStringLiteral("联系人"), QStringLiteral("联系人"), QStringLiteral("cbContactor"),
            QStringLiteral("*联系人->") },
        { QStringLiteral("电话"), QStringLiteral("电话"), QStringLiteral("cbPhone"),
            QStringLiteral("*联系电话->") },
        { QStringLiteral("手机"), QStringLiteral("手机"), QStringLiteral("cbHandset"),
            QStringLiteral("手机->") },
        { QStringLiteral("省"), QStringLiteral("省"), QStringLiteral("cbProvince"),
            QStringLiteral("省->") },
        { QStringLiteral("市"), QStringLiteral("市"), QStringLiteral("cbCity"),
            QStringLiteral("市/县->") },
        { QStringLiteral("镇区"), QStringLiteral("镇区"), QStringLiteral("cbTown"),
            QStringLiteral("镇/区->") },
        { QStringLiteral("地址"), QStringLiteral("地址"), QStringLiteral("cbAddress"),
            QStringLiteral("*详细地址->") },
        { QStringLiteral("邮编"), QStringLiteral("邮编"), QStringLiteral("cbZipCode"),
            QStringLiteral("邮政编码->") },
        { QStringLiteral("国家"), QStringLiteral("国家"), QStringLiteral("cbCountry"),
            QStringLiteral("国家->") },
        { QStringLiteral("开户银行"), QStringLiteral("开户银行"), QStringLiteral("cbBank"),
            QStringLiteral("开户银行->") },
        { QStringLiteral("银行账号"), QStringLiteral("开户行账号"), QStringLiteral("cbBankAccount"),
            QStringLiteral("银行账号->") },
        { QStringLiteral("备注"), QStringLiteral("扩展信息"), QStringLiteral("cbRemark"),
            QStringLiteral("备注->") },
        { QStringLiteral("批打分组"), QStringLiteral("分组"), QStringLiteral("cbGroup"),
            QStringLiteral("地址薄分组->") },
        { QStringLiteral("单位类型"), QStringLiteral("单位类型"), QStringLiteral("cbACCType"),
            QStringLiteral("单位类型->") },
        { QStringLiteral("助记码"), QStringLiteral("助记码"), QStringLiteral("cbInputCode"),
            QStringLiteral("输入助记码->") },
    };
    return items;
}

int importItemIndex(const QString& item)
{
    const QList<ImportItem>& items = importItems();
    for (int i = 0; i < items.size(); ++i)
        if (items[i].item == item)
            return i;
    return -1;
}

const QList<ImportScene>& importScenes()
{
    static const QList<ImportScene> scenes = {
        { QStringLiteral("收发件人批量到地址薄"), kReceiverImport },
    };
    return scenes;
}

QString SheetTitle::entry() const { return QStringLiteral("列%1:%2").arg(column).arg(title); }

QList<SheetTitle> sheetTitles(const QList<QStringList>& rows)
{
    if (rows.isEmpty())
        return {};
    // The used range's cell count: rows times the widest row.
    qsizetype width = 0;
    for (const QStringList& row : rows)
        width = std::max(width, row.size());
    const qsizetype last = std::min<qsizetype>(kTitleColumns, width * rows.size());
    QList<SheetTitle> titles;
    for (int c = 1; c <= last; ++c) {
        const QString title = rows.first().value(c - 1).trimmed();
        if (!title.isEmpty())
            titles.append({ c, title });
    }
    return titles;
}

int entryColumn(const QString& entry)
{
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    if (!entry.startsWith(u"列") || colon < 2)
        return -1;
    bool ok = false;
    const int column = entry.mid(1, colon - 1).toInt(&ok);
    return ok && column > 0 ? column : -1;
}

QStringList loadImportRules(Database& db, const QString& matchType)
{
    QStringList rules;
    for (const ImportItem& item : importItems())
        rules << loadMatchRule(db, item.item, matchType);
    return rules;
}

QList<int> autoMatch(const QList<SheetTitle>& titles, const QStringList& rules)
{
    QList<int> columns(rules.size(), -1);
    for (const SheetTitle& title : titles)
        for (qsizetype i = 0; i < rules.size(); ++i)
            if (columns[i] == -1 && MatchColumnOK(title.title, rules[i])) {
                columns[i] = title.column;
                break;
            }
    return columns;
}

int matchSpareColumn(const QList<SheetTitle>& titles, const QList<int>& taken, const QString& rule)
{
    for (const SheetTitle& title : titles)
        if (!taken.contains(title.column) && MatchColumnOK(title.title, rule))
            return title.column;
    return -1;
}

void ensureMatchColumn(Database& db)
{
    try {
        db.scalar(QStringLiteral("select ItemName from MatchColumn limit 1"));
        return;
    } catch (const DbError&) {
        // An older installation: the table and its rules are made below.
    }
    try {
        ensureSchema(db, { *findTable(mainTables(), QStringLiteral("MatchColumn")) });
        Transaction tx(db);
        for (const auto& r : referenceRows(QStringLiteral("matchcolumn.tsv"))) {
            QString source = r.value(QStringLiteral("SourceName"));
            source.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
            db.execute(QStringLiteral("insert into MatchColumn (MatchType, ItemName, SourceName) "
                                      "values (?, ?, ?)"),
                { r.value(QStringLiteral("MatchType")), r.value(QStringLiteral("ItemName")),
                    source });
        }
        tx.commit();
    } catch (const std::exception&) {
        // Without rules every title is matched by the item names themselves.
    }
}

QString cleanRuleText(const QString& text)
{
    QString rule = text.trimmed();
    rule.remove(QLatin1Char('\'')).remove(QLatin1Char('?'));
    rule.replace(QStringLiteral("，"), QStringLiteral(","));
    rule.replace(QStringLiteral(",,"), QStringLiteral(","));
    rule.replace(QStringLiteral(",,"), QStringLiteral(","));
    return rule.trimmed();
}

QList<MatchRule> loadMatchRules(Database& db, const QString& matchType)
{
    QList<MatchRule> rules;
    QSqlQuery q
        = db.exec(QStringLiteral("select Id, ItemName, SourceName, ShowOrd from MatchColumn "
                                 "where MatchType=? order by Id"),
            { matchType });
    while (q.next())
        rules.append({ q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
            q.value(3).toString() });
    return rules;
}

void storeMatchRule(Database& db, const MatchRule& rule)
{
    db.execute(
        QStringLiteral("update MatchColumn set ItemName=?, SourceName=?, ShowOrd=? where Id=?"),
        { rule.item, rule.source, rule.showOrd.toInt(), rule.id });
}

int addMatchRule(Database& db, const QString& matchType)
{
    db.execute(QStringLiteral("insert into MatchColumn (MatchType, ItemName, SourceName, ShowOrd) "
                              "values (?, '', '', 0)"),
        { matchType });
    return db.scalar(QStringLiteral("select max(Id) from MatchColumn")).toInt();
}

void deleteMatchRule(Database& db, int id)
{
    db.execute(QStringLiteral("delete from MatchColumn where Id=?"), { id });
}

// ---- the log ----------------------------------------------------------------------------------

class PartyImport::Log
{
public:
    explicit Log(const QString& path)
        : ini(path)
    {
    }
    IniFile ini;
};

// Prepared once a run: thousands of rows would otherwise prepare the same two statements each.
struct PartyImport::Statements
{
    static QString findSql(const ImportOptions& options)
    {
        QString condition;
        for (const auto& [on, column] : { std::pair { options.byName, "全称" },
                 std::pair { options.byContact, "联系人" }, std::pair { options.byPhone, "电话" } })
            if (on)
                // Written so that the name index serves it; a NULL counts as empty.
                condition += QStringLiteral(" and (%1=? or (%1 is null and ?=''))")
                                 .arg(QString::fromUtf8(column));
        return condition.isEmpty()
            ? QString()
            : QStringLiteral("select 全称 from CKPersonalInfoTable where 1=1") + condition
                + QStringLiteral(" limit 1");
    }

    Statements(Database& db, const ImportOptions& options)
        : insert(db,
            QStringLiteral("insert into CKPersonalInfoTable (全称, 助记码, 国家, 省, 市, 镇区, "
                           "地址, 邮编, 联系人, 电话, "
                           "手机, 开户行账号, 开户银行, 分组, 单位类型, 排序, 扩展信息) values "
                           "(?, ?, ?, ?, ?, ?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?, 0, ?)"))
    {
        const QString sql = findSql(options);
        if (sql.isEmpty() || !options.judgeRepeated)
            return;
        if (db.engine() != Engine::Sqlite) {
            find.emplace(db, sql);
            return;
        }
        // On the embedded file the check looks among the keys read here once, compared as the
        // columns compare (ASCII letters in either case, NULL as empty): no query a row.
        keys.emplace();
        QSqlQuery q = db.exec(QStringLiteral("select 全称, 联系人, 电话 from CKPersonalInfoTable"));
        QStringList row(3);
        while (q.next()) {
            for (int i = 0; i < 3; ++i)
                row[i] = q.value(i).toString();
            keys->insert(keyOf(row[0], row[1], row[2], options));
        }
    }

    static QString keyOf(const QString& name, const QString& contact, const QString& phone,
        const ImportOptions& options)
    {
        QString key;
        key.reserve(name.size() + contact.size() + phone.size() + 3);
        for (const auto& [on, value] :
            { std::pair { options.byName, &name }, std::pair { options.byContact, &contact },
                std::pair { options.byPhone, &phone } }) {
            if (!on)
                continue;
            const qsizetype start = key.size();
            key += *value;
            for (qsizetype i = start; i < key.size(); ++i)
                if (key[i] >= u'A' && key[i] <= u'Z')
                    key[i] = QChar(key[i].unicode() + 32);
            key += QChar(0x1f);
        }
        return key;
    }

    std::optional<RepeatedStatement> find;
    std::optional<QSet<QString>> keys;
    RepeatedStatement insert;
};

const QString& PartyImport::logFileName()
{
    static const QString name = QStringLiteral("ImportLog.txt");
    return name;
}

PartyImport::PartyImport(Database& db, Prompter& prompter, QString logPath)
    : mDb(db)
    , mPrompter(prompter)
    , mLogPath(std::move(logPath))
{
}

QStringList PartyImport::rowValues(
    const QStringList& row, const ImportColumns& columns, const ImportOptions& options)
{
    QStringList values;
    for (int i = 0; i < importItems().size(); ++i)
        values << cell(row, columns.items.value(i, -1));
    // A leading quote keeps a spreadsheet from reading the number as a number.
    for (const int item : { int(Phone), int(Mobile) })
        if (values[item].contains(QLatin1Char('\'')))
            values[item].remove(QLatin1Char('\''));
    if (options.fixedType) {
        values[Type] = options.type.isEmpty() ? kOther : options.type;
    } else {
        const int typeColumn = columns.items.value(Type, -1);
        values[Type] = typeColumn > 0 && values[Type] == kOwn ? kOwn : kOther;
    }
    if (options.orderIdOn) {
        const QString order = cell(row, columns.order);
        if (!order.isEmpty())
            values[Remark] = (values[Remark] + QStringLiteral(" 订单号:") + order + u';').trimmed();
    }
    if (options.memberIdOn) {
        const QString member = cell(row, columns.member);
        if (!member.isEmpty())
            values[Remark] = (values[Remark] + QStringLiteral("会员ID:") + member).trimmed();
        if (columns.member > 0 && columns.items.value(Name) == columns.member)
            values[Name] = (QStringLiteral(" 会员ID:") + values[Name]).trimmed();
    }
    return values;
}

bool PartyImport::isDuplicate(const QStringList& values, const ImportOptions& options)
{
    if (mStatements->keys)
        return mStatements->keys->contains(
            Statements::keyOf(values[Name], values[Contact], values[Phone], options));
    // With no criterion nothing counts as a duplicate.
    if (!mStatements->find)
        return false;
    RepeatedStatement& find = *mStatements->find;
    int at = 0;
    for (const auto& [on, item] :
        { std::pair { options.byName, int(Name) }, std::pair { options.byContact, int(Contact) },
            std::pair { options.byPhone, int(Phone) } })
        if (on) {
            const QString value = bound(values[item]);
            find.bind(at++, value);
            find.bind(at++, value);
        }
    return find.run();
}

RowOutcome PartyImport::importRow(int r, const QStringList& v, const ImportOptions& options)
{
    IniFile& log = mLog->ini;
    // Only a row that is logged needs its key.
    const auto key = [r] { return QStringLiteral("N%1").arg(r); };
    if (v[Name].isEmpty() && v[Contact].isEmpty() && v[Phone].isEmpty()) {
        log.writeString(
            QStringLiteral("LOG"), key(), QStringLiteral("无效行，联系人、电话、全称均为空！"));
        return RowOutcome::Empty;
    }
    try {
        if (options.judgeRepeated && isDuplicate(v, options)) {
            const QChar q = QLatin1Char('"');
            const bool skip = !options.alertDuplicate
                || mPrompter.ask(QStringLiteral("单位") + q + v[Name]
                        + (options.byContact ? QStringLiteral("(联系人:") + v[Contact] + u')'
                                             : QString())
                        + q + QStringLiteral("已经存在,是否跳过？点击") + q + QStringLiteral("是")
                        + q + QStringLiteral("跳过,点击") + q + QStringLiteral("否") + q
                        + QStringLiteral("继续添加！"),
                    QStringLiteral("记录已经存在"));
            if (skip) {
                log.writeString(QStringLiteral("LOG"), key(),
                    v[Contact].isEmpty()
                        ? QStringLiteral("无效行，地址：") + v[Address]
                        : QStringLiteral("重复，单位：") + v[Name] + QStringLiteral(",联系人：")
                            + v[Contact] + QStringLiteral(",电话：") + v[Phone]);
                return RowOutcome::Duplicate;
            }
        }
        RepeatedStatement& insert = mStatements->insert;
        int at = 0;
        for (const int item : { Name, InputCode, Country, Province, City, Town, Address, Zip,
                 Contact, Phone, Mobile, Account, Bank, Group, Type, Remark })
            insert.bind(at++, bound(v[item]));
        insert.run();
        if (mStatements->keys)
            mStatements->keys->insert(Statements::keyOf(v[Name], v[Contact], v[Phone], options));
        return RowOutcome::Imported;
    } catch (const DbError&) {
        log.writeString(QStringLiteral("ERR"), key(),
            QStringLiteral("错误，单位：") + v[Name] + QStringLiteral(",联系人：") + v[Contact]
                + QStringLiteral(",电话：") + v[Phone]);
        return RowOutcome::Error;
    }
}

ImportSummary PartyImport::run(const QString& source, const QList<QStringList>& rows,
    const ImportColumns& columns, const ImportOptions& options, const ImportHooks& hooks)
{
    ImportSummary summary;
    const auto status = [&hooks](const QString& text) {
        if (hooks.status)
            hooks.status(text);
    };
    const auto progress = [&hooks](int maximum, int position) {
        if (hooks.progress)
            hooks.progress(maximum, position);
    };

    auto log = std::make_unique<Log>(mLogPath);
    mLog = log.get();
    struct Reset
    {
        Log*& log;
        ~Reset() { log = nullptr; }
    } reset { mLog };
    for (const char* section : { "LOG", "ERR", "INFO" })
        log->ini.eraseSection(QString::fromLatin1(section));

    if (options.judgeRepeated && !options.byName && !options.byContact && !options.byPhone
        && !mPrompter.ask(
            QStringLiteral("你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？"),
            QStringLiteral("重复匹配确认"))) {
        log->ini.flush();
        return summary;
    }
    status(QStringLiteral("正在验证数据文件有效性！"));
    if (columns.items.value(Name, -1) <= 0 && columns.items.value(Contact, -1) <= 0
        && columns.items.value(Address, -1) <= 0) {
        mPrompter.inform(
            QStringLiteral("收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel"
                           "数据文件并匹配项目！"),
            QStringLiteral("提示"));
        log->ini.flush();
        return summary;
    }
    summary.started = true;
    const int rowCount = int(rows.size());
    const int dataRows = std::max(0, rowCount - 1);
    log->ini.writeString(
        QStringLiteral("INFO"), QStringLiteral("File"), QStringLiteral("数据文件来源:") + source);
    log->ini.writeString(QStringLiteral("INFO"), QStringLiteral("Total"),
        QStringLiteral("本次任务数据共有：%1行").arg(dataRows));
    status(QStringLiteral("数据文件有效！共有数据行：%1").arg(dataRows));

    if (rowCount == 0) {
        progress(100, 100);
        summary.finish = QStringLiteral("导入完成，所选数据文件不存在有效数据！");
        log->ini.writeString(QStringLiteral("INFO"), QStringLiteral("Finish"), summary.finish);
        log->ini.flush();
        return summary;
    }

    Statements statements(mDb, options);
    mStatements = &statements;
    struct Forget
    {
        Statements*& statements;
        ~Forget() { statements = nullptr; }
    } forget { mStatements };
    int maximum = dataRows + 1;
    int position = 0;
    progress(maximum, position);
    const int batch = std::max(1, options.batchRows);
    std::optional<Transaction> tx;
    // A batch ends with its rows in the table and its lines in the log, never one without
    // the other.
    const auto commit = [&] {
        if (tx) {
            tx->commit();
            tx.reset();
        }
        log->ini.flush();
    };
    try {
        int inBatch = 0;
        for (int r = 2; r <= rowCount; ++r) {
            if (r > kMaxRow) {
                summary.limitReached = true;
                commit();
                mPrompter.inform(QStringLiteral("导入中止，一次最大行数为%1").arg(kMaxRow));
                break;
            }
            if (!tx)
                tx.emplace(mDb);
            switch (importRow(r, rowValues(rows[r - 1], columns, options), options)) {
            case RowOutcome::Imported:
                ++summary.imported;
                break;
            case RowOutcome::Empty:
                ++summary.empty;
                break;
            case RowOutcome::Duplicate:
                ++summary.duplicate;
                break;
            case RowOutcome::Error:
                ++summary.errors;
                break;
            }
            if (++inBatch >= batch) {
                commit();
                inBatch = 0;
            }
            if (hooks.rowDone)
                hooks.rowDone(summary.imported);
            progress(maximum, ++position);
            if (hooks.stopRequested && hooks.stopRequested()) {
                // The question waits with nothing half written.
                commit();
                inBatch = 0;
                if (mPrompter.ask(QStringLiteral("需要中止导出操作吗？"), QStringLiteral("询问"))) {
                    summary.stoppedAtRow = r;
                    maximum = position;
                    log->ini.writeString(QStringLiteral("INFO"), QStringLiteral("Stop"),
                        QStringLiteral("用户中止于第%1行，其后的行未导入").arg(r));
                    break;
                }
            }
        }
        commit();
    } catch (const DbError&) {
        // A failed commit loses only the batch in flight; what came before stays.
        tx.reset();
        log->ini.flush();
        throw;
    }
    progress(maximum, maximum);
    summary.finish = QStringLiteral("导入结束，共有 %1 条导入成功！\r\n").arg(summary.imported);
    if (summary.skipped() > 0)
        summary.finish
            += QStringLiteral(" 其中跳过了%1 条重复的或无效(单位、联系人、电话都为空)的记录！")
                   .arg(summary.skipped());
    // A settings file holds one line a key.
    QString oneLine = summary.finish;
    oneLine.replace(QStringLiteral("\r\n"), QString());
    log->ini.writeString(QStringLiteral("INFO"), QStringLiteral("Finish"), oneLine);
    log->ini.flush();
    return summary;
}

} // namespace pennock::core
