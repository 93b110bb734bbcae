// The catalogue chosen from the desktop's variables when the C library cannot load the locale
// they name: LANGUAGE first, else the first of LC_ALL, LC_MESSAGES and LANG reduced to its
// language, and nothing for the C locale; and English when no font has the catalogue's characters.
#include <gtest/gtest.h>
#include <libintl.h>

#include <clocale>
#include <cstdlib>

#include <map>
#include <string>

#include "LocaleSetup.h"
#include "Translation.h"

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

namespace {

int noGlyphs(const char*) { return 0; }
int oneBox(const char*) { return 1; }

// A catalogue whose characters no font has falls back to English; one that shows stays.
TEST(LocaleSetup, ACatalogueNoFontCanShowFallsBackToEnglish) {
  setenv("LANGUAGE", "de", 1);
  std::setlocale(LC_MESSAGES, "C.UTF-8");
  bindtextdomain(Translation::DOMAIN, PELLIX_TEST_LOCALE_DIR);
  bind_textdomain_codeset(Translation::DOMAIN, "UTF-8");
  ASSERT_EQ("de", Translation::catalogueLanguage());
  EXPECT_FALSE(LocaleSetup::fallBackWithoutGlyphs(noGlyphs));
  EXPECT_EQ("Neues Spiel", trContext("menu button", "New Game"));
  EXPECT_TRUE(LocaleSetup::fallBackWithoutGlyphs(oneBox));
  EXPECT_EQ("New Game", trContext("menu button", "New Game"));
  EXPECT_EQ("en", Translation::catalogueLanguage());
  unsetenv("LANGUAGE");
  std::setlocale(LC_MESSAGES, "C");
}

}  // namespace
