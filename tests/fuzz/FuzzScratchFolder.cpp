// The scratch folder lives in memory (/dev/shm) where that exists: the game's writers sync every
// file they save, and a fuzz target saves several files per input.
#include "FuzzScratchFolder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

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
  std::string pattern = (parentFolder() / "pellix-fuzz-XXXXXX").string();
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
