// Sample-buffer measurements for the sound tests.
#include "SignalAnalysis.h"

#include <algorithm>
#include <cmath>

namespace SignalAnalysis {

float peak(const std::vector<float>& samples, size_t first, size_t count) {
  float largest = 0.0f;
  const size_t end = count > samples.size() ? samples.size() : std::min(samples.size(), first + count);
  for (size_t i = first; i < end; ++i) largest = std::max(largest, std::fabs(samples[i]));
  return largest;
}

long firstAbove(const std::vector<float>& samples, float threshold) {
  for (size_t i = 0; i < samples.size(); ++i) {
    if (std::fabs(samples[i]) > threshold) return static_cast<long>(i);
  }
  return -1;
}

long lastAbove(const std::vector<float>& samples, float threshold) {
  for (size_t i = samples.size(); i > 0; --i) {
    if (std::fabs(samples[i - 1]) > threshold) return static_cast<long>(i - 1);
  }
  return -1;
}

double toneAmplitude(const std::vector<float>& samples, size_t first, size_t count, double frequency,
                     int sampleRate) {
  // Correlation with a sine and a cosine over the window (a single-bin Fourier transform).
  const size_t end = std::min(samples.size(), first + count);
  if (end <= first) return 0.0;
  double re = 0.0, im = 0.0;
  for (size_t i = first; i < end; ++i) {
    const double angle = 2.0 * M_PI * frequency * static_cast<double>(i) / sampleRate;
    re += samples[i] * std::cos(angle);
    im += samples[i] * std::sin(angle);
  }
  return 2.0 * std::sqrt(re * re + im * im) / static_cast<double>(end - first);
}

double loudestWindowRms(const std::vector<float>& samples, size_t window) {
  double loudest = 0.0;
  for (size_t start = 0; start + window <= samples.size(); start += window / 4 + 1) {
    double sum = 0.0;
    for (size_t i = start; i < start + window; ++i) sum += double(samples[i]) * samples[i];
    loudest = std::max(loudest, std::sqrt(sum / window));
  }
  return loudest;
}

}  // namespace SignalAnalysis
