#pragma once

#include "bills/TfmBillForm.h"

namespace pennock::ui {

/// The cheque form ("支票"): the engine on the cheque's descriptor.
class TfmCheckZP : public TfmBillForm
{
    Q_OBJECT
public:
    explicit TfmCheckZP(BillEnvironment& env, QWidget* parent = nullptr);
};

} // namespace pennock::ui
