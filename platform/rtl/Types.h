// Basic value types of the platform layer: the integer and string names the rest of the
// code reads in, points and rectangles, and a small bit set for enumerations.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

using Integer = int32_t;
using Cardinal = uint32_t;
using LongInt = int32_t;
using LongWord = uint32_t;
using Int64 = int64_t;
using UInt64 = uint64_t;
using Word = uint16_t;
using SmallInt = int16_t;
using Byte = uint8_t;
using ShortInt = int8_t;
using Boolean = bool;
using Single = float;
using Double = double;
using Extended = long double;  // 80-bit x87 on x86-64

// All text is UTF-8.
using String = std::string;
using AnsiString = std::string;
using WideString = std::string;
using UnicodeString = std::string;
using TPathFileName = std::string;

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int32_t X, int32_t Y) { return {X, Y}; }
inline TRect Rect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  return {Left, Top, Right, Bottom};
}
inline TRect Bounds(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
  return {Left, Top, Left + Width, Top + Height};
}

// `set of` an enumeration whose ordinals are below 64.
template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) FBits |= Bit(e);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr TSet& operator+=(TSet o) {
    FBits |= o.FBits;
    return *this;
  }
  constexpr TSet& operator-=(TSet o) {
    FBits &= ~o.FBits;
    return *this;
  }
  constexpr bool operator<=(TSet o) const { return (FBits & ~o.FBits) == 0; }
  friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }

 private:
  static constexpr uint64_t Bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }
  uint64_t FBits = 0;
};
