#pragma once

#include "settings/FacedDialog.h"

#include "parties/PersonSearch.h"
#include "parties/TPerson.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSqlQueryModel;
class QTabBar;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

class GridServices;
class Tfrm_PersonInfo;

/// "单位及客户资料管理": lists, searches and maintains the parties; in selection mode a double
/// click picks one for a bill.
class Tfm_PersonManage : public FacedDialog
{
    Q_OBJECT
public:
    Tfm_PersonManage(core::Services& services, GridServices& grids, QWidget* parent = nullptr);
    ~Tfm_PersonManage() override;

    /// The key of the manager's entries in "Config.ini" (its form name).
    static const QString kFormName; ///< "fm_PersonManage"
    static const QString kTable; ///< "CKPersonalInfoTable"

    /// The open bill forms, closed after the default drawer changes; may be null.
    /// The open bill forms: whether any is open, and closing them all (a new default drawer
    /// means new bills).
    struct OpenBills
    {
        std::function<bool()> anyOpen;
        std::function<void()> closeAll;
    };
    void setOpenBills(OpenBills bills) { mOpenBills = std::move(bills); }
    /// Double click picks a party and closes the window; clears the previous pick.
    void setSelectionMode(bool on);
    bool selectionMode() const noexcept { return mSelectionMode; }
    /// Window caption and title label.
    void setCaption(const QString& caption);
    /// "往来单位" or "我方单位" shows that tab and type only; anything else shows every party.
    void showType(const QString& type);
    /// The party picked by a double click (or "选择该单位").
    const std::optional<core::TPerson>& picked() const noexcept { return mPicked; }

    /// A calling window's batch-print list: takes one party; false when it cannot.
    using BatchReceiver = std::function<bool(const core::TPerson&)>;
    /// Enables "添加选中到批打" and "添加所有到批打" for a calling window: `receive` takes each
    /// party, `refresh` (the caller's "_btRefreash") runs once afterwards. Without a receiver
    /// both stay disabled.
    void setBatchReceiver(BatchReceiver receive, std::function<void()> refresh = {});

    /// "Excel导入": opens the spreadsheet import over this manager (the import lives above the
    /// parties, so the main window hands it in). Without it the button stays disabled.
    using SpreadsheetImport = std::function<void(Tfm_PersonManage& manager)>;
    void setSpreadsheetImport(SpreadsheetImport open);
    void btImprtClick();

    /// The search state: text, type filter, group, advanced search and order.
    const core::PersonSearch& search() const noexcept { return mSearch; }
    int rows() const;
    /// `ID` of the current row; 0 when there is none.
    int currentId() const;

    enum class SearchOrigin { Button, Other, Advanced };
    /// "查询(&C)" (Button), Enter, tree and title clicks (Other), "精确查询" (Advanced).
    void runSearch(SearchOrigin origin = SearchOrigin::Other);
    /// "全部(&A)"
    void btAllClick();
    void btInsertClick();
    void btEditClick();
    void btDeleteClick();
    void btRefreshClick();
    void btClearAllClick();
    void btDeleteListClick();
    void btSetDefaultClick();
    void btExportClick();
    /// "添加选中到批打": the selected parties into the caller's batch list.
    void btSelectMultiClick();
    /// "添加所有到批打": every listed party into the caller's batch list.
    void btSelectAndAddAllClick();
    /// Double click on a row.
    void pickCurrent();
    /// Click on a column title: sorts by its field, the other way round each time.
    void titleClick(int column);
    /// Click on a node of the group tree.
    void treeClick(QTreeWidgetItem* item);
    void rebuildGroupTree();
    /// "删除所有点击我->>": shows or hides "删除所有", widening or narrowing the window.
    void toggleClearAll();
    /// "<<": shows or hides the advanced search.
    void toggleAdvanced();
    /// The tree node with this text, or null.
    QTreeWidgetItem* treeNode(const QString& text) const;
    /// The status bar's panels.
    QString statusText(int panel) const;

    QTreeWidget* TreeView1 = nullptr;
    QTabBar* TabControl1 = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLabel* lbTitle = nullptr;
    QLineEdit* KeyEdit = nullptr;
    QPushButton* btSearch = nullptr;
    QPushButton* btImprt = nullptr;
    QPushButton* btExport = nullptr;
    QPushButton* btAdv = nullptr;
    QPushButton* btAll = nullptr;
    QPushButton* btClose = nullptr;
    QPushButton* btInsert = nullptr;
    QPushButton* btEdit = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btRefresh = nullptr;
    QPushButton* btClearAll = nullptr;
    QPushButton* btDeleteList = nullptr;
    QPushButton* btSetDefault = nullptr;
    QPushButton* btSelectMulti = nullptr;
    QPushButton* btSelectAndAddAll = nullptr;
    QLabel* lbClearAll = nullptr;
    QWidget* panelAdv = nullptr;
    QComboBox* Column1 = nullptr;
    QComboBox* EqualOrContain1 = nullptr;
    QLineEdit* key1 = nullptr;
    QPushButton* btAdvSearch = nullptr;
    QMenu* gridMenu = nullptr;
    QMenu* treeMenu = nullptr;
    QAction* n_new = nullptr;
    QAction* n_modify = nullptr;
    QAction* n_Delete = nullptr;
    QAction* n_settodefault = nullptr;
    QAction* n_pick = nullptr;
    QAction* nRemWidth = nullptr;
    QAction* nColsConfig = nullptr;
    QAction* nRefresh = nullptr;

    /// The party editor, created on first use.
    Tfrm_PersonInfo* editor();

signals:
    /// The default drawer moved to another party.
    void defaultDrawerChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void buildMenus();
    void loadStatement(const core::PersonSearch::Statement& statement);
    void selectionChanged();
    void refreshTotal();
    void setTab(const QString& path);
    void openEditor(int id);
    /// Hands the parties of these rows to the batch receiver; false when it stopped early.
    bool addToBatch(const QList<int>& rows, int& added);

    core::Services& mServices;
    GridServices& mGrids;
    OpenBills mOpenBills;
    QSqlQueryModel* mModel = nullptr;
    Tfrm_PersonInfo* mEditor = nullptr;
    core::PersonSearch mSearch;
    std::optional<core::TPerson> mPicked;
    BatchReceiver mBatchReceive;
    std::function<void()> mBatchRefresh;
    SpreadsheetImport mSpreadsheetImport;
    std::array<QLabel*, 3> mPanels {};
    bool mSelectionMode = false;
    bool mColumnsListed = false;
};

/// "单位及客户资料管理(&K) " and the toolbar's "我方单位"/"往来单位(&K)": the main window's one
/// party manager (created on first use, kept for later), modally, on `type` ("我方单位",
/// "往来单位" or empty for all). `defaultDrawerChanged` runs when the default drawer moves.
/// `batch` and `batchRefresh`: the batch list of the open waybills, if any (see
/// `Tfm_PersonManage::setBatchReceiver`). `spreadsheetImport`: "Excel导入".
void openPersonManager(QWidget* mainWindow, core::Services& services, GridServices& grids,
    Tfm_PersonManage::OpenBills openBills, const QString& type,
    const std::function<void()>& defaultDrawerChanged = {},
    Tfm_PersonManage::BatchReceiver batch = {}, std::function<void()> batchRefresh = {},
    Tfm_PersonManage::SpreadsheetImport spreadsheetImport = {});

/// The party picker of the bill forms: a manager of its own in selection mode, modally; the
/// picked party, or none when the user closes it without picking.
/// `defaultDrawerChanged` runs when the default drawer moves while the picker is open; the
/// caller decides what becomes of the open bill forms.
std::optional<core::TPerson> fetchOnePerson(QWidget* parent, core::Services& services,
    GridServices& grids, const QString& type, const QString& caption,
    const std::function<void()>& defaultDrawerChanged = {});
/// The same picker with the desktop's own file dialog and spreadsheet program for its export.
std::optional<core::TPerson> fetchOnePerson(
    QWidget* parent, core::Services& services, const QString& type, const QString& caption);

} // namespace pennock::ui
