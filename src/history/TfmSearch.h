#pragma once

#include "history/HistoryKind.h"
#include "history/HistorySearch.h"
#include "parties/TPerson.h"
#include "settings/FacedDialog.h"

#include <QHash>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

class BillFormRegistry;
class GridServices;
class HistoryModel;

/// What a history window needs from the main window; dialogs that wait for a person are
/// function members so tests script them.
struct HistoryEnvironment
{
    HistoryEnvironment(core::Services& s, GridServices& g)
        : services(s)
        , grids(g)
    {
    }
    core::Services& services;
    GridServices& grids;
    /// The open bill forms; reopening opens the kind's form through it. Null: no reopening.
    BillFormRegistry* forms = nullptr;
    /// The party picker: party type and title; none when cancelled.
    std::function<std::optional<core::TPerson>(const QString& type, const QString& title)>
        pickParty;
    /// The value input dialog: prompt, default; empty when cancelled.
    std::function<QString(const QString& prompt, const QString& defaultValue)> giveMeAnValue;
    /// The carrier's tracking page of a waybill: template and waybill number.
    std::function<void(const QString& typeKey, const QString& number)> openTracking;
};

/// The history window of one bill kind (`TfmSearch_ZP` and its nine siblings): filters, the
/// date shortcuts, the result grid with its count and sum, reopening, voiding, deleting,
/// renumbering, registering numbered blanks and the export. The member's descriptor says what
/// differs.
class TfmSearch : public FacedDialog
{
    Q_OBJECT
public:
    TfmSearch(const core::HistoryKind& kind, HistoryEnvironment& env, QWidget* parent = nullptr);
    ~TfmSearch() override;

    const core::HistoryKind& kind() const noexcept { return mKind; }

    /// "查 询": builds the query from the boxes and runs it when its text changed.
    void btQurClick();
    /// "全 部(&A)": clears the filters and lists everything.
    void btAllClick();
    /// "【刷新】": runs the query again.
    void refresh();
    /// A node of the date-shortcut tree, by its text.
    void dateShortcut(const QString& node);
    /// Reopens the current row's bill in its entry form, then closes.
    void openCurrent();
    void btFailedSelectsClick();
    void delClick();
    void btDeleteListClick();
    void DelAllClick();
    void renumberCurrent();
    void btStartImportClick();
    void priClick();
    /// "补录入单号", "补录备注": asks for a value of the current row's column and writes it.
    void enterLate(const QString& column, const QString& prompt);

    /// How many times a query was actually run (the window skips unchanged ones).
    int queriesRun() const noexcept { return mQueriesRun; }
    QTableView* grid() const { return mGrid; }
    QLabel* countLabel() const { return mCount; }
    QLabel* sumLabel() const { return mSum; }
    QLineEdit* filterBox(const QString& option) const { return mFilters.value(option); }
    QComboBox* numberBox() const { return mNumber; }
    QLineEdit* amountFrom() const { return mAmountFrom; }
    QLineEdit* amountTo() const { return mAmountTo; }
    QDateEdit* date1() const { return mDate1; }
    QDateEdit* date2() const { return mDate2; }
    QCheckBox* anyDate() const { return mAnyDate; }
    QCheckBox* doubleClickOpens() const { return mDblClick; }
    QRadioButton* exactMatch() const { return mExact; }
    QPushButton* button(const QString& name) const;
    QWidget* registrationPanel() const { return mPanel; }
    QLineEdit* rangeFrom() const { return mFrom; }
    QLineEdit* rangeTo() const { return mTo; }
    QSpinBox* digits() const { return mDigits; }
    QLineEdit* prefix() const { return mPrefix; }
    QComboBox* templateBox() const { return mTemplate; }
    QLineEdit* invoiceCode() const { return mCode; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFilters(QGroupBox* group);
    void buildRegistration();
    core::HistoryCriteria criteria();
    void mark(QWidget* box, const QColor& colour);
    void clearFilters();
    void runStatement(const core::HistoryStatement& st);
    void showTotals(const core::HistoryStatement& st);
    void reportError(const QString& message, const QString& sql);
    void lookUpMnemonic(QLineEdit* box);
    void fillList(QComboBox* combo, const core::HistoryFilter& filter, bool withEmpty);
    void applyShortCode(QLineEdit* box);
    int currentSerial() const;
    QString currentValue(const QString& column) const;
    QPushButton* addButton(
        QWidget* parent, const char* name, const QString& caption, void (TfmSearch::*handler)());

    const core::HistoryKind& mKind;
    HistoryEnvironment& mEnv;
    core::HistorySearch mSearch;
    QTreeWidget* mTree = nullptr;
    QComboBox* mNumber = nullptr;
    QHash<QString, QLineEdit*> mFilters;
    QDateEdit* mDate1 = nullptr;
    QDateEdit* mDate2 = nullptr;
    QCheckBox* mAnyDate = nullptr;
    QLineEdit* mAmountFrom = nullptr;
    QLineEdit* mAmountTo = nullptr;
    QRadioButton* mExact = nullptr;
    QRadioButton* mFuzzy = nullptr;
    QLabel* mSum = nullptr;
    QLabel* mCount = nullptr;
    QCheckBox* mDblClick = nullptr;
    QTableView* mGrid = nullptr;
    HistoryModel* mModel = nullptr;
    QHash<QString, QPushButton*> mButtons;
    QWidget* mPanel = nullptr;
    QLineEdit* mFrom = nullptr;
    QLineEdit* mTo = nullptr;
    QLineEdit* mDrawer = nullptr;
    QLineEdit* mBank = nullptr;
    QLineEdit* mAccount = nullptr;
    QComboBox* mTemplate = nullptr;
    QSpinBox* mDigits = nullptr;
    QLineEdit* mPrefix = nullptr;
    QLineEdit* mCode = nullptr;
    QLabel* mStatus = nullptr;

    QString mLastQuery;
    QString mSortColumn;
    bool mDescending = false;
    int mQueriesRun = 0;
    bool mDeferTotals = false;
};

/// Opens the history window of a bill kind modally; false when the kind has none.
bool openHistory(const QString& kind, HistoryEnvironment& env, QWidget* parent);

} // namespace pennock::ui
