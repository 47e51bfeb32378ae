// Surfaces to and from PNG files (8-bit RGB), for screenshots and the pixel-exact golden
// images that tests compare against.
#pragma once

#include <string>

#include "gdi/surface.h"

namespace device {

// Writes surface as an 8-bit RGB PNG. On failure returns false and, when error is given,
// says why.
bool WritePng(const gdi::Surface& surface, const std::string& path, std::string* error);

// Reads any PNG libpng understands (palette, grey, 16-bit and alpha are converted; alpha is
// dropped) into out as 0x00RRGGBB pixels. On failure out is left alone.
bool ReadPng(const std::string& path, gdi::Surface* out, std::string* error);

} // namespace device
