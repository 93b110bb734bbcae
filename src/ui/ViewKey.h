// ViewKey: the keys that the window shell passes to the view layer (ViewRoot::handleKey). Keys
// that type text arrive as text input instead; every other key is not passed on.
#pragma once

namespace Ui {

enum class ViewKey {
  RETURN,     // Return or keypad Enter: ends editing; answers an alert with its last button
  ESCAPE,     // answers an alert with its cancel button
  BACKSPACE,  // removes the character before the caret
  DELETE,     // removes the character after the caret
  LEFT,
  RIGHT,
  HOME,
  END,
};

}  // namespace Ui
