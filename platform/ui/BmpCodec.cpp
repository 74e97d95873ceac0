// BMP file reading and writing on a plain device-independent picture.
#include "platform/ui/BmpCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/rtl/Exceptions.h"

namespace vantrel::ui {

namespace {

constexpr char kInvalidBitmap[] = "Bitmap image is not valid";
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
// Pictures above this many bytes of pixel data are refused as invalid rather than
// allocated: no skin picture or snapshot comes near it.
constexpr uint64_t kMaxImageBytes = uint64_t{1} << 30;

[[noreturn]] void Invalid() { throw EInvalidGraphic(kInvalidBitmap); }

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Scales the field of Mask in Value to 0..255.
uint8_t MaskedChannel(uint32_t Value, uint32_t Mask) {
  if (Mask == 0) return 0;
  const int shift = std::countr_zero(Mask);
  const int bits = std::popcount(Mask);
  const uint32_t field = (Value & Mask) >> shift;
  const uint32_t maxv = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
  return static_cast<uint8_t>((static_cast<uint64_t>(field) * 255 + maxv / 2) / maxv);
}

struct Masks {
  uint32_t R = 0, G = 0, B = 0, A = 0;
};

// Converts bit-field pixels (16 or 32 bpp) into 32 bpp B, G, R, A.
void ConvertBitfieldsTo32(DibImage& img, const Masks& m) {
  DibImage out;
  out.Width = img.Width;
  out.Height = img.Height;
  out.BitCount = 32;
  out.Bits.assign(out.Stride() * out.Height, 0);
  const int bytes = img.BitCount / 8;
  for (int y = 0; y < img.Height; ++y) {
    const uint8_t* src = img.Row(y);
    uint8_t* dst = out.Row(y);
    for (int x = 0; x < img.Width; ++x) {
      const uint32_t v = bytes == 2 ? Le16(src + x * 2) : Le32(src + x * 4);
      dst[x * 4 + 0] = MaskedChannel(v, m.B);
      dst[x * 4 + 1] = MaskedChannel(v, m.G);
      dst[x * 4 + 2] = MaskedChannel(v, m.R);
      dst[x * 4 + 3] = m.A ? MaskedChannel(v, m.A) : 0;
    }
  }
  img = std::move(out);
}

}  // namespace

DibImage ReadBmp(const ReadExactFn& Read, uint64_t Available) { return ReadBmp(Read, Available, nullptr); }

DibImage ReadBmp(const ReadExactFn& Read, uint64_t Available, const PixelTargetFn& Target) {
  uint8_t fh[kFileHeaderSize];
  Read(fh, sizeof fh);
  if (fh[0] != 'B' || fh[1] != 'M') Invalid();
  const uint32_t offBits = Le32(fh + 10);

  uint8_t sizeBytes[4];
  Read(sizeBytes, 4);
  const uint32_t headerSize = Le32(sizeBytes);
  if (headerSize != 12 && (headerSize < kInfoHeaderSize || headerSize > 124)) Invalid();
  std::vector<uint8_t> h(headerSize);
  std::memcpy(h.data(), sizeBytes, 4);
  Read(h.data() + 4, headerSize - 4);
  uint64_t consumed = kFileHeaderSize + headerSize;

  int32_t width, height;
  uint16_t planes, bitCount;
  uint32_t compression = kBiRgb, clrUsed = 0;
  const bool core = headerSize == 12;
  if (core) {
    width = Le16(h.data() + 4);
    height = Le16(h.data() + 6);
    planes = Le16(h.data() + 8);
    bitCount = Le16(h.data() + 10);
  } else {
    width = static_cast<int32_t>(Le32(h.data() + 4));
    height = static_cast<int32_t>(Le32(h.data() + 8));
    planes = Le16(h.data() + 12);
    bitCount = Le16(h.data() + 14);
    compression = Le32(h.data() + 16);
    clrUsed = Le32(h.data() + 32);
  }
  if (planes != 1 || width <= 0 || height == 0 || height == INT32_MIN) Invalid();
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    Invalid();
  if (compression != kBiRgb && !(compression == kBiBitfields && (bitCount == 16 || bitCount == 32)))
    Invalid();

  DibImage img;
  img.Width = width;
  img.Height = height < 0 ? -height : height;
  img.BitCount = bitCount;
  const uint64_t imageBytes = static_cast<uint64_t>(img.Stride()) * img.Height;
  if (imageBytes > kMaxImageBytes) Invalid();

  Masks masks;
  if (compression == kBiBitfields) {
    if (headerSize >= 52) {
      masks.R = Le32(h.data() + 40);
      masks.G = Le32(h.data() + 44);
      masks.B = Le32(h.data() + 48);
      if (headerSize >= 56) masks.A = Le32(h.data() + 52);
    } else {
      uint8_t m[12];
      Read(m, sizeof m);
      consumed += sizeof m;
      masks.R = Le32(m);
      masks.G = Le32(m + 4);
      masks.B = Le32(m + 8);
    }
  } else if (headerSize >= 56 && bitCount == 32) {
    masks.A = Le32(h.data() + 52);
  }

  // Colour table: required up to 8 bpp, an optional hint above.
  const uint32_t maxColors = bitCount <= 8 ? (1u << bitCount) : 0;
  uint32_t tableEntries = clrUsed;
  if (bitCount <= 8 && tableEntries == 0) tableEntries = maxColors;
  if (tableEntries > 256 && bitCount <= 8) Invalid();
  if (tableEntries > 0x10000) Invalid();
  const size_t entrySize = core ? 3 : 4;
  // The table, the gap up to the pixels and the pixels must all be there.
  const uint64_t pixelsAt = std::max<uint64_t>(offBits, consumed + uint64_t{tableEntries} * entrySize);
  if (pixelsAt > Available || imageBytes > Available - pixelsAt) Invalid();
  std::vector<uint8_t> table(tableEntries * entrySize);
  if (!table.empty()) Read(table.data(), table.size());
  consumed += table.size();
  if (bitCount <= 8) {
    const uint32_t kept = std::min(tableEntries, maxColors);
    img.Colors.resize(kept);
    for (uint32_t i = 0; i < kept; ++i) {
      const uint8_t* e = table.data() + i * entrySize;
      img.Colors[i] = {e[0], e[1], e[2], 0};
    }
  }

  // Whatever lies between the table and the pixels is skipped.
  if (offBits > consumed) {
    uint64_t gap = offBits - consumed;
    if (gap > kMaxImageBytes) Invalid();
    std::vector<uint8_t> skip(static_cast<size_t>(gap));
    Read(skip.data(), skip.size());
  }

  // Bit fields of the common layouts are kept as they are; any other layout becomes 32 bpp.
  bool convert = false;
  if (compression == kBiBitfields) {
    const bool std555 = masks.R == 0x7C00 && masks.G == 0x3E0 && masks.B == 0x1F;
    const bool std565 = masks.R == 0xF800 && masks.G == 0x7E0 && masks.B == 0x1F;
    const bool std32 = masks.R == 0xFF0000 && masks.G == 0xFF00 && masks.B == 0xFF &&
                       (masks.A == 0 || masks.A == 0xFF000000u);
    if (bitCount == 16 && (std555 || std565) && masks.A == 0)
      img.Rgb565 = std565;
    else if (!(bitCount == 32 && std32))  // B, G, R, A bytes already
      convert = true;
  }

  // The rows go where the caller wants them, unless they are converted on the way.
  uint8_t* rows = nullptr;
  if (Target && !convert) {
    rows = Target(img);
  } else {
    img.Bits.resize(static_cast<size_t>(imageBytes));
    rows = img.Bits.data();
  }
  Read(rows, static_cast<size_t>(imageBytes));
  if (height < 0) {
    const size_t stride = img.Stride();
    std::vector<uint8_t> tmp(stride);
    for (int y = 0; y < img.Height / 2; ++y) {
      uint8_t* a = rows + y * stride;
      uint8_t* b = rows + (img.Height - 1 - y) * stride;
      std::memcpy(tmp.data(), a, stride);
      std::memcpy(a, b, stride);
      std::memcpy(b, tmp.data(), stride);
    }
  }
  if (convert) {
    ConvertBitfieldsTo32(img, masks);
    if (Target) {
      std::memcpy(Target(img), img.Bits.data(), img.Bits.size());
      img.Bits.clear();
    }
  }
  return img;
}

std::vector<uint8_t> WriteBmp(const DibImage& Image) {
  const bool palettized = Image.BitCount <= 8;
  const bool bitfields = Image.BitCount == 16 && Image.Rgb565;
  const size_t colors = palettized ? Image.Colors.size() : 0;
  const size_t imageBytes = Image.Stride() * Image.Height;
  const size_t offBits = kFileHeaderSize + kInfoHeaderSize + (bitfields ? 12 : 0) + colors * 4;
  std::vector<uint8_t> out;
  out.reserve(offBits + imageBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(offBits + imageBytes));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(offBits));
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(Image.Width));
  Put32(out, static_cast<uint32_t>(Image.Height));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(Image.BitCount));
  Put32(out, bitfields ? kBiBitfields : kBiRgb);
  Put32(out, static_cast<uint32_t>(imageBytes));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(colors));
  Put32(out, 0);
  if (bitfields) {
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
  }
  for (size_t i = 0; i < colors; ++i) {
    const DibColor& c = Image.Colors[i];
    out.push_back(c.Blue);
    out.push_back(c.Green);
    out.push_back(c.Red);
    out.push_back(0);
  }
  out.insert(out.end(), Image.Bits.begin(), Image.Bits.begin() + static_cast<ptrdiff_t>(imageBytes));
  return out;
}

}  // namespace vantrel::ui
