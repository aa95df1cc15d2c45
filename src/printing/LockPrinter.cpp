#include "printing/LockPrinter.h"

#include "platform/Prompter.h"
#include "printing/PrinterBinding.h"
#include "printing/Services.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {
const QString kNotice = QStringLiteral("提示");
}

TfmLockPrinter::TfmLockPrinter(
    core::Services& services, PrinterBinding& binding, VendorLinks links, QWidget* parent)
    : QDialog(parent)
    , mServices(services)
    , mBinding(binding)
    , mLinks(std::move(links))
{
    setObjectName(QStringLiteral("fmLockPrinter"));
    setWindowTitle(QStringLiteral("固定票据打印机"));

    auto* heading = new QLabel(QStringLiteral("选择固定票据打印机"));
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    heading->setFont(big);
    cbPrinters = new QComboBox;
    cbPrinters->setObjectName(QStringLiteral("cbPrinters"));
    auto* explanation = new QLabel(QStringLiteral(
        "说明：固定某个票据打印机后，所有的票据打印都会自动选用你所选定的打印机来执行打印任务，"
        "除非你打印前手动选择。"));
    explanation->setWordWrap(true);
    btLock = new QPushButton(QStringLiteral("锁定该打印机为票据打印机"));
    btLock->setObjectName(QStringLiteral("btLock"));
    btLock->setEnabled(false);
    btShiPei = new QPushButton(QStringLiteral("适配打印机整体偏移参数"));
    btShiPei->setObjectName(QStringLiteral("btShiPei"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btLock);
    buttons->addWidget(btShiPei);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(new QLabel(QStringLiteral("选择要固定的票据打印机：")));
    layout->addWidget(cbPrinters);
    layout->addWidget(explanation);
    layout->addLayout(buttons);

    cbPrinters->addItems(mBinding.printers());
    if (mBinding.printers().isEmpty()) {
        mServices.prompter().inform(
            QStringLiteral("没有检测到打印机！请安装打印机并重启动本软件！"), kNotice);
        btShiPei->setEnabled(false);
    }
    // Only the exact name is shown as the choice.
    const QString bound = mServices.settings().getConfigByname(QStringLiteral("DefaultPrinter"));
    cbPrinters->setCurrentIndex(int(mBinding.printers().indexOf(bound)));

    connect(cbPrinters, &QComboBox::currentTextChanged, this,
        [this](const QString& choice) { btLock->setEnabled(!choice.isEmpty()); });
    connect(btLock, &QPushButton::clicked, this, &TfmLockPrinter::btLockClick);
    connect(btShiPei, &QPushButton::clicked, this, &TfmLockPrinter::btShiPeiClick);
}

void TfmLockPrinter::btLockClick()
{
    const QString choice = cbPrinters->currentText();
    if (choice.trimmed().isEmpty()) {
        mServices.prompter().inform(QStringLiteral("请选择票据打印机！"), kNotice);
        return;
    }
    if (!mServices.settings().setConfigByname(QStringLiteral("DefaultPrinter"), choice)) {
        mServices.prompter().warn(QStringLiteral("默认票据打印机设置失败！"), kNotice);
        return;
    }
    mBinding.setDefaultPrinter(choice);
    mServices.prompter().inform(QStringLiteral("默认票据打印机设置成功！"), kNotice);
}

void TfmLockPrinter::btShiPeiClick()
{
    const QString choice = cbPrinters->currentText();
    if (choice.isEmpty()) {
        mServices.prompter().inform(QStringLiteral("请选择要固定的票据打印机！"), kNotice);
        return;
    }
    auto* matching = new TfrmPrinterParam(mServices, mBinding, mLinks, choice, this);
    matching->setAttribute(Qt::WA_DeleteOnClose);
    matching->exec();
    close();
}

void TfmLockPrinter::closeEvent(QCloseEvent* event)
{
    if (QWidget* main = parentWidget()) {
        main->raise();
        main->activateWindow();
    }
    QDialog::closeEvent(event);
}

void openPrinterBinding(QWidget* mainWindow, core::Services& services, PrinterBinding& binding,
    const VendorLinks& links)
{
    auto* window = new TfmLockPrinter(services, binding, links, mainWindow);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}

} // namespace pennock::ui
