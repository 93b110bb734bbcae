// The scratch folder lives in memory (/dev/shm) where that exists: the game's writers sync every
// file they save, and a fuzz target saves several files per input. Its name carries the process
// id, so that the folders of fuzzing processes that died on a finding (and never cleaned up)
// are recognised and removed by the next one.
#include "FuzzScratchFolder.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

const std::string kPrefix = "pellix-fuzz-";

// Removes the scratch folders under `parent` whose process no longer exists.
void removeAbandonedFolders(const std::filesystem::path& parent) {
  std::vector<std::filesystem::path> abandoned;
  std::error_code error;
  for (std::filesystem::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, kPrefix.size(), kPrefix) != 0) continue;
    char* rest = nullptr;
    const long pid = std::strtol(name.c_str() + kPrefix.size(), &rest, 10);
    if (pid <= 0 || *rest != '-') continue;  // not one of ours
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) abandoned.push_back(it->path());
  }
  for (const std::filesystem::path& folder : abandoned) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
}

std::filesystem::path parentFolder() {
  const std::filesystem::path inMemory("/dev/shm");
  std::error_code error;
  if (std::filesystem::is_directory(inMemory, error) && ::access(inMemory.c_str(), W_OK) == 0) return inMemory;
  return std::filesystem::temp_directory_path(error);
}

}  // namespace

FuzzScratchFolder& FuzzScratchFolder::instance() {
  static FuzzScratchFolder scratch;
  return scratch;
}

FuzzScratchFolder::FuzzScratchFolder() {
  const std::filesystem::path parent = parentFolder();
  removeAbandonedFolders(parent);
  std::string pattern = (parent / (kPrefix + std::to_string(::getpid()) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("cannot create the fuzz scratch folder");
    std::abort();
  }
  folder = pattern;
}

FuzzScratchFolder::~FuzzScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

std::string FuzzScratchFolder::path(const std::string& name) const { return folder + "/" + name; }

std::string FuzzScratchFolder::write(const std::string& name, const uint8_t* data, size_t size) const {
  const std::string file = path(name);
  std::FILE* out = std::fopen(file.c_str(), "wb");
  // A scratch file that cannot be written is a broken harness, not a finding about a reader.
  if (out == nullptr || (size > 0 && std::fwrite(data, 1, size, out) != size) || std::fclose(out) != 0) {
    std::perror(file.c_str());
    std::abort();
  }
  return file;
}
