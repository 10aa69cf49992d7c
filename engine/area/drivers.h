#pragma once
// The driver registry. A driver module is a factory of work areas that the engine knows by
// name (its parent named for information); RDDREGISTER makes a known module a registered
// driver of a type (1 = table driver). The default driver, unset at start, falls back to
// "DBFNTX".
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/area/workarea.h"
#include "runtime/value/value.h"

namespace kv::engine {

using WorkAreaFactory = std::unique_ptr<WorkArea> (*)();

// Makes a driver module known to the engine (called by each driver's start-up code).
void addDriverModule(std::string_view name, std::string_view parent, WorkAreaFactory factory);

// Registers a known module as a driver: internal error 9001 without a name, 9003 for a name
// over 58 characters, 9002 for a name that is no module. A name already registered is
// accepted as it is; registrations beyond 32 are ignored.
void RDDREGISTER(std::string_view name, int type = 1);
// True when `name` (trimmed, any case) is a registered driver.
bool driverRegistered(std::string_view name);
// The default driver's name (the fallback "DBFNTX" while none was set).
std::string defaultDriver();
// RDDSETDEFAULT: answers the previous default; sets `name` when given (not nil). A name
// that is no registered driver raises argument error 1015.
Value RDDSETDEFAULT(const Value& name = Value());
// RDDLIST: registered driver names of a type.
Value RDDLIST(const Value& type = Value());

// A new work area of the named driver (empty name or one character: the default). Answers
// null for a name that is not registered (the caller raises 1015); a default driver that
// is not registered is internal error 9006.
std::unique_ptr<WorkArea> newWorkArea(std::string_view driver, bool& unknown);

// Forgets every registration (start of the database layer, tests).
void resetDrivers();

}  // namespace kv::engine
