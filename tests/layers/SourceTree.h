// SourceTree: the C++ files of some folders of a source tree and the #include lines in them,
// each quoted include resolved to the tree's files it may name. Built by the layering tests
// from the real tree or from a small tree they write; read-only afterwards.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

class SourceTree {
 public:
  struct Include {
    std::string name;                   // as written, "Gl.h" or "SDL.h"
    bool angled = false;                // <...> rather than "..."
    std::vector<std::string> resolved;  // tree files it may name (quoted includes only)
  };

  // Indexes every .h and .cpp file under each of `folders` (relative to `root`).
  SourceTree(const std::filesystem::path& root, const std::vector<std::string>& folders);

  // Every indexed file, as a path relative to the root with '/' separators, in sorted order.
  std::vector<std::string> files() const;
  // The includes of an indexed file, in the order written.
  const std::vector<Include>& includesOf(const std::string& file) const;

 private:
  std::vector<std::string> resolve(const std::string& includingFile, const std::string& name) const;

  std::map<std::string, std::vector<Include>> includes_;
};
