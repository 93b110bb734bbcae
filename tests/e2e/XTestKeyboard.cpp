// Keys and text through XTest, with keysym lookup on the current keyboard map.
#include "XTestKeyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {

void pauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Splits UTF-8 into code points; false on a malformed sequence.
bool decodeUtf8(const std::string& text, std::vector<unsigned long>& codePoints) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    unsigned long cp = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xe0) == 0xc0) {
      extra = 1;
      cp = lead & 0x1f;
    } else if ((lead & 0xf0) == 0xe0) {
      extra = 2;
      cp = lead & 0x0f;
    } else if ((lead & 0xf8) == 0xf0) {
      extra = 3;
      cp = lead & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<size_t>(extra) >= text.size() && extra > 0) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((next & 0xc0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3f);
    }
    codePoints.push_back(cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

// The keysym of a Unicode character: Latin-1 keysyms equal their code point, the rest use the
// Unicode keysym range.
unsigned long keysymOf(unsigned long codePoint) {
  if ((codePoint >= 0x20 && codePoint <= 0x7e) || (codePoint >= 0xa0 && codePoint <= 0xff)) return codePoint;
  return 0x01000000UL | codePoint;
}

}  // namespace

bool XTestKeyboard::planFor(unsigned long keysym, KeyPlan& plan) {
  const KeyCode code = XKeysymToKeycode(display, static_cast<KeySym>(keysym));
  if (code == 0) return false;
  for (int level = 0; level < 2; ++level) {
    if (XkbKeycodeToKeysym(display, code, 0, level) == static_cast<KeySym>(keysym)) {
      plan.keycode = code;
      plan.shifted = level == 1;
      return true;
    }
  }
  return false;
}

void XTestKeyboard::tap(const KeyPlan& plan, bool control) {
  const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
  const KeyCode controlKey = XKeysymToKeycode(display, XK_Control_L);
  if (control) XTestFakeKeyEvent(display, controlKey, True, CurrentTime);
  if (plan.shifted) XTestFakeKeyEvent(display, shift, True, CurrentTime);
  XTestFakeKeyEvent(display, plan.keycode, True, CurrentTime);
  XFlush(display);
  pauseMs(15);
  XTestFakeKeyEvent(display, plan.keycode, False, CurrentTime);
  if (plan.shifted) XTestFakeKeyEvent(display, shift, False, CurrentTime);
  if (control) XTestFakeKeyEvent(display, controlKey, False, CurrentTime);
  XFlush(display);
  // Keeps the server times of two presses of one key apart, so they never read as auto-repeat.
  pauseMs(25);
}

bool XTestKeyboard::tapKeysym(unsigned long keysym) {
  KeyPlan plan;
  if (!planFor(keysym, plan)) return false;
  tap(plan);
  return true;
}

bool XTestKeyboard::tapKeysymWithControl(unsigned long keysym) {
  KeyPlan plan;
  if (!planFor(keysym, plan)) return false;
  tap(plan, true);
  return true;
}

unsigned XTestKeyboard::spareKeycode(const std::vector<unsigned>& exclude) {
  int low = 0, high = 0;
  XDisplayKeycodes(display, &low, &high);
  int perCode = 0;
  KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(low), high - low + 1, &perCode);
  if (map == nullptr) return 0;
  unsigned found = 0;
  // From the top: the highest codes are the least likely to be real keys.
  for (int code = high; code >= low && found == 0; --code) {
    if (std::find(exclude.begin(), exclude.end(), static_cast<unsigned>(code)) != exclude.end()) continue;
    bool blank = true;
    for (int i = 0; i < perCode && blank; ++i) blank = map[(code - low) * perCode + i] == NoSymbol;
    if (blank) found = static_cast<unsigned>(code);
  }
  XFree(map);
  return found;
}

bool XTestKeyboard::typeText(const std::string& utf8) {
  std::vector<unsigned long> codePoints;
  if (!decodeUtf8(utf8, codePoints)) return false;

  // Characters without a key get spare codes of their own, bound once for the whole text so
  // that the game never reads a key under a map that changes while it types.
  std::vector<std::pair<unsigned long, unsigned>> bound;
  std::vector<unsigned> usedCodes;
  for (unsigned long cp : codePoints) {
    const unsigned long keysym = keysymOf(cp);
    KeyPlan plan;
    bool known = planFor(keysym, plan);
    for (const auto& b : bound) known = known || b.first == keysym;
    if (known) continue;
    const unsigned code = spareKeycode(usedCodes);
    if (code == 0) break;
    KeySym both[2] = {static_cast<KeySym>(keysym), static_cast<KeySym>(keysym)};
    XChangeKeyboardMapping(display, static_cast<int>(code), 2, both, 1);
    usedCodes.push_back(code);
    bound.emplace_back(keysym, code);
  }
  if (!bound.empty()) {
    XSync(display, False);
    pauseMs(200);  // the game reloads its key map when told of the change
  }

  bool typedAll = true;
  for (unsigned long cp : codePoints) {
    const unsigned long keysym = keysymOf(cp);
    KeyPlan plan;
    for (const auto& b : bound) {
      if (b.first == keysym) plan.keycode = b.second;
    }
    if (plan.keycode == 0 && !planFor(keysym, plan)) {
      typedAll = false;
      continue;
    }
    tap(plan);
  }

  if (!bound.empty()) {
    pauseMs(200);  // the last keys are read before their codes go blank again
    for (const auto& b : bound) {
      KeySym none[2] = {NoSymbol, NoSymbol};
      XChangeKeyboardMapping(display, static_cast<int>(b.second), 2, none, 1);
    }
    XSync(display, False);
  }
  return typedAll;
}
