#include "runtime/error/errorobject.h"

#include <cstdint>
#include <string>

#include "platform/byteorder.h"

namespace kv {

namespace {

enum Element : std::size_t {
  kRecord = 0,
  kArgs = 1,
  kSubsystem = 2,
  kDescription = 3,
  kOperation = 4,
  kFileName = 5,
  kCargo = 6,
  kElements = 7
};

// Field offsets in the record.
enum Field : std::size_t {
  kSeverity = 0,
  kGenCode = 2,
  kOsCode = 4,
  kFlags = 6,
  kTries = 8,
  kSubCode = 10
};
constexpr std::size_t kRecordSize = 28;

Value& element(const Value& self, Element e) {
  return self.deref().arr()->items[e];
}

int readField(const Value& self, Field f) {
  std::string_view rec = element(self, kRecord).str();
  if (rec.size() < kRecordSize) return 0;
  return static_cast<std::int16_t>(platform::readLe16(rec.data() + f));
}

void writeField(const Value& self, Field f, int v) {
  std::string rec(element(self, kRecord).str());
  rec.resize(kRecordSize, '\0');
  platform::writeLe16(rec.data() + f, static_cast<std::uint32_t>(v));
  element(self, kRecord) = Value(rec);
}

void addNumber(ClassDef* c, const char* name, Field f) {
  addMethod(c, name, [f](const Value& self, Args) { return Value(readField(self, f)); });
}

void addNumberSetter(ClassDef* c, const char* name, Field f) {
  addMethod(c, name, [f](const Value& self, Args args) {
    Value v = arg(args, 0);
    if (v.isNumber()) writeField(self, f, v.asInt());
    return v;
  });
}

void addFlag(ClassDef* c, const char* name, int bit) {
  addMethod(c, name,
            [bit](const Value& self, Args) { return Value((readField(self, kFlags) & bit) != 0); });
}

void addFlagSetter(ClassDef* c, const char* name, int bit) {
  addMethod(c, name, [bit](const Value& self, Args args) {
    Value v = arg(args, 0);
    if (v.isLogical()) {
      int flags = readField(self, kFlags);
      writeField(self, kFlags, v.asBool() ? (flags | bit) : (flags & ~bit));
    }
    return v;
  });
}

void addElement(ClassDef* c, const char* name, Element e) {
  addMethod(c, name, [e](const Value& self, Args) { return element(self, e); });
}

void addElementSetter(ClassDef* c, const char* name, Element e) {
  addMethod(c, name, [e](const Value& self, Args args) {
    Value v = arg(args, 0);
    element(self, e) = v;
    return v;
  });
}

ClassDef* buildErrorClass() {
  ClassDef* c = defineClass("ERROR");
  for (std::size_t i = 0; i < kElements; ++i) c->instanceTemplate.push_back(Value());
  addMethod(c, "CLASSNAME", [](const Value&, Args) { return Value("ERROR"); });
  addElement(c, "SUBSYSTEM", kSubsystem);
  addNumber(c, "SUBCODE", kSubCode);
  addNumber(c, "GENCODE", kGenCode);
  addNumber(c, "OSCODE", kOsCode);
  addNumber(c, "SEVERITY", kSeverity);
  addFlag(c, "CANDEFAULT", kCanDefault);
  addFlag(c, "CANRETRY", kCanRetry);
  addFlag(c, "CANSUBSTITUTE", kCanSubstitute);
  addElement(c, "OPERATION", kOperation);
  addElement(c, "DESCRIPTION", kDescription);
  addElement(c, "FILENAME", kFileName);
  addElement(c, "ARGS", kArgs);
  addNumber(c, "TRIES", kTries);
  addElement(c, "CARGO", kCargo);
  addElementSetter(c, "_SUBSYSTEM", kSubsystem);
  addNumberSetter(c, "_SUBCODE", kSubCode);
  addNumberSetter(c, "_GENCODE", kGenCode);
  addNumberSetter(c, "_OSCODE", kOsCode);
  addNumberSetter(c, "_SEVERITY", kSeverity);
  addFlagSetter(c, "_CANDEFAULT", kCanDefault);
  addFlagSetter(c, "_CANRETRY", kCanRetry);
  addFlagSetter(c, "_CANSUBSTITUTE", kCanSubstitute);
  addElementSetter(c, "_OPERATION", kOperation);
  addElementSetter(c, "_DESCRIPTION", kDescription);
  addElementSetter(c, "_FILENAME", kFileName);
  addElementSetter(c, "_ARGS", kArgs);
  addNumberSetter(c, "_TRIES", kTries);
  addElementSetter(c, "_CARGO", kCargo);
  return c;
}

// A fresh instance: record zeroed, texts empty, no arguments.
Value emptyError() {
  Value e = newObject(errorClass());
  auto& items = e.arr()->items;
  items[kRecord] = Value(std::string(kRecordSize, '\0'));
  items[kArgs] = Value::newArray();
  for (Element t : {kSubsystem, kDescription, kOperation, kFileName, kCargo}) items[t] = Value("");
  return e;
}

}  // namespace

const ClassDef* errorClass() {
  static const ClassDef* cls = buildErrorClass();
  return cls;
}

bool isErrorObject(const Value& v) {
  return classOf(v) == errorClass();
}

Value ERRORNEW() {
  return emptyError();
}

Value makeErrorObject(const ErrorRecord& record) {
  Value e = emptyError();
  writeField(e, kSeverity, record.severity);
  writeField(e, kGenCode, record.genCode);
  writeField(e, kOsCode, record.osCode);
  writeField(e, kFlags, record.flags);
  writeField(e, kTries, record.tries);
  writeField(e, kSubCode, record.subCode);
  auto& items = e.arr()->items;
  Value args = Value::newArray(record.args.size());
  for (std::size_t i = 0; i < record.args.size(); ++i)
    args.arr()->items[i] = record.args[i].deref();
  items[kArgs] = args;
  items[kSubsystem] = Value(record.subsystem);
  items[kDescription] =
      Value(record.description.empty() ? genCodeDescription(record.genCode) : record.description);
  items[kOperation] = Value(record.operation);
  items[kFileName] = Value(record.fileName);
  return e;
}

}  // namespace kv
