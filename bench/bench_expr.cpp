// Cost of a compiled index key: every index build and every record update evaluates the
// key block once per record, so "upper(Naziv)" over a 50-character name is the hot path of
// the manufacturer and customer indexes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/drivers.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "runtime/macro/macro.h"

using namespace kv;

namespace {

const char kName[] = "Sony Ericsson Mobile Communications d.o.o. Beograd";  // 50 characters

Value compiled(const char* text) {
  CompileResult r = compileExpression(text);
  if (r.status != 0) std::abort();
  return r.block;
}

}  // namespace

static void BM_CompileKey(benchmark::State& state) {
  registerRuntimeFunctions();
  for (auto _ : state) benchmark::DoNotOptimize(compileExpression("upper(Naziv)"));
}
BENCHMARK(BM_CompileKey);

// The key over a memory variable: compiler and runtime alone.
static void BM_EvalKeyMemvar(benchmark::State& state) {
  registerRuntimeFunctions();
  PUBLIC("NAZIV", Value(kName));
  const Value block = compiled("upper(Naziv)");
  for (auto _ : state) benchmark::DoNotOptimize(EVAL(block));
}
BENCHMARK(BM_EvalKeyMemvar);

// The key over a field of the current record, as an index evaluates it.
static void BM_EvalKeyField(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("kv_bench_expr_" + std::to_string(getpid()));
  fs::create_directories(dir);
  resetSettings();
  setSetting(kSetDefault, Value(dir.string()));
  registerRuntimeFunctions();
  engine::registerDbfDriver();
  engine::registerDbFunctions();
  engine::installFieldResolver();
  engine::RDDSETDEFAULT(Value("DBF"));
  Value row = Value::newArray();
  for (Value v : {Value("NAZIV"), Value("C"), Value::integer(50), Value::integer(0)})
    row.arr()->items.push_back(v);
  Value structure = Value::newArray();
  structure.arr()->items.push_back(row);
  engine::DBCREATE(Value("proiz"), structure);
  engine::DBUSEAREA(Value(true), Value(), Value("proiz"));
  engine::DBAPPEND();
  engine::FIELDPUT(Value(1), Value(kName));
  engine::WorkArea* wa = engine::currentArea();
  const Value block = compiled("upper(Naziv)");
  for (auto _ : state) {
    wa->evalBlock(block);
    benchmark::DoNotOptimize(wa->result());
  }
  engine::closeAllAreas();
  fs::remove_all(dir);
}
BENCHMARK(BM_EvalKeyField);
