// The fields of an application/x-www-form-urlencoded text (a submission body or a query
// string), decoded strictly: every piece between '&' is key=value with one '=', '+' stands for a
// space, '%' must start a two-digit hex escape, and a key may appear only once. Used by the
// request validators of the high-score server; one object per request.
#pragma once

#include <string>
#include <utility>
#include <vector>

class FormFields {
 public:
  // Decodes `text` into `fields`. Returns false with a one-line `reason` when the text is not a
  // well-formed form (an empty text is a form without fields).
  static bool parse(const std::string& text, FormFields& fields, std::string& reason);

  // Whether the decoded keys are exactly `keys` (in any order). Otherwise `reason` names the
  // first missing or unexpected key.
  bool hasExactly(const std::vector<const char*>& keys, std::string& reason) const;
  // The same, where each of `optionalKeys` may also appear.
  bool hasExactly(const std::vector<const char*>& keys, const std::vector<const char*>& optionalKeys,
                  std::string& reason) const;

  bool has(const std::string& key) const;

  // The value of `key`; empty when it is absent.
  const std::string& value(const std::string& key) const;

  // The value of `key` read as an int written the way the game writes numbers: "0", or an
  // optional '-' and digits without a leading zero, within the int range. False otherwise.
  bool integer(const std::string& key, int& out) const;

  // The same rule for any text.
  static bool isCanonicalInteger(const std::string& text, int& out);

 private:
  std::vector<std::pair<std::string, std::string>> fields;
};
