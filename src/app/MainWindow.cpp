#include "app/MainWindow.h"

#include "bills/BillEnvironment.h"
#include "bills/BillFormRegistry.h"
#include "bills/BillKind.h"
#include "bills/BillKinds.h"
#include "bills/InputValue.h"
#include "bills/TfmBillForm.h"
#include "history/HistoryKind.h"
#include "history/TfmSearch.h"
#include "import/TfmWaybillBatch.h"
#include "import/TfrmImport.h"
#include "online/About.h"
#include "online/NetworkHttp.h"
#include "online/OnlinePanel.h"
#include "online/Site.h"
#include "parties/Com.h"
#include "parties/DAOPerson.h"
#include "parties/DMConfig.h"
#include "parties/GridServices.h"
#include "parties/PersonManage.h"
#include "parties/SsSet.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "printing/CheckDesign.h"
#include "printing/LockPrinter.h"
#include "printing/PrintOffset.h"
#include "printing/PrintPreview.h"
#include "printing/PrinterBinding.h"
#include "printing/PrinterSetupDialog.h"
#include "printing/Services.h"
#include "printing/TemplateDesigner.h"
#include "settings/IniFile.h"
#include "settings/ProgramRegistry.h"
#include "store/Maintenance.h"
#include "templates/TemplateManager.h"
#include "templates/TfrmBillImportExport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace pennock::ui {

namespace {

const QString kHidePanelKey = QStringLiteral("HideADPanelDate");
const QString kNotice = QStringLiteral("提示");

QString firstUseText()
{
    return QStringLiteral(
               "  第一次使用软件【3步走】：\n"
               "\n"
               "  1、固定打印机的进纸导轨：把票据放进打印机，记下左侧导轨的位置，以后每次都从同一"
               "位置进纸，套打位置才能始终一致。\n"
               "  2、校准票据的整体偏移：先用白纸试打一张，与真实票据重叠对照，在“打印整体偏移调"
               "整”中用箭头按钮移动（每点一次移动1毫米），对准后点“保存整体设置”。\n"
               "  3、锁定票据打印机：在打印设置菜单中选“锁定/匹配票据打印机”，以后票据总从这台打"
               "印机打出。\n"
               "\n"
               "  小技巧：\n"
               "  ● 个别项目位置不准时，进入“设计模式”单独调整该项目的位置、字体和大小。\n"
               "  ● 收款人可从单位资料列表中双击选取，不必每次重新输入。\n"
               "  ● 用途、始发站等下拉框的内容在“字典管理设置”中维护。\n"
               "  ● 用不到的项目可以隐藏，隐藏后不再显示也不打印。\n"
               "  ● 要再开一张与已保存单据相同的票据时，先复制成新单据再保存，不要改动原单据。\n"
               "\n")
        + QString(52, QLatin1Char('=')) + QStringLiteral("【双击我关闭本提示】")
        + QString(51, QLatin1Char('='));
}

QLabel* statusPanel(QStatusBar* bar, const QString& text, int minimumWidth, int stretch)
{
    auto* label = new QLabel(text, bar);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(minimumWidth);
    bar->addWidget(label, stretch);
    return label;
}

} // namespace

TfmMain::TfmMain(core::Services& services, core::Shell& shell, core::ProgramRegistry& registry,
    core::FileChooser* files, PrinterSetupDialog* printerDialog, QWidget* parent)
    : QMainWindow(parent)
    , mServices(services)
    , mShell(shell)
    , mRegistry(registry)
{
    if (!files) {
        mOwnFiles = std::make_unique<DialogFileChooser>();
        files = mOwnFiles.get();
    }
    if (!printerDialog) {
        mOwnPrinterDialog = std::make_unique<QtPrinterSetupDialog>();
        printerDialog = mOwnPrinterDialog.get();
    }
    mFiles = files;
    mGrids = std::make_unique<GridServices>(mServices, mShell, *files);
    mBinding = new PrinterBinding(mServices.settings(), mServices.prompter(),
        mServices.printEngine(), *printerDialog, PrinterBinding::installedPrinters(), this);
    setObjectName(QStringLiteral("fm_Main"));
    QFont face(QStringLiteral("宋体"));
    face.setPixelSize(12);
    setFont(face);
    // Toolbar visibility is the command's alone; no context menu hides it behind its back.
    setContextMenuPolicy(Qt::NoContextMenu);

    buildCentralArea();
    mBillEnv = std::make_unique<BillEnvironment>(BillEnvironment::forMainWindow(
        mServices, *mBinding, *mGrids, this, [this] { return mPopPrinterDialog; },
        [this] { return defaultDrawer(); }));
    mHistoryEnv = std::make_unique<HistoryEnvironment>(mServices, *mGrids);
    mHistoryEnv->forms = mBillForms;
    mHistoryEnv->pickParty = [this](const QString& type, const QString& title) {
        return fetchOnePerson(
            this, mServices, *mGrids, type, title, [this] { defaultDrawerMoved(); });
    };
    mHistoryEnv->giveMeAnValue = [this](const QString& prompt, const QString& value) {
        return ui::giveMeAnValue(this, prompt, value, QStringLiteral("string"));
    };
    mHistoryEnv->openTracking = [this](const QString& typeKey, const QString& number) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("typekey"), typeKey);
        query.addQueryItem(QStringLiteral("kddno"), number);
        mShell.openUrl(core::siteAddress(
            QStringLiteral("/help/kddsearch?") + query.toString(QUrl::FullyEncoded)));
    };
    // "打开(&O)" on a bill form does what the history menu item does.
    mBillEnv->openHistory = [this](const QString& kind) { openHistoryWindow(kind); };
    mBillEnv->openBatch = [this](TfmBillForm* form) { openWaybillBatch(form); };
    mBillEnv->openOffsetCalibration = [this](int templateId) { openPrintOffset(templateId); };
    mBillEnv->openDesignMode = [this](int templateId) { openDesignMode(templateId); };
    mBillEnv->openTemplateManager = [this](int templateId) { openTemplateManager(templateId); };
    mBillEnv->openFile = [this](const QString& path) {
        if (!mShell.openUrl(QUrl::fromLocalFile(path).toString()))
            mServices.prompter().warn(
                QStringLiteral("无法打开文件：") + path, QStringLiteral("错误"));
    };
    // A drawer set from a form's picker reaches the main window; the forms then start anew,
    // so the pick is not written into a bill about to close.
    mBillEnv->pickParty
        = [this](const QString& type, const QString& caption) -> std::optional<core::TPerson> {
        bool moved = false;
        auto picked = fetchOnePerson(this, mServices, *mGrids, type, caption, [this, &moved] {
            moved = true;
            defaultDrawerMoved();
        });
        if (moved && mBillForms->anyOpen())
            return std::nullopt;
        return picked;
    };
    registerBillKinds(*mBillForms, *mBillEnv);
    buildMenus();
    buildToolBar();
    buildPopupMenu();
    buildStatusBar();
    start();
    // One filter on the application sees the wheel anywhere in the window, the clicks on "[隐藏]"
    // and the instructions, and the document area's resizing.
    qApp->installEventFilter(this);
}

TfmMain::~TfmMain()
{
    qApp->removeEventFilter(this);
    // Bill forms use the environment to the end; they go before it does (their empty frames
    // follow with the document area).
    const QList<QWidget*> forms = mBillForms->openForms();
    for (QWidget* form : forms)
        delete form;
}

int TfmMain::daySum(const QDate& date) { return date.year() + date.month() + date.day(); }

QString TfmMain::versionText()
{
    const QStringList parts = QStringLiteral(PENNOCK_VERSION).split(QLatin1Char('.'));
    return parts.value(0) + QLatin1Char('.') + parts.value(1, QStringLiteral("0"))
        + QStringLiteral("单机版");
}

QString TfmMain::archiveWarning()
{
    return QStringLiteral("请不要从压缩包中直接运行软件，这样会使你的软件设置失效，建议：\n"
                          "  1、鼠标右击压缩包解压到非系统盘（例如： D:\\Pennock软件OrvaneV")
        + versionText()
        + QStringLiteral("\\，再运行）;\n"
                         "  2、解压后请先阅读软件文件夹中的《使用说明.txt》；\n"
                         "  3、如仍有疑问，请与软件供应商联系。\n"
                         "\n"
                         "从压缩包中直接运行时，解压出的临时文件夹会在关闭后被删除，填开的票据和"
                         "所做的设置都会随之丢失。");
}

bool TfmMain::refuseArchiveFolder(const QString& programFolder, core::Prompter& prompter)
{
    if (!programFolder.contains(QLatin1Char('$')))
        return false;
    prompter.warn(archiveWarning(), kNotice);
    return true;
}

QString TfmMain::getRunPath() const { return mServices.folder().root() + QLatin1Char('/'); }

bool TfmMain::alert(const QString& text, const QString& caption, bool ask)
{
    if (caption.isEmpty())
        return false;
    if (ask)
        return mServices.prompter().ask(text, caption);
    mServices.prompter().inform(text, caption);
    return false;
}

QString TfmMain::giveMeAnValue(
    const QString& prompt, const QString& defaultValue, const QString& valueType)
{
    return ui::giveMeAnValue(this, prompt, defaultValue, valueType);
}

QStringList TfmMain::printers() const
{
    QStringList names;
    for (int i = 0; i < mPrinters->count(); ++i)
        names << mPrinters->itemText(i);
    return names;
}

int TfmMain::currentTemplateId() const { return mBillForms->currentTemplateId(); }

QString TfmMain::statusText(int panel) const
{
    return panel >= 0 && panel < int(mPanels.size()) ? mPanels[size_t(panel)]->text() : QString();
}

QAction* TfmMain::command(const QString& name) const { return findChild<QAction*>(name); }

// ---- building --------------------------------------------------------------------------------

void TfmMain::buildCentralArea()
{
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    mMdi = new QMdiArea(central);
    mMdi->setObjectName(QStringLiteral("MdiClient"));
    // A tall form (an A4 application) is scrolled to, not cut off.
    mMdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mMdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    row->addWidget(mMdi, 1);
    mBillForms = new BillFormRegistry(mMdi, mServices.prompter(), this);

    // The picture and the instructions lie on the document area, beneath the bill forms.
    mImage = new QLabel(mMdi->viewport());
    mImage->setObjectName(QStringLiteral("Image1"));
    mImage->setScaledContents(true);
    mImage->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mImage, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The popup stays away while a bill form is open, so it never covers the bill.
        if (!mBillForms->anyOpen())
            mPopup->popup(mImage->mapToGlobal(at));
    });
    mImage->lower();

    mMemo = new QPlainTextEdit(mMdi->viewport());
    mMemo->setObjectName(QStringLiteral("MemoFirstRead"));
    mMemo->setReadOnly(true);
    mMemo->setPlainText(firstUseText());
    mMemo->hide();

    mPanel = new QFrame(central);
    mPanel->setObjectName(QStringLiteral("panalAd"));
    mPanel->setFrameStyle(QFrame::StyledPanel);
    mPanel->setFixedWidth(210);
    auto* panelLayout = new QVBoxLayout(mPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);

    auto* strip = new QFrame(mPanel);
    strip->setObjectName(QStringLiteral("Panel3"));
    strip->setAutoFillBackground(true);
    strip->setStyleSheet(
        QStringLiteral("#Panel3 { background: #3a6ea5; } QLabel { color: white; }"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(6, 3, 6, 3);
    stripLayout->addWidget(new QLabel(QStringLiteral("在线服务中心"), strip));
    stripLayout->addStretch();
    mHide = new QLabel(QStringLiteral("[隐藏]"), strip);
    mHide->setObjectName(QStringLiteral("lbHide"));
    mHide->setCursor(Qt::PointingHandCursor);
    stripLayout->addWidget(mHide);
    panelLayout->addWidget(strip);

    // The browser area shows only once the online content arrived.
    mBrowser = new QTextBrowser(mPanel);
    mBrowser->setObjectName(QStringLiteral("WebBrowser1"));
    mBrowser->hide();
    panelLayout->addWidget(mBrowser, 1);

    mContact = new QLabel(mPanel);
    mContact->setObjectName(QStringLiteral("LabelX"));
    mContact->setWordWrap(true);
    mContact->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mContact->setMargin(8);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(12);
    mContact->setFont(arial);
    mContact->setStyleSheet(QStringLiteral("color: blue"));
    mContact->setCursor(Qt::PointingHandCursor);
    mContact->hide();
    panelLayout->addWidget(mContact, 1);
    row->addWidget(mPanel);

    mPrinters = new QComboBox(central);
    mPrinters->setObjectName(QStringLiteral("cbPrinters"));
    mPrinters->setToolTip(QStringLiteral("打印机列表"));
    mPrinters->hide();

    setCentralWidget(central);
}

QAction* TfmMain::addCommand(QMenu* menu, const QString& name, const QString& caption,
    Handler handler, const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    // Commands whose windows are not built yet stay in sight but cannot be chosen.
    action->setEnabled(bool(handler));
    if (handler)
        connect(action, &QAction::triggered, this, std::move(handler));
    if (menu)
        menu->addAction(action);
    return action;
}

QAction* TfmMain::addBillCommand(QMenu* menu, const QString& name, const QString& caption,
    const QString& kind, const QKeySequence& shortcut)
{
    QAction* action = addCommand(menu, name, caption, {}, shortcut);
    action->setData(kind);
    action->setEnabled(mBillForms->isRegistered(kind));
    connect(action, &QAction::triggered, this, [this, kind] { mBillForms->open(kind); });
    connect(mBillForms, &BillFormRegistry::formRegistered, action,
        [action, kind](const QString& registered) {
            if (registered == kind)
                action->setEnabled(true);
        });
    return action;
}

QAction* TfmMain::addMirror(QWidget* owner, const QString& name, const QString& caption,
    QAction* target, const QString& hint)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setToolTip(hint.isEmpty() ? caption : hint);
    action->setEnabled(target->isEnabled());
    connect(action, &QAction::triggered, target, &QAction::trigger);
    connect(target, &QAction::changed, action,
        [action, target] { action->setEnabled(target->isEnabled()); });
    if (owner)
        owner->addAction(action);
    return action;
}

QAction* TfmMain::addOption(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = addCommand(menu, name, caption);
    action->setCheckable(true);
    action->setEnabled(true);
    return action;
}

QMenu* TfmMain::addSubMenu(QMenu* parent, const QString& name, const QString& caption)
{
    auto* menu = new QMenu(caption, this);
    menu->setObjectName(name);
    if (parent)
        parent->addMenu(menu);
    else
        menuBar()->addMenu(menu);
    return menu;
}

void TfmMain::buildMenus()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* newCheck
        = addSubMenu(nullptr, QStringLiteral("nNewCheck"), QStringLiteral("新票据填开(&F)"));
    mBankCheck = addSubMenu(newCheck, QStringLiteral("nBankCheck"), QStringLiteral("填开新票据"));
    for (const core::BillKind* kind : core::billKinds())
        addBillCommand(mBankCheck, kind->menuCommand, kind->menuCaption, kind->kind,
            QKeySequence(kind->shortcut));
    QMenu* ivCheck
        = addSubMenu(newCheck, QStringLiteral("nIVCheck"), QStringLiteral("其他发票收据"));
    for (const char* caption : { "国地税发票", "增值税发票", "海运业发票", "其他发票" })
        addCommand(ivCheck, {}, QString::fromUtf8(caption));
    ivCheck->setEnabled(false);
    QMenu* otherBills = addSubMenu(newCheck, QStringLiteral("N43"), QStringLiteral("其他定制票据"));
    for (const char* caption : { "送货单", "销售单", "珠宝质保单", "单位收付款单" })
        addCommand(otherBills, {}, QString::fromUtf8(caption));
    otherBills->setEnabled(false);
    newCheck->addSeparator();
    addCommand(newCheck, QStringLiteral("m_CloseALL"), QStringLiteral("关闭所有填开单据"),
        [this] { mBillForms->closeAll(); });

    QMenu* history = addSubMenu(nullptr, QStringLiteral("S1"), QStringLiteral("历史开票管理(&S)"));
    for (const core::HistoryKind& h : core::historyKinds())
        addCommand(history, h.menuCommand, h.menuCaption,
            [this, kind = h.kind] { openHistoryWindow(kind); });

    QMenu* system
        = addSubMenu(nullptr, QStringLiteral("mSystemSet"), QStringLiteral("系统设置(&X)"));
    addCommand(system, QStringLiteral("PersonalInfoManage"),
        QStringLiteral("单位及客户资料管理(&K) "), [this] { openParties(QString()); });
    system->addSeparator();
    addCommand(system, QStringLiteral("nDesign"),
        QStringLiteral("设计模式（票据模板界面及打印效果调整）"),
        [this] { openDesignMode(mBillForms->currentTemplateId()); });
    addCommand(system, QStringLiteral("nImpExp"), QStringLiteral("票据模板导入"),
        [this] { openPackages(true); });
    addCommand(system, QStringLiteral("nTempManage"),
        QStringLiteral("票据模板管理（默认、显示、隐藏）"),
        [this] { openTemplateManager(mBillForms->currentTemplateId()); });
    system->addSeparator();
    addCommand(system, QStringLiteral("BaseSet"), QStringLiteral("字典管理设置(&N) 用途、始发站等"),
        [this] { openDictionaryEditor(this, mServices, mBillForms->currentTemplateId()); });
    addCommand(system, QStringLiteral("N21"), QStringLiteral("币种设置"),
        [this] { openCurrencyEditor(this, mServices); });
    addCommand(system, QStringLiteral("MenuSsSet"), QStringLiteral("省市代码设置(&O)"),
        [this] { openRegionEditor(this, mServices); });
    system->addSeparator();
    addCommand(system, QStringLiteral("N23"), QStringLiteral("更改系统登录密码"));
    QMenu* options
        = addSubMenu(system, QStringLiteral("mItem_config"), QStringLiteral("系统选项(&Y)"));
    mPopPrint = addOption(
        options, QStringLiteral("mPopPrint"), QStringLiteral("打印前弹出打印机配置窗口"));
    mNeedLogin
        = addOption(options, QStringLiteral("mNeedLogin"), QStringLiteral("进入系统需要密码验证"));
    mSystemBackImage
        = addOption(options, QStringLiteral("mSystemBackImage"), QStringLiteral("启用系统背景图"));
    mUseDefaultCPR
        = addOption(options, QStringLiteral("mUseDefaultCPR"), QStringLiteral("启用默认出票人"));
    connect(mPopPrint, &QAction::triggered, this,
        [this] { optionClick(mPopPrint, QStringLiteral("打印前弹出打印机设置")); });
    connect(mNeedLogin, &QAction::triggered, this,
        [this] { optionClick(mNeedLogin, QStringLiteral("进入系统需验证")); });
    connect(mUseDefaultCPR, &QAction::triggered, this,
        [this] { optionClick(mUseDefaultCPR, QStringLiteral("启用默认出票人")); });
    connect(mSystemBackImage, &QAction::triggered, this, &TfmMain::backgroundOptionClick);

    QMenu* printing
        = addSubMenu(nullptr, QStringLiteral("mPrintSet"), QStringLiteral("打印设置(&P)"));
    addCommand(printing, QStringLiteral("mTemplateProperty"),
        QStringLiteral("打印整体偏移调整(&M)"),
        [this] { openPrintOffset(mBillForms->currentTemplateId()); });
    addCommand(
        printing, QStringLiteral("mLockPrinter"), QStringLiteral("锁定/匹配票据打印机"), [this] {
            const auto open
                = [this](const QString& page) { mShell.openUrl(core::siteAddress(page)); };
            openPrinterBinding(
                this, mServices, *mBinding, VendorLinks { QStringLiteral(PENNOCK_VERSION), open });
        });
    addCommand(printing, QStringLiteral("PrinterConfig"), QStringLiteral("打印机设置 (&C)"),
        [this] { mBinding->PrinterConfigClick(this); });
    addCommand(printing, QStringLiteral("N8"), QStringLiteral("添加打印机纸张规格"),
        [this] { openVendorPage(int(core::VendorPage::PaperSize), false); });

    QMenu* tools = addSubMenu(nullptr, QStringLiteral("mTools"), QStringLiteral("工具(&T)"));
    addCommand(tools, QStringLiteral("updates"), QStringLiteral("  在线升级"),
        [this] { openVendorPage(int(core::VendorPage::Upgrade), true); });
    addCommand(tools, QStringLiteral("mResetTemps"), QStringLiteral("  清除软件缓存文件"),
        [this] { clearCachesClick(); });
    addCommand(tools, QStringLiteral("N1"), QStringLiteral("  修复压缩数据库"),
        [this] { mServices.prompter().inform(QStringLiteral("正在建设!"), kNotice); });
    addCommand(tools, QStringLiteral("mLockDeskTop"), QStringLiteral("  锁定电脑屏幕"),
        [this] { lockScreenClick(); });
    addCommand(tools, QStringLiteral("N10"), QStringLiteral("  显示\\隐藏在线中心"),
        [this] { toggleOnlinePanel(); });
    addCommand(tools, QStringLiteral("N7"), QStringLiteral("  邮政编码查询"),
        [this] { mShell.openUrl(core::vendorPageAddress(core::VendorPage::Postcode)); });
    addCommand(tools, QStringLiteral("CallCounter"), QStringLiteral("  计算器 (&U)"),
        [this] { calculatorClick(); });
    tools->addSeparator();
    addCommand(tools, QStringLiteral("nHiddenOrShowBar"), QStringLiteral("显示/隐藏工具栏(&L)"),
        [this] { toggleToolBar(); });

    QMenu* help = addSubMenu(nullptr, QStringLiteral("mHelp"), QStringLiteral("帮助(&H)"));
    addCommand(help, QStringLiteral("N9281"), QStringLiteral("  升级到9.28"));
    addCommand(help, QStringLiteral("AboutSystem"), QStringLiteral("  关于 (&A)"), [this] {
        auto* about = new Tfm_About(mShell, this);
        about->setAttribute(Qt::WA_DeleteOnClose);
        about->exec();
    });
    addCommand(
        help, QStringLiteral("SystemHelp"), QStringLiteral("  帮助 (&H)"),
        [this] { openVendorPage(int(core::VendorPage::Help), true); }, QKeySequence(Qt::Key_F1));
    addCommand(help, QStringLiteral("mRestartMe"), QStringLiteral("  重启软件"),
        [this] { restartClick(); });
    help->addSeparator();
    addCommand(
        help, QStringLiteral("ExitSystem"), QStringLiteral("  退出 (&Q)"), [this] { exitClick(); });
}

void TfmMain::buildToolBar()
{
    mToolBar = addToolBar(QStringLiteral("ToolBarMain"));
    mToolBar->setObjectName(QStringLiteral("ToolBarMain"));
    mToolBar->setMovable(false);
    mToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto icon = [this](QStyle::StandardPixmap which) { return style()->standardIcon(which); };

    auto* newBill = new QAction(icon(QStyle::SP_FileIcon), QStringLiteral("填开新票据"), this);
    newBill->setObjectName(QStringLiteral("ToolButton4"));
    newBill->setMenu(mBankCheck);
    mToolBar->addAction(newBill);
    if (auto* button = qobject_cast<QToolButton*>(mToolBar->widgetForAction(newBill)))
        button->setPopupMode(QToolButton::InstantPopup);

    QAction* self = addCommand(nullptr, QStringLiteral("tbSelfComp"), QStringLiteral("我方单位"),
        [this] { openParties(QStringLiteral("我方单位")); });
    self->setToolTip(QStringLiteral("我方单位信息与帐户管理"));
    self->setIcon(icon(QStyle::SP_DirHomeIcon));
    mToolBar->addAction(self);
    QAction* customers = addCommand(nullptr, QStringLiteral("tbCustomerComp"),
        QStringLiteral("往来单位(&K)"), [this] { openParties(QStringLiteral("往来单位")); });
    customers->setToolTip(QStringLiteral("客户地址账户资料管理"));
    customers->setIcon(icon(QStyle::SP_DirIcon));
    mToolBar->addAction(customers);
    mToolBar->addSeparator();

    const struct
    {
        const char* name;
        const char* caption;
        const char* target;
        const char* hint;
        QStyle::StandardPixmap icon;
    } mirrors[] = {
        { "ToolButton2", "模板管理", "nTempManage", "", QStyle::SP_FileDialogDetailedView },
        { "ToolButton15", "新模板导入", "nImpExp", "导入新票据模板", QStyle::SP_DialogOpenButton },
        { "ToolButton5", "打印机(&C)", "PrinterConfig",
            "打印机、打印方向及纸张设定（并不会启动打印）", QStyle::SP_ComputerIcon },
    };
    for (const auto& m : mirrors) {
        QAction* button
            = addMirror(mToolBar, QString::fromLatin1(m.name), QString::fromUtf8(m.caption),
                command(QString::fromLatin1(m.target)), QString::fromUtf8(m.hint));
        button->setIcon(icon(m.icon));
    }
    mToolBar->addSeparator();

    QAction* firstUse = addCommand(nullptr, QStringLiteral("btFirstUser"),
        QStringLiteral("第一次用"), [this] { toggleFirstUse(); });
    firstUse->setToolTip(QStringLiteral("第一次使用软件前简读"));
    firstUse->setIcon(icon(QStyle::SP_MessageBoxInformation));
    mToolBar->addAction(firstUse);
    QAction* exit
        = addMirror(mToolBar, QStringLiteral("ToolButton6"), QStringLiteral("  退出 (&Q)"),
            command(QStringLiteral("ExitSystem")), QStringLiteral("退出打印系统"));
    exit->setIcon(icon(QStyle::SP_DialogCloseButton));
}

void TfmMain::buildPopupMenu()
{
    mPopup = new QMenu(this);
    mPopup->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu* invoices = nullptr;
    for (const core::BillKind* kind : core::billKinds()) {
        if (kind->popupCommand.isEmpty())
            continue;
        QWidget* owner = mPopup;
        if (!kind->popupGroup.isEmpty()) {
            if (!invoices) {
                invoices = mPopup->addMenu(kind->popupGroup);
                invoices->setObjectName(QStringLiteral("nInvoice"));
            }
            owner = invoices;
        }
        addMirror(owner, kind->popupCommand,
            kind->popupCaption.isEmpty() ? kind->menuCaption : kind->popupCaption,
            command(kind->menuCommand));
    }
    mPopup->addSeparator();
    addCommand(
        mPopup, QStringLiteral("nRefresh"), QStringLiteral("刷新"), [this] { refreshClick(); });
    addMirror(mPopup, QStringLiteral("nHelp"), QStringLiteral("帮助"),
        command(QStringLiteral("SystemHelp")));
}

void TfmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    mPanels[0] = statusPanel(bar, QStringLiteral("系统已就绪"), 140, 0);
    mPanels[1] = statusPanel(bar, QStringLiteral("建议分辨率:1024x768以上"), 170, 0);
    mPanels[2] = statusPanel(bar, QString(), 250, 0);
    mPanels[3] = statusPanel(bar, QString(), 60, 0);
    mPanels[4] = statusPanel(bar, QString(), 100, 1);

    mClock = new QTimer(this);
    mClock->setObjectName(QStringLiteral("TimerSystem"));
    mClock->setInterval(1000);
    connect(mClock, &QTimer::timeout, this, &TfmMain::onClockTick);
    connect(this, &TfmMain::onlineFetchDue, this, &TfmMain::fetchOnlinePanel);
}

// ---- start -----------------------------------------------------------------------------------

void TfmMain::start()
{
    core::Settings& settings = mServices.settings();
    mVersion = versionText();
    const int today = daySum(QDate::currentDate());
    LoadSysParam();
    if (settings.getConfigByname(kHidePanelKey) == QString::number(today))
        mPanel->hide();
    settings.OpenUserIniFile();
    fillContactLabel();
    mContact->show();
    mToolBar->setVisible(settings.userIni().readString(QStringLiteral("FM_MAIN"),
                             QStringLiteral("TOOLBARMAIN"), QStringLiteral("1"))
        == u"1");
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        screen && screen->geometry().height() < 750)
        mPanels[0]->setText(QStringLiteral("显示器分辨率太低"));
    InitBackGround();
    mTicks = 0;
    mPanels[4]->setText(QCoreApplication::applicationFilePath());
    // An archive's temporary folder is refused before the program touches any file (main).
    writeRegistry();
    setWindowTitle(QStringLiteral("Pennock票据打印V") + mVersion
        + QStringLiteral("（欢迎访问软件官方网站，获取升级与帮助）"));
    mPrinters->addItems(mBinding->printers());
    connect(mBinding, &PrinterBinding::printerSelected, mPrinters, &QComboBox::setCurrentIndex);
    mBinding->setDefaultPrinter(QString());
    // Without a bound printer the platform's default prints, which need not be the first.
    mPrinters->setCurrentIndex(mBinding->currentIndex());
    reloadDefaultDrawer();
    showClock();
    mClock->start();
}

void TfmMain::writeRegistry()
{
    bool written = true;
    const QString runPath = getRunPath();
    if (mRegistry.readValue(QStringLiteral("RunPath")) != runPath)
        written = mRegistry.writeValue(QStringLiteral("RunPath"), runPath) && written;
    if (mRegistry.readValue(QStringLiteral("Version")) != mVersion)
        written = mRegistry.writeValue(QStringLiteral("Version"), mVersion) && written;
    const QString fullPath = QCoreApplication::applicationFilePath();
    written = mRegistry.writeValue(QStringLiteral("FullPath"), fullPath) && written;
    if (!written)
        mServices.prompter().warn(QStringLiteral("注册表读写错误！"), QStringLiteral("错误"));
}

QString TfmMain::vendorName()
{
    return mServices.settings().userIni().readString(
        QStringLiteral("Info"), QStringLiteral("nm"), QStringLiteral("Pennock"));
}

void TfmMain::fillContactLabel()
{
    const QString text = QStringLiteral("欢迎使用") + vendorName()
        + QStringLiteral("票据打印软件！\n\n"
                         "【联系我们】\n"
                         "使用中有任何问题或建议，欢迎通过软件官方网站与我们联系。\n\n"
                         ">>支票、进账单、电汇单\n"
                         ">>缴款单、承兑汇票、境外汇款申请书\n"
                         ">>普通发票、收据、出口及货运发票\n"
                         ">>各类快递单、定制单据");
    mContact->setText(text);
    mContact->setToolTip(text);
}

// ---- options and background ------------------------------------------------------------------

void TfmMain::LoadSysParam()
{
    core::Settings& settings = mServices.settings();
    const auto read = [&settings](const char* key) {
        return core::Settings::isYes(settings.getConfigByname(QString::fromUtf8(key)));
    };
    mPopPrinterDialog = read("打印前弹出打印机设置");
    mPopPrint->setChecked(mPopPrinterDialog);
    mNeedLogin->setChecked(read("进入系统需验证"));
    mSystemBackImage->setChecked(read("启用系统背景"));
    mUseDefaultDrawer = read("启用默认出票人");
    mUseDefaultCPR->setChecked(mUseDefaultDrawer);
}

void TfmMain::optionClick(QAction* option, const QString& key)
{
    // The action already flipped its mark; what counts is the stored value before the click.
    const bool wasChecked = !option->isChecked();
    mServices.settings().setConfigByname(
        key, wasChecked ? QStringLiteral("no") : QStringLiteral("yes"));
    LoadSysParam();
}

void TfmMain::backgroundOptionClick()
{
    const bool on = mSystemBackImage->isChecked();
    if (!mServices.settings().setConfigByname(
            QStringLiteral("启用系统背景"), on ? QStringLiteral("yes") : QStringLiteral("no"))) {
        // Not stored: the mark keeps telling the truth.
        mSystemBackImage->setChecked(!on);
        return;
    }
    if (on)
        InitBackGround();
    else
        mServices.prompter().inform(QStringLiteral("需要重启软件才生效哦！"), kNotice);
}

void TfmMain::InitBackGround()
{
    if (!mSystemBackImage->isChecked()) {
        mImage->clear();
        mImage->update();
        return;
    }
    const QPixmap picture(mServices.folder().path(QStringLiteral("Image/sys_bg.jpg")));
    if (picture.isNull()) {
        mImage->clear();
        fillContactLabel();
        return;
    }
    mImage->setPixmap(picture);
    placeBackground();
    mImage->show();
}

void TfmMain::placeBackground()
{
    const QRect area = mMdi->viewport()->rect();
    mImage->setGeometry(area);
    mImage->lower();
    if (!mMemo->isHidden())
        mMemo->setGeometry(area);
}

// ---- first use, online panel, toolbar --------------------------------------------------------

void TfmMain::toggleFirstUse()
{
    if (mMemo->isHidden()) {
        mMemo->setGeometry(0, 0, mImage->width(), mImage->height());
        mMemo->show();
        mMemo->raise();
        mImage->hide();
    } else {
        mMemo->hide();
        mImage->show();
        mPanel->show();
    }
}

void TfmMain::hidePanelForToday()
{
    mServices.settings().setConfigByname(
        kHidePanelKey, QString::number(daySum(QDate::currentDate())));
    mPanel->hide();
}

void TfmMain::toggleOnlinePanel()
{
    const int today = daySum(QDate::currentDate());
    const bool show = mPanel->isHidden();
    mPanel->setVisible(show);
    // A sum 1000 below today's never matches a date, so the panel stays.
    mServices.settings().setConfigByname(
        kHidePanelKey, QString::number(show ? today - 1000 : today));
}

void TfmMain::refreshClick()
{
    mPanel->show();
    InitBackGround();
}

void TfmMain::toggleToolBar()
{
    const bool show = mToolBar->isHidden();
    mToolBar->setVisible(show);
    core::IniFile& ini = mServices.settings().userIni();
    ini.writeString(QStringLiteral("FM_MAIN"), QStringLiteral("TOOLBARMAIN"),
        show ? QStringLiteral("1") : QStringLiteral("0"));
    ini.flush();
}

// ---- tools and exit --------------------------------------------------------------------------

void TfmMain::clearCachesClick()
{
    if (core::clearCaches(
            mServices.db(), mServices.folder(), mServices.prompter(), mBillForms->anyOpen()))
        mBillForms->closeAll();
}

void TfmMain::calculatorClick()
{
    if (!mShell.startCalculator())
        mServices.prompter().warn(QStringLiteral("系统计算器调用失败！"), QStringLiteral("错误"));
}

void TfmMain::openHistoryWindow(const QString& kind) { openHistory(kind, *mHistoryEnv, this); }

void TfmMain::openParties(const QString& type)
{
    const auto spreadsheetImport = [this](Tfm_PersonManage& manager) {
        TfrmImport window(mServices, *mFiles, mShell, &manager);
        window.setScene(0);
        window.setAfterRun([&manager] { manager.btAllClick(); });
        window.exec();
    };
    // While a batch window is open, the address book's batch buttons fill its list.
    if (mBatch)
        openPersonManager(
            this, mServices, *mGrids, openBills(), type, [this] { reloadDefaultDrawer(); },
            mBatch->partyReceiver(),
            [batch = mBatch] {
                if (batch)
                    batch->btRefreashClick();
            },
            spreadsheetImport);
    else
        openPersonManager(
            this, mServices, *mGrids, openBills(), type, [this] { reloadDefaultDrawer(); }, {}, {},
            spreadsheetImport);
}

Tfm_PersonManage::OpenBills TfmMain::openBills()
{
    return { [this] { return mBillForms->anyOpen(); }, [this] { mBillForms->closeAll(); } };
}

void TfmMain::openPrintOffset(int templateId)
{
    TfrmPrintOffset::Links links;
    links.recommended = [this](const QString& fullName) {
        mShell.openUrl(core::siteAddress(QStringLiteral("f_khzx.asp?rail=prtmatch.asp&version=")
            + QStringLiteral(PENNOCK_VERSION) + QStringLiteral("&type=")
            + QString::fromLatin1(QUrl::toPercentEncoding(fullName))));
    };
    links.preview = [this](int id) {
        QWidget* over = QApplication::activeModalWidget();
        Tfm_PrintPreview::showFor(mServices, id, over ? over : this);
    };
    links.printer = [this] {
        return mBinding->printers().isEmpty() ? QString() : mBinding->printer().printerName();
    };
    links.printSheet
        = [this](const QSizeF& paperMm) { return mBinding->printCalibrationSheet(paperMm); };
    links.calibrationChanged = [this] { mBinding->applyCalibration(); };
    links.design = [this](int id) {
        mBillForms->setCurrentTemplateId(id);
        openDesignMode(id);
    };
    TfrmPrintOffset window(mServices, templateId, links, this);
    window.open();
    window.exec();
    // A bill form shows the template's new screen size at its next layout.
    for (QWidget* form : mBillForms->openForms())
        if (auto* bill = qobject_cast<TfmBillForm*>(form))
            bill->reinitTemplate();
}

void TfmMain::openDesignMode(int templateId)
{
    TfmCheckDesign::Links links;
    links.askValue = [this](const QString& prompt, const QString& value) {
        return ui::giveMeAnValue(this, prompt, value, QStringLiteral("string"));
    };
    links.openOffset = [this](int id) { openPrintOffset(id); };
    links.setCurrentTemplate = [this](int id) { mBillForms->setCurrentTemplateId(id); };
    links.openDesigner = [this](int id) {
        TfmTemplateDesigner::Links designerLinks;
        designerLinks.paperSaved = [] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* offset = qobject_cast<TfrmPrintOffset*>(window);
                    offset && offset->isVisible())
                    offset->loadFields();
        };
        designerLinks.choosePicture = [this] {
            return mFiles->openFileName(QApplication::activeModalWidget(), QStringLiteral("底图源"),
                QStringLiteral("图片 (*.jpg *.jpeg *.bmp)"));
        };
        QWidget* over = QApplication::activeModalWidget();
        TfmTemplateDesigner designer(mServices, id, designerLinks, over ? over : this);
        if (designer.load())
            designer.exec();
    };
    TfmCheckDesign window(mServices, templateId, links, this);
    if (window.load())
        window.exec();
    // Every open form shows what design mode changed.
    for (QWidget* form : mBillForms->openForms())
        if (auto* bill = qobject_cast<TfmBillForm*>(form))
            bill->reinitTemplate();
}

void TfmMain::openTemplateManager(int templateId)
{
    TfrmCheckTypeMng::Links links;
    links.askValue = [this](const QString& prompt, const QString& value) {
        return ui::giveMeAnValue(this, prompt, value, QStringLiteral("string"));
    };
    links.design = [this](int id) { openPrintOffset(id); };
    links.importPackages = [this] { openPackages(false); };
    TfrmCheckTypeMng window(mServices.db(), mServices.folder(), mServices.settings(),
        mServices.prompter(), links, templateId, this);
    window.exec();
    refreshBillTemplates();
}

void TfmMain::openPackages(bool withExport)
{
    TfrmBillImportExport window(
        mServices.db(), mServices.folder(), mServices.settings(), mServices.prompter(), *mFiles,
        withExport,
        [this] { mShell.openUrl(core::siteAddress(QStringLiteral("f_xzzx.asp?type=kddPackage"))); },
        this);
    window.exec();
    if (window.imported())
        refreshBillTemplates();
}

void TfmMain::refreshBillTemplates()
{
    for (QWidget* form : mBillForms->openForms())
        if (auto* bill = qobject_cast<TfmBillForm*>(form))
            bill->reloadTemplates();
}

void TfmMain::openWaybillBatch(TfmBillForm* form)
{
    if (mBatch && mBatch->parentWidget() != form)
        mBatch->close();
    if (!mBatch) {
        // The window belongs to its form: it closes with it and prints with its sender side.
        mBatch = new TfmWaybillBatch(*form, *mBillEnv, *mFiles, form);
        mBatch->setWindowFlag(Qt::Window);
        mBatch->setAttribute(Qt::WA_DeleteOnClose);
        mBatch->setAddressBook([this](std::function<bool(const core::TPerson&)> receive,
                                   std::function<void()> refresh) {
            Tfm_PersonManage manager(mServices, *mGrids, this);
            connect(&manager, &Tfm_PersonManage::defaultDrawerChanged, this,
                &TfmMain::defaultDrawerMoved);
            manager.setBatchReceiver(std::move(receive), std::move(refresh));
            manager.showType(QStringLiteral("往来单位"));
            manager.exec();
        });
    }
    mBatch->show();
    mBatch->raise();
    mBatch->activateWindow();
}

void TfmMain::reloadDefaultDrawer()
{
    mDefaultDrawer.reset();
    if (!mUseDefaultDrawer)
        return;
    mDefaultDrawer = core::DAOPerson(mServices.db()).loadDefaultDrawer();
}

void TfmMain::defaultDrawerMoved()
{
    reloadDefaultDrawer();
    if (mDrawerNoticePending)
        return;
    mDrawerNoticePending = true;
    QTimer::singleShot(0, this, &TfmMain::noticeDrawerMoved);
}

void TfmMain::noticeDrawerMoved()
{
    // The form that opened the picker may still be on its way out of the click; it closes
    // once no window waits for a person.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(100, this, &TfmMain::noticeDrawerMoved);
        return;
    }
    mDrawerNoticePending = false;
    if (!mBillForms->anyOpen())
        return;
    mServices.prompter().inform(QStringLiteral("默认出票人已经修改，请重新填开票据！"), kNotice);
    mBillForms->closeAll();
}

void TfmMain::setOnlineSite(core::Http& http, const QString& host)
{
    mHttp = &http;
    mSiteHost = host;
}

void TfmMain::fetchOnlinePanel()
{
    if (!mHttp) {
        mOwnHttp = std::make_unique<NetworkHttp>();
        mHttp = mOwnHttp.get();
        mSiteHost = core::siteHost();
    }
    const QScreen* screen = this->screen();
    THTTPThread(*mHttp, mServices.prompter(), mPanel, mBrowser, mSiteHost)
        .run(screen ? screen->geometry().width() : 1024);
}

void TfmMain::openVendorPage(int page, bool showPanel)
{
    if (showPanel)
        mPanel->show();
    core::BrowseURL(mShell, core::vendorPageAddress(core::VendorPage(page)));
}

void TfmMain::lockScreenClick()
{
    if (!mShell.lockScreen())
        mServices.prompter().warn(QStringLiteral("锁定电脑屏幕失败！"), QStringLiteral("错误"));
}

void TfmMain::restartClick()
{
    if (!mServices.prompter().ask(QStringLiteral("确定要重开软件吗?"), QStringLiteral("重启软件")))
        return;
    mBillForms->closeAll();
    // The running copy ends only once the new one is under way.
    if (!mShell.startProgram(QCoreApplication::applicationFilePath())) {
        mServices.prompter().warn(QStringLiteral("重启软件失败！"), QStringLiteral("错误"));
        return;
    }
    close();
}

void TfmMain::exitClick()
{
    if (mServices.prompter().ask(
            QStringLiteral("真的要退出【") + vendorName() + QStringLiteral("票据打印】系统吗？"),
            QStringLiteral("确认")))
        close();
}

// ---- clock and events ------------------------------------------------------------------------

void TfmMain::showClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    mPanels[2]->setText(QStringLiteral(" 当前时间：")
        + QLocale::system().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + now.time().toString(QStringLiteral("HH:mm:ss")));
}

void TfmMain::onClockTick()
{
    showClock();
    ++mTicks;
    if (mTicks > 1 && !mFetchDone) {
        mFetchDone = true;
        emit onlineFetchDue();
    }
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    // Bill forms close first: an unsaved bill is offered for saving while the database is there.
    mBillForms->closeAll();
    if (mBillForms->anyOpen()) {
        event->ignore();
        return;
    }
    mClock->stop();
    mServices.db().close();
    mServices.settings().userIni().flush();
    event->accept();
}

void TfmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!mMemo->isHidden())
        toggleFirstUse();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Wheel: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != this || !isActiveWindow())
            break;
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != this)
            target = this;
        QKeyEvent key(QEvent::KeyPress, delta > 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(target, &key);
        return true;
    }
    case QEvent::Resize:
        if (watched == mMdi->viewport())
            placeBackground();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == mHide) {
            hidePanelForToday();
            return true;
        }
        if (watched == mContact) {
            core::BrowseURL(mShell, core::vendorPageAddress(core::VendorPage::Home));
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == mMemo->viewport()) {
            toggleFirstUse();
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace pennock::ui
