#include "bills/TfmBillForm.h"

#include "bills/AmountInputBox.h"
#include "bills/BankKinds.h"
#include "bills/BillStore.h"
#include "bills/FlowLayout.h"
#include "bills/PickerShape.h"
#include "bills/Proof.h"
#include "bills/ProofWindow.h"
#include "bills/TemplateFace.h"
#include "format/Capitals.h"
#include "parties/ComboBoxDeleteByText.h"
#include "parties/DAOPerson.h"
#include "parties/ReferenceLookups.h"
#include "platform/Prompter.h"
#include "printing/PrintEngine.h"
#include "printing/Services.h"
#include "settings/FormPlacement.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QAbstractItemView>
#include <QApplication>
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
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kSaveCaption = QStringLiteral("单据保存");
const QString kAmountCaption = QStringLiteral("金额输入");
const QString kCommonTab = QStringLiteral("配置常用模板");
const QString kDefaultPicture = QStringLiteral("dhd_default.jpg");
const QString kPrintError = QStringLiteral("打印出错，请检查打印机是否可用！");
const QString kTick = QStringLiteral("√");
constexpr int kCheckColour = 12171775; // the product's pale pink, in Windows BGR order

QString key(const QString& name) { return name.toLower(); }

bool same(const QString& a, const QString& b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

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
    // A narrow box on the picture still lists its entries readably.
    box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) + 24);
    if (box->isEditable()) {
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

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

// The form's frame: its document window in the main window, else the form itself.
QWidget* frameOf(QWidget* form)
{
    QWidget* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    return frame ? frame : form;
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
    mScroll = new QScrollArea(this);
    mScroll->setObjectName(QStringLiteral("scrollImgBg"));
    mScroll->setFrameShape(QFrame::NoFrame);
    mScroll->setFocusPolicy(Qt::NoFocus);
    mScroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mScroll->setWidget(mPanel);
    mLayout->addWidget(mToolBar);
    mLayout->addWidget(mTemplateRow);
    mLayout->addWidget(mScroll, 1);
    mLayout->addWidget(mShortBar);
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
        mEnv.savePerson && !mKind.payee.name.isEmpty() ? &TfmBillForm::btSaveSKRClick : nullptr);
    if (mKind.makesDepositSlip)
        addButton(QStringLiteral("bt2CheckJZD"), QStringLiteral("转进账单(&T)"),
            QStringLiteral("重填一张新单"),
            mEnv.openBillForm ? &TfmBillForm::bt2CheckJZDClick : nullptr);
    QToolButton* open = addButton(QStringLiteral("btOpenCheck"), QStringLiteral("打开(&O)"),
        QStringLiteral("打开历史保存的单据"), nullptr);
    if (mEnv.openHistory && mKind.historyCommand) {
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
    addButton(QStringLiteral("btProof"), QStringLiteral("打印预览"),
        QStringLiteral("在票据图片上生成PDF校样，核对打印位置"), &TfmBillForm::btProofClick);
    if (mKind.repeatPrint)
        addButton(QStringLiteral("btMultiPrintF"), QStringLiteral("重复打印"),
            QStringLiteral("重复打印多份当前填写的票据"),
            mEnv.giveMeAnValue ? &TfmBillForm::btMultiPrintFClick : nullptr);
    QToolButton* closeButton
        = addButton(QStringLiteral("btClose"), QStringLiteral("关闭&C"), {}, nullptr);
    closeButton->setEnabled(true);
    connect(closeButton, &QToolButton::clicked, this, [this] { frameOf(this)->close(); });
    for (const auto& [name, caption] : mKind.buttonCaptions)
        if (QToolButton* b = button(name))
            b->setText(caption);
    // Keys no menu of the main window takes: the letters of 保存(&S) and 单张打印(&P) are also
    // those of its menus, which win.
    const std::pair<QKeySequence, QString> keys[]
        = { { QKeySequence::Print, QStringLiteral("btPrint1") },
              { QKeySequence::Save, QStringLiteral("btSaveCheck") } };
    for (const auto& [sequence, name] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, name = name] {
            if (QToolButton* b = button(name); b && b->isEnabled())
                b->click();
        });
    }
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
    const QString name = control.name;
    QWidget* w = nullptr;
    switch (control.kind) {
    case K::Edit:
    case K::ReadOnlyEdit: {
        auto* edit = new QLineEdit(mPanel);
        edit->setReadOnly(control.kind == K::ReadOnlyEdit);
        if (control.maxLength > 0)
            edit->setMaxLength(control.maxLength);
        connect(edit, &QLineEdit::textChanged, this, [this, name] { itemChanged(name); });
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
        if (!control.completes)
            combo->setCompleter(nullptr);
        combo->lineEdit()->installEventFilter(this);
        connect(combo, &QComboBox::editTextChanged, this, [this, name] { itemChanged(name); });
        connect(combo, &QComboBox::activated, this, [this, name] { itemPicked(name); });
        w = combo;
        break;
    }
    case K::Memo: {
        auto* memo = new QPlainTextEdit(mPanel);
        // Tab moves on to the next item, as everywhere on the form.
        memo->setTabChangesFocus(true);
        connect(memo, &QPlainTextEdit::textChanged, this, [this, name] { itemChanged(name); });
        w = memo;
        break;
    }
    case K::Check: {
        auto* box = new QCheckBox(mPanel);
        connect(box, &QCheckBox::toggled, this, [this] {
            if (mWriting == 0)
                markChanged();
        });
        w = box;
        break;
    }
    case K::DatePicker:
        mSelDate = new QDateEdit(mPanel);
        mSelDate->setCalendarPopup(true);
        mSelDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        connect(mSelDate, &QDateEdit::dateChanged, this, &TfmBillForm::SelDateChange);
        w = mSelDate;
        break;
    case K::Shape: {
        auto* shape = new PickerShape(mPanel);
        connect(shape, &PickerShape::released, this, [this, name] {
            const core::PartySide* side = sideWithShape(name);
            if (side && mEnv.pickParty)
                showParty(*side, mEnv.pickParty(side->partyType, side->pickerCaption));
        });
        w = shape;
        break;
    }
    case K::AmountInput:
        mInput = new AmountInputBox(mPanel);
        connect(mInput, &AmountInputBox::refused, this, &TfmBillForm::refuseAmountKey);
        connect(mInput, &AmountInputBox::commitRequested, this, &TfmBillForm::inputJEXXExit);
        connect(mInput, &QLineEdit::textChanged, this, [this](const QString& text) {
            // The figures follow the typing while the box lies over the capitals or figures.
            if (same(mAmountTarget, mKind.roles.capitals)
                || same(mAmountTarget, mKind.roles.figures))
                setItemText(mKind.roles.figures, text);
        });
        w = mInput;
        break;
    }
    w->setObjectName(name);
    w->setToolTip(control.hint);
    // The amount box is reached by Tab through the controls that open it; what the user
    // cannot change is no stop on the way.
    if (mKind.roles.amountOpeners.contains(name, Qt::CaseInsensitive))
        w->setFocusPolicy(Qt::StrongFocus);
    else if (!control.tabStop || control.kind == K::ReadOnlyEdit)
        w->setFocusPolicy(Qt::ClickFocus);
    w->installEventFilter(this);
    w->hide();
    mItems.insert(key(name), w);
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
    if (!mInput) // every form keeps the stored amount in the box, whether it shows one or not
        makeControl({ QStringLiteral("amountInput"), core::ControlKind::AmountInput });
    if (!mKind.payeePlaceholder.isEmpty())
        setItemText(mKind.payee.name, mKind.payeePlaceholder);
    buildOptionBar();
}

void TfmBillForm::buildOptionBar()
{
    mShortBar = new QWidget(this);
    mShortBar->setObjectName(QStringLiteral("shortbar"));
    auto* rows = new QVBoxLayout(mShortBar);
    rows->setContentsMargins(2, 2, 2, 2);
    rows->setSpacing(2);
    // The remembered options come first, the others on the rows below; each part wraps at the
    // form's width, so that every caption stays whole.
    auto* first = new QWidget(mShortBar);
    auto* remembered = new FlowLayout(first);
    remembered->setContentsMargins(0, 0, 0, 0);
    mMoreOptions = new QWidget(mShortBar);
    auto* others = new FlowLayout(mMoreOptions);
    others->setContentsMargins(0, 0, 0, 0);
    rows->addWidget(first);
    rows->addWidget(mMoreOptions);
    // A caption and its drop-down stay together on one row.
    const auto labelled = [this](const QString& caption, QWidget* box) {
        auto* pair = new QWidget(mShortBar);
        auto* row = new QHBoxLayout(pair);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(4);
        auto* label = new QLabel(caption, pair);
        label->setBuddy(box);
        row->addWidget(label);
        box->setParent(pair);
        row->addWidget(box);
        return pair;
    };
    for (const core::BillOption& option : mKind.options) {
        QWidget* w = nullptr;
        QWidget* placed = nullptr;
        if (option.rule == core::OptionRule::Choice) {
            auto* box = new QComboBox(mShortBar);
            box->setObjectName(option.name);
            box->addItems(option.choices);
            box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            connect(
                box, &QComboBox::activated, this, [this, &option] { optionClicked(option, true); });
            mChoices.insert(key(option.name), box);
            w = box;
            placed = labelled(option.caption, box);
        } else {
            auto* box = new QCheckBox(option.caption, mShortBar);
            box->setObjectName(option.name);
            connect(box, &QCheckBox::clicked, this,
                [this, &option](bool checked) { optionClicked(option, checked); });
            mOptions.insert(key(option.name), box);
            w = box;
            placed = box;
        }
        w->setToolTip(option.hint);
        w->setEnabled(option.enabled);
        (option.rule != core::OptionRule::NotRemembered ? remembered : others)->addWidget(placed);
    }
    mMoneyType = new QComboBox(mShortBar);
    mMoneyType->setObjectName(QStringLiteral("cfgMoneyType"));
    mMoneyType->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(mMoneyType, &QComboBox::activated, this, &TfmBillForm::cfgMoneyTypeChange);
    if (mKind.currencyLabel.isEmpty())
        mMoneyType->hide();
    else
        remembered->addWidget(labelled(mKind.currencyLabel, mMoneyType));
    auto* remember = new QPushButton(mKind.rememberCaption, mMoreOptions);
    remember->setObjectName(QStringLiteral("btRmember"));
    connect(remember, &QPushButton::clicked, this, &TfmBillForm::btRmemberClick);
    others->addWidget(remember);
}

void TfmBillForm::addToOptionBar(QWidget* w)
{
    w->setParent(mMoreOptions);
    mMoreOptions->layout()->addWidget(w);
}

// ---------------------------------------------------------------------------------------------
// Creation, showing, closing

void TfmBillForm::create()
{
    core::Services& s = mEnv.services;
    try {
        {
            const QSignalBlocker block(mMoneyType);
            mMoneyType->addItems(core::ReferenceLookups(s.db()).loadMoneyTypeList());
        }
        if (mKind.hasRegisteredNumbers())
            fillKeepingText(qobject_cast<QComboBox*>(item(mKind.roles.number)),
                core::BillStore(s.db(), mKind).offeredNumbers());
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
    mIsSaved = false;
    mChangedByUser = false;
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
    QWidget* frame = frameOf(this);
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
    for (const core::PartySide* side : { &mKind.drawer, &mKind.payee })
        if (auto* combo = qobject_cast<QComboBox*>(item(side->name)))
            combo->setMaxVisibleItems(rows);
    fitWindow();
    // Whoever opened the form types at once into its first item.
    for (const QPointer<QWidget>& stop : std::as_const(mTabStops))
        if (stop && !stop->isHidden() && stop->isEnabled()) {
            stop->setFocus(Qt::OtherFocusReason);
            break;
        }
}

int TfmBillForm::partyListRows(int screenHeight) noexcept
{
    return screenHeight <= 799 ? 23 : screenHeight > 899 ? 50 : 35;
}

QSize TfmBillForm::availableRoom() const
{
    // A document window has the main window's document area, less its own frame.
    if (const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget()))
        if (const QWidget* area = frame->parentWidget(); area && !area->size().isEmpty())
            return area->size().shrunkBy(frame->contentsMargins());
    if (!isWindow() && parentWidget() && !parentWidget()->size().isEmpty())
        return parentWidget()->size();
    return screen() ? screen()->availableGeometry().size() : QSize(1366, 768);
}

QSize TfmBillForm::fittingSize(const QSize& available) const
{
    const QMargins margins = mLayout->contentsMargins();
    const int sides = margins.left() + margins.right();
    const int frame = 2 * mScroll->frameWidth();
    const QSize picture = mPanel->size() + QSize(frame, frame);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // The tool bar never folds its buttons behind an overflow arrow.
    const int narrowest
        = std::max({ mToolBar->sizeHint().width(), mTemplateRow->minimumSizeHint().width(),
              mShortBar->minimumSizeHint().width() })
        + sides;
    int width = std::max(std::min(picture.width() + sides, available.width()), narrowest);
    const auto around = [&](int w) {
        const int bar = mShortBar->hasHeightForWidth() ? mShortBar->heightForWidth(w - sides)
                                                       : mShortBar->sizeHint().height();
        return margins.top() + margins.bottom() + mToolBar->sizeHint().height()
            + mTemplateRow->sizeHint().height() + bar;
    };
    const bool across = width - sides < picture.width();
    int height = around(width) + picture.height() + (across ? scrollBar : 0);
    if (height > available.height()) {
        // The picture scrolls; a sliver of it stays in sight however small the room.
        height = std::max(available.height(), around(width) + 4 * scrollBar);
        width = std::max(std::min(width + scrollBar, available.width()), narrowest);
    }
    return { width, height };
}

QSize TfmBillForm::sizeHint() const
{
    return mScroll ? fittingSize(availableRoom()) : QWidget::sizeHint();
}

void TfmBillForm::fitWindow()
{
    mToolBar->setMinimumWidth(mToolBar->sizeHint().width());
    const int frame = 2 * mScroll->frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // Room beyond the picture would only be blank.
    mScroll->setMaximumSize(mPanel->size() + QSize(frame + scrollBar, frame + scrollBar));
    updateGeometry();
    const QSize size = sizeHint();
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub) {
        resize(size);
        return;
    }
    sub->resize(size.grownBy(sub->contentsMargins()));
    // A window remembered further right or down than the area now reaches is drawn back in.
    if (const QWidget* area = sub->parentWidget()) {
        const int x = std::clamp(sub->x(), 0, std::max(0, area->width() - sub->width()));
        const int y = std::clamp(sub->y(), 0, std::max(0, area->height() - sub->height()));
        sub->move(x, y);
    }
}

bool TfmBillForm::offersSaveOnClose() const
{
    if (mIsSaved)
        return false;
    const QStringList filled = mKind.askSaveWhenFilled.isEmpty()
        ? QStringList { mKind.payee.name, mKind.roles.capitals }
        : mKind.askSaveWhenFilled;
    // A name box still showing its invitation counts as filled: a bill without that name is
    // still a bill to keep.
    for (const QString& name : filled)
        if (name.isEmpty() || itemText(name).isEmpty())
            return false;
    return true;
}

void TfmBillForm::closeEvent(QCloseEvent* event)
{
    commitPendingAmount();
    if (offersSaveOnClose()
        && mEnv.services.prompter().ask(mKind.messages.askSaveOnClose, mKind.messages.closeCaption))
        save();
    QWidget* frame = frameOf(this);
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
    if (name.isEmpty())
        return nullptr;
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
    ++mWriting;
    const auto done = qScopeGuard([this] { --mWriting; });
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

QComboBox* TfmBillForm::choiceOption(const QString& name) const
{
    return mChoices.value(key(name));
}

QToolButton* TfmBillForm::button(const QString& name) const { return mButtons.value(name); }

bool TfmBillForm::optionChecked(const QString& name) const
{
    const QCheckBox* box = option(name);
    return box && box->isChecked();
}

bool TfmBillForm::isChecked(const QString& name) const { return optionChecked(name); }

std::pair<QString, QString> TfmBillForm::currency() const
{
    // The code is looked up once and kept, as the amount box does.
    return { mCurrencyName, const_cast<TfmBillForm*>(this)->getMoneyCode() };
}

bool TfmBillForm::isShown(const QString& name) const
{
    const QWidget* w = item(name);
    return w && !w->isHidden();
}

QString TfmBillForm::optionText(const QString& name) const
{
    const QComboBox* box = choiceOption(name);
    return box ? box->currentText() : QString();
}

void TfmBillForm::markChanged()
{
    mIsSaved = false;
    mChangedByUser = true;
}

QString TfmBillForm::payeeText() const
{
    const QString text = itemText(mKind.payee.name);
    return text == mKind.payeePlaceholder ? QString() : text;
}

core::Bill TfmBillForm::bill() const
{
    core::Bill b;
    b.kind = &mKind;
    b.templateId = mCurrentTypeId;
    b.variant = variant();
    b.serial = mSerialNo;
    b.amount = mInput->text();
    b.currency = mMoneyType->currentText();
    b.date = billDate();
    b.itemChecks = getItemCheckTitle();
    for (auto it = mItems.cbegin(); it != mItems.cend(); ++it) {
        QWidget* w = it.value();
        if (auto* box = qobject_cast<QCheckBox*>(w))
            b.items.insert(it.key(), box->isChecked() ? kTick : QString());
        else
            b.items.insert(it.key(), textOf(w));
        if (w->isHidden())
            b.hidden.insert(it.key());
    }
    for (auto it = mOptions.cbegin(); it != mOptions.cend(); ++it)
        b.options.insert(
            it.key(), it.value()->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    for (auto it = mChoices.cbegin(); it != mChoices.cend(); ++it)
        b.options.insert(it.key(), it.value()->currentText());
    return b;
}

// ---------------------------------------------------------------------------------------------
// What the user does to the items

const core::PartySide* TfmBillForm::sideNamed(const QString& name) const
{
    for (const core::PartySide* side : { &mKind.drawer, &mKind.payee })
        if (same(side->name, name))
            return side;
    return nullptr;
}

const core::PartySide* TfmBillForm::sideWithAccount(const QString& name) const
{
    for (const core::PartySide* side : { &mKind.drawer, &mKind.payee })
        if (same(side->account, name))
            return side;
    return nullptr;
}

const core::PartySide* TfmBillForm::sideWithShape(const QString& name) const
{
    for (const core::PartySide* side : { &mKind.drawer, &mKind.payee })
        if (same(side->shape, name))
            return side;
    for (const core::PartySide& side : mKind.moreSides)
        if (same(side.shape, name))
            return &side;
    return nullptr;
}

void TfmBillForm::itemChanged(const QString& name)
{
    const QString twin = mKind.twinOf(name);
    if (!twin.isEmpty()) {
        const QString text = itemText(name);
        setItemText(twin, text == mKind.payeePlaceholder ? QString() : text);
    }
    const bool byUser = mWriting == 0 && !mIsLoading;
    if (!byUser)
        return;
    markChanged();
    if (same(name, mKind.payee.name))
        setInComp(itemText(name));
    if (const core::PartySide* side = sideNamed(name)) {
        const QString typed = itemText(name).trimmed();
        core::DAOPerson dao(mEnv.services.db());
        if (side->bankOnType && !typed.isEmpty())
            if (const auto party = dao.findDrawerByName(typed))
                copyPartyBank(*side, *party);
        if (side->showOnChange && !typed.isEmpty())
            if (const auto party = dao.findPersonByFullName(typed))
                showParty(*side, party);
    }
    if (const core::PartySide* side = sideWithAccount(name))
        if (side->bankByAccount)
            bankOfAccount(*side);
}

void TfmBillForm::copyPartyBank(const core::PartySide& side, const core::TPerson& party)
{
    setItemText(side.bank, party.开户银行);
    setItemText(side.account, party.开户行账号);
}

void TfmBillForm::bankOfAccount(const core::PartySide& side)
{
    const QString account = itemText(side.account).trimmed();
    if (account != itemText(side.account))
        setItemText(side.account, account);
    QStringList banks;
    try {
        banks = core::DAOPerson(mEnv.services.db()).loadBankNamesByAccount(account);
    } catch (const core::DbError&) {
        return;
    }
    if (banks.size() >= 2)
        mEnv.services.prompter().inform(
            QStringLiteral("异常：查询到账号中同一个账号对应两个银行的错误数据,") + account,
            kPrompt);
    else
        setItemText(side.bank, banks.value(0));
}

void TfmBillForm::itemPicked(const QString& name)
{
    if (mIsLoading)
        return;
    markChanged();
    if (same(name, mKind.roles.number) && mKind.hasRegisteredNumbers()) {
        zdPJBHSelect();
        return;
    }
    const core::PartySide* side = sideNamed(name);
    if (side && side->showOnPick)
        if (const auto party
            = core::DAOPerson(mEnv.services.db()).findPersonByFullName(itemText(name)))
            showParty(*side, party);
}

void TfmBillForm::itemEntered(const QString& name)
{
    if (same(name, mKind.payee.name))
        selectPayeePlaceholder(item(name));
    fillListOnEntry(item(name));
}

void TfmBillForm::itemLeft(const QString& name)
{
    if (mIsLoading)
        return;
    if (const core::PartySide* side = sideNamed(name)) {
        const QString typed = itemText(name).trimmed();
        core::DAOPerson dao(mEnv.services.db());
        try {
            if (side->bankOnLeave) {
                markChanged();
                if (!typed.isEmpty())
                    if (const auto party = dao.findDrawerByName(typed))
                        copyPartyBank(*side, *party);
            }
            if (side->accountsOnLeave)
                fillKeepingText(qobject_cast<QComboBox*>(item(side->account)),
                    dao.loadAccountsByCompany(typed));
        } catch (const core::DbError&) {
        }
    }
    itemFinished(name);
}

void TfmBillForm::itemFinished(const QString& name)
{
    const core::RuleMessage m = mKind.rules->finishItem(*this, mKind, name);
    if (!m.refused())
        return;
    mEnv.services.prompter().inform(m.text, m.caption);
    if (auto* edit = qobject_cast<QLineEdit*>(item(name)); edit && !edit->isHidden()) {
        edit->selectAll();
        edit->setFocus();
    }
}

void TfmBillForm::selectPayeePlaceholder(QObject* payee)
{
    auto* combo = qobject_cast<QComboBox*>(payee);
    if (!combo || !combo->lineEdit() || mKind.payeePlaceholder.isEmpty()
        || combo->currentText() != mKind.payeePlaceholder)
        return;
    // Whatever the user types then replaces the invitation instead of landing inside it; the
    // selection waits until the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, combo->lineEdit(), [edit = combo->lineEdit()] { edit->selectAll(); });
}

bool TfmBillForm::isAmountRole(const QString& name) const
{
    return same(name, mKind.roles.capitals) || same(name, mKind.roles.figures);
}

bool TfmBillForm::eventFilter(QObject* watched, QEvent* event)
{
    QObject* owner = watched;
    if (auto* edit = qobject_cast<QLineEdit*>(watched))
        if (auto* combo = qobject_cast<QComboBox*>(edit->parentWidget()))
            owner = combo;
    const QString name = owner->objectName();
    const bool opensAmount = mKind.roles.amountOpeners.contains(name, Qt::CaseInsensitive);
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
        } else if (opensAmount) {
            enterAmount(static_cast<QWidget*>(owner));
            return true;
        } else if (const core::BillControl* c = mKind.control(name);
                   c && c->selectAll == core::SelectAll::OnClick) {
            if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
                edit->setFocus();
                edit->selectAll();
                return true;
            }
        }
        break;
    case QEvent::FocusIn:
        if (opensAmount) {
            enterAmount(static_cast<QWidget*>(owner));
        } else if (isAmountRole(name) && !mKind.roles.amountOpeners.isEmpty()) {
            // A computed total: the amount is typed where it comes from.
            enterAmount(item(mKind.roles.amountOpeners.first()));
        } else if (owner == mTypeBox) {
            const int h = screen() ? screen()->size().height() : 768;
            mTypeBox->setMaxVisibleItems(h <= 1000 ? 26 : 35);
        } else if (mKind.control(name)
            && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            // Coming back from its own drop-down is no entering: a list refilled then (the
            // cities) would lose the entry just picked.
            itemEntered(name);
        }
        break;
    case QEvent::FocusOut:
        if (mKind.control(name)
            && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            itemLeft(name);
        break;
    case QEvent::KeyPress: {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k != Qt::Key_Return && k != Qt::Key_Enter)
            break;
        if (const core::PartySide* side = sideNamed(name)) {
            const QString typed = itemText(name).trimmed();
            if (side->enter != core::PartySide::Enter::None && !typed.isEmpty()) {
                core::DAOPerson dao(mEnv.services.db());
                std::optional<core::TPerson> party;
                if (side->enter == core::PartySide::Enter::FullNameThenMnemonic)
                    party = dao.findPersonByFullName(typed);
                if (!party)
                    party = dao.findPersonByInputCode(typed);
                if (party) {
                    showParty(*side, party);
                } else if (side->enter == core::PartySide::Enter::FullNameThenMnemonic) {
                    if (auto* account = item(side->account); account && !account->isHidden()) {
                        account->setFocus();
                        if (auto* combo = qobject_cast<QComboBox*>(account))
                            combo->lineEdit()->selectAll();
                    }
                }
            }
        } else if (mKind.control(name)) {
            itemFinished(name);
        }
        break;
    }
    case QEvent::MouseButtonDblClick: {
        const core::BillControl* c = mKind.control(name);
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit && c && c->selectAll == core::SelectAll::OnDoubleClick) {
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
    if (!combo)
        return;
    const QString name = combo->objectName();
    for (const core::BillList& list : mKind.lists) {
        if (!same(list.control, name))
            continue;
        using L = core::BillList::Source;
        // Cities follow their province; the other lists are filled once.
        if (list.source != L::Cities && combo->count() > 0)
            return;
        core::Database& db = mEnv.services.db();
        core::ReferenceLookups lookups(db);
        QStringList entries;
        try {
            switch (list.source) {
            case L::Companies:
                entries = core::DAOPerson(db).loadCompanyList(list.name);
                break;
            case L::Dictionary:
                entries = lookups.loadDMListByName(list.name, QString::number(mCurrentTypeId));
                if (entries.isEmpty())
                    entries = lookups.loadDMListByName(list.name, QStringLiteral("0"));
                break;
            case L::SharedDictionary:
                entries = lookups.loadDMListByName(list.name, QStringLiteral("0"));
                break;
            case L::AllDictionary:
                entries = lookups.loadDMListByName(
                    list.name, QStringLiteral("0,") + QString::number(mCurrentTypeId));
                break;
            case L::Provinces:
                entries = lookups.loadProvinces();
                break;
            case L::Cities: {
                const QString province = itemText(list.name).trimmed();
                if (province.isEmpty())
                    return;
                entries = lookups.loadCitysByProvince(province);
                break;
            }
            case L::Fixed:
                entries = list.items;
                break;
            }
        } catch (const core::DbError&) {
            return;
        }
        fillKeepingText(combo, entries, combo->property("sorted").toBool());
        return;
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

void TfmBillForm::reloadTemplates()
{
    core::TemplateLookups& templates = mEnv.services.templates();
    QString keep;
    try {
        keep = templates.loadCheckTypeLastNameByID(mCurrentTypeId);
    } catch (const core::DbError&) {
    }
    reloadTypeNameList();
    buildCommonBlocks();
    if (!keep.isEmpty() && mTypeBox->findText(keep) >= 0) {
        setCurrentCheckType(keep);
        // An import may have replaced the template's layout and picture.
        reinitTemplate();
        return;
    }
    QString fallback;
    try {
        const int id = templates.loadDefaultCheckTypeId(mKind.kind);
        if (id > 0)
            fallback = templates.loadCheckTypeLastNameByID(id);
    } catch (const core::DbError&) {
    }
    if (fallback.isEmpty() && mTypeBox->count() > 0)
        fallback = mTypeBox->itemText(0);
    if (fallback.isEmpty())
        return;
    setCurrentCheckType(fallback);
    cbFirstTypeNameChange();
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
    refreshCaption(core::CaptionMoment::TemplateChanged);
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

void TfmBillForm::refreshCaption(core::CaptionMoment moment) { setWindowTitle(captionFor(moment)); }

QString TfmBillForm::captionFor(core::CaptionMoment moment) const
{
    return mKind.caption(moment, variant(), mSerialNo);
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
    {
        // Initial values of the new template are the program's, not the user's.
        ++mWriting;
        const auto done = qScopeGuard([this] { --mWriting; });
        setFormControlsPosition(s.db(), s.prompter(), mKind.kind, this, mLayoutIni.get());
    }
    loadCheckBoxsConfig();
    // Dictionary lists of the previous template are refilled on their next entry.
    for (const core::BillList& list : mKind.lists)
        if (list.source == core::BillList::Source::Dictionary
            || list.source == core::BillList::Source::SharedDictionary
            || list.source == core::BillList::Source::AllDictionary)
            fillKeepingText(qobject_cast<QComboBox*>(item(list.control)), {});
    applyHidingOptions();
    mLaidOutTypeId = mCurrentTypeId;
    laidOut();
    orderTabs();
    fitWindow();
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
    mPanel->setFixedSize(face->width, face->height);
    mBgImage->setGeometry(0, 0, face->width, face->height);
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
            connect(box, &QCheckBox::toggled, this, [this] {
                if (mWriting == 0)
                    markChanged();
            });
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
        const QString value = core::Settings::getInifCheckConfigByName(ini, o.name);
        if (QComboBox* box = choiceOption(o.name)) {
            const int index = box->findText(value.isEmpty() ? o.defaultChoice : value);
            box->setCurrentIndex(index >= 0 ? index : 0);
            continue;
        }
        QCheckBox* box = option(o.name);
        if (!box)
            continue;
        if (o.rule == core::OptionRule::OneChecks)
            box->setChecked(value == u"1");
        else if (o.rule == core::OptionRule::ZeroUnchecks)
            box->setChecked(value != u"0");
    }
    setMoneyName(core::Settings::getInifCheckConfigByName(ini, QStringLiteral("cfgDefaultMoney")));
    SelDateChange();
    recommitAmount();
}

void TfmBillForm::applyHidingOptions()
{
    // A ticked "不打印…" box must keep its controls hidden across a new layout.
    for (const core::BillOption& o : mKind.options)
        if ((o.effect == core::OptionEffect::Hide && optionChecked(o.name))
            || (o.effect == core::OptionEffect::Show && !optionChecked(o.name)))
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
        recommitAmount();
        break;
    case core::OptionEffect::Hide:
    case core::OptionEffect::Show:
        if (checked == (o.effect == core::OptionEffect::Hide)) {
            for (const QString& name : o.hides)
                if (QWidget* w = item(name))
                    w->hide();
        } else {
            placeAgain(o.hides);
        }
        break;
    case core::OptionEffect::SwapSides:
        std::swap(mDrawer, mPayee);
        core::swapSides(*this, mKind);
        markChanged();
        break;
    }
    optionChanged(o);
}

void TfmBillForm::btRmemberClick()
{
    core::Settings& settings = mEnv.services.settings();
    for (const core::BillOption& o : mKind.options) {
        if (!o.remembered)
            continue;
        const QString value = choiceOption(o.name)
            ? optionText(o.name)
            : (optionChecked(o.name) ? QStringLiteral("1") : QStringLiteral("0"));
        settings.setCheckConfigByName(mCurrentTypeId, o.name, value);
    }
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
    ++mWriting;
    const auto done = qScopeGuard([this] { --mWriting; });
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

void TfmBillForm::showParty(const core::PartySide& side, const std::optional<core::TPerson>& party)
{
    if (&side == &mKind.drawer)
        mDrawer = party;
    else if (&side == &mKind.payee)
        mPayee = party;
    setItemText(side.name, party ? party->value(side.nameColumn) : QString());
    setItemText(side.bank, party ? party->开户银行 : QString());
    setItemText(side.account, party ? party->开户行账号 : QString());
    for (const auto& [control, column] : side.more)
        setItemText(control, party ? party->value(column) : QString());
}

void TfmBillForm::setSender(const std::optional<core::TPerson>& party)
{
    if (!mKind.drawer.name.isEmpty())
        showParty(mKind.drawer, party);
}

void TfmBillForm::setReceiver(const std::optional<core::TPerson>& party)
{
    if (!mKind.payee.name.isEmpty())
        showParty(mKind.payee, party);
}

void TfmBillForm::setInComp(const QString& name)
{
    // Another name is another payee: the bank and account of the party shown before are not its.
    if (!mPayee || mPayee->全称 != name)
        mPayee = core::TPerson {};
    mPayee->全称 = name;
    setItemText(mKind.payee.name, name);
}

void TfmBillForm::setYongTu(const QString& purpose) { setItemText(mKind.roles.purpose, purpose); }

void TfmBillForm::btSaveSKRClick()
{
    QString name = itemText(mKind.payee.name);
    if (name == mKind.payeePlaceholder) {
        name.clear();
        setItemText(mKind.payee.name, name);
    }
    core::TPerson person;
    person.全称 = name;
    for (const auto& [control, column] : mKind.payee.more)
        person.setValue(column, itemText(control));
    person.单位类型 = mKind.payee.partyType;
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
    mKind.rules->writeDate(*this, mKind);
    mIsSaved = false;
}

// ---------------------------------------------------------------------------------------------
// Amount

void TfmBillForm::enterAmount(QWidget* over)
{
    if (!over)
        return;
    mAmountTarget = over->objectName();
    if (!isAmountRole(mAmountTarget)) // an amount of its own, not the bill's stored amount
        mInput->setText(core::NormalizeAmountText(itemText(mAmountTarget)));
    mInput->setGeometry(over->geometry());
    mInput->show();
    mInput->raise();
    mInput->selectAll();
    mInput->setFocus();
}

bool TfmBillForm::focusNextPrevChild(bool next)
{
    QWidget* w = QApplication::focusWidget();
    while (w && w->parentWidget() != mPanel)
        w = w->parentWidget();
    return (w && tabFromOverlay(w, next)) || QWidget::focusNextPrevChild(next);
}

bool TfmBillForm::tabFromOverlay(QWidget* overlay, bool forward)
{
    if (!overlay || overlay->parentWidget() != mPanel || overlay->isHidden())
        return false;
    QWidget* under = nullptr;
    bool billAmount = false;
    if (overlay == mInput) {
        under = item(mAmountTarget);
        billAmount = isAmountRole(mAmountTarget);
    } else {
        for (const QPointer<QWidget>& stop : std::as_const(mTabStops))
            if (stop && stop != overlay && !stop->isHidden()
                && stop->geometry() == overlay->geometry())
                under = stop;
        if (!under)
            return false;
    }
    QWidget* from = under ? under : overlay;
    QWidget* target = nullptr;
    for (QWidget* w = forward ? from->nextInFocusChain() : from->previousInFocusChain();
         w && w != from; w = forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
        const bool takesTab = (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
        // The other presentations of the same amount would only open the box again.
        if (w == overlay || overlay->isAncestorOf(w) || !takesTab || !w->isVisible()
            || !w->isEnabled() || w->focusProxy() || (billAmount && isAmountRole(w->objectName())))
            continue;
        target = w;
        break;
    }
    if (!target) {
        if (overlay == mInput)
            inputJEXXExit();
        return true;
    }
    if (mPanel->isAncestorOf(target))
        mScroll->ensureWidgetVisible(target);
    target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void TfmBillForm::orderTabs()
{
    QList<QWidget*> stops;
    const auto add = [&](QWidget* w) {
        if (w && w != mInput && w->parentWidget() == mPanel && !stops.contains(w)
            && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            stops << w;
    };
    for (const core::BillControl& control : mKind.controls)
        add(item(control.name));
    for (QCheckBox* box : std::as_const(mItemChecks))
        add(box);
    // Rows top to bottom: a control belongs to the row of the first one it overlaps by half
    // the height of the lower of the two; each row left to right.
    std::stable_sort(stops.begin(), stops.end(),
        [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    QList<QList<QWidget*>> rows;
    for (QWidget* w : std::as_const(stops)) {
        if (!rows.isEmpty()) {
            const QRect first = rows.last().first()->geometry();
            const int overlap = std::min(first.bottom(), w->geometry().bottom())
                - std::max(first.top(), w->y()) + 1;
            if (2 * overlap >= std::min(first.height(), w->height())) {
                rows.last() << w;
                continue;
            }
        }
        rows.append(QList<QWidget*> { w });
    }
    mTabStops.clear();
    QWidget* previous = mTypeBox;
    for (QList<QWidget*>& row : rows) {
        std::stable_sort(row.begin(), row.end(),
            [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        for (QWidget* w : std::as_const(row)) {
            QWidget::setTabOrder(previous, w);
            previous = w;
            mTabStops << w;
        }
    }
}

void TfmBillForm::refuseAmountKey()
{
    mEnv.services.prompter().inform(
        QStringLiteral("请输入合法的数值，全角的数字、字母、标点符号可不行哦\n如果打开了全角，"
                       "请shift+空格键切换或者试试小键盘吧~"),
        kAmountCaption);
}

void TfmBillForm::commitPendingAmount()
{
    if (mInput && !mInput->isHidden())
        inputJEXXExit();
}

void TfmBillForm::inputJEXXExit()
{
    // A message box taking the focus must not commit the box a second time.
    if (mCommitting)
        return;
    mCommitting = true;
    const QString before = mAcceptedAmount;
    mInput->setText(mKind.rules->committedInput(mInput->text()));
    setJEXX(mInput->text());
    if (mInput->text() != before && !mIsLoading)
        markChanged();
    mInput->hide();
    mCommitting = false;
}

void TfmBillForm::setJEXX(const QString& text) { writeAmounts(text, false); }

void TfmBillForm::recommitAmount()
{
    if (mInput && !mInput->isHidden())
        inputJEXXExit();
    else
        writeAmounts(mInput->text(), true);
}

void TfmBillForm::writeAmounts(const QString& text, bool again)
{
    const QString code = getMoneyCode();
    const auto write = [&](const QString& amount) {
        return again
            ? mKind.rules->recommit(*this, mKind, amount, mCurrencyName, code, mAmountTarget)
            : mKind.rules->writeAmount(*this, mKind, amount, mCurrencyName, code, mAmountTarget);
    };
    const core::RuleMessage m = write(text);
    if (!m.refused()) {
        mAcceptedAmount = mInput->text();
        return;
    }
    mEnv.services.prompter().inform(m.text, m.caption);
    // A refused bill amount leaves the one accepted before, in the box and in every
    // presentation; an amount of its own (a part of a total) is the rules' to settle.
    if (mAmountTarget.isEmpty() || isAmountRole(mAmountTarget)) {
        mInput->setText(mAcceptedAmount);
        write(mAcceptedAmount);
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
        try {
            mCurrencyCode
                = core::ReferenceLookups(mEnv.services.db()).getMoneyCodeByName(mCurrencyName);
        } catch (const core::DbError&) {
        }
    }
    return mCurrencyCode;
}

void TfmBillForm::cfgMoneyTypeChange()
{
    if (mMoneyType->currentText() != mCurrencyName) {
        mCurrencyName = mMoneyType->currentText();
        mCurrencyCode.clear();
        if (!mIsLoading)
            markChanged();
    }
    recommitAmount();
}

// ---------------------------------------------------------------------------------------------
// Saving and reopening

bool TfmBillForm::save()
{
    core::Services& s = mEnv.services;
    commitPendingAmount();
    if (const core::RuleMessage refusal = mKind.rules->saveRefusal(*this, mKind);
        refusal.refused()) {
        s.prompter().inform(refusal.text, refusal.caption);
        return false;
    }
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
    } else if (mIsSaved && !mKind.messages.alreadySaved.isEmpty()) {
        s.prompter().inform(mKind.messages.alreadySaved, kPrompt);
        return false;
    }
    core::BillStore::SaveResult result {};
    try {
        const core::Bill filled = bill();
        result = core::BillStore(s.db(), mKind)
                     .save(mSerialNo, core::billColumnValues(filled),
                         mSerialNo > 0 && mSerialNo == mRegisteredSerial,
                         core::billItemValues(filled));
    } catch (const core::DbError& e) {
        mSerialNo = serialBefore;
        s.prompter().warn(QStringLiteral("单据保存失败！") + e.message(), kSaveCaption);
        return false;
    }
    if (result.outcome == core::BillStore::Outcome::RefusedVoided) {
        s.prompter().inform(mKind.messages.voided, kPrompt);
        return false;
    }
    if (result.outcome == core::BillStore::Outcome::RefusedTaken) {
        // Another clerk's bill now fills that row: a later save must not edit it.
        const QString number = itemText(mKind.roles.number);
        s.prompter().warn(core::BillStore::takenMessage(number), kSaveCaption);
        mSerialNo = -1;
        mRegisteredSerial = -1;
        if (auto* list = qobject_cast<QComboBox*>(item(mKind.roles.number))) {
            const QSignalBlocker block(list);
            ComboBoxDeleteByText(list, number);
            list->setCurrentIndex(-1);
            list->setEditText(number);
        }
        return false;
    }
    mSerialNo = result.serial;
    mRegisteredSerial = -1;
    if (mShowSaveMessages)
        s.prompter().inform(result.outcome == core::BillStore::Outcome::Edited
                ? mKind.messages.savedEdited
                : mKind.messages.savedNew,
            kPrompt);
    mIsHistoric = false;
    if (mKind.hasRegisteredNumbers())
        if (auto* number = qobject_cast<QComboBox*>(item(mKind.roles.number))) {
            const QString text = number->currentText();
            if (!text.isEmpty()) {
                const QSignalBlocker block(number);
                ComboBoxDeleteByText(number, text);
                number->setCurrentIndex(-1);
                number->setEditText(text);
            }
        }
    mIsSaved = true;
    mChangedByUser = false;
    refreshCaption(core::CaptionMoment::Saved);
    return true;
}

void TfmBillForm::btSaveCheckClick()
{
    commitPendingAmount();
    core::Prompter& prompter = mEnv.services.prompter();
    if (mIsHistoric) {
        prompter.inform(mKind.messages.historicRefused, kPrompt);
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
    if (mSerialNo == -1) {
        if (!mKind.messages.copyUnsaved.isEmpty())
            mEnv.services.prompter().inform(mKind.messages.copyUnsaved, kPrompt);
        return;
    }
    mIsHistoric = false;
    mSerialNo = -1;
    if (!mKind.copyKeepsNumber)
        setItemText(mKind.roles.number, {});
    mIsSaved = false;
    refreshCaption(core::CaptionMoment::Copied);
}

void TfmBillForm::btNewClick()
{
    if (holdsUnsavedBill()
        && !mEnv.services.prompter().ask(QStringLiteral("该") + mKind.kind
                + QStringLiteral("尚未保存，新建将清空填写的内容，确定要新建吗？"),
            QStringLiteral("新建单据")))
        return;
    newBill();
}

void TfmBillForm::newBill()
{
    mSerialNo = -1;
    setInComp({});
    mIsSaved = false;
    setItemText(mKind.roles.remark, {});
    mIsHistoric = false;
    refreshCaption(core::CaptionMoment::NewBill);
    for (const QString& name : mKind.newBill.controls)
        setItemText(name, {});
    if (mKind.newBill.amount) {
        mInput->clear();
        mAmountTarget.clear();
        setJEXX({});
    }
    if (mKind.newBill.purpose)
        setYongTu({});
    setBillDate(QDate::currentDate());
    mIsSaved = false;
    mChangedByUser = false;
    button(QStringLiteral("btSaveAs"))->setEnabled(false);
}

void TfmBillForm::btPrintAndSaveClick()
{
    QToolButton* self = button(QStringLiteral("btPrintAndSave"));
    mShowSaveMessages = false;
    self->setEnabled(false);
    btPrint1Click();
    btSaveCheckClick();
    if (auto* number = qobject_cast<QComboBox*>(item(mKind.roles.number))) {
        const QSignalBlocker block(number);
        number->clear();
        number->setEditText({});
    } else {
        setItemText(mKind.roles.number, {});
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
        row = core::BillStore(mEnv.services.db(), mKind).findByNumber(itemText(mKind.roles.number));
    } catch (const core::DbError&) {
        return;
    }
    if (!row)
        return;
    // Another saved bill's number never brings that bill into this one, to be overwritten.
    if (core::BillStore::holdsBill(*row)
        && row->value(core::BillStore::kSerial).toInt() != mSerialNo)
        return;
    for (const core::BillCopy& copy : mKind.registeredCopies)
        setItemText(copy.control, row->value(copy.column).toString());
    mSerialNo = row->value(core::BillStore::kSerial).toInt();
    mRegisteredSerial = core::BillStore::holdsBill(*row) ? -1 : mSerialNo;
    const QString stored = row->value(core::BillStore::kVariant).toString();
    if (!stored.isEmpty() && stored != variant()) {
        setCurrentCheckType(stored);
        cbFirstTypeNameChange();
    } else {
        refreshCaption(core::CaptionMoment::TemplateChanged);
    }
}

void TfmBillForm::readColumn(const core::BillColumn& column, const QVariant& value)
{
    const QString text = value.toString();
    switch (column.source) {
    case core::ColumnSource::Variant:
    case core::ColumnSource::Status:
        break;
    case core::ColumnSource::ItemChecks:
        setItemCheckTitle(text);
        break;
    case core::ColumnSource::Currency: {
        const QSignalBlocker block(mMoneyType);
        mMoneyType->setCurrentIndex(mMoneyType->findText(text));
        cfgMoneyTypeChange();
        break;
    }
    case core::ColumnSource::Amount:
    case core::ColumnSource::Figures:
        // Stored figures go back through the amount box, so every presentation follows.
        mAmountTarget.clear();
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
    mRegisteredSerial = -1;
    if (mSerialNo > 0) {
        mIsLoading = true;
        try {
            if (const auto row = core::BillStore(s.db(), mKind).load(mSerialNo)) {
                status = row->value(core::BillStore::kStatus).toString();
                // A saved bill that kept "未用" is edited as itself, not taken as a blank.
                if (!core::BillStore::holdsBill(*row))
                    mRegisteredSerial = mSerialNo;
                for (const QString& name : mKind.loadOrder)
                    for (const core::BillColumn& c : mKind.columns)
                        if (c.column == name)
                            readColumn(c, row->value(name));
                // Last, so that nothing the columns set off overwrites what was typed.
                const QHash<QString, QString> items
                    = core::BillStore(s.db(), mKind).loadItems(mSerialNo);
                QStringList openers;
                for (const QString& opener : mKind.roles.amountOpeners)
                    if (!isAmountRole(opener))
                        openers << opener.toLower();
                for (auto it = items.begin(); it != items.end(); ++it)
                    if (!openers.contains(it.key()) || it.value().isEmpty())
                        setItemText(it.key(), it.value());
                // A part of a total goes back through the amount box, so that its presentation
                // follows today's options and the total is formed again.
                for (const QString& opener : mKind.roles.amountOpeners) {
                    const QString text = items.value(opener.toLower());
                    if (text.isEmpty() || !openers.contains(opener.toLower()))
                        continue;
                    mAmountTarget = opener;
                    mInput->setText(core::NormalizeAmountText(text));
                    inputJEXXExit();
                }
            }
        } catch (const core::DbError&) {
            s.prompter().inform(QStringLiteral("调出历史数据失败！"), kPrompt);
        }
        mIsLoading = false;
    }
    if (mKind.reopensHistoric || (!status.isEmpty() && status != core::BillStore::kUnused)) {
        mIsSaved = true;
        mIsHistoric = true;
        refreshCaption(core::CaptionMoment::ReopenedHistoric);
    } else {
        mIsSaved = false;
        mIsHistoric = false;
        refreshCaption(core::CaptionMoment::ReopenedNew);
    }
    mChangedByUser = false;
    button(QStringLiteral("btSaveAs"))->setEnabled(mIsSaved);
    QWidget* frame = frameOf(this);
    if (frame->isHidden())
        frame->show();
    if (!frame->isWindow())
        frame->raise(); // a document window comes to the front of the others
}

// ---------------------------------------------------------------------------------------------
// Deposit slips

DepositSlipSource TfmBillForm::depositSlipSource()
{
    DepositSlipSource src;
    src.drawerName = itemText(mKind.drawer.name);
    src.drawerBank = itemText(mKind.drawer.bank);
    src.drawerAccount = itemText(mKind.drawer.account);
    src.payeeName = payeeText();
    src.payeeBank = itemText(mKind.payee.bank);
    src.payeeAccount = itemText(mKind.payee.account);
    src.currency = mCurrencyName;
    src.amount = mInput->text();
    src.billCount = QStringLiteral("1");
    src.billNumber = itemText(mKind.roles.number);
    src.date = billDate();
    return src;
}

void TfmBillForm::bt2CheckJZDClick()
{
    if (!mEnv.openBillForm)
        return;
    commitPendingAmount();
    TfmBillForm* slip = mEnv.openBillForm(core::depositSlipKind().kind);
    if (!slip)
        return;
    if (slip->holdsUnsavedBill()
        && !mEnv.services.prompter().ask(QStringLiteral("打开的") + slip->kind().kind
                + QStringLiteral("尚未保存，转进账单将替换其中填写的内容，确定要替换吗？"),
            QStringLiteral("转进账单")))
        return;
    slip->setLoading(true);
    const DepositSlipSource source = depositSlipSource();
    slip->setLoading(false);
    slip->receiveDepositSlip(source);
    slip->mChangedByUser = false; // what this bill gave is not the user's work on the slip
}

void TfmBillForm::receiveDepositSlip(const DepositSlipSource&) { }

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
        if (!engine.paperRefusal().isEmpty())
            s.prompter().warn(engine.paperRefusal(), kPrompt);
        else
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
    if (mKind.maxCopies > 0)
        copies = std::min(copies, mKind.maxCopies);
    if (!engine.beginJob(copies))
        mEnv.services.prompter().warn(kPrintError, kPrompt);
}

void TfmBillForm::SendCheckToPrinter()
{
    core::Services& s = mEnv.services;
    if (!mKind.payeePlaceholder.isEmpty() && itemText(mKind.payee.name) == mKind.payeePlaceholder)
        setInComp({});
    try {
        core::sendBillToPrinter(s.db(), s.printEngine(), bill(), getMoneyCode(), mXMove, mYMove);
    } catch (const core::DbError& e) {
        s.prompter().warn(kPrintError + e.message(), kPrompt);
    }
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
    commitPendingAmount();
    QToolButton* self = button(QStringLiteral("btPrint1"));
    self->setEnabled(false);
    PrintPrepare();
    PrinterTransBegin(1);
    SendCheckToPrinter();
    PrinterTransEnd();
    self->setEnabled(true);
}

void TfmBillForm::btProofClick()
{
    commitPendingAmount();
    core::Services& s = mEnv.services;
    auto* window = qobject_cast<ProofWindow*>(mProof.data());
    if (window) // the proof shown is written anew
        window->release();
    const QString path
        = s.folder().path(QStringLiteral("Temp/") + objectName() + QStringLiteral("-proof.pdf"));
    QString error;
    try {
        error = core::printProof(s, bill(), getMoneyCode(), path);
    } catch (const core::DbError& e) {
        error = e.message();
    }
    if (!error.isEmpty()) {
        s.prompter().warn(kPrintError + error, kPrompt);
        return;
    }
    if (!window) {
        window = new ProofWindow([this] { btPrint1Click(); }, this);
        mProof = window;
    }
    window->setWindowTitle(QStringLiteral("打印预览 - ") + windowTitle());
    if (const QString refused = window->load(path); !refused.isEmpty()) {
        s.prompter().warn(refused, kPrompt);
        window->close();
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

ProofWindow* TfmBillForm::proofWindow() const { return qobject_cast<ProofWindow*>(mProof.data()); }

void TfmBillForm::btMultiPrintFClick()
{
    commitPendingAmount();
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
