#include "history/TfmSearch.h"

#include "bills/BillFormRegistry.h"
#include "bills/TfmBillForm.h"
#include "format/Capitals.h"
#include "parties/DAOPerson.h"
#include "parties/DialogButton.h"
#include "parties/GridServices.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/BillItemValues.h"
#include "store/Database.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace pennock::ui {

/// The result grid's rows, fetched as they are shown, painted by their status.
class HistoryModel : public QSqlQueryModel
{
public:
    using QSqlQueryModel::QSqlQueryModel;
    bool colours = false;
    /// Writes an edited cell; empty: the grid is read-only.
    std::function<bool(int serial, const QString& column, const QVariant& value)> write;

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = QSqlQueryModel::flags(index);
        if (write && index.column() > 0) // the serial identifies the row and stays
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!write || role != Qt::EditRole || index.column() == 0)
            return false;
        const int serial = QSqlQueryModel::data(this->index(index.row(), 0)).toInt();
        return write(serial, record().fieldName(index.column()), value);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (colours && (role == Qt::BackgroundRole || role == Qt::ForegroundRole)) {
            const int statusColumn = record().indexOf(QStringLiteral("票据状态"));
            if (statusColumn >= 0) {
                const QString status
                    = QSqlQueryModel::data(this->index(index.row(), statusColumn)).toString();
                if (status == u"作废")
                    return role == Qt::BackgroundRole ? QColor(Qt::red) : QColor(Qt::white);
                if (status == u"已用")
                    return role == Qt::BackgroundRole ? QColor(Qt::yellow) : QColor(Qt::black);
            }
        }
        return QSqlQueryModel::data(index, role);
    }
};

namespace {

const QString kFail = QStringLiteral("失败");
const QColor kYellow(Qt::yellow);
const QColor kRed(Qt::red);

} // namespace

TfmSearch::TfmSearch(const core::HistoryKind& kind, HistoryEnvironment& env, QWidget* parent)
    : FacedDialog(env.services.settings(), parent)
    , mKind(kind)
    , mEnv(env)
    , mSearch(env.services.db(), kind)
{
    setObjectName(kind.className.mid(1)); // "TfmSearch_ZP" is the component "fmSearch_ZP"
    setWindowTitle(kind.caption);
    auto* outer = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    mTree = new QTreeWidget(this);
    mTree->setObjectName(QStringLiteral("ATreeView1"));
    mTree->setHeaderHidden(true);
    for (const char* node : { "今天", "最近三天", "最近一周", "最近一个月", "最近三个月",
             "最近一年", "本月内", "本年度内", "其他日期" })
        mTree->addTopLevelItem(new QTreeWidgetItem({ QString::fromUtf8(node) }));
    connect(mTree, &QTreeWidget::itemClicked, this,
        [this](QTreeWidgetItem* item) { dateShortcut(item->text(0)); });
    left->addWidget(mTree, 1);
    addButton(this, "pri", QStringLiteral("导出Excel(&P)"), &TfmSearch::priClick);
    addButton(this, "DelAll", QStringLiteral("清空所有(&Y)"), &TfmSearch::DelAllClick);
    addButton(this, "del", QStringLiteral("删除选中(&D)"), &TfmSearch::delClick);
    if (kind.registration != core::HistoryRegistration::None)
        addButton(this, "btRecordNOs",
            kind.registration == core::HistoryRegistration::Blanks ? QStringLiteral("登记联号票据")
                                                                   : QStringLiteral("领用联号票据"),
            nullptr);
    if (kind.voids)
        addButton(this, "btFailedSelects", QStringLiteral("作废选中(&F)"),
            &TfmSearch::btFailedSelectsClick);
    addButton(this, "btDeleteList", QStringLiteral("删除列出(&C)"), &TfmSearch::btDeleteListClick);
    for (const char* name :
        { "pri", "DelAll", "del", "btRecordNOs", "btFailedSelects", "btDeleteList" })
        if (QPushButton* b = button(QString::fromLatin1(name)))
            left->addWidget(b);
    outer->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* group = new QGroupBox(QStringLiteral("查询条件"), this);
    buildFilters(group);
    right->addWidget(group);

    auto* bar = new QHBoxLayout;
    mDblClick = new QCheckBox(QStringLiteral("双击打开"), this);
    mDblClick->setObjectName(QStringLiteral("ckDBLClick"));
    const QString stored = env.services.settings().userIni().readString(
        QStringLiteral("Config"), kind.doubleClickKey);
    mDblClick->setChecked(stored.isEmpty() || stored == u"1");
    connect(mDblClick, &QCheckBox::toggled, this, [this](bool on) {
        core::IniFile& ini = mEnv.services.settings().userIni();
        ini.writeString(QStringLiteral("Config"), mKind.doubleClickKey,
            on ? QStringLiteral("1") : QStringLiteral("0"));
        ini.flush();
    });
    bar->addStretch();
    bar->addWidget(mDblClick);
    addButton(this, "btOpenView", QStringLiteral("打开(&O)"), &TfmSearch::openCurrent);
    addButton(this, "btQur", QStringLiteral("查 询(&Q)"), &TfmSearch::btQurClick);
    addButton(this, "btAll", QStringLiteral("全 部(&A)"), &TfmSearch::btAllClick);
    addButton(this, "btExit", QStringLiteral("关 闭(&X)"), nullptr);
    connect(button(QStringLiteral("btExit")), &QPushButton::clicked, this, &QDialog::close);
    for (const char* name : { "btOpenView", "btQur", "btAll", "btExit" })
        bar->addWidget(button(QString::fromLatin1(name)));
    right->addLayout(bar);

    mModel = new HistoryModel(this);
    mModel->colours = kind.voids;
    if (kind.editable) {
        mModel->write = [this](int serial, const QString& column, const QVariant& value) {
            try {
                if (!mSearch.setValue(serial, column, value))
                    return false;
            } catch (const core::DbError& e) {
                reportError(e.message(), {});
                return false;
            }
            // The edit shows once the rows are read again.
            QTimer::singleShot(0, this, &TfmSearch::refresh);
            return true;
        };
    }
    mGrid = new QTableView(this);
    mGrid->setObjectName(QStringLiteral("DBGrid1"));
    mGrid->setModel(mModel);
    mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mGrid->setEditTriggers(kind.editable
            ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
            : QAbstractItemView::NoEditTriggers);
    mGrid->verticalHeader()->setDefaultSectionSize(20);
    mGrid->viewport()->installEventFilter(this);
    connect(mGrid, &QTableView::doubleClicked, this, [this] {
        if (mDblClick->isChecked())
            openCurrent();
    });
    connect(mGrid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        mSortColumn = GridServices::fieldName(mGrid, column);
        btQurClick();
    });
    mGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("【打开查看】"), this, &TfmSearch::openCurrent);
        if (mKind.voids)
            menu.addAction(QStringLiteral("【作废】选中"), this, &TfmSearch::btFailedSelectsClick);
        if (mKind.renumbers)
            menu.addAction(QStringLiteral("【修改编号】"), this, &TfmSearch::renumberCurrent);
        if (mKind.lateEntries) {
            const bool rows = mModel->rowCount() > 0;
            menu.addAction(QStringLiteral("补录入单号"), QKeySequence(QStringLiteral("Alt+Z")),
                    this,
                    [this] {
                        enterLate(
                            mKind.numberListColumn, QStringLiteral("补录,输入已发出的快递单号"));
                    })
                ->setEnabled(rows);
            menu.addAction(QStringLiteral("补录备注"), QKeySequence(QStringLiteral("Alt+S")), this,
                    [this] {
                        enterLate(QStringLiteral("备注"), QStringLiteral("补录,输入备注内容:"));
                    })
                ->setEnabled(rows);
            menu.addAction(
                QStringLiteral("网上查单"), QKeySequence(QStringLiteral("Ctrl+F")), this, [this] {
                    if (mEnv.openTracking)
                        mEnv.openTracking(currentValue(QStringLiteral("模板种类")),
                            currentValue(mKind.numberListColumn));
                });
        }
        menu.addAction(QStringLiteral("【刷新】"), this, &TfmSearch::refresh);
        menu.addAction(QStringLiteral("【记住表格列宽】"), this,
            [this] { mEnv.grids.GridColsWidthSave(mGrid, objectName()); });
        menu.addAction(QStringLiteral("【显示隐藏数据列】"), this,
            [this] { mEnv.grids.GridColsConfigration(mGrid, objectName()); });
        menu.exec(mGrid->viewport()->mapToGlobal(at));
    });
    right->addWidget(mGrid, 1);
    buildRegistration();
    right->addWidget(mPanel);
    outer->addLayout(right, 1);
    resize(900, 600);

    // Deleting and exporting wait until the first list has shown it holds rows.
    for (const char* name : { "del", "pri" })
        button(QString::fromLatin1(name))->setEnabled(false);
    mDeferTotals = true;
    btQurClick();
}

TfmSearch::~TfmSearch() = default;

QPushButton* TfmSearch::addButton(
    QWidget* parent, const char* name, const QString& caption, void (TfmSearch::*handler)())
{
    QPushButton* b = dialogButton(parent, name, caption);
    if (handler)
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    mButtons.insert(QString::fromLatin1(name), b);
    return b;
}

QPushButton* TfmSearch::button(const QString& name) const { return mButtons.value(name); }

void TfmSearch::buildFilters(QGroupBox* group)
{
    auto* grid = new QGridLayout(group);
    int row = 0;
    const auto clearButton = [this, group](const char* name, std::function<void()> clear) {
        auto* b = dialogButton(group, name, QStringLiteral("清空"));
        connect(b, &QPushButton::clicked, this, std::move(clear));
        mButtons.insert(QString::fromLatin1(name), b);
        return b;
    };
    for (const core::HistoryFilter& f : mKind.filters) {
        QWidget* field = nullptr;
        QLineEdit* box = nullptr;
        if (f.list == core::HistoryFilter::List::None) {
            box = new QLineEdit(group);
            field = box;
        } else {
            auto* combo = new QComboBox(group);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            box = combo->lineEdit();
            field = combo;
            if (f.list == core::HistoryFilter::List::Choices)
                combo->addItems(f.choices);
            else if (f.list == core::HistoryFilter::List::OnOpen)
                fillList(combo, f, true);
            combo->setCurrentIndex(-1);
            if (f.runsOnPick)
                connect(combo, &QComboBox::activated, this, &TfmSearch::btQurClick);
        }
        field->setObjectName(QStringLiteral("filter_") + f.option);
        box->setToolTip(QStringLiteral("支持简码输入（%+简码）"));
        box->installEventFilter(this);
        mFilters.insert(f.option, box);
        grid->addWidget(new QLabel(f.label, group), row, 0);
        grid->addWidget(field, row, 1);
        if (!f.pickerType.isEmpty()) {
            auto* pick = dialogButton(group, "pick", QStringLiteral("选"));
            connect(pick, &QPushButton::clicked, this, [this, box, &f] {
                if (!mEnv.pickParty)
                    return;
                const auto party = mEnv.pickParty(f.pickerType, f.pickerTitle);
                if (party)
                    box->setText(f.takesAccount     ? party->开户行账号
                            : party->全称.isEmpty() ? party->联系人
                                                    : party->全称);
            });
            grid->addWidget(pick, row, 2);
        }
        grid->addWidget(clearButton("btClear",
                            [this, box] {
                                box->clear();
                                mark(box, QColor());
                            }),
            row, 3);
        ++row;
    }
    mNumber = new QComboBox(group);
    mNumber->setObjectName(QStringLiteral("cb_PJBH"));
    mNumber->setEditable(true);
    mNumber->setMaxVisibleItems(30);
    mNumber->installEventFilter(this);
    grid->addWidget(new QLabel(mKind.numberLabel, group), row, 0);
    grid->addWidget(mNumber, row++, 1);

    mDate1 = new QDateEdit(QDate::currentDate(), group);
    mDate1->setObjectName(QStringLiteral("Date1"));
    mDate2 = new QDateEdit(QDate::currentDate(), group);
    mDate2->setObjectName(QStringLiteral("Date2"));
    for (QDateEdit* d : { mDate1, mDate2 }) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        connect(d, &QDateEdit::dateChanged, this, [this] { mAnyDate->setChecked(false); });
    }
    mAnyDate = new QCheckBox(QStringLiteral("不限日期"), group);
    mAnyDate->setObjectName(QStringLiteral("ckNomatterRQ"));
    connect(mAnyDate, &QCheckBox::toggled, this, [this](bool any) {
        for (QDateEdit* d : { mDate1, mDate2 }) {
            d->setEnabled(!any);
            if (any)
                mark(d, QColor());
        }
        if (!any)
            mDate1->setFocus();
    });
    mAnyDate->setChecked(true);
    auto* dates = new QHBoxLayout;
    dates->addWidget(mDate1);
    dates->addWidget(new QLabel(QStringLiteral("到"), group));
    dates->addWidget(mDate2);
    dates->addWidget(mAnyDate);
    grid->addWidget(new QLabel(QStringLiteral("开票日期："), group), row, 0);
    grid->addLayout(dates, row++, 1, 1, 3);

    if (!mKind.amountColumn.isEmpty()) {
        mAmountFrom = new QLineEdit(group);
        mAmountFrom->setObjectName(QStringLiteral("edtJEFrom"));
        mAmountTo = new QLineEdit(group);
        mAmountTo->setObjectName(QStringLiteral("edtJETo"));
        auto* amounts = new QHBoxLayout;
        amounts->addWidget(mAmountFrom);
        amounts->addWidget(new QLabel(QStringLiteral("到"), group));
        amounts->addWidget(mAmountTo);
        grid->addWidget(new QLabel(QStringLiteral("金额："), group), row, 0);
        grid->addLayout(amounts, row, 1);
        grid->addWidget(clearButton("btClearJe",
                            [this] {
                                for (QLineEdit* box : { mAmountFrom, mAmountTo }) {
                                    box->clear();
                                    mark(box, QColor());
                                }
                            }),
            row++, 3);
    }

    auto* match = new QGroupBox(QStringLiteral("匹配方式"), group);
    match->setObjectName(QStringLiteral("RadioMatch"));
    auto* matchRow = new QHBoxLayout(match);
    mExact = new QRadioButton(QStringLiteral("精确查询"), match);
    mFuzzy = new QRadioButton(QStringLiteral("模糊查询"), match);
    mFuzzy->setChecked(true);
    matchRow->addWidget(mExact);
    matchRow->addWidget(mFuzzy);
    connect(mExact, &QRadioButton::toggled, this, [this] { btQurClick(); });
    grid->addWidget(match, row, 0, 1, 2);
    mSum = new QLabel(group);
    mSum->setObjectName(QStringLiteral("lbSumMoney"));
    mSum->hide();
    mCount = new QLabel(QStringLiteral("0"), group);
    mCount->setObjectName(QStringLiteral("Pjcount"));
    auto* counts = new QHBoxLayout;
    counts->addWidget(mSum);
    counts->addWidget(new QLabel(QStringLiteral("( 共检索到 "), group));
    counts->addWidget(mCount);
    counts->addWidget(new QLabel(QStringLiteral("条记录)"), group));
    grid->addLayout(counts, row, 2, 1, 2);
}

void TfmSearch::buildRegistration()
{
    mPanel = new QGroupBox(mKind.registration == core::HistoryRegistration::InvoiceCodes
            ? QStringLiteral("登记领用连号票据")
            : QStringLiteral("登记连号票据"),
        this);
    mPanel->setObjectName(QStringLiteral("panelImport"));
    auto* grid = new QGridLayout(mPanel);
    mFrom = new QLineEdit(mPanel);
    mFrom->setObjectName(QStringLiteral("edtBH1"));
    mTo = new QLineEdit(mPanel);
    mTo->setObjectName(QStringLiteral("edtBH2"));
    grid->addWidget(new QLabel(QStringLiteral("编号从"), mPanel), 0, 0);
    grid->addWidget(mFrom, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("到"), mPanel), 0, 2);
    grid->addWidget(mTo, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("(每批不能超过100张)"), mPanel), 0, 4);
    mTemplate = new QComboBox(mPanel);
    mTemplate->setObjectName(QStringLiteral("cbTemplateName"));
    try {
        mTemplate->addItems(mEnv.services.templates().loadCheckTypeLastNameList(mKind.kind));
    } catch (const core::DbError&) {
    }
    if (mKind.registration == core::HistoryRegistration::Blanks)
        mTemplate->insertItem(0, QString());
    mTemplate->setCurrentIndex(0);
    grid->addWidget(new QLabel(mKind.registration == core::HistoryRegistration::InvoiceCodes
                            ? QStringLiteral("发票模板：")
                            : QStringLiteral("模板类别："),
                        mPanel),
        1, 0);
    grid->addWidget(mTemplate, 1, 1);
    mDigits = new QSpinBox(mPanel);
    mDigits->setObjectName(QStringLiteral("CtlLen"));
    mDigits->setRange(4, 20);
    mDigits->setValue(8);
    grid->addWidget(new QLabel(QStringLiteral("编号固定为"), mPanel), 1, 2);
    grid->addWidget(mDigits, 1, 3);
    mPrefix = new QLineEdit(mPanel);
    mPrefix->setObjectName(QStringLiteral("edtQianZhui"));
    mPrefix->setMaxLength(3);
    mCode = new QLineEdit(mPanel);
    mCode->setObjectName(QStringLiteral("edtFPDM"));
    mCode->setMaxLength(20);
    if (mKind.registration == core::HistoryRegistration::InvoiceCodes) {
        grid->addWidget(new QLabel(QStringLiteral("发票代码："), mPanel), 2, 0);
        grid->addWidget(mCode, 2, 1);
        mPrefix->hide();
    } else {
        mCode->hide();
        grid->addWidget(new QLabel(QStringLiteral("位，缺少前面补零! 前缀:"), mPanel), 1, 4);
        grid->addWidget(mPrefix, 1, 5);
        mDrawer = new QLineEdit(mPanel);
        mDrawer->setObjectName(QStringLiteral("cbCompany"));
        mDrawer->setPlaceholderText(QStringLiteral("请点击选取.."));
        mBank = new QLineEdit(mPanel);
        mBank->setObjectName(QStringLiteral("cbKHH"));
        mAccount = new QLineEdit(mPanel);
        mAccount->setObjectName(QStringLiteral("cbZH"));
        for (QLineEdit* e : { mDrawer, mBank, mAccount })
            e->setReadOnly(true);
        auto* pick = dialogButton(mPanel, "Button5", QStringLiteral("选取.."));
        connect(pick, &QPushButton::clicked, this, [this] {
            if (!mEnv.pickParty)
                return;
            if (const auto party = mEnv.pickParty(QStringLiteral("我方单位"), mKind.pickerTitle)) {
                mDrawer->setText(party->全称);
                mBank->setText(party->开户银行);
                mAccount->setText(party->开户行账号);
            }
        });
        grid->addWidget(mDrawer, 2, 0, 1, 2);
        grid->addWidget(pick, 2, 2);
        grid->addWidget(new QLabel(QStringLiteral("开户行："), mPanel), 3, 0);
        grid->addWidget(mBank, 3, 1);
        grid->addWidget(new QLabel(QStringLiteral("账号："), mPanel), 3, 2);
        grid->addWidget(mAccount, 3, 3);
    }
    mStatus = new QLabel(mPanel);
    mStatus->setObjectName(QStringLiteral("lbStatus"));
    grid->addWidget(mStatus, 4, 0, 1, 3);
    grid->addWidget(addButton(mPanel, "btStartImport", QStringLiteral("开始登记"),
                        &TfmSearch::btStartImportClick),
        4, 3);
    grid->addWidget(addButton(mPanel, "btEndImport", QStringLiteral("结束登记"), nullptr), 4, 4);
    connect(button(QStringLiteral("btEndImport")), &QPushButton::clicked, mPanel, &QWidget::hide);
    if (QPushButton* show = button(QStringLiteral("btRecordNOs")))
        connect(show, &QPushButton::clicked, mPanel, &QWidget::show);
    mPanel->hide();
}

void TfmSearch::mark(QWidget* box, const QColor& colour)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour.isValid() ? colour : palette().color(QPalette::Base));
    box->setPalette(p);
    box->setProperty("marked", colour.isValid() ? colour.name() : QString());
}

core::HistoryCriteria TfmSearch::criteria()
{
    core::HistoryCriteria c;
    c.exact = mExact->isChecked();
    c.number = mNumber->currentText().trimmed();
    mNumber->setEditText(c.number);
    mark(mNumber, c.number.isEmpty() ? QColor() : kYellow);
    for (auto it = mFilters.cbegin(); it != mFilters.cend(); ++it) {
        const QString text = it.value()->text().trimmed();
        it.value()->setText(text);
        mark(it.value(), text.isEmpty() ? QColor() : kYellow);
        if (!text.isEmpty())
            c.texts.insert(it.key(), text);
    }
    if (!mAnyDate->isChecked()) {
        c.from = mDate1->date();
        c.to = mDate2->date();
        mark(mDate1, kYellow);
        mark(mDate2, kYellow);
    }
    for (QLineEdit* box : { mAmountFrom, mAmountTo }) {
        if (!box)
            continue;
        const QString text = box->text().trimmed();
        if (text.isEmpty()) {
            mark(box, QColor());
        } else if (core::HistorySearch::isAmountBound(text)) {
            mark(box, kYellow);
            (box == mAmountFrom ? c.amountFrom : c.amountTo) = text;
        } else {
            box->setText(QStringLiteral("非法数字"));
            mark(box, kRed);
        }
    }
    if (!mSortColumn.isEmpty()) {
        // Every run with a clicked title flips the direction, starting newest first.
        mDescending = !mDescending;
        c.sortColumn = mSortColumn;
        c.descending = mDescending;
    }
    return c;
}

void TfmSearch::btQurClick()
{
    const core::HistoryStatement st = mSearch.build(criteria());
    if (!st.runnable()) {
        mEnv.services.prompter().inform(st.dateError, QStringLiteral("日期输入"));
        return;
    }
    QString text = st.sql;
    for (const QVariant& v : st.values)
        text += QLatin1Char('\x1f') + v.toString();
    if (text != mLastQuery) {
        mLastQuery = text;
        runStatement(st);
    }
    mEnv.grids.GridColsWidthLoad(mGrid, objectName());
}

void TfmSearch::runStatement(const core::HistoryStatement& st)
{
    ++mQueriesRun;

    try {
        mSearch.showIn(*mModel, st);
    } catch (const core::DbError& e) {
        reportError(e.message(), st.sql);
        return;
    }
    if (mDeferTotals) {
        // The first list shows before its count and sum over every row are known.
        mDeferTotals = false;
        QTimer::singleShot(0, this, [this, st] { showTotals(st); });
    } else {
        showTotals(st);
    }
}

void TfmSearch::showTotals(const core::HistoryStatement& st)
{
    try {
        const int rows = mSearch.count(st);
        mCount->setText(QString::number(rows));
        if (mKind.rowWarning > 0 && rows > mKind.rowWarning)
            mEnv.services.prompter().inform(
                QStringLiteral("发票资料数目已经超出5000条，为了保证查询性能，请按月导出并清理！"));
        for (const char* name : { "del", "pri" })
            button(QString::fromLatin1(name))->setEnabled(rows > 0);
        if (!st.sumSql.isEmpty()) {
            const std::optional<double> sum = mSearch.sum(st);
            mSum->setText(mKind.sumText + (sum ? core::FormatMoney(*sum) : QString()));
            mSum->show();
        }
    } catch (const core::DbError& e) {
        reportError(e.message(), st.sql);
    }
}

void TfmSearch::reportError(const QString& message, const QString& sql)
{
    core::Prompter& p = mEnv.services.prompter();
    if (mKind.errors == core::HistoryErrors::DatabaseBox) {
        p.warn(QStringLiteral("数据库错误,Error=") + message, kFail);
    } else {
        p.warn(QStringLiteral("数据库操作错误！"), QStringLiteral("查询"));
        p.warn(sql, QStringLiteral("错误"));
    }
}

void TfmSearch::refresh()
{
    mLastQuery.clear();
    btQurClick();
}

void TfmSearch::clearFilters()
{
    {
        const QSignalBlocker block(mNumber);
        mNumber->clear();
        mNumber->setEditText({});
    }
    mark(mNumber, QColor());
    mAnyDate->setChecked(true);
    for (const core::HistoryFilter& f : mKind.filters) {
        if (f.keptOnAll)
            continue;
        QLineEdit* box = mFilters.value(f.option);
        box->clear();
        mark(box, QColor());
    }
    for (QLineEdit* box : { mAmountFrom, mAmountTo }) {
        if (box) {
            box->clear();
            mark(box, QColor());
        }
    }
}

void TfmSearch::btAllClick()
{
    clearFilters();
    if (mKind.allReruns)
        mLastQuery.clear();
    btQurClick();
}

void TfmSearch::dateShortcut(const QString& node)
{
    clearFilters();
    const QDate today = QDate::currentDate();
    static const QHash<QString, int> back
        = { { QStringLiteral("今天"), 0 }, { QStringLiteral("最近三天"), 2 },
              { QStringLiteral("最近一周"), 6 }, { QStringLiteral("最近一个月"), 30 },
              { QStringLiteral("最近三个月"), 90 }, { QStringLiteral("最近一年"), 365 } };
    QDate start = today.addDays(-548);
    if (back.contains(node))
        start = today.addDays(-back.value(node));
    else if (node == u"本月内")
        start = QDate(today.year(), today.month(), 1);
    else if (node == u"本年度内")
        start = QDate(today.year(), 1, 1);
    mDate1->setDate(start);
    mDate2->setDate(today);
    mAnyDate->setChecked(false);
    if (!back.contains(node) && node != u"本月内" && node != u"本年度内") {
        mEnv.services.prompter().inform(
            QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮"));
        mDate1->setFocus();
        return;
    }
    btQurClick();
}

int TfmSearch::currentSerial() const
{
    const QModelIndex current = mGrid->currentIndex();
    if (!current.isValid())
        return 0;
    return mModel->index(current.row(), 0).data().toInt();
}

QString TfmSearch::currentValue(const QString& column) const
{
    const QModelIndex current = mGrid->currentIndex();
    const int c = mModel->record().indexOf(column);
    if (!current.isValid() || c < 0)
        return {};
    return mModel->index(current.row(), c).data().toString();
}

void TfmSearch::openCurrent()
{
    if (mModel->rowCount() == 0 || !mEnv.forms)
        return;
    if (!mGrid->currentIndex().isValid())
        mGrid->setCurrentIndex(mModel->index(0, 0));
    const int serial = currentSerial();
    if (serial <= 0)
        return;
    const QString variant = currentValue(QStringLiteral("模板种类"));
    BillFormRegistry& forms = *mEnv.forms;
    core::Prompter& p = mEnv.services.prompter();
    // The kind's own form is used as it is, unless that would lose what the user typed into it.
    const auto* own = qobject_cast<TfmBillForm*>(forms.form(mKind.kind));
    if (forms.anyOpen() && (!own || own->holdsUnsavedBill())) {
        if (!p.ask(QStringLiteral("自动关闭已打开的单据吗？"), QStringLiteral("查看历史单据"))) {
            p.inform(
                QStringLiteral("请先关闭正在编辑的单据模块！"), QStringLiteral("查看历史单据"));
            return;
        }
        forms.closeAll();
    }
    auto* form = qobject_cast<TfmBillForm*>(forms.form(mKind.kind));
    if (!form)
        form = qobject_cast<TfmBillForm*>(forms.open(mKind.kind));
    if (!form)
        return; // the kind has no entry form yet
    form->BrowseOldCheck(variant, QString::number(serial));
    close();
}

void TfmSearch::btFailedSelectsClick()
{
    QString list;
    mEnv.grids.GridSelectedFetch(mGrid, QStringLiteral("流水号"), QStringLiteral("Numeric"), list);
    QList<int> serials;
    for (const QString& s : list.split(QLatin1Char(','), Qt::SkipEmptyParts))
        serials << s.trimmed().toInt();
    core::Prompter& p = mEnv.services.prompter();
    if (serials.isEmpty()) {
        p.inform(QStringLiteral("没有点中要作废的票据!（按住ctrl+点击，可多选哦）"));
        return;
    }
    try {
        const int changed = mSearch.voidRows(serials);
        refresh();
        p.inform(QStringLiteral("成功作废%1条记录！").arg(changed));
    } catch (const core::DbError& e) {
        p.warn(QStringLiteral("错误,Error=") + e.message(), kFail);
    }
}

void TfmSearch::delClick()
{
    mEnv.grids.GridSelectedDelete(
        mGrid, mKind.table, mKind.deleteWord, QStringLiteral("Numeric"), QStringLiteral("流水号"));
    refresh();
}

void TfmSearch::btDeleteListClick()
{
    mEnv.grids.GridDeleteCurrentList(mGrid, mKind.table, QStringLiteral("流水号"));
    refresh();
}

void TfmSearch::DelAllClick()
{
    core::Prompter& p = mEnv.services.prompter();
    if (!p.ask(QStringLiteral("清空操作将删除所有保存的历史开票数据，确定要清空吗？")))
        return;
    button(QStringLiteral("DelAll"))->setEnabled(false);
    try {
        core::Database& db = mEnv.services.db();
        core::Transaction transaction(db);
        const int n
            = db.execute(QStringLiteral("delete from ") + core::Database::quoted(mKind.table));
        core::BillItemValues::removeAll(db, mKind.table);
        transaction.commit();
        p.inform(QStringLiteral("清空成功！共删除%1条记录").arg(n));
    } catch (const core::DbError&) {
        p.warn(QStringLiteral("清空失败！"), QStringLiteral("确认"));
    }
    refresh();
}

void TfmSearch::renumberCurrent()
{
    const int serial = currentSerial();
    if (serial <= 0 || !mEnv.giveMeAnValue)
        return;
    const QString answer = mEnv.giveMeAnValue(
        QStringLiteral("输入新的票据编号"), currentValue(mKind.numberListColumn));
    if (answer.isEmpty())
        return;
    try {
        if (mSearch.renumber(serial, answer)) {
            mEnv.services.prompter().inform(QStringLiteral("成功修改票据编号."));
            refresh();
        }
    } catch (const core::DbError&) {
        // The number stays as it was.
    }
}

void TfmSearch::btStartImportClick()
{
    core::Prompter& p = mEnv.services.prompter();
    const QString refused = core::HistorySearch::checkRange(mFrom->text(), mTo->text());
    if (!refused.isEmpty()) {
        p.inform(refused);
        return;
    }
    const bool invoices = mKind.registration == core::HistoryRegistration::InvoiceCodes;
    if (invoices && mTemplate->currentText().isEmpty()) {
        p.inform(QStringLiteral("模板种类不能为空！"));
        return;
    }
    const QStringList numbers = core::HistorySearch::numbersOf(mFrom->text().trimmed().toInt(),
        mTo->text().trimmed().toInt(), mDigits->value(),
        invoices ? QString() : mPrefix->text().trimmed());
    try {
        const auto done = invoices
            ? mSearch.registerInvoices(numbers, mTemplate->currentText(), mCode->text().trimmed())
            : mSearch.registerBlanks(numbers, mTemplate->currentText(), mDrawer->text(),
                mAccount->text(), mBank->text());
        for (const auto& r : done) {
            mStatus->setText(QStringLiteral("登记编号为：%1的票据!").arg(r.number));
            if (!r.message.isEmpty())
                p.warn(r.message);
        }
    } catch (const core::DbError& e) {
        p.warn(QStringLiteral("登记错误,Error=") + e.message(), kFail);
    }
    mStatus->clear();
    refresh();
    if (!invoices)
        mPanel->hide();
    p.inform(QStringLiteral("登记结束！"));
}

void TfmSearch::priClick()
{
    mEnv.grids.ExportGrid2Excel(
        mGrid, mKind.exportTitle + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

void TfmSearch::fillList(QComboBox* combo, const core::HistoryFilter& f, bool withEmpty)
{
    try {
        const QSignalBlocker block(combo);
        const QString text = combo->currentText();
        QStringList values = mSearch.distinctValues(f.columns.value(0));
        if (withEmpty)
            values.prepend(QString());
        combo->addItems(values);
        combo->setEditText(text);
    } catch (const core::DbError&) {
    }
}

void TfmSearch::applyShortCode(QLineEdit* box)
{
    const QString text = box->text();
    if (!text.startsWith(QLatin1Char('%')))
        return;
    const QString code = text.mid(1).trimmed();
    box->setText(code);
    try {
        if (const auto name = mSearch.nameOfShortCode(code))
            box->setText(*name);
    } catch (const core::DbError&) {
        mEnv.services.prompter().warn(QStringLiteral("简码提取错误！"), QStringLiteral("简码输入"));
    }
}

void TfmSearch::enterLate(const QString& column, const QString& prompt)
{
    const int serial = currentSerial();
    if (serial <= 0 || !mEnv.giveMeAnValue)
        return;
    const QString answer = mEnv.giveMeAnValue(prompt, currentValue(column));
    if (answer.isEmpty())
        return;
    try {
        mSearch.setValue(serial, column, answer);
    } catch (const core::DbError&) {
        return; // a late entry that cannot be written leaves the row as it was
    }
    refresh();
}

void TfmSearch::lookUpMnemonic(QLineEdit* box)
{
    const QString text = box->text().trimmed();
    box->setText(text);
    if (text.isEmpty())
        return;
    if (const auto party = core::DAOPerson(mEnv.services.db()).findPersonByInputCode(text))
        box->setText(party->全称);
}

bool TfmSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            for (const core::HistoryFilter& f : mKind.filters) {
                QLineEdit* box = mFilters.value(f.option);
                if (box != watched)
                    continue;
                // A name box looks its text up as a mnemonic; the others go on to "查 询".
                if (f.pickerType.isEmpty() || f.takesAccount)
                    button(QStringLiteral("btQur"))->setFocus();
                else
                    lookUpMnemonic(box);
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const bool entering = event->type() == QEvent::FocusIn;
        for (const core::HistoryFilter& f : mKind.filters) {
            QLineEdit* box = mFilters.value(f.option);
            if (box != watched)
                continue;
            auto* combo = qobject_cast<QComboBox*>(box->parentWidget());
            if (entering && combo && f.list == core::HistoryFilter::List::OnEntry
                && combo->count() == 0)
                fillList(combo, f, false);
            if (!entering && f.shortCodeOnLeave)
                applyShortCode(box);
        }
    }
    if (event->type() == QEvent::FocusIn && watched == mNumber && mNumber->count() == 0) {
        try {
            const QSignalBlocker block(mNumber);
            const QString text = mNumber->currentText();
            mNumber->addItems(mSearch.numberList());
            mNumber->setEditText(text);
        } catch (const core::DbError&) {
        }
    } else if (event->type() == QEvent::Wheel && watched == mGrid->viewport()
        && mGrid->hasFocus()) {
        // Each notch moves the current row, as the list's own scrolling would not.
        const int step = static_cast<QWheelEvent*>(event)->angleDelta().y() < 0 ? 1 : -1;
        const int row = std::clamp(mGrid->currentIndex().row() + step, 0, mModel->rowCount() - 1);
        mGrid->setCurrentIndex(mModel->index(row, 0));
        return true;
    }
    return FacedDialog::eventFilter(watched, event);
}

void TfmSearch::closeEvent(QCloseEvent* event)
{
    mModel->clear();
    FacedDialog::closeEvent(event);
}

bool openHistory(const QString& kind, HistoryEnvironment& env, QWidget* parent)
{
    const core::HistoryKind* h = core::findHistoryKind(kind);
    if (!h)
        return false;
    TfmSearch window(*h, env, parent);
    window.exec();
    return true;
}

} // namespace pennock::ui
