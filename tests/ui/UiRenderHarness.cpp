// EGL context, offscreen frame and read-back for the view drawing tests.
#include "UiRenderHarness.h"

#include <cairo.h>

#include "Gl.h"
#include "GlFixedState.h"

namespace {

std::string& failureText() {
  static std::string text;
  return text;
}

}  // namespace

const std::string& UiRenderHarness::failure() { return failureText(); }

UiRenderHarness* UiRenderHarness::instance() {
  static UiRenderHarness* harness = [] {
    UiRenderHarness* created = new UiRenderHarness();
    if (!created->create()) {
      delete created;
      return static_cast<UiRenderHarness*>(nullptr);
    }
    return created;
  }();
  return harness;
}

bool UiRenderHarness::create() {
  if (!context.create(PELLIX_UI_TEST_GL_DESKTOP ? OffscreenGlContext::OPENGL_2 : OffscreenGlContext::OPENGL_ES_1)) {
    failureText() = context.error();
    return false;
  }
  if (!frame.create(WIDTH, HEIGHT)) {
    failureText() = "cannot create the offscreen frame";
    return false;
  }
  GlFixedState::apply(WIDTH, HEIGHT);
  return true;
}

void UiRenderHarness::clear(int r, int g, int b) {
  frame.bind();
  gl.ClearColor(static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, 1.0f);
  gl.Clear(GL_COLOR_BUFFER_BIT);
}

void UiRenderHarness::readBack() {
  gl.Finish();
  screen = frame.readPixels();
}

Pixel UiRenderHarness::pixel(int x, int y) const {
  const size_t at = (static_cast<size_t>(y) * WIDTH + static_cast<size_t>(x)) * 4;
  return {screen[at], screen[at + 1], screen[at + 2], screen[at + 3]};
}

void UiRenderHarness::savePng(const std::string& name) const {
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, WIDTH, HEIGHT);
  unsigned char* data = cairo_image_surface_get_data(out);
  const int stride = cairo_image_surface_get_stride(out);
  for (int y = 0; y < HEIGHT; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < WIDTH; ++x) {
      const Pixel p = pixel(x, y);
      row[x] = (static_cast<uint32_t>(p.r) << 16) | (static_cast<uint32_t>(p.g) << 8) | static_cast<uint32_t>(p.b);
    }
  }
  cairo_surface_mark_dirty(out);
  const std::string path = std::string(PELLIX_UI_TEST_OUTPUT_DIR) + "/" + name + (PELLIX_UI_TEST_GL_DESKTOP ? "-gl2" : "-es1") + ".png";
  cairo_surface_write_to_png(out, path.c_str());
  cairo_surface_destroy(out);
}
