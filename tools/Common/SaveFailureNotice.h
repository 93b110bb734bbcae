// MyTl::SaveFailureNotice: remembers the first file this run could not save, so that the game can
// tell the player once (which folder, why) instead of losing progress silently.
// AtomicFileWriter records every failure (from whichever thread saves); the game's frame tick
// takes the notice on the main thread. Process-wide; holds copies of the texts.
#pragma once

#include <string>

namespace MyTl {

class SaveFailureNotice {
 public:
  // Records that `path` could not be saved for `reason`. Only the first record of a run counts.
  static void record(const std::string& path, const std::string& reason);
  // The first failure's folder and reason, handed out once per run: true the first time after a
  // failure was recorded, false before and ever after.
  static bool take(std::string& folder, std::string& reason);
  // Forgets everything, as at the start of a run (for tests).
  static void resetForTesting();
};

}  // namespace MyTl
