// The words the player reads, in the player's language: every player-visible string of the
// core goes through these calls. They look the text up in the message catalogue of the text
// domain "pellix" (GNU gettext, part of the C library); the shell binds the domain to the
// installed catalogues and chooses the language before the first frame (LocaleSetup).
// Without a catalogue the English text comes back unchanged. Any thread may call them.
//
// Marking for xgettext (po/CMakeLists.txt lists these keywords):
//   tr("Text")                    a plain message
//   trContext("ctx", "Text")      one English word with two meanings, told apart by ctx
//   trPlural("One", "Many", n)    a message whose wording follows the number n
//   TR_NOOP("Text")               marks a message kept in a table; tr() it where it is shown
//   TRC_NOOP("ctx", "Text")       the same with a context: expands to the two initialisers
//                                 "ctx", "Text" of a table row; trContext() them where shown
// Format strings use numbered arguments ("%1$s", "%2$d") so translators can reorder them;
// format() fills them.
#pragma once

#include <libintl.h>

#include <string>

#define TR_NOOP(text) (text)
#define TRC_NOOP(context, text) context, text

namespace Translation {

inline constexpr const char* DOMAIN = "pellix";

// `msgid` in the player's language.
__attribute__((format_arg(1))) inline const char* tr(const char* msgid) { return dgettext(DOMAIN, msgid); }

// `msgid` as meant in `context`: the catalogue's key is context, EOT, msgid (gettext's pgettext
// convention); without a translation the English msgid comes back.
std::string trContext(const char* context, const char* msgid);

// The singular or plural form for n in the player's language.
__attribute__((format_arg(1), format_arg(2))) inline const char* trPlural(const char* singular, const char* plural, unsigned long n) {
  return dngettext(DOMAIN, singular, plural, n);
}

// The translated format string with its numbered arguments filled in (printf conventions,
// positional arguments included).
std::string format(const char* formatString, ...) __attribute__((format(printf, 1, 2)));

// The language code of the catalogue in use ("de", "pt_BR"), or "en" for the built-in English:
// the renderer hands it to Pango so that fonts are picked for that script.
std::string catalogueLanguage();

}  // namespace Translation

using Translation::tr;
using Translation::trContext;
using Translation::trPlural;
