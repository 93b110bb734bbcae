// The text fit record of the screen tests.
#include "TextFitLog.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<bool> recordingOn{false};
std::mutex entriesLock;

std::vector<TextFitLog::Entry>& entries() {
  static std::vector<TextFitLog::Entry> list;
  return list;
}

}  // namespace

void TextFitLog::setRecording(bool on) { recordingOn.store(on); }

bool TextFitLog::recording() { return recordingOn.load(); }

void TextFitLog::record(const Entry& entry) {
  if (!recording()) return;
  std::lock_guard<std::mutex> guard(entriesLock);
  entries().push_back(entry);
}

std::vector<TextFitLog::Entry> TextFitLog::take() {
  std::lock_guard<std::mutex> guard(entriesLock);
  std::vector<Entry> taken;
  taken.swap(entries());
  return taken;
}
