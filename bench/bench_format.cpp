#include "format/Capitals.h"
#include "format/TextUtils.h"

#include <benchmark/benchmark.h>

#include <array>

using namespace pennock::core;

namespace {

// Varied lengths and zero runs, so every zero rule has work to do.
constexpr std::array<double, 16> kAmounts = {
    0.01,
    0.1,
    10.01,
    101,
    1010,
    1234.56,
    10000.01,
    100010,
    1000000.5,
    100000001,
    110000000,
    1000000000000,
    9999999999999.99,
    305.07,
    86420.4,
    7000300.09,
};

void BM_AmountToCapitals(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        QString words = AmountToCapitals(kAmounts[i++ % kAmounts.size()]);
        benchmark::DoNotOptimize(words);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AmountToCapitals);

void BM_AmountToDigitCapitals(benchmark::State& state)
{
    const std::array<QString, 4> amounts = { QStringLiteral("1,234.56"), QStringLiteral("98765.4"),
        QStringLiteral("0.07"), QStringLiteral("100200300") };
    const QString mode = QStringLiteral("0.00");
    std::size_t i = 0;
    for (auto _ : state) {
        std::optional<QString> cells
            = AmountToDigitCapitals(amounts[i++ % amounts.size()], 10, mode);
        benchmark::DoNotOptimize(cells);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AmountToDigitCapitals);

void BM_BreakTextByWidth(benchmark::State& state)
{
    // 60 characters, 91 GBK bytes.
    const QString address = QStringLiteral("广东省深圳市南山区科技园南区深南大道10000号腾飞大厦B座1"
                                           "203室 王先生收 电话 0755-86013388-01");
    for (auto _ : state) {
        QStringList lines = BreakTextByWidth(address, 10);
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["chars"] = double(address.size());
}
BENCHMARK(BM_BreakTextByWidth);

void BM_NormalizeAmountText(benchmark::State& state)
{
    const QString typed = QStringLiteral(" ￥１２,３45。６7 ");
    for (auto _ : state) {
        QString text = NormalizeAmountText(typed);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NormalizeAmountText);

} // namespace

BENCHMARK_MAIN();
