// A fresh folder under the system's temporary folder for one test, removed with everything in
// it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mytl-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr) << "cannot create a temporary folder";
    folder = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path(const std::string& name) const { return (folder / name).string(); }
  const std::filesystem::path& root() const { return folder; }

  // The whole content of a file ("" when it cannot be read).
  static std::string contentOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void writeFile(const std::string& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  // Names of the entries in the folder.
  int entryCount() const {
    int n = 0;
    for (auto it = std::filesystem::directory_iterator(folder); it != std::filesystem::directory_iterator(); ++it) ++n;
    return n;
  }

 private:
  std::filesystem::path folder;
};
