// Text and caret editing over whole UTF-8 characters.
#include "EditableText.h"

#include "Utf8Text.h"

namespace Ui {

void EditableText::setText(const std::string& text) {
  content = Utf8Text::sanitize(text, true);
  caretIndex = content.size();
  allSelected = false;
}

void EditableText::selectAll() {
  caretIndex = content.size();
  allSelected = !content.empty();
}

bool EditableText::deleteSelection() {
  if (!allSelected) return false;
  allSelected = false;
  content.clear();
  caretIndex = 0;
  return true;
}

void EditableText::setCaret(size_t index) {
  allSelected = false;
  if (index > content.size()) index = content.size();
  while (!Utf8Text::isBoundary(content, index)) --index;
  caretIndex = index;
}

bool EditableText::insert(const std::string& typed) {
  const std::string clean = Utf8Text::sanitize(typed, true);
  if (clean.empty()) return false;
  deleteSelection();
  content.insert(caretIndex, clean);
  caretIndex += clean.size();
  return true;
}

bool EditableText::deleteBackward() {
  if (deleteSelection()) return true;
  if (caretIndex == 0) return false;
  const size_t start = Utf8Text::previousBoundary(content, caretIndex);
  content.erase(start, caretIndex - start);
  caretIndex = start;
  return true;
}

bool EditableText::deleteForward() {
  if (deleteSelection()) return true;
  if (caretIndex >= content.size()) return false;
  const size_t end = Utf8Text::nextBoundary(content, caretIndex);
  content.erase(caretIndex, end - caretIndex);
  return true;
}

void EditableText::moveLeft() {
  allSelected = false;
  caretIndex = Utf8Text::previousBoundary(content, caretIndex);
}

void EditableText::moveRight() {
  allSelected = false;
  caretIndex = Utf8Text::nextBoundary(content, caretIndex);
}

}  // namespace Ui
