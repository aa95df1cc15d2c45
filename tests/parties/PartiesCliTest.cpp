#include "PartiesFixture.h"

#include "app/CliCommands.h"

#include <QFileInfo>

using namespace pennock::core;
using pennock::test::PartiesFixture;

namespace {

class PartiesCli : public PartiesFixture
{
protected:
    PartiesCli()
    {
        addParty({ { u"全称"_qs, u"O'Brien Ltd"_qs }, { u"单位类型"_qs, u"往来单位"_qs },
            { u"联系人"_qs, u"张三"_qs }, { u"电话"_qs, u"020-12345"_qs },
            { u"手机"_qs, u"13811112222"_qs }, { u"省"_qs, u"浙江省"_qs },
            { u"助记码"_qs, u"obr"_qs }, { u"地址"_qs, u"西湖路\t8号"_qs } });
        addParty({ { u"全称"_qs, u"本公司"_qs }, { u"单位类型"_qs, u"我方单位"_qs },
            { u"开户银行"_qs, u"张三银行"_qs } });
    }

    CliResult run(const QStringList& extra)
    {
        return runCli(QStringList { u"parties"_qs, u"--home"_qs, home.path() } + extra);
    }

    // Full names of the listed rows, after the title row.
    static QStringList names(const CliResult& result)
    {
        QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        QStringList out;
        const int at = int(lines.value(0).split(u'\t').indexOf(u"全称"_qs));
        for (const QString& line : lines.mid(1))
            out << line.split(u'\t').value(at);
        return out;
    }
};

} // namespace

TEST_F(PartiesCli, SearchFindsEveryListedColumn)
{
    for (const char* keyword : { "o'brien", "张三", "12345", "1111", "浙江", "OBR", "西湖路" }) {
        const CliResult result = run({ u"--search"_qs, QString::fromUtf8(keyword) });
        EXPECT_EQ(result.exitCode, 0) << keyword;
        EXPECT_EQ(names(result), QStringList { u"O'Brien Ltd"_qs }) << keyword;
    }
    EXPECT_EQ(names(run({ u"--search"_qs, u"银行"_qs })), QStringList());
}

TEST_F(PartiesCli, ListsByTypeWithATitleRowAndOneLineEach)
{
    const CliResult all = run({});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QStringList lines = all.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(u"ID\t全称\t"_qs));
    EXPECT_TRUE(lines[2].contains(u"西湖路 8号"_qs) || lines[1].contains(u"西湖路 8号"_qs));
    EXPECT_EQ(names(run({ u"--type"_qs, u"我方单位"_qs })), QStringList { u"本公司"_qs });
    EXPECT_EQ(names(run({ u"--type"_qs, u"往来单位"_qs })), QStringList { u"O'Brien Ltd"_qs });

    const CliResult bad = run({ u"--type"_qs, u"别的"_qs });
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(u"--type"_qs));
    EXPECT_EQ(runCli({ u"parties"_qs }).exitCode, 2);
}

TEST_F(PartiesCli, ExportsThroughTheSpreadsheetWriter)
{
    const QString out = home.file(u"p.xlsx"_qs);
    const CliResult result = run({ u"--search"_qs, u"张三"_qs, u"--xlsx"_qs, out });
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, u"1 parties written to %1\n"_qs.arg(out));
    EXPECT_GT(QFileInfo(out).size(), 0);
    const CliResult none
        = run({ u"--search"_qs, u"无此人"_qs, u"--xlsx"_qs, home.file(u"q.xlsx"_qs) });
    EXPECT_EQ(none.out, u"没有可导出的数据~\n"_qs);
    EXPECT_FALSE(QFileInfo::exists(home.file(u"q.xlsx"_qs)));
}
