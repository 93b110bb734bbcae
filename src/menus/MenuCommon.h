// MenuCommon: the machinery every menu screen is drawn with: a darkening overlay, a framed panel
// stretched from one background image, a title image, one-pixel dividers and a column of image
// buttons. Menus are immediate-mode: a screen's draw function runs every frame while it is up,
// creates its textures on the first frame after a game-state switch (justSwitched) and the
// textures live until the next switch. Controls of the view layer are added to `parent` and
// queued for removal with pendViewRemoval; doneDrawing removes them after the frame.
// The screens (GameScreens) derive from it; all of it runs on the main thread except
// pendViewRemoval, which any thread may call.
#pragma once

#include <memory>

#include "Mutex.h"
#include "SmartArray.h"
#include "TexturePtr.h"

namespace Ui {
class View;
}

class MenuCommon {
 public:
  static constexpr int MENU_TEXT_SLOTS = 32;
  static constexpr int MENU_BUTTON_SLOTS = 16;

  // A button image with its highlighted twin; both null for an unnamed button.
  struct MenuButton {
    MenuButton() = default;
    // "MenuOption_01_200x52.png" and "_02_" with the words of `name` (MenuWords) painted on,
    // both registered with `menu`.
    MenuButton(const char* name, MenuCommon* menu);
    Texture* normalTexture = nullptr;
    Texture* altTexture = nullptr;
  };

  // `divider` is the renderer's menu divider.
  explicit MenuCommon(const TexturePtr& divider);
  virtual ~MenuCommon();
  MenuCommon(const MenuCommon&) = delete;
  MenuCommon& operator=(const MenuCommon&) = delete;

  // After a state switch: releases the previous menu's textures. True when the calling screen
  // must create its textures in this frame.
  bool justSwitched();
  // Registers `texture` with the current menu (it lives until the next switch); returns it.
  Texture* addMenuTexture(Texture* texture);
  // When `load`: creates the 200 x 52 title with the words of `name` (MenuWords), registers it and
  // stores it in *slot.
  void ensureTitleLoaded(bool load, Texture** slot, const char* name);
  // The panel "PopBackground_270x270.png" stretched to `height` rows and widened by `widen`.
  Texture* createMenuFrame(int height, int widen);
  // After the display moved to another art scale: the open menu's textures made again at it
  // (same objects, same logical sizes); pictures cut from bitmaps without a recipe stay as they are.
  virtual void followArtScale();
  // Draws menuButtons[index] centred on x = 160 with its top at y (the highlighted image when
  // index == highlighted) and moves y below it; returns the new y.
  int drawMenuButton(int index, int highlighted, int& y);
  // The standard titled panel with one button at the bottom; returns the button's top.
  int drawMenuWithTopAndBottomButtons(bool firstDraw, const char** names, bool bottomHighlighted, int yOffset);

  // The darkening full-screen overlay under the menus, loaded when a frame first needs it and
  // released after the first frame that did not draw it.
  Texture* overlay();

  // Queues `view` for removal from the screen at the end of the frame. Any thread.
  void pendViewRemoval(const std::shared_ptr<Ui::View>& view);
  // Removes every queued view (and the overlay when this frame did not draw it); the frame tick
  // calls it after each frame.
  void doneDrawing();

  TexturePtr popBackground;
  TexturePtr sunOverlay;
  TexturePtr menuDivider;
  TexturePtr menuTitle;
  Texture* menuTexts[MENU_TEXT_SLOTS] = {};
  // The view that screens add their controls to; set by the shell (null in headless tests,
  // where controls are created but never shown).
  std::shared_ptr<Ui::View> parent;
  MenuButton menuButtons[MENU_BUTTON_SLOTS];
  int currentMenuButtonOffset = 0;
  bool justSwitchedMenu = true;
  MyTl::FixedArray<TexturePtr> menuElements;
  int bottomButtonIndex = 0;
  Texture* titleTexture = nullptr;

 private:
  static constexpr const char* OVERLAY_IMAGE = "SunOverlay_320x480.png";
  bool overlayDrawn = false;
  static void paintMenuFrame(Texture& frame, int height, int widen);

  MyTl::Mutex viewLock;
  MyTl::FixedArray<std::shared_ptr<Ui::View>> pendingViewRemovals;
};
