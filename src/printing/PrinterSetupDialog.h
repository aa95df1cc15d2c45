#pragma once

class QPrinter;
class QWidget;

namespace pennock::ui {

/// The platform's printer set-up dialog (printer, paper, orientation); tests script it.
class PrinterSetupDialog
{
public:
    enum class Result { Accepted, Rejected, Unavailable };

    virtual ~PrinterSetupDialog() = default;
    /// Shows the dialog for `printer`, which takes the choices on OK.
    virtual Result exec(QPrinter& printer, QWidget* parent) = 0;
};

/// Qt's print dialog.
class QtPrinterSetupDialog final : public PrinterSetupDialog
{
public:
    Result exec(QPrinter& printer, QWidget* parent) override;
};

} // namespace pennock::ui
