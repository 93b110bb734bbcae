// EditableText: the text of a text field and its caret, with the editing operations of the
// keyboard. The text is always valid UTF-8 and the caret always sits between two characters:
// typed text is cleaned on the way in, and every step and deletion covers a whole character.
// The whole text may be selected (as a field offering a name to keep or replace): typing then
// replaces it, a deletion removes it, and any caret movement drops the selection.
// Owned by value by TextField; main thread only.
#pragma once

#include <cstddef>
#include <string>

namespace Ui {

class EditableText {
 public:
  // Replaces the text (cleaned like typed text) and puts the caret at its end, unselected.
  void setText(const std::string& text);
  // Selects the whole text (nothing when it is empty); the caret goes to its end.
  void selectAll();
  bool isAllSelected() const { return allSelected; }
  const std::string& text() const { return content; }
  bool isEmpty() const { return content.empty(); }
  // The caret as a byte offset into text(), always at a character boundary.
  size_t caret() const { return caretIndex; }
  // Moves the caret to `index`, or to the boundary before it when `index` is inside a character.
  void setCaret(size_t index);

  // Inserts typed text at the caret (in place of the selected text) and moves the caret after
  // it. Invalid UTF-8 becomes U+FFFD; control characters (line breaks, tabs) are left out.
  // Returns whether the text changed.
  bool insert(const std::string& typed);
  // Removes the selected text, or else the character before / after the caret. Return whether
  // the text changed.
  bool deleteBackward();
  bool deleteForward();
  // Caret steps by one character, or to either end.
  void moveLeft();
  void moveRight();
  void moveToStart() {
    allSelected = false;
    caretIndex = 0;
  }
  void moveToEnd() {
    allSelected = false;
    caretIndex = content.size();
  }

 private:
  // Removes the selected text; false when nothing was selected.
  bool deleteSelection();

  std::string content;
  size_t caretIndex = 0;
  bool allSelected = false;
};

}  // namespace Ui
