#include "bills/PrintCommand.h"

#include "bills/BillDraft.h"
#include "bills/BillKind.h"
#include "bills/BillStore.h"
#include "bills/Proof.h"
#include "parties/ReferenceLookups.h"
#include "platform/Prompter.h"
#include "printing/CupsPrinterCanvas.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/PrinterCalibration.h"
#include "printing/Services.h"
#include "printing/TemplateTestPrint.h"
#include "settings/Settings.h"
#include "store/CliArgs.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <memory>

namespace pennock::core {

namespace {

CliError failure(const QString& command, const QString& text)
{
    return CliError { command + QStringLiteral(": ") + text };
}

CliError failure(const QString& text) { return failure(QStringLiteral("print"), text); }

void refuseMessages(CollectingPrompter& prompter)
{
    const QStringList texts = prompter.take();
    if (!texts.isEmpty())
        throw failure(texts.join(QStringLiteral("; ")));
}

void refuse(const QString& command, const RuleMessage& m)
{
    if (m.refused())
        throw failure(command, m.text);
}

QStringList setOptions(const QString& command, const QStringList& args)
{
    QStringList sets;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] != u"--set")
            continue;
        if (i + 1 >= args.size() || !args[i + 1].contains(QLatin1Char('=')))
            throw failure(command, QStringLiteral("--set needs CONTROL=VALUE"));
        sets << args[++i];
    }
    return sets;
}

std::optional<bool> tickOf(const QString& value)
{
    const QString v = value.trimmed().toLower();
    if (v == u"1" || v == u"yes" || v == u"true" || v == u"√")
        return true;
    if (v == u"0" || v == u"no" || v == u"false" || v.isEmpty())
        return false;
    return std::nullopt;
}

bool tickValue(const QString& command, const QString& name, const QString& value)
{
    const std::optional<bool> tick = tickOf(value);
    if (!tick)
        throw failure(command, QStringLiteral("%1 takes 1 or 0: %2").arg(name, value));
    return *tick;
}

void applySet(
    BillDraft& draft, Services& services, const QString& assignment, const QString& command)
{
    const qsizetype at = assignment.indexOf(QLatin1Char('='));
    const QString name = assignment.left(at).trimmed();
    const QString value = assignment.mid(at + 1);
    const BillKind& kind = *draft.bill().kind;
    if (const BillOption* option = kind.option(name)) {
        if (!option->enabled)
            throw failure(
                command, QStringLiteral("%1 cannot be changed on %2").arg(name, kind.kind));
        if (option->rule == OptionRule::Choice) {
            if (!option->choices.contains(value))
                throw failure(command, QStringLiteral("%1 has no entry %2").arg(name, value));
            draft.setOption(option->name, value);
        } else {
            draft.setOption(option->name,
                tickValue(command, name, value) ? QStringLiteral("1") : QStringLiteral("0"));
        }
        return;
    }
    if (name.compare(QStringLiteral("cfgMoneyType"), Qt::CaseInsensitive) == 0) {
        if (!ReferenceLookups(services.db()).loadMoneyTypeList().contains(value))
            throw failure(command, QStringLiteral("%1 has no entry %2").arg(name, value));
        draft.setCurrency(value);
        return;
    }
    const BillControl* control = kind.control(name);
    if (!control) {
        // User check boxes beyond the form's own are made for the template's labels.
        if (name.startsWith(QStringLiteral("DEFCHECK"), Qt::CaseInsensitive)
            && draft.tick(name, tickValue(command, name, value)))
            return;
        throw failure(command, QStringLiteral("unknown control %1 of %2").arg(name, kind.kind));
    }
    const BillRoles& roles = kind.roles;
    if (roles.amountOpeners.contains(control->name) && control->name != roles.capitals
        && control->name != roles.figures) {
        refuse(command, draft.setAmountAt(control->name, value));
        return;
    }
    switch (control->kind) {
    case ControlKind::ReadOnlyEdit:
    case ControlKind::AmountInput:
    case ControlKind::DatePicker:
    case ControlKind::Shape:
        throw failure(
            command, QStringLiteral("%1 is filled by the form (use --amount or --date)").arg(name));
    case ControlKind::Check:
        if (!draft.tick(control->name, tickValue(command, name, value)))
            throw failure(command, QStringLiteral("%1 has no label on this template").arg(name));
        return;
    default:
        refuse(command, draft.setItem(control->name, value));
    }
}

} // namespace

QStringList cliSetAssignments(const QString& command, const QStringList& args)
{
    return setOptions(command, args);
}

void applyCliSet(
    BillDraft& draft, Services& services, const QString& assignment, const QString& command)
{
    applySet(draft, services, assignment, command);
}

void checkCliPrinting(
    const QString& home, const QString& pdf, const QString& printer, const QString& command)
{
    if (pdf.isEmpty() == printer.isEmpty())
        throw failure(command, QStringLiteral("give either --pdf FILE or --printer NAME"));
    requireInstallation(home);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw failure(command, QStringLiteral("printing needs a graphical application object"));
}

void openCliDraft(
    BillDraft& draft, CollectingPrompter& prompter, const QString& variant, const QString& command)
{
    const bool opened = draft.open(variant);
    prompter.take(); // a missing default template is told but does not stop the bill
    if (opened)
        return;
    const QString kind = draft.bill().kind->kind;
    if (variant.isEmpty())
        throw failure(command, QStringLiteral("no usable template of %1").arg(kind));
    throw failure(command,
        QStringLiteral("no enabled template %1 (templates: %2)")
            .arg(TemplateLookups::fullName(kind, variant),
                draft.variants().join(QStringLiteral(", "))));
}

std::unique_ptr<PdfCanvas> openCliCanvas(Services& services, int templateId, const QString& pdf,
    const QString& printer, const QString& jobTitle, QString& destination, const QString& command)
{
    if (!pdf.isEmpty()) {
        const QSize paper = templatePaperSize(services.db(), templateId);
        destination = QDir::toNativeSeparators(pdf);
        return std::make_unique<PdfCanvas>(
            pdf, PdfCanvas::paperLayout(paper.width(), paper.height()));
    }
    auto cups = CupsPrinterCanvas::open(printer, jobTitle);
    if (!cups)
        throw failure(command, QStringLiteral("no printer named %1").arg(printer));
    destination = QStringLiteral("printer %1").arg(cups->printerName());
    return cups;
}

QString runPrint(const QStringList& args)
{
    const QString home = cliHome(args);
    const QString kindName = cliOption(args, QStringLiteral("--kind"));
    const QString variant = cliOption(args, QStringLiteral("--template"));
    const QString amount = cliOption(args, QStringLiteral("--amount"));
    const QString dateText = cliOption(args, QStringLiteral("--date"));
    const QString copiesText = cliOption(args, QStringLiteral("--copies"));
    const QString pdf = cliOption(args, QStringLiteral("--pdf"));
    const QString printer = cliOption(args, QStringLiteral("--printer"));
    const QString proof = cliOption(args, QStringLiteral("--proof"));
    const QString calibratedFor = cliOption(args, QStringLiteral("--calibrated-for"));
    const bool save = args.contains(QStringLiteral("--save"));
    const QString registered = cliOption(args, QStringLiteral("--registered")).trimmed();
    const QStringList sets = setOptions(QStringLiteral("print"), args);

    if (kindName.isEmpty())
        throw failure(QStringLiteral("--kind KIND is required"));
    const BillKind* kind = findBillKind(kindName);
    if (!kind)
        throw failure(QStringLiteral("unknown bill kind %1 (kinds with a form: %2)")
                          .arg(kindName, billKindNames().join(QStringLiteral(", "))));
    if (!registered.isEmpty() && !save)
        throw failure(QStringLiteral("--registered NUMBER fills its row only with --save"));
    if (!registered.isEmpty() && !kind->hasRegisteredNumbers())
        throw failure(QStringLiteral("%1 has no registered numbers").arg(kind->kind));
    QDate date;
    if (!dateText.isEmpty()) {
        date = QDate::fromString(dateText, QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            throw failure(QStringLiteral("--date must be YYYY-MM-DD: %1").arg(dateText));
    }
    int copies = 1;
    if (!copiesText.isEmpty()) {
        bool ok = false;
        copies = copiesText.trimmed().toInt(&ok);
        if (!ok || copies < 1)
            throw failure(QStringLiteral("--copies must be a whole number of at least 1: %1")
                              .arg(copiesText));
    }
    if (!proof.isEmpty() && (!pdf.isEmpty() || !printer.isEmpty()))
        throw failure(QStringLiteral("give either --pdf FILE, --proof FILE or --printer NAME"));
    checkCliPrinting(home, proof.isEmpty() ? pdf : proof, printer, QStringLiteral("print"));

    installPrintFontSubstitutions();
    CollectingPrompter prompter;
    Services services(home, prompter);
    try {
        BillDraft draft(services, *kind);
        openCliDraft(draft, prompter, variant, QStringLiteral("print"));
        // The date first: a due date typed as days counts from it.
        if (date.isValid())
            draft.setDate(date);
        // A registered number fills its row as picking it in the form does; what was read
        // here is what the save checks against.
        int serial = -1;
        if (!registered.isEmpty()) {
            const std::optional<QVariantMap> row
                = BillStore(services.db(), *kind).findRegistered(registered);
            if (!row)
                throw failure(QStringLiteral("票据编号“%1”没有登记或已经使用").arg(registered));
            serial = row->value(BillStore::kSerial).toInt();
            for (const BillCopy& copy : kind->registeredCopies)
                refuse(QStringLiteral("print"),
                    draft.setItem(copy.control, row->value(copy.column).toString()));
            refuse(QStringLiteral("print"), draft.setItem(kind->roles.number, registered));
        }
        for (const QString& assignment : sets)
            applySet(draft, services, assignment, QStringLiteral("print"));
        if (!amount.isEmpty())
            refuse(QStringLiteral("print"), draft.setAmount(amount));
        const Bill& bill = draft.bill();
        const auto saveBill = [&] {
            const BillStore::SaveResult saved
                = BillStore(services.db(), *kind)
                      .save(serial, billColumnValues(bill), serial > 0, billItemValues(bill));
            if (saved.outcome == BillStore::Outcome::RefusedTaken)
                throw failure(BillStore::takenMessage(registered));
            if (saved.outcome == BillStore::Outcome::RefusedVoided)
                throw failure(kind->messages.voided);
            return QStringLiteral("saved as 流水号 %1\n").arg(saved.serial);
        };
        // A printer's own calibration always applies; another's can be tried on a PDF.
        const QString calibrated = printer.isEmpty() ? calibratedFor : printer;
        if (!calibrated.isEmpty())
            services.printEngine().setCalibration(
                PrinterCalibration::load(services.settings().userIni(), calibrated));
        // A bill the form would not save is not printed for saving either.
        if (save)
            refuse(QStringLiteral("print"), kind->rules->saveRefusal(draft, *kind));

        if (!proof.isEmpty()) {
            const QString error = printProof(services, bill, draft.currencyCode(), proof);
            refuseMessages(prompter);
            if (!error.isEmpty())
                throw failure(error);
            QString out = QStringLiteral("proof of %1 written to %2\n")
                              .arg(TemplateLookups::fullName(kindName, bill.variant),
                                  QDir::toNativeSeparators(proof));
            if (save)
                out += saveBill();
            return out;
        }
        QString destination;
        const std::unique_ptr<PdfCanvas> canvas = openCliCanvas(services, bill.templateId, pdf,
            printer, QStringLiteral("pennock print %1").arg(kindName), destination,
            QStringLiteral("print"));
        PrintEngine& engine = services.printEngine();
        engine.setCanvas(canvas.get());
        // A PDF of the bill paper is not turned.
        const std::optional<QPoint> offset = engine.prepareJob(bill.templateId, pdf.isEmpty());
        if (!offset)
            throw failure(engine.paperRefusal().isEmpty()
                    ? QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！")
                    : engine.paperRefusal());
        const bool begun = engine.beginJob(copies);
        sendBillToPrinter(
            services.db(), engine, bill, draft.currencyCode(), offset->x(), offset->y());
        const bool ended = engine.endJob();
        engine.setCanvas(nullptr);
        refuseMessages(prompter);
        if (!begun || !ended)
            throw failure(QStringLiteral("打印出错，请检查打印机是否可用！"));

        QString out = QStringLiteral("printed %1 to %2")
                          .arg(TemplateLookups::fullName(kindName, bill.variant), destination);
        if (auto* cups = dynamic_cast<CupsPrinterCanvas*>(canvas.get()))
            out += QStringLiteral(" (job %1, %2 copies)").arg(cups->jobId()).arg(copies);
        out += QLatin1Char('\n');
        if (save)
            out += saveBill();
        return out;
    } catch (const DbError& e) {
        throw failure(e.message());
    }
}

} // namespace pennock::core
