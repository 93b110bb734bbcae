// MyTl::File over the C standard I/O functions.
#include "File.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MyTl {

File::File(const char* path, bool* ok) {
  bool opened = open(path, false);
  if (ok != nullptr) *ok = opened;
}

File::File(const char* path, bool failIfExists, bool append, bool byteMode, bool* ok) {
  bool opened = openForWrite(path, failIfExists, append, byteMode);
  if (ok != nullptr) *ok = opened;
}

File::~File() {
  // Not the virtual close(): a subclass's part is already gone when this runs.
  if (handle != nullptr) std::fclose(handle);
}

bool File::openForWrite(const char* path, bool failIfExists, bool append, bool byteMode) {
  close();
  if (path == nullptr) return false;
  if (failIfExists) {
    std::FILE* probe = std::fopen(path, "rb");
    if (probe != nullptr) {
      std::fclose(probe);
      return false;
    }
  }
  const char* mode = append ? (byteMode ? "ab" : "a") : (byteMode ? "wb" : "w");
  // Exclusive creation ("x") makes failIfExists hold also for a file that exists but cannot be
  // read, or that appears between the probe and the open: such a file is never truncated.
  if (failIfExists && !append) mode = byteMode ? "wbx" : "wx";
  return openWithMode(path, mode);
}

void File::seekBegin(long position) {
  if (handle != nullptr) std::fseek(handle, position, SEEK_SET);
}

void File::seek(long offset) {
  if (handle != nullptr) std::fseek(handle, offset, SEEK_CUR);
}

long File::tell() const {
  if (handle == nullptr) return 0;
  return std::ftell(handle);
}

unsigned long File::read(char* buffer, unsigned long count) {
  if (handle == nullptr || buffer == nullptr || count == 0) return 0;
  return std::fread(buffer, 1, count, handle);
}

unsigned long File::write(const char* data, unsigned long count) {
  if (handle == nullptr || data == nullptr || count == 0) return 0;
  return std::fwrite(data, 1, count, handle);
}

void File::flush() {
  if (handle != nullptr) std::fflush(handle);
}

bool File::open(const char* path, bool readWrite) {
  close();
  if (path == nullptr) return false;
  return openWithMode(path, readWrite ? "wb+" : "rb");
}

void File::close() {
  if (handle != nullptr) {
    std::fclose(handle);
    handle = nullptr;
  }
}

void File::adopt(std::FILE* file) {
  File::close();
  handle = file;
}

std::FILE* File::releaseHandle() {
  std::FILE* file = handle;
  handle = nullptr;
  return file;
}

bool File::openWithMode(const char* path, const char* mode) {
  // fopen's modes as open(2) flags; truncation waits until the file is known to be regular.
  const bool reading = mode[0] == 'r';
  const bool appending = mode[0] == 'a';
  const bool update = std::strchr(mode, '+') != nullptr;
  const bool exclusive = std::strchr(mode, 'x') != nullptr;
  int flags = O_CLOEXEC | O_NONBLOCK | (update ? O_RDWR : (reading ? O_RDONLY : O_WRONLY));
  if (!reading) flags |= O_CREAT;
  if (appending) flags |= O_APPEND;
  if (exclusive) flags |= O_EXCL;

  // Non-blocking, so that a FIFO or a device in place of a file cannot stall the open.
  const int fd = ::open(path, flags, 0666);
  if (fd < 0) return false;
  struct stat info;
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  const bool truncated = reading || appending || ::ftruncate(fd, 0) == 0;
  const int status = ::fcntl(fd, F_GETFL);
  const bool blocking = status != -1 && ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == 0;
  if (!regular || !truncated || !blocking) {
    ::close(fd);
    return false;
  }
  handle = ::fdopen(fd, update ? "rb+" : (reading ? "rb" : (appending ? "ab" : "wb")));
  if (handle == nullptr) ::close(fd);
  return handle != nullptr;
}

}  // namespace MyTl
