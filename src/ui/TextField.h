// TextField: a one-line text entry. A tap starts editing (the keyboard's text then goes into it
// at the caret, or in place of the whole text while that is selected), Backspace and Delete remove whole characters, the arrow keys, Home and End move
// the caret, and Return ends editing (asking the delegate first). While the text is empty the
// placeholder shows instead. Any text of any length is accepted; it is kept as valid UTF-8 with
// no line breaks or other control characters, and it scrolls to keep the caret in view.
// Created by a screen (held by a shared pointer) and added to the root while it is wanted; it
// keeps its text while off screen. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "EditableText.h"
#include "TextMeasurer.h"
#include "View.h"
#include "ViewColour.h"

namespace Ui {

class TextFieldDelegate;

class TextField : public View {
 public:
  // The border styles, numbered as the callers pass them: none, a line, a bezel, a rounded frame.
  enum BorderStyle { BORDER_NONE = 0, BORDER_LINE = 1, BORDER_BEZEL = 2, BORDER_ROUNDED_RECT = 3 };
  // The caret shows for this long, then hides for as long.
  static constexpr int CARET_BLINK_MS = 530;
  // Space between the frame and the text.
  static constexpr float TEXT_INSET = 6.0f;

  explicit TextField(const ViewRect& frame);

  // The text, UTF-8 (possibly empty; never the placeholder).
  const std::string& text() const { return content.text(); }
  // Replaces the text, cleaned like typed text; the caret goes to its end.
  void setText(const std::string& text);
  const std::string& placeholder() const { return placeholderText; }
  void setPlaceholder(const std::string& text);

  void setDelegate(TextFieldDelegate* delegate) { fieldDelegate = delegate; }
  TextFieldDelegate* delegate() const { return fieldDelegate; }
  void setBackgroundColour(ViewColour colour) { background = colour; }
  void setTextColour(ViewColour colour) { textColour = colour; }
  void setFont(const std::string& name, int pixelSize);
  int textPixelSize() const { return fontSize; }
  void setBorderStyle(BorderStyle style) { border = style; }
  BorderStyle borderStyle() const { return border; }

  // Editing: the field is the root's first responder and receives typed text and keys.
  bool isEditing();
  // Starts editing (caret at the end); false when the field is not on screen.
  bool becomeFirstResponder();
  // Selects the whole text, so that typing replaces it (shown while editing).
  void selectAll() { content.selectAll(); }
  bool isAllSelected() const { return content.isAllSelected(); }
  // Ends editing; the delegate hears of it. Nothing when not editing.
  void resignFirstResponder();
  void endEditing() { resignFirstResponder(); }
  // The caret as a byte offset into text().
  size_t caret() const { return content.caret(); }

  void touchDown(int x, int y) override;
  void touchUp(int x, int y) override;
  void touchCancelled() override;
  bool keyPressed(ViewKey key) override;
  bool textTyped(const std::string& utf8) override;
  void firstResponderLost() override;

 protected:
  void draw(ViewPainter& painter, const ViewRect& screenFrame) override;
  // The caret's next blink while editing.
  int msUntilChange(int nowMs) override;

 private:
  // Caret stops of the current text, measured on demand.
  const std::vector<TextMeasurer::CaretStop>& stops();
  float caretX();
  int fontLineHeight();
  // Keeps the caret inside the visible width by moving the scroll offset.
  void scrollToCaret(float visibleWidth);
  void textChanged();
  void restartBlink() { blinkPending = true; }

  EditableText content;
  std::string placeholderText;
  TextFieldDelegate* fieldDelegate = nullptr;
  ViewColour background = ViewColour::white(0.0f, 0.0f);  // clear
  ViewColour textColour;
  std::string fontName;
  int fontSize = 15;
  int lineHeight = -1;  // of the font, measured on demand
  BorderStyle border = BORDER_NONE;
  bool tracking = false;
  std::vector<TextMeasurer::CaretStop> caretStopCache;
  bool stopsValid = false;
  float scrollOffset = 0.0f;
  bool blinkPending = true;
  int blinkStart = 0;
};

}  // namespace Ui
