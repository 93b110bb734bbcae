// ViewPainter: how the controls draw: tinted shapes and text over the game's frame, through the
// game's Texture class. Shapes and text become coverage textures that are tinted and faded by
// the current GL colour, so one texture serves every colour. Positions and sizes are screen
// units; the textures are made at the display's art scale and clipping is in the frame's pixels. Textures are cached by what they
// show and kept while they are drawn; whatever a frame did not draw is released at its end.
// Owned by ViewRoot, which creates it on its first draw; used only between beginFrame and
// endFrame, on the thread whose GL context is current. Destroying it releases its GL textures,
// so the context must still be current then.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "TextMeasurer.h"
#include "Texture.h"
#include "ViewColour.h"
#include "ViewRect.h"

namespace Ui {

class ViewPainter {
 public:
  struct TextStyle {
    const char* fontName = nullptr;  // null: the game's font
    int pixelSize = 15;
    int wrapWidth = 0;  // > 0: words wrap within this width; otherwise one unwrapped line
    Texture::TextAlignment alignment = Texture::ALIGN_LEFT;  // within wrapWidth
  };

  // Text textures are at most this many pixels wide and high; longer text is cut off there.
  static constexpr int MAX_TEXT_SIZE = 1024;

  ViewPainter(int screenWidth, int screenHeight);
  ~ViewPainter();
  ViewPainter(const ViewPainter&) = delete;
  ViewPainter& operator=(const ViewPainter&) = delete;

  // Sets up tinting for the controls; nowMs is the time that animations of this frame read.
  void beginFrame(int nowMs);
  // Gives the game its GL state back (texture replace mode, white colour, its blend function,
  // no clipping) and releases the textures that this frame did not draw.
  void endFrame();
  int nowMs() const { return frameTime; }

  void fillRect(const ViewRect& rect, ViewColour colour);
  void fillRoundedRect(const ViewRect& rect, float radius, ViewColour colour);
  // An outline lineWidth wide, inside the rectangle's edge.
  void strokeRoundedRect(const ViewRect& rect, float radius, float lineWidth, ViewColour colour);
  // The activity indicator's spokes in a size x size box centred at (cx, cy), turned clockwise
  // by `step` twelfths of a turn.
  void drawSpinner(float cx, float cy, int size, int step, ViewColour colour);
  // Text with the top-left of its layout box at (x, y); returns the laid-out size.
  TextMeasurer::Extent drawText(const std::string& text, float x, float y, const TextStyle& style,
                                ViewColour colour);
  // One line of text centred in `rect` (its left end stays inside when it is too long).
  void drawTextCentered(const std::string& text, const ViewRect& rect, const TextStyle& style, ViewColour colour);
  // The size drawText gives the text.
  static TextMeasurer::Extent measureText(const std::string& text, const TextStyle& style);

  // Clipping: drawing is limited to the intersection of the pushed rectangles.
  void pushClip(const ViewRect& rect);
  void popClip();

 private:
  struct CachedTexture {
    std::unique_ptr<Texture> texture;
    TextMeasurer::Extent extent;  // texts: laid-out size
    long long lastFrame = 0;
  };
  using ShapeKey = std::tuple<int, int, int, int, int>;  // kind, w, h, radius x 4, line x 4
  using TextKey = std::tuple<std::string, std::string, int, int, int>;  // text, font, size, wrap, align

  Texture* shape(const ShapeKey& key);
  CachedTexture& text(const std::string& content, const TextStyle& style);
  void tint(ViewColour colour) const;
  void applyClip() const;

  int screenW;
  int screenH;
  int artScale = 1;  // the scale the cached textures were made at
  int frameTime = 0;
  long long frameNumber = 0;
  bool inFrame = false;
  std::map<ShapeKey, CachedTexture> shapes;
  std::map<TextKey, CachedTexture> texts;
  std::vector<ViewRect> clips;
};

}  // namespace Ui
