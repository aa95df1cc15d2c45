#include "BillFixture.h"
#include "PdfWords.h"

#include "bills/BillDraft.h"
#include "bills/BillKind.h"
#include "bills/ReceiptKinds.h"
#include "bills/TfmCheckReceipts.h"
#include "support/CliProcess.h"

#include <QCheckBox>

namespace pennock::test {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

class ReceiptTest : public BillFixture
{
protected:
    std::unique_ptr<core::BillDraft> draft(const core::BillKind& kind = core::receiptKind())
    {
        auto d = std::make_unique<core::BillDraft>(services, kind);
        EXPECT_TRUE(d->open(QString()));
        return d;
    }
};

} // namespace

TEST(ReceiptCapitals, NonStandardCapitalsTakeEveryCellFromTheFirstDigit)
{
    const QStringList cells = { {}, {}, u("零"), u("零"), u("零"), u("壹"), u("贰"), u("零"),
        u("叁"), u("伍"), u("零") };
    EXPECT_EQ(core::nonStandardCapitals(cells), u("壹仟贰佰零拾叁元伍角零分"));
    EXPECT_EQ(core::nonStandardCapitals(QStringList(11, u("零"))), QString());
}

TEST_F(ReceiptTest, LinesAndTotalFollowTheOptions)
{
    struct Case
    {
        const char* name;
        QList<std::pair<const char*, const char*>> options;
        QList<std::pair<const char*, const char*>> items;
        QList<std::pair<const char*, const char*>> expected;
    };
    const Case cases[] = {
        { "quantity empty counts as one", {}, { { "zdDJ1", "12.5" } },
            { { "zdJEXX1", "12.50" }, { "zdJE1", "12.50" }, { "zdHJJEXX", "12.50" },
                { "zdHJJE", "￥12.50" }, { "zdJEDX", "壹拾贰元伍角整" } } },
        { "100 and 23.4", {}, { { "zdSL1", "2" }, { "zdDJ1", "50" }, { "zdDJ2", "23.4" } },
            { { "zdJE1", "100.00" }, { "zdHJJEXX", "123.40" }, { "zdHJJE", "￥123.40" },
                { "zdJEDX", "壹佰贰拾叁元肆角整" }, { "zdY6", "3" }, { "zdSY6", "2" },
                { "zdBY6", "1" }, { "zdQY6", "￥" }, { "zdJ6", "4" }, { "zdF6", "0" },
                { "zddxBY", "壹" }, { "zddxY", "叁" }, { "zddxF", "零" }, { "zddxYY", "零" },
                { "zdY1", "0" }, { "zdBY1", "1" }, { "cgHJJE", "￥123.40" } } },
        { "大写圆", { { "cfgJEDXYuan", "1" } }, { { "zdDJ1", "100" }, { "zdDJ2", "23.4" } },
            { { "zdJEDX", "壹佰贰拾叁圆肆角整" } } },
        { "非标准大写", { { "cfgJEDXFormatNoStandard", "1" } }, { { "zdDJ1", "1203.5" } },
            { { "zdJEDX", "壹仟贰佰零拾叁元伍角零分" } } },
        { "separators and 元",
            { { "cfgHJJENeedQianFF", "0" }, { "cfgHJJEXXWithYuan", "1" },
                { "cfgJEXXNeedQianFF", "1" }, { "cfgJENeedSheep", "1" } },
            { { "zdSL1", "1000" }, { "zdDJ1", "12.5" } },
            { { "zdJE1", "￥12,500.00" }, { "zdHJJE", "￥12500.00元" } } },
        { "no ￥ in the total", { { "cfgTotalJEWithSheep", "0" }, { "cfgJEDXRMBChecked", "1" } },
            { { "zdDJ1", "8" } }, { { "zdHJJE", "8.00" }, { "zdJEDX", "人民币捌元整" } } },
        { "a zero line without a name shows nothing", {},
            { { "zdSL1", "0" }, { "zdDJ1", "5" }, { "zdDJ2", "3" } },
            { { "zdJE1", "" }, { "zdJEXX1", "0.00" }, { "zdHJJEXX", "3.00" } } },
        { "a zero line with a name shows its zero", {},
            { { "zdSFNR1", "赠品" }, { "zdSL1", "0" }, { "zdDJ1", "5" } },
            { { "zdJE1", "0.00" }, { "zdHJJE", "" }, { "zdHJJEXX", "0.00" } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = draft();
        for (const auto& [name, value] : c.options)
            d->setOption(u(name), u(value));
        for (const auto& [name, value] : c.items)
            EXPECT_FALSE(d->setItem(u(name), u(value)).refused()) << name;
        for (const auto& [name, value] : c.expected)
            EXPECT_EQ(d->text(u(name)), u(value)) << name;
    }
}

TEST_F(ReceiptTest, RefusesWhatIsNotANumberOrOutOfRange)
{
    auto d = draft();
    d->setItem(u("zdDJ1"), u("5"));
    const core::RuleMessage bad = d->setItem(u("zdSL1"), u("abc"));
    EXPECT_EQ(bad.text, u("非法的数量或单价(必须是英文半角的数字和.)！"));
    EXPECT_TRUE(d->text(u("zdSL1")).isEmpty());
    EXPECT_TRUE(d->text(u("zdDJ1")).isEmpty());

    // A line too large for the bill empties itself and says so; the total box keeps a total.
    const core::RuleMessage overflow = d->setAmountAt(u("zdJE2"), u("1000000000"));
    EXPECT_TRUE(d->text(u("zdJE2")).isEmpty());
    EXPECT_EQ(overflow.text, u("错误,非法的数值或溢出！"));
    EXPECT_NE(d->text(u("zdHJJE")), u("错误,非法的数值或溢出！"));
    // Lines summing past the range: the total refuses with the range message.
    d->setAmountAt(u("zdJE1"), u("600000000"));
    const core::RuleMessage range = d->setAmountAt(u("zdJE2"), u("500000000"));
    EXPECT_EQ(range.text, u("金额值必须介于0~1,000,000,000之间！"));
    EXPECT_EQ(range.caption, u("金额输入"));
}

namespace {

// Items typed into a draft: a line's amount box ("zdJE1") takes a typed amount, any other item
// is typed and finished.
core::RuleMessage typeItems(
    core::BillDraft& d, const QList<std::pair<const char*, const char*>>& items)
{
    core::RuleMessage last;
    for (const auto& [name, value] : items) {
        const QString control = u(name);
        last = control.startsWith(u("zdJE")) && !control.startsWith(u("zdJEXX"))
            ? d.setAmountAt(control, u(value))
            : d.setItem(control, u(value));
    }
    return last;
}

} // namespace

// A line, its cells, what it stores, the total, its cells and its capitals are all the exact
// decimal rounded half away from zero at the fen: never a binary fraction.
TEST_F(ReceiptTest, LinesTotalsAndCapitalsRoundAlike)
{
    struct Case
    {
        const char* name;
        QList<std::pair<const char*, const char*>> items;
        QList<std::pair<const char*, const char*>> expected;
    };
    const Case cases[] = {
        { "a typed 2.675", { { "zdJE1", "2.675" } },
            { { "zdJE1", "2.68" }, { "zdJEXX1", "2.68" }, { "zdY1", "2" }, { "zdJ1", "6" },
                { "zdF1", "8" }, { "zdHJJEXX", "2.68" }, { "zdHJJE", "￥2.68" }, { "zdJ6", "6" },
                { "zdF6", "8" }, { "zddxJ", "陆" }, { "zddxF", "捌" },
                { "zdJEDX", "贰元陆角捌分" } } },
        { "1 × 1.005", { { "zdSL1", "1" }, { "zdDJ1", "1.005" } },
            { { "zdJEXX1", "1.01" }, { "zdJE1", "1.01" }, { "zdF1", "1" }, { "zdHJJEXX", "1.01" },
                { "zdJEDX", "壹元零壹分" } } },
        { "3 × 2.675", { { "zdSL1", "3" }, { "zdDJ1", "2.675" } },
            { { "zdJEXX1", "8.03" }, { "zdHJJEXX", "8.03" }, { "zdJEDX", "捌元零叁分" } } },
        { "the total is the sum of the lines as shown",
            { { "zdJE1", "2.675" }, { "zdJE2", "2.675" }, { "zdJE3", "0.1" }, { "zdJE4", "0.2" } },
            { { "zdJE2", "2.68" }, { "zdHJJEXX", "5.66" }, { "zdHJJE", "￥5.66" }, { "zdY6", "5" },
                { "zdJ6", "6" }, { "zdF6", "6" }, { "zddxY", "伍" },
                { "zdJEDX", "伍元陆角陆分" } } },
        { "less than half a fen is nothing", { { "zdSL1", "0.1" }, { "zdDJ1", "0.04" } },
            { { "zdJEXX1", "0.00" }, { "zdHJJEXX", "0.00" }, { "zdJEDX", "" } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = draft();
        EXPECT_FALSE(typeItems(*d, c.items).refused());
        for (const auto& [name, value] : c.expected)
            EXPECT_EQ(d->text(u(name)), u(value)) << name;
    }
}

// A refused line never leaves a total its lines do not make, and such a bill is not saved.
TEST_F(ReceiptTest, ARefusedLineLeavesNoTotalTheLinesDoNotMake)
{
    struct Case
    {
        const char* name;
        QList<std::pair<const char*, const char*>> items;
        const char* message; ///< of the last item
        QList<std::pair<const char*, const char*>> expected;
        const char* saveRefusal;
    };
    const char* overflow = "错误,非法的数值或溢出！";
    const char* outOfRange = "金额超过发票范围或者非法，拒绝保存~";
    const Case cases[] = {
        { "an overflowing line",
            { { "zdJE1", "100" }, { "zdJE2", "50" }, { "zdJE2", "1000000000" } }, overflow,
            { { "zdJE2", "" }, { "zdJEXX2", "" }, { "zdHJJEXX", "100.00" },
                { "zdHJJE", "￥100.00" }, { "zdJEDX", "壹佰元整" } },
            "" },
        { "a line that is no number",
            { { "zdJE1", "100" }, { "zdJE2", "50" }, { "zdJE2", "1.2.3" } }, overflow,
            { { "zdJE2", "" }, { "zdHJJEXX", "100.00" }, { "zdHJJE", "￥100.00" } }, "" },
        { "an overflowing product",
            { { "zdJE1", "100" }, { "zdSL2", "100000" }, { "zdDJ2", "10000" } }, overflow,
            { { "zdJE2", "" }, { "zdHJJEXX", "100.00" } }, "" },
        { "lines past the range", { { "zdJE1", "600000000" }, { "zdJE2", "500000000" } },
            "金额值必须介于0~1,000,000,000之间！",
            { { "zdHJJEXX", "" }, { "zdHJJE", "" }, { "zdJEDX", "" }, { "zddxY", "" },
                { "zdY6", "" } },
            outOfRange },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = draft();
        EXPECT_EQ(typeItems(*d, c.items).text, u(c.message));
        for (const auto& [name, value] : c.expected)
            EXPECT_EQ(d->text(u(name)), u(value)) << name;
        EXPECT_EQ(
            core::receiptKind().rules->saveRefusal(*d, core::receiptKind()).text, u(c.saveRefusal));
    }
}

TEST_F(ReceiptTest, SavingRefusesATotalThatIsNotTheSumOfItsLines)
{
    struct Case
    {
        const char* name;
        QList<std::pair<const char*, const char*>> items;
        QList<std::pair<const char*, const char*>> written; ///< over what the rules wrote
        const char* refusal;
    };
    const char* refused = "金额超过发票范围或者非法，拒绝保存~";
    const Case cases[] = {
        { "the computed total", { { "zdJE1", "10" }, { "zdJE2", "2.675" } }, {}, "" },
        { "a total of other lines", { { "zdJE1", "10" }, { "zdJE2", "5" } },
            { { "zdHJJEXX", "20.00" } }, refused },
        { "a total off by its rounding", { { "zdJE1", "2.675" } }, { { "zdHJJEXX", "2.67" } },
            refused },
        { "a line that is no amount", { { "zdJE1", "10" } }, { { "zdJEXX2", "abc" } }, refused },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = draft();
        typeItems(*d, c.items);
        for (const auto& [name, value] : c.written)
            d->setText(u(name), u(value));
        EXPECT_EQ(
            core::receiptKind().rules->saveRefusal(*d, core::receiptKind()).text, u(c.refusal));
    }
}

TEST_F(ReceiptTest, FreightInvoiceHasSixLinesAndFewerCells)
{
    const core::BillKind& kind = core::freightKind();
    EXPECT_TRUE(kind.control(u("zdSL6")));
    EXPECT_FALSE(kind.control(u("zdBW1"))) << "no 百万 cell on a line";
    EXPECT_FALSE(kind.control(u("zdF1")));
    EXPECT_TRUE(kind.control(u("zdF7"))) << "the total keeps every cell";
    EXPECT_FALSE(kind.control(u("zdCodeAuto")));
    auto d = draft(kind);
    d->setItem(u("zdDJ6"), u("1234.56"));
    d->setItem(u("zdDJ1"), u("450"));
    EXPECT_EQ(d->text(u("zdHJJEXX")), u("1684.56"));
    // A line's eight cells hold its lowest units, 十万 to 分, whatever their names say: no digit
    // of 450.00 or 1234.56 is lost.
    const auto row = [&](int line) {
        QStringList cells;
        for (const char* cell : { "zdYY", "zdQW", "zdSW", "zdWY", "zdQY", "zdSY", "zdY", "zdJ" })
            cells << d->text(QString::fromUtf8(cell) + QString::number(line));
        return cells.join(QLatin1Char('|'));
    };
    EXPECT_EQ(row(1), u("||￥|4|5|0|0|0"));
    EXPECT_EQ(row(6), u("|￥|1|2|3|4|5|6"));
    EXPECT_EQ(d->text(u("zdF7")), u("6"));
}

TEST_F(ReceiptTest, FormComputesSavesReopensAndRefuses)
{
    ui::TfmCheckReceipts form(env);
    ASSERT_TRUE(form.valid());
    EXPECT_EQ(form.itemText(u("zdCodeAuto")).size(), 20) << "a code on opening";

    prompter.clear();
    click(form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(), QStringList { u("金额超过发票范围或者非法，拒绝保存~") });

    QTest::keyClicks(form.item(u("zdSL1")), u("3"));
    typeInto(form, "zdDJ1", u("2.5"));
    leave(form, "zdDJ1");
    EXPECT_EQ(form.itemText(u("zdJE1")), u("7.50"));
    QTest::keyClicks(form.item(u("zdSL1")), u("0")); // 30 × 2.5 as it is typed
    EXPECT_EQ(form.itemText(u("zdJE1")), u("75.00"));
    enterAmountAt(form, u("zdJE2"), u("25"));
    EXPECT_EQ(form.itemText(u("zdHJJE")), u("￥100.00"));
    EXPECT_EQ(form.itemText(u("cgJE2")), u("25.00"));
    form.option(u("cfgJENeedSheep"))->click();
    EXPECT_EQ(form.itemText(u("zdJE1")), u("￥75.00")) << "every line again";
    EXPECT_EQ(form.itemText(u("zdJEXX1")), u("75.00")) << "the computed line is kept";

    // The total of the lines is not typed.
    QTest::mouseClick(form.item(u("zdHJJE")), Qt::LeftButton);
    EXPECT_TRUE(form.inputJEXX()->isHidden());

    typeInto(form, "zdGKMC", u("长沙湘江贸易"));
    prompter.clear();
    click(form, "btSaveCheck");
    const int serial = form.serialNo();
    ASSERT_GT(serial, 0) << prompter.texts().join(' ').toStdString();
    EXPECT_EQ(prompter.texts(), QStringList { u("新普通发票收据保存成功！ ") });
    const QVariantMap stored = row(serial, u("DataCheckReceipt"));
    EXPECT_EQ(stored.value(u("合计金额")).toString(), u("100.00"));
    EXPECT_EQ(stored.value(u("金额1")).toString(), u("75.00"));
    EXPECT_EQ(stored.value(u("数量1")).toString(), u("30"));
    EXPECT_EQ(stored.value(u("顾客名称")).toString(), u("长沙湘江贸易"));
    EXPECT_EQ(stored.value(u("票据状态")).toString(), u("已用"));
    EXPECT_FALSE(stored.value(u("出票日期")).isNull()) << "the date is kept";

    ui::TfmCheckReceipts reopened(env);
    reopened.BrowseOldCheck(form.variant(), QString::number(serial));
    EXPECT_EQ(reopened.itemText(u("zdJE1")), u("75.00"));
    EXPECT_EQ(reopened.itemText(u("zdHJJE")), u("￥100.00"));
    EXPECT_EQ(reopened.itemText(u("zdJEDX")), u("壹佰元整"));
    EXPECT_EQ(
        reopened.windowTitle(), u("历史票据查看（流水号为：") + QString::number(serial) + u(")"));

    // A new bill empties the lines and the total and draws a new code.
    const QString code = form.itemText(u("zdCodeAuto"));
    click(form, "btNewCheck");
    EXPECT_TRUE(form.itemText(u("zdJE1")).isEmpty());
    EXPECT_TRUE(form.itemText(u("zdSL1")).isEmpty());
    EXPECT_TRUE(form.itemText(u("zdHJJE")).isEmpty());
    EXPECT_TRUE(form.itemText(u("zdBY6")).isEmpty());
    EXPECT_EQ(form.windowTitle(), u("新单据-ID=-1"));
    EXPECT_NE(form.itemText(u("zdCodeAuto")), code);
    prompter.clear();
    click(form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(), QStringList { u("金额超过发票范围或者非法，拒绝保存~") });
    QComboBox* length = form.choiceOption(u("cfgCodeLen"));
    length->setCurrentIndex(length->findText(u("8")));
    emit length->activated(length->currentIndex());
    EXPECT_EQ(form.itemText(u("zdCodeAuto")).size(), 8);
}

TEST_F(ReceiptTest, FreightUserItemsOfferTheirDictionary)
{
    services.db().execute(
        QStringLiteral("insert into DMTable (DMName, DMValue, CheckTypeID) values (?, ?, 0)"),
        { u("自定义1"), u("提单号ABC") });
    ui::TfmCheckIVIntel form(env);
    ASSERT_TRUE(form.valid());
    auto* list = form.findChild<QComboBox*>(QStringLiteral("cbFetchCode"));
    ASSERT_TRUE(list);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form.item(u("zdDef1")), &in);
    EXPECT_FALSE(list->isHidden());
    EXPECT_EQ(list->geometry(), form.item(u("zdDef1"))->geometry());
    ASSERT_GE(list->findText(u("提单号ABC")), 0);
    list->setEditText(u("提单号ABC"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(list->lineEdit(), &out);
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(form.itemText(u("zdDef1")), u("提单号ABC"));
    EXPECT_FALSE(form.isSaved());
}

TEST_F(ReceiptTest, CommandLineComputesLikeTheForm)
{
    const QString pdf = home.file(QStringLiteral("receipt.pdf"));
    const CliRun r = runCliProcess(
        { QStringLiteral("print"), QStringLiteral("--home"), home.path(), QStringLiteral("--kind"),
            u("普通发票收据"), QStringLiteral("--set"), u("zdSL1=2"), QStringLiteral("--set"),
            u("zdDJ1=50"), QStringLiteral("--set"), u("zdDJ2=23.4"), QStringLiteral("--set"),
            u("zdSFNR1=咨询费"), QStringLiteral("--save"), QStringLiteral("--pdf"), pdf });
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QVariantMap stored = row(1, u("DataCheckReceipt"));
    EXPECT_EQ(stored.value(u("合计金额")).toString(), u("123.40"));
    EXPECT_EQ(stored.value(u("金额2")).toString(), u("23.40"));
    const auto pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(
        wordsEqualTo(pages[0], u("￥123.40").normalized(QString::NormalizationForm_KC)).size(), 1);
    for (const char* capital : { "壹", "贰", "叁", "肆" })
        EXPECT_EQ(wordsEqualTo(pages[0], u(capital)).size(), 1) << capital << " in its cell";
    EXPECT_EQ(wordsEqualTo(pages[0], u("咨询费")).size(), 1);

    // A line the bill cannot hold is refused, and nothing is printed or saved.
    const QString overflow = home.file(QStringLiteral("overflow.pdf"));
    const CliRun refusedLine = runCliProcess(
        { QStringLiteral("print"), QStringLiteral("--home"), home.path(), QStringLiteral("--kind"),
            u("普通发票收据"), QStringLiteral("--set"), u("zdJE1=100"), QStringLiteral("--set"),
            u("zdJE2=1000000000"), QStringLiteral("--save"), QStringLiteral("--pdf"), overflow });
    EXPECT_EQ(refusedLine.exitCode, 2);
    EXPECT_TRUE(refusedLine.err.contains(u("错误,非法的数值或溢出！")))
        << refusedLine.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(overflow));
    EXPECT_EQ(rows(u("DataCheckReceipt")), 1);

    // Nothing to save: refused before printing.
    const QString empty = home.file(QStringLiteral("empty.pdf"));
    const CliRun refused = runCliProcess(
        { QStringLiteral("print"), QStringLiteral("--home"), home.path(), QStringLiteral("--kind"),
            u("国际货运发票"), QStringLiteral("--save"), QStringLiteral("--pdf"), empty });
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(u("print: "))) << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(empty));
}

} // namespace pennock::test
