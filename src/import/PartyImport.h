#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace pennock::core {

class Database;
class Prompter;

/// One field of a party that a sheet column can fill, with the drop-down that shows it.
struct ImportItem
{
    QString item; ///< name in the column rules (`MatchColumn.ItemName`)
    QString column; ///< column of `CKPersonalInfoTable`
    QString box; ///< object name of its drop-down
    QString label; ///< caption beside the drop-down
};

/// The sixteen items in matching priority: full name first, mnemonic last.
const QList<ImportItem>& importItems();
/// Index of an item in `importItems()`; -1 for none.
int importItemIndex(const QString& item);
/// The item whose column may be replaced by one fixed party type ("单位类型").
inline constexpr int kTypeItem = 14;

/// Where imported rows go: the scene's caption and the kind of its column rules.
struct ImportScene
{
    QString caption;
    QString matchType;
};
/// The scenes the import knows; the party manager opens the first.
const QList<ImportScene>& importScenes();

/// A non-empty title of the first row and its sheet column (1 = first).
struct SheetTitle
{
    int column = -1;
    QString title;

    /// "列" + column + ":" + title, as the drop-downs show it.
    QString entry() const;
};

/// The titles of a sheet's first row, trimmed, empty ones left out: columns 1 up to 61, or up
/// to the number of cells of the used range when that is smaller.
QList<SheetTitle> sheetTitles(const QList<QStringList>& rows);
/// The column number of a drop-down entry: the digits between "列" and the first ":"; -1 for
/// an entry without them.
int entryColumn(const QString& entry);

/// The rule of every item of `importItems()`, read from the table now.
QStringList loadImportRules(Database& db, const QString& matchType);
/// Each item's column (1-based, -1 for none): every title, in order, goes to the first item in
/// priority that has no column yet and whose rule it meets.
QList<int> autoMatch(const QList<SheetTitle>& titles, const QStringList& rules);
/// The column of one more item among the titles no item took; -1 for none.
int matchSpareColumn(const QList<SheetTitle>& titles, const QList<int>& taken, const QString& rule);

/// Creates `MatchColumn` with its default rules when an older installation lacks it.
void ensureMatchColumn(Database& db);

/// One row of `MatchColumn`.
struct MatchRule
{
    int id = 0;
    QString item;
    QString source;
    QString showOrd;
};
/// The rule text as "提交修改" stores it: trimmed, without "'" and "?", "，" made ",", doubled
/// commas collapsed (twice), trimmed again. Empty when nothing usable is left.
QString cleanRuleText(const QString& text);
/// The rows of one kind of rules, by `Id`. Throws DbError.
QList<MatchRule> loadMatchRules(Database& db, const QString& matchType);
/// Writes a row's item, order and rule. Throws DbError.
void storeMatchRule(Database& db, const MatchRule& rule);
/// A new row of the kind with order "0"; its `Id`. Throws DbError.
int addMatchRule(Database& db, const QString& matchType);
/// Throws DbError.
void deleteMatchRule(Database& db, int id);

/// The choices of the import window.
struct ImportOptions
{
    bool judgeRepeated = true; ///< "判断重复"
    bool byName = true; ///< "单位全称"
    bool byContact = true; ///< "联系人"
    bool byPhone = true; ///< "联系电话"
    bool alertDuplicate = false; ///< "发现重复记录弹出提示确认"
    bool fixedType = true; ///< "固定"
    QString type = QStringLiteral("往来单位"); ///< the fixed type
    bool orderIdOn = false; ///< "订单号"
    bool memberIdOn = false; ///< "会员名"
    /// Rows written in one transaction: a crash loses at most this many.
    int batchRows = 2000;
};

/// The sheet columns (1-based, -1 for none) of the items, the order number and the member ID.
struct ImportColumns
{
    QList<int> items = QList<int>(16, -1);
    int order = -1;
    int member = -1;
};

/// What the window shows while rows are read; every member may be left empty.
struct ImportHooks
{
    std::function<void(const QString& text)> status;
    /// The progress bar's maximum and position.
    std::function<void(int maximum, int position)> progress;
    /// After each row; the window lets pending input run here.
    std::function<void(int imported)> rowDone;
    /// "中止导入" was pressed.
    std::function<bool()> stopRequested;
};

enum class RowOutcome { Imported, Empty, Duplicate, Error };

struct ImportSummary
{
    bool started = false; ///< false: refused before the first row (the reason was shown)
    int imported = 0;
    int empty = 0;
    int duplicate = 0;
    int errors = 0;
    int stoppedAtRow = 0; ///< the sheet row after which the person stopped the run; 0 otherwise
    bool limitReached = false; ///< the sheet had rows beyond the 6000th
    QString finish; ///< the closing summary

    int skipped() const noexcept { return empty + duplicate + errors; }
};

/// Adds the data rows of one sheet to `CKPersonalInfoTable`, skipping empty rows and
/// duplicates, and writes "ImportLog.txt" (sections "LOG", "ERR", "INFO").
class PartyImport
{
public:
    PartyImport(Database& db, Prompter& prompter, QString logPath);

    static constexpr int kMaxRow = 6000;
    static const QString& logFileName(); ///< "ImportLog.txt"

    /// The import run over `rows` (row 0 the titles) of the workbook `source`. Questions and
    /// refusals go to the prompter; rows imported before a stop or an error stay.
    ImportSummary run(const QString& source, const QList<QStringList>& rows,
        const ImportColumns& columns, const ImportOptions& options, const ImportHooks& hooks = {});

    /// The values of one sheet row by item, as the run reads them (phones without quotes).
    static QStringList rowValues(
        const QStringList& row, const ImportColumns& columns, const ImportOptions& options);

private:
    RowOutcome importRow(int sheetRow, const QStringList& values, const ImportOptions& options);
    bool isDuplicate(const QStringList& values, const ImportOptions& options);

    Database& mDb;
    Prompter& mPrompter;
    QString mLogPath;
    class Log;
    Log* mLog = nullptr;
    struct Statements;
    Statements* mStatements = nullptr;
};

} // namespace pennock::core
