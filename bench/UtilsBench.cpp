// Splitting text into a string list and testing unordered progressions, each
// at three sizes against a baseline that grows as the routine should.
#include "BenchRatio.h"

#include "rtl/StringList.h"
#include "utils/NumMan.h"
#include "utils/StrMan.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace plx;

namespace {

// Split of n fields against n Adds of the same fields: linear, so the ratio
// stays the same at every size.
void SplitFields(benchmark::State& state)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    std::string text;
    std::vector<std::string> fields;
    for (std::int32_t i = 0; i < n; ++i) {
        fields.push_back(std::to_string(i % 1000));
        text += fields.back() + ',';
    }
    bench::CompareWithBaseline(
        state,
        [&] {
            TStringList list;
            for (const auto& field : fields)
                list.Add(field);
            benchmark::DoNotOptimize(list.Count());
        },
        [&] {
            TStringList list;
            Split(list, text, ',');
            benchmark::DoNotOptimize(list.Count());
        });
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(SplitFields)->Arg(20000)->Arg(80000)->Arg(320000)->Unit(benchmark::kMillisecond);

// The unordered progression test of n shuffled values against sorting them.
void IsIncreasementUnordered(benchmark::State& state)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    std::vector<std::int32_t> values(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        values[static_cast<std::size_t>(i)] = 7 + 3 * i;
    std::shuffle(values.begin(), values.end(), std::mt19937(1));
    bench::CompareWithBaseline(
        state,
        [&] {
            std::vector<std::int32_t> copy(values);
            std::sort(copy.begin(), copy.end());
            benchmark::DoNotOptimize(copy.data());
        },
        [&] { benchmark::DoNotOptimize(IsIncreasementExt(values, false, 3)); });
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(IsIncreasementUnordered)->Arg(10000)->Arg(40000)->Arg(160000)->Unit(benchmark::kMillisecond);

} // namespace
