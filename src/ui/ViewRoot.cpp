// Input routing (touches, typed text, keys) and drawing at the top of the view tree.
#include "ViewRoot.h"

#include <utility>

#include "Assert.h"
#include "IntTimer.h"
#include "ViewPainter.h"

namespace Ui {

ViewRoot::ViewRoot(int screenWidth, int screenHeight, std::function<int()> clock)
    : View(ViewRect(0.0f, 0.0f, static_cast<float>(screenWidth), static_cast<float>(screenHeight))),
      screenW(screenWidth),
      screenH(screenHeight),
      ownerThread(std::this_thread::get_id()),
      clockSource(std::move(clock)) {
  MYTL_ASSERT(screenWidth > 0 && screenHeight > 0, "ViewRoot");
  MYTL_ASSERT(clockSource != nullptr, "ViewRoot");
}

ViewRoot::ViewRoot() : ViewRoot(320, 480, &IntTimer::getGlobalTimeInMs) {}

ViewRoot::~ViewRoot() {
  // No callbacks while the screen goes away: the views' delegates may be gone already.
  responder = nullptr;
  touchOwner.reset();
  painter.reset();
}

View* ViewRoot::hitTest(float x, float y) {
  if (isHidden()) return nullptr;
  const std::vector<std::shared_ptr<View>>& views = subviews();
  for (auto it = views.rbegin(); it != views.rend(); ++it) {
    if (View* hit = (*it)->hitTest(x, y)) return hit;
  }
  return nullptr;
}

View* ViewRoot::activeModal() const {
  const std::vector<std::shared_ptr<View>>& views = subviews();
  for (auto it = views.rbegin(); it != views.rend(); ++it) {
    if ((*it)->isModal() && !(*it)->isHidden()) return it->get();
  }
  return nullptr;
}

void ViewRoot::cancelTouchOwner() {
  std::shared_ptr<View> owner = std::move(touchOwner);
  touchOwner.reset();
  if (owner != nullptr) owner->touchCancelled();
}

View* ViewRoot::liveTouchOwner() {
  if (touchOwner == nullptr) return nullptr;
  View* modal = activeModal();
  const bool onScreen = touchOwner->root() == this;
  const bool notCovered = modal == nullptr || modal == touchOwner.get() || touchOwner->isDescendantOf(modal);
  if (onScreen && notCovered) return touchOwner.get();
  cancelTouchOwner();
  return nullptr;
}

bool ViewRoot::handleTouchDown(int x, int y) {
  MYTL_ASSERT(isOwnerThread(), "ViewRoot");
  // A touch-down while another touch is still down ends that one unfinished.
  if (touchActive) cancelTouchOwner();
  touchActive = true;
  touchTaken = false;
  touchOwner.reset();
  View* modal = activeModal();
  View* target = modal != nullptr ? modal : hitTest(static_cast<float>(x), static_cast<float>(y));
  if (target == nullptr) return false;
  touchTaken = true;
  touchOwner = target->shared_from_this();
  std::shared_ptr<View> keep = touchOwner;  // alive through its own handler
  keep->touchDown(x, y);
  return true;
}

bool ViewRoot::handleTouchDrag(int x, int y) {
  MYTL_ASSERT(isOwnerThread(), "ViewRoot");
  if (!touchActive || !touchTaken) return activeModal() != nullptr;
  if (liveTouchOwner() != nullptr) {
    std::shared_ptr<View> keep = touchOwner;
    keep->touchDrag(x, y);
  }
  return true;
}

bool ViewRoot::handleTouchUp(int x, int y) {
  MYTL_ASSERT(isOwnerThread(), "ViewRoot");
  const bool wasActive = touchActive;
  const bool wasTaken = touchTaken;
  touchActive = false;
  touchTaken = false;
  if (!wasActive || !wasTaken) {
    touchOwner.reset();
    return activeModal() != nullptr;
  }
  if (liveTouchOwner() != nullptr) {
    std::shared_ptr<View> owner = std::move(touchOwner);
    touchOwner.reset();
    owner->touchUp(x, y);
  }
  return true;
}

bool ViewRoot::handleTextInput(const char* utf8) {
  MYTL_ASSERT(isOwnerThread(), "ViewRoot");
  if (utf8 == nullptr) return false;
  if (activeModal() != nullptr) return true;  // nothing types behind an alert
  if (responder == nullptr) return false;
  std::shared_ptr<View> keep = responder->shared_from_this();
  return keep->textTyped(utf8);
}

bool ViewRoot::handleKey(ViewKey key) {
  MYTL_ASSERT(isOwnerThread(), "ViewRoot");
  if (View* modal = activeModal()) {
    std::shared_ptr<View> keep = modal->shared_from_this();
    keep->keyPressed(key);
    return true;
  }
  if (responder == nullptr) return false;
  std::shared_ptr<View> keep = responder->shared_from_this();
  return keep->keyPressed(key);
}

void ViewRoot::setTextInputHandler(std::function<void(bool)> handler) {
  textInputHandler = std::move(handler);
  if (textInputHandler) textInputHandler(responder != nullptr);
}

void ViewRoot::setResponder(View* view) {
  const bool wasActive = responder != nullptr;
  responder = view;
  const bool active = responder != nullptr;
  if (wasActive != active && textInputHandler) textInputHandler(active);
}

bool ViewRoot::makeFirstResponder(View& view) {
  MYTL_ASSERT(isOwnerThread(), "ViewRoot");
  if (view.root() != this) return false;
  if (responder == &view) return true;
  const bool wasActive = responder != nullptr;
  if (View* previous = responder) {
    // Switch quietly: keyboard input stays on while one field hands over to another.
    responder = nullptr;
    std::shared_ptr<View> keep = previous->shared_from_this();
    keep->firstResponderLost();
  }
  // The previous field's delegate may have changed the tree meanwhile.
  if (view.root() != this) {
    if (wasActive && textInputHandler) textInputHandler(false);
    return false;
  }
  responder = &view;
  if (!wasActive && textInputHandler) textInputHandler(true);
  return true;
}

void ViewRoot::resignFirstResponder(View& view) {
  if (responder != &view) return;
  std::shared_ptr<View> keep = view.shared_from_this();
  setResponder(nullptr);
  keep->firstResponderLost();
}

void ViewRoot::subtreeDetached(View& subtree) {
  if (responder != nullptr && (responder == &subtree || responder->isDescendantOf(&subtree))) {
    View* former = responder;
    setResponder(nullptr);
    former->firstResponderLost();
  }
  if (touchOwner != nullptr && (touchOwner.get() == &subtree || touchOwner->isDescendantOf(&subtree))) {
    cancelTouchOwner();
  }
}

void ViewRoot::draw() {
  MYTL_ASSERT(isOwnerThread(), "ViewRoot");
  if (isHidden()) return;
  if (painter == nullptr) painter.reset(new ViewPainter(screenW, screenH));
  painter->beginFrame(clockSource());
  const std::vector<std::shared_ptr<View>> snapshot = subviews();
  for (const std::shared_ptr<View>& view : snapshot) view->drawTree(*painter);
  painter->endFrame();
}

void ViewRoot::releaseGraphics() { painter.reset(); }

int ViewRoot::msUntilChange() {
  MYTL_ASSERT(isOwnerThread(), "ViewRoot");
  return msUntilChangeInTree(clockSource());
}

}  // namespace Ui
