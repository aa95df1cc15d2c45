#pragma once

#include "bills/TfmBillForm.h"

namespace pennock::ui {

/// The deposit slip ("进账单"): swaps drawer and payee on request and is filled from cheques,
/// wire transfers and custom bills.
class TfmCheckJZD : public TfmBillForm
{
    Q_OBJECT
public:
    explicit TfmCheckJZD(BillEnvironment& env, QWidget* parent = nullptr);

    void receiveDepositSlip(const DepositSlipSource& source) override;
    /// `cfgChangeInOuter`: the drawer becomes the payee and the payee the drawer.
    void swapParties();

protected:
    void optionHook(const core::BillOption& option, bool checked) override;
};

} // namespace pennock::ui
