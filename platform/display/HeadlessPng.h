// Writes a surface as a PNG (RGBA, rows top to bottom), so a failing pixel check can
// leave a picture to look at.
#pragma once

#include <string>

#include "platform/win/Surface.h"

namespace vantrel::display {

// False when the file cannot be written.
bool SavePng(const win::Surface& Pixels, const std::string& FileName);

}  // namespace vantrel::display
