// The database of one test on one of the server's two storage engines, so that one table of
// server cases runs on both: a fresh SQLite file in the test's temporary folder, or a fresh
// database in the test program's PostgreSQL cluster. Tests use it through TEST_P with
// BACKENDS (instantiated as .../SQLite and .../PostgreSQL).
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "TempFolder.h"

enum class Backend { SQLITE, POSTGRES };

// "SQLite" or "PostgreSQL", for test names and messages.
std::string backendName(const ::testing::TestParamInfo<Backend>& info);
void PrintTo(Backend backend, std::ostream* out);

#define BACKENDS ::testing::Values(Backend::SQLITE, Backend::POSTGRES), backendName

class BackendDatabase {
 public:
  explicit BackendDatabase(Backend backend);

  // Whether the database exists; otherwise failure() says why. A missing PostgreSQL is a
  // failure, never a skipped test: CI installs it.
  bool ready() const { return !where.empty(); }
  const std::string& failure() const { return why; }

  // What --db takes: the file path or the URI.
  const std::string& location() const { return where; }

  // Runs `sql` on the database behind the server's back (to break it on purpose).
  bool execute(const std::string& sql, std::string& error) const;

  // A folder for the test's other files.
  const TempFolder& folder() const { return files; }

 private:
  Backend kind;
  TempFolder files;
  std::string where;
  std::string why;
};
