#include "parties/GridConfig.h"

#include "parties/GridServices.h"
#include "platform/Prompter.h"
#include "printing/Services.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <exception>

namespace pennock::ui {

TfrmGridConfig::TfrmGridConfig(
    GridServices& grids, QTableView* grid, const QString& key, QWidget* parent)
    : FacedDialog(grids.services().settings(), parent)
    , mGrids(grids)
    , mGrid(grid)
    , mKey(key)
{
    setObjectName(QStringLiteral("frmGridConfig"));
    setWindowTitle(QStringLiteral("表格栏目配置"));
    resize(420, 380);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("需要的数据列："), this), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("不需要的数据列："), this), 0, 2);
    lstShow = new QListWidget(this);
    lstShow->setObjectName(QStringLiteral("lstShow"));
    lstShow->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstHide = new QListWidget(this);
    lstHide->setObjectName(QStringLiteral("lstHide"));
    lstHide->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(lstShow, 1, 0);
    layout->addWidget(lstHide, 1, 2);

    auto* middle = new QVBoxLayout;
    btHide = new QPushButton(QStringLiteral("隐藏"), this);
    btHide->setObjectName(QStringLiteral("btHide"));
    btShow = new QPushButton(QStringLiteral("显示"), this);
    btShow->setObjectName(QStringLiteral("btShow"));
    middle->addStretch();
    middle->addWidget(btHide);
    middle->addWidget(btShow);
    middle->addStretch();
    layout->addLayout(middle, 1, 1);

    auto* bottom = new QHBoxLayout;
    btApply = new QPushButton(QStringLiteral("应用修改"), this);
    btApply->setObjectName(QStringLiteral("btApply"));
    btClose = new QPushButton(QStringLiteral("关 闭"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    bottom->addStretch();
    bottom->addWidget(btApply);
    bottom->addWidget(btClose);
    layout->addLayout(bottom, 2, 0, 1, 3);

    connect(btHide, &QPushButton::clicked, this, &TfrmGridConfig::btHideClick);
    connect(btShow, &QPushButton::clicked, this, &TfrmGridConfig::btShowClick);
    connect(btApply, &QPushButton::clicked, this, &TfrmGridConfig::btApplyClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    fillLists();
}

void TfrmGridConfig::fillLists()
{
    lstShow->clear();
    lstHide->clear();
    if (!GridServices::isOpen(mGrid))
        return;
    for (int c = 0; c < mGrid->model()->columnCount(); ++c)
        (mGrid->isColumnHidden(c) ? lstHide : lstShow)->addItem(GridServices::fieldName(mGrid, c));
}

void TfrmGridConfig::showEvent(QShowEvent* event)
{
    fillLists();
    FacedDialog::showEvent(event);
}

void TfrmGridConfig::moveSelected(QListWidget* from, QListWidget* to)
{
    for (int i = from->count() - 1; i >= 0; --i) {
        if (!from->item(i)->isSelected())
            continue;
        QListWidgetItem* item = from->takeItem(i);
        item->setSelected(false);
        to->addItem(item);
    }
}

void TfrmGridConfig::btHideClick() { moveSelected(lstShow, lstHide); }

void TfrmGridConfig::btShowClick() { moveSelected(lstHide, lstShow); }

void TfrmGridConfig::btApplyClick()
{
    core::Prompter& prompter = mGrids.services().prompter();
    try {
        if (GridServices::isOpen(mGrid)) {
            const auto listed = [](const QListWidget* list, const QString& name) {
                for (int i = 0; i < list->count(); ++i)
                    if (list->item(i)->text() == name)
                        return true;
                return false;
            };
            const int columns = mGrid->model()->columnCount();
            for (int c = 0; c < columns; ++c) {
                if (!listed(lstShow, GridServices::fieldName(mGrid, c)))
                    continue;
                mGrid->setColumnHidden(c, false);
                if (mGrid->columnWidth(c) < 1)
                    mGrid->setColumnWidth(c, GridServices::kShownAgainWidth);
            }
            for (int c = 0; c < columns; ++c)
                if (listed(lstHide, GridServices::fieldName(mGrid, c)))
                    mGrid->setColumnHidden(c, true);
        }
        mGrids.GridColsWidthSave(mGrid, mKey);
        prompter.inform(QStringLiteral("栏目显示设置成功~"));
    } catch (const std::exception& e) {
        prompter.warn(QStringLiteral("设置出现意外错误~") + QString::fromStdString(e.what()));
    }
}

} // namespace pennock::ui
