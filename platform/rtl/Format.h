// The class library's Format: "%" [index ":"] ["-"] [width] ["." prec] type, with "*"
// taking a width or precision from the arguments. Hexadecimal is upper-case, %f
// without a precision has two decimals, the decimal separator is always ".", and a
// bad format or argument raises EConvertError with the format text.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "platform/rtl/Types.h"

// One argument of Format. Built implicitly from integers, floating-point values,
// strings, characters and pointers; a bool is not a format argument.
class TVarRec {
 public:
  enum TKind { vtInteger, vtUnsigned, vtExtended, vtString, vtChar, vtPointer };

  TVarRec(signed char V) : FKind(vtInteger), FInt(V), FBits(8) {}
  TVarRec(short V) : FKind(vtInteger), FInt(V), FBits(16) {}
  TVarRec(int V) : FKind(vtInteger), FInt(V), FBits(32) {}
  TVarRec(long V) : FKind(vtInteger), FInt(V), FBits(8 * sizeof(long)) {}
  TVarRec(long long V) : FKind(vtInteger), FInt(V), FBits(64) {}
  TVarRec(unsigned char V) : FKind(vtUnsigned), FUInt(V), FBits(8) {}
  TVarRec(unsigned short V) : FKind(vtUnsigned), FUInt(V), FBits(16) {}
  TVarRec(unsigned int V) : FKind(vtUnsigned), FUInt(V), FBits(32) {}
  TVarRec(unsigned long V) : FKind(vtUnsigned), FUInt(V), FBits(8 * sizeof(long)) {}
  TVarRec(unsigned long long V) : FKind(vtUnsigned), FUInt(V), FBits(64) {}
  TVarRec(float V) : FKind(vtExtended), FExt(V) {}
  TVarRec(double V) : FKind(vtExtended), FExt(V) {}
  TVarRec(long double V) : FKind(vtExtended), FExt(V) {}
  TVarRec(char V) : FKind(vtChar), FChar(static_cast<unsigned char>(V)) {}
  TVarRec(char32_t V) : FKind(vtChar), FChar(V) {}
  TVarRec(const char* V) : FKind(vtString), FStr(V ? V : "") {}
  TVarRec(const String& V) : FKind(vtString), FStr(V.c_str()), FLen(V.size()) {}
  TVarRec(const void* V) : FKind(vtPointer), FPtr(V) {}
  TVarRec(std::nullptr_t) : FKind(vtPointer), FPtr(nullptr) {}
  TVarRec(bool) = delete;

  TKind Kind() const { return FKind; }
  // Integers: the value, and its width in bits (for %x and %u of negative values).
  Int64 AsInt64() const { return FInt; }
  UInt64 AsUInt64() const { return FUInt; }
  int Bits() const { return FBits; }
  long double AsExtended() const { return FExt; }
  char32_t AsChar() const { return FChar; }
  const void* AsPointer() const { return FPtr; }
  // Strings: the text (a const char* argument is measured on first use).
  String AsString() const;

 private:
  TKind FKind;
  union {
    Int64 FInt;
    UInt64 FUInt;
    long double FExt;
    char32_t FChar;
    const void* FPtr;
    const char* FStr;
  };
  size_t FLen = static_cast<size_t>(-1);
  int FBits = 0;
};

// Formats Args by Fmt with the class library's rules (see above). Raises EConvertError
// "Format '<Fmt>' invalid or incompatible with argument" or "No argument for format
// '<Fmt>'".
String Format(const String& Fmt, std::initializer_list<TVarRec> Args);

// Fixed notation with Digits decimals (0..18), "." as separator, rounded to nearest
// as the C library does; "-" only when a non-zero digit is shown.
String FormatFloatFixed(long double Value, int Digits);
