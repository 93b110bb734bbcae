// Resource folder lookup relative to the running executable.
#include "Resources.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string& chosenDirectory() {
  static std::string folder;
  return folder;
}

bool isDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string executableDirectory() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (length <= 0) return std::string();
  std::string path(buffer, static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string findDirectory() {
  const std::string exeDir = executableDirectory();
  const std::string candidates[] = {
      exeDir + "/resources",
      exeDir + "/../share/pellix/resources",
#ifdef PELLIX_BUILD_RESOURCE_DIR
      PELLIX_BUILD_RESOURCE_DIR,
#endif
  };
  for (const std::string& candidate : candidates) {
    if (isDirectory(candidate)) return candidate;
  }
  return std::string();
}

}  // namespace

void Resources::setDirectory(const std::string& folder) { chosenDirectory() = folder; }

std::string Resources::directory() {
  if (chosenDirectory().empty()) chosenDirectory() = findDirectory();
  return chosenDirectory();
}

std::string Resources::pathFor(const std::string& name, const std::string& type) {
  return directory() + "/" + name + "." + type;
}
