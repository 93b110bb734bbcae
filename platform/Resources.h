// Finds the game's resource files (generated images and sounds) by name and type.
// Called by the image loader and the sound player at start-up. The folder is looked up next to
// the executable (build tree: build/resources; installed: ../share/pellix/resources), or set
// explicitly by tests before anything is loaded.
#pragma once

#include <string>

class Resources {
 public:
  // Uses `folder` for every later lookup (tests call this before loading anything).
  static void setDirectory(const std::string& folder);
  // The resource folder in use; empty when none was found.
  static std::string directory();
  // Full path of resource `name` with extension `type`, e.g. ("move", "wav").
  static std::string pathFor(const std::string& name, const std::string& type);
};
