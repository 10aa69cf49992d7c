// Settings files: lookups regardless of case, odd contents that must read without harm,
// changes that keep every other byte, and the file operations (missing file, first write,
// delete of an absent key, the 1023-character limit).
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"

using namespace kv::platform;
namespace fs = std::filesystem;

namespace {

struct Lookup {
  const char* contents;
  const char* section;
  const char* key;
  const char* expect;  // nullptr: not found
};

class ProfileLookupTest : public ::testing::TestWithParam<Lookup> {};

TEST_P(ProfileLookupTest, FindsTheValue) {
  const Lookup& c = GetParam();
  const auto found = findProfileValue(c.contents, c.section, c.key);
  if (c.expect == nullptr) {
    EXPECT_FALSE(found.has_value()) << *found;
  } else {
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, c.expect);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Contents, ProfileLookupTest,
    ::testing::Values(
        Lookup{"[Stampa]\r\nJezik=Srpski\r\n", "Stampa", "Jezik", "Srpski"},
        Lookup{"[stampa]\nJEZIK=Hrvatski\n", "STAMPA", "jezik", "Hrvatski"},
        Lookup{"  [ Stampa ]  \n  Jezik  =  Srpski  \n", "Stampa", "Jezik", "Srpski"},
        Lookup{"[Stampa]\nJezik=Srpski", "Stampa", "Jezik", "Srpski"},  // no final line end
        Lookup{"Jezik=Srpski\n", "Stampa", "Jezik", nullptr},           // no section at all
        Lookup{"Jezik=x\n[Stampa]\nBroj=1\n", "Stampa", "Jezik", nullptr},
        Lookup{"[A]\nk=1\n[B]\nk=2\n", "B", "k", "2"},
        Lookup{"[A]\nk=1\n[A]\nk=2\n", "A", "k", "1"},  // the first section wins
        Lookup{"[A]\nk=1\nk=2\n", "A", "k", "1"},       // and the first key in it
        Lookup{"[A]\n[B]\nk=2\n", "A", "k", nullptr}, Lookup{"[A]\nk=\n", "A", "k", ""},
        Lookup{"[A]\nk=a=b\n", "A", "k", "a=b"},
        Lookup{"[A]\nk=\"quoted text\"\n", "A", "k", "quoted text"},
        Lookup{"[A]\nk='x'\n", "A", "k", "x"}, Lookup{"[A]\nk=\"x\n", "A", "k", "\"x"},
        Lookup{"[A]\n;k=1\nk=2\n", "A", "k", "2"},
        Lookup{"[Zaglavlje]\r\nNaziv firme=\x8A\x9A\xE8\xE6\x9E\r\n", "Zaglavlje", "naziv FIRME",
               "\x8A\x9A\xE8\xE6\x9E"},
        Lookup{"\xFF\xFE garbage\n[A\nk=1\n", "A", "k", nullptr}, Lookup{"", "A", "k", nullptr}));

struct Change {
  const char* before;
  const char* section;
  const char* key;
  const char* value;  // nullptr: delete the key
  const char* after;
};

class ProfileChangeTest : public ::testing::TestWithParam<Change> {};

TEST_P(ProfileChangeTest, KeepsEveryOtherByte) {
  const Change& c = GetParam();
  std::optional<std::string_view> v;
  if (c.value) v = c.value;
  EXPECT_EQ(withProfileValue(c.before, c.section, c.key, v), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, ProfileChangeTest,
    ::testing::Values(
        Change{"", "Stampa", "Jezik", "Srpski", "[Stampa]\r\nJezik=Srpski\r\n"},
        Change{"[Stampa]\r\nJezik=Srpski\r\nBroj=1\r\n", "stampa", "JEZIK", "Hrvatski",
               "[Stampa]\r\nJezik=Hrvatski\r\nBroj=1\r\n"},
        // LF lines stay LF lines; only the new line gets CR LF.
        Change{"[A]\nx=1\n\n[B]\ny=2\n", "A", "z", "3", "[A]\nx=1\nz=3\r\n\n[B]\ny=2\n"},
        Change{"[A]\nx=1", "A", "z", "3", "[A]\nx=1\r\nz=3\r\n"},
        Change{"[A]\nx=1", "A", "x", "2", "[A]\nx=2"},
        Change{"[A]\r\nx=1\r\n", "B", "y", "2", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"},
        Change{"no section\n\xE8", "B", "y", "2", "no section\n\xE8\r\n\r\n[B]\r\ny=2\r\n"},
        Change{"[A]\r\nk=\xE8\r\n", "A", "j", "\x9A", "[A]\r\nk=\xE8\r\nj=\x9A\r\n"},
        // A line end inside a value would start a line of its own.
        Change{"", "A", "k", "a\r\n[B]", "[A]\r\nk=a  [B]\r\n"},
        Change{"[A]\r\nx=1\r\ny=2\r\n", "A", "x", nullptr, "[A]\r\ny=2\r\n"},
        Change{"[A]\r\nx=1\r\n", "A", "q", nullptr, "[A]\r\nx=1\r\n"},
        Change{"[A]\r\nx=1\r\n", "B", "x", nullptr, "[A]\r\nx=1\r\n"}));

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = kvtest::freshTempDir("profile"); }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path() const { return (dir_ / "kalvedo.ini").string(); }
  fs::path dir_;
};

TEST_F(ProfileFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
  EXPECT_EQ(readProfileString(path(), "Stampa", "Jezik", "Srpski  "), "Srpski");
  EXPECT_TRUE(deleteProfileKey(path(), "Stampa", "Jezik"));
  EXPECT_FALSE(fs::exists(path()));
  EXPECT_TRUE(writeProfileString(path(), "Stampa", "Jezik", "Hrvatski"));
  EXPECT_EQ(kvtest::readFile(path()), "[Stampa]\r\nJezik=Hrvatski\r\n");
  EXPECT_EQ(readProfileString(path(), "STAMPA", "jezik", "Srpski"), "Hrvatski");
}

TEST_F(ProfileFileTest, LongValueReadsItsFirst1023Characters) {
  const std::string value(2000, 'x');
  writeProfileString(path(), "A", "k", value);
  EXPECT_EQ(readProfileString(path(), "A", "k", ""), value.substr(0, kProfileValueMax));
  EXPECT_EQ(readProfileString(path(), "A", "none", value).size(), kProfileValueMax);
}

TEST_F(ProfileFileTest, DeleteOfAnAbsentKeyLeavesTheFileAlone) {
  kvtest::writeFile(path(), "[A]\nx=1");
  const auto before = fs::last_write_time(path());
  EXPECT_TRUE(deleteProfileKey(path(), "A", "y"));
  EXPECT_EQ(kvtest::readFile(path()), "[A]\nx=1");
  EXPECT_EQ(fs::last_write_time(path()), before);
  EXPECT_TRUE(deleteProfileKey(path(), "a", "X"));
  EXPECT_EQ(kvtest::readFile(path()), "[A]\n");
}

TEST_F(ProfileFileTest, WriteToAnUnwritablePlaceAnswersFalse) {
  EXPECT_FALSE(writeProfileString((dir_ / "missing" / "k.ini").string(), "A", "k", "v"));
}

TEST_F(ProfileFileTest, FileNameIsMatchedRegardlessOfCase) {
  kvtest::writeFile(dir_ / "KALVEDO.INI", "[A]\r\nk=1\r\n");
  EXPECT_EQ(readProfileString(path(), "A", "k", ""), "1");
  writeProfileString(path(), "A", "k", "2");
  EXPECT_EQ(kvtest::readFile(dir_ / "KALVEDO.INI"), "[A]\r\nk=2\r\n");
  EXPECT_FALSE(fs::exists(path()));
}

}  // namespace
