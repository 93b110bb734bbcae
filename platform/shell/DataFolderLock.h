// DataFolderLock: one game per data folder. The shell takes it right after locating the folder
// and holds it until the process ends: an advisory lock (flock) on "pellix.lock" in the folder.
// Holding it, the game owns the folder's files, so it also clears the temporary files that an
// earlier run killed while saving left behind.
#pragma once

#include <string>

class DataFolderLock {
 public:
  enum Result { LOCKED, HELD_ELSEWHERE, UNAVAILABLE };

  DataFolderLock() = default;
  // Releases the lock (closing the lock file).
  ~DataFolderLock();
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;

  // Takes the lock of `folder` without waiting. HELD_ELSEWHERE: another running game holds it.
  // UNAVAILABLE: the lock file cannot be made (a read-only folder): the game may run, unguarded.
  Result acquire(const std::string& folder);
  // Removes "<data file>.tmp-XXXXXX" leftovers of interrupted saves; only while holding the lock.
  // Returns how many were removed.
  int removeStaleTemporaryFiles() const;

 private:
  std::string lockedFolder;
  int lockFile = -1;
};
