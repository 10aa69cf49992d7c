#include "ui/printer/papergeometry.h"

#include <cmath>
#include <utility>

namespace kv::ui {

namespace {

// PageSize 1 to 31: the print system's paper code and the sheet in millimetres.
constexpr Paper kPapers[kPaperSizes] = {
    {0, 0, 0},           {1, 215.9, 279.4},    {5, 215.9, 355.6},   {8, 297, 420},
    {9, 210, 297},       {11, 148, 210},       {12, 250, 354},      {13, 182, 257},
    {24, 431.8, 558.8},  {25, 558.8, 863.6},   {26, 863.6, 1117.6}, {3, 279.4, 431.8},
    {4, 431.8, 279.4},   {6, 139.7, 215.9},    {7, 184.15, 266.7},  {14, 215.9, 330.2},
    {15, 215, 275},      {29, 324, 458},       {30, 229, 324},      {28, 162, 229},
    {31, 114, 162},      {32, 114, 229},       {33, 250, 353},      {34, 176, 250},
    {35, 176, 125},      {27, 110, 220},       {36, 110, 230},      {37, 98.425, 190.5},
    {38, 92.075, 165.1}, {39, 377.825, 279.4}, {40, 215.9, 304.8},  {41, 215.9, 330.2},
};

// Millimetres as logical units, truncated; the small allowance keeps an exact product such
// as 25.4 mm = 2048 units from falling just below its whole number.
int logicalOf(double mm) {
  return static_cast<int>(std::floor(mm / 25.4 * kLogicalUnitsPerInch + 1e-7));
}

int convert(double mm, int logical, int conv) {
  if (conv <= 0) return 0;
  return static_cast<int>(std::trunc(mm * logical / conv));
}

}  // namespace

Paper paperOf(int value) {
  if (value < 1 || value >= kPaperSizes) return kPapers[0];
  return kPapers[value];
}

PageGeometry pageGeometry(int value, int customWidth, int customHeight, int orientation) {
  PageGeometry g;
  double w = 0, h = 0;
  if (value == kCustomPaper) {
    w = customWidth > 0 ? customWidth : 0;
    h = customHeight > 0 ? customHeight : 0;
  } else {
    const Paper p = paperOf(value);
    g.paperCode = p.code;
    w = p.widthMm;
    h = p.heightMm;
  }
  g.paperWidth = static_cast<int>(w);
  g.paperHeight = static_cast<int>(h);
  g.sheetWidthMm = w;
  g.sheetHeightMm = h;
  g.logicalWidth = logicalOf(w);
  g.logicalHeight = logicalOf(h);
  g.convWidth = g.paperWidth;
  g.convHeight = g.paperHeight;
  if (orientation == kLandscape) {
    std::swap(g.sheetWidthMm, g.sheetHeightMm);
    std::swap(g.logicalWidth, g.logicalHeight);
    std::swap(g.convWidth, g.convHeight);
  }
  return g;
}

int PageGeometry::toLogicalX(double mm) const {
  return convert(mm, logicalWidth, convWidth);
}

int PageGeometry::toLogicalY(double mm) const {
  return convert(mm, logicalHeight, convHeight);
}

}  // namespace kv::ui
