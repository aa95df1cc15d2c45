#pragma once

#include "settings/FacedDialog.h"
#include "templates/TemplateManagerStore.h"

#include <QMap>

#include <functional>

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QTabBar;
class QTableView;

namespace pennock::core {
class Database;
class ProgramFolder;
class Prompter;
class Settings;
} // namespace pennock::core

namespace pennock::ui {

/// "票据模板管理": the templates of every kind by tab, their default, common and hidden marks,
/// renaming, deleting for good, the picture, the offset window and the package import.
class TfrmCheckTypeMng : public FacedDialog
{
    Q_OBJECT
public:
    /// Windows of other layers the manager opens; an empty one disables its command.
    struct Links
    {
        /// The value input dialog: prompt and default; empty when cancelled.
        std::function<QString(const QString& prompt, const QString& value)> askValue;
        /// "模板设计": the offset window of a template.
        std::function<void(int templateId)> design;
        /// "外部【导入】模板": the package window with its import page only.
        std::function<void()> importPackages;
        /// The link to the online upgrade.
        std::function<void()> onlineUpgrade;
    };

    TfrmCheckTypeMng(core::Database& db, const core::ProgramFolder& folder,
        core::Settings& settings, core::Prompter& prompter, Links links, int preselectedId = 0,
        QWidget* parent = nullptr);

    /// "过滤模板(&F)": lists the current tab, kind and search text.
    void refresh();
    void showTab(core::TemplateTab tab);
    void chooseKind(const QString& kind);
    /// "全部模板列表"
    void showAll();
    /// "查询"
    void search(const QString& text);
    void setToDefault();
    void setToCommon();
    void removeFromCommon();
    void hideSelected();
    void enableSelected();
    void deleteSelected();
    void renameCurrent();
    void designCurrent();
    void openImport();
    /// A double click: the picture viewer.
    void showPicture(int row);

    /// Selects rows of the list (tests and the preselection).
    void selectRows(const QList<int>& rows);
    QTableView* grid() const { return mGrid; }
    QTabBar* tabs() const { return mTabs; }
    QComboBox* kindBox() const { return mKinds; }
    QLineEdit* searchField() const { return mKey; }
    QPushButton* button(const QString& name) const;
    QMenu* contextMenu() const { return mMenu; }
    /// Identities of the rows shown, in order.
    QList<int> shownIds() const;
    core::TemplateTab tab() const;
    /// True after a change that bill forms must see.
    bool changed() const noexcept { return mChanged; }

private:
    QPushButton* addButton(
        const QString& name, const QString& caption, void (TfrmCheckTypeMng::*slot)());
    void updateButtons();
    void kindChanged();
    QList<int> selectedRows() const;
    int currentRow() const;
    QString cell(int row, int column) const;

    core::Database& mDb;
    const core::ProgramFolder& mFolder;
    core::Prompter& mPrompter;
    core::TemplateManagerStore mStore;
    Links mLinks;
    int mPreselected;
    bool mChanged = false;
    bool mListing = false;
    QTabBar* mTabs = nullptr;
    QComboBox* mKinds = nullptr;
    QLineEdit* mKey = nullptr;
    QTableView* mGrid = nullptr;
    QStandardItemModel* mModel = nullptr;
    QMenu* mMenu = nullptr;
    QMap<QString, QPushButton*> mButtons;
};

} // namespace pennock::ui
