// The working bitmap's lifetime, pixel storage, assignment, stream and PCX formats and
// alpha checks.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Resources.h"
#include "skin/core/bitmaps/spEffBmp.h"

namespace {

// The live-bitmap list: made on first use, owned by the unit and freed by its finalization
// (FreeBitmapList). A plain pointer, so no destructor of its own competes with that
// finalization at exit; bitmaps destroyed later find no list.
std::vector<TspBitmap*>* BitmapList = nullptr;

void AddToBitmapList(TspBitmap* Bitmap) {
  if (!BitmapList) BitmapList = new std::vector<TspBitmap*>();
  if (std::find(BitmapList->begin(), BitmapList->end(), Bitmap) == BitmapList->end())
    BitmapList->push_back(Bitmap);
}

void RemoveFromBitmapList(TspBitmap* Bitmap) {
  if (!BitmapList) return;
  auto it = std::find(BitmapList->begin(), BitmapList->end(), Bitmap);
  if (it != BitmapList->end()) BitmapList->erase(it);
}

// |V| for a size argument; INT_MIN has no positive Integer and counts as unallocatable.
Int64 AbsSize(Integer V) { return V < 0 ? -static_cast<Int64>(V) : V; }

inline Byte AlphaOf(TspColor C) { return static_cast<Byte>(C >> 24); }

Integer ReadInt32(TStream& Stream) {
  int32_t v = 0;
  Stream.ReadBuffer(&v, sizeof v);
  return v;
}

void WriteInt32(TStream& Stream, Integer V) {
  int32_t v = V;
  Stream.WriteBuffer(&v, sizeof v);
}

// The 16-colour EGA palette that version-3 PCX files are drawn in. It is the file format's
// own and differs from the 16 system colours a new 4-bit TBitmap gets (0x800000 ...).
constexpr TspColor EgaPalette[16] = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
};

constexpr Integer PcxHeaderSize = 128;
constexpr Integer PcxPaletteSize = 768;

inline Word WordAt(const Byte* P) { return static_cast<Word>(P[0] | (P[1] << 8)); }

}  // namespace

// ---------------------------------------------------------------------------------------
// Lifetime and storage

TspBitmap::TspBitmap() {
  BITMAPINFOHEADER& h = FBitmapInfo.bmiHeader;
  h.biSize = 40;
  h.biPlanes = 1;
  h.biBitCount = 32;
  h.biCompression = BI_RGB;
}

TspBitmap::~TspBitmap() {
  RemoveFromBitmapList(this);
  if (FCanvas) {
    FCanvas->SetHandle(nullptr);
    FCanvas.reset();
  }
  ReleaseDib();
}

void TspBitmap::ReleaseDib() {
  if (FDC) DeleteDC(FDC);
  if (FHandle) DeleteObject(FHandle);
  FDC = nullptr;
  FHandle = nullptr;
  FBits = nullptr;
}

void TspBitmap::SetSize(Integer AWidth, Integer AHeight) {
  const Int64 w = AbsSize(AWidth), h = AbsSize(AHeight);
  if (w == 0 || h == 0 || (w == FWidth && h == FHeight)) return;

  if (FCanvas) FCanvas->SetHandle(nullptr);
  ReleaseDib();

  void* bits = nullptr;
  HBITMAP bmp = nullptr;
  if (w <= INT32_MAX && h <= INT32_MAX) {
    FBitmapInfo.bmiHeader.biWidth = static_cast<LONG>(w);
    FBitmapInfo.bmiHeader.biHeight = -static_cast<LONG>(h);
    bmp = CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  }
  if (!bits) {
    if (bmp) DeleteObject(bmp);
    throw Exception("Can't allocate the DIB handle");
  }
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(bmp);
    throw Exception("Can't create compatible DC");
  }
  if (!SelectObject(dc, bmp)) {
    DeleteDC(dc);
    DeleteObject(bmp);
    throw Exception("Can't bslect an object into DC");
  }
  FHandle = bmp;
  FDC = dc;
  FBits = static_cast<PspColorArray>(bits);
  AddToBitmapList(this);
  if (FCanvas) FCanvas->SetHandle(FDC);
  FWidth = static_cast<Integer>(w);
  FHeight = static_cast<Integer>(h);
}

void TspBitmap::Clear(TspColor Color) {
  if (!FBits) return;
  for (Integer y = 0; y < FHeight; ++y) PixelKernels.FillRow(GetScanLinePtr(y), FWidth, Color);
}

TCanvas* TspBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = CreateOwned<TCanvas>();
    FCanvas->SetHandle(FDC);
  }
  return FCanvas.get();
}

TspColor* TspBitmap::GetScanLinePtr(Integer Y) const {
  return FBits + static_cast<ptrdiff_t>(Y) * FWidth;
}

TspColor* TspBitmap::GetPixelPtr(Integer X, Integer Y) const {
  return FBits + static_cast<ptrdiff_t>(Y) * FWidth + X;
}

TspColor TspBitmap::GetPixelValue(Integer X, Integer Y) const {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return *GetPixelPtr(X, Y);
}

void TspBitmap::SetPixelValue(Integer X, Integer Y, TspColor Value) {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  *GetPixelPtr(X, Y) = Value;
}

TspBitmap* FindBitmapByDC(HDC DC) {
  if (!BitmapList || !DC) return nullptr;
  for (TspBitmap* b : *BitmapList)
    if (b->DC() == DC) return b;
  return nullptr;
}

void FreeBitmapList() {
  delete BitmapList;
  BitmapList = nullptr;
}

// ---------------------------------------------------------------------------------------
// Assignment

void TspBitmap::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TspBitmap*>(Source)) {
    if (src == this) return;
    SetSize(src->Width(), src->Height());
    if (Empty()) return;
    // An empty (or failed) source leaves the pixels alone; name and flags still follow.
    if (src->Bits() && src->Width() == FWidth && src->Height() == FHeight)
      PixelKernels.MoveRow(src->Bits(), FBits, FWidth * FHeight);
    FName = src->Name();
    FTransparent = src->Transparent();
    FAlphaBlend = src->AlphaBlend();
    return;
  }
  if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
    if (bmp->PixelFormat() == pf32bit && bmp->HandleType() == bmDIB && bmp->HandleAllocated()) {
      SetSize(bmp->Width(), bmp->Height());
      if (Empty() || bmp->Width() != FWidth || bmp->Height() != FHeight) return;
      for (Integer y = 0; y < FHeight; ++y)
        std::memcpy(GetScanLinePtr(y), bmp->ScanLine(y), static_cast<size_t>(FWidth) * 4);
      CheckingAlphaBlend();
      return;
    }
    SetSize(bmp->Width(), bmp->Height());
    if (Empty() || bmp->Width() != FWidth || bmp->Height() != FHeight) return;
    BitBlt(FDC, 0, 0, FWidth, FHeight, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
    SetAlpha(255);
    return;
  }
  if (auto* pic = dynamic_cast<TPicture*>(Source)) {
    TGraphic* g = pic->Graphic();
    if (!g) return;
    if (auto* bmp = dynamic_cast<TBitmap*>(g)) {
      SetSize(bmp->Width(), bmp->Height());
      if (Empty() || bmp->Width() != FWidth || bmp->Height() != FHeight) return;
      BitBlt(FDC, 0, 0, FWidth, FHeight, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
      SetAlpha(255);
      return;
    }
    Source = g;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetSize(g->Width(), g->Height());
    if (Empty() || g->Width() != FWidth || g->Height() != FHeight) return;
    DrawGraphic(g, Rect(0, 0, FWidth, FHeight));
    SetAlpha(255);
    return;
  }
  TPersistent::Assign(Source);
}

void TspBitmap::AssignTo(TPersistent* Dest) {
  TBitmap* target = dynamic_cast<TBitmap*>(Dest);
  if (!target)
    if (auto* pic = dynamic_cast<TPicture*>(Dest)) target = pic->Bitmap();
  if (!target) {
    TPersistent::AssignTo(Dest);
    return;
  }
  target->SetPixelFormat(pf32bit);
  target->SetSize(FWidth, FHeight);
  Draw(target->Canvas(), 0, 0);
}

void TspBitmap::LoadFromResource(const String& /*ResFileName*/, const String& ResName) {
  // Resources live in the program's own table: no resource file is loaded here, and
  // module 0 searches that table.
  HRSRC res = FindResourceW(nullptr, ResName.c_str(), RT_BITMAP);
  if (!res) return;
  HGLOBAL data = LoadResource(nullptr, res);
  const auto* bytes = static_cast<const Byte*>(LockResource(data));
  const DWORD size = SizeofResource(nullptr, res);
  if (!bytes || size < sizeof(BITMAPINFOHEADER)) return;
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes, sizeof header);

  auto bmp = CreateOwned<TBitmap>();
  const Int64 rowBytes = static_cast<Int64>(header.biWidth) * 4;
  const Int64 rows = header.biHeight < 0 ? -static_cast<Int64>(header.biHeight) : header.biHeight;
  if (header.biBitCount == 32 && header.biWidth > 0 && rows > 0 &&
      header.biSize + rowBytes * rows <= size) {
    // Straight from the packed DIB, alpha kept.
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(header.biWidth, static_cast<Integer>(rows));
    const Byte* pixels = bytes + header.biSize;
    for (Int64 y = 0; y < rows; ++y) {
      const Int64 from = header.biHeight > 0 ? rows - 1 - y : y;
      std::memcpy(bmp->ScanLine(static_cast<Integer>(y)), pixels + from * rowBytes,
                  static_cast<size_t>(rowBytes));
    }
  } else {
    HBITMAP h = LoadBitmapW(nullptr, ResName.c_str());
    if (!h) return;
    bmp->SetHandle(h);
  }
  Assign(bmp.get());
}

// ---------------------------------------------------------------------------------------
// Stream format

void WriteStringToStream(TStream& Stream, const String& S) {
  std::u16string units;
  for (char32_t c : Utf8ToCodePoints(S)) {
    if (c >= 0x10000) {
      c -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
  }
  WriteInt32(Stream, static_cast<Integer>(units.size()));
  for (char16_t u : units) {
    const Byte le[2] = {static_cast<Byte>(u & 0xFF), static_cast<Byte>(u >> 8)};
    Stream.WriteBuffer(le, 2);
  }
}

String ReadStringFromStream(TStream& Stream) {
  const Integer n = ReadInt32(Stream);
  // A count that the stream cannot hold is a damaged stream, not a reason to allocate.
  if (n < 0 || static_cast<Int64>(n) * 2 > Stream.Size() - Stream.Position())
    throw EReadError("Stream read error");
  std::vector<Byte> raw(static_cast<size_t>(n) * 2);
  if (n > 0) Stream.ReadBuffer(raw.data(), n * 2);
  std::u32string points;
  for (size_t i = 0; i < raw.size(); i += 2) {
    char32_t u = raw[i] | (raw[i + 1] << 8);
    if (u >= 0xD800 && u < 0xDC00 && i + 3 < raw.size()) {
      const char32_t low = raw[i + 2] | (raw[i + 3] << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    points.push_back(u);
  }
  return CodePointsToUtf8(points);
}

void TspBitmap::LoadFromStream(TStream& Stream) {
  FName = ReadStringFromStream(Stream);
  const Integer w = ReadInt32(Stream);
  const Integer h = ReadInt32(Stream);
  const Int64 absH = AbsSize(h);
  SetSize(w, h);
  // Pixels are read, and flipped, only into a bitmap of exactly the stored size: a stream
  // of width or height 0 leaves the size and the pixels as they were.
  if (!FBits || w != FWidth || absH != FHeight) return;
  const Integer rowBytes = FWidth * 4;
  for (Integer y = 0; y < FHeight; ++y)
    if (Stream.Read(GetScanLinePtr(y), rowBytes) < rowBytes) break;  // short: rest kept
  if (h <= 0) FlipVert();
}

void TspBitmap::SaveToStream(TStream& Stream) const {
  WriteStringToStream(Stream, FName);
  const bool hasPixels = FBits != nullptr;
  WriteInt32(Stream, hasPixels ? FWidth : 0);
  WriteInt32(Stream, hasPixels ? FHeight : 0);
  if (!hasPixels) return;
  for (Integer y = 0; y < FHeight; ++y) Stream.WriteBuffer(GetScanLinePtr(y), FWidth * 4);
}

void TspBitmap::FlipVert() {
  if (!FBits || FHeight < 2) return;
  std::vector<TspColor> row(static_cast<size_t>(FWidth));
  for (Integer i = 0; i < FHeight / 2; ++i) {
    TspColor* a = GetScanLinePtr(i);
    TspColor* b = GetScanLinePtr(FHeight - 1 - i);
    PixelKernels.MoveRow(a, row.data(), FWidth);
    PixelKernels.MoveRow(b, a, FWidth);
    PixelKernels.MoveRow(row.data(), b, FWidth);
  }
}

// ---------------------------------------------------------------------------------------
// PCX

void TspBitmap::LoadFromPcxStream(TStream& Stream) {
  Byte header[PcxHeaderSize];
  Stream.ReadBuffer(header, PcxHeaderSize);
  const Int64 dataSize = Stream.Size() - Stream.Position();
  if (header[0] != 10 && header[0] != 0xCD) return;

  TspColor palette[256] = {};
  if (header[1] == 3) {
    std::copy(std::begin(EgaPalette), std::end(EgaPalette), palette);
  } else {
    const Int64 saved = Stream.Position();
    const Int64 at = Stream.Size() - (PcxPaletteSize + 1);
    if (at < 0) throw EReadError("Stream read error");
    Stream.SetPosition(at);
    Byte marker, triples[PcxPaletteSize];
    Stream.ReadBuffer(&marker, 1);
    Stream.ReadBuffer(triples, PcxPaletteSize);
    for (int i = 0; i < 256; ++i)
      palette[i] = (static_cast<TspColor>(triples[3 * i]) << 16) |
                   (static_cast<TspColor>(triples[3 * i + 1]) << 8) | triples[3 * i + 2];
    Stream.SetPosition(saved);
  }

  const Integer width = WordAt(header + 8) - WordAt(header + 4) + 1;
  const Integer height = WordAt(header + 10) - WordAt(header + 6) + 1;
  const Int64 lineBytes = static_cast<Int64>(header[65]) * WordAt(header + 66);
  // A window with Xmax < Xmin (or Ymax < Ymin) holds no picture.
  if (width <= 0 || height <= 0) return;

  std::vector<Byte> data(static_cast<size_t>(std::max<Int64>(dataSize, 0)));
  if (!data.empty()) Stream.ReadBuffer(data.data(), static_cast<Integer>(data.size()));

  // The decoded lines; data that ends early leaves the rest 0.
  std::vector<Byte> lines(static_cast<size_t>(lineBytes * height), 0);
  if (header[2] == 1) {
    size_t out = 0, in = 0;
    while (out < lines.size() && in < data.size()) {
      const Byte b = data[in++];
      if (b >= 0xC0) {
        if (in >= data.size()) break;
        const Byte value = data[in++];
        const size_t run = std::min<size_t>(b & 63, lines.size() - out);
        std::fill_n(lines.begin() + static_cast<ptrdiff_t>(out), run, value);
        out += run;
      } else {
        lines[out++] = b;
      }
    }
  } else {
    std::copy_n(data.begin(), std::min(data.size(), lines.size()), lines.begin());
  }

  // The pixels of the palettised picture as an opaque bitmap.
  SetSize(width, height);
  if (Empty() || FWidth != width || FHeight != height) return;
  for (Integer y = 0; y < height; ++y) {
    TspColor* row = GetScanLinePtr(y);
    const Int64 start = static_cast<Int64>(y) * lineBytes;
    for (Integer x = 0; x < width; ++x) {
      const Int64 at = start + x;
      const Byte index = at < static_cast<Int64>(lines.size()) ? lines[static_cast<size_t>(at)] : 0;
      row[x] = palette[index] | 0xFF000000;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Drawing a graphic

void TspBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect) {
  if (!Graphic || !FBits) return;
  auto tmp = CreateOwned<TBitmap>();
  tmp->SetPixelFormat(pf32bit);
  tmp->SetSize(FWidth, FHeight);
  TCanvas* c = tmp->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(-1, -1, FWidth + 1, FHeight + 1));
  c->StretchDraw(DstRect, Graphic);
  for (Integer y = 0; y < FHeight; ++y) {
    const auto* src = static_cast<const TspColor*>(tmp->ScanLine(y));
    for (Integer x = 0; x < FWidth; ++x)
      if ((src[x] & 0xFFFFFF) != 0xFF00FF) SetPixelValue(x, y, src[x]);
  }
}

// ---------------------------------------------------------------------------------------
// Alpha checks

void TspBitmap::CheckRGBA() {
  if (!FBits || FWidth == 0 || FHeight == 0) return;
  const Int64 n = static_cast<Int64>(FWidth) * FHeight;
  for (Int64 i = 0; i < n; ++i) {
    const TspColor c = FBits[i];
    const TspColor a = c >> 24;
    const TspColor r = std::min((c >> 16) & 0xFF, a);
    const TspColor g = std::min((c >> 8) & 0xFF, a);
    const TspColor b = std::min(c & 0xFF, a);
    FBits[i] = (a << 24) | (r << 16) | (g << 8) | b;
  }
}

void TspBitmap::CheckingAlphaBlend() {
  FAlphaBlend = false;
  if (!FBits) return;
  const Int64 n = static_cast<Int64>(FWidth) * FHeight;
  for (Int64 i = 0; i < n; ++i) {
    const Byte a = AlphaOf(FBits[i]);
    if (a != 0 && a != 255) {
      FAlphaBlend = true;
      return;
    }
  }
}

void TspBitmap::CheckingAlphaBlend(const TRect& /*ARect*/) { CheckingAlphaBlend(); }

void TspBitmap::CheckingTransparent(TspColor Color) {
  FTransparent = false;
  if (!FBits) return;
  const int cr = (Color >> 16) & 0xFF, cg = (Color >> 8) & 0xFF, cb = Color & 0xFF;
  const Int64 n = static_cast<Int64>(FWidth) * FHeight;
  for (Int64 i = 0; i < n; ++i) {
    const TspColor c = FBits[i];
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    if (std::abs(r - cr) <= 5 && std::abs(g - cg) <= 5 && std::abs(b - cb) <= 5) {
      FBits[i] = spTransparentKey;
      FTransparent = true;
    }
  }
}

void TspBitmap::CheckingTransparent(const TRect& /*ARect*/, TspColor Color) {
  CheckingTransparent(Color);
}

void TspBitmap::SetAlpha(Byte Alpha) {
  if (!FBits) return;
  for (Integer y = 0; y < FHeight; ++y) PixelKernels.SetRowAlpha(GetScanLinePtr(y), FWidth, Alpha);
}

void TspBitmap::SetAlpha(Byte Alpha, const TRect& Rect) {
  if (!FBits) return;
  if (Rect.Right == Rect.Left || Rect.Bottom == Rect.Top) return;
  const Integer left = std::max(Rect.Left, 0), top = std::max(Rect.Top, 0);
  const Integer right = std::min(Rect.Right, FWidth), bottom = std::min(Rect.Bottom, FHeight);
  if (right <= left || bottom <= top) return;
  PixelKernels.SetRectAlpha(FBits, FWidth, FHeight, left, top, right - 1, bottom - 1, Alpha);
}
