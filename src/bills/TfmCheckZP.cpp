#include "bills/TfmCheckZP.h"

#include "bills/BankKinds.h"
#include "parties/DAOPerson.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/Database.h"

namespace pennock::ui {

TfmCheckZP::TfmCheckZP(BillEnvironment& env, QWidget* parent)
    : TfmBillForm(core::chequeKind(), env, parent)
{
}

DepositSlipSource TfmCheckZP::depositSlipSource()
{
    DepositSlipSource src = TfmBillForm::depositSlipSource();
    src.billKind = kind().kind;
    core::Services& s = env().services;
    core::DAOPerson dao(s.db());
    // The payee: the party last shown, or the one whose name was typed; a typed name that no
    // party has goes alone.
    if (!src.payeeName.trimmed().isEmpty() && payeeParty()) {
        const QString typed = src.payeeName.trimmed();
        core::TPerson nameOnly;
        nameOnly.全称 = typed;
        if (typed != payeeParty()->全称 || *payeeParty() == nameOnly)
            src.payeeParty = dao.findPersonByFullName(typed);
        else
            src.payeeParty = payeeParty();
    }
    // The drawer: only the party of the account gives the slip a drawer's name; its bank and
    // account are copied as typed.
    const QString drawerName = std::exchange(src.drawerName, QString());
    const QString account = src.drawerAccount.trimmed();
    if (account.isEmpty())
        return src;
    if (const auto party = dao.findPersonByAccount(account)) {
        src.drawerParty = party;
        if (!src.drawerBank.isEmpty() && src.drawerBank != party->开户银行)
            s.prompter().inform(QStringLiteral("账号(") + account
                + QStringLiteral(")的银行信息与填写的不一致，请核对单位账户相应资料.\n")
                + party->开户银行 + QLatin1Char('\n') + src.drawerBank);
        return src;
    }
    if (!s.prompter().ask(QStringLiteral("账号(") + account
                + QStringLiteral(")没有单位账户的保存记录，是否要添加"),
            QStringLiteral("提示")))
        return src;
    core::TPerson person;
    person.全称 = drawerName;
    person.开户银行 = src.drawerBank;
    person.开户行账号 = src.drawerAccount;
    person.单位类型 = QStringLiteral("我方单位");
    try {
        dao.storePerson(person);
    } catch (const core::DbError& e) {
        s.prompter().warn(e.message());
    }
    src.drawerParty = dao.findPersonByAccount(account);
    return src;
}

} // namespace pennock::ui
