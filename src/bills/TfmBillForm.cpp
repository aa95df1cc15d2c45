#include "bills/TfmBillForm.h"

#include "printing/Services.h"
#include "bills/AmountDerivation.h"
#include "bills/AmountInputBox.h"
#include "bills/BillStore.h"
#include "bills/PickerShape.h"
#include "bills/TemplateFace.h"
#include "format/Capitals.h"
#include "parties/ComboBoxDeleteByText.h"
#include "parties/DAOPerson.h"
#include "parties/ReferenceLookups.h"
#include "platform/Prompter.h"
#include "printing/ControlValue.h"
#include "printing/PrintEngine.h"
#include "settings/FormPlacement.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kSaveCaption = QStringLiteral("单据保存");
const QString kAmountCaption = QStringLiteral("金额输入");
const QString kCommonTab = QStringLiteral("配置常用模板");
const QString kDefaultPicture = QStringLiteral("dhd_default.jpg");
const QString kOwnCompany = QStringLiteral("我方单位");
const QString kCounterparty = QStringLiteral("往来单位");
const QString kPrintError = QStringLiteral("打印出错，请检查打印机是否可用！");
constexpr int kCheckColour = 12171775; // the product's pale pink, in Windows BGR order
constexpr int kFrameHeight = 35;

QString key(const QString& name) { return name.toLower(); }

QColor windowsColour(int bgr) { return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff); }

// Fills a drop-down without changing what its edit shows.
void fillKeepingText(QComboBox* box, QStringList items, bool sorted = false)
{
    if (!box)
        return;
    if (sorted)
        items.sort();
    const QSignalBlocker block(box);
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    if (box->isEditable()) {
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

// The row of values that reaches the print engine or the store as text.
QString textOf(const QWidget* w)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->currentText();
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(w))
        return memo->toPlainText();
    return {};
}

} // namespace

TfmBillForm::TfmBillForm(const core::BillKind& kind, BillEnvironment& env, QWidget* parent)
    : QWidget(parent)
    , mKind(kind)
    , mEnv(env)
{
    setObjectName(kind.objectName);
    mLayout = new QVBoxLayout(this);
    mLayout->setContentsMargins(4, 0, 4, 4);
    mLayout->setSpacing(0);
    buildToolBar();
    buildTemplateRow();
    buildPanel();
    mLayout->addWidget(mToolBar);
    mLayout->addWidget(mTemplateRow);
    mLayout->addWidget(mPanel);
    mLayout->addStretch();
    create();
}

TfmBillForm::~TfmBillForm() = default;

// ---------------------------------------------------------------------------------------------
// Building

QToolButton* TfmBillForm::addButton(const QString& name, const QString& caption,
    const QString& hint, void (TfmBillForm::*handler)())
{
    auto* button = new QToolButton(mToolBar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    if (handler)
        connect(button, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
    else
        button->setEnabled(false);
    mToolBar->addWidget(button);
    mButtons.insert(name, button);
    return button;
}

void TfmBillForm::buildToolBar()
{
    mToolBar = new QToolBar(this);
    mToolBar->setObjectName(QStringLiteral("toolBarCheck"));
    mToolBar->setMovable(false);
    addButton(
        QStringLiteral("btUpOrDown"), QStringLiteral("下"), {}, &TfmBillForm::btUpOrDownClick);
    QToolButton* offset = addButton(QStringLiteral("btMoveXY"), QStringLiteral("整体偏移"),
        QStringLiteral("打印整体偏移"), nullptr);
    if (mEnv.openOffsetCalibration) {
        offset->setEnabled(true);
        connect(offset, &QToolButton::clicked, this, [this] {
            if (mEnv.setCurrentTemplate)
                mEnv.setCurrentTemplate(mCurrentTypeId);
            mEnv.openOffsetCalibration(mCurrentTypeId);
        });
    }
    QToolButton* design = addButton(QStringLiteral("btDesign"), QStringLiteral("设计模式"),
        QStringLiteral("单据模板的细节项目调整"), nullptr);
    if (mEnv.openDesignMode) {
        design->setEnabled(true);
        connect(design, &QToolButton::clicked, this, [this] {
            mEnv.openDesignMode(mCurrentTypeId);
            reinitTemplate();
        });
    }
    addButton(QStringLiteral("btSaveSKRen"), QStringLiteral("存收款人"), {},
        mEnv.savePerson ? &TfmBillForm::btSaveSKRClick : nullptr);
    // Making a deposit slip waits for the deposit slip form.
    addButton(QStringLiteral("bt2CheckJZD"), QStringLiteral("转进账单(&T)"),
        QStringLiteral("重填一张新单"), nullptr);
    QToolButton* open = addButton(QStringLiteral("btOpenCheck"), QStringLiteral("打开(&O)"),
        QStringLiteral("打开历史保存的单据"), nullptr);
    if (mEnv.openHistory) {
        open->setEnabled(true);
        connect(open, &QToolButton::clicked, this, [this] { mEnv.openHistory(mKind.kind); });
    }
    addButton(QStringLiteral("btNewCheck"), QStringLiteral("新建(&N)"),
        QStringLiteral("重填一张新单"), &TfmBillForm::btNewClick);
    addButton(QStringLiteral("btSaveAs"), QStringLiteral("复制(&C)"),
        QStringLiteral("将保存过的单据复制为一张新单~"), &TfmBillForm::btSaveAsClick);
    addButton(QStringLiteral("btSaveCheck"), QStringLiteral("保存(&S)"),
        QStringLiteral("保存填写的快递数据"), &TfmBillForm::btSaveCheckClick);
    addButton(QStringLiteral("btPrint1"), QStringLiteral("单张打印(&P)"),
        QStringLiteral("打印一张当前填写的单子"), &TfmBillForm::btPrint1Click);
    addButton(QStringLiteral("btPrintAndSave"), QStringLiteral("打印并保存"),
        QStringLiteral("打印一张当前填写的单子并保存"), &TfmBillForm::btPrintAndSaveClick);
    if (mKind.repeatPrint)
        addButton(QStringLiteral("btMultiPrintF"), QStringLiteral("重复打印"),
            QStringLiteral("重复打印多份当前填写的票据"),
            mEnv.giveMeAnValue ? &TfmBillForm::btMultiPrintFClick : nullptr);
    QToolButton* closeButton
        = addButton(QStringLiteral("btClose"), QStringLiteral("关闭&C"), {}, nullptr);
    closeButton->setEnabled(true);
    connect(closeButton, &QToolButton::clicked, this, [this] {
        QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
        (frame ? frame : this)->close();
    });
}

void TfmBillForm::buildTemplateRow()
{
    mTemplateRow = new QWidget(this);
    auto* row = new QHBoxLayout(mTemplateRow);
    row->setContentsMargins(0, 2, 0, 2);
    mTabs = new QTabBar(mTemplateRow);
    mTabs->setObjectName(QStringLiteral("tbcCheckTypeName"));
    mTabs->setExpanding(false);
    mTabs->setDrawBase(false);
    mTypeBox = new QComboBox(mTemplateRow);
    mTypeBox->setObjectName(QStringLiteral("cbFirstTypeName"));
    mTypeBox->setMinimumContentsLength(14);
    mTypeBox->installEventFilter(this);
    row->addWidget(mTabs, 1);
    row->addWidget(mTypeBox);
    connect(mTabs, &QTabBar::currentChanged, this, [this](int index) {
        if (!mTabGuard)
            tbcCheckTypeNameChange(index);
    });
    connect(mTypeBox, &QComboBox::activated, this, [this] { cbFirstTypeNameChange(); });
}

QWidget* TfmBillForm::makeControl(const core::BillControl& control)
{
    using K = core::ControlKind;
    QWidget* w = nullptr;
    switch (control.kind) {
    case K::Edit:
    case K::ReadOnlyEdit: {
        auto* edit = new QLineEdit(mPanel);
        edit->setReadOnly(control.kind == K::ReadOnlyEdit);
        if (control.maxLength > 0)
            edit->setMaxLength(control.maxLength);
        if (control.marksChanged)
            connect(edit, &QLineEdit::textChanged, this, &TfmBillForm::markChanged);
        w = edit;
        break;
    }
    case K::Combo:
    case K::SortedCombo: {
        auto* combo = new QComboBox(mPanel);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setProperty("sorted", control.kind == K::SortedCombo);
        if (control.maxLength > 0)
            combo->lineEdit()->setMaxLength(control.maxLength);
        if (control.marksChanged)
            connect(combo, &QComboBox::editTextChanged, this, &TfmBillForm::markChanged);
        w = combo;
        break;
    }
    case K::Memo: {
        auto* memo = new QPlainTextEdit(mPanel);
        if (control.marksChanged)
            connect(memo, &QPlainTextEdit::textChanged, this, &TfmBillForm::markChanged);
        w = memo;
        break;
    }
    case K::Check:
        w = new QCheckBox(mPanel);
        break;
    case K::DatePicker: {
        mSelDate = new QDateEdit(mPanel);
        mSelDate->setCalendarPopup(true);
        mSelDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        connect(mSelDate, &QDateEdit::dateChanged, this, &TfmBillForm::SelDateChange);
        w = mSelDate;
        break;
    }
    case K::Shape: {
        auto* shape = new PickerShape(mPanel);
        w = shape;
        break;
    }
    case K::AmountInput:
        mInput = new AmountInputBox(mPanel);
        connect(mInput, &AmountInputBox::refused, this, &TfmBillForm::refuseAmountKey);
        connect(mInput, &AmountInputBox::commitRequested, this, &TfmBillForm::inputJEXXExit);
        connect(mInput, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (auto* figures = qobject_cast<QLineEdit*>(item(QStringLiteral("zdJEXX"))))
                if (figures->text() != text)
                    figures->setText(text);
        });
        w = mInput;
        break;
    }
    w->setObjectName(control.name);
    w->setToolTip(control.hint);
    if (!control.tabStop)
        w->setFocusPolicy(Qt::ClickFocus);
    w->hide();
    mItems.insert(key(control.name), w);
    return w;
}

void TfmBillForm::buildPanel()
{
    mPanel = new QWidget(this);
    mPanel->setObjectName(QStringLiteral("panelImgBg"));
    mBgImage = new QLabel(mPanel);
    mBgImage->setObjectName(QStringLiteral("bgImage"));
    mBgImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mBgImage->installEventFilter(this);
    for (const core::BillControl& control : mKind.controls)
        makeControl(control);

    static const QStringList amountOpeners = { QStringLiteral("zdJEDX"), QStringLiteral("zdJEXX") };
    for (const QString& name : amountOpeners)
        if (QWidget* w = item(name))
            w->installEventFilter(this);
    static const QStringList watched = { QStringLiteral("zdOutComp"), QStringLiteral("zdInComp"),
        QStringLiteral("zdYT"), QStringLiteral("zdDef1"), QStringLiteral("zdDef2"),
        QStringLiteral("zdOutBankAcct"), QStringLiteral("zdOutBank") };
    for (const QString& name : watched) {
        if (QWidget* w = item(name)) {
            w->installEventFilter(this);
            if (auto* combo = qobject_cast<QComboBox*>(w))
                combo->lineEdit()->installEventFilter(this);
        }
    }
    if (auto* payee = qobject_cast<QComboBox*>(item(QStringLiteral("zdInComp")))) {
        payee->setEditText(mKind.payeePlaceholder);
        connect(payee, &QComboBox::editTextChanged, this, &TfmBillForm::setInComp);
        connect(payee, &QComboBox::activated, this, &TfmBillForm::zdInCompSelect);
    }
    if (auto* purpose = qobject_cast<QComboBox*>(item(QStringLiteral("zdYT"))))
        connect(purpose, &QComboBox::editTextChanged, this, &TfmBillForm::setYongTu);
    if (auto* number = qobject_cast<QComboBox*>(item(QStringLiteral("zdPJBH"))))
        if (mKind.hasRegisteredNumbers())
            connect(number, &QComboBox::activated, this, &TfmBillForm::zdPJBHSelect);
    if (auto* drawer = qobject_cast<PickerShape*>(item(QStringLiteral("shpHKR"))))
        connect(drawer, &PickerShape::released, this, &TfmBillForm::shpHKRRelease);
    if (auto* payee = qobject_cast<PickerShape*>(item(QStringLiteral("shpskr"))))
        connect(payee, &PickerShape::released, this, &TfmBillForm::shpskrRelease);
    buildOptionBar();
}

void TfmBillForm::buildOptionBar()
{
    mShortBar = new QWidget(mPanel);
    mShortBar->setObjectName(QStringLiteral("shortbar"));
    auto* grid = new QGridLayout(mShortBar);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    int remembered = 0;
    int other = 0;
    for (const core::BillOption& option : mKind.options) {
        auto* box = new QCheckBox(option.caption, mShortBar);
        box->setObjectName(option.name);
        box->setToolTip(option.hint);
        box->setEnabled(option.enabled);
        connect(box, &QCheckBox::clicked, this,
            [this, &option](bool checked) { optionClicked(option, checked); });
        mOptions.insert(key(option.name), box);
        if (option.rule != core::OptionRule::NotRemembered)
            grid->addWidget(box, 0, remembered++);
        else
            grid->addWidget(box, 1, other++);
    }
    auto* currencyLabel = new QLabel(QStringLiteral("币种:"), mShortBar);
    mMoneyType = new QComboBox(mShortBar);
    mMoneyType->setObjectName(QStringLiteral("cfgMoneyType"));
    connect(mMoneyType, &QComboBox::activated, this, &TfmBillForm::cfgMoneyTypeChange);
    grid->addWidget(currencyLabel, 0, remembered++);
    grid->addWidget(mMoneyType, 0, remembered++);
    auto* remember = new QPushButton(QStringLiteral("【记住选项】"), mShortBar);
    remember->setObjectName(QStringLiteral("btRmember"));
    connect(remember, &QPushButton::clicked, this, &TfmBillForm::btRmemberClick);
    grid->addWidget(remember, 1, other++);
    grid->setColumnStretch(std::max(remembered, other), 1);
}

// ---------------------------------------------------------------------------------------------
// Creation, showing, closing

void TfmBillForm::create()
{
    core::Services& s = mEnv.services;
    try {
        if (auto* purpose = qobject_cast<QComboBox*>(item(QStringLiteral("zdYT"))))
            fillKeepingText(purpose, {});
        {
            const QSignalBlocker block(mMoneyType);
            mMoneyType->addItems(core::ReferenceLookups(s.db()).loadMoneyTypeList());
        }
        if (mKind.hasRegisteredNumbers())
            fillKeepingText(qobject_cast<QComboBox*>(item(QStringLiteral("zdPJBH"))),
                s.templates().loadCheckNOList(
                    mKind.table, core::BillStore::kUnused, core::BillStore::kNumber));
    } catch (const core::DbError&) {
        // The lists stay empty; the bill can still be filled in.
    }
    mShowSaveMessages = true;
    mSerialNo = -1;
    int defaultId = 0;
    try {
        defaultId = s.templates().loadDefaultCheckTypeId(mKind.kind);
    } catch (const core::DbError& e) {
        s.prompter().warn(e.message(), QStringLiteral("错误"));
    }
    if (defaultId <= 0)
        return;
    const QString defaultVariant = s.templates().loadCheckTypeLastNameByID(defaultId);
    if (mEnv.setCurrentTemplate)
        mEnv.setCurrentTemplate(defaultId);
    setSender(mEnv.defaultDrawer ? mEnv.defaultDrawer() : std::nullopt);
    setBillDate(QDate::currentDate());
    if (mTypeBox->count() == 0)
        reloadTypeNameList();
    mCurrentTypeId = defaultId;
    setCurrentCheckType(defaultVariant);
    mLaidOutTypeId = 0;
    cbFirstTypeNameChange();
    buildCommonBlocks();
    setCurrentCheckType(variant());
    mValid = true;
}

void TfmBillForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (mPlaced)
        return;
    mPlaced = true;
    core::IniFile& ini = mEnv.services.settings().userIni();
    const QString section = objectName().toUpper();
    QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame)
        frame = this;
    const int top = ini.readInteger(section, QStringLiteral("PositionY"), 0);
    const int left = ini.readInteger(section, QStringLiteral("PositionX"), 0);
    if (frame != this || isWindow())
        frame->move(left, top);
    const bool bottom
        = ini.readString(section, QStringLiteral("PositionBar"), QStringLiteral("top"))
        == u"bottom";
    if (bottom != mBarAtBottom)
        btUpOrDownClick();
    const int rows = partyListRows(screen() ? screen()->size().height() : 768);
    for (const QString& name : { QStringLiteral("zdOutComp"), QStringLiteral("zdInComp") })
        if (auto* combo = qobject_cast<QComboBox*>(item(name)))
            combo->setMaxVisibleItems(rows);
}

int TfmBillForm::partyListRows(int screenHeight) noexcept
{
    return screenHeight <= 799 ? 23 : screenHeight > 899 ? 50 : 35;
}

void TfmBillForm::closeEvent(QCloseEvent* event)
{
    const QString payee = textOf(item(QStringLiteral("zdInComp")));
    if (!mIsSaved && !payee.isEmpty() && !itemText(QStringLiteral("zdJEDX")).isEmpty()
        && mEnv.services.prompter().ask(mKind.messages.askSaveOnClose, QStringLiteral("关闭票据")))
        save();
    QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame)
        frame = this;
    core::IniFile& ini = mEnv.services.settings().userIni();
    const QString section = objectName().toUpper();
    ini.writeString(section, QStringLiteral("PositionX"), QString::number(frame->x()));
    ini.writeString(section, QStringLiteral("PositionY"), QString::number(frame->y()));
    ini.writeString(section, QStringLiteral("PositionBar"),
        mBarAtBottom ? QStringLiteral("bottom") : QStringLiteral("top"));
    ini.flush();
    if (mEnv.setCurrentTemplate)
        mEnv.setCurrentTemplate(-1);
    event->accept();
}

void TfmBillForm::btUpOrDownClick()
{
    mBarAtBottom = !mBarAtBottom;
    mLayout->removeWidget(mToolBar);
    if (mBarAtBottom)
        mLayout->insertWidget(mLayout->count(), mToolBar);
    else
        mLayout->insertWidget(0, mToolBar);
    button(QStringLiteral("btUpOrDown"))
        ->setText(mBarAtBottom ? QStringLiteral("上") : QStringLiteral("下"));
}

// ---------------------------------------------------------------------------------------------
// Controls

QString TfmBillForm::variant() const { return mTypeBox->currentText(); }

QWidget* TfmBillForm::item(const QString& name) const
{
    if (QWidget* w = mItems.value(key(name)))
        return w;
    const auto children = findChildren<QWidget*>();
    for (QWidget* child : children)
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    return nullptr;
}

QString TfmBillForm::itemText(const QString& name) const { return textOf(item(name)); }

bool TfmBillForm::setItemText(const QString& name, const QString& text)
{
    QWidget* w = item(name);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != text)
            edit->setText(text);
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable()) {
            if (combo->currentText() != text)
                combo->setEditText(text);
            return true;
        }
        const int index = combo->findText(text);
        if (index < 0)
            return false;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        return true;
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        if (memo->toPlainText() != text)
            memo->setPlainText(text);
        return true;
    }
    return false;
}

QCheckBox* TfmBillForm::option(const QString& name) const { return mOptions.value(key(name)); }

QToolButton* TfmBillForm::button(const QString& name) const { return mButtons.value(name); }

bool TfmBillForm::optionChecked(const QString& name) const
{
    const QCheckBox* box = option(name);
    return box && box->isChecked();
}

void TfmBillForm::markChanged() { mIsSaved = false; }

QString TfmBillForm::payeeText() const
{
    const QString text = itemText(QStringLiteral("zdInComp"));
    return text == mKind.payeePlaceholder ? QString() : text;
}

void TfmBillForm::selectPayeePlaceholder(QObject* payee)
{
    auto* combo = qobject_cast<QComboBox*>(payee);
    if (!combo || !combo->lineEdit() || combo->currentText() != mKind.payeePlaceholder)
        return;
    // Whatever the user types then replaces the invitation instead of landing inside it; the
    // selection waits until the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, combo->lineEdit(), [edit = combo->lineEdit()] { edit->selectAll(); });
}

bool TfmBillForm::eventFilter(QObject* watched, QEvent* event)
{
    QObject* owner = watched;
    if (auto* edit = qobject_cast<QLineEdit*>(watched))
        if (auto* combo = qobject_cast<QComboBox*>(edit->parentWidget()))
            owner = combo;
    const QString name = owner->objectName();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == mBgImage) {
            if (mSelDate && !mSelDate->isHidden())
                mSelDate->setFocus();
            else if (!mTypeBox->isHidden())
                mTypeBox->setFocus();
            else if (QToolButton* print = button(QStringLiteral("btPrint1")))
                print->setFocus();
            inputJEXXExit();
        } else if (name == u"zdJEDX" || name == u"zdJEXX") {
            enterAmount(static_cast<QWidget*>(owner));
            return true;
        }
        break;
    case QEvent::FocusIn:
        if (name == u"zdJEDX" || name == u"zdJEXX")
            enterAmount(static_cast<QWidget*>(owner));
        else if (owner == mTypeBox) {
            const int h = screen() ? screen()->size().height() : 768;
            mTypeBox->setMaxVisibleItems(h <= 1000 ? 26 : 35);
        } else {
            if (name == u"zdInComp")
                selectPayeePlaceholder(owner);
            fillListOnEntry(owner);
        }
        break;
    case QEvent::FocusOut:
        if (name == u"zdOutComp"
            && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            zdOutCompExit();
        break;
    case QEvent::KeyPress: {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (name == u"zdInComp" && (k == Qt::Key_Return || k == Qt::Key_Enter))
            zdInCompEnter();
        break;
    }
    case QEvent::MouseButtonDblClick: {
        static const QStringList selectingAll = { QStringLiteral("zdOutComp"),
            QStringLiteral("zdInComp"), QStringLiteral("zdOutBankAcct"),
            QStringLiteral("zdOutBank"), QStringLiteral("zdYT") };
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit && selectingAll.contains(name)) {
            edit->selectAll();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TfmBillForm::fillListOnEntry(QObject* watched)
{
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (!combo || combo->count() > 0)
        return;
    core::Database& db = mEnv.services.db();
    const QString name = combo->objectName();
    const bool sorted = combo->property("sorted").toBool();
    if (name == u"zdOutComp") {
        fillKeepingText(combo, core::DAOPerson(db).loadCompanyList(kOwnCompany), sorted);
    } else if (name == u"zdInComp") {
        fillKeepingText(combo, core::DAOPerson(db).loadCompanyList(kCounterparty), sorted);
    } else if (name == u"zdYT") {
        fillKeepingText(combo,
            core::ReferenceLookups(db).loadDMListByName(
                QStringLiteral("用途"), QStringLiteral("0")));
    } else if (name == u"zdDef1" || name == u"zdDef2") {
        const QString dictionary
            = name == u"zdDef1" ? QStringLiteral("自定义1") : QStringLiteral("自定义2");
        core::ReferenceLookups lookups(db);
        QStringList entries = lookups.loadDMListByName(dictionary, QString::number(mCurrentTypeId));
        if (entries.isEmpty())
            entries = lookups.loadDMListByName(dictionary, QStringLiteral("0"));
        fillKeepingText(combo, entries);
    }
}

// ---------------------------------------------------------------------------------------------
// Template choice and layout

void TfmBillForm::reloadTypeNameList()
{
    const QSignalBlocker block(mTypeBox);
    mTypeBox->clear();
    try {
        mTypeBox->addItems(mEnv.services.templates().loadCheckTypeLastNameList(mKind.kind));
    } catch (const core::DbError&) {
        // An empty drop-down: printing then asks for a template.
    }
}

void TfmBillForm::buildCommonBlocks()
{
    const QSignalBlocker block(mTabs);
    while (mTabs->count() > 0)
        mTabs->removeTab(0);
    QStringList common;
    try {
        common = mEnv.services.templates().loadCommonTypeLastNameList(mKind.kind);
    } catch (const core::DbError&) {
    }
    for (const QString& variantName : std::as_const(common))
        mTabs->addTab(variantName);
    const int manager = mTabs->addTab(kCommonTab);
    // The template manager is a window of its own; without it the tab cannot be chosen.
    mTabs->setTabEnabled(manager, bool(mEnv.openTemplateManager));
}

bool TfmBillForm::setCurrentCheckType(const QString& variantName)
{
    bool selected = false;
    if (mTypeBox->currentText() != variantName) {
        const int index = mTypeBox->findText(variantName);
        if (index >= 0) {
            const QSignalBlocker block(mTypeBox);
            mTypeBox->setCurrentIndex(index);
            selected = true;
        }
    }
    const int current = mTabs->currentIndex();
    if (current < 0 || mTabs->tabText(current) != variantName) {
        int found = -1;
        for (int i = 0; i < mTabs->count(); ++i)
            if (mTabs->tabText(i) == variantName)
                found = i;
        mTabGuard = true;
        mTabs->setCurrentIndex(found);
        mTabGuard = false;
    }
    return selected;
}

void TfmBillForm::cbFirstTypeNameChange()
{
    mIsSaved = false;
    try {
        mCurrentTypeId = mEnv.services.templates().loadCheckTypeIDByFirstAndLastName(
            mKind.kind, mTypeBox->currentText());
    } catch (const core::DbError&) {
        mCurrentTypeId = 0;
    }
    initFormType();
    setJEXX(mInput->text());
    refreshCaption();
    if (mEnv.setCurrentTemplate)
        mEnv.setCurrentTemplate(mCurrentTypeId);
    setCurrentCheckType(mTypeBox->currentText());
}

void TfmBillForm::tbcCheckTypeNameChange(int index)
{
    inputJEXXExit();
    if (index < 0)
        return;
    const QString text = mTabs->tabText(index);
    if (text == kCommonTab) {
        if (mEnv.openTemplateManager)
            mEnv.openTemplateManager(mCurrentTypeId);
        setCurrentCheckType(variant());
        return;
    }
    if (text == variant())
        return;
    const int entry = mTypeBox->findText(text);
    if (entry >= 0) {
        {
            const QSignalBlocker block(mTypeBox);
            mTypeBox->setCurrentIndex(entry);
        }
        cbFirstTypeNameChange();
        return;
    }
    mEnv.services.prompter().inform(QStringLiteral("模板(") + text
            + QStringLiteral(")不存在或被重命名了，请关闭填单界面并重新"
                             "填开,以刷新模板列表！"),
        kPrompt);
    setCurrentCheckType(variant());
}

void TfmBillForm::refreshCaption(const QString& note)
{
    QString caption = mKind.kind + QLatin1Char('(') + variant() + QStringLiteral(")-ID=")
        + QString::number(mSerialNo);
    if (!note.isEmpty())
        caption += QLatin1Char('[') + note + QLatin1Char(']');
    setWindowTitle(caption);
}

void TfmBillForm::reinitTemplate()
{
    mLaidOutTypeId = -1;
    initFormType();
}

void TfmBillForm::initFormType()
{
    core::Services& s = mEnv.services;
    mLayoutIni.reset();
    if (mCurrentTypeId > 0)
        mLayoutIni = s.settings().OpenCheckInif(mCurrentTypeId);
    setProperty("tag", mCurrentTypeId);
    if (mCurrentTypeId == mLaidOutTypeId || mCurrentTypeId <= 0)
        return;
    loadParam(mCurrentTypeId);
    loadCheckBoxsConfig();
    setFormControlsPosition(s.db(), s.prompter(), mKind.kind, this, mLayoutIni.get());
    // Lists of the previous template are refilled on their next entry.
    for (const QString& name :
        { QStringLiteral("zdYT"), QStringLiteral("zdDef1"), QStringLiteral("zdDef2") })
        fillKeepingText(qobject_cast<QComboBox*>(item(name)), {});
    applyHidingOptions();
    mLaidOutTypeId = mCurrentTypeId;
}

void TfmBillForm::loadParam(int templateId)
{
    mBgImage->move(0, 0);
    mBgImage->show();
    mBgImage->lower();
    std::optional<core::TemplateFace> face;
    try {
        face = core::TemplateFace::load(mEnv.services.db(), templateId);
    } catch (const core::DbError&) {
        return;
    }
    if (!face)
        return;
    loadCheckBox(face->checkBoxes);
    const int barHeight = mShortBar->sizeHint().height();
    mPanel->setFixedSize(face->width, face->height + barHeight);
    mBgImage->setGeometry(0, 0, face->width, face->height);
    mShortBar->setGeometry(0, face->height, face->width, barHeight);
    const int height = face->height + mTemplateRow->sizeHint().height()
        + mToolBar->sizeHint().height() + barHeight + kFrameHeight;
    setFixedSize(face->width + 8, height);
    const QString file = face->imageFile.isEmpty() ? kDefaultPicture : face->imageFile;
    QPixmap picture;
    if (picture.load(mEnv.services.folder().path(QStringLiteral("Image/") + file)))
        mBgImage->setPixmap(picture); // natural size: item positions are picture pixels
}

void TfmBillForm::loadCheckBox(const QString& labels)
{
    const QStringList parts = labels.trimmed().split(QLatin1Char(','));
    mItemChecks.clear();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString name = QStringLiteral("defCheck") + QString::number(i);
        auto* box = qobject_cast<QCheckBox*>(item(name));
        if (!box) {
            box = new QCheckBox(mPanel);
            box->setObjectName(name);
            mItems.insert(key(name), box);
        }
        box->setText(parts[i]);
        box->setToolTip(parts[i]);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Window, windowsColour(kCheckColour));
        box->setAutoFillBackground(true);
        box->setPalette(palette);
        box->move(int(i) * 20, int(i) * 30);
        box->hide();
        mItemChecks.append(box);
    }
}

void TfmBillForm::loadCheckBoxsConfig()
{
    const core::IniFile* ini = mLayoutIni.get();
    for (const core::BillOption& o : mKind.options) {
        QCheckBox* box = option(o.name);
        if (!box)
            continue;
        const QString value = core::Settings::getInifCheckConfigByName(ini, o.name);
        if (o.rule == core::OptionRule::OneChecks)
            box->setChecked(value == u"1");
        else if (o.rule == core::OptionRule::ZeroUnchecks)
            box->setChecked(value != u"0");
    }
    setMoneyName(core::Settings::getInifCheckConfigByName(ini, QStringLiteral("cfgDefaultMoney")));
    SelDateChange();
    setJEXX(mInput->text());
}

void TfmBillForm::applyHidingOptions()
{
    // A ticked "不打印…" box must keep its controls hidden across a new layout.
    for (const core::BillOption& o : mKind.options)
        if (o.effect == core::OptionEffect::Hide && optionChecked(o.name))
            for (const QString& name : o.hides)
                if (QWidget* w = item(name))
                    w->hide();
}

void TfmBillForm::placeAgain(const QStringList& names)
{
    for (const QString& name : names)
        setFormCtlPositionFromIni(name, mLayoutIni.get(), this);
}

void TfmBillForm::optionClicked(const core::BillOption& o, bool checked)
{
    switch (o.effect) {
    case core::OptionEffect::None:
        break;
    case core::OptionEffect::Date:
        SelDateCloseUp();
        break;
    case core::OptionEffect::Amount:
        inputJEXXExit();
        break;
    case core::OptionEffect::Hide:
        if (checked) {
            for (const QString& name : o.hides)
                if (QWidget* w = item(name))
                    w->hide();
        } else {
            placeAgain(o.hides);
        }
        break;
    }
}

void TfmBillForm::btRmemberClick()
{
    core::Settings& settings = mEnv.services.settings();
    for (const core::BillOption& o : mKind.options)
        if (o.rule != core::OptionRule::NotRemembered)
            settings.setCheckConfigByName(mCurrentTypeId, o.name,
                optionChecked(o.name) ? QStringLiteral("1") : QStringLiteral("0"));
    if (!mMoneyType->currentText().isEmpty())
        settings.setCheckConfigByName(
            mCurrentTypeId, QStringLiteral("cfgDefaultMoney"), mMoneyType->currentText());
    mEnv.services.prompter().inform(QStringLiteral("打印勾选及选项已记住！"), kPrompt);
    settings.buildCheckIniFile(mCurrentTypeId);
    mLayoutIni = settings.OpenCheckInif(mCurrentTypeId);
}

// ---------------------------------------------------------------------------------------------
// User check boxes

QString TfmBillForm::getItemCheckTitle() const
{
    QStringList ticked;
    for (const QCheckBox* box : mItemChecks)
        if (box->isChecked())
            ticked << box->text();
    return ticked.join(QLatin1Char(','));
}

void TfmBillForm::setItemCheckTitle(const QString& text)
{
    if (text.isEmpty()) {
        for (QCheckBox* box : std::as_const(mItemChecks))
            box->setChecked(false);
        return;
    }
    const QStringList parts = text.split(QLatin1Char(','));
    for (QCheckBox* box : std::as_const(mItemChecks))
        if (parts.contains(box->text()))
            box->setChecked(true);
}

// ---------------------------------------------------------------------------------------------
// Parties, purpose, date

void TfmBillForm::setSender(const std::optional<core::TPerson>& party)
{
    mDrawer = party;
    setItemText(QStringLiteral("zdOutComp"), party ? party->全称 : QString());
    setItemText(QStringLiteral("zdOutBank"), party ? party->开户银行 : QString());
    setItemText(QStringLiteral("zdOutBankAcct"), party ? party->开户行账号 : QString());
}

void TfmBillForm::setReceiver(const std::optional<core::TPerson>& party)
{
    mPayee = party;
    setItemText(QStringLiteral("zdInComp"), party ? party->全称 : QString());
    setItemText(QStringLiteral("cgInComp"), party ? party->全称 : QString());
}

void TfmBillForm::setInComp(const QString& name)
{
    if (!mPayee)
        mPayee = core::TPerson {};
    mPayee->全称 = name;
    setReceiver(mPayee);
}

void TfmBillForm::setYongTu(const QString& purpose)
{
    setItemText(QStringLiteral("zdYT"), purpose);
    setItemText(QStringLiteral("cgYT"), purpose);
}

void TfmBillForm::zdOutCompExit()
{
    if (mIsLoading)
        return;
    mIsSaved = false;
    const QString name = itemText(QStringLiteral("zdOutComp")).trimmed();
    if (name.isEmpty())
        return;
    if (const auto party = core::DAOPerson(mEnv.services.db()).findDrawerByName(name)) {
        setItemText(QStringLiteral("zdOutBank"), party->开户银行);
        setItemText(QStringLiteral("zdOutBankAcct"), party->开户行账号);
    }
}

void TfmBillForm::zdInCompEnter()
{
    const QString code = itemText(QStringLiteral("zdInComp")).trimmed();
    if (code.isEmpty())
        return;
    if (const auto party = core::DAOPerson(mEnv.services.db()).findPersonByInputCode(code))
        setReceiver(party);
}

void TfmBillForm::zdInCompSelect()
{
    if (mIsLoading)
        return;
    const QString name = itemText(QStringLiteral("zdInComp"));
    if (const auto party = core::DAOPerson(mEnv.services.db()).findPersonByFullName(name))
        setReceiver(party);
}

void TfmBillForm::shpHKRRelease()
{
    if (mEnv.pickParty)
        setSender(mEnv.pickParty(kOwnCompany, QStringLiteral("选取付款行")));
}

void TfmBillForm::shpskrRelease()
{
    if (mEnv.pickParty)
        setReceiver(mEnv.pickParty(kCounterparty, QStringLiteral("选取收款人")));
}

void TfmBillForm::btSaveSKRClick()
{
    QString name = itemText(QStringLiteral("zdInComp"));
    if (name == mKind.payeePlaceholder) {
        name.clear();
        setItemText(QStringLiteral("zdInComp"), name);
    }
    core::TPerson person;
    person.全称 = name;
    person.单位类型 = kCounterparty;
    if (mEnv.savePerson)
        mEnv.savePerson(person);
}

QDate TfmBillForm::billDate() const { return mSelDate ? mSelDate->date() : QDate::currentDate(); }

void TfmBillForm::setBillDate(const QDate& date)
{
    if (mSelDate) {
        const QSignalBlocker block(mSelDate);
        mSelDate->setDate(date);
    }
    SelDateCloseUp();
}

void TfmBillForm::SelDateChange()
{
    mIsSaved = false;
    SelDateCloseUp();
}

void TfmBillForm::SelDateCloseUp()
{
    const QDate date = billDate();
    const QString year = date.toString(QStringLiteral("yyyy"));
    const QString month = date.toString(QStringLiteral("MM"));
    const QString day = date.toString(QStringLiteral("dd"));
    if (optionChecked(QStringLiteral("cfgDateChinese"))) {
        setItemText(QStringLiteral("zdNian"), core::DateNumberToCapitals(year));
        setItemText(QStringLiteral("zdYue"), core::DateNumberToCapitals(month));
        setItemText(QStringLiteral("zdRi"), core::DateNumberToCapitals(day));
    } else {
        setItemText(QStringLiteral("zdNian"), year);
        setItemText(QStringLiteral("zdYue"), month);
        setItemText(QStringLiteral("zdRi"), day);
    }
    setItemText(QStringLiteral("cgNian"), year);
    setItemText(QStringLiteral("cgYue"), month);
    setItemText(QStringLiteral("cgRi"), day);
    setItemText(QStringLiteral("zdNianYueRi"), date.toString(QStringLiteral("yyyy-MM-dd")));
    mIsSaved = false;
}

// ---------------------------------------------------------------------------------------------
// Amount

void TfmBillForm::enterAmount(QWidget* over)
{
    if (!over)
        return;
    mInput->setGeometry(over->geometry());
    mInput->show();
    mInput->raise();
    mInput->selectAll();
    mInput->setFocus();
}

void TfmBillForm::refuseAmountKey()
{
    mEnv.services.prompter().inform(
        QStringLiteral("请输入合法的数值，全角的数字、字母、标点符号可不行哦\n如果打开了全角，"
                       "请shift+空格键切换或者试试小键盘吧~"),
        kAmountCaption);
}

void TfmBillForm::inputJEXXExit()
{
    // A message box taking the focus must not commit the box a second time.
    if (mCommitting)
        return;
    mCommitting = true;
    mInput->setText(core::NormalizeAmountText(mInput->text()));
    setJEXX(mInput->text());
    mInput->hide();
    mCommitting = false;
}

core::AmountOptions TfmBillForm::amountOptions() const
{
    core::AmountOptions o;
    o.figuresWithCode = optionChecked(QStringLiteral("cfgJEXXWithMoneyCode"));
    o.capitalsWithName = optionChecked(QStringLiteral("cfgJEDXWithMoneyName"));
    o.capitalsKeepRmb = optionChecked(QStringLiteral("cfgJEDXRMBChecked"));
    o.noSymbol = optionChecked(QStringLiteral("cfgNoPrtSheep"));
    return o;
}

void TfmBillForm::setJEXX(const QString& text)
{
    const QString code = getMoneyCode();
    const core::AmountDerivation d = core::deriveAmount(text, mCurrencyName, code, amountOptions());
    if (d.problem != core::AmountDerivation::Problem::None) {
        mEnv.services.prompter().inform(d.message(), kAmountCaption);
        return;
    }
    if (d.figures.isEmpty()) {
        mInput->clear();
        setItemText(QStringLiteral("zdJEDX"), {});
        WriteToJEGrid(code, 0);
        return;
    }
    setItemText(QStringLiteral("zdJEXX"), d.figures);
    setItemText(QStringLiteral("cgJEXX"), d.counterfoil);
    const QStringList& cells = core::amountCellNames();
    for (qsizetype i = 0; i < cells.size(); ++i)
        setItemText(cells[i], d.cells[size_t(i)]);
    setItemText(QStringLiteral("zdJEDX"), d.capitals);
}

void TfmBillForm::WriteToJEGrid(const QString& code, double value)
{
    const std::array<QString, 11> cells = core::amountCells(code.isEmpty() ? getMoneyCode() : code,
        value, optionChecked(QStringLiteral("cfgNoPrtSheep")));
    const QStringList& names = core::amountCellNames();
    for (qsizetype i = 0; i < names.size(); ++i)
        setItemText(names[i], cells[size_t(i)]);
    if (!(value > 0)) {
        setItemText(QStringLiteral("cgJEXX"), {});
        setItemText(QStringLiteral("zdJEXX"), {});
    }
}

void TfmBillForm::setMoneyName(const QString& name)
{
    mCurrencyName = name.isEmpty() ? QStringLiteral("人民币") : name;
    mCurrencyCode.clear();
    // An empty name shows the currency the bill then uses.
    const QSignalBlocker block(mMoneyType);
    mMoneyType->setCurrentIndex(mMoneyType->findText(mCurrencyName));
}

QString TfmBillForm::getMoneyCode()
{
    if (mCurrencyCode.isEmpty()) {
        setMoneyName(mCurrencyName);
        mCurrencyCode
            = core::ReferenceLookups(mEnv.services.db()).getMoneyCodeByName(mCurrencyName);
    }
    return mCurrencyCode;
}

void TfmBillForm::cfgMoneyTypeChange()
{
    if (mMoneyType->currentText() != mCurrencyName) {
        mCurrencyName = mMoneyType->currentText();
        mCurrencyCode.clear();
    }
    inputJEXXExit();
}

// ---------------------------------------------------------------------------------------------
// Saving and reopening

bool TfmBillForm::save()
{
    core::Services& s = mEnv.services;
    const int serialBefore = mSerialNo;
    if (mIsHistoric) {
        if (!s.prompter().ask(
                QStringLiteral("该单据来自历史单据，历史单据不能修改！\n另存为新单据吗？"),
                kSaveCaption))
            return false;
        mSerialNo = -1;
        const QDate today = QDate::currentDate();
        if (billDate() != today
            && s.prompter().ask(
                QStringLiteral("票据的日期与当前日期不符！\n修正为当前日期吗？(修正后日期：")
                    + QLocale().toString(today, QLocale::ShortFormat) + QLatin1Char(')'),
                kSaveCaption))
            setBillDate(today);
        mIsSaved = false;
    }
    core::BillStore::Values values;
    for (const core::BillColumn& c : mKind.columns) {
        QVariant value;
        switch (c.source) {
        case core::ColumnSource::Variant:
            value = variant();
            break;
        case core::ColumnSource::ItemChecks:
            value = getItemCheckTitle();
            break;
        case core::ColumnSource::Status:
            value = core::BillStore::kUsed;
            break;
        case core::ColumnSource::Currency:
            value = mMoneyType->currentText();
            break;
        case core::ColumnSource::Amount:
            value = mInput->text();
            break;
        case core::ColumnSource::Date:
            value = billDate().startOfDay();
            break;
        case core::ColumnSource::Payee:
            value = payeeText();
            break;
        case core::ColumnSource::Purpose:
        case core::ColumnSource::Text: {
            const QWidget* w = item(c.control);
            if (c.onlyWhenVisible && (!w || w->isHidden()))
                continue;
            value = textOf(w);
            break;
        }
        }
        values.append({ c.column, value });
    }
    core::BillStore::SaveResult result {};
    try {
        result = core::BillStore(s.db(), mKind).save(mSerialNo, values);
    } catch (const core::DbError& e) {
        mSerialNo = serialBefore;
        s.prompter().warn(QStringLiteral("单据保存失败！") + e.message(), kSaveCaption);
        return false;
    }
    if (result.outcome == core::BillStore::Outcome::RefusedVoided) {
        s.prompter().inform(mKind.messages.voided, kPrompt);
        return false;
    }
    mSerialNo = result.serial;
    if (mShowSaveMessages)
        s.prompter().inform(result.outcome == core::BillStore::Outcome::Edited
                ? mKind.messages.savedEdited
                : mKind.messages.savedNew,
            kPrompt);
    mIsHistoric = false;
    if (auto* number = qobject_cast<QComboBox*>(item(QStringLiteral("zdPJBH")))) {
        const QString text = number->currentText();
        if (!text.isEmpty()) {
            const QSignalBlocker block(number);
            ComboBoxDeleteByText(number, text);
            number->setCurrentIndex(-1);
            number->setEditText(text);
        }
    }
    mIsSaved = true;
    refreshCaption();
    return true;
}

void TfmBillForm::btSaveCheckClick()
{
    core::Prompter& prompter = mEnv.services.prompter();
    if (mIsHistoric) {
        prompter.inform(
            QStringLiteral("历史单据不能保存，请点击[复制]后,再保存为新单据！"), kPrompt);
        return;
    }
    if (mIsSaved) {
        prompter.inform(QStringLiteral("没有改动,无需保存~"), kPrompt);
        return;
    }
    save();
    button(QStringLiteral("btSaveAs"))->setEnabled(true);
    mShowSaveMessages = true;
}

void TfmBillForm::btSaveAsClick()
{
    if (mSerialNo == -1)
        return;
    mIsHistoric = false;
    mSerialNo = -1;
    setItemText(QStringLiteral("zdPJBH"), {});
    mIsSaved = false;
    refreshCaption(QStringLiteral("已复制保存过的单据为一张新单"));
}

void TfmBillForm::btNewClick()
{
    mSerialNo = -1;
    setInComp({});
    mIsSaved = false;
    setItemText(QStringLiteral("zdRemark"), {});
    mIsHistoric = false;
    refreshCaption(QStringLiteral("新建"));
    setJEXX({});
    setYongTu({});
    setBillDate(QDate::currentDate());
    mIsSaved = false;
    button(QStringLiteral("btSaveAs"))->setEnabled(false);
}

void TfmBillForm::btPrintAndSaveClick()
{
    QToolButton* self = button(QStringLiteral("btPrintAndSave"));
    mShowSaveMessages = false;
    self->setEnabled(false);
    btPrint1Click();
    btSaveCheckClick();
    if (auto* number = qobject_cast<QComboBox*>(item(QStringLiteral("zdPJBH")))) {
        const QSignalBlocker block(number);
        number->clear();
        number->setEditText({});
    }
    btSaveAsClick();
    button(QStringLiteral("btSaveAs"))->setEnabled(false);
    self->setEnabled(true);
    mShowSaveMessages = true;
}

void TfmBillForm::zdPJBHSelect()
{
    if (mIsLoading)
        return;
    mIsSaved = false;
    std::optional<QVariantMap> row;
    try {
        row = core::BillStore(mEnv.services.db(), mKind)
                  .findByNumber(itemText(QStringLiteral("zdPJBH")));
    } catch (const core::DbError&) {
        return;
    }
    if (!row)
        return;
    for (const core::BillCopy& copy : mKind.registeredCopies)
        setItemText(copy.control, row->value(copy.column).toString());
    mSerialNo = row->value(core::BillStore::kSerial).toInt();
    const QString stored = row->value(core::BillStore::kVariant).toString();
    if (!stored.isEmpty() && stored != variant()) {
        setCurrentCheckType(stored);
        cbFirstTypeNameChange();
    } else {
        refreshCaption();
    }
}

void TfmBillForm::readColumn(const core::BillColumn& column, const QVariant& value, QString& status)
{
    const QString text = value.toString();
    switch (column.source) {
    case core::ColumnSource::Variant:
        break;
    case core::ColumnSource::ItemChecks:
        setItemCheckTitle(text);
        break;
    case core::ColumnSource::Status:
        status = text;
        break;
    case core::ColumnSource::Currency: {
        const QSignalBlocker block(mMoneyType);
        mMoneyType->setCurrentIndex(mMoneyType->findText(text));
        cfgMoneyTypeChange();
        break;
    }
    case core::ColumnSource::Amount:
        mInput->setText(text);
        inputJEXXExit();
        break;
    case core::ColumnSource::Date: {
        QDate date = value.toDate();
        if (!date.isValid())
            date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        if (date.isValid())
            setBillDate(date);
        break;
    }
    case core::ColumnSource::Payee:
        setInComp(text);
        break;
    case core::ColumnSource::Purpose:
        setYongTu(text);
        break;
    case core::ColumnSource::Text:
        setItemText(column.control, text);
        break;
    }
}

void TfmBillForm::BrowseOldCheck(const QString& variantName, const QString& serialText)
{
    core::Services& s = mEnv.services;
    mSerialNo = serialText.trimmed().toInt();
    if (variantName != variant()) {
        int id = 0;
        try {
            id = s.templates().loadCheckTypeIDByFirstAndLastName(
                mKind.kind, variantName.isEmpty() ? variant() : variantName);
        } catch (const core::DbError&) {
        }
        if (id > 0) {
            setCurrentCheckType(variantName);
            mLaidOutTypeId = -1;
            mCurrentTypeId = id;
            cbFirstTypeNameChange();
        }
    }
    QString status;
    if (mSerialNo > 0) {
        mIsLoading = true;
        try {
            if (const auto row = core::BillStore(s.db(), mKind).load(mSerialNo)) {
                for (const QString& name : mKind.loadOrder)
                    for (const core::BillColumn& c : mKind.columns)
                        if (c.column == name)
                            readColumn(c, row->value(name), status);
            }
        } catch (const core::DbError&) {
            s.prompter().inform(QStringLiteral("调出历史数据失败！"), kPrompt);
        }
        mIsLoading = false;
    }
    if (!status.isEmpty() && status != core::BillStore::kUnused) {
        mIsSaved = true;
        mIsHistoric = true;
        refreshCaption(QStringLiteral("历史"));
    } else {
        mIsSaved = false;
        mIsHistoric = false;
        refreshCaption(QStringLiteral("新"));
    }
    button(QStringLiteral("btSaveAs"))->setEnabled(mIsSaved);
    QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame)
        frame = this;
    if (frame->isHidden())
        frame->show();
    if (!frame->isWindow())
        frame->raise(); // a document window comes to the front of the others
}

// ---------------------------------------------------------------------------------------------
// Printing

void TfmBillForm::PrintPrepare()
{
    core::Services& s = mEnv.services;
    core::PrintEngine& engine = s.printEngine();
    engine.setPrintJobReady(false);
    if (mTypeBox->count() == 0) {
        mTypeBox->show();
        s.prompter().inform(mKind.messages.chooseTemplate, kPrompt);
        return;
    }
    if (!mEnv.printers || mEnv.printers().isEmpty()) {
        s.prompter().warn(QStringLiteral("你需要安装打印机才能打印！"), QStringLiteral("错误"));
        return;
    }
    std::optional<QPoint> offset;
    try {
        offset = engine.prepareJob(mCurrentTypeId, mEnv.turnPaper);
    } catch (const core::DbError&) {
        s.prompter().inform(
            QStringLiteral("Err:数据库连接错误，无法取得整体打印偏移量！"), kPrompt);
        return;
    }
    if (!offset) {
        s.prompter().inform(
            QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！"), kPrompt);
        return;
    }
    mXMove = offset->x();
    mYMove = offset->y();
    if (mEnv.popPrinterDialog && mEnv.popPrinterDialog() && mEnv.printerDialog)
        mEnv.printerDialog(this);
}

void TfmBillForm::PrinterTransBegin(int copies)
{
    core::PrintEngine& engine = mEnv.services.printEngine();
    if (!engine.printJobReady())
        return;
    if (!engine.beginJob(copies))
        mEnv.services.prompter().warn(kPrintError, kPrompt);
}

void TfmBillForm::SendCheckToPrinter()
{
    core::Services& s = mEnv.services;
    if (itemText(QStringLiteral("zdInComp")) == mKind.payeePlaceholder)
        setItemText(QStringLiteral("zdInComp"), {});
    core::PrintEngine& engine = s.printEngine();
    if (!engine.printJobReady())
        return;
    engine.setPrintMoneyCode(getMoneyCode());
    engine.setPrintCellPitch(engine.getCellsWidth(
        mCurrentTypeId, QStringLiteral("zdQY"), mKind.cellPitchDefault, QStringLiteral("zdBY")));
    QList<core::PrintItemDef> items;
    try {
        items = core::loadPrintItems(s.db(), mKind.kind);
    } catch (const core::DbError& e) {
        s.prompter().warn(kPrintError + e.message(), kPrompt);
        return;
    }
    QList<core::PrintValue> values;
    for (const core::PrintItemDef& def : std::as_const(items)) {
        bool skipped = false;
        for (const core::BillPrintSkip& skip : mKind.printSkips)
            if (def.name.toUpper() == skip.item && !optionChecked(skip.option))
                skipped = true;
        if (skipped)
            continue;
        values.append(
            { def.name, def.type, getControlValue(mPanel, def.name, s.settings(), s.prompter()) });
    }
    engine.printItems(mCurrentTypeId, mXMove, mYMove, values);
}

void TfmBillForm::PrinterTransEnd()
{
    core::PrintEngine& engine = mEnv.services.printEngine();
    if (!engine.printJobReady())
        return;
    if (!engine.endJob())
        mEnv.services.prompter().warn(kPrintError, kPrompt);
}

void TfmBillForm::btPrint1Click()
{
    QToolButton* self = button(QStringLiteral("btPrint1"));
    self->setEnabled(false);
    PrintPrepare();
    PrinterTransBegin(1);
    SendCheckToPrinter();
    PrinterTransEnd();
    self->setEnabled(true);
}

void TfmBillForm::btMultiPrintFClick()
{
    const QString answer = mEnv.giveMeAnValue(
        QStringLiteral("输入重复打印的张数"), QStringLiteral("1"), QStringLiteral("integer"));
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int copies = answer.trimmed().toInt(&ok);
    if (!ok) {
        mEnv.services.prompter().inform(QStringLiteral("输入错误的数字！"), kPrompt);
        return;
    }
    const QStringList names = { QStringLiteral("btPrint1"), QStringLiteral("btPrintAndSave"),
        QStringLiteral("btMultiPrintF") };
    for (const QString& name : names)
        button(name)->setEnabled(false);
    PrintPrepare();
    PrinterTransBegin(copies);
    SendCheckToPrinter();
    PrinterTransEnd();
    for (const QString& name : names)
        button(name)->setEnabled(true);
}

} // namespace pennock::ui
