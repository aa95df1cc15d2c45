#include "bills/BillKinds.h"

#include "bills/BillEnvironment.h"
#include "bills/BillFormRegistry.h"
#include "bills/BillKind.h"
#include "bills/TfmCheckZP.h"

#include <memory>

namespace pennock::ui {

TfmBillForm* createBillForm(const QString& kind, BillEnvironment& env, QWidget* parent)
{
    std::unique_ptr<TfmBillForm> form;
    if (kind == core::chequeKind().kind)
        form = std::make_unique<TfmCheckZP>(env, parent);
    if (!form || !form->valid())
        return nullptr;
    return form.release();
}

void registerBillKinds(BillFormRegistry& registry, BillEnvironment& env)
{
    // The forms keep the main window's current template identity up to date.
    if (!env.setCurrentTemplate)
        env.setCurrentTemplate = [&registry](int id) { registry.setCurrentTemplateId(id); };
    for (const QString& kind : core::billKindNames()) {
        const core::BillKind* descriptor = core::findBillKind(kind);
        registry.registerForm(kind, descriptor->formClass,
            [kind, &env]() -> QWidget* { return createBillForm(kind, env); });
    }
}

} // namespace pennock::ui
