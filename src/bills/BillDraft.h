#pragma once

#include "bills/Bill.h"
#include "bills/BillRules.h"

#include <QStringList>

#include <memory>

namespace pennock::core {

class IniFile;
class Services;

/// A bill filled without a window, by the same rules as its form: the template's layout decides
/// what is shown, the remembered options what the date and amount look like, and twins follow
/// their items. The command line fills, prints and saves through it.
class BillDraft final : public BillSurface
{
public:
    BillDraft(Services& services, const BillKind& kind);
    ~BillDraft() override;

    /// Lays the bill out on an enabled template of the kind (its default for an empty variant):
    /// shown items, initial values, options, currency, today's date. False when there is no
    /// such template. Throws DbError.
    bool open(const QString& variant = {});

    const Bill& bill() const noexcept { return mBill; }
    /// Variants of the kind's enabled templates.
    QStringList variants();

    QString text(const QString& name) const override;
    /// Writes an item and its twin.
    void setText(const QString& name, const QString& text) override;
    bool isChecked(const QString& option) const override;
    QString optionText(const QString& option) const override;
    QDate billDate() const override { return mBill.date; }
    bool isShown(const QString& name) const override { return mBill.shown(name); }
    std::pair<QString, QString> currency() const override
    {
        return { mBill.currency, const_cast<BillDraft*>(this)->currencyCode() };
    }

    /// Types an item in and finishes it; a refusal leaves the text as typed.
    RuleMessage setItem(const QString& name, const QString& text);
    /// Ticks a user check box, by control name; false when the template has no such box.
    bool tick(const QString& name, bool on);
    /// Ticks an option box ("1"/"0") or chooses a drop-down option's text; the option acts as a
    /// click would.
    void setOption(const QString& name, const QString& value);
    void setCurrency(const QString& name);
    /// Commits an amount through the kind's amount rule.
    RuleMessage setAmount(const QString& text);
    /// Commits an amount typed over one amount control (a part of a total).
    RuleMessage setAmountAt(const QString& control, const QString& text);
    void setDate(const QDate& date);
    /// The currency code of the bill's currency.
    QString currencyCode();

private:
    void recommitAmount();
    void refreshItemChecks();
    void restoreShown(const QString& name);

    Services& mServices;
    const BillKind& mKind;
    Bill mBill;
    std::unique_ptr<IniFile> mCache;
    QStringList mCheckLabels; ///< captions of DEFCHECK0, DEFCHECK1, …
    QString mCode;
};

} // namespace pennock::core
