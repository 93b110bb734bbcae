// Log lines on standard error.
#include "ServerLog.h"

#include <cstdio>

ServerLog::ServerLog(bool beQuiet) : quiet(beQuiet) {}

std::string ServerLog::folded(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      // A break and the next line's indentation become one separator; none at the very end.
      while (i < text.size() && (text[i] == '\n' || text[i] == '\r' || text[i] == ' ' || text[i] == '\t')) ++i;
      while (!out.empty() && out.back() == ' ') out.pop_back();
      if (!out.empty() && i < text.size()) out += " / ";
      continue;
    }
    const unsigned char byte = static_cast<unsigned char>(c);
    out += (byte < 0x20 || byte == 0x7F) ? ' ' : c;
    ++i;
  }
  return out;
}

void ServerLog::line(const std::string& text) {
  if (quiet) return;
  // One write per line, under a lock, so that lines of different threads never interleave.
  const std::string whole = "pellix-scores-server: " + folded(text) + "\n";
  std::lock_guard<std::mutex> guard(lock);
  std::fwrite(whole.data(), 1, whole.size(), stderr);
  std::fflush(stderr);
}
