// Keyboard input through the XTest extension, as a person typing: single keys (Return, Escape)
// and UTF-8 text. A character is typed on the key that carries it, with Shift when it is on the
// shifted level; a character that no key carries (letters of other alphabets) is bound to a
// spare key code for the time of the typing and unbound afterwards.
// Owned by GameSession, which gives it its open display; events go to the focused window.
#pragma once

#include <string>
#include <vector>

typedef struct _XDisplay Display;

class XTestKeyboard {
 public:
  explicit XTestKeyboard(Display* display) : display(display) {}

  // Presses and releases the key of `keysym` (an X KeySym such as XK_Return). False when no key
  // can produce it.
  bool tapKeysym(unsigned long keysym);
  // The same with the left Control key held down around it.
  bool tapKeysymWithControl(unsigned long keysym);
  // Types the text; false when the text is not valid UTF-8 or a character cannot be typed.
  bool typeText(const std::string& utf8);

 private:
  struct KeyPlan {
    unsigned keycode = 0;
    bool shifted = false;
  };
  // Finds the key and level of `keysym` in the current keyboard map.
  bool planFor(unsigned long keysym, KeyPlan& plan);
  void tap(const KeyPlan& plan, bool control = false);
  // A key code that carries no symbol at all and is not in `exclude`, or 0.
  unsigned spareKeycode(const std::vector<unsigned>& exclude);

  Display* display;
};
