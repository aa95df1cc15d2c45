#include "parties/AddressSplitDialog.h"

#include "parties/DialogButton.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pennock::ui {

AddressSplitDialog::AddressSplitDialog(
    const core::SplitAddress& split, const QString& pastedText, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AddressSplitDialog"));
    setWindowTitle(QStringLiteral("地址识别"));

    edtPasted = new QPlainTextEdit(pastedText, this);
    edtPasted->setObjectName(QStringLiteral("edtPasted"));
    edtPasted->setReadOnly(true);
    edtPasted->setMaximumHeight(fontMetrics().lineSpacing() * 4);

    auto* form = new QFormLayout;
    const auto edit = [&](const char* name, const QString& label, const QString& value) {
        auto* e = new QLineEdit(value, this);
        e->setObjectName(QString::fromLatin1(name));
        form->addRow(label, e);
        return e;
    };
    edtName = edit("edtName", QStringLiteral("收件人"), split.name);
    edtMobile = edit("edtMobile", QStringLiteral("手机"), split.mobile);
    edtPhone = edit("edtPhone", QStringLiteral("电话"), split.phone);
    edtProvince = edit("edtProvince", QStringLiteral("省"), split.province);
    edtCity = edit("edtCity", QStringLiteral("市"), split.city);
    edtDistrict = edit("edtDistrict", QStringLiteral("区/镇"), split.district);
    edtAddress = edit("edtAddress", QStringLiteral("详细地址"), split.address);
    edtAddress->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
    edtPostcode = edit("edtPostcode", QStringLiteral("邮编"), split.postcode);

    btOK = dialogButton(this, "btOK", QStringLiteral("确定"));
    btCancel = dialogButton(this, "btCancel", QStringLiteral("取消"));
    // Enter in an edit accepts the corrections, as the OK button would.
    btOK->setDefault(true);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edtPasted);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

core::SplitAddress AddressSplitDialog::result() const
{
    return { edtName->text().trimmed(), edtMobile->text().trimmed(), edtPhone->text().trimmed(),
        edtProvince->text().trimmed(), edtCity->text().trimmed(), edtDistrict->text().trimmed(),
        edtAddress->text().trimmed(), edtPostcode->text().trimmed() };
}

} // namespace pennock::ui
