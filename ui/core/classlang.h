#pragma once
// The class runtime's language functions, with which the application declares its own
// classes (its form classes derive from TForm):
//
//   Value TFKalvedo() {
//     static Value handle;
//     if (handle.isNil()) {
//       handle = __CLASSDEF("TFKalvedo", makeBlock(...), TForm());
//       __CLASSDAT(handle, 0, 0, names, Value());
//       __CLASSMET(handle, 0, 0, "Create", block, "TFKALVEDO:CREATE");
//     }
//     return __CLASSOBJ(handle);
//   }
//
// A method the application declares is a function registered by name in the symbol table
// (or a method target number from registerMethodTarget). A function found by name receives
// Self as its first argument, followed by the message's arguments (QSELF() answers it too).
// superSend() sends to the superclass reference of the running method (as QSUPER() does): the
// message is looked up in the superclass of the class that declared the running method, so an
// override can run the method it overrides (every application Create begins with
// superSend(self, "Create", owner)).
//
// Scopes: 0 exported; 1 answered only to receivers whose class id is the declaring class's;
// 2 only to receivers with that id on their superclass chain. An id given as a block stands
// for the module the block belongs to; all of this program's code is one module, kProgramModule.
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "runtime/lang/classes.h"

namespace kv::ui {

constexpr std::uint32_t kProgramModule = 1;

// __CLASSDEF(name, id, superclass object): a new class handle, or 0 when the name is missing
// or the id is neither block nor number. With a superclass object the class starts with a copy
// of that object's class (messages, instance template, class data, post-create hook, library
// constructor) and keeps the object's library object as its pending one.
Value __CLASSDEF(const Value& name, const Value& id, const Value& superObject = Value());
// __CLASSDAT(handle, kind, scope, names, init): kind 0 instance variables, 1 class variables;
// each name gets a getter and a setter. A bad handle or names that are not an array of texts
// raise library error 1.
void __CLASSDAT(const Value& handle, const Value& kind, const Value& scope, const Value& names,
                const Value& init = Value());
// __CLASSMET(handle, kind, scope, name, target, function): with a block target, the method is
// the function registered under `function`; with a number, the method target of that number.
// Kind 0 answers the object itself (a Create), kind 1 the method's own result.
void __CLASSMET(const Value& handle, const Value& kind, const Value& scope, const Value& name,
                const Value& target, const Value& function = Value());
// __CLASSOBJ(handle): a new instance; a bad handle raises library error 1 and answers nil.
Value __CLASSOBJ(const Value& handle);

// A native method as a target number for __CLASSMET.
int registerMethodTarget(MethodFn fn);

// Sends to the superclass reference of the running method (of Self's own class when no
// method runs).
Value superSend(const Value& self, std::string_view message, Args args = {});
Value superSend(const Value& self, std::string_view message, std::initializer_list<Value> args);

// Registers __CLASSDEF, __CLASSDAT, __CLASSMET and __CLASSOBJ by name.
void registerClassDeclarations();

}  // namespace kv::ui
