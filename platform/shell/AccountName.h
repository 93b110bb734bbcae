// AccountName: the player's real name as the system account records it (the first field of the
// password entry's comment, the GECOS field), offered in the name entry before any name has been
// typed. Called once by the shell at launch.
#pragma once

#include <string>

class AccountName {
 public:
  // The running user's real name; empty when the account records none.
  static std::string realName();
  // The real name in a GECOS field: its first comma-separated field, trimmed, with "&" standing
  // for the login name with a capital first letter (an old convention some systems still use).
  static std::string fromGecos(const std::string& gecos, const std::string& login);
};
