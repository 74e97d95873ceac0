// Number <-> text conversions with the class library's rules and messages.
#include "platform/rtl/NumConv.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// Parses S as an integer of Bits width (32 or 64). Decimal must fit the signed range;
// hexadecimal may use every bit and is reinterpreted as signed.
bool ParseInt(std::string_view S, int Bits, Int64& Out) {
  size_t i = 0;
  const size_t n = S.size();
  while (i < n && IsBlank(S[i])) ++i;
  bool Neg = false;
  if (i < n && (S[i] == '+' || S[i] == '-')) {
    Neg = S[i] == '-';
    ++i;
  }
  bool Hex = false;
  if (i < n && S[i] == '$') {
    Hex = true;
    ++i;
  } else if (i + 1 < n && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
    Hex = true;
    i += 2;
  }
  if (i >= n) return false;
  if (Hex) {
    const UInt64 Limit = Bits == 32 ? 0xFFFFFFFFull : ~0ull;
    UInt64 V = 0;
    for (; i < n; ++i) {
      const int D = HexDigit(S[i]);
      if (D < 0 || V > (Limit >> 4)) return false;
      V = (V << 4) | static_cast<UInt64>(D);
    }
    if (Bits == 32) {
      Int64 R = static_cast<int32_t>(static_cast<uint32_t>(V));
      Out = Neg ? -R : R;
      if (Neg && R == std::numeric_limits<int32_t>::min()) return false;
    } else {
      Int64 R = static_cast<Int64>(V);
      if (Neg && R == std::numeric_limits<Int64>::min()) return false;
      Out = Neg ? -R : R;
    }
    return true;
  }
  // Accumulate as a negative number so the minimum value parses.
  const Int64 Min = Bits == 32 ? std::numeric_limits<int32_t>::min()
                               : std::numeric_limits<Int64>::min();
  const Int64 Max = Bits == 32 ? std::numeric_limits<int32_t>::max()
                               : std::numeric_limits<Int64>::max();
  Int64 V = 0;
  for (; i < n; ++i) {
    const char C = S[i];
    if (C < '0' || C > '9') return false;
    const int D = C - '0';
    if (V < (Min + D) / 10) return false;
    V = V * 10 - D;
  }
  if (!Neg) {
    if (V < -Max) return false;
    V = -V;
  }
  Out = V;
  return true;
}

[[noreturn]] void IntError(const String& S) {
  throw EConvertError(Format("'%s' is not a valid integer value", {S}));
}

[[noreturn]] void InvalidOp() { throw EInvalidOp("Invalid floating point operation"); }

locale_t CLocale() {
  static const locale_t Loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return Loc;
}

// Decimal digits of Value rounded half away from zero to at most MaxDigits significant digits
// (1..18), the digit string without trailing zeros ("" for zero) and the decimal exponent of the
// first digit.
struct TDecimal {
  bool Negative = false;
  String Digits;
  int Exponent = 0;
};

TDecimal ToDecimal(Extended Value, int MaxDigits) {
  TDecimal R;
  R.Negative = std::signbit(Value);
  if (Value == 0) return R;
  char Buf[64];
  // 18 significant digits first, as the class library's conversion does, then one rounding.
  std::snprintf(Buf, sizeof Buf, "%.17Le", std::fabs(Value));
  String Mant;
  const char* p = Buf;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') Mant += *p;
  R.Exponent = std::atoi(p + 1);
  if (MaxDigits < static_cast<int>(Mant.size())) {
    if (MaxDigits <= 0) {
      // Nothing kept but a possible carry into the next higher digit.
      if (MaxDigits == 0 && Mant[0] >= '5') {
        R.Digits = "1";
        ++R.Exponent;
      }
      return R;
    }
    const bool Up = Mant[MaxDigits] >= '5';
    Mant.resize(MaxDigits);
    if (Up) {
      int k = MaxDigits - 1;
      while (k >= 0 && Mant[k] == '9') Mant[k--] = '0';
      if (k >= 0) {
        ++Mant[k];
      } else {
        Mant.insert(Mant.begin(), '1');
        Mant.pop_back();
        ++R.Exponent;
      }
    }
  }
  while (!Mant.empty() && Mant.back() == '0') Mant.pop_back();
  R.Digits = Mant;
  return R;
}

String Exponent(int E, int MinDigits, bool AlwaysSign) {
  String S = "E";
  if (E < 0) S += '-';
  else if (AlwaysSign) S += '+';
  String D = std::to_string(E < 0 ? -E : E);
  while (static_cast<int>(D.size()) < MinDigits) D.insert(D.begin(), '0');
  return S + D;
}

String GroupThousands(const String& Int) {
  String R;
  const int n = static_cast<int>(Int.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) R += ',';
    R += Int[i];
  }
  return R;
}

// Fixed notation of D with Decimals decimals; the integer part grouped when Group.
String FixedText(const TDecimal& D, int Decimals, bool Group) {
  String Int, Frac;
  if (D.Digits.empty() || D.Exponent < 0) {
    Int = "0";
  } else {
    for (int i = 0; i <= D.Exponent; ++i)
      Int += i < static_cast<int>(D.Digits.size()) ? D.Digits[i] : '0';
  }
  for (int i = 0; i < Decimals; ++i) {
    const int k = D.Exponent + 1 + i;  // index into Digits
    Frac += (!D.Digits.empty() && k >= 0 && k < static_cast<int>(D.Digits.size())) ? D.Digits[k]
                                                                                  : '0';
  }
  String S = Group ? GroupThousands(Int) : Int;
  if (Decimals > 0) S += "." + Frac;
  return S;
}

String ScientificText(const TDecimal& D, int MinDigitsShown, int ExpDigits, bool AlwaysSign) {
  String M = D.Digits.empty() ? String("0") : D.Digits;
  while (static_cast<int>(M.size()) < MinDigitsShown) M += '0';
  String S(1, M[0]);
  if (M.size() > 1) S += "." + M.substr(1);
  return S + Exponent(D.Digits.empty() ? 0 : D.Exponent, ExpDigits, AlwaysSign);
}

}  // namespace

String IntToStr(Integer Value) { return std::to_string(Value); }
String IntToStr(Int64 Value) { return std::to_string(Value); }

bool TryStrToInt(std::string_view S, Integer& Value) {
  Int64 V;
  if (!ParseInt(S, 32, V)) return false;
  Value = static_cast<Integer>(V);
  return true;
}

bool TryStrToInt64(std::string_view S, Int64& Value) { return ParseInt(S, 64, Value); }

Integer StrToInt(const String& S) {
  Integer V;
  if (!TryStrToInt(S, V)) IntError(S);
  return V;
}

Int64 StrToInt64(const String& S) {
  Int64 V;
  if (!TryStrToInt64(S, V)) IntError(S);
  return V;
}

Integer StrToIntDef(const String& S, Integer Default) {
  Integer V;
  return TryStrToInt(S, V) ? V : Default;
}

Int64 StrToInt64Def(const String& S, Int64 Default) {
  Int64 V;
  return TryStrToInt64(S, V) ? V : Default;
}

bool TryStrToFloat(const String& S, Extended& Value) {
  // Check the shape first: strtold alone would also take "inf", "nan" and hexadecimal.
  size_t i = 0;
  const size_t n = S.size();
  while (i < n && IsBlank(S[i])) ++i;
  const size_t Start = i;
  if (i < n && (S[i] == '+' || S[i] == '-')) ++i;
  size_t Digits = 0;
  while (i < n && S[i] >= '0' && S[i] <= '9') ++i, ++Digits;
  if (i < n && S[i] == '.') {
    ++i;
    while (i < n && S[i] >= '0' && S[i] <= '9') ++i, ++Digits;
  }
  if (Digits == 0) return false;
  if (i < n && (S[i] == 'e' || S[i] == 'E')) {
    ++i;
    if (i < n && (S[i] == '+' || S[i] == '-')) ++i;
    size_t ExpDigits = 0;
    while (i < n && S[i] >= '0' && S[i] <= '9') ++i, ++ExpDigits;
    if (ExpDigits == 0) return false;
  }
  const size_t End = i;
  while (i < n && IsBlank(S[i])) ++i;
  if (i != n) return false;
  const String Num = S.substr(Start, End - Start);
  char* EndPtr = nullptr;
  const long double V = strtold_l(Num.c_str(), &EndPtr, CLocale());
  if (std::isinf(V)) return false;  // overflow
  Value = V;
  return true;
}

bool TryStrToFloat(const String& S, Double& Value) {
  Extended V;
  if (!TryStrToFloat(S, V) || std::fabs(V) > std::numeric_limits<double>::max()) return false;
  Value = static_cast<Double>(V);
  return true;
}

Extended StrToFloat(const String& S) {
  Extended V;
  if (!TryStrToFloat(S, V))
    throw EConvertError(Format("'%s' is not a valid floating point value", {S}));
  return V;
}

Extended StrToFloatDef(const String& S, Extended Default) {
  Extended V;
  return TryStrToFloat(S, V) ? V : Default;
}

String FloatToStrF(Extended Value, TFloatFormat Fmt, Integer Precision, Integer Digits) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value > 0 ? "INF" : "-INF";
  if (Precision < 1) Precision = 1;
  if (Precision > 18) Precision = 18;
  if (Digits < 0) Digits = 0;
  String Body;
  TDecimal D;
  switch (Fmt) {
    case ffExponent: {
      if (Digits > 4) Digits = 4;
      D = ToDecimal(Value, Precision);
      Body = ScientificText(D, Precision, Digits, true);
      break;
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      if (Digits > 18) Digits = 18;
      D = ToDecimal(Value, Precision);
      if (!D.Digits.empty() && D.Exponent >= Precision) {
        // Too large for fixed notation at this precision: general format.
        Body = ScientificText(D, 1, 0, false);
        break;
      }
      D = ToDecimal(Value, std::min<int>(Precision, ToDecimal(Value, 18).Exponent + 1 + Digits));
      Body = FixedText(D, Digits, Fmt != ffFixed);
      if (Fmt == ffCurrency) Body = "$" + Body;
      break;
    }
    case ffGeneral:
    default: {
      if (Digits > 4) Digits = 4;
      D = ToDecimal(Value, Precision);
      if (D.Digits.empty()) {
        Body = "0";
      } else if (D.Exponent >= Precision || D.Exponent < -5) {
        Body = ScientificText(D, 1, Digits, false);
      } else {
        const int Decimals = std::max(0, static_cast<int>(D.Digits.size()) - D.Exponent - 1);
        Body = FixedText(D, Decimals, false);
      }
      break;
    }
  }
  // A minus sign only in front of a non-zero digit.
  if (D.Negative && !D.Digits.empty()) Body = "-" + Body;
  return Body;
}

String FloatToStr(Extended Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }

Int64 Round(Extended Value) {
  if (!std::isfinite(Value)) InvalidOp();
  const long double R = std::nearbyint(Value);
  if (R < -9223372036854775808.0L || R >= 9223372036854775808.0L) InvalidOp();
  return static_cast<Int64>(R);
}

Int64 Trunc(Extended Value) {
  if (!std::isfinite(Value)) InvalidOp();
  const long double R = std::trunc(Value);
  if (R < -9223372036854775808.0L || R >= 9223372036854775808.0L) InvalidOp();
  return static_cast<Int64>(R);
}

namespace {
[[noreturn]] void Overflow() { throw EIntOverflow("Integer overflow"); }
}  // namespace

Integer CheckedAdd(Integer A, Integer B) {
  Integer R;
  if (__builtin_add_overflow(A, B, &R)) Overflow();
  return R;
}
Integer CheckedSub(Integer A, Integer B) {
  Integer R;
  if (__builtin_sub_overflow(A, B, &R)) Overflow();
  return R;
}
Integer CheckedMul(Integer A, Integer B) {
  Integer R;
  if (__builtin_mul_overflow(A, B, &R)) Overflow();
  return R;
}
Int64 CheckedAdd(Int64 A, Int64 B) {
  Int64 R;
  if (__builtin_add_overflow(A, B, &R)) Overflow();
  return R;
}
Int64 CheckedSub(Int64 A, Int64 B) {
  Int64 R;
  if (__builtin_sub_overflow(A, B, &R)) Overflow();
  return R;
}
Int64 CheckedMul(Int64 A, Int64 B) {
  Int64 R;
  if (__builtin_mul_overflow(A, B, &R)) Overflow();
  return R;
}
Integer CheckedInt(Int64 Value) {
  if (Value < std::numeric_limits<Integer>::min() || Value > std::numeric_limits<Integer>::max())
    Overflow();
  return static_cast<Integer>(Value);
}

Integer MulDiv(Integer A, Integer B, Integer C) {
  if (C == 0) return -1;
  const Int64 P = static_cast<Int64>(A) * B;  // fits: |A*B| <= 2^62
  const bool Neg = (P < 0) != (C < 0);
  const UInt64 UP = P < 0 ? static_cast<UInt64>(-P) : static_cast<UInt64>(P);
  const UInt64 UC = C < 0 ? static_cast<UInt64>(-static_cast<Int64>(C)) : static_cast<UInt64>(C);
  const UInt64 Q = (UP + UC / 2) / UC;  // half away from zero
  if (Q > static_cast<UInt64>(std::numeric_limits<Integer>::max()) + (Neg ? 1 : 0)) return -1;
  return Neg ? static_cast<Integer>(-static_cast<Int64>(Q)) : static_cast<Integer>(Q);
}
