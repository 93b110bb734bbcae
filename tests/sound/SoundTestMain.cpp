// Test main of the sound tests: OpenAL Soft must see the capture configuration before the
// first OpenAL call of the process.
#include <gtest/gtest.h>

#include "WaveCapture.h"

int main(int argc, char** argv) {
  WaveCapture::setUpProcess();
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  WaveCapture::tearDownProcess();
  return result;
}
