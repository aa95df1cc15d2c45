#include "PartiesFixture.h"

#include "parties/Com.h"
#include "parties/DMConfig.h"
#include "parties/PersonInfo.h"
#include "parties/SsSet.h"
#include "settings/FormPlacement.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <functional>
#include <memory>

using namespace pennock::core;
using namespace pennock::ui;
using pennock::test::PartiesFixture;

namespace {

class ReferenceWindows : public PartiesFixture
{
protected:
    int firstTemplate()
    {
        return services.db().scalar(u"select min(CheckTypeID) from CKTypeTable"_qs).toInt();
    }

    void addEntry(const char* name, const char* value, int id)
    {
        services.db().execute(
            u"insert into DMTable (DMName, DMValue, CheckTypeID) values (?, ?, ?)"_qs,
            { QString::fromUtf8(name), QString::fromUtf8(value), id });
    }

    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
};

} // namespace

TEST_F(ReferenceWindows, DictionaryEditorOnTheSharedDictionaries)
{
    Tfm_DMConfig editor(services, -1);
    EXPECT_EQ(editor.Co_CheckType->currentText(), u"<适用所有单据>"_qs);
    EXPECT_EQ(editor.checkTypeId(), 0);
    EXPECT_EQ(editor.windowTitle(), u"Pennock软件-字典管理"_qs);
    EXPECT_EQ(editor.lbTemplate->text(), u"字典设置-<适用所有单据>(单据号=0)"_qs);
    EXPECT_FALSE(items(editor.listBoxNames).isEmpty());
    for (const QString& name : items(editor.listBoxNames))
        EXPECT_FALSE(name.startsWith(u"cfg"_qs, Qt::CaseInsensitive)) << name.toStdString();

    editor.edtNewName->setEditText(u" 测试字典 "_qs);
    QTest::mouseClick(editor.btAddName, Qt::LeftButton);
    EXPECT_EQ(column(u"select DMValue from DMTable where DMName='测试字典' and CheckTypeID=0"_qs),
        QStringList { u"<空>"_qs });
    // The box shows the selected name again; the same name a second time is refused.
    EXPECT_EQ(editor.edtNewName->currentText(), editor.currentName());
    editor.edtNewName->setEditText(u"测试字典"_qs);
    QTest::mouseClick(editor.btAddName, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"字典项目【测试字典】已经存在"_qs });

    editor.listBoxNames->setCurrentItem(
        editor.listBoxNames->findItems(u"测试字典"_qs, Qt::MatchExactly).first());
    EXPECT_EQ(editor.gridEntries->rowCount(), 1);
    QTest::mouseClick(editor.btAdd, Qt::LeftButton);
    EXPECT_EQ(editor.gridEntries->item(1, Tfm_DMConfig::ColTemplate)->text(), u"0"_qs);
    editor.gridEntries->item(1, Tfm_DMConfig::ColValue)->setText(u"新内容"_qs);
    QTest::mouseClick(editor.btSave, Qt::LeftButton);
    QStringList stored
        = column(u"select DMValue from DMTable where DMName='测试字典' and CheckTypeID=0"_qs);
    stored.sort();
    QStringList expected = { u"<空>"_qs, u"新内容"_qs };
    expected.sort();
    EXPECT_EQ(stored, expected);

    prompter.clear();
    editor.gridEntries->setCurrentCell(0, Tfm_DMConfig::ColValue);
    const QString first = editor.gridEntries->item(0, Tfm_DMConfig::ColValue)->text();
    prompter.queueAnswer(true);
    QTest::mouseClick(editor.btDelete, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"确认删除字典项目吗？"_qs });
    EXPECT_EQ(
        column(u"select count(*) from DMTable where DMName='测试字典' and DMValue=?"_qs, { first }),
        QStringList { u"0"_qs });
}

TEST_F(ReferenceWindows, DictionaryEditorOnATemplate)
{
    const int id = firstTemplate();
    ASSERT_GT(id, 0);
    addEntry("别人的字典", "x", id + 1000);
    // Without names of its own the template sees the shared ones.
    Tfm_DMConfig editor(services, id);
    EXPECT_NE(editor.Co_CheckType->currentIndex(), 0);
    EXPECT_EQ(editor.checkTypeId(), id);
    const QStringList shared = items(editor.listBoxNames);
    EXPECT_FALSE(shared.isEmpty());
    EXPECT_FALSE(shared.contains(u"别人的字典"_qs));

    addEntry("用途", "专用", id);
    editor.reloadNames();
    EXPECT_EQ(items(editor.listBoxNames), QStringList { u"用途"_qs });
    const auto contents = [&] {
        QStringList out;
        for (int r = 0; r < editor.gridEntries->rowCount(); ++r)
            out << editor.gridEntries->item(r, Tfm_DMConfig::ColTemplate)->text();
        return out;
    };
    EXPECT_TRUE(contents().contains(u"0"_qs));
    editor.ckShowShared->setChecked(false);
    EXPECT_EQ(contents(), QStringList { QString::number(id) });
}

TEST_F(ReferenceWindows, DictionaryTemplateListHeight)
{
    EXPECT_EQ(Tfm_DMConfig::templateListRows(768), 23);
    EXPECT_EQ(Tfm_DMConfig::templateListRows(800), 30);
    EXPECT_EQ(Tfm_DMConfig::templateListRows(899), 30);
    EXPECT_EQ(Tfm_DMConfig::templateListRows(900), 35);
}

TEST_F(ReferenceWindows, CurrencyEditorRefusals)
{
    struct Case
    {
        const char* name;
        const char* code;
        const char* message;
        const char* caption;
    };
    const Case cases[] = {
        { "", "X", "请填写要添加的币种名称！", "输入不完整" },
        { "金币", " ", "请填写要添加的币种简码！", "输入不完整" },
        { "美元", "US$", "币种\"美元\"已经存在！", "存在的币种" },
        { "新币", "usd", "币种简码\"usd\"已经存在！", "存在的币种简码" },
        { " 新币 ", " N$ ", "新币种添加成功！", "成功" },
    };
    TfrmCom editor(services);
    for (const Case& c : cases) {
        prompter.clear();
        editor.ed_bz->setText(QString::fromUtf8(c.name));
        editor.ed_jm->setText(QString::fromUtf8(c.code));
        QTest::mouseClick(editor.btAdd, Qt::LeftButton);
        ASSERT_EQ(prompter.entries().size(), 1) << c.name;
        EXPECT_EQ(prompter.entries().first().text, QString::fromUtf8(c.message)) << c.name;
        EXPECT_EQ(prompter.entries().first().caption, QString::fromUtf8(c.caption)) << c.name;
    }
    EXPECT_EQ(column(u"select 缩写 || '/' || 顺序 from coins where 币种='新币'"_qs),
        QStringList { u"N$/0"_qs });
    EXPECT_EQ(editor.cb_biz->itemText(editor.cb_biz->count() - 1), u"新币"_qs);
    EXPECT_EQ(editor.codes().last(), u"N$"_qs);
}

TEST_F(ReferenceWindows, CurrencyEditorModifiesAndDeletes)
{
    TfrmCom editor(services);
    QTest::mouseClick(editor.btModify, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"请先选中要修改的币种名称！"_qs });

    const int euro = editor.cb_biz->findText(u"欧元"_qs);
    editor.cb_biz->setCurrentIndex(euro);
    editor.currencyChosen(euro);
    EXPECT_EQ(editor.ed_jm->text(), u"EUR"_qs);
    prompter.clear();
    editor.ed_bz->setText(u"欧罗"_qs);
    QTest::mouseClick(editor.btModify, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"修改不能改变币种名称！"_qs });
    EXPECT_EQ(editor.ed_bz->text(), u"欧元"_qs);
    prompter.clear();
    editor.ed_jm->setText(u"€"_qs);
    QTest::mouseClick(editor.btModify, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"币种\"欧元\"修改成功！"_qs });
    EXPECT_EQ(column(u"select 缩写 from coins where 币种='欧元'"_qs), QStringList { u"€"_qs });

    prompter.clear();
    QTest::mouseClick(editor.btDelete, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"币种\"欧元\"删除成功！"_qs });
    EXPECT_EQ(editor.cb_biz->findText(u"欧元"_qs), -1);
    EXPECT_TRUE(editor.ed_bz->text().isEmpty());
    prompter.clear();
    QTest::mouseClick(editor.btDelete, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"请先选中要删除的币种！"_qs });
}

TEST_F(ReferenceWindows, RegionEditorAddsModifiesAndDeletes)
{
    services.db().execute(
        u"insert into DMTable2 (类型, 一级代码, 二级代码) values ('其他', '北京市', '测试码')"_qs);
    TfrmSsSet editor(services);
    editor.show();
    const int beijing = editor.CoS->findText(u"北京市"_qs);
    ASSERT_GE(beijing, 0);
    editor.CoS->setCurrentIndex(beijing);
    // Every second-level code of the province is listed, whatever its type.
    EXPECT_TRUE(items(editor.lstS).contains(u" 测试码"_qs));
    EXPECT_TRUE(items(editor.lstS).contains(u" 朝阳区"_qs));
    const int rows = count(u"DMTable2"_qs);

    QTest::mouseClick(editor.btAdd, Qt::LeftButton);
    EXPECT_TRUE(editor.panelInput->isVisible());
    EXPECT_FALSE(editor.btDelete->isEnabled());
    EXPECT_EQ(editor.edtProvince->text(), u"北京市"_qs);
    editor.edtCity->setText(u"朝阳区"_qs);
    QTest::mouseClick(editor.btOK, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"\"北京市--朝阳区\" 已经存在，不需要添加！"_qs });
    EXPECT_EQ(count(u"DMTable2"_qs), rows);
    EXPECT_FALSE(editor.btDelete->isEnabled());

    prompter.clear();
    editor.edtCity->setText(u" 新区 "_qs);
    QTest::mouseClick(editor.btOK, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"\"北京市--新区\"代码添加成功！"_qs });
    EXPECT_EQ(count(u"DMTable2"_qs), rows + 1);
    EXPECT_TRUE(editor.btDelete->isEnabled());
    EXPECT_EQ(editor.CoS->currentText(), u"北京市"_qs);

    prompter.clear();
    QTest::mouseClick(editor.btModify, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"请先选中要修改的市(县)！"_qs });
    editor.lstS->setCurrentItem(editor.lstS->findItems(u" 新区"_qs, Qt::MatchExactly).first());
    prompter.clear();
    QTest::mouseClick(editor.btModify, Qt::LeftButton);
    EXPECT_EQ(editor.edtCity->text(), u"新区"_qs);
    editor.edtCity->setText(u"更新区"_qs);
    QTest::mouseClick(editor.btOK, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"修改成功！"_qs });
    EXPECT_TRUE(items(editor.lstS).contains(u" 更新区"_qs));
    EXPECT_FALSE(items(editor.lstS).contains(u" 新区"_qs));

    prompter.clear();
    editor.lstS->setCurrentItem(editor.lstS->findItems(u" 更新区"_qs, Qt::MatchExactly).first());
    QTest::mouseClick(editor.btDelete, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"删除成功！"_qs });
    EXPECT_EQ(count(u"DMTable2"_qs), rows);
    prompter.clear();
    QTest::mouseClick(editor.btDelete, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList { u"请先选中要删除的市(县)！"_qs });
}

TEST_F(ReferenceWindows, EscapeRemembersTheWindowSize)
{
    const std::function<std::unique_ptr<QDialog>()> makers[] = {
        [&] { return std::make_unique<Tfrm_PersonInfo>(services); },
        [&] { return std::make_unique<Tfm_DMConfig>(services, 0); },
        [&] { return std::make_unique<TfrmSsSet>(services); },
    };
    for (const auto& make : makers) {
        const std::unique_ptr<QDialog> dialog = make();
        dialog->show();
        dialog->resize(dialog->sizeHint() + QSize(37, 23));
        const QSize size = dialog->size();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible()) << dialog->objectName().toStdString();
        const QString section = formSection(dialog.get());
        IniFile& ini = services.settings().userIni();
        EXPECT_EQ(ini.readString(section, u"FormWidth"_qs), QString::number(size.width()))
            << section.toStdString();
        EXPECT_EQ(ini.readString(section, u"FormHeight"_qs), QString::number(size.height()))
            << section.toStdString();
    }
}
