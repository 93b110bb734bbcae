// MyTl::AtomicFileWriter: temporary file, fsync and rename.
#include "AtomicFileWriter.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MyTl {

namespace {

// The folder part of `path` ("." when it has none), for syncing the folder after the rename.
BasicString<char> folderOf(const BasicString<char>& path) {
  const char* text = path.c_str();
  int slash = -1;
  for (int i = 0; i < path.length(); ++i) {
    if (text[i] == '/') slash = i;
  }
  if (slash < 0) return BasicString<char>(".");
  if (slash == 0) return BasicString<char>("/");
  return BasicString<char>(text, static_cast<unsigned long>(slash));
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const char* path, bool* ok) {
  bool created = false;
  if (path != nullptr && path[0] != '\0') {
    targetPath = BasicString<char>(path);
    BasicString<char> pattern = targetPath + ".tmp-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd >= 0) {
      // Keep the permissions of the file being replaced; a new file keeps mkstemp's 0600.
      struct stat existing;
      if (::stat(path, &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(fd, existing.st_mode & 07777);
      }
      std::FILE* file = ::fdopen(fd, "wb");
      if (file != nullptr) {
        adopt(file);
        tempPath = pattern;
        created = true;
      } else {
        ::close(fd);
        ::unlink(pattern.c_str());
      }
    }
  }
  if (ok != nullptr) *ok = created;
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

unsigned long AtomicFileWriter::write(const char* data, unsigned long count) {
  unsigned long written = File::write(data, count);
  if (written != count) failed = true;
  return written;
}

bool AtomicFileWriter::open(const char*, bool) { return false; }

void AtomicFileWriter::close() {
  std::FILE* file = releaseHandle();
  if (file == nullptr) return;
  if (std::fflush(file) != 0 || std::ferror(file) != 0) failed = true;
  if (::fsync(::fileno(file)) != 0) failed = true;
  if (std::fclose(file) != 0) failed = true;
  finished = true;
}

bool AtomicFileWriter::commit() {
  if (tempPath.empty()) return false;
  close();
  if (!finished || failed || ::rename(tempPath.c_str(), targetPath.c_str()) != 0) {
    discard();
    return false;
  }
  tempPath = BasicString<char>();
  // Make the rename itself durable; the new content is in place whatever this gives.
  int folder = ::open(folderOf(targetPath).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

void AtomicFileWriter::discard() {
  File::close();
  if (!tempPath.empty()) {
    ::unlink(tempPath.c_str());
    tempPath = BasicString<char>();
  }
}

}  // namespace MyTl
