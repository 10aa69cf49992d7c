#pragma once
// What the fuzz targets share: one private scratch directory per process, removed at exit;
// the runtime and the engine started once, with every file and console function replaced
// by a stub (an expression from the input must never touch the disk or the terminal); an
// error handler that abandons the failing operation by BREAK, and an engine error hook that
// takes the default answer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kvfuzz {

// Starts the runtime and the engine once; then, on every call, resets the settings to
// those of a fresh start with the scratch directory as the default directory, closes every
// table and installs the handlers again.
void startRun();

// The process's scratch directory and a file name in it.
const std::string& scratchDir();
std::string scratchPath(std::string_view name);

// Writes a whole file.
void writeBytes(const std::string& path, const void* data, std::size_t size);
// A whole file's bytes ("" when it cannot be read).
std::string readBytes(const std::string& path);

// Runs `body`, catching the unwinding an error handler's BREAK or a program end causes:
// both are answers the runtime may give to hostile data, not faults.
void guarded(const std::function<void()>& body);

}  // namespace kvfuzz
