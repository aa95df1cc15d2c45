#include "printing/ControlValue.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QWidget>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;
using pennock::ui::getControlValue;

namespace {

template <typename W> W* named(QWidget* parent, const char* name)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

class ControlValueTest : public ::testing::Test
{
protected:
    ControlValueTest()
    {
        ensureInstallation(folder);
        // A bill form: a picture panel holding the item controls, one control beside it in a
        // group of its own.
        form.setObjectName(QStringLiteral("fmCheckZP"));
        panel = named<QFrame>(&form, "pnlPicture");
        named<QLineEdit>(panel, "zdInComp")->setText(QStringLiteral("上海浦江机电设备有限公司"));
        named<QPlainTextEdit>(panel, "zdRemark")->setPlainText(QStringLiteral("第一行\n第二行"));
        auto* combo = named<QComboBox>(panel, "zdYT");
        combo->setEditable(true);
        combo->setEditText(QStringLiteral("货款"));
        named<QLabel>(panel, "zdJEDX")->setText(QStringLiteral("壹佰元整"));
        named<QCheckBox>(panel, "defCheck0")->setChecked(true);
        named<QCheckBox>(panel, "defCheck1")->setChecked(false);
        auto* hidden = named<QLineEdit>(panel, "zdHidden");
        hidden->setText(QStringLiteral("不打印"));
        hidden->hide();
        named<QSpinBox>(panel, "zdCount");
        auto* group = named<QFrame>(&form, "pnlOther");
        named<QLineEdit>(group, "zdPJBH")->setText(QStringLiteral("No.123"));
        named<QLineEdit>(&form, "zdOnForm")->setText(QStringLiteral("直接在窗体上"));
    }

    QString value(QWidget* container, const char* name)
    {
        return getControlValue(container, QString::fromLatin1(name), settings, prompter);
    }

    TempHome home;
    ProgramFolder folder { home.path() };
    Database db { folder.databasePath() };
    ScriptedPrompter prompter;
    Settings settings { db, folder, prompter };
    QWidget form;
    QFrame* panel = nullptr;
};

} // namespace

TEST_F(ControlValueTest, ReadsEachKindOfControlByNameWithoutCase)
{
    struct Case
    {
        const char* name;
        QString text;
    };
    const Case cases[] = {
        { "ZDINCOMP", QStringLiteral("上海浦江机电设备有限公司") },
        { "zdremark", QStringLiteral("第一行\n第二行") },
        { "ZDYT", QStringLiteral("货款") },
        { "zdJEDX", QStringLiteral("壹佰元整") },
        { "DEFCHECK0", QStringLiteral("√") },
        { "DEFCHECK1", QString() },
        { "ZDHIDDEN", QString() },
        // Not among the panel's own controls: found anywhere on the panel's form.
        { "ZDPJBH", QStringLiteral("No.123") },
        { "zdOnForm", QStringLiteral("直接在窗体上") },
    };
    for (const Case& c : cases)
        EXPECT_EQ(value(panel, c.name), c.text) << c.name;
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(ControlValueTest, AFormLooksOnlyAtItsOwnChildren)
{
    EXPECT_EQ(value(&form, "ZDONFORM"), QStringLiteral("直接在窗体上"));
    EXPECT_EQ(value(&form, "ZDINCOMP"), QString());
    // A form inside the document area is a form too.
    QMdiArea area;
    auto* bill = new QWidget;
    named<QLineEdit>(bill, "zdInComp")->setText(QStringLiteral("甲"));
    auto* billPanel = named<QFrame>(bill, "pnlPicture");
    named<QLineEdit>(billPanel, "zdOther")->setText(QStringLiteral("乙"));
    area.addSubWindow(bill);
    EXPECT_EQ(value(billPanel, "ZDINCOMP"), QStringLiteral("甲"));
    EXPECT_EQ(value(bill, "ZDOTHER"), QString());
}

TEST_F(ControlValueTest, MissingControlGoesToTheDebugLog)
{
    EXPECT_EQ(value(panel, "ZDNOWHERE"), QString());
    EXPECT_EQ(value(panel, "ZDELSEWHERE"), QString());
    IniFile debug(folder.debugIniPath());
    EXPECT_EQ(debug.readString(QStringLiteral("debug"), QStringLiteral("getControlValue-1")),
        QStringLiteral("ZDNOWHERE=nil  not found."));
    EXPECT_EQ(debug.readString(QStringLiteral("debug"), QStringLiteral("getControlValue-2")),
        QStringLiteral("ZDELSEWHERE=nil  not found."));
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(ControlValueTest, NothingToLookForGivesNothing)
{
    EXPECT_EQ(value(panel, ""), QString());
    EXPECT_EQ(value(nullptr, "ZDINCOMP"), QString());
    EXPECT_FALSE(QFileInfo::exists(folder.debugIniPath()));
}

TEST_F(ControlValueTest, AControlOfAnotherKindIsAProgrammingError)
{
    EXPECT_EQ(value(panel, "ZDCOUNT"), QString());
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_TRUE(prompter.entries()[0].text.contains(QStringLiteral("QSpinBox")));
}
