#pragma once

#include "bills/AmountInputBox.h"
#include "bills/BillEnvironment.h"
#include "bills/BillKind.h"
#include "bills/BillKinds.h"
#include "bills/TfmCheckZP.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/RecordingCanvas.h"
#include "printing/Services.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "support/PrintQString.h"

namespace pennock::test {

/// A seeded installation, its services, a bill environment whose dialogs are scripted, and a
/// recording canvas as the printer.
class BillFixture : public ::testing::Test
{
protected:
    static constexpr int kIcbc = 1; ///< the default cheque template, "工商银行2010版"
    static constexpr int kCcb = 2; ///< "建设银行2010版"

    BillFixture()
    {
        core::ensureSeededInstallation(core::ProgramFolder(home.path()));
        core::installPrintFontSubstitutions();
        env.printers = [this] { return printers; };
        env.popPrinterDialog = [this] { return popDialog; };
        env.printerDialog = [this](QWidget*) {
            ++dialogs;
            services.printEngine().setPrintJobReady(dialogAnswer);
        };
        env.defaultDrawer = [this] { return drawer; };
        env.pickParty = [this](const QString& type, const QString& caption) {
            picks << type + QLatin1Char('/') + caption;
            return picked;
        };
        env.savePerson = [this](const core::TPerson& p) { savedPersons << p; };
        env.giveMeAnValue = [this](const QString& prompt, const QString&, const QString& type) {
            asked << prompt + QLatin1Char('/') + type;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        env.setCurrentTemplate = [this](int id) { currentTemplate = id; };
        services.printEngine().setCanvas(&canvas);
    }
    ~BillFixture() override { services.printEngine().setCanvas(nullptr); }

    std::unique_ptr<ui::TfmCheckZP> openCheque()
    {
        auto form = std::make_unique<ui::TfmCheckZP>(env);
        EXPECT_TRUE(form->valid());
        return form;
    }

    /// The form of a kind, shown.
    std::unique_ptr<ui::TfmBillForm> openForm(const QString& kind)
    {
        std::unique_ptr<ui::TfmBillForm> form(ui::createBillForm(kind, env));
        EXPECT_TRUE(form);
        if (form)
            form->show();
        return form;
    }

    /// A kind's controls in the order a test fills them: accounts first, since a typed account
    /// looks its bank up, which would empty a typed bank.
    static QList<core::BillControl> fillingOrder(const core::BillKind& kind)
    {
        QList<core::BillControl> controls;
        for (const core::BillControl& c : kind.controls)
            if (c.name == kind.drawer.account || c.name == kind.payee.account)
                controls.prepend(c);
            else
                controls.append(c);
        return controls;
    }

    /// The user types a text into a control (the program's own writes do not count as edits).
    static void typeInto(ui::TfmBillForm& form, const char* name, const QString& text)
    {
        QWidget* w = form.item(QString::fromUtf8(name));
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(text);
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            combo->setEditText(text);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            memo->setPlainText(text);
        else
            ADD_FAILURE() << name << " takes no text";
    }

    static void click(ui::TfmBillForm& form, const char* button)
    {
        form.button(QString::fromUtf8(button))->click();
    }

    /// The user leaves a control (the focus moves on).
    static void leave(ui::TfmBillForm& form, const char* name)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(form.item(QString::fromUtf8(name)), &out);
    }

    /// Enter in a control; a drop-down takes it in its edit.
    static void pressEnter(ui::TfmBillForm& form, const char* name)
    {
        QWidget* w = form.item(QString::fromUtf8(name));
        if (auto* combo = qobject_cast<QComboBox*>(w))
            w = combo->lineEdit();
        QTest::keyClick(w, Qt::Key_Return);
    }

    /// Clicks the first amount control of the kind (the capitals of a bank bill), pastes an
    /// amount into the floating box and presses Enter.
    static void enterAmount(ui::TfmBillForm& form, const QString& text)
    {
        enterAmountAt(form, form.kind().roles.amountOpeners.first(), text);
    }
    static void enterAmountAt(ui::TfmBillForm& form, const QString& opener, const QString& text)
    {
        QTest::mouseClick(form.item(opener), Qt::LeftButton);
        form.inputJEXX()->selectAll();
        form.inputJEXX()->insert(text);
        QTest::keyClick(form.inputJEXX(), Qt::Key_Return);
    }

    /// A row of a bill table, by column.
    QVariantMap row(int serial, const QString& table = QStringLiteral("DataZPTable"))
    {
        QSqlQuery q = services.db().exec(
            QStringLiteral("select * from \"%1\" where 流水号=?").arg(table), { serial });
        QVariantMap out;
        if (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                out.insert(q.record().fieldName(i), q.value(i));
        return out;
    }
    int rows(const QString& table = QStringLiteral("DataZPTable"))
    {
        return services.db()
            .scalar(QStringLiteral("select count(*) from \"%1\"").arg(table))
            .toInt();
    }
    /// Texts of the recording canvas joined by blanks.
    QStringList printed() const
    {
        QStringList out;
        for (const auto& t : canvas.texts())
            out << t.text;
        return out;
    }

    TempHome home;
    ScriptedPrompter prompter;
    core::Services services { home.path(), prompter };
    ui::BillEnvironment env { services };
    core::RecordingCanvas canvas { 360, 360, 0 };
    QStringList printers { QStringLiteral("Recorder") };
    bool popDialog = false;
    bool dialogAnswer = true;
    int dialogs = 0;
    std::optional<core::TPerson> drawer;
    std::optional<core::TPerson> picked;
    QStringList picks;
    QList<core::TPerson> savedPersons;
    QStringList answers;
    QStringList asked;
    int currentTemplate = 0;
};

} // namespace pennock::test
