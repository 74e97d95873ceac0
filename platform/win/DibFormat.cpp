// DIB row conversions.
#include "platform/win/DibFormat.h"

#include <cstring>

namespace vantrel::win {

namespace {

constexpr int kMaxDimension = 1 << 15;
constexpr size_t kMaxImageBytes = size_t{1} << 30;

uint32_t PixelOfQuad(const RGBQUAD& Q) {
  return (static_cast<uint32_t>(Q.rgbRed) << 16) | (static_cast<uint32_t>(Q.rgbGreen) << 8) | Q.rgbBlue;
}

uint32_t Expand5(uint32_t v) { return (v << 3) | (v >> 2); }
uint32_t Expand6(uint32_t v) { return (v << 2) | (v >> 4); }

}  // namespace

bool ParseDibFormat(const BITMAPINFO* Info, DibFormat& Out) {
  if (!Info) return false;
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biSize < sizeof(BITMAPINFOHEADER) || H.biWidth <= 0 || H.biHeight == 0) return false;
  if (H.biWidth > kMaxDimension || H.biHeight > kMaxDimension || H.biHeight < -kMaxDimension) return false;
  switch (H.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  DibFormat F;
  F.Width = H.biWidth;
  F.Height = H.biHeight > 0 ? H.biHeight : -H.biHeight;
  F.BottomUp = H.biHeight > 0;
  F.BitCount = H.biBitCount;
  const auto* Masks = reinterpret_cast<const DWORD*>(reinterpret_cast<const uint8_t*>(Info) + H.biSize);
  if (H.biCompression == BI_BITFIELDS) {
    if (F.BitCount == 16) {
      if (Masks[0] == 0xF800 && Masks[1] == 0x07E0 && Masks[2] == 0x001F) F.Rgb565 = true;
      else if (!(Masks[0] == 0x7C00 && Masks[1] == 0x03E0 && Masks[2] == 0x001F)) return false;
    } else if (F.BitCount == 32) {
      if (!(Masks[0] == 0xFF0000 && Masks[1] == 0xFF00 && Masks[2] == 0xFF)) return false;
    } else {
      return false;
    }
  } else if (H.biCompression != BI_RGB) {
    return false;
  }
  if (F.BitCount <= 8) {
    size_t N = H.biClrUsed ? H.biClrUsed : (size_t{1} << F.BitCount);
    if (N > (size_t{1} << F.BitCount)) N = size_t{1} << F.BitCount;
    const auto* Table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(Info) + H.biSize);
    F.Colors.assign(Table, Table + N);
  }
  if (F.ImageBytes() > kMaxImageBytes) return false;
  Out = std::move(F);
  return true;
}

void ReadDibRow(const DibFormat& F, const uint8_t* Row, uint32_t* Out) {
  const int W = F.Width;
  auto Color = [&](unsigned Index) {
    return Index < F.Colors.size() ? PixelOfQuad(F.Colors[Index]) : 0u;
  };
  switch (F.BitCount) {
    case 1:
      for (int x = 0; x < W; ++x) Out[x] = Color((Row[x >> 3] >> (7 - (x & 7))) & 1);
      break;
    case 4:
      for (int x = 0; x < W; ++x) Out[x] = Color((Row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
      break;
    case 8:
      for (int x = 0; x < W; ++x) Out[x] = Color(Row[x]);
      break;
    case 16:
      for (int x = 0; x < W; ++x) {
        uint32_t v = Row[2 * x] | (static_cast<uint32_t>(Row[2 * x + 1]) << 8);
        uint32_t r, g, b;
        if (F.Rgb565) {
          r = Expand5((v >> 11) & 31), g = Expand6((v >> 5) & 63), b = Expand5(v & 31);
        } else {
          r = Expand5((v >> 10) & 31), g = Expand5((v >> 5) & 31), b = Expand5(v & 31);
        }
        Out[x] = (r << 16) | (g << 8) | b;
      }
      break;
    case 24:
      for (int x = 0; x < W; ++x)
        Out[x] = Row[3 * x] | (static_cast<uint32_t>(Row[3 * x + 1]) << 8) | (static_cast<uint32_t>(Row[3 * x + 2]) << 16);
      break;
    default:
      std::memcpy(Out, Row, static_cast<size_t>(W) * 4);
      break;
  }
}

int DibRowWriter::Nearest(uint32_t P) {
  P &= 0xFFFFFF;
  if (P == FLastPixel) return FLastIndex;
  int Best = 0;
  long BestD = -1;
  const int r = (P >> 16) & 0xFF, g = (P >> 8) & 0xFF, b = P & 0xFF;
  for (size_t i = 0; i < FFormat.Colors.size(); ++i) {
    const RGBQUAD& Q = FFormat.Colors[i];
    long dr = r - Q.rgbRed, dg = g - Q.rgbGreen, db = b - Q.rgbBlue;
    long D = dr * dr + dg * dg + db * db;
    if (BestD < 0 || D < BestD) {
      BestD = D;
      Best = static_cast<int>(i);
      if (D == 0) break;
    }
  }
  FLastPixel = P;
  FLastIndex = Best;
  return Best;
}

void DibRowWriter::Write(const uint32_t* In, uint8_t* Row) {
  const DibFormat& F = FFormat;
  const int W = F.Width;
  switch (F.BitCount) {
    case 1:
      std::memset(Row, 0, static_cast<size_t>((W + 7) / 8));
      for (int x = 0; x < W; ++x)
        if (Nearest(In[x])) Row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      break;
    case 4:
      std::memset(Row, 0, static_cast<size_t>((W + 1) / 2));
      for (int x = 0; x < W; ++x) Row[x >> 1] |= static_cast<uint8_t>(Nearest(In[x]) << ((x & 1) ? 0 : 4));
      break;
    case 8:
      for (int x = 0; x < W; ++x) Row[x] = static_cast<uint8_t>(Nearest(In[x]));
      break;
    case 16:
      for (int x = 0; x < W; ++x) {
        uint32_t r = (In[x] >> 16) & 0xFF, g = (In[x] >> 8) & 0xFF, b = In[x] & 0xFF;
        uint32_t v = F.Rgb565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        Row[2 * x] = static_cast<uint8_t>(v);
        Row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
      }
      break;
    case 24:
      for (int x = 0; x < W; ++x) {
        Row[3 * x] = static_cast<uint8_t>(In[x]);
        Row[3 * x + 1] = static_cast<uint8_t>(In[x] >> 8);
        Row[3 * x + 2] = static_cast<uint8_t>(In[x] >> 16);
      }
      break;
    default:
      std::memcpy(Row, In, static_cast<size_t>(W) * 4);
      break;
  }
}

uint32_t QuantisePixel(const DibFormat& F, DibRowWriter& W, uint32_t P) {
  switch (F.BitCount) {
    case 1: case 4: case 8: {
      if (F.Colors.empty()) return 0;
      const RGBQUAD& Q = F.Colors[static_cast<size_t>(W.Nearest(P))];
      return PixelOfQuad(Q);
    }
    case 16: {
      uint32_t r = (P >> 16) & 0xFF, g = (P >> 8) & 0xFF, b = P & 0xFF;
      r = Expand5(r >> 3), b = Expand5(b >> 3), g = F.Rgb565 ? Expand6(g >> 2) : Expand5(g >> 3);
      return (r << 16) | (g << 8) | b;
    }
    case 24: return P & 0xFFFFFF;
    default: return P;
  }
}

}  // namespace vantrel::win
