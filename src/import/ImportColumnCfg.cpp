#include "import/ImportColumnCfg.h"

#include "import/ColumnMatch.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pennock::ui {

const QString TfrmImportColumnCfg::kMaintenanceCode = QStringLiteral("4736285");

TfrmImportColumnCfg::TfrmImportColumnCfg(core::Services& services, QWidget* parent)
    : QDialog(parent)
    , mServices(services)
{
    setObjectName(QStringLiteral("frmImportColumnCfg"));
    setWindowTitle(QStringLiteral("导入列匹配-设置"));
    resize(640, 480);

    cbScene = new QComboBox(this);
    cbScene->setObjectName(QStringLiteral("cbScene"));
    cbScene->addItem(core::kReceiverImport);
    cbScene->setEnabled(false);

    grid = new QTableWidget(0, 3, this);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setHorizontalHeaderLabels(
        { QStringLiteral("ID"), QStringLiteral("项目名"), QStringLiteral("Excel/CSV源列名") });
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setVisible(false);

    edItemName = new QLineEdit(this);
    edItemName->setObjectName(QStringLiteral("edItemName"));
    edItemName->setReadOnly(true);
    edItemName->setEnabled(false);
    edShowOrd = new QLineEdit(this);
    edShowOrd->setObjectName(QStringLiteral("edShowOrd"));
    edSourceName = new QLineEdit(this);
    edSourceName->setObjectName(QStringLiteral("edSourceName"));
    btSubmit = new QPushButton(QStringLiteral("提交修改"), this);
    btSubmit->setObjectName(QStringLiteral("btSubmit"));
    btAdd = new QPushButton(QStringLiteral("添加"), this);
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btAdd->hide();
    btDelete = new QPushButton(QStringLiteral("删除"), this);
    btDelete->setObjectName(QStringLiteral("btDelete"));
    btDelete->hide();
    btClose = new QPushButton(QStringLiteral("关  闭(&X)"), this);
    btClose->setObjectName(QStringLiteral("btClose"));

    auto* edit = new QGroupBox(QStringLiteral("编辑区"), this);
    auto* form = new QFormLayout(edit);
    form->addRow(QStringLiteral("项目名："), edItemName);
    form->addRow(QStringLiteral("顺序号："), edShowOrd);
    form->addRow(QStringLiteral("Excel、CSV对应列名："), edSourceName);
    form->addRow(new QLabel(
        QStringLiteral("提示：多个列名以逗号分隔(例如： 联系人,收货人,收件人 ) 。"), edit));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btSubmit);
    buttons->addWidget(btAdd);
    buttons->addWidget(btDelete);
    buttons->addStretch();
    buttons->addWidget(btClose);
    form->addRow(buttons);

    auto* sceneRow = new QHBoxLayout;
    sceneRow->addWidget(new QLabel(QStringLiteral("配置场景："), this));
    sceneRow->addWidget(cbScene, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sceneRow);
    layout->addWidget(grid, 1);
    layout->addWidget(edit);

    connect(grid, &QTableWidget::currentCellChanged, this, [this] { showCurrent(); });
    connect(edShowOrd, &QLineEdit::textChanged, this, &TfrmImportColumnCfg::showOrdEdited);
    connect(btSubmit, &QPushButton::clicked, this, &TfrmImportColumnCfg::btSubmitClick);
    connect(btAdd, &QPushButton::clicked, this, &TfrmImportColumnCfg::btAddClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmImportColumnCfg::btDeleteClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    loadRules();
}

void TfrmImportColumnCfg::loadRules()
{
    const int keep = grid->currentRow();
    try {
        core::ensureMatchColumn(mServices.db());
        mRules = core::loadMatchRules(mServices.db(), cbScene->currentText());
    } catch (const core::DbError& e) {
        mRules.clear();
        mServices.prompter().warn(e.message());
    }
    const QSignalBlocker blocker(grid);
    grid->setRowCount(0);
    for (const core::MatchRule& rule : std::as_const(mRules)) {
        const int row = grid->rowCount();
        grid->insertRow(row);
        grid->setItem(row, 0, new QTableWidgetItem(QString::number(rule.id)));
        grid->setItem(row, 1, new QTableWidgetItem(rule.item));
        grid->setItem(row, 2, new QTableWidgetItem(rule.source));
    }
    if (!mRules.isEmpty())
        grid->setCurrentCell(std::clamp(keep, 0, int(mRules.size()) - 1), 1);
    showCurrent();
}

const core::MatchRule* TfrmImportColumnCfg::currentRule() const
{
    const int row = grid->currentRow();
    return row >= 0 && row < mRules.size() ? &mRules[row] : nullptr;
}

void TfrmImportColumnCfg::showCurrent()
{
    const core::MatchRule* rule = currentRule();
    edItemName->setText(rule ? rule->item : QString());
    edShowOrd->setText(rule ? rule->showOrd : QString());
    edSourceName->setText(rule ? rule->source : QString());
}

void TfrmImportColumnCfg::showOrdEdited(const QString& text)
{
    const bool maintenance = text == kMaintenanceCode;
    // Once shown, the maintenance buttons stay for this window.
    if (maintenance) {
        btAdd->show();
        btDelete->show();
    }
    edItemName->setEnabled(maintenance);
    edItemName->setReadOnly(!maintenance);
}

void TfrmImportColumnCfg::btSubmitClick()
{
    const core::MatchRule* current = currentRule();
    if (!current || edItemName->text().isEmpty())
        return;
    const QString rule = core::cleanRuleText(edSourceName->text());
    if (rule.isEmpty()) {
        mServices.prompter().inform(QStringLiteral("请输入有效的Excel/csv列名"));
        edSourceName->setFocus();
        return;
    }
    core::MatchRule changed = *current;
    changed.item = edItemName->text().trimmed();
    changed.source = rule;
    // The maintenance code is a key, not an order.
    if (edShowOrd->text() != kMaintenanceCode)
        changed.showOrd = edShowOrd->text().trimmed();
    try {
        core::storeMatchRule(mServices.db(), changed);
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
        return;
    }
    loadRules();
}

void TfrmImportColumnCfg::btAddClick()
{
    try {
        const int id = core::addMatchRule(mServices.db(), cbScene->currentText());
        loadRules();
        for (int row = 0; row < mRules.size(); ++row)
            if (mRules[row].id == id)
                grid->setCurrentCell(row, 1);
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
        return;
    }
    edItemName->setEnabled(true);
    edItemName->setReadOnly(false);
    edItemName->setFocus();
}

void TfrmImportColumnCfg::btDeleteClick()
{
    const core::MatchRule* current = currentRule();
    if (!current)
        return;
    try {
        core::deleteMatchRule(mServices.db(), current->id);
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
    }
    loadRules();
}

} // namespace pennock::ui
