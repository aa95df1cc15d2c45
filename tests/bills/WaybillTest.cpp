#include "BillFixture.h"
#include "PdfWords.h"

#include "bills/BillDraft.h"
#include "bills/TfmCheckKDD.h"
#include "bills/WaybillBatch.h"
#include "bills/WaybillKind.h"
#include "parties/DAOPerson.h"
#include "printing/PdfCanvas.h"
#include "printing/TemplateTestPrint.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFocusEvent>

namespace pennock::test {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

class WaybillTest : public BillFixture
{
protected:
    std::unique_ptr<ui::TfmCheckKDD> openWaybill()
    {
        auto form = std::make_unique<ui::TfmCheckKDD>(env);
        EXPECT_TRUE(form->valid());
        return form;
    }

    static void enter(ui::TfmBillForm& form, const char* name)
    {
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QWidget* w = form.item(QString::fromUtf8(name));
        if (auto* combo = qobject_cast<QComboBox*>(w))
            w = combo->lineEdit();
        QCoreApplication::sendEvent(w, &in);
    }

    static void choose(ui::TfmBillForm& form, const char* option, const QString& entry)
    {
        QComboBox* box = form.choiceOption(QString::fromUtf8(option));
        box->setCurrentIndex(box->findText(entry));
        emit box->activated(box->currentIndex());
    }

    /// Types figures into the capital field and leaves it.
    static void typeCapitals(ui::TfmCheckKDD& form, const QString& figures)
    {
        enter(form, "zdJEDX1");
        typeInto(form, "zdJEDX1", figures);
        leave(form, "zdJEDX1");
    }

    core::TPerson receiver()
    {
        core::TPerson p;
        p.全称 = u("深圳前海贸易有限公司");
        p.助记码 = u("SZQH");
        p.联系人 = u("李四");
        p.省 = u("广东省");
        p.市 = u("深圳市");
        p.镇区 = u("南山区");
        p.地址 = u("科技园南路8号");
        p.电话 = u("0755-12345678");
        p.手机 = u("13900000000");
        p.国家 = u("中国");
        p.邮编 = u("518000");
        p.单位类型 = u("往来单位");
        return p;
    }
};

} // namespace

TEST(WaybillCapitals, ConvertsFiguresByTheChosenFormat)
{
    const struct
    {
        const char* figures;
        const char* format;
        std::optional<QString> shown;
    } cases[] = {
        { "1234.5", "00000.00  限万位到分", u("零壹贰叁肆伍零") },
        { "1234.5", "00000.0   限万位到角", u("零壹贰叁肆伍") },
        { "1234.5", "0000      限千位无小数", u("壹贰叁伍") }, // rounded to the cells
        { "1234.5", "000.00    限百位到分", u("超出位数限制") },
        { "56", "000000    限十万位无小数", u("零零零零伍陆") },
        { "1234.5", "打印小写金额", u("1234.5") }, { "1234.5", "", u("1234.5") },
        { "1234.5", "打印中国传统大写金额", u("壹仟贰佰叁拾肆元伍角整") },
        { "", "00000.00  限万位到分", u("") }, { "abc", "00000.00  限万位到分", std::nullopt },
        { "1,234", "0000      限千位无小数", std::nullopt },
        { "abc", "打印小写金额", u("abc") }, // figures are shown as typed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(core::waybillCapitals(u(c.figures), u(c.format)), c.shown)
            << c.figures << " " << c.format;
    }
    EXPECT_EQ(core::waybillCapitalFormats().size(), 14);
}

TEST_F(WaybillTest, CapitalFieldKeepsTheFiguresAndShowsThemByFormat)
{
    auto form = openWaybill();
    EXPECT_EQ(form->optionText(u("cfgJEDXFormat")), u("打印小写金额")) << "nothing remembered";
    choose(*form, "cfgJEDXFormat", u("00000.00  限万位到分"));
    typeCapitals(*form, u("1234.5"));
    EXPECT_EQ(form->itemText(u("zdJEDX1")), u("零壹贰叁肆伍零"));
    // Entering again shows the figures typed, ready to be replaced.
    enter(*form, "zdJEDX1");
    EXPECT_EQ(form->itemText(u("zdJEDX1")), u("1234.5"));
    leave(*form, "zdJEDX1");
    choose(*form, "cfgJEDXFormat", u("000.00    限百位到分"));
    EXPECT_EQ(form->itemText(u("zdJEDX1")), u("超出位数限制"));
    choose(*form, "cfgJEDXFormat", u("打印小写金额"));
    EXPECT_EQ(form->itemText(u("zdJEDX1")), u("1234.5"));
    EXPECT_TRUE(prompter.entries().isEmpty());

    choose(*form, "cfgJEDXFormat", u("00000.00  限万位到分"));
    typeCapitals(*form, u("abc"));
    EXPECT_EQ(form->itemText(u("zdJEDX1")), u("abc"));
    EXPECT_EQ(prompter.texts(),
        QStringList { u("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~") });

    // Enter leaves the field once, so the figures are not converted twice.
    prompter.clear();
    enter(*form, "zdJEDX1");
    typeInto(*form, "zdJEDX1", u("88"));
    pressEnter(*form, "zdJEDX1");
    EXPECT_EQ(form->capitalFigures(), u("88"));
    EXPECT_EQ(form->itemText(u("zdJEDX1")), u("零零零捌捌零零"));
    EXPECT_TRUE(prompter.entries().isEmpty()) << prompter.texts().join(' ').toStdString();
}

TEST_F(WaybillTest, MobileJoinsThePhoneOnceAndLeavesItAgain)
{
    auto form = openWaybill();
    QCheckBox* merge = form->option(u("ckHandset2Phone"));
    typeInto(*form, "zdskrDH", u("021-1"));
    typeInto(*form, "skrHandset", u("139"));
    merge->click();
    EXPECT_EQ(form->itemText(u("zdskrDH")), u("021-1\\139"));
    merge->click();
    EXPECT_EQ(form->itemText(u("zdskrDH")), u("021-1"));
    merge->click();
    merge->click();
    merge->click();
    EXPECT_EQ(form->itemText(u("zdskrDH")), u("021-1\\139")) << "never a doubled mobile";
    typeInto(*form, "zdskrDH", QString());
    merge->click();
    merge->click();
    EXPECT_EQ(form->itemText(u("zdskrDH")), u("139")) << "an empty phone becomes the mobile";

    // A hidden mobile box gives its number to an empty phone.
    form->item(u("hkrHandset"))->hide();
    typeInto(*form, "zdhkrDH", QString());
    typeInto(*form, "hkrHandset", u("13800000000"));
    EXPECT_EQ(form->itemText(u("zdhkrDH")), u("13800000000"));
}

TEST_F(WaybillTest, PickListsLieOverTheirBoxesAndWriteIntoThem)
{
    auto form = openWaybill();
    auto* provinces = qobject_cast<QComboBox*>(form->item(u("Cb_S")));
    auto* cities = qobject_cast<QComboBox*>(form->item(u("Cb_XS")));
    ASSERT_TRUE(provinces && cities);
    EXPECT_TRUE(provinces->isHidden());

    enter(*form, "zdSKRS");
    EXPECT_FALSE(provinces->isHidden());
    EXPECT_EQ(provinces->geometry(), form->item(u("zdSKRS"))->geometry());
    EXPECT_GT(provinces->count(), 30) << "the provinces of the region table";
    provinces->setEditText(u("广东省")); // every change goes to the box at once
    EXPECT_EQ(form->itemText(u("zdSKRS")), u("广东省"));
    leave(*form, "Cb_S");
    EXPECT_TRUE(provinces->isHidden());

    // With "目的站=城市", the city picked is the destination station.
    form->option(u("cfgDestSiteIsCity"))->click();
    enter(*form, "zdSKRXS");
    EXPECT_EQ(form->overlayTarget(), u("zdSKRXS"));
    enter(*form, "Cb_XS");
    const int shenzhen = cities->findText(u("深圳市"));
    ASSERT_GE(shenzhen, 0) << "the cities of 广东省";
    cities->setCurrentIndex(shenzhen);
    emit cities->activated(shenzhen);
    EXPECT_EQ(form->itemText(u("zdSKRXS")), u("深圳市"));
    EXPECT_EQ(form->itemText(u("cbDestSite")), u("深圳市"));
    leave(*form, "Cb_XS");
    EXPECT_TRUE(cities->isHidden());

    // The sender's city list with no sender province keeps the list it had.
    const int listed = cities->count();
    enter(*form, "zdHKRXS");
    typeInto(*form, "zdHKRS", QString());
    enter(*form, "Cb_XS");
    EXPECT_EQ(cities->count(), listed);
    cities->setEditText(u("某县"));
    leave(*form, "Cb_XS");
    EXPECT_EQ(form->itemText(u("zdHKRXS")), u("某县"));

    // Countries, goods and remarks.
    enter(*form, "edtCountryDest");
    auto* countries = qobject_cast<QComboBox*>(form->item(u("cbCountry")));
    EXPECT_FALSE(countries->isHidden());
    countries->setEditText(u("日本"));
    leave(*form, "cbCountry");
    EXPECT_EQ(form->itemText(u("edtCountryDest")), u("日本"));
    QTest::mouseDClick(
        qobject_cast<QPlainTextEdit*>(form->item(u("zdWPNR")))->viewport(), Qt::LeftButton);
    auto* goods = qobject_cast<QComboBox*>(form->item(u("cb_zdWPNR")));
    EXPECT_FALSE(goods->isHidden());
    enter(*form, "cb_zdWPNR");
    EXPECT_GT(goods->count(), 0) << "the goods dictionary";
    goods->setEditText(goods->itemText(0));
    EXPECT_EQ(form->itemText(u("zdWPNR")), goods->itemText(0));
    EXPECT_FALSE(form->isSaved());
}

TEST_F(WaybillTest, PartiesFillAndEmptyTheTenBoxesOfASide)
{
    auto form = openWaybill();
    core::TPerson party = receiver();
    core::DAOPerson(services.db()).storePerson(party);
    picked = party;
    QTest::mouseClick(form->item(u("shpskr")), Qt::LeftButton);
    EXPECT_EQ(picks, QStringList { u("往来单位/选择收件人资料") });
    const std::pair<const char*, QString> shown[] = { { "zdSKR", party.全称 },
        { "zdSKRLXR", party.联系人 }, { "zdSKRS", party.省 }, { "zdSKRXS", party.市 },
        { "edtSJRTown", party.镇区 }, { "zdSkrDZ", party.地址 }, { "zdskrDH", party.电话 },
        { "skrHandset", party.手机 }, { "edtCountryDest", party.国家 }, { "zdSKRYB", party.邮编 } };
    for (const auto& [name, value] : shown)
        EXPECT_EQ(form->itemText(u(name)), value) << name;
    picked.reset();
    QTest::mouseClick(form->item(u("shpskr")), Qt::LeftButton);
    for (const auto& [name, value] : shown)
        EXPECT_TRUE(form->itemText(u(name)).isEmpty()) << name;

    // The mnemonic code and Enter find the party too.
    typeInto(*form, "zdSKR", u("SZQH"));
    pressEnter(*form, "zdSKR");
    EXPECT_EQ(form->itemText(u("zdSKRLXR")), u("李四"));

    // "存收件人" hands every recipient box to the party store.
    typeInto(*form, "zdSKRLXR", u("王五"));
    form->button(u("btSaveSKRen"))->click();
    ASSERT_EQ(savedPersons.size(), 1);
    EXPECT_EQ(savedPersons[0].联系人, u("王五"));
    EXPECT_EQ(savedPersons[0].镇区, u("南山区"));
    EXPECT_EQ(savedPersons[0].邮编, u("518000"));
    EXPECT_EQ(savedPersons[0].单位类型, u("往来单位"));
    EXPECT_EQ(form->button(u("btSaveSKRen"))->text(), u("存收件人"));
}

TEST_F(WaybillTest, PrintOptionsLeaveASideOutAcrossTemplates)
{
    auto form = openWaybill();
    form->option(u("ckPrintFJROnly"))->click();
    for (const char* name : { "zdSKR", "zdSKRLXR", "zdSkrDZ", "cbDestSite" })
        EXPECT_TRUE(form->item(u(name))->isHidden()) << name;
    form->cbFirstTypeName()->setCurrentIndex(form->cbFirstTypeName()->findText(u("顺丰速运")));
    form->cbFirstTypeNameChange();
    EXPECT_EQ(form->variant(), u("顺丰速运"));
    for (const char* name : { "zdSKR", "zdSKRLXR", "zdSkrDZ", "cbDestSite" })
        EXPECT_TRUE(form->item(u(name))->isHidden()) << name << " after another template";
    EXPECT_FALSE(form->item(u("zdHKR"))->isHidden());
    form->option(u("ckPrintFJROnly"))->click();
    EXPECT_FALSE(form->item(u("zdSKR"))->isHidden());

    // "打印日期" off: no date parts, and none printed.
    form->selDate()->setDate(QDate(2024, 3, 9));
    EXPECT_EQ(form->itemText(u("zdNian")), u("2024"));
    EXPECT_EQ(form->itemText(u("zdYue")), u("03"));
    EXPECT_EQ(form->itemText(u("zdRi")), u("09"));
    form->option(u("cfgWantPrintRQ"))->click();
    EXPECT_TRUE(form->item(u("zdNian"))->isHidden());
    EXPECT_TRUE(form->selDate()->isHidden());
    form->btPrint1Click();
    EXPECT_FALSE(printed().contains(u("2024")));
    form->option(u("cfgWantPrintRQ"))->click();
    EXPECT_FALSE(form->item(u("zdNian"))->isHidden());

    // One print job makes at most 50 copies.
    form->PrintPrepare();
    form->PrinterTransBegin(80);
    EXPECT_EQ(canvas.copyCount(), 50);
    form->PrinterTransEnd();
}

TEST_F(WaybillTest, SavesReopensAsHistoricAndCopies)
{
    auto form = openWaybill();
    const std::pair<const char*, const char*> values[] = { { "edtCountryFrom", "中国" },
        { "edtCountryDest", "美国" }, { "cbFromSite", "杭州" }, { "cbDestSite", "纽约" },
        { "zdBaoZFee", "12" }, { "zdTiJi", "0.3" }, { "zdSKR", "收件公司" }, { "zdSKRLXR", "赵六" },
        { "zdPJBH", "SF1001" }, { "zdJiaJiFee", "5" } };
    for (const auto& [name, value] : values)
        typeInto(*form, name, u(value));
    typeCapitals(*form, u("66"));
    click(*form, "btSaveCheck");
    const int serial = form->serialNo();
    ASSERT_GT(serial, 0);
    EXPECT_EQ(prompter.texts(), QStringList { u("新快递单保存成功！ ") });
    EXPECT_EQ(
        form->windowTitle(), u("快递单(") + form->variant() + u(")-ID=") + QString::number(serial));
    const QVariantMap stored = row(serial, u("DataKDDTable"));
    EXPECT_EQ(stored.value(u("包装费")).toString(), u("12"));
    EXPECT_EQ(stored.value(u("金额大写1")).toString(), u("66"));
    EXPECT_EQ(stored.value(u("模板种类")).toString(), form->variant());

    auto reopened = openWaybill();
    reopened->BrowseOldCheck(form->variant(), QString::number(serial));
    for (const auto& [name, value] : values)
        EXPECT_EQ(reopened->itemText(u(name)), u(value)) << name;
    EXPECT_TRUE(reopened->isHistoric());
    EXPECT_EQ(reopened->windowTitle(),
        u("历史快递单查看（流水号为：") + QString::number(serial) + u(")"));
    prompter.clear();
    click(*reopened, "btSaveCheck");
    EXPECT_EQ(
        prompter.texts(), QStringList { u("历史单据不能保存，请点击【复制】后,再保存为新单据！") });

    reopened->btSaveAsClick();
    EXPECT_EQ(reopened->windowTitle(), u("已复制保存过的单据为一张新单~"));
    EXPECT_EQ(reopened->itemText(u("zdPJBH")), u("SF1001")) << "the number stays on a copy";
    reopened->btNewClick();
    EXPECT_EQ(reopened->windowTitle(), u("新快递单-ID=-1"));
    EXPECT_TRUE(reopened->itemText(u("zdSKRLXR")).isEmpty());
    EXPECT_TRUE(reopened->itemText(u("cbDestSite")).isEmpty());
    EXPECT_EQ(reopened->itemText(u("cbFromSite")), u("杭州")) << "the sender side stays";
    EXPECT_EQ(reopened->itemText(u("zdBaoZFee")), u("12")) << "fees stay";
    prompter.clear();
    reopened->btSaveAsClick();
    EXPECT_EQ(prompter.texts(), QStringList { u("未保存单据不需要复制即为一张新单！") });

    // Closing asks only once a recipient and a contact are there.
    prompter.queueAnswer(false);
    typeInto(*reopened, "zdSKR", u("甲"));
    typeInto(*reopened, "zdSKRLXR", u("乙"));
    reopened->close();
    ASSERT_FALSE(prompter.entries().isEmpty());
    EXPECT_EQ(prompter.entries().last().text, u("是否保存该快递单？"));
    EXPECT_EQ(prompter.entries().last().caption, u("关闭快递单"));
}

TEST_F(WaybillTest, EveryCarrierPrintsOnItsOwnPaper)
{
    auto form = openWaybill();
    const QStringList carriers = services.templates().loadCheckTypeLastNameList(u("快递单"));
    for (const char* carrier : { "邮政快递", "申通速递", "圆通速递", "韵达快运", "顺丰速运" })
        ASSERT_TRUE(carriers.contains(u(carrier))) << carrier;
    env.turnPaper = false;
    QHash<QString, double> heights;
    for (const QString& carrier : carriers) {
        form->cbFirstTypeName()->setCurrentIndex(form->cbFirstTypeName()->findText(carrier));
        form->cbFirstTypeNameChange();
        typeInto(*form, "zdSKRLXR", u("收件人甲"));
        typeInto(*form, "zdHKRLXR", u("寄件人乙"));
        const int id = form->currentTypeId();
        const QSize paper = core::templatePaperSize(services.db(), id);
        const QString path = home.file(QStringLiteral("out/") + carrier + QStringLiteral(".pdf"));
        core::PdfCanvas pdf(path, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
        services.printEngine().setCanvas(&pdf);
        click(*form, "btPrint1");
        services.printEngine().setCanvas(&canvas);
        const auto pages = readPdfWords(path);
        ASSERT_EQ(pages.size(), 1) << carrier.toStdString();
        EXPECT_NEAR(pages[0].sizeMm.width(), paper.width() / 10.0, 0.5);
        EXPECT_NEAR(pages[0].sizeMm.height(), paper.height() / 10.0, 0.5);
        heights.insert(carrier, pages[0].sizeMm.height());
        for (const auto& [name, value] :
            { std::pair { "ZDSKRLXR", u("收件人甲") }, std::pair { "ZDHKRLXR", u("寄件人乙") } }) {
            QSqlQuery q
                = services.db().exec(QStringLiteral("select CtlX, CtlY, CtlW, CtlH from "
                                                    "CKControl where CheckTypeID=? and CtlName=?"),
                    { id, u(name) });
            ASSERT_TRUE(q.next()) << name;
            const QRectF box(q.value(0).toInt() / 10.0, q.value(1).toInt() / 10.0,
                q.value(2).toInt() / 10.0, q.value(3).toInt() / 10.0);
            const auto words = wordsEqualTo(pages[0], value);
            ASSERT_EQ(words.size(), 1) << carrier.toStdString() << " " << name;
            // The value lies in its box on the paper.
            EXPECT_GE(words[0].left, box.left() - 0.5) << carrier.toStdString() << name;
            EXPECT_LE(words[0].right, box.right() + 0.5) << carrier.toStdString() << name;
            EXPECT_NEAR(words[0].top, box.top(), 2.0) << carrier.toStdString() << name;
        }
    }
    EXPECT_NEAR(heights.value(u("顺丰速运")), 139.7, 0.5);
    EXPECT_NEAR(heights.value(u("申通速递")), 127.0, 0.5);
}

TEST_F(WaybillTest, PastedAddressFillsTheRecipientOnceConfirmed)
{
    auto form = openWaybill();
    QStringList shown;
    std::optional<core::SplitAddress> answer;
    env.confirmAddress = [&](const core::SplitAddress& split, const QString& pasted) {
        shown << pasted + QLatin1Char('|') + split.name + QLatin1Char('|') + split.city;
        if (answer)
            return answer;
        return std::optional<core::SplitAddress>(); // cancelled
    };
    form->option(u("cfgDestSiteIsCity"))->click();
    form->pasteBox()->setText(u("张三 13800138000 浙江省杭州市西湖区文三路90号东部软件园"));
    form->btPasteClick();
    EXPECT_EQ(shown,
        QStringList { u("张三 13800138000 浙江省杭州市西湖区文三路90号东部软件园|张三|杭州市") });
    EXPECT_TRUE(form->itemText(u("zdSKRLXR")).isEmpty()) << "nothing filled when cancelled";

    core::SplitAddress corrected;
    corrected.name = u("张三丰");
    corrected.mobile = u("13800138000");
    corrected.province = u("浙江省");
    corrected.city = u("杭州市");
    corrected.district = u("西湖区");
    corrected.address = u("文三路90号东部软件园");
    answer = corrected;
    form->btPasteClick();
    EXPECT_EQ(form->itemText(u("zdSKRLXR")), u("张三丰")) << "the correction counts";
    EXPECT_EQ(form->itemText(u("skrHandset")), u("13800138000"));
    EXPECT_EQ(form->itemText(u("zdSKRS")), u("浙江省"));
    EXPECT_EQ(form->itemText(u("zdSKRXS")), u("杭州市"));
    EXPECT_EQ(form->itemText(u("edtSJRTown")), u("西湖区"));
    EXPECT_EQ(form->itemText(u("zdSkrDZ")), u("文三路90号东部软件园"));
    EXPECT_EQ(form->itemText(u("cbDestSite")), u("杭州市"));
    EXPECT_TRUE(form->pasteBox()->text().isEmpty());
    EXPECT_FALSE(form->isSaved());
}

TEST_F(WaybillTest, ReopenedCapitalsAreNotConvertedFromTheFiguresOfAnotherBill)
{
    // A bill saved with capitals, and one saved with figures as typed.
    auto first = openWaybill();
    choose(*first, "cfgJEDXFormat", u("00000.00  限万位到分"));
    typeCapitals(*first, u("66"));
    ASSERT_EQ(first->itemText(u("zdJEDX1")), u("零零零陆陆零零"));
    typeInto(*first, "zdSKRLXR", u("赵六"));
    click(*first, "btSaveCheck");
    const int capitals = first->serialNo();
    choose(*first, "cfgJEDXFormat", u("打印小写金额"));
    first->btSaveAsClick();
    typeCapitals(*first, u("77"));
    click(*first, "btSaveCheck");
    const int figures = first->serialNo();
    ASSERT_GT(capitals, 0);
    ASSERT_GT(figures, capitals);

    // A form whose own figures were typed for another bill, and a form just opened.
    auto typed = openWaybill();
    choose(*typed, "cfgJEDXFormat", u("00000.00  限万位到分"));
    typeCapitals(*typed, u("1234.5"));
    typeInto(*typed, "zdSKRLXR", u("钱七"));
    click(*typed, "btSaveCheck");
    auto fresh = openWaybill();
    choose(*fresh, "cfgJEDXFormat", u("00000.00  限万位到分"));
    for (ui::TfmCheckKDD* form : { typed.get(), fresh.get() }) {
        form->BrowseOldCheck(first->variant(), QString::number(capitals));
        prompter.clear();
        ASSERT_EQ(form->itemText(u("zdJEDX1")), u("零零零陆陆零零"));
        enter(*form, "zdJEDX1"); // clicked into and out of
        leave(*form, "zdJEDX1");
        EXPECT_EQ(form->itemText(u("zdJEDX1")), u("零零零陆陆零零"));
        choose(*form, "cfgJEDXFormat", u("0000      限千位无小数"));
        EXPECT_EQ(form->itemText(u("zdJEDX1")), u("零零零陆陆零零")) << "no figures to convert";
        EXPECT_TRUE(prompter.entries().isEmpty()) << prompter.texts().join(' ').toStdString();

        // Figures saved as typed are the figures of the reopened bill.
        choose(*form, "cfgJEDXFormat", u("打印小写金额"));
        form->BrowseOldCheck(first->variant(), QString::number(figures));
        EXPECT_EQ(form->itemText(u("zdJEDX1")), u("77"));
        enter(*form, "zdJEDX1");
        leave(*form, "zdJEDX1");
        EXPECT_EQ(form->itemText(u("zdJEDX1")), u("77"));
        choose(*form, "cfgJEDXFormat", u("0000      限千位无小数"));
        EXPECT_EQ(form->itemText(u("zdJEDX1")), u("零零柒柒"));
        choose(*form, "cfgJEDXFormat", u("00000.00  限万位到分"));
        EXPECT_TRUE(prompter.entries().isEmpty()) << prompter.texts().join(' ').toStdString();
    }
}

TEST_F(WaybillTest, PastedAddressReplacesTheRecipientAndGivesAHiddenMobileToThePhone)
{
    auto form = openWaybill();
    form->cbFirstTypeName()->setCurrentIndex(form->cbFirstTypeName()->findText(u("申通速递")));
    form->cbFirstTypeNameChange();
    ASSERT_EQ(form->variant(), u("申通速递"));
    ASSERT_TRUE(form->item(u("skrHandset"))->isHidden()) << "the template hides the mobile";
    // The recipient before.
    const std::pair<const char*, const char*> before[]
        = { { "zdSKR", "旧收件公司" }, { "zdSKRLXR", "旧联系人" }, { "zdskrDH", "0571-1234567" },
              { "zdSKRYB", "100000" }, { "edtCountryDest", "美国" }, { "zdSkrDZ", "旧地址1号" } };
    for (const auto& [name, value] : before)
        typeInto(*form, name, u(value));
    env.confirmAddress = [](const core::SplitAddress& split, const QString&) {
        return std::optional<core::SplitAddress>(split);
    };
    form->pasteBox()->setText(u("张三 13800138000 浙江省杭州市西湖区文三路90号 310012"));
    form->btPasteClick();
    const std::pair<const char*, const char*> after[] = { { "zdSKR", "" }, { "zdSKRLXR", "张三" },
        { "zdskrDH", "13800138000" }, { "skrHandset", "13800138000" }, { "zdSKRYB", "310012" },
        { "edtCountryDest", "" }, { "zdSKRS", "浙江省" }, { "zdSKRXS", "杭州市" },
        { "edtSJRTown", "西湖区" }, { "zdSkrDZ", "文三路90号" } };
    for (const auto& [name, value] : after)
        EXPECT_EQ(form->itemText(u(name)), u(value)) << name;
    form->btPrint1Click();
    EXPECT_TRUE(printed().contains(u("13800138000"))) << printed().join(' ').toStdString();
    EXPECT_FALSE(printed().contains(u("旧收件公司")));

    // Pasted again with a landline: the phone is the landline, the mobile stays apart.
    form->pasteBox()->setText(u("李四 0571-8888 6666 13900001111 浙江省杭州市西湖区文三路91号"));
    form->btPasteClick();
    EXPECT_EQ(form->itemText(u("zdskrDH")), u("057188886666"));
    EXPECT_EQ(form->itemText(u("skrHandset")), u("13900001111"));
    EXPECT_TRUE(form->itemText(u("zdSKRYB")).isEmpty()) << "no postcode of the recipient before";
}

TEST(WaybillNumbers, CountOnFromTheDigitsAtTheEnd)
{
    const struct
    {
        const char* first;
        qint64 step;
        int n;
        const char* number;
    } cases[] = {
        { "SF0099", 1, 1, "SF0100" },
        { "SF0099", 1, 0, "SF0099" },
        { "1000", 5, 3, "1015" },
        { "99", 1, 1, "100" }, // grows past its width
        { "A7B009", 10, 2, "A7B029" },
        { "ABC", 1, 1, "" },
        { "", 1, 1, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::numberInSeries(u(c.first), c.step, c.n), u(c.number)) << c.first;
}

TEST_F(WaybillTest, ReceiverListKeepsGroupsAndParties)
{
    core::ReceiverList list(services.db());
    const int first = list.add(core::ReceiverList::fromParty(receiver(), u("三月")));
    core::Receiver hand;
    hand.values = { { u("联系人"), u("王五") }, { u("地址"), u("北京市朝阳区建国路88号") },
        { u("no such column"), u("x") } };
    const int second = list.add(hand);
    EXPECT_GT(second, first);
    EXPECT_EQ(list.groups(), QStringList { u("三月") });
    const auto march = list.load(u("三月"));
    ASSERT_EQ(march.size(), 1);
    EXPECT_EQ(march[0].value(u("全称")), receiver().全称);
    EXPECT_EQ(march[0].value(u("手机")), receiver().手机);
    hand.id = second;
    hand.values = { { u("电话"), u("010-1'2") } };
    list.update(hand);
    EXPECT_EQ(list.load()[1].value(u("电话")), u("010-1'2"));
    EXPECT_EQ(list.load()[1].value(u("联系人")), u("王五")) << "other columns stay";
    list.remove({ first });
    EXPECT_EQ(list.count(), 1);
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST_F(WaybillTest, BatchPrintsOnePageAWaybillAndSavesThem)
{
    core::BillDraft draft(services, core::waybillKind());
    ASSERT_TRUE(draft.open(QString()));
    draft.setItem(u("zdHKR"), u("寄件公司"));
    draft.setItem(u("zdWPNR"), u("文件"));
    draft.setOption(u("cfgDestSiteIsCity"), u("1"));
    draft.setOption(u("ckHandset2Phone"), u("1"));
    draft.setOption(u("cfgJEDXFormat"), u("00000.00  限万位到分"));
    QList<core::Receiver> receivers(3);
    receivers[0].values = { { u("联系人"), u("甲") }, { u("市"), u("杭州市") },
        { u("手机"), u("13800000000") }, { u("电话"), u("0571-1") }, { u("金额大写1"), u("12") } };
    receivers[1].values = { { u("备注"), u("空行") } }; // no recipient at all
    receivers[2].values = { { u("联系人"), u("乙") }, { u("内件说明"), u("样品") },
        { u("目的站"), u("上海") }, { u("市"), u("苏州市") } };
    receivers.append(
        core::Receiver { 0, { { u("联系人"), u("丙") }, { u("金额大写1"), u("十二") } } });

    const int id = draft.bill().templateId;
    const QSize paper = core::templatePaperSize(services.db(), id);
    const QString path = home.file(QStringLiteral("out/batch.pdf"));
    core::PdfCanvas pdf(path, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
    core::PrintEngine& engine = services.printEngine();
    engine.setCanvas(&pdf);
    ASSERT_TRUE(engine.prepareJob(id, false));
    ASSERT_TRUE(engine.beginJob(1));
    core::WaybillBatchOptions options;
    options.save = true;
    options.firstNumber = u("YT0009");
    const auto outcome = core::printWaybills(services, draft.bill(), receivers, options, 0, 0);
    engine.setCanvas(&canvas);

    EXPECT_TRUE(outcome.delivered) << "the job is ended by the batch";
    EXPECT_EQ(outcome.printed, 2);
    EXPECT_EQ(outcome.saved, 2);
    ASSERT_EQ(outcome.refused.size(), 2);
    EXPECT_EQ(outcome.refused[0].first, 1);
    EXPECT_EQ(outcome.refused[1].first, 3);
    EXPECT_TRUE(outcome.refused[1].second.contains(u("十二")));

    const auto pages = readPdfWords(path);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(wordsEqualTo(pages[0], u("甲")).size(), 1);
    EXPECT_EQ(wordsEqualTo(pages[1], u("乙")).size(), 1);
    EXPECT_TRUE(wordsEqualTo(pages[0], u("乙")).isEmpty());

    const QVariantMap a = row(outcome.serials[0], u("DataKDDTable"));
    EXPECT_EQ(a.value(u("寄件单位")).toString(), u("寄件公司"));
    EXPECT_EQ(a.value(u("收件联系人")).toString(), u("甲"));
    EXPECT_EQ(a.value(u("目的站")).toString(), u("杭州市")) << "目的站=城市";
    EXPECT_EQ(a.value(u("收件电话")).toString(), u("0571-1\\13800000000"));
    EXPECT_EQ(a.value(u("金额大写1")).toString(), u("零零零壹贰零零"));
    EXPECT_TRUE(a.value(u("物品内容")).toString().isEmpty()) << "the row's goods, not the form's";
    EXPECT_EQ(a.value(u("快递单号")).toString(), u("YT0009"));
    const QVariantMap b = row(outcome.serials[1], u("DataKDDTable"));
    EXPECT_EQ(b.value(u("目的站")).toString(), u("上海")) << "the row's own station";
    EXPECT_EQ(b.value(u("物品内容")).toString(), u("样品"));
    EXPECT_EQ(b.value(u("快递单号")).toString(), u("YT0010"));
    EXPECT_TRUE(b.value(u("收件电话")).toString().isEmpty()) << "nothing of the row before";

    // Cancelling between waybills keeps what was printed and saved.
    ASSERT_TRUE(engine.prepareJob(id, false));
    ASSERT_TRUE(engine.beginJob(1));
    const auto stopped = core::printWaybills(
        services, draft.bill(), receivers, options, 0, 0, [](int) { return false; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.delivered);
    EXPECT_EQ(stopped.printed, 1);
    EXPECT_EQ(stopped.saved, 1);
    EXPECT_EQ(canvas.pageBreaks(), 0);
}

} // namespace pennock::test
