// The order commands of the main window on a shop's long history (100,000 orders) on Qt's
// offscreen platform: the overview's fill, an Enter search, a header sort, the save of an
// order (with the flush to disk it ends with, timed apart as well), and one paint of the
// overview with colouring on. The program runs MAIN as it does for a person; once the main
// window shows, each command is sent to the form the way its event sends it and timed; the
// median of the repetitions is reported.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/core/appsettings.h"
#include "app/core/messagedlg.h"
#include "app/core/orderedit.h"
#include "app/core/orderoverview.h"
#include "app/core/settingsfile.h"
#include "app/fkalvedo.h"
#include "app/kalvedo.h"
#include "app/windowdialogs.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/memvars.h"
#include "shop_history.h"
#include "ui/controls/wincontrol.h"
#include "ui/core/libobject.h"
#include "ui/core/messageloop.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/windowlibrary.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double medianMs(int times, const std::function<void()>& fn) {
  std::vector<double> ms;
  for (int i = 0; i < times; ++i) {
    const Clock::time_point t0 = Clock::now();
    fn();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

// Yes to every question, no wait boxes.
Value answerYes(const Value&, const Value& type, const Value&, const Value&, const Value&) {
  return type.deref().asInt() == 4 ? Value() : Value(6);
}

std::map<std::string, double> measure(const fs::path& dir) {
  fs::current_path(dir);
  app::setSettingsDir(dir.string());
  std::map<std::string, double> out;
  QObject context;
  std::function<void()> poll = [&] {
    QTimer::singleShot(0, &context, [&] {
      ui::Application* a = ui::application();
      ui::Form* main = a ? a->mainForm() : nullptr;
      QWidget* window = main ? main->windowIfMade() : nullptr;
      if (!ui::running() || !window || !window->isVisible()) return poll();
      const Value form = main->language();
      app::setMessageDlg(&answerYes);
      out["fill_ms"] = medianMs(5, [&] { send(form, "PopuniPregled"); });
      const Value search = send(form, "ePretragaNaloga");
      send(search, "_Caption", {Value("kupac 4711")});
      out["enter_search_ms"] = medianMs(5, [&] {
        send(form, "ePretragaNalogaOnKeyDown", {search, Value(13)});
      });
      // Where the search's time goes: the filtered rows alone, and the walk with a filter
      // that lets every record pass.
      out["search_rows_ms"] =
          medianMs(5, [&] { benchmark::DoNotOptimize(app::buildFilteredOverview("kupac 4711")); });
      out["rows_ms"] = medianMs(5, [&] { benchmark::DoNotOptimize(app::buildOverview()); });
      send(form, "PopuniPregled");
      const Value grid = send(form, "sgPregled");
      out["sort_ms"] = medianMs(5, [&] { send(form, "sgPregledOnHeaderClick", {grid, Value(3)}); });
      out["sort_date_ms"] = medianMs(5, [&] {
        send(form, "sgPregledOnHeaderClick", {grid, Value(2)});
      });
      // Orders of the history saved again from the form (every number of the five digits is
      // taken), each after the question answered Yes.
      // The overview sorted by a column: each save looks through the rows for its number.
      int number = 4000;
      out["save_sorted_ms"] = medianMs(11, [&] {
        send(send(form, "eBrojNaloga"), "_Caption", {Value(number++)});
        send(form, "bSnimiNalogOnClick", {send(form, "bSnimiNalog")});
      });
      // Filled again: in number order, as after start-up.
      send(form, "PopuniPregled");
      out["save_ms"] = medianMs(21, [&] {
        send(send(form, "eBrojNaloga"), "_Caption", {Value(number++)});
        send(form, "bSnimiNalogOnClick", {send(form, "bSnimiNalog")});
      });
      // Where the save's time goes: the save below the window with the overview's 100,000 rows
      // and with none, and the commit (a flush of each of the table's files) alone.
      app::OrderForm f = app::blankOrderForm(4711, DATE());
      const Value rows = memvarGet("aPregled");
      out["save_core_ms"] = medianMs(21, [&] { app::saveOrder(f, rows, nullptr); });
      const Value none = Value::newArray();
      out["save_core_no_rows_ms"] = medianMs(21, [&] { app::saveOrder(f, none, nullptr); });
      engine::DBSELECTAREA(Value("Nalozi"));
      out["commit_ms"] = medianMs(21, [&] {
        engine::DBRLOCK();
        engine::FIELDPUT(engine::FIELDPOS(Value("Korisnik")), Value("Kupac 1"));
        engine::DBUNLOCK();
        engine::DBCOMMIT();
      });
      // The flush of one file.
      const int fd = ::open("Nalozi.dbf", O_RDONLY);
      out["flush_ms"] = medianMs(21, [&] { ::fsync(fd); });
      ::close(fd);
      memvarPut("lColorPregled", Value(true));
      app::writeSetting(app::Setting::BojaZavrsen, Value(65280));
      QWidget* g = ui::libraryAs<ui::WinControl>(grid)->windowIfMade();
      g->grab();  // the colours read once
      // A grab paints the whole grid into a picture, as a paint of the screen does.
      out["paint_coloured_ms"] = medianMs(21, [&] { benchmark::DoNotOptimize(g->grab()); });
      memvarPut("lColorPregled", Value(false));
      out["paint_plain_ms"] = medianMs(21, [&] { benchmark::DoNotOptimize(g->grab()); });
      window->close();
    });
  };
  poll();
  app::MAIN();
  app::setMessageDlg(nullptr);
  engine::closeAllAreas();
  ui::stopWindowLibrary();
  releaseAllMemvars();
  ui::startWindowLibrary();
  app::installWindowDialogs();
  app::setSettingsDir("");
  return out;
}

void BM_OrdersInTheMainWindow(benchmark::State& state) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const fs::path root = fs::temp_directory_path() / ("kv-bench-orders-" + std::to_string(getpid()));
  ui::registerWindowLibrary();
  benchsupport::startEngine();
  ui::startWindowLibrary();
  app::installWindowDialogs();
  benchsupport::makeHistory(root);
  std::map<std::string, double> out;
  for (auto _ : state) out = measure(root);
  for (const auto& [name, ms] : out) state.counters[name] = ms;
  fs::current_path(fs::temp_directory_path());
  std::error_code ec;
  fs::remove_all(root, ec);
}
BENCHMARK(BM_OrdersInTheMainWindow)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
