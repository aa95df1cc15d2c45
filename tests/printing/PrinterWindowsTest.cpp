#include "printing/LockPrinter.h"
#include "printing/PrintEngine.h"
#include "printing/PrinterBinding.h"
#include "printing/PrinterParam.h"
#include "printing/PrinterSetupDialog.h"
#include "printing/RecordingCanvas.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "store/Installation.h"
#include "support/ScriptedPrinterDialog.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/PrinterPresets.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pennock::core;
using namespace pennock::ui;
using pennock::test::ScriptedPrinterDialog;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

// No test here may reach a scheduler of the machine: printers are lists given by the tests.
const auto* const kNoScheduler
    = ::testing::AddGlobalTestEnvironment(new pennock::test::NoPrintScheduler);

class PrinterWindowsTest : public ::testing::Test
{
protected:
    PrinterWindowsTest() { ensureInstallation(ProgramFolder(home.path())); }

    std::unique_ptr<PrinterBinding> bind(const QStringList& printers)
    {
        return std::make_unique<PrinterBinding>(
            services.settings(), prompter, engine, dialog, printers);
    }

    void addTemplate(int id, const char* visible, int xMove)
    {
        services.db().execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeName, "
                                             "Visiable, XMove, YMove, HVPrint) values (?, ?, ?, "
                                             "?, 15, '1')"),
            { id, QStringLiteral("支票（%1）").arg(id), QString::fromUtf8(visible), xMove });
    }

    QList<QVariantList> templates()
    {
        QSqlQuery q = services.db().exec(QStringLiteral("select XMove, YMove, HVPrint from "
                                                        "CKTypeTable order by CheckTypeID"));
        QList<QVariantList> rows;
        while (q.next())
            rows.append({ q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString() });
        return rows;
    }

    QString config(const QString& section, const QString& key)
    {
        return services.settings().userIni().readString(section, key);
    }

    TempHome home;
    ScriptedPrompter prompter;
    Services services { home.path(), prompter };
    PrintEngine engine { services.db(), prompter };
    ScriptedPrinterDialog dialog;
    VendorLinks links { QStringLiteral("9.9"), {} };
};

} // namespace

TEST_F(PrinterWindowsTest, BoundPrinterIsFoundWithoutRegardToCase)
{
    struct Case
    {
        QStringList printers;
        QString stored; ///< "DefaultPrinter"
        QString name; ///< handed to setDefaultPrinter
        int index; ///< current printer afterwards
    };
    const QStringList two = { QStringLiteral("Office Laser"), QStringLiteral("LQ-630K") };
    const Case cases[] = {
        { two, QStringLiteral("lq-630k"), QString(), 1 },
        { two, QStringLiteral("lq-630k"), QStringLiteral("  "), 1 },
        { two, QString(), QStringLiteral("office LASER"), 0 },
        { two, QString(), QStringLiteral("Missing"), -1 },
        { two, QString(), QString(), -1 },
        // One printer and no name: an empty name is searched and not found.
        { { QStringLiteral("Only") }, QString(), QString(), -1 },
    };
    for (const Case& c : cases) {
        services.settings().setConfigByname(QStringLiteral("DefaultPrinter"), c.stored);
        auto binding = bind(c.printers);
        QSignalSpy selected(binding.get(), &PrinterBinding::printerSelected);
        binding->setDefaultPrinter(c.name);
        EXPECT_EQ(binding->currentIndex(), c.index) << c.name.toStdString();
        EXPECT_EQ(selected.count(), c.index >= 0 ? 1 : 0) << c.name.toStdString();
        if (c.index >= 0) {
            EXPECT_EQ(binding->rememberedName(), c.name.trimmed().isEmpty() ? c.stored : c.name);
        }
    }
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(PrinterWindowsTest, PrinterDialogSetsOrClearsTheJob)
{
    auto none = bind({});
    none->PrinterConfigClick(nullptr);
    EXPECT_EQ(dialog.shown, 0);
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(prompter.entries()[0].text,
        QStringLiteral(
            "没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，请重新打开软件！"));
    none.reset();
    prompter.clear();

    auto binding = bind({ QStringLiteral("LQ-630K") });
    EXPECT_EQ(engine.canvas(), &binding->canvas());
    dialog.answer = PrinterSetupDialog::Result::Accepted;
    binding->PrinterConfigClick(nullptr);
    EXPECT_TRUE(engine.printJobReady());
    dialog.answer = PrinterSetupDialog::Result::Rejected;
    binding->PrinterConfigClick(nullptr);
    EXPECT_FALSE(engine.printJobReady());
    engine.setPrintJobReady(true);
    dialog.answer = PrinterSetupDialog::Result::Unavailable;
    binding->PrinterConfigClick(nullptr);
    EXPECT_TRUE(engine.printJobReady());
    EXPECT_EQ(dialog.shown, 3);
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(prompter.entries()[0].text,
        QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！"));
    binding.reset();
    EXPECT_EQ(engine.canvas(), nullptr);
}

TEST_F(PrinterWindowsTest, CancellingTheDialogDuringPreparationPrintsNothingAndSaysNothing)
{
    addTemplate(1, "启用", 100);
    services.db().execute(QStringLiteral("insert into CKControl (CheckTypeID, CtlName, CtlX, CtlY, "
                                         "CtlFontSize) values (1, 'ZDA', 10, 10, 12)"));
    auto binding = bind({ QStringLiteral("LQ-630K") });
    struct Case
    {
        PrinterSetupDialog::Result answer;
        int documents;
        int texts;
    };
    const Case cases[] = { { PrinterSetupDialog::Result::Rejected, 0, 0 },
        { PrinterSetupDialog::Result::Accepted, 1, 1 } };
    for (const Case& c : cases) {
        RecordingCanvas canvas(360, 360, 0);
        engine.setCanvas(&canvas);
        const std::optional<QPoint> offset = engine.prepareJob(1);
        ASSERT_TRUE(offset);
        dialog.answer = c.answer;
        binding->PrinterConfigClick(nullptr);
        engine.beginJob(1);
        engine.printItems(1, offset->x(), offset->y(),
            { { QStringLiteral("ZDA"), QStringLiteral("TEXT"), QStringLiteral("x") } });
        engine.endJob();
        EXPECT_EQ(canvas.documentsBegun(), c.documents);
        EXPECT_EQ(canvas.documentsEnded(), c.documents);
        EXPECT_EQ(canvas.texts().size(), c.texts);
        EXPECT_FALSE(engine.printJobReady());
        engine.setCanvas(nullptr);
    }
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(PrinterWindowsTest, BindingWindowWithoutPrintersWarnsAndCannotMatch)
{
    auto binding = bind({});
    TfmLockPrinter window(services, *binding, links);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("固定票据打印机"));
    EXPECT_EQ(prompter.texts(),
        QStringList { QStringLiteral("没有检测到打印机！请安装打印机并重启动本软件！") });
    EXPECT_FALSE(window.btShiPei->isEnabled());
    EXPECT_FALSE(window.btLock->isEnabled());
    window.btLockClick();
    window.btShiPeiClick();
    EXPECT_EQ(prompter.texts().mid(1),
        (QStringList {
            QStringLiteral("请选择票据打印机！"), QStringLiteral("请选择要固定的票据打印机！") }));
}

TEST_F(PrinterWindowsTest, BindingWindowLocksTheChosenPrinter)
{
    const QStringList printers = { QStringLiteral("Office Laser"), QStringLiteral("LQ-630K") };
    auto binding = bind(printers);
    // Only the exact name is preselected.
    Settings& settings = services.settings();
    settings.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("lq-630k"));
    {
        TfmLockPrinter window(services, *binding, links);
        EXPECT_EQ(window.cbPrinters->currentIndex(), -1);
    }
    settings.setConfigByname(QStringLiteral("DefaultPrinter"), QStringLiteral("LQ-630K"));
    TfmLockPrinter window(services, *binding, links);
    EXPECT_EQ(window.cbPrinters->currentText(), QStringLiteral("LQ-630K"));
    EXPECT_FALSE(window.btLock->isEnabled());
    EXPECT_TRUE(window.btShiPei->isEnabled());

    window.cbPrinters->setCurrentIndex(0);
    ASSERT_TRUE(window.btLock->isEnabled());
    QTest::mouseClick(window.btLock, Qt::LeftButton);
    EXPECT_EQ(services.settings().getConfigByname(QStringLiteral("DefaultPrinter")),
        QStringLiteral("Office Laser"));
    EXPECT_EQ(binding->currentIndex(), 0);
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("默认票据打印机设置成功！") });
    window.cbPrinters->setCurrentIndex(-1);
    EXPECT_FALSE(window.btLock->isEnabled());
}

TEST_F(PrinterWindowsTest, MatchingFromTheBindingWindowIsForTheChosenPrinter)
{
    auto binding = bind({ QStringLiteral("Office Laser"), QStringLiteral("LQ-630K") });
    TfmLockPrinter window(services, *binding, links);
    window.show();
    window.cbPrinters->setCurrentIndex(1);
    QString filledIn;
    bool boxEnabled = true;
    QTimer::singleShot(0, [&] {
        auto* matching = qobject_cast<TfrmPrinterParam*>(QApplication::activeModalWidget());
        ASSERT_NE(matching, nullptr);
        filledIn = matching->cb_PrintersClient->currentText();
        boxEnabled = matching->cb_PrintersClient->isEnabled();
        matching->Button1->click();
    });
    window.btShiPeiClick();
    EXPECT_EQ(filledIn, QStringLiteral("LQ-630K"));
    EXPECT_FALSE(boxEnabled);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PrinterWindowsTest, PresetsComeFromConfigIniOrSayThereAreNone)
{
    auto binding = bind({ QStringLiteral("LQ-630K") });
    {
        TfrmPrinterParam window(services, *binding, links);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("打印机整体偏移参数适配"));
        ASSERT_EQ(window.cb_PrintersWeKnow->count(), 1);
        EXPECT_EQ(window.cb_PrintersWeKnow->currentText(), QStringLiteral("没有预选打印机配置"));
        EXPECT_TRUE(window.edtOX->text().isEmpty());
        EXPECT_TRUE(window.edtOBoardPosition->text().isEmpty());
        EXPECT_EQ(window.cbODirection->currentIndex(), -1);
    }
    IniFile& ini = services.settings().userIni();
    ASSERT_TRUE(installPrinterPresets(ini));
    EXPECT_FALSE(installPrinterPresets(ini));
    IniFile reread(ProgramFolder(home.path()).configIniPath());
    EXPECT_EQ(presetModels(reread),
        (QStringList { QStringLiteral("EPSON LQ-630K"), QStringLiteral("EPSON LQ-635K"),
            QStringLiteral("EPSON LQ-730K"), QStringLiteral("EPSON LQ-735K") }));

    TfrmPrinterParam window(services, *binding, links);
    EXPECT_EQ(window.cb_PrintersWeKnow->count(), 4);
    EXPECT_EQ(window.edtOX->text(), QStringLiteral("-160"));
    EXPECT_EQ(window.edtOY->text(), QStringLiteral("0"));
    EXPECT_EQ(window.cbODirection->currentText(), QStringLiteral("纵向"));
    EXPECT_TRUE(window.edtOBoardPosition->text().contains(QStringLiteral("15mm")));
    // Showing the first preset does not fill in the user's settings.
    EXPECT_TRUE(window.edtUPrinter->text().isEmpty());
    EXPECT_EQ(window.edtUX->value(), 0);

    window.cb_PrintersClient->setCurrentIndex(0);
    window.cb_PrintersWeKnow->setCurrentIndex(2);
    EXPECT_EQ(window.edtUPrinter->text(), QStringLiteral("LQ-630K"));
    EXPECT_EQ(window.edtUX->value(), -160);
    EXPECT_EQ(window.edtUY->value(), 0);
    EXPECT_EQ(window.cbUDirection->currentText(), QStringLiteral("纵向"));
    EXPECT_EQ(window.edtUBoardPosition->text(), window.edtOBoardPosition->text());
}

TEST_F(PrinterWindowsTest, ApplyingGivesEveryTemplateTheOffsetsAndRemembersThePrinter)
{
    addTemplate(1, "启用", 100);
    addTemplate(2, "停用隐藏", -50);
    auto binding = bind({ QStringLiteral("Office Laser"), QStringLiteral("LQ-630K") });
    TfrmPrinterParam window(services, *binding, links);
    window.cb_PrintersClient->setCurrentIndex(1);
    window.edtUPrinter->setText(QStringLiteral("EPSON LQ-630K"));
    window.edtUX->setValue(0);
    window.edtUY->setValue(0);
    window.cbUDirection->setCurrentText(QStringLiteral("纵向"));
    window.edtUBoardPosition->setText(QStringLiteral("挡板15mm"));

    prompter.queueAnswer(false);
    window.BitBtn1Click();
    EXPECT_EQ(templates()[0], (QVariantList { 100, 15, QStringLiteral("1") }));
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].caption, QStringLiteral("确认"));
    EXPECT_EQ(prompter.entries()[0].text,
        QStringLiteral("你确认对所有单据应用该设置吗？\n请在打印测试前调整好挡板！-挡板15mm"));
    prompter.clear();

    prompter.queueAnswer(true);
    window.BitBtn1Click();
    EXPECT_EQ(templates(),
        (QList<QVariantList> { { 0, 0, QStringLiteral("0") }, { 0, 0, QStringLiteral("0") } }));
    EXPECT_EQ(prompter.texts().mid(1),
        (QStringList { QStringLiteral("应用单据成功！"), QStringLiteral("配置修改成功！") }));
    EXPECT_EQ(config("printeruse", "printers"), QStringLiteral("EPSON LQ-630K"));
    EXPECT_EQ(config("printeruse", "EPSON LQ-630K.PrinterName"), QStringLiteral("LQ-630K"));
    EXPECT_EQ(config("printeruse", "EPSON LQ-630K.x"), QStringLiteral("0"));
    EXPECT_EQ(config("printeruse", "EPSON LQ-630K.y"), QStringLiteral("0"));
    EXPECT_EQ(config("printeruse", "EPSON LQ-630K.d"), QStringLiteral("纵向"));
    EXPECT_EQ(config("printeruse", "EPSON LQ-630K.board"), QStringLiteral("挡板15mm"));
    EXPECT_EQ(binding->currentIndex(), 1);

    // The next opening starts from what was applied.
    TfrmPrinterParam again(services, *binding, links);
    EXPECT_EQ(again.edtUPrinter->text(), QStringLiteral("EPSON LQ-630K"));
    EXPECT_EQ(again.cbUDirection->currentText(), QStringLiteral("纵向"));
    EXPECT_EQ(again.edtUBoardPosition->text(), QStringLiteral("挡板15mm"));
}

TEST_F(PrinterWindowsTest, ApplyingChecksDirectionPrinterAndModel)
{
    addTemplate(1, "启用", 100);
    auto binding = bind({ QStringLiteral("LQ-630K") });
    TfrmPrinterParam window(services, *binding, links);
    window.edtUX->setValue(-160);
    struct Case
    {
        int printer;
        QString model;
        QString direction;
        QStringList messages; ///< after the question
    };
    const Case cases[] = {
        { 0, QStringLiteral("M"), QString(), { QStringLiteral("请选择打印方向！") } },
        { 0, QStringLiteral("M"), QStringLiteral("斜向"),
            { QStringLiteral("非法的打印方向参数！") } },
        { -1, QStringLiteral("M"), QStringLiteral("横向"),
            { QStringLiteral("应用单据成功！"), QStringLiteral("请选择你的票据打印机！") } },
        { 0, QStringLiteral("  "), QStringLiteral("横向"),
            { QStringLiteral("应用单据成功！"), QStringLiteral("请输入适配打印机类型名！") } },
    };
    for (const Case& c : cases) {
        prompter.clear();
        window.cb_PrintersClient->setCurrentIndex(c.printer);
        window.edtUPrinter->setText(c.model);
        window.cbUDirection->setCurrentText(c.direction);
        prompter.queueAnswer(true);
        window.BitBtn1Click();
        EXPECT_EQ(prompter.texts().mid(1), c.messages) << c.direction.toStdString();
    }
    EXPECT_EQ(templates()[0], (QVariantList { -160, 0, QStringLiteral("1") }));
    EXPECT_TRUE(config("printeruse", "printers").isEmpty());
}

TEST_F(PrinterWindowsTest, FailedApplyStillWritesThePrinterSettings)
{
    auto binding = bind({ QStringLiteral("LQ-630K") });
    TfrmPrinterParam window(services, *binding, links);
    window.cb_PrintersClient->setCurrentIndex(0);
    window.edtUPrinter->setText(QStringLiteral("M"));
    window.cbUDirection->setCurrentText(QStringLiteral("纵向"));
    // No template at all, then no table at all.
    for (int round = 0; round < 2; ++round) {
        prompter.clear();
        prompter.queueAnswer(true);
        window.BitBtn1Click();
        EXPECT_EQ(prompter.texts().mid(1),
            (QStringList { QStringLiteral("应用单据失败！！"), QStringLiteral("配置修改成功！") }));
        EXPECT_EQ(config("printeruse", "printers"), QStringLiteral("M"));
        services.db().execute(QStringLiteral("drop table if exists CKTypeTable"));
    }
}

TEST_F(PrinterWindowsTest, RecommendedParametersLinkCarriesPrinterAndVersion)
{
    struct Case
    {
        QString printer;
        QString page;
    };
    const Case cases[] = {
        { QStringLiteral("LQ-630K"),
            QStringLiteral("customer/printerpos.asp?Printer=LQ-630K&version=9.9") },
        // Characters that would end the value or the address travel encoded.
        { QStringLiteral("A&B #2+票据"),
            QStringLiteral("customer/printerpos.asp?Printer=A%26B%20%232%2B%E7%A5%A8%E6%8D%AE"
                           "&version=9.9") },
    };
    for (const Case& c : cases) {
        QStringList opened;
        links.open = [&](const QString& page) { opened << page; };
        auto binding = bind({ QStringLiteral("Office Laser"), c.printer });
        TfrmPrinterParam window(services, *binding, links, c.printer);
        EXPECT_FALSE(window.cb_PrintersClient->isEnabled());
        window.openRecommendedParams();
        EXPECT_EQ(opened, QStringList { c.page });
    }
}

TEST_F(PrinterWindowsTest, MenuCommandShowsTheBindingWindowModallyAndDestroysIt)
{
    auto binding = bind({ QStringLiteral("LQ-630K") });
    QWidget mainWindow;
    mainWindow.show();
    QPointer<TfmLockPrinter> shown;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<TfmLockPrinter*>(QApplication::activeModalWidget());
        modal = shown && shown->parentWidget() == &mainWindow;
        if (shown)
            shown->close();
    });
    openPrinterBinding(&mainWindow, services, *binding, links);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(shown.isNull());
}
