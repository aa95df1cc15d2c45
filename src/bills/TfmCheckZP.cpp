#include "bills/TfmCheckZP.h"

namespace pennock::ui {

TfmCheckZP::TfmCheckZP(BillEnvironment& env, QWidget* parent)
    : TfmBillForm(core::chequeKind(), env, parent)
{
}

} // namespace pennock::ui
