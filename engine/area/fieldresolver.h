#pragma once
// The engine's side of the expression compiler's field access: names find the fields of the
// current work area through the field chain of their symbol, and aliases select work areas.
namespace kv::engine {

// Installs the engine's field resolver into the runtime (done at the engine's start-up).
void installFieldResolver();

}  // namespace kv::engine
