// Background PNG decoding for the start-up image loading.
#include "ImagePrefetcher.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace {

enum State { QUEUED, DECODING, DONE, CLAIMED };

struct Entry {
  State state = QUEUED;
  PngDecoder::Status status = PngDecoder::UNREADABLE;
  PngDecoder::Image image;
};

struct Prefetch {
  std::mutex lock;
  std::condition_variable decoded;
  std::map<std::string, Entry> entries;
  std::vector<std::string> order;
  bool stopping = false;
  std::thread worker;

  // A launch that ends before the art is made (no window) leaves the worker running: it stops
  // after its current file rather than ending the process with a running thread.
  ~Prefetch() {
    {
      std::lock_guard<std::mutex> guard(lock);
      stopping = true;
    }
    if (worker.joinable()) worker.join();
  }
};

Prefetch& prefetch() {
  static Prefetch shared;
  return shared;
}

void work() {
  Prefetch& p = prefetch();
  // From the end of the list: the caller loads from its start.
  for (auto it = p.order.rbegin(); it != p.order.rend(); ++it) {
    {
      std::lock_guard<std::mutex> guard(p.lock);
      if (p.stopping) return;
      Entry& entry = p.entries[*it];
      if (entry.state != QUEUED) continue;
      entry.state = DECODING;
    }
    PngDecoder::Image image;
    const PngDecoder::Status status = PngDecoder::decode(*it, image);
    {
      std::lock_guard<std::mutex> guard(p.lock);
      Entry& entry = p.entries[*it];
      entry.image = std::move(image);
      entry.status = status;
      entry.state = DONE;
    }
    p.decoded.notify_all();
  }
}

}  // namespace

void ImagePrefetcher::start(const std::vector<std::string>& paths) {
  finish();
  Prefetch& p = prefetch();
  std::lock_guard<std::mutex> guard(p.lock);
  p.stopping = false;
  p.order.clear();
  for (const std::string& path : paths) {
    if (p.entries.emplace(path, Entry()).second) p.order.push_back(path);
  }
  p.worker = std::thread(work);
}

bool ImagePrefetcher::take(const std::string& path, PngDecoder::Image& image, PngDecoder::Status& status) {
  Prefetch& p = prefetch();
  std::unique_lock<std::mutex> guard(p.lock);
  auto found = p.entries.find(path);
  if (found == p.entries.end()) return false;
  Entry& entry = found->second;
  if (entry.state == QUEUED) {
    // Not begun: quicker to decode it here than to wait. Later loads of it decode again.
    entry.state = CLAIMED;
    return false;
  }
  if (entry.state == CLAIMED) return false;
  p.decoded.wait(guard, [&entry] { return entry.state == DONE; });
  // Handed over rather than copied, so that a large picture is not held twice; the few images
  // loaded more than once (with different alpha scales) are small and decoded again.
  image = std::move(entry.image);
  status = entry.status;
  entry.state = CLAIMED;
  return true;
}

void ImagePrefetcher::finish() {
  Prefetch& p = prefetch();
  {
    std::lock_guard<std::mutex> guard(p.lock);
    p.stopping = true;
  }
  if (p.worker.joinable()) p.worker.join();
  std::lock_guard<std::mutex> guard(p.lock);
  p.entries.clear();
  p.order.clear();
}
