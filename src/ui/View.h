// View: a rectangle of the screen that draws itself over the game's frame and takes the touches
// that land on it, with subviews drawn above it. The base of every control.
// Ownership: a view holds its subviews (shared pointers), and whoever
// created a view may keep a shared pointer too, so a control can be taken off the screen with
// removeFromSuperview and added again later. A view knows its superview only by a plain pointer,
// which its superview clears when it lets go. Views are created and used on the main thread;
// every view below the root must be owned by a std::shared_ptr (create them with
// std::make_shared); the root itself may be owned in any way.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ViewKey.h"
#include "ViewRect.h"

namespace Ui {

class ViewPainter;
class ViewRoot;

class View : public std::enable_shared_from_this<View> {
 public:
  explicit View(const ViewRect& frame = ViewRect());
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // Adds `view` on top of the other subviews (below any modal one, such as a shown alert). A view
  // that has another superview is taken from it first. Adding a view to itself or to one of its
  // own descendants is a programming error.
  void addSubview(const std::shared_ptr<View>& view);
  // Takes the view out of its superview; nothing happens when it has none. If it leaves the
  // screen's tree, it stops editing text and loses any touch it was following.
  void removeFromSuperview();
  View* superview() const { return parentView; }
  const std::vector<std::shared_ptr<View>>& subviews() const { return children; }
  // The root at the top of this view's tree, or null when the tree is not on screen.
  ViewRoot* root();
  bool isDescendantOf(const View* ancestor) const;

  // The frame in the superview's coordinates (a subview of the root: screen pixels).
  const ViewRect& frame() const { return viewFrame; }
  void setFrame(const ViewRect& frame) { viewFrame = frame; }
  // Moves the frame so that its centre is at (x, y), keeping its size.
  void setCenter(float x, float y);
  // The frame in screen pixels.
  ViewRect screenFrame() const;

  // A hidden view, and everything in it, is neither drawn nor touched.
  bool isHidden() const { return hidden; }
  void setHidden(bool value) { hidden = value; }
  // A view that does not take touches lets them through to what lies below, subviews included.
  bool isUserInteractionEnabled() const { return interactive; }
  void setUserInteractionEnabled(bool value) { interactive = value; }

  // The frontmost visible, touchable view at screen point (x, y): a subview, this view, or null.
  virtual View* hitTest(float x, float y);

  // Touch events from ViewRoot, in screen pixels. A view that took the touch-down gets the
  // drags and the touch-up that follow, wherever they land; touchCancelled ends a touch that
  // will not be finished (the view left the screen, or an alert came up). Default: nothing.
  virtual void touchDown(int x, int y);
  virtual void touchDrag(int x, int y);
  virtual void touchUp(int x, int y);
  virtual void touchCancelled();
  // Keyboard events for the view that is editing (the first responder) or the modal view on
  // top. Return whether the event was used. Default: not used.
  virtual bool keyPressed(ViewKey key);
  virtual bool textTyped(const std::string& utf8);
  // A modal view (an alert) stays above the other views and takes every touch and key while
  // it is shown.
  virtual bool isModal() const { return false; }
  // Tells the first responder that it no longer is (editing ended or its view left the screen).
  virtual void firstResponderLost();

  // Draws the view and then its subviews, front to back in order, unless hidden.
  void drawTree(ViewPainter& painter);
  // When the picture of this view or of a subview next changes by itself (a turning spinner, a
  // blinking caret, a sliding knob), at clock time `nowMs`: 0 when it changes on every frame or
  // has a change not drawn yet, else the milliseconds until it changes, -1 when it stays as it
  // is until input or code changes it. Hidden views do not count. The shell's loop asks after
  // drawing, to know how long it may sleep.
  int msUntilChangeInTree(int nowMs);

 protected:
  // Draws the view itself, with its frame in screen pixels. Default: nothing (transparent).
  virtual void draw(ViewPainter& painter, const ViewRect& screenFrame);
  // This view's own part of msUntilChangeInTree. Default: -1 (a still picture).
  virtual int msUntilChange(int nowMs);
  // The root overrides this to say that it is one.
  virtual ViewRoot* asRoot() { return nullptr; }
  // The root is told when a tree leaves it, so that it can end editing and touches inside it.
  virtual void subtreeDetached(View& subtree);

 private:
  View* parentView = nullptr;
  std::vector<std::shared_ptr<View>> children;
  ViewRect viewFrame;
  bool hidden = false;
  bool interactive = true;
};

}  // namespace Ui
