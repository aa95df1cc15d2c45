#include "printing/PrinterParam.h"

#include "platform/Prompter.h"
#include "printing/PrinterBinding.h"
#include "printing/Services.h"
#include "templates/PrinterPresets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {

const QString kNotice = QStringLiteral("提示");

QWidget* withUnit(QWidget* field, const QString& unit)
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field);
    row->addWidget(new QLabel(unit));
    row->addStretch();
    return box;
}

QComboBox* directionBox(const QString& name, bool editable)
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(editable);
    box->addItems({ QStringLiteral("纵向"), QStringLiteral("横向") });
    box->setCurrentIndex(-1);
    return box;
}

QSpinBox* offsetBox(const QString& name)
{
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(-3000, 3000);
    return box;
}

void setDirection(QComboBox* box, const QString& direction)
{
    if (box->isEditable())
        box->setCurrentText(direction);
    else
        box->setCurrentIndex(box->findText(direction));
}

} // namespace

TfrmPrinterParam::TfrmPrinterParam(core::Services& services, PrinterBinding& binding,
    VendorLinks links, const QString& lockedPrinter, QWidget* parent)
    : QDialog(parent)
    , mServices(services)
    , mBinding(binding)
    , mLinks(std::move(links))
{
    setObjectName(QStringLiteral("frmPrinterParam"));
    setWindowTitle(QStringLiteral("打印机整体偏移参数适配"));

    auto* heading = new QLabel(QStringLiteral("打印机偏移适配"));
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    heading->setFont(big);
    auto* intro = new QLabel(QStringLiteral(
        "请在第1步中选取与您的打印机最相近的预置型号，在第2步中按需调整偏移和方向，打印测试无误后"
        "用第3步应用到所有单据。以后还可以在【打印整体偏移调整】中对每种单据微调偏移。"));
    intro->setWordWrap(true);

    auto* presets = new QGroupBox(QStringLiteral("1.【选取】系统预置常用可参考的打印机设置"));
    cb_PrintersWeKnow = new QComboBox;
    cb_PrintersWeKnow->setObjectName(QStringLiteral("cb_PrintersWeKnow"));
    edtOX = new QLineEdit;
    edtOX->setObjectName(QStringLiteral("edtOX"));
    edtOY = new QLineEdit;
    edtOY->setObjectName(QStringLiteral("edtOY"));
    edtOBoardPosition = new QLineEdit;
    edtOBoardPosition->setObjectName(QStringLiteral("edtOBoardPosition"));
    for (QLineEdit* e : { edtOX, edtOY, edtOBoardPosition })
        e->setReadOnly(true);
    cbODirection = directionBox(QStringLiteral("cbODirection"), false);
    cbODirection->setEnabled(false);
    imgPrinter = new QLabel;
    imgPrinter->setObjectName(QStringLiteral("imgPrinter"));
    imgPrinter->setFixedSize(160, 120);
    imgPrinter->setAlignment(Qt::AlignCenter);
    auto* presetForm = new QFormLayout;
    presetForm->addRow(QStringLiteral("选择相近的打印机型号："), cb_PrintersWeKnow);
    presetForm->addRow(
        QStringLiteral("打印再向右偏移："), withUnit(edtOX, QStringLiteral("0.1毫米")));
    presetForm->addRow(
        QStringLiteral("打印再向下偏移："), withUnit(edtOY, QStringLiteral("0.1毫米")));
    presetForm->addRow(QStringLiteral("打印机挡板位置说明："), edtOBoardPosition);
    presetForm->addRow(QStringLiteral("打印机方向:"), cbODirection);
    auto* presetRow = new QHBoxLayout(presets);
    presetRow->addLayout(presetForm, 1);
    presetRow->addWidget(imgPrinter);

    auto* mine = new QGroupBox(QStringLiteral("2.【确认】您选择的适配型号偏移参数调整"));
    cb_PrintersClient = new QComboBox;
    cb_PrintersClient->setObjectName(QStringLiteral("cb_PrintersClient"));
    edtUPrinter = new QLineEdit;
    edtUPrinter->setObjectName(QStringLiteral("edtUPrinter"));
    edtUX = offsetBox(QStringLiteral("edtUX"));
    edtUY = offsetBox(QStringLiteral("edtUY"));
    cbUDirection = directionBox(QStringLiteral("cbUDirection"), true);
    edtUBoardPosition = new QLineEdit;
    edtUBoardPosition->setObjectName(QStringLiteral("edtUBoardPosition"));
    lbFindParams
        = new QLabel(QStringLiteral("<a href=\"#\">&gt;&gt;到Pennock网站，查找推荐参数</a>"));
    lbFindParams->setObjectName(QStringLiteral("lbFindParams"));
    lbFindParams->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    auto* mineForm = new QFormLayout(mine);
    mineForm->addRow(QStringLiteral("您的票据打印机："), cb_PrintersClient);
    mineForm->addRow(QStringLiteral("需要设置的型号："), edtUPrinter);
    mineForm->addRow(
        QStringLiteral("打印再向右偏移："), withUnit(edtUX, QStringLiteral("0.1毫米")));
    mineForm->addRow(
        QStringLiteral("打印再向下偏移："), withUnit(edtUY, QStringLiteral("0.1毫米")));
    mineForm->addRow(QStringLiteral("打印方向："), cbUDirection);
    mineForm->addRow(QStringLiteral("打印机挡板位置说明："), edtUBoardPosition);
    mineForm->addRow(QString(), lbFindParams);

    BitBtn1 = new QPushButton(QStringLiteral("3.【应用】到所有单据"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QStringLiteral("打印参数应用到所有的单据（打印整体偏移,打印方向等）"));
    Button1 = new QPushButton(QStringLiteral("【退出设置】"));
    Button1->setObjectName(QStringLiteral("Button1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(intro);
    layout->addWidget(presets);
    layout->addWidget(mine);
    layout->addLayout(buttons);

    core::IniFile& ini = mServices.settings().userIni();
    cb_PrintersWeKnow->addItems(core::presetModels(ini));
    cb_PrintersWeKnow->setCurrentIndex(0);
    showPreset(cb_PrintersWeKnow->currentText());

    cb_PrintersClient->addItems(mBinding.printers());
    cb_PrintersClient->setCurrentIndex(cb_PrintersClient->findText(lockedPrinter));
    if (!lockedPrinter.isEmpty())
        cb_PrintersClient->setEnabled(false);

    const core::PrinterUse use = core::readPrinterUse(ini);
    if (!use.model.isEmpty()) {
        edtUPrinter->setText(use.model);
        edtUBoardPosition->setText(use.board);
        edtUX->setValue(use.x.toInt());
        edtUY->setValue(use.y.toInt());
        setDirection(cbUDirection, use.direction);
    }

    connect(
        cb_PrintersWeKnow, &QComboBox::currentIndexChanged, this, &TfrmPrinterParam::choosePreset);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmPrinterParam::BitBtn1Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::close);
    connect(lbFindParams, &QLabel::linkActivated, this, &TfrmPrinterParam::openRecommendedParams);
}

void TfrmPrinterParam::showPreset(const QString& model)
{
    const core::PrinterPreset preset = core::readPreset(mServices.settings().userIni(), model);
    edtOX->setText(preset.x);
    edtOY->setText(preset.y);
    edtOBoardPosition->setText(preset.board);
    setDirection(cbODirection, preset.direction);
    imgPrinter->clear();
    if (!preset.image.isEmpty()) {
        const QImage picture = QImageReader(mServices.folder().path(preset.image)).read();
        if (!picture.isNull())
            imgPrinter->setPixmap(QPixmap::fromImage(picture).scaled(
                imgPrinter->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

void TfrmPrinterParam::choosePreset(int index)
{
    if (index < 0)
        return;
    const QString model = cb_PrintersWeKnow->itemText(index);
    showPreset(model);
    const core::PrinterPreset preset = core::readPreset(mServices.settings().userIni(), model);
    edtUPrinter->setText(cb_PrintersClient->currentText());
    edtUX->setValue(preset.x.toInt());
    edtUY->setValue(preset.y.toInt());
    setDirection(cbUDirection, preset.direction);
    edtUBoardPosition->setText(preset.board);
}

void TfrmPrinterParam::BitBtn1Click()
{
    core::Prompter& prompter = mServices.prompter();
    const QString board = edtUBoardPosition->text();
    if (!prompter.ask(
            QStringLiteral("你确认对所有单据应用该设置吗？\n请在打印测试前调整好挡板！-") + board,
            QStringLiteral("确认")))
        return;
    const QString direction = cbUDirection->currentText();
    if (direction.isEmpty()) {
        prompter.inform(QStringLiteral("请选择打印方向！"), kNotice);
        return;
    }
    const QString hv = core::orientationOfDirection(direction);
    if (hv.isEmpty()) {
        prompter.inform(QStringLiteral("非法的打印方向参数！"), kNotice);
        return;
    }
    if (core::applyPrinterParamsToAllTemplates(mServices.db(), edtUX->value(), edtUY->value(), hv)
        > 0)
        prompter.inform(QStringLiteral("应用单据成功！"), kNotice);
    else
        prompter.warn(QStringLiteral("应用单据失败！！"), kNotice);

    const QString model = edtUPrinter->text();
    const QString printer = cb_PrintersClient->currentText();
    if (printer.isEmpty()) {
        prompter.inform(QStringLiteral("请选择你的票据打印机！"), kNotice);
        cb_PrintersClient->setFocus();
        return;
    }
    if (model.trimmed().isEmpty()) {
        prompter.inform(QStringLiteral("请输入适配打印机类型名！"), kNotice);
        edtUPrinter->setFocus();
        return;
    }
    core::IniFile& ini = mServices.settings().userIni();
    if (!core::writePrinterUse(ini,
            { model, printer, QString::number(edtUX->value()), QString::number(edtUY->value()),
                direction, board })) {
        prompter.warn(ini.errorString(), kNotice);
        return;
    }
    mBinding.setDefaultPrinter(printer);
    prompter.inform(QStringLiteral("配置修改成功！"), kNotice);
}

void TfrmPrinterParam::openRecommendedParams()
{
    if (!mLinks.open)
        return;
    // A printer name may hold "&", "#" or "+", which would end or change the value.
    const QByteArray printer = QUrl::toPercentEncoding(cb_PrintersClient->currentText());
    mLinks.open(QStringLiteral("customer/printerpos.asp?Printer=") + QString::fromLatin1(printer)
        + QStringLiteral("&version=") + mLinks.version);
}

} // namespace pennock::ui
