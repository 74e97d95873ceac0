#include "platform/rtl/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr int MaxFloatDigits = 18;
constexpr Integer MaxWidth = 1 << 20;  // bounds a width or precision read from the text

String PrintF(const char* Fmt, int Prec, long double Value) {
  char Small[64];
  const int N = std::snprintf(Small, sizeof Small, Fmt, Prec, Value);
  if (N < static_cast<int>(sizeof Small)) return String(Small, static_cast<size_t>(N));
  std::vector<char> Big(static_cast<size_t>(N) + 1);
  std::snprintf(Big.data(), Big.size(), Fmt, Prec, Value);
  return String(Big.data(), static_cast<size_t>(N));
}

// "-0.00" and the like lose their sign: a minus only shows with a non-zero digit.
void DropNegativeZero(String& S) {
  if (!S.empty() && S[0] == '-' && S.find_first_of("123456789") == String::npos) S.erase(0, 1);
}

bool NonFinite(long double V, String& Out) {
  if (std::isnan(V)) {
    Out = "NAN";
    return true;
  }
  if (std::isinf(V)) {
    Out = V < 0 ? "-INF" : "INF";
    return true;
  }
  return false;
}

String ExponentText(int Exp, bool PlusSign) {
  String R = "E";
  if (Exp < 0)
    R += '-';
  else if (PlusSign)
    R += '+';
  String Digits = std::to_string(Exp < 0 ? -Exp : Exp);
  while (Digits.size() < 3) Digits.insert(0, "0");
  return R + Digits;
}

// Scientific form "-d.ddd" + exponent with Prec significant digits.
String FormatExponent(long double V, int Prec) {
  String Out;
  if (NonFinite(V, Out)) return Out;
  const String C = PrintF("%.*LE", Prec - 1, V);  // "-1.2345E+03"
  const size_t E = C.find('E');
  Out = C.substr(0, E) + ExponentText(std::atoi(C.c_str() + E + 1), true);
  DropNegativeZero(Out);
  return Out;
}

// Shortest of fixed or scientific with at most Prec significant digits.
String FormatGeneral(long double V, int Prec) {
  String Out;
  if (NonFinite(V, Out)) return Out;
  if (V == 0) return "0";
  const String C = PrintF("%.*LE", Prec - 1, V);
  const size_t E = C.find('E');
  const int Exp = std::atoi(C.c_str() + E + 1);
  String Digits;
  for (size_t I = 0; I < E; ++I)
    if (C[I] >= '0' && C[I] <= '9') Digits += C[I];
  while (Digits.size() > 1 && Digits.back() == '0') Digits.pop_back();
  const String Sign = V < 0 ? "-" : "";
  if (Exp < Prec && std::fabs(V) >= 0.00001L) {
    if (Exp < 0) return Sign + "0." + String(static_cast<size_t>(-Exp - 1), '0') + Digits;
    const size_t IntLen = static_cast<size_t>(Exp) + 1;
    if (Digits.size() <= IntLen) return Sign + Digits + String(IntLen - Digits.size(), '0');
    return Sign + Digits.substr(0, IntLen) + "." + Digits.substr(IntLen);
  }
  Out = Sign + Digits.substr(0, 1);
  if (Digits.size() > 1) Out += "." + Digits.substr(1);
  return Out + ExponentText(Exp, false);
}

String WithThousands(const String& Fixed) {
  const size_t Start = (!Fixed.empty() && Fixed[0] == '-') ? 1 : 0;
  size_t IntEnd = Fixed.find('.');
  if (IntEnd == String::npos) IntEnd = Fixed.size();
  String R = Fixed.substr(0, Start);
  for (size_t I = Start; I < IntEnd; ++I) {
    if (I > Start && (IntEnd - I) % 3 == 0) R += ',';
    R += Fixed[I];
  }
  return R + Fixed.substr(IntEnd);
}

String PadDigits(String Digits, Integer Prec) {
  if (Prec > static_cast<Integer>(Digits.size()))
    Digits.insert(0, static_cast<size_t>(Prec) - Digits.size(), '0');
  return Digits;
}

UInt64 MaskedBits(const TVarRec& A) {
  const UInt64 Bits = A.AsUInt64();
  return A.Bits() >= 64 ? Bits : Bits & ((UInt64{1} << A.Bits()) - 1);
}

class TFormatter {
 public:
  TFormatter(const String& Fmt, std::initializer_list<TVarRec> Args)
      : FFmt(Fmt), FArgs(Args.begin()), FCount(Args.size()) {}

  String Run() {
    String Out;
    size_t I = 0;
    while (I < FFmt.size()) {
      const size_t Pct = FFmt.find('%', I);
      if (Pct == String::npos) {
        Out.append(FFmt, I, String::npos);
        break;
      }
      Out.append(FFmt, I, Pct - I);
      FPos = Pct + 1;
      if (Peek() == '%') {
        Out += '%';
        I = FPos + 1;
        continue;
      }
      Out += Spec();
      I = FPos;
    }
    return Out;
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EConvertError("Format '" + FFmt + "' invalid or incompatible with argument");
  }
  char Peek() const { return FPos < FFmt.size() ? FFmt[FPos] : '\0'; }

  const TVarRec& NextArg() {
    if (FNext >= FCount) throw EConvertError("No argument for format '" + FFmt + "'");
    return FArgs[FNext++];
  }

  // A number of the text or "*" (an integer argument); none when neither is there.
  std::optional<Integer> Number() {
    if (Peek() == '*') {
      ++FPos;
      const TVarRec& A = NextArg();
      if (A.Kind() == TVarRec::vtInteger)
        return static_cast<Integer>(std::clamp<Int64>(A.AsInt64(), -MaxWidth, MaxWidth));
      if (A.Kind() == TVarRec::vtUnsigned)
        return static_cast<Integer>(std::min<UInt64>(A.AsUInt64(), MaxWidth));
      Invalid();
    }
    if (Peek() < '0' || Peek() > '9') return std::nullopt;
    Integer N = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      if (N < MaxWidth) N = N * 10 + (Peek() - '0');
      ++FPos;
    }
    return N;
  }

  String Spec() {
    bool Left = false;
    std::optional<Integer> Width = Number();
    if (Width && Peek() == ':') {
      ++FPos;
      if (*Width < 0) Invalid();
      FNext = static_cast<size_t>(*Width);
      Width.reset();
    }
    if (!Width) {
      if (Peek() == '-') {
        Left = true;
        ++FPos;
      }
      Width = Number();
    }
    if (Width && *Width < 0) {  // a negative "*" width left-justifies
      Left = true;
      Width = -*Width;
    }
    Integer Prec = -1;  // none
    if (Peek() == '.') {
      ++FPos;
      const std::optional<Integer> P = Number();
      Prec = !P ? 0 : (*P < 0 ? -1 : *P);  // "." alone is 0, a negative "*" none
    }
    if (FPos >= FFmt.size()) Invalid();
    char Type = FFmt[FPos++];
    if (Type >= 'a' && Type <= 'z') Type = static_cast<char>(Type - 32);
    String Text = Convert(Type, Prec, NextArg());
    if (Width && *Width > 0) {
      const Integer Len = Utf8Length(Text);
      if (Len < *Width) {
        const String Pad(static_cast<size_t>(*Width - Len), ' ');
        Text = Left ? Text + Pad : Pad + Text;
      }
    }
    return Text;
  }

  String Convert(char Type, Integer Prec, const TVarRec& A) {
    const bool IsInt = A.Kind() == TVarRec::vtInteger || A.Kind() == TVarRec::vtUnsigned;
    switch (Type) {
      case 'D': {
        if (!IsInt) Invalid();
        if (A.Kind() == TVarRec::vtUnsigned) return PadDigits(std::to_string(A.AsUInt64()), Prec);
        const Int64 V = A.AsInt64();
        const UInt64 Mag = V < 0 ? UInt64{0} - static_cast<UInt64>(V) : static_cast<UInt64>(V);
        return (V < 0 ? "-" : "") + PadDigits(std::to_string(Mag), Prec);
      }
      case 'U':
        if (!IsInt) Invalid();
        return PadDigits(std::to_string(MaskedBits(A)), Prec);
      case 'X':
        if (!IsInt) Invalid();
        return IntToHexBits(MaskedBits(A), Prec);
      case 'P':
        if (A.Kind() != TVarRec::vtPointer) Invalid();
        return IntToHexBits(reinterpret_cast<uintptr_t>(A.AsPointer()), 2 * sizeof(void*));
      case 'S': {
        String S;
        if (A.Kind() == TVarRec::vtString)
          S = A.AsString();
        else if (A.Kind() == TVarRec::vtChar)
          S = CodePointToUtf8(A.AsChar());
        else
          Invalid();
        if (Prec >= 0 && Utf8Length(S) > Prec) S = Copy(S, 1, Prec);
        return S;
      }
      case 'E':
      case 'F':
      case 'G':
      case 'N':
      case 'M': {
        if (A.Kind() != TVarRec::vtExtended) Invalid();
        const long double V = A.AsExtended();
        if (Type == 'E')
          return FormatExponent(V, Prec < 0 ? 15 : std::clamp(Prec, 1, MaxFloatDigits));
        if (Type == 'G')
          return FormatGeneral(V, Prec < 0 ? 15 : std::clamp(Prec, 1, MaxFloatDigits));
        const String Fixed = FormatFloatFixed(V, Prec < 0 ? 2 : Prec);
        return Type == 'F' ? Fixed : WithThousands(Fixed);
      }
      default:
        Invalid();
    }
  }

  const String& FFmt;
  const TVarRec* FArgs;
  size_t FCount;
  size_t FNext = 0;  // the argument the next conversion takes
  size_t FPos = 0;   // read position in FFmt while parsing a conversion
};

}  // namespace

String TVarRec::AsString() const {
  return FLen == static_cast<size_t>(-1) ? String(FStr) : String(FStr, FLen);
}

String FormatFloatFixed(long double Value, int Digits) {
  String Out;
  if (NonFinite(Value, Out)) return Out;
  Out = PrintF("%.*Lf", std::clamp(Digits, 0, MaxFloatDigits), Value);
  DropNegativeZero(Out);
  return Out;
}

String Format(const String& Fmt, std::initializer_list<TVarRec> Args) {
  return TFormatter(Fmt, Args).Run();
}
