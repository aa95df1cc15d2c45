#pragma once

#include "bills/AmountDerivation.h"
#include "bills/BillEnvironment.h"
#include "bills/BillKind.h"
#include "bills/TemplatedForm.h"
#include "parties/TPerson.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace pennock::core {
class IniFile;
}

namespace pennock::ui {

class AmountInputBox;

/// The bill entry engine: one form over the picture of a template with one control per item,
/// the template tabs and drop-down, the option bar, the amount box, saving, reopening and the
/// print sequence. A kind is its descriptor; its form class adds only what truly differs.
class TfmBillForm : public QWidget, public TemplatedForm
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
    /// Puts text into an edit, combo box or memo as typing would. False for other controls.
    bool setItemText(const QString& name, const QString& text);
    QWidget* panelImgBg() const { return mPanel; }
    QLabel* bgImage() const { return mBgImage; }
    QComboBox* cbFirstTypeName() const { return mTypeBox; }
    QTabBar* tbcCheckTypeName() const { return mTabs; }
    QToolBar* toolBarCheck() const { return mToolBar; }
    AmountInputBox* inputJEXX() const { return mInput; }
    QComboBox* cfgMoneyType() const { return mMoneyType; }
    QCheckBox* option(const QString& name) const;
    QToolButton* button(const QString& name) const;
    /// The toolbar sits at the bottom.
    bool toolBarAtBottom() const noexcept { return mBarAtBottom; }
    /// Drop-down length of the drawer and payee lists on a screen of that many pixels.
    static int partyListRows(int screenHeight) noexcept;

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
    void refreshCaption(const QString& note = {});

    // User check boxes, options.
    QString getItemCheckTitle() const;
    void setItemCheckTitle(const QString& text);
    void btRmemberClick();

    // Parties, purpose, date.
    void setSender(const std::optional<core::TPerson>& party);
    void setReceiver(const std::optional<core::TPerson>& party);
    void setInComp(const QString& name);
    void setYongTu(const QString& purpose);
    void zdOutCompExit();
    /// Enter in the payee: the party of that mnemonic code.
    void zdInCompEnter();
    /// Picking an entry of the payee list: the party of that name.
    void zdInCompSelect();
    void shpHKRRelease();
    void shpskrRelease();
    void btSaveSKRClick();
    void SelDateCloseUp();
    void SelDateChange();
    void setBillDate(const QDate& date);
    QDate billDate() const;

    // Amount.
    /// Shows the amount box over the capitals or figures control and gives it the focus.
    void enterAmount(QWidget* over);
    void inputJEXXExit();
    void setJEXX(const QString& text);
    void WriteToJEGrid(const QString& code, double value);
    void setMoneyName(const QString& name);
    QString getMoneyCode();
    void cfgMoneyTypeChange();

    // Saving, reopening.
    /// Stores the bill; false when nothing was stored.
    bool save();
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

    void btUpOrDownClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    BillEnvironment& env() { return mEnv; }

private:
    void buildToolBar();
    void buildTemplateRow();
    void buildPanel();
    void buildOptionBar();
    QWidget* makeControl(const core::BillControl& control);
    QToolButton* addButton(const QString& name, const QString& caption, const QString& hint,
        void (TfmBillForm::*handler)());
    void create();
    void fillListOnEntry(QObject* watched);
    void selectPayeePlaceholder(QObject* payee);
    void optionClicked(const core::BillOption& option, bool checked);
    void placeAgain(const QStringList& names);
    void applyHidingOptions();
    void markChanged();
    core::AmountOptions amountOptions() const;
    bool optionChecked(const QString& name) const;
    QString payeeText() const;
    void refuseAmountKey();
    void readColumn(const core::BillColumn& column, const QVariant& value, QString& status);

    const core::BillKind& mKind;
    BillEnvironment& mEnv;
    bool mValid = false;

    QVBoxLayout* mLayout = nullptr;
    QToolBar* mToolBar = nullptr;
    QWidget* mTemplateRow = nullptr;
    QTabBar* mTabs = nullptr;
    QComboBox* mTypeBox = nullptr;
    QWidget* mPanel = nullptr;
    QLabel* mBgImage = nullptr;
    QWidget* mShortBar = nullptr;
    QComboBox* mMoneyType = nullptr;
    AmountInputBox* mInput = nullptr;
    QDateEdit* mSelDate = nullptr;
    QHash<QString, QWidget*> mItems; ///< by lower-case name
    QHash<QString, QCheckBox*> mOptions; ///< by lower-case name
    QHash<QString, QToolButton*> mButtons;
    QList<QCheckBox*> mItemChecks;
    std::unique_ptr<core::IniFile> mLayoutIni;

    int mSerialNo = -1;
    int mCurrentTypeId = 0;
    int mLaidOutTypeId = 0;
    int mXMove = 0;
    int mYMove = 0;
    bool mIsSaved = false;
    bool mIsHistoric = false;
    bool mIsLoading = false;
    bool mShowSaveMessages = true;
    bool mTabGuard = false;
    bool mBarAtBottom = false;
    bool mPlaced = false;
    bool mCommitting = false;
    QString mCurrencyName = QStringLiteral("人民币");
    QString mCurrencyCode;
    std::optional<core::TPerson> mDrawer;
    std::optional<core::TPerson> mPayee;
};

} // namespace pennock::ui
