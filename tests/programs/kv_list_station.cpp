// A second station of the customer and manufacturer lists for the multi-process tests. It
// starts as the program does (the core's modules, the runtime's program life), makes and opens
// the data files as the main window does, and then (DIR is the data directory, READY a file it
// creates once its tables are open, GO a file it waits for before it writes):
//   customers DIR FIRST LAST TAG READY GO
//       saves the customers "Kupac FIRST" .. "Kupac LAST" with the contact TAG; a TAG of "upper"
//       types the names upper-cased ("KUPAC 7"), as another user would
//   makers DIR FIRST LAST TAG READY GO
//       adds the manufacturers "Marka FIRST" .. "Marka LAST" the same way
// Prints "done N" (the commands that wrote) at the end. Exit code 0, or 1 through the error
// handler.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/core/customers.h"
#include "app/core/datafiles.h"
#include "app/core/manufacturers.h"
#include "app/core/startup.h"
#include "platform/file.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/settings.h"
#include "runtime/lib/strings.h"

using namespace kv;

namespace {

std::vector<std::string> g_args;

void waitFor(const std::string& file) {
  for (int i = 0; i < 60000 && !platform::fileExists(file); ++i) usleep(1000);
}

void run(bool customers) {
  const int first = std::atoi(g_args[2].c_str()), last = std::atoi(g_args[3].c_str());
  const std::string tag = g_args[4];
  std::ofstream(g_args[5]) << "1";
  waitFor(g_args[6]);
  app::CustomerView view;
  Value rows = Value::newArray();
  int done = 0;
  for (int n = first; n <= last; ++n) {
    std::string name = (customers ? "Kupac " : "Marka ") + std::to_string(n);
    if (tag == "upper") name = upperText(name);
    const app::ListOutcome r = customers ? app::saveCustomer(name, tag, rows, view).outcome
                                         : app::addManufacturer(name).outcome;
    if (r == app::ListOutcome::Done) ++done;
  }
  std::printf("done %d\n", done);
}

void MAIN() {
  setSetting(kSetDeleted, Value(true));
  if (chdir(g_args[1].c_str()) != 0) return;
  app::INITDBF();
  app::OtvoriBaze();
  if (g_args.size() >= 7 && (g_args[0] == "customers" || g_args[0] == "makers"))
    run(g_args[0] == "customers");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) g_args.emplace_back(argv[i]);
  if (g_args.size() < 2) return 64;
  app::registerCoreModules();
  return runProgram(&MAIN);
}
