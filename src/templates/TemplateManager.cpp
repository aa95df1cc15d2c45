#include "templates/TemplateManager.h"

#include "platform/Prompter.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/ImageShow.h"
#include "templates/Package.h"
#include "templates/TemplateLookups.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {

const QString kAllKinds = QStringLiteral("所有模板种类");
const QString kNotice = QStringLiteral("提示");
const QString kFailed = QStringLiteral("模板设置失败,中止！~");

enum Column { Id, FullName, Default, Common, Enabled, Kind, Picture };

// Which changing buttons each tab offers: default, common, out of common, hide, enable, delete.
struct TabButtons
{
    bool setDefault, common, noCommon, hide, show, remove;
};

TabButtons buttonsOf(core::TemplateTab tab)
{
    switch (tab) {
    case core::TemplateTab::Available:
        return { true, true, false, true, false, true };
    case core::TemplateTab::Common:
        return { true, false, true, true, false, true };
    case core::TemplateTab::Default:
        return { false, false, false, false, false, false };
    case core::TemplateTab::Hidden:
        return { true, true, false, false, true, true };
    }
    return {};
}

} // namespace

TfrmCheckTypeMng::TfrmCheckTypeMng(core::Database& db, const core::ProgramFolder& folder,
    core::Settings& settings, core::Prompter& prompter, Links links, int preselectedId,
    QWidget* parent)
    : FacedDialog(settings, parent)
    , mDb(db)
    , mFolder(folder)
    , mPrompter(prompter)
    , mStore(db, folder)
    , mLinks(std::move(links))
    , mPreselected(preselectedId)
{
    setObjectName(QStringLiteral("frmCheckTypeMng"));
    setWindowTitle(QStringLiteral("票据模板管理"));
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(QStringLiteral("票据模板管理"), this);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    heading->setFont(big);
    layout->addWidget(heading);

    auto* filter = new QHBoxLayout;
    filter->addWidget(new QLabel(QStringLiteral("模板种类:"), this));
    mKinds = new QComboBox(this);
    mKinds->setObjectName(QStringLiteral("cbCheckTypeName"));
    mKinds->setMinimumWidth(140);
    mKinds->addItem(kAllKinds);
    try {
        mKinds->addItems(mStore.kinds());
    } catch (const core::DbError&) {
        // The list goes on with every kind.
    }
    filter->addWidget(mKinds);
    filter->addWidget(addButton(
        QStringLiteral("btRefresh"), QStringLiteral("过滤模板(&F)"), &TfrmCheckTypeMng::refresh));
    filter->addWidget(addButton(
        QStringLiteral("btALL"), QStringLiteral("全部模板列表"), &TfrmCheckTypeMng::showAll));
    filter->addSpacing(16);
    filter->addWidget(new QLabel(QStringLiteral("查询关键字:"), this));
    mKey = new QLineEdit(this);
    mKey->setObjectName(QStringLiteral("edtKey"));
    filter->addWidget(mKey);
    auto* searchButton = new QPushButton(QStringLiteral("查询"), this);
    searchButton->setObjectName(QStringLiteral("btSearch"));
    searchButton->setAutoDefault(false);
    mButtons.insert(searchButton->objectName(), searchButton);
    filter->addWidget(searchButton);
    filter->addStretch();
    layout->addLayout(filter);

    mTabs = new QTabBar(this);
    mTabs->setObjectName(QStringLiteral("TabControl1"));
    for (const char* caption : { "所有可用模板", "常用的模板", "默认的模板", "隐藏的模板" })
        mTabs->addTab(QString::fromUtf8(caption));
    layout->addWidget(mTabs);

    auto* body = new QHBoxLayout;
    mModel = new QStandardItemModel(0, 7, this);
    mModel->setHorizontalHeaderLabels({ QStringLiteral("编号"), QStringLiteral("模板种类"),
        QStringLiteral("默认"), QStringLiteral("常用"), QStringLiteral("是否启用"),
        QStringLiteral("TypeFirstName"), QStringLiteral("底图") });
    mGrid = new QTableView(this);
    mGrid->setObjectName(QStringLiteral("DBGrid1"));
    mGrid->setModel(mModel);
    mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mGrid->verticalHeader()->hide();
    mGrid->verticalHeader()->setDefaultSectionSize(22);
    mGrid->setColumnHidden(Kind, true);
    for (const auto& [column, width] : { std::pair { Id, 45 }, { FullName, 250 }, { Default, 45 },
             { Common, 45 }, { Enabled, 70 }, { Picture, 110 } })
        mGrid->setColumnWidth(column, width);
    mGrid->horizontalHeader()->setStretchLastSection(true);
    mGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    body->addWidget(mGrid, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(addButton(QStringLiteral("btSetToDefault"),
        QStringLiteral("设置为【默认票据模板】"), &TfrmCheckTypeMng::setToDefault));
    side->addWidget(addButton(QStringLiteral("btSet2Common"),
        QStringLiteral("设置为【常用】票据模板"), &TfrmCheckTypeMng::setToCommon));
    side->addWidget(addButton(QStringLiteral("btNoCommon"),
        QStringLiteral("从常用模板【移出】(&M)"), &TfrmCheckTypeMng::removeFromCommon));
    side->addSpacing(10);
    side->addWidget(addButton(QStringLiteral("btHide"), QStringLiteral("【隐藏选中】票据模版(&H)"),
        &TfrmCheckTypeMng::hideSelected));
    side->addWidget(addButton(QStringLiteral("btShow"), QStringLiteral("【启用】选中票据模版(&H)"),
        &TfrmCheckTypeMng::enableSelected));
    side->addWidget(addButton(QStringLiteral("btDelete"),
        QStringLiteral("【删除选中】票据模板(&K)"), &TfrmCheckTypeMng::deleteSelected));
    side->addSpacing(10);
    QPushButton* import = addButton(QStringLiteral("btImportTMP"),
        QStringLiteral("外部【导入】模板"), &TfrmCheckTypeMng::openImport);
    import->setEnabled(bool(mLinks.importPackages));
    side->addWidget(import);
    side->addStretch();
    side->addWidget(addButton(
        QStringLiteral("btClose"), QStringLiteral("  关   闭 (&X)"), &TfrmCheckTypeMng::accept));
    body->addLayout(side);
    layout->addLayout(body, 1);

    auto* hints = new QHBoxLayout;
    auto* hint = new QLabel(QStringLiteral("【技巧提示】1、按住Ctrl+鼠标左击 可同时选中多个模板;\n"
                                           "                        2、模板列表支持右键菜单操作。"),
        this);
    hint->setStyleSheet(QStringLiteral("color: #1f4e9a"));
    hints->addWidget(hint);
    hints->addStretch();
    auto* upgrade = new QLabel(QStringLiteral("<a href=\"#\">在线升级，获取更多模板</a>"), this);
    upgrade->setObjectName(QStringLiteral("lbOnlineUpgrade"));
    // Without the online upgrade command the link leads nowhere.
    upgrade->setVisible(bool(mLinks.onlineUpgrade));
    connect(upgrade, &QLabel::linkActivated, this, [this] {
        if (mLinks.onlineUpgrade)
            mLinks.onlineUpgrade();
    });
    hints->addWidget(upgrade);
    layout->addLayout(hints);

    mMenu = new QMenu(this);
    mMenu->setObjectName(QStringLiteral("PopupMenu1"));
    const struct
    {
        const char* caption;
        const char* button;
        void (TfrmCheckTypeMng::*slot)();
    } entries[] = {
        { "设为默认模板", "btSetToDefault", &TfrmCheckTypeMng::setToDefault },
        { "设为常用模板", "btSet2Common", &TfrmCheckTypeMng::setToCommon },
        { "移出常用模板", "btNoCommon", &TfrmCheckTypeMng::removeFromCommon },
        { "隐藏模板-停用", "btHide", &TfrmCheckTypeMng::hideSelected },
        { "启用模板-不隐藏", "btShow", &TfrmCheckTypeMng::enableSelected },
        { "模板重命名", "", &TfrmCheckTypeMng::renameCurrent },
        { "模板设计", "", &TfrmCheckTypeMng::designCurrent },
        { "导入模板", "btImportTMP", &TfrmCheckTypeMng::openImport },
        { "删除选中模板", "btDelete", &TfrmCheckTypeMng::deleteSelected },
        { "刷新", "", &TfrmCheckTypeMng::refresh },
    };
    for (const auto& e : entries) {
        QAction* action = mMenu->addAction(QString::fromUtf8(e.caption));
        action->setObjectName(QString::fromLatin1(e.button).isEmpty()
                ? QStringLiteral("mn") + QString::number(mMenu->actions().size())
                : QStringLiteral("mn") + QString::fromLatin1(e.button));
        action->setProperty("button", QString::fromLatin1(e.button));
        connect(action, &QAction::triggered, this, e.slot);
    }
    connect(mGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        updateButtons();
        mMenu->popup(mGrid->viewport()->mapToGlobal(at));
    });

    connect(mTabs, &QTabBar::currentChanged, this, [this] {
        if (!mListing)
            refresh();
    });
    connect(mKinds, &QComboBox::currentIndexChanged, this, [this] { kindChanged(); });
    connect(searchButton, &QPushButton::clicked, this, [this] { search(mKey->text()); });
    connect(mKey, &QLineEdit::returnPressed, this, [this] { search(mKey->text()); });
    connect(mGrid, &QAbstractItemView::doubleClicked, this,
        [this](const QModelIndex& index) { showPicture(index.row()); });

    // The template of the open bill form: its kind is listed and its row chosen.
    if (mPreselected > 0) {
        const QString kind = core::loadCheckTypeFirstNameByID(mDb, mPreselected);
        const int preselected = mPreselected;
        if (mKinds->findText(kind) > 0) {
            const QSignalBlocker block(mKinds);
            mKinds->setCurrentIndex(mKinds->findText(kind));
        }
        kindChanged();
        const int row = int(shownIds().indexOf(preselected));
        if (row >= 0)
            selectRows({ row });
    } else {
        refresh();
    }
}

QPushButton* TfrmCheckTypeMng::addButton(
    const QString& name, const QString& caption, void (TfrmCheckTypeMng::*slot)())
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumHeight(28);
    connect(button, &QPushButton::clicked, this, slot);
    mButtons.insert(name, button);
    return button;
}

QPushButton* TfrmCheckTypeMng::button(const QString& name) const { return mButtons.value(name); }

core::TemplateTab TfrmCheckTypeMng::tab() const
{
    return core::TemplateTab(qMax(0, mTabs->currentIndex()));
}

void TfrmCheckTypeMng::showTab(core::TemplateTab tab)
{
    if (mTabs->currentIndex() == int(tab))
        refresh();
    else
        mTabs->setCurrentIndex(int(tab));
}

QList<int> TfrmCheckTypeMng::shownIds() const
{
    QList<int> ids;
    for (int row = 0; row < mModel->rowCount(); ++row)
        ids << cell(row, Id).toInt();
    return ids;
}

QString TfrmCheckTypeMng::cell(int row, int column) const
{
    const QStandardItem* item = mModel->item(row, column);
    return item ? item->text() : QString();
}

void TfrmCheckTypeMng::refresh()
{
    const QString kind = mKinds->currentIndex() > 0 ? mKinds->currentText() : QString();
    QList<core::TemplateRow> rows;
    try {
        rows = mStore.list(tab(), kind, mKey->text().trimmed());
    } catch (const core::DbError& e) {
        mPrompter.warn(QStringLiteral("模板列表失败:Error=") + e.message(), kNotice);
    }
    mModel->removeRows(0, mModel->rowCount());
    for (const core::TemplateRow& r : std::as_const(rows)) {
        QList<QStandardItem*> items;
        for (const QString& text : { QString::number(r.id), r.fullName, r.isDefault, r.isCommon,
                 r.visiable, r.kind, r.imageFile })
            items << new QStandardItem(text);
        mModel->appendRow(items);
    }
    setWindowTitle((kind.isEmpty() ? QString() : kind) + QStringLiteral("模板管理(查询")
        + QString::number(rows.size()) + QStringLiteral("个)"));
    mKey->clear();
    if (mModel->rowCount() > 0)
        mGrid->setCurrentIndex(mModel->index(0, FullName));
    updateButtons();
}

void TfrmCheckTypeMng::updateButtons()
{
    const TabButtons on = buttonsOf(tab());
    mButtons[QStringLiteral("btSetToDefault")]->setEnabled(on.setDefault);
    mButtons[QStringLiteral("btSet2Common")]->setEnabled(on.common);
    mButtons[QStringLiteral("btNoCommon")]->setEnabled(on.noCommon);
    mButtons[QStringLiteral("btHide")]->setEnabled(on.hide);
    mButtons[QStringLiteral("btShow")]->setEnabled(on.show);
    mButtons[QStringLiteral("btDelete")]->setEnabled(on.remove);
    for (QAction* action : mMenu->actions()) {
        const QString button = action->property("button").toString();
        if (!button.isEmpty())
            action->setEnabled(mButtons.value(button)->isEnabled());
        else if (action->text() == u"模板设计")
            action->setEnabled(tab() != core::TemplateTab::Hidden && bool(mLinks.design));
        else if (action->text() == u"模板重命名")
            action->setEnabled(bool(mLinks.askValue));
    }
}

void TfrmCheckTypeMng::kindChanged()
{
    const bool all = mKinds->currentIndex() <= 0;
    const QString kind = all ? QStringLiteral("模板") : mKinds->currentText();
    mButtons[QStringLiteral("btSetToDefault")]->setText(QStringLiteral("设置为【默认】") + kind);
    mButtons[QStringLiteral("btSet2Common")]->setText(QStringLiteral("设置为【常用】") + kind);
    mPreselected = 0;
    refresh();
}

void TfrmCheckTypeMng::chooseKind(const QString& kind)
{
    const int index = kind.isEmpty() ? 0 : mKinds->findText(kind);
    if (index == mKinds->currentIndex())
        kindChanged();
    else
        mKinds->setCurrentIndex(qMax(0, index));
}

void TfrmCheckTypeMng::showAll()
{
    mListing = true;
    mTabs->setCurrentIndex(0);
    mListing = false;
    chooseKind({});
    mButtons[QStringLiteral("btSetToDefault")]->setText(QStringLiteral("设置为【默认票据模板】"));
    mButtons[QStringLiteral("btSet2Common")]->setText(QStringLiteral("设置为【常用】票据模板"));
}

void TfrmCheckTypeMng::search(const QString& text)
{
    mKey->setText(text.trimmed());
    refresh();
    mKey->setFocus();
}

void TfrmCheckTypeMng::selectRows(const QList<int>& rows)
{
    QItemSelectionModel* selection = mGrid->selectionModel();
    selection->clearSelection();
    for (int row : rows)
        selection->select(
            mModel->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (!rows.isEmpty())
        selection->setCurrentIndex(
            mModel->index(rows.last(), FullName), QItemSelectionModel::NoUpdate);
}

QList<int> TfrmCheckTypeMng::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : mGrid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && currentRow() >= 0)
        rows << currentRow();
    return rows;
}

int TfrmCheckTypeMng::currentRow() const
{
    const QModelIndex current = mGrid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TfrmCheckTypeMng::setToDefault()
{
    const int row = currentRow();
    if (row < 0 || mModel->rowCount() == 0) {
        mPrompter.inform(QStringLiteral("没有选中要设置的票据模板！"), kNotice);
        return;
    }
    const int id = cell(row, Id).toInt();
    try {
        const QString kind = core::loadCheckTypeFirstNameByID(mDb, id);
        mStore.setDefault(id, kind);
        mChanged = true;
        mPrompter.inform(
            QStringLiteral("默认【") + kind + QStringLiteral("票据】模板设置成功！"), kNotice);
    } catch (const core::DbError&) {
        mPrompter.warn(kFailed, kNotice);
    }
    showTab(core::TemplateTab::Default);
}

void TfrmCheckTypeMng::setToCommon()
{
    const QList<int> rows = selectedRows();
    int count = 0;
    try {
        for (int row : rows) {
            mStore.setCommon(cell(row, Id).toInt(), true);
            ++count;
        }
    } catch (const core::DbError&) {
        mPrompter.warn(kFailed, kNotice);
    }
    mChanged = mChanged || count > 0;
    mPrompter.inform(QStringLiteral("共添加 %1 个模板为常用模板！").arg(count)
            + QStringLiteral("\n\r\n\r新设置常用快递后，请重开快递单填开界面生效~"),
        kNotice);
    showTab(core::TemplateTab::Common);
}

void TfrmCheckTypeMng::removeFromCommon()
{
    const QList<int> rows = selectedRows();
    int count = 0;
    try {
        for (int row : rows) {
            if (cell(row, Default) == u"默认") {
                mPrompter.inform(QStringLiteral("默认模板不能从常用模板移出！"), kNotice);
                continue;
            }
            mStore.setCommon(cell(row, Id).toInt(), false);
            ++count;
        }
    } catch (const core::DbError&) {
        mPrompter.warn(kFailed, kNotice);
    }
    mChanged = mChanged || count > 0;
    mPrompter.inform(QStringLiteral("共从常用模板移出 %1 个模板为普通模板！").arg(count), kNotice);
    showTab(core::TemplateTab::Common);
}

void TfrmCheckTypeMng::hideSelected()
{
    try {
        for (int row : selectedRows())
            mStore.setEnabled(cell(row, Id).toInt(), false);
    } catch (const core::DbError&) {
        mPrompter.warn(kFailed, kNotice);
    }
    mChanged = true;
    refresh();
    mPrompter.inform(QStringLiteral("隐藏的模板，可在【隐藏的模板】中重新启用。"), kNotice);
}

void TfrmCheckTypeMng::enableSelected()
{
    try {
        for (int row : selectedRows())
            mStore.setEnabled(cell(row, Id).toInt(), true);
    } catch (const core::DbError&) {
        mPrompter.warn(kFailed, kNotice);
    }
    mChanged = true;
    refresh();
}

void TfrmCheckTypeMng::deleteSelected()
{
    if (!mPrompter.ask(QStringLiteral("确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，"
                                      "可先设置为隐藏。"),
            QStringLiteral("删除确认")))
        return;
    int count = 0;
    try {
        for (int row : selectedRows()) {
            const QString fullName = cell(row, FullName);
            if (core::kindOfFullName(fullName).isEmpty()) {
                mPrompter.warn(QStringLiteral("获取单据类型失败：") + fullName, kNotice);
                continue;
            }
            if (!mPrompter.ask(
                    QStringLiteral("确认删除票据模板【") + fullName + QStringLiteral("】吗？"),
                    QStringLiteral("警告")))
                continue;
            mStore.deleteTemplate(cell(row, Id).toInt());
            ++count;
        }
    } catch (const core::DbError&) {
        mPrompter.warn(QStringLiteral("模板删除失败,中止！~"), kNotice);
    }
    mChanged = mChanged || count > 0;
    mPrompter.inform(QStringLiteral("共删除 %1 个模板！").arg(count), kNotice);
    refresh();
}

void TfrmCheckTypeMng::renameCurrent()
{
    const int row = currentRow();
    if (row < 0 || !mLinks.askValue)
        return;
    const int id = cell(row, Id).toInt();
    const QString fullName = cell(row, FullName);
    QString kind = cell(row, Kind);
    if (kind.isEmpty())
        kind = core::kindOfFullName(fullName);
    QString old = fullName;
    for (const QString& part : { kind, QStringLiteral("（"), QStringLiteral("）") }) {
        const qsizetype at = part.isEmpty() ? -1 : old.indexOf(part);
        if (at >= 0)
            old.remove(at, part.size());
    }
    const QString answer = mLinks.askValue(QStringLiteral("输入新模板名(15个汉字以内):"), old);
    if (answer.isEmpty() || answer == old)
        return;
    const QString variant = core::TemplateLookups::cleanVariantName(answer.trimmed());
    if (variant.isEmpty()) {
        mPrompter.warn(QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!"), kNotice);
        return;
    }
    if (variant == old)
        return;
    try {
        if (!mStore.rename(id, kind, variant)) {
            mPrompter.warn(
                QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或者改模版正被隐藏。"),
                kNotice);
            return;
        }
    } catch (const core::DbError& e) {
        mPrompter.warn(QStringLiteral("修改失败，错误=") + e.message(), kNotice);
        return;
    }
    mChanged = true;
    mPrompter.inform(QStringLiteral("重名名成功~"), kNotice);
    refresh();
}

void TfrmCheckTypeMng::designCurrent()
{
    const int row = currentRow();
    if (row >= 0 && mLinks.design) {
        mLinks.design(cell(row, Id).toInt());
        mChanged = true;
    }
}

void TfrmCheckTypeMng::openImport()
{
    if (!mLinks.importPackages)
        return;
    mLinks.importPackages();
    mChanged = true;
    refresh();
}

void TfrmCheckTypeMng::showPicture(int row)
{
    if (row < 0 || row >= mModel->rowCount())
        return;
    auto* viewer = new TfrmImageShow(this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setModal(true);
    if (viewer->loadPictureByFullName(mDb, mFolder, mPrompter, cell(row, FullName)))
        viewer->show();
    else
        delete viewer;
}

} // namespace pennock::ui
