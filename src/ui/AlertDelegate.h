// AlertDelegate: receives the answer to an alert. The alert keeps a plain pointer to it and
// does not own it. Called on the main thread, after the alert has left the screen (so the
// delegate may show it, or another one, again).
#pragma once

namespace Ui {

class Alert;

class AlertDelegate {
 public:
  virtual ~AlertDelegate() = default;
  // buttonIndex: the cancel button is 0 when there is one, the other buttons follow in order.
  virtual void alertClickedButtonAtIndex(Alert& alert, int buttonIndex) = 0;
};

}  // namespace Ui
