#include "bills/BillDraft.h"

#include "bills/BillKind.h"
#include "bills/TemplateFace.h"
#include "parties/ReferenceLookups.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Database.h"

#include <QSqlQuery>

namespace pennock::core {

namespace {
const QString kRmb = QStringLiteral("人民币");
const QString kTick = QStringLiteral("√");
} // namespace

BillDraft::BillDraft(Services& services, const BillKind& kind)
    : mServices(services)
    , mKind(kind)
{
    mBill.kind = &kind;
}

BillDraft::~BillDraft() = default;

QStringList BillDraft::variants()
{
    return mServices.templates().loadCheckTypeLastNameList(mKind.kind);
}

bool BillDraft::open(const QString& variant)
{
    TemplateLookups& t = mServices.templates();
    int id = 0;
    if (variant.isEmpty())
        id = t.loadDefaultCheckTypeId(mKind.kind);
    else if (variants().contains(variant))
        id = t.loadCheckTypeIDByFirstAndLastName(mKind.kind, variant);
    if (id <= 0)
        return false;
    mBill.templateId = id;
    mBill.variant = t.loadCheckTypeLastNameByID(id);
    mCache = mServices.settings().OpenCheckInif(id);
    const std::optional<TemplateFace> face = TemplateFace::load(mServices.db(), id);
    mCheckLabels = face ? face->checkBoxes.trimmed().split(QLatin1Char(',')) : QStringList {};

    // What the form would show: the catalogue items the layout places, with their initial values.
    QSqlQuery q = mServices.db().exec(
        QStringLiteral("select CtlName from NameDict where CheckTypeName=? order by ID"),
        { mKind.kind });
    while (q.next())
        restoreShown(q.value(0).toString());

    for (const BillOption& o : mKind.options) {
        const QString remembered = Settings::getInifCheckConfigByName(mCache.get(), o.name);
        QString value = QStringLiteral("0");
        if (o.rule == OptionRule::OneChecks)
            value = remembered == u"1" ? QStringLiteral("1") : QStringLiteral("0");
        else if (o.rule == OptionRule::ZeroUnchecks)
            value = remembered == u"0" ? QStringLiteral("0") : QStringLiteral("1");
        else if (o.rule == OptionRule::Choice)
            value = !remembered.isEmpty()    ? remembered
                : !o.defaultChoice.isEmpty() ? o.defaultChoice
                                             : o.choices.value(0);
        mBill.options.insert(o.name.toLower(), value);
        // A remembered option that leaves items out keeps them out, as on the form.
        const bool hides = (o.effect == OptionEffect::Hide && value == u"1")
            || (o.effect == OptionEffect::Show && value != u"1");
        if (hides)
            for (const QString& hidden : o.hides)
                mBill.hidden.insert(hidden.toLower());
    }
    const QString money
        = Settings::getInifCheckConfigByName(mCache.get(), QStringLiteral("cfgDefaultMoney"));
    mBill.currency = money.isEmpty() ? kRmb : money;
    mCode.clear();
    setDate(QDate::currentDate());
    recommitAmount();
    refreshItemChecks();
    return true;
}

void BillDraft::restoreShown(const QString& name)
{
    const QString key = name.toUpper();
    const bool shown = mCache
        && mCache->readInteger(QStringLiteral("viewv"), key + QStringLiteral(".v"), 0) != 0;
    if (shown)
        mBill.hidden.remove(name.toLower());
    else
        mBill.hidden.insert(name.toLower());
    const QString initial = mCache
        ? mCache->readString(QStringLiteral("viewdv"), key + QStringLiteral(".dv"))
        : QString();
    if (!initial.isEmpty())
        mBill.setText(name, initial);
}

QString BillDraft::text(const QString& name) const { return mBill.text(name); }

void BillDraft::setText(const QString& name, const QString& text)
{
    mBill.setText(name, text);
    const QString twin = mKind.twinOf(name);
    if (!twin.isEmpty())
        mBill.setText(twin, text);
}

bool BillDraft::isChecked(const QString& option) const { return mBill.option(option); }

QString BillDraft::optionText(const QString& option) const
{
    return mBill.options.value(option.toLower());
}

RuleMessage BillDraft::setItem(const QString& name, const QString& text)
{
    setText(name, text);
    return mKind.rules->finishItem(*this, mKind, name);
}

bool BillDraft::tick(const QString& name, bool on)
{
    for (qsizetype i = 0; i < mCheckLabels.size(); ++i) {
        if (name.compare(QStringLiteral("DEFCHECK%1").arg(i), Qt::CaseInsensitive) != 0)
            continue;
        mBill.setText(name, on ? kTick : QString());
        refreshItemChecks();
        return true;
    }
    return false;
}

void BillDraft::refreshItemChecks()
{
    QStringList ticked;
    for (qsizetype i = 0; i < mCheckLabels.size(); ++i)
        if (mBill.text(QStringLiteral("DEFCHECK%1").arg(i)) == kTick)
            ticked << mCheckLabels[i];
    mBill.itemChecks = ticked.join(QLatin1Char(','));
}

void BillDraft::setOption(const QString& name, const QString& value)
{
    const BillOption* o = mKind.option(name);
    if (!o)
        return;
    mBill.options.insert(o->name.toLower(), value);
    switch (o->effect) {
    case OptionEffect::Date:
        mKind.rules->writeDate(*this, mKind);
        break;
    case OptionEffect::Amount:
        recommitAmount();
        break;
    case OptionEffect::Hide:
    case OptionEffect::Show:
        for (const QString& hidden : o->hides) {
            if ((value == u"1") == (o->effect == OptionEffect::Hide))
                mBill.hidden.insert(hidden.toLower());
            else
                restoreShown(hidden);
        }
        break;
    case OptionEffect::SwapSides:
        swapSides(*this, mKind);
        break;
    case OptionEffect::None:
        break;
    }
}

void BillDraft::setCurrency(const QString& name)
{
    mBill.currency = name.isEmpty() ? kRmb : name;
    mCode.clear();
    recommitAmount();
}

QString BillDraft::currencyCode()
{
    if (mCode.isEmpty())
        mCode = ReferenceLookups(mServices.db()).getMoneyCodeByName(mBill.currency);
    return mCode;
}

RuleMessage BillDraft::setAmount(const QString& text)
{
    return setAmountAt(mKind.rules->amountTarget(mKind), text);
}

RuleMessage BillDraft::setAmountAt(const QString& control, const QString& text)
{
    const QString committed = mKind.rules->committedInput(text);
    const RuleMessage m = mKind.rules->writeAmount(
        *this, mKind, committed, mBill.currency, currencyCode(), control);
    if (m.refused())
        return m;
    mBill.amount = committed;
    if (!mKind.roles.amountInput.isEmpty())
        mBill.setText(mKind.roles.amountInput, committed);
    return m;
}

void BillDraft::recommitAmount()
{
    const QString target = mKind.rules->amountTarget(mKind);
    mKind.rules->recommit(*this, mKind, mBill.amount, mBill.currency, currencyCode(), target);
}

void BillDraft::setDate(const QDate& date)
{
    mBill.date = date;
    mKind.rules->writeDate(*this, mKind);
}

} // namespace pennock::core
