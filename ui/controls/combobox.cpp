#include "ui/controls/combobox.h"

#include <QAbstractItemView>
#include <QComboBox>

#include <algorithm>

#include "runtime/lib/arrays.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

void registerComboBox(ClassDef* cls) {
  property<ComboBox>(
      cls, "DropDownCount", [](ComboBox& c) { return Value(c.dropDownCount()); },
      [](ComboBox& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_DROPDOWNCOUNT", a)) c.setDropDownCount(n);
      });
  property<ComboBox>(
      cls, "DroppedDown", [](ComboBox& c) { return Value(c.droppedDown()); },
      [](ComboBox& c, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_DROPPEDDOWN", a)) c.setDroppedDown(on);
      });
  property<ComboBox>(
      cls, "ItemIndex", [](ComboBox& c) { return Value(c.itemIndex()); },
      [](ComboBox& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_ITEMINDEX", a)) c.setItemIndex(n);
      });
  property<ComboBox>(
      cls, "Items",
      [](ComboBox& c) {
        Value out = Value::newArray(c.items().size());
        for (std::size_t i = 0; i < c.items().size(); ++i)
          out.arr()->items[i] = Value(c.items()[i]);
        return out;
      },
      [](ComboBox& c, const Value& v, Args a) {
        const Value& d = v.deref();
        if (!d.isArray()) {
          guiError(kGuiArgument, "_ITEMS", a);
          return;
        }
        std::vector<std::string> items;
        bool bad = false;
        for (const Value& e : d.arr()->items) {
          const Value& s = e.deref();
          if (!s.isString()) {
            bad = true;
            break;
          }
          items.emplace_back(s.str());
        }
        c.setItems(std::move(items));
        if (bad) guiError(kGuiArgument, "_ITEMS", a);
      });
  property<ComboBox>(
      cls, "Sorted", [](ComboBox& c) { return Value(c.sorted()); },
      [](ComboBox& c, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_SORTED", a)) c.setSorted(on);
      });
  property<ComboBox>(
      cls, "Style", [](ComboBox& c) { return Value(c.style); },
      [](ComboBox& c, const Value& v, Args a) { intArg(v, c.style, "_STYLE", a); });
  event<ComboBox>(cls, "OnChange", kOnChange);
}

LibObject* makeComboBox() {
  return new ComboBox;
}

}  // namespace

const LibClass kComboBoxClass = {"TComboBox", &kWinControlClass, &makeComboBox, &registerComboBox};

Value TComboBox() {
  return classFunction(kComboBoxClass);
}

ComboBox::ComboBox() {
  width_ = 145;
  height_ = 21;
  setTabStop(true);
}

QWidget* ComboBox::makeWidget(QWidget* parent) {
  auto* w = new QComboBox(parent);
  w->setFocusPolicy(Qt::StrongFocus);
  w->setEditable(false);
  // A choice by the user (the program's own selections do not come through here).
  QObject::connect(w, &QComboBox::activated, [this, alive = this->alive()](int row) {
    if (!alive || filling_) return;
    guarded([this, row] {
      index_ = row + 1;
      fire(kOnChange);
    });
  });
  return w;
}

void ComboBox::applyState() {
  WinControl::applyState();
  showItems();
}

void ComboBox::showItems() {
  auto* w = qobject_cast<QComboBox*>(widget_.data());
  if (!w) return;
  filling_ = true;
  w->clear();
  for (const std::string& s : items_) w->addItem(toQString(s));
  w->setMaxVisibleItems(std::max(1, dropDownCount_));
  w->setCurrentIndex(index_ - 1);
  filling_ = false;
}

void ComboBox::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (sorted_) std::sort(items_.begin(), items_.end());
  index_ = 0;
  showItems();
}

void ComboBox::setItemIndex(int index) {
  index_ = index >= 1 && index <= static_cast<int>(items_.size()) ? index : 0;
  if (auto* w = qobject_cast<QComboBox*>(widget_.data())) {
    filling_ = true;
    w->setCurrentIndex(index_ - 1);
    filling_ = false;
  }
}

void ComboBox::setSorted(bool on) {
  sorted_ = on;
  if (on) setItems(items_);
}

void ComboBox::setDropDownCount(int n) {
  dropDownCount_ = n;
  if (auto* w = qobject_cast<QComboBox*>(widget_.data())) w->setMaxVisibleItems(std::max(1, n));
}

bool ComboBox::droppedDown() const {
  auto* w = qobject_cast<QComboBox*>(widget_.data());
  return w && w->view() && w->view()->isVisible();
}

void ComboBox::setDroppedDown(bool on) {
  auto* w = qobject_cast<QComboBox*>(widget_.data());
  if (!w) return;
  if (on) {
    w->showPopup();
  } else {
    w->hidePopup();
  }
}

}  // namespace kv::ui
