// Whole files in one go, for tests that write the game's files, read back what it saved, or
// damage a file byte by byte. The one place the tests read and write whole files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testfiles {

using Bytes = std::vector<uint8_t>;

// The file's bytes; empty when it does not exist or cannot be read.
Bytes readFile(const std::string& path);
// The file's content as text; "" when it does not exist or cannot be read.
std::string readText(const std::string& path);

// Replaces the file with `bytes`; false when it could not be written.
bool writeFile(const std::string& path, const Bytes& bytes);
bool writeFile(const std::string& path, const std::string& bytes);

}  // namespace testfiles
