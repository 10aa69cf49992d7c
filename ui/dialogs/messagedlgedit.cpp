#include "ui/dialogs/messagedlgedit.h"

#include <algorithm>

#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/symbols.h"
#include "ui/controls/button.h"
#include "ui/controls/edit.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/dialogs/messagedlg.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

namespace kv::ui {

namespace {

template <class T>
T* addControl(const Value& form, Value (*classFn)()) {
  Value obj = classFn();
  send(obj, "Create", {form});
  return libraryAs<T>(obj);
}

bool blankEntry(const Edit& edit) {
  return edit.mask().text().find_first_not_of(' ') == std::string::npos;
}

}  // namespace

Value makeMessageDlgEdit(const MessageDlgEditRequest& request) {
  Value formObj = TForm();
  send(formObj, "Create", {applicationObject()});
  Form* form = libraryAs<Form>(formObj);
  if (!form) return Value();
  form->setBorderStyle(request.borderStyle);
  form->setCaption(request.caption);

  Image* image = addControl<Image>(formObj, &TImage);
  Label* label = addControl<Label>(formObj, &TLabel);
  Edit* edit = addControl<Edit>(formObj, &TEdit);
  Button* ok = addControl<Button>(formObj, &TButton);
  Button* cancel = addControl<Button>(formObj, &TButton);
  if (!image || !label || !edit || !ok || !cancel) return formObj;

  image->changeBounds(10, 10, 32, 32);
  image->setStandardIcon(StandardIcon::Information);
  label->changeBounds(54, 17, label->width(), label->height());
  label->setCaption(request.prompt);
  const int w = label->width();
  edit->setValue(request.value);
  edit->setPicture(request.picture);
  if (request.value.deref().isNumber()) edit->setAlignment(1);
  edit->changeBounds(w + 62, 14, request.editWidth, edit->height());

  const int width = std::max(w + request.editWidth + 78, 232);
  form->changeBounds(form->left(), form->top(), width, 110);
  const std::vector<DialogButton> buttons = dialogButtons(3);  // Ok, Cancel
  const int first = ((width - 140) / 16) * 5 - 3;
  ok->setCaption(buttons[0].caption);
  ok->changeBounds(first, 46, 70, 25);
  cancel->setCaption(buttons[1].caption);
  cancel->modalResult = buttons[1].result;
  cancel->cancel = true;
  cancel->changeBounds(width - first - 77, 46, 70, 25);
  if (request.refuseBlank) {
    // Ok closes only with something entered; a blank entry is cleared and keeps the focus.
    ok->modalResult = 0;
    ok->events().set(kOnClick, makeBlock([edit, form, alive = edit->alive()](Args) {
                       if (!alive) return Value();
                       if (blankEntry(*edit)) {
                         edit->clear();
                         edit->setFocus();
                       } else {
                         form->setModalResult(1);
                       }
                       return Value();
                     }),
                     "_ONCLICK");
  } else if (request.accept) {
    // Ok closes only with a value the rule accepts; another is selected for typing over.
    ok->modalResult = 0;
    ok->events().set(kOnClick,
                     makeBlock([edit, form, accept = request.accept, alive = edit->alive()](Args) {
                       if (!alive) return Value();
                       if (accept(edit->value())) {
                         form->setModalResult(1);
                       } else {
                         edit->setFocus();
                         edit->setSelStart(0);
                         edit->setSelLength(static_cast<int>(edit->mask().text().size()));
                       }
                       return Value();
                     }),
                     "_ONCLICK");
  } else {
    ok->modalResult = buttons[0].result;
  }
  form->setActiveControl(edit);
  form->position = request.position;
  return formObj;
}

int runMessageDlgEdit(const MessageDlgEditRequest& request, Value& edited) {
  Value formObj = makeMessageDlgEdit(request);
  Form* form = libraryAs<Form>(formObj);
  if (!form) return 2;
  Alive alive = form->alive();
  struct DestroyOnExit {
    Form* form;
    Alive alive;
    ~DestroyOnExit() {
      if (alive) form->destroy();
    }
  } destroyOnExit{form, alive};
  form->showModal();
  if (!alive) return 2;
  const int result = form->modalResult();
  if (result == 1) {
    for (Component* c : form->components()) {
      if (auto* e = dynamic_cast<Edit*>(c)) edited = e->value();
    }
  }
  return result;
}

namespace {

Value fnMessageDlgEdit(Args a) {
  MessageDlgEditRequest request;
  const Value& caption = arg(a, 0).deref();
  const Value& prompt = arg(a, 1).deref();
  const Value& picture = arg(a, 3).deref();
  const Value& width = arg(a, 4).deref();
  const Value& position = arg(a, 5).deref();
  const Value& seventh = arg(a, 6).deref();
  if (caption.isString()) request.caption = std::string(caption.str());
  if (prompt.isString()) request.prompt = std::string(prompt.str());
  request.value = arg(a, 2).deref();
  if (picture.isString()) request.picture = std::string(picture.str());
  if (width.isNumber()) request.editWidth = width.asInt();
  if (position.isNumber()) request.position = position.asInt();
  if (seventh.isLogical()) request.refuseBlank = !seventh.asBool();
  if (seventh.isNumber()) request.borderStyle = seventh.asInt();
  Value edited;
  const int result = runMessageDlgEdit(request, edited);
  if (result == 1) assignArg(a, 2, edited);
  return Value(result);
}

}  // namespace

void registerMessageDlgEditFunction() {
  registerFunction("MESSAGEDLGEDIT", &fnMessageDlgEdit);
}

}  // namespace kv::ui
