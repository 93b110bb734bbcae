// The pieces of the game's online client that need no network: reading replies, escaping a
// name, the checksum, the UTF-8 check and the server address.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "CurlHttpTransport.h"
#include "OnlineTestSupport.h"
#include "ScoreChecksum.h"
#include "ScoreReplyParser.h"
#include "ScoreServerAddress.h"
#include "UrlEncodeValue.h"
#include "Utf8Validator.h"

namespace {

std::vector<FetchedEntry> parse(const std::string& body, bool* wasText = nullptr) {
  MyTl::FixedArray<HiScore> entries;
  bool text = ScoreReplyParser::parseTopScores(body.data(), body.size(), entries);
  if (wasText != nullptr) *wasText = text;
  std::vector<FetchedEntry> result;
  for (const HiScore& entry : entries) result.push_back({std::string(entry.name.c_str(), entry.name.length()), entry.score});
  return result;
}

TEST(TopScoresReply, LinesBecomeEntriesAndOddLinesAreSkipped) {
  struct Case {
    std::string body;
    std::vector<FetchedEntry> entries;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"name,score\n", {}},
      {"Ann,1200\n", {}},  // the first line is never an entry
      {"header\nAnn,1200\r\n", {{"Ann", 1200}}},
      {"header\nAnn,1200\nx,y,z\nBob,word\n", {{"Ann", 1200}, {"Bob", -1}}},
      {"header\n  Ann Lee  ,  7 \n", {{"Ann Lee", 7}}},
      {"header\n\n\nAnn,1\n\n", {{"Ann", 1}}},
      {"header\nno comma\n,\n", {{"", -1}}},
      {"header\nAnn,-5\nBob,12x\nCid,1234567890\nDee,-123456789\n",
       {{"Ann", -5}, {"Bob", -1}, {"Cid", -1}, {"Dee", -123456789}}},
      {"header\nZo\xC3\xAB,9\n\xE6\x9D\x8E,8", {{"Zo\xC3\xAB", 9}, {"\xE6\x9D\x8E", 8}}},
  };
  for (const Case& c : cases) EXPECT_EQ(parse(c.body), c.entries) << c.body;
}

TEST(TopScoresReply, BodiesThatAreNotTextGiveNothing) {
  for (const std::string& body : {std::string("header\nZo\xEB,9\n"), std::string("header\nA\0nn,9\n", 14),
                                  std::string("header\nAnn,9\n\xC0\xAF")}) {
    bool text = true;
    EXPECT_TRUE(parse(body, &text).empty());
    EXPECT_FALSE(text);
  }
}

TEST(SubmissionReply, TheSecondFieldOfTheFirstLineIsTheRank) {
  struct Case {
    std::string body;
    int rank;
  };
  const std::vector<Case> cases = {
      {"OK,57\n", 57},       {"anything,57", 57}, {" OK , 3 \r\n", 3},  {"57", -1},
      {"", -1},              {"OK,57,1", -1},     {"OK,word", -1},      {"OK,0", -1},
      {"OK,-4", -1},         {"\nOK,57", -1},     {"OK,99999999999", -1}, {std::string("OK,5\0", 5), -1},
      {"OK,999999999", 999999999},
  };
  for (const Case& c : cases) EXPECT_EQ(ScoreReplyParser::parseSubmitRank(c.body.data(), c.body.size()), c.rank) << c.body;
}

TEST(UrlEncodeValue, EscapesWhatWouldChangeTheFormAndEveryNonUrlCharacter) {
  struct Case {
    const char* value;
    const char* encoded;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"Ann", "Ann"},
      {"Tom & Jerry", "Tom%20%26%20Jerry"},
      {"1+1=2?", "1%2B1%3D2%3F"},
      {"-_.!~*'()", "-_.!~*'()"},
      {";/:@$,", ";/:@$,"},
      {"%#\"<>[\\]^`{|}", "%25%23%22%3C%3E%5B%5C%5D%5E%60%7B%7C%7D"},
      {"Zo\xC3\xAB", "Zo%C3%AB"},
      {"\t\n\x7F", "%09%0A%7F"},
      {"\xFF", "%FF"},
  };
  for (const Case& c : cases) EXPECT_EQ(urlEncodeValue(c.value), c.encoded) << c.value;
  EXPECT_EQ(urlEncodeValue(nullptr), "");
}

TEST(ScoreChecksum, WorkedExamplesAndSignedBytes) {
  EXPECT_EQ(ScoreChecksum().addText("abc").value(), 17);
  EXPECT_EQ(ScoreChecksum::ofSubmission(0, 0, 0, "abc", 3, 100), 80);
  EXPECT_EQ(ScoreChecksum().addText("game_id0game_mode0device_id0user_nameabcscore100").value(), 80);
  // A byte of 128 or more counts as negative: a lone 0xFF gives (13 * 7 + 17 * -1) % 97 = 74,
  // a lone 0x80 gives (91 - 2176) % 97 = -48, kept negative.
  EXPECT_EQ(ScoreChecksum().addBytes("\xFF", 1).value(), 74);
  EXPECT_EQ(ScoreChecksum().addBytes("\x80", 1).value(), -48);
  // The whole text is what counts, name bytes included.
  EXPECT_NE(ScoreChecksum::ofSubmission(0, 0, 0, "abd", 3, 100), 80);
  EXPECT_EQ(ScoreChecksum::ofSubmission(0, 6, 0, "Zo\xC3\xAB", 4, 5),
            ScoreChecksum().addText("game_id0game_mode6device_id0user_nameZo\xC3\xAB" "score5").value());
}

TEST(Utf8Validator, WellFormedSequencesOnly) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"", true},
      {"plain", true},
      {"Zo\xC3\xAB \xE6\x9D\x8E \xF0\x9F\x8E\xB1", true},
      {std::string("a\0b", 3), true},
      {"\xC3", false},             // cut off
      {"\xC0\xAF", false},         // overlong '/'
      {"\xE0\x80\xAF", false},     // overlong
      {"\xED\xA0\x80", false},     // surrogate
      {"\xF4\x90\x80\x80", false}, // above U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"\x80", false},             // a lone continuation byte
      {"\xE6\x9D", false},
      {"\xEF\xBF\xBF", true},      // U+FFFF
      {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8Validator::isValid(c.bytes.data(), c.bytes.size()), c.valid) << c.bytes;
}

TEST(ScoreServerAddress, TheEnvironmentOverThePreferencesOverTheBuild) {
  unsetenv("PELLIX_SCORES_URL");
  const std::string built = ScoreServerAddress::builtInBase();
  // Nothing named by the player: the build's address, which is none by default.
  EXPECT_EQ(ScoreServerAddress().isSet(), !built.empty());
  EXPECT_EQ(std::string(ScoreServerAddress().base().c_str()), built);
  EXPECT_EQ(std::string(ScoreServerAddress("  ").base().c_str()), built) << "a blank preference names nothing";

  const ScoreServerAddress preferred(" http://prefs.example.org:8642/ ");
  EXPECT_TRUE(preferred.isSet());
  EXPECT_EQ(preferred.topScoresUrl(9), "http://prefs.example.org:8642/pellix/top_scores/?game_id=0&game_mode=9&max_res=10");
  {
    ScoresUrl url("https://scores.example.org/game//");
    EXPECT_EQ(preferred.submitScoreUrl(), "https://scores.example.org/game/pellix/submit_score/");
    EXPECT_EQ(ScoreServerAddress().submitScoreUrl(), "https://scores.example.org/game/pellix/submit_score/");
  }
  {
    ScoresUrl empty("");
    EXPECT_EQ(preferred.base(), "http://prefs.example.org:8642");
  }
}

TEST(HiScoresWorkers, StartAsTheScreenExpects) {
  HiScoresFetcher fetcher{std::make_unique<CurlHttpTransport>()};
  EXPECT_STREQ(fetcher.MyTl::Thread::name, "HiScoresFetcher");
  EXPECT_FALSE(fetcher.scoresFetched.load());
  EXPECT_TRUE(fetcher.hiScores.empty());
  EXPECT_GE(fetcher.hiScores.capacity(), 32);
  HiScoresUploader uploader{std::make_unique<CurlHttpTransport>()};
  EXPECT_STREQ(uploader.MyTl::Thread::name, "HiScoresUploader");
  EXPECT_EQ(uploader.globalHighScorePosition.load(), -1);
  EXPECT_TRUE(uploader.name.empty());
  EXPECT_FALSE(uploader.scoreUploaded.load());
}

TEST(HiScoresWorkers, AnAddressThatIsNotHttpFailsAtOnce) {
  // The address comes from the environment: a file address must not read files.
  ScoresUrl url("file:///etc");
  bool finished = false;
  EXPECT_TRUE(fetchTopScores(0, &finished).empty());
  EXPECT_TRUE(finished);
  EXPECT_TRUE(uploadScore("Ann", 1, 0).alertRequested);
}

}  // namespace
