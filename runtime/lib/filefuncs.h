#pragma once
// Plain file functions of the language. A file handle is a small integer, -1 for failure.
// Every function here clears the last file error first and, on failure, stores the
// operating-system code (Windows numbering: 2 file not found, 3 path not found, 5 access
// denied, 6 invalid handle, 32 sharing violation, 80 file exists, 87 invalid parameter, 112
// disk full, 131 negative seek ...) for FERROR() and DOSERROR(). They never raise errors,
// except __COPYFILE, which reports through the error system with retry and default.
//
// Inside namespace kv the name FILE is this function and the C stream type is ::FILE; code
// outside it (even with a using-directive) calls kv::FILE.
#include <cstdint>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv {

// Open modes of FOPEN: access in the low bits, sharing in bits 4 to 6.
enum FileOpenMode : int {
  FO_READ = 0,
  FO_WRITE = 1,
  FO_READWRITE = 2,
  FO_COMPAT = 0x00,     // others may open the file too
  FO_EXCLUSIVE = 0x10,  // nobody else may open it
  FO_DENYWRITE = 0x20,  // treated as exclusive
  FO_DENYREAD = 0x30,   // treated as exclusive
  FO_DENYNONE = 0x40,   // others may open the file too
};

// FILE(name): true when at least one file matches the name, which may hold the wildcards *
// and ? in its last component. Trailing blanks are ignored; names are cut to 260 bytes.
bool FILE(const Value& name);

// FCREATE(name [, attribute]): creates the file empty (an existing one is truncated) and
// opens it for reading and writing; answers the handle or -1. The attribute (0 normal) is
// accepted and not otherwise used.
std::int32_t FCREATE(const Value& name, const Value& attribute = Value());

// FOPEN(name [, mode]): opens an existing file with the FileOpenMode combination (default
// FO_READ, shared); answers the handle or -1.
std::int32_t FOPEN(const Value& name, const Value& mode = Value());

// FREAD(handle, @buffer, count): reads up to count bytes (never more than the buffer's
// length) from the file position into the start of the buffer, a text variable; answers
// the number of bytes read (0 at end of file). `buffer` is the variable itself (a by-reference
// value is written through).
std::int32_t FREAD(const Value& handle, Value& buffer, const Value& count);

// FWRITE(handle, text [, count]): writes count bytes of the text (default and at most all of
// it) at the file position; answers the number written (short on failure, e.g. a full disk).
std::int32_t FWRITE(const Value& handle, const Value& text, const Value& count = Value());

// FSEEK(handle, offset [, origin]): moves the file position; origin 0 from the start (the
// default), 1 from the current position, 2 from the end. Answers the new position; a target
// before the start fails with code 131 and answers the unchanged position.
std::int64_t FSEEK(const Value& handle, const Value& offset, const Value& origin = Value());

// FCLOSE(handle): closes the handle; false (code 6) for a handle that is not open.
bool FCLOSE(const Value& handle);

// FERASE(name): deletes the file; 0 on success, -1 on failure.
std::int32_t FERASE(const Value& name);

// FERROR(): the code the last file function left (0 after a success).
std::int32_t FERROR();

// MEMOREAD(name): the whole file as text, without a final end-of-text byte 0x1A; empty text
// when it cannot be opened or read. The file is opened for reading, shared.
Value MEMOREAD(const Value& name);

// MEMOWRIT(name, text): writes the text as the whole contents of the file (created or
// truncated); true when every byte was written.
bool MEMOWRIT(const Value& name, const Value& text);

// __COPYFILE(source, target): copies the file byte for byte in blocks of 4096 bytes.
// - The source cannot be opened: open error (code 21, "BASE", subcode 2012, file name the
//   source); the target cannot be created: create error (code 20, subcode 2012, file name
//   the target). Both allow retry and default; retry tries again, default gives up quietly
//   (the source is closed).
// - A block cannot be read: read error (code 23, subcode 2016, file name the source); a
//   block is written short: write error (code 24, subcode 2016, file name the target). On
//   retry the block is read or written again at the same offset; on default the copy stops.
// Answers true when the whole file was copied.
bool __COPYFILE(const Value& source, const Value& target);

// Closes every handle the file functions opened (end of the run, tests).
void closeAllFileHandles();

// Registers the functions above by name.
void registerFileFunctions();

}  // namespace kv
