// The menu machinery on its own: the panel stretched from its source image (checked pixel by
// pixel with a source whose every pixel encodes its own coordinates), the release of a menu's
// textures after state switches, and unnamed buttons.
#include <gtest/gtest.h>

#include <memory>

#include "BlendMode.h"
#include "Gl.h"
#include "MenuCommon.h"
#include "RenderHarness.h"
#include "ScreenImage.h"
#include "SyntheticResources.h"
#include "TestEnvironment.h"

namespace {

const int SOURCE_SIZE = 270;
const char* const FRAME_IMAGE = "PopBackground_270x270.png";

// Source pixel (x, y): red and green carry the low bytes of x and y, blue their high bits.
unsigned codedPixel(int x, int y) {
  const unsigned blue = 16u + 64u * static_cast<unsigned>(x >> 8) + 128u * static_cast<unsigned>(y >> 8);
  return 0xFF000000u | (static_cast<unsigned>(x & 255) << 16) | (static_cast<unsigned>(y & 255) << 8) | blue;
}

struct SourcePoint {
  int x, y;
};

SourcePoint decode(const ScreenImage::Colour& c) {
  const int high = c.b - 16;
  return {c.r + 256 * ((high / 64) & 1), c.g + 256 * ((high / 128) & 1)};
}

// Where the panel's pixel (x, y) comes from for a panel of `height` rows widened by `widen`.
SourcePoint expectedSource(int x, int y, int height, int widen) {
  if (height <= SOURCE_SIZE - 1) return {x, y};
  const int extra = height - SOURCE_SIZE;
  const int row = y - extra > 60 ? y - extra : (y <= 99 ? y : SOURCE_SIZE / 2);
  return {x <= 99 ? x : x - widen, row};
}

class MenuFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (RenderHarness::instance() == nullptr) PELLIX_MISSING_PREREQUISITE(RenderHarness::failure());
  }

  // The panel uploaded in its power-of-two buffer: there GL's sampling at 1x is exact to the
  // texel over the whole quad, so every pixel shows the one source pixel the stretching chose
  // (with a buffer of another size, rounding along the quad's diagonal may mix in a neighbour).
  static Texture* powerOfTwoFrame(MenuCommon& menu, int height, int widen) {
    const bool anySize = gl.hasNonPowerOfTwoTextures;
    gl.hasNonPowerOfTwoTextures = false;
    Texture* frame = menu.createMenuFrame(height, widen);
    gl.hasNonPowerOfTwoTextures = anySize;
    return frame;
  }

  // The texture drawn unblended with its top-left corner at (0, top) on black.
  static ScreenImage draw(Texture& texture, int top) {
    RenderHarness& harness = *RenderHarness::instance();
    harness.clear(0, 0, 0);
    texture.drawToScreen(0, static_cast<float>(top), Scaling(1.0f, 1.0f), BLEND_OPAQUE, true);
    harness.readBack();
    return ScreenImage(harness.pixels());
  }
};

TEST_F(MenuFrameTest, PanelRowsAndColumnsComeFromTheRightSourcePixels) {
  SyntheticResources resources;
  resources.replace(FRAME_IMAGE, SOURCE_SIZE, SOURCE_SIZE, codedPixel);
  MenuCommon menu{TexturePtr()};

  struct Case {
    int height, widen;
    int width;  // logical width of the result
  } cases[] = {
      {100, 0, 270}, {269, 0, 270}, {269, 64, 270},  // the plain image; widen ignored
      {270, 0, 270},                                 // a bitmap equal to the source row for row
      {315, 0, 270},                                 // five-button game menu
      {440, 30, 300},                                // instructions
      {490, 64, 334},                                // settings, taller than the screen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "height " << c.height << " widen " << c.widen);
    std::unique_ptr<Texture> frame(powerOfTwoFrame(menu, c.height, c.widen));
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(c.width, frame->width);
    EXPECT_EQ(c.height <= 269 ? SOURCE_SIZE : c.height, frame->height);

    // Panels taller than the screen are looked at twice: top part, then bottom part.
    const int tops[] = {0, ScreenImage::HEIGHT - frame->height};
    for (int top : tops) {
      if (top > 0) continue;
      const ScreenImage shot = draw(*frame, top);
      int wrong = 0;
      for (int screenY = 0; screenY < ScreenImage::HEIGHT && wrong < 5; ++screenY) {
        const int y = screenY - top;
        for (int x = 0; x < ScreenImage::WIDTH && wrong < 5; ++x) {
          const ScreenImage::Colour c0 = shot.pixel(x, screenY);
          if (x >= frame->width || y >= frame->height) {
            // Nothing is drawn outside the logical size.
            if (c0.r != 0 || c0.g != 0 || c0.b != 0) {
              ADD_FAILURE() << "pixel outside the panel at " << x << "," << y;
              ++wrong;
            }
            continue;
          }
          const SourcePoint got = decode(c0);
          const SourcePoint want = expectedSource(x, y, c.height, c.widen);
          if (got.x != want.x || got.y != want.y) {
            ADD_FAILURE() << "panel pixel " << x << "," << y << " shows source " << got.x << "," << got.y
                          << " instead of " << want.x << "," << want.y;
            ++wrong;
          }
        }
      }
    }
  }
}

TEST_F(MenuFrameTest, FiveButtonPanelRepeatsTheMiddleRowThenContinuesWithTheSourcesLowerRows) {
  SyntheticResources resources;
  resources.replace(FRAME_IMAGE, SOURCE_SIZE, SOURCE_SIZE, codedPixel);
  MenuCommon menu{TexturePtr()};
  std::unique_ptr<Texture> frame(powerOfTwoFrame(menu, 315, 0));
  const ScreenImage shot = draw(*frame, 0);
  const int column = 150;
  EXPECT_EQ(99, decode(shot.pixel(column, 99)).y);
  for (int y = 100; y <= 105; ++y) EXPECT_EQ(135, decode(shot.pixel(column, y)).y) << "row " << y;
  EXPECT_EQ(61, decode(shot.pixel(column, 106)).y);
  EXPECT_EQ(269, decode(shot.pixel(column, 314)).y);
}

TEST(MenuCommonTest, TexturesOfAMenuAreReleasedOnceOnTheFirstDrawAfterSwitches) {
  MenuCommon menu{TexturePtr()};
  EXPECT_TRUE(menu.justSwitched());  // a new object draws its first menu
  menu.addMenuTexture(new Texture());
  menu.currentMenuButtonOffset = 3;
  const TexturePtr oldMenu = menu.menuElements[0];
  EXPECT_FALSE(menu.justSwitched());
  EXPECT_EQ(2, oldMenu.useCount());

  // Two switches before the next draw: the old menu goes on that draw, once.
  menu.justSwitchedMenu = true;
  menu.justSwitchedMenu = true;
  EXPECT_EQ(2, oldMenu.useCount());
  EXPECT_TRUE(menu.justSwitched());
  EXPECT_EQ(1, oldMenu.useCount());
  EXPECT_EQ(0, menu.currentMenuButtonOffset);
  EXPECT_FALSE(menu.justSwitchedMenu);

  menu.addMenuTexture(new Texture());
  const TexturePtr newMenu = menu.menuElements[0];
  EXPECT_FALSE(menu.justSwitched());
  EXPECT_FALSE(menu.justSwitched());
  EXPECT_EQ(2, newMenu.useCount());
  EXPECT_EQ(1, menu.menuElements.size());
}

TEST(MenuCommonTest, UnnamedButtonLoadsNothing) {
  MenuCommon menu{TexturePtr()};
  const char* names[] = {nullptr, ""};
  for (const char* name : names) {
    const MenuCommon::MenuButton button(name, &menu);
    EXPECT_EQ(nullptr, button.normalTexture);
    EXPECT_EQ(nullptr, button.altTexture);
  }
  EXPECT_TRUE(menu.menuElements.empty());
}

}  // namespace
