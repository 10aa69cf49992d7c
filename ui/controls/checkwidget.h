#pragma once
// The widgets of check boxes and radio buttons: Qt's buttons whose check state changes only
// when the library sets it, so the library's own click rules decide every change.
#include <QCheckBox>
#include <QRadioButton>

namespace kv::ui {

template <class Base>
class LibraryCheckWidget : public Base {
 public:
  explicit LibraryCheckWidget(QWidget* parent) : Base(parent) {
    Base::setAutoExclusive(false);
    Base::setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  // The library sets the state after its own click handling.
  void nextCheckState() override {}
};

using CheckWidget = LibraryCheckWidget<QCheckBox>;
using RadioWidget = LibraryCheckWidget<QRadioButton>;

}  // namespace kv::ui
