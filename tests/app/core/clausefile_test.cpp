// The clause file: the memo's lines each ended by CR LF (two lines, none, empty lines, a text
// without a final CR LF), a file read back and saved again byte for byte with the national
// letters of Windows-1250, a save that goes through a new file renamed over the old one, and a
// save that fails: its box names the file and the reason, and the old clause stays.
#include <unistd.h>

#include "app/core/clausefile.h"
#include "app/core/messagedlg.h"
#include "support/datadir_fixture.h"

using namespace kv;
using kvtest::DataDirTest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_boxes;  // "N: text"

Value recordingDlg(const Value& text, const Value& type, const Value&, const Value&, const Value&) {
  g_boxes.push_back(std::to_string(type.deref().asInt()) + ": " + std::string(text.deref().str()));
  return Value(1);
}

class ClauseFileTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    app::setMessageDlg(&recordingDlg);
    g_boxes.clear();
  }
  void TearDown() override {
    app::setMessageDlg(nullptr);
    DataDirTest::TearDown();
  }
};

// "Ugovor: čćšžđ ČĆŠŽĐ" in Windows-1250.
const std::string kNational = "Ugovor: \xE8\xE6\x9A\x9E\xF0 \xC8\xC6\x8A\x8E\xD0";

}  // namespace

TEST(ClauseText, EveryLineIsEndedByCarriageReturnAndLineFeed) {
  struct Case {
    std::string memo;
    std::vector<std::string> lines;
    std::string file;
  } cases[] = {
      {"", {}, ""},
      {"jedan", {"jedan"}, "jedan\r\n"},
      {"prvi red\r\ndrugi red", {"prvi red", "drugi red"}, "prvi red\r\ndrugi red\r\n"},
      {"prvi red\r\ndrugi red\r\n", {"prvi red", "drugi red"}, "prvi red\r\ndrugi red\r\n"},
      {"\r\n", {""}, "\r\n"},
      {"a\r\n\r\n\r\nb", {"a", "", "", "b"}, "a\r\n\r\n\r\nb\r\n"},
      {"  uvuceno  \r\n", {"  uvuceno  "}, "  uvuceno  \r\n"},
      // Only CR LF ends a line; a lone CR or LF is a byte of the line.
      {"a\nb\rc", {"a\nb\rc"}, "a\nb\rc\r\n"},
      {kNational, {kNational}, kNational + "\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(app::memoLines(c.memo), c.lines) << c.memo;
    EXPECT_EQ(app::clauseFileText(c.memo), c.file) << c.memo;
    // What is saved reads back as the same lines and saves again as the same bytes.
    EXPECT_EQ(app::clauseFileText(c.file), c.file) << c.memo;
  }
}

TEST(ClauseText, TheReasonsOfTheSystemsCodes) {
  EXPECT_EQ(app::osReasonText(5), "pristup je odbijen");
  EXPECT_EQ(app::osReasonText(112), "disk je pun");
  EXPECT_EQ(app::osReasonText(1234), "greska sistema 1234");
  EXPECT_EQ(app::clauseSaveFailedText("/x/klauzula.txt", 3),
            "Tekst klauzule nije snimljen u datoteku /x/klauzula.txt: folder ne postoji (kod 3).");
}

TEST_F(ClauseFileTest, AMissingFileIsAnEmptyClauseAndASavedOneReadsBackByteForByte) {
  EXPECT_EQ(app::readClause(), "");
  ASSERT_TRUE(app::saveClause("Prvi red\r\n" + kNational));
  EXPECT_EQ(bytes("klauzula.txt"), "Prvi red\r\n" + kNational + "\r\n");
  EXPECT_EQ(app::readClause(), "Prvi red\r\n" + kNational + "\r\n");
  ASSERT_TRUE(app::saveClause(app::readClause()));
  EXPECT_EQ(bytes("klauzula.txt"), "Prvi red\r\n" + kNational + "\r\n");
  ASSERT_TRUE(app::saveClause(""));
  EXPECT_TRUE(exists("klauzula.txt"));
  EXPECT_EQ(bytes("klauzula.txt"), "");
  EXPECT_TRUE(g_boxes.empty());
  // Nothing is left beside it.
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) ++files;
  EXPECT_EQ(files, 1);
}

// The old file is never opened for writing: a new file is renamed over it, so a link to the
// old one still holds the old clause whole (as a crash midway would leave the file).
TEST_F(ClauseFileTest, TheSaveReplacesTheFileInsteadOfTruncatingIt) {
  kvtest::writeFile("klauzula.txt", "stara klauzula\r\n");
  fs::create_hard_link("klauzula.txt", "stara.txt");
  ASSERT_TRUE(app::saveClause("nova klauzula"));
  EXPECT_EQ(bytes("klauzula.txt"), "nova klauzula\r\n");
  EXPECT_EQ(bytes("stara.txt"), "stara klauzula\r\n");
}

// A file of another case is the clause file (the shop's other stations see one file).
TEST_F(ClauseFileTest, AFileNamedInAnotherCaseIsTheClauseFile) {
  kvtest::writeFile("Klauzula.TXT", "stara\r\n");
  EXPECT_EQ(app::readClause(), "stara\r\n");
  ASSERT_TRUE(app::saveClause("nova"));
  EXPECT_EQ(bytes("Klauzula.TXT"), "nova\r\n");
  EXPECT_FALSE(exists("klauzula.txt"));  // no second file beside it
}

TEST_F(ClauseFileTest, AFailedSaveSaysWhyAndKeepsTheOldClause) {
  // Two files differing from the name only in case: it is ambiguous, nothing is written.
  kvtest::writeFile("Klauzula.txt", "prva\r\n");
  kvtest::writeFile("KLAUZULA.TXT", "druga\r\n");
  EXPECT_FALSE(app::saveClause("nova"));
  ASSERT_EQ(g_boxes.size(), 1u);
  const std::string full = (fs::current_path() / "klauzula.txt").string();
  EXPECT_EQ(g_boxes[0], "2: " + app::clauseSaveFailedText(full, 80));
  EXPECT_NE(g_boxes[0].find(full), std::string::npos);
  EXPECT_EQ(bytes("Klauzula.txt"), "prva\r\n");
  EXPECT_EQ(bytes("KLAUZULA.TXT"), "druga\r\n");
  fs::remove("KLAUZULA.TXT");
  fs::remove("Klauzula.txt");

  // A directory where the clause file should be.
  fs::create_directory("klauzula.txt");
  g_boxes.clear();
  EXPECT_FALSE(app::saveClause("nova"));
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].rfind("2: Tekst klauzule nije snimljen u datoteku " + full + ": ", 0), 0u);
  EXPECT_TRUE(fs::is_directory("klauzula.txt"));
}
