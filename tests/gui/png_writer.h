// A minimal PNG writer for screenshots of the UI tests (24-bit RGB,
// uncompressed deflate blocks): no image library is needed on Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalvor::uitest {

// Writes width x height pixels given as rows of B,G,R bytes (top row first,
// `stride` bytes per row). Returns true on success.
bool writePng(const std::string& path, int width, int height, const std::uint8_t* bgr, int stride);

}  // namespace kalvor::uitest
