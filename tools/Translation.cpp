// Context lookups, message formatting and the catalogue's language.
#include "Translation.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace Translation {

std::string trContext(const char* context, const char* msgid) {
  std::string key = std::string(context) + '\004' + msgid;
  const char* found = dgettext(DOMAIN, key.c_str());
  // gettext hands back its argument when the catalogue has no entry.
  if (found == key.c_str() || std::strcmp(found, key.c_str()) == 0) return msgid;
  return found;
}

std::string format(const char* formatString, ...) {
  va_list arguments;
  va_start(arguments, formatString);
  va_list copy;
  va_copy(copy, arguments);
  const int length = std::vsnprintf(nullptr, 0, formatString, copy);
  va_end(copy);
  std::string text;
  if (length > 0) {
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), formatString, arguments);
    text.assign(buffer.data(), static_cast<size_t>(length));
  }
  va_end(arguments);
  return text;
}

std::string catalogueLanguage() {
  // The catalogue's header (the translation of the empty message) names its language in the
  // line "Language: de".
  const char* const headerKey = "";
  const char* header = dgettext(DOMAIN, headerKey);
  if (header == nullptr || header[0] == '\0') return "en";
  const char* line = std::strstr(header, "Language:");
  if (line == nullptr) return "en";
  line += std::strlen("Language:");
  while (*line == ' ') ++line;
  std::string code;
  while (*line != '\0' && *line != '\n' && *line != ' ') code += *line++;
  return code.empty() ? "en" : code;
}

}  // namespace Translation
