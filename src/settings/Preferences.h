// Preferences: the desktop-only choices (the look, and later the score server and its CA file),
// kept in a small text file of `key = value` lines beside the other configuration of the user,
// apart from settings.dat, whose format stays as it is. Lines starting with '#' are comments.
// Rewriting keeps every line it does not change (comments, keys this version does not know,
// damaged lines) in its place; a missing key or a damaged value reads as its default.
// Made by the shell at launch from the path it computed; the settings screen changes a value
// and calls save(). Owns nothing but its copy of the file's lines; not thread-safe.
#pragma once

#include <string>
#include <vector>

#include "Look.h"

namespace MyTl {
class SaveFailureNotice;
}

class Preferences {
 public:
  // Reads the file at `path`; a missing, unreadable or oversized file gives the defaults.
  explicit Preferences(std::string path);

  const std::string& path() const { return filePath; }

  // The chosen look; the default look when the key is missing or its value unknown.
  Look look() const;
  void setLook(Look look);

  // The PEM file of the certificate authorities that the high-score server's certificate is
  // checked against instead of the system's (a private server); empty for the system's trust
  // store, also when the value is not an absolute path.
  std::string scoresCaFile() const;

  // The raw value of `key` (trimmed); empty when the key is missing. The last line of a key
  // counts.
  std::string value(const std::string& key) const;
  // Sets `key` in its line (the last one of the key), else in a new line at the end. A key or
  // value holding a line break or a key holding '=' or starting with '#' is a caller's error.
  void setValue(const std::string& key, const std::string& value);

  // Writes the file atomically (a temporary file renamed over it): on any failure the old file
  // stays whole and false is returned; the failure is recorded in `notice` when it is given.
  bool save(MyTl::SaveFailureNotice* notice = nullptr) const;

  // The look's key in the file.
  static constexpr const char* LOOK_KEY = "look";
  // The key of the score server's CA file.
  static constexpr const char* SCORES_CA_FILE_KEY = "scores_ca_file";
  // Files above this size are not preferences: they read as the defaults.
  static constexpr long MAX_FILE_BYTES = 64 * 1024;

 private:
  struct Line {
    std::string text;  // the line as written, without its line break
    std::string key;   // empty for comments, blank and damaged lines
    std::string value;
  };
  // The index of the last line of `key`, or -1.
  int lineOf(const std::string& key) const;

  std::string filePath;
  std::vector<Line> lines;
};
