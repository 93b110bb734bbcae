// Menu panels, titles, buttons, and the queue of views to take off the screen.
#include "MenuCommon.h"

#include <string>

#include "BlendMode.h"
#include "Lock.h"
#include "MenuWords.h"
#include "ScreenGeometry.h"
#include "View.h"

namespace {

using ScreenGeometry::CENTRE_X;
using ScreenGeometry::SCREEN_HEIGHT;
using ScreenGeometry::SCREEN_WIDTH;
const char* const FRAME_IMAGE = "PopBackground_270x270.png";

int powerOfTwoAtLeast(int value) {
  int result = 1;
  while (result < value) result *= 2;
  return result;
}

}  // namespace

MenuCommon::MenuButton::MenuButton(const char* name, MenuCommon* menu) {
  if (name == nullptr || name[0] == '\0') return;
  const std::string words = MenuWords::label(name);
  normalTexture = menu->addMenuTexture(new Texture("MenuOption_01_200x52.png", 0, 0, {{LabelPainter::MENU_OPTION, words}}));
  altTexture =
      menu->addMenuTexture(new Texture("MenuOption_02_200x52.png", 0, 0, {{LabelPainter::MENU_OPTION_PRESSED, words}}));
}

MenuCommon::MenuCommon(const TexturePtr& divider) : menuDivider(divider) {}

MenuCommon::~MenuCommon() = default;

Texture* MenuCommon::overlay() {
  if (!sunOverlay) sunOverlay.reset(new Texture(OVERLAY_IMAGE, 1.0f, false));
  overlayDrawn = true;
  return sunOverlay.get();
}

void MenuCommon::followArtScale() {
  // Made again at the new scale (or look) when a screen next asks for it.
  sunOverlay.reset();
  for (int i = 0; i < menuElements.size(); ++i) {
    if (menuElements[i]) menuElements[i]->remake();
  }
  if (popBackground) popBackground->remake();
  if (menuTitle) menuTitle->remake();
}

bool MenuCommon::justSwitched() {
  if (justSwitchedMenu) {
    justSwitchedMenu = false;
    menuElements.clear();
    currentMenuButtonOffset = 0;
  }
  return menuElements.empty();
}

Texture* MenuCommon::addMenuTexture(Texture* texture) {
  TexturePtr handle;
  handle.reset(texture);
  menuElements.append(handle);
  return texture;
}

void MenuCommon::ensureTitleLoaded(bool load, Texture** slot, const char* name) {
  if (!load) return;
  *slot = addMenuTexture(new Texture(std::string(), 200, 52, {{LabelPainter::TITLE, MenuWords::label(name)}}));
}

Texture* MenuCommon::createMenuFrame(int height, int widen) {
  if (height <= 269) return new Texture(FRAME_IMAGE, 1.0f, false);
  Texture* frame = new Texture();
  paintMenuFrame(*frame, height, widen);
  frame->recipe = [height, widen](Texture& texture) { paintMenuFrame(texture, height, widen); };
  return frame;
}

void MenuCommon::paintMenuFrame(Texture& frame, int height, int widen) {
  int sourceWidth = 0, sourceHeight = 0;
  Bitmap source(FRAME_IMAGE, &sourceWidth, &sourceHeight, 1.0f);
  // The top 100 rows and the bottom rows keep their look; the middle row is repeated to stretch
  // the panel, and the right-hand part moves right by `widen` columns. Rows and columns count
  // screen units; each is `unit` pixels of the source at the art scale.
  const int unit = source.scale;
  const int width = source.w;
  Bitmap* panel = new Bitmap(width, powerOfTwoAtLeast(height) * unit);
  panel->scale = unit;
  const int extra = height - sourceHeight;
  for (int y = 0; y < height * unit; ++y) {
    const int row = y / unit;
    const int logicalRow = row - extra > 60 ? row - extra : (row <= 99 ? row : sourceHeight / 2);
    const int sourceRow = logicalRow * unit + y % unit;
    for (int x = 0; x < width; ++x) {
      const int column = x / unit;
      const int sourceColumn = (column <= 99 ? column : column - widen) * unit + x % unit;
      if (sourceColumn >= 0 && sourceColumn < source.w && sourceRow >= 0 && sourceRow < source.h)
        panel->putPixel(x, y, source.getPixel(sourceColumn, sourceRow));
    }
  }
  frame.init(panel, sourceWidth + widen, height);
}


int MenuCommon::drawMenuButton(int index, int highlighted, int& y) {
  const MenuButton& button = menuButtons[index];
  Texture* texture = index == highlighted ? button.altTexture : button.normalTexture;
  if (texture == nullptr) return y;
  texture->drawToScreenCenteredOnXAxis(CENTRE_X, static_cast<float>(y), Scaling(1.0f, 1.0f), BLEND_PREMULTIPLIED, true);
  y += texture->height;
  return y;
}

int MenuCommon::drawMenuWithTopAndBottomButtons(bool firstDraw, const char** names, bool bottomHighlighted,
                                                int yOffset) {
  const Scaling unscaled(1.0f, 1.0f);
  overlay()->drawToScreen(0, 0, unscaled, BLEND_PREMULTIPLIED, true);
  const int frameHeight = popBackground->height;
  popBackground->drawToScreen(static_cast<float>((SCREEN_WIDTH - popBackground->width) / 2),
                              static_cast<float>((SCREEN_HEIGHT - frameHeight) / 2 + yOffset), unscaled,
                              BLEND_PREMULTIPLIED, true);
  int y = yOffset + (SCREEN_HEIGHT - frameHeight) / 2 + 25;
  ensureTitleLoaded(firstDraw, &titleTexture, names[0]);
  titleTexture->drawToScreenCenteredOnXAxis(CENTRE_X, static_cast<float>(y), unscaled, BLEND_PREMULTIPLIED, true);
  y += titleTexture->height;
  menuDivider->drawToScreenCenteredOnXAxis(CENTRE_X, static_cast<float>(y), unscaled, BLEND_PREMULTIPLIED, true);
  y = ScreenGeometry::panelButtonTop(frameHeight, yOffset);
  menuDivider->drawToScreenCenteredOnXAxis(CENTRE_X, static_cast<float>(y - 1), unscaled, BLEND_PREMULTIPLIED, true);
  if (firstDraw) menuButtons[0] = MenuButton(names[1], this);
  const int buttonTop = y;
  drawMenuButton(0, bottomHighlighted ? 0 : -1, y);
  return buttonTop;
}

void MenuCommon::pendViewRemoval(const std::shared_ptr<Ui::View>& view) {
  MyTl::Lock lock(viewLock);
  pendingViewRemovals.append(view);
}

void MenuCommon::doneDrawing() {
  // The full-screen overlay is large (some 2.4 MiB at 2x): it stays only while screens show it.
  if (!overlayDrawn) sunOverlay.reset();
  overlayDrawn = false;
  MyTl::Lock lock(viewLock);
  for (const std::shared_ptr<Ui::View>& view : pendingViewRemovals) view->removeFromSuperview();
  pendingViewRemovals.clear();
}
