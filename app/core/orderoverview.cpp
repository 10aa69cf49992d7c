#include "app/core/orderoverview.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "engine/area/dbfunc.h"
#include "runtime/format/dates.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lib/strings.h"

namespace kv::app {

using namespace kv::engine;

namespace {

// The field numbers of the row's fields in the current area, looked up once per fill.
struct RowFields {
  Value brNal, datNal, korisnik, proizvodja, model, serijskiBr, uObradi, zavrsen;
  RowFields()
      : brNal(FIELDPOS(Value("BrNal"))),
        datNal(FIELDPOS(Value("DatNal"))),
        korisnik(FIELDPOS(Value("Korisnik"))),
        proizvodja(FIELDPOS(Value("Proizvodja"))),
        model(FIELDPOS(Value("Model"))),
        serijskiBr(FIELDPOS(Value("SerijskiBr"))),
        uObradi(FIELDPOS(Value("U_Obradi"))),
        zavrsen(FIELDPOS(Value("Zavrsen"))) {}

  Value row() const {
    Value r = Value::newArray();
    auto& items = r.arr()->items;
    items.reserve(kOverviewColumns);
    items.push_back(FIELDGET(brNal));
    items.push_back(DTOC(FIELDGET(datNal)));
    items.push_back(FIELDGET(korisnik));
    items.push_back(FIELDGET(proizvodja));
    items.push_back(FIELDGET(model));
    items.push_back(FIELDGET(serijskiBr));
    items.emplace_back(orderStatusText(FIELDGET(zavrsen).asBool(), FIELDGET(uObradi).asBool()));
    return r;
  }
};

std::string rtrim(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

std::string_view cell(const Value& row, int column) {
  const Value& r = row.deref();
  if (!r.isArray() || r.arrayLen() < static_cast<std::size_t>(column)) return {};
  return r.arr()->items[column - 1].str();
}

// Clears the filter of the current area on every way out.
class FilterScope {
 public:
  FilterScope() = default;
  ~FilterScope() {
    if (set_) DBCLEARFILTER();
  }
  FilterScope(const FilterScope&) = delete;
  FilterScope& operator=(const FilterScope&) = delete;
  void set(const Value& block, const std::string& text) {
    DBSETFILTER(block, Value(text));
    set_ = true;
  }

 private:
  bool set_ = false;
};

}  // namespace

const char* orderStatusText(bool zavrsen, bool uObradi) {
  if (zavrsen) return "Zavrsen";
  if (uObradi) return "u Obradi";
  return "na Cekanju";
}

Value overviewRow() {
  return RowFields().row();
}

Value deletedOverviewRow() {
  const Value row = overviewRow();
  Value out = Value::newArray();
  for (int c = 1; c <= kOverviewColumns; ++c) {
    const std::string_view t = cell(row, c);
    out.arr()->items.emplace_back("(" + (c >= 3 && c <= 6 ? rtrim(t) : std::string(t)) + ")");
  }
  return out;
}

Value buildOverview() {
  DBSELECTAREA(Value("Nalozi"));
  const RowFields fields;
  ValueVector rows;
  rows.reserve(static_cast<std::size_t>(std::max(0, __LASTREC().asInt())));
  DBGOTOP();
  while (!__EOF().asBool()) {
    eventPoll();
    rows.push_back(fields.row());
    DBSKIP();
  }
  Value out = Value::newArray();
  out.arr()->items = std::move(rows);
  return out;
}

Value buildFilteredOverview(std::string_view search) {
  DBSELECTAREA(Value("Nalozi"));
  FilterScope filter;
  if (!search.empty()) {
    const std::string want = upperText(search);
    const Value korisnik = FIELDPOS(Value("Korisnik")), kontakt = FIELDPOS(Value("Kontakt")),
                model = FIELDPOS(Value("Model")), serijskiBr = FIELDPOS(Value("SerijskiBr"));
    filter.set(makeBlock([=](Args) {
                 std::string all(FIELDGET(korisnik).str());
                 all += FIELDGET(kontakt).str();
                 all += FIELDGET(model).str();
                 all += FIELDGET(serijskiBr).str();
                 return Value(upperText(all).find(want) != std::string::npos);
               }),
               "upper(\"" + std::string(search) + "\") $ upper(Korisnik+Kontakt+Model+SerijskiBr)");
  }
  return buildOverview();
}

int overviewRowOfNumber(const Value& rows, std::string_view numberText) {
  const Value& r = rows.deref();
  // After a fill of a table without gaps, order n is row n: looked at first, as a save of a
  // long history would otherwise compare every row.
  if (numberText.size() == 5 &&
      numberText.find_first_not_of("0123456789") == std::string_view::npos) {
    const std::size_t n = static_cast<std::size_t>(std::stoi(std::string(numberText)));
    if (n >= 1 && n <= r.arrayLen() && cell(r.arr()->items[n - 1], 1) == numberText)
      return static_cast<int>(n);
  }
  for (std::size_t i = 0; i < r.arrayLen(); ++i)
    if (cell(r.arr()->items[i], 1) == numberText) return static_cast<int>(i) + 1;
  return 0;
}

int putOverviewRow(const Value& rows, const Value& row) {
  const Value& r = rows.deref();
  const int at = overviewRowOfNumber(r, cell(row, 1));
  if (at > 0) {
    r.arr()->items[at - 1] = row;
    return at;
  }
  r.arr()->items.push_back(row);
  return static_cast<int>(r.arrayLen());
}

int overviewRowContaining(const Value& rows, std::string_view numberText) {
  if (numberText.empty()) return 0;
  const Value& r = rows.deref();
  for (std::size_t i = 0; i < r.arrayLen(); ++i)
    if (upperText(cell(r.arr()->items[i], 1)).find(numberText) != std::string::npos)
      return static_cast<int>(i) + 1;
  return 0;
}

int searchOverview(const Value& rows, std::string_view search) {
  if (search.empty()) return 0;
  const std::string want = upperText(search);
  const Value& r = rows.deref();
  std::string joined;
  for (std::size_t i = 0; i < r.arrayLen(); ++i) {
    const Value& row = r.arr()->items[i];
    joined.assign(cell(row, 3));
    joined += cell(row, 5);
    joined += cell(row, 6);
    if (upperText(joined).find(want) != std::string::npos) return static_cast<int>(i) + 1;
  }
  return 0;
}

void sortOverview(const Value& rows, int column, bool& descending) {
  if (column < 1 || column > kOverviewColumns) return;
  const Value& r = rows.deref();
  if (!r.isArray()) return;
  ValueVector& items = r.arr()->items;
  const std::size_t n = items.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  if (column == kOverviewDateColumn) {
    std::vector<std::int32_t> days(n);
    for (std::size_t i = 0; i < n; ++i) {
      std::string_view t = cell(items[i], column);
      if (t.size() >= 2 && t.front() == '(' && t.back() == ')') t = t.substr(1, t.size() - 2);
      days[i] = CTOD(Value(t)).julian();
    }
    if (descending)
      std::stable_sort(order.begin(), order.end(),
                       [&](std::size_t a, std::size_t b) { return days[a] > days[b]; });
    else
      std::stable_sort(order.begin(), order.end(),
                       [&](std::size_t a, std::size_t b) { return days[a] < days[b]; });
  } else {
    std::vector<std::string> keys(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = upperText(cell(items[i], column));
    if (descending)
      std::stable_sort(order.begin(), order.end(),
                       [&](std::size_t a, std::size_t b) { return keys[a] > keys[b]; });
    else
      std::stable_sort(order.begin(), order.end(),
                       [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  }
  ValueVector sorted;
  sorted.reserve(n);
  for (std::size_t i : order) sorted.push_back(std::move(items[i]));
  items = std::move(sorted);
  descending = !descending;
}

}  // namespace kv::app
