// The pixels of a small bitmap as rows of text, one character per pixel, so a test of a
// drawn shape reads as a picture of it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/Graphics.h"
#include "tests/support/SkinImageBitmaps.h"

namespace vantrel::test {

// Legend maps 0x00RRGGBB colours to characters; any other colour shows as '?'.
inline std::vector<std::string> ArtOf(TBitmap& B, const std::map<uint32_t, char>& Legend) {
  std::vector<std::string> Rows;
  for (int y = 0; y < B.Height(); ++y) {
    std::string Row;
    for (int x = 0; x < B.Width(); ++x) {
      const auto It = Legend.find(PixelOf(B, x, y));
      Row += It == Legend.end() ? '?' : It->second;
    }
    Rows.push_back(Row);
  }
  return Rows;
}

}  // namespace vantrel::test
