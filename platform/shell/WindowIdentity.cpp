// Window class and window icon.
#include "WindowIdentity.h"

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "PngDecoder.h"

const char* WindowIdentity::applicationId() { return PELLIX_APP_ID; }

void WindowIdentity::nameApplication() {
  // SDL 2 reads these from the environment when it creates a window.
  setenv("SDL_VIDEO_X11_WMCLASS", PELLIX_APP_ID, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", PELLIX_APP_ID, 0);
}

bool WindowIdentity::setIcon(SDL_Window* window, const std::string& path) {
  if (window == nullptr) return false;
  PngDecoder::Image image;
  if (PngDecoder::decode(path, image) != PngDecoder::DECODED || image.width <= 0 || image.height <= 0) return false;
  // The decoder gives premultiplied colour; a window icon wants straight colour.
  std::vector<uint32_t> pixels(image.pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) {
    const uint32_t p = image.pixels[i];
    const uint32_t alpha = p >> 24;
    uint32_t straight = alpha << 24;
    for (int shift = 0; shift < 24 && alpha != 0; shift += 8) {
      const uint32_t channel = ((p >> shift) & 0xFF) * 255 / alpha;
      straight |= (channel > 255 ? 255 : channel) << shift;
    }
    pixels[i] = straight;
  }
  // Red in the lowest byte: SDL's ABGR8888 on a 32-bit value.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), image.width, image.height, 32,
                                                            image.width * 4, SDL_PIXELFORMAT_ABGR8888);
  if (surface == nullptr) return false;
  SDL_SetWindowIcon(window, surface);
  SDL_FreeSurface(surface);
  return true;
}
