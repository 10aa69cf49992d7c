#pragma once
// Library classes: how a class of the window library is published to the language. Each has
// a class function of its name (TForm(), TButton() ...) that makes a new library object and
// its language object and answers the language object, not yet initialised: the caller then
// sends Create with the owner. The first call registers the class: a class record under the
// class's name whose message list is entered by the class's registration, which enters its
// base's messages first, so a class answers its bases' messages and its own, and a name
// entered again by a derived class replaces the base's handler.
#include "runtime/lang/classes.h"
#include "ui/core/libobject.h"

namespace kv::ui {

struct LibClass {
  const char* name;
  const LibClass* base;  // null for the root
  // A fresh library object of the class with its defaults; null for a class that is only a
  // base of others.
  LibObject* (*construct)();
  // Enters the class's own messages (its base's are entered before).
  void (*registerMessages)(ClassDef* cls);
  // TApplication and TScreen: the class function answers the same object after the first
  // call (until that object is destroyed).
  bool singleton = false;
};

// The class record of a library class, registered on first use.
ClassDef* libraryClassDef(const LibClass& lc);
// The class function.
Value classFunction(const LibClass& lc);
// A new instance of any class (__CLASSOBJ): for a class that is or inherits from a library
// class, the class's pending library object if there is one, else a fresh one from the
// library constructor; then the new language object, paired with it by the post-create hook.
Value instantiate(const ClassDef* cls);

// The library class of a class record (its own or the one it inherits), null for a class
// outside the window library.
const LibClass* libraryClassOf(const ClassDef* cls);
// True for the record registered for a library class itself (not an application's subclass).
bool isLibraryClassRecord(const ClassDef* cls);

// The library object made in advance for a class (the superclass object passed when the
// class was declared), taken by its first instance.
void setPendingObject(const ClassDef* cls, LibObject* lib);
// Drops every pending library object (end of the run).
void releasePendingObjects();

}  // namespace kv::ui
