// The high-score server's addresses.
#include "ScoreServerAddress.h"

#include <cstdlib>

#include "StringProcessor.h"

using Text = MyTl::BasicString<char>;
using Processor = MyTl::StringProcessor<char>;

Text ScoreServerAddress::base() {
  const char* configured = std::getenv("PELLIX_SCORES_URL");
  Text address = (configured != nullptr && configured[0] != '\0') ? Text(configured) : Text(BUILT_IN_BASE);
  // "http://host:port/" and "http://host:port" name the same server; the paths add their own '/'.
  int end = address.length();
  while (end > 0 && address[end - 1] == '/') --end;
  return Text(address.c_str(), static_cast<unsigned long>(end));
}

Text ScoreServerAddress::topScoresUrl(int gameMode) {
  return base() + "/pellix/top_scores/?game_id=" + Processor::toString(0) + "&game_mode=" +
         Processor::toString(gameMode) + "&max_res=10";
}

Text ScoreServerAddress::submitScoreUrl() { return base() + "/pellix/submit_score/"; }
