#pragma once

#include "parties/AddressSplit.h"
#include "parties/TPerson.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

class GridServices;
class PrinterBinding;
class TfmBillForm;

/// What a bill form needs from the main window. Windows that wait for a person are reached
/// through the function members, so tests script them; a member left empty disables the
/// command that needs it.
struct BillEnvironment
{
    explicit BillEnvironment(core::Services& s)
        : services(s)
    {
    }

    core::Services& services;
    /// Parent of the dialogs the form opens.
    QWidget* dialogParent = nullptr;
    /// Names of the installed printers; printing refuses while there is none.
    std::function<QStringList()> printers;
    /// "打印前弹出打印机配置窗口"
    std::function<bool()> popPrinterDialog;
    /// The printer dialog: confirming keeps the engine's `printJobReady`, cancelling clears it.
    std::function<void(QWidget* parent)> printerDialog;
    /// Turn the paper as the template's `HVPrint` says (a PDF of the bill paper is not turned).
    bool turnPaper = true;
    /// The default drawer, set only while "启用默认出票人" is on.
    std::function<std::optional<core::TPerson>()> defaultDrawer;
    /// The party picker: party type and caption; none when cancelled.
    std::function<std::optional<core::TPerson>(const QString& type, const QString& caption)>
        pickParty;
    /// "存收款人": stores a counterparty built from the bill.
    std::function<void(const core::TPerson& person)> savePerson;
    /// The value input dialog: prompt, default, value type; empty when cancelled.
    std::function<QString(
        const QString& prompt, const QString& defaultValue, const QString& valueType)>
        giveMeAnValue;
    /// The main window's current template identity.
    std::function<void(int templateId)> setCurrentTemplate;
    /// Windows of their own: offset calibration, design mode (modal; the form lays itself out
    /// again afterwards), template manager, the kind's history search.
    std::function<void(int templateId)> openOffsetCalibration;
    std::function<void(int templateId)> openDesignMode;
    std::function<void(int templateId)> openTemplateManager;
    std::function<void(const QString& kind)> openHistory;
    /// Opens the form of another kind beside this one (making a deposit slip); null when it
    /// cannot be opened.
    std::function<TfmBillForm*(const QString& kind)> openBillForm;
    /// Shows a pasted address as split for correction; none when cancelled. Empty: the dialog.
    std::function<std::optional<core::SplitAddress>(
        const core::SplitAddress& split, const QString& pasted)>
        confirmAddress;
    /// Opens a file with the desktop's program for it (a proof PDF).
    std::function<void(const QString& path)> openFile;
    /// The batch window of a form that prints many bills from one (waybills).
    std::function<void(TfmBillForm* form)> openBatch;

    /// The environment of the main window's bill forms: its printers and printer dialog, the
    /// party picker and editor, the value input dialog. The option callbacks read the main
    /// window's flags at the moment they are needed.
    static BillEnvironment forMainWindow(core::Services& services, PrinterBinding& binding,
        GridServices& grids, QWidget* mainWindow, std::function<bool()> popPrinterDialog,
        std::function<std::optional<core::TPerson>()> defaultDrawer);
};

} // namespace pennock::ui
