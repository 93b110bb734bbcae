// Depth-first search over the include graph from each checked file.
#include "PlatformHeaderCheck.h"

#include <utility>

namespace {

bool startsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

bool isUnder(const std::string& file, const std::string& folder) { return startsWith(file, folder + "/"); }

}  // namespace

std::string PlatformHeaderCheck::Finding::describe() const {
  std::string text;
  for (const std::string& file : chain) text += file + " -> ";
  return text + "<" + header + ">";
}

PlatformHeaderCheck::PlatformHeaderCheck(const SourceTree& tree, Rules rules) : tree_(tree), rules_(std::move(rules)) {}

std::vector<PlatformHeaderCheck::Finding> PlatformHeaderCheck::findings() const {
  std::vector<Finding> found;
  for (const std::string& file : tree_.files()) {
    bool checked = false;
    for (const std::string& folder : rules_.checkedFolders) checked = checked || isUnder(file, folder);
    if (!checked) continue;
    std::set<std::string> visited;
    Finding finding;
    if (reach(file, visited, finding)) found.push_back(finding);
  }
  return found;
}

bool PlatformHeaderCheck::isPlatformHeader(const std::string& name) const {
  for (const std::string& head : rules_.platformHeaders) {
    if (startsWith(name, head)) return true;
  }
  return false;
}

bool PlatformHeaderCheck::reach(const std::string& file, std::set<std::string>& visited, Finding& finding) const {
  if (!visited.insert(file).second) return false;
  finding.chain.push_back(file);
  for (const SourceTree::Include& include : tree_.includesOf(file)) {
    // A name the tree does not hold is a library's header, however it is written.
    if (include.resolved.empty() && isPlatformHeader(include.name)) {
      finding.header = include.name;
      return true;
    }
    for (const std::string& header : include.resolved) {
      bool sanctioned = false;
      for (const std::string& allowed : rules_.sanctionedHeaders) sanctioned = sanctioned || header == allowed;
      if (!sanctioned && reach(header, visited, finding)) return true;
    }
  }
  finding.chain.pop_back();
  return false;
}
