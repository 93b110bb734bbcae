// SubBufferCopy: shows a rectangle of the window's back buffer without a swap, through GLX's
// glXCopySubBufferMESA (Mesa's software renderer offers it). The back buffer then keeps its
// pixels from one picture to the next, so that a frame that changed only in part is shown by
// drawing and copying only that part: the renderer and the X server each copy a few squares
// instead of the whole window. Where the context is not GLX's or lacks the extension, the
// window swaps whole pictures as before.
// Owned by the game window; prepared once right after its context is made current, used on
// that thread while the context stays current.
#pragma once

class SubBufferCopy {
 public:
  // Looks the extension up for the current context; false where it cannot be used.
  bool prepare();
  bool available() const { return copySubBuffer != nullptr; }
  // Shows the back buffer's rectangle (GL window coordinates: x, y from the bottom left) in the
  // window; the back buffer keeps its content.
  void copy(int x, int y, int width, int height) const;

 private:
  void (*copySubBuffer)(void* display, unsigned long drawable, int x, int y, int width, int height) = nullptr;
  void* display = nullptr;
  unsigned long drawable = 0;
};
