#include "../bills/BillFixture.h"
#include "../printing/PdfWords.h"
#include "SheetFiles.h"

#include "bills/BillDraft.h"
#include "bills/TfmCheckKDD.h"
#include "bills/WaybillBatch.h"
#include "bills/WaybillKind.h"
#include "import/OrderSheet.h"
#include "import/TfmWaybillBatch.h"
#include "parties/AddressSplit.h"
#include "parties/DAOPerson.h"
#include "parties/ReceiverList.h"
#include "platform/FileChooser.h"
#include "printing/PdfCanvas.h"
#include "printing/TemplateTestPrint.h"
#include "store/BillItemValues.h"
#include "support/CliProcess.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
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

// A job the spooler does not take: the PDF is written, the delivery is refused.
class RefusedJob final : public core::PdfCanvas
{
public:
    using PdfCanvas::PdfCanvas;
    bool endDocument() override
    {
        PdfCanvas::endDocument();
        return false;
    }
};

// A column of an order sheet: its title, the waybill control it fills and the column of the
// waybill table that keeps it.
struct OrderColumn
{
    const char* title;
    const char* control;
    const char* stored;
};

const OrderColumn kOrderColumns[] = {
    { "单位全称", "zdSKR", "收件单位" },
    { "联系人", "zdSKRLXR", "收件联系人" },
    { "电话", "zdskrDH", "收件电话" },
    { "手机", "skrHandset", "收方手机" },
    { "省", "zdSKRS", "收件省" },
    { "市", "zdSKRXS", "收件市县" },
    { "镇区", "edtSJRTown", "收件镇区" },
    { "地址", "zdSkrDZ", "收件地址" },
    { "邮编", "zdSKRYB", "收方邮编" },
    { "物品内容", "zdWPNR", "物品内容" },
    { "重量", "edtWeight", "重量" },
    { "件数", "edtAmount", "件数" },
    { "费用", "edtMoney", "总费用" },
    { "目的站", "cbDestSite", "目的站" },
    { "备注", "zdBz", "备注" },
    { "订单号", "zdDef3", "自定义3" },
};

// Rows of values drawn from each column's kind of content, each short enough for its box, every
// value unlike any other and unlike the texts in `taken`.
QList<QStringList> randomOrders(quint32 seed, int count, QSet<QString> taken)
{
    QRandomGenerator random(seed);
    const QString han = QString::fromUtf8(
        "甲乙丙丁戊己庚辛壬癸春夏秋冬东南西北金木水火土山川江河湖海松竹梅兰菊星月云天地");
    const auto digits = [&random](int n) {
        QString out;
        for (int i = 0; i < n; ++i)
            out += QChar(u'0' + random.bounded(10));
        return out;
    };
    const auto text = [&](int from, int to) {
        QString out;
        for (int i = random.bounded(from, to + 1); i > 0; --i)
            out += han.at(random.bounded(int(han.size())));
        return out;
    };
    const auto money = [&random](int below) {
        return QStringLiteral("%1.%2")
            .arg(random.bounded(1, below))
            .arg(random.bounded(1, 100), 2, 10, QLatin1Char('0'));
    };
    QList<QStringList> rows;
    for (int r = 0; r < count; ++r) {
        QStringList row;
        for (const OrderColumn& c : kOrderColumns) {
            const QString title = QString::fromUtf8(c.title);
            QString value;
            do {
                if (title == u"电话")
                    value = u'0' + digits(2) + u'-' + digits(6);
                else if (title == u"手机")
                    value = QStringLiteral("13") + digits(9);
                else if (title == u"邮编")
                    value = QString::number(random.bounded(1, 9)) + digits(5);
                else if (title == u"重量")
                    value = money(100);
                else if (title == u"件数")
                    value = QString::number(random.bounded(13, 1000));
                else if (title == u"费用")
                    value = money(1000);
                else if (title == u"订单号")
                    value = QStringLiteral("DD") + digits(6);
                else if (title == u"省")
                    value = text(2, 3);
                else if (title == u"市" || title == u"镇区")
                    value = text(2, 4);
                else
                    value = text(2, 6);
            } while (taken.contains(value));
            taken.insert(value);
            row << value;
        }
        rows << row;
    }
    return rows;
}

TestSheet orderSheet(const QList<QStringList>& values)
{
    QList<TestCell> titles;
    for (const OrderColumn& c : kOrderColumns)
        titles << TestCell::str(QString::fromUtf8(c.title));
    TestSheet sheet { QStringLiteral("orders"), { titles } };
    for (const QStringList& row : values) {
        QList<TestCell> cells;
        for (const QString& value : row)
            cells << TestCell::str(value);
        sheet.rows << cells;
    }
    return sheet;
}

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

    struct Box
    {
        QRectF mm;
        bool shown;
    };

    /// The boxes of the waybill controls on a template, by upper-case name.
    QHash<QString, Box> boxes(int templateId)
    {
        QHash<QString, Box> out;
        QSqlQuery q = services.db().exec(QStringLiteral("select CtlName, CtlX, CtlY, CtlW, CtlH, "
                                                        "NeedShow from CKControl where "
                                                        "CheckTypeID=?"),
            { templateId });
        while (q.next())
            out.insert(q.value(0).toString().toUpper(),
                { QRectF(q.value(1).toInt() / 10.0, q.value(2).toInt() / 10.0,
                      q.value(3).toInt() / 10.0, q.value(4).toInt() / 10.0),
                    q.value(5).toInt() != 0 });
        return out;
    }

    /// Each page of the batch holds its row's values, each in its box (with room for the
    /// printer's margin), the sender, and nothing of another row or of `screenOnly`; each saved
    /// waybill holds its row's values and the sender, and nothing of the screen.
    void expectRowsOnly(const QString& pdf, int templateId, const QList<QStringList>& orders,
        const QStringList& screenOnly, const QString& sender)
    {
        const QList<PdfPage> pages = readPdfWords(pdf);
        ASSERT_EQ(pages.size(), orders.size());
        const QHash<QString, Box> layout = boxes(templateId);
        const auto onPage = [](const PdfPage& page, const QString& text) {
            return !wordsEqualTo(page, text).isEmpty();
        };
        for (qsizetype p = 0; p < pages.size(); ++p) {
            SCOPED_TRACE(QStringLiteral("page %1").arg(p + 1).toStdString());
            for (qsizetype c = 0; c < orders[p].size(); ++c) {
                const QString control = QString::fromUtf8(kOrderColumns[c].control).toUpper();
                const Box box = layout.value(control);
                if (!box.shown)
                    continue;
                // What the box holds, read left to right (digit cells are words of their own);
                // a word belongs to the box its middle lies in.
                QList<PdfWord> held;
                for (const PdfWord& w : pages[p].words) {
                    const QPointF middle((w.left + w.right) / 2, (w.top + w.bottom) / 2);
                    if (box.mm.adjusted(-1.0, -1.0, 1.0, 1.0).contains(middle))
                        held << w;
                }
                std::sort(held.begin(), held.end(),
                    [](const PdfWord& a, const PdfWord& b) { return a.left < b.left; });
                QString text;
                for (const PdfWord& w : std::as_const(held))
                    text += w.text;
                EXPECT_EQ(text, orders[p][c]) << control.toStdString();
            }
            for (qsizetype other = 0; other < orders.size(); ++other) {
                if (other == p)
                    continue;
                for (const QString& value : orders[other])
                    EXPECT_FALSE(onPage(pages[p], value))
                        << "row " << other + 1 << ": " << value.toStdString();
            }
            for (const QString& value : screenOnly)
                EXPECT_FALSE(onPage(pages[p], value)) << "the screen's " << value.toStdString();
            EXPECT_TRUE(onPage(pages[p], sender)) << "the sender on every page";
        }

        EXPECT_EQ(rows(QStringLiteral("DataKDDTable")), orders.size());
        double total = 0;
        for (const QStringList& order : orders) {
            const QVariantMap stored = kddRow(order[1]);
            SCOPED_TRACE(order[1].toStdString());
            ASSERT_FALSE(stored.isEmpty());
            for (qsizetype c = 0; c < order.size(); ++c)
                EXPECT_EQ(
                    stored.value(QString::fromUtf8(kOrderColumns[c].stored)).toString(), order[c])
                    << kOrderColumns[c].stored;
            for (const char* column : { "运费", "包装费", "加急费", "送货费", "手续费", "其他费",
                     "保价金额", "保价费", "代收金额", "体积", "金额大写1", "快递单号", "其他选项",
                     "收件国家", "自定义4", "自定义5" })
                EXPECT_TRUE(stored.value(QString::fromUtf8(column)).toString().isEmpty())
                    << column << " "
                    << stored.value(QString::fromUtf8(column)).toString().toStdString();
            EXPECT_EQ(stored.value(u("寄件联系人")).toString(), sender);
            total += order[12].toDouble();
        }
        // The history's total is the rows' charges, whatever the screen showed.
        EXPECT_NEAR(services.db()
                        .scalar(QStringLiteral("select sum(val(总费用)) from DataKDDTable"))
                        .toDouble(),
            total, 0.001);
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

TEST_F(WaybillBatchTest, EachPageAndEachSavedRowHoldItsRowsValuesOnly)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE("seed " + std::to_string(seed));
    const QString sender = u("寄件人甲");
    // What the waybill on screen shows beside the sender: none of it belongs to a batch row.
    const std::pair<const char*, const char*> screen[] = { { "zdSKR", "屏幕收件单位" },
        { "zdSKRLXR", "屏幕收件人" }, { "zdskrDH", "021-99998888" },
        { "skrHandset", "13399998888" }, { "zdSKRYB", "999999" }, { "zdSKRS", "屏幕省" },
        { "zdSKRXS", "屏幕市" }, { "edtSJRTown", "屏幕区" }, { "zdSkrDZ", "屏幕地址9号" },
        { "zdWPNR", "屏幕货物" }, { "edtWeight", "77.77" }, { "edtAmount", "88" },
        { "edtMoney", "999.99" }, { "cbDestSite", "屏幕目的站" }, { "zdBz", "屏幕备注" },
        { "zdDef3", "屏幕订单" }, { "zdPJBH", "SCREEN0001" }, { "zdYunFee", "55.55" },
        { "zdBaoZFee", "44.44" }, { "zdBJJE", "3333" }, { "zdBJFee", "22.22" },
        { "zdTiJi", "0.77" }, { "zdDaisJE", "6666" }, { "zdShouxuFee", "11.11" },
        { "zdQiTaFee", "12.12" }, { "zdJiaJiFee", "13.13" }, { "zdSongHFee", "14.14" },
        { "zdJEDX1", "4321" }, { "zdDef4", "屏幕自定义" } };
    QStringList screenOnly = { u("√") };
    for (const auto& [name, value] : screen)
        screenOnly << u(value);
    ui::TfmCheckKDD form(env);
    ASSERT_TRUE(form.valid());
    typeInto(form, "zdHKRLXR", sender);
    typeInto(form, "zdHKR", u("寄件公司乙"));
    for (const auto& [name, value] : screen)
        typeInto(form, name, u(value));
    for (int i = 0; i <= 12; ++i)
        if (auto* tick = qobject_cast<QCheckBox*>(form.item(QStringLiteral("DEFCHECK%1").arg(i))))
            tick->setChecked(true);
    // Row values unlike anything else a page may show: the screen's, the date's parts.
    QSet<QString> taken;
    for (const QString& text : form.bill().items)
        taken << text;
    for (const char* part : { "yyyy", "MM", "dd", "M", "d" })
        taken << QDate::currentDate().toString(QString::fromLatin1(part));
    const QList<QStringList> orders = randomOrders(seed, 6, taken);
    const QString sheetFile = home.file(QStringLiteral("orders/random.xlsx"));
    QDir().mkpath(home.file(QStringLiteral("orders")));
    writeXlsx(sheetFile, { orderSheet(orders) });

    // Through the window, with the filled waybill on screen.
    {
        ScriptedFiles files;
        ui::TfmWaybillBatch window(form, env, files);
        ASSERT_TRUE(window.readSheet(sheetFile));
        window.button(u("btAddMatched"))->click();
        ASSERT_EQ(window.checkedReceivers().size(), orders.size());
        for (const QString& title : { u("单位全称"), u("电话"), u("邮编"), u("费用"), u("订单号") })
            EXPECT_FALSE(window.columnBox(title)->currentText().isEmpty()) << title.toStdString();

        const int id = form.currentTypeId();
        const QSize paper = core::templatePaperSize(services.db(), id);
        const QString pdf = home.file(QStringLiteral("out/window.pdf"));
        QDir().mkpath(home.file(QStringLiteral("out")));
        core::PdfCanvas canvasPdf(pdf, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
        env.turnPaper = false;
        services.printEngine().setCanvas(&canvasPdf);
        prompter.clear();
        window.button(u("btPrint"))->click();
        services.printEngine().setCanvas(&canvas);
        ASSERT_FALSE(prompter.texts().isEmpty());
        EXPECT_TRUE(
            prompter.texts().last().startsWith(u("批量打印结束，共打印 6 张快递单，保存 6 张")))
            << prompter.texts().last().toStdString();
        expectRowsOnly(pdf, id, orders, screenOnly, sender);
        // What the rows hold beside their columns is theirs too, never the screen's.
        QSqlQuery saved = services.db().exec(QStringLiteral("select 流水号 from DataKDDTable"));
        int withItems = 0;
        while (saved.next()) {
            const QHash<QString, QString> items = core::BillItemValues::load(
                services.db(), u("DataKDDTable"), saved.value(0).toInt());
            withItems += !items.isEmpty();
            for (const QString& value : items)
                EXPECT_FALSE(screenOnly.contains(value)) << value.toStdString();
        }
        EXPECT_EQ(withItems, orders.size());
    }

    // From the command line, the same sheet.
    services.db().execute(QStringLiteral("delete from DataKDDTable"));
    const QString pdf = home.file(QStringLiteral("out/command.pdf"));
    const CliRun r = batch({ QStringLiteral("--rows"), sheetFile, QStringLiteral("--pdf"), pdf,
        QStringLiteral("--save"), QStringLiteral("--set"), u("zdHKRLXR=") + sender });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectRowsOnly(
        pdf, services.templates().loadDefaultCheckTypeId(u("快递单")), orders, screenOnly, sender);

    // What only a row may give is refused as a setting of the whole batch.
    for (const char* set : { "edtMoney=5", "zdPJBH=SF1", "DEFCHECK1=1", "zdSKRLXR=某人" }) {
        const CliRun refused = batch({ QStringLiteral("--rows"), sheetFile, QStringLiteral("--pdf"),
            home.file(QStringLiteral("out/refused.pdf")), QStringLiteral("--set"), u(set) });
        EXPECT_EQ(refused.exitCode, 2) << set;
        EXPECT_TRUE(refused.err.contains(u("each waybill of a batch takes it from its row only")))
            << refused.err.toStdString();
    }
}

TEST_F(WaybillBatchTest, AHiddenMobileBoxGivesItsNumberToAnEmptyPhone)
{
    core::BillDraft draft(services, core::waybillKind());
    ASSERT_TRUE(draft.open(u("申通速递")));
    ASSERT_FALSE(draft.bill().shown(u("skrHandset"))) << "the template hides the mobile";
    QList<core::Receiver> receivers(2);
    receivers[0].values = { { u("联系人"), u("甲") }, { u("手机"), u("13800000001") } };
    receivers[1].values
        = { { u("联系人"), u("乙") }, { u("手机"), u("13800000002") }, { u("电话"), u("0571-7") } };
    core::PrintEngine& engine = services.printEngine();
    ASSERT_TRUE(engine.prepareJob(draft.bill().templateId, false));
    ASSERT_TRUE(engine.beginJob(1));
    core::WaybillBatchOptions options;
    options.save = true;
    const auto outcome = core::printWaybills(services, draft.bill(), receivers, options, 0, 0);
    ASSERT_EQ(outcome.saved, 2);
    EXPECT_TRUE(printed().contains(u("13800000001"))) << printed().join(' ').toStdString();
    EXPECT_FALSE(printed().contains(u("13800000002"))) << "a phone of its own stays";
    EXPECT_TRUE(printed().contains(u("0571-7")));
    EXPECT_EQ(kddRow(u("甲")).value(u("收件电话")).toString(), u("13800000001"));
}

TEST_F(WaybillBatchTest, AJobTheSpoolerRefusesLeavesNoRowAndSaysSo)
{
    core::BillDraft draft(services, core::waybillKind());
    ASSERT_TRUE(draft.open(QString()));
    QList<core::Receiver> receivers(3);
    for (int i = 0; i < 3; ++i)
        receivers[i].values = { { u("联系人"), u("收件人") + QString::number(i) } };
    const int id = draft.bill().templateId;
    const QSize paper = core::templatePaperSize(services.db(), id);
    QDir().mkpath(home.file(QStringLiteral("out")));
    core::PrintEngine& engine = services.printEngine();
    core::WaybillBatchOptions options;
    options.save = true;
    options.firstNumber = u("SF0001");
    {
        RefusedJob refused(home.file(QStringLiteral("out/refused.pdf")),
            core::PdfCanvas::paperLayout(paper.width(), paper.height()));
        engine.setCanvas(&refused);
        ASSERT_TRUE(engine.prepareJob(id, false));
        ASSERT_TRUE(engine.beginJob(1));
        const auto outcome = core::printWaybills(services, draft.bill(), receivers, options, 0, 0);
        engine.setCanvas(&canvas);
        EXPECT_FALSE(outcome.delivered);
        EXPECT_EQ(outcome.saved, 0);
        EXPECT_TRUE(outcome.serials.isEmpty());
        EXPECT_EQ(rows(QStringLiteral("DataKDDTable")), 0) << "nothing saved of a failed job";
    }

    // The window says so, keeps its numbers, and saves nothing.
    ui::TfmCheckKDD form(env);
    ASSERT_TRUE(form.valid());
    ScriptedFiles files;
    ui::TfmWaybillBatch window(form, env, files);
    core::ReceiverList(services.db()).add(receivers);
    window.btRefreashClick();
    window.numberBox()->setChecked(true);
    window.firstNumber()->setText(u("SF0001"));
    {
        RefusedJob refused(home.file(QStringLiteral("out/window-refused.pdf")),
            core::PdfCanvas::paperLayout(paper.width(), paper.height()));
        env.turnPaper = false;
        engine.setCanvas(&refused);
        prompter.clear();
        window.button(u("btPrint"))->click();
        engine.setCanvas(&canvas);
    }
    ASSERT_FALSE(prompter.texts().isEmpty());
    EXPECT_TRUE(prompter.texts().last().startsWith(u("打印出错，请检查打印机是否可用！")))
        << prompter.texts().last().toStdString();
    EXPECT_TRUE(prompter.texts().last().contains(u("没有保存")));
    EXPECT_FALSE(prompter.texts().join(' ').contains(u("批量打印结束")));
    EXPECT_EQ(rows(QStringLiteral("DataKDDTable")), 0);
    EXPECT_EQ(window.firstNumber()->text(), u("SF0001")) << "the numbers were not used";

    // The command line fails with one line and saves nothing: the device takes no output.
    const CliRun r = batch({ QStringLiteral("--rows"), shopFile(u("csv")), QStringLiteral("--pdf"),
        QStringLiteral("/dev/full"), QStringLiteral("--save") });
    EXPECT_EQ(r.exitCode, 2) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(u("打印出错"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u("nothing was saved"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(rows(QStringLiteral("DataKDDTable")), 0);
}

} // namespace pennock::test
