// Finding and creating the per-user data and configuration folders.
#include "DataDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string DataDirectory::locate() {
  std::filesystem::path base;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
  if (dataHome != nullptr && dataHome[0] == '/') {
    base = dataHome;
  } else if (home != nullptr && home[0] != '\0') {
    base = std::filesystem::path(home) / ".local" / "share";
  } else {
    return std::string();
  }
  const std::filesystem::path folder = base / "pellix";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder.string();
}

std::string DataDirectory::preferencesFile() {
  std::filesystem::path base;
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (configHome != nullptr && configHome[0] == '/') {
    base = configHome;
  } else if (home != nullptr && home[0] != '\0') {
    base = std::filesystem::path(home) / ".config";
  } else {
    return std::string();
  }
  const std::filesystem::path folder = base / "pellix";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return (folder / "preferences").string();
}
