// MyTl::AtomicFileWriter: temporary file, fsync and rename.
#include "AtomicFileWriter.h"

#include "SaveFailureNotice.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MyTl {

namespace {

const int MAX_LINK_HOPS = 40;

// The folder part of `path` ("." when it has none).
std::string folderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows `path` through symbolic links (a relative link against its own folder) to the file a
// save replaces, so that a player's link to another folder keeps working; a dangling link gives
// the path it names. Empty after too many links (a loop).
std::string followLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < MAX_LINK_HOPS; ++hops) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(current.c_str(), target, sizeof(target) - 1);
    if (length < 0) return current;  // not a link: this is the file
    target[length] = '\0';
    current = target[0] == '/' ? std::string(target) : folderOf(current) + "/" + target;
  }
  return std::string();
}

std::string errorText(int error) { return std::strerror(error); }

}  // namespace

AtomicFileWriter::AtomicFileWriter(const char* path, bool* ok, SaveFailureNotice* notice) : failureNotice(notice) {
  if (path != nullptr && path[0] != '\0') create(path);
  if (ok != nullptr) *ok = !tempPath.empty();
}

void AtomicFileWriter::create(const char* path) {
  const std::string target = followLinks(path);
  if (target.empty()) {
    fail(path, errorText(ELOOP));
    return;
  }
  targetPath = BasicString<char>(target.c_str());
  struct stat existing;
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  // A FIFO, a device or a folder in the file's place is never replaced.
  if (exists && !S_ISREG(existing.st_mode)) {
    fail(target, "it is not a regular file");
    return;
  }
  BasicString<char> pattern = targetPath + ".tmp-XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    fail(target, errorText(errno));
    return;
  }
  // Keep the permissions of the file being replaced; a new file keeps mkstemp's 0600.
  if (exists) ::fchmod(fd, existing.st_mode & 07777);
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    fail(target, errorText(errno));
    ::close(fd);
    ::unlink(pattern.c_str());
    return;
  }
  adopt(file);
  tempPath = pattern;
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

unsigned long AtomicFileWriter::write(const char* data, unsigned long count) {
  unsigned long written = File::write(data, count);
  if (written != count) noteError(errno);
  return written;
}

bool AtomicFileWriter::open(const char*, bool) { return false; }

void AtomicFileWriter::close() {
  std::FILE* file = releaseHandle();
  if (file == nullptr) return;
  if (std::fflush(file) != 0 || std::ferror(file) != 0) noteError(errno);
  if (::fsync(::fileno(file)) != 0) noteError(errno);
  if (std::fclose(file) != 0) noteError(errno);
  finished = true;
}

bool AtomicFileWriter::commit() {
  if (tempPath.empty()) return false;
  close();
  if (finished && !failed && ::rename(tempPath.c_str(), targetPath.c_str()) != 0) noteError(errno);
  if (!finished || failed) {
    fail(targetPath.c_str(), reason.empty() ? errorText(EIO) : reason);
    discard();
    return false;
  }
  tempPath = BasicString<char>();
  // Make the rename itself durable; the new content is in place whatever this gives.
  int folder = ::open(folderOf(targetPath.c_str()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

void AtomicFileWriter::noteError(int error) {
  if (!failed) reason = errorText(error != 0 ? error : EIO);
  failed = true;
}

void AtomicFileWriter::fail(const std::string& path, const std::string& why) {
  failed = true;
  reason = why;
  if (failureNotice != nullptr) failureNotice->record(path, why);
}

void AtomicFileWriter::discard() {
  File::close();
  if (!tempPath.empty()) {
    ::unlink(tempPath.c_str());
    tempPath = BasicString<char>();
  }
}

}  // namespace MyTl
