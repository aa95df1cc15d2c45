#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

/// A text filter of a history window: one column, or two of which either may match.
struct HistoryFilter
{
    QString option {}; ///< the command line's name: "payee", "drawer", "account", …
    QString label {};
    QStringList columns {};
    QString pickerType {}; ///< "选" opens the party picker on this type; empty: no picker
    QString pickerTitle {};
    bool takesAccount = false; ///< the picked party's account, not its name, fills the box
    enum class List {
        None,
        OnEntry, ///< the column's distinct values, listed when the box is first entered
        OnOpen, ///< the column's distinct values and an empty entry, listed when the window opens
        Choices ///< `choices`
    };
    List list = List::None;
    QStringList choices {};
    bool keptOnAll = false; ///< "全 部" leaves this box as it is
    bool runsOnPick = false; ///< choosing an entry runs the query
    bool shortCodeOnLeave = false; ///< "%" + a mnemonic becomes the party's name on leaving
};

/// How a window orders its rows: only after a column title is clicked, flipping each run; or
/// by the serial, newest first, until a title is clicked.
enum class HistoryOrder { Toggle, Serial };

/// How a failed query is reported.
enum class HistoryErrors {
    DatabaseBox, ///< "数据库错误,Error=" + message, titled "失败"
    QueryBoxes ///< "数据库操作错误！" titled "查询", then the query titled "错误"
};

/// Registration of pre-numbered blanks.
enum class HistoryRegistration {
    None,
    Blanks, ///< numbered blanks with drawer, bank and account ("登记联号票据")
    InvoiceCodes ///< invoice numbers under an invoice code ("领用联号票据")
};

/// One history window as data: its table, filters, date, amount and sum columns, order and
/// error rules, and which commands it has.
struct HistoryKind
{
    QString kind {}; ///< the bill kind whose bills it lists
    QString className {};
    QString caption {};
    QString table {};
    QString menuCommand {}; ///< the main window's "历史开票管理(&S)" item: object name, caption
    QString menuCaption {};
    QString numberColumn = QStringLiteral("票据编号"); ///< the number box filters this column
    QString numberListColumn = QStringLiteral("票据编号"); ///< and lists this one's values
    QString numberLabel = QStringLiteral("票据编号：");
    QList<HistoryFilter> filters;
    QString dateColumn = QStringLiteral("出票日期");
    QString amountColumn = QStringLiteral("金额"); ///< empty: no amount filter
    QString sumColumn = QStringLiteral("金额"); ///< empty: no sum
    QString sumText = QStringLiteral("金额汇总:￥");
    HistoryOrder order = HistoryOrder::Serial;
    HistoryErrors errors = HistoryErrors::QueryBoxes;
    QString doubleClickKey {};
    QString exportTitle {};
    QString deleteWord {};
    bool voids = false;
    bool renumbers = false;
    bool allReruns = false; ///< "全 部" forgets the last query, so it always runs again
    HistoryRegistration registration = HistoryRegistration::None;
    QString registrationBank {}; ///< the column the bank of registered blanks goes to
    QString pickerTitle {}; ///< registration's party picker
    bool editable = false; ///< the grid edits the table in place
    int rowWarning = 0; ///< more rows than this are shown with a warning; 0: never
    bool lateEntries = false; ///< "补录入单号", "补录备注" and "网上查单"

    const HistoryFilter* filter(const QString& option) const;
};

/// The eleven history windows, in the order of the main window's menu.
const QList<HistoryKind>& historyKinds();
/// The history of a bill kind; null when it has none.
const HistoryKind* findHistoryKind(const QString& kind);

} // namespace pennock::core
