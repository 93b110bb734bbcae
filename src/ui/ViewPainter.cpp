// Tinted coverage textures for the controls, with a per-frame texture cache and scissor clipping.
#include "ViewPainter.h"

#include <algorithm>
#include <cmath>

#include "Assert.h"
#include "BlendMode.h"
#include "DisplayScale.h"
#include "Gl.h"
#include "MonoBitmap.h"
#include "ShapeMask.h"
#include "ViewStyle.h"

namespace Ui {

namespace {

enum ShapeKind { SHAPE_SOLID, SHAPE_ROUNDED, SHAPE_SPINNER };

const char* fontOf(const ViewPainter::TextStyle& style) {
  return style.fontName != nullptr ? style.fontName : ViewStyle::FONT_NAME;
}

int quarterPixels(float value) { return static_cast<int>(std::lround(value * 4.0f)); }

}  // namespace

ViewPainter::ViewPainter(int screenWidth, int screenHeight) : screenW(screenWidth), screenH(screenHeight) {}

ViewPainter::~ViewPainter() = default;

void ViewPainter::beginFrame(int now) {
  MYTL_ASSERT(gl.loaded, "ViewPainter");
  MYTL_ASSERT(!inFrame, "ViewPainter");
  inFrame = true;
  frameTime = now;
  ++frameNumber;
  clips.clear();
  // Shapes and text of another art scale are made again at this one.
  if (artScale != DisplayScale::artScale()) {
    shapes.clear();
    texts.clear();
    artScale = DisplayScale::artScale();
  }
  // Modulate: a coverage texture then takes its colour from the GL colour and multiplies its
  // coverage by the colour's alpha, so a shape can be drawn in any colour and opacity.
  gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  gl.Enable(GL_BLEND);
}

void ViewPainter::endFrame() {
  MYTL_ASSERT(inFrame, "ViewPainter");
  inFrame = false;
  clips.clear();
  gl.Disable(GL_SCISSOR_TEST);
  gl.Scissor(0, 0, DisplayScale::framePixelWidth(), DisplayScale::framePixelHeight());
  gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  gl.Color4f(1.0f, 1.0f, 1.0f, 1.0f);
  gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  // What this frame did not draw is no longer on screen: a changed text or a removed control.
  for (auto it = shapes.begin(); it != shapes.end();) {
    it = it->second.lastFrame == frameNumber ? std::next(it) : shapes.erase(it);
  }
  for (auto it = texts.begin(); it != texts.end();) {
    it = it->second.lastFrame == frameNumber ? std::next(it) : texts.erase(it);
  }
}

void ViewPainter::tint(ViewColour colour) const { gl.Color4f(colour.r, colour.g, colour.b, colour.a); }

Texture* ViewPainter::shape(const ShapeKey& key) {
  MYTL_ASSERT(inFrame, "ViewPainter");
  CachedTexture& entry = shapes[key];
  entry.lastFrame = frameNumber;
  if (entry.texture == nullptr) {
    const int kind = std::get<0>(key);
    MonoBitmap* mask = nullptr;
    int logicalW = -1;
    int logicalH = -1;
    if (kind == SHAPE_SOLID) {
      mask = ShapeMask::solid();
    } else if (kind == SHAPE_ROUNDED) {
      mask = ShapeMask::roundedRect(std::get<1>(key), std::get<2>(key), static_cast<float>(std::get<3>(key)) / 4.0f,
                                    static_cast<float>(std::get<4>(key)) / 4.0f, artScale);
    } else {
      mask = ShapeMask::spinner(std::get<1>(key), artScale);
      // Turning goes round the centre of the logical box: the spinner with its margins.
      logicalW = std::get<1>(key) + 2 * ShapeMask::MARGIN;
      logicalH = logicalW;
    }
    entry.texture.reset(new Texture());
    entry.texture->init(mask, logicalW, logicalH);
  }
  return entry.texture.get();
}

void ViewPainter::fillRect(const ViewRect& rect, ViewColour colour) {
  if (rect.w <= 0.0f || rect.h <= 0.0f) return;
  Texture* texture = shape(ShapeKey(SHAPE_SOLID, 1, 1, 0, 0));
  tint(colour);
  texture->drawToScreen(rect.x, rect.y, Scaling(rect.w, rect.h), BLEND_ALPHA, true);
}

void ViewPainter::fillRoundedRect(const ViewRect& rect, float radius, ViewColour colour) {
  strokeRoundedRect(rect, radius, 0.0f, colour);
}

void ViewPainter::strokeRoundedRect(const ViewRect& rect, float radius, float lineWidth, ViewColour colour) {
  const int w = static_cast<int>(std::lround(rect.w));
  const int h = static_cast<int>(std::lround(rect.h));
  if (w <= 0 || h <= 0) return;
  Texture* texture = shape(ShapeKey(SHAPE_ROUNDED, w, h, quarterPixels(radius), quarterPixels(lineWidth)));
  tint(colour);
  texture->drawToScreen(rect.x - ShapeMask::MARGIN, rect.y - ShapeMask::MARGIN, Scaling(1.0f), BLEND_ALPHA, true);
}

void ViewPainter::drawSpinner(float cx, float cy, int size, int step, ViewColour colour) {
  if (size <= 0) return;
  Texture* texture = shape(ShapeKey(SHAPE_SPINNER, size, size, 0, 0));
  tint(colour);
  const float half = static_cast<float>(texture->width) / 2.0f;
  texture->drawToScreenWithRotation(cx - half, cy - half, ((step % 12) + 12) % 12 * 30, Scaling(1.0f),
                                    BLEND_ALPHA, true);
}

TextMeasurer::Extent ViewPainter::measureText(const std::string& content, const TextStyle& style) {
  return TextMeasurer::measure(content, fontOf(style), style.pixelSize, style.wrapWidth);
}

ViewPainter::CachedTexture& ViewPainter::text(const std::string& content, const TextStyle& style) {
  MYTL_ASSERT(inFrame, "ViewPainter");
  const int alignment = style.wrapWidth > 0 ? static_cast<int>(style.alignment) : 0;
  CachedTexture& entry =
      texts[TextKey(content, fontOf(style), style.pixelSize, std::max(0, style.wrapWidth), alignment)];
  entry.lastFrame = frameNumber;
  if (entry.texture == nullptr) {
    entry.extent = measureText(content, style);
    // One line gets a box a little wider than itself so that it never wraps; the buffer is
    // bounded so that no text can ask for a texture larger than GL allows.
    const int box = std::clamp(style.wrapWidth > 0 ? style.wrapWidth : entry.extent.width + 2, 1, MAX_TEXT_SIZE);
    const int boxHeight = std::clamp(entry.extent.height + 2, 1, MAX_TEXT_SIZE);
    entry.texture.reset(new Texture(content.c_str(), box, boxHeight,
                                    static_cast<Texture::TextAlignment>(alignment), fontOf(style),
                                    style.pixelSize > 0 ? style.pixelSize : 1, 1.0f, false));
  }
  return entry;
}

TextMeasurer::Extent ViewPainter::drawText(const std::string& content, float x, float y, const TextStyle& style,
                                           ViewColour colour) {
  if (content.empty()) return {};
  CachedTexture& entry = text(content, style);
  tint(colour);
  entry.texture->drawToScreen(x, y, Scaling(1.0f), BLEND_ALPHA, true);
  return entry.extent;
}

void ViewPainter::drawTextCentered(const std::string& content, const ViewRect& rect, const TextStyle& style,
                                   ViewColour colour) {
  if (content.empty()) return;
  CachedTexture& entry = text(content, style);
  const float x = std::max(rect.x, rect.centerX() - static_cast<float>(entry.extent.width) / 2.0f);
  const float y = rect.centerY() - static_cast<float>(entry.extent.height) / 2.0f;
  tint(colour);
  entry.texture->drawToScreen(std::round(x), std::round(y), Scaling(1.0f), BLEND_ALPHA, true);
}

void ViewPainter::pushClip(const ViewRect& rect) {
  ViewRect clip = rect;
  if (!clips.empty()) {
    const ViewRect& outer = clips.back();
    const float left = std::max(clip.x, outer.x);
    const float top = std::max(clip.y, outer.y);
    const float right = std::min(clip.right(), outer.right());
    const float bottom = std::min(clip.bottom(), outer.bottom());
    clip = ViewRect(left, top, std::max(0.0f, right - left), std::max(0.0f, bottom - top));
  }
  clips.push_back(clip);
  applyClip();
}

void ViewPainter::popClip() {
  MYTL_ASSERT(!clips.empty(), "ViewPainter");
  clips.pop_back();
  applyClip();
}

void ViewPainter::applyClip() const {
  const int frameW = DisplayScale::framePixelWidth();
  const int frameH = DisplayScale::framePixelHeight();
  if (clips.empty()) {
    gl.Disable(GL_SCISSOR_TEST);
    gl.Scissor(0, 0, frameW, frameH);
    return;
  }
  // In the frame's pixels; GL counts rows from the bottom of the screen.
  const ViewRect& clip = clips.back();
  const float unitsX = static_cast<float>(frameW) / static_cast<float>(screenW);
  const float unitsY = static_cast<float>(frameH) / static_cast<float>(screenH);
  const int left = static_cast<int>(std::floor(clip.x * unitsX));
  const int right = static_cast<int>(std::ceil(clip.right() * unitsX));
  const int top = static_cast<int>(std::floor(clip.y * unitsY));
  const int bottom = static_cast<int>(std::ceil(clip.bottom() * unitsY));
  gl.Enable(GL_SCISSOR_TEST);
  gl.Scissor(left, frameH - bottom, std::max(0, right - left), std::max(0, bottom - top));
}

}  // namespace Ui
