// A fresh folder under the temporary directory ($TMPDIR, else /tmp) for a test, removed with
// everything in it when the object goes away. A process that ends through std::exit (a death
// test's child does) skips that destructor: the folders this process made are then removed at
// exit. A folder belongs to the process that made it, so a forked death-test child never removes
// its parent's folder; the parent does. Created and owned by one test or fixture.
#pragma once

#include <filesystem>
#include <string>

class TempFolder {
 public:
  // `prefix` names the folder (prefix-XXXXXX) so that a leftover shows whose it is.
  explicit TempFolder(const std::string& prefix = "pellix-test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The path of `name` inside the folder.
  std::string path(const std::string& name) const { return (folder / name).string(); }
  const std::filesystem::path& root() const { return folder; }
  std::string str() const { return folder.string(); }

  // The whole content of a file ("" when it cannot be read), and a whole file written.
  static std::string contentOf(const std::string& file);
  static void writeFile(const std::string& file, const std::string& bytes);
  // How many entries the folder holds.
  int entryCount() const;

 private:
  std::filesystem::path folder;
};
