#include "BillFixture.h"
#include "PdfWords.h"

#include "bills/BillKind.h"
#include "bills/BillKinds.h"
#include "bills/TfmBillForm.h"
#include "printing/PdfCanvas.h"
#include "printing/TemplateTestPrint.h"

#include <QDateEdit>
#include <QToolButton>

using namespace pennock;
using pennock::test::BillFixture;

namespace {

// The same cases over every kind that has a form.
class BillKindContract : public BillFixture, public ::testing::WithParamInterface<QString>
{
protected:
    const core::BillKind& kind() const { return *core::findBillKind(GetParam()); }

    std::unique_ptr<ui::TfmBillForm> open() { return openForm(GetParam()); }

    struct Layout
    {
        QString name;
        QRect screen; ///< picture pixels
        QRect paper; ///< 0.1 mm
    };
    /// What the template shows, by item.
    QList<Layout> shownItems(int templateId)
    {
        QSqlQuery q = services.db().exec(
            QStringLiteral("select CtlName, SrcX, SrcY, SrcW, SrcH, CtlX, CtlY, CtlW, CtlH from "
                           "CKControl where CheckTypeID=? and NeedShow<>0"),
            { templateId });
        QList<Layout> out;
        while (q.next())
            out.append({ q.value(0).toString(),
                QRect(
                    q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(), q.value(4).toInt()),
                QRect(q.value(5).toInt(), q.value(6).toInt(), q.value(7).toInt(),
                    q.value(8).toInt()) });
        return out;
    }

    /// Types a value of its own into every text item the user can type into.
    QHash<QString, QString> fillEveryItem(ui::TfmBillForm& form)
    {
        QHash<QString, QString> typed;
        int n = 0;
        for (const core::BillControl& c : fillingOrder(kind())) {
            using K = core::ControlKind;
            if (c.kind != K::Edit && c.kind != K::Combo && c.kind != K::SortedCombo
                && c.kind != K::Memo)
                continue;
            QWidget* w = form.item(c.name);
            if (!w || w->isHidden() || w->property("readOnly").toBool())
                continue;
            const QString value = QStringLiteral("值%1").arg(++n);
            typeInto(form, c.name.toUtf8().constData(), value);
            typed.insert(c.name, value);
        }
        return typed;
    }
};

// pdftotext names 角 by the radical that shares its glyph.
QString folded(QString text) { return text.replace(QChar(0x2EC6), QChar(0x89D2)); }

} // namespace

TEST_P(BillKindContract, OpensOnItsDefaultTemplateWithEveryItemPlaced)
{
    auto form = open();
    ASSERT_TRUE(form);
    const int id = services.templates().loadDefaultCheckTypeId(GetParam());
    EXPECT_EQ(form->currentTypeId(), id);
    EXPECT_EQ(form->objectName(), kind().objectName);
    for (const Layout& item : shownItems(id)) {
        QWidget* w = form->item(item.name);
        ASSERT_TRUE(w) << item.name.toStdString() << " has no control";
        EXPECT_FALSE(w->isHidden()) << item.name.toStdString();
        EXPECT_EQ(w->geometry(), item.screen) << item.name.toStdString();
    }
    // The date picker and the party pickers are there to be used.
    ASSERT_TRUE(form->selDate());
    EXPECT_FALSE(form->selDate()->isHidden());
    QStringList shapes = { kind().drawer.shape, kind().payee.shape };
    for (const core::PartySide& side : kind().moreSides)
        shapes << side.shape;
    for (const QString& shape : shapes) {
        if (!shape.isEmpty()) {
            EXPECT_FALSE(form->item(shape)->isHidden()) << shape.toStdString();
        }
    }
}

TEST_P(BillKindContract, FillsSavesReopensAndCopies)
{
    auto form = open();
    ASSERT_TRUE(form);
    const QHash<QString, QString> typed = fillEveryItem(*form);
    EXPECT_FALSE(typed.isEmpty());
    const bool amount = !kind().roles.figures.isEmpty();
    if (amount)
        enterAmount(*form, QStringLiteral("1234.5"));
    form->selDate()->setDate(QDate(2024, 1, 2)); // the user picks a date
    const QString figures = form->itemText(kind().roles.figures);
    if (amount) {
        EXPECT_TRUE(figures.endsWith(QStringLiteral("1,234.50")) || figures == u"1234.50")
            << figures.toStdString();
    }

    prompter.clear();
    click(*form, "btSaveCheck");
    const int serial = form->serialNo();
    ASSERT_GT(serial, 0) << prompter.texts().join(' ').toStdString();
    EXPECT_TRUE(form->isSaved());
    EXPECT_EQ(prompter.texts(), QStringList { kind().messages.savedNew });
    const QVariantMap stored = row(serial, kind().table);
    for (const core::BillColumn& c : kind().columns) {
        if (c.source == core::ColumnSource::Date) {
            EXPECT_TRUE(stored.value(c.column).toString().startsWith(u"2024-01-02"));
        }
        if (c.source == core::ColumnSource::Amount) {
            EXPECT_FALSE(stored.value(c.column).toString().isEmpty());
        }
    }
    EXPECT_EQ(stored.value(QStringLiteral("模板种类")).toString(), form->variant());
    for (const core::BillColumn& c : kind().columns) {
        if (c.source != core::ColumnSource::Text && c.source != core::ColumnSource::Payee)
            continue;
        if (typed.contains(c.control)) {
            EXPECT_EQ(stored.value(c.column).toString(), typed.value(c.control))
                << c.column.toStdString();
        }
    }

    // A change of any kind marks the bill changed again.
    typeInto(*form, kind().roles.remark.toUtf8().constData(), QStringLiteral("改"));
    EXPECT_FALSE(form->isSaved());
    click(*form, "btSaveCheck");
    EXPECT_EQ(form->serialNo(), serial);
    EXPECT_EQ(rows(kind().table), 1);

    auto reopened = open();
    reopened->BrowseOldCheck(form->variant(), QString::number(serial));
    EXPECT_EQ(reopened->serialNo(), serial);
    EXPECT_EQ(reopened->billDate(), QDate(2024, 1, 2));
    EXPECT_EQ(reopened->itemText(kind().roles.figures), form->itemText(kind().roles.figures));
    EXPECT_EQ(reopened->itemText(kind().roles.capitals), form->itemText(kind().roles.capitals));
    for (const core::BillColumn& c : kind().columns) {
        if (c.source == core::ColumnSource::Text && typed.contains(c.control)
            && c.control != kind().roles.remark) {
            EXPECT_EQ(reopened->itemText(c.control), typed.value(c.control))
                << c.control.toStdString();
        }
    }

    reopened->btSaveAsClick();
    EXPECT_EQ(reopened->serialNo(), -1);
    click(*reopened, "btSaveCheck");
    EXPECT_GT(reopened->serialNo(), serial);
    EXPECT_EQ(rows(kind().table), 2);
}

TEST_P(BillKindContract, PrintsEachValueInsideItsItemsBox)
{
    auto form = open();
    ASSERT_TRUE(form);
    fillEveryItem(*form);
    if (!kind().roles.figures.isEmpty())
        enterAmount(*form, QStringLiteral("1234.5"));
    const int id = form->currentTypeId();
    const QSize paper = core::templatePaperSize(services.db(), id);
    const QString path = home.file(QStringLiteral("out/bill.pdf"));
    core::PdfCanvas pdf(path, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
    services.printEngine().setCanvas(&pdf);
    env.turnPaper = false;
    prompter.clear();
    click(*form, "btPrint1");
    services.printEngine().setCanvas(nullptr);
    EXPECT_TRUE(prompter.entries().isEmpty()) << prompter.texts().join(' ').toStdString();

    const auto pages = test::readPdfWords(path);
    ASSERT_EQ(pages.size(), 1);
    const core::Bill bill = form->bill();
    QHash<QString, QRect> boxes;
    for (const Layout& item : shownItems(id))
        boxes.insert(item.name.toUpper(), item.paper);
    int checked = 0;
    for (const core::PrintValue& v : core::billPrintValues(services.db(), bill)) {
        // pdftotext splits boxed fields into their cells and may join neighbouring cells, so
        // the value's first character is looked for in a word that reaches into the box.
        const QString value = v.value.trimmed().normalized(QString::NormalizationForm_KC);
        if (value.isEmpty() || !boxes.contains(v.name.toUpper()))
            continue;
        const QChar first = value.at(0);
        const QRect box = boxes.value(v.name.toUpper());
        bool found = false;
        for (const auto& w : pages[0].words) {
            if (!folded(w.text).normalized(QString::NormalizationForm_KC).contains(first))
                continue;
            // A currency symbol may stand a cell to the left of its own.
            found |= w.right >= box.left() / 10.0 - 6 && w.left <= box.right() / 10.0 + 0.5
                && w.top >= box.top() / 10.0 - 0.5 && w.top <= box.bottom() / 10.0 + 0.5;
        }
        EXPECT_TRUE(found) << v.name.toStdString() << " " << value.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 5);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BillKindContract, ::testing::ValuesIn(core::billKindNames()),
    [](const ::testing::TestParamInfo<QString>& info) {
        return core::findBillKind(info.param)->formClass.toStdString();
    });
