// Locale choice and catalogue binding at launch.
#include "LocaleSetup.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "Translation.h"

namespace {

const char* environmentVariable(const char* name) { return std::getenv(name); }

bool isSet(const char* value) { return value != nullptr && value[0] != '\0'; }

bool isPlainC(const std::string& locale) {
  return locale.empty() || locale == "C" || locale == "POSIX" || locale.rfind("C.", 0) == 0;
}

}  // namespace

std::string LocaleSetup::languageList(const char* (*variable)(const char* name)) {
  if (isSet(variable("LANGUAGE"))) return variable("LANGUAGE");
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = variable(name);
    if (!isSet(value)) continue;
    std::string locale = value;
    if (isPlainC(locale)) return std::string();
    // Drop the codeset and the modifier: de_DE.UTF-8@euro -> de_DE.
    const size_t cut = locale.find_first_of(".@");
    if (cut != std::string::npos) locale.erase(cut);
    const size_t underscore = locale.find('_');
    if (underscore == std::string::npos) return locale;
    return locale + ":" + locale.substr(0, underscore);
  }
  return std::string();
}

void LocaleSetup::apply(const std::string& catalogueFolder) {
  // Only the messages follow the desktop's locale. The character classes stay C's: under a UTF-8
  // LC_CTYPE the X11 layer sets up input methods and the window's first frame came late; the
  // catalogue is read as UTF-8 whatever LC_CTYPE says (bind_textdomain_codeset below), and
  // numbers keep the C format.
  const char* loaded = std::setlocale(LC_MESSAGES, "");
  const std::string messages = loaded != nullptr ? loaded : std::string();
  if (loaded == nullptr || isPlainC(messages)) {
    // gettext ignores LANGUAGE under the plain C locale; C.UTF-8 lets it choose the catalogue.
    const std::string languages = languageList(environmentVariable);
    if (!languages.empty()) {
      setenv("LANGUAGE", languages.c_str(), 1);
      if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr) std::setlocale(LC_MESSAGES, "");
    }
  }
  if (!catalogueFolder.empty()) bindtextdomain(Translation::DOMAIN, catalogueFolder.c_str());
  bind_textdomain_codeset(Translation::DOMAIN, "UTF-8");
  textdomain(Translation::DOMAIN);
}

bool LocaleSetup::fallBackWithoutGlyphs(int (*unknownGlyphs)(const char* text)) {
  if (Translation::catalogueLanguage() == "en") return false;
  // A sample of the catalogue: titles, buttons and a sentence of the instructions.
  const std::string sample = trContext("menu button", "New Game") + trContext("screen title", "Settings") +
                             tr("Game clock:") + trContext("heading", "Game Over") + trContext("alert button", "Cancel");
  if (unknownGlyphs(sample.c_str()) == 0) return false;
  // No catalogue is found in a folder that does not exist: every message stays English.
  bindtextdomain(Translation::DOMAIN, "/nonexistent/pellix-without-fonts");
  return true;
}
