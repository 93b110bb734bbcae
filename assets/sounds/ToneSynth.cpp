// Additive note synthesis with smooth envelopes.
#include "ToneSynth.h"

#include <algorithm>
#include <cmath>

namespace {

const double kTwoPi = 6.283185307179586;

// Raised-cosine ramp from 0 to 1 as x goes from 0 to 1: no corner at either end.
double smoothRamp(double x) {
  if (x <= 0.0) return 0.0;
  if (x >= 1.0) return 1.0;
  return 0.5 - 0.5 * std::cos(x * kTwoPi / 2.0);
}

}  // namespace

void ToneSynth::addNote(const Note& note) {
  const size_t first = static_cast<size_t>(std::lround(note.startSeconds * kSampleRate));
  const size_t length = static_cast<size_t>(std::lround(note.durationSeconds * kSampleRate));
  if (samples_.size() < first + length + 1) samples_.resize(first + length + 1, 0.0f);

  const double endFrequency = note.endFrequency > 0.0 ? note.endFrequency : note.frequency;
  double phase = 0.0;  // in cycles of the note's fundamental, so partials stay in step
  for (size_t i = 0; i <= length; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double progress = length > 0 ? static_cast<double>(i) / length : 1.0;

    double value = 0.0;
    for (const Partial& partial : note.partials) {
      const double decay = partial.decaySeconds > 0.0 ? std::exp(-t / partial.decaySeconds) : 1.0;
      value += partial.amplitude * decay * std::sin(kTwoPi * partial.ratio * phase);
    }
    const double attack = note.attackSeconds > 0.0 ? smoothRamp(t / note.attackSeconds) : 1.0;
    const double untilEnd = note.durationSeconds - t;
    const double release = note.releaseSeconds > 0.0 ? smoothRamp(untilEnd / note.releaseSeconds) : 1.0;
    samples_[first + i] += static_cast<float>(note.amplitude * attack * release * value);

    // Exponential glide sounds even across octaves; vibrato is a slow sine on the pitch.
    double frequency = note.frequency * std::pow(endFrequency / note.frequency, progress);
    frequency *= 1.0 + note.vibratoDepth * std::sin(kTwoPi * note.vibratoHz * t);
    phase += frequency / kSampleRate;
  }
}

void ToneSynth::normalise(double peak) {
  float largest = 0.0f;
  for (float sample : samples_) largest = std::max(largest, std::fabs(sample));
  if (largest <= 0.0f) return;
  const double scale = peak / largest;
  for (float& sample : samples_) sample = static_cast<float>(sample * scale);
}
