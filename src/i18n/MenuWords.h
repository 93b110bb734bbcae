// The words drawn on the menus' titles, buttons and bars, by the name of their art. The pictures
// carry no words: the screens draw these over them at run time in the player's language.
// Called by MenuCommon, GameScreens and BallGraphics' owner while they make a screen's textures.
#pragma once

#include <string>

namespace MenuWords {

// The translated label for the button, title or bar art `artName` ("NewGame", "Okay",
// "GameLevel", "TapToStartAGame"); `artName` itself when it has none.
std::string label(const std::string& artName);

}  // namespace MenuWords
