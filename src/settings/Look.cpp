// Names and resource folders of the looks.
#include "Look.h"

#include <iterator>

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

int indexOf(Look look) {
  for (size_t index = 0; index < std::size(ALL); ++index) {
    if (ALL[index] == look) return static_cast<int>(index);
  }
  return 0;
}

Look stepped(Look look, int step) {
  const int count = static_cast<int>(std::size(ALL));
  return ALL[((indexOf(look) + step) % count + count) % count];
}

}  // namespace Looks
