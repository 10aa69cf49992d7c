#pragma once
// The protection-fault path: when the processor faults (segmentation fault, bus error,
// illegal instruction, arithmetic fault), the program's last words are "General Protection
// Fault." and the call trace, innermost first, one line per active procedure:
// "- Llamado desde NAME (LINE)\r\n". They go to the error log and to a box captioned
// "Error de Protección General"; then the process ends by the same signal.
//
// Signal safety: the log is written first, with open/write only, from a path prepared in
// advance and a trace built in a fixed buffer from the frame stack (plain reads). Without a
// window library the box is a raw write to standard error, which is safe too. With the window
// library's box installed, the box is shown last as a best effort: it is not async-signal-
// safe, but by then the log is complete, and the handlers are reset on entry, so a second
// fault inside the box ends the process at once.
namespace kv {

// Installs the handlers (on an alternate stack, so a stack overflow is reported too).
void installProtectionFaultHandlers();

}  // namespace kv
