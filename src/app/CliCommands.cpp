#include "app/CliCommands.h"

#include "bills/PrintCommand.h"
#include "format/Capitals.h"
#include "format/TextUtils.h"
#include "history/HistoryCommands.h"
#include "import/BatchCommand.h"
#include "import/PartyImportCommand.h"
#include "parties/AddressSplitCommand.h"
#include "parties/PartiesCommand.h"
#include "platform/Prompter.h"
#include "printing/CalibrateCommand.h"
#include "printing/PrintTemplateCommand.h"
#include "printing/Services.h"
#include "store/DatabaseUrl.h"
#include "store/Installation.h"
#include "store/Migrate.h"
#include "store/ProgramFolder.h"
#include "store/UpgradeCommand.h"
#include "templates/PackageCommand.h"
#include "templates/Seed.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

#include <functional>
#include <map>

namespace pennock::core {

namespace {

const QString kUsage = QStringLiteral(
    "usage: pennock-cli COMMAND ...\n"
    "  capitals AMOUNT                   amount in capital words\n"
    "  digit-capitals AMOUNT CELLS MODE  one capital digit per cell\n"
    "  date-capitals PART                year, month or day in capitals\n"
    "  normalize-amount TEXT             digits and point of a typed amount\n"
    "  format-money AMOUNT [--thousands] two decimals\n"
    "  break-text WIDTH TEXT             lines of WIDTH double-byte characters\n"
    "  split-address TEXT [--home DIR]   name, numbers, region and street of a pasted address\n"
    "  init --home DIR                   create or complete an installation folder\n"
    "  init --database URL [--home DIR]  create and seed an empty PostgreSQL database\n"
    "  templates --home DIR [--kind KIND] list the templates\n"
    "  parties --home DIR [--type 我方单位|往来单位] [--search TEXT] [--xlsx OUT.xlsx] list or "
    "export parties\n"
    "  print-template --home DIR --template ID (--pdf OUT.pdf | --printer NAME) [--copies N] test "
    "print\n"
    "  history --home DIR --kind KIND [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--number T] [--payee "
    "T] [--drawer T] [--account T] [--amount-from A] [--amount-to B] [--exact] [--summary] [--xlsx "
    "OUT.xlsx] search saved bills\n"
    "  void --home DIR --kind KIND SERIAL... mark saved bills as voided\n"
    "  register --home DIR --kind KIND --from N --to M [--digits D] [--prefix P] [--template "
    "VARIANT] [--code C] register numbered blanks\n"
    "  print --home DIR --kind KIND [--template VARIANT] [--set CONTROL=VALUE]... [--amount "
    "AMOUNT] [--date YYYY-MM-DD] [--copies N] (--pdf OUT.pdf | --proof OUT.pdf | --printer NAME) "
    "[--calibrated-for PRINTER] [--save [--registered NUMBER]] fill and print a bill (a proof: "
    "over the form picture)\n"
    "  batch --home DIR --kind 快递单 [--template VARIANT] --rows FILE [--sheet N] [--sender "
    "PARTY_NAME] [--set CONTROL=VALUE]... [--first-number N [--step S]] (--pdf OUT.pdf | --printer "
    "NAME) [--save] one waybill a row of an order sheet, in one job\n"
    "  package export --home DIR --templates ID[,ID...] OUT.tpk  write templates into a package\n"
    "  package list FILE.tpk             the templates of a package\n"
    "  package import --home DIR FILE.tpk [--templates NAME[,NAME...]] [--replace] import "
    "templates of a package\n"
    "  upgrade --home DIR                bring an installation of an earlier release to the "
    "current layout\n"
    "  migrate --home DIR --to URL       copy an installation's embedded database into an empty "
    "server database\n"
    "  import-parties --home DIR FILE [--sheet N] [--scene SCENE] [--map ITEM=COLUMN_TITLE]... add "
    "parties from a spreadsheet by its column titles\n"
    "  calibrate --home DIR --printer NAME [--template ID] (--sheet OUT.pdf | --measured "
    "X1,Y1,X2,Y2 | --reset) a printer's offset and scale, measured with a ruler\n");

QString line(const QString& text) { return text + QLatin1Char('\n'); }

void expectArgs(const QStringList& args, qsizetype count)
{
    if (args.size() != count)
        throw CliError {
            QStringLiteral("%1: expects %2 argument(s)").arg(args.value(0)).arg(count - 1)
        };
}

QString checkedAmount(const std::optional<QString>& result, const QString& text)
{
    if (!result)
        throw CliError { QStringLiteral("not an amount: %1").arg(text) };
    if (result->isEmpty())
        throw CliError {
            QStringLiteral("amount out of range (0 to 9999999999999.99): %1").arg(text)
        };
    return *result;
}

int positiveInt(const QString& text, const char* what)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1)
        throw CliError { QStringLiteral("%1 must be a whole number of at least 1: %2")
                             .arg(QLatin1String(what), text) };
    return value;
}

QString paperText(int tenthMm)
{
    return QString::number(tenthMm / 10.0, 'f', tenthMm % 10 == 0 ? 0 : 1);
}

// One row a template: what a user checks after an installation or an import.
QString listTemplates(Database& db, const QString& kind)
{
    QString sql = QStringLiteral("select CheckTypeID, TypeName, IsDefault, IsCommon, Visiable, "
                                 "PWidth, PHeight from CKTypeTable");
    QVariantList values;
    if (!kind.isEmpty()) {
        sql += QStringLiteral(" where TypeFirstName=?");
        values << kind;
    }
    QSqlQuery q = db.exec(sql + QStringLiteral(" order by TypeFirstName, CheckTypeID"), values);
    QString out = line(QStringLiteral("ID\t模板名称\t默认\t常用\t状态\t纸张(毫米)"));
    int rows = 0;
    while (q.next()) {
        ++rows;
        out += line(QStringList { q.value(0).toString(), q.value(1).toString(),
            q.value(2).toString() == u"默认" ? QStringLiteral("默认") : QStringLiteral("-"),
            q.value(3).toString().isEmpty() ? QStringLiteral("否") : q.value(3).toString(),
            q.value(4).toString(),
            paperText(q.value(5).toInt()) + QLatin1Char('x') + paperText(q.value(6).toInt()) }
                        .join(QLatin1Char('\t')));
    }
    if (rows == 0 && !kind.isEmpty())
        throw CliError { QStringLiteral("no templates of kind %1").arg(kind) };
    return out;
}

// The seed writes its pictures and printer presets into the installation it runs from.
QString initServerDatabase(const QString& url, const ProgramFolder& folder)
{
    QString error;
    const auto server = DatabaseUrl::parse(url, &error);
    if (!server)
        throw CliError { error };
    try {
        if (!QDir().mkpath(folder.root()))
            throw CliError { QStringLiteral("cannot create %1").arg(folder.root()) };
        installServerDatabase(*server, folder, seedDatabase);
    } catch (const InstallError& e) {
        throw CliError { e.message() };
    }
    return line(QStringLiteral("server database ready: %1").arg(server->display()));
}

using Command = std::function<QString(const QStringList&)>;

const std::map<QString, Command>& commands()
{
    static const std::map<QString, Command> table = {
        { QStringLiteral("capitals"),
            [](const QStringList& a) {
                expectArgs(a, 2);
                return line(checkedAmount(AmountToCapitals(a[1]), a[1]));
            } },
        { QStringLiteral("digit-capitals"),
            [](const QStringList& a) {
                expectArgs(a, 4);
                const int cells = positiveInt(a[2], "CELLS");
                return line(checkedAmount(AmountToDigitCapitals(a[1], cells, a[3]), a[1]));
            } },
        { QStringLiteral("date-capitals"),
            [](const QStringList& a) {
                expectArgs(a, 2);
                const QString text = DateNumberToCapitals(a[1]);
                if (text.isEmpty())
                    throw CliError { QStringLiteral("not a year, month or day: %1").arg(a[1]) };
                return line(text);
            } },
        { QStringLiteral("normalize-amount"),
            [](const QStringList& a) {
                expectArgs(a, 2);
                return line(NormalizeAmountText(a[1]));
            } },
        { QStringLiteral("format-money"),
            [](const QStringList& a) {
                const bool thousands = a.contains(QStringLiteral("--thousands"));
                QStringList rest = a;
                rest.removeAll(QStringLiteral("--thousands"));
                expectArgs(rest, 2);
                const auto amount = ParseAmount(rest[1]);
                if (!amount)
                    throw CliError { QStringLiteral("not an amount: %1").arg(rest[1]) };
                return line(FormatMoney(*amount, thousands));
            } },
        { QStringLiteral("break-text"),
            [](const QStringList& a) {
                expectArgs(a, 3);
                const int width = positiveInt(a[1], "WIDTH");
                QString out;
                for (const QString& l : BreakTextByWidth(a[2], width))
                    out += line(l);
                return out;
            } },
        { QStringLiteral("init"),
            [](const QStringList& a) {
                const ProgramFolder folder(cliHome(a));
                const QString url = cliOption(a, QStringLiteral("--database"));
                if (!url.isEmpty())
                    return initServerDatabase(url, folder);
                try {
                    ensureSeededInstallation(folder);
                } catch (const InstallError& e) {
                    throw CliError { e.message() };
                }
                return line(QStringLiteral("installation ready: %1").arg(folder.root()));
            } },
        { QStringLiteral("split-address"), runSplitAddress },
        { QStringLiteral("history"), runHistory },
        { QStringLiteral("parties"), runParties },
        { QStringLiteral("register"), runRegister },
        { QStringLiteral("void"), runVoid },
        { QStringLiteral("print"), runPrint },
        { QStringLiteral("batch"), runBatch },
        { QStringLiteral("import-parties"), runImportParties },
        { QStringLiteral("calibrate"), runCalibrate },
        { QStringLiteral("package"), runPackage },
        { QStringLiteral("upgrade"), runUpgrade },
        { QStringLiteral("migrate"), runMigrate },
        { QStringLiteral("print-template"), runPrintTemplate },
        { QStringLiteral("templates"),
            [](const QStringList& a) {
                const QString home = cliHome(a);
                const QString kind = cliOption(a, QStringLiteral("--kind"));
                requireInstallation(home);
                ConsolePrompter prompter;
                Services services(home, prompter);
                try {
                    return listTemplates(services.db(), kind);
                } catch (const DbError& e) {
                    throw CliError { e.message() };
                }
            } },
    };
    return table;
}

} // namespace

CliResult runCli(const QStringList& args)
{
    if (args.isEmpty())
        return { 2, {}, kUsage };
    if (args[0] == u"--help" || args[0] == u"-h" || args[0] == u"help")
        return { 0, kUsage, {} };
    const auto found = commands().find(args[0]);
    if (found == commands().end())
        return { 2, {}, line(QStringLiteral("unknown command: %1").arg(args[0])) };
    try {
        return { 0, found->second(args), {} };
    } catch (const CliError& bad) {
        return { 2, {}, line(QStringLiteral("pennock-cli: ") + bad.message) };
    }
}

} // namespace pennock::core
