// ToneSynth: renders notes into a mono sample buffer (floats, 44100 Hz) for the sound
// generator. Each note is a sum of sine partials with its own attack, decay and release, so
// every sound starts and ends at zero without clicks. Used by SoundRecipes; owns its buffer.
#pragma once

#include <vector>

class ToneSynth {
 public:
  static const int kSampleRate = 44100;

  // One sine component of a note: frequency ratio to the note, amplitude, and the time in
  // seconds over which it decays to 1/e (0 = no decay).
  struct Partial {
    double ratio;
    double amplitude;
    double decaySeconds;
  };

  struct Note {
    double startSeconds = 0.0;
    double durationSeconds = 0.1;  // the release ends here
    double frequency = 440.0;
    double endFrequency = 0.0;     // glide target over the note; 0 = steady pitch
    double amplitude = 1.0;
    double attackSeconds = 0.005;
    double releaseSeconds = 0.02;
    double vibratoHz = 0.0;
    double vibratoDepth = 0.0;     // fraction of the frequency
    std::vector<Partial> partials;
  };

  // Mixes the note into the buffer, growing it as needed.
  void addNote(const Note& note);
  // Scales the whole buffer so that its largest magnitude is `peak`.
  void normalise(double peak);

  const std::vector<float>& samples() const { return samples_; }

 private:
  std::vector<float> samples_;
};
