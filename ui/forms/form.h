#pragma once
// Forms: top-level window controls. A new form is 320 by 240 pixels and invisible, with
// border style 2 (sizeable). Its window is a Qt top-level widget whose client area holds the
// controls; control coordinates are relative to the client area (a menu bar, when there is
// one, sits above it and does not shift them).
//
// Width and Height are the whole window's, as the forms were designed: the window system's
// frame around the client area is the desktop's business, so the library takes a fixed frame
// allowance per border style off them to size the Qt window (see frameExtents) and adds it
// back when the user sizes the window. The size limits are of the whole window too.
//
// Showing and hiding (Visible, Show, Hide): OnShow runs first (a handler that hides the form
// again stops the showing), the form is placed by its Position (4 centred on the screen, 5
// centred over the form that was active; never at a negative left or top), then shown in its
// WindowState (border styles 3 to 5 always normal). Hiding runs OnHide, then hides.
#include <QPointer>

#include "ui/controls/wincontrol.h"
#include "ui/graphics/bitmap.h"

class QMenuBar;
class QVBoxLayout;

namespace kv::ui {

class BorderIcons;

// The frame allowance of a border style: the caption's height and the border's width.
struct FrameExtents {
  int caption;
  int border;
};
FrameExtents frameExtents(int borderStyle);

class Form : public WinControl {
 public:
  Form();
  ~Form() override;

  bool isTopLevel() const override { return true; }
  Form* parentForm() const override { return const_cast<Form*>(this); }
  QWidget* clientWidget() override;
  int clientWidth() const override;
  int clientHeight() const override;

  // 0 none, 1 single, 2 sizeable, 3 dialog, 4 tool window, 5 sizeable tool window.
  int borderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  // 0 normal, 1 MDI child, 2 MDI frame.
  int formStyle() const { return formStyle_; }
  void setFormStyle(int style);
  // 0 as set, 1 default position and size, 2 default position, 3 default size, 4 centred on
  // the screen, 5 centred over the active form.
  int position = 0;
  // 0 normal, 1 minimised, 2 maximised.
  int windowState() const;
  void setWindowState(int state);
  bool showInTaskBar = true;

  // Size limits of the whole window (0: no limit); MinLeft/MinTop the smallest left and top.
  enum Limit { kMinWidth, kMinHeight, kMaxWidth, kMaxHeight, kMinLeft, kMinTop };
  int limit(Limit which) const { return limits_[which]; }
  void setLimit(Limit which, int value);

  int modalResult() const { return modalResult_; }
  void setModalResult(int result) { modalResult_ = result; }
  void takeModalResult(int result) override { modalResult_ = result; }
  bool modal() const { return modal_; }
  // The border icons sub-object and its language object.
  BorderIcons* borderIcons() const { return borderIcons_; }
  const Value& borderIconsObject() const { return borderIconsObject_; }
  // The window flags follow the border style and icons again.
  void applyWindowStyle();
  // The form's icon (made on first use), also the window's icon.
  Icon* icon();
  const Value& iconObject();
  // Whether the window takes input: off while another form is modal.
  bool windowEnabled() const { return windowEnabled_; }
  void setWindowEnabled(bool on) { windowEnabled_ = on; }
  bool windowAcceptsInput() const override { return windowEnabled_; }

  void setVisible(bool on) override;
  // ShowModal: nothing when the form is already modal or visible. Otherwise: cancels a mouse
  // capture, hides the hint, sets ModalResult to 0, remembers the active window and shows the
  // form (when its OnShow hid it again, that is all); every other visible, enabled form stops
  // taking input; message steps run until ModalResult is not 0 or the application is
  // terminated; then the other forms take input again, the remembered window comes back to the
  // top, and the form is sent a close request that does not ask OnCloseQuery again.
  void showModal();
  // Close (also the window's close box): unless it comes right after a modal loop, OnCloseQuery
  // is asked with a true flag by reference, and false stops; a modal form with ModalResult 0
  // gets 2 (Cancel) and stays for its loop to end. Then OnClose gets the action 1 by reference:
  // 0 stops, the main form posts the quit message, otherwise 1 hides the form, 3 minimises it
  // and any other value destroys its window (the form keeps its state and can be shown again).
  void close();

  // The main menu whose bar the form shows (its Menu), NIL for none; see setFormMenu.
  Value menu;
  // Puts `bar` above the client area (null removes the bar shown before); the window keeps
  // its size, so the client area loses the bar's height.
  void setMenuBar(QMenuBar* bar);
  int menuBarHeight() const;

  void createImpl(Args args) override;
  bool handleEvent(QObject* watched, QEvent* event) override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  QWidget* contentWidget() override { return client_; }
  void applyState() override;
  void applyBounds() override;
  void applyCaption() override;
  void applyVisible() override {}
  void release() override;

 private:
  void showForm();
  void hideForm();
  void place();
  void applyConstraints(int clientWidth, int clientHeight);
  bool sizeable() const;
  int frameWidth() const;
  int frameHeight() const;
  void userMovedOrSized();

  int borderStyle_ = 2;
  int formStyle_ = 0;
  int windowState_ = 0;
  int limits_[6] = {0, 0, 0, 0, 0, 0};
  int modalResult_ = 0;
  bool modal_ = false;
  bool closingAfterModal_ = false;
  bool windowEnabled_ = true;
  bool shownOnce_ = false;
  std::unique_ptr<SubObject<Icon>> icon_;
  BorderIcons* borderIcons_ = nullptr;
  Value borderIconsObject_;
  QPointer<QWidget> client_;
  QPointer<QMenuBar> menuBar_;
  QVBoxLayout* layout_ = nullptr;
};

extern const LibClass kFormClass;
// TForm(): a new form and its language object.
Value TForm();

}  // namespace kv::ui
