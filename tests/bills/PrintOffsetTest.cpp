#include "BillFixture.h"

#include "printing/PrintOffset.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

namespace pennock::test {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

class PrintOffsetTest : public BillFixture
{
protected:
    QVariant column(int id, const char* name)
    {
        return services.db().scalar(
            QStringLiteral("select %1 from CKTypeTable where CheckTypeID=?").arg(QString::fromLatin1(name)), { id });
    }
};

} // namespace

TEST_F(PrintOffsetTest, OpensOnTheTemplateAskedForOrTheFirst)
{
    ui::TfrmPrintOffset none(services, 0, {});
    none.open();
    EXPECT_TRUE(prompter.entries().isEmpty()) << "no template asked for: no message";
    EXPECT_EQ(none.list()->currentRow(), 0);
    EXPECT_GT(none.templateId(), 0);

    ui::TfrmPrintOffset cheque(services, kCcb, {});
    cheque.open();
    EXPECT_EQ(cheque.templateId(), kCcb);
    EXPECT_TRUE(cheque.typeLabel()->text().startsWith(u("当前调整：")));
    EXPECT_FALSE(cheque.button(u("btPreviewIt"))->isEnabled()) << "no preview to hand over to";

    services.db().execute(QStringLiteral("update CKTypeTable set visiable=? where CheckTypeID=?"), { u("停用"), kCcb });
    ui::TfrmPrintOffset hidden(services, kCcb, {});
    hidden.open();
    EXPECT_EQ(prompter.texts(),
        QStringList { u("没有找到编号为") + QString::number(kCcb) + u("的票据，请查看是否存在或被隐藏。") });
    EXPECT_EQ(hidden.list()->currentRow(), 0);
}

TEST_F(PrintOffsetTest, ArrowsAndFieldsAreWrittenAtOnce)
{
    services.db().execute(QStringLiteral("update CKTypeTable set XMove=-160, HVPrint='2' where CheckTypeID=?"), { kIcbc });
    ui::TfrmPrintOffset window(services, kIcbc, {});
    window.open();
    EXPECT_EQ(window.field(u("XMove"))->value(), -160);
    EXPECT_TRUE(window.landscape()->isChecked()) << "any feed but 0 shows landscape";
    EXPECT_EQ(window.readOut(u("lbMoveX"))->text(), u("=1.6厘米"));
    for (int i = 0; i < 3; ++i)
        window.findChild<QToolButton*>(u("UpDown1Left"))->click();
    EXPECT_EQ(column(kIcbc, "XMove").toInt(), -190);
    EXPECT_EQ(column(kIcbc, "HVPrint").toString(), u("1"));
    EXPECT_EQ(window.readOut(u("lbMoveX"))->text(), u("=1.9厘米"));
    EXPECT_EQ(window.windowTitle(), u("票据整体属性修改成功！"));
    window.findChild<QToolButton*>(u("UpDown2Up"))->click();
    EXPECT_EQ(column(kIcbc, "YMove").toInt(), window.field(u("YMove"))->value());

    window.portrait()->setChecked(true);
    window.field(u("edtPWidth"))->setValue(2250);
    window.button(u("btSaveMove"))->click();
    EXPECT_EQ(prompter.texts().last(), u("票据整体属性修改成功！"));
    EXPECT_EQ(column(kIcbc, "PWidth").toInt(), 2250);
    EXPECT_EQ(column(kIcbc, "HVPrint").toString(), u("0"));
    EXPECT_EQ(window.windowTitle(), window.typeLabel()->text());

    // The template vanished meanwhile: nothing matched.
    services.db().execute(QStringLiteral("delete from CKTypeTable where CheckTypeID=?"), { kIcbc });
    window.button(u("btSaveMove"))->click();
    EXPECT_EQ(prompter.texts().last(), u("票据整体属性没有变动！"));
}

TEST_F(PrintOffsetTest, NothingIsWrittenWithoutATemplate)
{
    services.db().execute(QStringLiteral("update CKTypeTable set visiable=?"), { u("停用") });
    ui::TfrmPrintOffset window(services, 0, {});
    window.open();
    window.findChild<QToolButton*>(u("UpDown1Right"))->click();
    EXPECT_EQ(prompter.texts().last(), u("请在左侧选择要设置的快递单据！"));
    window.button(u("btSaveMove"))->click();
    EXPECT_EQ(prompter.texts().last(), u("请选择要设置的票据类型！"));
}

} // namespace pennock::test
