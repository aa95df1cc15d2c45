// Splitting pasted recipient texts: how many a clerk's batch import gets through per second.
#include "BenchSupport.h"

#include "parties/AddressSplit.h"
#include "templates/Seed.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

using namespace pennock::core;

namespace {

// 2,000 texts in the shapes clerks paste: name before or after, mobile or landline, labels,
// full or short region names, counties and municipalities, and some without any region.
QStringList pastedTexts()
{
    const auto rows = referenceRows(QStringLiteral("counties.tsv"));
    QHash<QString, QString> provinceOf;
    for (const auto& r : referenceRows(QStringLiteral("regions.tsv")))
        provinceOf.insert(r.value(QStringLiteral("二级代码")), r.value(QStringLiteral("一级代码")));
    const QStringList names
        = QStringLiteral("张三 李四 王小明 欧阳娜娜 阿卜杜拉·买买提 Tom Lee 赵六 钱七").split(u' ');
    const QStringList streets
        = QStringLiteral("文三路90号东部软件园 建国路88号SOHO现代城 人民路1号3单元502室 "
                         "长安镇长青路1号 科技园科发路8号")
              .split(u' ');
    QStringList texts;
    for (int i = 0; i < 2000; ++i) {
        const auto& row = rows[(i * 7919) % rows.size()];
        const QString city = row.value(QStringLiteral("一级代码"));
        const QString county = row.value(QStringLiteral("二级代码"));
        QString province = provinceOf.value(city);
        QString region;
        switch (i % 5) {
        case 0:
            region = province + city + county;
            break;
        case 1:
            region = province.left(2) + u' ' + city.chopped(1) + u' ' + county;
            break;
        case 2:
            region = city + county;
            break;
        case 3:
            region = county;
            break;
        default:
            region = QStringLiteral("北京朝阳区");
            break;
        }
        const QString name = names[i % names.size()];
        const QString phone = i % 3 == 0
            ? QStringLiteral("0571-8888%1").arg(1000 + i % 9000)
            : QStringLiteral("138 %1 %2").arg(1000 + i % 9000).arg(2000 + i % 7000);
        const QString street = streets[i % streets.size()];
        switch (i % 4) {
        case 0:
            texts << name + u' ' + phone + u' ' + region + street;
            break;
        case 1:
            texts << region + street + QStringLiteral("，") + name + QStringLiteral("，") + phone;
            break;
        case 2:
            texts << QStringLiteral("收件人：%1\n电话：%2\n地址：%3%4")
                         .arg(name, phone, region, street);
            break;
        default:
            texts << name + u' ' + phone + u' ' + street;
            break;
        }
    }
    return texts;
}

void BM_SplitAddress(benchmark::State& state)
{
    static const AddressSplitter splitter = AddressSplitter::fromSeed();
    static const QStringList texts = pastedTexts();
    qsizetype found = 0;
    for (auto _ : state)
        for (const QString& text : texts) {
            const SplitAddress parts = splitter.split(text);
            found += parts.city.isEmpty() ? 0 : 1;
            benchmark::DoNotOptimize(parts);
        }
    state.SetItemsProcessed(state.iterations() * texts.size());
    state.counters["addresses/s"] = benchmark::Counter(
        double(state.iterations() * texts.size()), benchmark::Counter::kIsRate);
    state.counters["with city %"]
        = 100.0 * double(found) / double(state.iterations() * texts.size());
}
BENCHMARK(BM_SplitAddress)->Unit(benchmark::kMillisecond);

void BM_BuildSplitterFromSeed(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AddressSplitter::fromSeed());
}
BENCHMARK(BM_BuildSplitterFromSeed)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return pennock::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
