// Look: the art set the game is drawn with, as the player chooses it. The preferences file
// stores it by name; the renderer loads the set's images from its folder of the resource
// folder, falling back to the glossy image for every picture the set does not change.
#pragma once

#include <string>

enum class Look { GLOSSY, COLOUR_BLIND, HIGH_CONTRAST };

namespace Looks {

constexpr Look DEFAULT_LOOK = Look::GLOSSY;
// Every look, in the order a chooser offers them.
constexpr Look ALL[] = {Look::GLOSSY, Look::COLOUR_BLIND, Look::HIGH_CONTRAST};

// The look's place in ALL.
int indexOf(Look look);
// The look `step` places after `look` in ALL (before it for a negative step), wrapping round.
Look stepped(Look look, int step);

// The stored name: "glossy", "colour-blind" or "high-contrast".
const char* nameOf(Look look);
// The look of a stored name; false (and `look` untouched) for any other text.
bool fromName(const std::string& name, Look& look);
// The look's folder inside the resource folder ("looks/colour-blind"); empty for the glossy
// set, whose images lie in the resource folder itself.
std::string folderOf(Look look);

}  // namespace Looks
