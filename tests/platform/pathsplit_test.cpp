// Splitting file names: drive, directory, name and extension, with both separators, dots in
// directories, "." and "..", leading blanks and the 260-character limit.
#include "platform/pathsplit.h"

#include <gtest/gtest.h>

using namespace kv::platform;

namespace {

struct Split {
  std::string path;
  std::string drive;
  std::string dir;
  const char* name;
  const char* ext;
};

class PathSplitTest : public ::testing::TestWithParam<Split> {};

TEST_P(PathSplitTest, Parts) {
  const Split& c = GetParam();
  const PathParts p = splitPath(c.path);
  EXPECT_EQ(p.drive, c.drive);
  EXPECT_EQ(p.dir, c.dir);
  EXPECT_EQ(p.name, c.name);
  EXPECT_EQ(p.ext, c.ext);
  EXPECT_EQ(extractFilePath(c.path), c.drive + c.dir);
  EXPECT_EQ(extractFileName(c.path), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PathSplitTest,
    ::testing::Values(
        Split{"C:\\dir\\prog.exe", "C:", "\\dir\\", "prog", ".exe"},
        Split{"prog.exe", "", "", "prog", ".exe"}, Split{"C:\\dir\\", "C:", "\\dir\\", "", ""},
        Split{"C:\\my.dir\\prog", "C:", "\\my.dir\\", "prog", ""},
        Split{"archive.tar.gz", "", "", "archive.tar", ".gz"},
        Split{"/opt/kalvedo/bin/kalvedo", "", "/opt/kalvedo/bin/", "kalvedo", ""},
        Split{"a/b\\c.txt", "", "a/b\\", "c", ".txt"}, Split{"name.", "", "", "name", "."},
        Split{"dir\\..", "", "dir\\..", "", ""}, Split{".", "", ".", "", ""},
        Split{"C:..", "C:", "..", "", ""}, Split{"C:prog.exe", "C:", "", "prog", ".exe"},
        Split{"   C:\\x\\y.ini", "C:", "\\x\\", "y", ".ini"},
        Split{"\\dir\\prog.ex  ", "", "\\dir\\", "prog", ".ex"},
        Split{".hidden", "", "", "", ".hidden"}, Split{"", "", "", "", ""},
        // Only the first 260 characters count: the extension is cut away.
        Split{std::string(255, 'a') + "\\prog.exe", "", std::string(255, 'a') + "\\", "prog", ""}));

}  // namespace
