#include "parties/SsSet.h"

#include "parties/DialogButton.h"
#include "parties/RegionStore.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "settings/FormPlacement.h"
#include "store/Database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {

const QString kCaption = QStringLiteral("省市代码设置");
const QString kHint = QStringLiteral("提示");

QString pair(const QString& province, const QString& city)
{
    return QLatin1Char('"') + province + QStringLiteral("--") + city + QLatin1Char('"');
}

} // namespace

TfrmSsSet::TfrmSsSet(core::Services& services, QWidget* parent)
    : FacedDialog(services.settings(), parent)
    , mServices(services)
{
    setObjectName(QStringLiteral("frmSsSet"));
    setWindowTitle(kCaption);
    resize(460, 480);

    auto* title = new QLabel(kCaption, this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    CoS = new QComboBox(this);
    CoS->setObjectName(QStringLiteral("CoS"));
    lstS = new QListWidget(this);
    lstS->setObjectName(QStringLiteral("lstS"));
    // Two columns of cities, filled top to bottom.
    lstS->setFlow(QListView::TopToBottom);
    lstS->setWrapping(true);
    lstS->setResizeMode(QListView::Adjust);
    lstS->setGridSize(QSize(200, 20));
    lblOldSx = new QLabel(this);
    lblOldSx->setObjectName(QStringLiteral("lblOldSx"));
    btAdd = dialogButton(this, "btAdd", QStringLiteral("添 加"));
    btModify = dialogButton(this, "btModify", QStringLiteral("修 改"));
    btDelete = dialogButton(this, "btDelete", QStringLiteral("删 除"));
    btExit = dialogButton(this, "btExit", QStringLiteral("退 出(&X)"));

    panelInput = new QGroupBox(this);
    panelInput->setObjectName(QStringLiteral("panelInput"));
    edtProvince = new QLineEdit(panelInput);
    edtProvince->setObjectName(QStringLiteral("edtProvince"));
    edtCity = new QLineEdit(panelInput);
    edtCity->setObjectName(QStringLiteral("edtCity"));
    btOK = dialogButton(panelInput, "btOK", QStringLiteral("确 定"));
    btCancel = dialogButton(panelInput, "btCancel", QStringLiteral("取 消"));
    auto* panelLayout = new QGridLayout(panelInput);
    panelLayout->addWidget(new QLabel(QStringLiteral("输入省（直辖市）："), panelInput), 0, 0);
    panelLayout->addWidget(edtProvince, 0, 1);
    panelLayout->addWidget(new QLabel(QStringLiteral("输入新的市（县）："), panelInput), 1, 0);
    panelLayout->addWidget(edtCity, 1, 1);
    auto* panelButtons = new QHBoxLayout;
    panelButtons->addStretch();
    panelButtons->addWidget(btOK);
    panelButtons->addWidget(btCancel);
    panelLayout->addLayout(panelButtons, 2, 0, 1, 2);
    panelInput->setVisible(false);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("省(直辖市)："), this), 0, 0);
    form->addWidget(CoS, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("市(县)："), this), 1, 0, Qt::AlignTop);
    form->addWidget(lstS, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("当前选中："), this), 2, 0);
    form->addWidget(lblOldSx, 2, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : { btAdd, btModify, btDelete, btExit })
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(form, 1);
    layout->addWidget(panelInput);
    layout->addLayout(buttons);

    connect(CoS, &QComboBox::currentIndexChanged, this, &TfrmSsSet::loadCities);
    connect(lstS, &QListWidget::itemClicked, this,
        [this](QListWidgetItem* item) { lblOldSx->setText(item->text().trimmed()); });
    connect(btAdd, &QPushButton::clicked, this, &TfrmSsSet::btAddClick);
    connect(btModify, &QPushButton::clicked, this, &TfrmSsSet::btModifyClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmSsSet::btDeleteClick);
    connect(btExit, &QPushButton::clicked, this, &QDialog::close);
    connect(btOK, &QPushButton::clicked, this, &TfrmSsSet::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmSsSet::closePanel);
    loadProvinces();
}

void TfrmSsSet::loadProvinces()
{
    QStringList provinces;
    try {
        provinces = core::RegionStore(mServices.db()).provinces();
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
    }
    {
        const QSignalBlocker blocker(CoS);
        CoS->clear();
        CoS->addItems(provinces);
        CoS->setCurrentIndex(provinces.isEmpty() ? -1 : 0);
    }
    loadCities();
}

void TfrmSsSet::loadCities()
{
    QStringList cities;
    try {
        cities = core::RegionStore(mServices.db()).cities(CoS->currentText());
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
        return;
    }
    lstS->clear();
    lblOldSx->clear();
    for (const QString& city : cities)
        lstS->addItem(QLatin1Char(' ') + city);
}

QString TfrmSsSet::selectedCity() const
{
    const QListWidgetItem* item = lstS->currentItem();
    return item && item->isSelected() ? item->text().trimmed() : QString();
}

void TfrmSsSet::openPanel(bool modifying)
{
    mModifying = modifying;
    mOldCity = modifying ? selectedCity() : QString();
    edtProvince->setText(CoS->currentText());
    edtCity->setText(modifying ? selectedCity() : QString());
    panelInput->setTitle(modifying ? QStringLiteral("修 改") : QStringLiteral("添 加"));
    panelInput->setVisible(true);
    for (QWidget* w : std::initializer_list<QWidget*> { CoS, lstS, btAdd, btModify, btDelete })
        w->setEnabled(false);
    edtCity->setFocus();
}

void TfrmSsSet::closePanel()
{
    panelInput->setVisible(false);
    for (QWidget* w : std::initializer_list<QWidget*> { CoS, lstS, btAdd, btModify, btDelete })
        w->setEnabled(true);
}

void TfrmSsSet::restoreProvince(const QString& province)
{
    const int at = CoS->findText(province);
    if (at >= 0 && at != CoS->currentIndex())
        CoS->setCurrentIndex(at);
}

void TfrmSsSet::btAddClick() { openPanel(false); }

void TfrmSsSet::btModifyClick()
{
    if (selectedCity().isEmpty()) {
        mServices.prompter().inform(QStringLiteral("请先选中要修改的市(县)！"), kHint);
        return;
    }
    openPanel(true);
}

void TfrmSsSet::btOKClick()
{
    core::Prompter& prompter = mServices.prompter();
    const QString province = edtProvince->text().trimmed();
    const QString city = edtCity->text().trimmed();
    if (province.isEmpty() || city.isEmpty()) {
        prompter.inform(QStringLiteral("省和市输入不能为空！"), kHint);
        return;
    }
    const QString before = CoS->currentText();
    core::RegionStore store(mServices.db());
    try {
        if (!mModifying) {
            if (store.exists(province, city)) {
                prompter.inform(
                    pair(province, city) + QStringLiteral(" 已经存在，不需要添加！"), kHint);
                return;
            }
            store.add(province, city);
            if (store.exists(province, city)) {
                prompter.inform(pair(province, city) + QStringLiteral("代码添加成功！"), kHint);
                loadProvinces();
            } else {
                prompter.warn(QStringLiteral("意外错误！插入数据失败！"), kHint);
            }
        } else if (store.rename(province, mOldCity, city)) {
            prompter.inform(QStringLiteral("修改成功！"), kHint);
            loadCities();
        } else {
            prompter.warn(QStringLiteral("修改失败！"), kHint);
        }
    } catch (const core::DbError& e) {
        prompter.warn(e.message(), kHint);
        return;
    }
    closePanel();
    restoreProvince(before);
}

void TfrmSsSet::btDeleteClick()
{
    core::Prompter& prompter = mServices.prompter();
    const QString city = selectedCity();
    if (city.isEmpty()) {
        // Nothing chosen would delete nothing; saying "删除成功！" then would mislead.
        prompter.inform(QStringLiteral("请先选中要删除的市(县)！"), kHint);
        return;
    }
    try {
        if (core::RegionStore(mServices.db()).remove(CoS->currentText(), city)) {
            prompter.inform(QStringLiteral("删除成功！"), kHint);
            loadCities();
        } else {
            prompter.warn(QStringLiteral("删除失败！"), kHint);
        }
    } catch (const core::DbError& e) {
        prompter.warn(e.message(), kHint);
    }
}

void TfrmSsSet::faceLoaded() { centreAcrossScreen(this, 100); }

void openRegionEditor(QWidget* mainWindow, core::Services& services)
{
    TfrmSsSet editor(services, mainWindow);
    editor.exec();
}

} // namespace pennock::ui
