// Temporary folders of the tests, and their removal at exit in processes that skip destructors.
#include "TempFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "WholeFile.h"

namespace {

// The folders alive in this process with the process that made each. Never destroyed, so that
// the exit handler can still read it after static destructors ran.
struct LiveFolders {
  std::mutex lock;
  std::vector<std::pair<pid_t, std::filesystem::path>> folders;
};

LiveFolders& liveFolders() {
  static LiveFolders* live = new LiveFolders();
  return *live;
}

void removeFoldersOfThisProcessAtExit() {
  LiveFolders& live = liveFolders();
  std::lock_guard<std::mutex> guard(live.lock);
  for (const auto& entry : live.folders) {
    std::error_code ignored;
    if (entry.first == getpid()) std::filesystem::remove_all(entry.second, ignored);
  }
  live.folders.clear();
}

void registerFolder(const std::filesystem::path& folder) {
  static const bool handlerInstalled = std::atexit(removeFoldersOfThisProcessAtExit) == 0;
  (void)handlerInstalled;
  LiveFolders& live = liveFolders();
  std::lock_guard<std::mutex> guard(live.lock);
  live.folders.emplace_back(getpid(), folder);
}

void forgetFolder(const std::filesystem::path& folder) {
  LiveFolders& live = liveFolders();
  std::lock_guard<std::mutex> guard(live.lock);
  for (auto it = live.folders.begin(); it != live.folders.end(); ++it) {
    if (it->second == folder) {
      live.folders.erase(it);
      return;
    }
  }
}

}  // namespace

TempFolder::TempFolder(const std::string& prefix) {
  std::error_code error;
  std::string pattern = (std::filesystem::temp_directory_path(error) / (prefix + "-XXXXXX")).string();
  // A test cannot go on without its folder: the exception fails it with the reason.
  if (error || mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder like " + pattern);
  folder = pattern;
  registerFolder(folder);
}

TempFolder::~TempFolder() {
  if (folder.empty()) return;
  forgetFolder(folder);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

std::string TempFolder::contentOf(const std::string& file) { return testfiles::readText(file); }

void TempFolder::writeFile(const std::string& file, const std::string& bytes) { testfiles::writeFile(file, bytes); }

int TempFolder::entryCount() const {
  int n = 0;
  std::error_code error;
  for (auto it = std::filesystem::directory_iterator(folder, error); !error && it != std::filesystem::directory_iterator();
       it.increment(error))
    ++n;
  return n;
}
