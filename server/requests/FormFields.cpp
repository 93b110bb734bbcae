// Strict form decoding.
#include "FormFields.h"

#include <climits>

namespace {

// More than any request of the game carries; keeps the duplicate check cheap.
const size_t MAX_FIELDS = 16;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool decodePart(const std::string& text, size_t begin, size_t end, std::string& out) {
  out.clear();
  for (size_t i = begin; i < end; ++i) {
    char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%') {
      if (end - i < 3) return false;
      int high = hexValue(text[i + 1]);
      int low = hexValue(text[i + 2]);
      if (high < 0 || low < 0) return false;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += c;
    }
  }
  return true;
}

}  // namespace

bool FormFields::parse(const std::string& text, FormFields& result, std::string& reason) {
  result.fields.clear();
  if (text.empty()) return true;
  size_t start = 0;
  while (true) {
    size_t end = text.find('&', start);
    if (end == std::string::npos) end = text.size();
    size_t equals = text.find('=', start);
    if (equals == std::string::npos || equals >= end) {
      reason = "malformed form: a field without '='";
      return false;
    }
    if (text.find('=', equals + 1) < end) {
      reason = "malformed form: unescaped '=' in a value";
      return false;
    }
    std::string key;
    std::string value;
    if (!decodePart(text, start, equals, key) || !decodePart(text, equals + 1, end, value)) {
      reason = "malformed form: bad percent escape";
      return false;
    }
    if (key.empty()) {
      reason = "malformed form: empty field name";
      return false;
    }
    if (result.fields.size() == MAX_FIELDS) {
      reason = "too many fields";
      return false;
    }
    for (const auto& field : result.fields) {
      if (field.first == key) {
        reason = "duplicate field";
        return false;
      }
    }
    result.fields.emplace_back(std::move(key), std::move(value));
    if (end == text.size()) break;
    start = end + 1;
  }
  return true;
}

bool FormFields::hasExactly(const std::vector<const char*>& keys, std::string& reason) const {
  return hasExactly(keys, {}, reason);
}

bool FormFields::has(const std::string& key) const {
  for (const auto& field : fields) {
    if (field.first == key) return true;
  }
  return false;
}

bool FormFields::hasExactly(const std::vector<const char*>& keys, const std::vector<const char*>& optionalKeys,
                            std::string& reason) const {
  for (const char* key : keys) {
    if (!has(key)) {
      reason = std::string("missing field ") + key;
      return false;
    }
  }
  for (const auto& field : fields) {
    bool expected = false;
    for (const char* key : keys) expected = expected || field.first == key;
    for (const char* key : optionalKeys) expected = expected || field.first == key;
    if (!expected) {
      // The unexpected name came from the client: say that there is one, not what it is.
      reason = "unexpected field";
      return false;
    }
  }
  return true;
}

const std::string& FormFields::value(const std::string& key) const {
  static const std::string none;
  for (const auto& field : fields) {
    if (field.first == key) return field.second;
  }
  return none;
}

bool FormFields::integer(const std::string& key, int& out) const { return isCanonicalInteger(value(key), out); }

bool FormFields::isCanonicalInteger(const std::string& text, int& out) {
  size_t first = (!text.empty() && text[0] == '-') ? 1 : 0;
  size_t digits = text.size() - first;
  if (digits == 0 || digits > 10) return false;
  if (text[first] == '0' && (digits > 1 || first == 1)) return false;  // "007", "-0"
  long long value = 0;
  for (size_t i = first; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  if (first == 1) value = -value;
  if (value < INT_MIN || value > INT_MAX) return false;
  out = static_cast<int>(value);
  return true;
}
