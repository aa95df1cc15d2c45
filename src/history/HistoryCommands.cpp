#include "history/HistoryCommands.h"

#include "format/Capitals.h"
#include "history/HistorySearch.h"
#include "parties/PersonSearch.h"
#include "parties/SpreadsheetExport.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/CliArgs.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>

#include <memory>

namespace pennock::core {

namespace {

// Filters every window may have, and those of some members only.
const QStringList kTextFilters = { QStringLiteral("payee"), QStringLiteral("drawer"),
    QStringLiteral("account"), QStringLiteral("template"), QStringLiteral("customer"),
    QStringLiteral("buyer"), QStringLiteral("state"), QStringLiteral("contract"),
    QStringLiteral("sender"), QStringLiteral("recipient") };

CliError failure(const QString& command, const QString& text)
{
    return CliError { command + QStringLiteral(": ") + text };
}

const HistoryKind& historyOf(const QStringList& args)
{
    const QString kind = cliOption(args, QStringLiteral("--kind"));
    if (kind.isEmpty())
        throw failure(args.value(0), QStringLiteral("--kind KIND is required"));
    const HistoryKind* h = findHistoryKind(kind);
    if (!h) {
        QStringList kinds;
        for (const HistoryKind& k : historyKinds())
            kinds << k.kind;
        throw failure(args.value(0),
            QStringLiteral("unknown bill kind %1 (kinds: %2)")
                .arg(kind, kinds.join(QStringLiteral(", "))));
    }
    return *h;
}

std::unique_ptr<Services> open(const QStringList& args, Prompter& prompter)
{
    const QString home = cliHome(args);
    requireInstallation(home);
    return std::make_unique<Services>(home, prompter);
}

std::optional<QDate> dateOption(const QStringList& args, const QString& name)
{
    const QString text = cliOption(args, name);
    if (text.isEmpty())
        return std::nullopt;
    const QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        throw failure(args.value(0), QStringLiteral("%1 must be YYYY-MM-DD: %2").arg(name, text));
    return d;
}

QString countLine(const HistoryKind& h, int rows, const std::optional<double>& sum)
{
    QString line = QStringLiteral("共检索到 %1 条记录").arg(rows);
    if (!h.sumColumn.isEmpty())
        line += QLatin1Char(' ') + h.sumText + (sum ? FormatMoney(*sum) : QString());
    return line + QLatin1Char('\n');
}

} // namespace

QString runHistory(const QStringList& args)
{
    const HistoryKind& h = historyOf(args);
    HistoryCriteria c;
    c.number = cliOption(args, QStringLiteral("--number"));
    for (const QString& option : kTextFilters) {
        const QString value = cliOption(args, QStringLiteral("--") + option);
        if (value.isEmpty())
            continue;
        if (!h.filter(option))
            throw failure(args.value(0),
                QStringLiteral("the %1 history has no --%2 filter").arg(h.kind, option));
        c.texts.insert(option, value);
    }
    c.exact = args.contains(QStringLiteral("--exact"));
    c.from = dateOption(args, QStringLiteral("--from"));
    c.to = dateOption(args, QStringLiteral("--to"));
    c.amountFrom = cliOption(args, QStringLiteral("--amount-from"));
    c.amountTo = cliOption(args, QStringLiteral("--amount-to"));
    if ((!c.amountFrom.isEmpty() || !c.amountTo.isEmpty()) && h.amountColumn.isEmpty())
        throw failure(
            args.value(0), QStringLiteral("the %1 history has no amount filter").arg(h.kind));
    for (const QString& bound : { c.amountFrom, c.amountTo })
        if (!bound.isEmpty() && !HistorySearch::isAmountBound(bound))
            throw failure(args.value(0), QStringLiteral("非法数字: %1").arg(bound));
    const bool summary = args.contains(QStringLiteral("--summary"));
    const QString xlsx = cliOption(args, QStringLiteral("--xlsx"));

    ConsolePrompter prompter;
    const auto services = open(args, prompter);
    HistorySearch search(services->db(), h);
    const HistoryStatement st = search.build(c);
    if (!st.runnable())
        throw failure(args.value(0), st.dateError);
    try {
        const std::optional<double> sum = search.sum(st);
        if (!xlsx.isEmpty()) {
            QSqlQueryModel model;
            PersonSearch::runInto(services->db(), model, { st.sql, st.values });
            while (model.canFetchMore())
                model.fetchMore();
            if (model.rowCount() == 0)
                return QStringLiteral("没有可导出的数据~\n");
            SpreadsheetExport::writeXlsx(xlsx,
                h.exportTitle + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")), model);
            return countLine(h, model.rowCount(), sum);
        }
        if (summary)
            return countLine(h, search.count(st), sum);
        QSqlQuery q = services->db().exec(st.sql, st.values);
        q.setForwardOnly(true);
        QString out;
        int rows = 0;
        while (q.next()) {
            ++rows;
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields << SpreadsheetExport::lineField(q.value(i));
            out += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
        }
        return out + countLine(h, rows, sum);
    } catch (const DbError& e) {
        throw failure(args.value(0), e.message());
    } catch (const ExportError& e) {
        throw failure(args.value(0), e.message());
    }
}

QString runVoid(const QStringList& args)
{
    const HistoryKind& h = historyOf(args);
    if (!h.voids)
        throw failure(
            args.value(0), QStringLiteral("the %1 history cannot void bills").arg(h.kind));
    // Serials are the words that are no option and no option's value.
    QList<int> serials;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i].startsWith(QStringLiteral("--"))) {
            ++i;
            continue;
        }
        bool ok = false;
        const int serial = args[i].toInt(&ok);
        if (!ok || serial <= 0)
            throw failure(args.value(0), QStringLiteral("not a serial: %1").arg(args[i]));
        serials << serial;
    }
    if (serials.isEmpty())
        throw failure(args.value(0), QStringLiteral("没有点中要作废的票据!"));
    ConsolePrompter prompter;
    const auto services = open(args, prompter);
    try {
        const int changed = HistorySearch(services->db(), h).voidRows(serials);
        return QStringLiteral("成功作废%1条记录！\n").arg(changed);
    } catch (const DbError& e) {
        throw failure(args.value(0), QStringLiteral("错误,Error=") + e.message());
    }
}

QString runRegister(const QStringList& args)
{
    const HistoryKind& h = historyOf(args);
    if (h.registration == HistoryRegistration::None)
        throw failure(args.value(0),
            QStringLiteral("the %1 history registers no numbered blanks").arg(h.kind));
    const QString from = cliOption(args, QStringLiteral("--from"));
    const QString to = cliOption(args, QStringLiteral("--to"));
    const QString refused = HistorySearch::checkRange(from, to);
    if (!refused.isEmpty())
        throw failure(args.value(0), refused);
    int digits = 8;
    if (const QString d = cliOption(args, QStringLiteral("--digits")); !d.isEmpty()) {
        bool ok = false;
        digits = d.toInt(&ok);
        if (!ok || digits < 4 || digits > 20)
            throw failure(args.value(0), QStringLiteral("--digits must be 4 to 20: %1").arg(d));
    }
    const QString prefix = cliOption(args, QStringLiteral("--prefix")).trimmed();
    if (prefix.size() > 3)
        throw failure(
            args.value(0), QStringLiteral("--prefix takes at most 3 characters: %1").arg(prefix));
    const QString variant = cliOption(args, QStringLiteral("--template"));
    const QString code = cliOption(args, QStringLiteral("--code"));
    if (h.registration == HistoryRegistration::InvoiceCodes && variant.isEmpty())
        throw failure(args.value(0), QStringLiteral("模板种类不能为空！"));
    if (code.size() > 20)
        throw failure(args.value(0), QStringLiteral("--code takes at most 20 characters"));

    ConsolePrompter prompter;
    const auto services = open(args, prompter);
    HistorySearch search(services->db(), h);
    const QStringList numbers
        = HistorySearch::numbersOf(from.trimmed().toInt(), to.trimmed().toInt(), digits,
            h.registration == HistoryRegistration::Blanks ? prefix : QString());
    try {
        const QList<HistorySearch::Registered> done = h.registration == HistoryRegistration::Blanks
            ? search.registerBlanks(numbers, variant, cliOption(args, QStringLiteral("--drawer")),
                cliOption(args, QStringLiteral("--account")),
                cliOption(args, QStringLiteral("--bank")))
            : search.registerInvoices(numbers, variant, code);
        QString out;
        for (const HistorySearch::Registered& r : done)
            out += r.written ? QStringLiteral("登记编号为：%1的票据!\n").arg(r.number)
                             : (r.message.isEmpty() ? QString() : r.message + QLatin1Char('\n'));
        return out + QStringLiteral("登记结束！\n");
    } catch (const DbError& e) {
        throw failure(args.value(0), QStringLiteral("登记错误,Error=") + e.message());
    }
}

} // namespace pennock::core
