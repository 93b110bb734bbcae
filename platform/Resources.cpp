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

std::string& chosenLookFolder() {
  static std::string folder;
  return folder;
}

bool isFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
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
  for (const std::string& candidate : Resources::candidateDirectories()) {
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

std::vector<std::string> Resources::candidateDirectories() {
  const std::string exeDir = executableDirectory();
  if (exeDir.empty()) return {};
  // The build tree keeps the generated files next to the binary; an installed prefix keeps
  // them in share/pellix beside bin/.
  return {exeDir + "/resources", exeDir + "/../share/pellix"};
}

std::string Resources::pathFor(const std::string& name, const std::string& type) {
  if (!chosenLookFolder().empty()) {
    const std::string inLook = directory() + "/" + chosenLookFolder() + "/" + name + "." + type;
    if (isFile(inLook)) return inLook;
  }
  return directory() + "/" + name + "." + type;
}

void Resources::setLookFolder(const std::string& folder) { chosenLookFolder() = folder; }

std::string Resources::lookFolder() { return chosenLookFolder(); }

std::string Resources::localeDirectory() {
  const std::string exeDir = executableDirectory();
  if (exeDir.empty()) return std::string();
  for (const std::string& candidate : {exeDir + "/share/locale", exeDir + "/../share/locale"}) {
    if (isDirectory(candidate)) return candidate;
  }
  return std::string();
}
