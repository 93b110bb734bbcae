// Texture upload and quad drawing with the game's four blend modes.
#include "Texture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "Assert.h"
#include "BlendMode.h"
#include "DisplayScale.h"
#include "Gl.h"
#include "PowerOfTwo.h"
#include "TextRasterizer.h"

Texture::Texture(const char* resourceName, float alphaScale, bool keepPixels) {
  const std::string name = resourceName != nullptr ? resourceName : "";
  loadImage(name, alphaScale, keepPixels);
  recipe = [name, alphaScale, keepPixels](Texture& texture) { texture.loadImage(name, alphaScale, keepPixels); };
}

void Texture::loadImage(const std::string& resourceName, float alphaScale, bool keepPixels) {
  monoBitmap.reset();
  if (keepPixels || !gl.hasNonPowerOfTwoTextures) {
    bitmap.reset(new Bitmap(resourceName.c_str(), &width, &height, alphaScale));
    initInternal(keepPixels);
    return;
  }
  // Where GL takes any size and no pixels are kept, the decoded image goes up as it is: the
  // power-of-two buffer would only be filled, packed and freed again (megabytes for the
  // full-screen pictures at 2x and above). The bitmap keeps describing that buffer's size.
  const Bitmap::Image image = Bitmap::loadImage(resourceName.c_str(), alphaScale);
  width = image.imageWidth;
  height = image.imageHeight;
  bitmap.reset(new Bitmap(0, 0));
  bitmap->w = image.bufferWidth;
  bitmap->h = image.bufferHeight;
  bitmap->scale = image.scale;
  bitmap->freePixels();
  initInternal(false, &image);
}

Texture::Texture(const std::string& resourceName, int blankWidth, int blankHeight, std::vector<Label> labels) {
  paintLabels(resourceName, blankWidth, blankHeight, labels);
  recipe = [resourceName, blankWidth, blankHeight, labels](Texture& texture) {
    texture.paintLabels(resourceName, blankWidth, blankHeight, labels);
  };
}

void Texture::paintLabels(const std::string& resourceName, int blankWidth, int blankHeight, const std::vector<Label>& labels) {
  monoBitmap.reset();
  if (!resourceName.empty() && gl.hasNonPowerOfTwoTextures) {
    // Painted over exactly what goes up (the image and its transparent column and row, see
    // uploadImage) rather than over the whole power-of-two buffer: the words lie at the same
    // places, and a full-screen picture is not copied, painted and packed at twice its size.
    Bitmap::Image image = Bitmap::loadImage(resourceName.c_str(), 1.0f);
    width = image.imageWidth;
    height = image.imageHeight;
    const int uploadWidth = std::min(image.bufferWidth, width * image.scale + 1);
    const int uploadHeight = std::min(image.bufferHeight, height * image.scale + 1);
    if (uploadWidth != image.pixelWidth || uploadHeight != image.pixelHeight) {
      std::vector<uint32_t> widened(static_cast<size_t>(uploadWidth) * static_cast<size_t>(uploadHeight), 0u);
      for (int y = 0; y < image.pixelHeight; ++y) {
        std::copy_n(image.pixels.begin() + static_cast<long>(y) * image.pixelWidth, image.pixelWidth,
                    widened.begin() + static_cast<long>(y) * uploadWidth);
      }
      image.pixels = std::move(widened);
      image.pixelWidth = uploadWidth;
      image.pixelHeight = uploadHeight;
    }
    for (const Label& label : labels)
      LabelPainter::paint(image.pixels.data(), image.pixelWidth, image.pixelHeight, image.scale, label.first, label.second);
    bitmap.reset(new Bitmap(0, 0));
    bitmap->w = image.bufferWidth;
    bitmap->h = image.bufferHeight;
    bitmap->scale = image.scale;
    bitmap->freePixels();
    initInternal(false, &image);
    return;
  }
  if (!resourceName.empty()) {
    bitmap.reset(new Bitmap(resourceName.c_str(), &width, &height, 1.0f));
  } else {
    const int scale = DisplayScale::artScale();
    bitmap.reset(new Bitmap(nextPowerOfTwo(blankWidth) * scale, nextPowerOfTwo(blankHeight) * scale));
    bitmap->scale = scale;
    width = blankWidth;
    height = blankHeight;
  }
  if (bitmap->pixels != nullptr) {
    for (const Label& label : labels)
      LabelPainter::paint(bitmap->pixels.get(), bitmap->w, bitmap->h, bitmap->scale, label.first, label.second);
  }
  initInternal(false);
}

bool Texture::remake() {
  if (!recipe) return false;
  // The recipe may set or clear the recipe itself (init does); it stays this texture's recipe.
  std::function<void(Texture&)> making = std::move(recipe);
  recipe = nullptr;
  making(*this);
  recipe = std::move(making);
  return true;
}

Texture::Texture(int snapshotWidth, int snapshotHeight) : width(snapshotWidth), height(snapshotHeight) {
  initInternal(false);
}

Texture::Texture(const char* text, int w, int h, TextAlignment alignment, const char* fontName, int fontSize,
                 float alphaScale, bool keepPixels, bool fitHeight, bool oneLineFirst) {
  init(text, w, h, alignment, fontName, fontSize, alphaScale, keepPixels, fitHeight, oneLineFirst);
}

Texture::~Texture() { releaseGlTexture(); }

void Texture::releaseGlTexture() {
  if (textureId != 0 && gl.loaded) gl.DeleteTextures(1, &textureId);
  textureId = 0;
}

void Texture::init(Bitmap* source, int w, int h) {
  recipe = nullptr;
  bitmap.reset(source);
  monoBitmap.reset();
  width = (w != -1 || source == nullptr) ? w : source->w / source->scale;
  height = (h != -1 || source == nullptr) ? h : source->h / source->scale;
  initInternal(false);
}

void Texture::init(MonoBitmap* source, int w, int h) {
  recipe = nullptr;
  monoBitmap.reset(source);
  bitmap.reset();
  width = (w != -1 || source == nullptr) ? w : source->w / source->scale;
  height = (h != -1 || source == nullptr) ? h : source->h / source->scale;
  initInternal(false);
}

void Texture::init(const char* text, int w, int h, TextAlignment alignment, const char* fontName, int fontSize,
                   float alphaScale, bool keepPixels, bool fitHeight, bool oneLineFirst) {
  const std::string words = text != nullptr ? text : "";
  const std::string font = fontName != nullptr ? fontName : "";
  renderText(words, w, h, alignment, font, fontSize, alphaScale, keepPixels, fitHeight, oneLineFirst);
  recipe = [words, w, h, alignment, font, fontSize, alphaScale, keepPixels, fitHeight, oneLineFirst](Texture& texture) {
    texture.renderText(words, w, h, alignment, font, fontSize, alphaScale, keepPixels, fitHeight, oneLineFirst);
  };
}

void Texture::renderText(const std::string& text, int w, int h, TextAlignment alignment, const std::string& fontName,
                         int fontSize, float alphaScale, bool keepPixels, bool fitHeight, bool oneLineFirst) {
  width = nextPowerOfTwo(w);
  height = nextPowerOfTwo(h);
  bitmap.reset();
  // Laid out in screen units, rasterised at the art scale.
  const int scale = DisplayScale::artScale();
  monoBitmap.reset(new MonoBitmap(width * scale, height * scale));
  monoBitmap->scale = scale;
  TextRasterizer::Alignment align = alignment == ALIGN_CENTER  ? TextRasterizer::CENTER
                                    : alignment == ALIGN_RIGHT ? TextRasterizer::RIGHT
                                                               : TextRasterizer::LEFT;
  TextRasterizer::render(text.c_str(), w, monoBitmap->w, monoBitmap->h, align, fontName.empty() ? nullptr : fontName.c_str(),
                         fontSize, scale, monoBitmap->pixels.get(), fitHeight ? h : 0, oneLineFirst);
  if (alphaScale != 1.0f) {
    const size_t count = static_cast<size_t>(monoBitmap->w) * static_cast<size_t>(monoBitmap->h);
    for (size_t i = 0; i < count; ++i) {
      const int scaled = static_cast<int>(static_cast<float>(monoBitmap->pixels[i]) * alphaScale);
      monoBitmap->pixels[i] = static_cast<uint8_t>(scaled < 0 ? 0 : scaled > 255 ? 255 : scaled);
    }
  }
  initInternal(keepPixels);
}

void Texture::uploadBitmap(bool keepPixels) {
  // The image fills the top left of its power-of-two buffer. Where GL takes textures of any
  // size, only the image and one column and row of the transparent margin beyond it go up: with
  // the edges clamped, filtering there sees the same transparent pixels the whole margin gave,
  // so the picture is the same and the driver holds less.
  int uploadWidth = bitmap->w;
  int uploadHeight = bitmap->h;
  if (gl.hasNonPowerOfTwoTextures && width > 0 && height > 0) {
    uploadWidth = std::min(bitmap->w, width * bitmap->scale + 1);
    uploadHeight = std::min(bitmap->h, height * bitmap->scale + 1);
  }
  const uint8_t* rows = reinterpret_cast<const uint8_t*>(bitmap->pixels.get());
  std::vector<uint8_t> packed;
  if (uploadWidth != bitmap->w) {
    // GL ES reads rows back to back: the rows are packed, in place when the pixels go after.
    const size_t sourceStride = static_cast<size_t>(bitmap->w) * 4;
    const size_t packedStride = static_cast<size_t>(uploadWidth) * 4;
    uint8_t* target = reinterpret_cast<uint8_t*>(bitmap->pixels.get());
    if (keepPixels) {
      packed.resize(packedStride * static_cast<size_t>(uploadHeight));
      target = packed.data();
    }
    for (int y = 0; y < uploadHeight; ++y) {
      std::memmove(target + packedStride * static_cast<size_t>(y), rows + sourceStride * static_cast<size_t>(y),
                   packedStride);
    }
    rows = target;
  }
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, uploadWidth, uploadHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, rows);
  uploadedWidth = uploadWidth;
  uploadedHeight = uploadHeight;
  // Packed in place, the bitmap's own layout is gone: its pixels go now, as the caller asked.
  if (uploadWidth != bitmap->w && !keepPixels) bitmap->freePixels();
}

void Texture::uploadImage(const Bitmap::Image& image) {
  // As uploadBitmap does without a power-of-two size: the image and one transparent column and
  // row beyond it, within the buffer the bitmap describes (which holds the whole image).
  const int uploadWidth = std::min(bitmap->w, width * bitmap->scale + 1);
  const int uploadHeight = std::min(bitmap->h, height * bitmap->scale + 1);
  MYTL_ASSERT(image.pixelWidth <= uploadWidth && image.pixelHeight <= uploadHeight, "Texture");
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  if (image.pixelWidth == uploadWidth && image.pixelHeight == uploadHeight) {
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, uploadWidth, uploadHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                  image.pixels.data());
  } else {
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, uploadWidth, uploadHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    gl.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, image.pixelWidth, image.pixelHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                     image.pixels.data());
    // The transparent margin right of the image and below it.
    const int marginWidth = uploadWidth - image.pixelWidth;
    const int marginHeight = uploadHeight - image.pixelHeight;
    const std::vector<uint32_t> clear(
        std::max(static_cast<size_t>(marginWidth) * static_cast<size_t>(image.pixelHeight),
                 static_cast<size_t>(uploadWidth) * static_cast<size_t>(marginHeight)));
    if (marginWidth > 0 && image.pixelHeight > 0) {
      gl.TexSubImage2D(GL_TEXTURE_2D, 0, image.pixelWidth, 0, marginWidth, image.pixelHeight, GL_RGBA,
                       GL_UNSIGNED_BYTE, clear.data());
    }
    if (marginHeight > 0) {
      gl.TexSubImage2D(GL_TEXTURE_2D, 0, 0, image.pixelHeight, uploadWidth, marginHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                       clear.data());
    }
  }
  uploadedWidth = uploadWidth;
  uploadedHeight = uploadHeight;
}

void Texture::initInternal(bool keepPixels, const Bitmap::Image* image) {
  MYTL_ASSERT(gl.loaded, "Texture");
  uploadedWidth = 0;
  uploadedHeight = 0;
  // A texture initialised twice gives its first GL texture back instead of leaking it.
  releaseGlTexture();
  textureRight = 1.0f;
  textureBottom = 1.0f;
  gl.GenTextures(1, &textureId);
  GLint previous = 0;
  gl.GetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
  gl.BindTexture(GL_TEXTURE_2D, textureId);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  // Filtering at a quad's edge must not reach round to the opposite edge of the image (GL's
  // default wrap repeats it): a glyph at the top of a text box would show as a speck below it.
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  if (image != nullptr) {
    uploadImage(*image);
  } else if (bitmap != nullptr && bitmap->pixels != nullptr) {
    uploadBitmap(keepPixels);
  } else if (monoBitmap != nullptr && monoBitmap->pixels != nullptr) {
    // Rows of single bytes may be of any width.
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, monoBitmap->w, monoBitmap->h, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                  monoBitmap->pixels.get());
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  } else if (bitmap == nullptr && monoBitmap == nullptr && width > 511 && height > 511) {
    // Pixel for pixel at the frame's resolution, and only what lies on the screen: the part of
    // the quad beyond it falls outside the frame. Without non-power-of-two textures the copy is
    // rounded up and the quad shows only its part.
    const float pixelsX = static_cast<float>(width) * DisplayScale::pixelsPerUnitX();
    const float pixelsY = static_cast<float>(height) * DisplayScale::pixelsPerUnitY();
    int copyWidth = std::min(static_cast<int>(std::ceil(pixelsX - 0.001f)), DisplayScale::framePixelWidth());
    int copyHeight = std::min(static_cast<int>(std::ceil(pixelsY - 0.001f)), DisplayScale::framePixelHeight());
    if (!gl.hasNonPowerOfTwoTextures) {
      copyWidth = nextPowerOfTwo(copyWidth);
      copyHeight = nextPowerOfTwo(copyHeight);
    }
    gl.CopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, copyWidth, copyHeight, 0);
    textureRight = pixelsX / static_cast<float>(copyWidth);
    textureBottom = pixelsY / static_cast<float>(copyHeight);
  }
  gl.BindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
  if (!keepPixels) {
    if (bitmap != nullptr) bitmap->freePixels();
    if (monoBitmap != nullptr) monoBitmap->freePixels();
  }
}

float Texture::quadWidth() const {
  if (bitmap != nullptr && uploadedWidth > 0) return static_cast<float>(uploadedWidth) / static_cast<float>(bitmap->scale);
  if (bitmap != nullptr) return static_cast<float>(bitmap->w) / static_cast<float>(bitmap->scale);
  if (monoBitmap != nullptr) return static_cast<float>(monoBitmap->w) / static_cast<float>(monoBitmap->scale);
  return static_cast<float>(width);
}

float Texture::quadHeight() const {
  if (bitmap != nullptr && uploadedHeight > 0) return static_cast<float>(uploadedHeight) / static_cast<float>(bitmap->scale);
  if (bitmap != nullptr) return static_cast<float>(bitmap->h) / static_cast<float>(bitmap->scale);
  if (monoBitmap != nullptr) return static_cast<float>(monoBitmap->h) / static_cast<float>(monoBitmap->scale);
  return static_cast<float>(height);
}

void Texture::drawToScreen(float x, float y, Scaling scaling, int blendMode, bool upright) {
  const float sw = quadWidth() * scaling.scaleX;
  const float sh = quadHeight() * scaling.vertical();

  // Only the four blend modes draw; text (coverage) textures blend with plain alpha unless
  // additive or opaque drawing is asked for.
  switch (blendMode) {
    case BLEND_OPAQUE:
      gl.Disable(GL_BLEND);
      break;
    case BLEND_ADDITIVE:
      gl.BlendFunc(GL_SRC_ALPHA, GL_ONE);
      break;
    case BLEND_ALPHA:
    case BLEND_PREMULTIPLIED:
      if (monoBitmap != nullptr || blendMode == BLEND_ALPHA) {
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      } else {
        gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
      }
      break;
    default:
      return;
  }

  const GLfloat top = upright ? y : y + sh;
  const GLfloat bottom = upright ? y + sh : y;
  const GLfloat vertices[12] = {x, bottom, 0.0f, x + sw, bottom, 0.0f, x, top, 0.0f, x + sw, top, 0.0f};
  const GLfloat u = textureRight;
  const GLfloat v = textureBottom;
  const GLfloat texCoords[8] = {0.0f, v, u, v, 0.0f, 0.0f, u, 0.0f};
  gl.BindTexture(GL_TEXTURE_2D, textureId);
  gl.VertexPointer(3, GL_FLOAT, 0, vertices);
  gl.TexCoordPointer(2, GL_FLOAT, 0, texCoords);
  gl.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);

  if (blendMode == BLEND_OPAQUE) gl.Enable(GL_BLEND);
}

void Texture::drawToScreenCenteredOnXAxis(float x, float y, Scaling scaling, int blendMode, bool upright) {
  drawToScreen(x - 0.5f * static_cast<float>(width) * scaling.scaleX, y, scaling, blendMode, upright);
}

void Texture::drawToScreenCenteredAt(float x, float y, Scaling scaling, int blendMode, bool upright) {
  drawToScreen(x - 0.5f * static_cast<float>(width) * scaling.scaleX,
               y - 0.5f * static_cast<float>(height) * scaling.vertical(), scaling, blendMode, upright);
}

void Texture::drawToScreenWithRotation(float x, float y, int degrees, Scaling scaling, int blendMode,
                                       bool upright) {
  if (degrees == 0) {
    drawToScreen(x, y, scaling, blendMode, upright);
    return;
  }
  const float halfWidth = static_cast<float>(width) * scaling.scaleX / 2.0f;
  const float halfHeight = static_cast<float>(height) * scaling.vertical() / 2.0f;
  gl.PushMatrix();
  gl.Translatef(x + halfWidth, y + halfHeight, 0.0f);
  // On the y-down screen a positive angle turns clockwise.
  gl.Rotatef(static_cast<GLfloat>(degrees), 0.0f, 0.0f, 1.0f);
  drawToScreen(-halfWidth, -halfHeight, scaling, blendMode, upright);
  gl.PopMatrix();
}
