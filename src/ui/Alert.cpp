// Layout, answering and drawing of the modal alert.
#include "Alert.h"

#include <algorithm>
#include <cmath>

#include "AlertDelegate.h"
#include "Assert.h"
#include "TextMeasurer.h"
#include "Utf8Text.h"
#include "ViewPainter.h"
#include "ViewRoot.h"
#include "ViewStyle.h"

namespace Ui {

namespace {

const float PADDING = 16.0f;
const float BUTTON_HEIGHT = 40.0f;
const float BUTTON_GAP = 8.0f;
const float SCREEN_MARGIN = 10.0f;
const int TITLE_SIZE = 17;
const int MESSAGE_SIZE = 14;
const int BUTTON_TEXT_SIZE = 16;
// A title too long for its button is set smaller, down to this size.
const int SMALLEST_BUTTON_TEXT_SIZE = 11;
// The room kept free on either side of a button's title.
const float BUTTON_TEXT_MARGIN = 4.0f;

}  // namespace

Alert::Alert(const std::string& title, const std::string& message, AlertDelegate* delegate,
             const char* cancelButtonTitle, const std::vector<std::string>& otherButtonTitles)
    : titleText(Utf8Text::sanitize(title, false)),
      messageText(Utf8Text::sanitize(message, false)),
      alertDelegate(delegate) {
  if (cancelButtonTitle != nullptr) {
    cancelIndex = 0;
    buttons.push_back(Utf8Text::sanitize(cancelButtonTitle, true));
  }
  for (const std::string& other : otherButtonTitles) buttons.push_back(Utf8Text::sanitize(other, true));
}

const std::string& Alert::buttonTitleAtIndex(int index) const {
  MYTL_ASSERT(index >= 0 && index < numberOfButtons(), "Alert");
  return buttons[static_cast<size_t>(index)];
}

void Alert::show(View& anyViewOnScreen) {
  MYTL_ASSERT(!weak_from_this().expired(), "Alert");
  ViewRoot* screen = anyViewOnScreen.root();
  MYTL_ASSERT(screen != nullptr, "Alert");
  if (root() == screen) return;
  setFrame(ViewRect(0.0f, 0.0f, screen->frame().w, screen->frame().h));
  focusIndex = -1;
  pressedButton = -1;
  pressedInside = false;
  screen->addSubview(shared_from_this());
}

void Alert::dismiss() {
  pressedButton = -1;
  removeFromSuperview();
}

void Alert::answer(int index) {
  std::shared_ptr<View> keep = shared_from_this();  // the screen may hold the last reference
  dismiss();
  if (alertDelegate != nullptr) alertDelegate->alertClickedButtonAtIndex(*this, index);
}

const Alert::Layout& Alert::layout() {
  const ViewRect screen = screenFrame();
  if (layoutValid && screen.x == layoutScreen.x && screen.y == layoutScreen.y && screen.w == layoutScreen.w &&
      screen.h == layoutScreen.h) {
    return cached;
  }
  layoutScreen = screen;
  layoutValid = true;
  Layout& l = cached;
  const float width = std::max(2.0f * PADDING + 1.0f, std::min(PANEL_WIDTH, screen.w - 2.0f * SCREEN_MARGIN));
  const float contentWidth = width - 2.0f * PADDING;
  const int wrap = static_cast<int>(contentWidth);
  const float titleHeight =
      titleText.empty() ? 0.0f
                        : static_cast<float>(TextMeasurer::measure(titleText, ViewStyle::FONT_NAME, TITLE_SIZE, wrap).height);
  float messageHeight =
      messageText.empty()
          ? 0.0f
          : static_cast<float>(TextMeasurer::measure(messageText, ViewStyle::FONT_NAME, MESSAGE_SIZE, wrap).height);
  const size_t count = buttons.size();
  const float halfWidth = (contentWidth - BUTTON_GAP) / 2.0f;
  const bool sideBySide = count <= 2 && std::all_of(buttons.begin(), buttons.end(), [&](const std::string& title) {
                            return titleWidth(title, BUTTON_TEXT_SIZE) <= halfWidth - 2.0f * BUTTON_TEXT_MARGIN;
                          });
  const float buttonsHeight = count == 0 ? 0.0f
                              : sideBySide ? BUTTON_HEIGHT
                                           : static_cast<float>(count) * BUTTON_HEIGHT +
                                                 static_cast<float>(count - 1) * BUTTON_GAP;
  const float titleGap = titleHeight > 0.0f && messageHeight > 0.0f ? 8.0f : 0.0f;
  const float buttonsGap = count > 0 ? 18.0f : 0.0f;
  const float fixed = 2.0f * PADDING + titleHeight + titleGap + buttonsGap + buttonsHeight;
  // A message too long for the screen is cut off rather than pushing the buttons away.
  const float room = screen.h - 2.0f * SCREEN_MARGIN - fixed;
  messageHeight = std::max(0.0f, std::min(messageHeight, room));
  const float height = fixed + messageHeight;

  l.panel = ViewRect(std::round(screen.x + (screen.w - width) / 2.0f), std::round(screen.y + (screen.h - height) / 2.0f),
                     width, height);
  l.titleY = l.panel.y + PADDING;
  l.messageY = l.titleY + titleHeight + titleGap;
  l.messageHeight = messageHeight;
  const float buttonsTop = l.messageY + messageHeight + buttonsGap;
  l.buttons.clear();
  l.buttonTextSizes.clear();
  for (size_t i = 0; i < count; ++i) {
    if (sideBySide) {
      const float w = (contentWidth - static_cast<float>(count - 1) * BUTTON_GAP) / static_cast<float>(count);
      l.buttons.emplace_back(l.panel.x + PADDING + static_cast<float>(i) * (w + BUTTON_GAP), buttonsTop, w,
                             BUTTON_HEIGHT);
    } else {
      l.buttons.emplace_back(l.panel.x + PADDING, buttonsTop + static_cast<float>(i) * (BUTTON_HEIGHT + BUTTON_GAP),
                             contentWidth, BUTTON_HEIGHT);
    }
    int size = BUTTON_TEXT_SIZE;
    while (size > SMALLEST_BUTTON_TEXT_SIZE && titleWidth(buttons[i], size) > l.buttons.back().w - 2.0f * BUTTON_TEXT_MARGIN) --size;
    l.buttonTextSizes.push_back(size);
  }
  return l;
}

float Alert::titleWidth(const std::string& title, int pixelSize) {
  return static_cast<float>(TextMeasurer::measure(title, ViewStyle::FONT_NAME, pixelSize, 0).width);
}

int Alert::buttonTextSize(int index) {
  MYTL_ASSERT(index >= 0 && index < numberOfButtons(), "Alert");
  return layout().buttonTextSizes[static_cast<size_t>(index)];
}

ViewRect Alert::buttonFrame(int index) {
  MYTL_ASSERT(index >= 0 && index < numberOfButtons(), "Alert");
  return layout().buttons[static_cast<size_t>(index)];
}

ViewRect Alert::panelFrame() { return layout().panel; }

int Alert::buttonAt(int x, int y) {
  const Layout& l = layout();
  for (size_t i = 0; i < l.buttons.size(); ++i) {
    if (l.buttons[i].contains(static_cast<float>(x), static_cast<float>(y))) return static_cast<int>(i);
  }
  return -1;
}

View* Alert::hitTest(float, float) { return isHidden() ? nullptr : this; }

void Alert::touchDown(int x, int y) {
  pressedButton = buttonAt(x, y);
  pressedInside = pressedButton >= 0;
}

void Alert::touchDrag(int x, int y) {
  if (pressedButton >= 0) pressedInside = buttonAt(x, y) == pressedButton;
}

void Alert::touchUp(int x, int y) {
  const int pressed = pressedButton;
  pressedButton = -1;
  pressedInside = false;
  // Only a touch that began and ended on the same button answers.
  if (pressed >= 0 && buttonAt(x, y) == pressed) answer(pressed);
}

void Alert::setDefaultButtonIndex(int index) {
  MYTL_ASSERT(index >= 0 && index < numberOfButtons(), "Alert");
  defaultIndex = index;
}

void Alert::touchCancelled() {
  pressedButton = -1;
  pressedInside = false;
}

bool Alert::keyPressed(ViewKey key) {
  if (key == ViewKey::RETURN && !buttons.empty()) {
    answer(focusedButtonIndex());
  } else if ((key == ViewKey::LEFT || key == ViewKey::RIGHT) && !buttons.empty()) {
    // Side by side or stacked, the buttons go in index order.
    const int next = focusedButtonIndex() + (key == ViewKey::LEFT ? -1 : 1);
    focusIndex = next < 0 ? 0 : (next >= numberOfButtons() ? numberOfButtons() - 1 : next);
  } else if (key == ViewKey::ESCAPE && cancelIndex >= 0) {
    answer(cancelIndex);
  }
  return true;  // nothing behind a modal alert hears a key
}

void Alert::draw(ViewPainter& painter, const ViewRect& screenFrame) {
  painter.fillRect(screenFrame, ViewStyle::dimming());
  const Layout& l = layout();
  painter.fillRoundedRect(l.panel, 14.0f, ViewStyle::panelFill());
  painter.strokeRoundedRect(l.panel, 14.0f, 1.0f, ViewStyle::panelEdge());

  ViewPainter::TextStyle style;
  style.wrapWidth = static_cast<int>(l.panel.w - 2.0f * PADDING);
  style.alignment = Texture::ALIGN_CENTER;
  if (!titleText.empty()) {
    style.pixelSize = TITLE_SIZE;
    painter.drawText(titleText, l.panel.x + PADDING, l.titleY, style, ViewStyle::textLight());
  }
  if (!messageText.empty() && l.messageHeight > 0.0f) {
    style.pixelSize = MESSAGE_SIZE;
    painter.pushClip(ViewRect(l.panel.x, l.messageY, l.panel.w, l.messageHeight));
    painter.drawText(messageText, l.panel.x + PADDING, l.messageY, style, ViewColour(0.80f, 0.84f, 0.90f, 1.0f));
    painter.popClip();
  }

  ViewPainter::TextStyle buttonStyle;
  for (size_t i = 0; i < l.buttons.size(); ++i) {
    buttonStyle.pixelSize = l.buttonTextSizes[i];
    const ViewRect& button = l.buttons[i];
    // The focused button, the one Return chooses, wears the accent.
    const bool preferred = static_cast<int>(i) == focusedButtonIndex();
    const bool down = static_cast<int>(i) == pressedButton && pressedInside;
    const ViewColour fill = preferred ? (down ? ViewStyle::accent() : ViewStyle::accentDark())
                                      : (down ? ViewStyle::controlPressed() : ViewStyle::controlFill());
    painter.fillRoundedRect(button, 8.0f, fill);
    painter.pushClip(button.insetBy(BUTTON_TEXT_MARGIN, 0.0f));
    painter.drawTextCentered(buttons[i], button.insetBy(BUTTON_TEXT_MARGIN, 0.0f), buttonStyle, ViewStyle::textLight());
    painter.popClip();
  }
}

}  // namespace Ui
