// The program's start-up to a usable main window on Qt's offscreen platform: in a data
// directory holding a shop's long history (100,000 orders, 5,000 customers) and in an empty
// one. The whole start-up runs MAIN as the program does and stops when the main window shows;
// its steps are timed from the moments the form's methods start (the method watch), and the
// table work is timed apart: opening the tables, opening them with their indexes, building
// the overview's rows and the customers' rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <unistd.h>
#include <string>

#include "app/core/datafiles.h"
#include "app/core/orderoverview.h"
#include "app/fkalvedo.h"
#include "app/kalvedo.h"
#include "app/windowdialogs.h"
#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/ntx/dbfntxarea.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "ui/core/messageloop.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/windowlibrary.h"
#include "shop_history.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

using benchsupport::kOrders;
using benchsupport::makeHistory;
using benchsupport::startEngine;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0, Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(t - t0).count();
}

struct Dirs {
  fs::path root, history, empty;
  Dirs() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    root = fs::temp_directory_path() / ("kv-bench-startup-" + std::to_string(getpid()));
    history = root / "history";
    empty = root / "empty";
    fs::create_directories(empty);
    ui::registerWindowLibrary();
    startEngine();
    ui::startWindowLibrary();
    app::installWindowDialogs();
    makeHistory(history);
  }
  ~Dirs() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

Dirs& dirs() {
  static Dirs d;
  return d;
}

// One start-up from MAIN to the shown main window, with the moment each step began.
std::map<std::string, double> startUp(const fs::path& dir) {
  fs::current_path(dir);
  std::map<std::string, double> at;
  const Clock::time_point t0 = Clock::now();
  app::watchFormMethods([&](std::string_view method, Args) {
    if (!at.count(std::string(method))) at[std::string(method)] = msSince(t0, Clock::now());
    return false;
  });
  QObject context;
  std::function<void()> poll = [&] {
    QTimer::singleShot(0, &context, [&] {
      ui::Application* a = ui::application();
      ui::Form* main = a ? a->mainForm() : nullptr;
      QWidget* window = main ? main->windowIfMade() : nullptr;
      if (!ui::running() || !window || !window->isVisible()) return poll();
      window->repaint();  // painted once: usable
      at["shown"] = msSince(t0, Clock::now());
      window->close();
    });
  };
  poll();
  app::MAIN();
  app::watchFormMethods({});
  engine::closeAllAreas();
  // The next start-up begins with the library as the program's start leaves it.
  ui::stopWindowLibrary();
  releaseAllMemvars();
  ui::startWindowLibrary();
  app::installWindowDialogs();
  return at;
}

void reportSteps(benchmark::State& state, const std::map<std::string, double>& at) {
  auto get = [&](const char* k) {
    auto it = at.find(k);
    return it == at.end() ? 0.0 : it->second;
  };
  // Data files checked, the window built, the tables opened with the lists and the number,
  // the overview, the customers, the menu with the options, the window shown.
  state.counters["1_datafiles_ms"] = get("Create");
  state.counters["2_window_ms"] = get("fKalvedoOnCreate") - get("Create");
  state.counters["3_tables_ms"] = get("PopuniPregled") - get("fKalvedoOnCreate");
  state.counters["4_overview_ms"] = get("PopuniKorisnike") - get("PopuniPregled");
  state.counters["5_customers_ms"] = get("NapraviGlavniMeni") - get("PopuniKorisnike");
  state.counters["6_menu_show_ms"] = get("shown") - get("NapraviGlavniMeni");
  state.counters["total_ms"] = get("shown");
}

void BM_StartUpWithHistory(benchmark::State& state) {
  Dirs& d = dirs();
  std::map<std::string, double> at;
  for (auto _ : state) at = startUp(d.history);
  reportSteps(state, at);
}
BENCHMARK(BM_StartUpWithHistory)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_StartUpEmptyDirectory(benchmark::State& state) {
  Dirs& d = dirs();
  std::map<std::string, double> at;
  for (auto _ : state) {
    state.PauseTiming();
    for (const auto& f : fs::directory_iterator(d.empty)) fs::remove_all(f.path());
    state.ResumeTiming();
    at = startUp(d.empty);
  }
  reportSteps(state, at);
}
BENCHMARK(BM_StartUpEmptyDirectory)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The table work of the start-up on its own.
void BM_OpenTables(benchmark::State& state) {
  Dirs& d = dirs();
  fs::current_path(d.history);
  for (auto _ : state) {
    for (const char* t : {"Nalozi.dbf", "ProizTel.dbf", "Korisnici.dbf"}) {
      engine::DBUSEAREA(Value(true), Value(app::kDataDriver), Value(t), Value(), Value(true));
    }
    engine::closeAllAreas();
  }
}
BENCHMARK(BM_OpenTables)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenTablesAndIndexes(benchmark::State& state) {
  Dirs& d = dirs();
  fs::current_path(d.history);
  for (auto _ : state) {
    app::OtvoriBaze();
    engine::closeAllAreas();
  }
}
BENCHMARK(BM_OpenTablesAndIndexes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OverviewRows(benchmark::State& state) {
  Dirs& d = dirs();
  fs::current_path(d.history);
  app::OtvoriBaze();
  for (auto _ : state) benchmark::DoNotOptimize(app::buildOverview());
  engine::closeAllAreas();
  state.SetItemsProcessed(state.iterations() * kOrders);
}
BENCHMARK(BM_OverviewRows)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
