// The pixel-kernel table of the working bitmap: the run loops every skin paint goes
// through, the plain and the vector forms of the alpha blends, the processor probe and the
// unit's start-up (kernels first, then the drawing routines).
#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <emmintrin.h>
#include <immintrin.h>
#define VANTREL_HAVE_SSE2 1
#endif

#include "skin/core/drawing/SPUtils.h"
#include "skin/core/bitmaps/spEffBmp.h"

TspPixelKernels PixelKernels = {
    vantrel::skin::BlendPixelPlain, vantrel::skin::BlendRowPlain, vantrel::skin::CopyRowKeyed,
    vantrel::skin::MoveRow,         vantrel::skin::FillRow,       vantrel::skin::FillPixelRect,
    vantrel::skin::SetRowAlpha,     vantrel::skin::SetRectAlpha,
};

Boolean MMXEnabled = false;

namespace {

Boolean TransparentBltAvailable = false;

constexpr TspColor RGBMask = 0x00FFFFFF;
constexpr TspColor AlphaMask = 0xFF000000;

inline TspColor MMXBlendScalar(TspColor F, TspColor B) {
  // Each byte: (B * 256 + (F - B) * a) shr 8 = (F * a + B * (256 - a)) div 256.
  const uint32_t a = F >> 24;
  TspColor r = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t f = (F >> shift) & 0xFF;
    const uint32_t b = (B >> shift) & 0xFF;
    r |= (((f * a + b * (256 - a)) >> 8) & 0xFF) << shift;
  }
  return r;
}

#ifdef VANTREL_HAVE_SSE2
// Blends the 2 pixels held as 16-bit lanes (b, g, r, a, b, g, r, a). The 16-bit sum
// B*256 + (F-B)*a wraps in the lanes but its true value lies in 0..65280, so the logical
// shift gives exactly the byte of the scalar formula.
inline __m128i Blend2(__m128i f16, __m128i b16) {
  const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(f16, _MM_SHUFFLE(3, 3, 3, 3)),
                                        _MM_SHUFFLE(3, 3, 3, 3));
  const __m128i diff = _mm_sub_epi16(f16, b16);
  const __m128i sum = _mm_add_epi16(_mm_slli_epi16(b16, 8), _mm_mullo_epi16(diff, a));
  return _mm_srli_epi16(sum, 8);
}

inline __m128i Blend4(__m128i f, __m128i b) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = Blend2(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(b, zero));
  const __m128i hi = Blend2(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(b, zero));
  return _mm_packus_epi16(lo, hi);
}
#endif

}  // namespace

namespace vantrel::skin {

TspColor BlendPixelPlain(TspColor F, TspColor B) {
  const uint32_t a = F >> 24;
  if (a == 255) return F;
  if (a == 0) return B;
  const uint32_t na = 255 - a;
  const uint32_t rb = ((((F & 0xFF00FF) * a + (B & 0xFF00FF) * na) & 0xFF00FF00) >> 8);
  const uint32_t g = ((((F & 0xFF00) >> 8) * a + ((B & 0xFF00) >> 8) * na) >> 8) << 8;
  return AlphaMask | rb | g;
}

void BlendRowPlain(const TspColor* Src, TspColor* Dst, Integer Count) {
  for (Integer i = 0; i < Count; ++i) {
    const TspColor F = Src[i];
    const uint32_t a = F >> 24;
    if (a == 0) continue;
    Dst[i] = a == 255 ? F : BlendPixelPlain(F, Dst[i]);
  }
}

TspColor BlendPixelMMX(TspColor F, TspColor B) {
#ifdef VANTREL_HAVE_SSE2
  const __m128i zero = _mm_setzero_si128();
  const __m128i r = Blend2(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(F)), zero),
                           _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(B)), zero));
  return static_cast<TspColor>(_mm_cvtsi128_si32(_mm_packus_epi16(r, zero)));
#else
  return MMXBlendScalar(F, B);
#endif
}

void BlendRowMMX(const TspColor* Src, TspColor* Dst, Integer Count) {
  Integer i = 0;
#ifdef VANTREL_HAVE_SSE2
  const __m128i opaque = _mm_set1_epi32(255);
  for (; i + 4 <= Count; i += 4) {
    const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
    const __m128i alpha = _mm_srli_epi32(f, 24);
    const int transparent = _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128()));
    if (transparent == 0xFFFF) continue;
    const __m128i isOpaque = _mm_cmpeq_epi32(alpha, opaque);
    __m128i* d = reinterpret_cast<__m128i*>(Dst + i);
    if (_mm_movemask_epi8(isOpaque) == 0xFFFF) {
      _mm_storeu_si128(d, f);
      continue;
    }
    // Alpha 0 blends to the destination exactly; alpha 255 takes the source unblended.
    const __m128i blended = Blend4(f, _mm_loadu_si128(d));
    _mm_storeu_si128(d,
                     _mm_or_si128(_mm_and_si128(isOpaque, f), _mm_andnot_si128(isOpaque, blended)));
  }
#endif
  for (; i < Count; ++i) {
    const TspColor F = Src[i];
    const uint32_t a = F >> 24;
    if (a == 0) continue;
    Dst[i] = a == 255 ? F : MMXBlendScalar(F, Dst[i]);
  }
}

}  // namespace vantrel::skin

#ifdef VANTREL_HAVE_SSE2
namespace {

// Blend2 on the four pixels of a 256-bit register held as 16-bit lanes.
__attribute__((target("avx2"))) __m256i Blend4x16(__m256i f16, __m256i b16) {
  const __m256i spread = _mm256_set_epi8(15, 14, 15, 14, 15, 14, 15, 14, 7, 6, 7, 6, 7, 6, 7, 6,
                                         15, 14, 15, 14, 15, 14, 15, 14, 7, 6, 7, 6, 7, 6, 7, 6);
  const __m256i a = _mm256_shuffle_epi8(f16, spread);
  const __m256i sum = _mm256_add_epi16(_mm256_slli_epi16(b16, 8),
                                       _mm256_mullo_epi16(_mm256_sub_epi16(f16, b16), a));
  return _mm256_srli_epi16(sum, 8);
}

// The SSE2 row blend on eight pixels a step: the same lanes and the same formula in 256-bit
// registers. Built for AVX2 alone; chosen only where the processor has it.
__attribute__((target("avx2"))) __m256i Blend8(__m256i f, __m256i b) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lo = Blend4x16(_mm256_unpacklo_epi8(f, zero), _mm256_unpacklo_epi8(b, zero));
  const __m256i hi = Blend4x16(_mm256_unpackhi_epi8(f, zero), _mm256_unpackhi_epi8(b, zero));
  return _mm256_packus_epi16(lo, hi);
}

}  // namespace

namespace vantrel::skin {

__attribute__((target("avx2"))) void BlendRowAVX2(const TspColor* Src, TspColor* Dst,
                                                  Integer Count) {
  Integer i = 0;
  const __m256i alphaBits = _mm256_set1_epi32(static_cast<int>(AlphaMask));
  // Large blends run at the speed of memory: each cache line of both rows is asked for
  // 4 KB ahead, so the loads overlap the arithmetic. The addresses go past the row (into
  // the next rows, or nowhere), which a prefetch allows; they are formed as integers.
  constexpr uintptr_t Ahead = 4096;
  const auto SrcAt = reinterpret_cast<uintptr_t>(Src);
  const auto DstAt = reinterpret_cast<uintptr_t>(Dst);
  for (; i + 8 <= Count; i += 8) {
    if ((i & 15) == 0) {
      const uintptr_t At = static_cast<uintptr_t>(i) * sizeof(TspColor) + Ahead;
      _mm_prefetch(reinterpret_cast<const char*>(SrcAt + At), _MM_HINT_T0);
      _mm_prefetch(reinterpret_cast<const char*>(DstAt + At), _MM_HINT_T0);
    }
    const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Src + i));
    // No alpha bit set in any pixel: all transparent; every one set: all opaque.
    if (_mm256_testz_si256(f, alphaBits)) continue;
    __m256i* d = reinterpret_cast<__m256i*>(Dst + i);
    if (_mm256_testc_si256(f, alphaBits)) {
      _mm256_storeu_si256(d, f);
      continue;
    }
    const __m256i isOpaque = _mm256_cmpeq_epi32(_mm256_and_si256(f, alphaBits), alphaBits);
    _mm256_storeu_si256(d, _mm256_blendv_epi8(Blend8(f, _mm256_loadu_si256(d)), f, isOpaque));
  }
  BlendRowMMX(Src + i, Dst + i, Count - i);
}

bool HasAVX2() { return __builtin_cpu_supports("avx2"); }

}  // namespace vantrel::skin
#else
namespace vantrel::skin {
void BlendRowAVX2(const TspColor* Src, TspColor* Dst, Integer Count) {
  BlendRowMMX(Src, Dst, Count);
}
bool HasAVX2() { return false; }
}  // namespace vantrel::skin
#endif

namespace vantrel::skin {

void CopyRowKeyed(const TspColor* Src, TspColor* Dst, Integer Count) {
  for (Integer i = 0; i < Count; ++i) {
    const TspColor c = Src[i];
    if ((c & RGBMask) != spKeyColor) Dst[i] = c | AlphaMask;
  }
}

void MoveRow(const TspColor* Src, TspColor* Dst, Integer Count) {
  // memmove keeps the source intact also when the runs overlap.
  if (Count <= 0 || Src == Dst) return;
  std::memmove(Dst, Src, static_cast<size_t>(Count) * sizeof(TspColor));
}

void FillRow(TspColor* Dst, Integer Count, TspColor Value) {
  for (Integer i = 0; i < Count; ++i) Dst[i] = Value;
}

void FillPixelRect(TspColor* Bits, Integer Width, Integer /*Height*/, Integer X1, Integer Y1,
                   Integer X2, Integer Y2, TspColor Value) {
  if (X2 < X1 || Y2 < Y1) return;
  for (Integer y = Y1; y <= Y2; ++y)
    FillRow(Bits + static_cast<ptrdiff_t>(y) * Width + X1, X2 - X1 + 1, Value);
}

void SetRowAlpha(TspColor* Dst, Integer Count, Byte Alpha) {
  const TspColor a = static_cast<TspColor>(Alpha) << 24;
  for (Integer i = 0; i < Count; ++i) Dst[i] = (Dst[i] & RGBMask) | a;
}

void SetRectAlpha(TspColor* Bits, Integer Width, Integer /*Height*/, Integer X1, Integer Y1,
                  Integer X2, Integer Y2, Byte Alpha) {
  if (X2 < X1 || Y2 < Y1) return;
  for (Integer y = Y1; y <= Y2; ++y)
    SetRowAlpha(Bits + static_cast<ptrdiff_t>(y) * Width + X1, X2 - X1 + 1, Alpha);
}

void SelectBlendForms(Boolean UseMMX) {
  PixelKernels.BlendPixel = UseMMX ? BlendPixelMMX : BlendPixelPlain;
  PixelKernels.BlendRow = !UseMMX ? BlendRowPlain : HasAVX2() ? BlendRowAVX2 : BlendRowMMX;
}

}  // namespace vantrel::skin

Boolean IsMMXSupported() {
#if defined(__x86_64__) || defined(__i386__)
  // __get_cpuid fails when the identification instruction or its function 1 is missing.
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  const unsigned family = (eax >> 8) & 0xF;
  return family >= 5 && (edx & (1u << 23)) != 0;
#else
  return false;
#endif
}

Boolean InitPixelKernels() {
  const Boolean mmx = IsMMXSupported();
  PixelKernels = TspPixelKernels{
      vantrel::skin::BlendPixelPlain, vantrel::skin::BlendRowPlain, vantrel::skin::CopyRowKeyed,
      vantrel::skin::MoveRow,         vantrel::skin::FillRow,       vantrel::skin::FillPixelRect,
      vantrel::skin::SetRowAlpha,     vantrel::skin::SetRectAlpha,
  };
  vantrel::skin::SelectBlendForms(mmx);
  return mmx;
}

void EmptyMMXState() {
  // The vector forms run on SSE registers, which share no state with the x87 unit: there is
  // nothing to clear. Callers still end their vector loops with it, so each loop shows where
  // the vector state ends.
}

void LoadTransparentBlt() {
  // Our raster core carries TransparentBlt itself; the library probe reduces to the
  // version test.
  TransparentBltAvailable = IsWin2000OrLater();
}

Boolean IsTransparentBltAvailable() { return TransparentBltAvailable; }

namespace {

// Unit start-up, in order: processor probe, TransparentBlt, kernels, drawing routines.
struct TspEffBmpUnit {
  TspEffBmpUnit() {
    MMXEnabled = IsMMXSupported();
    LoadTransparentBlt();
    InitPixelKernels();
    InitDrawRoutines();
  }
  ~TspEffBmpUnit() {
    TransparentBltAvailable = false;
    FreeBitmapList();
  }
};
const TspEffBmpUnit UnitInit;

}  // namespace
