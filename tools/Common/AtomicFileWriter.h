// MyTl::AtomicFileWriter: writes a file so that it is either replaced whole or not at all.
// The savers of the game (settings, saved game, high scores) create one on the stack, pass it
// as the File& they write to, and call commit() at the end. The bytes go to a temporary file
// "<path>.tmp-XXXXXX" in the same folder; commit() flushes, syncs and renames it over `path`.
// A `path` that is a symbolic link is followed: the file it names is replaced, the link stays.
// Something other than a regular file at the path (a FIFO, a device, a folder) is never replaced.
// Every failure is recorded with its reason in the SaveFailureNotice the writer was given, if any.
// Without a successful commit (an error, a short write, a crash, a writer destroyed early) the
// old file at `path` stays as it was and the temporary file is removed.
#pragma once

#include <string>

#include "File.h"
#include "String.h"

namespace MyTl {

class SaveFailureNotice;

class AtomicFileWriter : public File {
 public:
  // Creates the temporary file next to `path`, open for writing in byte mode; *ok (when not
  // null) tells whether that worked. When it did not, nothing is written anywhere. A failure,
  // now or at commit, is recorded in `notice` when it is not null (it must outlive the writer).
  AtomicFileWriter(const char* path, bool* ok, SaveFailureNotice* notice = nullptr);
  // Removes the temporary file unless commit() succeeded.
  ~AtomicFileWriter() override;

  // Counts a short write as a failure of the whole file.
  unsigned long write(const char* data, unsigned long count) override;
  // Refused: the writer always writes its own temporary file.
  bool open(const char* path, bool readWrite) override;
  // Finishes the temporary file (flush, sync, close) without publishing it; commit() later
  // still publishes it, the destructor removes it.
  void close() override;

  // Publishes the written bytes at `path`: flush, fsync, close and rename over `path`, then
  // syncs the folder. Returns false (and removes the temporary file) on any failure: nothing
  // open, a failed or short write, a failed flush, sync, close or rename. Only one commit.
  bool commit();

  // The temporary file's path (empty when it could not be created or after commit).
  const BasicString<char>& temporaryPath() const { return tempPath; }
  // Why the save failed, in words (empty while nothing failed).
  const std::string& failureReason() const { return reason; }

 private:
  void create(const char* path);
  // A failed step: remembers the first reason.
  void noteError(int error);
  // The save has failed: remembers the reason and records it for the player.
  void fail(const std::string& path, const std::string& why);
  void discard();

  BasicString<char> targetPath;
  BasicString<char> tempPath;
  bool failed = false;     // an error happened since the temporary file was created
  bool finished = false;   // the temporary file has been flushed, synced and closed
  std::string reason;      // the first failure, in words
  SaveFailureNotice* failureNotice;
};

}  // namespace MyTl
