// TBitmap: a picture on a DIB section of the raster core, its canvas on a memory DC, pixel
// format conversion and the BMP file image.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/rtl/Format.h"
#include "platform/ui/BmpCodec.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/Resources.h"

namespace vantrel::ui {

// The pixels behind a non-empty TBitmap. Rows are bottom-up for every DIB the bitmap
// makes itself; an adopted handle may be top-down.
struct BitmapImage {
  HBITMAP Handle = nullptr;  // owned
  uint8_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  int BitCount = 32;
  bool BottomUp = true;
  bool Rgb565 = false;

  BitmapImage() = default;
  BitmapImage(const BitmapImage&) = delete;
  BitmapImage& operator=(const BitmapImage&) = delete;
  ~BitmapImage() {
    if (Handle) DeleteObject(Handle);
  }
  size_t Stride() const { return static_cast<size_t>(DibRowBytes(Width, BitCount)); }
  uint8_t* Row(int y) const { return Bits + static_cast<size_t>(BottomUp ? Height - 1 - y : y) * Stride(); }
  HBITMAP Release() {
    HBITMAP h = Handle;
    Handle = nullptr;
    return h;
  }
};

}  // namespace vantrel::ui

using vantrel::ui::BitmapImage;

namespace {

constexpr char kScanLineError[] = "Scan line index out of range";
constexpr char kInvalidBitmap[] = "Bitmap image is not valid";

int BitCountOf(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

TPixelFormat FormatOfBits(int BitCount, bool Rgb565) {
  switch (BitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return Rgb565 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
  }
}

RGBQUAD Quad(uint8_t R, uint8_t G, uint8_t B) { return RGBQUAD{B, G, R, 0}; }

// Default colour tables: black and white; the 16 VGA colours; for 8 bpp the packed 3-3-2
// layout (red in bits 0-2, green 3-5, blue 6-7), which matches the 8-bit BGR pictures the
// media engine converts into such bitmaps.
std::vector<RGBQUAD> DefaultTable(int BitCount) {
  std::vector<RGBQUAD> t;
  if (BitCount == 1) {
    t = {Quad(0, 0, 0), Quad(255, 255, 255)};
  } else if (BitCount == 4) {
    t = {Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),   Quad(128, 128, 0),
         Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128), Quad(128, 128, 128),
         Quad(192, 192, 192), Quad(255, 0, 0),   Quad(0, 255, 0),   Quad(255, 255, 0),
         Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255)};
  } else if (BitCount == 8) {
    for (int i = 0; i < 256; ++i)
      t.push_back(Quad(static_cast<uint8_t>((i & 7) * 255 / 7), static_cast<uint8_t>(((i >> 3) & 7) * 255 / 7),
                       static_cast<uint8_t>(((i >> 6) & 3) * 255 / 3)));
  }
  return t;
}

std::vector<RGBQUAD> TableOf(const BitmapImage& Image) {
  if (Image.BitCount > 8) return {};
  auto obj = vantrel::win::BitmapOf(Image.Handle);
  return obj ? obj->ColorTable() : std::vector<RGBQUAD>{};
}

int IndexAt(const uint8_t* Row, int X, int BitCount) {
  switch (BitCount) {
    case 1: return (Row[X >> 3] >> (7 - (X & 7))) & 1;
    case 4: return (X & 1) ? (Row[X >> 1] & 0x0F) : (Row[X >> 1] >> 4);
    default: return Row[X];
  }
}

void SetIndexAt(uint8_t* Row, int X, int BitCount, int Index) {
  switch (BitCount) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (X & 7));
      Row[X >> 3] = static_cast<uint8_t>(Index ? (Row[X >> 3] | bit) : (Row[X >> 3] & ~bit));
      break;
    }
    case 4:
      if (X & 1)
        Row[X >> 1] = static_cast<uint8_t>((Row[X >> 1] & 0xF0) | (Index & 0x0F));
      else
        Row[X >> 1] = static_cast<uint8_t>((Row[X >> 1] & 0x0F) | ((Index & 0x0F) << 4));
      break;
    default: Row[X] = static_cast<uint8_t>(Index);
  }
}

// Reads and writes pixels of any depth as 0xAARRGGBB (alpha is kept only by 32 bpp).
class PixelAccess {
 public:
  explicit PixelAccess(const BitmapImage& Image) : FImage(Image), FTable(TableOf(Image)) {}

  uint32_t Get(int X, int Y) const {
    const uint8_t* r = FImage.Row(Y);
    switch (FImage.BitCount) {
      case 32: {
        uint32_t v;
        std::memcpy(&v, r + X * 4, 4);
        return v;
      }
      case 24: return (uint32_t{r[X * 3 + 2]} << 16) | (uint32_t{r[X * 3 + 1]} << 8) | r[X * 3];
      case 16: {
        const uint32_t v = r[X * 2] | (uint32_t{r[X * 2 + 1]} << 8);
        uint32_t red, green, blue = v & 0x1F;
        if (FImage.Rgb565) {
          red = (v >> 11) & 0x1F;
          green = (v >> 5) & 0x3F;
          green = (green << 2) | (green >> 4);
        } else {
          red = (v >> 10) & 0x1F;
          green = (v >> 5) & 0x1F;
          green = (green << 3) | (green >> 2);
        }
        red = (red << 3) | (red >> 2);
        blue = (blue << 3) | (blue >> 2);
        return (red << 16) | (green << 8) | blue;
      }
      default: {
        const size_t i = static_cast<size_t>(IndexAt(r, X, FImage.BitCount));
        if (i >= FTable.size()) return 0;
        const RGBQUAD& q = FTable[i];
        return (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
      }
    }
  }

  void Set(int X, int Y, uint32_t Argb) {
    uint8_t* r = FImage.Row(Y);
    const uint8_t red = static_cast<uint8_t>(Argb >> 16), green = static_cast<uint8_t>(Argb >> 8),
                  blue = static_cast<uint8_t>(Argb);
    switch (FImage.BitCount) {
      case 32: std::memcpy(r + X * 4, &Argb, 4); break;
      case 24:
        r[X * 3] = blue;
        r[X * 3 + 1] = green;
        r[X * 3 + 2] = red;
        break;
      case 16: {
        const uint32_t v = FImage.Rgb565 ? ((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3)
                                         : ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
        r[X * 2] = static_cast<uint8_t>(v);
        r[X * 2 + 1] = static_cast<uint8_t>(v >> 8);
        break;
      }
      default: SetIndexAt(r, X, FImage.BitCount, Nearest(Argb & 0xFFFFFF));
    }
  }

 private:
  int Nearest(uint32_t Rgb) {
    auto it = FCache.find(Rgb);
    if (it != FCache.end()) return it->second;
    const int red = (Rgb >> 16) & 0xFF, green = (Rgb >> 8) & 0xFF, blue = Rgb & 0xFF;
    int best = 0;
    long bestDist = -1;
    for (size_t i = 0; i < FTable.size(); ++i) {
      const long dr = FTable[i].rgbRed - red, dg = FTable[i].rgbGreen - green, db = FTable[i].rgbBlue - blue;
      const long d = dr * dr + dg * dg + db * db;
      if (bestDist < 0 || d < bestDist) {
        bestDist = d;
        best = static_cast<int>(i);
        if (d == 0) break;
      }
    }
    FCache.emplace(Rgb, best);
    return best;
  }

  const BitmapImage& FImage;
  std::vector<RGBQUAD> FTable;
  std::unordered_map<uint32_t, int> FCache;
};

// A new bottom-up DIB section. Pixels are zero, or not set at all for a caller that writes
// every byte of them next (Cleared false).
std::unique_ptr<BitmapImage> CreateDib(int Width, int Height, int BitCount, bool Rgb565,
                                       const std::vector<RGBQUAD>& Table, bool Cleared = true) {
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
  } info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = Width;
  info.Header.biHeight = Height;
  info.Header.biPlanes = 1;
  info.Header.biBitCount = static_cast<WORD>(BitCount);
  info.Header.biCompression = BI_RGB;
  if (BitCount == 16 && Rgb565) {
    info.Header.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.Colors, masks, sizeof masks);
  } else if (BitCount <= 8) {
    const size_t n = std::min<size_t>(Table.size(), size_t{1} << BitCount);
    info.Header.biClrUsed = static_cast<DWORD>(n);
    std::copy_n(Table.begin(), n, info.Colors);
  }
  void* bits = nullptr;
  const auto* header = reinterpret_cast<const BITMAPINFO*>(&info);
  HBITMAP h = Cleared ? CreateDIBSection(nullptr, header, DIB_RGB_COLORS, &bits, nullptr, 0)
                      : vantrel::win::CreateDibSectionForOverwrite(header, &bits);
  if (!h || !bits) {
    if (h) DeleteObject(h);
    throw EOutOfResources("Out of system resources");
  }
  auto image = std::make_unique<BitmapImage>();
  image->Handle = h;
  image->Bits = static_cast<uint8_t*>(bits);
  image->Width = Width;
  image->Height = Height;
  image->BitCount = BitCount;
  image->Rgb565 = BitCount == 16 && Rgb565;
  return image;
}

void FillWhite(BitmapImage& Image) {
  if (Image.BitCount == 32) {
    for (int y = 0; y < Image.Height; ++y) std::fill_n(reinterpret_cast<uint32_t*>(Image.Row(y)), Image.Width, 0x00FFFFFFu);
    return;
  }
  if (Image.BitCount == 24) {
    for (int y = 0; y < Image.Height; ++y) std::memset(Image.Row(y), 0xFF, static_cast<size_t>(Image.Width) * 3);
    return;
  }
  PixelAccess px(Image);
  for (int y = 0; y < Image.Height; ++y)
    for (int x = 0; x < Image.Width; ++x) px.Set(x, y, 0xFFFFFF);
}

bool SameTable(const std::vector<RGBQUAD>& A, const std::vector<RGBQUAD>& B) {
  return A.size() == B.size() && (A.empty() || std::memcmp(A.data(), B.data(), A.size() * sizeof(RGBQUAD)) == 0);
}

// Copies the overlapping top-left area of Src into Dst, converting across depths.
void CopyPixels(const BitmapImage& Src, BitmapImage& Dst) {
  const int w = std::min(Src.Width, Dst.Width), h = std::min(Src.Height, Dst.Height);
  if (Src.BitCount == Dst.BitCount && Src.Rgb565 == Dst.Rgb565 &&
      (Src.BitCount > 8 || SameTable(TableOf(Src), TableOf(Dst)))) {
    if (Src.BitCount >= 8) {
      const size_t bytes = static_cast<size_t>(w) * (Src.BitCount / 8);
      for (int y = 0; y < h; ++y) std::memcpy(Dst.Row(y), Src.Row(y), bytes);
    } else {
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetIndexAt(Dst.Row(y), x, Dst.BitCount, IndexAt(Src.Row(y), x, Src.BitCount));
    }
    return;
  }
  PixelAccess in(Src), out(Dst);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.Set(x, y, in.Get(x, y));
}

// Adopts a bitmap handle of the raster core (a DIB section of any depth and orientation,
// or a device bitmap).
std::unique_ptr<BitmapImage> AdoptHandle(HBITMAP Handle, bool& IsDdb) {
  auto obj = vantrel::win::BitmapOf(Handle);
  if (!obj) throw EInvalidGraphic("Invalid bitmap handle");
  if (!obj->IsDib() || !obj->Bits()) {
    // A device bitmap has no caller-visible bits: its pixels move into a 32 bpp DIB of
    // our own and the handle given is freed.
    auto image = CreateDib(obj->Width(), obj->Height(), 32, false, {});
    for (int y = 0; y < image->Height; ++y)
      std::memcpy(image->Row(y), obj->Pixels().Row(y), static_cast<size_t>(image->Width) * 4);
    DeleteObject(Handle);
    IsDdb = true;
    return image;
  }
  auto image = std::make_unique<BitmapImage>();
  image->Handle = Handle;
  image->Bits = obj->Bits();
  image->Width = obj->Width();
  image->Height = obj->Height();
  image->BitCount = obj->BitCount();
  image->BottomUp = obj->BottomUp();
  if (obj->BitCount() == 16) {
    DIBSECTION ds{};
    if (GetObject(Handle, sizeof ds, &ds) >= static_cast<int>(sizeof ds) && ds.dsBmih.biCompression == BI_BITFIELDS)
      image->Rgb565 = ds.dsBitfields[1] == 0x07E0;
  }
  IsDdb = false;
  return image;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The bitmap's canvas: a memory DC with the bitmap selected, made on first use and
// dropped whenever the bitmap gets new pixels.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    if (!FDC) return;
    HDC dc = FDC;
    FDC = nullptr;
    SetHandle(nullptr);
    if (FOldBitmap) SelectObject(dc, FOldBitmap);
    FOldBitmap = nullptr;
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    if (FBitmap->FImage) FOldBitmap = SelectObject(dc, FBitmap->FImage->Handle);
    FDC = dc;
    SetHandle(dc);
  }

 private:
  TBitmap* FBitmap;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  FreeCanvasContext();
  FCanvas.reset();
}

TOwned<TGraphic> TBitmap::NewEmpty() const { return CreateOwned<TBitmap>(); }

void TBitmap::FreeCanvasContext() {
  if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
}

void TBitmap::ReplaceImage(std::unique_ptr<BitmapImage> Image) {
  FreeCanvasContext();
  FImage = std::move(Image);
}

std::unique_ptr<BitmapImage> TBitmap::NewImage(Integer AWidth, Integer AHeight) {
  const int bits = BitCountOf(FPixelFormat);
  std::vector<RGBQUAD> table;
  if (bits <= 8) {
    if (FImage && FImage->BitCount == bits) table = TableOf(*FImage);
    if (table.empty()) table = DefaultTable(bits);
  }
  auto image = CreateDib(AWidth, AHeight, bits, FPixelFormat == pf16bit, table);
  FillWhite(*image);
  return image;
}

bool TBitmap::Empty() const { return !FImage; }
Integer TBitmap::Width() const { return FWidth; }
Integer TBitmap::Height() const { return FHeight; }
void TBitmap::SetWidth(Integer Value) { SetSize(Value, FHeight); }
void TBitmap::SetHeight(Integer Value) { SetSize(FWidth, Value); }

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  std::unique_ptr<BitmapImage> image;
  if (AWidth > 0 && AHeight > 0) {
    image = NewImage(AWidth, AHeight);
    if (FImage) CopyPixels(*FImage, *image);
  }
  ReplaceImage(std::move(image));
  FWidth = AWidth;
  FHeight = AHeight;
  Changed(this);
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(this);
    FCanvas->OnChange = [this](TObject* Sender) { Changed(Sender); };
  }
  return FCanvas.get();
}

HBITMAP TBitmap::Handle() { return FImage ? FImage->Handle : nullptr; }

bool TBitmap::HandleAllocated() const { return FImage != nullptr; }

void TBitmap::SetHandle(HBITMAP Value) {
  if (FImage && FImage->Handle == Value) return;
  if (!Value) {
    ReplaceImage(nullptr);
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  bool ddb = false;
  auto image = AdoptHandle(Value, ddb);
  FPixelFormat = ddb ? pfDevice : FormatOfBits(image->BitCount, image->Rgb565);
  FWidth = image->Width;
  FHeight = image->Height;
  ReplaceImage(std::move(image));
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  if (!FImage) return nullptr;
  FreeCanvasContext();
  HBITMAP h = FImage->Release();
  FImage.reset();
  FWidth = FHeight = 0;
  return h;
}

TBitmapHandleType TBitmap::HandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == HandleType()) return;
  if (Value == bmDDB) {
    SetPixelFormat(pfDevice);
    return;
  }
  // A device bitmap becomes a DIB of its own depth (32 bpp, or 1 bpp for a monochrome one).
  SetPixelFormat(FImage ? FormatOfBits(FImage->BitCount, FImage->Rgb565) : pf32bit);
}

TPixelFormat TBitmap::PixelFormat() const { return FPixelFormat; }

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == pfCustom) throw EInvalidGraphic("Invalid pixel format");
  if (Value == FPixelFormat) return;
  const TPixelFormat old = FPixelFormat;
  FPixelFormat = Value;
  if (!FImage) return;
  // A device bitmap and a 32 bpp DIB share their layout: only the kind changes.
  const bool sameLayout = BitCountOf(Value) == FImage->BitCount && FImage->BottomUp &&
                          FImage->Rgb565 == (Value == pf16bit) && FImage->BitCount > 8;
  if (sameLayout && (old == pfDevice || Value == pfDevice || BitCountOf(old) == BitCountOf(Value))) {
    Changed(this);
    return;
  }
  auto image = CreateDib(FWidth, FHeight, BitCountOf(Value), Value == pf16bit, DefaultTable(BitCountOf(Value)));
  CopyPixels(*FImage, *image);
  ReplaceImage(std::move(image));
  Changed(this);
}

void* TBitmap::ScanLine(Integer Row) {
  if (!FImage || Row < 0 || Row >= FHeight) throw EInvalidGraphicOperation(kScanLineError);
  if (FPixelFormat == pfDevice) SetHandleType(bmDIB);
  return FImage->Row(Row);
}

std::vector<TColor> TBitmap::ColorTable() const {
  std::vector<TColor> out;
  if (!FImage) return out;
  for (const RGBQUAD& q : TableOf(*FImage)) out.push_back(static_cast<TColor>(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)));
  return out;
}

void TBitmap::SetColorTable(const std::vector<TColor>& Colors) {
  if (!FImage || FImage->BitCount > 8) return;
  auto obj = vantrel::win::BitmapOf(FImage->Handle);
  if (!obj) return;
  auto& table = obj->ColorTable();
  const size_t n = std::min(Colors.size(), size_t{1} << FImage->BitCount);
  table.resize(std::max(table.size(), n));
  for (size_t i = 0; i < n; ++i) {
    const COLORREF c = static_cast<COLORREF>(ColorToRGB(Colors[i]));
    table[i] = Quad(GetRValue(c), GetGValue(c), GetBValue(c));
  }
  Changed(this);
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (!FImage) return clDefault;
  const uint32_t p = PixelAccess(*FImage).Get(0, FHeight - 1);
  return static_cast<TColor>(RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p)));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor && FTransparentMode == (Value == clDefault ? tmAuto : tmFixed)) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto) {
    SetTransparentColor(clDefault);
  } else {
    SetTransparentColor(TransparentColor());
  }
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    ReplaceImage(nullptr);
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  auto* src = dynamic_cast<TBitmap*>(Source);
  if (!src) {
    TGraphic::Assign(Source);
    return;
  }
  if (src == this) return;
  std::unique_ptr<BitmapImage> image;
  if (src->FImage) {
    const BitmapImage& s = *src->FImage;
    image = CreateDib(s.Width, s.Height, s.BitCount, s.Rgb565, TableOf(s));
    CopyPixels(s, *image);
  }
  ReplaceImage(std::move(image));
  FWidth = src->FWidth;
  FHeight = src->FHeight;
  FPixelFormat = src->FPixelFormat;
  if (FImage && FPixelFormat != pfDevice && FormatOfBits(FImage->BitCount, FImage->Rgb565) != FPixelFormat)
    FPixelFormat = FormatOfBits(FImage->BitCount, FImage->Rgb565);
  FTransparentColor = src->FTransparentColor;
  FTransparentMode = src->FTransparentMode;
  TGraphic::SetTransparent(src->Transparent());
  Changed(this);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  if (Stream->Size() - Stream->Position() <= 0) {
    Assign(nullptr);
    return;
  }
  ReadBmpImage([Stream](void* Buffer, size_t Count) { Stream->ReadBuffer(Buffer, static_cast<Integer>(Count)); },
               static_cast<uint64_t>(Stream->Size() - Stream->Position()));
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  HRSRC res = FindResource(Instance, ResName.c_str(), RT_BITMAP);
  if (!res) throw EResNotFound(Format("Resource %s not found", {ResName}));
  HGLOBAL data = LoadResource(Instance, res);
  const auto* packed = static_cast<const uint8_t*>(LockResource(data));
  const DWORD size = SizeofResource(Instance, res);
  if (!packed || size < 16) throw EInvalidGraphic(kInvalidBitmap);
  // A packed DIB with a file header in front is a BMP file image.
  const auto le32 = [&](size_t At) -> uint32_t {
    if (At + 4 > size) return 0;
    return packed[At] | (packed[At + 1] << 8) | (packed[At + 2] << 16) | (static_cast<uint32_t>(packed[At + 3]) << 24);
  };
  const uint32_t headerSize = le32(0);
  const bool core = headerSize == 12;
  const uint32_t bitCount = core ? (packed[10] | (packed[11] << 8)) : (le32(14) & 0xFFFF);
  const uint32_t compression = core ? BI_RGB : le32(16);
  const uint32_t clrUsed = core ? 0 : le32(32);
  const uint32_t colors = clrUsed ? clrUsed : (bitCount <= 8 ? 1u << bitCount : 0);
  const uint32_t masks = compression == BI_BITFIELDS && headerSize == 40 ? 12 : 0;
  const uint32_t offBits = 14 + headerSize + masks + colors * (core ? 3 : 4);
  std::vector<uint8_t> file(14 + static_cast<size_t>(size));
  file[0] = 'B';
  file[1] = 'M';
  const uint32_t fields[3] = {static_cast<uint32_t>(file.size()), 0, offBits};
  for (int i = 0; i < 3; ++i)
    for (int b = 0; b < 4; ++b) file[2 + i * 4 + b] = static_cast<uint8_t>(fields[i] >> (8 * b));
  std::memcpy(file.data() + 14, packed, size);
  size_t at = 0;
  ReadBmpImage([&](void* Buffer, size_t Count) {
    if (at + Count > file.size()) throw EReadError("Stream read error");
    std::memcpy(Buffer, file.data() + at, Count);
    at += Count;
  }, file.size());
}

void TBitmap::ReadBmpImage(const std::function<void(void*, size_t)>& Read, uint64_t Available) {
  // The rows are read straight into the new section's bits.
  std::unique_ptr<BitmapImage> image;
  const auto Target = [&image](const vantrel::ui::DibImage& Dib) {
    std::vector<RGBQUAD> table;
    for (const auto& c : Dib.Colors) table.push_back(RGBQUAD{c.Blue, c.Green, c.Red, 0});
    image = CreateDib(Dib.Width, Dib.Height, Dib.BitCount, Dib.Rgb565, table, false);
    return image->Bits;
  };
  vantrel::ui::DibImage dib;
  try {
    dib = vantrel::ui::ReadBmp(Read, Available, Target);
  } catch (const EReadError&) {
    throw EInvalidGraphic(kInvalidBitmap);
  }
  FPixelFormat = FormatOfBits(dib.BitCount, dib.Rgb565);
  FWidth = dib.Width;
  FHeight = dib.Height;
  ReplaceImage(std::move(image));
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (!FImage) return;
  const BitmapImage& s = *FImage;
  vantrel::ui::DibImage dib;
  dib.Width = s.Width;
  dib.Height = s.Height;
  dib.BitCount = s.BitCount;
  dib.Rgb565 = s.Rgb565;
  for (const RGBQUAD& q : TableOf(s)) dib.Colors.push_back({q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
  dib.Bits.resize(s.Stride() * s.Height);
  for (int y = 0; y < s.Height; ++y) std::memcpy(dib.Row(y), s.Row(y), s.Stride());
  const auto bytes = vantrel::ui::WriteBmp(dib);
  Stream->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FImage) return;
  HDC src = Canvas()->Handle();
  HDC dst = ACanvas->Handle();
  const int w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  if (Transparent()) {
    TransparentBlt(dst, Rect.Left, Rect.Top, w, h, src, 0, 0, FWidth, FHeight,
                   static_cast<UINT>(ColorToRGB(TransparentColor())) & 0xFFFFFF);
  } else if (w == FWidth && h == FHeight) {
    BitBlt(dst, Rect.Left, Rect.Top, w, h, src, 0, 0, static_cast<DWORD>(ACanvas->CopyMode()));
  } else {
    const int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, Rect.Left, Rect.Top, w, h, src, 0, 0, FWidth, FHeight, static_cast<DWORD>(ACanvas->CopyMode()));
    SetStretchBltMode(dst, oldMode);
  }
}

void TBitmap::Changed(TObject* Sender) { TGraphic::Changed(Sender); }
