// Fuzz target for the outbox of unsent scores. Whatever the file holds, the outbox read from it
// holds only submissions the server could take (an id of 32 lowercase hex digits, a table index,
// a score in range, a name the server accepts), or nothing at all when the file is damaged; and
// what was read is written back and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzScratchFolder.h"
#include "HiScoresUploader.h"
#include "ScoreOutbox.h"

namespace {

bool same(const std::vector<ScoreSubmission>& a, const std::vector<ScoreSubmission>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].id != b[i].id || a[i].name != b[i].name || a[i].score != b[i].score || a[i].gameMode != b[i].gameMode ||
        a[i].attempts != b[i].attempts || a[i].nextAttemptAt != b[i].nextAttemptAt)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzScratchFolder::instance();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzScratchFolder::instance().write("scoreOutbox.dat", data, size);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ScoreOutbox outbox(path, [] { return int64_t{1'800'000'000}; });
  const std::vector<ScoreSubmission> kept = outbox.submissions();
  FUZZ_CHECK(kept.size() <= ScoreOutbox::MAX_SUBMISSIONS, "a bounded outbox");
  for (const ScoreSubmission& s : kept) {
    FUZZ_CHECK(ScoreSubmission::isId(s.id), "ids of 32 lowercase hex digits");
    FUZZ_CHECK(s.gameMode >= 0 && s.gameMode < 12, "a table index");
    FUZZ_CHECK(s.score >= 0 && s.score <= 999999, "a score in range");
    FUZZ_CHECK(s.attempts >= 0 && s.nextAttemptAt >= 0, "counts and moments not negative");
    FUZZ_CHECK(HiScoresUploader::isSubmittableName(MyTl::BasicString<char>(s.name.c_str())), "names the server takes");
  }
  std::vector<ScoreSubmission> again;
  FUZZ_CHECK(ScoreOutbox::parse(ScoreOutbox::format(kept), again), "what is written can be read");
  FUZZ_CHECK(same(kept, again), "what was read comes back unchanged");
  return 0;
}
