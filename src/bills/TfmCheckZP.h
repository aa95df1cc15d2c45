#pragma once

#include "bills/TfmBillForm.h"

namespace pennock::ui {

/// The cheque form ("支票"). Its deposit slip looks the parties up: the payee by name, the drawer
/// by account, offering to record an account that has no party yet.
class TfmCheckZP : public TfmBillForm
{
    Q_OBJECT
public:
    explicit TfmCheckZP(BillEnvironment& env, QWidget* parent = nullptr);

protected:
    DepositSlipSource depositSlipSource() override;
};

} // namespace pennock::ui
