// MyTl::MemoryStreamOut: writing into a growable buffer.
#include "MemoryStreamOut.h"

#include <climits>
#include <cstddef>
#include <cstring>
#include <functional>

namespace MyTl {

MemoryStreamOut::MemoryStreamOut(int initialSize) {
  MYTL_ASSERT(initialSize >= 0, "Stream");
  memory.resize(initialSize);
}

void MemoryStreamOut::seekBegin(long newPosition) {
  // A negative or huge position would make the next write land outside the buffer.
  MYTL_ASSERT(newPosition >= 0 && newPosition <= INT_MAX, "Stream");
  position = static_cast<int>(newPosition);
}

void MemoryStreamOut::seek(long offset) {
  MYTL_ASSERT(position + offset > 0 && position + offset < memory.size(), "Stream");
  long target = position + offset;
  if (target < 0) target = 0;
  if (target > memory.size()) target = memory.size();
  position = static_cast<int>(target);
}

unsigned long MemoryStreamOut::write(const char* data, unsigned long count) {
  if (count == 0) return 1;
  MYTL_ASSERT(data != nullptr, "Stream");
  MYTL_ASSERT(count <= static_cast<unsigned long>(INT_MAX - position), "Stream");
  int end = position + static_cast<int>(count);
  // `data` may point into this buffer (a copy of what was written), which resize may move.
  const char* oldBuffer = memory.data();
  std::less<const char*> before;
  bool inside = memory.size() > 0 && !before(data, oldBuffer) && before(data, oldBuffer + memory.size());
  std::ptrdiff_t offset = inside ? data - oldBuffer : 0;
  if (end > memory.size()) memory.resize(end);
  std::memmove(memory.data() + position, inside ? memory.data() + offset : data, count);
  position = end;
  return 1;
}

}  // namespace MyTl
