#include "parties/PersonInfo.h"

#include "parties/DAOPerson.h"
#include "parties/DialogButton.h"
#include "parties/ReferenceLookups.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace pennock::ui {

using core::DAOPerson;
using core::TPerson;

const QString Tfrm_PersonInfo::kTownHint = QStringLiteral("请直接输入");

namespace {

const QString kMnemonicHelp = QStringLiteral("助记码不是必填项目，该项目主要用来辅助输入。\n\n例如"
                                             "：在收方单位输入\"pnk01\"按回车键,调入助记码"
                                             "等于\"pnk01\"的第1个单位;\n例如：在收方单位输入\"pnk%"
                                             "\"或\"pnk*\"按回车键,调入助记码含有\"pnk\"的第1个"
                                             "单位;");

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength = 0)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QComboBox* comboBox(QWidget* parent, const char* name, bool editable)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(editable);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

} // namespace

Tfrm_PersonInfo::Tfrm_PersonInfo(core::Services& services, QWidget* parent)
    : FacedDialog(services.settings(), parent)
    , mServices(services)
{
    setObjectName(QStringLiteral("frm_PersonInfo"));
    setWindowTitle(QStringLiteral("单位详细资料"));
    buildFields();
    fillGroups();
    edtCountry->setEditText(QStringLiteral("中国"));
    resize(640, 520);
}

void Tfrm_PersonInfo::buildFields()
{
    edtID = lineEdit(this, "edtID");
    edtID->setReadOnly(true);
    edtName = lineEdit(this, "edtName");
    edtInputCode = lineEdit(this, "edtInputCode", 15);
    edtContactor = lineEdit(this, "edtContactor", 50);
    edtBank = lineEdit(this, "edtBank", 100);
    edtBankAcct = lineEdit(this, "edtBankAcct", 100);
    edtBankAddr = lineEdit(this, "edtBankAddr", 100);
    edtBankNo = lineEdit(this, "edtBankNo", 100);
    edtIdentity = lineEdit(this, "edtIdentity", 24);
    edtProvince = comboBox(this, "edtProvince", true);
    edtCity = comboBox(this, "edtCity", true);
    edtTown = comboBox(this, "edtTown", true);
    edtTown->addItem(kTownHint);
    edtTown->setEditText(QString());
    edtAddress = new QPlainTextEdit(this);
    edtAddress->setObjectName(QStringLiteral("edtAddress"));
    edtAddress->setTabChangesFocus(true);
    edtAddress->setFixedHeight(54);
    edtPhone = lineEdit(this, "edtPhone", 40);
    edtHandset = lineEdit(this, "edtHandset", 40);
    edtZipcode = lineEdit(this, "edtZipcode", 30);
    edtCountry = comboBox(this, "edtCountry", true);
    edtGroup = comboBox(this, "edtGroup", true);
    cbAcountType = comboBox(this, "cbAcountType", false);
    cbAcountType->addItems({ DAOPerson::kOwnCompany, DAOPerson::kCounterparty });
    cbAcountType->setCurrentIndex(-1);
    edtRemark = lineEdit(this, "edtRemark", 100);
    edtDef1 = lineEdit(this, "edtDef1", 100);
    edtDef2 = lineEdit(this, "edtDef2", 100);
    edtDef3 = lineEdit(this, "edtDef3", 100);
    lbInputCode = new QLabel(QStringLiteral("输入助记码："), this);
    lbInputCode->setObjectName(QStringLiteral("lbInputCode"));
    lbInputCode->setCursor(Qt::WhatsThisCursor);
    ckAddNext = new QCheckBox(QStringLiteral("单位保存后立即添加下一条"), this);
    ckAddNext->setObjectName(QStringLiteral("ckAddNext"));

    auto* grid = new QGridLayout;
    int row = 0;
    const auto add = [&](const QString& caption, QWidget* field, int column, int span = 1) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, column * 2, Qt::AlignRight);
        grid->addWidget(field, row, column * 2 + 1, 1, span);
    };
    add(QStringLiteral("ID："), edtID, 0);
    add(QStringLiteral("单位类型："), cbAcountType, 1);
    ++row;
    add(QStringLiteral("*单位全称："), edtName, 0, 3);
    ++row;
    grid->addWidget(lbInputCode, row, 0, Qt::AlignRight);
    grid->addWidget(edtInputCode, row, 1);
    add(QStringLiteral("识别号："), edtIdentity, 1);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("（企业纳税识别号或者个人身份证号）"), this), row, 3);
    ++row;
    add(QStringLiteral("开户银行："), edtBank, 0);
    add(QStringLiteral("开户行账号："), edtBankAcct, 1);
    ++row;
    add(QStringLiteral("开户行地址："), edtBankAddr, 0);
    add(QStringLiteral("银行行号："), edtBankNo, 1);
    ++row;
    add(QStringLiteral("国家："), edtCountry, 0);
    add(QStringLiteral("省："), edtProvince, 1);
    ++row;
    add(QStringLiteral("市县："), edtCity, 0);
    add(QStringLiteral("镇区："), edtTown, 1);
    ++row;
    add(QStringLiteral("单位地址："), edtAddress, 0, 3);
    ++row;
    add(QStringLiteral("邮编："), edtZipcode, 0);
    add(QStringLiteral("*联系人："), edtContactor, 1);
    ++row;
    add(QStringLiteral("电话："), edtPhone, 0);
    add(QStringLiteral("手机："), edtHandset, 1);
    ++row;
    add(QStringLiteral("单位分组："), edtGroup, 0);
    add(QStringLiteral("其他备注："), edtRemark, 1);
    ++row;
    add(QStringLiteral("自定义1："), edtDef1, 0);
    add(QStringLiteral("自定义2："), edtDef2, 1);
    ++row;
    add(QStringLiteral("自定义3："), edtDef3, 0);
    grid->addWidget(ckAddNext, row, 3);

    btSave = dialogButton(this, "btSave", QStringLiteral("保  存(&S)"));
    btSaveClose = dialogButton(this, "btSaveClose", QStringLiteral("保存并关闭(&M)"));
    btReset = dialogButton(this, "btReset", QStringLiteral("重 填 (&N)"));
    btCopy = dialogButton(this, "btCopy", QStringLiteral("多头单位(&C)"));
    btCopy->setToolTip(QStringLiteral("副本保存需修改银行账号"));
    btClose = dialogButton(this, "btClose", QStringLiteral("关  闭(&X)"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : { btSave, btSaveClose, btReset, btCopy, btClose })
        buttons->addWidget(b);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    status->showMessage(
        QStringLiteral("注意:带*必填. 对于一个单位多个收件人情况，修改时点击[多头单位]按钮，"
                       "保存后即新增一个多头单位。"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(status);

    connect(btSave, &QPushButton::clicked, this, [this] { btSaveClick(); });
    connect(btSaveClose, &QPushButton::clicked, this, &Tfrm_PersonInfo::btSaveCloseClick);
    connect(btReset, &QPushButton::clicked, this, &Tfrm_PersonInfo::btResetClick);
    connect(btCopy, &QPushButton::clicked, this, &Tfrm_PersonInfo::btCopyClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    connect(edtProvince, &QComboBox::currentTextChanged, this, &Tfrm_PersonInfo::provinceChanged);
    connect(edtCountry, &QComboBox::currentTextChanged, this, &Tfrm_PersonInfo::provinceChanged);

    // Enter walks the fields in the order a party is usually typed.
    const std::pair<QWidget*, QWidget*> order[] = {
        { edtName, edtInputCode },
        { edtInputCode, edtBank },
        { edtIdentity, edtBank },
        { edtBank, edtProvince },
        { edtBankAcct, edtProvince },
        { edtBankAddr, edtProvince },
        { edtBankNo, edtProvince },
        { edtRemark, edtProvince },
        { edtDef1, edtProvince },
        { edtDef2, edtProvince },
        { edtDef3, edtProvince },
        { edtCountry, edtProvince },
        { edtProvince, edtCity },
        { edtCity, edtTown },
        { edtTown, edtAddress },
        { edtAddress, edtZipcode },
        { edtZipcode, edtContactor },
        { edtContactor, edtPhone },
        { edtPhone, edtHandset },
        { edtHandset, edtHandset },
        { cbAcountType, edtGroup },
        { edtGroup, btSave },
    };
    for (const auto& [from, to] : order) {
        mEnterNext.insert(from, to);
        from->installEventFilter(this);
        if (auto* box = qobject_cast<QComboBox*>(from); box && box->lineEdit()) {
            mEnterNext.insert(box->lineEdit(), to);
            box->lineEdit()->installEventFilter(this);
        }
    }
    lbInputCode->installEventFilter(this);
}

void Tfrm_PersonInfo::fillGroups()
{
    const QString current = edtGroup->currentText();
    refill(edtGroup,
        DAOPerson(mServices.db()).loadPersonTableGroupList() << DAOPerson::kDefaultDrawer);
    edtGroup->setEditText(current);
}

void Tfrm_PersonInfo::refill(QComboBox* box, const QStringList& items)
{
    const QSignalBlocker blocker(box);
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

bool Tfrm_PersonInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && key->modifiers() == Qt::NoModifier && mEnterNext.contains(watched)) {
            mEnterNext.value(watched)->setFocus(Qt::TabFocusReason);
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        fieldEntered(watched);
    } else if (event->type() == QEvent::FocusOut) {
        if (watched == edtTown || watched == edtTown->lineEdit())
            townLeft();
    } else if (event->type() == QEvent::MouseButtonRelease && watched == lbInputCode) {
        mServices.prompter().inform(kMnemonicHelp, QStringLiteral("message"));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_PersonInfo::fieldEntered(QObject* field)
{
    core::ReferenceLookups lookups(mServices.db());
    if ((field == edtProvince || field == edtProvince->lineEdit()) && !mProvincesFilled) {
        mProvincesFilled = true;
        refill(edtProvince, lookups.loadProvinces());
    } else if (field == edtCity || field == edtCity->lineEdit()) {
        refill(edtCity, lookups.loadCitysByProvince(edtProvince->currentText()));
    } else if (field == edtCountry || field == edtCountry->lineEdit()) {
        refill(edtCountry, lookups.loadDMListByName(QStringLiteral("国家"), QStringLiteral("0")));
    }
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    else if (auto* box = qobject_cast<QComboBox*>(field); box && box->lineEdit())
        QTimer::singleShot(0, box->lineEdit(), &QLineEdit::selectAll);
}

void Tfrm_PersonInfo::provinceChanged()
{
    refill(edtCity,
        core::ReferenceLookups(mServices.db())
            .loadCitysOfProvinceTrimmed(edtProvince->currentText()));
}

void Tfrm_PersonInfo::townLeft()
{
    if (edtTown->currentText() == kTownHint)
        edtTown->setEditText(QString());
    const QString town = edtTown->currentText();
    const QString address = edtAddress->toPlainText();
    if (!town.isEmpty() && !address.contains(town))
        edtAddress->setPlainText(town + address);
}

void Tfrm_PersonInfo::showEvent(QShowEvent* event)
{
    // The editor is reused: groups added or removed since the last opening must show.
    fillGroups();
    FacedDialog::showEvent(event);
}

bool Tfrm_PersonInfo::loadPerson(int id)
{
    TPerson person;
    person.ID = id;
    if (DAOPerson(mServices.db()).loadPersonById(person) != 1)
        return false;
    showPerson(person);
    return true;
}

void Tfrm_PersonInfo::showPerson(const TPerson& person)
{
    edtID->setText(person.ID > 0 ? QString::number(person.ID) : QString());
    edtName->setText(person.全称);
    edtIdentity->setText(person.识别号);
    edtInputCode->setText(person.助记码);
    edtContactor->setText(person.联系人);
    edtBank->setText(person.开户银行);
    edtBankAcct->setText(person.开户行账号);
    edtBankAddr->setText(person.开户行地址);
    edtBankNo->setText(person.开户行行号);
    edtPhone->setText(person.电话);
    edtHandset->setText(person.手机);
    edtZipcode->setText(person.邮编);
    {
        const QSignalBlocker country(edtCountry);
        edtCountry->setEditText(person.国家);
    }
    edtAddress->setPlainText(person.地址);
    edtProvince->setEditText(person.省);
    edtCity->setEditText(person.市);
    edtTown->setEditText(person.镇区);
    edtGroup->setEditText(person.分组);
    cbAcountType->setCurrentIndex(cbAcountType->findText(person.单位类型));
    edtDef1->setText(person.自定义1);
    edtDef2->setText(person.自定义2);
    edtDef3->setText(person.自定义3);
    edtRemark->setText(person.扩展信息);
}

TPerson Tfrm_PersonInfo::personFromFields() const
{
    TPerson p;
    p.ID = edtID->text().trimmed().toInt();
    p.全称 = edtName->text();
    p.识别号 = edtIdentity->text();
    p.助记码 = edtInputCode->text().trimmed();
    p.联系人 = edtContactor->text();
    p.开户银行 = edtBank->text().trimmed();
    p.开户行账号 = edtBankAcct->text().trimmed();
    p.开户行地址 = edtBankAddr->text();
    p.开户行行号 = edtBankNo->text();
    p.电话 = edtPhone->text();
    p.手机 = edtHandset->text();
    p.邮编 = edtZipcode->text();
    p.国家 = edtCountry->currentText();
    p.地址 = edtAddress->toPlainText();
    p.省 = edtProvince->currentText();
    p.市 = edtCity->currentText();
    p.镇区 = edtTown->currentText() == kTownHint ? QString() : edtTown->currentText();
    p.分组 = edtGroup->currentText();
    p.单位类型 = cbAcountType->currentText() == DAOPerson::kOwnCompany ? DAOPerson::kOwnCompany
                                                                       : DAOPerson::kCounterparty;
    p.自定义1 = edtDef1->text();
    p.自定义2 = edtDef2->text();
    p.自定义3 = edtDef3->text();
    p.扩展信息 = edtRemark->text();
    return p;
}

bool Tfrm_PersonInfo::btSaveClick()
{
    TPerson person = personFromFields();
    const bool update = person.ID > 0;
    try {
        DAOPerson(mServices.db()).storePerson(person);
    } catch (const core::DbError& e) {
        mServices.prompter().warn(QStringLiteral("添加更新失败，Error=") + e.message());
        return false;
    }
    mServices.prompter().inform(update ? QStringLiteral("历史单位资料资料更新成功！")
                                       : QStringLiteral("新增单位资料添加成功！"),
        QStringLiteral("提示"));
    edtID->setText(QString::number(person.ID));
    fillGroups();
    emit saved(person.ID);
    if (ckAddNext->isChecked())
        btResetClick();
    return true;
}

void Tfrm_PersonInfo::btSaveCloseClick()
{
    if (btSaveClick())
        close();
}

void Tfrm_PersonInfo::btResetClick()
{
    showPerson(TPerson {});
    cbAcountType->setCurrentIndex(-1);
}

void Tfrm_PersonInfo::btCopyClick()
{
    edtID->clear();
    edtContactor->setFocus(Qt::OtherFocusReason);
}

void savePersonFromBill(
    QWidget* parent, core::Services& services, const std::optional<TPerson>& record)
{
    if (!record)
        return;
    DAOPerson dao(services.db());
    if (record->ID > 0) {
        TPerson copy = *record;
        try {
            dao.storePerson(copy);
        } catch (const core::DbError& e) {
            services.prompter().warn(QStringLiteral("添加更新失败，Error=") + e.message());
        }
        return;
    }
    const TPerson& r = *record;
    std::optional<TPerson> found;
    if (!r.全称.isEmpty() && !r.开户行账号.isEmpty())
        found = dao.findPersonByNameAndAccount(r.全称, r.开户行账号);
    else if (!r.全称.isEmpty() && !r.联系人.isEmpty())
        found = dao.findPersonByNameAndContact(r.全称, r.联系人);
    else if (!r.全称.isEmpty())
        found = dao.findPersonByFullName(r.全称);
    else if (!r.联系人.isEmpty())
        found = dao.findPersonByContact(r.联系人);

    Tfrm_PersonInfo editor(services, parent);
    TPerson shown = found.value_or(TPerson {});
    if (!found)
        shown.国家 = QStringLiteral("中国");
    for (const char16_t* column : { u"全称", u"国家", u"手机", u"联系人", u"地址", u"电话", u"省",
             u"市", u"镇区", u"邮编", u"开户银行", u"开户行账号", u"开户行地址", u"开户行行号",
             u"自定义1", u"自定义2", u"自定义3" }) {
        const QString value = r.value(column);
        if (!value.isEmpty())
            shown.setValue(column, value);
    }
    shown.单位类型 = r.单位类型 == DAOPerson::kCounterparty ? DAOPerson::kCounterparty
                                                            : DAOPerson::kOwnCompany;
    editor.showPerson(shown);
    editor.exec();
}

} // namespace pennock::ui
