// Printing of the effect engine's error lines.
#include "SoundEngineReport.h"

#include <cstdio>

namespace SoundEngineReport {

// Flushed at once so that a line is not lost or delayed behind a pipe's buffer.
void hex(const char* message, int code) {
  std::printf("%s: %x\n", message, static_cast<unsigned>(code));
  std::fflush(stdout);
}

void decimal(const char* message, int code) {
  std::printf("%s: %d\n", message, code);
  std::fflush(stdout);
}

}  // namespace SoundEngineReport
