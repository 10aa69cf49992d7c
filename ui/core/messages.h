#pragma once
// Building the message lists of library classes. A library message runs its native function
// on the receiver's library object; a receiver without one (an empty shell after Destroy)
// raises library error 21. Properties have a getter NAME and, when writable, a setter _NAME
// that stores its one argument and answers it; the setter of a read-only property raises the
// runtime's read-only-property error. Setters check their argument's kind and raise library
// error 1 for a wrong one, leaving the property unchanged.
#include <string>
#include <string_view>

#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "ui/core/guierror.h"
#include "ui/core/libobject.h"

namespace kv::ui {

// The receiver's library object as T; null (after raising library error 21) when it has
// none or one of another class.
template <class T>
T* receiverAs(const Value& self, std::string_view message, Args args = {}) {
  T* t = libraryAs<T>(self);
  if (!t) guiError(kGuiInvalidObject, message, args);
  return t;
}

// A method: fn(T&, Args) answers the message's value.
template <class T, class Fn>
void method(ClassDef* cls, const char* name, Fn fn) {
  addMethod(cls, name, [fn, op = upperName(name)](const Value& self, Args args) -> Value {
    T* t = receiverAs<T>(self, op, args);
    return t ? fn(*t, args) : Value();
  });
}

// A read-only property: get(T&) answers its value.
template <class T, class Get>
void readOnly(ClassDef* cls, const char* name, Get get) {
  method<T>(cls, name, [get](T& t, Args) -> Value { return get(t); });
  std::string setter = upperName(std::string("_") + name);
  addMethod(cls, setter, [setter](const Value& self, Args args) -> Value {
    return readOnlyPropertyError(self, setter, arg(args, 0));
  });
}

// A writable property: get(T&) answers the value, set(T&, const Value&, Args) stores it
// (checking the argument).
template <class T, class Get, class Set>
void property(ClassDef* cls, const char* name, Get get, Set set) {
  method<T>(cls, name, [get](T& t, Args) -> Value { return get(t); });
  std::string setter = upperName(std::string("_") + name);
  addMethod(cls, setter, [set, setter](const Value& self, Args args) -> Value {
    T* t = receiverAs<T>(self, setter, args);
    Value v = arg(args, 0);
    if (t) set(*t, v, args);
    return v;
  });
}

// An event property OnName with its setter _OnName.
template <class T>
void event(ClassDef* cls, const char* name, int id) {
  method<T>(cls, name, [id](T& t, Args) -> Value { return t.events().get(id); });
  std::string setter = upperName(std::string("_") + name);
  addMethod(cls, setter, [id, setter](const Value& self, Args args) -> Value {
    T* t = receiverAs<T>(self, setter, args);
    Value v = arg(args, 0);
    if (t) t->events().set(id, v, setter);
    return v;
  });
}

// Argument checks for setters and methods: true with the value stored in `out`, else library
// error 1 raised for `operation` (the caller then leaves everything unchanged).
bool intArg(const Value& v, int& out, std::string_view operation, Args args);
bool boolArg(const Value& v, bool& out, std::string_view operation, Args args);
bool stringArg(const Value& v, std::string& out, std::string_view operation, Args args);

}  // namespace kv::ui
