// The account's real name from the password database.
#include "AccountName.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <vector>

std::string AccountName::realName() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  if (size <= 0) size = 16384;
  std::vector<char> buffer(static_cast<size_t>(size));
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return std::string();
  return fromGecos(found->pw_gecos != nullptr ? found->pw_gecos : "", found->pw_name != nullptr ? found->pw_name : "");
}

std::string AccountName::fromGecos(const std::string& gecos, const std::string& login) {
  std::string name = gecos.substr(0, gecos.find(','));
  std::string capitalised = login;
  if (!capitalised.empty()) capitalised[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capitalised[0])));
  for (size_t at = name.find('&'); at != std::string::npos; at = name.find('&', at + capitalised.size())) {
    name.replace(at, 1, capitalised);
  }
  const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  size_t first = 0;
  while (first < name.size() && isSpace(name[first])) ++first;
  size_t end = name.size();
  while (end > first && isSpace(name[end - 1])) --end;
  return name.substr(first, end - first);
}
