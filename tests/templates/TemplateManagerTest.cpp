#include "templates/TemplateManager.h"
#include "platform/FileChooser.h"
#include "printing/Services.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Package.h"
#include "templates/Seed.h"
#include "templates/TfrmBillImportExport.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace pennock;
using core::TemplateTab;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;
using ui::TfrmCheckTypeMng;

namespace {

class ScriptedFiles final : public core::FileChooser
{
public:
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString openFileName(QWidget*, const QString&, const QString&) override
    {
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
};

class Manager : public ::testing::Test
{
protected:
    Manager()
    {
        core::ensureSeededInstallation(core::ProgramFolder(home.path()));
        services = std::make_unique<core::Services>(home.path(), prompter);
    }

    std::unique_ptr<TfrmCheckTypeMng> open(int preselected = 0)
    {
        TfrmCheckTypeMng::Links links;
        links.askValue = [this](const QString&, const QString& value) {
            offered << value;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        links.design = [this](int id) { designed << id; };
        return std::make_unique<TfrmCheckTypeMng>(
            services->db(), services->folder(), services->settings(), prompter, links, preselected);
    }

    QVariant value(const QString& sql, const QVariantList& values = {})
    {
        return services->db().scalar(sql, values);
    }
    int idOf(const QString& name)
    {
        return value(
            QStringLiteral("select CheckTypeID from CKTypeTable where TypeName=?"), { name })
            .toInt();
    }
    int rowOf(TfrmCheckTypeMng& w, int id) { return int(w.shownIds().indexOf(id)); }

    TempHome home;
    ScriptedPrompter prompter;
    std::unique_ptr<core::Services> services;
    QStringList answers, offered;
    QList<int> designed;
};

} // namespace

TEST_F(Manager, ListsByTabAndKindWithTheButtonsEachTabAllows)
{
    auto w = open();
    EXPECT_EQ(w->shownIds().size(), 23);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("模板管理(查询23个)"));
    const struct
    {
        TemplateTab tab;
        bool setDefault, common, noCommon, hide, show, remove;
    } rows[] = {
        { TemplateTab::Available, true, true, false, true, false, true },
        { TemplateTab::Common, true, false, true, true, false, true },
        { TemplateTab::Default, false, false, false, false, false, false },
        { TemplateTab::Hidden, true, true, false, false, true, true },
    };
    for (const auto& r : rows) {
        w->showTab(r.tab);
        SCOPED_TRACE(int(r.tab));
        EXPECT_EQ(w->button(QStringLiteral("btSetToDefault"))->isEnabled(), r.setDefault);
        EXPECT_EQ(w->button(QStringLiteral("btSet2Common"))->isEnabled(), r.common);
        EXPECT_EQ(w->button(QStringLiteral("btNoCommon"))->isEnabled(), r.noCommon);
        EXPECT_EQ(w->button(QStringLiteral("btHide"))->isEnabled(), r.hide);
        EXPECT_EQ(w->button(QStringLiteral("btShow"))->isEnabled(), r.show);
        EXPECT_EQ(w->button(QStringLiteral("btDelete"))->isEnabled(), r.remove);
        // The context menu follows the buttons.
        for (QAction* a : w->contextMenu()->actions())
            if (a->text() == u"删除选中模板") {
                EXPECT_EQ(a->isEnabled(), r.remove);
            }
    }
    w->showTab(TemplateTab::Default);
    EXPECT_EQ(w->shownIds().size(), 11);
    w->chooseKind(QStringLiteral("快递单"));
    EXPECT_EQ(w->shownIds(), QList<int> { idOf(QStringLiteral("快递单（邮政快递）")) });
    EXPECT_EQ(w->button(QStringLiteral("btSetToDefault"))->text(),
        QStringLiteral("设置为【默认】快递单"));
    w->showTab(TemplateTab::Available);
    w->search(QStringLiteral(" 顺丰 "));
    EXPECT_EQ(w->shownIds(), QList<int> { idOf(QStringLiteral("快递单（顺丰速运）")) });
    EXPECT_EQ(w->searchField()->text(), QString());
    w->showAll();
    EXPECT_EQ(w->shownIds().size(), 23);
    EXPECT_EQ(w->button(QStringLiteral("btSetToDefault"))->text(),
        QStringLiteral("设置为【默认票据模板】"));
}

TEST_F(Manager, OpensOnTheKindOfThePreselectedTemplateWithItsRowChosen)
{
    const int id = idOf(QStringLiteral("支票（建设银行2010版）"));
    auto w = open(id);
    EXPECT_EQ(w->kindBox()->currentText(), QStringLiteral("支票"));
    EXPECT_EQ(w->shownIds().size(), 2);
    EXPECT_EQ(w->grid()->currentIndex().row(), rowOf(*w, id));
}

TEST_F(Manager, AHiddenTemplateSetAsDefaultBecomesEnabledCommonAndTheOnlyDefault)
{
    const int ccb = idOf(QStringLiteral("支票（建设银行2010版）"));
    const int icbc = idOf(QStringLiteral("支票（工商银行2010版）"));
    services->db().execute(
        QStringLiteral(
            "update CKTypeTable set Visiable='停用隐藏', IsCommon='否' where CheckTypeID=?"),
        { ccb });
    auto w = open();
    w->showTab(TemplateTab::Hidden);
    w->selectRows({ rowOf(*w, ccb) });
    w->setToDefault();
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("默认【支票票据】模板设置成功！"));
    EXPECT_EQ(w->tab(), TemplateTab::Default);
    EXPECT_EQ(
        value(QStringLiteral(
                  "select IsDefault||Visiable||IsCommon from CKTypeTable where CheckTypeID=?"),
            { ccb }),
        QStringLiteral("默认启用是"));
    EXPECT_NE(
        value(QStringLiteral("select IsDefault from CKTypeTable where CheckTypeID=?"), { icbc }),
        QStringLiteral("默认"));
    EXPECT_TRUE(w->changed());
}

TEST_F(Manager, RemovingTheDefaultFromCommonIsRefusedAndTheCountSaysSo)
{
    const int icbc = idOf(QStringLiteral("支票（工商银行2010版）"));
    const int ccb = idOf(QStringLiteral("支票（建设银行2010版）"));
    auto w = open();
    w->showTab(TemplateTab::Common);
    w->selectRows({ rowOf(*w, icbc), rowOf(*w, ccb) });
    w->removeFromCommon();
    EXPECT_EQ(prompter.texts(),
        (QStringList { QStringLiteral("默认模板不能从常用模板移出！"),
            QStringLiteral("共从常用模板移出 1 个模板为普通模板！") }));
    EXPECT_EQ(
        value(QStringLiteral("select IsCommon from CKTypeTable where CheckTypeID=?"), { icbc }),
        QStringLiteral("是"));
    EXPECT_EQ(
        value(QStringLiteral("select IsCommon from CKTypeTable where CheckTypeID=?"), { ccb }),
        QStringLiteral("否"));
    EXPECT_EQ(rowOf(*w, ccb), -1);
}

TEST_F(Manager, HidingAndEnablingMoveTemplatesBetweenTheTabs)
{
    const int sto = idOf(QStringLiteral("快递单（申通速递）"));
    auto w = open();
    w->selectRows({ rowOf(*w, sto) });
    w->hideSelected();
    EXPECT_EQ(
        prompter.texts().last(), QStringLiteral("隐藏的模板，可在【隐藏的模板】中重新启用。"));
    EXPECT_EQ(rowOf(*w, sto), -1);
    w->showTab(TemplateTab::Hidden);
    EXPECT_EQ(w->shownIds(), QList<int> { sto });
    w->selectRows({ 0 });
    w->enableSelected();
    EXPECT_EQ(w->shownIds(), QList<int>());
    EXPECT_EQ(
        value(QStringLiteral("select Visiable from CKTypeTable where CheckTypeID=?"), { sto }),
        QStringLiteral("启用"));
}

TEST_F(Manager, RenamingCleansTheNameAndRefusesOneTheKindHasHidden)
{
    const int ccb = idOf(QStringLiteral("支票（建设银行2010版）"));
    const int icbc = idOf(QStringLiteral("支票（工商银行2010版）"));
    services->db().execute(
        QStringLiteral("update CKTypeTable set Visiable='停用隐藏' where CheckTypeID=?"), { icbc });
    auto w = open();
    const struct
    {
        const char* answer;
        const char* message; // empty: nothing said
        const char* variant; // what the template is called afterwards
    } cases[] = {
        { "", "", "建设银行2010版" },
        { " (建设银行2010版) ", "", "建设银行2010版" },
        { "'%*?", "输入了无效的字符(引号\\?\\*\\(\\)\\%)!", "建设银行2010版" },
        { "工商银行2010版", "模板名字已经存在,请确认是否输入了重复的名字或者改模版正被隐藏。",
            "建设银行2010版" },
        { "建行 新版（2024）", "重名名成功~", "建行新版2024" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        prompter.clear();
        w->selectRows({ rowOf(*w, ccb) });
        answers = { QString::fromUtf8(c.answer) };
        w->renameCurrent();
        EXPECT_EQ(prompter.texts().join(QLatin1Char('|')), QString::fromUtf8(c.message));
        EXPECT_EQ(value(QStringLiteral("select TypeDescribe from CKTypeTable where CheckTypeID=?"),
                      { ccb }),
            QString::fromUtf8(c.variant));
    }
    EXPECT_EQ(offered.first(), QStringLiteral("建设银行2010版"));
    EXPECT_EQ(
        value(QStringLiteral("select TypeName||TypeFirstName from CKTypeTable where CheckTypeID=?"),
            { ccb }),
        QStringLiteral("支票（建行新版2024）支票"));
}

TEST_F(Manager, DeletingRemovesTheTemplateWithItsRowsCacheAndUnsharedPicture)
{
    const int ems = idOf(QStringLiteral("快递单（邮政快递）"));
    const int sto = idOf(QStringLiteral("快递单（申通速递）"));
    services->settings().buildCheckIniFile(ems);
    const QString cache = services->settings().checkIniPath(ems);
    ASSERT_TRUE(QFile::exists(cache));
    // Another template shares the second one's picture, which therefore stays.
    services->db().execute(
        QStringLiteral("update CKTypeTable set ImgFile='kdd_sto.jpg' where CheckTypeID=?"),
        { idOf(QStringLiteral("快递单（圆通速递）")) });
    auto w = open();
    w->selectRows({ rowOf(*w, ems), rowOf(*w, sto) });
    prompter.queueAnswer(true);
    prompter.queueAnswer(true);
    prompter.queueAnswer(true);
    w->deleteSelected();
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("共删除 2 个模板！"));
    for (int id : { ems, sto }) {
        EXPECT_EQ(
            value(QStringLiteral("select count(*) from CKTypeTable where CheckTypeID=?"), { id }),
            0);
        EXPECT_EQ(
            value(QStringLiteral("select count(*) from CKControl where CheckTypeID=?"), { id }), 0);
        EXPECT_EQ(
            value(QStringLiteral("select count(*) from DMTable where CheckTypeID=?"), { id }), 0);
    }
    EXPECT_FALSE(QFile::exists(cache));
    EXPECT_FALSE(QFile::exists(services->folder().path(QStringLiteral("Image/kdd_ems.jpg"))));
    EXPECT_TRUE(QFile::exists(services->folder().path(QStringLiteral("Image/kdd_sto.jpg"))));
    EXPECT_GT(value(QStringLiteral("select count(*) from DMTable where CheckTypeID=0")).toInt(), 0);
}

TEST_F(Manager, DeletingAnsweredNoOrWithoutAKindDeletesNothingButStillCounts)
{
    services->db().execute(
        QStringLiteral("update CKTypeTable set TypeName='无括号模板' where CheckTypeID=2"));
    auto w = open();
    w->selectRows({ rowOf(*w, 2), rowOf(*w, 1) });
    prompter.queueAnswer(true); // the first question
    prompter.queueAnswer(false); // the cheque template
    w->deleteSelected();
    EXPECT_EQ(prompter.texts(),
        (QStringList {
            QStringLiteral(
                "确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，可先设置为隐藏。"),
            QStringLiteral("确认删除票据模板【支票（工商银行2010版）】吗？"),
            QStringLiteral("获取单据类型失败：无括号模板"), QStringLiteral("共删除 0 个模板！") }));
    EXPECT_EQ(
        value(QStringLiteral("select count(*) from CKTypeTable where CheckTypeID in (1, 2)")), 2);
}

TEST_F(Manager, TemplateDesignOpensTheOffsetWindowOfTheCurrentRow)
{
    const int id = idOf(QStringLiteral("进账单（建设银行2010版）"));
    auto w = open(id);
    w->designCurrent();
    EXPECT_EQ(designed, QList<int> { id });
    w->showTab(TemplateTab::Hidden);
    for (QAction* a : w->contextMenu()->actions())
        if (a->text() == u"模板设计") {
            EXPECT_FALSE(a->isEnabled());
        }
}

TEST_F(Manager, ThePackageWindowListsAChosenPackageAndImportsIt)
{
    const QString package = home.file(QStringLiteral("pack.tpk"));
    core::exportPackage(services->db(), services->folder(), { 70, 1 }, package);
    ScriptedFiles files;
    ui::TfrmBillImportExport w(
        services->db(), services->folder(), services->settings(), prompter, files, false);
    EXPECT_EQ(w.pages()->count(), 1);
    EXPECT_FALSE(w.button(QStringLiteral("btImport"))->isEnabled());

    files.answers = { QString() };
    w.browseImport();
    EXPECT_EQ(prompter.texts().last(),
        QStringLiteral("请选择标准的Pennock票据包，例如：中国银行进账单.tpk"));
    EXPECT_EQ(w.importFile()->text(), QString());
    EXPECT_FALSE(w.button(QStringLiteral("btImpSel"))->isEnabled());

    files.answers = { package };
    w.browseImport();
    // The package's order, and its first template already chosen.
    ASSERT_EQ(w.chosenList()->count(), 1);
    EXPECT_EQ(w.chosenList()->item(0)->text(), QStringLiteral("快递单（邮政快递）"));
    EXPECT_EQ(w.packageList()->item(0)->text(), QStringLiteral("支票（工商银行2010版）"));
    EXPECT_TRUE(w.button(QStringLiteral("btImport"))->isEnabled());
    w.button(QStringLiteral("btImpSelAll"))->click();
    EXPECT_EQ(w.chosenList()->count(), 2);
    prompter.clear();
    EXPECT_EQ(w.importChosen(), 2);
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("导入结束，成功导入单据2个!") });
    EXPECT_TRUE(w.imported());
    w.button(QStringLiteral("btImpClear"))->click();
    EXPECT_EQ(w.chosenList()->count(), 0);
    EXPECT_EQ(w.packageList()->count(), 2);
    EXPECT_FALSE(w.button(QStringLiteral("btImport"))->isEnabled());
}

TEST_F(Manager, ThePackageWindowRefusesADamagedPackageWithItsMessage)
{
    home.write(QStringLiteral("broken.tpk"),
        QByteArray("SQLite format 3") + QByteArray(1, '\0') + QByteArray(50, 'z'));
    ScriptedFiles files;
    files.answers = { home.file(QStringLiteral("broken.tpk")) };
    ui::TfrmBillImportExport w(
        services->db(), services->folder(), services->settings(), prompter, files, true);
    w.browseImport();
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries().first().kind, QStringLiteral("warn"));
    EXPECT_TRUE(prompter.texts().first().contains(QStringLiteral("broken.tpk")));
    EXPECT_EQ(w.packageList()->count(), 0);
    EXPECT_FALSE(w.button(QStringLiteral("btImport"))->isEnabled());
    EXPECT_EQ(services->settings().userIni().readString(
                  QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), {}),
        prompter.texts().first());
}

TEST_F(Manager, ThePackageWindowExportsTheChosenTemplates)
{
    ScriptedFiles files;
    ui::TfrmBillImportExport w(
        services->db(), services->folder(), services->settings(), prompter, files, true);
    w.pages()->setCurrentIndex(1);
    EXPECT_EQ(w.existingList()->count(), 23);
    EXPECT_EQ(w.exportChosen(), 0);
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("还没有选择要导出的票据格式！"));
    files.answers = { home.file(QStringLiteral("out.zip")) };
    w.browseExport();
    EXPECT_FALSE(w.button(QStringLiteral("btExport"))->isEnabled());
    const QString target = home.file(QStringLiteral("out.tpk"));
    files.answers = { target };
    w.browseExport();
    EXPECT_TRUE(w.button(QStringLiteral("btExport"))->isEnabled());
    w.existingList()->setCurrentRow(0);
    const QString first = w.existingList()->item(0)->text();
    w.moveSelectedExport();
    EXPECT_EQ(w.exportChosen(), 1);
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("导出完成,成功导出1个单据！"));
    core::PackageFile package(target);
    ASSERT_EQ(package.entries().size(), 1);
    EXPECT_EQ(package.entries().first().fullName, first);
}
