#include "PartiesFixture.h"

#include "parties/AddressSplit.h"
#include "parties/AddressSplitDialog.h"
#include "parties/ReferenceLookups.h"
#include "parties/RegionStore.h"
#include "support/CliProcess.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace pennock::core;
using namespace pennock::ui;
using pennock::test::PartiesFixture;

namespace pennock::core {
// Readable failures: all the parts side by side.
inline void PrintTo(const SplitAddress& a, std::ostream* os)
{
    *os << QStringList { a.name, a.mobile, a.phone, a.province, a.city, a.district, a.address,
        a.postcode }
               .join(u" | ")
               .toStdString();
}
} // namespace pennock::core

namespace {

struct Case
{
    const char* text;
    SplitAddress want; // name, mobile, phone, province, city, district, address, postcode
};

SplitAddress parts(std::initializer_list<const char*> fields)
{
    QStringList f;
    for (const char* field : fields)
        f << QString::fromUtf8(field);
    return { f.value(0), f.value(1), f.value(2), f.value(3), f.value(4), f.value(5), f.value(6),
        f.value(7) };
}

// Typed characters as the keyboard or an input method delivers them.
void type(QWidget* widget, const QString& characters)
{
    for (const QChar c : characters)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

const AddressSplitter& seedSplitter()
{
    static const AddressSplitter splitter = AddressSplitter::fromSeed();
    return splitter;
}

} // namespace

TEST(AddressSplit, SplitsPastedRecipients)
{
    const Case cases[] = {
        // The two shapes clerks paste most: name first, and name and number after the address.
        { "张三 13800138000 浙江省杭州市西湖区文三路90号东部软件园",
            parts({ "张三", "13800138000", "", "浙江省", "杭州市", "西湖区",
                "文三路90号东部软件园" }) },
        { "北京朝阳区建国路88号SOHO现代城 李四 010-85801234",
            parts({ "李四", "", "01085801234", "北京市", "朝阳区", "", "建国路88号SOHO现代城" }) },
        // Short forms of province, city and county; mobile written in groups.
        { "王五，139 1234 5678，广东深圳南山区科技园科发路8号",
            parts({ "王五", "13912345678", "", "广东省", "深圳市", "南山区", "科技园科发路8号" }) },
        { "江苏昆山前进中路1号 周周 135-0000-2222",
            parts({ "周周", "13500002222", "", "江苏省", "苏州市", "昆山市", "前进中路1号" }) },
        { "北京海淀中关村大街1号 雷军 13500003333",
            parts({ "雷军", "13500003333", "", "北京市", "海淀区", "", "中关村大街1号" }) },
        { "杭州西湖文三路90号 白九 13811115555",
            parts({ "白九", "13811115555", "", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
        // Autonomous regions and prefectures, full and short.
        { "内蒙古呼和浩特市新城区新华大街1号 孙七 0471-6601234",
            parts({ "孙七", "", "04716601234", "内蒙古自治区", "呼和浩特市", "新城区",
                "新华大街1号" }) },
        { "广西南宁青秀区民族大道100号 周八 (0771)5551234",
            parts({ "周八", "", "07715551234", "广西壮族自治区", "南宁市", "青秀区",
                "民族大道100号" }) },
        { "新疆乌鲁木齐天山区解放北路1号，吴九，13999887766",
            parts({ "吴九", "13999887766", "", "新疆维吾尔自治区", "乌鲁木齐市", "天山区",
                "解放北路1号" }) },
        { "宁夏回族自治区银川市兴庆区解放西街1号 马小花 0951 5012345",
            parts({ "马小花", "", "09515012345", "宁夏回族自治区", "银川市", "兴庆区",
                "解放西街1号" }) },
        { "吉林延边延吉市光明街1号 金哲 13943331234",
            parts({ "金哲", "13943331234", "", "吉林省", "延边朝鲜族自治州", "延吉市",
                "光明街1号" }) },
        { "恩施州恩施市舞阳大道1号 向华 13872221111",
            parts({ "向华", "13872221111", "", "湖北省", "恩施土家族苗族自治州", "恩施市",
                "舞阳大道1号" }) },
        { "阿卜杜拉·买买提 13312345678 新疆喀什地区喀什市人民东路1号",
            parts({ "阿卜杜拉·买买提", "13312345678", "", "新疆维吾尔自治区", "喀什地区", "喀什市",
                "人民东路1号" }) },
        // Municipalities: the district is the city, a town or street office the district.
        { "收件人：赵六\n手机：+86 138-0013-8000\n地址：上海市浦东新区张江镇科苑路88号",
            parts({ "赵六", "13800138000", "", "上海市", "浦东新区", "张江镇", "科苑路88号" }) },
        { "上海 上海市 徐汇区 漕溪北路88号 Tom Lee 021-64871234",
            parts({ "Tom Lee", "", "02164871234", "上海市", "徐汇区", "", "漕溪北路88号" }) },
        { "北京市朝阳区三里屯街道工体北路8号 马七 13811112222",
            parts({ "马七", "13811112222", "", "北京市", "朝阳区", "三里屯街道", "工体北路8号" }) },
        { "邓五 400-820-8820 重庆渝中区解放碑步行街1号",
            parts({ "邓五", "", "4008208820", "重庆市", "渝中区", "", "解放碑步行街1号" }) },
        { "(+86)13500004444 刘一手 天津市和平区南京路1号",
            parts({ "刘一手", "13500004444", "", "天津市", "和平区", "", "南京路1号" }) },
        // A city without counties takes its town as district.
        { "广东省东莞市长安镇长青路1号 黄六 13922221111",
            parts({ "黄六", "13922221111", "", "广东省", "东莞市", "长安镇", "长青路1号" }) },
        // What is missing above is inferred; county-level cities sit under their city.
        { "杭州市滨江区江南大道588号 钱小明 15700001111",
            parts({ "钱小明", "15700001111", "", "浙江省", "杭州市", "滨江区", "江南大道588号" }) },
        { "浙江省义乌市稠州北路100号 陈一 13600001234",
            parts({ "陈一", "13600001234", "", "浙江省", "金华市", "义乌市", "稠州北路100号" }) },
        { "昆山市前进中路1号 林二 13500001111",
            parts({ "林二", "13500001111", "", "江苏省", "苏州市", "昆山市", "前进中路1号" }) },
        { "余杭区良渚街道好运街1号 何三 18600001111",
            parts(
                { "何三", "18600001111", "", "浙江省", "杭州市", "余杭区", "良渚街道好运街1号" }) },
        { "湖北省武汉市武昌区中南路1号 楚二 027-8888 1234",
            parts({ "楚二", "", "02788881234", "湖北省", "武汉市", "武昌区", "中南路1号" }) },
        { "湖北仙桃市仙桃大道1号 胡一 13000001111",
            parts({ "胡一", "13000001111", "", "湖北省", "仙桃市", "", "仙桃大道1号" }) },
        // Labels, shop formats, blanks and commas.
        { "郑十，8613812345678，浙江省 杭州市 余杭区 五常街道文一西路969号，000000",
            parts({ "郑十", "13812345678", "", "浙江省", "杭州市", "余杭区",
                "五常街道文一西路969号" }) },
        { "电话：0571-88888888-123 手机：13700001234 收件人：冯四 地址：杭州市西湖区文三路90号",
            parts({ "冯四", "13700001234", "057188888888-123", "浙江省", "杭州市", "西湖区",
                "文三路90号" }) },
        { "Name: Jack Ma, Tel: 0571-85022088, Address: 浙江省杭州市余杭区文一西路969号",
            parts(
                { "Jack Ma", "", "057185022088", "浙江省", "杭州市", "余杭区", "文一西路969号" }) },
        { "  ，，张三 ，  13800138000,,  江苏省  南京市  鼓楼区  中山路1号 ，",
            parts({ "张三", "13800138000", "", "江苏省", "南京市", "鼓楼区", "中山路1号" }) },
        { "韩梅梅\u300013912340000\u3000湖南长沙岳麓区麓山南路2号",
            parts({ "韩梅梅", "13912340000", "", "湖南省", "长沙市", "岳麓区", "麓山南路2号" }) },
        { "四川省成都市武侯区天府大道北段1号；刘备；18980001234；13980001234",
            parts({ "刘备", "18980001234", "13980001234", "四川省", "成都市", "武侯区",
                "天府大道北段1号" }) },
        { "收件人 孙悟空\t电话：88886666\t邮编：310012\t地址：浙江省杭州市上城区解放路1号",
            parts({ "孙悟空", "", "88886666", "浙江省", "杭州市", "上城区", "解放路1号",
                "310012" }) },
        { "张三浙江省杭州市西湖区文三路90号13800138000",
            parts({ "张三", "13800138000", "", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
        { "收件人：李四浙江杭州西湖区文三路90号",
            parts({ "李四", "", "", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
        { "李四 地址浙江省杭州市西湖区文三路90号",
            parts({ "李四", "", "", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
        { "浙江省 杭州市 西湖区 文三路90号 3号楼 张三",
            parts({ "张三", "", "", "浙江省", "杭州市", "西湖区", "文三路90号 3号楼" }) },
        // Roads named after places, and a county two cities share, stay in the address.
        { "杭州市西湖大道1号 白十 13811116666",
            parts({ "白十", "13811116666", "", "浙江省", "杭州市", "", "西湖大道1号" }) },
        { "杭州路10号 周九 13811114444",
            parts({ "周九", "13811114444", "", "", "", "", "杭州路10号" }) },
        { "上海市黄浦区南京东路100号 牛八",
            parts({ "牛八", "", "", "上海市", "黄浦区", "", "南京东路100号" }) },
        { "鼓楼区中山路1号 陈十一 13811117777",
            parts({ "陈十一", "13811117777", "", "", "", "", "鼓楼区中山路1号" }) },
        { "香港九龙尖沙咀弥敦道1号 陈大文",
            parts({ "陈大文", "", "", "香港特别行政区", "九龙", "", "尖沙咀弥敦道1号" }) },
        // Little or no region at all.
        { "王五 13912345678 建国路88号院3号楼",
            parts({ "王五", "13912345678", "", "", "", "", "建国路88号院3号楼" }) },
        { "李雷 13800001111", parts({ "李雷", "13800001111" }) },
        { "浙江省杭州市", parts({ "", "", "", "浙江省", "杭州市" }) },
        { " ，\n", parts({}) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(seedSplitter().split(QString::fromUtf8(c.text)), c.want) << c.text;
}

TEST(AddressSplit, StreetPiecesPostcodesAndPhoneDigitsAreKept)
{
    const Case cases[] = {
        // A short piece with street pieces after it belongs to the street, not to a person.
        { "浙江省 杭州市 余杭区 仓前 梦想小镇",
            parts({ "", "", "", "浙江省", "杭州市", "余杭区", "仓前 梦想小镇" }) },
        { "浙江省 杭州市 余杭区 仓前 梦想小镇 13800001111",
            parts({ "", "13800001111", "", "浙江省", "杭州市", "余杭区", "仓前 梦想小镇" }) },
        { "浙江省 杭州市 余杭区 仓前 梦想小镇 张三 13800001111",
            parts({ "张三", "13800001111", "", "浙江省", "杭州市", "余杭区", "仓前 梦想小镇" }) },
        { "张三，浙江省 杭州市 余杭区 良渚 古墩路1号",
            parts({ "张三", "", "", "浙江省", "杭州市", "余杭区", "良渚 古墩路1号" }) },
        { "江苏省 南京市 鼓楼区 湖南 路1号 王芳",
            parts({ "王芳", "", "", "江苏省", "南京市", "鼓楼区", "湖南 路1号" }) },
        // Six digits standing alone, or after their label, are the postcode.
        { "张三 13800001111 浙江省杭州市西湖区文三路90号 310012",
            parts({ "张三", "13800001111", "", "浙江省", "杭州市", "西湖区", "文三路90号",
                "310012" }) },
        { "邮编：100020，北京市朝阳区建国路88号，李四",
            parts({ "李四", "", "", "北京市", "朝阳区", "", "建国路88号", "100020" }) },
        { "张三 浙江省杭州市西湖区文三路90号 000000",
            parts({ "张三", "", "", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
        // Phone numbers without their blanks, dashes and brackets; an extension after a dash.
        { "李四 0571 8888 8888 浙江省杭州市西湖区文三路90号",
            parts({ "李四", "", "057188888888", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
        { "李四 010-8580 1234 北京市朝阳区建国路88号",
            parts({ "李四", "", "01085801234", "北京市", "朝阳区", "", "建国路88号" }) },
        { "李四 (0571) 88888888-801 浙江省杭州市西湖区文三路90号",
            parts({ "李四", "", "057188888888-801", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
        { "收件人：李四 电话：8888-6666 地址：浙江省杭州市西湖区文三路90号",
            parts({ "李四", "", "88886666", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
        { "李四 +86 138-0013 8000 浙江省杭州市西湖区文三路90号",
            parts({ "李四", "13800138000", "", "浙江省", "杭州市", "西湖区", "文三路90号" }) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(seedSplitter().split(QString::fromUtf8(c.text)), c.want) << c.text;
}

TEST(AddressSplit, NamesFromTheGivenTablesOnly)
{
    const AddressSplitter splitter(
        { { u"甲省"_qs, u"乙市"_qs }, { u"甲省"_qs, u"丙市"_qs }, { u"丁市"_qs, u"戊城区"_qs } },
        { { u"乙市"_qs, u"新城区"_qs }, { u"丙市"_qs, u"新城区"_qs }, { u"丙市"_qs, u"东山县"_qs },
            { u"无此市"_qs, u"西山县"_qs } });
    const Case cases[] = {
        { "甲省乙市新城区幸福路1号", parts({ "", "", "", "甲省", "乙市", "新城区", "幸福路1号" }) },
        // Two cities have a 新城区: without its city the text stays as written.
        { "新城区幸福路1号", parts({ "", "", "", "", "", "", "新城区幸福路1号" }) },
        { "甲省新城区幸福路1号", parts({ "", "", "", "甲省", "", "", "新城区幸福路1号" }) },
        { "东山县幸福路1号", parts({ "", "", "", "甲省", "丙市", "东山县", "幸福路1号" }) },
        { "丙市东山幸福路1号", parts({ "", "", "", "甲省", "丙市", "东山县", "幸福路1号" }) },
        // A county short form counts only after its city; a county of an unknown city not at all.
        { "东山幸福路1号", parts({ "", "", "", "", "", "", "东山幸福路1号" }) },
        { "西山县幸福路1号", parts({ "", "", "", "", "", "", "西山县幸福路1号" }) },
        // "丁市" is a province of the table here, so its "city" is a district and a town follows.
        { "丁市戊城区花园镇1号", parts({ "", "", "", "丁市", "戊城区", "花园镇", "1号" }) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitter.split(QString::fromUtf8(c.text)), c.want) << c.text;
}

namespace {

class AddressSplitData : public PartiesFixture
{
};

} // namespace

TEST_F(AddressSplitData, CountiesAreSeededBesideTheProvincesCities)
{
    EXPECT_GT(
        services.db().scalar(u"select count(*) from DMTable2 where 类型='区县'"_qs).toInt(), 2800);
    EXPECT_EQ(column(u"select 二级代码 from DMTable2 where 类型='区县' and 一级代码='杭州市' and "
                     "二级代码 in ('西湖区', '余杭区', '建德市') order by 二级代码"_qs),
        (QStringList { u"余杭区"_qs, u"建德市"_qs, u"西湖区"_qs }));
    // Every county hangs below a city of the province rows; municipalities' districts and the
    // provinces' directly governed cities are already cities, never counties.
    EXPECT_EQ(column(u"select 一级代码 from DMTable2 c where 类型='区县' and not exists (select 1 "
                     "from DMTable2 p where p.类型='省市' and p.二级代码=c.一级代码)"_qs),
        QStringList());
    EXPECT_EQ(column(u"select 二级代码 from DMTable2 where 类型='区县' and 二级代码 in "
                     "('海淀区', '济源市', '仙桃市', '市辖区', '东莞市')"_qs),
        QStringList());

    // The region lists still show provinces and cities only.
    ReferenceLookups lookups(services.db());
    EXPECT_EQ(lookups.loadProvinces().size(), 34);
    EXPECT_FALSE(lookups.loadProvinces().contains(u"杭州市"_qs));
    EXPECT_EQ(lookups.loadCitysByProvince(u"浙江省"_qs).size(), 11);
    RegionStore regions(services.db());
    EXPECT_EQ(regions.provinces().size(), 34);
    EXPECT_EQ(regions.cities(u"浙江省"_qs).size(), 11);
}

TEST_F(AddressSplitData, TheDatabaseRegionsAreTheOnesRecognised)
{
    RegionStore(services.db()).add(u"测试省"_qs, u"样板市"_qs);
    services.db().execute(
        u"insert into DMTable2 (类型, 一级代码, 二级代码) values ('区县', '样板市', '新安县')"_qs);
    const SplitAddress want = parts({ "张三", "", "", "测试省", "样板市", "新安县", "幸福路1号" });
    EXPECT_EQ(
        AddressSplitter::fromDatabase(services.db()).split(u"张三 样板新安幸福路1号"_qs), want);
    EXPECT_NE(seedSplitter().split(u"张三 样板新安幸福路1号"_qs), want);

    // A database seeded before counties were carried falls back on the program's own.
    services.db().execute(u"delete from DMTable2 where 类型='区县'"_qs);
    EXPECT_EQ(AddressSplitter::fromDatabase(services.db()).split(u"杭州市西湖区文三路90号"_qs),
        parts({ "", "", "", "浙江省", "杭州市", "西湖区", "文三路90号" }));
}

TEST_F(AddressSplitData, CommandPrintsThePartsFromTheSeedOrAnInstallation)
{
    using pennock::test::runCliProcess;
    const auto run = [](const QStringList& args) { return runCliProcess(args); };
    const pennock::test::CliRun plain
        = run({ u"split-address"_qs, u"北京朝阳区建国路88号SOHO现代城 李四 010-85801234"_qs });
    EXPECT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_EQ(plain.out,
        u"name=李四\nmobile=\nphone=01085801234\nprovince=北京市\ncity=朝阳区\ndistrict=\n"
        "address=建国路88号SOHO现代城\npostcode=\n"_qs);

    RegionStore(services.db()).add(u"测试省"_qs, u"样板市"_qs);
    const pennock::test::CliRun installed
        = run({ u"split-address"_qs, u"--home"_qs, home.path(), u"样板市幸福路1号 王五"_qs });
    EXPECT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    EXPECT_EQ(installed.out,
        u"name=王五\nmobile=\nphone=\nprovince=测试省\ncity=样板市\ndistrict=\naddress=幸福路1号\n"
        "postcode=\n"_qs);

    const QStringList bad[] = {
        { u"split-address"_qs },
        { u"split-address"_qs, u"a"_qs, u"b"_qs },
        { u"split-address"_qs, u"a"_qs, u"--home"_qs },
        { u"split-address"_qs, u"a"_qs, u"--home"_qs, home.file(u"nowhere"_qs) },
    };
    for (const QStringList& args : bad) {
        const pennock::test::CliRun r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(u' ').toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(u"pennock-cli: "_qs)) << r.err.toStdString();
    }
}

TEST(AddressSplitDialog, ShowsThePartsAndReturnsTheCorrections)
{
    const QString pasted = u"张三 13800138000 浙江省杭州市西湖区文三路90号"_qs;
    AddressSplitDialog dialog(seedSplitter().split(pasted), pasted);
    EXPECT_EQ(dialog.windowTitle(), u"地址识别"_qs);
    EXPECT_EQ(dialog.edtPasted->toPlainText(), pasted);
    EXPECT_TRUE(dialog.edtPasted->isReadOnly());
    EXPECT_EQ(dialog.btOK->text(), u"确定"_qs);
    EXPECT_EQ(dialog.btCancel->text(), u"取消"_qs);
    EXPECT_EQ(dialog.result(),
        parts({ "张三", "13800138000", "", "浙江省", "杭州市", "西湖区", "文三路90号" }));

    dialog.edtName->clear();
    type(dialog.edtName, u" 张三丰 "_qs);
    QTest::keyClicks(dialog.edtPhone, u"0571-88888888"_qs);
    dialog.edtAddress->selectAll();
    type(dialog.edtAddress, u"文三路90号东部软件园"_qs);
    QTest::keyClicks(dialog.edtPostcode, u"310012"_qs);
    EXPECT_EQ(dialog.result(),
        parts({ "张三丰", "13800138000", "0571-88888888", "浙江省", "杭州市", "西湖区",
            "文三路90号东部软件园", "310012" }));

    QTest::mouseClick(dialog.btOK, Qt::LeftButton);
    EXPECT_EQ(dialog.QDialog::result(), QDialog::Accepted);
}
