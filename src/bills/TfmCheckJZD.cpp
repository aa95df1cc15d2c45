#include "bills/TfmCheckJZD.h"

#include "bills/BankKinds.h"

#include <QDateEdit>

namespace pennock::ui {

TfmCheckJZD::TfmCheckJZD(BillEnvironment& env, QWidget* parent)
    : TfmBillForm(core::depositSlipKind(), env, parent)
{
}

void TfmCheckJZD::optionHook(const core::BillOption& option, bool)
{
    if (option.name == u"cfgChangeInOuter")
        swapParties();
}

void TfmCheckJZD::swapParties()
{
    // What is on screen is what swaps, typed or picked.
    const auto sideParty = [this](const core::PartySide& side) {
        core::TPerson p;
        p.全称 = itemText(side.name);
        p.开户银行 = itemText(side.bank);
        p.开户行账号 = itemText(side.account);
        return p;
    };
    const core::TPerson drawer = sideParty(kind().drawer);
    core::TPerson payee = sideParty(kind().payee);
    if (payee.全称 == kind().payeePlaceholder)
        payee.全称.clear();
    setSender(payee);
    setReceiver(drawer);
    markChanged();
}

void TfmCheckJZD::receiveDepositSlip(const DepositSlipSource& src)
{
    // An open slip becomes a new one: the bill it showed stays as it was stored.
    btNewClick();
    setLoading(true);
    if (src.payeeParty)
        setReceiver(src.payeeParty);
    else
        setInComp(src.payeeName);
    if (!src.payeeParty && (!src.payeeBank.isEmpty() || !src.payeeAccount.isEmpty())) {
        setItemText(kind().payee.bank, src.payeeBank);
        setItemText(kind().payee.account, src.payeeAccount);
    }
    if (src.drawerParty) {
        setSender(src.drawerParty);
    } else {
        setItemText(kind().drawer.name, src.drawerName);
        setItemText(kind().drawer.bank, src.drawerBank);
        setItemText(kind().drawer.account, src.drawerAccount);
    }
    setLoading(false);
    setMoneyName(src.currency);
    setItemText(kind().roles.amountInput, src.amount);
    inputJEXXExit();
    setItemText(QStringLiteral("zdPJZL"), src.billKind);
    setItemText(QStringLiteral("zdPJZS"), src.billCount);
    setItemText(QStringLiteral("zdPJHM"), src.billNumber);
    setBillDate(src.date.isValid() ? src.date : QDate::currentDate());
    markChanged();
    refreshCaption(core::CaptionMoment::NewBill);
}

} // namespace pennock::ui
