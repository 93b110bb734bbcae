// Finds the game's resource files (generated images and sounds) by name and type.
// Called by the image loader and the sound player at start-up, and by the shell at launch to
// check that the folder is there. The folder is looked up next to the executable only: the
// build tree's build/resources when the game runs from build/, else ../share/pellix of the
// prefix it was installed into, so an installed game never reads the build tree. Tests set the
// folder explicitly before anything is loaded.
#pragma once

#include <string>
#include <vector>

class Resources {
 public:
  // Uses `folder` for every later lookup (tests call this before loading anything).
  static void setDirectory(const std::string& folder);
  // The resource folder in use; empty when none was found.
  static std::string directory();
  // The folders looked in, in order (for the error message when none exists).
  static std::vector<std::string> candidateDirectories();
  // Full path of resource `name` with extension `type`, e.g. ("move", "wav"): the file in the
  // look folder when one is chosen and holds it, else the file in the resource folder.
  static std::string pathFor(const std::string& name, const std::string& type);
  // A folder inside the resource folder ("looks/high-contrast") whose files stand in for their
  // namesakes, or empty (the default) for none; the renderer sets it when the look changes, and
  // without one no extra file is looked for.
  static void setLookFolder(const std::string& folder);
  static std::string lookFolder();
  // The folder of the message catalogues (<folder>/<lang>/LC_MESSAGES/pellix.mo): the build
  // tree's build/share/locale when the game runs from build/, else ../share/locale of the
  // installed prefix; empty when neither exists.
  static std::string localeDirectory();
};
