#include "settings/FormPlacement.h"
#include "printing/Services.h"
#include "settings/IniFile.h"
#include "store/Installation.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

using namespace pennock::core;
using namespace pennock::ui;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

template <typename T>
T* addControl(QWidget* form, const char* name, QRect designGeometry = { 5, 5, 60, 20 })
{
    auto* control = new T(form);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(designGeometry);
    return control;
}

class FormPlacementTest : public ::testing::Test
{
protected:
    FormPlacementTest()
    {
        ensureInstallation(ProgramFolder(home.path()));
        form.setObjectName(QStringLiteral("fmCheckZP"));
        form.resize(800, 400);
    }

    void layout(const char* name, int x, int y, int w, int h, int v, const QString& dv = {})
    {
        const QString key = QString::fromLatin1(name).toUpper();
        cache.writeString(QStringLiteral("viewx"), key + QStringLiteral(".x"), QString::number(x));
        cache.writeString(QStringLiteral("viewy"), key + QStringLiteral(".y"), QString::number(y));
        cache.writeString(QStringLiteral("vieww"), key + QStringLiteral(".w"), QString::number(w));
        cache.writeString(QStringLiteral("viewh"), key + QStringLiteral(".h"), QString::number(h));
        cache.writeString(QStringLiteral("viewv"), key + QStringLiteral(".v"), QString::number(v));
        if (!dv.isEmpty())
            cache.writeString(QStringLiteral("viewdv"), key + QStringLiteral(".dv"), dv);
    }

    TempHome home;
    ScriptedPrompter prompter;
    Services services { home.path(), prompter };
    IniFile cache { home.file(QStringLiteral("Temp/CheckIni/1.ini")) };
    QWidget form;
};

} // namespace

TEST_F(FormPlacementTest, ShownItemsMoveHiddenOnesKeepTheirDesignPlace)
{
    auto* amount = addControl<QLineEdit>(&form, "zdJEXX");
    auto* payee = addControl<QComboBox>(&form, "zdInComp");
    auto* memo = addControl<QPlainTextEdit>(&form, "zdRemark");
    auto* hidden = addControl<QLineEdit>(&form, "zdZFMM", { 7, 8, 50, 21 });
    auto* unlisted = addControl<QLineEdit>(&form, "zdDef1", { 9, 9, 40, 18 });
    payee->setEditable(true);
    layout("zdJEXX", 120, 40, 90, 22, 1, QStringLiteral("100.00"));
    layout("ZDINCOMP", 10, 60, 200, 22, 1, QStringLiteral("某某公司"));
    layout("zdremark", 10, 90, 300, 40, 2, QStringLiteral("备注"));
    layout("zdZFMM", 300, 300, 80, 22, 0);
    form.show();

    for (const char* name : { "zdjexx", "zdIncomp", "ZDREMARK", "zdZFMM", "zdDef1", "zdNoSuch" })
        setFormCtlPositionFromIni(QString::fromLatin1(name), &cache, &form);

    EXPECT_EQ(amount->geometry(), QRect(120, 40, 90, 22));
    EXPECT_TRUE(amount->isVisible());
    EXPECT_EQ(amount->text(), QStringLiteral("100.00"));
    EXPECT_EQ(payee->currentText(), QStringLiteral("某某公司"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("备注"));
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_EQ(hidden->geometry(), QRect(7, 8, 50, 21));
    // Nothing in the cache: "viewv" defaults to 0, so the item is hidden.
    EXPECT_FALSE(unlisted->isVisible());
    EXPECT_EQ(unlisted->geometry(), QRect(9, 9, 40, 18));
}

TEST_F(FormPlacementTest, AnyInitialValueTicksACheckBox)
{
    auto* zero = addControl<QCheckBox>(&form, "DEFCHECK0");
    auto* none = addControl<QCheckBox>(&form, "DEFCHECK1");
    layout("DEFCHECK0", 10, 10, 60, 18, 1, QStringLiteral("0"));
    layout("DEFCHECK1", 10, 30, 60, 18, 1);
    setFormCtlPositionFromIni(QStringLiteral("DEFCHECK0"), &cache, &form);
    setFormCtlPositionFromIni(QStringLiteral("DEFCHECK1"), &cache, &form);
    EXPECT_TRUE(zero->isChecked());
    EXPECT_FALSE(none->isChecked());
}

TEST_F(FormPlacementTest, WholeFormFollowsTheCatalogueOfItsKind)
{
    services.db().execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName) values "
                                         "('支票', 'ZDJEXX'), ('进账单', 'ZDPJZS')"));
    auto* amount = addControl<QLineEdit>(&form, "zdJEXX");
    auto* other = addControl<QLineEdit>(&form, "zdPJZS", { 1, 2, 30, 15 });
    layout("zdJEXX", 120, 40, 90, 22, 1);
    layout("zdPJZS", 300, 40, 90, 22, 1);
    setFormControlsPosition(services.db(), prompter, QStringLiteral("支票"), &form, &cache);
    EXPECT_EQ(amount->geometry(), QRect(120, 40, 90, 22));
    EXPECT_EQ(other->geometry(), QRect(1, 2, 30, 15));

    services.db().execute(QStringLiteral("drop table NameDict"));
    setFormControlsPosition(services.db(), prompter, QStringLiteral("支票"), &form, &cache);
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_TRUE(prompter.texts()[0].startsWith(QStringLiteral("调入项目参数失败!")));
}

TEST_F(FormPlacementTest, WindowSizeIsRememberedAndLimitedToTheScreen)
{
    form.resize(640, 480);
    FormFaceSave(services.settings(), &form);
    form.resize(100, 100);
    FormFaceLoad(services.settings(), &form);
    EXPECT_EQ(form.size(), QSize(640, 480));

    const QSize screen = form.screen()->size();
    services.settings().userIni().writeString(QStringLiteral("FMCHECKZP"),
        QStringLiteral("FormWidth"), QString::number(screen.width() + 500));
    FormFaceLoad(services.settings(), &form);
    EXPECT_EQ(form.width(), screen.width());
    EXPECT_EQ(form.height(), 480);
}

TEST_F(FormPlacementTest, MaximisedWindowNeitherSavesNorLoadsItsSize)
{
    form.resize(640, 480);
    form.setWindowState(Qt::WindowMaximized);
    FormFaceSave(services.settings(), &form);
    EXPECT_FALSE(services.settings().userIni().hasKey(
        QStringLiteral("FMCHECKZP"), QStringLiteral("FormWidth")));
    services.settings().userIni().writeString(
        QStringLiteral("FMCHECKZP"), QStringLiteral("FormWidth"), QStringLiteral("300"));
    const QSize before = form.size();
    FormFaceLoad(services.settings(), &form);
    EXPECT_EQ(form.size(), before);
}
