#include "printing/CheckDesign.h"

#include "platform/Prompter.h"
#include "printing/LayoutUndo.h"
#include "printing/Services.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/ImageShow.h"
#include "templates/TemplateLookups.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kPrompt = q("提示");
const QString kChooseItem = q("请选择左侧需要配置或修改的项目！");
const QString kNotBelowZero = q("测量数值不可能小于0，请查看打印参数示意图原理~");
const QString kMoveHint1 = q("(Ctrl+Shift+方向键：可更快的移动),"
                             "移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。");
const QString kMoveHint10 = q("移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。");
const QString kBreakOn = q("超      个汉字强制换行,行高       0.1毫米,折行字号");
const QString kBreakOff = q("必要时强制折行打印");
const QString kFitOn = q("(邮编等)分格等宽打印,格子宽       (0.1毫米).");
const QString kFitOff = q("必要时等宽打印");
constexpr int kListWidth = 120;
constexpr int kMaintenanceClicks = 7;
const char* const kNameProperty = "ctlName";
const char* const kTypeProperty = "ctlType";

const QStringList kScreenFields { QStringLiteral("SrcX"), QStringLiteral("SrcY"),
    QStringLiteral("SrcW"), QStringLiteral("SrcH") };

const QString kTips = q(
    "【设置技巧】\n"
    "1、打印位置“距左”“距顶”是打印内容到票据左边、上边的距离，请在实际票据上测量（测量单位：0."
    "1毫米）。\n"
    "2、字号越大，打印出来的字越大。\n"
    "3、需要换行的项目请勾选“必要时强制折行打印”，并设置每行字数、行高和折行字号。\n"
    "4、点击“预览打印效果”查看设置的结果。\n"
    "5、输入框可以用鼠标拖动，或用Ctrl+方向键移动（加Shift更快），用Shift+方向键或“横向X、纵向Y、"
    "输入框宽、高”调整大小；移动输入框不会改变打印位置。\n"
    "6、设置完成后点击“保存  设置”离开设计模式。");

} // namespace

TfmCheckDesign::TfmCheckDesign(
    core::Services& services, int templateId, Links links, QWidget* parent)
    : QDialog(parent)
    , mServices(services)
    , mLinks(std::move(links))
    , mHandedOver(templateId)
{
    setObjectName(QStringLiteral("TfmCheckDesign"));
    setWindowTitle(q("模板设计"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    mUndo = new QUndoStack(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setMenuBar(undoMenuBar(*mUndo, this));

    auto* selection = new QHBoxLayout;
    selection->addWidget(new QLabel(q("1、选中票据种类："), this));
    mKinds = new QComboBox(this);
    mKinds->setObjectName(QStringLiteral("cbCheckTypeNameList"));
    mKinds->setMinimumWidth(140);
    selection->addWidget(mKinds);
    selection->addWidget(new QLabel(q("2、选中票据模板："), this));
    mVariants = new QComboBox(this);
    mVariants->setObjectName(QStringLiteral("cbTypeLastName"));
    mVariants->setMinimumWidth(180);
    mVariants->installEventFilter(this);
    selection->addWidget(mVariants);
    auto* refresh = new QPushButton(q("刷 新(&R)"), this);
    refresh->setObjectName(QStringLiteral("btRefreshCheck"));
    selection->addWidget(refresh);
    selection->addStretch();
    layout->addLayout(selection);

    auto* middle = new QHBoxLayout;
    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("listCtlLabel"));
    mList->setFixedWidth(kListWidth);
    mList->setContextMenuPolicy(Qt::CustomContextMenu);
    mScroll = new QScrollArea(this);
    mPicture = new QLabel;
    mPicture->setObjectName(QStringLiteral("ImgCheck"));
    mPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mPicture->setMouseTracking(true);
    mPicture->installEventFilter(this);
    mScroll->setWidget(mPicture);
    middle->addWidget(mList);
    middle->addWidget(mScroll, 1);
    layout->addLayout(middle, 1);

    mPages = new QTabWidget(this);
    mPages->setObjectName(QStringLiteral("PageControl1"));
    auto* settingsPage = new QWidget;
    auto* grid = new QGridLayout(settingsPage);
    grid->setContentsMargins(4, 4, 4, 4);
    const auto link = [&](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, settingsPage);
        b->setObjectName(QString::fromLatin1(name));
        b->setFlat(true);
        connect(b, &QPushButton::clicked, this, [this] {
            TfrmImageShow viewer(this);
            QPixmap picture;
            picture.load(mServices.folder().path(QStringLiteral("Image/sys_PosExp.jpg")));
            viewer.showPicture(
                picture.scaled(600, 360, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            viewer.resize(600, 360);
            viewer.exec();
        });
        return b;
    };

    // Print font and position.
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(new QLabel(q("打印字体:"), settingsPage));
    mFontName = new QComboBox(settingsPage);
    mFontName->setObjectName(QStringLiteral("CtlFontName"));
    mFontName->setEditable(true);
    mFontName->setMinimumWidth(140);
    fontRow->addWidget(mFontName);
    fontRow->addWidget(new QLabel(q("字号:"), settingsPage));
    fontRow->addWidget(addNumber(QStringLiteral("CtlFontSize"), 6, 25, 10));
    for (const auto& [name, caption] : { std::pair { "ckBold", "加粗" },
             std::pair { "ckItalic", "倾斜" }, std::pair { "ckUnderLine", "下划线" } }) {
        auto* box = new QCheckBox(q(caption), settingsPage);
        box->setObjectName(QString::fromLatin1(name));
        connect(box, &QCheckBox::toggled, this, [this, n = QString::fromLatin1(name)] {
            updateFontSample();
            fieldLeft(n);
        });
        fontRow->addWidget(box);
    }
    mFontSample = new QLabel(q("打印预览字体,ABC,abc,123"), settingsPage);
    mFontSample->setObjectName(QStringLiteral("lbFont"));
    fontRow->addWidget(mFontSample, 1);
    grid->addLayout(fontRow, 0, 0, 1, 4);

    auto* positionRow = new QHBoxLayout;
    positionRow->addWidget(link(q("距左:"), "lbCtlX"));
    positionRow->addWidget(addNumber(QStringLiteral("ctlX"), 0, 5000, 0));
    positionRow->addWidget(link(q("距顶:"), "lbCtlY"));
    positionRow->addWidget(addNumber(QStringLiteral("ctlY"), 0, 5000, 0));
    for (const auto& [name, caption, hint, direction] :
        { std::tuple { "btPrtTop", "↑", "打印上移1毫米", Qt::UpArrow },
            std::tuple { "btPrtBottom", "↓", "打印下移1毫米", Qt::DownArrow },
            std::tuple { "btPrtLeft", "←", "打印左移1毫米", Qt::LeftArrow },
            std::tuple { "btPrtRight", "→", "打印右移1毫米", Qt::RightArrow } }) {
        auto* b = new QPushButton(q(caption), settingsPage);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(q(hint));
        b->setFixedWidth(30);
        connect(b, &QPushButton::clicked, this, [this, d = direction] { printArrow(d); });
        positionRow->addWidget(b);
    }
    positionRow->addWidget(link(q("测量示意"), "lbAlert"));
    positionRow->addStretch();
    grid->addLayout(positionRow, 1, 0, 1, 4);

    auto* breakRow = new QHBoxLayout;
    auto* wordBreak = new QCheckBox(kBreakOff, settingsPage);
    wordBreak->setObjectName(QStringLiteral("ckWordBreak"));
    breakRow->addWidget(wordBreak);
    breakRow->addWidget(addNumber(QStringLiteral("WrapNum"), 1, 120, 20));
    breakRow->addWidget(addNumber(QStringLiteral("ctlLH"), 20, 150, 50));
    breakRow->addWidget(addNumber(QStringLiteral("CtlBreakFontSize"), 6, 20, 10));
    auto* fit = new QCheckBox(kFitOff, settingsPage);
    fit->setObjectName(QStringLiteral("ckFitPrint"));
    breakRow->addWidget(fit);
    breakRow->addWidget(addNumber(QStringLiteral("FitParam"), 0, 1000, 35));
    breakRow->addStretch();
    grid->addLayout(breakRow, 2, 0, 1, 4);
    for (QCheckBox* box : { wordBreak, fit })
        connect(box, &QCheckBox::toggled, this, [this, box] {
            updateOptionCaptions();
            fieldLeft(box->objectName());
        });

    auto* screenRow = new QHBoxLayout;
    for (const auto& [name, caption, low, high, value] :
        { std::tuple { "SrcX", "横向X:", 5, 1000, 30 },
            std::tuple { "SrcY", "纵向Y:", 5, 1000, 30 },
            std::tuple { "SrcH", "输入框高:", 10, 120, 14 },
            std::tuple { "SrcW", "输入框宽:", 8, 1000, 20 } }) {
        screenRow->addWidget(new QLabel(q(caption), settingsPage));
        QSpinBox* box = addNumber(QString::fromLatin1(name), low, high, value);
        connect(box, &QSpinBox::valueChanged, this, [this] { screenFieldChanged(); });
        screenRow->addWidget(box);
    }
    auto* hidden = new QCheckBox(q("不填写或不打印该项目"), settingsPage);
    hidden->setObjectName(QStringLiteral("ckHidden"));
    connect(hidden, &QCheckBox::toggled, this, [this](bool on) {
        if (mLoading || !mSelected)
            return;
        mSelected->setVisible(!on);
        if (!on)
            mSelected->raise();
        mSaved = false;
    });
    screenRow->addWidget(hidden);
    screenRow->addWidget(new QLabel(q("默认值填写内容:"), settingsPage));
    mDefault = new QLineEdit(settingsPage);
    mDefault->setObjectName(QStringLiteral("edtDefaultVal"));
    mDefault->setToolTip(q("默认值，勾中填写V"));
    connect(mDefault, &QLineEdit::editingFinished, this,
        [this] { fieldLeft(QStringLiteral("edtDefaultVal")); });
    screenRow->addWidget(mDefault, 1);
    grid->addLayout(screenRow, 3, 0, 1, 4);

    auto* buttonRow = new QHBoxLayout;
    for (const auto& [name, caption] :
        { std::pair { "btSaveCheck", "保存  设置" }, std::pair { "btPreview", "预览打印效果" },
            std::pair { "btShowExpirence", "【设置技巧】" } }) {
        auto* b = new QPushButton(q(caption), settingsPage);
        b->setObjectName(QString::fromLatin1(name));
        buttonRow->addWidget(b);
    }
    buttonRow->addStretch();
    grid->addLayout(buttonRow, 4, 0, 1, 4);
    mPages->addTab(settingsPage, q("录单项目界面显示配置"));
    mPages->addTab(new QLabel(q("打开整体打印偏移设置窗口……")), q("整体打印偏移"));

    auto* channel = new QWidget;
    auto* channelLayout = new QVBoxLayout(channel);
    channelLayout->addWidget(
        new QLabel(q("该模块仅供Pennock特权维护使用,系统觉得你好像不是Pennock！"), channel));
    mMaintenance = new QWidget(channel);
    mMaintenance->setObjectName(QStringLiteral("pnMaintenance"));
    auto* maintenanceRow = new QHBoxLayout(mMaintenance);
    auto* sql = new QLineEdit(mMaintenance);
    sql->setObjectName(QStringLiteral("edtRunSql"));
    maintenanceRow->addWidget(sql, 1);
    auto* run = new QPushButton(q("运行"), mMaintenance);
    run->setObjectName(QStringLiteral("btRunSql"));
    maintenanceRow->addWidget(run);
    auto* which = new QPushButton(q("单据ID是多少呢？"), mMaintenance);
    which->setObjectName(QStringLiteral("btWhichId"));
    maintenanceRow->addWidget(which);
    mMaintenance->hide();
    channelLayout->addWidget(mMaintenance);
    channelLayout->addStretch();
    mPages->addTab(channel, q("Pennock通道"));
    layout->addWidget(mPages);

    mStatusBar = new QStatusBar(this);
    mStatusBar->setObjectName(QStringLiteral("StatusBar1"));
    mStatusBar->setSizeGripEnabled(false);
    mStatusBar->installEventFilter(this);
    for (int i = 0; i < 2; ++i) {
        mStatus[i] = new QLabel(mStatusBar);
        mStatus[i]->setMinimumWidth(i == 0 ? 220 : 120);
        mStatusBar->addWidget(mStatus[i]);
    }
    mMessage = new QLabel(mStatusBar);
    mMessage->setObjectName(QStringLiteral("lbMessage"));
    mStatusBar->addWidget(mMessage, 1);
    layout->addWidget(mStatusBar);
    mBlink = new QTimer(this);
    mBlink->setInterval(2000);
    connect(mBlink, &QTimer::timeout, this, [this] {
        const bool yellow = mMessage->styleSheet().isEmpty();
        mMessage->setStyleSheet(yellow ? QStringLiteral("background: yellow") : QString());
    });

    connect(mKinds, &QComboBox::activated, this, [this] { chooseKind(mKinds->currentText()); });
    connect(mVariants, &QComboBox::activated, this,
        [this] { chooseVariant(mVariants->currentText()); });
    connect(refresh, &QPushButton::clicked, this, [this] { layOutTemplate(mTemplateId, true); });
    connect(mList, &QListWidget::itemClicked, this,
        [this](QListWidgetItem* item) { selectByLabel(item->text()); });
    connect(mList, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu popup(this);
        QAction* define = popup.addAction(q("勾选项目定义"));
        define->setObjectName(QStringLiteral("nCheckBoxSet"));
        define->setEnabled(mTemplateId > 0);
        if (popup.exec(mList->viewport()->mapToGlobal(at)) == define)
            defineCheckBoxes();
    });
    connect(mFontName, &QComboBox::activated, this, [this] {
        updateFontSample();
        fieldLeft(QStringLiteral("CtlFontName"));
    });
    connect(field(QStringLiteral("CtlFontSize")), &QSpinBox::valueChanged, this, [this] {
        updateFontSample();
        if (!mLoading && mSelectedName.isEmpty())
            showMessage(q("请先点击要设置字体的项目,不可见项目在左侧列表点击。"));
    });
    connect(button(QStringLiteral("btSaveCheck")), &QPushButton::clicked, this,
        [this] { saveItem(true); });
    connect(button(QStringLiteral("btPreview")), &QPushButton::clicked, this,
        [this] { openDesigner(); });
    connect(button(QStringLiteral("btShowExpirence")), &QPushButton::clicked, this,
        [this] { mServices.prompter().inform(kTips, q("设置技巧")); });
    connect(mPages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index != 1)
            return;
        mPages->setCurrentIndex(0);
        if (mLinks.openOffset && mTemplateId > 0)
            mLinks.openOffset(mTemplateId);
    });
    connect(run, &QPushButton::clicked, this, [this, sql] {
        try {
            mServices.db().execute(sql->text().trimmed());
        } catch (const core::DbError&) {
            mServices.prompter().warn(q("命令不正确！"), kPrompt);
        }
    });
    connect(which, &QPushButton::clicked, this,
        [this] { mServices.prompter().inform(QString::number(mTemplateId), kPrompt); });

    const QStringList families = QFontDatabase::families();
    for (auto it = families.crbegin(); it != families.crend(); ++it)
        if (!it->startsWith(QLatin1Char('@')))
            mFontName->addItem(*it);
    updateOptionCaptions();
    qApp->installEventFilter(this);
}

TfmCheckDesign::~TfmCheckDesign() { qApp->removeEventFilter(this); }

QSpinBox* TfmCheckDesign::addNumber(const QString& name, int low, int high, int value)
{
    auto* box = new QSpinBox(this);
    box->setObjectName(name);
    box->setRange(low, high);
    box->setValue(value);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setMinimumWidth(52);
    connect(box, &QSpinBox::editingFinished, this, [this, name] { fieldLeft(name); });
    if (QLineEdit* line = box->findChild<QLineEdit*>())
        line->installEventFilter(this);
    return box;
}

QSpinBox* TfmCheckDesign::field(const QString& name) const { return findChild<QSpinBox*>(name); }

QCheckBox* TfmCheckDesign::check(const QString& name) const { return findChild<QCheckBox*>(name); }

QPushButton* TfmCheckDesign::button(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

QWidget* TfmCheckDesign::control(const QString& name) const
{
    return mPicture->findChild<QWidget*>(name.toUpper(), Qt::FindDirectChildrenOnly);
}

QString TfmCheckDesign::status(int panel) const { return mStatus[panel]->text(); }

QString TfmCheckDesign::message() const { return mMessage->text(); }

void TfmCheckDesign::showMessage(const QString& text)
{
    mMessage->setText(text);
    mBlink->start();
}

bool TfmCheckDesign::load()
{
    core::TemplateLookups& lookups = mServices.templates();
    int id = mHandedOver;
    try {
        if (id <= 0 || core::loadCheckTypeFirstNameByID(mServices.db(), id).isEmpty())
            id = lookups.loadDefaultCheckTypeId(lookups.loadDefaultTypeFirstName());
    } catch (const core::DbError&) {
        id = -1;
    }
    if (id <= 0) {
        mServices.prompter().inform(q("系统没有任何可用的模板信息，请确保软件数据完整~"), kPrompt);
        return false;
    }
    mSelecting = true;
    mKinds->clear();
    mKinds->addItems(lookups.loadCheckTypeFirstNameList());
    mSelecting = false;
    layOutTemplate(id);
    return true;
}

void TfmCheckDesign::loadKind(const QString& kind)
{
    mLoadedKind = kind;
    mList->clear();
    QSqlQuery rows = mServices.db().exec(
        QStringLiteral("select CtlLabel from NameDict where CheckTypeName=? order by ShowOrd desc"),
        { kind });
    while (rows.next())
        mList->addItem(rows.value(0).toString());
    mSelecting = true;
    mVariants->clear();
    mVariants->addItems(mServices.templates().loadCheckTypeLastNameList(kind));
    mSelecting = false;
}

void TfmCheckDesign::layOutTemplate(int templateId, bool again)
{
    if (templateId <= 0 || (templateId == mLaidOut && !again))
        return;
    if (!mSaved && !mSelectedName.isEmpty())
        saveItem(false);
    core::TemplateLookups& lookups = mServices.templates();
    mTemplateId = templateId;
    mStatus[0]->setText(q("没有选中调整项目！"));
    mKind = lookups.loadCheckTypeFirstNameByID(templateId).trimmed();
    mVariant = lookups.loadCheckTypeLastNameByID(templateId);
    mSelecting = true;
    mKinds->setCurrentText(mKind);
    mSelecting = false;
    if (mKind != mLoadedKind)
        loadKind(mKind);
    mSelecting = true;
    mVariants->setCurrentText(mVariant);
    mSelecting = false;

    int width = 630;
    int height = 400;
    QString image;
    try {
        QSqlQuery row = mServices.db().exec(
            QStringLiteral(
                "select Twidth, Theight, ImgFile, CheckBoxs from CKTypeTable where CheckTypeID=?"),
            { templateId });
        if (row.next()) {
            width = row.value(0).toInt() > 0 ? row.value(0).toInt() : width;
            height = row.value(1).toInt() > 0 ? row.value(1).toInt() : height;
            image = row.value(2).toString().trimmed();
            mCheckBoxes = row.value(3).toString();
        }
    } catch (const core::DbError&) {
    }
    QPixmap picture;
    picture.load(mServices.folder().path(
        QStringLiteral("Image/") + (image.isEmpty() ? q("dhd_default.jpg") : image)));
    mPicture->setPixmap(picture);
    mPicture->setFixedSize(width, height);
    buildPlaceholders();
    mLaidOut = templateId;
    mUndo->clear(); // the steps belong to the template they were made on

    if (QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        resize(std::min(width + kListWidth + 50, room.width()),
            std::min(height + mPages->sizeHint().height() + mStatusBar->sizeHint().height() + 90,
                room.height()));
    }
}

void TfmCheckDesign::buildPlaceholders()
{
    const QList<QWidget*> old = mPicture->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* widget : old)
        delete widget;
    mSelected = nullptr;
    mSelectedName.clear();
    mSaved = true;
    const QStringList boxLabels = mCheckBoxes.trimmed().isEmpty()
        ? QStringList()
        : mCheckBoxes.trimmed().split(QLatin1Char(','));
    try {
        QSqlQuery items
            = mServices.db().exec(QStringLiteral("select CtlName, CtlLabel, CtlType from NameDict "
                                                 "where CheckTypeName=? order by ShowOrd desc"),
                { mKind });
        while (items.next()) {
            const QString name = items.value(0).toString().trimmed();
            const QString label = items.value(1).toString();
            QString type = items.value(2).toString().trimmed().toUpper();
            if (type.isEmpty())
                type = QStringLiteral("TEXT");
            QWidget* control = nullptr;
            if (type == u"TEXT") {
                auto* edit = new QLineEdit(label, mPicture);
                edit->setFrame(false);
                edit->setReadOnly(true);
                edit->resize(50, 18);
                control = edit;
            } else if (type == u"SHAPE") {
                auto* shape = new QFrame(mPicture);
                shape->setStyleSheet(
                    QStringLiteral("QFrame { border: 2px solid red; background: transparent; }"));
                shape->setToolTip(label);
                shape->resize(60, 20);
                control = shape;
            } else if (type == u"CHECKBOX") {
                QString caption = label;
                if (name.startsWith(QStringLiteral("DEFCHECK"), Qt::CaseInsensitive)) {
                    bool ok = false;
                    const int index = name.mid(8).toInt(&ok);
                    if (ok && index < boxLabels.size())
                        caption = boxLabels[index];
                }
                auto* box = new QCheckBox(caption, mPicture);
                box->resize(60, 20);
                control = box;
            } else {
                continue; // pictures have no box to place
            }
            control->setObjectName(name.toUpper());
            control->setProperty(kNameProperty, name);
            control->setProperty(kTypeProperty, type);
            control->installEventFilter(this);
            QSqlQuery layout
                = mServices.db().exec(QStringLiteral("select SrcX, SrcY, SrcW, SrcH, NeedShow from "
                                                     "CKControl where CheckTypeID=? and "
                                                     "upper(CtlName)=upper(?)"),
                    { mTemplateId, name });
            if (layout.next()) {
                control->setGeometry(layout.value(0).toInt(), layout.value(1).toInt(),
                    layout.value(2).toInt(), layout.value(3).toInt());
                control->setVisible(layout.value(4).toInt() > 0);
            } else {
                control->setGeometry(0, 0, 0, 0);
                control->hide();
            }
        }
    } catch (const core::DbError& error) {
        mServices.prompter().warn(q("调入项目参数失败!") + error.message(), kPrompt);
    }
}

void TfmCheckDesign::chooseKind(const QString& kind)
{
    if (mSelecting || kind.isEmpty())
        return;
    loadKind(kind);
    int id = mTemplateId;
    if (mServices.templates().loadCheckTypeFirstNameByID(id).trimmed() != kind)
        id = mServices.templates().loadDefaultCheckTypeId(kind);
    layOutTemplate(id);
}

void TfmCheckDesign::chooseVariant(const QString& variant)
{
    if (mSelecting || variant.isEmpty())
        return;
    const QString kind = mKinds->currentText();
    const int id = mServices.templates().loadCheckTypeIDByFirstAndLastName(kind, variant);
    if (id <= 0)
        return;
    layOutTemplate(id);
    if (mLinks.setCurrentTemplate)
        mLinks.setCurrentTemplate(id);
    setWindowTitle(q("票据设计调整（") + kind + QLatin1Char('-') + variant + q("）,ID=")
        + QString::number(id));
}

QString TfmCheckDesign::labelOf(const QString& name) const
{
    try {
        return mServices.db()
            .scalar(QStringLiteral("select CtlLabel from NameDict where CheckTypeName=? and "
                                   "upper(CtlName)=upper(?)"),
                { mKind, name })
            .toString();
    } catch (const core::DbError&) {
        return {};
    }
}

bool TfmCheckDesign::selectByLabel(const QString& label)
{
    if (mList->count() == 0)
        return false;
    QString name;
    try {
        name = mServices.db()
                   .scalar(QStringLiteral(
                               "select CtlName from NameDict where CtlLabel=? and CheckTypeName=?"),
                       { label, mKind })
                   .toString()
                   .trimmed();
    } catch (const core::DbError&) {
    }
    if (name.isEmpty()) {
        mServices.prompter().inform(q("找不到对应的项目定义~~"), kPrompt);
        return false;
    }
    QWidget* found = control(name);
    if (!mSaved && !mSelectedName.isEmpty())
        saveItem(false);
    if (mSelected)
        highlight(mSelected, false);
    mSelected = found;
    mSelectedName = name;
    const QList<QListWidgetItem*> entries = mList->findItems(label, Qt::MatchExactly);
    if (!entries.isEmpty())
        mList->setCurrentItem(entries.first());
    if (mSelected) {
        highlight(mSelected, true);
        mSelected->raise();
    }
    loadItemFields();
    return true;
}

void TfmCheckDesign::selectControl(QWidget* control)
{
    if (!control || control == mSelected)
        return;
    selectByLabel(labelOf(control->property(kNameProperty).toString()));
}

void TfmCheckDesign::highlight(QWidget* control, bool on)
{
    if (control->property(kTypeProperty).toString() == u"SHAPE") {
        control->setStyleSheet(on
                ? QStringLiteral("QFrame { border: 2px solid blue; background: transparent; }")
                : QStringLiteral("QFrame { border: 2px solid red; background: transparent; }"));
        return;
    }
    control->setStyleSheet(on ? QStringLiteral("color: red") : QString());
}

void TfmCheckDesign::placeControl(QWidget* control, int x, int y, int w, int h)
{
    if (control)
        control->setGeometry(x, y, w, h);
}

void TfmCheckDesign::loadItemFields()
{
    mLoading = true;
    const QString label = labelOf(mSelectedName);
    check(QStringLiteral("ckHidden"))->setChecked(mSelected && mSelected->isHidden());
    QSqlQuery row;
    bool found = false;
    try {
        row = mServices.db().exec(
            QStringLiteral(
                "select CtlX, CtlY, SrcX, SrcY, SrcW, SrcH, InitValue, CtlFontSize, CtlFontName, "
                "NeedShow, "
                "Bold, Italic, UnderLine, BreakFontSize, CtlLH, BreakNum, FitParam from CKControl "
                "where CheckTypeID=? and upper(CtlName)=upper(?) order by ID"),
            { mTemplateId, mSelectedName });
        found = row.next();
    } catch (const core::DbError&) {
    }
    mStatus[0]->setText(q("当前调整:") + label);
    mStatus[1]->setText(mSelectedName);
    if (!found) {
        mLoading = false;
        mStatus[0]->setText(q("还没有该项打印配置信息,添加一个！"));
        saveItem(false);
        return;
    }
    field(QStringLiteral("ctlX"))->setValue(row.value(0).toInt());
    field(QStringLiteral("ctlY"))->setValue(row.value(1).toInt());
    field(QStringLiteral("SrcX"))->setValue(row.value(2).toInt());
    field(QStringLiteral("SrcY"))->setValue(row.value(3).toInt());
    field(QStringLiteral("SrcW"))->setValue(row.value(4).toInt());
    field(QStringLiteral("SrcH"))->setValue(row.value(5).toInt());
    placeControl(mSelected, row.value(2).toInt(), row.value(3).toInt(), row.value(4).toInt(),
        row.value(5).toInt());
    mDefault->setText(row.value(6).toString());
    field(QStringLiteral("CtlFontSize"))->setValue(row.value(7).toInt());
    mFontName->setCurrentText(row.value(8).toString());
    if (row.value(9).toInt() > 0)
        check(QStringLiteral("ckHidden"))->setChecked(false);
    else
        check(QStringLiteral("ckHidden"))->setChecked(true);
    check(QStringLiteral("ckBold"))->setChecked(row.value(10).toInt() > 0);
    check(QStringLiteral("ckItalic"))->setChecked(row.value(11).toInt() > 0);
    check(QStringLiteral("ckUnderLine"))->setChecked(row.value(12).toInt() > 0);
    const int breakFont = row.value(13).toInt();
    field(QStringLiteral("CtlBreakFontSize"))->setValue(breakFont < 6 ? 10 : breakFont);
    const int pitch = row.value(14).toInt();
    field(QStringLiteral("ctlLH"))->setValue(pitch <= 0 ? 50 : pitch);
    const QString breakNum = row.value(15).toString().trimmed();
    check(QStringLiteral("ckWordBreak"))->setChecked(!breakNum.isEmpty());
    field(QStringLiteral("WrapNum"))->setValue(breakNum.isEmpty() ? 60 : breakNum.toInt());
    const QString fitParam = row.value(16).toString().trimmed();
    check(QStringLiteral("ckFitPrint"))->setChecked(!fitParam.isEmpty());
    field(QStringLiteral("FitParam"))->setValue(fitParam.isEmpty() ? 20 : fitParam.toInt());
    updateFontSample();
    updateOptionCaptions();
    mLoading = false;
    mSaved = true;
}

QString TfmCheckDesign::itemCaption() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(mSelected))
        return edit->text();
    if (auto* box = qobject_cast<QCheckBox*>(mSelected))
        return q("勾选-") + box->text();
    return mList->currentItem() ? mList->currentItem()->text() : QStringLiteral("NULL");
}

bool TfmCheckDesign::saveItem(bool asked)
{
    core::Prompter& prompter = mServices.prompter();
    if (mSelectedName.isEmpty()) {
        const QString text = q("部分未启用项目，可以点击左侧列表中的数据项目选中！");
        if (asked)
            prompter.inform(text, kPrompt);
        else
            showMessage(text);
        return false;
    }
    const QString use = check(QStringLiteral("ckHidden"))->isChecked() ? QStringLiteral("0")
                                                                       : QStringLiteral("1");
    QString face = mFontName->currentText().trimmed();
    if (face.isEmpty())
        face = q("宋体");
    const auto flag = [this](const char* name) {
        return check(QString::fromLatin1(name))->isChecked() ? QStringLiteral("1")
                                                             : QStringLiteral("0");
    };
    const bool breaking = check(QStringLiteral("ckWordBreak"))->isChecked();
    const int breakFont = breaking ? field(QStringLiteral("CtlBreakFontSize"))->value() : 0;
    const QString breakNum
        = breaking ? QString::number(field(QStringLiteral("WrapNum"))->value()) : QString();
    const QString fitParam = check(QStringLiteral("ckFitPrint"))->isChecked()
        ? QString::number(field(QStringLiteral("FitParam"))->value())
        : QString();
    const int x = field(QStringLiteral("ctlX"))->value();
    const int y = field(QStringLiteral("ctlY"))->value();
    const int pitch = field(QStringLiteral("ctlLH"))->value();
    const int fontSize = field(QStringLiteral("CtlFontSize"))->value();
    const QString caption = itemCaption();
    LayoutRecorder recorder(*mUndo, mServices.db(), prompter, mTemplateId, { mSelectedName },
        q("修改【") + caption + q("】"), [this](const QStringList& names) { refreshItems(names); });
    int rows = 0;
    try {
        rows = mServices.db().execute(
            QStringLiteral("update CKControl set CtlX=?, CtlY=?, CtlLH=?, SrcX=?, SrcY=?, SrcW=?, "
                           "SrcH=?, NeedPrint=?, "
                           "NeedShow=?, CtlFontName=?, CtlFontSize=?, InitValue=?, Bold=?, "
                           "Italic=?, UnderLine=?, "
                           "FitParam=?, BreakFontSize=?, BreakNum=? where CheckTypeID=? and "
                           "upper(CtlName)=upper(?)"),
            { x, y, pitch, field(QStringLiteral("SrcX"))->value(),
                field(QStringLiteral("SrcY"))->value(), field(QStringLiteral("SrcW"))->value(),
                field(QStringLiteral("SrcH"))->value(), use, use, face, fontSize,
                mDefault->text().trimmed(), flag("ckBold"), flag("ckItalic"), flag("ckUnderLine"),
                fitParam, breakFont, breakNum, mTemplateId, mSelectedName });
        if (rows == 0) {
            rows = mServices.db().execute(
                QStringLiteral("insert into CKControl (CheckTypeID, CtlName, CtlCName, CtlX, CtlY, "
                               "CtlLH, SrcX, SrcY, "
                               "SrcH, SrcW, NeedPrint, NeedShow, CtlFontName, Bold, Italic, "
                               "UnderLine, FitParam, "
                               "BreakNum, CtlFontSize, BreakFontSize) values "
                               "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                { mTemplateId, mSelectedName,
                    mList->currentItem() ? mList->currentItem()->text() : labelOf(mSelectedName), x,
                    y, pitch, field(QStringLiteral("SrcX"))->value(),
                    field(QStringLiteral("SrcY"))->value(), 20, 100, use, use, face, flag("ckBold"),
                    flag("ckItalic"), flag("ckUnderLine"), fitParam, breakNum, fontSize,
                    breakFont });
            if (mSelected) {
                mSelected->raise();
                placeControl(mSelected, field(QStringLiteral("SrcX"))->value(),
                    field(QStringLiteral("SrcY"))->value(), 100, 20);
                const QSignalBlocker quietW(field(QStringLiteral("SrcW")));
                const QSignalBlocker quietH(field(QStringLiteral("SrcH")));
                field(QStringLiteral("SrcW"))->setValue(100);
                field(QStringLiteral("SrcH"))->setValue(20);
            }
        }
    } catch (const core::DbError&) {
        prompter.warn(q("保存设置失败！"), kPrompt);
        return false;
    }
    recorder.commit();
    if (rows > 0) {
        mSaved = true;
        if (asked)
            prompter.inform(QLatin1Char('\'') + caption + q("' 打印细节修改成功！"), kPrompt);
    } else if (asked) {
        prompter.inform(QLatin1Char('\'') + caption + q("' 打印细节没有变动！"), kPrompt);
    }
    return rows > 0;
}

void TfmCheckDesign::refreshItems(const QStringList& names)
{
    for (const QString& name : names) {
        if (name.compare(mSelectedName, Qt::CaseInsensitive) == 0) {
            loadItemFields();
            if (mSelected)
                mSelected->setVisible(!check(QStringLiteral("ckHidden"))->isChecked());
            continue;
        }
        QWidget* placeholder = control(name);
        if (!placeholder)
            continue;
        try {
            QSqlQuery row
                = mServices.db().exec(QStringLiteral("select SrcX, SrcY, SrcW, SrcH, NeedShow from "
                                                     "CKControl where CheckTypeID=? and "
                                                     "upper(CtlName)=upper(?)"),
                    { mTemplateId, name });
            if (row.next()) {
                placeholder->setGeometry(row.value(0).toInt(), row.value(1).toInt(),
                    row.value(2).toInt(), row.value(3).toInt());
                placeholder->setVisible(row.value(4).toInt() > 0);
            } else {
                placeholder->setGeometry(0, 0, 0, 0);
                placeholder->hide();
            }
        } catch (const core::DbError&) {
        }
    }
}

void TfmCheckDesign::fieldLeft(const QString& name)
{
    if (mLoading)
        return;
    if (mSelectedName.isEmpty()) {
        showMessage(kChooseItem);
        return;
    }
    Q_UNUSED(name);
    saveItem(false);
}

void TfmCheckDesign::screenFieldChanged()
{
    if (!mSelected)
        return;
    placeControl(mSelected, field(QStringLiteral("SrcX"))->value(),
        field(QStringLiteral("SrcY"))->value(), field(QStringLiteral("SrcW"))->value(),
        field(QStringLiteral("SrcH"))->value());
}

void TfmCheckDesign::keyMove(int key, Qt::KeyboardModifiers modifiers)
{
    if (!mSelected)
        return;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    QRect box = mSelected->geometry();
    if (ctrl) {
        const int step = shift ? 10 : 1;
        QString direction;
        switch (key) {
        case Qt::Key_Left:
            box.moveLeft(std::max(box.x() - step, 10));
            direction = q("左移了");
            break;
        case Qt::Key_Up:
            box.moveTop(std::max(box.y() - step, 10));
            direction = q("上移了");
            break;
        case Qt::Key_Right:
            box.moveLeft(std::min(box.x() + step, mPicture->width() - 10));
            direction = q("右移了");
            break;
        case Qt::Key_Down:
            box.moveTop(std::min(box.y() + step, mPicture->height() - 10));
            direction = q("下移了");
            break;
        default:
            return;
        }
        showMessage(
            direction + QString::number(step) + q("像素") + (step == 1 ? kMoveHint1 : kMoveHint10));
    } else if (shift) {
        switch (key) {
        case Qt::Key_Left:
            box.setWidth(std::max(box.width() - 1, 1));
            break;
        case Qt::Key_Right:
            box.setWidth(box.width() + 1);
            break;
        case Qt::Key_Up:
            box.setHeight(std::max(box.height() - 1, 1));
            break;
        case Qt::Key_Down:
            box.setHeight(box.height() + 1);
            break;
        default:
            return;
        }
    } else {
        return;
    }
    mSelected->setGeometry(box);
    for (const auto& [name, value] : { std::pair { "SrcX", box.x() }, std::pair { "SrcY", box.y() },
             std::pair { "SrcW", box.width() }, std::pair { "SrcH", box.height() } }) {
        const QSignalBlocker quiet(field(QString::fromLatin1(name)));
        field(QString::fromLatin1(name))->setValue(value);
    }
    mSaved = false;
}

void TfmCheckDesign::printArrow(Qt::ArrowType direction)
{
    if (mSelectedName.isEmpty()) {
        showMessage(direction == Qt::UpArrow ? kChooseItem : q("请选择左侧需要设置的项目！"));
        return;
    }
    QSpinBox* x = field(QStringLiteral("ctlX"));
    QSpinBox* y = field(QStringLiteral("ctlY"));
    QString moved;
    switch (direction) {
    case Qt::UpArrow:
        if (y->value() <= 9) {
            showMessage(kNotBelowZero);
            return;
        }
        y->setValue(y->value() - 10);
        moved = q("上移");
        break;
    case Qt::LeftArrow:
        if (x->value() <= 9) {
            showMessage(kNotBelowZero);
            return;
        }
        x->setValue(x->value() - 10);
        moved = q("左移");
        break;
    case Qt::DownArrow:
        if (y->value() > 3500)
            return;
        y->setValue(y->value() + 10);
        moved = q("下移");
        break;
    case Qt::RightArrow:
        if (x->value() > 3500)
            return;
        x->setValue(x->value() + 10);
        moved = q("右移");
        break;
    default:
        return;
    }
    saveItem(false);
    showMessage(q("【") + itemCaption() + q("】项目打印位置") + moved + q("了1毫米!"));
}

void TfmCheckDesign::defineCheckBoxes()
{
    if (mTemplateId <= 0 || !mLinks.askValue)
        return;
    QString current;
    try {
        current
            = mServices.db()
                  .scalar(QStringLiteral("select CheckBoxs from CKTypeTable where CheckTypeID=?"),
                      { mTemplateId })
                  .toString();
    } catch (const core::DbError&) {
        return;
    }
    const QString answer
        = mLinks.askValue(q("输入勾选项目(以逗号分隔,最多13个,不得重复)："), current);
    if (answer.isEmpty() || answer == current)
        return;
    QString labels = answer.trimmed();
    for (const QString& unwanted :
        { q("("), q(")"), q("（"), q("）"), q("'"), q("%"), q("*"), q("?"), q(" "), q("　") })
        labels.remove(unwanted);
    labels.replace(q("，"), q(","));
    if (labels.isEmpty()) {
        mServices.prompter().inform(q("输入了无效的字符(引号\\?\\*\\(\\)\\%)!"), kPrompt);
        return;
    }
    try {
        mServices.db().execute(
            QStringLiteral("update CKTypeTable set CheckBoxs=? where CheckTypeID=?"),
            { labels, mTemplateId });
    } catch (const core::DbError& error) {
        mServices.prompter().warn(error.message(), kPrompt);
        return;
    }
    layOutTemplate(mTemplateId, true);
}

void TfmCheckDesign::openDesigner()
{
    if (!mSaved && !mSelectedName.isEmpty())
        saveItem(false);
    if (!mLinks.openDesigner || mTemplateId <= 0)
        return;
    mLinks.openDesigner(mTemplateId);
    // The designer writes the same rows: show what it left.
    if (!mSelectedName.isEmpty())
        loadItemFields();
}

void TfmCheckDesign::finish()
{
    if (!mSaved && !mSelectedName.isEmpty())
        saveItem(false);
    if (mTemplateId > 0)
        mServices.settings().buildCheckIniFile(mTemplateId);
}

void TfmCheckDesign::done(int result)
{
    finish();
    QDialog::done(result);
}

void TfmCheckDesign::statusClicked()
{
    if (++mStatusClicks >= kMaintenanceClicks)
        mMaintenance->show();
}

void TfmCheckDesign::updateFontSample()
{
    QFont font(mFontName->currentText());
    font.setPointSize(field(QStringLiteral("CtlFontSize"))->value());
    font.setBold(check(QStringLiteral("ckBold"))->isChecked());
    font.setItalic(check(QStringLiteral("ckItalic"))->isChecked());
    font.setUnderline(check(QStringLiteral("ckUnderLine"))->isChecked());
    mFontSample->setFont(font);
}

void TfmCheckDesign::updateOptionCaptions()
{
    const bool breaking = check(QStringLiteral("ckWordBreak"))->isChecked();
    check(QStringLiteral("ckWordBreak"))->setText(breaking ? kBreakOn : kBreakOff);
    for (const char* name : { "WrapNum", "ctlLH", "CtlBreakFontSize" })
        field(QString::fromLatin1(name))->setVisible(breaking);
    const bool fit = check(QStringLiteral("ckFitPrint"))->isChecked();
    check(QStringLiteral("ckFitPrint"))->setText(fit ? kFitOn : kFitOff);
    field(QStringLiteral("FitParam"))->setVisible(fit);
}

bool TfmCheckDesign::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool arrow = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right
            || key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
        const bool mine = widget && (widget == this || isAncestorOf(widget)) && isActiveWindow();
        // Only the first receiver: the event is offered again to each parent it propagates to.
        const bool first = widget == QApplication::focusWidget()
            || (!QApplication::focusWidget() && widget == this);
        if (mine && first && arrow && mSelected) {
            const Qt::KeyboardModifiers mods
                = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
            auto* edit = qobject_cast<QLineEdit*>(widget);
            const bool typing = edit && !edit->isReadOnly();
            if ((mods & Qt::ControlModifier) || (mods == Qt::ShiftModifier && !typing)) {
                if (type == QEvent::KeyRelease && !key->isAutoRepeat())
                    keyMove(key->key(), mods);
                else if (type == QEvent::KeyPress && key->isAutoRepeat())
                    keyMove(key->key(), mods);
                return true;
            }
        }
        // Number fields: a key that is not part of a number ends the entry, like Enter.
        if (type == QEvent::KeyPress && widget && qobject_cast<QSpinBox*>(widget->parentWidget())
            && widget->parentWidget()->window() == this) {
            auto* box = static_cast<QSpinBox*>(widget->parentWidget());
            const QString text = key->text();
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && box->objectName() == u"ctlX") {
                field(QStringLiteral("ctlY"))->setFocus();
                return true;
            }
            if (!enter && !text.isEmpty() && text[0].isPrint() && !text[0].isDigit()
                && text[0] != QLatin1Char('.')) {
                box->interpretText();
                fieldLeft(box->objectName());
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    if (watched == mVariants && type == QEvent::FocusIn && mTemplateId > 0) {
        mServices.settings().buildCheckIniFile(mTemplateId);
    } else if (watched == mStatusBar && type == QEvent::MouseButtonPress) {
        statusClicked();
    } else if (watched == mPicture) {
        if (type == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            mStatus[0]->setText(QStringLiteral("(%1,%2)").arg(at.x() + 2).arg(at.y()));
        } else if (type == QEvent::MouseButtonPress && !mSelectedName.isEmpty()) {
            saveItem(false);
        }
    } else if (auto* placeholder = qobject_cast<QWidget*>(watched); placeholder
               && placeholder->parentWidget() == mPicture
               && placeholder->property(kNameProperty).isValid()) {
        switch (type) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return true;
            selectControl(placeholder);
            placeholder->setFocus();
            mDragFrom = mouse->position().toPoint();
            mDragging = true;
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!mDragging || placeholder != mSelected)
                return true;
            QPoint to = placeholder->mapToParent(mouse->position().toPoint()) - mDragFrom;
            to.setX(std::clamp(to.x(), 0, std::max(0, mPicture->width() - 5)));
            to.setY(std::clamp(to.y(), 0, std::max(0, mPicture->height() - 5)));
            placeholder->move(to);
            for (const auto& [name, value] :
                { std::pair { "SrcX", to.x() }, std::pair { "SrcY", to.y() } }) {
                const QSignalBlocker quiet(field(QString::fromLatin1(name)));
                field(QString::fromLatin1(name))->setValue(value);
            }
            mSaved = false;
            showMessage(q("拖动了【") + labelOf(mSelectedName)
                + q("】(精确移动请试试，Ctrl+方向键),拖动不会影响打印位置！"));
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (mDragging) {
                mDragging = false;
                saveItem(false);
            }
            return true;
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::FocusOut:
            if (placeholder == mSelected && !mSaved)
                saveItem(false);
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pennock::ui
