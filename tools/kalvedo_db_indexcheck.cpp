#include "tools/kalvedo_db_indexcheck.h"

#include <cstdio>
#include <map>
#include <vector>

#include "engine/ntx/ntx_check.h"
#include "engine/ntx/ntx_keyvalue.h"
#include "platform/file.h"
#include "platform/filename.h"
#include "runtime/error/error.h"
#include "tools/kalvedo_db_errortrap.h"

namespace kv::tools {

namespace {

// A key as text for a report line: trailing blanks cut, control bytes as \xNN.
std::string showKey(const std::string& key) {
  std::size_t n = key.size();
  while (n > 0 && key[n - 1] == ' ') --n;
  std::string out = "\"";
  for (std::size_t i = 0; i < n; ++i) {
    auto c = static_cast<unsigned char>(key[i]);
    if (c < 0x20 || c == 0x7F) {
      char b[8];
      std::snprintf(b, sizeof b, "\\x%02X", c);
      out += b;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

class IndexChecker {
 public:
  IndexChecker(const std::string& path, engine::WorkArea* wa, Findings& out)
      : path_(path), wa_(wa), out_(out) {}

  std::size_t run() {
    platform::File f;
    if (!f.open(path_, platform::Access::Read, platform::Share::Shared,
                platform::Disposition::OpenExisting)) {
      out_.problem(platform::reportedName(path_), "cannot be opened (operating-system error " +
                                                      std::to_string(platform::lastOsError()) +
                                                      ")");
      return 0;
    }
    ntx::FileNtxIo io(f);
    report_ = ntx::checkNtx(io);
    for (const auto& p : report_.problems) out_.problem(path_, p);
    for (const auto& n : report_.notes) out_.note(path_, n);
    if (!report_.headerSound) return 0;
    if (!wa_) {
      out_.note(path_, "keys not compared with the records: the table cannot be opened");
      return report_.entries.size();
    }
    if (computeKeys()) compare();
    if (recordProblems_ > kMaxRecordProblems)
      out_.problem(path_,
                   std::to_string(recordProblems_ - kMaxRecordProblems) + " more record problems");
    return report_.entries.size();
  }

 private:
  struct Expected {
    bool included = false;  // the FOR condition holds and the key could be made
    bool known = false;     // the record could be evaluated at all
    std::string key;
  };

  void recordProblem(const std::string& text) {
    if (++recordProblems_ <= kMaxRecordProblems) out_.problem(path_, text);
  }

  bool compileText(const std::string& text, const char* what, Value& block) {
    if (!wa_->compile(text) || !wa_->result().isBlock()) {
      out_.problem(path_, std::string(what) + " \"" + text + "\" does not compile");
      return false;
    }
    block = wa_->result();
    return true;
  }

  // Evaluates key and condition for every record of the table.
  bool computeKeys() {
    const ntx::NtxHeader& h = report_.header;
    Value keyBlock, forBlock;
    if (!compileText(h.keyText, "key expression", keyBlock)) return false;
    if (!h.forText.empty() && !compileText(h.forText, "FOR condition", forBlock)) return false;
    std::uint32_t last = 0;
    wa_->recCount(last);
    lastRec_ = last;
    expected_.assign(static_cast<std::size_t>(last) + 1, Expected{});
    ErrorTrap trap;
    for (std::uint32_t n = 1; n <= last; ++n) {
      Expected& e = expected_[n];
      try {
        if (wa_->goTo(n) != engine::kSuccess) {
          recordProblem("record " + std::to_string(n) + " cannot be read");
          continue;
        }
        bool holds = true;
        if (!forBlock.isNil()) {
          wa_->evalBlock(forBlock);
          if (!wa_->result().isLogical()) {
            recordProblem("record " + std::to_string(n) + ": the FOR condition yields " +
                          VALTYPE(wa_->result()) + ", not a logical value");
            continue;
          }
          holds = wa_->result().asBool();
        }
        wa_->evalBlock(keyBlock);
        const Value& v = wa_->result();
        if (!v.isString() && !v.isNumber() && !v.isDate() && !v.isLogical()) {
          recordProblem("record " + std::to_string(n) + ": the key expression yields type " +
                        VALTYPE(v) + ", of which no key can be made");
          continue;
        }
        e.key = ntx::keyFromValue(v, h.keySize, h.keyDecimals);
        e.known = true;
        e.included = holds;
      } catch (const BreakException& b) {
        recordProblem("record " + std::to_string(n) + ": evaluating the key raised " +
                      ErrorTrap::describe(b.value));
      }
    }
    return true;
  }

  void compare() {
    const auto& entries = report_.entries;
    std::vector<std::vector<std::size_t>> byRecord(expected_.size());
    std::map<std::string, int> keyCount;  // unique orders: occurrences of each key value
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::uint32_t r = entries[i].recno;
      if (r == 0 || r > lastRec_) {
        recordProblem("key " + showKey(entries[i].key) + " points to record " + std::to_string(r) +
                      ", past the table's last record " + std::to_string(lastRec_));
        continue;
      }
      byRecord[r].push_back(i);
      ++keyCount[entries[i].key];
    }
    const bool unique = report_.header.unique;
    std::map<std::string, std::uint32_t> firstWithKey;  // unique orders: key value -> record
    for (std::uint32_t n = 1; n <= lastRec_; ++n) {
      const Expected& e = expected_[n];
      const auto& found = byRecord[n];
      if (!e.known) continue;  // already a problem of its own
      const std::string rec = "record " + std::to_string(n);
      if (!e.included) {
        if (!found.empty())
          recordProblem(rec + ": in the index although its FOR condition is false");
        continue;
      }
      if (unique) firstWithKey.emplace(e.key, n);
      if (found.empty()) {
        if (!unique) recordProblem(rec + ": key " + showKey(e.key) + " is missing");
        continue;
      }
      for (std::size_t i : found)
        if (entries[i].key != e.key)
          recordProblem(rec + ": the index holds the stale key " + showKey(entries[i].key) +
                        ", the record's key is " + showKey(e.key));
      if (found.size() > 1)
        recordProblem(rec + ": in the index " + std::to_string(found.size()) + " times");
    }
    if (!unique) return;
    for (const auto& [key, n] : firstWithKey) {
      auto it = keyCount.find(key);
      if (it == keyCount.end())
        recordProblem("record " + std::to_string(n) + ": key " + showKey(key) +
                      " is missing from the unique order");
      else if (it->second > 1)
        recordProblem("key " + showKey(key) + " is in the unique order " +
                      std::to_string(it->second) + " times");
    }
  }

  std::string path_;
  engine::WorkArea* wa_;
  Findings& out_;
  ntx::NtxCheckReport report_;
  std::vector<Expected> expected_;
  std::uint32_t lastRec_ = 0;
  int recordProblems_ = 0;
};

}  // namespace

std::size_t checkIndexFile(const std::string& path, engine::WorkArea* table, Findings& out) {
  return IndexChecker(path, table, out).run();
}

}  // namespace kv::tools
