// Framebuffer-object target of the game's frame, its read-back and its scaled presentation.
#include "OffscreenFrame.h"

#include <algorithm>
#include <cmath>

#include "Gl.h"

namespace {

int powerOfTwoAtLeast(int n) {
  int size = 1;
  while (size < n) size *= 2;
  return size;
}

}  // namespace

OffscreenFrame::~OffscreenFrame() { release(); }

void OffscreenFrame::release() {
  if (framebuffer != 0) gl.DeleteFramebuffers(1, &framebuffer);
  if (texture != 0) gl.DeleteTextures(1, &texture);
  framebuffer = 0;
  texture = 0;
}

bool OffscreenFrame::create(int width, int height, int pixelWidth, int pixelHeight) {
  if (!gl.loaded || !gl.hasFramebufferObjects) return false;
  if (width <= 0 || height <= 0 || width > SNAPSHOT_SIZE || height > SNAPSHOT_SIZE) return false;
  if (pixelWidth == -1) pixelWidth = width;
  if (pixelHeight == -1) pixelHeight = height;
  if (pixelWidth <= 0 || pixelHeight <= 0) return false;
  // The screen's pixels, rounded up to powers of two where GL needs them. Snapshots copy only
  // what lies on the screen.
  int textureW = pixelWidth;
  int textureH = pixelHeight;
  if (!gl.hasNonPowerOfTwoTextures) {
    textureW = powerOfTwoAtLeast(textureW);
    textureH = powerOfTwoAtLeast(textureH);
  }
  if (textureW > gl.maxTextureSize || textureH > gl.maxTextureSize) return false;
  release();
  screenWidth = width;
  screenHeight = height;
  framePixelWidth = pixelWidth;
  framePixelHeight = pixelHeight;
  textureWidth = textureW;
  textureHeight = textureH;

  GLint previousTexture = 0;
  gl.GetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
  gl.GenTextures(1, &texture);
  gl.BindTexture(GL_TEXTURE_2D, texture);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  gl.BindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));

  gl.GenFramebuffers(1, &framebuffer);
  gl.BindFramebuffer(GL_FRAMEBUFFER_ANY, framebuffer);
  gl.FramebufferTexture2D(GL_FRAMEBUFFER_ANY, GL_COLOR_ATTACHMENT0_ANY, GL_TEXTURE_2D, texture, 0);
  if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER_ANY) != GL_FRAMEBUFFER_COMPLETE_ANY) return false;
  // Start from opaque black, so that the parts of the texture outside the screen are defined.
  gl.Viewport(0, 0, textureWidth, textureHeight);
  gl.Disable(GL_SCISSOR_TEST);
  gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  gl.Clear(GL_COLOR_BUFFER_BIT);
  bind();
  return true;
}

void OffscreenFrame::bind() const {
  gl.BindFramebuffer(GL_FRAMEBUFFER_ANY, framebuffer);
  gl.Viewport(0, 0, framePixelWidth, framePixelHeight);
  gl.Scissor(0, 0, framePixelWidth, framePixelHeight);
}

std::vector<uint8_t> OffscreenFrame::readPixels() const {
  const size_t rowBytes = static_cast<size_t>(framePixelWidth) * 4;
  std::vector<uint8_t> bottomUp(rowBytes * static_cast<size_t>(framePixelHeight));
  gl.BindFramebuffer(GL_FRAMEBUFFER_ANY, framebuffer);
  gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
  gl.ReadPixels(0, 0, framePixelWidth, framePixelHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  // GL's row 0 is the bottom of the screen; the game's screen row 0 is the top.
  std::vector<uint8_t> topDown(bottomUp.size());
  for (int y = 0; y < framePixelHeight; ++y) {
    std::copy_n(bottomUp.begin() + static_cast<long>(rowBytes) * (framePixelHeight - 1 - y), rowBytes,
                topDown.begin() + static_cast<long>(rowBytes) * y);
  }
  return topDown;
}

void OffscreenFrame::presentScaled(int windowWidth, int windowHeight, unsigned target) const {
  if (windowWidth <= 0 || windowHeight <= 0) return;
  const float scale = std::min(static_cast<float>(windowWidth) / static_cast<float>(screenWidth),
                               static_cast<float>(windowHeight) / static_cast<float>(screenHeight));
  const int w = static_cast<int>(std::lround(screenWidth * scale));
  const int h = static_cast<int>(std::lround(screenHeight * scale));
  presentAt(windowWidth, windowHeight, (windowWidth - w) / 2, (windowHeight - h) / 2, w, h, target);
}

void OffscreenFrame::presentAt(int windowWidth, int windowHeight, int leftEdge, int topEdge, int width, int height,
                               unsigned target, const WindowRect* only) const {
  if (windowWidth <= 0 || windowHeight <= 0 || width <= 0 || height <= 0) return;
  if (only != nullptr && (only->right <= only->left || only->bottom <= only->top)) return;
  const float left = static_cast<float>(leftEdge);
  const float top = static_cast<float>(topEdge);
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);

  gl.BindFramebuffer(GL_FRAMEBUFFER_ANY, target);
  gl.Viewport(0, 0, windowWidth, windowHeight);
  if (only != nullptr) {
    gl.Scissor(only->left, windowHeight - only->bottom, only->right - only->left, only->bottom - only->top);
    gl.Enable(GL_SCISSOR_TEST);
  } else {
    gl.Scissor(0, 0, windowWidth, windowHeight);
  }
  // Black bars where the screen leaves room; a screen over the whole window paints every pixel.
  // A part shown again lies on the screen, where the bars already are.
  if (only == nullptr && (leftEdge > 0 || topEdge > 0 || width < windowWidth || height < windowHeight)) {
    gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT);
  }

  // Window pixels with y down, like the game's own projection.
  const GLfloat ww = static_cast<GLfloat>(windowWidth);
  const GLfloat wh = static_cast<GLfloat>(windowHeight);
  const GLfloat ortho[16] = {2.0f / ww, 0, 0, 0, 0, -2.0f / wh, 0, 0, 0, 0, -1.0f, 0, -1.0f, 1.0f, 0, 1.0f};
  gl.MatrixMode(GL_PROJECTION);
  gl.PushMatrix();
  gl.LoadMatrixf(ortho);
  gl.MatrixMode(GL_MODELVIEW);
  gl.PushMatrix();
  gl.LoadIdentity();

  // The screen occupies texture rows 0..height-1 counted from the bottom: flip it upright.
  const GLfloat u = static_cast<GLfloat>(framePixelWidth) / static_cast<GLfloat>(textureWidth);
  const GLfloat v = static_cast<GLfloat>(framePixelHeight) / static_cast<GLfloat>(textureHeight);
  const GLfloat vertices[8] = {left, top + h, left + w, top + h, left, top, left + w, top};
  const GLfloat texCoords[8] = {0, 0, u, 0, 0, v, u, v};
  GLint previousTexture = 0;
  gl.GetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
  gl.Disable(GL_BLEND);
  gl.BindTexture(GL_TEXTURE_2D, texture);
  // Pixel for pixel every sample falls on a texel's centre, where the nearest texel is what
  // linear filtering gives too, at a fraction of the software renderer's work per pixel.
  const bool onePixelPerTexel = width == framePixelWidth && height == framePixelHeight;
  if (onePixelPerTexel) {
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  gl.VertexPointer(2, GL_FLOAT, 0, vertices);
  gl.TexCoordPointer(2, GL_FLOAT, 0, texCoords);
  gl.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  if (onePixelPerTexel) {
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }
  gl.BindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
  gl.Enable(GL_BLEND);
  if (only != nullptr) {
    gl.Disable(GL_SCISSOR_TEST);
    gl.Scissor(0, 0, windowWidth, windowHeight);
  }

  gl.MatrixMode(GL_PROJECTION);
  gl.PopMatrix();
  gl.MatrixMode(GL_MODELVIEW);
  gl.PopMatrix();
}
