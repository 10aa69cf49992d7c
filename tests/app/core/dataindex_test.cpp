// A damaged index met by the opening procedure at start-up: rebuilt from its table with the
// damaged file kept as a backup, the user told in a box; the backup and command names.
#include "app/core/dataindex.h"

#include <algorithm>
#include <cstdio>

#include "platform/file.h"
#include "platform/msgbox.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/symbols.h"
#include "support/datadir_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;
namespace fs = std::filesystem;

namespace {

// Data files made by a first start, with 100 orders in Nalozi (so its index has several
// pages and the root is the last one) and a few customers, written as the application does.
class DamagedIndexTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    app::INITDBF();
    app::OtvoriBaze();
    for (int i = kOrders; i >= 1; --i) add("Nalozi", "BRNAL", numberText(i));
    for (const char* name : {"zoran", "Ana", "milan"}) add("Korisnici", "NAZIV", name);
    DBCLOSEALL();
    ASSERT_TRUE(errors.empty());
    ASSERT_GT(fs::file_size("Nalozi.ntx"), 3u * 1024);
  }
  void TearDown() override {
    setErrorLevel(0);
    DataDirTest::TearDown();
  }

  static constexpr int kOrders = 100;

  static std::string numberText(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%05d", n);
    return buf;
  }
  static void add(const char* alias, const char* fieldName, const std::string& value) {
    DBSELECTAREA(Value(alias));
    DBAPPEND();
    ASSERT_TRUE(app::REC_LOCK(Value(0), Value(alias)));
    put(fieldName, Value(value));
    DBUNLOCK();
    DBCOMMIT();
  }
  // The trimmed values of a field in the controlling order of the area.
  static std::vector<std::string> inOrder(const char* alias, const char* fieldName) {
    DBSELECTAREA(Value(alias));
    std::vector<std::string> out;
    for (DBGOTOP(); !__EOF().asBool(); DBSKIP()) out.push_back(trimmed(field(fieldName)));
    return out;
  }
  // Cuts the file off in the middle of its root page (the header's offset 4), as a power
  // failure leaves a file whose last pages never reached the disk.
  static void cutInRootPage(const char* file) {
    const std::string h = bytes(file);
    std::uint32_t root = 0;
    for (int i = 3; i >= 0; --i)
      root = root * 256 + static_cast<unsigned char>(h[4 + std::size_t(i)]);
    ASSERT_GE(root, 1024u);
    fs::resize_file(file, root + 500);
  }
  static void writeAt(const char* file, std::uintmax_t offset, const std::string& data) {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(offset));
    f.write(data.data(), static_cast<std::streamsize>(data.size()));
  }
};

}  // namespace

// Every way an index can fail its open as damaged; each round keeps its damaged file under
// the next free backup name and leaves the earlier backups as they were.
TEST_F(DamagedIndexTest, DamagedIndexIsRebuiltAndKeptAsBackup) {
  struct Case {
    const char* what;
    const char* alias;
    const char* ntx;  // the index file as it is on disk
    std::function<void(const char*)> damage;
    const char* backup;
  } cases[] = {
      {"root page cut off", "Nalozi", "Nalozi.ntx", cutInRootPage, "Nalozi_K01.ntx"},
      {"header cut short", "Nalozi", "Nalozi.ntx", [](const char* f) { fs::resize_file(f, 300); },
       "Nalozi_K02.ntx"},
      {"empty file", "Nalozi", "Nalozi.ntx", [](const char* f) { fs::resize_file(f, 0); },
       "Nalozi_K03.ntx"},
      {"signature overwritten", "Nalozi", "Nalozi.ntx",
       [](const char* f) { writeAt(f, 0, std::string(2, '\0')); }, "Nalozi_K04.ntx"},
      {"key text that does not compile", "Korisnici", "Korisnici.ntx",
       [](const char* f) { writeAt(f, 22, std::string("upper(( ")); }, "Korisnici_K01.ntx"},
      // The backup follows the case of the file on disk, and the earlier backups in another
      // case still count as taken.
      {"index in capitals cut off", "Nalozi", "NALOZI.NTX",
       [](const char* f) {
         fs::rename("Nalozi.ntx", f);
         cutInRootPage(f);
       },
       "NALOZI_K05.NTX"},
  };
  std::vector<std::pair<std::string, std::string>> backups;  // name, damaged bytes
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string ntx = c.ntx;
    c.damage(c.ntx);
    backups.emplace_back(c.backup, bytes(ntx));
    boxes.clear();

    app::OtvoriBaze();
    EXPECT_TRUE(errors.empty());
    for (const auto& [name, damaged] : backups) EXPECT_TRUE(bytes(name) == damaged) << name;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Information");
    EXPECT_EQ(boxes[0].kind, 0);
    EXPECT_EQ(boxes[0].text, "Indeks " + ntx + " je bio ostecen, pa je ponovo napravljen iz baze " +
                                 c.alias + ".dbf. Ostecena datoteka je sacuvana kao " + c.backup +
                                 ".");

    // The rebuilt index controls its table, which is open shared as at any start, and holds
    // every record under the key the data files give.
    DBSELECTAREA(Value(c.alias));
    EXPECT_EQ(INDEXORD().asInt(), 1);
    ASSERT_NE(dynamic_cast<DbfArea*>(currentArea()), nullptr);
    EXPECT_TRUE(dynamic_cast<DbfArea*>(currentArea())->isShared());
    if (std::string(c.alias) == "Nalozi") {
      EXPECT_EQ(upperName(ORDKEY().str()), "BRNAL");
      const std::vector<std::string> numbers = inOrder("Nalozi", "BRNAL");
      ASSERT_EQ(numbers.size(), std::size_t(kOrders));
      for (int i = 1; i <= kOrders; ++i) EXPECT_EQ(numbers[std::size_t(i - 1)], numberText(i));
      EXPECT_TRUE(DBSEEK(Value(numberText(97))).asBool());
      EXPECT_EQ(__RECNO().asInt(), kOrders + 1 - 97);
    } else {
      EXPECT_EQ(upperName(ORDKEY().str()), "UPPER(NAZIV)");
      EXPECT_EQ(inOrder(c.alias, "NAZIV"), (std::vector<std::string>{"Ana", "milan", "zoran"}));
    }
    DBCLOSEALL();
  }
  // Sound indexes are used as they are, and no further backup is made.
  const std::string nalozi = bytes("NALOZI.NTX");
  boxes.clear();
  app::OtvoriBaze();
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(bytes("NALOZI.NTX") == nalozi);
  EXPECT_FALSE(exists("NALOZI_K06.NTX"));
}

// An index that cannot be opened at all is not damage: its error goes to the program's handler
// as before, which ends the program, and nothing is rebuilt.
TEST_F(DamagedIndexTest, IndexThatCannotBeOpenedGoesToTheHandler) {
  platform::File holder;  // the index held exclusively, as by a rebuild elsewhere
  ASSERT_TRUE(holder.open("Nalozi.ntx", platform::Access::ReadWrite, platform::Share::Exclusive,
                          platform::Disposition::OpenExisting));
  EXPECT_THROW(app::OtvoriBaze(), QuitRequest);
  ASSERT_GE(errors.size(), 1u);
  EXPECT_EQ(errors[0].genCode, EG_OPEN);
  EXPECT_EQ(errors[0].subCode, 1003);
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(exists("Nalozi_K01.ntx"));
}

TEST(DataIndexNames, BackupNameFollowsTheIndexName) {
  struct Case {
    const char* file;
    int n;
    const char* backup;
  } cases[] = {
      {"Nalozi.ntx", 1, "Nalozi_K01.ntx"},
      {"NALOZI.NTX", 2, "NALOZI_K02.NTX"},
      {"nalozi.ntx", 3, "nalozi_k03.ntx"},
      {"data/ProizTel.ntx", 100, "data/ProizTel_K100.ntx"},
  };
  for (const Case& c : cases) EXPECT_EQ(app::indexBackupName(c.file, c.n), c.backup) << c.file;
}

TEST(DataIndexNames, ReindexCommandQuotesKeysAShellWouldSplit) {
  EXPECT_EQ(app::reindexCommand("Nalozi.dbf", "Nalozi.ntx", "BrNal"),
            "kalvedo-db reindex Nalozi.dbf Nalozi.ntx BrNal");
  EXPECT_EQ(app::reindexCommand("ProizTel.dbf", "ProizTel.ntx", "upper(Naziv)"),
            "kalvedo-db reindex ProizTel.dbf ProizTel.ntx \"upper(Naziv)\"");
}
