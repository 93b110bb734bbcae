// MyTl::SaveFailureNotice: remembers the first file a run could not save, so that the game can
// tell the player once (which folder, why) instead of losing progress silently.
// The shell owns one for the run and lends it to every saver (settings, saved game, high
// scores), whose AtomicFileWriter records each failure from whichever thread saves; the game's
// frame tick takes the notice on the main thread. Internally locked; holds copies of the texts.
#pragma once

#include <mutex>
#include <string>

namespace MyTl {

class SaveFailureNotice {
 public:
  // Records that `path` could not be saved for `reason`. Only the first record counts.
  void record(const std::string& path, const std::string& reason);
  // The first failure's folder and reason, handed out once: true the first time after a failure
  // was recorded, false before and ever after.
  bool take(std::string& folder, std::string& reason);

 private:
  std::mutex lock;
  bool recorded = false;
  bool taken = false;
  std::string failedFolder;
  std::string failedReason;
};

}  // namespace MyTl
