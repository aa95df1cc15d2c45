#include "../bills/BillFixture.h"
#include "../printing/PdfWords.h"
#include "SheetFiles.h"

#include "bills/TfmCheckKDD.h"
#include "bills/WaybillKind.h"
#include "import/OrderSheet.h"
#include "import/TfmWaybillBatch.h"
#include "parties/AddressSplit.h"
#include "parties/DAOPerson.h"
#include "parties/ReceiverList.h"
#include "platform/FileChooser.h"
#include "support/CliProcess.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace pennock::test {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// A shop's order export: a full address in one column for most rows, region columns for one,
// a row without any recipient, and the mobile as a number cell.
TestSheet shopOrders()
{
    QList<TestCell> titles;
    for (const char* title : { "订单编号", "收货人", "收件人电话", "联系手机", "省", "市",
             "详细地址", "宝贝标题", "数量", "买家留言" })
        titles.append(TestCell::str(u(title)));
    const auto row = [](const char* order, const char* name, const char* phone, double mobile,
                         const char* province, const char* city, const char* address,
                         const char* goods, double count, const char* note) {
        QList<TestCell> cells = { TestCell::str(u(order)), TestCell::str(u(name)),
            TestCell::str(u(phone)),
            mobile > 0 ? TestCell::num(mobile, QString::number(qint64(mobile))) : TestCell::blank(),
            TestCell::str(u(province)), TestCell::str(u(city)), TestCell::str(u(address)),
            TestCell::str(u(goods)), TestCell::num(count, QString::number(count)),
            TestCell::str(u(note)) };
        return cells;
    };
    return { u("订单"),
        { titles,
            row("A001", "张三", "0571-88886666", 13800138000.0, "", "",
                "浙江省杭州市西湖区文三路90号东部软件园", "保温杯", 2, "请周末送货"),
            row("A002", "李四", "", 13912345678.0, "广东省", "深圳市", "南山区科技园南路8号", "T恤",
                1, ""),
            row("A003", "", "", 0, "", "", "", "", 1, "只有留言"),
            row("A004", "王五", "'010-85801234", 0, "", "", "北京朝阳区建国路88号SOHO现代城",
                "文件", 1, "") } };
}

class ScriptedFiles final : public core::FileChooser
{
public:
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return path; }
    QString path;
};

class WaybillBatchTest : public BillFixture
{
protected:
    QString shopFile(const QString& format)
    {
        const TestSheet sheet = shopOrders();
        QDir().mkpath(home.file(QStringLiteral("orders")));
        const QString path = home.file(
            QStringLiteral("orders/shop.") + (format.startsWith(u"csv") ? u"csv"_qs : format));
        if (format == u"xlsx")
            writeXlsx(path, { sheet });
        else if (format == u"xls")
            writeXls(path, { sheet });
        else if (format == u"ods")
            writeOds(path, { sheet });
        else
            writeCsv(path, sheet, format == u"csv-gbk" ? u"GB18030"_qs : u"UTF-8"_qs);
        return path;
    }

    CliRun batch(const QStringList& more)
    {
        return runCliProcess(QStringList { QStringLiteral("batch"), QStringLiteral("--home"),
                                 home.path(), QStringLiteral("--kind"), u("快递单") }
            + more);
    }

    QVariantMap kddRow(const QString& contact)
    {
        QSqlQuery q = services.db().exec(
            QStringLiteral("select * from DataKDDTable where 收件联系人=?"), { contact });
        QVariantMap out;
        if (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                out.insert(q.record().fieldName(i), q.value(i));
        return out;
    }
};

} // namespace

TEST_F(WaybillBatchTest, ShopTitlesAreMatchedAndAddressesSplit)
{
    const QStringList titles = { u("订单编号"), u("收货人"), u("收件人电话"), u("联系手机"),
        u("省"), u("市"), u("详细地址"), u("宝贝标题"), u("数量"), u("买家留言") };
    const QList<int> columns = core::matchOrderColumns(services.db(), titles);
    QHash<QString, int> byColumn;
    for (qsizetype i = 0; i < core::orderFields().size(); ++i)
        byColumn.insert(core::orderFields()[i].column, columns.value(i));
    EXPECT_EQ(byColumn.value(u("联系人")), 1);
    EXPECT_EQ(byColumn.value(u("电话")), 2);
    EXPECT_EQ(byColumn.value(u("手机")), 3);
    EXPECT_EQ(byColumn.value(u("省")), 4);
    EXPECT_EQ(byColumn.value(u("市")), 5);
    EXPECT_EQ(byColumn.value(u("地址")), 6);
    EXPECT_EQ(byColumn.value(u("内件说明")), 7);
    EXPECT_EQ(byColumn.value(u("件数")), 8);
    EXPECT_EQ(byColumn.value(u("备注")), 9);
    EXPECT_EQ(byColumn.value(u("全称")), -1);
    EXPECT_EQ(byColumn.value(u("自定义3")), 0) << "the order number";

    // Titles of other shops.
    const QList<int> other = core::matchOrderColumns(services.db(),
        { u("收件人"), u("收件人手机"), u("省份"), u("城市"), u("区"), u("收货地址") });
    QHash<QString, int> otherColumn;
    for (qsizetype i = 0; i < core::orderFields().size(); ++i)
        otherColumn.insert(core::orderFields()[i].column, other.value(i));
    EXPECT_EQ(otherColumn.value(u("联系人")), 0);
    EXPECT_EQ(otherColumn.value(u("手机")), 1);
    EXPECT_EQ(otherColumn.value(u("省")), 2);
    EXPECT_EQ(otherColumn.value(u("市")), 3);
    EXPECT_EQ(otherColumn.value(u("镇区")), 4);
    EXPECT_EQ(otherColumn.value(u("地址")), 5);

    const QList<QStringList> rows = { titles,
        { u("A1"), u("张三"), u("'0571-1"), u("13800138000"), u(""), u(""),
            u("浙江省杭州市西湖区文三路90号"), u("杯"), u("2"), u("") },
        {}, { u("A2"), u("李四"), u(""), u(""), u("广东省"), u("深圳市"), u("南山区科技园8号") } };
    const core::AddressSplitter splitter = core::AddressSplitter::fromDatabase(services.db());
    QList<int> sheetRows;
    const auto receivers = core::receiversFromRows(rows, columns, &splitter, &sheetRows);
    ASSERT_EQ(receivers.size(), 2) << "the empty row is left out";
    EXPECT_EQ(sheetRows, (QList<int> { 2, 4 }));
    EXPECT_EQ(receivers[0].value(u("电话")), u("0571-1")) << "the quote of a number goes";
    EXPECT_EQ(receivers[0].value(u("省")), u("浙江省"));
    EXPECT_EQ(receivers[0].value(u("市")), u("杭州市"));
    EXPECT_EQ(receivers[0].value(u("镇区")), u("西湖区"));
    EXPECT_EQ(receivers[0].value(u("地址")), u("文三路90号"));
    EXPECT_EQ(receivers[1].value(u("地址")), u("南山区科技园8号"))
        << "given regions stay as they are";
}

TEST_F(WaybillBatchTest, CommandPrintsAndSavesAShopExportOfEveryFormat)
{
    for (const char* format : { "xlsx", "xls", "ods", "csv", "csv-gbk" }) {
        SCOPED_TRACE(format);
        services.db().execute(QStringLiteral("delete from DataKDDTable"));
        const QString file = shopFile(u(format));
        const QString pdf = home.file(QStringLiteral("out/") + u(format) + QStringLiteral(".pdf"));
        const CliRun r = batch({ QStringLiteral("--rows"), file, QStringLiteral("--pdf"), pdf,
            QStringLiteral("--first-number"), QStringLiteral("YT0098"), QStringLiteral("--save"),
            QStringLiteral("--set"), u("zdHKRLXR=寄件人甲") });
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList lines = r.out.trimmed().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
        EXPECT_TRUE(lines[0].startsWith(u("row 4: "))) << lines[0].toStdString();
        EXPECT_EQ(
            lines[1], u("printed 3 waybills to ") + QDir::toNativeSeparators(pdf) + u(", saved 3"));

        const auto pages = readPdfWords(pdf);
        ASSERT_EQ(pages.size(), 3);
        const int id = services.templates().loadDefaultCheckTypeId(u("快递单"));
        QSqlQuery box
            = services.db().exec(QStringLiteral("select CtlX, CtlY, CtlW from CKControl "
                                                "where CheckTypeID=? and CtlName='ZDSKRLXR'"),
                { id });
        ASSERT_TRUE(box.next());
        const double left = box.value(0).toInt() / 10.0;
        const double top = box.value(1).toInt() / 10.0;
        const double right = left + box.value(2).toInt() / 10.0;
        const char* contacts[] = { "张三", "李四", "王五" };
        for (int p = 0; p < 3; ++p) {
            const auto words = wordsEqualTo(pages[p], u(contacts[p]));
            ASSERT_EQ(words.size(), 1) << contacts[p];
            EXPECT_GE(words[0].left, left - 0.5);
            EXPECT_LE(words[0].right, right + 0.5);
            EXPECT_NEAR(words[0].top, top, 2.0);
            EXPECT_EQ(wordsEqualTo(pages[p], u("寄件人甲")).size(), 1)
                << "the sender on every page";
        }

        EXPECT_EQ(rows(QStringLiteral("DataKDDTable")), 3);
        const QVariantMap zhang = kddRow(u("张三"));
        EXPECT_EQ(zhang.value(u("收件省")).toString(), u("浙江省"));
        EXPECT_EQ(zhang.value(u("收件市县")).toString(), u("杭州市"));
        EXPECT_EQ(zhang.value(u("收件镇区")).toString(), u("西湖区"));
        EXPECT_EQ(zhang.value(u("收方手机")).toString(), u("13800138000"));
        EXPECT_EQ(zhang.value(u("物品内容")).toString(), u("保温杯"));
        EXPECT_EQ(zhang.value(u("件数")).toString(), u("2"));
        EXPECT_EQ(zhang.value(u("备注")).toString(), u("请周末送货"));
        EXPECT_EQ(zhang.value(u("快递单号")).toString(), u("YT0098"));
        EXPECT_EQ(zhang.value(u("寄件联系人")).toString(), u("寄件人甲"));
        EXPECT_EQ(kddRow(u("李四")).value(u("快递单号")).toString(), u("YT0099"));
        const QVariantMap wang = kddRow(u("王五"));
        EXPECT_EQ(wang.value(u("快递单号")).toString(), u("YT0100"));
        EXPECT_EQ(wang.value(u("收件省")).toString(), u("北京市"));
        EXPECT_EQ(wang.value(u("收件市县")).toString(), u("朝阳区"));
        EXPECT_EQ(wang.value(u("收件电话")).toString(), u("010-85801234"));
    }
}

TEST_F(WaybillBatchTest, CommandTakesASenderAndRefusesBadInputWithOneLine)
{
    core::TPerson sender;
    sender.全称 = u("杭州发货仓");
    sender.联系人 = u("仓管员");
    sender.单位类型 = u("我方单位");
    core::DAOPerson(services.db()).storePerson(sender);
    const QString file = shopFile(u("xlsx"));
    const QString pdf = home.file(QStringLiteral("out/sender.pdf"));
    const CliRun ok = batch({ QStringLiteral("--rows"), file, QStringLiteral("--sheet"), u("订单"),
        QStringLiteral("--sender"), u("杭州发货仓"), QStringLiteral("--template"), u("顺丰速运"),
        QStringLiteral("--pdf"), pdf });
    ASSERT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_TRUE(ok.out.endsWith(u(", saved 0\n")));
    EXPECT_EQ(rows(QStringLiteral("DataKDDTable")), 0);
    const auto pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_NEAR(pages[0].sizeMm.height(), 139.7, 0.5) << "the paper of 顺丰速运";
    EXPECT_EQ(wordsEqualTo(pages[2], u("仓管员")).size(), 1);

    const QString text = home.file(QStringLiteral("titles.csv"));
    writeCsv(text,
        { u("t"),
            { { TestCell::str(u("商品")), TestCell::str(u("价格")) },
                { TestCell::str(u("杯")), TestCell::str(u("9")) } } },
        u("UTF-8"));
    const struct
    {
        QStringList args;
        const char* message;
    } cases[] = {
        { { QStringLiteral("--pdf"), pdf }, "batch: --rows FILE is required" },
        { { QStringLiteral("--rows"), home.file(QStringLiteral("none.xlsx")),
              QStringLiteral("--pdf"), pdf },
            "none.xlsx" },
        { { QStringLiteral("--rows"), file, QStringLiteral("--sheet"), QStringLiteral("9"),
              QStringLiteral("--pdf"), pdf },
            "batch: no sheet 9 (sheets: 订单)" },
        { { QStringLiteral("--rows"), file, QStringLiteral("--step"), QStringLiteral("2"),
              QStringLiteral("--pdf"), pdf },
            "batch: --step needs --first-number" },
        { { QStringLiteral("--rows"), file, QStringLiteral("--first-number"), QStringLiteral("ABC"),
              QStringLiteral("--pdf"), pdf },
            "batch: --first-number must end in digits: ABC" },
        { { QStringLiteral("--rows"), file, QStringLiteral("--sender"), u("无此单位"),
              QStringLiteral("--pdf"), pdf },
            "batch: no party named 无此单位" },
        { { QStringLiteral("--rows"), file, QStringLiteral("--set"), QStringLiteral("zdNoSuch=1"),
              QStringLiteral("--pdf"), pdf },
            "batch: unknown control zdNoSuch of 快递单" },
        { { QStringLiteral("--rows"), text, QStringLiteral("--pdf"), pdf },
            "batch: no recipient column among the titles of titles.csv: 商品, 价格" },
        { { QStringLiteral("--rows"), file }, "batch: give either --pdf FILE or --printer NAME" },
    };
    QFile::remove(pdf);
    for (const auto& c : cases) {
        const CliRun r = batch(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_TRUE(r.err.contains(u(c.message))) << r.err.toStdString();
        EXPECT_EQ(r.err.count(u("pennock-cli: ")), 1) << "one line: " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const CliRun other = runCliProcess(
        { QStringLiteral("batch"), QStringLiteral("--home"), home.path(), QStringLiteral("--kind"),
            u("支票"), QStringLiteral("--rows"), file, QStringLiteral("--pdf"), pdf });
    EXPECT_TRUE(other.err.contains(u("batch: only 快递单 prints in batches, not 支票")));
    EXPECT_FALSE(QFileInfo::exists(pdf)) << "nothing was printed";
}

TEST_F(WaybillBatchTest, WindowFillsTheListAndPrintsTheTickedRows)
{
    ui::TfmCheckKDD form(env);
    ASSERT_TRUE(form.valid());
    typeInto(form, "zdHKRLXR", u("寄件人甲"));
    ScriptedFiles files;
    ui::TfmWaybillBatch window(form, env, files);
    EXPECT_FALSE(window.button(u("btAddressBook"))->isEnabled()) << "no address book given";

    // An order sheet, matched without set-up.
    files.path = shopFile(u("xlsx"));
    window.button(u("btImport"))->click();
    EXPECT_EQ(window.sheets()->currentText(), u("订单"));
    EXPECT_EQ(window.columnBox(u("联系人"))->currentText(), u("列2:收货人"));
    EXPECT_EQ(window.columnBox(u("地址"))->currentText(), u("列7:详细地址"));
    EXPECT_TRUE(window.columnBox(u("单位全称"))->currentText().isEmpty());
    window.columnBox(u("备注"))->setCurrentIndex(0); // chosen by hand: no remarks
    window.groupBox()->setText(u("三月"));
    window.button(u("btAddMatched"))->click();
    EXPECT_EQ(prompter.texts().last(), u("添加成功,本次共添加4个收件人！"));
    EXPECT_EQ(window.grid()->rowCount(), 4);
    EXPECT_EQ(window.groupFilter()->currentText(), u("三月"));
    const auto stored = core::ReceiverList(services.db()).load(u("三月"));
    ASSERT_EQ(stored.size(), 4);
    EXPECT_TRUE(stored[0].value(u("备注")).isEmpty());

    // Parties from the address book, then the list read again by "_btRefreash".
    core::TPerson party;
    party.全称 = u("前海贸易");
    party.联系人 = u("赵六");
    party.市 = u("深圳市");
    window.setAddressBook([&party](auto receive, auto refresh) {
        receive(party);
        refresh();
    });
    window.button(u("btAddressBook"))->click();
    EXPECT_EQ(window.grid()->rowCount(), 5);

    // A pasted address, split and confirmed.
    window.setSplitConfirmation([](const core::SplitAddress& split, const QString&) {
        core::SplitAddress fixed = split;
        fixed.name = u("钱七");
        return std::optional<core::SplitAddress>(fixed);
    });
    window.pasteBox()->setText(u("北京朝阳区建国路88号SOHO现代城 李四 010-85801234"));
    window.button(u("btPaste"))->click();
    ASSERT_EQ(window.grid()->rowCount(), 6);
    const int last = window.grid()->rowCount() - 1;
    EXPECT_EQ(window.grid()->item(last, 1)->text(), u("钱七"));
    EXPECT_EQ(window.grid()->item(last, 6)->text(), u("朝阳区"));

    // An edit in the grid is stored; the row without a recipient is not printed.
    window.grid()->item(0, 1)->setText(u("张三丰"));
    EXPECT_EQ(core::ReceiverList(services.db()).load().first().value(u("联系人")), u("张三丰"));
    window.grid()->item(1, 0)->setCheckState(Qt::Unchecked);
    ASSERT_EQ(window.checkedReceivers().size(), 5);

    window.numberBox()->setChecked(true);
    window.firstNumber()->setText(u("SF009"));
    window.step()->setValue(10);
    prompter.clear();
    window.button(u("btPrint"))->click();
    ASSERT_FALSE(prompter.texts().isEmpty());
    const QString summary = prompter.texts().last();
    EXPECT_TRUE(summary.startsWith(u("批量打印结束，共打印 4 张快递单，保存 4 张！")))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(u("未打印："))) << summary.toStdString();
    EXPECT_EQ(canvas.pageBreaks(), 3) << "one page a waybill";
    EXPECT_EQ(canvas.documentsEnded(), 1) << "one job";
    EXPECT_TRUE(printed().contains(u("张三丰")));
    EXPECT_TRUE(printed().contains(u("赵六")));
    EXPECT_FALSE(printed().contains(u("李四"))) << "unticked";
    EXPECT_EQ(rows(QStringLiteral("DataKDDTable")), 4);
    EXPECT_EQ(kddRow(u("赵六")).value(u("快递单号")).toString(), u("SF029"));
    EXPECT_EQ(kddRow(u("赵六")).value(u("寄件联系人")).toString(), u("寄件人甲"));
    EXPECT_EQ(window.firstNumber()->text(), u("SF049")) << "the next number is ready";

    // Nothing ticked, a bad start number: said, nothing printed.
    window.checkAll(false);
    window.button(u("btPrint"))->click();
    EXPECT_EQ(prompter.texts().last(), u("没有勾选要打印的收件人！"));
    window.checkAll(true);
    window.firstNumber()->setText(u("SF"));
    window.button(u("btPrint"))->click();
    EXPECT_EQ(prompter.texts().last(), u("起始单号必须以数字结尾，例如：SF1000001"));
    EXPECT_EQ(canvas.documentsEnded(), 1);

    // Groups, deleting, clearing.
    window.grid()->selectRow(0);
    answers = QStringList { u("四月") };
    window.button(u("btGroup"))->click();
    EXPECT_TRUE(core::ReceiverList(services.db()).groups().contains(u("四月")));
    window.groupFilter()->setCurrentIndex(window.groupFilter()->findText(u("四月")));
    window.btRefreashClick();
    EXPECT_EQ(window.grid()->rowCount(), 1);
    window.grid()->selectRow(0);
    window.button(u("btDelete"))->click();
    EXPECT_FALSE(core::ReceiverList(services.db()).groups().contains(u("四月")));
    EXPECT_EQ(window.groupFilter()->currentIndex(), 0) << "the emptied group is gone";
    EXPECT_EQ(window.grid()->rowCount(), 5);
    prompter.queueAnswer(true);
    window.groupFilter()->setCurrentIndex(0);
    window.button(u("btClear"))->click();
    EXPECT_EQ(core::ReceiverList(services.db()).count(), 0);
}

} // namespace pennock::test
