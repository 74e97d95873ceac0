// A few plain drawing helpers on a 32-bit surface for the pictures our resources paint
// (glyphs and system icons). Colours are 0xAARRGGBB pixels.
#pragma once

#include <cmath>
#include <cstdint>

#include "platform/win/Surface.h"

namespace vantrel::win::paint {

constexpr uint32_t Px(int R, int G, int B, int A = 0) {
  return (static_cast<uint32_t>(A) << 24) | (static_cast<uint32_t>(R) << 16) | (static_cast<uint32_t>(G) << 8) |
         static_cast<uint32_t>(B);
}

inline void Dot(Surface& S, int X, int Y, uint32_t C) {
  if (S.Contains(X, Y)) S.Row(Y)[X] = C;
}

// Fills Left..Right-1 x Top..Bottom-1.
inline void Fill(Surface& S, int L, int T, int R, int B, uint32_t C) {
  for (int y = T; y < B; ++y)
    for (int x = L; x < R; ++x) Dot(S, x, y, C);
}

inline void Frame(Surface& S, int L, int T, int R, int B, uint32_t C) {
  for (int x = L; x < R; ++x) Dot(S, x, T, C), Dot(S, x, B - 1, C);
  for (int y = T; y < B; ++y) Dot(S, L, y, C), Dot(S, R - 1, y, C);
}

// Both end points included.
inline void Line(Surface& S, int X0, int Y0, int X1, int Y1, uint32_t C) {
  int N = std::max(std::abs(X1 - X0), std::abs(Y1 - Y0));
  for (int i = 0; i <= N; ++i) {
    double t = N ? static_cast<double>(i) / N : 0;
    Dot(S, static_cast<int>(std::lround(X0 + (X1 - X0) * t)), static_cast<int>(std::lround(Y0 + (Y1 - Y0) * t)), C);
  }
}

// A filled disk of radius R centred at (CX, CY) in pixel-centre coordinates.
inline void Disk(Surface& S, double CX, double CY, double R, uint32_t C) {
  for (int y = 0; y < S.Height(); ++y)
    for (int x = 0; x < S.Width(); ++x) {
      double dx = x + 0.5 - CX, dy = y + 0.5 - CY;
      if (dx * dx + dy * dy <= R * R) S.Row(y)[x] = C;
    }
}

}  // namespace vantrel::win::paint
