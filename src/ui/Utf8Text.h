// Utf8Text: the UTF-8 rules of text entry: making any byte string valid text, and stepping over
// whole characters (code points) so that the caret and deletions never split one.
// Stateless; called by EditableText, TextField and Alert on the main thread.
#pragma once

#include <cstddef>
#include <string>

namespace Ui {

class Utf8Text {
 public:
  // Valid UTF-8 for any input: each malformed, overlong, surrogate or cut-off sequence becomes
  // U+FFFD. With dropControls, control characters (U+0000-U+001F, U+007F-U+009F) are left out:
  // a name or a line of typed text holds no line breaks or tabs.
  static std::string sanitize(const std::string& bytes, bool dropControls);

  // The start of the character before `index` (0 stays 0). `text` must be valid UTF-8.
  static size_t previousBoundary(const std::string& text, size_t index);
  // The end of the character that starts at `index` (text.size() stays text.size()).
  static size_t nextBoundary(const std::string& text, size_t index);
  // Whether `index` is the start of a character or the end of the text.
  static bool isBoundary(const std::string& text, size_t index);
  // The number of characters.
  static size_t length(const std::string& text);
};

}  // namespace Ui
