#include "import/BatchCommand.h"

#include "bills/BillDraft.h"
#include "bills/BillKind.h"
#include "bills/PrintCommand.h"
#include "bills/WaybillBatch.h"
#include "bills/WaybillKind.h"
#include "import/OrderSheet.h"
#include "import/SheetReader.h"
#include "parties/AddressSplit.h"
#include "parties/DAOPerson.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/PrinterCalibration.h"
#include "printing/Services.h"
#include "settings/Settings.h"
#include "store/CliArgs.h"
#include "store/Database.h"

#include <QFileInfo>

namespace pennock::core {

namespace {

const QString kCommand = QStringLiteral("batch");

CliError failure(const QString& text)
{
    return CliError { kCommand + QStringLiteral(": ") + text };
}

qint64 wholeNumber(const QString& option, const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < 1)
        throw failure(
            QStringLiteral("%1 must be a whole number of at least 1: %2").arg(option, text));
    return value;
}

int sheetIndex(const SheetBook& book, const QString& sheet)
{
    const int index = book.sheetIndex(sheet);
    if (index < 0)
        throw failure(QStringLiteral("no sheet %1 (sheets: %2)")
                          .arg(sheet, book.sheetNames().join(QStringLiteral(", "))));
    return index;
}

void fillSender(BillDraft& draft, Services& services, const QString& name)
{
    const std::optional<TPerson> party
        = DAOPerson(services.db()).findPersonByFullName(name.trimmed());
    if (!party)
        throw failure(QStringLiteral("no party named %1").arg(name));
    const PartySide& side = draft.bill().kind->drawer;
    draft.setItem(side.name, party->value(side.nameColumn));
    for (const auto& [control, column] : side.more)
        draft.setItem(control, party->value(column));
}

} // namespace

QString runBatch(const QStringList& args)
{
    const QString home = cliHome(args);
    const QString kindName = cliOption(args, QStringLiteral("--kind"));
    const QString variant = cliOption(args, QStringLiteral("--template"));
    const QString rowsFile = cliOption(args, QStringLiteral("--rows"));
    const QString sheet = cliOption(args, QStringLiteral("--sheet"));
    const QString sender = cliOption(args, QStringLiteral("--sender"));
    const QString firstNumber = cliOption(args, QStringLiteral("--first-number"));
    const QString stepText = cliOption(args, QStringLiteral("--step"));
    const QString pdf = cliOption(args, QStringLiteral("--pdf"));
    const QString printer = cliOption(args, QStringLiteral("--printer"));
    const bool save = args.contains(QStringLiteral("--save"));
    const QStringList sets = cliSetAssignments(kCommand, args);

    const BillKind& waybill = waybillKind();
    if (kindName.isEmpty())
        throw failure(QStringLiteral("--kind %1 is required").arg(waybill.kind));
    if (kindName != waybill.kind)
        throw failure(
            QStringLiteral("only %1 prints in batches, not %2").arg(waybill.kind, kindName));
    if (rowsFile.isEmpty())
        throw failure(QStringLiteral("--rows FILE is required"));
    WaybillBatchOptions options;
    options.save = save;
    if (!stepText.isEmpty() && firstNumber.isEmpty())
        throw failure(QStringLiteral("--step needs --first-number"));
    if (!firstNumber.isEmpty()) {
        options.firstNumber = firstNumber.trimmed();
        if (numberInSeries(options.firstNumber, 1, 0).isEmpty())
            throw failure(QStringLiteral("--first-number must end in digits: %1").arg(firstNumber));
        options.step = stepText.isEmpty() ? 1 : wholeNumber(QStringLiteral("--step"), stepText);
    }
    checkCliPrinting(home, pdf, printer, kCommand);

    std::optional<SheetBook> book;
    try {
        book = SheetBook::open(rowsFile);
    } catch (const SheetError& e) {
        throw failure(e.message);
    }
    const int index = sheetIndex(*book, sheet);

    installPrintFontSubstitutions();
    CollectingPrompter prompter;
    Services services(home, prompter);
    try {
        BillDraft draft(services, waybill);
        openCliDraft(draft, prompter, variant, kCommand);
        if (!sender.isEmpty())
            fillSender(draft, services, sender);
        for (const QString& assignment : sets) {
            const QString name = assignment.left(assignment.indexOf(QLatin1Char('='))).trimmed();
            const bool item = waybill.control(name)
                || name.startsWith(QStringLiteral("DEFCHECK"), Qt::CaseInsensitive);
            if (!waybill.option(name) && item && !carriedIntoBatch(name))
                throw failure(
                    QStringLiteral("--set %1: each waybill of a batch takes it from its row only")
                        .arg(name));
            applyCliSet(draft, services, assignment, kCommand);
        }

        const QList<QStringList> rows = book->rows(index);
        const QStringList titles = rows.value(0);
        const QList<int> columns = matchOrderColumns(services.db(), titles);
        bool recipient = false;
        const QList<OrderField>& fields = orderFields();
        for (qsizetype f = 0; f < fields.size(); ++f)
            if (columns.value(f) >= 0
                && QStringList { QStringLiteral("全称"), QStringLiteral("联系人"),
                    QStringLiteral("地址"), QStringLiteral("电话"), QStringLiteral("手机") }
                       .contains(fields[f].column))
                recipient = true;
        if (!recipient)
            throw failure(
                QStringLiteral("no recipient column among the titles of %1: %2")
                    .arg(QFileInfo(rowsFile).fileName(), titles.join(QStringLiteral(", "))));
        const AddressSplitter splitter = AddressSplitter::forDatabase(services.db());
        QList<int> sheetRows;
        const QList<Receiver> receivers = receiversFromRows(rows, columns, &splitter, &sheetRows);

        const Bill& base = draft.bill();
        if (!printer.isEmpty())
            services.printEngine().setCalibration(
                PrinterCalibration::load(services.settings().userIni(), printer));
        QString destination;
        const std::unique_ptr<PdfCanvas> canvas = openCliCanvas(services, base.templateId, pdf,
            printer, QStringLiteral("pennock batch %1").arg(kindName), destination, kCommand);
        PrintEngine& engine = services.printEngine();
        engine.setCanvas(canvas.get());
        const std::optional<QPoint> offset = engine.prepareJob(base.templateId, pdf.isEmpty());
        if (!offset)
            throw failure(engine.paperRefusal().isEmpty()
                    ? QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！")
                    : engine.paperRefusal());
        QStringList refused;
        bool printable = false;
        for (qsizetype i = 0; i < receivers.size(); ++i) {
            const QString why = whyNotPrintable(base, receivers[i]);
            printable |= why.isEmpty();
            if (!why.isEmpty())
                refused << QStringLiteral("row %1: %2").arg(sheetRows.value(i)).arg(why);
        }
        // A job is begun only for a batch with something to print: an empty PDF is no answer.
        if (!printable) {
            engine.setCanvas(nullptr);
            throw failure(QStringLiteral("no row of %1 can be printed%2")
                              .arg(QFileInfo(rowsFile).fileName(),
                                  refused.isEmpty() ? QString()
                                                    : QStringLiteral(" (")
                                          + refused.join(QStringLiteral("; ")) + QLatin1Char(')')));
        }
        const bool begun = engine.beginJob(1);
        WaybillBatchOutcome outcome;
        if (begun) {
            try {
                outcome
                    = printWaybills(services, base, receivers, options, offset->x(), offset->y());
            } catch (const DbError&) {
                engine.setCanvas(nullptr);
                throw;
            }
        }
        engine.setCanvas(nullptr);
        const QStringList messages = prompter.take();
        if (!outcome.delivered) {
            QString why = QStringLiteral("打印出错，请检查打印机是否可用！");
            if (!canvas->errorString().isEmpty())
                why += QLatin1Char(' ') + canvas->errorString();
            if (!messages.isEmpty())
                why += QStringLiteral("; ") + messages.join(QStringLiteral("; "));
            throw failure(why + QStringLiteral(" (nothing was saved)"));
        }
        if (!messages.isEmpty())
            throw failure(messages.join(QStringLiteral("; ")));
        QString out;
        for (const QString& line : std::as_const(refused))
            out += line + QLatin1Char('\n');
        out += QStringLiteral("printed %1 waybills to %2, saved %3\n")
                   .arg(outcome.printed)
                   .arg(destination)
                   .arg(outcome.saved);
        return out;
    } catch (const DbError& e) {
        throw failure(e.message());
    } catch (const SheetError& e) {
        throw failure(e.message);
    }
}

} // namespace pennock::core
