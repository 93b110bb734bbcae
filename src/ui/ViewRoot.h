// ViewRoot: the top of the view tree, covering the whole 320 x 480 screen; the `parent` view
// that the game's screens add their controls to. It is where the window shell hands over input
// and drawing: a touch goes to the views first and reaches the game only when no view takes it;
// typed text and keys go to the text field being edited or to an alert on top; draw() paints
// the views over the game's frame.
// Created and owned by the window shell (or a test) on the main thread, which makes every call.
// It holds its subviews like any view. draw() creates GL textures: destroy the root, or call
// releaseGraphics(), while the GL context is still current.
#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "View.h"
#include "ViewKey.h"

namespace Ui {

class ViewPainter;

class ViewRoot : public View {
 public:
  // screenWidth x screenHeight is the screen in pixels; `clock` gives the time in milliseconds
  // that animations (caret blink, spinner, switch) follow; only its differences matter.
  ViewRoot(int screenWidth, int screenHeight, std::function<int()> clock);
  // A 320 x 480 screen on the game's wall clock (IntTimer).
  ViewRoot();
  ~ViewRoot() override;

  // Touches in screen pixels. Each returns true when the views took it, and then the game must
  // not get it. The views take a touch-down that lands on one of them, and then the drags and the
  // touch-up of that touch wherever they land; a touch-down that lands on no view belongs to the
  // game with its drags and touch-up. While an alert is up every touch is taken.
  bool handleTouchDown(int x, int y);
  bool handleTouchDrag(int x, int y);
  bool handleTouchUp(int x, int y);

  // Text typed on the keyboard (UTF-8, as the shell receives it); used while a text field is
  // being edited. Returns whether it was used.
  bool handleTextInput(const char* utf8);
  // A key that types no text; used by an alert on top or the text field being edited.
  bool handleKey(ViewKey key);

  // The shell's switch for keyboard text input: called with true when a text field starts
  // editing and with false when editing ends; at installation it is called once with the
  // current state. An empty function removes it.
  void setTextInputHandler(std::function<void(bool)> handler);
  bool isTextInputActive() const { return responder != nullptr; }

  // Draws every view over the frame in the current framebuffer; call after the game's frame,
  // before presenting it.
  void draw();
  // Releases the drawing textures (the next draw makes them again). Needs the GL context.
  void releaseGraphics();
  // msUntilChangeInTree on the root's own clock: when the views' picture next changes by itself.
  int msUntilChange();

  // The view being edited, or null.
  View* firstResponder() const { return responder; }
  // The frontmost shown modal view (an alert), or null.
  View* activeModal() const;

  // For text fields: makes `view` (which must be in this root's tree) the first responder,
  // ending the previous one's editing. Returns false when `view` is not on this screen.
  bool makeFirstResponder(View& view);
  // For text fields: ends `view`'s being first responder; nothing when it is not.
  void resignFirstResponder(View& view);

  // Whether the caller runs on the thread that created the root, the only one that may use the
  // views of its tree (other threads queue their changes for it).
  bool isOwnerThread() const { return std::this_thread::get_id() == ownerThread; }

  // The root itself takes no touch, only its subviews do.
  View* hitTest(float x, float y) override;

 protected:
  ViewRoot* asRoot() override { return this; }
  void subtreeDetached(View& subtree) override;

 private:
  void setResponder(View* view);
  void cancelTouchOwner();
  // Whether the view that took the current touch still follows it; cancels it otherwise.
  View* liveTouchOwner();

  int screenW;
  int screenH;
  std::thread::id ownerThread;
  std::function<int()> clockSource;
  std::function<void(bool)> textInputHandler;
  std::unique_ptr<ViewPainter> painter;
  View* responder = nullptr;
  // The current touch: whether one is down, whether the views took it, and which view follows it.
  bool touchActive = false;
  bool touchTaken = false;
  std::shared_ptr<View> touchOwner;
};

}  // namespace Ui
