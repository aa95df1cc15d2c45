#include "printing/CalibrateCommand.h"

#include "platform/Prompter.h"
#include "printing/CalibrationSheet.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintFonts.h"
#include "printing/PrinterCalibration.h"
#include "printing/Services.h"
#include "printing/TemplateTestPrint.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/CliArgs.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

namespace pennock::core {

namespace {

CliError failure(const QString& text) { return CliError { QStringLiteral("calibrate: ") + text }; }

QString mm(double value) { return QString::number(value, 'g', 6); }

} // namespace

QString runCalibrate(const QStringList& args)
{
    const QString home = cliHome(args);
    const QString printer = cliOption(args, QStringLiteral("--printer")).trimmed();
    const QString templateText = cliOption(args, QStringLiteral("--template"));
    const QString sheet = cliOption(args, QStringLiteral("--sheet"));
    const QString measured = cliOption(args, QStringLiteral("--measured"));
    const bool reset = args.contains(QStringLiteral("--reset"));
    if (printer.isEmpty())
        throw failure(QStringLiteral("--printer NAME is required"));
    if (int(!sheet.isEmpty()) + int(!measured.isEmpty()) + int(reset) != 1)
        throw failure(
            QStringLiteral("give one of --sheet FILE, --measured X1,Y1,X2,Y2 or --reset"));
    requireInstallation(home);

    ConsolePrompter prompter;
    Services services(home, prompter);
    QSizeF paper(210, 297);
    if (!templateText.isEmpty()) {
        bool ok = false;
        const int id = templateText.toInt(&ok);
        const bool exists = ok
            && services.db()
                    .scalar(QStringLiteral("select count(*) from CKTypeTable where CheckTypeID=?"),
                        { id })
                    .toInt()
                > 0;
        if (!exists)
            throw failure(QStringLiteral("no template %1").arg(templateText));
        const QSize size = templatePaperSize(services.db(), id);
        paper = QSizeF(size.width() / 10.0, size.height() / 10.0);
    }
    const std::pair<QPointF, QPointF> marks = PrinterCalibration::marks(paper);
    IniFile& ini = services.settings().userIni();

    if (reset) {
        PrinterCalibration::reset(ini, printer);
        ini.flush();
        return QStringLiteral("calibration of %1 removed\n").arg(printer);
    }
    if (!sheet.isEmpty()) {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            throw failure(QStringLiteral("printing needs a graphical application object"));
        installPrintFontSubstitutions();
        PdfCanvas canvas(
            sheet, PdfCanvas::paperLayout(int(paper.width() * 10), int(paper.height() * 10)));
        if (!canvas.beginDocument())
            throw failure(canvas.errorString());
        drawCalibrationSheet(canvas, paper, marks);
        if (!canvas.endDocument())
            throw failure(canvas.errorString());
        return QStringLiteral("marks %1,%2 %3,%4\n")
            .arg(mm(marks.first.x()), mm(marks.first.y()), mm(marks.second.x()),
                mm(marks.second.y()));
    }
    const QStringList parts = measured.split(QLatin1Char(','));
    double values[4] = {};
    bool ok = parts.size() == 4;
    for (int i = 0; ok && i < 4; ++i)
        values[i] = parts[i].trimmed().toDouble(&ok);
    if (!ok)
        throw failure(
            QStringLiteral("--measured takes four millimetres X1,Y1,X2,Y2: %1").arg(measured));
    const std::optional<PrinterCalibration> c = PrinterCalibration::fromMeasured(
        marks, { QPointF(values[0], values[1]), QPointF(values[2], values[3]) });
    if (!c)
        throw failure(
            QStringLiteral("the marks measured %1 cannot be the marks %2,%3 %4,%5 of this sheet")
                .arg(measured, mm(marks.first.x()), mm(marks.first.y()), mm(marks.second.x()),
                    mm(marks.second.y())));
    c->store(ini, printer);
    if (!ini.flush())
        throw failure(ini.errorString());
    return QStringLiteral("calibration of %1: %2\n").arg(printer, c->describe());
}

} // namespace pennock::core
