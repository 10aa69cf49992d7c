#include "runtime/lib/filefuncs.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "support/files.h"

using namespace kv;

namespace {

class FileFunctions : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = kvtest::freshTempDir("filefuncs").string(); }
  void TearDown() override {
    closeAllFileHandles();
    resetErrorSystem();
    std::filesystem::remove_all(dir_);
  }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  Value name(const std::string& n) const { return Value(path(n)); }
  void put(const std::string& n, const std::string& bytes) const {
    kvtest::writeFile(path(n), bytes);
  }
  std::string get(const std::string& n) const { return kvtest::readFile(path(n)); }
  static std::string pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 4096) & 0xFF);
    return s;
  }

  std::string dir_;
};

// What an error handler saw of one raise.
struct Seen {
  int gen, sub, os, tries;
  std::string file, op;
};

// Installs a handler that records each error and answers answer(n) for the n-th (from 1).
template <class F>
void installHandler(std::vector<Seen>& seen, F answer) {
  ERRORBLOCK(makeBlock(
      [&seen, answer](Args a) {
        const Value& e = a[0];
        seen.push_back({send(e, "GENCODE").asInt(), send(e, "SUBCODE").asInt(),
                        send(e, "OSCODE").asInt(), send(e, "TRIES").asInt(),
                        send(e, "FILENAME").toStdString(), send(e, "OPERATION").toStdString()});
        return Value(answer(static_cast<int>(seen.size())));
      },
      1));
}

}  // namespace

TEST_F(FileFunctions, CreateWriteSeekReadClose) {
  std::int32_t h = FCREATE(name("a.txt"));
  ASSERT_GE(h, 0);
  EXPECT_EQ(FERROR(), 0);
  EXPECT_EQ(FWRITE(h, Value("Hello, world")), 12);
  EXPECT_EQ(FWRITE(h, Value("!!!"), Value(1)), 1);
  EXPECT_EQ(FWRITE(h, Value("?"), Value(9)), 1);
  EXPECT_EQ(FSEEK(h, Value(0), Value(2)), 14);
  EXPECT_EQ(FSEEK(h, Value(-7), Value(1)), 7);
  EXPECT_EQ(FSEEK(h, Value(-8), Value(1)), 7);  // before the start: position unchanged
  EXPECT_EQ(FERROR(), 131);
  Value buffer("......");
  EXPECT_EQ(FREAD(h, buffer, Value(99)), 6);  // never more than the buffer holds
  EXPECT_EQ(buffer.str(), "world!");
  EXPECT_EQ(FERROR(), 0);
  Value small("xxxx");
  EXPECT_EQ(FREAD(h, small, Value(4)), 1);  // short at the end of the file
  EXPECT_EQ(small.str(), "?xxx");
  EXPECT_EQ(FREAD(h, small, Value(4)), 0);
  EXPECT_TRUE(FCLOSE(h));
  EXPECT_FALSE(FCLOSE(h));
  EXPECT_EQ(FERROR(), 6);
  EXPECT_EQ(get("a.txt"), "Hello, world!?");

  // FCREATE truncates an existing file.
  h = FCREATE(name("a.txt"), Value(0));
  ASSERT_GE(h, 0);
  FCLOSE(h);
  EXPECT_EQ(get("a.txt"), "");
}

TEST_F(FileFunctions, OperatingSystemCodes) {
  EXPECT_EQ(FOPEN(name("missing.txt")), -1);
  EXPECT_EQ(FERROR(), 2);
  EXPECT_EQ(DOSERROR(), 2);
  EXPECT_EQ(FOPEN(name("nodir/missing.txt")), -1);
  EXPECT_EQ(FERROR(), 3);
  EXPECT_EQ(FCREATE(name("nodir/new.txt")), -1);
  EXPECT_EQ(FERROR(), 3);
  EXPECT_EQ(FERASE(name("missing.txt")), -1);
  EXPECT_EQ(FERROR(), 2);
  EXPECT_EQ(FWRITE(Value(12345), Value("x")), 0);
  EXPECT_EQ(FERROR(), 6);
  EXPECT_EQ(FOPEN(Value(5)), -1);
  EXPECT_EQ(FERROR(), 87);

  put("shared.txt", "abc");
  std::int32_t first = FOPEN(name("shared.txt"), Value(FO_READWRITE | FO_EXCLUSIVE));
  ASSERT_GE(first, 0);
  EXPECT_EQ(FOPEN(name("shared.txt")), -1);
  EXPECT_EQ(FERROR(), 32);
  FCLOSE(first);
  std::int32_t a = FOPEN(name("shared.txt"), Value(FO_READ | FO_DENYNONE));
  std::int32_t b = FOPEN(name("shared.txt"));
  EXPECT_GE(a, 0);
  EXPECT_GE(b, 0);
  EXPECT_EQ(FERROR(), 0);
  EXPECT_EQ(FWRITE(a, Value("z")), 0);  // opened for reading only
  EXPECT_NE(FERROR(), 0);
  EXPECT_EQ(FERASE(name("shared.txt")), 0);
  EXPECT_EQ(FERROR(), 0);
}

TEST_F(FileFunctions, FileMatchesWildcardsAsAShellDoes) {
  put("Nalozi.dbf", "x");
  put("Nalozi.ntx", "x");
  put("ProizTel.dbf", "x");
  std::filesystem::create_directory(path("sub.ntx"));
  struct Case {
    const char* name;
    bool found;
  } cases[] = {
      {"Nalozi.ntx", true},
      {"Nalozi.ntx   ", true},
      {"*.ntx", true},
      {"*.dbf", true},
      {"Nal?zi.dbf", true},
      {"N*", true},
      {"*.cdx", false},
      {"Nalozi.nt", false},
      {"?.dbf", false},
      {"sub.ntx", false},
      {"", false},
      {"nodir/*.dbf", false},
      // Names and patterns not found as written match without regard to case.
      {"nalozi.ntx", true},
      {"NAL?ZI.DBF", true},
      {"p*.DBF", true},
      {"SUB.NTX", false},
  };
  for (const auto& c : cases) EXPECT_EQ(kv::FILE(name(c.name)), c.found) << c.name;
  EXPECT_EQ(FERASE(name("Nalozi.ntx")), 0);
  EXPECT_FALSE(kv::FILE(name("Nalozi.ntx")));
  EXPECT_FALSE(kv::FILE(name("*.ntx")));
  EXPECT_FALSE(kv::FILE(Value(1)));
  EXPECT_FALSE(kv::FILE(Value(path("Nalozi.dbf") + std::string(300, ' ') + "x")));
}

TEST_F(FileFunctions, MemoReadAndWrite) {
  put("clause.txt", std::string("Line 1\r\nLine 2\x1A", 15));
  EXPECT_EQ(MEMOREAD(name("clause.txt")).str(), "Line 1\r\nLine 2");
  put("two.txt", std::string("a\x1A"
                             "b\x1A\x1A",
                             5));
  EXPECT_EQ(MEMOREAD(name("two.txt")).str(), std::string("a\x1A"
                                                         "b\x1A",
                                                         4));
  put("empty.txt", "");
  EXPECT_EQ(MEMOREAD(name("empty.txt")).str(), "");
  EXPECT_EQ(FERROR(), 0);
  EXPECT_EQ(MEMOREAD(name("missing.txt")).str(), "");
  EXPECT_EQ(FERROR(), 2);
  // Files of 64 KB and more come back whole.
  std::string big = pattern(70000) + "end";
  ASSERT_TRUE(MEMOWRIT(name("big.txt"), Value(big)));
  EXPECT_TRUE(get("big.txt") == big);
  EXPECT_TRUE(MEMOREAD(name("big.txt")).str() == big);
  ASSERT_TRUE(MEMOWRIT(name("big.txt"), Value("short")));
  EXPECT_EQ(get("big.txt"), "short");
  EXPECT_FALSE(MEMOWRIT(name("nodir/x.txt"), Value("x")));
  EXPECT_EQ(FERROR(), 3);
}

TEST_F(FileFunctions, CopyFileCopiesByteForByte) {
  for (std::size_t size : {0u, 1u, 4096u, 4097u, 10000u}) {
    put("src.bin", pattern(size));
    put("dst.bin", std::string(20000, 'o'));  // an existing target is truncated first
    EXPECT_TRUE(__COPYFILE(name("src.bin"), name("dst.bin")));
    EXPECT_TRUE(get("dst.bin") == pattern(size)) << size;
  }
}

TEST_F(FileFunctions, CopyFileRetriesWhileTheHandlerAsks) {
  std::vector<Seen> seen;
  // A missing source: the first answer retries after the file appeared, the copy succeeds.
  installHandler(seen, [this](int n) {
    if (n == 2) put("late.txt", "arrived");
    return n < 3;
  });
  EXPECT_TRUE(__COPYFILE(name("late.txt"), name("copy.txt")));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].gen, EG_OPEN);
  EXPECT_EQ(seen[0].sub, 2012);
  EXPECT_EQ(seen[0].os, 2);
  EXPECT_EQ(seen[0].file, path("late.txt"));
  EXPECT_EQ(seen[0].op, "__COPYFILE");
  EXPECT_EQ(seen[1].tries, 2);
  EXPECT_EQ(get("copy.txt"), "arrived");

  // Default gives up quietly.
  seen.clear();
  installHandler(seen, [](int) { return false; });
  EXPECT_FALSE(__COPYFILE(name("missing.txt"), name("copy2.txt")));
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(path("copy2.txt")));

  // A target that cannot be created raises a create error naming it.
  seen.clear();
  EXPECT_FALSE(__COPYFILE(name("copy.txt"), name("nodir/copy.txt")));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].gen, EG_CREATE);
  EXPECT_EQ(seen[0].sub, 2012);
  EXPECT_EQ(seen[0].os, 3);
  EXPECT_EQ(seen[0].file, path("nodir/copy.txt"));
}

// A short write (file size limit of the process) raises a write error; a retry after the
// limit is lifted writes the block again in its place, so the copy is exact.
TEST_F(FileFunctions, CopyFileShortWriteRetriesTheBlockInPlace) {
  put("src.bin", pattern(10000));
  for (bool retry : {false, true}) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      signal(SIGXFSZ, SIG_IGN);
      rlimit lim{};
      getrlimit(RLIMIT_FSIZE, &lim);
      rlimit small = lim;
      small.rlim_cur = 5000;
      setrlimit(RLIMIT_FSIZE, &small);
      std::vector<Seen> seen;
      installHandler(seen, [&](int) {
        setrlimit(RLIMIT_FSIZE, &lim);
        return retry;
      });
      bool ok = __COPYFILE(name("src.bin"), name("dst.bin"));
      bool expected = seen.size() == 1 && seen[0].gen == EG_WRITE && seen[0].sub == 2016 &&
                      seen[0].file == path("dst.bin") && ok == retry &&
                      (!retry || get("dst.bin") == pattern(10000));
      _exit(expected ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << (retry ? "retry" : "default");
  }
}

TEST_F(FileFunctions, RegisteredByName) {
  registerFileFunctions();
  put("r.txt", "data");
  Value args[1] = {name("r.txt")};
  EXPECT_EQ(findSymbol("MEMOREAD")->fn(Args(args, 1)).str(), "data");
  Value h = findSymbol("FOPEN")->fn(Args(args, 1));
  Cell buf = newCell(Value("  "));
  Value readArgs[3] = {h, Value::reference(buf), Value(2)};
  EXPECT_EQ(findSymbol("FREAD")->fn(Args(readArgs, 3)).asInt(), 2);
  EXPECT_EQ(buf->str(), "da");
}
