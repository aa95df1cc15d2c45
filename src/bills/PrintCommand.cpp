#include "bills/PrintCommand.h"

#include "store/CliArgs.h"
#include "printing/Services.h"
#include "bills/AmountInputBox.h"
#include "bills/BillEnvironment.h"
#include "bills/BillKind.h"
#include "bills/BillKinds.h"
#include "bills/TfmBillForm.h"
#include "platform/Prompter.h"
#include "printing/CupsPrinterCanvas.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/TemplateTestPrint.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace pennock::ui {

namespace {

using core::CliError;

// Every box the form shows becomes a line of the command's complaint; questions are answered No.
class CollectingPrompter final : public core::Prompter
{
public:
    void inform(const QString& text, const QString& = {}) override { mTexts << text; }
    void warn(const QString& text, const QString& = {}) override { mTexts << text; }
    bool ask(const QString& text, const QString& = {}) override
    {
        mTexts << text;
        return false;
    }
    QStringList take() { return std::exchange(mTexts, {}); }

private:
    QStringList mTexts;
};

CliError failure(const QString& text) { return CliError { QStringLiteral("print: ") + text }; }

void refuseMessages(CollectingPrompter& prompter)
{
    const QStringList texts = prompter.take();
    if (!texts.isEmpty())
        throw failure(texts.join(QStringLiteral("; ")));
}

QStringList setOptions(const QStringList& args)
{
    QStringList sets;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] != u"--set")
            continue;
        if (i + 1 >= args.size() || !args[i + 1].contains(QLatin1Char('=')))
            throw failure(QStringLiteral("--set needs CONTROL=VALUE"));
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

void applySet(TfmBillForm& form, const QString& assignment)
{
    const qsizetype at = assignment.indexOf(QLatin1Char('='));
    const QString name = assignment.left(at).trimmed();
    const QString value = assignment.mid(at + 1);
    const core::BillKind& kind = form.kind();
    const core::BillControl* control = kind.control(name);
    QWidget* widget = nullptr;
    if (QCheckBox* box = form.option(name))
        widget = box;
    else if (name.compare(QStringLiteral("cfgMoneyType"), Qt::CaseInsensitive) == 0)
        widget = form.cfgMoneyType();
    else if (control)
        widget = form.item(name);
    else
        for (QCheckBox* check : form.itemChecks())
            if (check->objectName().compare(name, Qt::CaseInsensitive) == 0)
                widget = check;
    if (!widget)
        throw failure(QStringLiteral("unknown control %1 of %2").arg(name, kind.kind));
    if (control
        && (control->kind == core::ControlKind::ReadOnlyEdit
            || control->kind == core::ControlKind::AmountInput
            || control->kind == core::ControlKind::DatePicker
            || control->kind == core::ControlKind::Shape))
        throw failure(
            QStringLiteral("%1 is filled by the form (use --amount or --date)").arg(name));
    if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        const std::optional<bool> tick = tickOf(value);
        if (!tick)
            throw failure(QStringLiteral("%1 takes 1 or 0: %2").arg(name, value));
        if (!check->isEnabled())
            throw failure(QStringLiteral("%1 cannot be changed on %2").arg(name, kind.kind));
        if (check->isChecked() != *tick)
            check->click(); // the option's own effect runs as for a click
        return;
    }
    if (!form.setItemText(name, value))
        throw failure(QStringLiteral("%1 has no entry %2").arg(name, value));
}

} // namespace

QString runPrint(const QStringList& args)
{
    const QString home = core::cliHome(args);
    const QString kindName = core::cliOption(args, QStringLiteral("--kind"));
    const QString variant = core::cliOption(args, QStringLiteral("--template"));
    const QString amount = core::cliOption(args, QStringLiteral("--amount"));
    const QString dateText = core::cliOption(args, QStringLiteral("--date"));
    const QString copiesText = core::cliOption(args, QStringLiteral("--copies"));
    const QString pdf = core::cliOption(args, QStringLiteral("--pdf"));
    const QString printer = core::cliOption(args, QStringLiteral("--printer"));
    const bool save = args.contains(QStringLiteral("--save"));
    const QStringList sets = setOptions(args);

    if (kindName.isEmpty())
        throw failure(QStringLiteral("--kind KIND is required"));
    if (!core::findBillKind(kindName))
        throw failure(QStringLiteral("unknown bill kind %1 (kinds with a form: %2)")
                          .arg(kindName, core::billKindNames().join(QStringLiteral(", "))));
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
    if (pdf.isEmpty() == printer.isEmpty())
        throw failure(QStringLiteral("give either --pdf FILE or --printer NAME"));
    if (!QFileInfo::exists(core::ProgramFolder(home).databasePath()))
        throw CliError { QStringLiteral("no installation in %1 (run init first)").arg(home) };
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw failure(QStringLiteral("the bill forms need a widget application object"));

    core::installPrintFontSubstitutions();
    CollectingPrompter prompter;
    core::Services services(home, prompter);
    BillEnvironment env(services);
    env.turnPaper = pdf.isEmpty();
    env.printers = [&pdf] {
        return pdf.isEmpty() ? core::CupsPrinterCanvas::printerNames() : QStringList { pdf };
    };
    try {
        std::unique_ptr<TfmBillForm> form(createBillForm(kindName, env));
        if (!form) {
            const QStringList texts = prompter.take();
            throw failure(texts.isEmpty() ? QStringLiteral("no usable template of %1").arg(kindName)
                                          : texts.join(QStringLiteral("; ")));
        }
        prompter.take(); // a missing default template is told but does not stop the bill
        if (!variant.isEmpty()) {
            const int index = form->cbFirstTypeName()->findText(variant);
            if (index < 0) {
                QStringList known;
                for (int i = 0; i < form->cbFirstTypeName()->count(); ++i)
                    known << form->cbFirstTypeName()->itemText(i);
                throw failure(QStringLiteral("no enabled template %1 (templates: %2)")
                                  .arg(core::TemplateLookups::fullName(kindName, variant),
                                      known.join(QStringLiteral(", "))));
            }
            form->cbFirstTypeName()->setCurrentIndex(index);
            form->cbFirstTypeNameChange();
        }
        for (const QString& assignment : sets)
            applySet(*form, assignment);
        if (!amount.isEmpty()) {
            form->inputJEXX()->setText(amount);
            form->inputJEXXExit();
        }
        if (date.isValid())
            form->setBillDate(date);
        refuseMessages(prompter);

        std::unique_ptr<core::PdfCanvas> canvas;
        QString destination;
        if (!pdf.isEmpty()) {
            const QSize paper = core::templatePaperSize(services.db(), form->currentTypeId());
            canvas = std::make_unique<core::PdfCanvas>(
                pdf, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
            destination = QDir::toNativeSeparators(pdf);
        } else {
            auto cups = core::CupsPrinterCanvas::open(
                printer, QStringLiteral("pennock print %1").arg(kindName));
            if (!cups)
                throw failure(QStringLiteral("no printer named %1").arg(printer));
            destination = QStringLiteral("printer %1").arg(cups->printerName());
            canvas = std::move(cups);
        }
        core::PrintEngine& engine = services.printEngine();
        engine.setCanvas(canvas.get());
        form->PrintPrepare();
        const bool ready = engine.printJobReady();
        form->PrinterTransBegin(copies);
        form->SendCheckToPrinter();
        form->PrinterTransEnd();
        engine.setCanvas(nullptr);
        refuseMessages(prompter);
        if (!ready)
            throw failure(QStringLiteral("nothing was printed"));

        QString out
            = QStringLiteral("printed %1 to %2")
                  .arg(core::TemplateLookups::fullName(kindName, form->variant()), destination);
        if (auto* cups = dynamic_cast<core::CupsPrinterCanvas*>(canvas.get()))
            out += QStringLiteral(" (job %1, %2 copies)").arg(cups->jobId()).arg(copies);
        out += QLatin1Char('\n');
        if (save) {
            form->setShowSaveMessages(false);
            const bool saved = form->save();
            refuseMessages(prompter);
            if (!saved)
                throw failure(QStringLiteral("the bill was printed but not saved"));
            out += QStringLiteral("saved as 流水号 %1\n").arg(form->serialNo());
        }
        return out;
    } catch (const core::DbError& e) {
        throw failure(e.message());
    }
}

} // namespace pennock::ui
