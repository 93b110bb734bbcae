// Texture: one GL texture together with the CPU image it was made from, drawn as a
// screen-aligned quad. Made from an image resource, a Bitmap or MonoBitmap built in memory, a
// block of text, or a snapshot of the framebuffer. Every picture of the game is drawn through its
// four drawing calls, which also choose the blending.
// Sizes and positions are in screen units. A texture's pixels may be finer (the art scale of
// DisplayScale, or the frame's own resolution for a snapshot); the quad keeps its logical size.
// Created, drawn and destroyed on the rendering thread with the GL context current. Owns its
// bitmap (if any) and its GL texture; shared through TexturePtr.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <utility>
#include <vector>

#include "Bitmap.h"
#include "LabelPainter.h"
#include "MonoBitmap.h"
#include "Scaling.h"

class Texture {
 public:
  // Stored as an int: any value is a valid alignment, and a value other than centre or right
  // aligns left.
  enum TextAlignment : int { ALIGN_LEFT = 0, ALIGN_CENTER = 1, ALIGN_RIGHT = 2 };

  // An empty texture, to be filled by one of the init calls.
  Texture() = default;
  // The image resource `resourceName` with its alpha scaled; width/height are the image's own
  // size, the uploaded bitmap is its power-of-two buffer. keepPixels keeps the bitmap's pixels.
  Texture(const char* resourceName, float alphaScale, bool keepPixels);
  // A snapshot of the framebuffer rectangle from (0, 0), width x height screen units at the
  // frame's resolution, pixel for pixel (only sizes above 511 in both directions receive an
  // image). Framebuffer row 0 is the bottom of the screen.
  Texture(int width, int height);
  // White text in `fontName` at `fontSize` pixels, word-wrapped within w pixels, in a buffer of
  // the power-of-two sizes of w and h, rasterised at the art scale. With fitHeight, text taller
  // than h is set smaller, then cut with an ellipsis; with oneLineFirst, a label that would wrap
  // is set smaller first (TextRasterizer).
  Texture(const char* text, int w, int h, TextAlignment alignment, const char* fontName, int fontSize,
          float alphaScale, bool keepPixels, bool fitHeight = false, bool oneLineFirst = false);
  // Words painted at the art scale over a picture: the image resource `resourceName` (its own
  // size), or with an empty name a transparent picture of `blankWidth` x `blankHeight`; each
  // label is painted in the style of its kind (LabelPainter).
  using Label = std::pair<LabelPainter::Kind, std::string>;
  Texture(const std::string& resourceName, int blankWidth, int blankHeight, std::vector<Label> labels);
  ~Texture();

  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // Takes ownership of `source` and uploads it; width/height are the bitmap's unless given
  // (not -1). The pixels are freed after upload.
  void init(Bitmap* source, int width = -1, int height = -1);
  void init(MonoBitmap* source, int width = -1, int height = -1);
  void init(const char* text, int w, int h, TextAlignment alignment, const char* fontName, int fontSize,
            float alphaScale, bool keepPixels, bool fitHeight = false, bool oneLineFirst = false);

  // Makes the texture again from what it was made of (its image resource or its text), at the
  // display's current art scale; the object and its logical size stay. False (and nothing done)
  // for a texture made from an ad hoc bitmap or a snapshot without a recipe.
  bool remake();
  // How remake() rebuilds the texture; set by the resource and text constructors, and by makers
  // of bitmaps that can paint them again at another scale.
  std::function<void(Texture&)> recipe;

  // Top-left corner at (x, y).
  void drawToScreen(float x, float y, Scaling scaling, int blendMode, bool upright);
  // Centred horizontally on x (by the logical width), top at y.
  void drawToScreenCenteredOnXAxis(float x, float y, Scaling scaling, int blendMode, bool upright);
  // Centred on (x, y) by the logical size.
  void drawToScreenCenteredAt(float x, float y, Scaling scaling, int blendMode, bool upright);
  // Like drawToScreen, turned clockwise by `degrees` about the centre of the logical box.
  void drawToScreenWithRotation(float x, float y, int degrees, Scaling scaling, int blendMode, bool upright);

  unsigned textureId = 0;
  std::unique_ptr<Bitmap> bitmap;
  std::unique_ptr<MonoBitmap> monoBitmap;
  int width = 0;   // logical size, used for centring and rotation
  int height = 0;
  // The part of the uploaded image the quad shows (a snapshot's texture may be larger).
  float textureRight = 1.0f;
  float textureBottom = 1.0f;

 private:
  // Makes the GL texture from the bitmap (or text), or from `image` when given (the bitmap then
  // only describes its buffer).
  void initInternal(bool keepPixels, const Bitmap::Image* image = nullptr);
  // Uploads a decoded image resource the way uploadBitmap uploads its buffer.
  void uploadImage(const Bitmap::Image& image);
  // Uploads the bitmap's image (see the definition for how much of its buffer).
  void uploadBitmap(bool keepPixels);
  // The bitmap's pixels given to GL, 0 until uploaded; the quad spans them.
  int uploadedWidth = 0;
  int uploadedHeight = 0;
  void loadImage(const std::string& resourceName, float alphaScale, bool keepPixels);
  void paintLabels(const std::string& resourceName, int blankWidth, int blankHeight, const std::vector<Label>& labels);
  void renderText(const std::string& text, int w, int h, TextAlignment alignment, const std::string& fontName,
                  int fontSize, float alphaScale, bool keepPixels, bool fitHeight, bool oneLineFirst);
  // The quad's size in screen units at scale 1.
  float quadWidth() const;
  float quadHeight() const;
  void releaseGlTexture();
};
