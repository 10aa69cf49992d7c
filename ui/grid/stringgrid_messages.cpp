// The messages of TStringGrid, in the library's registration order (after those of
// TWinControl). The cell editor, the footer, the search line, image lists and FitToCol are
// kept as settings or answer nothing: this grid has no editor, footer or search line.
#include "ui/core/messages.h"
#include "ui/grid/stringgrid.h"

namespace kv::ui {

namespace {

// Array settings: anything but an array raises library error 1 and changes nothing.
bool arrayArg(const Value& v, std::string_view operation, Args args) {
  const Value& d = v.deref();
  if (d.isArray() && !d.isObject()) return true;
  guiError(kGuiArgument, operation, args);
  return false;
}

std::vector<int> numbersOf(const Value& v) {
  std::vector<int> out;
  if (const ArrayData* a = v.deref().arr()) {
    for (const Value& e : a->items) out.push_back(e.deref().isNumber() ? e.deref().asInt() : 0);
  }
  return out;
}

std::vector<std::string> stringsOf(const Value& v) {
  std::vector<std::string> out;
  if (const ArrayData* a = v.deref().arr()) {
    for (const Value& e : a->items) out.emplace_back(e.deref().isString() ? e.deref().str() : "");
  }
  return out;
}

Value arrayOf(const std::vector<int>& numbers) {
  Value a = Value::newArray();
  for (int n : numbers) a.arr()->items.emplace_back(n);
  return a;
}

Value arrayOf(const std::vector<std::string>& strings) {
  Value a = Value::newArray();
  for (const std::string& s : strings) a.arr()->items.emplace_back(s);
  return a;
}

template <std::vector<int> StringGrid::*List>
void numberList(ClassDef* cls, const char* name, const char* setter) {
  property<StringGrid>(
      cls, name, [](StringGrid& g) { return arrayOf(g.*List); },
      [setter](StringGrid& g, const Value& v, Args a) {
        if (!arrayArg(v, setter, a)) return;
        g.*List = numbersOf(v);
        g.repaintGrid();
      });
}

template <bool StringGrid::*Flag>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<StringGrid>(
      cls, name, [](StringGrid& g) { return Value(g.*Flag); },
      [setter](StringGrid& g, const Value& v, Args a) {
        if (boolArg(v, g.*Flag, setter, a)) g.repaintGrid();
      });
}

template <int StringGrid::*Number>
void number(ClassDef* cls, const char* name, const char* setter) {
  property<StringGrid>(
      cls, name, [](StringGrid& g) { return Value(g.*Number); },
      [setter](StringGrid& g, const Value& v, Args a) {
        if (intArg(v, g.*Number, setter, a)) g.repaintGrid();
      });
}

Value nothing(StringGrid&, Args) {
  return Value();
}

}  // namespace

void registerStringGrid(ClassDef* cls) {
  numberList<&StringGrid::alignments>(cls, "Alignments", "_ALIGNMENTS");
  flag<&StringGrid::allowEdit>(cls, "AllowEdit", "_ALLOWEDIT");
  flag<&StringGrid::allowSelect>(cls, "AllowSelect", "_ALLOWSELECT");
  flag<&StringGrid::autoExpand>(cls, "AutoExpand", "_AUTOEXPAND");
  number<&StringGrid::borderStyle>(cls, "BorderStyle", "_BORDERSTYLE");
  property<StringGrid>(
      cls, "Col", [](StringGrid& g) { return Value(g.col()); },
      [](StringGrid& g, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_COL", a)) g.setCol(n);
      });
  method<StringGrid>(cls, "DataEof", [](StringGrid& g, Args) -> Value {
    return Value(g.dataCursor() < 1 || g.dataCursor() > static_cast<int>(g.items().arrayLen()));
  });
  method<StringGrid>(cls, "DataFirst", [](StringGrid& g, Args) -> Value {
    g.setDataCursor(1);
    return Value();
  });
  method<StringGrid>(cls, "DataLast", [](StringGrid& g, Args) -> Value {
    g.setDataCursor(static_cast<int>(g.items().arrayLen()));
    return Value();
  });
  method<StringGrid>(cls, "DataMoveBy", [](StringGrid& g, Args a) -> Value {
    g.setDataCursor(g.dataCursor() + arg(a, 0).deref().asInt());
    return Value();
  });
  method<StringGrid>(cls, "DataMoveTo", [](StringGrid& g, Args a) -> Value {
    g.setDataCursor(arg(a, 0).deref().asInt());
    return Value();
  });
  method<StringGrid>(cls, "DataNext", [](StringGrid& g, Args) -> Value {
    g.setDataCursor(g.dataCursor() + 1);
    return Value();
  });
  method<StringGrid>(cls, "DataPrev", [](StringGrid& g, Args) -> Value {
    g.setDataCursor(g.dataCursor() - 1);
    return Value();
  });
  method<StringGrid>(cls, "DataRecordCount", [](StringGrid& g, Args) -> Value {
    return Value(static_cast<int>(g.items().arrayLen()));
  });
  method<StringGrid>(cls, "FitToCol", nothing);
  number<&StringGrid::fixedCols>(cls, "FixedCols", "_FIXEDCOLS");
  number<&StringGrid::focusStyle>(cls, "FocusStyle", "_FOCUSSTYLE");
  property<StringGrid>(
      cls, "Footer", [](StringGrid& g) { return arrayOf(g.footer); },
      [](StringGrid& g, const Value& v, Args a) {
        if (arrayArg(v, "_FOOTER", a)) g.footer = stringsOf(v);
      });
  numberList<&StringGrid::footerAlignments>(cls, "FooterAlignments", "_FOOTERALIGNMENTS");
  readOnly<StringGrid>(cls, "FooterFont", [](StringGrid& g) { return g.footerFontObject(); });
  readOnly<StringGrid>(cls, "FooterImageList", [](StringGrid&) { return Value(); });
  method<StringGrid>(cls, "GetBookmark",
                     [](StringGrid& g, Args) -> Value { return Value(g.dataCursor()); });
  method<StringGrid>(cls, "GetData",
                     [](StringGrid& g, Args a) -> Value { return g.dataText(arg(a, 0).asInt()); });
  number<&StringGrid::gridLineColor>(cls, "GridColor", "_GRIDCOLOR");
  flag<&StringGrid::gridHorizontal>(cls, "GridHorizontal", "_GRIDHORIZONTAL");
  flag<&StringGrid::gridVertical>(cls, "GridVertical", "_GRIDVERTICAL");
  property<StringGrid>(
      cls, "Header", [](StringGrid& g) { return arrayOf(g.header); },
      [](StringGrid& g, const Value& v, Args a) {
        if (arrayArg(v, "_HEADER", a)) g.setHeaderCaptions(stringsOf(v));
      });
  numberList<&StringGrid::headerAlignments>(cls, "HeaderAlignments", "_HEADERALIGNMENTS");
  readOnly<StringGrid>(cls, "HeaderFont", [](StringGrid& g) { return g.headerFontObject(); });
  readOnly<StringGrid>(cls, "HeaderImageList", [](StringGrid&) { return Value(); });
  method<StringGrid>(cls, "HideEditor", nothing);
  property<StringGrid>(
      cls, "Items", [](StringGrid& g) { return g.items(); },
      [](StringGrid& g, const Value& v, Args a) { g.setItems(v, a); });
  readOnly<StringGrid>(cls, "LeftCol", [](StringGrid& g) { return Value(g.leftCol()); });
  flag<&StringGrid::multiLine>(cls, "MultiLine", "_MULTILINE");
  number<&StringGrid::normalColor>(cls, "NormalColor", "_NORMALCOLOR");
  event<StringGrid>(cls, "OnChange", kOnChange);
  event<StringGrid>(cls, "OnColResize", kOnColResize);
  event<StringGrid>(cls, "OnDrawCell", kOnDrawCell);
  event<StringGrid>(cls, "OnEnterEditor", kOnEnterEditor);
  event<StringGrid>(cls, "OnExitEditor", kOnExitEditor);
  event<StringGrid>(cls, "OnFooterClick", kOnFooterClick);
  event<StringGrid>(cls, "OnHeaderClick", kOnHeaderClick);
  event<StringGrid>(cls, "OnSearch", kOnSearch);
  method<StringGrid>(cls, "Refresh", [](StringGrid& g, Args) -> Value {
    g.refresh();
    return Value();
  });
  property<StringGrid>(
      cls, "Row", [](StringGrid& g) { return Value(g.recordCount() > 0 ? g.row() : 0); },
      [](StringGrid& g, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_ROW", a)) g.setRow(n);
      });
  property<StringGrid>(
      cls, "RowHeight", [](StringGrid& g) { return Value(g.rowHeight()); },
      [](StringGrid& g, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_ROWHEIGHT", a)) g.setRowHeight(n);
      });
  readOnly<StringGrid>(cls, "RowPos", [](StringGrid& g) { return Value(g.rowPos()); });
  flag<&StringGrid::rowSelect>(cls, "RowSelect", "_ROWSELECT");
  property<StringGrid>(
      cls, "ScrollBars", [](StringGrid& g) { return Value(g.scrollBars()); },
      [](StringGrid& g, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_SCROLLBARS", a)) g.setScrollBars(n);
      });
  number<&StringGrid::selectedFocusColor>(cls, "SelectedFocusColor", "_SELECTEDFOCUSCOLOR");
  readOnly<StringGrid>(cls, "SelectedFont", [](StringGrid& g) { return g.selectedFontObject(); });
  number<&StringGrid::selectedUnfocusColor>(cls, "SelectedUnfocusColor", "_SELECTEDUNFOCUSCOLOR");
  method<StringGrid>(cls, "SetBookmark", [](StringGrid& g, Args a) -> Value {
    g.setDataCursor(arg(a, 0).deref().asInt());
    return Value();
  });
  method<StringGrid>(cls, "ShowEditor", nothing);
  flag<&StringGrid::showFooter>(cls, "ShowFooter", "_SHOWFOOTER");
  property<StringGrid>(
      cls, "ShowHeader", [](StringGrid& g) { return Value(g.showHeader()); },
      [](StringGrid& g, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_SHOWHEADER", a)) g.setShowHeader(on);
      });
  flag<&StringGrid::showSearch>(cls, "ShowSearch", "_SHOWSEARCH");
  property<StringGrid>(
      cls, "Sizes", [](StringGrid& g) { return arrayOf(g.sizes); },
      [](StringGrid& g, const Value& v, Args a) {
        if (arrayArg(v, "_SIZES", a)) g.setSizes(numbersOf(v));
      });
  readOnly<StringGrid>(cls, "TopRow",
                       [](StringGrid& g) { return Value(g.recordCount() > 0 ? g.topRow() : 0); });
  flag<&StringGrid::wordWrap>(cls, "WordWrap", "_WORDWRAP");
}

}  // namespace kv::ui
