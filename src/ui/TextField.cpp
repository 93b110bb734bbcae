// Editing, scrolling and drawing of the one-line text field.
#include "TextField.h"

#include <algorithm>
#include <cmath>

#include "TextFieldDelegate.h"
#include "ViewPainter.h"
#include "ViewRoot.h"
#include "ViewStyle.h"

namespace Ui {

TextField::TextField(const ViewRect& frame)
    : View(frame), textColour(ViewStyle::textLight()), fontName(ViewStyle::FONT_NAME) {}

void TextField::setText(const std::string& text) {
  content.setText(text);
  textChanged();
}

void TextField::setPlaceholder(const std::string& text) { placeholderText = text; }

void TextField::setFont(const std::string& name, int pixelSize) {
  fontName = name.empty() ? ViewStyle::FONT_NAME : name;
  fontSize = pixelSize > 0 ? pixelSize : 1;
  lineHeight = -1;
  stopsValid = false;
}

int TextField::msUntilChange(int nowMs) {
  if (!isEditing()) return -1;
  if (blinkPending) return 0;
  const int elapsed = static_cast<int>(static_cast<unsigned>(nowMs) - static_cast<unsigned>(blinkStart));
  // A clock that went back shows the caret until the next blink.
  if (elapsed < 0) return CARET_BLINK_MS;
  return CARET_BLINK_MS - elapsed % CARET_BLINK_MS;
}

bool TextField::isEditing() {
  ViewRoot* screen = root();
  return screen != nullptr && screen->firstResponder() == this;
}

bool TextField::becomeFirstResponder() {
  if (isEditing()) return true;
  ViewRoot* screen = root();
  if (screen == nullptr || !screen->makeFirstResponder(*this)) return false;
  content.moveToEnd();
  restartBlink();
  if (fieldDelegate != nullptr) fieldDelegate->textFieldDidBeginEditing(*this);
  return true;
}

void TextField::resignFirstResponder() {
  if (ViewRoot* screen = root()) screen->resignFirstResponder(*this);
}

void TextField::firstResponderLost() {
  scrollOffset = 0.0f;
  if (fieldDelegate != nullptr) fieldDelegate->textFieldDidEndEditing(*this);
}

void TextField::touchDown(int, int) { tracking = true; }

void TextField::touchCancelled() { tracking = false; }

void TextField::touchUp(int x, int y) {
  if (!tracking) return;
  tracking = false;
  const ViewRect frame = screenFrame();
  if (!frame.contains(static_cast<float>(x), static_cast<float>(y))) return;
  if (!isEditing()) {
    becomeFirstResponder();
    return;
  }
  // A tap in the text being edited puts the caret at the nearest character boundary.
  const float wanted = static_cast<float>(x) - (frame.x + TEXT_INSET) + scrollOffset;
  const std::vector<TextMeasurer::CaretStop>& all = stops();
  auto nearest = std::min_element(all.begin(), all.end(), [wanted](const auto& a, const auto& b) {
    return std::fabs(a.x - wanted) < std::fabs(b.x - wanted);
  });
  if (nearest != all.end()) content.setCaret(nearest->index);
  restartBlink();
}

bool TextField::keyPressed(ViewKey key) {
  switch (key) {
    case ViewKey::RETURN: {
      const bool end = fieldDelegate == nullptr || fieldDelegate->textFieldShouldReturn(*this);
      if (end && isEditing()) resignFirstResponder();
      return true;
    }
    case ViewKey::BACKSPACE:
      if (content.deleteBackward()) textChanged();
      break;
    case ViewKey::DELETE:
      if (content.deleteForward()) textChanged();
      break;
    case ViewKey::LEFT:
      content.moveLeft();
      break;
    case ViewKey::RIGHT:
      content.moveRight();
      break;
    case ViewKey::HOME:
      content.moveToStart();
      break;
    case ViewKey::END:
      content.moveToEnd();
      break;
    case ViewKey::ESCAPE:
      return false;
  }
  restartBlink();
  return true;
}

bool TextField::textTyped(const std::string& utf8) {
  if (!isEditing()) return false;
  if (content.insert(utf8)) textChanged();
  restartBlink();
  return true;
}

void TextField::textChanged() { stopsValid = false; }

const std::vector<TextMeasurer::CaretStop>& TextField::stops() {
  if (!stopsValid) {
    caretStopCache = TextMeasurer::caretStops(content.text(), fontName.c_str(), fontSize);
    stopsValid = true;
  }
  return caretStopCache;
}

float TextField::caretX() {
  const std::vector<TextMeasurer::CaretStop>& all = stops();
  auto it = std::lower_bound(all.begin(), all.end(), content.caret(),
                             [](const TextMeasurer::CaretStop& stop, size_t index) { return stop.index < index; });
  return it != all.end() ? it->x : (all.empty() ? 0.0f : all.back().x);
}

int TextField::fontLineHeight() {
  if (lineHeight < 0) lineHeight = TextMeasurer::measure("Ag", fontName.c_str(), fontSize, 0).height;
  return lineHeight;
}

void TextField::scrollToCaret(float visibleWidth) {
  const float total = stops().back().x;
  // Room at the right end for the caret itself.
  const float room = visibleWidth - 2.0f;
  if (total <= room || room <= 0.0f) {
    scrollOffset = 0.0f;
    return;
  }
  const float x = caretX();
  if (x - scrollOffset > room) scrollOffset = x - room;
  if (x < scrollOffset) scrollOffset = x;
  scrollOffset = std::clamp(scrollOffset, 0.0f, total - room);
}

void TextField::draw(ViewPainter& painter, const ViewRect& frame) {
  const bool editing = isEditing();
  const float radius = border == BORDER_ROUNDED_RECT ? 7.0f : border == BORDER_BEZEL ? 3.0f : 0.0f;
  if (background.a > 0.0f) painter.fillRoundedRect(frame, radius, background);
  if (border != BORDER_NONE) {
    const ViewColour edge = editing ? ViewStyle::accent() : ViewStyle::panelEdge();
    painter.strokeRoundedRect(frame, radius, border == BORDER_BEZEL && editing ? 2.0f : 1.0f, edge);
  }

  const ViewRect inner(frame.x + TEXT_INSET, frame.y, frame.w - 2.0f * TEXT_INSET, frame.h);
  if (inner.w <= 0.0f) return;
  const int line = fontLineHeight();
  const float textY = std::round(frame.y + (frame.h - static_cast<float>(line)) / 2.0f);
  ViewPainter::TextStyle style;
  style.fontName = fontName.c_str();
  style.pixelSize = fontSize;

  painter.pushClip(inner);
  if (content.isEmpty()) {
    scrollOffset = 0.0f;
    if (!placeholderText.empty()) {
      painter.drawText(placeholderText, inner.x, textY, style, textColour.withAlpha(textColour.a * 0.45f));
    }
  } else {
    if (editing) {
      scrollToCaret(inner.w);
    } else {
      scrollOffset = 0.0f;
    }
    // Only the visible stretch of a long text is drawn, so its texture stays small.
    const std::vector<TextMeasurer::CaretStop>& all = stops();
    size_t first = 0;
    while (first + 1 < all.size() && all[first + 1].x <= scrollOffset) ++first;
    size_t last = first;
    while (last + 1 < all.size() && all[last].x < scrollOffset + inner.w) ++last;
    const std::string visible = content.text().substr(all[first].index, all[last].index - all[first].index);
    if (editing && content.isAllSelected()) {
      const float left = std::round(inner.x - scrollOffset);
      painter.fillRect(ViewRect(left, textY, std::round(all.back().x) + 1.0f, static_cast<float>(line)),
                       ViewStyle::accentDark());
    }
    painter.drawText(visible, inner.x + all[first].x - scrollOffset, textY, style, textColour);
  }
  painter.popClip();

  if (editing) {
    if (blinkPending) {
      blinkPending = false;
      blinkStart = painter.nowMs();
    }
    const int elapsed = static_cast<int>(static_cast<unsigned>(painter.nowMs()) - static_cast<unsigned>(blinkStart));
    if (elapsed < 0 || (elapsed / CARET_BLINK_MS) % 2 == 0) {
      const float x = std::round(inner.x + caretX() - scrollOffset);
      painter.pushClip(frame);
      painter.fillRect(ViewRect(x - 1.0f, textY, 2.0f, static_cast<float>(line)), ViewStyle::accent());
      painter.popClip();
    }
  }
}

}  // namespace Ui
