// Reading one move record: a type byte, the type's parameters, then colour and time.
#include "MoveInfo.h"

#include <cstdint>
#include <cstdio>

#include "Common/Stream.h"

namespace {

template <class T>
bool readValue(MyTl::StreamIn& stream, T& value) {
  return stream.read(reinterpret_cast<char*>(&value), sizeof(T)) == sizeof(T);
}

// Reads `count` values of type T, each sign-extended into data[i].
template <class T>
bool readParameters(MyTl::StreamIn& stream, int* data, int count) {
  for (int i = 0; i < count; ++i) {
    T value;
    if (!readValue(stream, value)) return false;
    data[i] = value;
  }
  return true;
}

}  // namespace

bool MoveInfo::deserialize(MyTl::StreamIn& stream) {
  int8_t typeByte;
  if (!readValue(stream, typeByte) || typeByte < 0 || typeByte > 6) return false;
  type = typeByte;

  bool hasColourAndTime = true;
  bool ok = true;
  switch (type) {
    case 0:
    case 1: ok = readParameters<int8_t>(stream, data, 4); break;
    case 2: break;
    case 3:
    case 4:
    case 5: ok = readParameters<int16_t>(stream, data, 2); break;
    case 6:
      ok = readParameters<int32_t>(stream, data, 1);
      hasColourAndTime = false;
      break;
  }
  if (!ok) return false;
  if (hasColourAndTime) {
    int8_t colourByte;
    if (!readValue(stream, colourByte) || !readValue(stream, time)) return false;
    colour = colourByte;
  }
  std::printf("Move Type: %d color: %d time: %f\n", type, colour, static_cast<double>(static_cast<float>(time)));
  return true;
}
