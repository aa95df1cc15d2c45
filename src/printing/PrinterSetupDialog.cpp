#include "printing/PrinterSetupDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace pennock::ui {

PrinterSetupDialog::Result QtPrinterSetupDialog::exec(QPrinter& printer, QWidget* parent)
{
    if (!printer.isValid())
        return Result::Unavailable;
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    return dialog.exec() == QDialog::Accepted ? Result::Accepted : Result::Rejected;
}

} // namespace pennock::ui
