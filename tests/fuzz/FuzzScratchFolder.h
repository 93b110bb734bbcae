// FuzzScratchFolder: the private folder of one fuzzing process. Every input is written into it
// as a real file before the reader under test opens it, and the game's writers save their files
// there. The fuzz targets create it on first use (in LLVMFuzzerInitialize); it is removed with
// its content when the process exits normally.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzScratchFolder {
 public:
  // The process's folder, created on the first call. A folder that cannot be created stops
  // the process: no fuzzing is possible without it.
  static FuzzScratchFolder& instance();

  // Full path of the file `name` in the folder.
  std::string path(const std::string& name) const;
  // Replaces the file `name` with exactly `size` bytes of `data` and returns its path.
  std::string write(const std::string& name, const uint8_t* data, size_t size) const;

  FuzzScratchFolder(const FuzzScratchFolder&) = delete;
  FuzzScratchFolder& operator=(const FuzzScratchFolder&) = delete;

 private:
  FuzzScratchFolder();
  ~FuzzScratchFolder();

  std::string folder;
};
