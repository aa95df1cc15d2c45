#include "BillFixture.h"
#include "PdfWords.h"

#include "bills/BillKind.h"
#include "bills/CkspKind.h"
#include "bills/TfmCheckCKSP.h"
#include "history/HistoryKind.h"
#include "history/HistorySearch.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "support/CliProcess.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>

namespace pennock::test {

namespace {

using core::CkspRules;

QString u(const char* text) { return QString::fromUtf8(text); }

// pdftotext names some characters by the radicals that share their glyphs.
QString folded(QString text)
{
    text.replace(QChar(0x2EA0), QChar(0x6C11)).replace(QChar(0x2EC6), QChar(0x89D2));
    return text.normalized(QString::NormalizationForm_KC);
}

// A bill's controls as plain texts: the rules run on it as on the form and the command line.
class TextSurface final : public core::BillSurface
{
public:
    QString text(const QString& name) const override { return texts.value(name.toLower()); }
    void setText(const QString& name, const QString& text) override
    {
        texts.insert(name.toLower(), text);
    }
    bool isChecked(const QString& option) const override { return ticked.contains(option); }
    QString optionText(const QString&) const override { return {}; }
    QDate billDate() const override { return QDate(2024, 6, 18); }

    QHash<QString, QString> texts;
    QSet<QString> ticked;
};

struct RateCase
{
    double amount;
    const char* rate;
    double value;
    const char* message;
};

class RateConversionTest : public ::testing::TestWithParam<RateCase>
{
};

TEST_P(RateConversionTest, ConvertsAtTheLastRateInTheText)
{
    const RateCase& c = GetParam();
    const core::RateConversion r = core::convertAtRate(c.amount, u(c.rate));
    EXPECT_EQ(r.message, u(c.message)) << c.rate;
    EXPECT_NEAR(r.value, c.value, 1e-9) << c.rate;
}

INSTANTIATE_TEST_SUITE_P(Rates, RateConversionTest,
    ::testing::Values(RateCase { 1000, "100:680.23", 6802.3, "" },
        RateCase { 1000, "  100：680.23 ", 6802.3, "" }, // a full-width colon
        RateCase { 1000, "汇率 100:720", 7200, "" }, RateCase { 1000, "1:7.1", 7100, "" },
        RateCase { 250, "100:1,234.5", 3086.25, "" }, // a value with a thousands comma
        RateCase { 1000, "100:700 今日 100:720", 7200, "" }, // the last rate counts
        RateCase { 1000, "", 0, "没有输入汇率！" }, RateCase { 1000, "   ", 0, "没有输入汇率！" },
        RateCase { 1000, "汇率", 0, "没有输入正确的汇率(如: 100:680.23等)！" },
        RateCase { 1000, "100:", 0, "没有输入正确的汇率(如: 100:680.23等)！" },
        RateCase { 1000, "..:..", 0, "没有输入正确的汇率(如: 100:680.23等)！" },
        RateCase { 1000, "0:680", 0, "无效的外汇汇率！" },
        RateCase { 1000, "0.00:680", 0, "无效的外汇汇率！" }));

TEST(PatternSearch, TakesTheLastMatchTrimmedAndMindsLetterCase)
{
    EXPECT_EQ(core::lastPatternMatch(u("USD1,256.89"), u("[0-9,.]{1,16}")), u("1,256.89"));
    EXPECT_EQ(core::lastPatternMatch(u("12 件 共 34"), u("[0-9]+")), u("34"));
    EXPECT_EQ(core::lastPatternMatch(u("无数字"), u("[0-9]+")), QString());
    EXPECT_EQ(core::lastPatternMatch(u("usd 10"), u("USD")), QString());
    EXPECT_EQ(core::lastPatternMatch(u("a USD b"), u(" USD ")), u("USD"));
    EXPECT_EQ(core::amountInText(u("USD1,256.89")), 1256.89);
    EXPECT_EQ(core::amountInText(u("值12")), 12.0);
    EXPECT_FALSE(core::amountInText(u("abc")));
    EXPECT_FALSE(core::amountInText(u("...")));
}

// One line finished, the totals as the form and the command line show them.
struct TotalsCase
{
    const char* name;
    std::vector<std::pair<const char*, const char*>> typed;
    const char* finished;
    std::vector<const char*> ticked;
    std::vector<std::pair<const char*, const char*>> expected;
    const char* message;
};

class ExportTotalsTest : public ::testing::TestWithParam<TotalsCase>
{
};

TEST_P(ExportTotalsTest, WritesEveryTotalFromTheLines)
{
    const TotalsCase& c = GetParam();
    TextSurface s;
    s.setText(CkspRules::kCurrencyName, u("美元"));
    s.setText(CkspRules::kCurrencyCode, u("USD"));
    s.setText(CkspRules::kRate, u("100:680.23"));
    for (const auto& [name, text] : c.typed)
        s.setText(u(name), u(text));
    for (const char* option : c.ticked)
        s.ticked.insert(u(option));
    const core::RuleMessage m
        = core::exportInvoiceKind().rules->finishItem(s, core::exportInvoiceKind(), u(c.finished));
    EXPECT_EQ(m.text, u(c.message));
    for (const auto& [name, text] : c.expected)
        EXPECT_EQ(s.text(u(name)), u(text)) << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportTotalsTest,
    ::testing::Values(
        TotalsCase { "ForeignThousandAt68023", { { "zdAmount1", "1000" }, { "zdPrice1", "1" } },
            "zdPrice1", {},
            { { "zdSum1", "1,000.00" }, { "zdWaiHJXX", "1,000.00" }, { "zdWaiHJDX", "壹仟元整" },
                { "zdRmbHJXX", "6,802.30" }, { "zdRmbHJDX", "陆仟捌佰零贰元叁角整" } },
            "" },
        TotalsCase { "CodesAndNamesWhenTicked", { { "zdAmount1", "1000" }, { "zdPrice1", "1" } },
            "zdAmount1", { "cfgTotalJEWithSheep", "cfgJEDXWithMoneyName", "cfgRMBJEDXWithRMB" },
            { { "zdWaiHJXX", "USD1,000.00" }, { "zdWaiHJDX", "美元壹仟元整" },
                { "zdRmbHJXX", "RMB6,802.30" }, { "zdRmbHJDX", "人民币陆仟捌佰零贰元叁角整" } },
            "" },
        TotalsCase { "EmptyQuantityIsOnePiece", { { "zdPrice3", "12.5" } }, "zdPrice3", {},
            { { "zdSum3", "12.50" }, { "zdWaiHJXX", "12.50" } }, "" },
        TotalsCase { "EmptyPriceIsNothing", { { "zdAmount2", "8" } }, "zdAmount2", {},
            { { "zdSum2", "0.00" }, { "zdWaiHJXX", "" }, { "zdRmbHJXX", "" } }, "" },
        TotalsCase { "SalesAmountsTypedWithACode",
            { { "zdSum1", "USD256.89" }, { "zdSum7", "1,000" } }, "zdSum7", {},
            { { "zdWaiHJXX", "1,256.89" }, { "zdRmbHJXX", "8,549.74" } }, "" },
        TotalsCase { "BadQuantityEmptiesTheLine",
            { { "zdAmount1", "abc" }, { "zdPrice1", "2" }, { "zdSum1", "9.00" },
                { "zdSum2", "5" } },
            "zdPrice1", {}, { { "zdSum1", "" }, { "zdWaiHJXX", "5.00" } },
            "非法的数量或单价(必须是英文半角的数字和.)！" },
        TotalsCase { "BadSalesAmountKeepsTheTotals",
            { { "zdSum1", "abc" }, { "zdSum2", "5" }, { "zdWaiHJXX", "old" } }, "zdSum2", {},
            { { "zdWaiHJXX", "old" } }, "不正确的金额(abc)！" },
        TotalsCase { "FobTotals", { { "zdD2Price1", "USD256.89" }, { "zdD2Price2", "100" } },
            "zdD2Price2", {},
            { { "zdFobWaiHJXX", "USD356.89" }, { "zdFobRmbHJXX", "RMB2,427.67" },
                { "zdWaiHJXX", "" } },
            "" },
        TotalsCase { "BadFobPrice", { { "zdD2Price1", "FOB" }, { "zdSum1", "10" } }, "zdD2Price1",
            {}, { { "zdWaiHJXX", "10.00" }, { "zdFobWaiHJXX", "" } },
            "请输入正确的离岸价(如：256.89 或 USD256.89)！" },
        TotalsCase { "InvalidRateLeavesTheRmbTotalsEmpty",
            { { "zdSum1", "1000" }, { "zdExchRate", "0:680" }, { "zdRmbHJXX", "old" } },
            "zdExchRate", {}, { { "zdWaiHJXX", "1,000.00" }, { "zdRmbHJXX", "" } },
            "无效的外汇汇率！" },
        TotalsCase { "NoRate", { { "zdSum1", "1000" }, { "zdExchRate", "" } }, "zdSum1", {},
            { { "zdRmbHJDX", "" } }, "没有输入汇率！" },
        TotalsCase { "FullWidthColonOfTheRate",
            { { "zdSum1", "1000" }, { "zdExchRate", "100：720" } }, "zdExchRate", {},
            { { "zdExchRate", "100:720" }, { "zdRmbHJXX", "7,200.00" } }, "" },
        TotalsCase { "NothingToConvertSaysNothingOfTheRate", { { "zdExchRate", "" } }, "zdAmount1",
            {}, { { "zdWaiHJXX", "" }, { "zdRmbHJXX", "" } }, "" },
        // A discount line lowers both currencies' totals.
        TotalsCase { "NegativeSalesLine", { { "zdSum1", "1000" }, { "zdSum2", "-100" } }, "zdSum2",
            {},
            { { "zdWaiHJXX", "900.00" }, { "zdWaiHJDX", "玖佰元整" }, { "zdRmbHJXX", "6,122.07" },
                { "zdRmbHJDX", "陆仟壹佰贰拾贰元零柒分" } },
            "" },
        TotalsCase { "NegativeAfterTheCode", { { "zdSum1", "USD1,000" }, { "zdSum2", "USD-100" } },
            "zdSum2", {}, { { "zdWaiHJXX", "900.00" }, { "zdRmbHJXX", "6,122.07" } }, "" },
        TotalsCase { "DiscountAtANegativePrice",
            { { "zdSum1", "1000" }, { "zdAmount2", "2" }, { "zdPrice2", "-25" } }, "zdPrice2", {},
            { { "zdSum2", "-50.00" }, { "zdWaiHJXX", "950.00" }, { "zdRmbHJXX", "6,462.19" } },
            "" },
        TotalsCase { "NegativeFobPrice", { { "zdD2Price1", "600" }, { "zdD2Price2", "-USD100" } },
            "zdD2Price2", {},
            { { "zdFobWaiHJXX", "USD500.00" }, { "zdFobRmbHJXX", "RMB3,401.15" } }, "" },
        // One rounding, half away from zero at the fen, of exact decimals.
        TotalsCase { "ExactProduct", { { "zdAmount1", "3" }, { "zdPrice1", "1.005" } }, "zdPrice1",
            {},
            { { "zdSum1", "3.02" }, { "zdWaiHJXX", "3.02" }, { "zdWaiHJDX", "叁元零贰分" },
                { "zdRmbHJXX", "20.54" } },
            "" },
        TotalsCase { "EachLineCountsAsItRounds", { { "zdSum1", "2.675" }, { "zdSum2", "2.675" } },
            "zdSum2", {}, { { "zdWaiHJXX", "5.36" }, { "zdRmbHJXX", "36.46" } }, "" },
        TotalsCase { "ConvertedOnceFromTheExactSum",
            { { "zdSum1", "0.5" }, { "zdExchRate", "100:1" } }, "zdSum1", {},
            { { "zdRmbHJXX", "0.01" } }, "" }),
    [](const ::testing::TestParamInfo<TotalsCase>& info) { return std::string(info.param.name); });

// Saving takes only totals that the lines make at the rate now.
TEST(ExportInvoiceSaving, RefusesTotalsTheLinesDoNotMake)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<const char*, const char*>> lines;
        std::vector<std::pair<const char*, const char*>> written; ///< after the totals
        const char* refusal;
    };
    const Case cases[] = {
        { "totals of the lines", { { "zdSum1", "100" }, { "zdSum2", "-10" } }, {}, "" },
        { "a line typed after the totals", { { "zdSum1", "100" } }, { { "zdSum2", "5" } },
            "合计金额与明细金额不符，拒绝保存~" },
        { "a rate typed after the totals", { { "zdSum1", "100" } }, { { "zdExchRate", "100:700" } },
            "合计金额与明细金额不符，拒绝保存~" },
        { "a sales amount that is no amount", { { "zdSum1", "100" } }, { { "zdSum2", "abc" } },
            "不正确的金额(abc)！" },
        { "a FOB price that is no amount", { { "zdSum1", "100" } }, { { "zdD2Price1", "FOB" } },
            "请输入正确的离岸价(如：256.89 或 USD256.89)！" },
    };
    const core::BillKind& kind = core::exportInvoiceKind();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextSurface s;
        s.setText(u("zdGouHComp"), u("买方"));
        s.setText(CkspRules::kCurrencyName, u("美元"));
        s.setText(CkspRules::kCurrencyCode, u("USD"));
        s.setText(CkspRules::kRate, u("100:720"));
        for (const auto& [name, text] : c.lines)
            s.setText(u(name), u(text));
        static_cast<const CkspRules&>(*kind.rules).writeTotals(s);
        for (const auto& [name, text] : c.written)
            s.setText(u(name), u(text));
        EXPECT_EQ(kind.rules->saveRefusal(s, kind).text, u(c.refusal));
    }
}

// ---------------------------------------------------------------------------------------------
// The form

class ExportInvoiceTest : public BillFixture
{
protected:
    std::unique_ptr<ui::TfmCheckCKSP> openInvoice()
    {
        auto form = std::make_unique<ui::TfmCheckCKSP>(env);
        EXPECT_TRUE(form->valid());
        return form;
    }

    /// The user types into an item and leaves it.
    static void fill(ui::TfmBillForm& form, const char* name, const QString& text)
    {
        typeInto(form, name, text);
        leave(form, name);
    }

    static void chooseCurrency(ui::TfmBillForm& form, const QString& name)
    {
        QComboBox* box = form.cfgMoneyType();
        box->setCurrentIndex(box->findText(name));
        emit box->activated(box->currentIndex());
    }

    /// A buyer and two lines worth 1000 in the foreign currency.
    static void fillBill(ui::TfmCheckCKSP& form)
    {
        typeInto(form, "zdGouHComp", u("GLOBAL HOME TRADING LLC"));
        fill(form, "zdAmount1", u("200"));
        fill(form, "zdPrice1", u("3.25"));
        fill(form, "zdAmount2", u("35"));
        fill(form, "zdPrice2", u("10"));
        fill(form, "zdD2Price1", u("600"));
    }
};

TEST_F(ExportInvoiceTest, LinesAndTheRateBoxMakeTheTotals)
{
    auto form = openInvoice();
    EXPECT_EQ(form->rateBox()->text(), u("100:100"));
    EXPECT_EQ(form->itemText(CkspRules::kRate), u("100:100"));
    fillBill(*form);
    EXPECT_EQ(form->itemText("zdSum1"), u("650.00"));
    EXPECT_EQ(form->itemText("zdSum2"), u("350.00"));
    EXPECT_EQ(form->itemText(CkspRules::kForeignFigures), u("1,000.00"));
    EXPECT_EQ(form->itemText(CkspRules::kRmbFigures), u("1,000.00"));

    form->rateBox()->setText(u("100：680.23")); // typed with a full-width colon
    EXPECT_EQ(form->rateBox()->text(), u("100:680.23"));
    EXPECT_EQ(form->itemText(CkspRules::kRate), u("100:680.23"));
    EXPECT_EQ(form->itemText(CkspRules::kRmbFigures), u("6,802.30"));
    EXPECT_EQ(form->itemText(CkspRules::kRmbCapitals), u("人民币陆仟捌佰零贰元叁角整"));
    EXPECT_EQ(form->itemText(CkspRules::kFobRmb), u("RMB4,081.38"));
    EXPECT_TRUE(prompter.entries().isEmpty()) << prompter.texts().join(' ').toStdString();

    // A rate being typed is taken once it is one, and told about when the user is done.
    form->rateBox()->setText(u("0:680"));
    EXPECT_EQ(form->itemText(CkspRules::kRmbFigures), QString());
    EXPECT_TRUE(prompter.entries().isEmpty());
    emit form->rateBox()->editingFinished();
    EXPECT_EQ(prompter.texts(), QStringList { u("无效的外汇汇率！") });

    // Ticking "合计小写带币种" writes the codes.
    prompter.clear();
    form->rateBox()->setText(u("100:700"));
    form->option("cfgTotalJEWithSheep")->click();
    EXPECT_EQ(form->itemText(CkspRules::kForeignFigures), u("￥1,000.00"));
    chooseCurrency(*form, u("美元"));
    EXPECT_EQ(form->itemText(CkspRules::kCurrencyName), u("美元"));
    EXPECT_EQ(form->itemText(CkspRules::kForeignFigures), u("USD1,000.00"));
    EXPECT_EQ(form->itemText(CkspRules::kFobForeign), u("USD600.00"));

    // Typing a sales amount over a computed one counts at once.
    typeInto(*form, "zdSum2", u("USD100"));
    EXPECT_EQ(form->itemText(CkspRules::kForeignFigures), u("USD750.00"));
}

TEST_F(ExportInvoiceTest, TheRateIsRememberedPerCurrency)
{
    auto form = openInvoice();
    fillBill(*form);
    chooseCurrency(*form, u("美元")); // the delivered rate of the dollar
    EXPECT_EQ(form->rateBox()->text(), u("100:720"));
    EXPECT_EQ(form->itemText(CkspRules::kRmbFigures), u("7,200.00"));

    form->rateBox()->setText(u("100:705.5"));
    form->findChild<QPushButton*>(u("btRmember"))->click();
    EXPECT_EQ(services.settings().getConfigByname(u("美元")), u("100:705.5"));
    EXPECT_TRUE(prompter.texts().contains(u("打印勾选及选项已记住！")));

    chooseCurrency(*form, u("人民币")); // nothing remembered: the design rate
    EXPECT_EQ(form->rateBox()->text(), u("100:100"));
    EXPECT_EQ(form->itemText(CkspRules::kRmbFigures), u("1,000.00"));
    chooseCurrency(*form, u("欧元"));
    EXPECT_EQ(form->itemText(CkspRules::kRate), u("100:780"));
    chooseCurrency(*form, u("美元"));
    EXPECT_EQ(form->itemText(CkspRules::kRate), u("100:705.5"));
    EXPECT_EQ(form->itemText(CkspRules::kRmbFigures), u("7,055.00"));

    // A rate without ":" is not remembered.
    form->rateBox()->setText(u("705"));
    form->findChild<QPushButton*>(u("btRmember"))->click();
    EXPECT_EQ(services.settings().getConfigByname(u("美元")), u("100:705.5"));

    // The next form in that currency starts at the remembered rate.
    auto next = openInvoice();
    EXPECT_EQ(next->currencyName(), u("美元"));
    EXPECT_EQ(next->itemText(CkspRules::kRate), u("100:705.5"));
}

TEST_F(ExportInvoiceTest, ATypedSalesAmountOutlivesTabbingThroughItsLine)
{
    auto form = openInvoice();
    typeInto(*form, "zdSum1", u("500"));
    for (const char* passed : { "zdAmount1", "zdPrice1" }) {
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(form->item(u(passed)), &in);
        leave(*form, passed);
    }
    EXPECT_EQ(form->itemText("zdSum1"), u("500"));
    EXPECT_EQ(form->itemText(CkspRules::kForeignFigures), u("500.00"));

    // A quantity typed on the way is an edit: the line is quantity × price again.
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form->item(u("zdAmount1")), &in);
    typeInto(*form, "zdAmount1", u("2"));
    leave(*form, "zdAmount1");
    EXPECT_EQ(form->itemText("zdSum1"), u("0.00"));
}

TEST_F(ExportInvoiceTest, AReopenedInvoiceKeepsItsRateThroughANewLayout)
{
    auto form = openInvoice();
    chooseCurrency(*form, u("美元"));
    // The template's bills are in dollars.
    form->findChild<QPushButton*>(u("btRmember"))->click();
    fillBill(*form);
    ASSERT_EQ(form->itemText(CkspRules::kRate), u("100:720"));
    click(*form, "btSaveCheck");
    const int serial = form->serialNo();
    ASSERT_GT(serial, 0);

    ASSERT_TRUE(services.settings().setConfigByname(u("美元"), u("100:600")));
    auto reopened = openInvoice();
    reopened->BrowseOldCheck(form->variant(), QString::number(serial));
    ASSERT_EQ(reopened->itemText(CkspRules::kRate), u("100:720"));
    // Design mode and a template change lay the form out again.
    reopened->reinitTemplate();
    EXPECT_EQ(reopened->itemText(CkspRules::kRate), u("100:720"));
    EXPECT_EQ(reopened->rateBox()->text(), u("100:720"));
    EXPECT_EQ(reopened->itemText(CkspRules::kRmbFigures), u("7,200.00"));

    // A currency chosen afterwards brings its own remembered rate.
    chooseCurrency(*reopened, u("欧元"));
    chooseCurrency(*reopened, u("美元"));
    EXPECT_EQ(reopened->itemText(CkspRules::kRate), u("100:600"));
}

TEST_F(ExportInvoiceTest, RefusesToSaveWithoutBuyerOrAmounts)
{
    auto form = openInvoice();
    fill(*form, "zdAmount1", u("1"));
    fill(*form, "zdPrice1", u("5"));
    prompter.clear();
    click(*form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(), QStringList { u("购货单位不能为空") });
    EXPECT_EQ(rows(u("DataCKSPTable")), 0);
    EXPECT_EQ(form->serialNo(), -1);

    typeInto(*form, "zdGouHComp", u("买方"));
    fill(*form, "zdAmount1", QString());
    fill(*form, "zdPrice1", QString());
    EXPECT_EQ(form->itemText(CkspRules::kForeignFigures), QString());
    prompter.clear();
    click(*form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(), QStringList { u("购货及金额项目必须填写才能保存~") });
    EXPECT_EQ(rows(u("DataCKSPTable")), 0);

    fill(*form, "zdPrice1", u("5"));
    prompter.clear();
    click(*form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(), QStringList { u("【出口商品发票】填写保存成功！ ") });
    EXPECT_EQ(form->windowTitle(), u("出口商品发票-单号：%1").arg(form->serialNo()));
}

TEST_F(ExportInvoiceTest, SavesEveryColumnAndReopensWithTotalsRecomputed)
{
    auto form = openInvoice();
    chooseCurrency(*form, u("美元"));
    fillBill(*form);
    typeInto(*form, "zdGouHAcct", u("4471902235"));
    typeInto(*form, "zdGouHBank", u("JPMORGAN CHASE"));
    typeInto(*form, "zdShouHuiFS", u("L/C"));
    typeInto(*form, "zdCheckNo", u("00463218"));
    form->selDate()->setDate(QDate(2024, 6, 18));
    click(*form, "btSaveCheck");
    const int serial = form->serialNo();
    ASSERT_GT(serial, 0);
    const QVariantMap stored = row(serial, u("DataCKSPTable"));
    EXPECT_EQ(stored.value(u("金额合计")).toString(), u("1,000.00"));
    EXPECT_EQ(stored.value(u("当期汇率")).toString(), u("100:720"));
    EXPECT_EQ(stored.value(u("离岸价合计")).toString(), u("USD600.00"));
    EXPECT_EQ(stored.value(u("销售额1")).toString(), u("650.00"));
    EXPECT_EQ(stored.value(u("票据编号")).toString(), u("00463218"));
    EXPECT_EQ(stored.value(u("发票编号")).toString(), u("00463218"));
    EXPECT_EQ(stored.value(u("币种")).toString(), u("美元"));
    EXPECT_EQ(stored.value(u("购方账号")).toString(), u("4471902235"));
    EXPECT_EQ(stored.value(u("票据状态")).toString(), u("已用"));

    // The stored totals are not trusted: reopening writes them from the lines, at the stored
    // rate, not at the one remembered for the currency since.
    services.db().execute(
        u("update DataCKSPTable set 金额合计='9', 销售额2='USD50' where 流水号=?"), { serial });
    ASSERT_TRUE(services.settings().setConfigByname(u("美元"), u("100:600")));
    auto reopened = openInvoice();
    prompter.clear();
    reopened->BrowseOldCheck(form->variant(), QString::number(serial));
    EXPECT_TRUE(prompter.entries().isEmpty()) << prompter.texts().join(' ').toStdString();
    EXPECT_EQ(reopened->itemText(CkspRules::kRate), u("100:720"));
    EXPECT_EQ(reopened->rateBox()->text(), u("100:720"));
    EXPECT_EQ(reopened->itemText(CkspRules::kForeignFigures), u("700.00"));
    EXPECT_EQ(reopened->itemText(CkspRules::kRmbFigures), u("5,040.00"));
    EXPECT_EQ(reopened->itemText(CkspRules::kFobRmb), u("RMB4,320.00"));
    EXPECT_EQ(reopened->itemText(CkspRules::kCurrencyName), u("美元"));
    EXPECT_EQ(reopened->itemText("zdShouHuiFS"), u("L/C"));
    EXPECT_EQ(reopened->itemText("zdGouHBank"), u("JPMORGAN CHASE"));
    EXPECT_EQ(reopened->itemText("zdCheckNo"), u("00463218"));
    EXPECT_TRUE(reopened->isHistoric());
    EXPECT_EQ(reopened->windowTitle(), u("历史票据查看（流水号为：%1)").arg(serial));
}

TEST_F(ExportInvoiceTest, CopyTellsWhatItDid)
{
    auto form = openInvoice();
    fillBill(*form);
    prompter.clear();
    click(*form, "btSaveAs");
    EXPECT_EQ(prompter.texts(), QStringList { u("  未保存单据不需要复制！   ") });

    click(*form, "btSaveCheck");
    const int serial = form->serialNo();
    ASSERT_GT(serial, 0);
    prompter.clear();
    click(*form, "btSaveAs");
    EXPECT_EQ(prompter.texts(), QStringList { u("单据复制成功！") });
    EXPECT_EQ(form->serialNo(), -1);
    EXPECT_EQ(form->windowTitle(), u("出口商品发票-%1 ID=-1").arg(form->variant()));
    click(*form, "btSaveCheck");
    EXPECT_GT(form->serialNo(), serial);
    EXPECT_EQ(rows(u("DataCKSPTable")), 2);

    click(*form, "btNewCheck");
    EXPECT_EQ(form->windowTitle(), u("新出口商品发票-ID=-1"));
    EXPECT_EQ(form->itemText("zdAmount1"), QString());
    EXPECT_EQ(form->itemText(CkspRules::kForeignFigures), QString());
    EXPECT_EQ(form->itemText(CkspRules::kFobForeign), QString());
}

TEST_F(ExportInvoiceTest, ARegisteredNumberIsOfferedAndFilledIn)
{
    const core::HistoryKind* h = core::findHistoryKind(u("出口商品发票"));
    ASSERT_TRUE(h);
    core::HistorySearch search(services.db(), *h);
    search.registerInvoices({ u("0001"), u("0002") }, u("商业发票A4"), u("1330219"));

    auto form = openInvoice();
    auto* numbers = qobject_cast<QComboBox*>(form->item("zdCheckNo"));
    ASSERT_TRUE(numbers);
    ASSERT_EQ(numbers->count(), 2);
    fillBill(*form);
    numbers->setCurrentIndex(numbers->findText(u("0002")));
    emit numbers->activated(numbers->currentIndex());
    EXPECT_EQ(form->itemText("zdCheckDMNo"), u("1330219"));
    const int registered = form->serialNo();
    ASSERT_GT(registered, 0);
    click(*form, "btSaveCheck");
    EXPECT_EQ(form->serialNo(), registered);
    EXPECT_EQ(rows(u("DataCKSPTable")), 2);
    const QVariantMap stored = row(registered, u("DataCKSPTable"));
    EXPECT_EQ(stored.value(u("票据状态")).toString(), u("已用"));
    EXPECT_EQ(stored.value(u("发票编号")).toString(), u("0002"));
    EXPECT_EQ(stored.value(u("金额合计")).toString(), u("1,000.00"));
    EXPECT_EQ(numbers->count(), 1) << "a number filled in is no longer offered";
}

// ---------------------------------------------------------------------------------------------
// The command line

TEST_F(ExportInvoiceTest, CommandLinePrintsTheTotalsWhereTheTemplatePutsThem)
{
    const QString pdf = home.file(QStringLiteral("invoice.pdf"));
    const CliRun run = runCliProcess({ u("print"), u("--home"), home.path(), u("--kind"),
        u("出口商品发票"), u("--set"), u("cfgMoneyType=美元"), u("--set"),
        u("zdExchRate=100:680.23"), u("--set"), u("zdGouHComp=GLOBAL"), u("--set"),
        u("zdAmount1=200"), u("--set"), u("zdPrice1=3.25"), u("--set"), u("zdPrice2=350"),
        u("--set"), u("zdD2Price1=USD600"), u("--pdf"), pdf, u("--save") });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(u("saved as 流水号 1\n"))) << run.out.toStdString();

    core::Database db(core::ProgramFolder(home.path()).databasePath());
    QSqlQuery q
        = db.exec(u("select 金额合计, 当期汇率, 销售额1, 销售额2, 离岸价合计, 币种, 购方单位 "
                    "from DataCKSPTable where 流水号=1"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), u("1,000.00"));
    EXPECT_EQ(q.value(1).toString(), u("100:680.23"));
    EXPECT_EQ(q.value(2).toString(), u("650.00"));
    EXPECT_EQ(q.value(3).toString(), u("350.00"));
    EXPECT_EQ(q.value(4).toString(), u("USD600.00"));
    EXPECT_EQ(q.value(5).toString(), u("美元"));
    EXPECT_EQ(q.value(6).toString(), u("GLOBAL"));

    // Each total lies in the box of its item.
    QSqlQuery boxes = db.exec(u("select CtlName, CtlX, CtlY, CtlW, CtlH from CKControl where "
                                "CheckTypeID=55 and CtlName in ('ZDWAIHJXX', 'ZDRMBHJXX', "
                                "'ZDRMBHJDX', 'ZDWAIHJDX', 'ZDSUM1', 'ZDEXCHRATE')"));
    QHash<QString, QRectF> box;
    while (boxes.next())
        box.insert(boxes.value(0).toString(),
            QRectF(boxes.value(1).toDouble() / 10, boxes.value(2).toDouble() / 10,
                boxes.value(3).toDouble() / 10, boxes.value(4).toDouble() / 10));
    ASSERT_EQ(box.size(), 6);
    const auto pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1);
    const std::pair<const char*, const char*> expected[]
        = { { "ZDWAIHJXX", "1,000.00" }, { "ZDRMBHJXX", "6,802.30" },
              { "ZDWAIHJDX", "美元壹仟元整" }, { "ZDRMBHJDX", "人民币陆仟捌佰零贰元叁角整" },
              { "ZDSUM1", "650.00" }, { "ZDEXCHRATE", "100:680.23" } };
    for (const auto& [item, text] : expected) {
        QList<PdfWord> words;
        for (const PdfWord& w : pages[0].words)
            if (folded(w.text) == u(text))
                words << w;
        ASSERT_EQ(words.size(), 1) << text;
        const QRectF b = box.value(u(item)).adjusted(-0.5, -0.5, 0.5, 0.5);
        EXPECT_TRUE(b.contains(QPointF(words[0].left, words[0].top))
            && b.contains(QPointF(words[0].right, words[0].bottom)))
            << text << " at " << words[0].left << "," << words[0].top;
    }
}

TEST_F(ExportInvoiceTest, CommandLineRefusesWhatTheFormRefuses)
{
    const QString pdf = home.file(QStringLiteral("bad.pdf"));
    const QStringList base
        = { u("print"), u("--home"), home.path(), u("--kind"), u("出口商品发票") };
    const std::pair<QStringList, const char*> cases[] = {
        { { u("--set"), u("zdAmount1=abc"), u("--pdf"), pdf },
            "print: 非法的数量或单价(必须是英文半角的数字和.)！" },
        { { u("--set"), u("zdPrice1=5"), u("--set"), u("zdExchRate=0:680"), u("--pdf"), pdf },
            "print: 无效的外汇汇率！" },
        { { u("--set"), u("zdSum1=5"), u("--set"), u("zdExchRate=高"), u("--pdf"), pdf },
            "print: 没有输入正确的汇率(如: 100:680.23等)！" },
        { { u("--set"), u("zdRmbHJXX=5"), u("--pdf"), pdf },
            "print: zdRmbHJXX is filled by the form (use --amount or --date)" },
        { { u("--set"), u("zdPrice1=5"), u("--save"), u("--pdf"), pdf },
            "print: 购货单位不能为空" },
        { { u("--set"), u("zdGouHComp=买方"), u("--save"), u("--pdf"), pdf },
            "print: 购货及金额项目必须填写才能保存~" },
    };
    for (const auto& [args, message] : cases) {
        const CliRun run = runCliProcess(base + args);
        EXPECT_NE(run.exitCode, 0) << message;
        EXPECT_TRUE(run.err.contains(u(message))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(pdf)) << "nothing printed";
    EXPECT_EQ(rows(u("DataCKSPTable")), 0) << "nothing saved";
}

} // namespace

} // namespace pennock::test
