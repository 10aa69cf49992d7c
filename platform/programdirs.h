#pragma once
// Where the program keeps its own files. The data tables and the clause text are opened by
// bare names, so they live in the current directory. The settings file and the error log
// belong to the program: they go beside the executable, as on the shop's other stations. An
// installed program's directory is not writable, so then they go to the user's own
// directories instead:
//   settings   $XDG_CONFIG_HOME/kalvedo/  (~/.config/kalvedo/ when the variable is unset)
//   error log  $XDG_STATE_HOME/kalvedo/   (~/.local/state/kalvedo/ when it is unset)
// created as needed. A relative XDG variable is ignored, as the XDG rules say.
#include <string>

namespace kv::platform {

enum class ProgramFile { Settings, ErrorLog };

// The directory for `which`, with a trailing "/". The executable's directory is tested once
// per process: it is used when a file can be created in it.
std::string programFileDir(ProgramFile which);

// The same choice for a given executable directory (tested on every call).
std::string programFileDirFor(ProgramFile which, const std::string& exeDir);

// The user's own directory for `which` (with a trailing "/"), created with its parents when
// missing. Answers it even when it cannot be created; a write there then fails as any other.
std::string userFileDir(ProgramFile which);

// True when a new file can be created in `dir` (tried with a probe file that is removed).
bool directoryWritable(const std::string& dir);

}  // namespace kv::platform
