#include "parties/DMConfig.h"

#include "parties/DialogButton.h"
#include "parties/DictionaryStore.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "settings/FormPlacement.h"
#include "store/Database.h"
#include "templates/TemplateLookups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace pennock::ui {

const QString Tfm_DMConfig::kAllTemplates = QStringLiteral("<适用所有单据>");
const QString Tfm_DMConfig::kCaption = QStringLiteral("Pennock软件-字典管理");
const QString Tfm_DMConfig::kPendingQuestion
    = QStringLiteral("字典内容已经修改但尚未保存，是否保存？\n（选“否”将放弃这些修改）");

namespace {

constexpr int kDirtyRole = Qt::UserRole + 1;

} // namespace

const QStringList& Tfm_DMConfig::suggestedNames()
{
    static const QStringList names = {
        QStringLiteral("计量单位"),
        QStringLiteral("收费内容"),
        QStringLiteral("开票人"),
        QStringLiteral("收款人"),
        QStringLiteral("始发站"),
        QStringLiteral("发件人签名"),
        QStringLiteral("国家"),
        QStringLiteral("备注"),
        QStringLiteral("物品内容"),
        QStringLiteral("自定义1"),
        QStringLiteral("自定义2"),
    };
    return names;
}

int Tfm_DMConfig::templateListRows(int screenHeight) noexcept
{
    if (screenHeight < 800)
        return 23;
    return screenHeight < 900 ? 30 : 35;
}

Tfm_DMConfig::Tfm_DMConfig(core::Services& services, int checkTypeId, QWidget* parent)
    : FacedDialog(services.settings(), parent)
    , mServices(services)
    , mCheckTypeId(checkTypeId > 0 ? checkTypeId : 0)
{
    setObjectName(QStringLiteral("fm_DMConfig"));
    setWindowTitle(kCaption);
    resize(720, 560);

    auto* title = new QLabel(QStringLiteral("下拉列表字典管理"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 2);
    title->setFont(titleFont);
    lbTemplate = new QLabel(this);
    lbTemplate->setObjectName(QStringLiteral("lbTemplate"));

    Co_CheckType = new QComboBox(this);
    Co_CheckType->setObjectName(QStringLiteral("Co_CheckType"));
    if (const QScreen* screen = this->screen())
        Co_CheckType->setMaxVisibleItems(templateListRows(screen->size().height()));

    listBoxNames = new QListWidget(this);
    listBoxNames->setObjectName(QStringLiteral("listBoxNames"));
    edtNewName = new QComboBox(this);
    edtNewName->setObjectName(QStringLiteral("edtNewName"));
    edtNewName->setEditable(true);
    edtNewName->setInsertPolicy(QComboBox::NoInsert);
    edtNewName->addItems(suggestedNames());
    edtNewName->setEditText(QString());
    btAddName = dialogButton(this, "btAddName", QStringLiteral("2.1增加"));

    lbEntries = new QLabel(this);
    lbEntries->setObjectName(QStringLiteral("lbEntries"));
    gridEntries = new QTableWidget(0, 4, this);
    gridEntries->setObjectName(QStringLiteral("gridEntries"));
    gridEntries->setHorizontalHeaderLabels({ QStringLiteral("ID"), QStringLiteral("DMName"),
        QStringLiteral("字典内容"), QStringLiteral("单据号") });
    gridEntries->setColumnHidden(ColId, true);
    gridEntries->setColumnHidden(ColName, true);
    gridEntries->setColumnWidth(ColValue, 290);
    gridEntries->setColumnWidth(ColTemplate, 50);
    gridEntries->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridEntries->setSelectionMode(QAbstractItemView::SingleSelection);
    gridEntries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ckShowShared = new QCheckBox(QStringLiteral("显示公共字典内容"), this);
    ckShowShared->setObjectName(QStringLiteral("ckShowShared"));
    ckShowShared->setChecked(true);
    btAdd = dialogButton(this, "btAdd", QStringLiteral("+添加"));
    btEdit = dialogButton(this, "btEdit", QStringLiteral("E 修改"));
    btSave = dialogButton(this, "btSave", QStringLiteral("保存并刷新"));
    btDelete = dialogButton(this, "btDelete", QStringLiteral("- 删除"));
    btClose = dialogButton(this, "btClose", QStringLiteral("4、关  闭 (&X)"));

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("1、选择适用单据类型："), this));
    left->addWidget(Co_CheckType);
    left->addWidget(new QLabel(QStringLiteral("2、选择字典名称："), this));
    left->addWidget(listBoxNames, 1);
    auto* addName = new QHBoxLayout;
    addName->addWidget(edtNewName, 1);
    addName->addWidget(btAddName);
    left->addLayout(addName);
    auto* right = new QVBoxLayout;
    right->addWidget(lbEntries);
    right->addWidget(gridEntries, 1);
    auto* entryButtons = new QHBoxLayout;
    entryButtons->addWidget(ckShowShared);
    entryButtons->addStretch();
    for (QPushButton* b : { btAdd, btEdit, btSave, btDelete })
        entryButtons->addWidget(b);
    right->addLayout(entryButtons);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(lbTemplate);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);

    Co_CheckType->addItem(kAllTemplates);
    int start = 0;
    try {
        Co_CheckType->addItems(mServices.templates().loadCheckTypeFullNameList());
        if (mCheckTypeId > 0) {
            const int at = Co_CheckType->findText(
                mServices.templates().loadCheckTypeFullNameByID(mCheckTypeId));
            start = at > 0 ? at : 0;
        }
    } catch (const core::DbError&) {
        // Without the template list the shared dictionaries can still be edited.
    }
    {
        const QSignalBlocker blocker(Co_CheckType);
        Co_CheckType->setCurrentIndex(start);
    }
    templateChosen(start);

    connect(Co_CheckType, &QComboBox::currentIndexChanged, this, &Tfm_DMConfig::templateChosen);
    connect(listBoxNames, &QListWidget::currentRowChanged, this, [this] {
        if (mFilling)
            return;
        edtNewName->setEditText(currentName());
        reloadEntries();
    });
    connect(ckShowShared, &QCheckBox::toggled, this, &Tfm_DMConfig::reloadEntries);
    connect(btAddName, &QPushButton::clicked, this, &Tfm_DMConfig::btAddNameClick);
    connect(btAdd, &QPushButton::clicked, this, &Tfm_DMConfig::btAddClick);
    connect(btEdit, &QPushButton::clicked, this, &Tfm_DMConfig::btEditClick);
    connect(btSave, &QPushButton::clicked, this, &Tfm_DMConfig::btSaveClick);
    connect(btDelete, &QPushButton::clicked, this, &Tfm_DMConfig::btDeleteClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    connect(gridEntries, &QTableWidget::cellClicked, this, [this] { editCurrent(); });
    connect(gridEntries, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!mFilling && item->column() == ColValue)
            item->setData(kDirtyRole, true);
    });
}

QString Tfm_DMConfig::currentName() const
{
    const QListWidgetItem* item = listBoxNames->currentItem();
    return item ? item->text() : QString();
}

void Tfm_DMConfig::templateChosen(int index)
{
    const QString entry = Co_CheckType->itemText(index);
    mCheckTypeId = 0;
    try {
        if (index > 0)
            mCheckTypeId = mServices.templates().loadCheckTypeIDByTypeFullName(entry).toInt();
    } catch (const core::DbError&) {
        mCheckTypeId = 0;
    }
    // The window keeps its caption; the chosen template is named beneath the title.
    lbTemplate->setText(QStringLiteral("字典设置-%1(单据号=%2)").arg(entry).arg(mCheckTypeId));
    reloadNames();
}

void Tfm_DMConfig::reloadNames()
{
    QStringList names;
    try {
        names = core::DictionaryStore(mServices.db()).names(mCheckTypeId);
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
    }
    mFilling = true;
    listBoxNames->clear();
    listBoxNames->addItems(names);
    if (!names.isEmpty())
        listBoxNames->setCurrentRow(0);
    mFilling = false;
    edtNewName->setEditText(currentName());
    reloadEntries();
}

void Tfm_DMConfig::reloadEntries()
{
    // Every reload (another dictionary, template or tick, a deletion) passes here.
    if (!mFilling && !offerPendingEntries())
        return;
    const QString name = currentName();
    lbEntries->setText(QStringLiteral("3、[%1]已有字典内容：(\"单据号=0\"表示公用内容)").arg(name));
    const bool withShared = ckShowShared->isChecked();
    QList<core::DictionaryStore::Entry> entries;
    try {
        entries = core::DictionaryStore(mServices.db()).entries(mCheckTypeId, name, withShared);
    } catch (const core::DbError&) {
        mServices.prompter().warn(
            QStringLiteral("错误,sql=") + core::DictionaryStore::entriesSql(withShared));
    }
    mFilling = true;
    gridEntries->setRowCount(0);
    for (const auto& entry : entries) {
        const int row = gridEntries->rowCount();
        gridEntries->insertRow(row);
        gridEntries->setItem(row, ColId, new QTableWidgetItem(QString::number(entry.id)));
        gridEntries->setItem(row, ColName, new QTableWidgetItem(entry.name));
        gridEntries->setItem(row, ColValue, new QTableWidgetItem(entry.value));
        auto* templateItem = new QTableWidgetItem(QString::number(entry.checkTypeId));
        templateItem->setBackground(Qt::yellow);
        gridEntries->setItem(row, ColTemplate, templateItem);
    }
    if (gridEntries->rowCount() > 0)
        gridEntries->setCurrentCell(0, ColValue);
    mFilling = false;
}

void Tfm_DMConfig::btAddNameClick()
{
    const QString name = edtNewName->currentText().trimmed();
    if (name.isEmpty()) {
        mServices.prompter().inform(QStringLiteral("请输入字典名称"));
        return;
    }
    try {
        if (!core::DictionaryStore(mServices.db()).addDictionary(mCheckTypeId, name)) {
            mServices.prompter().inform(QStringLiteral("字典项目【%1】已经存在").arg(name));
            return;
        }
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
        return;
    }
    reloadNames();
}

void Tfm_DMConfig::btAddClick()
{
    const QString name = currentName();
    if (name.isEmpty())
        return;
    commitEditor();
    mFilling = true;
    const int row = gridEntries->rowCount();
    gridEntries->insertRow(row);
    gridEntries->setItem(row, ColId, new QTableWidgetItem(QString()));
    gridEntries->setItem(row, ColName, new QTableWidgetItem(name));
    auto* value = new QTableWidgetItem(QStringLiteral(" "));
    value->setData(kDirtyRole, true);
    gridEntries->setItem(row, ColValue, value);
    auto* templateItem = new QTableWidgetItem(QString::number(mCheckTypeId));
    templateItem->setBackground(Qt::yellow);
    gridEntries->setItem(row, ColTemplate, templateItem);
    mFilling = false;
    gridEntries->setCurrentCell(row, ColValue);
    editCurrent();
}

void Tfm_DMConfig::editCurrent()
{
    const int row = gridEntries->currentRow();
    if (row >= 0 && gridEntries->item(row, ColValue))
        gridEntries->editItem(gridEntries->item(row, ColValue));
}

void Tfm_DMConfig::btEditClick() { editCurrent(); }

void Tfm_DMConfig::commitEditor()
{
    // Leaving the cell hands a pending edit to its item.
    const QModelIndex current = gridEntries->currentIndex();
    gridEntries->setCurrentIndex(QModelIndex());
    gridEntries->setCurrentIndex(current);
}

bool Tfm_DMConfig::hasPendingEntries()
{
    commitEditor();
    for (int row = 0; row < gridEntries->rowCount(); ++row)
        if (gridEntries->item(row, ColValue)->data(kDirtyRole).toBool())
            return true;
    return false;
}

bool Tfm_DMConfig::offerPendingEntries()
{
    if (!hasPendingEntries())
        return true;
    if (!mServices.prompter().ask(kPendingQuestion, QStringLiteral("字典管理"))) {
        const bool filling = std::exchange(mFilling, true);
        for (int row = 0; row < gridEntries->rowCount(); ++row)
            gridEntries->item(row, ColValue)->setData(kDirtyRole, false);
        mFilling = filling;
        return true;
    }
    return savePending();
}

void Tfm_DMConfig::btSaveClick()
{
    if (savePending())
        reloadEntries();
}

bool Tfm_DMConfig::savePending()
{
    commitEditor();
    core::DictionaryStore store(mServices.db());
    try {
        core::Transaction tx(mServices.db());
        for (int row = 0; row < gridEntries->rowCount(); ++row) {
            const QTableWidgetItem* value = gridEntries->item(row, ColValue);
            if (!value->data(kDirtyRole).toBool())
                continue;
            const int id = gridEntries->item(row, ColId)->text().toInt();
            if (id > 0)
                store.updateEntry(id, value->text());
            else
                store.insertEntry(gridEntries->item(row, ColName)->text(), value->text(),
                    gridEntries->item(row, ColTemplate)->text().toInt());
        }
        tx.commit();
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
        return false;
    }
    // Stored rows are no longer pending; a new row keeps its place until the next reload.
    const bool filling = std::exchange(mFilling, true);
    for (int row = 0; row < gridEntries->rowCount(); ++row)
        gridEntries->item(row, ColValue)->setData(kDirtyRole, false);
    mFilling = filling;
    return true;
}

void Tfm_DMConfig::btDeleteClick()
{
    if (!mServices.prompter().ask(QStringLiteral("确认删除字典项目吗？")))
        return;
    if (gridEntries->rowCount() == 0) {
        mServices.prompter().inform(QStringLiteral("对不起，没有内容可删除！"));
        return;
    }
    const int row = std::max(0, gridEntries->currentRow());
    const int id = gridEntries->item(row, ColId)->text().toInt();
    if (id <= 0) {
        gridEntries->removeRow(row);
        return;
    }
    // Deleting one entry must not take the others typed meanwhile with it.
    if (!offerPendingEntries())
        return;
    const QString name = currentName();
    try {
        core::DictionaryStore store(mServices.db());
        store.deleteEntry(id);
        if (store.entries(mCheckTypeId, name, false).isEmpty()) {
            const QString keep = name;
            reloadNames();
            if (const auto found = listBoxNames->findItems(keep, Qt::MatchExactly);
                !found.isEmpty())
                listBoxNames->setCurrentItem(found.first());
            return;
        }
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
        return;
    }
    reloadEntries();
}

void Tfm_DMConfig::done(int result)
{
    if (!offerPendingEntries())
        return;
    FacedDialog::done(result);
}

void Tfm_DMConfig::faceLoaded() { centreAcrossScreen(this, 100); }

void openDictionaryEditor(QWidget* mainWindow, core::Services& services, int currentTemplateId)
{
    auto* editor = new Tfm_DMConfig(services, currentTemplateId, mainWindow);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->exec();
}

} // namespace pennock::ui
