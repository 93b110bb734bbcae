// Counts the rows of a table in a SQLite file that a test's server writes, read on the side
// (the server keeps the file open; SQLite lets a second reader in).
#pragma once

#include <string>

// The number of rows in `table` of the database file at `path`; -1 when it cannot be read.
long long sqliteRowCount(const std::string& path, const std::string& table);
