#include "bills/BillKinds.h"

#include "bills/BillEnvironment.h"
#include "bills/BillFormRegistry.h"
#include "bills/BillKind.h"
#include "bills/TfmCheckCKSP.h"
#include "bills/TfmCheckJZD.h"
#include "bills/TfmCheckKDD.h"
#include "bills/TfmCheckReceipts.h"
#include "bills/TfmCheckZP.h"

#include <memory>

namespace pennock::ui {

TfmBillForm* createBillForm(const QString& kindName, BillEnvironment& env, QWidget* parent)
{
    const core::BillKind* kind = core::findBillKind(kindName);
    if (!kind)
        return nullptr;
    // Kinds with window behaviour of their own have their own class; the others are the engine
    // on their descriptor.
    std::unique_ptr<TfmBillForm> form;
    if (kind->formClass == u"TfmCheckZP")
        form = std::make_unique<TfmCheckZP>(env, parent);
    else if (kind->formClass == u"TfmCheckJZD")
        form = std::make_unique<TfmCheckJZD>(env, parent);
    else if (kind->formClass == u"TfmCheckKDD")
        form = std::make_unique<TfmCheckKDD>(env, parent);
    else if (kind->formClass == u"TfmCheckReceipts")
        form = std::make_unique<TfmCheckReceipts>(env, parent);
    else if (kind->formClass == u"TfmCheckIVIntel")
        form = std::make_unique<TfmCheckIVIntel>(env, parent);
    else if (kind->formClass == u"TfmCheckCKSP")
        form = std::make_unique<TfmCheckCKSP>(env, parent);
    else
        form = std::make_unique<TfmBillForm>(*kind, env, parent);
    if (!form->valid())
        return nullptr;
    return form.release();
}

void registerBillKinds(BillFormRegistry& registry, BillEnvironment& env)
{
    // The forms keep the main window's current template identity up to date.
    if (!env.setCurrentTemplate)
        env.setCurrentTemplate = [&registry](int id) { registry.setCurrentTemplateId(id); };
    if (!env.openBillForm)
        env.openBillForm = [&registry](const QString& kind) {
            return qobject_cast<TfmBillForm*>(registry.open(kind, true));
        };
    for (const core::BillKind* kind : core::billKinds())
        if (kind->hasForm())
            registry.registerForm(kind->kind, kind->formClass, kind->opensBesideOthers,
                [name = kind->kind, &env]() -> QWidget* { return createBillForm(name, env); });
}

} // namespace pennock::ui
