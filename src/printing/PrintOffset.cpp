#include "printing/PrintOffset.h"

#include "platform/Prompter.h"
#include "printing/PrinterCalibration.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/ImageShow.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace pennock::ui {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kPrompt = q("提示");
const QString kSaved = q("票据整体属性修改成功！");
const QString kUnchanged = q("票据整体属性没有变动！");

QString centimetres(int tenthMm) { return q("=") + QString::number(tenthMm / 100.0) + q("厘米"); }

} // namespace

TfrmPrintOffset::TfrmPrintOffset(
    core::Services& services, int templateId, Links links, QWidget* parent)
    : FacedDialog(services.settings(), parent)
    , mServices(services)
    , mLinks(std::move(links))
    , mPreselected(templateId)
{
    setObjectName(QStringLiteral("frmPrintOffset"));
    auto* layout = new QHBoxLayout(this);
    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("listCheckTypeName"));
    mList->setMinimumWidth(220);
    connect(mList, &QListWidget::itemClicked, this, [this] { loadFields(); });
    layout->addWidget(mList);
    auto* right = new QVBoxLayout;
    layout->addLayout(right, 1);
    mTypeName = new QLabel(q("请左侧选择要设定单据种类"), this);
    mTypeName->setObjectName(QStringLiteral("lbTypeName"));
    right->addWidget(mTypeName);

    auto* offset = new QGroupBox(q("票据整体打印偏移( 负号表示相反方向 )"), this);
    auto* grid = new QGridLayout(offset);
    const auto arrow = [this](const char* name, Qt::ArrowType type, int dx, int dy) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setArrowType(type);
        connect(b, &QToolButton::clicked, this, [this, dx, dy] { nudge(dx, dy); });
        return b;
    };
    grid->addWidget(new QLabel(q("整体打印右移："), offset), 0, 0);
    grid->addWidget(addField(QStringLiteral("XMove"), -3000, 3000,
                        q("打印的内容整体向右移动(向左移动用加负数来表示)")),
        0, 1);
    grid->addWidget(arrow("UpDown1Left", Qt::LeftArrow, -10, 0), 0, 2);
    grid->addWidget(arrow("UpDown1Right", Qt::RightArrow, 10, 0), 0, 3);
    grid->addWidget(new QLabel(q("整体打印下移："), offset), 1, 0);
    grid->addWidget(addField(QStringLiteral("YMove"), -3000, 3000,
                        q("打印的内容整体向下移动(向上移动用加负数来表示)")),
        1, 1);
    grid->addWidget(arrow("UpDown2Up", Qt::UpArrow, 0, -10), 1, 2);
    grid->addWidget(arrow("UpDown2Down", Qt::DownArrow, 0, 10), 1, 3);
    for (const char* name : { "lbMoveX", "lbMoveY" }) {
        auto* label = new QLabel(q("(厘米)"), offset);
        label->setObjectName(QString::fromLatin1(name));
        grid->addWidget(label, name[6] == 'X' ? 0 : 1, 4);
    }
    right->addWidget(offset);

    auto* feed = new QGroupBox(q("打印机进纸方向（平推一般是纵向）"), this);
    auto* feedRow = new QHBoxLayout(feed);
    mPortrait = new QRadioButton(q("纵向"), feed);
    mPortrait->setObjectName(QStringLiteral("rdZX"));
    mLandscape = new QRadioButton(q("横向"), feed);
    mLandscape->setObjectName(QStringLiteral("rdHX"));
    mPortrait->setChecked(true);
    feedRow->addWidget(mPortrait);
    feedRow->addWidget(mLandscape);
    for (const auto& [name, caption, landscape] :
        { std::tuple { "lbHaveALook1", "纵向进纸图示", false },
            std::tuple { "lbHaveALook2", "横向进纸图示", true } }) {
        auto* link = new QPushButton(q(caption), feed);
        link->setObjectName(QString::fromLatin1(name));
        link->setFlat(true);
        connect(link, &QPushButton::clicked, this,
            [this, landscape = landscape] { showFeedPicture(landscape); });
        feedRow->addWidget(link);
    }
    right->addWidget(feed);

    auto* screen = new QGroupBox(q("软件填开界面大小（影响填单界面，不影响打印效果）"), this);
    auto* screenRow = new QHBoxLayout(screen);
    screenRow->addWidget(new QLabel(q("界面宽："), screen));
    screenRow->addWidget(addField(QStringLiteral("edtTWidth"), 300, 1200, {}));
    screenRow->addWidget(new QLabel(q("界面高："), screen));
    screenRow->addWidget(addField(QStringLiteral("edtTHeight"), 200, 900, {}));
    right->addWidget(screen);

    auto* paper = new QGroupBox(q("票据实际大小( 影响预览效果，不影响打印效果)"), this);
    auto* paperRow = new QGridLayout(paper);
    paperRow->addWidget(new QLabel(q("票面宽："), paper), 0, 0);
    paperRow->addWidget(addField(QStringLiteral("edtPWidth"), 300, 3000, {}), 0, 1);
    paperRow->addWidget(new QLabel(q("票面高："), paper), 1, 0);
    paperRow->addWidget(addField(QStringLiteral("edtPHeight"), 200, 3000, {}), 1, 1);
    for (const char* name : { "lbWidth", "lbHeight" }) {
        auto* label = new QLabel(q("(厘米)"), paper);
        label->setObjectName(QString::fromLatin1(name));
        paperRow->addWidget(label, name[2] == 'W' ? 0 : 1, 2);
    }
    right->addWidget(paper);

    auto* calibration = new QGroupBox(q("打印机校准（用尺子量，纠正走纸偏差）"), this);
    calibration->setObjectName(QStringLiteral("gbCalibration"));
    auto* calGrid = new QGridLayout(calibration);
    mCalibration = new QLabel(calibration);
    mCalibration->setObjectName(QStringLiteral("lbCalibration"));
    mCalibration->setWordWrap(true);
    calGrid->addWidget(mCalibration, 0, 0, 1, 6);
    mNominal = new QLabel(calibration);
    mNominal->setObjectName(QStringLiteral("lbCalMarks"));
    mNominal->setWordWrap(true);
    calGrid->addWidget(mNominal, 1, 0, 1, 6);
    const char* measuredNames[4] = { "edCalX1", "edCalY1", "edCalX2", "edCalY2" };
    const char* measuredCaptions[4]
        = { "A点距左边：", "A点距上边：", "B点距左边：", "B点距上边：" };
    for (int i = 0; i < 4; ++i) {
        auto* box = new QDoubleSpinBox(calibration);
        box->setObjectName(QString::fromLatin1(measuredNames[i]));
        box->setRange(0, 3000);
        box->setDecimals(1);
        box->setSingleStep(0.5);
        box->setSuffix(q(" 毫米"));
        mMeasured[i] = box;
        calGrid->addWidget(new QLabel(q(measuredCaptions[i]), calibration), 2 + i / 2, (i % 2) * 2);
        calGrid->addWidget(box, 2 + i / 2, (i % 2) * 2 + 1);
    }
    const auto calCommand = [&](const char* name, const char* caption, auto handler, int column) {
        auto* b = new QPushButton(q(caption), calibration);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, handler);
        calGrid->addWidget(b, 2 + column / 2, 4 + column % 2);
        return b;
    };
    calCommand(
        "btCalSheet", "打印校准页", [this] { printCalibrationSheet(); }, 0)
        ->setEnabled(bool(mLinks.printSheet));
    calCommand(
        "btCalSave", "计算并保存校准", [this] { saveMeasuredCalibration(); }, 1);
    calCommand(
        "btCalReset", "清除校准", [this] { resetCalibration(); }, 2);
    right->addWidget(calibration);

    auto* buttons = new QHBoxLayout;
    const auto command = [&](const char* name, const char* caption, auto handler, bool enabled) {
        auto* b = new QPushButton(q(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setEnabled(enabled);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    command(
        "btSaveMove", "保存整体设置", [this] { save(false); }, true);
    command(
        "btPreviewIt", "预览",
        [this] {
            if (mLinks.preview && mTemplateId > 0)
                mLinks.preview(mTemplateId);
        },
        bool(mLinks.preview));
    command(
        "btPrintItemSet", "整体上差不多，我要调整某单项的打印位置",
        [this] {
            if (mLinks.design && mTemplateId > 0) {
                const int id = mTemplateId;
                accept();
                mLinks.design(id);
            }
        },
        bool(mLinks.design));
    command(
        "Button1", "结束设置", [this] { accept(); }, true);
    right->addLayout(buttons);
    auto* recommended = new QPushButton(q(">>到Pennock网站看看推荐的整体偏移设置"), this);
    recommended->setObjectName(QStringLiteral("Label25"));
    recommended->setFlat(true);
    recommended->setEnabled(bool(mLinks.recommended));
    connect(recommended, &QPushButton::clicked, this, [this] {
        if (mLinks.recommended)
            mLinks.recommended(mFullName);
    });
    right->addWidget(recommended);

    field(QStringLiteral("edtPWidth"))->setValue(2300);
    field(QStringLiteral("edtPHeight"))->setValue(1270);
    showReadOuts();
    showCalibration();
}

QSpinBox* TfrmPrintOffset::addField(const QString& name, int low, int high, const QString& hint)
{
    auto* box = new QSpinBox(this);
    box->setObjectName(name);
    box->setRange(low, high);
    box->setToolTip(hint);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    connect(box, &QSpinBox::valueChanged, this, [this] { showReadOuts(); });
    if (name == u"edtPWidth" || name == u"edtPHeight")
        connect(box, &QSpinBox::valueChanged, this, [this] { showCalibration(); });
    // Leaving an offset or a paper dimension writes it at once.
    if (name == u"XMove" || name == u"YMove" || name == u"edtPWidth" || name == u"edtPHeight")
        connect(box, &QSpinBox::editingFinished, this, [this] {
            if (mTemplateId > 0)
                save(true);
        });
    return box;
}

QSpinBox* TfrmPrintOffset::field(const QString& name) const { return findChild<QSpinBox*>(name); }

QPushButton* TfrmPrintOffset::button(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

QLabel* TfrmPrintOffset::readOut(const QString& name) const { return findChild<QLabel*>(name); }

void TfrmPrintOffset::showReadOuts()
{
    readOut(QStringLiteral("lbMoveX"))
        ->setText(centimetres(std::abs(field(QStringLiteral("XMove"))->value())));
    readOut(QStringLiteral("lbMoveY"))
        ->setText(centimetres(std::abs(field(QStringLiteral("YMove"))->value())));
    readOut(QStringLiteral("lbWidth"))
        ->setText(centimetres(field(QStringLiteral("edtPWidth"))->value()));
    readOut(QStringLiteral("lbHeight"))
        ->setText(centimetres(field(QStringLiteral("edtPHeight"))->value()));
}

void TfrmPrintOffset::open()
{
    mList->clear();
    try {
        QSqlQuery rows
            = mServices.db().exec(QStringLiteral("select distinct TypeName, CheckTypeID from "
                                                 "CKTypeTable where visiable=? order by TypeName"),
                { q("启用") });
        while (rows.next()) {
            const QString name = rows.value(0).toString();
            if (name.trimmed().isEmpty())
                continue;
            auto* item = new QListWidgetItem(name, mList);
            item->setData(Qt::UserRole, rows.value(1).toInt());
            if (rows.value(1).toInt() == mPreselected)
                mList->setCurrentItem(item);
        }
    } catch (const core::DbError&) {
    }
    if (!mList->currentItem() && mPreselected > 0)
        mServices.prompter().inform(q("没有找到编号为") + QString::number(mPreselected)
                + q("的票据，请查看是否存在或被隐藏。"),
            kPrompt);
    if (!mList->currentItem() && mList->count() > 0)
        mList->setCurrentRow(0);
    loadFields();
}

void TfrmPrintOffset::loadFields()
{
    if (!mList->currentItem() && mList->count() > 0)
        mList->setCurrentRow(0);
    const QListWidgetItem* item = mList->currentItem();
    if (!item)
        return;
    QVariantMap row;
    try {
        QSqlQuery q = mServices.db().exec(
            QStringLiteral(
                "select CheckTypeID, XMove, YMove, Twidth, Theight, PWidth, PHeight, HVPrint "
                "from CKTypeTable where CheckTypeID=?"),
            { item->data(Qt::UserRole) });
        if (!q.next()) {
            field(QStringLiteral("XMove"))->setValue(0);
            field(QStringLiteral("YMove"))->setValue(0);
            return;
        }
        mTemplateId = q.value(0).toInt();
        mFullName = item->text();
        const QSignalBlocker x(field(QStringLiteral("XMove")));
        field(QStringLiteral("XMove"))->setValue(q.value(1).toInt());
        field(QStringLiteral("YMove"))->setValue(q.value(2).toInt());
        field(QStringLiteral("edtTWidth"))->setValue(q.value(3).toInt());
        field(QStringLiteral("edtTHeight"))->setValue(q.value(4).toInt());
        field(QStringLiteral("edtPWidth"))
            ->setValue(q.value(5).toInt() > 0 ? q.value(5).toInt() : 2300);
        field(QStringLiteral("edtPHeight"))
            ->setValue(q.value(6).toInt() > 0 ? q.value(6).toInt() : 1270);
        const QString hv = q.value(7).toString().trimmed();
        (hv.isEmpty() || hv == u"0" ? mPortrait : mLandscape)->setChecked(true);
    } catch (const core::DbError&) {
        return;
    }
    mTypeName->setText(q("当前调整：") + mFullName);
    setWindowTitle(mFullName + QLatin1Char('-') + QString::number(mTemplateId));
    showReadOuts();
}

void TfrmPrintOffset::save(bool quiet)
{
    core::Prompter& prompter = mServices.prompter();
    if (mTemplateId <= 0) {
        prompter.inform(q("请选择要设置的票据类型！"), kPrompt);
        return;
    }
    int rows = 0;
    try {
        rows = mServices.db().execute(
            QStringLiteral(
                "update CKTypeTable set XMove=?, YMove=?, Theight=?, Twidth=?, PWidth=?, "
                "PHeight=?, HVPrint=? where CheckTypeID=?"),
            { field(QStringLiteral("XMove"))->value(), field(QStringLiteral("YMove"))->value(),
                field(QStringLiteral("edtTHeight"))->value(),
                field(QStringLiteral("edtTWidth"))->value(),
                field(QStringLiteral("edtPWidth"))->value(),
                field(QStringLiteral("edtPHeight"))->value(),
                mPortrait->isChecked() ? QStringLiteral("0") : QStringLiteral("1"), mTemplateId });
    } catch (const core::DbError&) {
        return; // the fields keep what they show
    }
    const QString outcome = rows > 0 ? kSaved : kUnchanged;
    if (quiet) {
        setWindowTitle(outcome);
    } else {
        prompter.inform(outcome, kPrompt);
        setWindowTitle(mTypeName->text());
    }
}

void TfrmPrintOffset::nudge(int dx, int dy)
{
    if (mTemplateId <= 0) {
        mServices.prompter().inform(q("请在左侧选择要设置的快递单据！"), kPrompt);
        return;
    }
    if (dx)
        field(QStringLiteral("XMove"))->setValue(field(QStringLiteral("XMove"))->value() + dx);
    if (dy)
        field(QStringLiteral("YMove"))->setValue(field(QStringLiteral("YMove"))->value() + dy);
    save(true);
}

void TfrmPrintOffset::showFeedPicture(bool landscape)
{
    TfrmImageShow viewer(this);
    QPixmap picture;
    picture.load(mServices.folder().path(
        landscape ? QStringLiteral("Image/sys_exHX.jpg") : QStringLiteral("Image/sys_exZX.jpg")));
    viewer.showPicture(picture.scaled(400, 400, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    viewer.resize(400, 400);
    viewer.exec();
}

QString TfrmPrintOffset::printerName() const
{
    return mLinks.printer ? mLinks.printer().trimmed() : QString();
}

std::pair<QPointF, QPointF> TfrmPrintOffset::calibrationMarks() const
{
    return core::PrinterCalibration::marks(
        QSizeF(field(QStringLiteral("edtPWidth"))->value() / 10.0,
            field(QStringLiteral("edtPHeight"))->value() / 10.0));
}

void TfrmPrintOffset::showCalibration()
{
    if (!mCalibration)
        return;
    const QString printer = printerName();
    const auto [a, b] = calibrationMarks();
    const auto mm = [](double v) { return QString::number(v, 'f', 1); };
    mNominal->setText(q("校准页上A点应在(") + mm(a.x()) + q(", ") + mm(a.y()) + q(")，B点应在(")
        + mm(b.x()) + q(", ") + mm(b.y()) + q(")毫米；请量出实际位置（距纸张左边、上边）填入："));
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(mMeasured[i]);
        mMeasured[i]->setValue(i == 0 ? a.x() : i == 1 ? a.y() : i == 2 ? b.x() : b.y());
    }
    const bool known = !printer.isEmpty();
    for (const char* name : { "btCalSave", "btCalReset" })
        button(QString::fromLatin1(name))->setEnabled(known);
    button(QStringLiteral("btCalSheet"))->setEnabled(known && bool(mLinks.printSheet));
    if (!known) {
        mCalibration->setText(q("没有票据打印机，无法校准。"));
        return;
    }
    const core::PrinterCalibration now
        = core::PrinterCalibration::load(mServices.settings().userIni(), printer);
    mCalibration->setText(q("打印机：") + printer + q("　")
        + (now.isIdentity() ? q("未校准") : q("已校准：") + now.describe()));
}

void TfrmPrintOffset::printCalibrationSheet()
{
    if (!mLinks.printSheet || printerName().isEmpty())
        return;
    const QSizeF paper(field(QStringLiteral("edtPWidth"))->value() / 10.0,
        field(QStringLiteral("edtPHeight"))->value() / 10.0);
    const QString failure = mLinks.printSheet(paper);
    if (!failure.isEmpty()) {
        mServices.prompter().warn(q("校准页没有打印出来：") + failure, q("错误"));
        return;
    }
    mServices.prompter().inform(q("校准页已送往打印机：") + printerName()
            + q("。\n请用尺子量出A、B两个十字中心距纸张左边和上边的毫米数，填入后点“计算并保存校准”"
                "。"),
        kPrompt);
}

bool TfrmPrintOffset::saveMeasuredCalibration()
{
    const QString printer = printerName();
    if (printer.isEmpty())
        return false;
    const std::optional<core::PrinterCalibration> calibration
        = core::PrinterCalibration::fromMeasured(calibrationMarks(),
            { QPointF(mMeasured[0]->value(), mMeasured[1]->value()),
                QPointF(mMeasured[2]->value(), mMeasured[3]->value()) });
    if (!calibration) {
        mServices.prompter().warn(
            q("量得的位置与校准页上的两个十字对不上（两点重合或比例相差过大），请重新测量。"),
            q("错误"));
        return false;
    }
    core::IniFile& ini = mServices.settings().userIni();
    calibration->store(ini, printer);
    if (!ini.flush()) {
        mServices.prompter().warn(q("校准没有保存：") + ini.errorString(), q("错误"));
        return false;
    }
    if (mLinks.calibrationChanged)
        mLinks.calibrationChanged();
    showCalibration();
    mServices.prompter().inform(
        q("打印机") + printer + q("的校准已保存：") + calibration->describe(), kPrompt);
    return true;
}

void TfrmPrintOffset::resetCalibration()
{
    const QString printer = printerName();
    if (printer.isEmpty())
        return;
    core::IniFile& ini = mServices.settings().userIni();
    core::PrinterCalibration::reset(ini, printer);
    if (!ini.flush())
        mServices.prompter().warn(q("校准没有清除：") + ini.errorString(), q("错误"));
    if (mLinks.calibrationChanged)
        mLinks.calibrationChanged();
    showCalibration();
}

} // namespace pennock::ui
