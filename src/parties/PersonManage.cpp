#include "parties/PersonManage.h"

#include "parties/DAOPerson.h"
#include "parties/DialogButton.h"
#include "parties/GridServices.h"
#include "parties/PersonInfo.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "printing/Services.h"
#include "store/Database.h"
#include "store/Maintenance.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QSqlQueryModel>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <exception>

namespace pennock::ui {

using core::DAOPerson;
using core::PersonSearch;

const QString Tfm_PersonManage::kFormName = QStringLiteral("fm_PersonManage");
const QString Tfm_PersonManage::kTable = QStringLiteral("CKPersonalInfoTable");

namespace {

const QString kCaption = QStringLiteral("单位及客户资料管理");
const QString kByRegion = QStringLiteral("[按地区分组]");
const QString kByGroup = QStringLiteral("[按其他分组]");
const QString kWidthChange = QStringLiteral("删除所有点击我->>");
constexpr int kClearAllWidth = 120;

QAction* action(QMenu* menu, const char* name, const QString& caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

Tfm_PersonManage::Tfm_PersonManage(core::Services& services, GridServices& grids, QWidget* parent)
    : FacedDialog(services.settings(), parent)
    , mServices(services)
    , mGrids(grids)
{
    setObjectName(kFormName);
    setWindowTitle(kCaption);
    resize(900, 560);
    buildWindow();
    buildMenus();
    rebuildGroupTree();
    refreshTotal();
}

Tfm_PersonManage::~Tfm_PersonManage() = default;

void Tfm_PersonManage::buildWindow()
{
    lbTitle = new QLabel(kCaption, this);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    QFont titleFont = lbTitle->font();
    titleFont.setBold(true);
    lbTitle->setFont(titleFont);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setMinimumWidth(5);
    TreeView1->setMaximumWidth(400);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QTreeWidget::itemClicked, this,
        [this](QTreeWidgetItem* item) { treeClick(item); });

    TabControl1 = new QTabBar(this);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->addTab(QStringLiteral("【全部分组】"));

    btInsert = dialogButton(this, "btInsert", QStringLiteral("添 加"));
    btEdit = dialogButton(this, "btEdit", QStringLiteral("修 改"));
    btDelete = dialogButton(this, "btDelete", QStringLiteral("删除选中"));
    btDeleteList = dialogButton(this, "btDeleteList", QStringLiteral("删除列出"));
    btSetDefault = dialogButton(this, "btSetDefault", QStringLiteral("设为默认出票人"));
    btRefresh = dialogButton(this, "btRefresh", QStringLiteral("刷新(&R)"));
    // They serve a calling window's batch-print list; no window is such a caller yet.
    btSelectMulti = dialogButton(this, "btSelectMulti", QStringLiteral("添加选中到批打"));
    btSelectMulti->setEnabled(false);
    btSelectAndAddAll = dialogButton(this, "btSelectAndAddAll", QStringLiteral("添加所有到批打"));
    btSelectAndAddAll->setEnabled(false);
    lbClearAll = new QLabel(kWidthChange, this);
    lbClearAll->setObjectName(QStringLiteral("lbClearAll"));
    lbClearAll->setCursor(Qt::PointingHandCursor);
    lbClearAll->installEventFilter(this);
    btClearAll = dialogButton(this, "btClearAll", QStringLiteral("删除所有"));
    btClearAll->setVisible(false);
    auto* buttonRow = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*> {
             btInsert, btEdit, btDelete, btDeleteList, btSetDefault, btRefresh })
        buttonRow->addWidget(w);
    buttonRow->addStretch();
    buttonRow->addWidget(lbClearAll);
    buttonRow->addWidget(btClearAll);
    auto* batchRow = new QHBoxLayout;
    batchRow->addStretch();
    batchRow->addWidget(btSelectMulti);
    batchRow->addWidget(btSelectAndAddAll);

    mModel = new QSqlQueryModel(this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(mModel);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    QPalette palette = DBGrid1->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        palette.setColor(group, QPalette::Highlight, Qt::blue);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    DBGrid1->setPalette(palette);
    DBGrid1->viewport()->installEventFilter(this);
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
        &Tfm_PersonManage::titleClick);
    connect(DBGrid1, &QTableView::doubleClicked, this, [this] { pickCurrent(); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &Tfm_PersonManage::selectionChanged);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &Tfm_PersonManage::selectionChanged);

    KeyEdit = new QLineEdit(this);
    KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
    KeyEdit->setToolTip(QStringLiteral("默认查找单位、联系人、电话、手机、地址、助记码几项。"));
    KeyEdit->setPlaceholderText(KeyEdit->toolTip());
    connect(KeyEdit, &QLineEdit::returnPressed, this, [this] { runSearch(SearchOrigin::Other); });
    btSearch = dialogButton(this, "btSearch", QStringLiteral("查询(&C)"));
    btImprt = dialogButton(this, "btImprt", QStringLiteral("Excel导入"));
    // Enabled once the import is handed in.
    btImprt->setEnabled(false);
    btExport = dialogButton(this, "btExport", QStringLiteral("Excel导出"));
    btAdv = dialogButton(this, "btAdv", QStringLiteral("<<"));
    btAll = dialogButton(this, "btAll", QStringLiteral("全部(&A)"));
    btClose = dialogButton(this, "btClose", QStringLiteral("关 闭(&X)"));
    auto* searchBar = new QHBoxLayout;
    searchBar->addWidget(KeyEdit, 1);
    for (QPushButton* b : { btSearch, btImprt, btExport, btAdv, btAll, btClose })
        searchBar->addWidget(b);

    panelAdv = new QWidget(this);
    panelAdv->setObjectName(QStringLiteral("panelAdv"));
    Column1 = new QComboBox(panelAdv);
    Column1->setObjectName(QStringLiteral("Column1"));
    EqualOrContain1 = new QComboBox(panelAdv);
    EqualOrContain1->setObjectName(QStringLiteral("EqualOrContain1"));
    EqualOrContain1->addItems({ QStringLiteral("包含"), QStringLiteral("等于") });
    key1 = new QLineEdit(panelAdv);
    key1->setObjectName(QStringLiteral("key1"));
    btAdvSearch = dialogButton(panelAdv, "btAdvSearch", QStringLiteral("精确查询"));
    auto* advRow = new QHBoxLayout(panelAdv);
    advRow->setContentsMargins(0, 0, 0, 0);
    advRow->addWidget(new QLabel(QStringLiteral("仅查询列:"), panelAdv));
    advRow->addWidget(Column1);
    advRow->addWidget(EqualOrContain1);
    advRow->addWidget(key1, 1);
    advRow->addWidget(btAdvSearch);
    panelAdv->setVisible(false);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    for (size_t i = 0; i < mPanels.size(); ++i) {
        mPanels[i] = new QLabel(status);
        status->addWidget(mPanels[i], i == 2 ? 1 : 0);
    }
    mPanels[2]->setText(
        QStringLiteral("【技巧】1.鼠标单击选中,双击选取;  2.按住Ctrl+点击，同时选中多个条目."));

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(TabControl1);
    rightLayout->addLayout(buttonRow);
    rightLayout->addLayout(batchRow);
    rightLayout->addWidget(DBGrid1, 1);
    rightLayout->addLayout(searchBar);
    rightLayout->addWidget(panelAdv);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(TreeView1);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 180, 720 });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbTitle);
    layout->addWidget(splitter, 1);
    layout->addWidget(status);

    connect(btSearch, &QPushButton::clicked, this, [this] { runSearch(SearchOrigin::Button); });
    connect(
        btAdvSearch, &QPushButton::clicked, this, [this] { runSearch(SearchOrigin::Advanced); });
    connect(btAll, &QPushButton::clicked, this, &Tfm_PersonManage::btAllClick);
    connect(btAdv, &QPushButton::clicked, this, &Tfm_PersonManage::toggleAdvanced);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    connect(btInsert, &QPushButton::clicked, this, &Tfm_PersonManage::btInsertClick);
    connect(btEdit, &QPushButton::clicked, this, &Tfm_PersonManage::btEditClick);
    connect(btDelete, &QPushButton::clicked, this, &Tfm_PersonManage::btDeleteClick);
    connect(btDeleteList, &QPushButton::clicked, this, &Tfm_PersonManage::btDeleteListClick);
    connect(btSetDefault, &QPushButton::clicked, this, &Tfm_PersonManage::btSetDefaultClick);
    connect(btRefresh, &QPushButton::clicked, this, &Tfm_PersonManage::btRefreshClick);
    connect(btClearAll, &QPushButton::clicked, this, &Tfm_PersonManage::btClearAllClick);
    connect(btExport, &QPushButton::clicked, this, &Tfm_PersonManage::btExportClick);
    connect(btImprt, &QPushButton::clicked, this, &Tfm_PersonManage::btImprtClick);
    connect(btSelectMulti, &QPushButton::clicked, this, &Tfm_PersonManage::btSelectMultiClick);
    connect(
        btSelectAndAddAll, &QPushButton::clicked, this, &Tfm_PersonManage::btSelectAndAddAllClick);
}

void Tfm_PersonManage::buildMenus()
{
    gridMenu = new QMenu(this);
    n_pick = action(gridMenu, "n_pick", QStringLiteral("选择该单位"));
    gridMenu->addSeparator();
    n_new = action(gridMenu, "n_new", QStringLiteral("添加新单位"));
    n_modify = action(gridMenu, "n_modify", QStringLiteral("修改单位信息"));
    n_Delete = action(gridMenu, "n_Delete", QStringLiteral("删除该单位"));
    n_settodefault = action(gridMenu, "n_settodefault", QStringLiteral("设为默认出票人"));
    gridMenu->addSeparator();
    nRemWidth = action(gridMenu, "nRemWidth", QStringLiteral("【记住列宽】当前数据"));
    nColsConfig = action(gridMenu, "nColsConfig", QStringLiteral("【显示/隐藏】数据列"));
    nRefresh = action(gridMenu, "nRefresh", QStringLiteral("【刷新】"));
    connect(n_pick, &QAction::triggered, this, &Tfm_PersonManage::pickCurrent);
    connect(n_new, &QAction::triggered, this, &Tfm_PersonManage::btInsertClick);
    connect(n_modify, &QAction::triggered, this, &Tfm_PersonManage::btEditClick);
    connect(n_Delete, &QAction::triggered, this, &Tfm_PersonManage::btDeleteClick);
    connect(n_settodefault, &QAction::triggered, this, &Tfm_PersonManage::btSetDefaultClick);
    connect(nRemWidth, &QAction::triggered, this,
        [this] { mGrids.GridColsWidthSave(DBGrid1, kFormName); });
    connect(nColsConfig, &QAction::triggered, this,
        [this] { mGrids.GridColsConfigration(DBGrid1, kFormName); });
    connect(nRefresh, &QAction::triggered, this, &Tfm_PersonManage::btRefreshClick);
    connect(gridMenu, &QMenu::aboutToShow, this, [this] {
        const bool any = rows() > 0;
        for (QAction* a : { n_pick, n_modify, n_Delete, n_settodefault })
            a->setEnabled(any);
    });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { gridMenu->popup(DBGrid1->viewport()->mapToGlobal(at)); });

    treeMenu = new QMenu(this);
    QAction* refresh = action(treeMenu, "nTreeRefresh", QStringLiteral("【刷新】"));
    QAction* expand = action(treeMenu, "nExpandAll", QStringLiteral("全部展开"));
    QAction* collapse = action(treeMenu, "nCollapseAll", QStringLiteral("全部关闭"));
    QAction* how = action(treeMenu, "nHowToGroup", QStringLiteral("分组如何添加?"));
    connect(refresh, &QAction::triggered, this, &Tfm_PersonManage::rebuildGroupTree);
    connect(expand, &QAction::triggered, TreeView1, &QTreeWidget::expandAll);
    connect(collapse, &QAction::triggered, TreeView1, &QTreeWidget::collapseAll);
    connect(how, &QAction::triggered, this, [this] {
        mServices.prompter().inform(
            QStringLiteral("分组无需添加，当有一个单位的分组属性设置为\"分组A\"时，"
                           "就会自动添加一个\"分组A\"的组。"));
    });
    connect(TreeView1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { treeMenu->popup(TreeView1->viewport()->mapToGlobal(at)); });
}

void Tfm_PersonManage::rebuildGroupTree()
{
    TreeView1->clear();
    for (const QString& root : { PersonSearch::kAllGroups, DAOPerson::kOwnCompany,
             DAOPerson::kCounterparty, DAOPerson::kDefaultDrawer })
        TreeView1->addTopLevelItem(new QTreeWidgetItem({ root }));
    DAOPerson dao(mServices.db());
    auto* regions = new QTreeWidgetItem({ kByRegion });
    for (const QString& province : dao.loadPersonTableProvinceList())
        regions->addChild(new QTreeWidgetItem({ province }));
    auto* groups = new QTreeWidgetItem({ kByGroup });
    for (const QString& group : dao.loadPersonTableGroupList())
        groups->addChild(new QTreeWidgetItem({ group }));
    TreeView1->addTopLevelItem(regions);
    TreeView1->addTopLevelItem(groups);
    TreeView1->expandAll();
}

QTreeWidgetItem* Tfm_PersonManage::treeNode(const QString& text) const
{
    const QList<QTreeWidgetItem*> found
        = TreeView1->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void Tfm_PersonManage::setTab(const QString& path)
{
    TabControl1->setTabText(0, QStringLiteral("【") + path + QStringLiteral("】"));
}

void Tfm_PersonManage::treeClick(QTreeWidgetItem* item)
{
    if (!item || item->text(0) == kByRegion || item->text(0) == kByGroup)
        return;
    KeyEdit->clear();
    key1->clear();
    mSearch.group = PersonSearch::kAllGroups;
    mSearch.type.clear();
    const QString text = item->text(0);
    const QString parent = item->parent() ? item->parent()->text(0) : QString();
    if (text == DAOPerson::kOwnCompany || text == DAOPerson::kCounterparty)
        mSearch.type = text;
    else if (text == DAOPerson::kDefaultDrawer)
        mSearch.group = DAOPerson::kDefaultDrawer;
    else if (parent == kByRegion)
        KeyEdit->setText(text);
    else if (parent == kByGroup)
        mSearch.group = text;
    QStringList path;
    for (QTreeWidgetItem* node = item; node; node = node->parent())
        path.prepend(node->text(0));
    setTab(path.join(QLatin1Char('\\')));
    runSearch(SearchOrigin::Other);
}

void Tfm_PersonManage::setSelectionMode(bool on)
{
    mSelectionMode = on;
    mPicked.reset();
}

void Tfm_PersonManage::setCaption(const QString& caption)
{
    if (caption.isEmpty())
        return;
    setWindowTitle(caption);
    lbTitle->setText(caption);
}

void Tfm_PersonManage::showType(const QString& type)
{
    if (type == DAOPerson::kCounterparty || type == DAOPerson::kOwnCompany) {
        setTab(type);
        mSearch.type = type;
        mSearch.group = PersonSearch::kAllGroups;
        KeyEdit->clear();
        key1->clear();
    } else {
        btAllClick();
    }
}

int Tfm_PersonManage::rows() const { return mModel->rowCount(); }

int Tfm_PersonManage::currentId() const
{
    const int column = GridServices::columnOf(DBGrid1, QStringLiteral("ID"));
    const int row = DBGrid1->currentIndex().isValid() ? DBGrid1->currentIndex().row() : -1;
    if (column < 0 || row < 0 || row >= rows())
        return 0;
    return mModel->index(row, column).data().toInt();
}

QString Tfm_PersonManage::statusText(int panel) const
{
    return panel >= 0 && panel < int(mPanels.size()) ? mPanels[size_t(panel)]->text() : QString();
}

void Tfm_PersonManage::refreshTotal()
{
    mPanels[1]->setText(
        QStringLiteral("系统共有[%1]条.")
            .arg(core::CountTableAllRows(mServices.db(), mServices.prompter(), kTable)));
}

void Tfm_PersonManage::loadStatement(const PersonSearch::Statement& statement)
{
    try {
        PersonSearch::runInto(mServices.db(), *mModel, statement);
    } catch (const core::DbError&) {
        // A failed search shows an empty grid.
        mModel->clear();
    }
    mGrids.GridColsWidthLoad(DBGrid1, kFormName);
    if (rows() > 0)
        DBGrid1->setCurrentIndex(mModel->index(0, 0));
    selectionChanged();
}

void Tfm_PersonManage::runSearch(SearchOrigin origin)
{
    if (origin == SearchOrigin::Button) {
        panelAdv->setVisible(false);
        key1->clear();
    }
    if (origin == SearchOrigin::Advanced) {
        if (Column1->currentText().isEmpty()) {
            mServices.prompter().inform(QStringLiteral("请选择查询的数据列！"));
            return;
        }
        if (key1->text().isEmpty()) {
            mServices.prompter().inform(QStringLiteral("请选择查询的关键词！"));
            return;
        }
    }
    mSearch.keyword = KeyEdit->text();
    mSearch.advanced = origin == SearchOrigin::Advanced;
    mSearch.advColumn = Column1->currentText();
    mSearch.advEquals = EqualOrContain1->currentText() == u"等于";
    mSearch.advKey = key1->text();
    if (mSearch.listsAll()) {
        btAllClick();
        return;
    }
    const PersonSearch::Statement statement = mSearch.prepare();
    if (!mSearch.type.isEmpty())
        if (QTreeWidgetItem* node = treeNode(mSearch.type))
            TreeView1->setCurrentItem(node);
    loadStatement(statement);
}

void Tfm_PersonManage::btAllClick()
{
    KeyEdit->clear();
    key1->clear();
    mSearch.keyword.clear();
    mSearch.advKey.clear();
    mSearch.advanced = false;
    mSearch.type.clear();
    // The tree shows "全部分组" chosen, so no group may narrow the next search either.
    mSearch.group = PersonSearch::kAllGroups;
    panelAdv->setVisible(false);
    loadStatement(mSearch.allStatement());
    if (QTreeWidgetItem* node = treeNode(PersonSearch::kAllGroups))
        TreeView1->setCurrentItem(node);
    setTab(PersonSearch::kAllGroups);
    lbTitle->setText(kCaption + QStringLiteral("(%1)").arg(rows()));
    refreshTotal();
}

void Tfm_PersonManage::titleClick(int column)
{
    if (!GridServices::isOpen(DBGrid1))
        return;
    mSearch.sortColumn = GridServices::fieldName(DBGrid1, column);
    mSearch.direction = PersonSearch::toggled(mSearch.direction);
    runSearch(SearchOrigin::Other);
}

void Tfm_PersonManage::toggleAdvanced()
{
    if (!mColumnsListed && GridServices::isOpen(DBGrid1)) {
        mColumnsListed = true;
        for (int c = 1; c < mModel->columnCount(); ++c) {
            const QString name = GridServices::fieldName(DBGrid1, c);
            if (name != u"排序")
                Column1->addItem(name);
        }
    }
    panelAdv->setVisible(!panelAdv->isVisible());
}

void Tfm_PersonManage::selectionChanged()
{
    const int selected
        = DBGrid1->selectionModel() ? int(DBGrid1->selectionModel()->selectedRows().size()) : 0;
    mPanels[0]->setText(QStringLiteral("选中[%1/%2]条").arg(selected).arg(rows()));
    const int column = GridServices::columnOf(DBGrid1, QStringLiteral("全称"));
    const QModelIndex current = DBGrid1->currentIndex();
    if (column >= 0 && current.isValid()) {
        const QString name = mModel->index(current.row(), column).data().toString();
        setWindowTitle((mSelectionMode ? QStringLiteral("选择单位-当前选中:")
                                       : QStringLiteral("单位、客户管理-当前选中:"))
            + name);
    }
}

Tfrm_PersonInfo* Tfm_PersonManage::editor()
{
    if (!mEditor) {
        mEditor = new Tfrm_PersonInfo(mServices, this);
        connect(mEditor, &Tfrm_PersonInfo::saved, this, [this] { runSearch(SearchOrigin::Other); });
    }
    return mEditor;
}

void Tfm_PersonManage::openEditor(int id)
{
    Tfrm_PersonInfo* info = editor();
    info->btResetClick();
    info->edtCountry->setEditText(QStringLiteral("中国"));
    if (id > 0) {
        info->loadPerson(id);
    } else {
        if (mSearch.type == DAOPerson::kOwnCompany)
            info->cbAcountType->setCurrentIndex(
                info->cbAcountType->findText(DAOPerson::kOwnCompany));
        if (mSearch.group != DAOPerson::kDefaultDrawer && mSearch.group != PersonSearch::kAllGroups)
            info->edtGroup->setEditText(mSearch.group);
    }
    info->exec();
    rebuildGroupTree();
}

void Tfm_PersonManage::btInsertClick() { openEditor(0); }

void Tfm_PersonManage::btEditClick()
{
    if (rows() == 0) {
        mServices.prompter().inform(QStringLiteral("没有单位可修改，请先选中一个要修改的单位！"));
        return;
    }
    openEditor(currentId());
}

void Tfm_PersonManage::pickCurrent()
{
    if (rows() == 0)
        return;
    core::TPerson person;
    person.ID = currentId();
    if (DAOPerson(mServices.db()).loadPersonById(person) == 1)
        mPicked = person;
    else
        mPicked.reset();
    if (mSelectionMode)
        accept();
    else
        openEditor(person.ID);
}

void Tfm_PersonManage::btDeleteClick()
{
    mGrids.GridSelectedDelete(DBGrid1, kTable, QStringLiteral("单位信息"),
        QStringLiteral("Numeric"), QStringLiteral("ID"));
    btRefreshClick();
}

void Tfm_PersonManage::btDeleteListClick()
{
    mGrids.GridDeleteCurrentList(DBGrid1, kTable, QStringLiteral("ID"));
    btRefreshClick();
}

void Tfm_PersonManage::btRefreshClick()
{
    runSearch(SearchOrigin::Other);
    lbTitle->setText(QStringLiteral("单位、客户管理(%1)").arg(rows()));
    refreshTotal();
    rebuildGroupTree();
}

void Tfm_PersonManage::btClearAllClick()
{
    if (!mServices.prompter().ask(QStringLiteral("警告:此操作将删除所有") + mSearch.type
            + QStringLiteral("的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？")))
        return;
    try {
        DAOPerson(mServices.db()).deleteAllPersons(mSearch.type);
    } catch (const core::DbError&) {
        mServices.prompter().warn(QStringLiteral("清空失败！"));
    }
    btRefreshClick();
}

void Tfm_PersonManage::btSetDefaultClick()
{
    if (rows() == 0) {
        mServices.prompter().inform(
            QStringLiteral("没有单位资料可设置，请先选中一个要设置的单位资料！"));
        return;
    }
    try {
        DAOPerson(mServices.db()).setDefaultDrawer(currentId());
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
        return;
    }
    mServices.prompter().inform(QStringLiteral("默认出票人设置成功！"));
    emit defaultDrawerChanged();
    runSearch(SearchOrigin::Other);
    if (mOpenBills.anyOpen && mOpenBills.anyOpen()) {
        mServices.prompter().inform(QStringLiteral("默认出票人已经修改，请重新填开票据！"));
        if (mOpenBills.closeAll)
            mOpenBills.closeAll();
    }
}

void Tfm_PersonManage::btExportClick()
{
    mGrids.ExportGrid2Excel(DBGrid1, QStringLiteral("单位信息导出"));
}

void Tfm_PersonManage::setSpreadsheetImport(SpreadsheetImport open)
{
    mSpreadsheetImport = std::move(open);
    btImprt->setEnabled(bool(mSpreadsheetImport));
}

void Tfm_PersonManage::btImprtClick()
{
    if (mSpreadsheetImport)
        mSpreadsheetImport(*this);
}

void Tfm_PersonManage::setBatchReceiver(BatchReceiver receive, std::function<void()> refresh)
{
    mBatchReceive = std::move(receive);
    mBatchRefresh = std::move(refresh);
    btSelectMulti->setEnabled(bool(mBatchReceive));
    btSelectAndAddAll->setEnabled(bool(mBatchReceive));
}

bool Tfm_PersonManage::addToBatch(const QList<int>& rows, int& added)
{
    added = 0;
    bool complete = true;
    for (const int row : rows) {
        DBGrid1->selectionModel()->setCurrentIndex(
            mModel->index(row, 0), QItemSelectionModel::NoUpdate);
        core::TPerson person;
        person.ID = currentId();
        if (DAOPerson(mServices.db()).loadPersonById(person) != 1) {
            complete = false;
            break;
        }
        mPicked = person;
        bool taken = false;
        try {
            taken = mBatchReceive && mBatchReceive(person);
        } catch (const std::exception&) {
            taken = false;
        }
        if (!taken) {
            complete = false;
            break;
        }
        ++added;
    }
    if (mBatchRefresh)
        mBatchRefresh();
    return complete;
}

void Tfm_PersonManage::btSelectMultiClick()
{
    if (!mBatchReceive)
        return;
    QList<int> rows;
    for (const QModelIndex& index : DBGrid1->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    int added = 0;
    // A list that stopped half way must not pass for a full one.
    if (!addToBatch(rows, added))
        mServices.prompter().warn(
            QStringLiteral("添加出现异常中断,已经成功添加%1个收件人！").arg(added));
}

void Tfm_PersonManage::btSelectAndAddAllClick()
{
    if (!mBatchReceive)
        return;
    if (rows() == 0) {
        mServices.prompter().inform(
            QStringLiteral("没有记录可添加,请重新设定条件查询或增加收件人!"));
        return;
    }
    DBGrid1->selectAll();
    QList<int> all;
    for (int row = 0; row < rows(); ++row)
        all << row;
    int added = 0;
    if (addToBatch(all, added))
        mServices.prompter().inform(QStringLiteral("添加成功,本次共添加%1个收件人！").arg(added));
    else
        mServices.prompter().warn(
            QStringLiteral("添加出现异常中断,已经成功添加%1个收件人！").arg(added));
}

void Tfm_PersonManage::toggleClearAll()
{
    const bool show = !btClearAll->isVisible();
    btClearAll->setVisible(show);
    resize(width() + (show ? kClearAllWidth : -kClearAllWidth), height());
}

void Tfm_PersonManage::showEvent(QShowEvent* event)
{
    KeyEdit->clear();
    runSearch(SearchOrigin::Other);
    lbTitle->setText(kCaption + QStringLiteral("(%1)").arg(rows()));
    DBGrid1->setToolTip(mSelectionMode ? QStringLiteral("鼠标双击选择指定的单位！") : QString());
    FacedDialog::showEvent(event);
}

void Tfm_PersonManage::done(int result)
{
    // Every way out (closing, a pick in selection mode) remembers the widths and the size.
    mGrids.GridColsWidthSave(DBGrid1, kFormName);
    FacedDialog::done(result);
}

bool Tfm_PersonManage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbClearAll && event->type() == QEvent::MouseButtonRelease) {
        toggleClearAll();
        return true;
    }
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Wheel) {
        // The wheel walks the rows one by one, as the arrow keys do.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int step = wheel->angleDelta().y() > 0 ? -1 : (wheel->angleDelta().y() < 0 ? 1 : 0);
        const int row = DBGrid1->currentIndex().row() + step;
        if (step != 0 && row >= 0 && row < rows())
            DBGrid1->selectionModel()->setCurrentIndex(
                mModel->index(row, std::max(0, DBGrid1->currentIndex().column())),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void openPersonManager(QWidget* mainWindow, core::Services& services, GridServices& grids,
    Tfm_PersonManage::OpenBills openBills, const QString& type,
    const std::function<void()>& defaultDrawerChanged, Tfm_PersonManage::BatchReceiver batch,
    std::function<void()> batchRefresh, Tfm_PersonManage::SpreadsheetImport spreadsheetImport)
{
    Tfm_PersonManage* manager = nullptr;
    if (mainWindow)
        for (auto* child : mainWindow->findChildren<Tfm_PersonManage*>(
                 Tfm_PersonManage::kFormName, Qt::FindDirectChildrenOnly))
            if (child->property("kept").toBool())
                manager = child;
    if (!manager) {
        manager = new Tfm_PersonManage(services, grids, mainWindow);
        manager->setProperty("kept", true);
        if (defaultDrawerChanged)
            QObject::connect(manager, &Tfm_PersonManage::defaultDrawerChanged, manager,
                [defaultDrawerChanged] { defaultDrawerChanged(); });
    }
    manager->setOpenBills(std::move(openBills));
    manager->setBatchReceiver(std::move(batch), std::move(batchRefresh));
    manager->setSpreadsheetImport(std::move(spreadsheetImport));
    manager->setSelectionMode(false);
    manager->showType(type);
    manager->exec();
}

std::optional<core::TPerson> fetchOnePerson(QWidget* parent, core::Services& services,
    GridServices& grids, const QString& type, const QString& caption,
    const std::function<void()>& defaultDrawerChanged)
{
    Tfm_PersonManage manager(services, grids, parent);
    if (defaultDrawerChanged)
        QObject::connect(&manager, &Tfm_PersonManage::defaultDrawerChanged, &manager,
            [defaultDrawerChanged] { defaultDrawerChanged(); });
    manager.setCaption(caption);
    manager.setSelectionMode(true);
    manager.showType(type);
    manager.exec();
    return manager.picked();
}

std::optional<core::TPerson> fetchOnePerson(
    QWidget* parent, core::Services& services, const QString& type, const QString& caption)
{
    core::DesktopShell shell;
    DialogFileChooser files;
    GridServices grids(services, shell, files);
    return fetchOnePerson(parent, services, grids, type, caption);
}

} // namespace pennock::ui
