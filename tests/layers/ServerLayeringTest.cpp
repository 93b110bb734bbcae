// The high-score server's folders keep their layers: the protocol (server/requests) reaches
// neither the HTTP side nor a database engine, only the storage interfaces; the storage
// (server/storage) reaches nothing of the protocol or the HTTP side. Read from the real tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PlatformHeaderCheck.h"
#include "SourceTree.h"

namespace {

// The names of the headers under `folders`, as another layer would include them.
std::vector<std::string> headerNames(const std::vector<std::string>& folders) {
  std::vector<std::string> names;
  for (const std::string& file : SourceTree(PELLIX_SOURCE_DIR, folders).files()) {
    const std::filesystem::path path(file);
    if (path.extension() == ".h") names.push_back(path.filename().string());
  }
  return names;
}

// Each way a file of `folder` reaches one of `forbidden`, a line each.
std::string findingsIn(const std::string& folder, const std::vector<std::string>& forbidden) {
  const SourceTree tree(PELLIX_SOURCE_DIR, {folder});
  std::string text;
  for (const auto& finding : PlatformHeaderCheck(tree, {{folder}, forbidden, {}}).findings()) {
    text += finding.describe() + "\n";
  }
  return text;
}

TEST(ServerLayeringTest, TheProtocolReachesNoHttpAndNoDatabaseEngine) {
  std::vector<std::string> forbidden =
      headerNames({"server/http", "server/storage/sqlite", "server/storage/postgres"});
  ASSERT_GE(forbidden.size(), 6u) << "the server's sources were not found at " << PELLIX_SOURCE_DIR;
  for (const char* other : {"microhttpd", "sys/socket", "sqlite3", "libpq", "ScoreDatabase.h"}) {
    forbidden.push_back(other);
  }
  EXPECT_EQ("", findingsIn("server/requests", forbidden));
}

TEST(ServerLayeringTest, StorageReachesNothingOfTheProtocolOrTheHttpSide) {
  std::vector<std::string> forbidden = headerNames({"server/http", "server/requests"});
  ASSERT_GE(forbidden.size(), 6u) << "the server's sources were not found at " << PELLIX_SOURCE_DIR;
  forbidden.push_back("microhttpd");
  EXPECT_EQ("", findingsIn("server/storage", forbidden));
}

}  // namespace
