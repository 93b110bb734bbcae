// The view tree: adding, removing, hit testing and drawing in order.
#include "View.h"

#include <algorithm>

#include "Assert.h"
#include "ViewRoot.h"

namespace Ui {

View::View(const ViewRect& frame) : viewFrame(frame) {}

View::~View() {
  // Subviews that others still hold must not point back at a view that is gone.
  for (const std::shared_ptr<View>& child : children) child->parentView = nullptr;
}

void View::addSubview(const std::shared_ptr<View>& view) {
  MYTL_ASSERT(view != nullptr, "View");
  MYTL_ASSERT(view.get() != this && !isDescendantOf(view.get()), "View");
  // A tree on screen changes only on the thread that draws it.
  if (ViewRoot* screen = root()) MYTL_ASSERT(screen->isOwnerThread(), "View");
  if (ViewRoot* screen = view->root()) MYTL_ASSERT(screen->isOwnerThread(), "View");
  std::shared_ptr<View> keep = view;  // keeps it alive while it changes superview
  if (keep->parentView == this) {
    // Adding a subview again brings it to the front: the last added draws on top and is hit first.
    children.erase(std::find(children.begin(), children.end(), keep));
    keep->parentView = nullptr;
  } else {
    keep->removeFromSuperview();
  }
  auto position = children.end();
  if (!keep->isModal()) {
    position = std::find_if(children.begin(), children.end(),
                            [](const std::shared_ptr<View>& child) { return child->isModal(); });
  }
  children.insert(position, keep);
  keep->parentView = this;
}

void View::removeFromSuperview() {
  View* parent = parentView;
  if (parent == nullptr) return;
  ViewRoot* formerRoot = parent->root();
  if (formerRoot != nullptr) MYTL_ASSERT(formerRoot->isOwnerThread(), "View");
  auto it = std::find_if(parent->children.begin(), parent->children.end(),
                         [this](const std::shared_ptr<View>& child) { return child.get() == this; });
  MYTL_ASSERT(it != parent->children.end(), "View");
  // The superview may hold the last reference: keep this view alive until the end.
  std::shared_ptr<View> self = *it;
  parent->children.erase(it);
  parentView = nullptr;
  if (formerRoot != nullptr) static_cast<View*>(formerRoot)->subtreeDetached(*this);
}

ViewRoot* View::root() {
  View* top = this;
  while (top->parentView != nullptr) top = top->parentView;
  return top->asRoot();
}

bool View::isDescendantOf(const View* ancestor) const {
  for (const View* v = parentView; v != nullptr; v = v->parentView) {
    if (v == ancestor) return true;
  }
  return false;
}

void View::setCenter(float x, float y) {
  viewFrame.x = x - viewFrame.w / 2.0f;
  viewFrame.y = y - viewFrame.h / 2.0f;
}

ViewRect View::screenFrame() const {
  ViewRect rect = viewFrame;
  for (const View* v = parentView; v != nullptr; v = v->parentView) {
    rect.x += v->viewFrame.x;
    rect.y += v->viewFrame.y;
  }
  return rect;
}

View* View::hitTest(float x, float y) {
  if (hidden || !interactive) return nullptr;
  if (!screenFrame().contains(x, y)) return nullptr;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (View* hit = (*it)->hitTest(x, y)) return hit;
  }
  return this;
}

void View::touchDown(int, int) {}
void View::touchDrag(int, int) {}
void View::touchUp(int, int) {}
void View::touchCancelled() {}
bool View::keyPressed(ViewKey) { return false; }
bool View::textTyped(const std::string&) { return false; }
void View::firstResponderLost() {}
void View::subtreeDetached(View&) {}
void View::draw(ViewPainter&, const ViewRect&) {}

void View::drawTree(ViewPainter& painter) {
  if (hidden) return;
  draw(painter, screenFrame());
  // A copy: drawing must not be upset by a view that changes the tree.
  const std::vector<std::shared_ptr<View>> snapshot = children;
  for (const std::shared_ptr<View>& child : snapshot) child->drawTree(painter);
}

int View::msUntilChange(int) { return -1; }

int View::msUntilChangeInTree(int nowMs) {
  if (hidden) return -1;
  int earliest = msUntilChange(nowMs);
  for (const std::shared_ptr<View>& child : children) {
    const int delay = child->msUntilChangeInTree(nowMs);
    if (delay != -1 && (earliest == -1 || delay < earliest)) earliest = delay;
  }
  return earliest;
}

}  // namespace Ui
