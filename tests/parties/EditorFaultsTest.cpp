#include "PartiesFixture.h"

#include "parties/Com.h"
#include "parties/DMConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <functional>

using namespace pennock::core;
using namespace pennock::ui;
using pennock::test::PartiesFixture;

namespace {

// What takes the editor away from the entries on screen.
struct Trigger
{
    const char* name;
    std::function<void(Tfm_DMConfig&)> act;
    bool confirmsFirst = false; ///< the trigger asks its own question before
};

class PendingEntries : public PartiesFixture, public ::testing::WithParamInterface<Trigger>
{
protected:
    void resetDictionary()
    {
        services.db().execute(u"delete from DMTable where DMName='测试字典'"_qs);
        for (const char* value : { "甲", "乙" })
            services.db().execute(u"insert into DMTable (DMName, DMValue, CheckTypeID) values "
                                  "('测试字典', ?, 0)"_qs,
                { QString::fromUtf8(value) });
    }

    // Opens the editor on 测试字典 and types a new entry without saving it.
    void typeEntry(Tfm_DMConfig& editor)
    {
        editor.listBoxNames->setCurrentItem(
            editor.listBoxNames->findItems(u"测试字典"_qs, Qt::MatchExactly).first());
        ASSERT_EQ(editor.gridEntries->rowCount(), 2);
        editor.btAddClick();
        editor.gridEntries->item(2, Tfm_DMConfig::ColValue)->setText(u"新条目"_qs);
        editor.gridEntries->setCurrentCell(2, Tfm_DMConfig::ColValue);
    }

    QStringList stored()
    {
        return column(u"select DMValue from DMTable where DMName='测试字典' order by DMValue"_qs);
    }
};

TEST_P(PendingEntries, TypedEntriesAreNeverDroppedWithoutAQuestion)
{
    for (const bool keep : { true, false }) {
        resetDictionary();
        prompter.clear();
        Tfm_DMConfig editor(services, 0);
        editor.show();
        typeEntry(editor);
        if (GetParam().confirmsFirst)
            prompter.queueAnswer(true);
        prompter.queueAnswer(keep); // the question about the typed entry
        GetParam().act(editor);
        ASSERT_FALSE(prompter.texts().isEmpty()) << GetParam().name;
        EXPECT_TRUE(prompter.texts().contains(Tfm_DMConfig::kPendingQuestion)) << GetParam().name;
        EXPECT_EQ(stored().contains(u"新条目"_qs), keep) << GetParam().name;
        // Asked once: the same entry does not come back as pending.
        EXPECT_EQ(prompter.texts().count(Tfm_DMConfig::kPendingQuestion), 1) << GetParam().name;
        EXPECT_FALSE(editor.hasPendingEntries()) << GetParam().name;
    }
}

INSTANTIATE_TEST_SUITE_P(Triggers, PendingEntries,
    ::testing::Values(Trigger { "OtherDictionary",
                          [](Tfm_DMConfig& e) {
                              for (int i = 0; i < e.listBoxNames->count(); ++i)
                                  if (e.listBoxNames->item(i)->text() != u"测试字典"_qs) {
                                      e.listBoxNames->setCurrentRow(i);
                                      return;
                                  }
                          } },
        Trigger { "OtherTemplate", [](Tfm_DMConfig& e) { e.Co_CheckType->setCurrentIndex(1); } },
        Trigger { "SharedTick", [](Tfm_DMConfig& e) { e.ckShowShared->click(); } },
        Trigger { "DeletingAnother",
            [](Tfm_DMConfig& e) {
                e.gridEntries->setCurrentCell(0, Tfm_DMConfig::ColValue);
                e.btDeleteClick();
            },
            true },
        Trigger { "Closing", [](Tfm_DMConfig& e) { e.btClose->click(); } },
        Trigger { "Escape", [](Tfm_DMConfig& e) { QTest::keyClick(&e, Qt::Key_Escape); } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PartiesFixture, DictionaryEditorKeepsItsCaptionOnEveryTemplate)
{
    Tfm_DMConfig editor(services, 0);
    EXPECT_EQ(editor.windowTitle(), u"Pennock软件-字典管理"_qs);
    ASSERT_GT(editor.Co_CheckType->count(), 1);
    editor.Co_CheckType->setCurrentIndex(1);
    EXPECT_EQ(editor.windowTitle(), u"Pennock软件-字典管理"_qs);
    EXPECT_EQ(editor.lbTemplate->text(),
        u"字典设置-%1(单据号=%2)"_qs.arg(editor.Co_CheckType->itemText(1))
            .arg(editor.checkTypeId()));
    EXPECT_GT(editor.checkTypeId(), 0);
}

TEST_F(PartiesFixture, SavingStoresTypedEntriesWithoutAsking)
{
    Tfm_DMConfig editor(services, 0);
    editor.btAddClick();
    const int row = editor.gridEntries->rowCount() - 1;
    editor.gridEntries->item(row, Tfm_DMConfig::ColValue)->setText(u"保存的"_qs);
    editor.btSaveClick();
    EXPECT_FALSE(editor.hasPendingEntries());
    editor.close();
    EXPECT_TRUE(prompter.texts().isEmpty());
    EXPECT_EQ(
        column(u"select count(*) from DMTable where DMValue='保存的'"_qs), QStringList { u"1"_qs });
}

struct LimitCase
{
    const char* box;
    const char* typed;
    const char* kept;
};

class CurrencyLimits : public PartiesFixture, public ::testing::WithParamInterface<LimitCase>
{
};

TEST_P(CurrencyLimits, TypingStopsAtTheByteLimit)
{
    TfrmCom editor(services);
    editor.show();
    QLineEdit* box = QString::fromLatin1(GetParam().box) == u"ed_bz" ? editor.ed_bz : editor.ed_jm;
    box->clear();
    // One character at a time, as typed (key clicks carry ASCII only).
    for (const QChar ch : QString::fromUtf8(GetParam().typed))
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    EXPECT_EQ(box->text(), QString::fromUtf8(GetParam().kept));
}

INSTANTIATE_TEST_SUITE_P(Bytes, CurrencyLimits,
    ::testing::Values(LimitCase { "ed_bz", "新加坡元元", "新加坡元" },
        LimitCase { "ed_bz", "abcdefghij", "abcdefgh" },
        LimitCase { "ed_bz", "人民币ab", "人民币ab" },
        LimitCase { "ed_bz", "人民币abc", "人民币ab" }, LimitCase { "ed_jm", "USDX", "USD" },
        LimitCase { "ed_jm", "￥￥", "￥" }, LimitCase { "ed_jm", "￥$", "￥$" }));

TEST_F(PartiesFixture, CurrencyTooLongFromTheProgramIsRefusedByTheButtons)
{
    TfrmCom editor(services);
    editor.ed_bz->setText(u"特别长的币种名"_qs);
    editor.ed_jm->setText(u"XX"_qs);
    editor.btAddClick();
    EXPECT_EQ(prompter.texts(), QStringList { u"币种名称最长8个字节（4个汉字）！"_qs });
    prompter.clear();
    editor.ed_bz->setText(u"新币"_qs);
    editor.ed_jm->setText(u"ABCD"_qs);
    editor.btAddClick();
    EXPECT_EQ(prompter.texts(), QStringList { u"币种简码最长3个字节！"_qs });
    EXPECT_EQ(column(u"select count(*) from coins where 币种 in ('特别长的币种名', '新币')"_qs),
        QStringList { u"0"_qs });
}

} // namespace
