// Reading #include lines and resolving them the way the build's include folders would: next to
// the including file first, else every indexed file whose path ends with the written name
// (the build adds each library's own folder to the include path, so a name may be ambiguous;
// then all candidates count).
#include "SourceTree.h"

#include <fstream>
#include <regex>

namespace {

bool isSource(const std::filesystem::path& path) {
  const std::string extension = path.extension().string();
  return extension == ".h" || extension == ".cpp";
}

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

SourceTree::SourceTree(const std::filesystem::path& root, const std::vector<std::string>& folders) {
  std::vector<std::string> names;
  for (const std::string& folder : folders) {
    const std::filesystem::path base = root / folder;
    if (!std::filesystem::is_directory(base)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(base)) {
      if (entry.is_regular_file() && isSource(entry.path())) {
        names.push_back(entry.path().lexically_relative(root).generic_string());
      }
    }
  }
  for (const std::string& name : names) includes_[name];  // the index, before resolving

  const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  for (auto& [file, includes] : includes_) {
    std::ifstream in(root / file);
    std::string line;
    std::smatch match;
    while (std::getline(in, line)) {
      if (!std::regex_search(line, match, includeLine)) continue;
      Include include;
      include.name = match[2];
      include.angled = match[1] == "<";
      if (!include.angled) include.resolved = resolve(file, include.name);
      includes.push_back(include);
    }
  }
}

std::vector<std::string> SourceTree::files() const {
  std::vector<std::string> names;
  for (const auto& entry : includes_) names.push_back(entry.first);
  return names;
}

const std::vector<SourceTree::Include>& SourceTree::includesOf(const std::string& file) const {
  static const std::vector<Include> none;
  const auto found = includes_.find(file);
  return found == includes_.end() ? none : found->second;
}

std::vector<std::string> SourceTree::resolve(const std::string& includingFile, const std::string& name) const {
  const std::string sibling =
      (std::filesystem::path(includingFile).parent_path() / name).lexically_normal().generic_string();
  if (includes_.count(sibling) != 0) return {sibling};
  std::vector<std::string> candidates;
  for (const auto& entry : includes_) {
    if (entry.first == name || endsWith(entry.first, "/" + name)) candidates.push_back(entry.first);
  }
  return candidates;
}
