// File names regardless of case: the lookup every file operation goes through, the names
// derived from another one, and what opens, creates, deletes, renames and searches do with a
// name that differs from the file on disk only in case, or matches two such files.
#include "platform/filename.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/file.h"
#include "support/files.h"

using namespace kv::platform;
namespace fs = std::filesystem;

namespace {

struct Derived {
  const char* from;
  const char* suffix;
  const char* ext;
  const char* expect;
};

class DerivedNameTest : public ::testing::TestWithParam<Derived> {};

// The directory holds NALOZI.DBF ("orders"), Nalozi.ntx, a.txt and A.TXT (twins), b.Txt and a
// directory SUB.
class CaseDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::freshTempDir("names");
    fs::create_directories(dir_ / "SUB");
    write("NALOZI.DBF", "orders");
    write("Nalozi.ntx", "index");
    write("a.txt", "small");
    write("A.TXT", "big");
    write("b.Txt", "b");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& text) const {
    kvtest::writeFile(path(name), text);
  }
  std::string read(const std::string& name) const { return kvtest::readFile(path(name)); }
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir_)) out.insert(e.path().filename().string());
    return out;
  }
  std::set<std::string> original() const {
    return {"NALOZI.DBF", "Nalozi.ntx", "a.txt", "A.TXT", "b.Txt", "SUB"};
  }
  std::string twinsText(const std::string& asked) const {
    return path(asked) + " (" + path("A.TXT") + " and " + path("a.txt") + " differ only in case)";
  }

  fs::path dir_;
};

}  // namespace

TEST_P(DerivedNameTest, FollowsTheCaseOfTheNameItComesFrom) {
  const Derived& d = GetParam();
  EXPECT_EQ(derivedName(d.from, d.suffix, d.ext), d.expect);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DerivedNameTest,
    ::testing::Values(
        // Memo files: the extension decides capitals, the whole name small letters.
        Derived{"NALOZI.DBF", "", ".dbt", "NALOZI.DBT"},
        Derived{"nalozi.dbf", "", ".dbt", "nalozi.dbt"},
        Derived{"Nalozi.dbf", "", ".dbt", "Nalozi.dbt"},
        Derived{"Nalozi.DBF", "", ".dbt", "Nalozi.DBT"},
        Derived{"NALOZI.dbf", "", ".dbt", "NALOZI.dbt"},
        // Upgrade backups: the program's own spelling unless the table's case says otherwise.
        Derived{"Nalozi.dbf", "_K24", ".dbf", "Nalozi_K24.dbf"},
        Derived{"NALOZI.DBF", "_K24", ".dbt", "NALOZI_K24.DBT"},
        Derived{"nalozi.dbf", "_K24", ".dbf", "nalozi_k24.dbf"},
        Derived{"ProizTel.dbf", "", ".K01", "ProizTel.K01"},
        Derived{"PROIZTEL.DBF", "", ".K01", "PROIZTEL.K01"},
        Derived{"proiztel.dbf", "", ".K01", "proiztel.k01"},
        // Without an extension (or one without letters) the base decides; a dot or capitals
        // in a directory do not count; letters above ASCII neither count nor change.
        Derived{"NALOZI", "", ".ntx", "NALOZI.NTX"}, Derived{"Nalozi", "", ".ntx", "Nalozi.ntx"},
        Derived{"T1.001", "", ".dbt", "T1.DBT"},
        Derived{"Data.Old/NALOZI", "", ".ntx", "Data.Old/NALOZI.NTX"},
        Derived{"/DATA/nalozi.dbf", "", ".dbt", "/DATA/nalozi.dbt"},
        Derived{"\xC8VOR.DBF", "", ".dbt", "\xC8VOR.DBT"},
        Derived{"\xE8vor", "", ".Ntx", "\xE8vor.ntx"},
        Derived{"\xE8\x9A", "", ".Ntx", "\xE8\x9A.Ntx"}));

TEST(DefaultExtension, AddedOnlyWhenTheNameHasNone) {
  EXPECT_EQ(withDefaultExtension("NALOZI", ".ntx"), "NALOZI.NTX");
  EXPECT_EQ(withDefaultExtension("korisnici", ".ntx"), "korisnici.ntx");
  EXPECT_EQ(withDefaultExtension("Nalozi.idx", ".ntx"), "Nalozi.idx");
  EXPECT_EQ(withDefaultExtension("old.dir/NALOZI", ".dbf"), "old.dir/NALOZI.DBF");
}

TEST_F(CaseDirTest, LookupPrefersTheExactNameAndNeverGuessesBetweenTwins) {
  struct Case {
    const char* asked;
    NameMatch match;
    const char* found;  // the name answered, relative to the directory
  } cases[] = {
      {"NALOZI.DBF", NameMatch::Exact, "NALOZI.DBF"},
      {"nalozi.dbf", NameMatch::Folded, "NALOZI.DBF"},
      {"NALOZI.NTX", NameMatch::Folded, "Nalozi.ntx"},
      {"a.txt", NameMatch::Exact, "a.txt"},  // its twin A.TXT is not looked at
      {"A.Txt", NameMatch::Ambiguous, "A.Txt"},
      {"B.TXT", NameMatch::Folded, "b.Txt"},
      {"sub", NameMatch::Missing, "sub"},  // only files are matched without regard to case
      {"SUB", NameMatch::Exact, "SUB"},
      {"missing.dbf", NameMatch::Missing, "missing.dbf"},
      {"nodir/NALOZI.DBF", NameMatch::Missing, "nodir/NALOZI.DBF"},
      {"sub/../nalozi.dbf", NameMatch::Missing, "sub/../nalozi.dbf"},  // directories as written
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    NameLookup l = lookupName(path(c.asked));
    EXPECT_EQ(l.match, c.match);
    EXPECT_EQ(l.path, path(c.found));
    EXPECT_EQ(existingName(path(c.asked)), path(c.found));
    if (c.match == NameMatch::Ambiguous) {
      EXPECT_EQ(l.variants, (std::vector<std::string>{path("A.TXT"), path("a.txt")}));
    } else {
      EXPECT_TRUE(l.variants.empty());
    }
  }
  EXPECT_TRUE(equalsFolded("Nalozi.DBF", "nALOZI.dbf"));
  EXPECT_FALSE(equalsFolded("\xC8vor", "\xE8vor"));  // only ASCII letters fold
  EXPECT_FALSE(equalsFolded("a", "ab"));
}

TEST_F(CaseDirTest, OpensAndCreatesUseTheFileThatIsThere) {
  struct Case {
    const char* asked;
    Disposition disp;
    bool ok;
    int code;
    const char* onDisk;  // the file opened, or null
  } cases[] = {
      {"nalozi.dbf", Disposition::OpenExisting, true, 0, "NALOZI.DBF"},
      {"Nalozi.Dbf", Disposition::OpenOrCreate, true, 0, "NALOZI.DBF"},
      {"nalozi.DBF", Disposition::CreateNew, false, 80, nullptr},
      {"a.txt", Disposition::OpenExisting, true, 0, "a.txt"},
      {"A.Txt", Disposition::OpenExisting, false, kAmbiguousName, nullptr},
      {"A.Txt", Disposition::CreateAlways, false, kAmbiguousName, nullptr},
      {"A.Txt", Disposition::OpenOrCreate, false, kAmbiguousName, nullptr},
      {"none.txt", Disposition::OpenExisting, false, 2, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    File f;
    EXPECT_EQ(f.open(path(c.asked), Access::ReadWrite, Share::Shared, c.disp), c.ok);
    EXPECT_EQ(lastOsError(), c.code);
    if (c.onDisk) {
      EXPECT_EQ(f.path(), path(c.onDisk));
    }
  }
  EXPECT_EQ(read("NALOZI.DBF"), "orders");
  EXPECT_EQ(read("A.TXT"), "big");
  EXPECT_EQ(names(), original());

  // A truncating create takes the existing file over rather than adding a second one.
  File f;
  ASSERT_TRUE(
      f.open(path("nalozi.dbf"), Access::ReadWrite, Share::Exclusive, Disposition::CreateAlways));
  EXPECT_EQ(f.path(), path("NALOZI.DBF"));
  EXPECT_EQ(f.size(), 0);
  f.close();
  EXPECT_EQ(names(), original());
  // A name that is there in no case at all is created as written.
  ASSERT_TRUE(f.open(path("New.Dbf"), Access::ReadWrite, Share::Shared, Disposition::CreateNew));
  EXPECT_TRUE(names().count("New.Dbf"));
}

TEST_F(CaseDirTest, AnAmbiguousNameIsReportedWithEveryFile) {
  File f;
  EXPECT_FALSE(f.open(path("A.Txt"), Access::Read, Share::Shared, Disposition::OpenExisting));
  EXPECT_EQ(reportedName(path("A.Txt")), twinsText("A.Txt"));
  EXPECT_EQ(reportedName(path("other")), path("other"));
  // A later failure of another kind reports its name alone.
  EXPECT_FALSE(f.open(path("none"), Access::Read, Share::Shared, Disposition::OpenExisting));
  EXPECT_EQ(reportedName(path("A.Txt")), path("A.Txt"));
  // Three files: all named.
  write("a.TXT", "third");
  EXPECT_FALSE(deleteFile(path("A.txt")));
  EXPECT_EQ(lastOsError(), kAmbiguousName);
  EXPECT_EQ(reportedName(path("A.txt")), path("A.txt") + " (" + path("A.TXT") + ", " +
                                             path("a.TXT") + " and " + path("a.txt") +
                                             " differ only in case)");
}

TEST_F(CaseDirTest, ExistenceSearchDeleteAndRenameFoldCase) {
  EXPECT_TRUE(fileExists(path("nalozi.dbf")));
  EXPECT_TRUE(fileExists(path("A.Txt")));  // the name exists, twice
  EXPECT_FALSE(fileExists(path("sub")));
  EXPECT_FALSE(fileExists(path("SUB")));
  EXPECT_FALSE(fileExists(path("nalozi.dbt")));

  // Names matching as written win; the pattern is folded only when none does.
  EXPECT_EQ(findFirst(path("*.TXT")), path("A.TXT"));
  EXPECT_EQ(findFirst(path("*.Txt")), path("b.Txt"));
  EXPECT_EQ(findFirst(path("*.dbf")), path("NALOZI.DBF"));
  EXPECT_EQ(findFirst(path("n*")), path("NALOZI.DBF"));
  EXPECT_EQ(findFirst(path("nalozi.NTX")), path("Nalozi.ntx"));
  EXPECT_EQ(findFirst(path("s*")), "");  // directories are not matched in any case

  EXPECT_FALSE(deleteFile(path("A.Txt")));
  EXPECT_EQ(lastOsError(), kAmbiguousName);
  EXPECT_EQ(names(), original());
  EXPECT_TRUE(deleteFile(path("NALOZI.ntx")));
  EXPECT_FALSE(names().count("Nalozi.ntx"));

  EXPECT_FALSE(renameFile(path("b.txt"), path("a.TXT")));  // the target exists under two cases
  EXPECT_EQ(lastOsError(), 80);
  EXPECT_FALSE(renameFile(path("b.txt"), path("NALOZI.dbf")));  // and under another case
  EXPECT_EQ(lastOsError(), 80);
  EXPECT_TRUE(renameFile(path("nalozi.dbf"), path("Nalozi.dbf")));  // only its case changes
  EXPECT_EQ(read("Nalozi.dbf"), "orders");
  EXPECT_FALSE(names().count("NALOZI.DBF"));
}
