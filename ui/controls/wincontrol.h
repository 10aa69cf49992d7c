#pragma once
// Window controls: every control with a window (a Qt widget), the form included. The window
// is made on first use, the parent's window first, and follows the control's state; it can be
// destroyed and made again (a form's window, when closing asks for it) without losing the
// control's state. `Handle` is a small number that names the window.
//
// The library-wide event router hands the window's events to handleEvent(), which carries out
// the library's own handling:
//   keys      WMKeyDown/WMKeyUp, sent through the language object: OnKeyDown (the key by
//             reference, 0 swallows it), Tab and Shift+Tab through the form's tab order
//             (wrapping), the arrows and Enter as the TabKeys bits allow (not wrapping),
//             Escape clicking the form's Cancel button, then the widget's default handling;
//   mouse     OnMouseDown/Move/Up with client coordinates, a click (OnClick, or OnDblClick for
//             the second press of a double click) when the left button is released inside
//             the control it was pressed on; OnMouseEnter/Leave; OnMouseWheel;
//   focus     OnEnter/OnExit; the form's ActiveControl follows the focus;
//   size      OnResize/OnMove; aligned children laid out again;
//   context   a right click (the context-menu request) opens the PopupMenu at the mouse;
//   paint     a control that paints itself (or has an OnPaint block, or a PaintWindow
//             override) paints its default content, then PaintWindow(hDC) runs through the
//             language object, whose library part fires OnPaint(Self, hDC).
#include <QPointer>
#include <QString>

#include <vector>

#include "ui/controls/control.h"
#include "ui/core/eventrouter.h"
#include "ui/graphics/brush.h"

class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWidget;

namespace kv::ui {

class WinControl : public Control, public EventTarget {
 public:
  WinControl();
  ~WinControl() override;

  // A form's window is a top-level window; every other control's is a child window.
  virtual bool isTopLevel() const { return false; }
  // False while the top-level window takes no input (another form is modal).
  virtual bool windowAcceptsInput() const { return true; }
  // The top-level window control this one lies in (itself for a form).
  WinControl* topControl();
  // The control that last took the focus in this top-level window (a form's ActiveControl).
  WinControl* activeControl() const;
  void setActiveControl(WinControl* control);

  // The window, made now if there is none yet (null for a child control without a parent).
  QWidget* window();
  QWidget* windowIfMade() const { return widget_; }
  bool hasWindow() const { return widget_ != nullptr; }
  // Where the windows of child controls lie (the window itself, or a form's client area).
  virtual QWidget* clientWidget() { return window(); }
  // The number naming the window (the window is made first).
  int handle();
  // Destroys the window (and those of the children); the next window() makes it again.
  void destroyWindow();

  // The window controls that lie in this one, in the order of its component list.
  std::vector<WinControl*> childControls() const;
  // Lays the aligned children out in the client area.
  void realign();

  // Keyboard: the library's entries (through the language object) and its own handling.
  int wmKeyDown(int vk, int keyData);
  int wmKeyUp(int vk, int keyData);
  virtual int keyDownImpl(int vk, int keyData);
  virtual int keyUpImpl(int vk, int keyData);
  // Painting: PaintWindow through the language object; the library part fires OnPaint.
  void paintWindow(int dc);
  virtual void paintWindowImpl(int dc);

  // Tab order and focus.
  int tabOrder() const;
  void setTabOrder(int position);
  bool tabStop() const { return tabStop_; }
  void setTabStop(bool on) { tabStop_ = on; }
  int tabKeys() const { return tabKeys_; }
  void setTabKeys(int bits) { tabKeys_ = bits; }
  // Visible, enabled (the control and its parents), a tab stop, and focusable.
  bool canTakeFocus() const;
  void setFocus();
  bool hasFocus() const;
  // The Escape key's button (a button whose Cancel is true).
  virtual bool isCancelButton() const { return false; }
  // A button's click hands its ModalResult to the top-level window (a form keeps it).
  virtual void takeModalResult(int) {}

  // The owned brush (made on first use); a colour given to it is the background.
  Brush* brush();
  const Value& brushObject();
  // The face the control's text is drawn in (its font's, else the default face).
  QString faceName() const;

  // Kept for the application (no behaviour of their own in this library).
  bool dragDrop = false;
  int helpContext = 0;
  std::string helpKeyword;
  bool parentFont = true;
  bool themed = true;
  // The pop-up menu (a TPopupMenu) that a right click over the control opens, NIL for none.
  Value popupMenu;

  bool handleEvent(QObject* watched, QEvent* event) override;
  QString hintText() const override;

  void boundsImpl(int left, int top, int width, int height) override;
  void createImpl(Args args) override;

 protected:
  // Makes the class's widget, a child of `parent` (null: a top-level window).
  virtual QWidget* makeWidget(QWidget* parent) = 0;
  // Routes the events of a widget of the window to this control (until the window goes).
  void routeWidget(QObject* widget);
  // The widget that shows the control's own content (a form's client area).
  virtual QWidget* contentWidget() { return widget_; }
  // Copies the whole state into a newly made window.
  virtual void applyState();
  void applyBounds() override;
  void applyCaption() override {}
  void applyVisible() override;
  void applyEnabled() override;
  void applyFont() override;
  void applyCursor() override;
  virtual void applyBrush();
  // True for a control that paints its own content (then paintContent draws it).
  virtual bool paintsItself() const { return false; }
  virtual void paintContent(QPainter&) {}
  // A key the class handles itself in place of the widget's default handling (a button
  // clicks on Enter); true when it did.
  virtual bool ownKey(int) { return false; }
  // A control whose click comes from its widget (a push button) instead of the mouse path.
  virtual bool clicksItself() const { return false; }
  // Runs the widget's default handling of the key being handled (the key may have changed).
  void defaultKey(int vk);
  // The text the key being handled types (empty for a key that types nothing), and the
  // state of Shift, Ctrl and Alt with it.
  static QString keyText(int vk);
  static Qt::KeyboardModifiers keyModifiers();
  void release() override;

  QPointer<QWidget> widget_;

 private:
  bool mouse(QMouseEvent* event);
  bool keyPress(QObject* watched, QKeyEvent* event);
  bool keyRelease(QObject* watched, QKeyEvent* event);
  bool paint(QObject* watched, QEvent* event);
  bool routesPaint() const;
  void forgetWindow();
  void focusIn();

  std::vector<QPointer<QObject>> routed_;
  WinControl* active_ = nullptr;
  Alive activeAlive_;
  int handle_ = 0;
  bool tabStop_ = false;
  int tabKeys_ = 0;
  bool pressed_ = false;
  bool doublePress_ = false;
  bool aligning_ = false;
  std::vector<WinControl*> tabList_;  // children in tab order
  std::unique_ptr<SubObject<Brush>> brush_;
};

// The control whose window a handle names, null for none.
WinControl* controlOfHandle(int handle);

// Tab navigation over a form: the next (or previous) control after `from` that can take the
// focus; `wrap` goes round the ends, `arrows` passes over controls whose TabKeys bit 1 is set.
WinControl* nextInTabOrder(WinControl* root, WinControl* from, bool forward, bool wrap,
                           bool arrows);
// The window controls of `root` in tab order, depth first.
std::vector<WinControl*> tabSequence(WinControl* root);

extern const LibClass kWinControlClass;

}  // namespace kv::ui
