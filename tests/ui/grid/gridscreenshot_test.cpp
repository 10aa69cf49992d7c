// The look of a grid as the work-order overview uses it: a header, rows coloured by their
// status through OnDrawCell, and the selected row, grabbed on the offscreen platform and
// compared with the stored reference picture with a small tolerance (font rendering may
// differ by a shade). KV_WRITE_REFERENCE=1 writes the reference anew.
#include "gridtest.h"

#include <QPixmap>

#include <cstdlib>

#include "runtime/lang/codeblock.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

const char* kReference = KV_TEST_DATA_DIR "/ui/stringgrid_overview.png";

Value order(const char* number, const char* name, const char* status) {
  Value row = Value::newArray();
  for (const char* s : {number, name, status}) row.arr()->items.emplace_back(s);
  return row;
}

class GridScreenshot : public GridTest {};

}  // namespace

TEST_F(GridScreenshot, OverviewWithHeaderColouredRowsAndSelection) {
  Value rows = Value::newArray();
  rows.arr()->items = {order("00051", "Petrovi\xE6 Ana",
                             "Zavr\x9A"
                             "en"),
                       order("00052", "Markovi\xE6 Zoran", "U radu"),
                       order("00053", "Jovanovi\xE6 Milan", "Preuzet"),
                       order("00054", "Nikoli\xE6 Jelena", "U radu"),
                       order("00055", "\x8Eivkovi\xE6 Petar",
                             "Zavr\x9A"
                             "en"),
                       order("00056", "Ili\xE6 Marija", "Preuzet")};
  send(grid, "_RowSelect", {Value(true)});
  send(grid, "_Alignments", {numbers({1, 0, 2})});
  send(grid, "_HeaderAlignments", {numbers({1, 0, 2})});
  send(grid, "_Items", {rows});
  send(grid, "_Row", {Value(3)});
  send(grid, "_OnDrawCell", {makeBlock([this](Args a) {
         send(grid, "DataMoveTo", {arg(a, 1)});
         const std::string status(send(grid, "GetData", {Value(3)}).str());
         if (status == "U radu") assignArg(a, 4, Value(rgbColor(255, 255, 170)));
         if (status == "Preuzet") assignArg(a, 4, Value(rgbColor(200, 230, 255)));
         if (status ==
             "Zavr\x9A"
             "en")
           assignArg(a, 3, Value(rgbColor(0, 110, 0)));
         return Value();
       })});
  send(grid, "SetFocus");
  const QImage image = shot();
  ASSERT_FALSE(image.isNull());
  expectLikeReference(image, kReference);
}
