#include "ui/dialogs/messagedlg.h"

#include <algorithm>

#include "runtime/lang/classes.h"
#include "ui/controls/button.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/panel.h"
#include "ui/core/guierror.h"
#include "ui/dialogs/messagedlgedit.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

namespace kv::ui {

namespace {

// Button captions: English, Spanish (Windows-1250).
struct ButtonText {
  const char* english;
  const char* spanish;
  int result;
};
constexpr ButtonText kYes = {"&Yes", "&Si", 6};
constexpr ButtonText kNo = {"&No", "&No", 7};
constexpr ButtonText kOk = {"&Ok", "&Aceptar", 1};
constexpr ButtonText kCancel = {"&Cancel", "&Cancelar", 2};
constexpr ButtonText kCancel3 = {"&Cancel", "&Cancelar", 3};
constexpr ButtonText kRetry = {"&Retry", "&Reintentar", 4};
constexpr ButtonText kIgnore = {"&Ignore", "&Ignorar", 5};

constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 25;

DialogButton button(const ButtonText& t, bool cancel) {
  return {spanishTexts() ? t.spanish : t.english, t.result, cancel};
}

// A control of the dialog: made by its class function, created with the form as owner.
template <class T>
T* addControl(const Value& form, Value (*classFn)()) {
  Value obj = classFn();
  send(obj, "Create", {form});
  return libraryAs<T>(obj);
}

StandardIcon iconOf(int type) {
  switch (type) {
    case 1:
      return StandardIcon::Warning;
    case 2:
      return StandardIcon::Error;
    case 3:
      return StandardIcon::Question;
    default:
      return StandardIcon::Information;
  }
}

int intOr(const Value& v, int fallback) {
  const Value& d = v.deref();
  return d.isNumber() ? d.asInt() : fallback;
}

}  // namespace

std::vector<DialogButton> dialogButtons(int set) {
  switch (set) {
    case 0:
      return {button(kYes, true)};
    case 1:
      return {button(kYes, false), button(kNo, true)};
    case 2:
      return {button(kOk, true)};
    case 3:
      return {button(kOk, false), button(kCancel, true)};
    case 4:
      return {button(kYes, false), button(kNo, false), button(kCancel, true)};
    case 5:
      return {button(kCancel3, false), button(kRetry, false), button(kIgnore, true)};
    default:
      return {};
  }
}

std::string dialogCaption(int type) {
  const bool es = spanishTexts();
  switch (type) {
    case 1:
      return es ? "Aviso" : "Warning";
    case 2:
      return "Error";
    case 3:
      return es ? "Confirmaci\xF3n" : "Confirmation";
    case 4:
      return "";
    default:
      return es ? "Informaci\xF3n" : "Information";
  }
}

Value makeMessageDlg(const MessageDlgRequest& request) {
  const int type = request.type >= 0 && request.type <= 4 ? request.type : 0;
  Value formObj = TForm();
  send(formObj, "Create", {applicationObject()});
  Form* form = libraryAs<Form>(formObj);
  if (!form) return Value();
  form->setBorderStyle(type == 4 ? 0 : request.borderStyle);
  form->setCaption(request.caption ? *request.caption : dialogCaption(type));

  Panel* panel = addControl<Panel>(formObj, &TPanel);
  Label* label = addControl<Label>(formObj, &TLabel);
  Image* image = addControl<Image>(formObj, &TImage);
  Button* buttons[3];
  for (Button*& b : buttons) b = addControl<Button>(formObj, &TButton);
  if (!panel || !label || !image || !buttons[0] || !buttons[1] || !buttons[2]) return formObj;

  panel->setVisible(type == 4);
  if (type == 4) panel->setAlign(5);
  label->changeBounds(54, 17, label->width(), label->height());
  label->setCaption(request.text);
  image->changeBounds(10, 10, 32, 32);
  image->setStandardIcon(iconOf(type));

  const std::vector<DialogButton> set = dialogButtons(request.buttons);
  const int n = static_cast<int>(set.size());
  const int w = label->width();
  const int h = label->height();
  int width, height;
  if (n > 0) {
    static constexpr int kMinWidth[] = {0, 120, 232, 308};
    width = std::max(w + 72, kMinWidth[n]);
    height = type == 4 ? h + 61 : h + 97;
  } else {
    width = w + 76;
    height = (type == 4 ? h + 61 : h + 97) - 26;
  }
  form->changeBounds(form->left(), form->top(), width, height);
  int lefts[3] = {0, 0, 0};
  if (n == 1) {
    lefts[0] = (width - 70) / 2 - 3;
  } else if (n == 2) {
    lefts[0] = ((width - 140) / 16) * 5 - 3;
    lefts[1] = width - lefts[0] - 77;
  } else if (n == 3) {
    lefts[0] = ((width - 140) / 20) * 5 - 3;
    lefts[1] = (width - 70) / 2 - 3;
    lefts[2] = width - lefts[0] - 77;
  }
  const int top = 17 + h + 16;
  for (int i = 0; i < 3; ++i) {
    Button* b = buttons[i];
    if (i < n) {
      b->setCaption(set[static_cast<std::size_t>(i)].caption);
      b->modalResult = set[static_cast<std::size_t>(i)].result;
      b->cancel = set[static_cast<std::size_t>(i)].cancel;
      b->changeBounds(lefts[i], top, kButtonWidth, kButtonHeight);
    } else {
      b->setVisible(false);
    }
  }
  form->position = request.position;
  return formObj;
}

Value runMessageDlg(const MessageDlgRequest& request) {
  Value formObj = makeMessageDlg(request);
  Form* form = libraryAs<Form>(formObj);
  if (!form) return Value();
  if (request.type == 4) {
    form->setVisible(true);
    return formObj;
  }
  Alive alive = form->alive();
  struct DestroyOnExit {
    Form* form;
    Alive alive;
    ~DestroyOnExit() {
      if (alive) form->destroy();
    }
  } destroyOnExit{form, alive};
  form->showModal();
  return Value(alive ? form->modalResult() : 2);
}

Value MessageDlg(const Value& text, const Value& type, const Value& buttons, const Value& position,
                 const Value& borderStyle) {
  MessageDlgRequest request;
  const Value& t = text.deref();
  request.text = t.isString() ? std::string(t.str()) : std::string();
  request.type = intOr(type, 0);
  request.buttons = intOr(buttons, -1);
  request.position = intOr(position, 4);
  request.borderStyle = intOr(borderStyle, 3);
  return runMessageDlg(request);
}

namespace {

Value fnMessageDlg(Args a) {
  return MessageDlg(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4));
}

}  // namespace

void registerMessageDlgFunctions() {
  registerFunction("MESSAGEDLG", &fnMessageDlg);
  registerMessageDlgEditFunction();
}

}  // namespace kv::ui
