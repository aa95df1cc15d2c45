#include "printing/TemplateDesigner.h"

#include "platform/Prompter.h"
#include "printing/LayoutUndo.h"
#include "printing/Services.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/TemplateLookups.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace pennock::ui {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kGroupHint = q("例如: 数量*");
const QColor kSelectedColour(255, 80, 80);
const QColor kItemColour(255, 255, 210);
const char* const kItemProperty = "itemName";

// Rounding to the nearest integer, ties to even.
int r(double value) { return int(std::nearbyint(value)); }

} // namespace

TfmTemplateDesigner::TfmTemplateDesigner(
    core::Services& services, int templateId, Links links, QWidget* parent)
    : QDialog(parent)
    , mServices(services)
    , mLinks(std::move(links))
    , mTemplateId(templateId)
{
    setObjectName(QStringLiteral("TfmTemplateDesigner"));
    setWindowTitle(q("打印预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        mDpi = qRound(screen->logicalDotsPerInchX());
    mUndo = new QUndoStack(this);
    resize(1100, 760);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setMenuBar(undoMenuBar(*mUndo, this));

    mTitle = new QLabel(this);
    mTitle->setObjectName(QStringLiteral("LbTitle"));
    mTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = mTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 3);
    mTitle->setFont(titleFont);
    layout->addWidget(mTitle);
    mChrome << mTitle;

    // Paper row.
    auto* paperRow = new QWidget(this);
    auto* paper = new QHBoxLayout(paperRow);
    paper->setContentsMargins(0, 0, 0, 0);
    paper->addWidget(new QLabel(q("原始单据宽度:"), paperRow));
    mPaperW = new QDoubleSpinBox(paperRow);
    mPaperW->setObjectName(QStringLiteral("edtPWidth"));
    mPaperW->setDecimals(2);
    mPaperW->setRange(1, 100);
    paper->addWidget(mPaperW);
    paper->addWidget(new QLabel(q("高度:"), paperRow));
    mPaperH = new QDoubleSpinBox(paperRow);
    mPaperH->setObjectName(QStringLiteral("edtPHeight"));
    mPaperH->setDecimals(2);
    mPaperH->setRange(1, 100);
    paper->addWidget(mPaperH);
    paper->addWidget(new QLabel(q("厘米"), paperRow));
    auto* savePaper = new QPushButton(q("【保存票据设置】"), paperRow);
    savePaper->setObjectName(QStringLiteral("btSaveXY"));
    paper->addWidget(savePaper);
    paper->addWidget(new QLabel(q("底图源"), paperRow));
    mPreImage = new QLineEdit(paperRow);
    mPreImage->setObjectName(QStringLiteral("edtPreImage"));
    mPreImage->setReadOnly(true);
    paper->addWidget(mPreImage, 1);
    auto* browse = new QPushButton(q("浏览"), paperRow);
    browse->setObjectName(QStringLiteral("btPicBrowse"));
    browse->setEnabled(bool(mLinks.choosePicture));
    paper->addWidget(browse);
    layout->addWidget(paperRow);
    mChrome << paperRow;

    // Tool row: selection, moving, step, zoom.
    auto* toolRow = new QWidget(this);
    auto* tools = new QHBoxLayout(toolRow);
    tools->setContentsMargins(0, 0, 0, 0);
    auto* selectBox = new QGroupBox(q("选取"), toolRow);
    selectBox->setObjectName(QStringLiteral("RadioGrpSel"));
    auto* selectRow = new QHBoxLayout(selectBox);
    mSingle = new QRadioButton(q("单选"), selectBox);
    mMany = new QRadioButton(q("多选"), selectBox);
    mSingle->setChecked(true);
    selectRow->addWidget(mSingle);
    selectRow->addWidget(mMany);
    tools->addWidget(selectBox);
    tools->addWidget(new QLabel(q("分组:"), toolRow));
    mGroups = new QComboBox(toolRow);
    mGroups->setObjectName(QStringLiteral("cbSelGroup"));
    mGroups->setEditable(true);
    mGroups->setToolTip(q("请选择分组"));
    mGroups->addItem(kGroupHint);
    mGroups->setEnabled(false);
    mGroups->setMinimumWidth(110);
    mGroups->installEventFilter(this);
    tools->addWidget(mGroups);
    for (const auto& [name, caption, dx, dy] : { std::tuple { "btMoveUp", "上移", 0, -1 },
             std::tuple { "btMoveDown", "下移", 0, 1 }, std::tuple { "btMoveLeft", "左移", -1, 0 },
             std::tuple { "btMoveRight", "右移", 1, 0 } }) {
        auto* b = new QPushButton(q(caption), toolRow);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoRepeat(true);
        connect(b, &QPushButton::clicked, this, [this, b, dx = dx, dy = dy] {
            b->setEnabled(false);
            moveSelection(dx * mStep, dy * mStep);
            b->setEnabled(true);
        });
        tools->addWidget(b);
    }
    mStepBar = new QSlider(Qt::Horizontal, toolRow);
    mStepBar->setObjectName(QStringLiteral("StepLenth"));
    mStepBar->setRange(1, 100);
    mStepBar->setFixedWidth(110);
    tools->addWidget(mStepBar);
    mStepText = new QLabel(toolRow);
    mStepText->setMinimumWidth(44);
    tools->addWidget(mStepText);
    for (int quick : { 1, 2, 3, 5, 10 }) {
        auto* b = new QPushButton(QString::number(quick), toolRow);
        b->setObjectName(QStringLiteral("btStep") + QString::number(quick));
        b->setFixedWidth(26);
        connect(b, &QPushButton::clicked, this, [this, quick] { setStep(quick * 10); });
        tools->addWidget(b);
    }
    mZoomBox = new QComboBox(toolRow);
    mZoomBox->setObjectName(QStringLiteral("cbZoom"));
    mZoomBox->setEditable(true);
    mZoomBox->addItems({ QStringLiteral("150"), QStringLiteral("120"), QStringLiteral("100"),
        QStringLiteral("80"), QStringLiteral("50") });
    mZoomBox->setCurrentText(QStringLiteral("100"));
    tools->addWidget(mZoomBox);
    tools->addWidget(new QLabel(QStringLiteral("%"), toolRow));
    mTransparent = new QCheckBox(q("透明底色"), toolRow);
    mTransparent->setObjectName(QStringLiteral("ckTransparent"));
    tools->addWidget(mTransparent);
    auto* full = new QPushButton(q("满屏"), toolRow);
    full->setObjectName(QStringLiteral("btMaxVeiw"));
    tools->addWidget(full);
    tools->addStretch();
    layout->addWidget(toolRow);

    // Lists, page, properties.
    auto* middle = new QHBoxLayout;
    auto* lists = new QVBoxLayout;
    lists->addWidget(new QLabel(q("可用的:"), this));
    mAvailable = new QListWidget(this);
    mAvailable->setObjectName(QStringLiteral("lstAllCtlNames"));
    mAvailable->setContextMenuPolicy(Qt::CustomContextMenu);
    mAvailable->viewport()->installEventFilter(this);
    lists->addWidget(mAvailable, 2);
    lists->addWidget(new QLabel(q("选中的:"), this));
    mChosen = new QListWidget(this);
    mChosen->setObjectName(QStringLiteral("lstSelectedNames"));
    mChosen->setContextMenuPolicy(Qt::CustomContextMenu);
    mChosen->viewport()->installEventFilter(this);
    lists->addWidget(mChosen, 1);
    auto* listPanel = new QWidget(this);
    listPanel->setLayout(lists);
    listPanel->setFixedWidth(170);
    middle->addWidget(listPanel);

    mScroll = new QScrollArea(this);
    mScroll->setBackgroundRole(QPalette::Dark);
    mPage = new QLabel;
    mPage->setObjectName(QStringLiteral("pnPage"));
    mPage->setAutoFillBackground(true);
    mPage->setBackgroundRole(QPalette::Window);
    QPalette white = mPage->palette();
    white.setColor(QPalette::Window, Qt::white);
    mPage->setPalette(white);
    mPage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mPage->setScaledContents(true);
    mPage->installEventFilter(this);
    mScroll->setWidget(mPage);
    middle->addWidget(mScroll, 1);

    auto* side = new QVBoxLayout;
    mProperties = new QWidget(this);
    mProperties->setObjectName(QStringLiteral("pnProperties"));
    auto* props = new QGridLayout(mProperties);
    int row = 0;
    const auto number
        = [&](const char* caption, const char* name, int low, int high, int column = 0) {
              auto* box = new QSpinBox(mProperties);
              box->setObjectName(QString::fromLatin1(name));
              box->setRange(low, high);
              box->setKeyboardTracking(false);
              props->addWidget(new QLabel(q(caption), mProperties), row, column);
              props->addWidget(box, row, column + 1);
              connect(box, &QSpinBox::valueChanged, this,
                  [this, n = QString::fromLatin1(name)] { propertyChanged(n); });
              return box;
          };
    number("距左:", "edtCtlX", 0, 3000);
    number("距顶:", "edtCtlY", 0, 3000, 2);
    ++row;
    number("区域高:", "edtCtlH", 0, 3000);
    number("区域宽:", "edtCtlW", 0, 3000, 2);
    ++row;
    props->addWidget(new QLabel(q("打印字体:"), mProperties), row, 0);
    mFontName = new QComboBox(mProperties);
    mFontName->setObjectName(QStringLiteral("cbFontName"));
    mFontName->setEditable(true);
    props->addWidget(mFontName, row, 1, 1, 3);
    connect(mFontName, &QComboBox::activated, this,
        [this] { propertyChanged(QStringLiteral("cbFontName")); });
    ++row;
    number("字号:", "edtFontSize", 6, 20);
    ++row;
    auto* styles = new QHBoxLayout;
    for (const auto& [name, caption] : { std::pair { "ckBold", "粗体" },
             std::pair { "ckItalic", "斜体" }, std::pair { "ckUnderline", "下划线" } }) {
        auto* box = new QCheckBox(q(caption), mProperties);
        box->setObjectName(QString::fromLatin1(name));
        connect(box, &QCheckBox::toggled, this,
            [this, n = QString::fromLatin1(name)] { propertyChanged(n); });
        styles->addWidget(box);
    }
    props->addLayout(styles, row, 0, 1, 4);
    ++row;
    auto* multiLine = new QCheckBox(q("无需换行打印."), mProperties);
    multiLine->setObjectName(QStringLiteral("ckMutiLineOn"));
    props->addWidget(multiLine, row, 0, 1, 2);
    auto* breakNum = new QSpinBox(mProperties);
    breakNum->setObjectName(QStringLiteral("edtBreakNum"));
    breakNum->setRange(1, 200);
    breakNum->setKeyboardTracking(false);
    props->addWidget(breakNum, row, 2);
    connect(breakNum, &QSpinBox::valueChanged, this,
        [this] { propertyChanged(QStringLiteral("edtBreakNum")); });
    connect(multiLine, &QCheckBox::toggled, this,
        [this] { propertyChanged(QStringLiteral("ckMutiLineOn")); });
    ++row;
    number("行高:", "edtLineH", 25, 200);
    number("换行字号:", "edtFontSizeBreak", 6, 20, 2);
    ++row;
    auto* widthAve = new QCheckBox(q("无需等宽打印."), mProperties);
    widthAve->setObjectName(QStringLiteral("ckWidthAveOn"));
    props->addWidget(widthAve, row, 0, 1, 2);
    connect(widthAve, &QCheckBox::toggled, this,
        [this] { propertyChanged(QStringLiteral("ckWidthAveOn")); });
    ++row;
    number("字宽:", "edtAveWidth", 20, 200);
    props->addWidget(new QLabel(q("( 邮编等格子项目)"), mProperties), row, 2, 1, 2);
    ++row;
    props->addWidget(new QLabel(q("测试数据："), mProperties), row, 0);
    mTestData = new QComboBox(mProperties);
    mTestData->setObjectName(QStringLiteral("cbTestData"));
    mTestData->setEditable(true);
    mTestData->addItems({ q("测试数据"), q("测试数据测试数据测试数据测试数据测试数据"),
        QStringLiteral("ABCDEFGHIJ"), QStringLiteral("1234567890") });
    for (int digit = 0; digit <= 9; ++digit)
        mTestData->addItem(QString::number(digit));
    props->addWidget(mTestData, row, 1, 1, 2);
    auto* updateTest = new QPushButton(q("更新测试"), mProperties);
    updateTest->setObjectName(QStringLiteral("btUpdateTest"));
    props->addWidget(updateTest, row, 3);
    connect(updateTest, &QPushButton::clicked, this,
        [this] { updateSample(mTestData->currentText()); });
    ++row;
    props->addWidget(new QLabel(q("默认值："), mProperties), row, 0);
    mDefault = new QLineEdit(mProperties);
    mDefault->setObjectName(QStringLiteral("edtDefaultValue"));
    props->addWidget(mDefault, row, 1, 1, 3);
    connect(mDefault, &QLineEdit::editingFinished, this,
        [this] { propertyChanged(QStringLiteral("edtDefaultValue")); });
    ++row;
    auto* saveBoxButton = new QPushButton(q("【保存项目设置】"), mProperties);
    saveBoxButton->setObjectName(QStringLiteral("btSaveXYWH"));
    props->addWidget(saveBoxButton, row, 0, 1, 4);
    connect(saveBoxButton, &QPushButton::clicked, this, [this] { saveBox(); });
    props->setRowStretch(row + 1, 1);
    side->addWidget(mProperties);

    mBatchPages = new QTabWidget(this);
    mBatchPages->setObjectName(QStringLiteral("pcBatch"));
    {
        auto* page = new QWidget;
        auto* row1 = new QHBoxLayout(page);
        auto* size = new QSpinBox(page);
        size->setObjectName(QStringLiteral("cbTabFontSize"));
        size->setRange(8, 20);
        size->setValue(11);
        row1->addWidget(size);
        auto* apply = new QPushButton(q("批量应用"), page);
        apply->setObjectName(QStringLiteral("btBatchFontSize"));
        connect(apply, &QPushButton::clicked, this, [this, size] { batchFontSize(size->value()); });
        row1->addWidget(apply);
        mBatchPages->addTab(page, q("批量改字号"));
    }
    {
        auto* page = new QWidget;
        auto* row1 = new QHBoxLayout(page);
        auto* face = new QComboBox(page);
        face->setObjectName(QStringLiteral("cbTabFontName"));
        face->setEditable(true);
        face->setCurrentText(QString());
        row1->addWidget(face, 1);
        auto* apply = new QPushButton(q("批量应用"), page);
        apply->setObjectName(QStringLiteral("btBatchFontName"));
        connect(apply, &QPushButton::clicked, this,
            [this, face] { batchFontName(face->currentText()); });
        row1->addWidget(apply);
        mBatchPages->addTab(page, q("批量改字体"));
    }
    {
        auto* page = new QWidget;
        auto* grid = new QGridLayout(page);
        const std::pair<const char*, Batch> commands[] = { { "等宽-最窄", Batch::NarrowestWidth },
            { "等宽-最宽", Batch::WidestWidth }, { "等高-最矮", Batch::LowestHeight },
            { "等高-最高", Batch::HighestHeight }, { "+宽", Batch::Wider },
            { "-宽", Batch::Narrower }, { "+高", Batch::Higher }, { "-高", Batch::Lower },
            { "最左对齐", Batch::Left }, { "最右对齐", Batch::Right }, { "最顶对齐", Batch::Top },
            { "最底对齐", Batch::Bottom } };
        int index = 0;
        for (const auto& [caption, command] : commands) {
            auto* b = new QPushButton(q(caption), page);
            b->setObjectName(QStringLiteral("btBatch") + QString::number(index));
            connect(b, &QPushButton::clicked, this, [this, c = command] { batch(c); });
            grid->addWidget(b, index / 4, index % 4);
            ++index;
        }
        mBatchPages->addTab(page, q("批量对齐、大小"));
    }
    {
        auto* page = new QWidget;
        auto* grid = new QGridLayout(page);
        grid->addWidget(new QLabel(q("递增宽度:"), page), 0, 0);
        auto* incX = new QSpinBox(page);
        incX->setObjectName(QStringLiteral("edtIncreaseX"));
        incX->setRange(20, 1000);
        incX->setValue(40);
        grid->addWidget(incX, 0, 1);
        auto* across = new QPushButton(q("批量应用-横向"), page);
        across->setObjectName(QStringLiteral("btDistributeX"));
        grid->addWidget(across, 0, 2);
        grid->addWidget(new QLabel(q("递增高度:"), page), 1, 0);
        auto* incY = new QSpinBox(page);
        incY->setObjectName(QStringLiteral("edtIncreaseY"));
        incY->setRange(20, 1000);
        incY->setValue(50);
        grid->addWidget(incY, 1, 1);
        auto* down = new QPushButton(q("批量应用-纵向"), page);
        down->setObjectName(QStringLiteral("btDistributeY"));
        grid->addWidget(down, 1, 2);
        connect(
            across, &QPushButton::clicked, this, [this, incX] { distribute(true, incX->value()); });
        connect(
            down, &QPushButton::clicked, this, [this, incY] { distribute(false, incY->value()); });
        mBatchPages->addTab(page, q("批量纵向分布"));
    }
    mBatchPages->hide();
    side->addWidget(mBatchPages);
    side->addStretch();
    auto* sidePanel = new QWidget(this);
    sidePanel->setLayout(side);
    sidePanel->setFixedWidth(330);
    middle->addWidget(sidePanel);
    layout->addLayout(middle, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        mStatus[i] = new QLabel(status);
        mStatus[i]->setMinimumWidth(i == 3 ? 300 : 90);
        status->addWidget(mStatus[i], i == 3 ? 1 : 0);
    }
    mStatus[3]->setObjectName(QStringLiteral("Message"));
    layout->addWidget(status);
    mChrome << toolRow;

    const QStringList families = QFontDatabase::families();
    for (auto it = families.crbegin(); it != families.crend(); ++it) {
        if (it->startsWith(QLatin1Char('@')))
            continue;
        mFontName->addItem(*it);
        findChild<QComboBox*>(QStringLiteral("cbTabFontName"))->addItem(*it);
    }
    if (families.isEmpty())
        mServices.prompter().warn(q("载入字体库异常！"), q("提示"));
    findChild<QComboBox*>(QStringLiteral("cbTabFontName"))->setCurrentIndex(-1);

    connect(savePaper, &QPushButton::clicked, this,
        [this] { savePaperSize(mPaperW->value(), mPaperH->value()); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = mLinks.choosePicture ? mLinks.choosePicture() : QString();
        QPixmap picture;
        if (!file.isEmpty() && picture.load(file))
            mPage->setPixmap(picture);
    });
    connect(mSingle, &QRadioButton::toggled, this, [this](bool on) { setMultiple(!on); });
    connect(mGroups, &QComboBox::activated, this, [this] { selectGroup(mGroups->currentText()); });
    connect(mStepBar, &QSlider::valueChanged, this, [this](int value) { setStep(value); });
    connect(mZoomBox, &QComboBox::currentTextChanged, this,
        [this](const QString& text) { setZoom(text); });
    connect(mTransparent, &QCheckBox::toggled, this, [this] { paintSelection(); });
    connect(full, &QPushButton::clicked, this, [this, full] {
        const bool restore = full->text() == q("返回");
        for (QWidget* chrome : mChrome)
            chrome->setVisible(restore);
        full->setText(restore ? q("满屏") : q("返回"));
        if (restore)
            showNormal();
        else
            showMaximized();
    });
    connect(mAvailable, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (mSelected.isEmpty())
            clickItem(item->data(Qt::UserRole).toString());
    });
    connect(mAvailable, &QListWidget::itemDoubleClicked, this,
        [this](QListWidgetItem* item) { selectOnly(item->data(Qt::UserRole).toString()); });
    connect(mAvailable, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu popup(this);
        QAction* all = popup.addAction(q("全选"));
        QAction* invert = popup.addAction(q("反选"));
        QAction* chosen = popup.exec(mAvailable->viewport()->mapToGlobal(at));
        if (chosen == all)
            selectAll();
        else if (chosen == invert)
            invertSelection();
    });
    connect(mChosen, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu popup(this);
        QAction* clear = popup.addAction(q("清空选择"));
        if (popup.exec(mChosen->viewport()->mapToGlobal(at)) == clear)
            clearSelection();
    });
    setStep(5);
}

QSpinBox* TfmTemplateDesigner::field(const QString& name) const
{
    return findChild<QSpinBox*>(name);
}

QCheckBox* TfmTemplateDesigner::check(const QString& name) const
{
    return findChild<QCheckBox*>(name);
}

QString TfmTemplateDesigner::message() const { return mStatus[3]->text(); }

void TfmTemplateDesigner::say(const QString& text) { mStatus[3]->setText(text); }

int TfmTemplateDesigner::toPixels(int tenthMm) const { return r(tenthMm / 10.0 / mScale); }

int TfmTemplateDesigner::toPaper(int pixels) const { return r(pixels * 10 * mScale); }

std::function<void(const QStringList&)> TfmTemplateDesigner::refresher()
{
    return [this](const QStringList& changed) {
        for (const QString& name : changed)
            redrawItem(name);
        if (mSelected.size() == 1 && changed.contains(mSelected.first(), Qt::CaseInsensitive))
            loadProperties();
    };
}

bool TfmTemplateDesigner::load()
{
    core::TemplateLookups& lookups = mServices.templates();
    mKind = core::loadCheckTypeFirstNameByID(mServices.db(), mTemplateId).trimmed();
    if (mTemplateId <= 0 || mKind.isEmpty()) {
        mServices.prompter().inform(q("没有找到对应的单据信息~"), q("提示"));
        return false;
    }
    const QString fullName = lookups.loadCheckTypeFullNameByID(mTemplateId);
    mTitle->setText(q("【") + fullName + q("】打印设置"));
    mStatus[0]->setText(fullName);
    mStatus[1]->setText(QString::number(mTemplateId));
    int width = 2300;
    int height = 1270;
    try {
        QSqlQuery row = mServices.db().exec(
            QStringLiteral(
                "select PWidth, PHeight, PreImgURL, ImgFile from CKTypeTable where CheckTypeID=?"),
            { mTemplateId });
        if (row.next()) {
            // The form itself under the items, stretched to the paper like the proof.
            QPixmap picture;
            const QString image = row.value(3).toString().trimmed();
            if (!image.isEmpty()
                && picture.load(mServices.folder().path(QStringLiteral("Image/") + image)))
                mPage->setPixmap(picture);
            if (row.value(0).toInt() > 0)
                width = row.value(0).toInt();
            if (row.value(1).toInt() > 0)
                height = row.value(1).toInt();
            mPreImage->setText(row.value(2).toString());
        }
    } catch (const core::DbError& error) {
        say(error.message());
    }
    mWidthMm = width / 10.0;
    mHeightMm = height / 10.0;
    mPaperW->setValue(width / 100.0);
    mPaperH->setValue(height / 100.0);
    drawAll();
    loadList();
    if (QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        resize(std::min(mPage->width() + 560, room.width()),
            std::min(std::max(mPage->height() + 260, 700), room.height()));
    }
    return true;
}

void TfmTemplateDesigner::setZoom(const QString& percent)
{
    bool ok = false;
    int zoom = percent.trimmed().toInt(&ok);
    if (!ok || zoom < 10 || zoom > 400) {
        zoom = 100;
        const QSignalBlocker quiet(mZoomBox);
        mZoomBox->setCurrentText(QStringLiteral("100"));
    }
    mZoom = zoom;
    drawAll();
}

void TfmTemplateDesigner::setStep(int tenthMm)
{
    mStep = std::clamp(tenthMm, 1, 100);
    {
        const QSignalBlocker quiet(mStepBar);
        mStepBar->setValue(mStep);
    }
    mStepText->setText(QString::number(mStep / 10.0) + QStringLiteral("mm"));
    for (const char* name : { "edtCtlX", "edtCtlY", "edtCtlH", "edtCtlW" })
        field(QString::fromLatin1(name))->setSingleStep(mStep);
}

std::optional<TfmTemplateDesigner::DrawnItem> TfmTemplateDesigner::readItem(const QString& name)
{
    QSqlQuery row = mServices.db().exec(
        QStringLiteral(
            "select a.CtlName, a.CtlX, a.CtlY, a.CtlLH, a.CtlFontName, a.CtlFontSize, "
            "a.BreakFontSize, "
            "a.ctlFontColor, a.Bold, a.Italic, a.UnderLine, a.FitParam, a.BreakNum, a.CtlW, "
            "a.CtlH, a.SrcW, "
            "a.SrcH, b.CtlData, b.CtlLabel from CKControl a, NameDict b where a.CtlName=b.CtlName "
            "and "
            "a.NeedPrint=1 and b.PrintItem=1 and upper(a.CtlName)=upper(?) and a.CheckTypeID=? and "
            "b.CheckTypeName=? order by a.ID"),
        { name, mTemplateId, mKind });
    if (!row.next())
        return std::nullopt;
    DrawnItem item;
    core::ItemLayout& layout = item.layout;
    layout.name = row.value(0).toString();
    layout.x = row.value(1).toInt();
    layout.y = row.value(2).toInt();
    layout.linePitch = row.value(3).toInt();
    layout.fontName = row.value(4).toString();
    layout.fontSize = row.value(5).toInt();
    layout.breakFontSize = row.value(6).toInt();
    layout.fontColor = row.value(7).toString();
    layout.bold = row.value(8).toInt();
    layout.italic = row.value(9).toInt();
    layout.underline = row.value(10).toInt();
    layout.fitParam = row.value(11).toString().trimmed();
    layout.breakNum = row.value(12).toString().trimmed();
    item.boxW = row.value(13).toInt();
    item.boxH = row.value(14).toInt();
    if (item.boxW <= 0 || item.boxH <= 0) {
        // A box never set takes the item's size on the fill-in screen.
        item.boxW = toPaper(row.value(15).toInt());
        item.boxH = toPaper(row.value(16).toInt());
        mServices.db().execute(QStringLiteral("update CKControl set CtlW=?, CtlH=? where "
                                              "CheckTypeID=? and upper(CtlName)=upper(?)"),
            { item.boxW, item.boxH, mTemplateId, name });
    }
    item.sample = row.value(17).toString().trimmed();
    if (item.sample.isEmpty())
        item.sample = row.value(18).toString().trimmed();
    return item;
}

void TfmTemplateDesigner::drawAll()
{
    const QList<QWidget*> old = mPage->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* widget : old)
        delete widget;
    mItems.clear();
    const int pageWidthPx = std::max(1, r(mWidthMm / 25.4 * mDpi * mZoom / 100.0));
    mScale = mWidthMm / pageWidthPx;
    mPage->setFixedSize(pageWidthPx, toPixels(int(std::lround(mHeightMm * 10))));
    if (mTemplateId <= 0) {
        setWindowTitle(q("未知的单据"));
        return;
    }
    try {
        QSqlQuery rows = mServices.db().exec(
            QStringLiteral(
                "select a.CtlName from CKControl a, NameDict b where a.CtlName=b.CtlName and "
                "a.NeedPrint=1 "
                "and b.PrintItem=1 and a.CheckTypeID=? and b.CheckTypeName=? order by a.ID"),
            { mTemplateId, mKind });
        QStringList names;
        while (rows.next())
            names << rows.value(0).toString();
        for (const QString& name : names)
            if (const std::optional<DrawnItem> item = readItem(name)) {
                mItems.insert(name.toUpper(), *item);
                drawItem(name, *item);
            }
    } catch (const core::DbError& error) {
        say(error.message());
    }
    paintSelection();
}

void TfmTemplateDesigner::removeLabels(const QString& name)
{
    for (QLabel* label : labelsOf(name))
        delete label;
}

void TfmTemplateDesigner::redrawItem(const QString& name)
{
    removeLabels(name);
    mItems.remove(name.toUpper());
    try {
        if (const std::optional<DrawnItem> item = readItem(name)) {
            mItems.insert(name.toUpper(), *item);
            drawItem(name, *item);
        }
    } catch (const core::DbError& error) {
        say(error.message());
    }
    paintSelection();
}

void TfmTemplateDesigner::drawItem(const QString& name, const DrawnItem& item)
{
    // The print engine decides lines, fonts and cells, so the page shows what the paper gets.
    core::PrintEngine planner(mServices.db(), mServices.prompter());
    const core::PlannedItem planned = planner.planItem(item.layout, 0, 0, item.sample, {});
    const int pitch = item.layout.linePitch <= 0 ? 50 : item.layout.linePitch;
    const bool broken = [&] {
        int lines = 0;
        for (const core::PrintRun& run : planned.runs)
            if (run.kind != core::PrintRun::Kind::FontOnly)
                lines = std::max(lines, (run.y - item.layout.y) / pitch + 1);
        return lines > 1;
    }();
    const auto place = [&](const QString& labelName, const QString& text, int x, int y,
                           const core::PrintFont& font) {
        auto* label = new QLabel(text, mPage);
        label->setObjectName(labelName);
        label->setToolTip(name);
        label->setProperty(kItemProperty, name.toUpper());
        QFont shown(font.family);
        // Points on paper become pixels of the page at its scale.
        shown.setPixelSize(std::max(1, r(std::max(font.pointSize, 1) * 25.4 / 72.0 / mScale)));
        shown.setBold(font.bold);
        shown.setItalic(font.italic);
        shown.setUnderline(font.underline);
        label->setFont(shown);
        label->adjustSize();
        label->move(toPixels(x), toPixels(y));
        label->installEventFilter(this);
        label->show();
    };
    for (const core::PrintRun& run : planned.runs) {
        const int line = (run.y - item.layout.y) / pitch;
        const QString lineName = broken
            ? name.toUpper() + QStringLiteral("L") + QString::number(line)
            : name.toUpper();
        if (run.kind == core::PrintRun::Kind::Text) {
            place(lineName, run.text, run.x, run.y, run.font);
        } else if (run.kind == core::PrintRun::Kind::Cells) {
            int cell = 0;
            for (qsizetype i = 0; i < run.text.size(); ++cell) {
                const qsizetype units
                    = run.text[i].isHighSurrogate() && i + 1 < run.text.size() ? 2 : 1;
                const QString character = run.text.mid(i, units);
                if (!character.trimmed().isEmpty())
                    place(lineName + QStringLiteral("R") + QString::number(cell + 1), character,
                        run.x + cell * run.cellPitch, run.y, run.font);
                i += units;
            }
        }
    }
}

QList<QLabel*> TfmTemplateDesigner::labelsOf(const QString& name) const
{
    QList<QLabel*> found;
    const QList<QLabel*> labels = mPage->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (QLabel* label : labels)
        if (label->property(kItemProperty).toString() == name.toUpper())
            found << label;
    return found;
}

QLabel* TfmTemplateDesigner::label(const QString& labelName) const
{
    return mPage->findChild<QLabel*>(labelName, Qt::FindDirectChildrenOnly);
}

void TfmTemplateDesigner::paintSelection()
{
    const QList<QLabel*> labels = mPage->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (QLabel* label : labels) {
        const bool selected
            = mSelected.contains(label->property(kItemProperty).toString(), Qt::CaseInsensitive);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, selected ? kSelectedColour : kItemColour);
        label->setPalette(palette);
        label->setBackgroundRole(QPalette::Window);
        label->setAutoFillBackground(selected || !mTransparent->isChecked());
    }
}

QString TfmTemplateDesigner::labelText(const QString& name)
{
    QString label;
    try {
        label = mServices.db()
                    .scalar(QStringLiteral("select CtlLabel from NameDict where CheckTypeName=? "
                                           "and upper(CtlName)=upper(?)"),
                        { mKind, name })
                    .toString();
    } catch (const core::DbError&) {
    }
    return label.isEmpty() ? q("错误") : label;
}

void TfmTemplateDesigner::loadList()
{
    mAvailable->clear();
    try {
        QSqlQuery rows = mServices.db().exec(
            QStringLiteral(
                "select a.CtlName, a.CtlCName from CKControl a, NameDict b where "
                "a.CtlName=b.CtlName and "
                "b.CheckTypeName=? and b.PrintItem=1 and a.NeedPrint=1 and a.CheckTypeID=? "
                "order by b.ShowOrd desc"),
            { mKind, mTemplateId });
        while (rows.next()) {
            auto* item = new QListWidgetItem(
                rows.value(1).toString() + QLatin1Char('=') + rows.value(0).toString(), mAvailable);
            item->setData(Qt::UserRole, rows.value(0).toString().toUpper());
        }
    } catch (const core::DbError& error) {
        say(error.message());
    }
}

void TfmTemplateDesigner::showSelection()
{
    mChosen->clear();
    for (const QString& name : mSelected) {
        auto* item = new QListWidgetItem(labelText(name) + QLatin1Char('=') + name, mChosen);
        item->setData(Qt::UserRole, name);
    }
    const bool many = mSelected.size() >= 2;
    mProperties->setVisible(!many && !mMultiple);
    mBatchPages->setVisible(many);
    mStatus[2]->setText(mSelected.size() == 1 ? mSelected.first() : QString());
    paintSelection();
    if (mSelected.size() == 1)
        loadProperties();
}

void TfmTemplateDesigner::setMultiple(bool multiple)
{
    mMultiple = multiple;
    {
        const QSignalBlocker a(mSingle);
        const QSignalBlocker b(mMany);
        (multiple ? mMany : mSingle)->setChecked(true);
    }
    mGroups->setEnabled(multiple);
    if (!multiple)
        mSelected.clear();
    showSelection();
    if (!multiple) {
        mProperties->show();
        mBatchPages->hide();
    }
}

void TfmTemplateDesigner::clickItem(const QString& name)
{
    const QString key = name.toUpper();
    if (!mMultiple) {
        const bool was = mSelected.contains(key);
        mSelected.clear();
        if (!was)
            mSelected << key;
    } else if (mSelected.contains(key)) {
        mSelected.removeAll(key);
    } else {
        mSelected << key;
    }
    showSelection();
}

void TfmTemplateDesigner::selectOnly(const QString& name)
{
    mSelected = { name.toUpper() };
    showSelection();
}

void TfmTemplateDesigner::selectAll()
{
    setMultiple(true);
    mSelected.clear();
    for (int i = 0; i < mAvailable->count(); ++i)
        mSelected << mAvailable->item(i)->data(Qt::UserRole).toString();
    showSelection();
}

void TfmTemplateDesigner::invertSelection()
{
    QStringList inverted;
    for (int i = 0; i < mAvailable->count(); ++i) {
        const QString name = mAvailable->item(i)->data(Qt::UserRole).toString();
        if (!mSelected.contains(name))
            inverted << name;
    }
    if (inverted.size() > 1 && !mMultiple)
        setMultiple(true);
    mSelected = inverted;
    showSelection();
}

void TfmTemplateDesigner::clearSelection()
{
    mSelected.clear();
    showSelection();
}

void TfmTemplateDesigner::selectGroup(const QString& text)
{
    const QString group = text.trimmed();
    if (group.isEmpty() || group == kGroupHint)
        return;
    if (!mMultiple)
        setMultiple(true);
    QStringList found;
    try {
        QSqlQuery rows = group.contains(QLatin1Char('*'))
            ? mServices.db().exec(
                QStringLiteral("select CtlName from NameDict where PrintItem=1 and CheckTypeName=? "
                               "and CtlLabel like ? order by ShowOrd"),
                { mKind, QString(group).replace(QLatin1Char('*'), QLatin1Char('%')) })
            : mServices.db().exec(
                QStringLiteral("select CtlName from NameDict where PrintItem=1 and CheckTypeName=? "
                               "and Groups=? order by ShowOrd"),
                { mKind, group });
        while (rows.next())
            found << rows.value(0).toString().toUpper();
    } catch (const core::DbError& error) {
        say(q("分组获取失败") + error.message());
        return;
    }
    mSelected = found;
    showSelection();
}

void TfmTemplateDesigner::loadProperties()
{
    if (mSelected.size() != 1)
        return;
    QSqlQuery row;
    try {
        row = mServices.db().exec(
            QStringLiteral("select CtlX, CtlY, CtlW, CtlH, SrcW, SrcH, CtlFontSize, CtlFontName, "
                           "Bold, Italic, UnderLine, "
                           "BreakNum, BreakFontSize, CtlLH, FitParam, InitValue from CKControl "
                           "where CheckTypeID=? and "
                           "upper(CtlName)=upper(?) order by ID"),
            { mTemplateId, mSelected.first() });
        if (!row.next())
            return;
    } catch (const core::DbError& error) {
        say(error.message());
        return;
    }
    mLoading = true;
    field(QStringLiteral("edtCtlY"))->setMaximum(std::max(0, int(std::lround(mHeightMm * 10)) - 5));
    field(QStringLiteral("edtCtlX"))->setValue(row.value(0).toInt());
    field(QStringLiteral("edtCtlY"))->setValue(row.value(1).toInt());
    const int w = row.value(2).toInt();
    const int h = row.value(3).toInt();
    field(QStringLiteral("edtCtlW"))->setValue(w > 0 ? w : toPaper(row.value(4).toInt()));
    field(QStringLiteral("edtCtlH"))->setValue(h > 0 ? h : toPaper(row.value(5).toInt()));
    const int fontSize = row.value(6).toInt();
    field(QStringLiteral("edtFontSize"))->setValue(fontSize);
    const QString face = row.value(7).toString().trimmed();
    mFontName->setCurrentText(face.isEmpty() ? q("宋体") : face);
    check(QStringLiteral("ckBold"))->setChecked(row.value(8).toInt() == 1);
    check(QStringLiteral("ckItalic"))->setChecked(row.value(9).toInt() == 1);
    check(QStringLiteral("ckUnderline"))->setChecked(row.value(10).toInt() == 1);
    const QString breakNum = row.value(11).toString().trimmed();
    const bool breaking = !breakNum.isEmpty();
    check(QStringLiteral("ckMutiLineOn"))->setChecked(breaking);
    check(QStringLiteral("ckMutiLineOn"))
        ->setText(breaking ? q("需换行,超过     汉字换行打印.") : q("无需换行打印."));
    field(QStringLiteral("edtBreakNum"))->setValue(breaking ? breakNum.toInt() : 50);
    field(QStringLiteral("edtFontSizeBreak"))
        ->setValue(breaking ? row.value(12).toInt() : fontSize);
    const int pitch = row.value(13).toInt();
    field(QStringLiteral("edtLineH"))->setValue(pitch <= 0 ? 50 : pitch);
    const QString fit = row.value(14).toString().trimmed();
    check(QStringLiteral("ckWidthAveOn"))->setChecked(!fit.isEmpty());
    check(QStringLiteral("ckWidthAveOn"))
        ->setText(fit.isEmpty() ? q("无需等宽打印.") : q("需等宽打印,"));
    field(QStringLiteral("edtAveWidth"))
        ->setValue(fit.isEmpty() ? field(QStringLiteral("edtAveWidth"))->minimum() : fit.toInt());
    mDefault->setText(row.value(15).toString());
    const auto found = mItems.constFind(mSelected.first());
    mTestData->setCurrentText(found != mItems.cend() ? found->sample : QString());
    mLoading = false;
}

bool TfmTemplateDesigner::saveColumn(
    const QString& name, const QString& column, const QVariant& value)
{
    if (name.isEmpty())
        return false;
    try {
        QSqlQuery rows = mServices.db().exec(
            QStringLiteral(
                "select ID, %1 from CKControl where CheckTypeID=? and upper(CtlName)=upper(?)")
                .arg(column),
            { mTemplateId, name });
        QList<QVariant> ids;
        QVariant current;
        while (rows.next()) {
            ids << rows.value(0);
            current = rows.value(1);
        }
        if (ids.size() > 1) {
            say(q("保存出错,同一个项目多条记录=！") + name + QLatin1Char(',')
                + QString::number(mTemplateId));
            return false;
        }
        if (ids.size() != 1 || current.toString() == value.toString())
            return false;
        LayoutRecorder recorder(*mUndo, mServices.db(), mServices.prompter(), mTemplateId, { name },
            name + QLatin1Char(':') + column, refresher());
        mServices.db().execute(QStringLiteral("update CKControl set %1=? where ID=?").arg(column),
            { value, ids.first() });
        recorder.commit();
        say(name + QLatin1Char(':') + column + QLatin1Char('=') + value.toString()
            + q("属性保存成功~"));
        return true;
    } catch (const core::DbError& error) {
        say(q("保存错误") + error.message());
        return false;
    }
}

void TfmTemplateDesigner::propertyChanged(const QString& fieldName)
{
    if (mLoading || mSelected.size() != 1)
        return;
    const QString name = mSelected.first();
    const auto number = [this](const char* f) { return field(QString::fromLatin1(f))->value(); };
    const auto flag = [this](const char* c) {
        return check(QString::fromLatin1(c))->isChecked() ? QStringLiteral("1")
                                                          : QStringLiteral("0");
    };
    bool redraw = true;
    if (fieldName == u"edtCtlX")
        saveColumn(name, QStringLiteral("CtlX"), number("edtCtlX"));
    else if (fieldName == u"edtCtlY")
        saveColumn(name, QStringLiteral("CtlY"), number("edtCtlY"));
    else if (fieldName == u"edtCtlH")
        saveColumn(name, QStringLiteral("CtlH"), number("edtCtlH"));
    else if (fieldName == u"edtCtlW")
        saveColumn(name, QStringLiteral("CtlW"), number("edtCtlW"));
    else if (fieldName == u"cbFontName")
        saveColumn(name, QStringLiteral("CtlFontName"),
            mFontName->currentText().trimmed().isEmpty() ? q("宋体")
                                                         : mFontName->currentText().trimmed());
    else if (fieldName == u"edtFontSize")
        saveColumn(name, QStringLiteral("CtlFontSize"), number("edtFontSize"));
    else if (fieldName == u"edtLineH")
        saveColumn(name, QStringLiteral("CtlLH"), number("edtLineH"));
    else if (fieldName == u"edtFontSizeBreak")
        saveColumn(name, QStringLiteral("BreakFontSize"), number("edtFontSizeBreak"));
    else if (fieldName == u"edtBreakNum") {
        if (check(QStringLiteral("ckMutiLineOn"))->isChecked())
            saveColumn(name, QStringLiteral("BreakNum"), QString::number(number("edtBreakNum")));
    } else if (fieldName == u"edtAveWidth") {
        if (check(QStringLiteral("ckWidthAveOn"))->isChecked())
            saveColumn(name, QStringLiteral("FitParam"), QString::number(number("edtAveWidth")));
    } else if (fieldName == u"ckBold")
        saveColumn(name, QStringLiteral("Bold"), flag("ckBold"));
    else if (fieldName == u"ckItalic")
        saveColumn(name, QStringLiteral("Italic"), flag("ckItalic"));
    else if (fieldName == u"ckUnderline")
        saveColumn(name, QStringLiteral("UnderLine"), flag("ckUnderline"));
    else if (fieldName == u"edtDefaultValue") {
        saveColumn(name, QStringLiteral("InitValue"), mDefault->text());
        redraw = false;
    } else if (fieldName == u"ckMutiLineOn") {
        const bool on = check(QStringLiteral("ckMutiLineOn"))->isChecked();
        // One step for the three columns the tick decides.
        mUndo->beginMacro(q("换行打印"));
        if (on) {
            saveColumn(name, QStringLiteral("BreakNum"), QString::number(number("edtBreakNum")));
            saveColumn(name, QStringLiteral("BreakFontSize"), number("edtFontSizeBreak"));
            saveColumn(name, QStringLiteral("CtlLH"), number("edtLineH"));
        } else {
            saveColumn(name, QStringLiteral("BreakNum"), QString());
        }
        mUndo->endMacro();
        check(QStringLiteral("ckMutiLineOn"))
            ->setText(on ? q("需换行,超过     汉字换行打印.") : q("无需换行打印."));
    } else if (fieldName == u"ckWidthAveOn") {
        const bool on = check(QStringLiteral("ckWidthAveOn"))->isChecked();
        saveColumn(name, QStringLiteral("FitParam"),
            on ? QString::number(number("edtAveWidth")) : QString());
        check(QStringLiteral("ckWidthAveOn"))->setText(on ? q("需等宽打印,") : q("无需等宽打印."));
        if (on)
            mServices.prompter().inform(
                q("等宽打印勾选后，需要修改字宽后才生效（大于25=2.5mm）！"), q("提示"));
    }
    if (redraw)
        redrawItem(name);
}

void TfmTemplateDesigner::saveBox()
{
    if (mSelected.size() > 1) {
        mServices.prompter().inform(q("单选一个项目才可以保存！"), q("提示"));
        return;
    }
    if (mSelected.isEmpty())
        return;
    const QString name = mSelected.first();
    mUndo->beginMacro(q("保存项目设置"));
    saveColumn(name, QStringLiteral("CtlY"), field(QStringLiteral("edtCtlY"))->value());
    saveColumn(name, QStringLiteral("CtlX"), field(QStringLiteral("edtCtlX"))->value());
    saveColumn(name, QStringLiteral("CtlW"), field(QStringLiteral("edtCtlW"))->value());
    saveColumn(name, QStringLiteral("CtlH"), field(QStringLiteral("edtCtlH"))->value());
    mUndo->endMacro();
    redrawItem(name);
}

void TfmTemplateDesigner::redrawSelection()
{
    for (const QString& name : mSelected)
        redrawItem(name);
    if (mSelected.size() == 1)
        loadProperties();
}

void TfmTemplateDesigner::moveSelection(int dx, int dy)
{
    if (mSelected.isEmpty())
        return;
    const QString column = dx != 0 ? QStringLiteral("CtlX") : QStringLiteral("CtlY");
    const int by = dx != 0 ? dx : dy;
    LayoutRecorder recorder(*mUndo, mServices.db(), mServices.prompter(), mTemplateId, mSelected,
        q("移动项目"), refresher());
    try {
        core::Transaction transaction(mServices.db());
        for (const QString& name : mSelected) {
            const QString sql = QStringLiteral(
                "update CKControl set %1=%1+(%2) where CheckTypeID=? and upper(CtlName)=upper(?)")
                                    .arg(column)
                                    .arg(by);
            if (mServices.db().execute(sql, { mTemplateId, name }) != 1) {
                say(q("修改错误！") + sql);
                return;
            }
        }
        transaction.commit();
    } catch (const core::DbError& error) {
        say(q("移动项目,修改错误！") + error.message());
        return;
    }
    recorder.commit();
    redrawSelection();
}

void TfmTemplateDesigner::batch(Batch command)
{
    if (mSelected.isEmpty())
        return;
    core::Database& db = mServices.db();
    QString column;
    QString text;
    std::optional<int> common;
    int delta = 0;
    bool useMax = false;
    int fallback = 0;
    switch (command) {
    case Batch::Left:
        column = QStringLiteral("CtlX"), text = q("批量修改最左对齐成功！");
        break;
    case Batch::Right:
        column = QStringLiteral("CtlX"), text = q("批量修改最右对齐成功！"), useMax = true;
        break;
    case Batch::Top:
        column = QStringLiteral("CtlY"), text = q("批量修改距最顶对齐成功！");
        break;
    case Batch::Bottom:
        column = QStringLiteral("CtlY"), text = q("批量修改距最底对齐成功！"), useMax = true;
        break;
    case Batch::WidestWidth:
        column = QStringLiteral("CtlW"), text = q("批量修改等量宽度（最宽）成功！"), useMax = true,
        fallback = 120;
        break;
    case Batch::NarrowestWidth:
        column = QStringLiteral("CtlW"), text = q("个批量修改等量宽度(最窄)成功！"), fallback = 35;
        break;
    case Batch::HighestHeight:
        column = QStringLiteral("CtlH"), text = q("批量修改等量高度（最高）成功！"), useMax = true,
        fallback = 40;
        break;
    case Batch::LowestHeight:
        column = QStringLiteral("CtlH"), text = q("个批量修改等量高度(最矮)成功！"), fallback = 40;
        break;
    case Batch::Wider:
        column = QStringLiteral("CtlW"), text = q("个批量加宽成功！"), delta = mStep;
        break;
    case Batch::Narrower:
        column = QStringLiteral("CtlW"), text = q("个批量减宽成功！"), delta = -mStep;
        break;
    case Batch::Higher:
        column = QStringLiteral("CtlH"), text = q("个批量加高成功！"), delta = mStep;
        break;
    case Batch::Lower:
        column = QStringLiteral("CtlH"), text = q("个批量减高成功！"), delta = -mStep;
        break;
    }
    LayoutRecorder recorder(
        *mUndo, db, mServices.prompter(), mTemplateId, mSelected, text, refresher());
    int changed = 0;
    try {
        core::Transaction transaction(db);
        if (delta == 0) {
            QVariantList values { mTemplateId };
            for (const QString& name : mSelected)
                values << name;
            const QString marks = QStringLiteral("?,").repeated(mSelected.size()).chopped(1);
            const QVariant extreme = db.scalar(
                QStringLiteral(
                    "select %1(%2) from CKControl where CheckTypeID=? and upper(CtlName) in (%3)")
                    .arg(useMax ? QStringLiteral("max") : QStringLiteral("min"), column, marks),
                values);
            int value = extreme.toInt();
            if (fallback > 0 && value <= 0)
                value = fallback;
            common = value;
            for (const QString& name : mSelected)
                changed += db.execute(
                    QStringLiteral("update CKControl set %1=? where CheckTypeID=? and "
                                   "upper(CtlName)=upper(?) and %1<>?")
                        .arg(column),
                    { value, mTemplateId, name, value });
        } else {
            for (const QString& name : mSelected) {
                const int rows = delta > 0
                    ? db.execute(QStringLiteral("update CKControl set %1=%1+%2 where CheckTypeID=? "
                                                "and upper(CtlName)=upper(?)")
                                     .arg(column)
                                     .arg(delta),
                        { mTemplateId, name })
                    : db.execute(
                        QStringLiteral("update CKControl set %1=%1-%2 where CheckTypeID=? and "
                                       "upper(CtlName)=upper(?) and %1>%2")
                            .arg(column)
                            .arg(-delta),
                        { mTemplateId, name });
                if (rows == 0 && delta < 0)
                    say(name + q("的") + column + q("更新失败！"));
                changed += rows;
            }
        }
        transaction.commit();
    } catch (const core::DbError& error) {
        say(QStringLiteral("Error:") + error.message());
        return;
    }
    recorder.commit();
    if (changed > 0)
        say(QString::number(changed) + text);
    else if (delta >= 0)
        say(q("影响了0个项目！"));
    redrawSelection();
}

void TfmTemplateDesigner::batchSet(
    const QString& column, const QVariant& value, const QString& step, const QString& done)
{
    LayoutRecorder recorder(
        *mUndo, mServices.db(), mServices.prompter(), mTemplateId, mSelected, step, refresher());
    int changed = 0;
    try {
        core::Transaction transaction(mServices.db());
        for (const QString& name : mSelected)
            changed += mServices.db().execute(
                QStringLiteral(
                    "update CKControl set %1=? where CheckTypeID=? and upper(CtlName)=upper(?)")
                    .arg(column),
                { value, mTemplateId, name });
        transaction.commit();
    } catch (const core::DbError& error) {
        say(QStringLiteral("Error:") + error.message());
        return;
    }
    recorder.commit();
    say(changed > 0 ? QString::number(changed) + done : q("影响了0个项目！"));
    redrawSelection();
}

void TfmTemplateDesigner::batchFontSize(int size)
{
    if (!mSelected.isEmpty())
        batchSet(
            QStringLiteral("CtlFontSize"), size, q("批量改字号"), q("修改字号（字体大小）成功！"));
}

void TfmTemplateDesigner::batchFontName(const QString& face)
{
    if (mSelected.isEmpty())
        return;
    if (face.trimmed().isEmpty()) {
        say(q("字体必须选择"));
        return;
    }
    batchSet(QStringLiteral("CtlFontName"), face.trimmed(), q("批量改字体"), q("修改字体成功！！"));
}

void TfmTemplateDesigner::distribute(bool across, int increment)
{
    if (mSelected.size() < 2)
        return;
    const QString column = across ? QStringLiteral("CtlX") : QStringLiteral("CtlY");
    core::Database& db = mServices.db();
    LayoutRecorder recorder(
        *mUndo, db, mServices.prompter(), mTemplateId, mSelected, q("批量分布"), refresher());
    int changed = 0;
    try {
        const QVariant base = db.scalar(
            QStringLiteral(
                "select %1 from CKControl where CheckTypeID=? and upper(CtlName)=upper(?)")
                .arg(column),
            { mTemplateId, mSelected.first() });
        if (!base.isValid() || base.isNull()) {
            say(across ? q("没有找到第一个项目的距左参数,中断分布动作！")
                       : q("没有找到第一个项目的距顶参数,中断分布动作！"));
            return;
        }
        core::Transaction transaction(db);
        for (qsizetype i = 1; i < mSelected.size(); ++i)
            changed += db.execute(
                QStringLiteral(
                    "update CKControl set %1=? where CheckTypeID=? and upper(CtlName)=upper(?)")
                    .arg(column),
                { base.toInt() + int(i) * increment, mTemplateId, mSelected[i] });
        transaction.commit();
    } catch (const core::DbError& error) {
        say(QStringLiteral("Error:") + error.message());
        return;
    }
    recorder.commit();
    say(changed > 0 ? QString::number(changed) + q("个等宽分布修改成功！") : q("影响了0个项目！"));
    redrawSelection();
}

void TfmTemplateDesigner::updateSample(const QString& text)
{
    if (mSelected.size() != 1)
        return;
    try {
        const int rows = mServices.db().execute(
            QStringLiteral(
                "update NameDict set CtlData=? where CheckTypeName=? and upper(CtlName)=upper(?)"),
            { text.trimmed(), mKind, mSelected.first() });
        if (rows == 1) {
            say(q("更新成功！"));
            redrawItem(mSelected.first());
        } else {
            say(q("测试值更新失败.没有有效的行！"));
        }
    } catch (const core::DbError& error) {
        say(q("更新失败！") + error.message());
    }
}

bool TfmTemplateDesigner::savePaperSize(double widthCm, double heightCm)
{
    if (r(heightCm * 10) > 320) {
        mServices.prompter().inform(q("失败，票据最高不能大于32厘米。"), q("提示"));
        return false;
    }
    if (r(widthCm * 10) > 300) {
        mServices.prompter().inform(q("失败，票据最宽不能大于30厘米。"), q("提示"));
        return false;
    }
    const int width = r(widthCm * 100);
    const int height = r(heightCm * 100);
    try {
        mServices.db().execute(
            QStringLiteral("update CKTypeTable set PWidth=?, PHeight=? where CheckTypeID=?"),
            { width, height, mTemplateId });
    } catch (const core::DbError& error) {
        say(q("保存错误") + error.message());
        return false;
    }
    mServices.prompter().inform(q("底图实际长和宽保存成功！"), q("提示"));
    mWidthMm = width / 10.0;
    mHeightMm = height / 10.0;
    drawAll();
    if (mLinks.paperSaved)
        mLinks.paperSaved();
    return true;
}

bool TfmTemplateDesigner::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == mPage && type == QEvent::MouseButtonPress) {
        say(QStringLiteral("%1 x %2").arg(mPage->width()).arg(mPage->height()));
        return false;
    }
    if (watched == mGroups && type == QEvent::FocusIn && mGroups->count() <= 1) {
        try {
            QSqlQuery rows = mServices.db().exec(
                QStringLiteral("select distinct Groups from NameDict where CheckTypeName=?"),
                { mKind });
            mGroups->clear();
            while (rows.next())
                if (!rows.value(0).toString().trimmed().isEmpty())
                    mGroups->addItem(rows.value(0).toString());
            mGroups->addItem(kGroupHint);
        } catch (const core::DbError& error) {
            say(q("分组获取失败") + error.message());
        }
        return false;
    }
    if ((watched == mAvailable->viewport() || watched == mChosen->viewport())
        && type == QEvent::Wheel) {
        QListWidget* list = watched == mAvailable->viewport() ? mAvailable : mChosen;
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0 && list->count() > 0)
            list->setCurrentRow(
                std::clamp(list->currentRow() + (delta > 0 ? -1 : 1), 0, list->count() - 1));
        return true;
    }
    auto* label = qobject_cast<QLabel*>(watched);
    if (!label || label->parentWidget() != mPage)
        return QDialog::eventFilter(watched, event);
    const QString name = label->property(kItemProperty).toString();
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return true;
        clickItem(name);
        if (mSelected.size() == 1 && mSelected.first() == name) {
            mDragging = name;
            mDragFrom = mouse->globalPosition().toPoint();
            mDragged = false;
            mDragTotal = QPoint();
        }
        return true;
    case QEvent::MouseMove:
        if (mDragging == name && (mouse->buttons() & Qt::LeftButton)) {
            const QPoint by = mouse->globalPosition().toPoint() - mDragFrom;
            mDragFrom = mouse->globalPosition().toPoint();
            for (QLabel* piece : labelsOf(name))
                piece->move(piece->pos() + by);
            mDragTotal += by;
            if (mItems.contains(name)) {
                const DrawnItem& item = mItems[name];
                mLoading = true;
                field(QStringLiteral("edtCtlX"))->setValue(item.layout.x + toPaper(mDragTotal.x()));
                field(QStringLiteral("edtCtlY"))->setValue(item.layout.y + toPaper(mDragTotal.y()));
                mLoading = false;
            }
            mDragged = true;
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (mDragging == name) {
            mDragging.clear();
            if (mDragged)
                saveBox();
        }
        return true;
    case QEvent::MouseButtonDblClick:
        selectOnly(name);
        return true;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pennock::ui
