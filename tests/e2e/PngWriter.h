// Writes an RGB picture to a PNG file, for looking at what an end-to-end test saw on screen.
// Called by ScreenImage::savePng; the caller owns the pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width x height pixels of three bytes, rows top first. False when the file cannot
// be written or the sizes do not match.
bool writeRgbPng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
