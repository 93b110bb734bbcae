// SignalAnalysis: measurements on captured or generated sample buffers for the sound tests.
#pragma once

#include <cstddef>
#include <vector>

namespace SignalAnalysis {

float peak(const std::vector<float>& samples, size_t first = 0, size_t count = static_cast<size_t>(-1));
// Index of the first / last sample whose magnitude exceeds `threshold`; -1 when none does.
long firstAbove(const std::vector<float>& samples, float threshold);
long lastAbove(const std::vector<float>& samples, float threshold);
// Amplitude of the sine component at `frequency` within samples [first, first + count).
double toneAmplitude(const std::vector<float>& samples, size_t first, size_t count, double frequency,
                     int sampleRate);
// Largest root-mean-square level over windows of `window` samples.
double loudestWindowRms(const std::vector<float>& samples, size_t window);

}  // namespace SignalAnalysis
