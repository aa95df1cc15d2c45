#include "PartiesFixture.h"

#include "parties/PersonSearch.h"
#include "parties/ReferenceLookups.h"
#include "parties/RegionStore.h"
#include "store/Database.h"

#include <QSet>
#include <QSqlQueryModel>
#include <QSqlRecord>

using namespace pennock::core;
using pennock::test::PartiesFixture;

namespace {

const QString 我方 = QStringLiteral("我方单位");
const QString 往来 = QStringLiteral("往来单位");

class PartiesData : public PartiesFixture
{
protected:
    DAOPerson dao { services.db() };

    QString nameOf(const std::optional<TPerson>& person) const
    {
        return person ? person->全称 : QStringLiteral("<none>");
    }

    // Full names a search lists, in its order.
    QStringList listed(PersonSearch search)
    {
        QSqlQueryModel model;
        PersonSearch::runInto(
            services.db(), model, search.listsAll() ? search.allStatement() : search.prepare());
        QStringList names;
        for (int r = 0; r < model.rowCount(); ++r)
            names
                << model.index(r, model.record().indexOf(QStringLiteral("全称"))).data().toString();
        return names;
    }
};

} // namespace

TEST_F(PartiesData, MnemonicLookupKeepsItsWildcards)
{
    addParty({ { u"全称"_qs, u"甲"_qs }, { u"助记码"_qs, u"ab01"_qs } });
    addParty({ { u"全称"_qs, u"乙"_qs }, { u"助记码"_qs, u"xab2"_qs } });
    addParty({ { u"全称"_qs, u"丙"_qs }, { u"助记码"_qs, u"pnk01"_qs } });
    const std::pair<const char*, const char*> cases[] = {
        { "ab01", "甲" },
        { "AB01", "甲" },
        { "ab", "<none>" },
        { "ab*", "甲" },
        { "*ab*", "甲" },
        { "%ab%", "甲" },
        { "xab%", "乙" },
        { "pnk*", "丙" },
        { "%", "<none>" },
        { "*", "<none>" },
        { "%*%", "<none>" },
        { "", "<none>" },
        { "a_b*", "<none>" },
        { "b_1*", "甲" },
        { "zz*", "<none>" },
    };
    for (const auto& [code, name] : cases)
        EXPECT_EQ(
            nameOf(dao.findPersonByInputCode(QString::fromUtf8(code))), QString::fromUtf8(name))
            << code;
}

TEST_F(PartiesData, CompanyWithSeveralAccounts)
{
    const int first = addParty({ { u"全称"_qs, u"多头公司"_qs }, { u"开户行账号"_qs, u"111"_qs },
        { u"开户银行"_qs, u"工行"_qs }, { u"联系人"_qs, u"王"_qs }, { u"单位类型"_qs, 我方 } });
    const int second = addParty({ { u"全称"_qs, u"多头公司"_qs }, { u"开户行账号"_qs, u"222"_qs },
        { u"开户银行"_qs, u"建行"_qs }, { u"联系人"_qs, u"赵"_qs }, { u"单位类型"_qs, 我方 } });
    addParty({ { u"全称"_qs, u"别家"_qs }, { u"开户行账号"_qs, u"222"_qs },
        { u"开户银行"_qs, u"农行"_qs }, { u"单位类型"_qs, 往来 } });

    EXPECT_EQ(dao.loadAccountsByCompany(u" 多头公司 "_qs), (QStringList { u"111"_qs, u"222"_qs }));
    EXPECT_EQ(dao.loadAccountsByCompany(u"  "_qs), QStringList());
    EXPECT_EQ(dao.loadBankNamesByAccount(u"222 "_qs), (QStringList { u"建行"_qs, u"农行"_qs }));
    EXPECT_EQ(dao.loadBankNamesByAccount(QString()), QStringList());
    EXPECT_EQ(dao.findPersonByFullName(u"多头公司"_qs)->ID, first);
    EXPECT_EQ(dao.findPersonByNameAndAccount(u"多头公司"_qs, u"222"_qs)->ID, second);
    EXPECT_EQ(dao.findPersonByNameAndContact(u"多头公司"_qs, u"赵"_qs)->ID, second);
    EXPECT_EQ(dao.findPersonByContact(u"王"_qs)->ID, first);
    EXPECT_EQ(dao.findPersonByAccount(u"111"_qs)->ID, first);
    EXPECT_FALSE(dao.findPersonByNameAndAccount(u"多头公司"_qs, QString()));
    EXPECT_FALSE(dao.findPersonByFullName(QString()));
    EXPECT_EQ(dao.loadCompanyList(我方), QStringList { u"多头公司"_qs });
    EXPECT_EQ(dao.loadCompanyList(往来), QStringList { u"别家"_qs });
    EXPECT_EQ(dao.loadCompanyList().size(), 2);
}

TEST_F(PartiesData, StoreInsertsOnceThenUpdatesEveryColumn)
{
    TPerson person;
    for (const QString& column : TPerson::columns())
        person.setValue(column, column + QStringLiteral("'值"));
    person.全称 = QStringLiteral("O'Brien & Sons");
    ASSERT_EQ(dao.storePerson(person), 1);
    const int id = person.ID;
    ASSERT_GT(id, 0);
    person.联系人 = QStringLiteral("D'Arcy");
    dao.storePerson(person);
    EXPECT_EQ(person.ID, id);
    EXPECT_EQ(count(QStringLiteral("CKPersonalInfoTable")), 1);

    TPerson loaded;
    loaded.ID = id;
    ASSERT_EQ(dao.loadPersonById(loaded), 1);
    EXPECT_EQ(loaded, person);
    EXPECT_EQ(dao.findPersonByFullName(QStringLiteral("O'Brien & Sons"))->联系人, u"D'Arcy"_qs);

    TPerson missing;
    missing.ID = id + 100;
    EXPECT_EQ(dao.loadPersonById(missing), 0);
    missing.ID = 0;
    EXPECT_EQ(dao.loadPersonById(missing), -1);

    // A record whose row was deleted meanwhile comes back as a new row.
    services.db().execute(QStringLiteral("delete from CKPersonalInfoTable"));
    dao.storePerson(person);
    EXPECT_NE(person.ID, id);
    EXPECT_EQ(count(QStringLiteral("CKPersonalInfoTable")), 1);
}

TEST_F(PartiesData, GroupAndProvinceListsSkipBlanksAndTheDrawerMark)
{
    addParty({ { u"全称"_qs, u"a"_qs }, { u"分组"_qs, u"乙组"_qs }, { u"省"_qs, u"广东省"_qs } });
    addParty({ { u"全称"_qs, u"b"_qs }, { u"分组"_qs, u"甲组"_qs }, { u"省"_qs, u"  "_qs } });
    addParty(
        { { u"全称"_qs, u"c"_qs }, { u"分组"_qs, u"默认出票人"_qs }, { u"省"_qs, u"北京市"_qs } });
    addParty({ { u"全称"_qs, u"d"_qs }, { u"分组"_qs, u" "_qs }, { u"省"_qs, u"广东省"_qs } });
    QStringList groups = { u"乙组"_qs, u"甲组"_qs };
    groups.sort();
    EXPECT_EQ(dao.loadPersonTableGroupList(), groups);
    QStringList provinces = { u"广东省"_qs, u"北京市"_qs };
    provinces.sort();
    EXPECT_EQ(dao.loadPersonTableProvinceList(), provinces);
}

TEST_F(PartiesData, DefaultDrawerMovesAndBecomesAnOwnCompany)
{
    const int old = addParty(
        { { u"全称"_qs, u"旧"_qs }, { u"分组"_qs, u"默认出票人"_qs }, { u"单位类型"_qs, 我方 } });
    const int next = addParty({ { u"全称"_qs, u"新"_qs }, { u"单位类型"_qs, 往来 } });
    EXPECT_EQ(dao.loadDefaultDrawer()->ID, old);
    dao.setDefaultDrawer(next);
    const auto drawer = dao.loadDefaultDrawer();
    ASSERT_TRUE(drawer);
    EXPECT_EQ(drawer->ID, next);
    EXPECT_EQ(drawer->单位类型, 我方);
    EXPECT_EQ(column(QStringLiteral("select 分组 from CKPersonalInfoTable where ID=?"), { old }),
        QStringList { QString() });
}

TEST_F(PartiesData, DeleteAllByTypeKeepsTheOtherType)
{
    addParty({ { u"全称"_qs, u"a"_qs }, { u"单位类型"_qs, 我方 } });
    addParty({ { u"全称"_qs, u"b"_qs }, { u"单位类型"_qs, 往来 } });
    addParty({ { u"全称"_qs, u"c"_qs }, { u"单位类型"_qs, 我方 } });
    EXPECT_EQ(dao.deleteAllPersons(我方), 2);
    EXPECT_EQ(
        column(QStringLiteral("select 全称 from CKPersonalInfoTable")), QStringList { u"b"_qs });
    EXPECT_EQ(dao.deleteAllPersons(QString()), 1);
}

TEST_F(PartiesData, KeywordSearchLooksThroughSevenColumnsLiterally)
{
    addParty({ { u"全称"_qs, u"O'Brien Ltd"_qs }, { u"单位类型"_qs, 往来 } });
    addParty({ { u"全称"_qs, u"联系人找"_qs }, { u"联系人"_qs, u"欧阳锋"_qs },
        { u"单位类型"_qs, 我方 } });
    addParty({ { u"全称"_qs, u"电话找"_qs }, { u"电话"_qs, u"020-8765"_qs } });
    addParty({ { u"全称"_qs, u"手机找"_qs }, { u"手机"_qs, u"13900001111"_qs } });
    addParty({ { u"全称"_qs, u"省找"_qs }, { u"省"_qs, u"黑龙江省"_qs } });
    addParty({ { u"全称"_qs, u"码找"_qs }, { u"助记码"_qs, u"qq50"_qs } });
    addParty({ { u"全称"_qs, u"址找"_qs }, { u"地址"_qs, u"人民路5%号"_qs } });
    addParty({ { u"全称"_qs, u"银行不找"_qs }, { u"开户银行"_qs, u"欧阳银行"_qs } });
    const std::pair<const char*, QStringList> cases[] = {
        { "o'bri", { u"O'Brien Ltd"_qs } },
        { "欧阳", { u"联系人找"_qs } },
        { "8765", { u"电话找"_qs } },
        { "0000111", { u"手机找"_qs } },
        { "黑龙江", { u"省找"_qs } },
        { "QQ5", { u"码找"_qs } },
        { " 5%号 ", { u"址找"_qs } },
        { "5%", { u"址找"_qs } },
        { "q_5", {} },
        { "%", { u"址找"_qs } },
        { "电%找", {} },
    };
    for (const auto& [keyword, names] : cases) {
        PersonSearch search;
        search.keyword = QString::fromUtf8(keyword);
        search.type = 我方; // a keyword looks through every type
        EXPECT_EQ(listed(search), names) << keyword;
    }
}

TEST_F(PartiesData, TypeGroupAdvancedAndOrder)
{
    addParty({ { u"全称"_qs, u"b公司"_qs }, { u"单位类型"_qs, 往来 }, { u"分组"_qs, u"北区"_qs } });
    addParty({ { u"全称"_qs, u"a公司"_qs }, { u"单位类型"_qs, 往来 }, { u"电话"_qs, u"123"_qs } });
    addParty({ { u"全称"_qs, u"c公司"_qs }, { u"单位类型"_qs, 我方 }, { u"电话"_qs, u"1234"_qs } });

    PersonSearch search;
    EXPECT_TRUE(search.listsAll());
    EXPECT_EQ(listed(search), (QStringList { u"c公司"_qs, u"b公司"_qs, u"a公司"_qs }));
    search.type = 往来;
    EXPECT_EQ(listed(search), (QStringList { u"b公司"_qs, u"a公司"_qs }));
    search.direction = PersonSearch::toggled(search.direction);
    EXPECT_EQ(search.direction, u"ASC"_qs);
    EXPECT_EQ(listed(search), (QStringList { u"a公司"_qs, u"b公司"_qs }));
    search.group = u"北区"_qs;
    EXPECT_EQ(listed(search), QStringList { u"b公司"_qs });

    PersonSearch advanced;
    advanced.advanced = true;
    advanced.advColumn = u"电话"_qs;
    advanced.advKey = u"123"_qs;
    advanced.direction = u"asc"_qs;
    EXPECT_EQ(listed(advanced), (QStringList { u"a公司"_qs, u"c公司"_qs }));
    advanced.advEquals = true;
    EXPECT_EQ(listed(advanced), QStringList { u"a公司"_qs });
    advanced.advColumn = u"电话) or (1=1"_qs;
    EXPECT_EQ(listed(advanced), QStringList());

    PersonSearch bySort;
    bySort.type = 往来;
    bySort.sortColumn = u"全称 desc; drop table coins"_qs;
    bySort.direction = u"sideways"_qs;
    EXPECT_EQ(listed(bySort), (QStringList { u"b公司"_qs, u"a公司"_qs }));
    EXPECT_GT(count(u"coins"_qs), 0);
}

TEST_F(PartiesData, DictionaryListsTheTemplatesOwnEntriesFirst)
{
    const auto add = [&](const char* name, const char* value, int id) {
        services.db().execute(
            u"insert into DMTable (DMName, DMValue, CheckTypeID) values (?, ?, ?)"_qs,
            { QString::fromUtf8(name), QString::fromUtf8(value), id });
    };
    add("测试典", "共用一", 0);
    add("测试典", "五号", 5);
    add("测试典", "两处", 0);
    add("测试典", "两处", 5);
    add("测试典", "七号", 7);
    ReferenceLookups lookups(services.db());
    const QStringList both = lookups.loadDMListByName(u"测试典"_qs, u"0,5"_qs);
    ASSERT_EQ(both.size(), 4);
    EXPECT_EQ((QSet<QString> { both[0], both[1] }), (QSet<QString> { u"五号"_qs, u"两处"_qs }));
    EXPECT_EQ((QSet<QString> { both[2], both[3] }), (QSet<QString> { u"共用一"_qs, u"两处"_qs }));
    EXPECT_EQ(lookups.loadDMListByName(u"测试典"_qs, u"0"_qs).size(), 2);
    EXPECT_EQ(lookups.loadDMListByName(u"测试典"_qs, u"x) or (1=1"_qs), QStringList());
}

TEST_F(PartiesData, CurrenciesProvincesCitiesAndHistoryNames)
{
    ReferenceLookups lookups(services.db());
    EXPECT_EQ(lookups.getMoneyCodeByName(u"人民币"_qs), u"￥"_qs);
    EXPECT_EQ(lookups.getMoneyNameByCode(u"USD"_qs), u"美元"_qs);
    EXPECT_EQ(lookups.getMoneyCodeByName(u"金币"_qs), QString());
    EXPECT_TRUE(lookups.loadMoneyTypeList().contains(u"欧元"_qs));

    services.db().execute(
        u"insert into DMTable2 (类型, 一级代码, 二级代码) values ('其他', '测试省', '甲市'), "
        "('省市', '测试省', '乙市'), ('省市', '测试省', '丙市')"_qs);
    EXPECT_TRUE(lookups.loadProvinces().contains(u"测试省"_qs));
    QStringList cities = { u"乙市"_qs, u"丙市"_qs };
    cities.sort();
    EXPECT_EQ(lookups.loadCitysByProvince(u" 测试省 "_qs), cities);
    EXPECT_EQ(lookups.loadCitysByProvince(u" "_qs), QStringList());
    QStringList every = { u"甲市"_qs, u"乙市"_qs, u"丙市"_qs };
    every.sort();
    EXPECT_EQ(RegionStore(services.db()).cities(u"测试省"_qs), every);

    services.db().execute(
        u"insert into DataZPTable (模板种类) values ('工行'), ('建行'), ('工行')"_qs);
    QStringList used = lookups.loadHistoryTypeNameList(u"DataZPTable"_qs);
    used.sort();
    EXPECT_EQ(used, (QStringList { u"工行"_qs, u"建行"_qs }));
    EXPECT_EQ(lookups.loadHistoryTypeNameList(u"coins"_qs), QStringList());
    EXPECT_EQ(lookups.loadHistoryTypeNameList(u"DataZPTable; delete from coins"_qs), QStringList());
}
