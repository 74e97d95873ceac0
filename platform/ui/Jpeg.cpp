// TJPEGImage on libjpeg. libjpeg reports errors through error_exit, which longjmps back
// here; the functions that hold a setjmp keep no C++ objects of their own, their buffers
// belong to the callers.
#include "platform/ui/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "platform/rtl/Format.h"

namespace {

constexpr JDIMENSION kMaxSide = 1u << 16;

struct ErrorManager {
  jpeg_error_mgr Pub;
  jmp_buf Jump;
  int Code = 0;
  char Message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void OnErrorExit(j_common_ptr Info) {
  auto* err = reinterpret_cast<ErrorManager*>(Info->err);
  err->Code = err->Pub.msg_code;
  err->Pub.format_message(Info, err->Message);
  longjmp(err->Jump, 1);
}

void OnOutputMessage(j_common_ptr) {}

void InitErrors(ErrorManager& Err) {
  jpeg_std_error(&Err.Pub);
  Err.Pub.error_exit = OnErrorExit;
  Err.Pub.output_message = OnOutputMessage;
}

[[noreturn]] void Raise(const ErrorManager& Err) {
  throw EJPEG(Format("JPEG error #%d: %s", {Err.Code, String(Err.Message)}));
}

struct Decoder {
  jpeg_decompress_struct Info{};
  ErrorManager Err;
  bool Created = false;
  ~Decoder() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

bool StartDecode(Decoder& D, const Byte* Data, size_t Size) {
  D.Info.err = &D.Err.Pub;
  if (setjmp(D.Err.Jump)) return false;
  jpeg_create_decompress(&D.Info);
  D.Created = true;
  jpeg_mem_src(&D.Info, Data, static_cast<unsigned long>(Size));
  jpeg_read_header(&D.Info, TRUE);
  D.Info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&D.Info);
  return true;
}

bool ReadRows(Decoder& D, JSAMPROW* Rows) {
  if (setjmp(D.Err.Jump)) return false;
  while (D.Info.output_scanline < D.Info.output_height) {
    JSAMPROW row = Rows[D.Info.output_scanline];
    jpeg_read_scanlines(&D.Info, &row, 1);
  }
  jpeg_finish_decompress(&D.Info);
  return true;
}

struct Encoder {
  jpeg_compress_struct Info{};
  ErrorManager Err;
  bool Created = false;
  unsigned char* Out = nullptr;
  unsigned long OutSize = 0;
  ~Encoder() {
    if (Created) jpeg_destroy_compress(&Info);
    std::free(Out);
  }
};

bool Encode(Encoder& E, JDIMENSION Width, JDIMENSION Height, bool Gray, int Quality, bool Progressive,
            JSAMPROW* Rows) {
  E.Info.err = &E.Err.Pub;
  if (setjmp(E.Err.Jump)) return false;
  jpeg_create_compress(&E.Info);
  E.Created = true;
  jpeg_mem_dest(&E.Info, &E.Out, &E.OutSize);
  E.Info.image_width = Width;
  E.Info.image_height = Height;
  E.Info.input_components = Gray ? 1 : 3;
  E.Info.in_color_space = Gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(&E.Info);
  jpeg_set_quality(&E.Info, Quality, TRUE);
  if (Progressive) jpeg_simple_progression(&E.Info);
  jpeg_start_compress(&E.Info, TRUE);
  while (E.Info.next_scanline < E.Info.image_height) {
    JSAMPROW row = Rows[E.Info.next_scanline];
    jpeg_write_scanlines(&E.Info, &row, 1);
  }
  jpeg_finish_compress(&E.Info);
  return true;
}

}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

TOwned<TGraphic> TJPEGImage::NewEmpty() const { return CreateOwned<TJPEGImage>(); }

bool TJPEGImage::Empty() const { return !FBitmap || FBitmap->Empty(); }
Integer TJPEGImage::Width() const { return FBitmap ? FBitmap->Width() : 0; }
Integer TJPEGImage::Height() const { return FBitmap ? FBitmap->Height() : 0; }

void TJPEGImage::SetWidth(Integer Value) {
  if (Value != Width()) throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetHeight(Integer Value) {
  if (Value != Height()) throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange Value) { FQuality = std::clamp(Value, 1, 100); }

void TJPEGImage::Assign(TPersistent* Source) {
  if (!Source) {
    FData.clear();
    FBitmap.reset();
    Changed(this);
    return;
  }
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) {
    if (jpeg == this) return;
    FData = jpeg->FData;
    FBitmap.reset();
    if (jpeg->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(jpeg->FBitmap.get());
    }
    FQuality = jpeg->FQuality;
    FGrayscale = jpeg->FGrayscale;
    FProgressive = jpeg->FProgressive;
    Changed(this);
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(bitmap);
    copy->SetTransparent(false);
    copy->SetPixelFormat(pf24bit);
    FBitmap = std::move(copy);
    FData.clear();
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
    bitmap->Assign(FBitmap.get());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::Compress() {
  FData.clear();
  if (Empty()) return;
  const Integer w = FBitmap->Width(), h = FBitmap->Height();
  std::vector<JSAMPROW> rows(static_cast<size_t>(h));
  std::vector<Byte> gray;
  if (FGrayscale) {
    gray.resize(static_cast<size_t>(w) * h);
    for (Integer y = 0; y < h; ++y) {
      const auto* src = static_cast<const Byte*>(FBitmap->ScanLine(y));
      Byte* dst = &gray[static_cast<size_t>(y) * w];
      for (Integer x = 0; x < w; ++x)
        dst[x] = static_cast<Byte>((src[x * 3] * 114 + src[x * 3 + 1] * 587 + src[x * 3 + 2] * 299 + 500) / 1000);
      rows[static_cast<size_t>(y)] = dst;
    }
  } else {
    for (Integer y = 0; y < h; ++y) rows[static_cast<size_t>(y)] = static_cast<JSAMPROW>(FBitmap->ScanLine(y));
  }
  Encoder enc;
  InitErrors(enc.Err);
  if (!Encode(enc, static_cast<JDIMENSION>(w), static_cast<JDIMENSION>(h), FGrayscale, FQuality, FProgressive,
              rows.data()))
    Raise(enc.Err);
  FData.assign(enc.Out, enc.Out + enc.OutSize);
}

void TJPEGImage::JPEGNeeded() {
  if (FData.empty()) Compress();
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  const Int64 size = Stream->Size() - Stream->Position();
  std::vector<Byte> data(static_cast<size_t>(std::max<Int64>(size, 0)));
  if (!data.empty()) Stream->ReadBuffer(data.data(), static_cast<Integer>(data.size()));

  Decoder dec;
  InitErrors(dec.Err);
  if (!StartDecode(dec, data.data(), data.size())) Raise(dec.Err);
  if (dec.Info.output_width > kMaxSide || dec.Info.output_height > kMaxSide)
    throw EJPEG(Format("JPEG error #0: image of %u x %u is too large", {dec.Info.output_width, dec.Info.output_height}));
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(static_cast<Integer>(dec.Info.output_width), static_cast<Integer>(dec.Info.output_height));
  std::vector<JSAMPROW> rows(dec.Info.output_height);
  for (JDIMENSION y = 0; y < dec.Info.output_height; ++y)
    rows[y] = static_cast<JSAMPROW>(bitmap->ScanLine(static_cast<Integer>(y)));
  if (!ReadRows(dec, rows.data())) Raise(dec.Err);
  FBitmap = std::move(bitmap);
  FData = std::move(data);
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  JPEGNeeded();
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<Integer>(FData.size()));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!Empty()) ACanvas->StretchDraw(Rect, FBitmap.get());
}
