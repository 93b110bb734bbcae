// bench_e2e_bare_gl: the least a program needs to put a picture on the screen the way the game
// does (SDL2, a GL context, one texture), the floor the start-up benchmark measures the game
// against. It opens a window of the size given on its command line, uploads one 320 x 480
// texture, draws it over the whole window once, swaps, and then only waits for the window to be
// closed. Its window has the game's title, so that the harness finds it the same way.
//
//   bench_e2e_bare_gl WIDTH HEIGHT
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The few GL calls of one textured frame, as in the fixed-function API.
using GenTextures = void (*)(int, unsigned*);
using BindTexture = void (*)(unsigned, unsigned);
using TexParameteri = void (*)(unsigned, unsigned, int);
using TexImage2D = void (*)(unsigned, int, int, int, int, int, unsigned, unsigned, const void*);
using Enable = void (*)(unsigned);
using Viewport = void (*)(int, int, int, int);
using Begin = void (*)(unsigned);
using End = void (*)();
using TexCoord2f = void (*)(float, float);
using Vertex2f = void (*)(float, float);

const unsigned GL_TEXTURE_2D = 0x0DE1;
const unsigned GL_TEXTURE_MIN_FILTER = 0x2801;
const unsigned GL_TEXTURE_MAG_FILTER = 0x2800;
const int GL_LINEAR = 0x2601;
const int GL_RGBA = 0x1908;
const unsigned GL_UNSIGNED_BYTE = 0x1401;
const unsigned GL_QUADS = 0x0007;

template <typename F>
F function(const char* name) {
  return reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: bench_e2e_bare_gl WIDTH HEIGHT\n");
    return 2;
  }
  const int width = std::atoi(argv[1]);
  const int height = std::atoi(argv[2]);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow("Pellix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                        SDL_WINDOW_OPENGL);
  SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
  if (context == nullptr) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    return 1;
  }

  // A picture with something in every pixel, so that the frame differs from an empty window.
  const int textureWidth = 512, textureHeight = 512;
  std::vector<uint32_t> pixels(static_cast<size_t>(textureWidth) * textureHeight);
  for (int y = 0; y < textureHeight; ++y) {
    for (int x = 0; x < textureWidth; ++x)
      pixels[static_cast<size_t>(y) * textureWidth + x] = 0xFF000000u | static_cast<uint32_t>(x / 2) << 8 | static_cast<uint32_t>(y / 2) | 0x400000u;
  }
  unsigned texture = 0;
  function<GenTextures>("glGenTextures")(1, &texture);
  function<BindTexture>("glBindTexture")(GL_TEXTURE_2D, texture);
  function<TexParameteri>("glTexParameteri")(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  function<TexParameteri>("glTexParameteri")(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  function<TexImage2D>("glTexImage2D")(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0,
                                       static_cast<unsigned>(GL_RGBA), GL_UNSIGNED_BYTE, pixels.data());
  function<Enable>("glEnable")(GL_TEXTURE_2D);
  function<Viewport>("glViewport")(0, 0, width, height);
  const auto texCoord = function<TexCoord2f>("glTexCoord2f");
  const auto vertex = function<Vertex2f>("glVertex2f");
  function<Begin>("glBegin")(GL_QUADS);
  texCoord(0.0f, 0.9375f);
  vertex(-1.0f, -1.0f);
  texCoord(0.625f, 0.9375f);
  vertex(1.0f, -1.0f);
  texCoord(0.625f, 0.0f);
  vertex(1.0f, 1.0f);
  texCoord(0.0f, 0.0f);
  vertex(-1.0f, 1.0f);
  function<End>("glEnd")();
  SDL_GL_SwapWindow(window);

  SDL_Event event;
  while (SDL_WaitEvent(&event) && event.type != SDL_QUIT) {
  }
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
