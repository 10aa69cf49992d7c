#pragma once
// Paper and page geometry of the printer. A document is drawn in millimetres from the sheet's
// top-left corner and recorded in a logical space of 2048 units per inch; the geometry of the
// page in use gives both the logical page size and the conversion from millimetres to it.
//
// Paper codes (the PageSize values 0 to 31) stand for the usual paper sizes, each with the
// paper code the print system knows it by; 0 is a custom size given in whole millimetres, any
// other value has the size 0 x 0. In landscape the logical width and height, and the two
// sizes used for conversion, are swapped, so x always runs along the reading direction.
namespace kv::ui {

// A rectangle {left, top, right, bottom} (or a line {x1, y1, x2, y2}) in millimetres from the
// sheet's top-left corner.
struct MmRect {
  double left, top, right, bottom;
};

inline constexpr int kLogicalUnitsPerInch = 2048;
inline constexpr int kPortrait = 0;
inline constexpr int kLandscape = 1;
inline constexpr int kCustomPaper = 0;
inline constexpr int kPaperA4 = 4;
inline constexpr int kPaperSizes = 32;  // values 0 to 31

// One paper of the table: the print system's paper code and the sheet in millimetres,
// portrait (width the short side for the standard sizes).
struct Paper {
  int code;
  double widthMm, heightMm;
};

// The paper of PageSize `value`; {0, 0, 0} for 0 (custom) and for any value outside 1..31.
Paper paperOf(int value);

struct PageGeometry {
  int paperCode = 0;
  // The paper as set, portrait, in whole millimetres (PageWidth, PageHeight).
  int paperWidth = 0, paperHeight = 0;
  // The exact sheet as laid on the page (landscape swapped), in millimetres.
  double sheetWidthMm = 0, sheetHeightMm = 0;
  // The page in logical units, landscape swapped.
  int logicalWidth = 0, logicalHeight = 0;
  // Whole millimetres the conversion divides by, landscape swapped.
  int convWidth = 0, convHeight = 0;

  // Millimetres to logical units: truncate(mm x logical size / conversion size); 0 on a
  // page of no size.
  int toLogicalX(double mm) const;
  int toLogicalY(double mm) const;
};

// The geometry of paper `value` (custom: `customWidth` x `customHeight` whole millimetres) in
// `orientation` (kLandscape swaps; any other value is portrait). The logical size is the
// exact paper size / 25.4 x 2048, truncated.
PageGeometry pageGeometry(int value, int customWidth, int customHeight, int orientation);

}  // namespace kv::ui
