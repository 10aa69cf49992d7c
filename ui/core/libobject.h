#pragma once
// Library objects: the native objects of the window library, each paired with its language
// object. The library object holds a counted reference to its language object; the language
// object's hidden reference to its library object is the pairing table here, so a language
// object whose library object is gone is an empty shell (libraryOf answers null).
//
// Certain operations the library runs through the language object whenever there is one
// (Create, Destroy, SetBounds, WMKeyDown, WMKeyUp, PaintWindow), so that an application class
// that declares a method of the same name overrides them; without a language object the
// library runs its own implementation directly.
//
// A library object lives from its class function to Destroy. Destroy runs the object's own
// destruction, frees it and empties its language object. Code that fires an event and then
// touches the object again checks an Alive token first: a handler may destroy the object.
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"
#include "ui/core/events.h"

namespace kv::ui {

class LibObject;

// A weak token of a library object: false once the object is freed.
class Alive {
 public:
  Alive() = default;
  explicit Alive(const std::shared_ptr<char>& life) : life_(life) {}
  explicit operator bool() const { return !life_.expired(); }

 private:
  std::weak_ptr<char> life_;
};

class LibObject {
 public:
  LibObject();
  virtual ~LibObject();
  LibObject(const LibObject&) = delete;
  LibObject& operator=(const LibObject&) = delete;

  // The language object, nil when there is none.
  const Value& language() const { return language_; }
  bool hasLanguage() const { return !language_.isNil(); }
  // Pairs this object with `obj`: this holds `obj`, and `obj` names this object. A language
  // object paired before becomes an empty shell.
  void pair(const Value& obj);

  EventHolder& events() { return events_; }
  const EventHolder& events() const { return events_; }
  // Fires event `id` with this object's language object as the sender.
  Value fire(int id, std::initializer_list<Value> args = {});

  // Sends `message` to the language object (an override runs); false when there is none,
  // and the caller then runs the library's own implementation.
  bool sendThroughLanguage(std::string_view message, std::initializer_list<Value> args,
                           Value* result = nullptr);

  // The library's own Create (the Create message): `args` as the message received them.
  virtual void createImpl(Args args);
  // Destroys the object: through the language object when there is one, else directly.
  void destroy();
  // The library's own destruction (the Destroy message): marks the object as being
  // destroyed, runs release(), frees the object and empties its language object. `this` is
  // gone when it returns, also when release() unwinds by an error.
  void destroyImpl();
  bool destroying() const { return destroying_; }

  Alive alive() const { return Alive(life_); }

  // The object that owns this one (a component's owner), null for none.
  virtual LibObject* ownerObject() const { return nullptr; }

 protected:
  // The class's own destruction work, before the object is freed.
  virtual void release() {}

 private:
  friend void destroyAllLibraryObjects();
  void free();

  Value language_;
  EventHolder events_;
  bool destroying_ = false;
  std::shared_ptr<char> life_;
  LibObject* prev_ = nullptr;  // every live object, in creation order
  LibObject* next_ = nullptr;
};

// The library object of a language object; null for an empty shell or any other value.
LibObject* libraryOf(const Value& obj);
template <class T>
T* libraryAs(const Value& obj) {
  return dynamic_cast<T*>(libraryOf(obj));
}

// Destroys every library object still alive, owners before what they own (the end of the
// run: the windows must go before the window system does).
void destroyAllLibraryObjects();
// Number of live library objects (tests).
std::size_t liveLibraryObjects();

}  // namespace kv::ui
