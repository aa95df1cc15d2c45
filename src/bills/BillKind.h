#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

namespace pennock::core {

class BillRules;

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

/// When a click selects a control's whole text.
enum class SelectAll { Never, OnDoubleClick, OnClick };

/// One control on the picture panel.
struct BillControl
{
    QString name {};
    ControlKind kind = ControlKind::Edit;
    QString hint {};
    int maxLength = 0; ///< 0: no limit
    bool tabStop = true;
    SelectAll selectAll = SelectAll::Never;
    bool completes = true; ///< typing completes from the list; never for a count or an amount
};

/// Where a stored column's value comes from, and where reopening puts it back.
enum class ColumnSource {
    Variant, ///< the template drop-down's variant
    ItemChecks, ///< captions of the ticked user check boxes
    Status, ///< written "已用"
    Currency, ///< the currency drop-down
    Amount, ///< the normalised text of the amount box
    Figures, ///< the figures as shown; reopening commits them through the amount box again
    Date, ///< the bill date
    Payee, ///< the payee's name; the placeholder is stored as empty
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
    Choice, ///< a drop-down of `choices`; the remembered text, else the first choice
    NotRemembered
};

/// What a change of an option does.
enum class OptionEffect {
    None,
    Date, ///< rewrites the date controls
    Amount, ///< commits the amount again
    Hide, ///< hides `hides` while ticked, places them again when unticked
    Show, ///< places `hides` again while ticked, hides them when unticked
    SwapSides ///< the drawer and the payee change places
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
    bool remembered = false; ///< stored by "【记住选项】"
    QStringList choices {}; ///< for `OptionRule::Choice`
    QString defaultChoice {}; ///< chosen when nothing is remembered; empty: the first choice
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

/// The controls a kind gives each part the engine knows about. An empty name: the kind has no
/// such control.
struct BillRoles
{
    QString amountInput {};
    QString capitals {};
    QString figures {};
    QString figuresCounterfoil {};
    QStringList cells {}; ///< 亿 … 分; empty for a kind without digit cells
    QStringList counterfoilCells {};
    QStringList amountOpeners {}; ///< clicking one of these opens the amount box over it
    QString year {};
    QString month {};
    QString day {};
    QString dateText {}; ///< the whole date as one text
    QString datePicker {};
    QStringList counterfoilDate {}; ///< year, month, day in digits
    QString purpose {};
    QString number {}; ///< bill number; a list of registered numbers when the kind has them
    QString remark {};
};

/// One side of a bill that a party fills: the drawer or the payee.
struct PartySide
{
    QString name {}; ///< the name control; empty: the kind has no such side
    QString nameColumn = QStringLiteral("全称"); ///< the party column the name control shows
    QString bank {};
    QString account {};
    QList<std::pair<QString, QString>>
        more {}; ///< further controls and the party column each shows
    QString partyType {}; ///< "我方单位" or "往来单位": the name list and the picker
    QString shape {}; ///< the click target that opens the picker
    QString pickerCaption {};
    bool bankOnLeave = false; ///< leaving the name copies the bank and account of that party
    bool bankOnType = false; ///< typing the name copies the bank and account of that party
    bool showOnChange = false; ///< a change of the name shows the party of that full name
    bool showOnPick = false; ///< picking a listed name shows that party
    bool accountsOnLeave = false; ///< leaving the name lists the accounts of that company
    bool bankByAccount = false; ///< a changed account writes its recorded bank
    enum class Enter {
        None,
        Mnemonic, ///< Enter: the party of that mnemonic code
        FullNameThenMnemonic ///< Enter: by full name, then by mnemonic; else on to the account
    };
    Enter enter = Enter::None;
};

/// A drop-down filled on its first entry.
struct BillList
{
    enum class Source {
        Companies, ///< party names of type `name`
        Dictionary, ///< the dictionary `name`: the template's entries, else the shared ones
        SharedDictionary, ///< the shared entries of the dictionary `name` only
        AllDictionary, ///< the shared entries and the template's together
        Provinces,
        Cities, ///< cities of the province shown in control `name`; refilled on every entry
        Fixed ///< `items`
    };
    QString control {};
    Source source = Source::Fixed;
    QString name {};
    QStringList items {};
};

/// Texts that carry the kind's name.
struct BillMessages
{
    QString savedNew {};
    QString savedEdited {};
    QString voided {};
    QString askSaveOnClose {};
    QString closeCaption = QStringLiteral("关闭票据"); ///< caption of that question
    QString chooseTemplate {};
    QString copyUnsaved {}; ///< "复制" on a bill never saved; empty: nothing is said
    QString historicRefused = QStringLiteral("历史单据不能保存，请点击[复制]后,再保存为新单据！");
    QString alreadySaved {}; ///< saving a bill saved already; empty: it is saved again
};

/// Moments the caption is written. A caption pattern puts the kind for %K, the variant for %V
/// and the serial for %N.
enum class CaptionMoment {
    Opened,
    TemplateChanged,
    Saved,
    ReopenedNew,
    ReopenedHistoric,
    NewBill,
    Copied
};

/// What "新建" empties besides the payee's name, the remark and the date.
struct NewBillRule
{
    bool amount = true;
    bool purpose = true;
    QStringList controls {};
};

/// One bill kind as the entry engine sees it: names, table, controls and their roles, stored
/// columns, options, print rules and texts. Value rules that differ live in `rules`; window
/// behaviour that differs lives in the kind's form class.
struct BillKind
{
    QString kind {}; ///< `NameDict.CheckTypeName`, e.g. "支票"
    QString formClass {}; ///< e.g. "TfmCheckZP"
    QString objectName {}; ///< the form's component name; its "Config.ini" section in upper case
    QString table {}; ///< e.g. "DataZPTable"
    QString menuCommand {}; ///< the main window's new-bill command: object name, caption, keys
    QString menuCaption {};
    QString shortcut {};
    QString popupCommand {}; ///< its mirror in the background pop-up; empty: none there
    QString popupCaption {}; ///< empty: the menu caption
    QString popupGroup {}; ///< a submenu of the pop-up, e.g. "发票"; empty: the pop-up itself
    bool opensBesideOthers = false; ///< opens while another bill form is open
    QList<BillControl> controls;
    BillRoles roles;
    PartySide drawer;
    PartySide payee;
    QList<PartySide> moreSides; ///< further pickers that only fill controls
    QList<std::pair<QString, QString>> twins; ///< every change of the first is copied to the second
    QList<BillList> lists;
    QList<BillColumn> columns; ///< in the order a save writes them
    QStringList loadOrder {}; ///< columns in the order reopening reads them back
    QList<BillOption> options; ///< the option bar, left to right
    QString currencyLabel = QStringLiteral("币种:"); ///< empty: the kind has no currency
    QList<std::pair<QString, QString>> buttonCaptions; ///< tool buttons captioned otherwise
    QString rememberCaption = QStringLiteral("【记住选项】");
    QList<BillPrintSkip> printSkips;
    QList<BillCopy> registeredCopies; ///< empty: no list of registered numbers
    QString payeePlaceholder {};
    bool refusesVoided = false;
    bool copyKeepsNumber = false; ///< "复制" leaves the bill number as it is
    bool reopensHistoric = false; ///< no status column: a reopened bill is always historic
    /// Closing an unsaved bill asks to save it when all of these controls are filled; empty:
    /// the payee's name and the capitals.
    QStringList askSaveWhenFilled {};
    int maxCopies = 0; ///< the most copies one print job makes; 0: no limit
    bool repeatPrint = true;
    bool historyCommand = true; ///< "打开(&O)" opens the kind's history
    bool makesDepositSlip = false; ///< "转进账单(&T)"
    int cellPitchDefault = 36; ///< 0.1 mm, when the template lacks a digit cell
    QHash<CaptionMoment, QString> captions;
    NewBillRule newBill;
    BillMessages messages;
    std::shared_ptr<const BillRules> rules;

    /// The kind has an entry form (the others are only listed in the menus, unavailable).
    bool hasForm() const { return !controls.isEmpty(); }
    const BillControl* control(const QString& name) const;
    const BillOption* option(const QString& name) const;
    bool hasRegisteredNumbers() const { return !registeredCopies.isEmpty(); }
    /// The twin a change of `name` is copied to; empty when none.
    QString twinOf(const QString& name) const;
    /// The caption for a moment.
    QString caption(CaptionMoment moment, const QString& variant, int serial) const;
};

/// The eleven kinds in the order of the main window's menu; those without a form only name
/// their commands.
const QList<const BillKind*>& billKinds();
/// A kind with an entry form by name; null for any other name.
const BillKind* findBillKind(const QString& kind);
/// Names of the kinds whose forms exist.
QStringList billKindNames();

} // namespace pennock::core
