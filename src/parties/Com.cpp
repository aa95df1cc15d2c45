#include "parties/Com.h"

#include "format/TextUtils.h"
#include "parties/CurrencyStore.h"
#include "parties/DialogButton.h"
#include "parties/ReferenceLookups.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace pennock::ui {

namespace {

bool listed(const QStringList& list, const QString& text)
{
    return list.contains(text, Qt::CaseInsensitive);
}

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// The table's columns hold a fixed number of GBK bytes; longer text is refused as typed.
class GbkLengthValidator final : public QValidator
{
public:
    GbkLengthValidator(int maxBytes, QObject* parent)
        : QValidator(parent)
        , mMax(maxBytes)
    {
    }
    State validate(QString& input, int&) const override
    {
        return core::GbkByteLength(input) <= mMax ? Acceptable : Invalid;
    }

private:
    int mMax;
};

// Text put into the boxes by the program passes no validator; the buttons check again.
bool withinLimits(core::Prompter& prompter, const QString& name, const QString& code)
{
    if (core::GbkByteLength(name) > TfrmCom::kNameBytes) {
        prompter.warn(QStringLiteral("币种名称最长%1个字节（%2个汉字）！")
                          .arg(TfrmCom::kNameBytes)
                          .arg(TfrmCom::kNameBytes / 2),
            QStringLiteral("输入不完整"));
        return false;
    }
    if (core::GbkByteLength(code) > TfrmCom::kCodeBytes) {
        prompter.warn(QStringLiteral("币种简码最长%1个字节！").arg(TfrmCom::kCodeBytes),
            QStringLiteral("输入不完整"));
        return false;
    }
    return true;
}

} // namespace

TfrmCom::TfrmCom(core::Services& services, QWidget* parent)
    : QDialog(parent)
    , mServices(services)
{
    setObjectName(QStringLiteral("frmCom"));
    setWindowTitle(QStringLiteral("币种设置"));
    cb_biz = new QComboBox(this);
    cb_biz->setObjectName(QStringLiteral("cb_biz"));
    ed_bz = new QLineEdit(this);
    ed_bz->setObjectName(QStringLiteral("ed_bz"));
    ed_bz->setPlaceholderText(QStringLiteral("如: 人民币"));
    ed_jm = new QLineEdit(this);
    ed_jm->setObjectName(QStringLiteral("ed_jm"));
    ed_jm->setPlaceholderText(QStringLiteral("如: ￥"));
    ed_bz->setValidator(new GbkLengthValidator(kNameBytes, ed_bz));
    ed_jm->setValidator(new GbkLengthValidator(kCodeBytes, ed_jm));
    btAdd = dialogButton(this, "btAdd", QStringLiteral("增加"));
    btDelete = dialogButton(this, "btDelete", QStringLiteral("删除"));
    btModify = dialogButton(this, "btModify", QStringLiteral("修改"));
    btClose = dialogButton(this, "btClose", QStringLiteral("关闭"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("币种："), this), 0, 0);
    layout->addWidget(cb_biz, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("输入新币种："), this), 1, 0);
    layout->addWidget(ed_bz, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("输入新简码："), this), 2, 0);
    layout->addWidget(ed_jm, 2, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : { btAdd, btDelete, btModify, btClose })
        buttons->addWidget(b);
    layout->addLayout(buttons, 3, 0, 1, 2);

    connect(cb_biz, &QComboBox::activated, this, &TfrmCom::currencyChosen);
    connect(btAdd, &QPushButton::clicked, this, &TfrmCom::btAddClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmCom::btDeleteClick);
    connect(btModify, &QPushButton::clicked, this, &TfrmCom::btModifyClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    loadList();
}

void TfrmCom::loadList()
{
    QList<core::CurrencyStore::Currency> list;
    try {
        list = core::CurrencyStore(mServices.db()).list();
    } catch (const core::DbError& e) {
        mServices.prompter().warn(e.message());
        return;
    }
    cb_biz->clear();
    mCodes.clear();
    for (const auto& currency : list) {
        cb_biz->addItem(currency.name);
        mCodes << currency.code;
    }
    // Nothing is chosen until the person chooses.
    cb_biz->setCurrentIndex(-1);
}

QString TfrmCom::chosenName() const
{
    return cb_biz->currentIndex() >= 0 ? cb_biz->currentText() : QString();
}

void TfrmCom::currencyChosen(int index)
{
    if (index < 0)
        return;
    const QString name = cb_biz->itemText(index);
    ed_bz->setText(name);
    ed_jm->setText(core::ReferenceLookups(mServices.db()).getMoneyCodeByName(name));
}

void TfrmCom::btAddClick()
{
    core::Prompter& prompter = mServices.prompter();
    const QString name = ed_bz->text().trimmed();
    const QString code = ed_jm->text().trimmed();
    if (name.isEmpty()) {
        prompter.warn(QStringLiteral("请填写要添加的币种名称！"), QStringLiteral("输入不完整"));
        return;
    }
    if (code.isEmpty()) {
        prompter.warn(QStringLiteral("请填写要添加的币种简码！"), QStringLiteral("输入不完整"));
        return;
    }
    if (!withinLimits(prompter, name, code))
        return;
    QStringList names;
    for (int i = 0; i < cb_biz->count(); ++i)
        names << cb_biz->itemText(i);
    if (listed(names, name)) {
        prompter.warn(QStringLiteral("币种") + quoted(name) + QStringLiteral("已经存在！"),
            QStringLiteral("存在的币种"));
        return;
    }
    if (listed(mCodes, code)) {
        prompter.warn(QStringLiteral("币种简码") + quoted(code) + QStringLiteral("已经存在！"),
            QStringLiteral("存在的币种简码"));
        return;
    }
    int added = 0;
    try {
        added = core::CurrencyStore(mServices.db()).add(name, code);
    } catch (const core::DbError&) {
        added = 0;
    }
    if (added < 1) {
        prompter.warn(QStringLiteral("添加失败！"), QStringLiteral("失败"));
        return;
    }
    prompter.inform(QStringLiteral("新币种添加成功！"), QStringLiteral("成功"));
    loadList();
}

void TfrmCom::btDeleteClick()
{
    core::Prompter& prompter = mServices.prompter();
    const QString name = chosenName();
    if (name.isEmpty()) {
        prompter.warn(QStringLiteral("请先选中要删除的币种！"));
        return;
    }
    int deleted = 0;
    try {
        deleted = core::CurrencyStore(mServices.db()).remove(name);
    } catch (const core::DbError&) {
        deleted = 0;
    }
    if (deleted < 1) {
        prompter.warn(QStringLiteral("币种删除失败！"), QStringLiteral("失败"));
        return;
    }
    prompter.inform(QStringLiteral("币种") + quoted(name) + QStringLiteral("删除成功！"),
        QStringLiteral("成功"));
    ed_bz->clear();
    ed_jm->clear();
    loadList();
}

void TfrmCom::btModifyClick()
{
    core::Prompter& prompter = mServices.prompter();
    const QString name = chosenName();
    if (name.isEmpty()) {
        prompter.warn(QStringLiteral("请先选中要修改的币种名称！"));
        return;
    }
    if (ed_bz->text() != name) {
        prompter.warn(QStringLiteral("修改不能改变币种名称！"));
        ed_bz->setText(name);
        return;
    }
    const QString code = ed_jm->text().trimmed();
    if (code.isEmpty()) {
        prompter.warn(QStringLiteral("请输入新的币种简码！"));
        return;
    }
    if (!withinLimits(prompter, name, code))
        return;
    int changed = 0;
    try {
        changed = core::CurrencyStore(mServices.db()).changeCode(name, code);
    } catch (const core::DbError&) {
        changed = 0;
    }
    if (changed < 1) {
        prompter.warn(QStringLiteral("币种修改失败！"), QStringLiteral("失败"));
        return;
    }
    prompter.inform(QStringLiteral("币种") + quoted(name) + QStringLiteral("修改成功！"),
        QStringLiteral("成功"));
    const int index = cb_biz->currentIndex();
    loadList();
    cb_biz->setCurrentIndex(index);
}

void openCurrencyEditor(QWidget* mainWindow, core::Services& services)
{
    TfrmCom editor(services, mainWindow);
    editor.exec();
}

} // namespace pennock::ui
