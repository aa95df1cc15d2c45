#include "printing/PrinterBinding.h"

#include "printing/CalibrationSheet.h"
#include "printing/PdfCanvas.h"

#include "platform/Prompter.h"
#include "printing/PrintEngine.h"
#include "printing/PrinterCalibration.h"
#include "printing/PrinterSetupDialog.h"
#include "settings/Settings.h"

#include <QPrinterInfo>

namespace pennock::ui {

PrinterBinding::PrinterBinding(core::Settings& settings, core::Prompter& prompter,
    core::PrintEngine& engine, PrinterSetupDialog& dialog, const QStringList& printers,
    QObject* parent)
    : QObject(parent)
    , mSettings(settings)
    , mPrompter(prompter)
    , mEngine(engine)
    , mDialog(dialog)
    , mPrinters(printers)
    , mPrinter(QPrinter::HighResolution)
    , mCanvas(mPrinter)
{
    mIndex = int(mPrinters.indexOf(mPrinter.printerName()));
    mEngine.setCanvas(&mCanvas);
    applyCalibration();
}

void PrinterBinding::applyCalibration()
{
    mEngine.setCalibration(
        core::PrinterCalibration::load(mSettings.userIni(), mPrinter.printerName()));
}

QString PrinterBinding::printCalibrationSheet(const QSizeF& paperMm)
{
    if (mPrinters.isEmpty())
        return QStringLiteral("没有检测到任何打印机驱动");
    const QPageLayout before = mPrinter.pageLayout();
    mPrinter.setPageLayout(
        core::PdfCanvas::paperLayout(int(paperMm.width() * 10), int(paperMm.height() * 10)));
    QString failure;
    if (!mCanvas.beginDocument()) {
        failure = mCanvas.errorString();
    } else {
        core::drawCalibrationSheet(mCanvas, paperMm, core::PrinterCalibration::marks(paperMm));
        if (!mCanvas.endDocument())
            failure = mCanvas.errorString();
    }
    mPrinter.setPageLayout(before);
    return failure;
}

PrinterBinding::~PrinterBinding()
{
    if (mEngine.canvas() == &mCanvas)
        mEngine.setCanvas(nullptr);
}

QStringList PrinterBinding::installedPrinters() { return QPrinterInfo::availablePrinterNames(); }

void PrinterBinding::setDefaultPrinter(const QString& name)
{
    QString wanted = name;
    if (wanted.trimmed().isEmpty())
        wanted = mSettings.getConfigByname(QStringLiteral("DefaultPrinter"));
    if (wanted.isEmpty() && mPrinters.size() > 1)
        return;
    for (qsizetype i = 0; i < mPrinters.size(); ++i) {
        if (mPrinters[i].compare(wanted, Qt::CaseInsensitive) == 0) {
            mPrinter.setPrinterName(mPrinters[i]);
            applyCalibration();
            mRemembered = wanted;
            mIndex = int(i);
            emit printerSelected(mIndex);
            return;
        }
    }
}

void PrinterBinding::PrinterConfigClick(QWidget* parent)
{
    if (mPrinters.isEmpty()) {
        mPrompter.warn(QStringLiteral("没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，"
                                      "请重新打开软件！"),
            QStringLiteral("错误"));
        return;
    }
    const QPageSize before = mPrinter.pageLayout().pageSize();
    switch (mDialog.exec(mPrinter, parent)) {
    case PrinterSetupDialog::Result::Accepted:
        // A paper the user picked here is kept for the bills that follow.
        if (!mPrinter.pageLayout().pageSize().isEquivalentTo(before))
            mCanvas.keepPaper(true);
        mEngine.setPrintJobReady(true);
        follow(mPrinter.printerName());
        break;
    case PrinterSetupDialog::Result::Rejected:
        mEngine.setPrintJobReady(false);
        break;
    case PrinterSetupDialog::Result::Unavailable:
        mPrompter.warn(QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！"),
            QStringLiteral("提示"));
        break;
    }
}

void PrinterBinding::follow(const QString& printerName)
{
    // The dialog may have switched printers; the list follows the choice.
    const int index = int(mPrinters.indexOf(printerName));
    applyCalibration();
    if (index != mIndex) {
        mIndex = index;
        if (index >= 0)
            emit printerSelected(index);
    }
}

} // namespace pennock::ui
