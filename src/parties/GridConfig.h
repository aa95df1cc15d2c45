#pragma once

#include "settings/FacedDialog.h"

#include <QDialog>

class QListWidget;
class QPushButton;
class QTableView;

namespace pennock::ui {

class GridServices;

/// "表格栏目配置": moves a grid's columns between shown and hidden and remembers the choice.
class TfrmGridConfig : public FacedDialog
{
    Q_OBJECT
public:
    TfrmGridConfig(
        GridServices& grids, QTableView* grid, const QString& key, QWidget* parent = nullptr);

    QListWidget* lstShow = nullptr; ///< "需要的数据列："
    QListWidget* lstHide = nullptr; ///< "不需要的数据列："
    QPushButton* btHide = nullptr;
    QPushButton* btShow = nullptr;
    QPushButton* btApply = nullptr;
    QPushButton* btClose = nullptr;

    /// "隐藏": the selected shown columns go to the end of the hidden list, last first.
    void btHideClick();
    /// "显示": the other way round.
    void btShowClick();
    /// "应用修改": shows and hides the grid's columns as listed and saves the widths.
    void btApplyClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillLists();
    static void moveSelected(QListWidget* from, QListWidget* to);

    GridServices& mGrids;
    QTableView* mGrid;
    QString mKey;
};

} // namespace pennock::ui
