#include "bills/InputValue.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace pennock::ui {

namespace {
const QString kIntegerRefused = QStringLiteral("提示：只能输入数字,谢谢！");
const QString kDecimalRefused = QStringLiteral("提示:只能输入数字及点(如: 12.5 )！");

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
} // namespace

TfrmInputValue::TfrmInputValue(
    const QString& prompt, const QString& defaultValue, const QString& valueType, QWidget* parent)
    : QDialog(parent)
    , mType(classify(valueType))
    , mPrompt(new QLabel(QStringLiteral("请输入:")))
    , mEdit(new QComboBox)
    , mMessage(new QLabel)
    , mOk(new QPushButton(QStringLiteral("确 定(&Y)")))
    , mCancel(new QPushButton(QStringLiteral("取 消(&C)")))
{
    setObjectName(QStringLiteral("frmInputValue"));
    setWindowTitle(QStringLiteral("用户输入"));
    mPrompt->setObjectName(QStringLiteral("Label1"));
    mPrompt->setText(prompt);
    mPrompt->setWordWrap(true);
    mEdit->setObjectName(QStringLiteral("edtValue"));
    mEdit->setEditable(true);
    mEdit->setInsertPolicy(QComboBox::NoInsert);
    mMessage->setObjectName(QStringLiteral("lbMessage"));
    mMessage->setStyleSheet(QStringLiteral("color: red"));
    mOk->setObjectName(QStringLiteral("btOK"));
    mCancel->setObjectName(QStringLiteral("btCancel"));
    mOk->setDefault(true);

    QLineEdit* line = mEdit->lineEdit();
    // A count or an amount is what the user typed: "3" never becomes "30" from the list.
    if (mType != ValueType::Text)
        mEdit->setCompleter(nullptr);
    const auto only = [line](const char* pattern) {
        const QRegularExpression rule(QString::fromLatin1(pattern));
        return new QRegularExpressionValidator(rule, line);
    };
    if (mType == ValueType::Integer) {
        for (int n : { 2, 5, 10, 20, 25, 30, 50, 100, 200, 500, 1000 })
            mEdit->addItem(QString::number(n));
        line->setMaxLength(7);
        // Pasted text obeys the same rule as typed keys.
        line->setValidator(only("[0-9]*"));
    } else if (mType == ValueType::Decimal) {
        line->setValidator(only("[0-9.]*"));
    }
    mEdit->setEditText(defaultValue);
    line->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mPrompt);
    layout->addWidget(mEdit);
    layout->addWidget(mMessage);
    layout->addLayout(buttons);
    setMinimumWidth(300);

    connect(mOk, &QPushButton::clicked, this, &TfrmInputValue::btOKClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmInputValue::ValueType TfrmInputValue::classify(const QString& valueType)
{
    const QString type = valueType.trimmed().toUpper();
    if (type == u"INT" || type == u"INTEGER")
        return ValueType::Integer;
    if (type == u"FLOAT" || type == u"REAL" || type == u"DOUBLE")
        return ValueType::Decimal;
    return ValueType::Text;
}

bool TfrmInputValue::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != mEdit->lineEdit())
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonDblClick) {
        mEdit->lineEdit()->selectAll();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        mMessage->clear();
        mOk->click();
        return true;
    }
    // Keys without a character (arrows, Delete, Home…) move or edit as usual.
    const bool typesCharacter = !key->text().isEmpty() && key->key() != Qt::Key_Delete
        && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab;
    if (typesCharacter && !acceptTyped(key->text()))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TfrmInputValue::acceptTyped(const QString& text)
{
    if (mType == ValueType::Text)
        return true;
    const QChar c = text.front();
    const bool control = c == u'\b' || c == u'\x1b' || c == u'\r';
    const bool allowed = control || isDigit(c) || (mType == ValueType::Decimal && c == u'.');
    if (allowed)
        mMessage->clear();
    else
        mMessage->setText(mType == ValueType::Integer ? kIntegerRefused : kDecimalRefused);
    return allowed;
}

void TfrmInputValue::btOKClick()
{
    const QString text = mEdit->currentText().trimmed();
    if (text.isEmpty()) {
        mMessage->setText(QStringLiteral("请输入正确的值，不能为空"));
        return;
    }
    mValue = text;
    accept();
}

QString giveMeAnValue(
    QWidget* parent, const QString& prompt, const QString& defaultValue, const QString& valueType)
{
    TfrmInputValue dialog(prompt, defaultValue, valueType, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.value() : QString();
}

} // namespace pennock::ui
