// FrameClip: limits drawing to a rectangle of the screen (in screen units), so that a frame can
// be drawn again only where it changed while the rest of the last frame stays in the
// framebuffer. The game controller sets it around one frame of play and lifts it before the
// views are drawn. Rendering thread, GL context current; keeps no state of its own.
#pragma once

namespace FrameClip {

// From now on only the pixels touched by the rectangle (left, top) - (right, bottom) change;
// the box is rounded outwards to whole pixels of the frame.
void limitTo(float left, float top, float right, float bottom);
// Every pixel of the frame can change again.
void lift();

}  // namespace FrameClip
