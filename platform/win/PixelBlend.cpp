// Blending straight-alpha pixels onto a DC: the covered part of the destination is read
// into a buffer, blended there and copied back, so the DC's clip and origins apply.
#include "platform/win/PixelBlend.h"

#include "platform/rtl/Exceptions.h"

namespace vantrel::win {

void BlendPixelsOnDc(HDC dc, const RECT& Dest, int Width, int Height, const uint32_t* Pixels) {
  const int dw = Dest.Right - Dest.Left, dh = Dest.Bottom - Dest.Top;
  if (dw <= 0 || dh <= 0 || Width <= 0 || Height <= 0) return;
  RECT clip{};
  GetClipBox(dc, &clip);
  RECT vis{};
  if (!IntersectRect(&vis, &Dest, &clip)) return;
  const int vw = vis.Right - vis.Left, vh = vis.Bottom - vis.Top;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = vw;
  info.bmiHeader.biHeight = -vh;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP buffer = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!buffer || !bits) {
    if (buffer) DeleteObject(buffer);
    throw EOutOfResources("Out of system resources");
  }
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, buffer);
  BitBlt(mem, 0, 0, vw, vh, dc, vis.Left, vis.Top, SRCCOPY);
  auto* out = static_cast<uint32_t*>(bits);
  for (int y = 0; y < vh; ++y) {
    const int sy = static_cast<int>(static_cast<int64_t>(vis.Top + y - Dest.Top) * Height / dh);
    const uint32_t* srcRow = Pixels + static_cast<size_t>(sy) * Width;
    uint32_t* row = out + static_cast<size_t>(y) * vw;
    for (int x = 0; x < vw; ++x) {
      const int sx = static_cast<int>(static_cast<int64_t>(vis.Left + x - Dest.Left) * Width / dw);
      const uint32_t s = srcRow[sx];
      const uint32_t a = s >> 24;
      if (a == 0) continue;
      const uint32_t d = row[x];
      if (a == 255) {
        row[x] = s;
        continue;
      }
      uint32_t result = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t sc = (s >> shift) & 0xFF, dc8 = (d >> shift) & 0xFF;
        result |= ((sc * a + dc8 * (255 - a) + 127) / 255) << shift;
      }
      const uint32_t da = d >> 24;
      result |= (a + (da * (255 - a) + 127) / 255) << 24;
      row[x] = result;
    }
  }
  BitBlt(dc, vis.Left, vis.Top, vw, vh, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(buffer);
}

}  // namespace vantrel::win
