// TPngImage on libpng. libpng reports errors by longjmp: the functions that call into it
// keep no C++ objects of their own (buffers belong to their callers), and stream errors
// inside the I/O callbacks are turned into libpng errors after the C++ handler has ended.
#include "platform/ui/PngImage.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include "platform/rtl/Format.h"
#include "platform/win/Resources.h"

namespace {

constexpr char kPngScanLineError[] = "Scan line index out of range";
constexpr png_uint_32 kPngMaxSide = 1u << 16;
constexpr uint64_t kMaxPixels = uint64_t{1} << 28;

struct IoContext {
  TStream* Stream = nullptr;
  char Message[256] = {};
  void SetMessage(const char* Text) {
    if (!Message[0]) std::strncpy(Message, Text, sizeof Message - 1);
  }
};

[[noreturn]] void OnError(png_structp Png, png_const_charp Message) {
  if (auto* ctx = static_cast<IoContext*>(png_get_error_ptr(Png))) ctx->SetMessage(Message);
  png_longjmp(Png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp Png, png_bytep Data, size_t Length) {
  auto* ctx = static_cast<IoContext*>(png_get_io_ptr(Png));
  bool failed = false;
  try {
    ctx->Stream->ReadBuffer(Data, static_cast<Integer>(Length));
  } catch (const std::exception& e) {
    ctx->SetMessage(e.what());
    failed = true;
  } catch (...) {
    failed = true;
  }
  if (failed) png_error(Png, "read error");
}

void OnWrite(png_structp Png, png_bytep Data, size_t Length) {
  auto* ctx = static_cast<IoContext*>(png_get_io_ptr(Png));
  bool failed = false;
  try {
    ctx->Stream->WriteBuffer(Data, static_cast<Integer>(Length));
  } catch (const std::exception& e) {
    ctx->SetMessage(e.what());
    failed = true;
  } catch (...) {
    failed = true;
  }
  if (failed) png_error(Png, "write error");
}

void OnFlush(png_structp) {}

struct ReadHandles {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  ~ReadHandles() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
};

struct WriteHandles {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  ~WriteHandles() { png_destroy_write_struct(&Png, Info ? &Info : nullptr); }
};

// What the file says, after the transformations to 8-bit samples.
struct FileInfo {
  png_uint_32 Width = 0, Height = 0;
  int BitDepth = 0, ColorType = 0;
  size_t RowBytes = 0;
  png_colorp Palette = nullptr;
  int PaletteCount = 0;
  png_bytep TransAlpha = nullptr;
  int TransCount = 0;
  png_color_16p TransColor = nullptr;
};

bool ReadInfo(ReadHandles& H, FileInfo& F) {
  if (setjmp(png_jmpbuf(H.Png))) return false;
  png_set_sig_bytes(H.Png, 8);
  png_set_user_limits(H.Png, kPngMaxSide, kPngMaxSide);
  png_read_info(H.Png, H.Info);
  int interlace = 0;
  png_get_IHDR(H.Png, H.Info, &F.Width, &F.Height, &F.BitDepth, &F.ColorType, &interlace, nullptr, nullptr);
  if (F.BitDepth == 16) png_set_strip_16(H.Png);
  if (F.BitDepth < 8) {
    if (F.ColorType == PNG_COLOR_TYPE_PALETTE)
      png_set_packing(H.Png);
    else
      png_set_expand_gray_1_2_4_to_8(H.Png);
  }
  if (F.ColorType & PNG_COLOR_MASK_COLOR) png_set_bgr(H.Png);
  png_set_interlace_handling(H.Png);
  png_read_update_info(H.Png, H.Info);
  F.RowBytes = png_get_rowbytes(H.Png, H.Info);
  if (F.ColorType == PNG_COLOR_TYPE_PALETTE) png_get_PLTE(H.Png, H.Info, &F.Palette, &F.PaletteCount);
  if (png_get_valid(H.Png, H.Info, PNG_INFO_tRNS))
    png_get_tRNS(H.Png, H.Info, &F.TransAlpha, &F.TransCount, &F.TransColor);
  return true;
}

bool ReadRows(ReadHandles& H, png_bytepp Rows) {
  if (setjmp(png_jmpbuf(H.Png))) return false;
  png_read_image(H.Png, Rows);
  png_read_end(H.Png, nullptr);
  return true;
}

struct WriteInput {
  png_uint_32 Width = 0, Height = 0;
  int ColorType = 0;
  png_color Palette[256] = {};
  int PaletteCount = 0;
  png_byte TransAlpha[256] = {};
  int TransCount = 0;
  bool HasTransColor = false;
  png_color_16 TransColor = {};
  png_bytepp Rows = nullptr;
};

bool WritePng(WriteHandles& H, WriteInput& In) {
  if (setjmp(png_jmpbuf(H.Png))) return false;
  png_set_IHDR(H.Png, H.Info, In.Width, In.Height, 8, In.ColorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (In.ColorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(H.Png, H.Info, In.Palette, In.PaletteCount);
  if (In.TransCount > 0)
    png_set_tRNS(H.Png, H.Info, In.TransAlpha, In.TransCount, nullptr);
  else if (In.HasTransColor)
    png_set_tRNS(H.Png, H.Info, nullptr, 0, &In.TransColor);
  png_write_info(H.Png, H.Info);
  if (In.ColorType & PNG_COLOR_MASK_COLOR) png_set_bgr(H.Png);
  png_write_image(H.Png, In.Rows);
  png_write_end(H.Png, nullptr);
  return true;
}

[[noreturn]] void PngError(const IoContext& Ctx) {
  throw EInvalidGraphic(Format("Invalid PNG image: %s", {String(Ctx.Message[0] ? Ctx.Message : "unknown error")}));
}

uint8_t ScaleSample(unsigned Value, int BitDepth) {
  if (BitDepth == 16) return static_cast<uint8_t>(Value >> 8);
  if (BitDepth == 8) return static_cast<uint8_t>(Value);
  const unsigned maxv = (1u << BitDepth) - 1;
  return static_cast<uint8_t>(Value * 255 / maxv);
}

uint8_t Luminance(TColor C) {
  const unsigned r = GetRValue(static_cast<COLORREF>(C)), g = GetGValue(static_cast<COLORREF>(C)),
                 b = GetBValue(static_cast<COLORREF>(C));
  return static_cast<uint8_t>((r * 299 + g * 587 + b * 114 + 500) / 1000);
}

TColor GreyColor(uint8_t G) { return static_cast<TColor>(RGB(G, G, G)); }

}  // namespace

TOwned<TGraphic> TPngImage::NewEmpty() const { return CreateOwned<TPngImage>(); }

int TPngImage::SamplesPerPixel() const {
  return (FHeader.ColorType == COLOR_RGB || FHeader.ColorType == COLOR_RGBALPHA) ? 3 : 1;
}

void TPngImage::CheckPoint(Integer X, Integer Y) const {
  if (X < 0 || Y < 0 || X >= FHeader.Width || Y >= FHeader.Height)
    throw EInvalidGraphicOperation(Format("Pixel (%d, %d) is outside the image", {X, Y}));
}

void TPngImage::CreateBlank(Byte ColorType, Byte, Integer AWidth, Integer AHeight) {
  if (ColorType != COLOR_GRAYSCALE && ColorType != COLOR_RGB && ColorType != COLOR_PALETTE &&
      ColorType != COLOR_GRAYSCALEALPHA && ColorType != COLOR_RGBALPHA)
    throw EInvalidGraphic(Format("Invalid PNG colour type %d", {static_cast<int>(ColorType)}));
  if (AWidth < 0 || AHeight < 0 || static_cast<uint64_t>(AWidth) * static_cast<uint64_t>(AHeight) > kMaxPixels)
    throw EInvalidGraphic(Format("Invalid PNG image size %d x %d", {AWidth, AHeight}));
  FHeader = TPngHeader{};
  FHeader.Width = AWidth;
  FHeader.Height = AHeight;
  FHeader.ColorType = ColorType;
  const size_t pixels = static_cast<size_t>(AWidth) * AHeight;
  FData.assign(pixels * SamplesPerPixel(), 0);
  FAlpha.assign(HasAlphaChannel() ? pixels : 0, 0);
  FPalette.clear();
  FPaletteAlpha.clear();
  if (ColorType == COLOR_PALETTE) FPalette = {clBlack, clWhite};
  FHasTransparentColor = false;
  FTransparentColorValue = 0;
  Changed(this);
}

void TPngImage::Resize(Integer AWidth, Integer AHeight) {
  if (AWidth == FHeader.Width && AHeight == FHeader.Height) return;
  TPngImage old;
  old.Assign(this);
  const auto palette = FPalette;
  const auto paletteAlpha = FPaletteAlpha;
  const bool hasTrans = FHasTransparentColor;
  const TColor trans = FTransparentColorValue;
  CreateBlank(old.FHeader.ColorType, 8, AWidth, AHeight);
  FPalette = palette;
  FPaletteAlpha = paletteAlpha;
  FHasTransparentColor = hasTrans;
  FTransparentColorValue = trans;
  const int spp = SamplesPerPixel();
  const int w = std::min(AWidth, old.FHeader.Width), h = std::min(AHeight, old.FHeader.Height);
  for (int y = 0; y < h; ++y) {
    std::memcpy(&FData[Index(0, y) * spp], &old.FData[old.Index(0, y) * spp], static_cast<size_t>(w) * spp);
    if (!FAlpha.empty()) std::memcpy(&FAlpha[Index(0, y)], &old.FAlpha[old.Index(0, y)], static_cast<size_t>(w));
  }
  Changed(this);
}

void TPngImage::CreateAlpha() {
  switch (FHeader.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB: {
      const size_t pixels = static_cast<size_t>(FHeader.Width) * FHeader.Height;
      FAlpha.assign(pixels, 255);
      if (FHasTransparentColor) {
        for (Integer y = 0; y < FHeader.Height; ++y)
          for (Integer x = 0; x < FHeader.Width; ++x)
            if (Pixels(x, y) == FTransparentColorValue) FAlpha[Index(x, y)] = 0;
      }
      FHasTransparentColor = false;
      FHeader.ColorType = FHeader.ColorType == COLOR_RGB ? COLOR_RGBALPHA : COLOR_GRAYSCALEALPHA;
      Changed(this);
      break;
    }
    case COLOR_PALETTE:
      FPaletteAlpha.resize(FPalette.size(), 255);
      Changed(this);
      break;
    default: break;
  }
}

TPNGTransparencyMode TPngImage::TransparencyMode() const {
  if (HasAlphaChannel()) return ptmPartial;
  if (FHeader.ColorType == COLOR_PALETTE) {
    TPNGTransparencyMode mode = ptmNone;
    for (size_t i = 0; i < FPaletteAlpha.size() && i < FPalette.size(); ++i) {
      if (FPaletteAlpha[i] == 0)
        mode = mode == ptmNone ? ptmBit : mode;
      else if (FPaletteAlpha[i] != 255)
        return ptmPartial;
    }
    return mode;
  }
  return FHasTransparentColor ? ptmBit : ptmNone;
}

TColor TPngImage::TransparentColor() const { return FHasTransparentColor ? FTransparentColorValue : clNone; }

void TPngImage::SetTransparentColor(TColor Value) {
  if (FHeader.ColorType != COLOR_GRAYSCALE && FHeader.ColorType != COLOR_RGB) return;
  if (Value == clNone) {
    FHasTransparentColor = false;
  } else {
    const TColor rgb = ColorToRGB(Value);
    FHasTransparentColor = true;
    FTransparentColorValue = FHeader.ColorType == COLOR_GRAYSCALE ? GreyColor(Luminance(rgb)) : rgb;
  }
  Changed(this);
}

TColor TPngImage::Pixels(Integer X, Integer Y) const {
  CheckPoint(X, Y);
  const size_t i = Index(X, Y);
  switch (FHeader.ColorType) {
    case COLOR_RGB:
    case COLOR_RGBALPHA: {
      const Byte* p = &FData[i * 3];
      return static_cast<TColor>(RGB(p[2], p[1], p[0]));
    }
    case COLOR_PALETTE: return FData[i] < FPalette.size() ? FPalette[FData[i]] : clBlack;
    default: return GreyColor(FData[i]);
  }
}

void TPngImage::SetPixels(Integer X, Integer Y, TColor Value) {
  CheckPoint(X, Y);
  const TColor rgb = ColorToRGB(Value);
  const size_t i = Index(X, Y);
  switch (FHeader.ColorType) {
    case COLOR_RGB:
    case COLOR_RGBALPHA: {
      Byte* p = &FData[i * 3];
      p[0] = GetBValue(static_cast<COLORREF>(rgb));
      p[1] = GetGValue(static_cast<COLORREF>(rgb));
      p[2] = GetRValue(static_cast<COLORREF>(rgb));
      break;
    }
    case COLOR_PALETTE: {
      long best = -1;
      for (size_t k = 0; k < FPalette.size(); ++k) {
        const COLORREF a = static_cast<COLORREF>(FPalette[k]), b = static_cast<COLORREF>(rgb);
        const long dr = GetRValue(a) - GetRValue(b), dg = GetGValue(a) - GetGValue(b), db = GetBValue(a) - GetBValue(b);
        const long d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < best) {
          best = d;
          FData[i] = static_cast<Byte>(k);
        }
      }
      break;
    }
    default: FData[i] = Luminance(rgb);
  }
  Changed(this);
}

Byte TPngImage::PixelAlpha(Integer X, Integer Y) const {
  CheckPoint(X, Y);
  const size_t i = Index(X, Y);
  if (HasAlphaChannel()) return FAlpha[i];
  if (FHeader.ColorType == COLOR_PALETTE) return FData[i] < FPaletteAlpha.size() ? FPaletteAlpha[FData[i]] : 255;
  if (FHasTransparentColor && Pixels(X, Y) == FTransparentColorValue) return 0;
  return 255;
}

void* TPngImage::Scanline(Integer Y) {
  if (Y < 0 || Y >= FHeader.Height) throw EInvalidGraphicOperation(kPngScanLineError);
  return &FData[Index(0, Y) * SamplesPerPixel()];
}

Byte* TPngImage::AlphaScanline(Integer Y) {
  if (!HasAlphaChannel()) return nullptr;
  if (Y < 0 || Y >= FHeader.Height) throw EInvalidGraphicOperation(kPngScanLineError);
  return &FAlpha[Index(0, Y)];
}

std::vector<TColor> TPngImage::PaletteColors() const { return FPalette; }

void TPngImage::SetPaletteColors(const std::vector<TColor>& Colors) {
  if (FHeader.ColorType != COLOR_PALETTE) return;
  FPalette.assign(Colors.begin(), Colors.begin() + static_cast<ptrdiff_t>(std::min<size_t>(Colors.size(), 256)));
  for (TColor& c : FPalette) c = ColorToRGB(c);
  if (FPaletteAlpha.size() > FPalette.size()) FPaletteAlpha.resize(FPalette.size());
  Changed(this);
}

Byte TPngImage::PaletteAlpha(Integer Index) const {
  return Index >= 0 && static_cast<size_t>(Index) < FPaletteAlpha.size() ? FPaletteAlpha[Index] : 255;
}

void TPngImage::SetPaletteAlpha(Integer Index, Byte Alpha) {
  if (FHeader.ColorType != COLOR_PALETTE || Index < 0 || static_cast<size_t>(Index) >= FPalette.size()) return;
  if (FPaletteAlpha.size() <= static_cast<size_t>(Index)) FPaletteAlpha.resize(Index + 1, 255);
  FPaletteAlpha[Index] = Alpha;
  Changed(this);
}

void TPngImage::Assign(TPersistent* Source) {
  if (!Source) {
    FHeader = TPngHeader{};
    FData.clear();
    FAlpha.clear();
    FPalette.clear();
    FPaletteAlpha.clear();
    FHasTransparentColor = false;
    Changed(this);
    return;
  }
  if (auto* png = dynamic_cast<TPngImage*>(Source)) {
    if (png == this) return;
    FHeader = png->FHeader;
    FData = png->FData;
    FAlpha = png->FAlpha;
    FPalette = png->FPalette;
    FPaletteAlpha = png->FPaletteAlpha;
    FHasTransparentColor = png->FHasTransparentColor;
    FTransparentColorValue = png->FTransparentColorValue;
    SetTransparent(png->Transparent());
    Changed(this);
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    TBitmap rgb;
    rgb.Assign(bitmap);
    rgb.SetPixelFormat(pf24bit);
    CreateBlank(COLOR_RGB, 8, rgb.Width(), rgb.Height());
    for (Integer y = 0; y < rgb.Height(); ++y)
      std::memcpy(Scanline(y), rgb.ScanLine(y), static_cast<size_t>(rgb.Width()) * 3);
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TPngImage::AssignTo(TPersistent* Dest) {
  if (auto* icon = dynamic_cast<TIcon*>(Dest)) {
    icon->SetHandle(Empty() ? nullptr : vantrel::win::CreateIconFromArgb(FHeader.Width, FHeader.Height, ToArgb().data()));
    return;
  }
  auto* bitmap = dynamic_cast<TBitmap*>(Dest);
  if (!bitmap) {
    TGraphic::AssignTo(Dest);
    return;
  }
  const bool alpha = TransparencyMode() != ptmNone;
  bitmap->Assign(nullptr);
  bitmap->SetPixelFormat(alpha ? pf32bit : pf24bit);
  bitmap->SetSize(FHeader.Width, FHeader.Height);
  for (Integer y = 0; y < FHeader.Height; ++y) {
    auto* row = static_cast<Byte*>(bitmap->ScanLine(y));
    for (Integer x = 0; x < FHeader.Width; ++x) {
      const COLORREF c = static_cast<COLORREF>(Pixels(x, y));
      Byte* p = row + x * (alpha ? 4 : 3);
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
      if (alpha) p[3] = PixelAlpha(x, y);
    }
  }
  bitmap->SetModified(true);
}

std::vector<uint32_t> TPngImage::ToArgb() const {
  std::vector<uint32_t> argb(static_cast<size_t>(FHeader.Width) * FHeader.Height);
  for (Integer y = 0; y < FHeader.Height; ++y)
    for (Integer x = 0; x < FHeader.Width; ++x) {
      const COLORREF c = static_cast<COLORREF>(Pixels(x, y));
      argb[Index(x, y)] = (uint32_t{PixelAlpha(x, y)} << 24) | (uint32_t{GetRValue(c)} << 16) |
                          (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
    }
  return argb;
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  const std::vector<uint32_t> argb = ToArgb();
  vantrel::ui::BlendPixels(ACanvas, Rect, FHeader.Width, FHeader.Height, argb.data());
}

void TPngImage::LoadFromStream(TStream* Stream) {
  png_byte signature[8];
  if (Stream->Read(signature, 8) != 8 || png_sig_cmp(signature, 0, 8) != 0)
    throw EInvalidGraphic("Invalid PNG image: not a PNG datastream");
  IoContext ctx;
  ctx.Stream = Stream;
  ReadHandles h;
  h.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, OnError, OnWarning);
  if (!h.Png) throw EOutOfMemory("Out of memory");
  h.Info = png_create_info_struct(h.Png);
  if (!h.Info) throw EOutOfMemory("Out of memory");
  png_set_read_fn(h.Png, &ctx, OnRead);
  FileInfo f;
  if (!ReadInfo(h, f)) PngError(ctx);
  if (static_cast<uint64_t>(f.Width) * f.Height > kMaxPixels) throw EInvalidGraphic("Invalid PNG image: too large");

  std::vector<png_byte> buffer(f.RowBytes * f.Height);
  std::vector<png_bytep> rows(f.Height);
  for (png_uint_32 y = 0; y < f.Height; ++y) rows[y] = buffer.data() + y * f.RowBytes;
  if (!ReadRows(h, rows.data())) PngError(ctx);

  TPngImage img;
  img.FHeader.Width = static_cast<Integer>(f.Width);
  img.FHeader.Height = static_cast<Integer>(f.Height);
  img.FHeader.ColorType = static_cast<Byte>(f.ColorType);
  const size_t pixels = static_cast<size_t>(f.Width) * f.Height;
  const int spp = img.SamplesPerPixel();
  img.FData.resize(pixels * spp);
  if (img.HasAlphaChannel()) img.FAlpha.resize(pixels);
  const int fileChannels = spp + (img.HasAlphaChannel() ? 1 : 0);
  for (png_uint_32 y = 0; y < f.Height; ++y) {
    const png_byte* src = rows[y];
    Byte* dst = &img.FData[static_cast<size_t>(y) * f.Width * spp];
    if (!img.HasAlphaChannel()) {
      std::memcpy(dst, src, static_cast<size_t>(f.Width) * spp);
      continue;
    }
    Byte* alpha = &img.FAlpha[static_cast<size_t>(y) * f.Width];
    for (png_uint_32 x = 0; x < f.Width; ++x) {
      std::memcpy(dst + x * spp, src + x * fileChannels, spp);
      alpha[x] = src[x * fileChannels + spp];
    }
  }
  if (f.ColorType == PNG_COLOR_TYPE_PALETTE) {
    for (int i = 0; i < f.PaletteCount; ++i)
      img.FPalette.push_back(static_cast<TColor>(RGB(f.Palette[i].red, f.Palette[i].green, f.Palette[i].blue)));
    for (int i = 0; i < f.TransCount && i < f.PaletteCount; ++i) img.FPaletteAlpha.push_back(f.TransAlpha[i]);
  } else if (f.TransColor && (f.ColorType == PNG_COLOR_TYPE_GRAY || f.ColorType == PNG_COLOR_TYPE_RGB)) {
    img.FHasTransparentColor = true;
    if (f.ColorType == PNG_COLOR_TYPE_GRAY)
      img.FTransparentColorValue = GreyColor(ScaleSample(f.TransColor->gray, f.BitDepth));
    else
      img.FTransparentColorValue =
          static_cast<TColor>(RGB(ScaleSample(f.TransColor->red, f.BitDepth), ScaleSample(f.TransColor->green, f.BitDepth),
                                  ScaleSample(f.TransColor->blue, f.BitDepth)));
  }
  Assign(&img);
}

void TPngImage::SaveToStream(TStream* Stream) {
  if (Empty()) throw EInvalidGraphicOperation("Cannot save an empty PNG image");
  auto in = std::make_unique<WriteInput>();
  in->Width = static_cast<png_uint_32>(FHeader.Width);
  in->Height = static_cast<png_uint_32>(FHeader.Height);
  in->ColorType = FHeader.ColorType;
  if (FHeader.ColorType == COLOR_PALETTE) {
    in->PaletteCount = static_cast<int>(std::min<size_t>(FPalette.size(), 256));
    for (int i = 0; i < in->PaletteCount; ++i) {
      const COLORREF c = static_cast<COLORREF>(FPalette[i]);
      in->Palette[i] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    }
    in->TransCount = static_cast<int>(std::min<size_t>(FPaletteAlpha.size(), in->PaletteCount));
    for (int i = 0; i < in->TransCount; ++i) in->TransAlpha[i] = FPaletteAlpha[i];
  } else if (FHasTransparentColor) {
    const COLORREF c = static_cast<COLORREF>(FTransparentColorValue);
    in->HasTransColor = true;
    in->TransColor.red = GetRValue(c);
    in->TransColor.green = GetGValue(c);
    in->TransColor.blue = GetBValue(c);
    in->TransColor.gray = GetRValue(c);
  }
  const int spp = SamplesPerPixel();
  const int channels = spp + (HasAlphaChannel() ? 1 : 0);
  std::vector<png_byte> buffer;
  if (HasAlphaChannel()) {
    buffer.resize(static_cast<size_t>(FHeader.Width) * FHeader.Height * channels);
    for (size_t i = 0, n = FAlpha.size(); i < n; ++i) {
      std::memcpy(&buffer[i * channels], &FData[i * spp], spp);
      buffer[i * channels + spp] = FAlpha[i];
    }
  }
  png_byte* base = HasAlphaChannel() ? buffer.data() : FData.data();
  std::vector<png_bytep> rows(FHeader.Height);
  for (Integer y = 0; y < FHeader.Height; ++y) rows[y] = base + static_cast<size_t>(y) * FHeader.Width * channels;
  in->Rows = rows.data();

  IoContext ctx;
  ctx.Stream = Stream;
  WriteHandles h;
  h.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, OnError, OnWarning);
  if (!h.Png) throw EOutOfMemory("Out of memory");
  h.Info = png_create_info_struct(h.Png);
  if (!h.Info) throw EOutOfMemory("Out of memory");
  png_set_write_fn(h.Png, &ctx, OnWrite, OnFlush);
  if (!WritePng(h, *in)) {
    // A failing stream keeps its own error (a full disk, a closed file).
    throw EWriteError(Format("Cannot write the PNG image: %s", {String(ctx.Message[0] ? ctx.Message : "unknown error")}));
  }
}
