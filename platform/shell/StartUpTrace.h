// StartUpTrace: timestamps of the launch's steps on standard error, for an engineer finding where
// the time from exec to the first frame goes. Silent unless PELLIX_TRACE_STARTUP is set; each
// line gives the milliseconds since the process was executed (to the kernel's clock tick) and
// since main, and the CPU time used so far by the process and by the calling thread (steadier
// than the clock on a busy machine).
// Called by the shell on its main thread (and once by main); costs nothing when silent.
#pragma once

namespace StartUpTrace {

// Notes `step` as done now.
void mark(const char* step);

}  // namespace StartUpTrace
