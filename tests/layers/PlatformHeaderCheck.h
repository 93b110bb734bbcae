// PlatformHeaderCheck: where the files of some folders of a SourceTree reach a platform
// library's header (SDL, GL, OpenAL, cairo, ...), directly or through any chain of the tree's
// own headers. A sanctioned header may be included although it includes platform headers; the
// check does not look inside it. Used by the layering tests; holds a reference to the tree.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "SourceTree.h"

class PlatformHeaderCheck {
 public:
  struct Rules {
    std::vector<std::string> checkedFolders;     // tree folders whose files must stay clean
    std::vector<std::string> platformHeaders;    // beginnings of platform header names, "SDL", "GL/"
    std::vector<std::string> sanctionedHeaders;  // tree files that are not looked into
  };

  // One way a checked file reaches a platform header.
  struct Finding {
    std::vector<std::string> chain;  // the checked file, then each tree header on the way
    std::string header;              // the platform header at the end
    // "src/a.cpp -> platform/b.h -> <SDL.h>"
    std::string describe() const;
  };

  PlatformHeaderCheck(const SourceTree& tree, Rules rules);

  // The first way found for each checked file that reaches a platform header, by file.
  std::vector<Finding> findings() const;

 private:
  bool isPlatformHeader(const std::string& name) const;
  bool reach(const std::string& file, std::set<std::string>& visited, Finding& finding) const;

  const SourceTree& tree_;
  Rules rules_;
};
