#include "bills/TfmCheckJZD.h"

#include "bills/BankKinds.h"

#include <QDateEdit>

namespace pennock::ui {

TfmCheckJZD::TfmCheckJZD(BillEnvironment& env, QWidget* parent)
    : TfmBillForm(core::depositSlipKind(), env, parent)
{
}

void TfmCheckJZD::setInBank(const QString& text) { setItemText(kind().payee.bank, text); }
void TfmCheckJZD::setInBankAcct(const QString& text) { setItemText(kind().payee.account, text); }
void TfmCheckJZD::setOutComp(const QString& text) { setItemText(kind().drawer.name, text); }
void TfmCheckJZD::setOutBank(const QString& text) { setItemText(kind().drawer.bank, text); }
void TfmCheckJZD::setOutBankAcct(const QString& text) { setItemText(kind().drawer.account, text); }
void TfmCheckJZD::setPJZShu(const QString& text) { setItemText(QStringLiteral("zdPJZS"), text); }
void TfmCheckJZD::setPJZLei(const QString& text) { setItemText(QStringLiteral("zdPJZL"), text); }
void TfmCheckJZD::setPJHMa(const QString& text) { setItemText(QStringLiteral("zdPJHM"), text); }

void TfmCheckJZD::receiveDepositSlip(const DepositSlipSource& src)
{
    // An open slip becomes a new one: the bill it showed stays as it was stored.
    newBill();
    setLoading(true);
    if (src.payeeParty) {
        setReceiver(src.payeeParty);
    } else {
        // What the bill gives, even nothing: the slip's earlier payee has no part in this one.
        setInComp(src.payeeName);
        setInBank(src.payeeBank);
        setInBankAcct(src.payeeAccount);
    }
    if (src.drawerParty) {
        setSender(src.drawerParty);
    } else {
        setOutComp(src.drawerName);
        setOutBank(src.drawerBank);
        setOutBankAcct(src.drawerAccount);
    }
    setLoading(false);
    setMoneyName(src.currency);
    setItemText(kind().roles.amountInput, src.amount);
    inputJEXXExit();
    setPJZLei(src.billKind);
    setPJZShu(src.billCount);
    setPJHMa(src.billNumber);
    setBillDate(src.date.isValid() ? src.date : QDate::currentDate());
    markChanged();
    refreshCaption(core::CaptionMoment::NewBill);
}

} // namespace pennock::ui
