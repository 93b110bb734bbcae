// Whole-file reading and writing for the tests.
#include "WholeFile.h"

#include <fstream>
#include <iterator>

namespace testfiles {

namespace {

template <class Container>
Container readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Container(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeAll(const std::string& path, const char* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data, static_cast<std::streamsize>(size));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

Bytes readFile(const std::string& path) { return readAll<Bytes>(path); }

std::string readText(const std::string& path) { return readAll<std::string>(path); }

bool writeFile(const std::string& path, const Bytes& bytes) {
  return writeAll(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

bool writeFile(const std::string& path, const std::string& bytes) { return writeAll(path, bytes.data(), bytes.size()); }

}  // namespace testfiles
