#pragma once

#include "import/SheetReader.h"
#include "parties/AddressSplit.h"
#include "parties/ReceiverList.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace pennock::core {
class FileChooser;
}

namespace pennock::ui {

class TfmBillForm;
struct BillEnvironment;

/// The batch window of a waybill form: the receiver list (`ReceiverList`, with its groups),
/// filled from the address book, from an order spreadsheet, from pasted addresses or by hand,
/// and printed one waybill a checked row with the form's sender side and defaults.
class TfmWaybillBatch : public QWidget
{
    Q_OBJECT
public:
    TfmWaybillBatch(TfmBillForm& form, BillEnvironment& env, core::FileChooser& files,
        QWidget* parent = nullptr);
    ~TfmWaybillBatch() override;

    /// Opens the address book whose "添加选中到批打"/"添加所有到批打" hand parties to this list;
    /// empty: "从地址簿添加" is unavailable.
    using AddressBook = std::function<void(
        std::function<bool(const core::TPerson&)> receive, std::function<void()> refresh)>;
    void setAddressBook(AddressBook open);
    /// Shows a split address for correction; none when the person cancels. Empty: the dialog.
    using SplitConfirmation = std::function<std::optional<core::SplitAddress>(
        const core::SplitAddress& split, const QString& pasted)>;
    void setSplitConfirmation(SplitConfirmation confirm) { mConfirm = std::move(confirm); }

    /// Takes a party of the address book into the list (in the group shown).
    std::function<bool(const core::TPerson&)> partyReceiver();

    // What the buttons do.
    void btRefreashClick(); ///< "_btRefreash": reads the list again
    void btAddressBookClick();
    void btImportClick(); ///< asks for an order sheet, then reads it
    /// Reads an order sheet and matches its columns; false (with a message) when unreadable.
    bool readSheet(const QString& path);
    void chooseSheet(int index);
    /// "添加到列表": the data rows of the sheet by the chosen columns, into the list.
    void btAddMatchedClick();
    void btPasteClick();
    void btAddClick();
    void btDeleteClick();
    void btClearClick();
    void btGroupClick();
    void btPrintClick();
    void checkAll(bool on);

    QTableWidget* grid() const { return mGrid; }
    QComboBox* groupFilter() const { return mGroup; }
    QComboBox* sheets() const { return mSheets; }
    /// The drop-down of an order field's column, by the field's item name.
    QComboBox* columnBox(const QString& item) const;
    QLineEdit* pasteBox() const { return mPaste; }
    QLineEdit* groupBox() const { return mImportGroup; }
    QCheckBox* saveBox() const { return mSave; }
    QCheckBox* numberBox() const { return mNumbered; }
    QLineEdit* firstNumber() const { return mFirstNumber; }
    QSpinBox* step() const { return mStep; }
    QPushButton* button(const QString& name) const;
    QLabel* status() const { return mStatus; }
    /// Receivers of the rows shown and ticked.
    QList<core::Receiver> checkedReceivers() const;

private:
    void buildGrid();
    void cellEdited(int row, int column);
    void reloadGroups();
    const core::AddressSplitter& splitter();
    QPushButton* addButton(QWidget* parent, const char* name, const QString& caption,
        void (TfmWaybillBatch::*handler)());

    TfmBillForm& mForm;
    BillEnvironment& mEnv;
    core::FileChooser& mFiles;
    AddressBook mAddressBook;
    SplitConfirmation mConfirm;
    std::optional<core::SheetBook> mBook;
    QList<QStringList> mRows;
    std::unique_ptr<core::AddressSplitter> mSplitter;
    QList<core::Receiver> mShown;
    bool mFilling = false;

    QComboBox* mGroup = nullptr;
    QTableWidget* mGrid = nullptr;
    QLineEdit* mPaste = nullptr;
    QGroupBox* mMatch = nullptr;
    QComboBox* mSheets = nullptr;
    QList<QComboBox*> mColumns;
    QLineEdit* mImportGroup = nullptr;
    QCheckBox* mSave = nullptr;
    QCheckBox* mNumbered = nullptr;
    QLineEdit* mFirstNumber = nullptr;
    QSpinBox* mStep = nullptr;
    QLabel* mStatus = nullptr;
    QHash<QString, QPushButton*> mButtons;
};

} // namespace pennock::ui
