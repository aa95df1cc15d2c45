#pragma once

#include <QDate>
#include <QHash>
#include <QString>

#include <optional>
#include <utility>

namespace pennock::core {

struct BillKind;

/// What the value rules of a bill read and write: the form's controls, or a bill filled
/// without a window. Names compare without regard to letter case.
class BillSurface
{
public:
    virtual ~BillSurface() = default;
    virtual QString text(const QString& name) const = 0;
    virtual void setText(const QString& name, const QString& text) = 0;
    /// An option box of the option bar is ticked.
    virtual bool isChecked(const QString& option) const = 0;
    /// The text of a drop-down option of the option bar.
    virtual QString optionText(const QString& option) const = 0;
    virtual QDate billDate() const = 0;
    /// The bill's currency: its name and its code (symbol).
    virtual std::pair<QString, QString> currency() const { return {}; }
    /// The control is shown (and so printed).
    virtual bool isShown(const QString& name) const { return !name.isEmpty(); }
};

/// A surface over another that keeps its own writes: a rule may run on it to see what it would
/// write, leaving the bill as it is.
class ShadowSurface final : public BillSurface
{
public:
    explicit ShadowSurface(const BillSurface& base)
        : mBase(base)
    {
    }
    QString text(const QString& name) const override;
    void setText(const QString& name, const QString& text) override;
    bool isChecked(const QString& option) const override { return mBase.isChecked(option); }
    QString optionText(const QString& option) const override { return mBase.optionText(option); }
    QDate billDate() const override { return mBase.billDate(); }
    std::pair<QString, QString> currency() const override { return mBase.currency(); }
    bool isShown(const QString& name) const override { return mBase.isShown(name); }

private:
    const BillSurface& mBase;
    QHash<QString, QString> mWritten; ///< by lower-case name
};

/// Why a bill whose total is not what its amounts make is not saved.
QString totalsDisagreeMessage();

/// A refused value: the message and its caption. Empty when accepted.
struct RuleMessage
{
    QString text {};
    QString caption {};
    bool refused() const { return !text.isEmpty(); }
};

/// How a kind derives the values shown from what the user typed: the date controls, the amount
/// presentations, and the items that are converted when the user finishes them. The bank bills
/// share these rules; a kind whose rules differ overrides the hook.
class BillRules
{
public:
    virtual ~BillRules() = default;

    /// Writes the date controls for the surface's bill date.
    virtual void writeDate(BillSurface& s, const BillKind& kind) const;
    /// The text the amount box keeps when it is committed.
    virtual QString committedInput(const QString& typed) const;
    /// Writes every presentation of an amount committed from the box lying over `target`.
    /// A refused amount changes nothing and returns the message.
    virtual RuleMessage writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode, const QString& target) const;
    /// Writes the amount presentations again after an option, the currency or the template
    /// changed; by default the amount last committed, over the control it was typed over.
    virtual RuleMessage recommit(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode, const QString& target) const;
    /// The control an amount given without a control (the command line's) is typed over.
    virtual QString amountTarget(const BillKind& kind) const;
    /// Converts an item when the user finishes it (leaves it or presses Enter). A refused
    /// text stays for correction and the message says why.
    virtual RuleMessage finishItem(BillSurface& s, const BillKind& kind, const QString& name) const;
    /// Why the bill cannot be saved as it stands; empty when it can.
    virtual RuleMessage saveRefusal(const BillSurface& s, const BillKind& kind) const;
};

/// The bank bills' shared amount presentation: figures, counterfoil figures, digit cells of
/// both copies and capitals from the options ticked on the surface.
RuleMessage writeBankAmount(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, bool figuresWithCode,
    bool capitalsWithName);

/// The drawer's name, bank and account change places with the payee's (an untouched payee
/// invitation counts as empty).
void swapSides(BillSurface& s, const BillKind& kind);

/// The date texts of the formats of "日期格式："; any other format gives "YYYY-MM-DD".
QString formatBillDate(const QDate& date, const QString& format);

/// An acceptance bill's due date typed as "2009.12.15", "2009-12-15", "2009/12/15" or "+180"
/// days after `billDate`, in capitals with "年", "月", "日". A text holding "年" is kept; none
/// when the text does not convert.
std::optional<QString> dueDateInCapitals(const QString& text, const QDate& billDate);

} // namespace pennock::core
