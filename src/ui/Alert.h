// Alert: a modal message panel with a title, a message and buttons over a darkened screen.
// While it is shown it stays above every other view and takes every touch and key: a click on a
// button, Return (the focused button, which wears the accent: the default button when the alert
// comes up, the last one unless another is made the default; Left and Right move the focus) or
// Escape (the cancel button, when there is one) answers it;
// it then leaves the screen and tells its delegate which button was chosen.
// Button indices: the cancel button is 0 when there is one, then the other buttons in order.
// One or two buttons sit side by side (index order, left to right); more are stacked.
// Created by a screen with std::make_shared and kept for reuse; shown on the main thread.
#pragma once

#include <string>
#include <vector>

#include "View.h"

namespace Ui {

class AlertDelegate;

class Alert : public View {
 public:
  static constexpr float PANEL_WIDTH = 270.0f;

  // cancelButtonTitle may be null (no cancel button). Texts are UTF-8; invalid bytes are shown
  // as U+FFFD.
  Alert(const std::string& title, const std::string& message, AlertDelegate* delegate,
        const char* cancelButtonTitle, const std::vector<std::string>& otherButtonTitles);

  // Puts the alert on top of the screen that `anyViewOnScreen` belongs to (the root, or any view
  // in its tree), covering it entirely. Nothing happens when it is shown already. The alert must
  // be owned by a shared pointer, and the view must be on a screen.
  void show(View& anyViewOnScreen);
  // Takes the alert away without an answer.
  void dismiss();
  bool isVisible() { return root() != nullptr; }

  const std::string& title() const { return titleText; }
  const std::string& message() const { return messageText; }
  int numberOfButtons() const { return static_cast<int>(buttons.size()); }
  const std::string& buttonTitleAtIndex(int index) const;
  // -1 when there is none.
  int cancelButtonIndex() const { return cancelIndex; }
  // The button Return chooses, drawn in the accent colour: the last one at first. A question
  // whose last button destroys something makes the safe one the default.
  void setDefaultButtonIndex(int index);
  int defaultButtonIndex() const { return defaultIndex < 0 ? numberOfButtons() - 1 : defaultIndex; }
  // The button Return chooses now: the default one until Left or Right moves the focus.
  int focusedButtonIndex() const { return focusIndex < 0 ? defaultButtonIndex() : focusIndex; }
  void setDelegate(AlertDelegate* delegate) { alertDelegate = delegate; }
  AlertDelegate* delegate() const { return alertDelegate; }
  // Where button `index` is on screen (valid once shown). Two buttons stand side by side when
  // both titles fit half the width, else every button takes a row of its own.
  ViewRect buttonFrame(int index);
  // The pixel size button `index`'s title is drawn in: smaller than usual when even its own row
  // is too narrow for it (valid once shown).
  int buttonTextSize(int index);
  // The panel on screen (valid once shown).
  ViewRect panelFrame();

  bool isModal() const override { return true; }
  View* hitTest(float x, float y) override;
  void touchDown(int x, int y) override;
  void touchDrag(int x, int y) override;
  void touchUp(int x, int y) override;
  void touchCancelled() override;
  bool keyPressed(ViewKey key) override;

 protected:
  void draw(ViewPainter& painter, const ViewRect& screenFrame) override;

 private:
  struct Layout {
    ViewRect panel;
    float titleY = 0.0f;
    float messageY = 0.0f;
    float messageHeight = 0.0f;
    std::vector<ViewRect> buttons;
    std::vector<int> buttonTextSizes;  // the pixel size each button's title fits in
  };
  const Layout& layout();
  // The width of `title` on one line at `pixelSize`.
  static float titleWidth(const std::string& title, int pixelSize);
  int buttonAt(int x, int y);
  // Answers with button `index`: leaves the screen, then tells the delegate.
  void answer(int index);

  std::string titleText;
  std::string messageText;
  AlertDelegate* alertDelegate;
  std::vector<std::string> buttons;
  int cancelIndex = -1;
  int defaultIndex = -1;  // -1: the last button
  int focusIndex = -1;    // -1: the default button
  int pressedButton = -1;   // the button a touch began on
  bool pressedInside = false;
  Layout cached;
  bool layoutValid = false;
  ViewRect layoutScreen;  // the screen the layout was made for
};

}  // namespace Ui
