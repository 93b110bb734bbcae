// MyTl::StringStream: appending text pieces.
#include "StringStream.h"

#include <cstring>

#include "StringProcessor.h"

namespace MyTl {

StringStream& StringStream::operator<<(const char* text) {
  if (text == nullptr) return *this;
  write(text, std::strlen(text));
  if (text[0] == '\n' && text[1] == '\0') flush();
  return *this;
}

StringStream& StringStream::operator<<(int value) {
  return *this << StringProcessor<char>::toString(value);
}

StringStream& StringStream::operator<<(const BasicString<char>& text) {
  write(text.c_str(), static_cast<unsigned long>(text.length()));
  return *this;
}

const char* StringStream::c_str() {
  if (position >= memory.size()) memory.resize(position + 1);
  memory[position] = '\0';
  return memory.data();
}

}  // namespace MyTl
