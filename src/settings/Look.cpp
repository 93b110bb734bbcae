// Names and resource folders of the looks.
#include "Look.h"

namespace Looks {

const char* nameOf(Look look) {
  switch (look) {
    case Look::COLOUR_BLIND: return "colour-blind";
    case Look::HIGH_CONTRAST: return "high-contrast";
    default: return "glossy";
  }
}

bool fromName(const std::string& name, Look& look) {
  for (Look candidate : ALL) {
    if (name == nameOf(candidate)) {
      look = candidate;
      return true;
    }
  }
  return false;
}

std::string folderOf(Look look) { return look == Look::GLOSSY ? std::string() : std::string("looks/") + nameOf(look); }

}  // namespace Looks
