#include "bills/InputValue.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

using pennock::ui::TfrmInputValue;
using ValueType = TfrmInputValue::ValueType;

namespace {

QString u8(const char* text) { return QString::fromUtf8(text); }

const char* const kIntegerRefused = "提示：只能输入数字,谢谢！";
const char* const kDecimalRefused = "提示:只能输入数字及点(如: 12.5 )！";

TEST(InputValue, TypeNamesAreTrimmedAndCaseBlind)
{
    const std::pair<const char*, ValueType> cases[] = {
        { "INT", ValueType::Integer },
        { " integer ", ValueType::Integer },
        { "Float", ValueType::Decimal },
        { "real", ValueType::Decimal },
        { "DOUBLE ", ValueType::Decimal },
        { "string", ValueType::Text },
        { "", ValueType::Text },
        { "INT64", ValueType::Text },
    };
    for (const auto& [name, type] : cases)
        EXPECT_EQ(TfrmInputValue::classify(QString::fromLatin1(name)), type) << name;
}

TEST(InputValue, DialogShowsPromptDefaultAndCaptions)
{
    TfrmInputValue dialog(u8("请输入份数:"), QStringLiteral("3"), QStringLiteral("int"));
    EXPECT_EQ(dialog.windowTitle(), u8("用户输入"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(), u8("请输入份数:"));
    EXPECT_EQ(dialog.edtValue()->currentText(), QStringLiteral("3"));
    EXPECT_EQ(dialog.lbMessage()->text(), QString());
    EXPECT_EQ(dialog.btOK()->text(), u8("确 定(&Y)"));
    EXPECT_EQ(dialog.btCancel()->text(), u8("取 消(&C)"));
    QStringList offered;
    for (int i = 0; i < dialog.edtValue()->count(); ++i)
        offered << dialog.edtValue()->itemText(i);
    EXPECT_EQ(offered, QString("2 5 10 20 25 30 50 100 200 500 1000").split(' '));
    EXPECT_EQ(dialog.edtValue()->lineEdit()->maxLength(), 7);

    TfrmInputValue text(u8("备注:"), u8("默认"), QStringLiteral("text"));
    EXPECT_EQ(text.edtValue()->count(), 0);
    EXPECT_EQ(text.edtValue()->currentText(), u8("默认"));
}

struct KeyCase
{
    const char* type;
    const char* keys;
    const char* text;
    const char* message;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.type << " typing '" << c.keys << "'"; }

class InputValueKeys : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(InputValueKeys, RefusedKeysLeaveTheTextAndSayWhy)
{
    const KeyCase c = GetParam();
    TfrmInputValue dialog(QStringLiteral("?"), QString(), QString::fromLatin1(c.type));
    dialog.show();
    QTest::keyClicks(dialog.edtValue()->lineEdit(), QString::fromLatin1(c.keys));
    EXPECT_EQ(dialog.edtValue()->currentText(), QString::fromLatin1(c.text));
    EXPECT_EQ(dialog.lbMessage()->text(), u8(c.message));
}

INSTANTIATE_TEST_SUITE_P(Cases, InputValueKeys,
    ::testing::Values(KeyCase { "INT", "12a", "12", kIntegerRefused },
        KeyCase { "integer", "1a2", "12", "" }, // a permitted key clears the line
        KeyCase { "int", "3.5", "35", "" }, KeyCase { "int", "-", "", kIntegerRefused },
        KeyCase { "int", "123456789", "1234567", "" },
        KeyCase { "FLOAT", "12.5x", "12.5", kDecimalRefused },
        KeyCase { "real", "1x.5", "1.5", "" }, KeyCase { "double", " ", "", kDecimalRefused },
        KeyCase { "double", "-1", "1", "" }, KeyCase { "text", "ab -1.x", "ab -1.x", "" }));

TEST(InputValue, ACountOrAnAmountIsWhatWasTypedNeverCompletedFromTheList)
{
    // The offered counts once finished "3" as "30" and "1" as "10".
    for (const char* type : { "integer", "float" })
        for (const char* typed : { "3", "1", "2", "5", "20" }) {
            TfrmInputValue dialog(
                u8("输入重复打印的张数"), QStringLiteral("1"), QString::fromLatin1(type));
            dialog.edtValue()->insertItems(0, { QStringLiteral("10"), QStringLiteral("30") });
            dialog.show();
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            QLineEdit* line = dialog.edtValue()->lineEdit();
            line->selectAll();
            QTest::keyClicks(line, QString::fromLatin1(typed));
            QTest::keyClick(line, Qt::Key_Return);
            EXPECT_EQ(dialog.result(), QDialog::Accepted) << type << " " << typed;
            EXPECT_EQ(dialog.value(), QString::fromLatin1(typed)) << type;
        }
}

TEST(InputValue, BackspaceIsAPermittedKey)
{
    TfrmInputValue dialog(QStringLiteral("?"), QStringLiteral("12"), QStringLiteral("int"));
    dialog.show();
    QLineEdit* line = dialog.edtValue()->lineEdit();
    QTest::keyClicks(line, QStringLiteral("x"));
    ASSERT_EQ(dialog.lbMessage()->text(), u8(kIntegerRefused));
    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_EQ(dialog.edtValue()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(dialog.lbMessage()->text(), QString());
}

TEST(InputValue, PastedTextObeysTheSameRule)
{
    TfrmInputValue dialog(QStringLiteral("?"), QString(), QStringLiteral("int"));
    QLineEdit* line = dialog.edtValue()->lineEdit();
    line->insert(QStringLiteral("12ab"));
    EXPECT_EQ(dialog.edtValue()->currentText(), QString());
    line->insert(QStringLiteral("42"));
    EXPECT_EQ(dialog.edtValue()->currentText(), QStringLiteral("42"));
}

TEST(InputValue, OkRefusesAnEmptyValueAndTrimsTheRest)
{
    TfrmInputValue dialog(QStringLiteral("?"), QStringLiteral("   "), QStringLiteral("text"));
    dialog.show();
    QTest::mouseClick(dialog.btOK(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.lbMessage()->text(), u8("请输入正确的值，不能为空"));
    EXPECT_EQ(dialog.value(), QString());

    dialog.edtValue()->setEditText(u8("  第二联 "));
    QTest::mouseClick(dialog.btOK(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.value(), u8("第二联"));
}

TEST(InputValue, EnterPressesOkAndDoubleClickSelectsEverything)
{
    TfrmInputValue dialog(QStringLiteral("?"), QStringLiteral("12.5 元"), QStringLiteral("text"));
    dialog.show();
    QLineEdit* line = dialog.edtValue()->lineEdit();
    QTest::mouseDClick(line, Qt::LeftButton);
    EXPECT_EQ(line->selectedText(), QStringLiteral("12.5 元"));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.value(), QStringLiteral("12.5 元"));
}

TEST(InputValue, CancelAndTheFrameGiveAnEmptyValue)
{
    TfrmInputValue cancelled(QStringLiteral("?"), QStringLiteral("5"), QStringLiteral("int"));
    cancelled.show();
    QTest::mouseClick(cancelled.btCancel(), Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.value(), QString());

    TfrmInputValue closed(QStringLiteral("?"), QStringLiteral("5"), QStringLiteral("int"));
    closed.show();
    closed.close();
    EXPECT_EQ(closed.result(), QDialog::Rejected);
    EXPECT_EQ(closed.value(), QString());
}

TEST(InputValue, GiveMeAnValueReturnsTheTypedValueOrNothing)
{
    const auto answer = [](const char* keys, bool enter) {
        QTimer::singleShot(0, [keys, enter] {
            auto* dialog = qobject_cast<TfrmInputValue*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QTest::keyClicks(dialog->edtValue()->lineEdit(), QString::fromLatin1(keys));
            if (enter)
                QTest::keyClick(dialog->edtValue()->lineEdit(), Qt::Key_Return);
            else
                dialog->btCancel()->click();
        });
    };
    answer("7x", true);
    EXPECT_EQ(
        pennock::ui::giveMeAnValue(nullptr, u8("份数"), QStringLiteral("1"), QStringLiteral("INT")),
        QStringLiteral("17"));
    answer("9", false);
    EXPECT_EQ(pennock::ui::giveMeAnValue(nullptr, u8("份数"), QString(), QStringLiteral("INT")),
        QString());
}

} // namespace
