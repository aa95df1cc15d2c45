#pragma once

#include "bills/TfmBillForm.h"

namespace pennock::ui {

/// The deposit slip ("进账单"): filled from cheques, wire transfers and custom bills.
class TfmCheckJZD : public TfmBillForm
{
    Q_OBJECT
public:
    explicit TfmCheckJZD(BillEnvironment& env, QWidget* parent = nullptr);

    void receiveDepositSlip(const DepositSlipSource& source) override;

    // Each writes the item and, through its twin, the second copy of the slip.
    void setInBank(const QString& text);
    void setInBankAcct(const QString& text);
    void setOutComp(const QString& text);
    void setOutBank(const QString& text);
    void setOutBankAcct(const QString& text);
    void setPJZShu(const QString& text);
    void setPJZLei(const QString& text);
    void setPJHMa(const QString& text);
};

} // namespace pennock::ui
