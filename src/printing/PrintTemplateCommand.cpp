#include "printing/PrintTemplateCommand.h"

#include "platform/Prompter.h"
#include "printing/CupsPrinterCanvas.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/Services.h"
#include "printing/TemplateTestPrint.h"
#include "store/CliArgs.h"
#include "store/ProgramFolder.h"

#include <QDir>
#include <QGuiApplication>

#include <memory>

namespace pennock::core {

namespace {

int wholeNumber(const QString& text, const QString& option)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1)
        throw CliError { QStringLiteral(
            "print-template: %1 must be a whole number of at least 1: %2")
                             .arg(option, text) };
    return value;
}

} // namespace

QString runPrintTemplate(const QStringList& args)
{
    const QString home = cliHome(args);
    const QString templateText = cliOption(args, QStringLiteral("--template"));
    const QString pdf = cliOption(args, QStringLiteral("--pdf"));
    const QString printer = cliOption(args, QStringLiteral("--printer"));
    const QString copiesText = cliOption(args, QStringLiteral("--copies"));
    if (templateText.isEmpty())
        throw CliError { QStringLiteral("print-template: --template ID is required") };
    const int templateId = wholeNumber(templateText, QStringLiteral("--template"));
    const int copies
        = copiesText.isEmpty() ? 1 : wholeNumber(copiesText, QStringLiteral("--copies"));
    if (pdf.isEmpty() == printer.isEmpty())
        throw CliError { QStringLiteral(
            "print-template: give either --pdf FILE or --printer NAME") };
    requireInstallation(home);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw CliError { QStringLiteral(
            "print-template: fonts need a graphical application object") };

    installPrintFontSubstitutions();
    ConsolePrompter prompter;
    Services services(home, prompter);
    PrintEngine engine(services.db(), prompter);
    try {
        if (!services.db()
                 .scalar(QStringLiteral("select 1 from CKTypeTable where CheckTypeID=?"),
                     { templateId })
                 .isValid())
            throw CliError { QStringLiteral("print-template: no template %1").arg(templateId) };

        std::unique_ptr<PdfCanvas> canvas;
        QString destination;
        if (!pdf.isEmpty()) {
            const QSize paper = templatePaperSize(services.db(), templateId);
            canvas = std::make_unique<PdfCanvas>(
                pdf, PdfCanvas::paperLayout(paper.width(), paper.height()));
            destination = QDir::toNativeSeparators(pdf);
        } else {
            auto cups = CupsPrinterCanvas::open(
                printer, QStringLiteral("pennock print-template %1").arg(templateId));
            if (!cups)
                throw CliError {
                    QStringLiteral("print-template: no printer named %1").arg(printer)
                };
            destination = QStringLiteral("printer %1").arg(cups->printerName());
            canvas = std::move(cups);
        }
        engine.setCanvas(canvas.get());
        const TestPrintResult result
            = printTemplateSample(engine, services.db(), templateId, copies, pdf.isEmpty());
        if (!result.printed)
            throw CliError { QStringLiteral("print-template: ") + result.error };
        if (!result.failed.isEmpty())
            throw CliError { QStringLiteral("print-template: %1 item(s) could not be printed (%2); "
                                            "the others went to %3")
                                 .arg(result.failed.size())
                                 .arg(result.failed.join(QStringLiteral(", ")), destination) };
        QString line = QStringLiteral("printed %1 items of template %2 to %3")
                           .arg(result.items)
                           .arg(templateId)
                           .arg(destination);
        if (auto* cups = dynamic_cast<CupsPrinterCanvas*>(canvas.get()))
            line += QStringLiteral(" (job %1)").arg(cups->jobId());
        return line + QLatin1Char('\n');
    } catch (const DbError& e) {
        throw CliError { e.message() };
    }
}

} // namespace pennock::core
