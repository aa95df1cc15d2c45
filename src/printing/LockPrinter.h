#pragma once

#include "printing/PrinterParam.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

class PrinterBinding;

/// The binding window: chooses the installed printer that every bill prints on, and leads to
/// the matching window for that printer.
class TfmLockPrinter : public QDialog
{
    Q_OBJECT
public:
    TfmLockPrinter(core::Services& services, PrinterBinding& binding, VendorLinks links,
        QWidget* parent = nullptr);

    /// "锁定该打印机为票据打印机"
    void btLockClick();
    /// "适配打印机整体偏移参数": the matching window for the chosen printer, modally; then this
    /// window closes.
    void btShiPeiClick();

    QComboBox* cbPrinters = nullptr;
    QPushButton* btLock = nullptr;
    QPushButton* btShiPei = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    core::Services& mServices;
    PrinterBinding& mBinding;
    VendorLinks mLinks;
};

/// The menu command "锁定/匹配票据打印机": the binding window, modally; it is destroyed when
/// it closes.
void openPrinterBinding(QWidget* mainWindow, core::Services& services, PrinterBinding& binding,
    const VendorLinks& links);

} // namespace pennock::ui
