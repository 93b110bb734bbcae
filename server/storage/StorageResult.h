// What one storage call gives back: its value, or the database's message of why it failed. Each
// call carries its own failure, so a request thread logs the error it met and never one that
// another thread's call left behind. Returned by the score stores and the submission limiters to
// the request handler, the opener and the tests; a plain value, owned by whoever holds it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

// A failed call's message (the driver's own text, possibly on several lines); becomes a failed
// StorageResult of any type.
struct StorageFailure {
  std::string message;
};

namespace storage_result_detail {

// Reading the value of a failed result is a programming error: stop with the condition.
[[noreturn]] inline void valueOfFailure(const std::string& message) {
  std::fprintf(stderr, "StorageResult: value() read although the call failed (%s)\n", message.c_str());
  std::abort();
}

inline std::string nonEmpty(std::string message) {
  return message.empty() ? std::string("the database failed") : message;
}

}  // namespace storage_result_detail

template <typename T>
class StorageResult {
 public:
  StorageResult(T value) : content(std::move(value)) {}
  StorageResult(StorageFailure failure) : message(storage_result_detail::nonEmpty(std::move(failure.message))) {}

  explicit operator bool() const { return content.has_value(); }
  bool ok() const { return content.has_value(); }

  const T& value() const {
    if (!content) storage_result_detail::valueOfFailure(message);
    return *content;
  }
  T& value() {
    if (!content) storage_result_detail::valueOfFailure(message);
    return *content;
  }
  // Empty after a success.
  const std::string& error() const { return message; }

 private:
  std::optional<T> content;
  std::string message;
};

// A call that gives back nothing but whether it worked.
template <>
class StorageResult<void> {
 public:
  StorageResult() = default;
  StorageResult(StorageFailure failure)
      : failed(true), message(storage_result_detail::nonEmpty(std::move(failure.message))) {}

  explicit operator bool() const { return !failed; }
  bool ok() const { return !failed; }
  const std::string& error() const { return message; }

 private:
  bool failed = false;
  std::string message;
};
