#pragma once
// The class table and message send. A class has a name, an optional parent, a dictionary of
// message symbols -> handlers, an instance template and class-wide data. An object is an
// array of instance variables whose cell points at its class (ArrayData::cls). Sending a
// message looks the message symbol up in the receiver's dictionary and runs the handler with
// the receiver as Self; an unknown message raises the "No existe el método" error (code 13).
// The runtime's own classes (ERROR), the window library's classes and the application's form
// classes all live in this one table. Classes are never removed.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv {

// A message handler: runs with the receiver as Self and answers one value.
using MethodFn = std::function<Value(const Value& self, Args args)>;

// One message a class answers. `slot` is the 1-based instance-variable slot a data message
// reads or writes (0 for a method). `scope` 0 is exported; 1 answers only a receiver whose
// class id is the declaring class's id, 2 only a receiver with that id somewhere on its
// superclass chain (otherwise the send raises the no-method error).
struct MessageEntry {
  Symbol* message = nullptr;
  MethodFn handler;
  int scope = 0;
  int slot = 0;
  std::uint16_t declaringClass = 0;
};

struct ClassDef {
  std::string name;  // upper case
  std::uint16_t handle = 0;
  std::uint16_t superHandle = 0;  // 0 for a root class
  std::uint32_t classId = 0;
  std::vector<MessageEntry> messages;   // sorted by message symbol identity
  std::vector<Value> instanceTemplate;  // initial value of every instance variable, in slot order
  std::vector<Value> classData;         // class-wide variables, in slot order
  // Called with every new instance after it is made (the window library pairs its native
  // object with the language object here).
  std::function<void(const Value& obj)> postCreate;
  // Free for the layer that owns the class (the window library keeps its constructor here).
  void* userData = nullptr;
  // Set only on the class of superclass references (QSUPER): a message sent to such a
  // reference runs the message of this class on the object the reference holds.
  const ClassDef* answersAs = nullptr;
};

// Declares a class. With a parent, the new class starts with a copy of every message entry,
// the instance template, the class data, the post-create hook and the user data of the parent,
// so it answers all of the parent's messages; entries added later replace inherited ones of
// the same name. Answers the class (its handle is 1 for the first class, then 2, ...).
ClassDef* defineClass(std::string_view name, const ClassDef* parent = nullptr,
                      std::uint32_t classId = 0);
// The class of that name (case-insensitive), the most recently declared when several share
// it; null when none.
ClassDef* findClass(std::string_view name);
// The class of a handle; null for 0 or an unknown handle.
ClassDef* classByHandle(std::uint16_t handle);
// The parent of a class, null for a root.
const ClassDef* superClass(const ClassDef* cls);

// Enters (or replaces) a message of a class.
void addMethod(ClassDef* cls, std::string_view message, MethodFn fn, int scope = 0);
// Appends an instance variable (name upper-cased and cut to 58 characters) with its initial
// value and enters its getter NAME and setter _NAME (the setter stores its one argument and
// answers it), both with `scope`. Answers the 1-based slot.
int addInstanceVar(ClassDef* cls, std::string_view name, const Value& init = Value(),
                   int scope = 0);
// Appends a class-wide variable with the same getter and setter messages. Answers the slot.
int addClassVar(ClassDef* cls, std::string_view name, const Value& init = Value(), int scope = 0);

// True when the scope of `entry` lets a receiver of class `receiverClass` run it.
bool scopeAllows(const ClassDef* receiverClass, const MessageEntry& entry);

// The dictionary entry of a message symbol, null when the class does not answer it.
const MessageEntry* findMessage(const ClassDef* cls, const Symbol* message);

// A new instance: a copy of the class's instance template (nested arrays copied deeply, so
// instances never share arrays), marked with the class; then the post-create hook runs.
Value newObject(const ClassDef* cls);

// The class of an object, null for any other value.
const ClassDef* classOf(const Value& v);

// Sends a message. Objects answer their dictionary's messages, and every object answers
// CLASSNAME and CLASSH; any other value answers only CLASSNAME, CLASSH and, for a code block,
// EVAL. Anything else raises the no-method error, whose substitute becomes the answer.
Value send(const Value& receiver, const Symbol* message, Args args);
Value send(const Value& receiver, std::string_view message, Args args = {});
Value send(const Value& receiver, std::string_view message, std::initializer_list<Value> args);
// Sends to the superclass reference: the message is looked up in the parent of `context`
// (the class whose method is running), so an overriding method can run the one it overrides.
Value sendSuper(const Value& receiver, const ClassDef* context, std::string_view message,
                Args args = {});
// True when the receiver answers the message.
bool answers(const Value& receiver, std::string_view message);

// The running method: while a message handler of a class dictionary runs (also one reached
// through sendSuper or a superclass reference), its receiver is the running object and the
// class that declared the handler is the running class; an inner send runs its own method
// until it returns. Outside every method the object is nil and the class null.
Value runningObject();
const ClassDef* runningClass();

// A superclass reference: an object that answers each message as the parent of `context`
// does, running it on `receiver` (so it reaches the methods `context` overrides); the
// messages every object answers (CLASSNAME, CLASSH) are answered by `receiver` too. The
// functions CLASSNAME and CLASSH of the reference itself give the parent's name and handle.
// Nil when `context` has no parent.
Value superReference(const Value& receiver, const ClassDef* context);

// QSELF(): the running object (nil outside a method). QSUPER(): the superclass reference of
// the running object for the running class (nil outside a method, or when the running class
// has no parent).
Value QSELF();
Value QSUPER();

// Registers QSELF and QSUPER by name.
void registerClassFunctions();

// CLASSNAME: the class name, or for a value that is not an object "NUMERIC", "DATE",
// "LOGICAL", "CHARACTER", "BLOCK", "ARRAY" or "NIL".
std::string CLASSNAME(const Value& v);
// CLASSH: the class handle, 0 for a value that is not an object.
int CLASSH(const Value& v);

// Drops the values the class table holds (templates, class data) at the end of the run, so
// that the leak report sees only real leaks. The classes themselves stay.
void releaseClassValues();

}  // namespace kv
