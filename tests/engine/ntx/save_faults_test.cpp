// Saves of a shared table with two orders and a memo field while one file step fails: each
// write in turn cut short or refused, each flush failing, each lock refused once. Right after
// the failing save, and again once the table is closed, the table holds what it held before
// the save or what the save makes of it, never a mixture; when it does not hold the saved
// version an error was raised; records the save did not touch are never changed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/dbf/dbf_memo.h"
#include "platform/byteorder.h"
#include "platform/filefault.h"
#include "support/ntx_fixture.h"

using namespace kv;
using namespace kv::engine;
using kv::platform::FileFault;
using kv::platform::FileStep;

namespace {

// A record as its table holds it: the record bytes with the memo pointer's ten bytes replaced
// by the memo text they lead to.
using TableState = std::vector<std::string>;

constexpr std::size_t kMemoAt = 1 + 5 + 20;  // NOTE follows the flag, NUM and CUST

struct Step {
  FileStep step;
  std::string file;
  std::uint64_t offset, length;
};

// A save as the program makes it, call by call; the table is looked at after every call, as
// a station killed between two calls would leave it.
struct Operation {
  const char* name;
  std::vector<std::function<void()>> calls;
  bool appends;  // a blank record at the end is the state after the append alone
};

class SaveFaults : public kvtest::NtxTest {
 protected:
  void SetUp() override {
    NtxTest::SetUp();
    DBCREATE(Value("orders"), structure({row("NUM", "C", 5, 0), row("CUST", "C", 20, 0),
                                         row("NOTE", "M", 10, 0), row("VER", "N", 5, 0)}));
    useNtx("orders");
    const std::vector<std::pair<const char*, std::string>> rows = {
        {"Ana", "short note"}, {"Bora", std::string(900, 'b')}, {"Ceca", "third"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
      DBAPPEND();
      FIELDPUT(Value(1), Value("0000" + std::to_string(i + 1)));
      FIELDPUT(Value(2), Value(rows[i].first));
      FIELDPUT(Value(3), Value(rows[i].second));
      FIELDPUT(Value(4), Value(1));
    }
    ORDCREATE(Value("bynum"), Value(), Value("NUM"));
    ORDCREATE(Value("bycust"), Value(), Value("UPPER(CUST)"));
    DBCLOSEAREA();
    for (const char* f : {"orders.dbf", "orders.dbt", "bynum.ntx", "bycust.ntx"})
      original_[f] = bytes(f);
    ASSERT_TRUE(errors.empty());
  }
  void TearDown() override {
    platform::setFileFaultHook({});
    NtxTest::TearDown();
  }

  void restore() {
    for (const auto& [f, b] : original_) writeBytes(f, b);
  }
  static void openShared() {
    useNtx("orders", true);
    ORDLISTADD(Value("bynum"));
    ORDLISTADD(Value("bycust"));
  }

  // The table's records as its files hold them, counted by the file size as a shared station
  // counts them (a record cut off at the end shows as the bytes it has).
  TableState state() const {
    const std::string dbf = bytes("orders.dbf"), dbt = bytes("orders.dbt");
    const std::size_t hdr = platform::readLe16(dbf.data() + 8);
    const std::size_t len = platform::readLe16(dbf.data() + 10);
    TableState out;
    for (std::size_t at = hdr; at < dbf.size(); at += len) {
      std::string rec = dbf.substr(at, len);
      if (rec.size() == 1 && rec[0] == '\x1A') break;
      if (rec.size() < len) {
        out.push_back("cut off: " + rec);
        break;
      }
      std::uint32_t block = 0;
      memoBlockFromField(std::string_view(rec).substr(kMemoAt, 10), block);
      std::string memo;
      if (block != 0) {
        const std::size_t from = std::size_t(block) * kMemoBlock;
        memo = from < dbt.size() ? dbt.substr(from, dbt.find('\x1A', from) - from) : "(past end)";
      }
      out.push_back(rec.replace(kMemoAt, 10, "[" + memo + "]"));
    }
    return out;
  }
  // The header's record count never claims a record the file does not hold.
  std::uint32_t headerCount() const { return platform::readLe32(bytes("orders.dbf").data() + 4); }

  // Runs `op` on the shared table with `hook` installed; the hook is removed before the
  // table is closed. Answers the states after each call, the last one after the whole save.
  std::vector<TableState> runWith(const Operation& op, platform::FileFaultHook hook) {
    restore();
    errors.clear();
    openShared();
    platform::setFileFaultHook(std::move(hook));
    std::vector<TableState> seen;
    for (const auto& call : op.calls) {
      call();
      seen.push_back(state());
    }
    platform::setFileFaultHook({});
    DBCLOSEAREA();
    return seen;
  }

  std::map<std::string, std::string> original_;
};

void put(const char* field, const Value& v) {
  FIELDPUT(FIELDPOS(Value(field)), v);
}

const std::vector<Operation>& operations() {
  static const std::vector<Operation> ops = {
      {"append with a memo",
       {
           [] { DBAPPEND(); },
           [] { put("NUM", Value("00004")); },
           [] { put("CUST", Value("Dule")); },
           [] { put("NOTE", Value("a new order's memo")); },
           [] { put("VER", Value(1)); },
           [] { DBUNLOCK(); },
           [] { DBCOMMIT(); },
       },
       true},
      {"change of a short memo",
       {
           [] { DBGOTO(Value(1)); },
           [] { DBRLOCK(Value(1)); },
           [] { put("CUST", Value("Nova Ana Petrovic")); },
           [] { put("NOTE", Value("a changed note")); },
           [] { put("VER", Value(22)); },
           [] { DBUNLOCK(); },
           [] { DBCOMMIT(); },
       },
       false},
      {"change of a long memo",
       {
           [] { DBGOTO(Value(2)); },
           [] { DBRLOCK(Value(2)); },
           [] { put("NUM", Value("00009")); },
           [] { put("NOTE", Value(std::string(700, 'n'))); },
           [] { put("VER", Value(22)); },
           [] { DBUNLOCK(); },
           [] { DBCOMMIT(); },
       },
       false},
      {"deletion",
       {
           [] { DBGOTO(Value(3)); },
           [] { DBRLOCK(Value(3)); },
           [] { DBDELETE(); },
           [] { put("VER", Value(22)); },
           [] { DBUNLOCK(); },
           [] { DBCOMMIT(); },
       },
       false},
  };
  return ops;
}

// The fields of a record of a TableState: flag, NUM, CUST, the memo text, VER.
std::vector<std::string> fieldsOf(const std::string& r) {
  if (r.size() < kMemoAt + 7 || r[kMemoAt] != '[' || r[r.size() - 6] != ']') return {r};
  return {r.substr(0, 1), r.substr(1, 5), r.substr(6, 20),
          r.substr(kMemoAt + 1, r.size() - kMemoAt - 7), r.substr(r.size() - 5)};
}

// A save that raised an error part way may leave a record with some fields new and some old
// (its values are put one by one), but never a field, a memo text or a record cut in two:
// every field of every record holds its value before or after the save.
bool fieldsBeforeOrAfter(const TableState& now, const TableState& before, const TableState& after,
                         const std::string& blank) {
  if (now.size() != before.size() && now.size() != after.size()) return false;
  for (std::size_t i = 0; i < now.size(); ++i) {
    const std::vector<std::string> n = fieldsOf(now[i]);
    const std::vector<std::string> b = fieldsOf(i < before.size() ? before[i] : blank);
    const std::vector<std::string> a = fieldsOf(i < after.size() ? after[i] : blank);
    if (n.size() != 5 || b.size() != 5 || a.size() != 5) return false;
    for (std::size_t f = 0; f < n.size(); ++f)
      if (n[f] != b[f] && n[f] != a[f]) return false;
  }
  return true;
}

std::string describe(const Step& s) {
  const char* kinds[] = {"write", "flush", "lock"};
  return std::string(kinds[static_cast<int>(s.step)]) + " of " + s.file + " at " +
         std::to_string(s.offset) + " (" + std::to_string(s.length) + ")";
}

std::string show(const TableState& t) {
  std::string out;
  for (const auto& r : t) out += "  |" + r + "|\n";
  return out;
}

TEST_F(SaveFaults, EveryFailingStepLeavesTheTableBeforeOrAfterTheSave) {
  int faults = 0, mixed = 0;
  for (const Operation& op : operations()) {
    SCOPED_TRACE(op.name);
    restore();
    const TableState before = state();
    std::vector<Step> steps;
    const std::vector<TableState> cleanRun = runWith(
        op,
        [&](FileStep step, const std::string& file, std::uint64_t offset, std::uint64_t length) {
          steps.push_back({step, file.substr(file.rfind('/') + 1), offset, length});
          return FileFault::none();
        });
    ASSERT_TRUE(errors.empty()) << op.name << " fails without a fault";
    const TableState after = cleanRun.back();
    // Without a fault too, a station killed between two calls finds the table whole.
    for (const TableState& t : cleanRun)
      EXPECT_TRUE(t == before || t == after || (op.appends && t.size() == before.size() + 1))
          << "between two calls:\n"
          << show(t);
    ASSERT_NE(before, after);
    TableState appendedOnly = before;
    const std::string blank = std::string(kMemoAt, ' ') + "[]" + std::string(5, ' ');
    appendedOnly.push_back(blank);

    // Each step in turn fails in each way that step can fail.
    struct Variant {
      const char* how;
      FileStep step;
      std::function<FileFault(std::uint64_t length)> fault;
    };
    const std::vector<Variant> variants = {
        {"cut to half", FileStep::Write, [](std::uint64_t n) { return FileFault::cut(n / 2); }},
        {"cut by one byte", FileStep::Write, [](std::uint64_t n) { return FileFault::cut(n - 1); }},
        {"refused", FileStep::Write, [](std::uint64_t) { return FileFault::fail(29); }},
        {"failing", FileStep::Flush, [](std::uint64_t) { return FileFault::fail(29); }},
        {"refused", FileStep::Lock, [](std::uint64_t) { return FileFault::fail(33); }},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
      for (const Variant& v : variants) {
        if (v.step != steps[i].step) continue;
        const std::string what = describe(steps[i]) + " " + v.how;
        if (std::getenv("KV_SHOW_STEPS")) std::printf("%s: %s\n", op.name, what.c_str());
        SCOPED_TRACE(what);
        std::size_t seen = 0;
        const std::vector<TableState> states =
            runWith(op, [&](FileStep, const std::string&, std::uint64_t, std::uint64_t length) {
              return seen++ == i ? v.fault(length) : FileFault::none();
            });
        const bool raised = !errors.empty();
        bool whole = true;
        for (std::size_t c = 0; c < states.size(); ++c) {
          const TableState& now = states[c];
          const bool ok = now == before || now == after || (op.appends && now == appendedOnly);
          whole = whole && ok;
          EXPECT_TRUE(ok || (raised && fieldsBeforeOrAfter(now, before, after, blank)))
              << "in between after call " << c + 1 << ":\n"
              << show(now) << "before:\n"
              << show(before) << "after:\n"
              << show(after);
        }
        if (states.back() != after) {
          EXPECT_TRUE(raised) << "the save did not happen unnoticed";
        }
        mixed += whole ? 0 : 1;
        const TableState closed = state();
        EXPECT_TRUE(closed == before || closed == after || (op.appends && closed == appendedOnly) ||
                    (raised && fieldsBeforeOrAfter(closed, before, after, blank)))
            << "after the close:\n"
            << show(closed);
        EXPECT_LE(headerCount(), closed.size());
        ++faults;
      }
    }
  }
  std::printf("%d failing steps; %d left a record with some values of the save (error raised)\n",
              faults, mixed);
}

}  // namespace
