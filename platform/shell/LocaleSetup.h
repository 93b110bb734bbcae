// Chooses the player's language at launch and binds the game's message catalogues. main calls
// apply() once, before any text is made. The language follows LANGUAGE, LC_ALL, LC_MESSAGES and
// LANG, as on the rest of the desktop; when the C library cannot load the locale those name
// (not generated on this machine), the catalogue is still chosen from them: LANGUAGE is set from
// the first of them and the C.UTF-8 locale is used, under which gettext honours LANGUAGE.
// Only LC_MESSAGES is set: numbers and character classes keep the C locale's rules, so saved
// files, the server protocol and the window system's text handling never change.
#pragma once

#include <string>

class LocaleSetup {
 public:
  // Sets the locale, binds text domain "pellix" to `catalogueFolder` (when not empty) and makes
  // it the default domain.
  static void apply(const std::string& catalogueFolder);

  // After apply(): when the catalogue in use has words that no installed font can show (a
  // Japanese or Chinese catalogue without a CJK font), the game speaks English instead of
  // drawing boxes. `unknownGlyphs` counts such characters in a text; true when it fell back.
  static bool fallBackWithoutGlyphs(int (*unknownGlyphs)(const char* text));

  // The LANGUAGE list to use when the locale named by the variables cannot be loaded: LANGUAGE
  // itself when set, else the first of LC_ALL, LC_MESSAGES, LANG reduced to its language
  // ("de_DE.UTF-8@euro" gives "de_DE:de"); empty for the C/POSIX locale or nothing set.
  // `variable` reads the environment (tests pass their own).
  static std::string languageList(const char* (*variable)(const char* name));
};
