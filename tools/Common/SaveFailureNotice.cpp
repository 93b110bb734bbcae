// MyTl::SaveFailureNotice: one record, guarded by a mutex.
#include "SaveFailureNotice.h"

namespace MyTl {

namespace {

std::string folderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

void SaveFailureNotice::record(const std::string& path, const std::string& reason) {
  std::lock_guard<std::mutex> guard(lock);
  if (recorded) return;
  recorded = true;
  failedFolder = folderOf(path);
  failedReason = reason;
}

bool SaveFailureNotice::take(std::string& folder, std::string& reason) {
  std::lock_guard<std::mutex> guard(lock);
  if (!recorded || taken) return false;
  taken = true;
  folder = failedFolder;
  reason = failedReason;
  return true;
}

}  // namespace MyTl
