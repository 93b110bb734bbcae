// Headless GL harness: EGL context, offscreen frame, read-back and PNG output.
#include "RenderHarness.h"

#include <cairo.h>

#include "DisplayScale.h"
#include "Gl.h"
#include "GlFixedState.h"

namespace {

std::string& failureText() {
  static std::string text;
  return text;
}
}  // namespace

std::string generatedResourceFolder() { return PELLIX_TEST_RESOURCE_DIR; }

const std::string& RenderHarness::failure() { return failureText(); }

RenderHarness* RenderHarness::instanceFor(OffscreenGlContext::Api api) {
  static RenderHarness* harness = [api] {
    RenderHarness* created = new RenderHarness();
    if (!created->create(api)) {
      delete created;
      return static_cast<RenderHarness*>(nullptr);
    }
    return created;
  }();
  return harness;
}

bool RenderHarness::create(OffscreenGlContext::Api api) {
  if (!context.create(api)) {
    failureText() = context.error();
    return false;
  }
  if (!frame.create(WIDTH, HEIGHT)) {
    failureText() = "cannot create the offscreen frame";
    return false;
  }
  GlFixedState::apply(WIDTH, HEIGHT);
  DisplayScale::reset();
  return true;
}

bool RenderHarness::setResolution(int pixelWidth, int pixelHeight) {
  if (!frame.create(WIDTH, HEIGHT, pixelWidth, pixelHeight)) return false;
  const float pixelsPerUnit = static_cast<float>(pixelWidth) / WIDTH;
  DisplayScale::set(pixelWidth, pixelHeight, DisplayScale::artScaleFor(pixelsPerUnit, gl.hasNonPowerOfTwoTextures));
  frame.bind();
  return true;
}

void RenderHarness::clear(int r, int g, int b) {
  frame.bind();
  gl.ClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
  gl.Clear(GL_COLOR_BUFFER_BIT);
}

void RenderHarness::readBack() {
  gl.Finish();
  screen = frame.readPixels();
}

Rgba RenderHarness::pixel(int x, int y) const {
  const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(frame.pixelWidth()) + static_cast<size_t>(x)) * 4;
  return {screen[at], screen[at + 1], screen[at + 2], screen[at + 3]};
}

bool RenderHarness::savePng(const std::string& path) const {
  const int width = frame.pixelWidth();
  const int height = frame.pixelHeight();
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  unsigned char* data = cairo_image_surface_get_data(out);
  const int stride = cairo_image_surface_get_stride(out);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const Rgba p = pixel(x, y);
      row[x] = (static_cast<uint32_t>(p.r) << 16) | (static_cast<uint32_t>(p.g) << 8) | static_cast<uint32_t>(p.b);
    }
  }
  cairo_surface_mark_dirty(out);
  const bool ok = cairo_surface_write_to_png(out, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(out);
  return ok;
}
