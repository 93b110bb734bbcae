// MyTl::File: a file on disk as a byte stream, through one C standard I/O handle.
// Every data file of the game (settings, saved game, high scores) is written and read through
// it. Only regular files open: a FIFO, a device or a folder in a file's place is refused at once,
// never waited on. The File owns its handle: close() or the destructor closes it. When no file is open,
// read and write return 0, the seeks do nothing and tell gives 0, so a caller that ignores a
// failed open reads nothing and writes nothing.
#pragma once

#include <cstdio>

#include "Stream.h"

namespace MyTl {

class File : public StreamIo {
 public:
  // No file open.
  File() = default;
  // Opens `path` for reading in byte mode ("rb"); *ok (when not null) tells whether it opened.
  File(const char* path, bool* ok);
  // Opens `path` for writing through openForWrite; *ok (when not null) receives its result.
  File(const char* path, bool failIfExists, bool append, bool byteMode, bool* ok);
  ~File() override;

  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens `path` for writing, closing any file open before. With failIfExists, an existing
  // file is left untouched and false returned. Modes: "ab" (byteMode and append), "wb"
  // (byteMode), "a" (append), "w" (neither); "w" and "wb" truncate an existing file.
  bool openForWrite(const char* path, bool failIfExists, bool append, bool byteMode);

  bool isSeekable() const override { return true; }
  void seekBegin(long position) override;
  void seek(long offset) override;
  long tell() const override;
  // fread / fwrite of `count` single bytes: the number of bytes moved, 0 when no file is open.
  unsigned long read(char* buffer, unsigned long count) override;
  unsigned long write(const char* data, unsigned long count) override;
  void flush() override;
  // Opens `path` (closing any file open before) with "wb+" when readWrite (created or
  // truncated), else "rb"; returns whether it worked.
  virtual bool open(const char* path, bool readWrite);
  // Closes the open file (if any) and forgets the handle.
  virtual void close();

  bool isOpen() const { return handle != nullptr; }

 protected:
  // For subclasses that open their file themselves: takes ownership of `file` (closing any
  // file open before, without calling an override of close).
  void adopt(std::FILE* file);
  // For subclasses that close the file themselves: gives up ownership of the handle, which
  // the caller must close. Null when no file is open.
  std::FILE* releaseHandle();
  std::FILE* fileHandle() const { return handle; }

 private:
  bool openWithMode(const char* path, const char* mode);

  std::FILE* handle = nullptr;
};

}  // namespace MyTl
