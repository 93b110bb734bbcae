// WaveCapture: runs the sound tests against OpenAL Soft's file-writing ("wave") output.
// setUpProcess (from the test main, before any OpenAL call) points OpenAL Soft at a
// configuration in a fresh temporary folder: the wave backend only, mono 32-bit float at
// 44100 Hz, no limiter, so the file holds exactly gain × samples. The device writes in real
// time and finishes the file when it closes; a test therefore starts its effects, calls
// finish() (wait until nothing plays, tear the engine down, read the file) and inspects the
// samples. Tests of one process run one after another and reuse the same output file.
#pragma once

#include <string>
#include <vector>

class WaveCapture {
 public:
  static constexpr int kSampleRate = 44100;

  static void setUpProcess();
  static void tearDownProcess();

  // The process's temporary folder; tests create their own sub-folders in it.
  static const std::string& folder();
  // A new empty sub-folder of folder() named after `name`.
  static std::string makeFolder(const std::string& name);

  // Makes opening the output device fail (its file's folder disappears), or work again.
  static void setOutputAvailable(bool available);

  // Waits (5 s at most, scaled) until no source of the current OpenAL context plays; false on
  // timeout.
  static bool waitUntilQuiet();
  // Waits (scaled) until a playing source of the current context has been mixed `seconds` into
  // its sound; false on timeout or when none plays.
  static bool waitUntilPlayedInto(double seconds);
  // Waits (scaled) until the current context's device has mixed `seconds` more output (the
  // wave device mixes in real time, later on a loaded machine); false on timeout.
  static bool waitUntilMixed(double seconds);
  // waitUntilQuiet (a test failure when a sound plays on past its deadline), SoundEngine_Teardown,
  // then the captured samples.
  static std::vector<float> finish();
  // The samples of the file the last closed device wrote (then deleted); empty when there is none.
  static std::vector<float> read();
};
