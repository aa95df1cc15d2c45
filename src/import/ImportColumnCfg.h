#pragma once

#include "import/PartyImport.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pennock::core {
class Services;
}

namespace pennock::ui {

/// "导入列匹配-设置": the title rules of the import items, one row an item.
class TfrmImportColumnCfg : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImportColumnCfg(core::Services& services, QWidget* parent = nullptr);

    /// The text of "顺序号：" that opens the maintenance buttons.
    static const QString kMaintenanceCode; ///< "4736285"

    /// Reads the rules of the scene into the grid.
    void loadRules();
    /// "提交修改"
    void btSubmitClick();
    /// "添加" (maintenance)
    void btAddClick();
    /// "删除" (maintenance)
    void btDeleteClick();
    /// The rule of the current grid row; none when the grid is empty.
    const core::MatchRule* currentRule() const;

    QComboBox* cbScene = nullptr;
    QTableWidget* grid = nullptr;
    QLineEdit* edItemName = nullptr;
    QLineEdit* edShowOrd = nullptr;
    QLineEdit* edSourceName = nullptr;
    QPushButton* btSubmit = nullptr;
    QPushButton* btAdd = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btClose = nullptr;

private:
    void showCurrent();
    void showOrdEdited(const QString& text);

    core::Services& mServices;
    QList<core::MatchRule> mRules;
};

} // namespace pennock::ui
