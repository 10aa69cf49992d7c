// ASORT over overview-like rows: distinct keys versus a column with only three values (the
// state column), where the quicksort's handling of equal keys dominates; and one collection
// of the event poll over many live arrays.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "runtime/lang/codeblock.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lib/arrays.h"
#include "runtime/value/compare.h"

using namespace kv;

namespace {

Value makeRows(int n, int distinct) {
  std::mt19937 rng(7);
  Value rows = Value::newArray();
  for (int i = 0; i < n; ++i) {
    Value row = Value::newArray();
    AADD(row, Value("row" + std::to_string(rng() % static_cast<unsigned>(distinct))));
    AADD(row, Value(i));
    AADD(rows, row);
  }
  return rows;
}

void sortRows(benchmark::State& state, int distinct) {
  Value byFirst = makeBlock(
      [](Args a) { return Value(valueLess(a[0].arr()->items[0], a[1].arr()->items[0])); }, 2);
  for (auto _ : state) {
    state.PauseTiming();
    Value rows = makeRows(static_cast<int>(state.range(0)), distinct);
    state.ResumeTiming();
    ASORT(rows, Value(), Value(), byFirst);
  }
}

void BM_SortRowsDistinctKeys(benchmark::State& state) {
  sortRows(state, 1 << 30);
}
void BM_SortRowsThreeKeys(benchmark::State& state) {
  sortRows(state, 3);
}

void BM_CollectLiveArrays(benchmark::State& state) {
  Value rows = makeRows(static_cast<int>(state.range(0)), 1000);
  for (auto _ : state) benchmark::DoNotOptimize(collectGarbage());
}

}  // namespace

BENCHMARK(BM_SortRowsDistinctKeys)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRowsThreeKeys)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectLiveArrays)->Arg(10000)->Unit(benchmark::kMillisecond);
