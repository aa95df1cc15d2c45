#include "import/TfmWaybillBatch.h"

#include "bills/BillEnvironment.h"
#include "bills/BillKind.h"
#include "bills/TfmBillForm.h"
#include "bills/WaybillBatch.h"
#include "import/OrderSheet.h"
#include "parties/AddressSplitDialog.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "printing/PrintEngine.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kPrompt = q("提示");
const QString kAllGroups = q("（全部）");

// The list's columns the grid shows, after the tick column.
const QStringList& shownColumns()
{
    static const QStringList columns = { q("联系人"), q("全称"), q("电话"), q("手机"), q("省"),
        q("市"), q("镇区"), q("地址"), q("邮编"), q("国家"), q("目的站"), q("内件说明"), q("重量"),
        q("件数"), q("费用"), q("备注"), q("金额大写1"), q("批打分组") };
    return columns;
}

} // namespace

TfmWaybillBatch::TfmWaybillBatch(
    TfmBillForm& form, BillEnvironment& env, core::FileChooser& files, QWidget* parent)
    : QWidget(parent)
    , mForm(form)
    , mEnv(env)
    , mFiles(files)
{
    setObjectName(QStringLiteral("fmWaybillBatch"));
    setWindowTitle(q("快递单批量打印"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(q("批打分组:"), this));
    mGroup = new QComboBox(this);
    mGroup->setObjectName(QStringLiteral("cbGroup"));
    mGroup->setMinimumContentsLength(10);
    connect(mGroup, &QComboBox::activated, this, &TfmWaybillBatch::btRefreashClick);
    top->addWidget(mGroup);
    addButton(this, "btAddressBook", q("从地址簿添加(&A)"), &TfmWaybillBatch::btAddressBookClick)
        ->setEnabled(false);
    addButton(this, "btImport", q("导入订单表格(&I)"), &TfmWaybillBatch::btImportClick);
    addButton(this, "btAdd", q("添加一行(&N)"), &TfmWaybillBatch::btAddClick);
    addButton(this, "btDelete", q("删除选中(&D)"), &TfmWaybillBatch::btDeleteClick);
    addButton(this, "btGroup", q("设分组(&G)"), &TfmWaybillBatch::btGroupClick);
    addButton(this, "btClear", q("清空列表"), &TfmWaybillBatch::btClearClick);
    // The address book presses this once it has handed its parties over.
    addButton(this, "_btRefreash", q("刷新(&R)"), &TfmWaybillBatch::btRefreashClick);
    for (const char* name :
        { "btAddressBook", "btImport", "btAdd", "btDelete", "btGroup", "btClear", "_btRefreash" })
        top->addWidget(mButtons.value(QString::fromLatin1(name)));
    top->addStretch();
    layout->addLayout(top);

    auto* paste = new QHBoxLayout;
    mPaste = new QLineEdit(this);
    mPaste->setObjectName(QStringLiteral("edPaste"));
    mPaste->setPlaceholderText(
        q("粘贴收件人信息，例如：张三 13800138000 浙江省杭州市西湖区文三路90号"));
    connect(mPaste, &QLineEdit::returnPressed, this, &TfmWaybillBatch::btPasteClick);
    paste->addWidget(mPaste, 1);
    paste->addWidget(addButton(this, "btPaste", q("识别并添加"), &TfmWaybillBatch::btPasteClick));
    layout->addLayout(paste);

    mMatch = new QGroupBox(q("订单表格列匹配"), this);
    mMatch->setObjectName(QStringLiteral("gbMatch"));
    auto* match = new QVBoxLayout(mMatch);
    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(new QLabel(q("工作表："), mMatch));
    mSheets = new QComboBox(mMatch);
    mSheets->setObjectName(QStringLiteral("cboWorkSheets"));
    connect(mSheets, &QComboBox::activated, this, &TfmWaybillBatch::chooseSheet);
    sheetRow->addWidget(mSheets, 1);
    sheetRow->addWidget(new QLabel(q("导入分组："), mMatch));
    mImportGroup = new QLineEdit(mMatch);
    mImportGroup->setObjectName(QStringLiteral("edImportGroup"));
    sheetRow->addWidget(mImportGroup);
    sheetRow->addWidget(addButton(
        mMatch, "btAddMatched", q("添加到列表(&L)"), &TfmWaybillBatch::btAddMatchedClick));
    match->addLayout(sheetRow);
    auto* grid = new QGridLayout;
    const QList<core::OrderField>& fields = core::orderFields();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        auto* box = new QComboBox(mMatch);
        box->setObjectName(QStringLiteral("cbColumn") + QString::number(i));
        box->setMinimumContentsLength(8);
        mColumns << box;
        grid->addWidget(new QLabel(fields[i].item + q("->"), mMatch), int(i / 6), int(i % 6) * 2);
        grid->addWidget(box, int(i / 6), int(i % 6) * 2 + 1);
    }
    match->addLayout(grid);
    mMatch->hide();
    layout->addWidget(mMatch);

    buildGrid();
    layout->addWidget(mGrid, 1);

    auto* bottom = new QHBoxLayout;
    auto* all = new QPushButton(q("全选"), this);
    all->setObjectName(QStringLiteral("btCheckAll"));
    connect(all, &QPushButton::clicked, this, [this] { checkAll(true); });
    auto* none = new QPushButton(q("全不选"), this);
    none->setObjectName(QStringLiteral("btCheckNone"));
    connect(none, &QPushButton::clicked, this, [this] { checkAll(false); });
    bottom->addWidget(all);
    bottom->addWidget(none);
    mSave = new QCheckBox(q("保存到快递单历史"), this);
    mSave->setObjectName(QStringLiteral("ckSave"));
    mSave->setChecked(true);
    bottom->addWidget(mSave);
    mNumbered = new QCheckBox(q("自动编号，起始单号:"), this);
    mNumbered->setObjectName(QStringLiteral("ckNumbered"));
    bottom->addWidget(mNumbered);
    mFirstNumber = new QLineEdit(this);
    mFirstNumber->setObjectName(QStringLiteral("edFirstNumber"));
    bottom->addWidget(mFirstNumber);
    bottom->addWidget(new QLabel(q("步长:"), this));
    mStep = new QSpinBox(this);
    mStep->setObjectName(QStringLiteral("spStep"));
    mStep->setRange(1, 1000000);
    bottom->addWidget(mStep);
    bottom->addStretch();
    mStatus = new QLabel(this);
    mStatus->setObjectName(QStringLiteral("lbStatus"));
    bottom->addWidget(mStatus);
    bottom->addWidget(
        addButton(this, "btPrint", q("批量打印(&P)"), &TfmWaybillBatch::btPrintClick));
    layout->addLayout(bottom);
    resize(1000, 600);

    reloadGroups();
    btRefreashClick();
}

TfmWaybillBatch::~TfmWaybillBatch() = default;

QPushButton* TfmWaybillBatch::addButton(
    QWidget* parent, const char* name, const QString& caption, void (TfmWaybillBatch::*handler)())
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    mButtons.insert(b->objectName(), b);
    return b;
}

QPushButton* TfmWaybillBatch::button(const QString& name) const { return mButtons.value(name); }

QComboBox* TfmWaybillBatch::columnBox(const QString& item) const
{
    const QList<core::OrderField>& fields = core::orderFields();
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (fields[i].item == item)
            return mColumns.value(i);
    return nullptr;
}

void TfmWaybillBatch::setAddressBook(AddressBook open)
{
    mAddressBook = std::move(open);
    button(QStringLiteral("btAddressBook"))->setEnabled(bool(mAddressBook));
}

// ---------------------------------------------------------------------------------------------
// The list

void TfmWaybillBatch::buildGrid()
{
    mGrid = new QTableWidget(this);
    mGrid->setObjectName(QStringLiteral("grdReceivers"));
    QStringList titles = { q("打印") };
    titles += shownColumns();
    mGrid->setColumnCount(int(titles.size()));
    mGrid->setHorizontalHeaderLabels(titles);
    mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    mGrid->verticalHeader()->setDefaultSectionSize(22);
    connect(mGrid, &QTableWidget::cellChanged, this, &TfmWaybillBatch::cellEdited);
}

void TfmWaybillBatch::reloadGroups()
{
    const QString current = mGroup->currentText();
    QStringList groups;
    try {
        groups = core::ReceiverList(mEnv.services.db()).groups();
    } catch (const core::DbError&) {
    }
    const QSignalBlocker block(mGroup);
    mGroup->clear();
    mGroup->addItem(kAllGroups);
    mGroup->addItems(groups);
    mGroup->setCurrentIndex(std::max(0, mGroup->findText(current)));
}

void TfmWaybillBatch::btRefreashClick()
{
    reloadGroups();
    const QString group = mGroup->currentIndex() <= 0 ? QString() : mGroup->currentText();
    try {
        mShown = core::ReceiverList(mEnv.services.db()).load(group);
    } catch (const core::DbError& e) {
        mEnv.services.prompter().warn(e.message(), kPrompt);
        mShown.clear();
    }
    mFilling = true;
    mGrid->setRowCount(int(mShown.size()));
    for (int r = 0; r < mShown.size(); ++r) {
        auto* tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        tick->setCheckState(Qt::Checked);
        tick->setData(Qt::UserRole, mShown[r].id);
        mGrid->setItem(r, 0, tick);
        for (int c = 0; c < shownColumns().size(); ++c)
            mGrid->setItem(r, c + 1, new QTableWidgetItem(mShown[r].value(shownColumns()[c])));
    }
    mFilling = false;
    mStatus->setText(q("收件人：") + QString::number(mShown.size()));
}

void TfmWaybillBatch::cellEdited(int row, int column)
{
    if (mFilling || column < 1 || row >= mShown.size())
        return;
    const QString name = shownColumns().value(column - 1);
    core::Receiver r;
    r.id = mShown[row].id;
    r.values.insert(name, mGrid->item(row, column)->text().trimmed());
    try {
        core::ReceiverList(mEnv.services.db()).update(r);
        mShown[row].values.insert(name, r.values.value(name));
    } catch (const core::DbError& e) {
        mEnv.services.prompter().warn(e.message(), kPrompt);
    }
    if (name == core::ReceiverList::kGroup)
        reloadGroups();
}

void TfmWaybillBatch::checkAll(bool on)
{
    for (int r = 0; r < mGrid->rowCount(); ++r)
        mGrid->item(r, 0)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

QList<core::Receiver> TfmWaybillBatch::checkedReceivers() const
{
    QList<core::Receiver> out;
    for (int r = 0; r < mGrid->rowCount() && r < mShown.size(); ++r)
        if (mGrid->item(r, 0)->checkState() == Qt::Checked)
            out << mShown[r];
    return out;
}

void TfmWaybillBatch::btAddClick()
{
    core::Receiver r;
    r.values.insert(core::ReceiverList::kGroup,
        mGroup->currentIndex() <= 0 ? QString() : mGroup->currentText());
    try {
        core::ReceiverList(mEnv.services.db()).add(r);
    } catch (const core::DbError& e) {
        mEnv.services.prompter().warn(e.message(), kPrompt);
        return;
    }
    btRefreashClick();
    mGrid->setCurrentCell(mGrid->rowCount() - 1, 1);
    mGrid->editItem(mGrid->item(mGrid->rowCount() - 1, 1));
}

void TfmWaybillBatch::btDeleteClick()
{
    QList<int> ids;
    const auto rows = mGrid->selectionModel()->selectedRows();
    for (const QModelIndex& index : rows)
        ids << mShown.value(index.row()).id;
    if (ids.isEmpty()) {
        mEnv.services.prompter().inform(q("请先选择要删除的收件人！"), kPrompt);
        return;
    }
    try {
        core::ReceiverList(mEnv.services.db()).remove(ids);
    } catch (const core::DbError& e) {
        mEnv.services.prompter().warn(e.message(), kPrompt);
    }
    btRefreashClick();
}

void TfmWaybillBatch::btClearClick()
{
    const QString group = mGroup->currentIndex() <= 0 ? QString() : mGroup->currentText();
    const QString question = group.isEmpty() ? q("清空批打列表中的所有收件人吗？")
                                             : q("清空分组【") + group + q("】的所有收件人吗？");
    if (!mEnv.services.prompter().ask(question, kPrompt))
        return;
    try {
        core::ReceiverList(mEnv.services.db()).clear(group);
    } catch (const core::DbError& e) {
        mEnv.services.prompter().warn(e.message(), kPrompt);
    }
    btRefreashClick();
}

void TfmWaybillBatch::btGroupClick()
{
    const auto rows = mGrid->selectionModel()->selectedRows();
    if (rows.isEmpty() || !mEnv.giveMeAnValue) {
        mEnv.services.prompter().inform(q("请先选择要分组的收件人！"), kPrompt);
        return;
    }
    const QString group
        = mEnv.giveMeAnValue(q("输入批打分组名称"), {}, QStringLiteral("string")).trimmed();
    if (group.isEmpty())
        return;
    try {
        core::ReceiverList list(mEnv.services.db());
        for (const QModelIndex& index : rows) {
            core::Receiver r;
            r.id = mShown.value(index.row()).id;
            r.values.insert(core::ReceiverList::kGroup, group);
            list.update(r);
        }
    } catch (const core::DbError& e) {
        mEnv.services.prompter().warn(e.message(), kPrompt);
    }
    btRefreashClick();
}

// ---------------------------------------------------------------------------------------------
// Filling the list

void TfmWaybillBatch::btAddressBookClick()
{
    if (!mAddressBook)
        return;
    mAddressBook(partyReceiver(), [this] { button(QStringLiteral("_btRefreash"))->click(); });
}

std::function<bool(const core::TPerson&)> TfmWaybillBatch::partyReceiver()
{
    const QString group = mGroup->currentIndex() <= 0 ? QString() : mGroup->currentText();
    return [this, group](const core::TPerson& party) {
        try {
            core::ReceiverList(mEnv.services.db()).add(core::ReceiverList::fromParty(party, group));
            return true;
        } catch (const core::DbError&) {
            return false;
        }
    };
}

void TfmWaybillBatch::btImportClick()
{
    const QString path = mFiles.openFileName(
        this, q("选择订单表格"), q("表格文件 (*.xlsx *.xls *.ods *.csv *.txt);;所有文件 (*)"));
    if (!path.isEmpty())
        readSheet(path);
}

bool TfmWaybillBatch::readSheet(const QString& path)
{
    try {
        mBook = core::SheetBook::open(path);
    } catch (const core::SheetError& e) {
        mBook.reset();
        mMatch->hide();
        mEnv.services.prompter().inform(e.message, kPrompt);
        return false;
    }
    {
        const QSignalBlocker block(mSheets);
        mSheets->clear();
        mSheets->addItems(mBook->sheetNames());
        mSheets->setCurrentIndex(0);
    }
    if (mImportGroup->text().isEmpty())
        mImportGroup->setText(QFileInfo(path).completeBaseName());
    mMatch->show();
    chooseSheet(0);
    return true;
}

void TfmWaybillBatch::chooseSheet(int index)
{
    if (!mBook)
        return;
    try {
        mRows = mBook->rows(index);
    } catch (const core::SheetError& e) {
        mEnv.services.prompter().inform(e.message, kPrompt);
        mRows.clear();
    }
    const QStringList titles = mRows.value(0);
    QStringList entries = { QString() };
    for (qsizetype c = 0; c < titles.size(); ++c)
        if (!titles[c].trimmed().isEmpty())
            entries << q("列") + QString::number(c + 1) + QLatin1Char(':') + titles[c].trimmed();
    if (entries.size() == 1)
        mEnv.services.prompter().inform(q("表格[") + mSheets->currentText()
                + q("]没有可识别的列(表格第一行必须为非空的列标题，比如：联系人,电话..)!"),
            kPrompt);
    const QList<int> matched = core::matchOrderColumns(mEnv.services.db(), titles);
    for (qsizetype i = 0; i < mColumns.size(); ++i) {
        QComboBox* box = mColumns[i];
        box->clear();
        box->addItems(entries);
        const int column = matched.value(i, -1);
        box->setCurrentIndex(column < 0
                ? 0
                : int(box->findText(q("列") + QString::number(column + 1) + QLatin1Char(':'),
                    Qt::MatchStartsWith)));
    }
    mStatus->setText(q("数据行：") + QString::number(std::max<qsizetype>(0, mRows.size() - 1)));
}

void TfmWaybillBatch::btAddMatchedClick()
{
    if (mRows.size() < 2) {
        mEnv.services.prompter().inform(q("表格没有可导入的数据行！"), kPrompt);
        return;
    }
    QList<int> columns;
    for (QComboBox* box : std::as_const(mColumns)) {
        const QString entry = box->currentText();
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        columns << (colon > 1 ? entry.mid(1, colon - 1).toInt() - 1 : -1);
    }
    QList<core::Receiver> receivers = core::receiversFromRows(mRows, columns, &splitter());
    const QString group = mImportGroup->text().trimmed();
    for (core::Receiver& r : receivers)
        if (r.value(core::ReceiverList::kGroup).isEmpty())
            r.values.insert(core::ReceiverList::kGroup, group);
    try {
        core::ReceiverList(mEnv.services.db()).add(receivers);
    } catch (const core::DbError& e) {
        mEnv.services.prompter().warn(e.message(), kPrompt);
        return;
    }
    reloadGroups();
    if (!group.isEmpty())
        mGroup->setCurrentIndex(std::max(0, mGroup->findText(group)));
    btRefreashClick();
    mEnv.services.prompter().inform(
        q("添加成功,本次共添加") + QString::number(receivers.size()) + q("个收件人！"), kPrompt);
}

const core::AddressSplitter& TfmWaybillBatch::splitter()
{
    if (!mSplitter)
        mSplitter = std::make_unique<core::AddressSplitter>(
            core::AddressSplitter::forDatabase(mEnv.services.db()));
    return *mSplitter;
}

void TfmWaybillBatch::btPasteClick()
{
    const QString text = mPaste->text().trimmed();
    if (text.isEmpty())
        return;
    core::SplitAddress split = splitter().split(text);
    std::optional<core::SplitAddress> confirmed;
    if (mConfirm) {
        confirmed = mConfirm(split, text);
    } else {
        AddressSplitDialog dialog(split, text, this);
        if (dialog.exec() == QDialog::Accepted)
            confirmed = dialog.result();
    }
    if (!confirmed)
        return;
    core::Receiver r;
    r.values = { { q("联系人"), confirmed->name }, { q("手机"), confirmed->mobile },
        { q("电话"), confirmed->phone }, { q("省"), confirmed->province },
        { q("市"), confirmed->city }, { q("镇区"), confirmed->district },
        { q("地址"), confirmed->address }, { q("邮编"), confirmed->postcode },
        { core::ReceiverList::kGroup,
            mGroup->currentIndex() <= 0 ? QString() : mGroup->currentText() } };
    try {
        core::ReceiverList(mEnv.services.db()).add(r);
    } catch (const core::DbError& e) {
        mEnv.services.prompter().warn(e.message(), kPrompt);
        return;
    }
    mPaste->clear();
    btRefreashClick();
}

// ---------------------------------------------------------------------------------------------
// Printing

void TfmWaybillBatch::btPrintClick()
{
    core::Prompter& prompter = mEnv.services.prompter();
    const QList<core::Receiver> receivers = checkedReceivers();
    if (receivers.isEmpty()) {
        prompter.inform(q("没有勾选要打印的收件人！"), kPrompt);
        return;
    }
    core::WaybillBatchOptions options;
    options.save = mSave->isChecked();
    if (mNumbered->isChecked()) {
        options.firstNumber = mFirstNumber->text().trimmed();
        options.step = mStep->value();
        if (core::numberInSeries(options.firstNumber, 1, 0).isEmpty()) {
            prompter.inform(q("起始单号必须以数字结尾，例如：SF1000001"), kPrompt);
            mFirstNumber->setFocus();
            return;
        }
    }
    QPushButton* print = button(QStringLiteral("btPrint"));
    print->setEnabled(false);
    const auto enable = qScopeGuard([print] { print->setEnabled(true); });
    core::PrintEngine& engine = mEnv.services.printEngine();
    mForm.PrintPrepare();
    if (!engine.printJobReady())
        return;
    mForm.PrinterTransBegin(1);
    if (!engine.printJobReady())
        return;
    QProgressDialog progress(q("正在批量打印快递单..."), q("取消"), 0, int(receivers.size()), this);
    progress.setWindowTitle(q("批量打印"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    core::WaybillBatchOutcome outcome;
    try {
        outcome = core::printWaybills(mEnv.services, mForm.bill(), receivers, options,
            mForm.printOffset().x(), mForm.printOffset().y(), [&progress](int done) {
                progress.setValue(done);
                QCoreApplication::processEvents();
                return !progress.wasCanceled();
            });
    } catch (const core::DbError& e) {
        engine.abortJob();
        prompter.warn(q("批量打印出错！") + e.message(), kPrompt);
        return;
    }
    progress.setValue(int(receivers.size()));
    if (!outcome.delivered) {
        // The numbers were not used and nothing was saved: the same batch can go again.
        mStatus->setText(q("批量打印失败，没有保存"));
        prompter.warn(q("打印出错，请检查打印机是否可用！\n批量打印的 ")
                + QString::number(outcome.printed) + q(" 张快递单没有送到打印机，也没有保存。"),
            kPrompt);
        return;
    }
    if (mNumbered->isChecked())
        mFirstNumber->setText(
            core::numberInSeries(options.firstNumber, options.step, outcome.printed));
    QString summary
        = q("批量打印结束，共打印 ") + QString::number(outcome.printed) + q(" 张快递单");
    if (options.save)
        summary += q("，保存 ") + QString::number(outcome.saved) + q(" 张");
    summary += outcome.cancelled ? q("（已取消）！") : q("！");
    for (const auto& [i, why] : outcome.refused)
        summary += QLatin1Char('\n') + q("未打印：") + receivers[i].value(q("联系人"))
            + QLatin1Char(' ') + receivers[i].value(q("全称")) + q("（") + why + q("）");
    mStatus->setText(summary.section(QLatin1Char('\n'), 0, 0));
    prompter.inform(summary, kPrompt);
}

} // namespace pennock::ui
