// The high-score server's addresses.
#include "ScoreServerAddress.h"

#include <cstdlib>
#include <utility>

#include "StringProcessor.h"

using Text = MyTl::BasicString<char>;
using Processor = MyTl::StringProcessor<char>;

#ifndef PELLIX_BUILT_IN_SCORES_URL
#define PELLIX_BUILT_IN_SCORES_URL ""
#endif

namespace {

// Spaces, tabs and line ends around an address are nobody's intent.
std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

ScoreServerAddress::ScoreServerAddress(std::string preferred) : preferredBase(trimmed(preferred)) {}

const char* ScoreServerAddress::builtInBase() { return PELLIX_BUILT_IN_SCORES_URL; }

Text ScoreServerAddress::base() const {
  const char* configured = std::getenv(ENVIRONMENT_VARIABLE);
  std::string address = configured != nullptr ? trimmed(configured) : std::string();
  if (address.empty()) address = preferredBase;
  if (address.empty()) address = trimmed(builtInBase());
  // "http://host:port/" and "http://host:port" name the same server; the paths add their own '/'.
  while (!address.empty() && address.back() == '/') address.pop_back();
  return Text(address.c_str(), static_cast<unsigned long>(address.size()));
}

Text ScoreServerAddress::topScoresUrl(int gameMode) const {
  return base() + "/pellix/top_scores/?game_id=" + Processor::toString(0) + "&game_mode=" +
         Processor::toString(gameMode) + "&max_res=10";
}

Text ScoreServerAddress::submitScoreUrl() const { return base() + "/pellix/submit_score/"; }
