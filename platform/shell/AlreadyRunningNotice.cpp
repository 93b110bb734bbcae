// The second launch's notice: its layout, its drawing and its small event loop.
#include "AlreadyRunningNotice.h"

#include <SDL.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include "Translation.h"

namespace {

// The layout, in window coordinates.
const int WIDTH = 440;
const int HEIGHT = 172;
const int MARGIN = 20;
const int BUTTON_WIDTH = 96;
const int BUTTON_HEIGHT = 34;
const SDL_Rect BUTTON = {WIDTH - MARGIN - BUTTON_WIDTH, HEIGHT - MARGIN - BUTTON_HEIGHT, BUTTON_WIDTH, BUTTON_HEIGHT};
// The game's own font and colours: light text on the board's dark blue.
const char FONT_FAMILY[] = "Helvetica";

struct Words {
  std::string headline;
  std::string detail;
  std::string folder;
};

void setColour(cairo_t* cr, double r, double g, double b) { cairo_set_source_rgb(cr, r, g, b); }

// Draws `text` at (x, y) within `width`; returns the height it took.
int drawText(cairo_t* cr, const std::string& text, double x, double y, int width, int pixelSize, bool bold,
             PangoEllipsizeMode ellipsize) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, FONT_FAMILY);
  pango_font_description_set_absolute_size(font, pixelSize * PANGO_SCALE);
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_width(layout, width * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_ellipsize(layout, ellipsize);
  pango_layout_set_text(layout, text.c_str(), -1);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  int textWidth = 0, textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  pango_font_description_free(font);
  g_object_unref(layout);
  return textHeight;
}

void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + width - radius, y + radius, radius, -G_PI / 2, 0);
  cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, G_PI / 2);
  cairo_arc(cr, x + radius, y + height - radius, radius, G_PI / 2, G_PI);
  cairo_arc(cr, x + radius, y + radius, radius, G_PI, 3 * G_PI / 2);
  cairo_close_path(cr);
}

void paint(cairo_t* cr, const Words& words, bool buttonPressed) {
  setColour(cr, 0.09, 0.12, 0.19);
  cairo_paint(cr);
  double y = MARGIN;
  setColour(cr, 0.96, 0.96, 0.98);
  y += drawText(cr, words.headline, MARGIN, y, WIDTH - 2 * MARGIN, 17, true, PANGO_ELLIPSIZE_NONE) + 8;
  y += drawText(cr, words.detail, MARGIN, y, WIDTH - 2 * MARGIN, 14, false, PANGO_ELLIPSIZE_NONE) + 6;
  setColour(cr, 0.70, 0.74, 0.82);
  drawText(cr, words.folder, MARGIN, y, WIDTH - 2 * MARGIN, 12, false, PANGO_ELLIPSIZE_MIDDLE);

  roundedRectangle(cr, BUTTON.x + 0.5, BUTTON.y + 0.5, BUTTON.w - 1, BUTTON.h - 1, 8);
  if (buttonPressed) {
    setColour(cr, 0.16, 0.36, 0.62);
  } else {
    setColour(cr, 0.22, 0.47, 0.80);
  }
  cairo_fill_preserve(cr);
  setColour(cr, 0.60, 0.76, 0.96);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // "OK" centred on the button.
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, FONT_FAMILY);
  pango_font_description_set_absolute_size(font, 15 * PANGO_SCALE);
  pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, trContext("alert button", "OK").c_str(), -1);
  int textWidth = 0, textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  setColour(cr, 1.0, 1.0, 1.0);
  cairo_move_to(cr, BUTTON.x + (BUTTON.w - textWidth) / 2.0, BUTTON.y + (BUTTON.h - textHeight) / 2.0);
  pango_cairo_show_layout(cr, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
}

// Draws the notice into the window's surface and shows it; false when the window has none.
bool present(SDL_Window* window, const Words& words, bool buttonPressed) {
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (target == nullptr) return false;
  cairo_surface_t* canvas = cairo_image_surface_create(CAIRO_FORMAT_RGB24, target->w, target->h);
  cairo_t* cr = cairo_create(canvas);
  cairo_scale(cr, static_cast<double>(target->w) / WIDTH, static_cast<double>(target->h) / HEIGHT);
  paint(cr, words, buttonPressed);
  cairo_destroy(cr);
  cairo_surface_flush(canvas);
  // cairo's RGB24 is a 32-bit 0xXXRRGGBB word, which SDL calls RGB888.
  SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(
      cairo_image_surface_get_data(canvas), target->w, target->h, 32, cairo_image_surface_get_stride(canvas),
      SDL_PIXELFORMAT_RGB888);
  bool shown = picture != nullptr && SDL_BlitSurface(picture, nullptr, target, nullptr) == 0 &&
               SDL_UpdateWindowSurface(window) == 0;
  SDL_FreeSurface(picture);
  cairo_surface_destroy(canvas);
  return shown;
}

bool onButton(int x, int y) {
  const SDL_Point point = {x, y};
  return SDL_PointInRect(&point, &BUTTON) == SDL_TRUE;
}

}  // namespace

// TRANSLATORS: the title of the small window a second launch shows.
const char* const AlreadyRunningNotice::TITLE = TR_NOOP("Pellix is already running");

bool AlreadyRunningNotice::show(const std::string& dataFolder, bool runningGameRaised,
                                const std::function<bool()>& stopRequested) {
  const Words words = {
      // TRANSLATORS: the second launch's notice, 400 pixels wide: its heading, then one line.
      tr("Pellix is already running."),
      runningGameRaised ? tr("Its window has been brought to the front; play on there.") : tr("Switch to its window to play on."),
      // TRANSLATORS: %1$s is the folder of the running game's files.
      Translation::format(tr("Data folder: %1$s"), dataFolder.c_str()),
  };
  // Hidden until drawn: SDL may make the window anew when it gives it its surface.
  SDL_Window* window =
      SDL_CreateWindow(tr(TITLE), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, WIDTH, HEIGHT, SDL_WINDOW_HIDDEN);
  if (window == nullptr) return false;
  bool pressed = false;
  bool shown = present(window, words, pressed);
  if (shown) {
    SDL_ShowWindow(window);
    present(window, words, pressed);
    SDL_RaiseWindow(window);
  }
  bool done = !shown;
  while (!done) {
    SDL_Event event;
    if (SDL_WaitEvent(&event) == 0) break;
    if (stopRequested && stopRequested()) break;
    bool redraw = false;
    switch (event.type) {
      case SDL_QUIT:
        done = true;
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) done = true;
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          redraw = true;
        break;
      case SDL_KEYDOWN:
        switch (event.key.keysym.sym) {
          case SDLK_RETURN:
          case SDLK_KP_ENTER:
          case SDLK_SPACE:
          case SDLK_ESCAPE: done = true; break;
          default: break;
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT && onButton(event.button.x, event.button.y)) {
          pressed = true;
          redraw = true;
        }
        break;
      case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && pressed) {
          pressed = false;
          redraw = true;
          if (onButton(event.button.x, event.button.y)) done = true;
        }
        break;
      default: break;
    }
    if (redraw && !done) present(window, words, pressed);
  }
  SDL_DestroyWindow(window);
  return shown;
}
