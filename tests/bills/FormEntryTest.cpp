#include "BillFixture.h"

#include "bills/BillKind.h"
#include "bills/BillKinds.h"
#include "bills/InputValue.h"
#include "bills/TfmBillForm.h"
#include "parties/ReferenceLookups.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>

using namespace pennock;
using pennock::test::BillFixture;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// The document area of the main window on a 1366×768 screen: the screen less the menu, the
// tool bar, the status bar and the service panel beside it.
const QSize kRoom(1150, 650);

class FormEntryTest : public BillFixture
{
protected:
    std::unique_ptr<ui::TfmBillForm> open(const QString& kind)
    {
        std::unique_ptr<ui::TfmBillForm> form(ui::createBillForm(kind, env));
        EXPECT_TRUE(form && form->valid()) << kind.toStdString();
        if (!form)
            return form;
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }

    /// The item a focused widget belongs to (a drop-down's edit belongs to the drop-down). A
    /// pick list laid over an item stands for that item; the amount box is named by the item
    /// it lies over, after "amount box over ".
    static QString focusedItem(const ui::TfmBillForm& form)
    {
        QWidget* w = QApplication::focusWidget();
        while (w && w->parentWidget() != form.panelImgBg())
            w = w->parentWidget();
        if (!w)
            return {};
        for (const core::BillControl& c : form.kind().controls)
            if (QWidget* under = form.item(c.name); under && under != w && !under->isHidden()
                && under->geometry() == w->geometry()
                && (c.kind != core::ControlKind::ReadOnlyEdit
                    || form.kind().roles.amountOpeners.contains(c.name)))
                return w == form.inputJEXX() ? u("amount box over ") + c.name : c.name;
        return w == form.inputJEXX() ? u("amount box") : w->objectName();
    }

    /// Presses Tab (or Shift+Tab) where the focus is, as many times as it takes to leave the
    /// item shown now (a date picker takes one Tab per part of the date).
    static QString tab(const ui::TfmBillForm& form, bool forward = true)
    {
        const QString from = focusedItem(form);
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), forward ? Qt::Key_Tab : Qt::Key_Backtab,
                forward ? Qt::NoModifier : Qt::ShiftModifier);
            const QString now = focusedItem(form);
            if (now != from)
                return now;
        }
        return from;
    }
};

// ---------------------------------------------------------------------------------------------
// Counts and amounts

TEST_F(FormEntryTest, TheCopiesTypedAreTheCopiesPrinted)
{
    // The real dialog: its list of counts once turned "3" into "30" and "1" into "10".
    env.giveMeAnValue = [](const QString& prompt, const QString& value, const QString& type) {
        return ui::giveMeAnValue(nullptr, prompt, value, type);
    };
    auto form = open(u("支票"));
    for (const char* typed : { "3", "1", "5", "2" }) {
        QTimer::singleShot(0, [typed] {
            auto* dialog = qobject_cast<ui::TfrmInputValue*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
            // The default is selected on opening; the user types over it.
            QLineEdit* line = dialog->edtValue()->lineEdit();
            line->selectAll();
            QTest::keyClicks(line, QString::fromLatin1(typed));
            QTest::keyClick(line, Qt::Key_Return);
        });
        const int before = canvas.documentsEnded();
        click(*form, "btMultiPrintF");
        EXPECT_EQ(canvas.documentsEnded() - before, 1) << typed;
        EXPECT_EQ(canvas.copyCount(), QByteArray(typed).toInt()) << typed;
    }
}

TEST_F(FormEntryTest, ACountBoxOfTheFormKeepsWhatWasTyped)
{
    const std::pair<const char*, const char*> boxes[]
        = { { "进账单", "zdPJZS" }, { "快递单", "edtAmount" } };
    for (const auto& [kind, name] : boxes) {
        SCOPED_TRACE(name);
        auto form = open(u(kind));
        auto* box = qobject_cast<QComboBox*>(form->item(u(name)));
        ASSERT_NE(box, nullptr);
        box->show();
        box->setFocus();
        // Its list (1 to 9, or 1 to 100, and what the dictionary adds) is there to pick from,
        // not to finish the typing.
        box->insertItems(0, { u("10"), u("20"), u("30") });
        for (const char* typed : { "1", "2", "3" }) {
            box->lineEdit()->selectAll();
            QTest::keyClicks(box->lineEdit(), QString::fromLatin1(typed));
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
            EXPECT_EQ(box->currentText(), QString::fromLatin1(typed));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Lists

TEST_F(FormEntryTest, ACityPickedFromTheListStaysInTheBox)
{
    auto form = open(u("电汇单"));
    const QStringList provinces = core::ReferenceLookups(services.db()).loadProvinces();
    ASSERT_FALSE(provinces.isEmpty());
    for (const char* side : { "In", "Out" }) {
        SCOPED_TRACE(side);
        const QString prefix = u("zd") + QString::fromLatin1(side);
        typeInto(*form, (prefix + u("Prov")).toUtf8().constData(), provinces.first());
        auto* city = qobject_cast<QComboBox*>(form->item(prefix + u("City")));
        ASSERT_NE(city, nullptr);
        // The list before took the activation with it.
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        city->setFocus();
        ASSERT_GT(city->count(), 1) << "entering the box lists the province's cities";
        const QString wanted = city->itemText(1);
        // Keyboard: open the list, move to the entry, take it.
        QTest::keyClick(city, Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(city->view()->isVisible());
        city->view()->setCurrentIndex(city->model()->index(1, 0));
        QTest::keyClick(city->view(), Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_FALSE(city->view()->isVisible());
        EXPECT_EQ(city->currentText(), wanted);
        EXPECT_EQ(form->itemText(u("cg") + QString::fromLatin1(side) + u("City")), wanted)
            << "the counterfoil follows";
    }
}

// ---------------------------------------------------------------------------------------------
// Keyboard only

TEST_F(FormEntryTest, TabReachesTheAmountBoxAndLeavesItCommitted)
{
    auto form = open(u("电汇单"));
    QWidget* capitals = form->item(u("zdJEDX"));
    ASSERT_FALSE(capitals->isHidden());
    // From the payee's bank, the item before the amount in reading order.
    form->item(u("zdInBank"))->setFocus();
    ASSERT_EQ(focusedItem(*form), u("zdInBank"));
    EXPECT_EQ(tab(*form), u("amount box over zdJEDX"));
    EXPECT_FALSE(form->inputJEXX()->isHidden());
    QTest::keyClicks(form->inputJEXX(), u("1234.5"));
    const QString after = tab(*form);
    EXPECT_EQ(after, u("zdYT")) << "on to the purpose, not into the figures of the same amount";
    EXPECT_TRUE(form->inputJEXX()->isHidden());
    EXPECT_EQ(form->itemText(u("zdJEDX")), u("壹仟贰佰叁拾肆元伍角整"));
    EXPECT_EQ(form->itemText(u("zdF")), u("0"));
    EXPECT_EQ(form->itemText(u("zdJ")), u("5"));
    // And back: the box opens again over the amount, holding it.
    EXPECT_EQ(tab(*form, false), u("amount box over zdJEDX"));
    EXPECT_EQ(form->inputJEXX()->text(), u("1234.5"));
    EXPECT_EQ(tab(*form, false), u("zdInBank"));
    EXPECT_TRUE(prompter.entries().isEmpty());
}

// Every kind filled with Tab alone: each item a user fills comes in turn, in the reading order
// of the template (the payee's account before the bank), and the amount box opens on the way.
class FormKeyboard : public FormEntryTest, public ::testing::WithParamInterface<QString>
{
};

TEST_P(FormKeyboard, TabVisitsEveryItemToFillInReadingOrder)
{
    auto form = open(GetParam());
    const core::BillKind& kind = form->kind();
    QStringList fillable;
    for (const core::BillControl& c : kind.controls) {
        using K = core::ControlKind;
        QWidget* w = form->item(c.name);
        if (!w || w->isHidden() || !w->isEnabled() || c.kind == K::Shape
            || c.kind == K::AmountInput)
            continue;
        const bool opener = kind.roles.amountOpeners.contains(c.name);
        if (c.kind == K::ReadOnlyEdit && !opener)
            continue;
        if (!c.tabStop && !opener)
            continue;
        fillable << (opener ? u("amount box over ") + c.name : c.name);
    }
    // A presentation of the bill's amount opens the box once: the first one shown.
    QStringList presentations;
    for (const QString& name : { kind.roles.capitals, kind.roles.figures })
        if (kind.roles.amountOpeners.contains(name) && !form->item(name)->isHidden())
            presentations << u("amount box over ") + name;
    for (const QString& later : presentations.mid(1))
        fillable.removeAll(later);

    form->cbFirstTypeName()->setFocus();
    QStringList visited;
    for (int i = 0; i < 400; ++i) {
        const QString at = tab(*form);
        if (at.isEmpty() || visited.contains(at))
            break;
        if (form->item(at) || at.startsWith(u("amount box")))
            visited << at;
        else if (!visited.isEmpty())
            break; // out of the picture, on to the option bar
    }
    SCOPED_TRACE("visited: " + visited.join(u(" ")).toStdString());
    for (const QString& name : std::as_const(fillable))
        EXPECT_TRUE(visited.contains(name)) << name.toStdString() << " never reached";

    // Reading order: no stop lies wholly above the one before it.
    QRect previous;
    for (const QString& name : std::as_const(visited)) {
        const QString item = name.startsWith(u("amount box over "))
            ? name.mid(QStringLiteral("amount box over ").size())
            : name;
        const QRect r = form->item(item)->geometry();
        if (!previous.isNull()) {
            EXPECT_GE(r.bottom(), previous.top()) << item.toStdString() << " goes back up";
        }
        previous = r;
    }
    const core::PartySide& payee = kind.payee;
    if (visited.contains(payee.account) && visited.contains(payee.bank)
        && form->item(payee.account)->y() < form->item(payee.bank)->y()) {
        EXPECT_LT(visited.indexOf(payee.account), visited.indexOf(payee.bank));
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FormKeyboard, ::testing::ValuesIn(core::billKindNames()),
    [](const ::testing::TestParamInfo<QString>& info) {
        return core::findBillKind(info.param)->formClass.toStdString();
    });

TEST_F(FormEntryTest, ThePayeeAccountComesBeforeItsBank)
{
    for (const char* kindName : { "电汇单", "进账单", "定制单" }) {
        SCOPED_TRACE(kindName);
        auto form = open(u(kindName));
        const core::PartySide& payee = form->kind().payee;
        form->item(payee.name)->setFocus();
        QStringList order { focusedItem(*form) };
        while (order.size() < 12 && !order.contains(payee.bank))
            order << tab(*form);
        ASSERT_TRUE(order.contains(payee.account));
        EXPECT_LT(order.indexOf(payee.account), order.indexOf(payee.bank))
            << order.join(u(" ")).toStdString();
    }
}

// ---------------------------------------------------------------------------------------------
// A 1366×768 screen

// Every form of every template fits the document area and stays usable there: the whole tool
// bar, every option whole, the picture scrolling where it does not fit.
class FormFit : public FormEntryTest, public ::testing::WithParamInterface<QString>
{
};

TEST_P(FormFit, EveryTemplateFitsTheScreenWithItsToolsAndOptionsWhole)
{
    auto form = open(GetParam());
    QComboBox* variants = form->cbFirstTypeName();
    ASSERT_GT(variants->count(), 0);
    for (int v = 0; v < variants->count(); ++v) {
        SCOPED_TRACE(variants->itemText(v).toStdString());
        variants->setCurrentIndex(v);
        form->cbFirstTypeNameChange();
        const QSize size = form->fittingSize(kRoom);
        EXPECT_LE(size.width(), kRoom.width());
        EXPECT_LE(size.height(), kRoom.height());
        EXPECT_LE(form->minimumSizeHint().width(), kRoom.width());
        form->resize(size);
        QApplication::processEvents();

        QToolBar* bar = form->toolBarCheck();
        const QList<QToolButton*> buttons = bar->findChildren<QToolButton*>();
        for (QToolButton* b : buttons) {
            if (b->objectName() == u("qt_toolbar_ext_button")) {
                EXPECT_FALSE(b->isVisible()) << "nothing hides behind the overflow";
            } else if (!b->objectName().isEmpty()) {
                EXPECT_TRUE(b->isVisible() && bar->rect().contains(b->geometry()))
                    << b->text().toStdString();
            }
        }
        QWidget* options = form->shortBar();
        EXPECT_TRUE(
            form->rect().contains(QRect(options->mapTo(form.get(), QPoint(0, 0)), options->size())))
            << "the option bar lies inside the form";
        for (QWidget* w : options->findChildren<QWidget*>()) {
            const bool shows = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w)
                || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w);
            if (w->isHidden() || !shows)
                continue;
            if (qobject_cast<QComboBox*>(w->parentWidget()))
                continue;
            const QRect at(w->mapTo(options, QPoint(0, 0)), w->size());
            EXPECT_TRUE(options->rect().contains(at)) << w->objectName().toStdString();
            if (auto* box = qobject_cast<QAbstractButton*>(w)) {
                EXPECT_GE(w->width(), w->sizeHint().width()) << box->text().toStdString();
            }
            if (auto* label = qobject_cast<QLabel*>(w)) {
                EXPECT_GE(w->width(), w->sizeHint().width()) << label->text().toStdString();
            }
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                EXPECT_GE(w->width(), edit->fontMetrics().horizontalAdvance(edit->text()) + 4)
                    << edit->text().toStdString();
            }
        }
        // The picture is all in sight, or its scroll bars reach the rest.
        QScrollArea* scroller = form->pictureScroller();
        const QSize picture = form->panelImgBg()->size();
        const QSize seen = scroller->viewport()->size();
        if (picture.height() > seen.height()) {
            EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
        }
        if (picture.width() > seen.width()) {
            EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FormFit, ::testing::ValuesIn(core::billKindNames()),
    [](const ::testing::TestParamInfo<QString>& info) {
        return core::findBillKind(info.param)->formClass.toStdString();
    });

} // namespace
