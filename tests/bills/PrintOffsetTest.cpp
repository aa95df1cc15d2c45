#include "BillFixture.h"

#include "printing/CalibrationSheet.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintOffset.h"
#include "printing/PrinterCalibration.h"
#include "settings/Settings.h"

#include <QDoubleSpinBox>
#include <QFileInfo>

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
        return services.db().scalar(QStringLiteral("select %1 from CKTypeTable where CheckTypeID=?")
                                        .arg(QString::fromLatin1(name)),
            { id });
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

    services.db().execute(QStringLiteral("update CKTypeTable set visiable=? where CheckTypeID=?"),
        { u("停用"), kCcb });
    ui::TfrmPrintOffset hidden(services, kCcb, {});
    hidden.open();
    EXPECT_EQ(prompter.texts(),
        QStringList {
            u("没有找到编号为") + QString::number(kCcb) + u("的票据，请查看是否存在或被隐藏。") });
    EXPECT_EQ(hidden.list()->currentRow(), 0);
}

TEST_F(PrintOffsetTest, ArrowsAndFieldsAreWrittenAtOnce)
{
    services.db().execute(
        QStringLiteral("update CKTypeTable set XMove=-160, HVPrint='2' where CheckTypeID=?"),
        { kIcbc });
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

TEST_F(PrintOffsetTest, ARulerMeasurementOfTheSheetCalibratesTheBoundPrinter)
{
    const QString sheetPath = home.path() + QStringLiteral("/sheet.pdf");
    QSizeF printedPaper;
    int changes = 0;
    ui::TfrmPrintOffset::Links links;
    links.printer = [] { return QStringLiteral("Office-Printer"); };
    links.printSheet = [&](const QSizeF& paperMm) {
        printedPaper = paperMm;
        core::PdfCanvas canvas(sheetPath,
            core::PdfCanvas::paperLayout(int(paperMm.width() * 10), int(paperMm.height() * 10)));
        if (!canvas.beginDocument())
            return canvas.errorString();
        core::drawCalibrationSheet(canvas, paperMm, core::PrinterCalibration::marks(paperMm));
        return canvas.endDocument() ? QString() : canvas.errorString();
    };
    links.calibrationChanged = [&] { ++changes; };
    services.db().execute(
        QStringLiteral("update CKTypeTable set PWidth=2100, PHeight=1000 where CheckTypeID=?"),
        { kIcbc });
    ui::TfrmPrintOffset window(services, kIcbc, links);
    window.open();
    EXPECT_TRUE(window.calibrationLabel()->text().contains(u("未校准")));

    window.button(u("btCalSheet"))->click();
    EXPECT_EQ(printedPaper, QSizeF(210, 100)) << "the sheet has the template's paper size";
    EXPECT_GT(QFileInfo(sheetPath).size(), 0);
    const auto [a, b] = window.calibrationMarks();
    EXPECT_EQ(window.measured(0)->value(), a.x()) << "the fields start at the nominal marks";
    EXPECT_EQ(window.measured(3)->value(), b.y());

    // The printer feeds 1 % long across and puts everything 1.5 mm right and 0.5 mm high.
    window.measured(0)->setValue(a.x() * 1.01 + 1.5);
    window.measured(1)->setValue(a.y() - 0.5);
    window.measured(2)->setValue(b.x() * 1.01 + 1.5);
    window.measured(3)->setValue(b.y() - 0.5);
    window.button(u("btCalSave"))->click();
    const core::PrinterCalibration stored = core::PrinterCalibration::load(
        services.settings().userIni(), QStringLiteral("Office-Printer"));
    EXPECT_NEAR(stored.scaleX, 1 / 1.01, 1e-4);
    EXPECT_NEAR(stored.scaleY, 1, 1e-4);
    EXPECT_NEAR(stored.x(1000) / 10.0 * 1.01 + 1.5, 100, 0.1)
        << "asked for 100 mm, the paper gets 100 mm";
    EXPECT_NEAR(stored.offsetY, 0.5, 1e-3);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(window.calibrationLabel()->text().contains(u("已校准")));

    // Marks measured on top of each other cannot come from this sheet: nothing is stored.
    window.measured(2)->setValue(window.measured(0)->value());
    EXPECT_FALSE(window.saveMeasuredCalibration());
    EXPECT_TRUE(prompter.texts().last().contains(u("请重新测量")));
    EXPECT_EQ(core::PrinterCalibration::load(
                  services.settings().userIni(), QStringLiteral("Office-Printer"))
                  .scaleX,
        stored.scaleX);

    window.button(u("btCalReset"))->click();
    EXPECT_TRUE(core::PrinterCalibration::load(
        services.settings().userIni(), QStringLiteral("Office-Printer"))
                    .isIdentity());
    EXPECT_EQ(changes, 2);

    ui::TfrmPrintOffset noPrinter(services, kIcbc, {});
    noPrinter.open();
    EXPECT_FALSE(noPrinter.button(u("btCalSheet"))->isEnabled());
    EXPECT_FALSE(noPrinter.button(u("btCalSave"))->isEnabled());
}

} // namespace pennock::test
