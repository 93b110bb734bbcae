// TextFieldDelegate: what a text field tells the screen that uses it. The field keeps a plain
// pointer to its delegate and does not own it; the delegate must outlive the field or be
// replaced first. Called on the main thread.
#pragma once

namespace Ui {

class TextField;

class TextFieldDelegate {
 public:
  virtual ~TextFieldDelegate() = default;
  // The Return key was pressed while the field was editing. Returning true lets the field end
  // its editing (if the delegate did not already); false keeps it editing.
  virtual bool textFieldShouldReturn(TextField& field) = 0;
  virtual void textFieldDidBeginEditing(TextField&) {}
  virtual void textFieldDidEndEditing(TextField&) {}
};

}  // namespace Ui
