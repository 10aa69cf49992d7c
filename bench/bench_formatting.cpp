// Formatting costs of filling the overview: every row formats an order number, a date and a
// price, and reading a table converts stored dates back.
#include <benchmark/benchmark.h>

#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/format/transform.h"
#include "runtime/lang/settings.h"

using namespace kv;

static void BM_StrZeroOrderNumber(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(STRZERO(Value(n++ % 99999 + 1), Value(5)));
  }
}
BENCHMARK(BM_StrZeroOrderNumber);

static void BM_TransformPrice(benchmark::State& state) {
  const Value picture("9999999.99");
  double price = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TRANSFORM(Value(price), picture));
    price += 12.35;
  }
}
BENCHMARK(BM_TransformPrice);

static void BM_DtocAndBack(benchmark::State& state) {
  resetSettings();
  setSetting(kSetDateFormat, Value("DD.MM.YYYY"));
  std::int32_t day = julianFromCalendar(1, 1, 2000);
  for (auto _ : state) {
    const Value text = DTOC(Value::date(day++));
    benchmark::DoNotOptimize(CTOD(text));
  }
}
BENCHMARK(BM_DtocAndBack);

static void BM_StoredDateRead(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(storedToDate("20130213"));
}
BENCHMARK(BM_StoredDateRead);
