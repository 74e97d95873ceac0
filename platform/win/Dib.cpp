// Bitmaps: DIB sections of any common depth, device-dependent bitmaps, GetObject of
// them, GetDIBits/SetDIBits and the colour tables.
#include <algorithm>
#include <cstring>

#include "platform/win/GdiInternal.h"

namespace vantrel::win {

namespace {

constexpr int kMaxDdbDimension = 1 << 15;

}  // namespace

std::shared_ptr<BitmapObject> BitmapObject::CreateDib(const BITMAPINFO* Info, bool ClearBits) {
  DibFormat F;
  if (!ParseDibFormat(Info, F)) return nullptr;
  std::shared_ptr<BitmapObject> B(new BitmapObject());
  B->FIsDib = true;
  B->FFormat = std::move(F);
  const DibFormat& Fm = B->FFormat;
  B->FBits = ClearBits ? AllocateZeroed<uint8_t>(Fm.ImageBytes()) : AllocateForOverwrite<uint8_t>(Fm.ImageBytes());
  // Another depth gets its 32-bit pixels when something first reads or draws on it.
  if (Fm.BitCount == 32)
    B->FSurface = std::make_unique<Surface>(Fm.Width, Fm.Height, Fm.BottomUp,
                                            reinterpret_cast<uint32_t*>(B->FBits.get()));
  return B;
}

std::shared_ptr<BitmapObject> BitmapObject::CreateDdb(int Width, int Height, int BitCount) {
  if (Width <= 0 || Height <= 0 || Width > kMaxDdbDimension || Height > kMaxDdbDimension) return nullptr;
  if (BitCount != 1 && BitCount != 32) return nullptr;
  std::shared_ptr<BitmapObject> B(new BitmapObject());
  B->FFormat.Width = Width;
  B->FFormat.Height = Height;
  B->FFormat.BitCount = BitCount;
  B->FFormat.BottomUp = false;
  if (BitCount == 1) B->FFormat.Colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  B->FSurface = std::make_unique<Surface>(Width, Height, false);
  return B;
}

void BitmapObject::Pull() {
  if (!FIsDib || FFormat.BitCount == 32) return;
  const size_t Size = FFormat.ImageBytes();
  const uint8_t* Bits = FBits.get();
  if (!FSurface) {
    // Zero bits of a depth without a colour table are black pixels, which fresh cleared
    // pixels already are: a new section that nobody wrote yet is not read row by row.
    const bool Black = FFormat.Colors.empty() && Size > 0 && Bits[0] == 0 &&
                       std::memcmp(Bits, Bits + 1, Size - 1) == 0;
    if (Black) {
      FSurface = std::make_unique<Surface>(FFormat.Width, FFormat.Height, false);
    } else {
      FSurface = std::make_unique<Surface>(FFormat.Width, FFormat.Height, false, Surface::Uncleared{});
      ReadAllRows();
    }
  } else {
    const auto SameColors = [&] {
      return FPulledColors.size() == FFormat.Colors.size() &&
             (FPulledColors.empty() ||
              std::memcmp(FPulledColors.data(), FFormat.Colors.data(), FPulledColors.size() * sizeof(RGBQUAD)) == 0);
    };
    if (FPulledBits && SameColors() && std::memcmp(FPulledBits.get(), Bits, Size) == 0) return;
    ReadAllRows();
  }
  if (!FPulledBits) FPulledBits = AllocateForOverwrite<uint8_t>(Size);
  std::memcpy(FPulledBits.get(), Bits, Size);
  FPulledColors = FFormat.Colors;
}

void BitmapObject::ReadAllRows() {
  for (int y = 0; y < FFormat.Height; ++y)
    ReadDibRow(FFormat, FBits.get() + FFormat.RowOffset(y), FSurface->Row(y));
}

void BitmapObject::Push() {
  // Nothing was drawn on a section whose pixels were never made.
  if (FFormat.BitCount == 32 || !FSurface) return;
  // Pixels() now holds what was drawn, finer than the bits keep it: the next Pull reads.
  FPulledBits.reset();
  DibRowWriter W(FFormat);
  if (!FIsDib) {
    for (int y = 0; y < FFormat.Height; ++y) {
      uint32_t* Row = FSurface->Row(y);
      for (int x = 0; x < FFormat.Width; ++x) Row[x] = QuantisePixel(FFormat, W, Row[x]);
    }
    return;
  }
  for (int y = 0; y < FFormat.Height; ++y) W.Write(FSurface->Row(y), FBits.get() + FFormat.RowOffset(y));
}

void BitmapObject::Push(int Top, int Bottom) {
  if (FFormat.BitCount == 32 || !FSurface) return;
  // Without an exact reading to keep up (bits changed since, or another palette) the
  // whole bitmap goes back as before.
  if (!FIsDib || !FPulledBits || FPulledColors.size() != FFormat.Colors.size()) return Push();
  Top = std::max(Top, 0);
  Bottom = std::min(Bottom, FFormat.Height);
  DibRowWriter W(FFormat);
  for (int y = Top; y < Bottom; ++y) {
    uint8_t* Row = FBits.get() + FFormat.RowOffset(y);
    W.Write(FSurface->Row(y), Row);
    ReadDibRow(FFormat, Row, FSurface->Row(y));
    std::memcpy(FPulledBits.get() + FFormat.RowOffset(y), Row, FFormat.RowBytes());
  }
}

int BitmapObject::GetObjectData(int Size, void* Out) const {
  BITMAP Bm{};
  Bm.bmType = 0;
  Bm.bmWidth = FFormat.Width;
  Bm.bmHeight = FFormat.Height;
  Bm.bmWidthBytes = FIsDib ? FFormat.RowBytes() : ((FFormat.Width * FFormat.BitCount + 15) / 16) * 2;
  Bm.bmPlanes = 1;
  Bm.bmBitsPixel = static_cast<WORD>(FFormat.BitCount);
  Bm.bmBits = FIsDib ? FBits.get() : nullptr;
  if (!Out) return sizeof(BITMAP);
  if (FIsDib && Size >= static_cast<int>(sizeof(DIBSECTION))) {
    DIBSECTION Ds{};
    Ds.dsBm = Bm;
    Ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
    Ds.dsBmih.biWidth = FFormat.Width;
    Ds.dsBmih.biHeight = FFormat.BottomUp ? FFormat.Height : -FFormat.Height;
    Ds.dsBmih.biPlanes = 1;
    Ds.dsBmih.biBitCount = static_cast<WORD>(FFormat.BitCount);
    Ds.dsBmih.biCompression = BI_RGB;
    Ds.dsBmih.biSizeImage = static_cast<DWORD>(FFormat.ImageBytes());
    Ds.dsBmih.biClrUsed = static_cast<DWORD>(FFormat.Colors.size());
    if (FFormat.BitCount == 16 && FFormat.Rgb565) {
      Ds.dsBmih.biCompression = BI_BITFIELDS;
      Ds.dsBitfields[0] = 0xF800, Ds.dsBitfields[1] = 0x07E0, Ds.dsBitfields[2] = 0x001F;
    }
    std::memcpy(Out, &Ds, sizeof Ds);
    return sizeof(DIBSECTION);
  }
  if (Size < static_cast<int>(sizeof(BITMAP))) return 0;
  std::memcpy(Out, &Bm, sizeof Bm);
  return sizeof(BITMAP);
}

namespace {

// The colour table of a palette-depth DIB request: the bitmap's own when it has one of
// that depth, else black and white for 1 bpp.
bool TableFor(BitmapObject& B, int BitCount, std::vector<RGBQUAD>& Out) {
  if (BitCount > 8) return true;
  if (B.BitCount() == BitCount) {
    Out = B.ColorTable();
    Out.resize(size_t{1} << BitCount);
    return true;
  }
  if (BitCount == 1) {
    Out = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    return true;
  }
  return false;
}

HBITMAP RegisterDib(const BITMAPINFO* Info, void** Bits, bool ClearBits) {
  if (Bits) *Bits = nullptr;
  auto B = BitmapObject::CreateDib(Info, ClearBits);
  if (!B) return nullptr;
  if (Bits) *Bits = B->Bits();
  return RegisterAs<BitmapObject, HBITMAP>(std::move(B));
}

}  // namespace

HBITMAP CreateDibSectionForOverwrite(const BITMAPINFO* Info, void** Bits) { return RegisterDib(Info, Bits, false); }

}  // namespace vantrel::win

using namespace vantrel::win;

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* Info, UINT, void** Bits, HANDLE, DWORD) {
  return RegisterDib(Info, Bits, true);
}

HBITMAP CreateCompatibleBitmap(HDC Dc, int Width, int Height) {
  auto D = DcOf(Dc);
  if (!D) return nullptr;
  if (Width == 0 || Height == 0) return RegisterAs<BitmapObject, HBITMAP>(BitmapObject::CreateDdb(1, 1, 1));
  bool Mono = D->Memory() && D->State().Bitmap && D->State().Bitmap->Mono();
  auto B = BitmapObject::CreateDdb(Width, Height, Mono ? 1 : 32);
  return B ? RegisterAs<BitmapObject, HBITMAP>(std::move(B)) : nullptr;
}

HBITMAP CreateBitmap(int Width, int Height, UINT Planes, UINT BitCount, const void* Bits) {
  if (Planes != 1 || (BitCount != 1 && BitCount != 32)) return nullptr;
  auto B = BitmapObject::CreateDdb(Width, Height, static_cast<int>(BitCount));
  if (!B) return nullptr;
  if (Bits) {
    // Device-dependent rows are word aligned; 1 = white.
    const auto* Src = static_cast<const uint8_t*>(Bits);
    const int Stride = ((Width * static_cast<int>(BitCount) + 15) / 16) * 2;
    for (int y = 0; y < Height; ++y) {
      uint32_t* Row = B->Pixels().Row(y);
      const uint8_t* S = Src + static_cast<size_t>(y) * Stride;
      for (int x = 0; x < Width; ++x)
        Row[x] = BitCount == 1 ? (((S[x >> 3] >> (7 - (x & 7))) & 1) ? 0xFFFFFF : 0)
                               : reinterpret_cast<const uint32_t*>(S)[x];
    }
  }
  return RegisterAs<BitmapObject, HBITMAP>(std::move(B));
}

int GetDIBits(HDC, HBITMAP Bitmap, UINT Start, UINT Lines, LPVOID Bits, BITMAPINFO* Info, UINT) {
  auto B = BitmapOf(Bitmap);
  if (!B || !Info || Info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  BITMAPINFOHEADER& H = Info->bmiHeader;
  if (!Bits && H.biBitCount == 0) {
    H.biWidth = B->Width();
    H.biHeight = B->Height();
    H.biPlanes = 1;
    H.biBitCount = static_cast<WORD>(B->BitCount());
    H.biCompression = BI_RGB;
    H.biSizeImage = static_cast<DWORD>(DibRowBytes(B->Width(), B->BitCount()) * B->Height());
    H.biClrUsed = 0;
    return 1;
  }
  std::vector<RGBQUAD> Table;
  if (!TableFor(*B, H.biBitCount, Table)) return 0;
  DibFormat F;
  F.Width = B->Width();
  F.Height = B->Height();
  F.BitCount = H.biBitCount;
  F.BottomUp = H.biHeight >= 0;
  F.Colors = Table;
  switch (F.BitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return 0;
  }
  H.biWidth = F.Width;
  H.biHeight = F.BottomUp ? F.Height : -F.Height;
  H.biPlanes = 1;
  H.biCompression = BI_RGB;
  H.biSizeImage = static_cast<DWORD>(F.ImageBytes());
  if (!Table.empty()) {
    H.biClrUsed = 0;
    std::memcpy(Info->bmiColors, Table.data(), Table.size() * sizeof(RGBQUAD));
  }
  if (!Bits) return 1;
  if (Start >= static_cast<UINT>(F.Height)) return 0;
  UINT N = std::min<UINT>(Lines, static_cast<UINT>(F.Height) - Start);
  B->Pull();
  DibRowWriter W(F);
  auto* Out = static_cast<uint8_t*>(Bits);
  for (UINT i = 0; i < N; ++i) {
    // Scan lines count from the bottom in a bottom-up DIB.
    int Visual = F.BottomUp ? F.Height - 1 - static_cast<int>(Start + i) : static_cast<int>(Start + i);
    W.Write(B->Pixels().Row(Visual), Out + static_cast<size_t>(i) * F.RowBytes());
  }
  return static_cast<int>(N);
}

int SetDIBits(HDC, HBITMAP Bitmap, UINT Start, UINT Lines, const void* Bits, const BITMAPINFO* Info, UINT) {
  auto B = BitmapOf(Bitmap);
  DibFormat F;
  if (!B || !Bits || !ParseDibFormat(Info, F)) return 0;
  if (F.Width != B->Width() || F.Height != B->Height() || Start >= static_cast<UINT>(F.Height)) return 0;
  UINT N = std::min<UINT>(Lines, static_cast<UINT>(F.Height) - Start);
  B->Pull();
  const auto* In = static_cast<const uint8_t*>(Bits);
  for (UINT i = 0; i < N; ++i) {
    int Visual = F.BottomUp ? F.Height - 1 - static_cast<int>(Start + i) : static_cast<int>(Start + i);
    ReadDibRow(F, In + static_cast<size_t>(i) * F.RowBytes(), B->Pixels().Row(Visual));
  }
  B->Push();
  return static_cast<int>(N);
}

UINT GetDIBColorTable(HDC Dc, UINT Start, UINT Entries, RGBQUAD* Colors) {
  auto D = DcOf(Dc);
  if (!D || !D->Memory() || !D->State().Bitmap || !Colors) return 0;
  auto& T = D->State().Bitmap->ColorTable();
  UINT N = 0;
  for (; Start + N < T.size() && N < Entries; ++N) Colors[N] = T[Start + N];
  return N;
}

UINT SetDIBColorTable(HDC Dc, UINT Start, UINT Entries, const RGBQUAD* Colors) {
  auto D = DcOf(Dc);
  if (!D || !D->Memory() || !D->State().Bitmap || !Colors || !D->State().Bitmap->IsDib()) return 0;
  auto& T = D->State().Bitmap->ColorTable();
  UINT N = 0;
  for (; Start + N < T.size() && N < Entries; ++N) T[Start + N] = Colors[N];
  return N;
}
