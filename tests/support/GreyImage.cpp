// Brightness pictures: scaling, sharpness and difference.
#include "GreyImage.h"

#include <algorithm>
#include <cmath>

GreyImage::GreyImage(const std::vector<uint8_t>& bytes, int width, int height, int pixelBytes)
    : w(width), h(height), grey(static_cast<size_t>(width) * static_cast<size_t>(height), 0.0f) {
  for (size_t i = 0; i < grey.size() && (i + 1) * pixelBytes <= bytes.size(); ++i) {
    const uint8_t* p = &bytes[i * pixelBytes];
    // Rec. 601 luma: what the eye reads as edges.
    grey[i] = 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
  }
}

GreyImage GreyImage::scaledBilinear(int width, int height) const {
  GreyImage out;
  out.w = width;
  out.h = height;
  out.grey.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0.0f);
  for (int y = 0; y < height; ++y) {
    const float sy = std::clamp((y + 0.5f) * h / height - 0.5f, 0.0f, static_cast<float>(h - 1));
    const int y0 = static_cast<int>(sy);
    const int y1 = std::min(y0 + 1, h - 1);
    const float fy = sy - y0;
    for (int x = 0; x < width; ++x) {
      const float sx = std::clamp((x + 0.5f) * w / width - 0.5f, 0.0f, static_cast<float>(w - 1));
      const int x0 = static_cast<int>(sx);
      const int x1 = std::min(x0 + 1, w - 1);
      const float fx = sx - x0;
      const float top = at(x0, y0) * (1 - fx) + at(x1, y0) * fx;
      const float bottom = at(x0, y1) * (1 - fx) + at(x1, y1) * fx;
      out.grey[static_cast<size_t>(y) * width + x] = top * (1 - fy) + bottom * fy;
    }
  }
  return out;
}

namespace {

// Weights of the source cells [0, from) that target cell i of `to` covers.
std::vector<std::vector<std::pair<int, float>>> areaWeights(int from, int to) {
  std::vector<std::vector<std::pair<int, float>>> weights(static_cast<size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    const double begin = i * step;
    const double end = (i + 1) * step;
    for (int s = static_cast<int>(begin); s < from && s < end; ++s) {
      const double covered = std::min<double>(end, s + 1) - std::max<double>(begin, s);
      if (covered > 0) weights[i].push_back({s, static_cast<float>(covered / step)});
    }
  }
  return weights;
}

}  // namespace

GreyImage GreyImage::scaledDownByArea(int width, int height) const {
  const auto across = areaWeights(w, width);
  const auto down = areaWeights(h, height);
  GreyImage out;
  out.w = width;
  out.h = height;
  out.grey.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0.0f);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float sum = 0.0f;
      for (const auto& [sy, wy] : down[y]) {
        for (const auto& [sx, wx] : across[x]) sum += at(sx, sy) * wx * wy;
      }
      out.grey[static_cast<size_t>(y) * width + x] = sum;
    }
  }
  return out;
}

double GreyImage::meanSquaredGradient() const {
  if (w < 2 || h < 2) return 0.0;
  double sum = 0.0;
  for (int y = 0; y + 1 < h; ++y) {
    for (int x = 0; x + 1 < w; ++x) {
      const double dx = at(x + 1, y) - at(x, y);
      const double dy = at(x, y + 1) - at(x, y);
      sum += dx * dx + dy * dy;
    }
  }
  return sum / (static_cast<double>(w - 1) * (h - 1));
}

double GreyImage::meanAbsoluteDifference(const GreyImage& other) const {
  if (other.w != w || other.h != h || grey.empty()) return 255.0;
  double sum = 0.0;
  for (size_t i = 0; i < grey.size(); ++i) sum += std::fabs(grey[i] - other.grey[i]);
  return sum / static_cast<double>(grey.size());
}

double GreyImage::fractionDifferingBy(const GreyImage& other, float levels) const {
  if (other.w != w || other.h != h || grey.empty()) return 1.0;
  size_t count = 0;
  for (size_t i = 0; i < grey.size(); ++i) count += std::fabs(grey[i] - other.grey[i]) > levels ? 1 : 0;
  return static_cast<double>(count) / static_cast<double>(grey.size());
}
