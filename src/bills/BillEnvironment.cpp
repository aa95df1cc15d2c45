#include "bills/BillEnvironment.h"

#include "bills/InputValue.h"
#include "parties/PersonInfo.h"
#include "parties/PersonManage.h"
#include "printing/PrinterBinding.h"

namespace pennock::ui {

BillEnvironment BillEnvironment::forMainWindow(core::Services& services, PrinterBinding& binding,
    GridServices& grids, QWidget* mainWindow, std::function<bool()> popPrinterDialog,
    std::function<std::optional<core::TPerson>()> defaultDrawer)
{
    BillEnvironment env(services);
    env.dialogParent = mainWindow;
    env.printers = [&binding] { return binding.printers(); };
    env.popPrinterDialog = std::move(popPrinterDialog);
    env.printerDialog = [&binding](QWidget* parent) { binding.PrinterConfigClick(parent); };
    env.defaultDrawer = std::move(defaultDrawer);
    env.pickParty = [&services, &grids, mainWindow](const QString& type, const QString& caption) {
        return fetchOnePerson(mainWindow, services, grids, type, caption);
    };
    env.savePerson = [&services, mainWindow](const core::TPerson& person) {
        savePersonFromBill(mainWindow, services, person);
    };
    env.giveMeAnValue = [mainWindow](const QString& prompt, const QString& defaultValue,
                            const QString& valueType) {
        return ui::giveMeAnValue(mainWindow, prompt, defaultValue, valueType);
    };
    return env;
}

} // namespace pennock::ui
