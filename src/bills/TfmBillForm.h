#pragma once

#include "bills/Bill.h"
#include "bills/BillEnvironment.h"
#include "bills/BillKind.h"
#include "bills/BillRules.h"
#include "bills/TemplatedForm.h"
#include "parties/TPerson.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QScrollArea;
class QTabBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace pennock::core {
class IniFile;
}

namespace pennock::ui {

class AmountInputBox;
class ProofWindow;

/// What a bill hands to a new deposit slip: the texts of both sides (and their parties when
/// known), the money, the bill's number and date.
struct DepositSlipSource
{
    QString drawerName, drawerBank, drawerAccount;
    std::optional<core::TPerson> drawerParty;
    QString payeeName, payeeBank, payeeAccount;
    std::optional<core::TPerson> payeeParty;
    QString currency;
    QString amount;
    QString billKind;
    QString billCount;
    QString billNumber;
    QDate date;
};

/// The bill entry engine: one form over the picture of a template with one control per item,
/// the template tabs and drop-down, the option bar, the amount box, saving, reopening and the
/// print sequence. A kind is its descriptor (controls and their roles, columns, options, texts)
/// and its value rules; its own form class adds only what the hooks below leave open.
class TfmBillForm : public QWidget, public TemplatedForm, public core::BillSurface
{
    Q_OBJECT
public:
    TfmBillForm(const core::BillKind& kind, BillEnvironment& env, QWidget* parent = nullptr);
    ~TfmBillForm() override;

    /// False when the kind has no usable template: the form must not be shown.
    bool valid() const noexcept { return mValid; }
    const core::BillKind& kind() const noexcept { return mKind; }

    int templateTag() const override { return mCurrentTypeId; }
    void reinitTemplate() override;

    // State of the bill on screen.
    int serialNo() const noexcept { return mSerialNo; }
    int currentTypeId() const noexcept { return mCurrentTypeId; }
    int laidOutTypeId() const noexcept { return mLaidOutTypeId; }
    bool isSaved() const noexcept { return mIsSaved; }
    bool isHistoric() const noexcept { return mIsHistoric; }
    bool isLoading() const noexcept { return mIsLoading; }
    /// The user changed the bill on screen since it was last saved, reopened, renewed or filled
    /// from another bill, and no save keeps it: replacing it loses that work.
    bool holdsUnsavedBill() const noexcept { return mChangedByUser && !mIsSaved; }
    void setLoading(bool on) noexcept { mIsLoading = on; }
    bool showSaveMessages() const noexcept { return mShowSaveMessages; }
    void setShowSaveMessages(bool on) noexcept { mShowSaveMessages = on; }
    const QString& currencyName() const noexcept { return mCurrencyName; }
    const std::optional<core::TPerson>& drawerParty() const noexcept { return mDrawer; }
    const std::optional<core::TPerson>& payeeParty() const noexcept { return mPayee; }
    QList<QCheckBox*> itemChecks() const { return mItemChecks; }
    /// The variant in the template drop-down.
    QString variant() const;
    /// A control of the form by name, without regard to letter case; null when none.
    QWidget* item(const QString& name) const;
    /// The text of an edit, combo box or memo; empty for anything else.
    QString itemText(const QString& name) const;
    /// Puts text into an edit, combo box or memo as the program does (not as typing: the bill
    /// does not count as changed). False for other controls.
    bool setItemText(const QString& name, const QString& text);
    QWidget* panelImgBg() const { return mPanel; }
    QLabel* bgImage() const { return mBgImage; }
    QComboBox* cbFirstTypeName() const { return mTypeBox; }
    QTabBar* tbcCheckTypeName() const { return mTabs; }
    QToolBar* toolBarCheck() const { return mToolBar; }
    /// The picture panel's scroller: a picture taller or wider than the window scrolls.
    QScrollArea* pictureScroller() const { return mScroll; }
    /// The option bar under the picture.
    QWidget* shortBar() const { return mShortBar; }
    AmountInputBox* inputJEXX() const { return mInput; }
    QComboBox* cfgMoneyType() const { return mMoneyType; }
    QCheckBox* option(const QString& name) const;
    QComboBox* choiceOption(const QString& name) const;
    QToolButton* button(const QString& name) const;
    QDateEdit* selDate() const { return mSelDate; }
    /// The toolbar sits at the bottom.
    bool toolBarAtBottom() const noexcept { return mBarAtBottom; }
    /// Drop-down length of the drawer and payee lists on a screen of that many pixels.
    static int partyListRows(int screenHeight) noexcept;
    /// The size that shows the whole picture, the tool bar without overflow and every option,
    /// bounded by `available`: what does not fit then scrolls.
    QSize fittingSize(const QSize& available) const;
    QSize sizeHint() const override;
    /// Resizes the window to fit its picture within the room it has.
    void fitWindow();

    /// The bill as its controls show it.
    core::Bill bill() const;

    // The value rules read and write the form through these.
    QString text(const QString& name) const override { return itemText(name); }
    void setText(const QString& name, const QString& text) override { setItemText(name, text); }
    bool isChecked(const QString& option) const override;
    QString optionText(const QString& option) const override;
    QDate billDate() const override;
    bool isShown(const QString& name) const override;
    std::pair<QString, QString> currency() const override;

    // Template choice and layout.
    void cbFirstTypeNameChange();
    /// Selects the drop-down entry and the tab of a variant; true when the drop-down changed.
    bool setCurrentCheckType(const QString& variant);
    void tbcCheckTypeNameChange(int index);
    void initFormType();
    void loadParam(int templateId);
    void loadCheckBox(const QString& labels);
    void loadCheckBoxsConfig();
    void reloadTypeNameList();
    void buildCommonBlocks();
    /// The template list and tabs read again after the template manager or an import; a
    /// template that is gone or hidden gives way to the kind's default.
    void reloadTemplates();
    void refreshCaption(core::CaptionMoment moment);

    // User check boxes, options.
    QString getItemCheckTitle() const;
    void setItemCheckTitle(const QString& text);
    void btRmemberClick();

    // Parties, purpose, date.
    void setSender(const std::optional<core::TPerson>& party);
    void setReceiver(const std::optional<core::TPerson>& party);
    void setInComp(const QString& name);
    void setYongTu(const QString& purpose);
    void btSaveSKRClick();
    void SelDateCloseUp();
    void SelDateChange();
    void setBillDate(const QDate& date);

    // Amount.
    /// Shows the amount box over an amount control and gives it the focus.
    void enterAmount(QWidget* over);
    void inputJEXXExit();
    void setJEXX(const QString& text);
    /// The amount presentations written again (an option, the currency or the template changed).
    void recommitAmount();
    void setMoneyName(const QString& name);
    QString getMoneyCode();
    void cfgMoneyTypeChange();

    // Saving, reopening.
    /// Stores the bill; false when nothing was stored.
    virtual bool save();
    void btSaveCheckClick();
    void btSaveAsClick();
    void btNewClick();
    void btPrintAndSaveClick();
    void zdPJBHSelect();
    void BrowseOldCheck(const QString& variant, const QString& serialText);

    // Printing.
    void PrintPrepare();
    void PrinterTransBegin(int copies);
    void SendCheckToPrinter();
    void PrinterTransEnd();
    void btPrint1Click();
    void btMultiPrintFClick();
    /// "打印预览": the bill as a PDF proof over the form picture, shown in a window of its own.
    void btProofClick();
    /// The window of the last proof; null when none is open.
    ProofWindow* proofWindow() const;

    void btUpOrDownClick();
    /// The whole-page offset of the print job last prepared, in printer pixels.
    QPoint printOffset() const { return { mXMove, mYMove }; }

    /// "转进账单(&T)": opens the deposit slip beside this form and fills it from this bill.
    void bt2CheckJZDClick();
    /// Fills this form from another bill (deposit slips only; others ignore it).
    virtual void receiveDepositSlip(const DepositSlipSource& source);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Tab in a control laid over an item goes on from that item.
    bool focusNextPrevChild(bool next) override;

    /// Runs after every layout of a template, once the options have hidden their controls.
    virtual void laidOut() { }
    /// Runs after an option of the option bar was clicked or chosen, and its effect applied.
    virtual void optionChanged(const core::BillOption&) { }
    /// The window caption at a moment of the bill.
    virtual QString captionFor(core::CaptionMoment moment) const;
    /// Empties the bill as "新建" does, without asking.
    virtual void newBill();
    /// What this bill hands to a deposit slip; the texts alone unless the kind looks further.
    virtual DepositSlipSource depositSlipSource();
    /// Shows a party on a side (the drawer, the payee or a further picker's controls).
    void showParty(const core::PartySide& side, const std::optional<core::TPerson>& party);
    BillEnvironment& env() { return mEnv; }
    /// Fills a drop-down from its list source (the kind's lists) when it is empty; cities
    /// follow their province on every call.
    void fillListOnEntry(QObject* watched);
    void markChanged();
    /// Adds a widget to the option bar, after the options of the kind.
    void addToOptionBar(QWidget* w);

private:
    void buildToolBar();
    void buildTemplateRow();
    void buildPanel();
    void buildOptionBar();
    QWidget* makeControl(const core::BillControl& control);
    QToolButton* addButton(const QString& name, const QString& caption, const QString& hint,
        void (TfmBillForm::*handler)());
    void create();
    void commitPendingAmount();
    /// Tab in a control laid over an item (the amount box, a pick list) moves on from that
    /// item, leaving the control (which commits it). False for any other control.
    bool tabFromOverlay(QWidget* overlay, bool forward);
    /// Tab follows the items in reading order of the template: rows top to bottom, each left
    /// to right.
    void orderTabs();
    QSize availableRoom() const;
    void selectPayeePlaceholder(QObject* payee);
    void optionClicked(const core::BillOption& option, bool checked);
    void placeAgain(const QStringList& names);
    void applyHidingOptions();
    void itemChanged(const QString& name);
    void itemEntered(const QString& name);
    void itemLeft(const QString& name);
    void itemPicked(const QString& name);
    void itemFinished(const QString& name);
    const core::PartySide* sideNamed(const QString& name) const;
    const core::PartySide* sideWithAccount(const QString& name) const;
    const core::PartySide* sideWithShape(const QString& name) const;
    void copyPartyBank(const core::PartySide& side, const core::TPerson& party);
    void bankOfAccount(const core::PartySide& side);
    bool optionChecked(const QString& name) const;
    bool offersSaveOnClose() const;
    QString payeeText() const;
    void refuseAmountKey();
    /// The amount's presentations by the rules: committed anew, or written again (`again`).
    void writeAmounts(const QString& text, bool again);
    void readColumn(const core::BillColumn& column, const QVariant& value);
    bool isAmountRole(const QString& name) const;

    const core::BillKind& mKind;
    BillEnvironment& mEnv;
    bool mValid = false;

    QVBoxLayout* mLayout = nullptr;
    QToolBar* mToolBar = nullptr;
    QWidget* mTemplateRow = nullptr;
    QTabBar* mTabs = nullptr;
    QComboBox* mTypeBox = nullptr;
    QWidget* mPanel = nullptr;
    QScrollArea* mScroll = nullptr;
    QPointer<QWidget> mProof; ///< the proof window
    QList<QPointer<QWidget>> mTabStops; ///< the items in reading order
    QWidget* mMoreOptions = nullptr; ///< the option bar's part after the remembered options
    QLabel* mBgImage = nullptr;
    QWidget* mShortBar = nullptr;
    QComboBox* mMoneyType = nullptr;
    AmountInputBox* mInput = nullptr;
    QDateEdit* mSelDate = nullptr;
    QHash<QString, QWidget*> mItems; ///< by lower-case name
    QHash<QString, QCheckBox*> mOptions; ///< by lower-case name
    QHash<QString, QComboBox*> mChoices; ///< drop-down options, by lower-case name
    QHash<QString, QToolButton*> mButtons;
    QList<QCheckBox*> mItemChecks;
    std::unique_ptr<core::IniFile> mLayoutIni;

    int mSerialNo = -1;
    /// The row that was a registered number ("未用") when this form read it; saving into it
    /// takes the number only while no other clerk has.
    int mRegisteredSerial = -1;
    int mCurrentTypeId = 0;
    int mLaidOutTypeId = 0;
    int mXMove = 0;
    int mYMove = 0;
    int mWriting = 0; ///< the program, not the user, is changing controls
    bool mIsSaved = false;
    bool mChangedByUser = false; ///< see holdsUnsavedBill()
    bool mIsHistoric = false;
    bool mIsLoading = false;
    bool mShowSaveMessages = true;
    bool mTabGuard = false;
    bool mBarAtBottom = false;
    bool mPlaced = false;
    bool mCommitting = false;
    QString mAmountTarget; ///< the control the amount box lies over
    QString mAcceptedAmount; ///< the last amount the rules accepted
    QString mCurrencyName = QStringLiteral("人民币");
    QString mCurrencyCode;
    std::optional<core::TPerson> mDrawer;
    std::optional<core::TPerson> mPayee;
};

} // namespace pennock::ui
