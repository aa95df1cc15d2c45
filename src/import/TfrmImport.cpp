#include "import/TfrmImport.h"

#include "import/ColumnMatch.h"
#include "import/ImportColumnCfg.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

namespace pennock::ui {

using core::importItems;

const QString TfrmImport::kCaption = QStringLiteral("Pennock软件-收、发件人资料导入");
const QString TfrmImport::kFileFilter = QStringLiteral(
    "Excel(*.xls,*.csv,*.xlw,*.et) (*.xls *.csv *.xlw *.et);;Excel(*.xlsx) (*.xlsx);;"
    "Excel(*.xls) (*.xls);;Excel(*.csv) (*.csv);;WPS Excel(*.et) (*.et);;"
    "OpenDocument(*.ods) (*.ods)");

namespace {

const QString kFixedOwn = QStringLiteral("我方单位");
const QString kFixedOther = QStringLiteral("往来单位");
const QString kExcelFirst = QStringLiteral("MS EXCEL FIRST");
const QString kOrderOn = QStringLiteral("ckOrderIDOn");
const QString kMemberOn = QStringLiteral("ckMemeberIDOn");

QCheckBox* tick(QWidget* parent, const char* name, const QString& caption, bool on)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(on);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

TfrmImport::TfrmImport(
    core::Services& services, core::FileChooser& files, core::Shell& shell, QWidget* parent)
    : FacedDialog(services.settings(), parent)
    , mServices(services)
    , mFiles(files)
    , mShell(shell)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(kCaption);
    resize(760, 600);
    buildWindow();
    setScene(0);
    applyFixedType();
}

TfrmImport::~TfrmImport() = default;

void TfrmImport::buildWindow()
{
    gbScene = new QGroupBox(QStringLiteral("1、导入场景"), this);
    gbScene->setObjectName(QStringLiteral("gbScene"));
    mScenes = new QButtonGroup(this);
    auto* sceneRow = new QHBoxLayout(gbScene);
    for (int i = 0; i < core::importScenes().size(); ++i) {
        auto* radio = new QRadioButton(core::importScenes()[i].caption, gbScene);
        mScenes->addButton(radio, i);
        sceneRow->addWidget(radio);
    }
    sceneRow->addStretch();

    ed_file = new QLineEdit(this);
    ed_file->setObjectName(QStringLiteral("ed_file"));
    ed_file->setReadOnly(true);
    btBrowse = button(this, "btBrowse", QStringLiteral("【浏览Excel】"));
    cboWorkSheets = new QComboBox(this);
    cboWorkSheets->setObjectName(QStringLiteral("cboWorkSheets"));
    cboWorkSheets->setMinimumWidth(140);
    Label25 = new QLabel(QStringLiteral("对Excel、CSV的格式要求?"), this);
    Label25->setObjectName(QStringLiteral("Label25"));
    Label25->setCursor(Qt::PointingHandCursor);
    Label25->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline"));
    Label25->installEventFilter(this);
    cfgWPSFirst = tick(this, "cfgWPSFirst", QStringLiteral("金山WPS Excel优先启动"),
        mServices.settings().getINIConfigByname(kExcelFirst) != u"1");
    auto* fileRow = new QGridLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("2、Excel来源："), this), 0, 0);
    fileRow->addWidget(ed_file, 0, 1);
    fileRow->addWidget(btBrowse, 0, 2);
    fileRow->addWidget(new QLabel(QStringLiteral("工作表："), this), 1, 0);
    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(cboWorkSheets);
    sheetRow->addWidget(Label25);
    sheetRow->addStretch();
    sheetRow->addWidget(cfgWPSFirst);
    fileRow->addLayout(sheetRow, 1, 1, 1, 2);

    auto* gbMatch = new QGroupBox(QStringLiteral("3、匹配Excel列"), this);
    gbMatch->setObjectName(QStringLiteral("gbMatch"));
    auto* grid = new QGridLayout(gbMatch);
    auto* gbOwn = new QGroupBox(QStringLiteral("地址薄-专有项目"), gbMatch);
    auto* ownGrid = new QGridLayout(gbOwn);
    ckType = tick(gbOwn, "ckType", QStringLiteral("固定"), true);
    const QList<core::ImportItem>& items = importItems();
    for (int i = 0; i < items.size(); ++i) {
        auto* box = new QComboBox(this);
        box->setObjectName(items[i].box);
        box->setMinimumWidth(150);
        auto* label = new QLabel(items[i].label, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mBoxes << box;
        // The last three belong to the address book only.
        if (i >= 13) {
            ownGrid->addWidget(label, i - 13, 0);
            ownGrid->addWidget(box, i - 13, 1);
            if (i == core::kTypeItem)
                ownGrid->addWidget(ckType, i - 13, 2);
        } else {
            grid->addWidget(label, i / 2, (i % 2) * 2);
            grid->addWidget(box, i / 2, (i % 2) * 2 + 1);
        }
    }
    grid->addWidget(gbOwn, 7, 0, 1, 4);
    btColumnCfg = button(gbMatch, "btColumnCfg", QStringLiteral("【列匹配规则】"));
    ckOrderIDOn = tick(gbMatch, "ckOrderIDOn", QStringLiteral("订单号"),
        mServices.settings().getINIConfigByname(kOrderOn) == u"1");
    ckOrderIDOn->setToolTip(QStringLiteral("备注中加入订单号，需要Excel中有标题为‹订单编号›的列"));
    ckMemeberIDOn = tick(gbMatch, "ckMemeberIDOn", QStringLiteral("会员名"),
        mServices.settings().getINIConfigByname(kMemberOn) == u"1");
    ckMemeberIDOn->setToolTip(QStringLiteral("备注中加入会员ID，需要Excel中有标题为‹会员名›的列"));
    auto* matchButtons = new QHBoxLayout;
    matchButtons->addWidget(ckOrderIDOn);
    matchButtons->addWidget(ckMemeberIDOn);
    matchButtons->addStretch();
    matchButtons->addWidget(btColumnCfg);
    grid->addLayout(matchButtons, 8, 0, 1, 4);

    ckJudgeRepeated = tick(this, "ckJudgeRepeated", QStringLiteral("判断重复"), true);
    auto* gbRepeat
        = new QGroupBox(QStringLiteral("收件人重复判断依据,勾选表示选中作为判断依据之一"), this);
    ckName = tick(gbRepeat, "ckName", QStringLiteral("单位全称"), true);
    ckContactor = tick(gbRepeat, "ckContactor", QStringLiteral("联系人"), true);
    ckPhone = tick(gbRepeat, "ckPhone", QStringLiteral("联系电话"), true);
    auto* repeatRow = new QHBoxLayout(gbRepeat);
    for (QCheckBox* b : { ckName, ckContactor, ckPhone })
        repeatRow->addWidget(b);
    ckAlert = tick(this, "ckAlert", QStringLiteral("发现重复记录弹出提示确认"), false);
    ckReadLog = tick(this, "ckReadLog", QStringLiteral("完成后自动弹出查看导入日志"), true);
    auto* optionRow = new QHBoxLayout;
    optionRow->addWidget(ckJudgeRepeated);
    optionRow->addWidget(gbRepeat, 1);
    auto* optionRow2 = new QHBoxLayout;
    optionRow2->addWidget(ckAlert);
    optionRow2->addWidget(ckReadLog);
    optionRow2->addStretch();

    btStart = button(this, "btStart", QStringLiteral("4、【开始导入】(&M)"));
    btStart->setEnabled(false);
    btStopIt = button(this, "btStopIt", QStringLiteral("中止导入"));
    btStopIt->setEnabled(false);
    btLog = button(this, "btLog", QStringLiteral("查看日志(&L)"));
    btLog->setEnabled(false);
    btHidden = button(this, "btHidden", QStringLiteral("关  闭(&X)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btStart);
    buttons->addWidget(btStopIt);
    buttons->addStretch();
    buttons->addWidget(btLog);
    buttons->addWidget(btHidden);

    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("ProgressBar1"));
    progress->setValue(0);
    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbScene);
    layout->addLayout(fileRow);
    layout->addWidget(gbMatch, 1);
    layout->addLayout(optionRow);
    layout->addLayout(optionRow2);
    layout->addLayout(buttons);
    layout->addWidget(progress);
    layout->addWidget(statusBar);

    connect(btBrowse, &QPushButton::clicked, this, &TfrmImport::btBrowseClick);
    connect(cboWorkSheets, &QComboBox::activated, this, &TfrmImport::sheetChosen);
    connect(cfgWPSFirst, &QCheckBox::clicked, this, [this](bool on) {
        mServices.settings().setINIConfigByname(
            kExcelFirst, on ? QStringLiteral("0") : QStringLiteral("1"));
    });
    connect(ckOrderIDOn, &QCheckBox::clicked, this, [this](bool on) { setIniTick(kOrderOn, on); });
    connect(
        ckMemeberIDOn, &QCheckBox::clicked, this, [this](bool on) { setIniTick(kMemberOn, on); });
    connect(ckType, &QCheckBox::clicked, this, [this] {
        applyFixedType();
        btReadyMatchClick();
    });
    connect(ckJudgeRepeated, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* b : { ckName, ckContactor, ckPhone })
            b->setChecked(on);
    });
    connect(btColumnCfg, &QPushButton::clicked, this, &TfrmImport::btColumnCfgClick);
    connect(btStart, &QPushButton::clicked, this, &TfrmImport::btStartClick);
    connect(btStopIt, &QPushButton::clicked, this, &TfrmImport::btStopItClick);
    connect(btLog, &QPushButton::clicked, this, &TfrmImport::btLogClick);
    connect(btHidden, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmImport::setIniTick(const QString& key, bool ticked)
{
    mServices.settings().setINIConfigByname(
        key, ticked ? QStringLiteral("1") : QStringLiteral("0"));
}

void TfrmImport::setScene(int index)
{
    if (QAbstractButton* radio = mScenes->button(index))
        radio->setChecked(true);
    gbScene->setEnabled(false);
}

int TfrmImport::scene() const { return std::max(0, mScenes->checkedId()); }

QString TfrmImport::logPath() const
{
    return mServices.folder().path(core::PartyImport::logFileName());
}

QString TfrmImport::statusText() const { return statusBar->currentMessage(); }

core::ImportOptions TfrmImport::options() const
{
    core::ImportOptions o;
    o.judgeRepeated = ckJudgeRepeated->isChecked();
    o.byName = ckName->isChecked();
    o.byContact = ckContactor->isChecked();
    o.byPhone = ckPhone->isChecked();
    o.alertDuplicate = ckAlert->isChecked();
    o.fixedType = ckType->isChecked();
    o.type = mBoxes[core::kTypeItem]->currentText();
    o.orderIdOn = ckOrderIDOn->isChecked();
    o.memberIdOn = ckMemeberIDOn->isChecked();
    return o;
}

void TfrmImport::btBrowseClick()
{
    const QString path
        = mFiles.openFileName(this, QStringLiteral("选择Excel数据文件"), kFileFilter);
    if (!path.isEmpty())
        chooseFile(path);
}

void TfrmImport::chooseFile(const QString& path)
{
    ed_file->setText(path);
    btLog->setEnabled(false);
    btStart->setEnabled(!path.isEmpty());
    mBook.reset();
    mRows.clear();
    cboWorkSheets->clear();
    try {
        mBook = core::SheetBook::open(path);
        cboWorkSheets->addItems(mBook->sheetNames());
        cboWorkSheets->setCurrentIndex(0);
        readSheet();
    } catch (const core::SheetError& e) {
        mServices.prompter().warn(QStringLiteral("EXCEL导入错误,") + e.message);
        btStart->setEnabled(false);
    }
}

void TfrmImport::sheetChosen(int index)
{
    if (!mBook || index < 0)
        return;
    try {
        readSheet();
    } catch (const core::SheetError& e) {
        mServices.prompter().warn(QStringLiteral("EXCEL导入错误,") + e.message);
        btStart->setEnabled(false);
    }
}

void TfrmImport::readSheet()
{
    mRows = mBook->rows(std::max(0, cboWorkSheets->currentIndex()));
    LoadExcelColumn2ComboxList();
    if (mTitles.isEmpty())
        mServices.prompter().inform(QStringLiteral("Excel的[") + cboWorkSheets->currentText()
            + QStringLiteral(
                "]没有可识别的列(表格第一行必须为非空的列标题，比如：联系人,电话..)!"));
    ClearColumnIndexs();
    autoNewMatchProperty();
    applyFixedType();
    if (!ckType->isChecked())
        btReadyMatchClick();
    btStart->setEnabled(true);
}

QStringList TfrmImport::titleEntries() const
{
    QStringList entries { QString() };
    for (const core::SheetTitle& t : mTitles)
        entries << t.entry();
    return entries;
}

void TfrmImport::LoadExcelColumn2ComboxList()
{
    mTitles = core::sheetTitles(mRows);
    const QStringList entries = titleEntries();
    for (int i = 0; i < mBoxes.size(); ++i) {
        if (i == core::kTypeItem && ckType->isChecked())
            continue;
        mBoxes[i]->clear();
        mBoxes[i]->addItems(entries);
    }
}

void TfrmImport::ClearColumnIndexs() { mColumns = core::ImportColumns(); }

void TfrmImport::autoNewMatchProperty()
{
    core::ensureMatchColumn(mServices.db());
    const QString matchType = core::importScenes().value(scene()).matchType;
    mColumns.items = core::autoMatch(mTitles, core::loadImportRules(mServices.db(), matchType));
    for (int i = 0; i < mBoxes.size(); ++i) {
        const int at = mBoxes[i]->findText(
            core::SheetTitle { mColumns.items[i], QString() }.entry(), Qt::MatchStartsWith);
        if (mColumns.items[i] > 0 && at >= 0)
            mBoxes[i]->setCurrentIndex(at);
    }
    // The order number and the member name take columns no item took.
    mColumns.order = core::matchSpareColumn(mTitles, mColumns.items,
        core::loadMatchRule(mServices.db(), QStringLiteral("订单号"), matchType));
    mColumns.member = core::matchSpareColumn(mTitles, mColumns.items,
        core::loadMatchRule(mServices.db(), QStringLiteral("会员Id"), matchType));
}

void TfrmImport::applyFixedType()
{
    QComboBox* type = mBoxes[core::kTypeItem];
    type->clear();
    if (ckType->isChecked()) {
        type->addItems({ kFixedOther, kFixedOwn });
        type->setCurrentIndex(0);
    } else {
        type->addItems(titleEntries());
        type->setCurrentIndex(-1);
    }
}

void TfrmImport::btReadyMatchClick()
{
    for (int i = 0; i < mBoxes.size(); ++i) {
        const QString text = mBoxes[i]->currentText();
        mColumns.items[i] = i == core::kTypeItem && !text.contains(QLatin1Char(':'))
            ? -1
            : core::entryColumn(text);
    }
}

void TfrmImport::btStopItClick()
{
    mStop = true;
    btStopIt->setEnabled(false);
    btStart->setEnabled(false);
}

void TfrmImport::btLogClick() { mShell.openUrl(QUrl::fromLocalFile(logPath()).toString()); }

void TfrmImport::btColumnCfgClick()
{
    TfrmImportColumnCfg config(mServices, this);
    config.exec();
}

void TfrmImport::btStartClick()
{
    btReadyMatchClick();
    mStop = false;
    btStopIt->setEnabled(true);
    btStart->setEnabled(false);
    mRunning = true;

    QProgressDialog dialog(QStringLiteral("正在导入…"), QStringLiteral("中止导入"), 0, 100, this);
    dialog.setObjectName(QStringLiteral("dlgProgress"));
    dialog.setWindowTitle(kCaption);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setMinimumDuration(0);
    connect(&dialog, &QProgressDialog::canceled, this, &TfrmImport::btStopItClick);

    core::ImportHooks hooks;
    hooks.status = [this](const QString& text) { statusBar->showMessage(text); };
    hooks.progress = [this, &dialog](int maximum, int position) {
        progress->setMaximum(maximum);
        progress->setValue(position);
        dialog.setMaximum(maximum);
        dialog.setValue(position);
        dialog.setLabelText(QStringLiteral("正在导入第 %1 / %2 行").arg(position).arg(maximum - 1));
    };
    hooks.rowDone = [](int imported) {
        if (imported % 10 == 0)
            QApplication::processEvents();
    };
    hooks.stopRequested = [this] { return mStop; };

    const auto finish = [this] {
        mRunning = false;
        btStopIt->setEnabled(false);
    };
    try {
        core::PartyImport run(mServices.db(), mServices.prompter(), logPath());
        mSummary = run.run(ed_file->text(), mRows, mColumns, options(), hooks);
    } catch (const core::DbError& e) {
        finish();
        dialog.close();
        mServices.prompter().warn(QStringLiteral("意外导入错误,E=") + e.message());
        return;
    }
    finish();
    dialog.close();
    if (!mSummary.started) {
        // Refused for want of name, contact and address: only another file can start a run.
        const bool noColumns = mColumns.items.value(0) <= 0 && mColumns.items.value(1) <= 0
            && mColumns.items.value(7) <= 0;
        btStart->setEnabled(!noColumns);
        if (noColumns)
            mBoxes[0]->setFocus();
        return;
    }
    if (ckReadLog->isChecked())
        mShell.openUrl(QUrl::fromLocalFile(logPath()).toString());
    else
        mServices.prompter().inform(mSummary.finish, QStringLiteral("导入结束"));
    if (mAfterRun)
        mAfterRun();
    btLog->setEnabled(true);
    accept();
}

void TfrmImport::showEvent(QShowEvent* event)
{
    core::ensureMatchColumn(mServices.db());
    FacedDialog::showEvent(event);
}

bool TfrmImport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label25 && event->type() == QEvent::MouseButtonRelease) {
        mServices.prompter().inform(QStringLiteral(
            "Excel/csv格式要求:\n\n  1、Excel的第一行必须是标题（例如:姓名,电话什么的）;"
            "\n\n  2、Excel的第一行的标题不能含有空单元格，软件遇到空单元格就认为标题列"
            "结束;\n\n  3、Excel不能含有合并单元格。"));
        return true;
    }
    return FacedDialog::eventFilter(watched, event);
}

} // namespace pennock::ui
