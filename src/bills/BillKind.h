#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

/// How the engine builds an item control of a bill form.
enum class ControlKind {
    Edit,
    ReadOnlyEdit,
    Combo, ///< editable drop-down
    SortedCombo, ///< editable drop-down kept in order
    Memo,
    Check,
    DatePicker,
    Shape, ///< a click target that opens the party picker
    AmountInput ///< the floating amount box
};

/// One control on the picture panel.
struct BillControl
{
    QString name {};
    ControlKind kind = ControlKind::Edit;
    QString hint {};
    int maxLength = 0; ///< 0: no limit
    bool marksChanged = false; ///< typing or picking makes the bill unsaved
    bool tabStop = true;
};

/// Where a stored column's value comes from, and where reopening puts it back.
enum class ColumnSource {
    Variant, ///< the template drop-down's variant
    ItemChecks, ///< captions of the ticked user check boxes
    Status, ///< written "已用"; decides new or historic on reopening
    Currency, ///< the currency drop-down
    Amount, ///< the normalised text of the amount box
    Date, ///< the bill date
    Payee, ///< the payee's name; the placeholder is stored as empty
    Purpose, ///< the purpose and its counterfoil twin
    Text ///< the text of `control`
};

struct BillColumn
{
    QString column {};
    ColumnSource source = ColumnSource::Text;
    QString control {};
    bool onlyWhenVisible = false; ///< written only while the control is visible
};

/// How a per-template option reads its remembered value.
enum class OptionRule {
    OneChecks, ///< ticked exactly when "1" is remembered
    ZeroUnchecks, ///< ticked unless "0" is remembered
    NotRemembered
};

/// What a click on an option does.
enum class OptionEffect {
    None,
    Date, ///< rewrites the date controls
    Amount, ///< commits the amount again
    Hide ///< hides `hides` while ticked, places them again when unticked
};

struct BillOption
{
    QString name {};
    QString caption {};
    QString hint {};
    OptionRule rule = OptionRule::NotRemembered;
    OptionEffect effect = OptionEffect::None;
    QStringList hides {};
    bool enabled = true;
};

/// An item that prints only while an option is ticked.
struct BillPrintSkip
{
    QString item {}; ///< upper case, as the catalogue stores it
    QString option {};
};

/// A column of a registered number's row copied into a control when the number is picked.
struct BillCopy
{
    QString column {};
    QString control {};
};

struct BillMessages
{
    QString savedNew {};
    QString savedEdited {};
    QString voided {};
    QString askSaveOnClose {};
    QString chooseTemplate {};
};

/// One bill kind as the entry engine sees it: names, table, controls, stored columns, options
/// and print rules. Behaviour that truly differs lives in the kind's form class.
struct BillKind
{
    QString kind {}; ///< `NameDict.CheckTypeName`, e.g. "支票"
    QString formClass {}; ///< e.g. "TfmCheckZP"
    QString objectName {}; ///< the form's component name; its "Config.ini" section in upper case
    QString table {}; ///< e.g. "DataZPTable"
    QList<BillControl> controls;
    QList<BillColumn> columns; ///< in the order a save writes them
    QStringList loadOrder {}; ///< columns in the order reopening reads them back
    QList<BillOption> options; ///< the option bar, left to right
    QList<BillPrintSkip> printSkips;
    QList<BillCopy> registeredCopies; ///< empty: no list of registered numbers
    QString payeePlaceholder {};
    bool refusesVoided = true;
    bool repeatPrint = true;
    int cellPitchDefault = 35; ///< 0.1 mm, when the template lacks a digit cell
    BillMessages messages;

    const BillControl* control(const QString& name) const;
    const BillOption* option(const QString& name) const;
    bool hasRegisteredNumbers() const { return !registeredCopies.isEmpty(); }
};

/// The cheque ("支票", `TfmCheckZP`, `DataZPTable`).
const BillKind& chequeKind();

/// The kinds whose forms exist, by kind name; null for any other name.
const BillKind* findBillKind(const QString& kind);
/// Names of the kinds whose forms exist.
QStringList billKindNames();

/// The eleven digit cells, 亿 to 分.
const QStringList& amountCellNames();

} // namespace pennock::core
