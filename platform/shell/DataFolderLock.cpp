// DataFolderLock: flock on the lock file, and the sweep of interrupted saves.
#include "DataFolderLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// The data files that are saved through a temporary file "<name>.tmp-XXXXXX" beside them.
const char* const SAVED_FILES[] = {"settings.dat", "gameState.dat", "hiScores.dat", "scoreOutbox.dat"};
const char TEMPORARY_MARK[] = ".tmp-";
const std::size_t TEMPORARY_SUFFIX_LENGTH = 6;  // mkstemp's XXXXXX

bool isTemporaryOfSavedFile(const char* name) {
  for (const char* saved : SAVED_FILES) {
    const std::size_t length = std::strlen(saved);
    if (std::strncmp(name, saved, length) != 0) continue;
    const char* rest = name + length;
    if (std::strncmp(rest, TEMPORARY_MARK, sizeof(TEMPORARY_MARK) - 1) != 0) continue;
    if (std::strlen(rest + sizeof(TEMPORARY_MARK) - 1) == TEMPORARY_SUFFIX_LENGTH) return true;
  }
  return false;
}

}  // namespace

DataFolderLock::~DataFolderLock() {
  if (lockFile >= 0) ::close(lockFile);
}

DataFolderLock::Result DataFolderLock::acquire(const std::string& folder) {
  const std::string path = folder + "/pellix.lock";
  // Non-blocking: whatever sits at the path, the launch never waits on it.
  lockFile = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0644);
  if (lockFile < 0) return UNAVAILABLE;
  struct stat info;
  if (::fstat(lockFile, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(lockFile);
    lockFile = -1;
    return UNAVAILABLE;
  }
  if (::flock(lockFile, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(lockFile);
    lockFile = -1;
    return held ? HELD_ELSEWHERE : UNAVAILABLE;
  }
  lockedFolder = folder;
  return LOCKED;
}

int DataFolderLock::removeStaleTemporaryFiles() const {
  if (lockFile < 0) return 0;
  DIR* folder = ::opendir(lockedFolder.c_str());
  if (folder == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(folder)) {
    if (!isTemporaryOfSavedFile(entry->d_name)) continue;
    const std::string path = lockedFolder + "/" + entry->d_name;
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::unlink(path.c_str()) == 0) ++removed;
  }
  ::closedir(folder);
  return removed;
}
