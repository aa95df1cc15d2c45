#include "PartiesFixture.h"

#include "bills/BillFormRegistry.h"
#include "history/ScriptedDesktop.h"
#include "parties/ComboBoxDeleteByText.h"
#include "parties/GridServices.h"
#include "parties/PersonInfo.h"
#include "parties/PersonManage.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

using namespace pennock::core;
using namespace pennock::ui;
using pennock::test::PartiesFixture;
using pennock::test::RecordingShell;
using pennock::test::ScriptedFileChooser;

namespace {

const QString 我方 = QStringLiteral("我方单位");
const QString 往来 = QStringLiteral("往来单位");

class PartyWindows : public PartiesFixture
{
protected:
    PartyWindows()
    {
        mOwn = addParty(
            { { u"全称"_qs, u"甲方公司"_qs }, { u"单位类型"_qs, 我方 }, { u"省"_qs, u"广东省"_qs },
                { u"分组"_qs, u"北区"_qs }, { u"开户行账号"_qs, u"6222"_qs } });
        mOther = addParty({ { u"全称"_qs, u"乙方客户"_qs }, { u"单位类型"_qs, 往来 },
            { u"省"_qs, u"北京市"_qs }, { u"联系人"_qs, u"O'Neil"_qs } });
        mThird = addParty({ { u"全称"_qs, u"丙方客户"_qs }, { u"单位类型"_qs, 往来 },
            { u"电话"_qs, u"020-1"_qs } });
    }

    QStringList listedNames(const Tfm_PersonManage& manager) const
    {
        QStringList names;
        const int column = GridServices::columnOf(manager.DBGrid1, u"全称"_qs);
        for (int r = 0; r < manager.rows(); ++r)
            names << manager.DBGrid1->model()->index(r, column).data().toString();
        names.sort();
        return names;
    }

    void clickNode(Tfm_PersonManage& manager, const QString& text)
    {
        QTreeWidgetItem* item = manager.treeNode(text);
        ASSERT_TRUE(item) << text.toStdString();
        const QRect rect = manager.TreeView1->visualItemRect(item);
        QTest::mouseClick(manager.TreeView1->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void clickRow(Tfm_PersonManage& manager, int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect rect = manager.DBGrid1->visualRect(manager.DBGrid1->model()->index(row, 1));
        QTest::mouseClick(manager.DBGrid1->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    int rowOf(const Tfm_PersonManage& manager, const QString& name) const
    {
        const int column = GridServices::columnOf(manager.DBGrid1, u"全称"_qs);
        for (int r = 0; r < manager.rows(); ++r)
            if (manager.DBGrid1->model()->index(r, column).data().toString() == name)
                return r;
        return -1;
    }

    RecordingShell shell;
    ScriptedFileChooser files;
    GridServices grids { services, shell, files };
    int mOwn = 0;
    int mOther = 0;
    int mThird = 0;
};

} // namespace

TEST_F(PartyWindows, TreeTabsAndKeywordSearch)
{
    Tfm_PersonManage manager(services, grids);
    manager.show();
    QStringList roots;
    for (int i = 0; i < manager.TreeView1->topLevelItemCount(); ++i)
        roots << manager.TreeView1->topLevelItem(i)->text(0);
    EXPECT_EQ(roots,
        (QStringList { u"全部分组"_qs, 我方, 往来, u"默认出票人"_qs, u"[按地区分组]"_qs,
            u"[按其他分组]"_qs }));
    EXPECT_EQ(manager.treeNode(u"[按其他分组]"_qs)->childCount(), 1);
    EXPECT_EQ(manager.treeNode(u"[按地区分组]"_qs)->childCount(), 2);
    EXPECT_EQ(manager.rows(), 3);
    EXPECT_EQ(manager.lbTitle->text(), u"单位及客户资料管理(3)"_qs);
    EXPECT_EQ(manager.statusText(1), u"系统共有[3]条."_qs);
    EXPECT_FALSE(manager.btImprt->isEnabled());

    clickNode(manager, 往来);
    EXPECT_EQ(listedNames(manager), (QStringList { u"丙方客户"_qs, u"乙方客户"_qs }));
    EXPECT_EQ(manager.TabControl1->tabText(0), u"【往来单位】"_qs);

    clickNode(manager, u"广东省"_qs);
    EXPECT_EQ(manager.KeyEdit->text(), u"广东省"_qs);
    EXPECT_EQ(manager.TabControl1->tabText(0), u"【[按地区分组]\\广东省】"_qs);
    EXPECT_EQ(listedNames(manager), QStringList { u"甲方公司"_qs });

    clickNode(manager, u"北区"_qs);
    EXPECT_EQ(manager.search().group, u"北区"_qs);
    EXPECT_EQ(listedNames(manager), QStringList { u"甲方公司"_qs });

    // A keyword looks through every type, even with a type chosen in the tree.
    clickNode(manager, 我方);
    EXPECT_EQ(listedNames(manager), QStringList { u"甲方公司"_qs });
    QTest::keyClicks(manager.KeyEdit, u"o'neil"_qs);
    QTest::keyClick(manager.KeyEdit, Qt::Key_Return);
    EXPECT_EQ(listedNames(manager), QStringList { u"乙方客户"_qs });
    EXPECT_TRUE(manager.search().type.isEmpty());

    QTest::mouseClick(manager.btAll, Qt::LeftButton);
    EXPECT_EQ(manager.rows(), 3);
    EXPECT_TRUE(manager.KeyEdit->text().isEmpty());
}

TEST_F(PartyWindows, TitleClicksToggleTheOrderAndSelectionFollowsTheRules)
{
    Tfm_PersonManage manager(services, grids);
    manager.show();
    QHeaderView* header = manager.DBGrid1->horizontalHeader();
    const int nameColumn = GridServices::columnOf(manager.DBGrid1, u"全称"_qs);
    const auto firstName
        = [&] { return manager.DBGrid1->model()->index(0, nameColumn).data().toString(); };
    emit header->sectionClicked(nameColumn);
    EXPECT_EQ(manager.search().direction, u"ASC"_qs);
    const QString ascending = firstName();
    emit header->sectionClicked(nameColumn);
    EXPECT_EQ(manager.search().direction, u"DESC"_qs);
    EXPECT_NE(firstName(), ascending);

    clickRow(manager, 0);
    clickRow(manager, 2, Qt::ControlModifier);
    EXPECT_EQ(manager.statusText(0), u"选中[2/3]条"_qs);
    clickRow(manager, 1);
    EXPECT_EQ(manager.statusText(0), u"选中[1/3]条"_qs);
    EXPECT_EQ(manager.windowTitle(),
        u"单位、客户管理-当前选中:"_qs
            + manager.DBGrid1->model()->index(1, nameColumn).data().toString());
    clickRow(manager, 0);
    clickRow(manager, 2, Qt::ShiftModifier);
    EXPECT_EQ(manager.statusText(0), u"选中[3/3]条"_qs);

    // The key list of the selection, quoted for text keys.
    QString keys;
    EXPECT_EQ(grids.GridSelectedFetch(manager.DBGrid1, u"ID"_qs, u"Numeric"_qs, keys), 3);
    QStringList ids = keys.split(u',');
    ids.sort();
    EXPECT_EQ(ids,
        (QStringList { QString::number(mOwn), QString::number(mOther), QString::number(mThird) }));
}

TEST_F(PartyWindows, FetchOnePersonPicksWithADoubleClick)
{
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* manager = qobject_cast<Tfm_PersonManage*>(QApplication::activeModalWidget());
        ASSERT_TRUE(manager);
        checked = true;
        EXPECT_TRUE(manager->selectionMode());
        EXPECT_EQ(manager->TabControl1->tabText(0), u"【往来单位】"_qs);
        EXPECT_EQ(manager->DBGrid1->toolTip(), u"鼠标双击选择指定的单位！"_qs);
        EXPECT_EQ(manager->rows(), 2);
        const int row = rowOf(*manager, u"乙方客户"_qs);
        const QRect rect = manager->DBGrid1->visualRect(manager->DBGrid1->model()->index(row, 1));
        QTest::mouseClick(manager->DBGrid1->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(manager->DBGrid1->viewport(), Qt::LeftButton, {}, rect.center());
    });
    const auto picked = fetchOnePerson(nullptr, services, grids, 往来, u"选取收款人"_qs);
    EXPECT_TRUE(checked);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->ID, mOther);
    EXPECT_EQ(picked->联系人, u"O'Neil"_qs);
    // Leaving by a pick remembers the grid's widths too (40 where none were stored).
    EXPECT_EQ(
        services.settings().OpenUserIniFile().readString(u"FM_PERSONMANAGE"_qs, u"DBGRID1.W1"_qs),
        u"40"_qs);

    QTimer::singleShot(0, [&] {
        auto* manager = qobject_cast<Tfm_PersonManage*>(QApplication::activeModalWidget());
        ASSERT_TRUE(manager);
        EXPECT_EQ(manager->rows(), 3); // any other type shows every party
        manager->close();
    });
    EXPECT_FALSE(fetchOnePerson(nullptr, services, grids, QString(), u"选取"_qs));
}

TEST_F(PartyWindows, DefaultDrawerClosesOpenBillForms)
{
    QMdiArea area;
    BillFormRegistry forms(&area, prompter);
    forms.registerForm(u"支票"_qs, u"TfmCheckZP"_qs, false, [] { return new QWidget; });
    ASSERT_TRUE(forms.open(u"支票"_qs));

    Tfm_PersonManage manager(services, grids);
    manager.setOpenBills({ [&forms] { return forms.anyOpen(); }, [&forms] { forms.closeAll(); } });
    QSignalSpy changed(&manager, &Tfm_PersonManage::defaultDrawerChanged);
    manager.show();
    clickRow(manager, rowOf(manager, u"丙方客户"_qs));
    QTest::mouseClick(manager.btSetDefault, Qt::LeftButton);

    EXPECT_EQ(prompter.texts(),
        (QStringList { u"默认出票人设置成功！"_qs, u"默认出票人已经修改，请重新填开票据！"_qs }));
    EXPECT_EQ(changed.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(forms.anyOpen());
    const auto drawer = DAOPerson(services.db()).loadDefaultDrawer();
    ASSERT_TRUE(drawer);
    EXPECT_EQ(drawer->ID, mThird);
    EXPECT_EQ(drawer->单位类型, 我方);

    // With nothing listed there is nothing to mark.
    prompter.clear();
    services.db().execute(u"delete from CKPersonalInfoTable"_qs);
    manager.btRefreshClick();
    manager.btSetDefaultClick();
    EXPECT_EQ(
        prompter.texts(), QStringList { u"没有单位资料可设置，请先选中一个要设置的单位资料！"_qs });
}

TEST_F(PartyWindows, DeleteAllOfATypeAndDeleteSelected)
{
    Tfm_PersonManage manager(services, grids);
    manager.show();
    EXPECT_FALSE(manager.btClearAll->isVisible());
    const int width = manager.width();
    QTest::mouseClick(manager.lbClearAll, Qt::LeftButton);
    EXPECT_TRUE(manager.btClearAll->isVisible());
    EXPECT_EQ(manager.width(), width + 120);

    clickNode(manager, 往来);
    prompter.queueAnswer(true);
    QTest::mouseClick(manager.btClearAll, Qt::LeftButton);
    EXPECT_EQ(prompter.entries().first().text,
        u"警告:此操作将删除所有往来单位的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？"_qs);
    EXPECT_EQ(column(u"select 全称 from CKPersonalInfoTable"_qs), QStringList { u"甲方公司"_qs });

    prompter.clear();
    addParty({ { u"全称"_qs, u"丁"_qs }, { u"单位类型"_qs, 我方 } });
    QTest::mouseClick(manager.btAll, Qt::LeftButton);
    clickRow(manager, rowOf(manager, u"丁"_qs));
    prompter.queueAnswer(true);
    QTest::mouseClick(manager.btDelete, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(),
        (QStringList { u"确认要删除所选中的1个单位信息吗?"_qs, u"1个单位信息删除成功！"_qs }));
    EXPECT_EQ(manager.rows(), 1);

    prompter.clear();
    prompter.queueAnswer(true);
    QTest::mouseClick(manager.btDeleteList, Qt::LeftButton);
    EXPECT_EQ(prompter.texts().last(), u"1条记录删除成功！"_qs);
    EXPECT_EQ(count(u"CKPersonalInfoTable"_qs), 0);
    EXPECT_EQ(manager.rows(), 0);
}

TEST_F(PartyWindows, ExportOfTheListedParties)
{
    Tfm_PersonManage manager(services, grids);
    manager.show();
    files.answers << home.file(u"parties.xlsx"_qs);
    QTest::mouseClick(manager.btExport, Qt::LeftButton);
    EXPECT_TRUE(files.proposed.value(0).endsWith(u"/单位信息导出.xlsx"_qs));
    EXPECT_TRUE(QFileInfo(home.file(u"parties.xlsx"_qs)).size() > 0);
    EXPECT_EQ(shell.urls.size(), 1);
}

TEST_F(PartyWindows, BatchButtonsServeOnlyACallingWindow)
{
    Tfm_PersonManage manager(services, grids);
    manager.show();
    // Without a calling window's list the commands are shown but off.
    EXPECT_TRUE(manager.btSelectMulti->isVisible());
    EXPECT_FALSE(manager.btSelectMulti->isEnabled());
    EXPECT_TRUE(manager.btSelectAndAddAll->isVisible());
    EXPECT_FALSE(manager.btSelectAndAddAll->isEnabled());
    EXPECT_EQ(manager.btSelectAndAddAll->text(), u"添加所有到批打"_qs);

    QList<int> received;
    int refreshed = 0;
    int refuseAfter = 100;
    manager.setBatchReceiver(
        [&](const TPerson& person) {
            if (received.size() >= refuseAfter)
                return false;
            received << person.ID;
            return true;
        },
        [&] { ++refreshed; });
    ASSERT_TRUE(manager.btSelectMulti->isEnabled());

    clickRow(manager, rowOf(manager, u"丙方客户"_qs));
    clickRow(manager, rowOf(manager, u"甲方公司"_qs), Qt::ControlModifier);
    QTest::mouseClick(manager.btSelectMulti, Qt::LeftButton);
    QList<int> sorted = received;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (QList<int> { mOwn, mThird }));
    EXPECT_EQ(refreshed, 1);
    EXPECT_TRUE(prompter.entries().isEmpty());

    struct Case
    {
        int refuseAfter;
        const char* message;
    };
    const Case cases[] = {
        { 100, "添加成功,本次共添加3个收件人！" },
        { 1, "添加出现异常中断,已经成功添加1个收件人！" },
    };
    for (const Case& c : cases) {
        received.clear();
        refreshed = 0;
        prompter.clear();
        refuseAfter = c.refuseAfter;
        QTest::mouseClick(manager.btSelectAndAddAll, Qt::LeftButton);
        EXPECT_EQ(prompter.texts(), QStringList { QString::fromUtf8(c.message) });
        EXPECT_EQ(received.size(), std::min(3, c.refuseAfter));
        EXPECT_EQ(refreshed, 1);
        EXPECT_EQ(manager.statusText(0), u"选中[3/3]条"_qs);
    }

    prompter.clear();
    received.clear();
    services.db().execute(u"delete from CKPersonalInfoTable"_qs);
    manager.btRefreshClick();
    QTest::mouseClick(manager.btSelectAndAddAll, Qt::LeftButton);
    EXPECT_EQ(
        prompter.texts(), QStringList { u"没有记录可添加,请重新设定条件查询或增加收件人!"_qs });
    EXPECT_TRUE(received.isEmpty());
}

TEST_F(PartyWindows, EditorEnterOrder)
{
    Tfrm_PersonInfo editor(services);
    editor.show();
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    const std::pair<QWidget*, QWidget*> order[] = {
        { editor.edtName, editor.edtInputCode },
        { editor.edtInputCode, editor.edtBank },
        { editor.edtIdentity, editor.edtBank },
        { editor.edtBankAcct, editor.edtProvince },
        { editor.edtDef3, editor.edtProvince },
        { editor.edtCountry, editor.edtProvince },
        { editor.edtProvince, editor.edtCity },
        { editor.edtCity, editor.edtTown },
        { editor.edtTown, editor.edtAddress },
        { editor.edtAddress, editor.edtZipcode },
        { editor.edtZipcode, editor.edtContactor },
        { editor.edtContactor, editor.edtPhone },
        { editor.edtPhone, editor.edtHandset },
        { editor.edtHandset, editor.edtHandset },
        { editor.cbAcountType, editor.edtGroup },
        { editor.edtGroup, editor.btSave },
    };
    for (const auto& [from, to] : order) {
        from->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == to || to->isAncestorOf(focus))
            << from->objectName().toStdString() << " -> "
            << (focus ? focus->objectName().toStdString() : "none");
    }
    EXPECT_TRUE(editor.edtAddress->toPlainText().isEmpty());
}

TEST_F(PartyWindows, EditorListsAndDistrict)
{
    Tfrm_PersonInfo editor(services);
    // A group that appears after the editor was made is offered when it opens.
    addParty({ { u"全称"_qs, u"戊"_qs }, { u"分组"_qs, u"新组"_qs } });
    editor.show();
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    EXPECT_GT(editor.edtGroup->findText(u"新组"_qs), -1);
    editor.edtProvince->setFocus();
    EXPECT_GT(editor.edtProvince->findText(u"北京市"_qs), -1);
    editor.edtProvince->setEditText(u"北京市"_qs);
    EXPECT_GT(editor.edtCity->findText(u"朝阳区"_qs), -1);
    editor.edtCountry->setFocus();
    EXPECT_EQ(editor.edtCountry->currentText(), u"中国"_qs);

    editor.edtTown->setFocus();
    editor.edtTown->setEditText(Tfrm_PersonInfo::kTownHint);
    editor.edtZipcode->setFocus();
    EXPECT_TRUE(editor.edtTown->currentText().isEmpty());
    editor.edtAddress->setPlainText(u"中关村1号"_qs);
    editor.edtTown->setFocus();
    editor.edtTown->setEditText(u"海淀区"_qs);
    editor.edtZipcode->setFocus();
    EXPECT_EQ(editor.edtAddress->toPlainText(), u"海淀区中关村1号"_qs);
    editor.edtTown->setFocus();
    editor.edtZipcode->setFocus();
    EXPECT_EQ(editor.edtAddress->toPlainText(), u"海淀区中关村1号"_qs);

    // The group list offers the drawer mark after the real groups.
    EXPECT_EQ(editor.edtGroup->itemText(editor.edtGroup->count() - 1), u"默认出票人"_qs);
    EXPECT_EQ(editor.edtGroup->findText(u"北区"_qs), 0);
}

TEST_F(PartyWindows, EditorSavesOnceThenUpdatesAndCopiesAMultiAccountCompany)
{
    Tfrm_PersonInfo editor(services);
    editor.btResetClick();
    editor.edtName->setText(u"O'Brien Trading"_qs);
    editor.edtBankAcct->setText(u" 955 "_qs);
    ASSERT_TRUE(editor.btSaveClick());
    const int id = editor.edtID->text().toInt();
    EXPECT_GT(id, 0);
    ASSERT_TRUE(editor.btSaveClick());
    EXPECT_EQ(editor.edtID->text().toInt(), id);
    EXPECT_EQ(prompter.texts(),
        (QStringList { u"新增单位资料添加成功！"_qs, u"历史单位资料资料更新成功！"_qs }));
    const auto stored = DAOPerson(services.db()).findPersonByFullName(u"O'Brien Trading"_qs);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->开户行账号, u"955"_qs);
    EXPECT_EQ(stored->单位类型, 往来);

    editor.btCopyClick();
    editor.edtBankAcct->setText(u"956"_qs);
    ASSERT_TRUE(editor.btSaveClick());
    EXPECT_NE(editor.edtID->text().toInt(), id);
    EXPECT_EQ(DAOPerson(services.db()).loadAccountsByCompany(u"O'Brien Trading"_qs),
        (QStringList { u"955"_qs, u"956"_qs }));

    editor.ckAddNext->setChecked(true);
    editor.btSaveClick();
    EXPECT_TRUE(editor.edtName->text().isEmpty());
    EXPECT_TRUE(editor.edtID->text().isEmpty());
}

TEST_F(PartyWindows, SavingABillsParty)
{
    TPerson known;
    known.ID = mOther;
    known.全称 = u"乙方客户"_qs;
    known.电话 = u"010-999"_qs;
    savePersonFromBill(nullptr, services, known);
    EXPECT_TRUE(prompter.entries().isEmpty());
    EXPECT_EQ(DAOPerson(services.db()).findPersonByFullName(u"乙方客户"_qs)->电话, u"010-999"_qs);

    TPerson fromBill;
    fromBill.全称 = u"甲方公司"_qs;
    fromBill.开户行账号 = u"6222"_qs;
    fromBill.手机 = u"13800000000"_qs;
    fromBill.单位类型 = 往来;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* editor = qobject_cast<Tfrm_PersonInfo*>(QApplication::activeModalWidget());
        ASSERT_TRUE(editor);
        shown = true;
        EXPECT_EQ(editor->edtID->text().toInt(), mOwn);
        EXPECT_EQ(editor->edtHandset->text(), u"13800000000"_qs);
        EXPECT_EQ(editor->edtProvince->currentText(), u"广东省"_qs);
        EXPECT_EQ(editor->cbAcountType->currentText(), 往来);
        editor->close();
    });
    savePersonFromBill(nullptr, services, fromBill);
    EXPECT_TRUE(shown);
    savePersonFromBill(nullptr, services, std::nullopt);
}

TEST(ComboBoxDelete, RemovesEveryEqualItem)
{
    QComboBox box;
    box.addItems({ u"a"_qs, u"b"_qs, u"a"_qs, u"A"_qs });
    ComboBoxDeleteByText(&box, u"a"_qs);
    QStringList left;
    for (int i = 0; i < box.count(); ++i)
        left << box.itemText(i);
    EXPECT_EQ(left, (QStringList { u"b"_qs, u"A"_qs }));
}
