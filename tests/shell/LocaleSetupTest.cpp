// The catalogue chosen from the desktop's variables when the C library cannot load the locale
// they name: LANGUAGE first, else the first of LC_ALL, LC_MESSAGES and LANG reduced to its
// language, and nothing for the C locale.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "LocaleSetup.h"

namespace {

std::map<std::string, std::string> variables;

const char* lookUp(const char* name) {
  const auto found = variables.find(name);
  return found == variables.end() ? nullptr : found->second.c_str();
}

TEST(LocaleSetup, TheLanguageListFollowsTheVariablesInTheirOrder) {
  const struct {
    std::map<std::string, std::string> set;
    const char* list;
  } cases[] = {
      {{}, ""},
      {{{"LANG", "de_DE.UTF-8"}}, "de_DE:de"},
      {{{"LANG", "de_DE.UTF-8@euro"}}, "de_DE:de"},
      {{{"LANG", "ja"}}, "ja"},
      {{{"LANG", "pt_BR.utf8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, "fr_FR:fr"},
      {{{"LANG", "pt_BR.utf8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}, {"LC_ALL", "zh_CN.UTF-8"}}, "zh_CN:zh"},
      {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "nl:de"}}, "nl:de"},
      // Empty variables count as unset, as the C library counts them.
      {{{"LANG", "it_IT.UTF-8"}, {"LC_ALL", ""}, {"LANGUAGE", ""}}, "it_IT:it"},
      {{{"LANG", "C.UTF-8"}}, ""},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "C"}}, ""},
      {{{"LANG", "POSIX"}}, ""},
  };
  for (const auto& c : cases) {
    variables = c.set;
    EXPECT_EQ(c.list, LocaleSetup::languageList(lookUp)) << ::testing::PrintToString(c.set);
  }
}

}  // namespace
