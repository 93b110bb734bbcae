// Reads the high-score server's replies. Called by the workers on their threads (and by the
// tests and the fuzz target); stateless.
//
// Top-ten reply: the first line is ignored; every further line "name,score" (fields trimmed of
// spaces and control characters) becomes an entry, a score that is not a number becomes -1,
// and a line with another number of fields is skipped.
// Submission reply: the first line "anything,rank" gives the rank (1 or more); any other shape,
// and a number below 1, gives -1.
// A body that is not text (not UTF-8, or holding a NUL byte) gives nothing: no entries, rank -1.
#pragma once

#include <cstddef>
#include <string>

#include "HiScore.h"
#include "SmartArray.h"

class ScoreReplyParser {
 public:
  // Appends the entries of a top-ten reply to `entries`, in reply order. Returns false (and
  // appends nothing) when the body is not text.
  static bool parseTopScores(const char* body, size_t length, MyTl::FixedArray<HiScore>& entries);

  // The rank of a submission reply, or -1.
  static int parseSubmitRank(const char* body, size_t length);

  // Whether a reply body can be read as text.
  static bool isText(const char* body, size_t length);

  // Why the server refused a request, for the player: the first line of a text body without
  // control characters, trimmed and cut to at most MAX_REASON_BYTES at a character boundary;
  // "status N" when the body gives nothing readable.
  static std::string refusalReason(const char* body, size_t length, long status);
  static constexpr size_t MAX_REASON_BYTES = 120;
};
