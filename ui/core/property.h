#pragma once
// Property entries: a message pair NAME/_NAME that forwards reading and writing to a target,
// either a method (the target message is sent) or an instance variable (whose slot is looked
// up by name on first use and remembered). Kinds 3 and 4 are not valid targets: they end the
// program with the internal errors "RunProperty: 3" and "RunProperty: 4". A property without
// a read target answers the no-method error to a read, one without a write target the
// read-only-property error to a write.
#include <string>
#include <string_view>

#include "runtime/lang/classes.h"

namespace kv::ui {

enum PropertyKind : int { kPropertyNone = 0, kPropertyMethod = 1, kPropertySlot = 2 };

struct PropertyTarget {
  int kind = kPropertyNone;
  std::string target;  // the message, or the instance variable's name
};

void addProperty(ClassDef* cls, std::string_view name, const PropertyTarget& read,
                 const PropertyTarget& write, int scope = 0);

}  // namespace kv::ui
