// Reading and rewriting the preferences file.
#include "Preferences.h"

#include <fstream>
#include <sstream>

#include "Assert.h"
#include "Common/AtomicFileWriter.h"

namespace {

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

Preferences::Preferences(std::string path) : filePath(std::move(path)) {
  std::ifstream in(filePath, std::ios::binary);
  if (!in) return;
  std::string content;
  content.resize(MAX_FILE_BYTES + 1);
  in.read(&content[0], static_cast<std::streamsize>(content.size()));
  const std::streamsize got = in.gcount();
  if (got > MAX_FILE_BYTES) return;
  content.resize(static_cast<size_t>(got));
  std::istringstream text(content);
  std::string raw;
  while (std::getline(text, raw)) {
    Line line{raw, std::string(), std::string()};
    // A line without '=' (or with nothing before it) is damaged: kept as it is, never read.
    const std::string body = trimmed(raw);
    const size_t equals = body.find('=');
    if (!body.empty() && body[0] != '#' && equals != std::string::npos) {
      line.key = trimmed(body.substr(0, equals));
      line.value = trimmed(body.substr(equals + 1));
    }
    lines.push_back(line);
  }
}

int Preferences::lineOf(const std::string& key) const {
  for (int i = static_cast<int>(lines.size()) - 1; i >= 0; --i) {
    if (!key.empty() && lines[static_cast<size_t>(i)].key == key) return i;
  }
  return -1;
}

std::string Preferences::value(const std::string& key) const {
  const int index = lineOf(key);
  return index < 0 ? std::string() : lines[static_cast<size_t>(index)].value;
}

void Preferences::setValue(const std::string& key, const std::string& value) {
  MYTL_ASSERT(!trimmed(key).empty() && trimmed(key) == key && key[0] != '#', "Preferences");
  MYTL_ASSERT(key.find_first_of("=\n\r") == std::string::npos, "Preferences");
  MYTL_ASSERT(value.find_first_of("\n\r") == std::string::npos, "Preferences");
  const Line line{key + " = " + trimmed(value), key, trimmed(value)};
  const int index = lineOf(key);
  if (index < 0) {
    lines.push_back(line);
  } else {
    lines[static_cast<size_t>(index)] = line;
  }
}

Look Preferences::look() const {
  Look chosen = Looks::DEFAULT_LOOK;
  Looks::fromName(value(LOOK_KEY), chosen);
  return chosen;
}

void Preferences::setLook(Look look) { setValue(LOOK_KEY, Looks::nameOf(look)); }

std::string Preferences::scoresCaFile() const {
  // A relative path would depend on the folder the game was started from.
  const std::string file = value(SCORES_CA_FILE_KEY);
  return !file.empty() && file[0] == '/' ? file : std::string();
}

bool Preferences::save(MyTl::SaveFailureNotice* notice) const {
  std::string content;
  for (const Line& line : lines) content += line.text + "\n";
  bool ok = false;
  MyTl::AtomicFileWriter writer(filePath.c_str(), &ok, notice);
  if (!ok) return false;
  if (writer.write(content.data(), static_cast<unsigned long>(content.size())) != content.size()) return false;
  return writer.commit();
}
