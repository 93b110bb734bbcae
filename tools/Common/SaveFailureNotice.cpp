// MyTl::SaveFailureNotice: one record, guarded by a mutex.
#include "SaveFailureNotice.h"

#include <mutex>

namespace MyTl {

namespace {

std::mutex noticeLock;
bool recorded = false;
bool taken = false;
std::string failedFolder;
std::string failedReason;

std::string folderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

void SaveFailureNotice::record(const std::string& path, const std::string& reason) {
  std::lock_guard<std::mutex> guard(noticeLock);
  if (recorded) return;
  recorded = true;
  failedFolder = folderOf(path);
  failedReason = reason;
}

bool SaveFailureNotice::take(std::string& folder, std::string& reason) {
  std::lock_guard<std::mutex> guard(noticeLock);
  if (!recorded || taken) return false;
  taken = true;
  folder = failedFolder;
  reason = failedReason;
  return true;
}

void SaveFailureNotice::resetForTesting() {
  std::lock_guard<std::mutex> guard(noticeLock);
  recorded = taken = false;
  failedFolder.clear();
  failedReason.clear();
}

}  // namespace MyTl
