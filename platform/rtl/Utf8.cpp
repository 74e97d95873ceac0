#include "platform/rtl/Utf8.h"

#include <algorithm>
#include <cwctype>
#include <locale>

namespace {

// Length of the well-formed UTF-8 sequence at P (N bytes left), 0 when the byte there
// does not start one (stray continuation, overlong form, surrogate, above U+10FFFF, cut).
size_t SequenceLength(const unsigned char* P, size_t N) {
  const unsigned C = P[0];
  if (C < 0x80) return 1;
  size_t Len;
  if (C >= 0xC2 && C <= 0xDF)
    Len = 2;
  else if (C >= 0xE0 && C <= 0xEF)
    Len = 3;
  else if (C >= 0xF0 && C <= 0xF4)
    Len = 4;
  else
    return 0;
  if (N < Len) return 0;
  unsigned Lo = 0x80, Hi = 0xBF;
  if (C == 0xE0)
    Lo = 0xA0;
  else if (C == 0xED)
    Hi = 0x9F;
  else if (C == 0xF0)
    Lo = 0x90;
  else if (C == 0xF4)
    Hi = 0x8F;
  if (P[1] < Lo || P[1] > Hi) return 0;
  for (size_t K = 2; K < Len; ++K)
    if ((P[K] & 0xC0) != 0x80) return 0;
  return Len;
}

// Bytes of the code point at Pos (an invalid byte is one code point of its own).
size_t Step(const String& S, size_t Pos) {
  const size_t Len =
      SequenceLength(reinterpret_cast<const unsigned char*>(S.data()) + Pos, S.size() - Pos);
  return Len ? Len : 1;
}

// Byte offset reached from byte From by skipping Count code points (stops at the end).
size_t Advance(const String& S, size_t From, Integer Count) {
  size_t Pos = From;
  while (Count > 0 && Pos < S.size()) {
    Pos += Step(S, Pos);
    --Count;
  }
  return Pos;
}

char AsciiUpper(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 32) : C; }
char AsciiLower(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; }
bool IsTrimmed(char C) { return static_cast<unsigned char>(C) <= ' '; }

}  // namespace

Integer Utf8Length(const String& S) {
  Integer N = 0;
  for (size_t Pos = 0; Pos < S.size(); Pos += Step(S, Pos)) ++N;
  return N;
}

std::u32string Utf8ToCodePoints(const String& S) {
  std::u32string Result;
  Result.reserve(S.size());
  const auto* P = reinterpret_cast<const unsigned char*>(S.data());
  size_t Pos = 0;
  while (Pos < S.size()) {
    const size_t Len = SequenceLength(P + Pos, S.size() - Pos);
    char32_t C;
    switch (Len) {
      case 0:
        C = 0xDC00 + P[Pos];
        break;
      case 1:
        C = P[Pos];
        break;
      case 2:
        C = ((P[Pos] & 0x1Fu) << 6) | (P[Pos + 1] & 0x3Fu);
        break;
      case 3:
        C = ((P[Pos] & 0x0Fu) << 12) | ((P[Pos + 1] & 0x3Fu) << 6) | (P[Pos + 2] & 0x3Fu);
        break;
      default:
        C = ((P[Pos] & 0x07u) << 18) | ((P[Pos + 1] & 0x3Fu) << 12) | ((P[Pos + 2] & 0x3Fu) << 6) |
            (P[Pos + 3] & 0x3Fu);
        break;
    }
    Result.push_back(C);
    Pos += Len ? Len : 1;
  }
  return Result;
}

String CodePointToUtf8(char32_t C) {
  String R;
  if (C >= 0xDC80 && C <= 0xDCFF) {
    R.push_back(static_cast<char>(C - 0xDC00));
    return R;
  }
  if ((C >= 0xD800 && C <= 0xDFFF) || C > 0x10FFFF) C = 0xFFFD;
  if (C < 0x80) {
    R.push_back(static_cast<char>(C));
  } else if (C < 0x800) {
    R.push_back(static_cast<char>(0xC0 | (C >> 6)));
    R.push_back(static_cast<char>(0x80 | (C & 0x3F)));
  } else if (C < 0x10000) {
    R.push_back(static_cast<char>(0xE0 | (C >> 12)));
    R.push_back(static_cast<char>(0x80 | ((C >> 6) & 0x3F)));
    R.push_back(static_cast<char>(0x80 | (C & 0x3F)));
  } else {
    R.push_back(static_cast<char>(0xF0 | (C >> 18)));
    R.push_back(static_cast<char>(0x80 | ((C >> 12) & 0x3F)));
    R.push_back(static_cast<char>(0x80 | ((C >> 6) & 0x3F)));
    R.push_back(static_cast<char>(0x80 | (C & 0x3F)));
  }
  return R;
}

String CodePointsToUtf8(const std::u32string& S) {
  String R;
  R.reserve(S.size());
  for (char32_t C : S) R += CodePointToUtf8(C);
  return R;
}

size_t Utf8ByteOffset(const String& S, Integer CharIndex) {
  if (CharIndex < 1) return 0;
  return Advance(S, 0, CharIndex - 1);
}

Integer Utf8CharIndex(const String& S, size_t ByteOffset) {
  Integer Index = 1;
  size_t Pos = 0;
  while (Pos < S.size()) {
    const size_t Next = Pos + Step(S, Pos);
    if (ByteOffset < Next) return Index;
    Pos = Next;
    ++Index;
  }
  return Index;
}

String Copy(const String& S, Integer Index, Integer Count) {
  if (Count <= 0) return String();
  if (Index < 1) Index = 1;
  const size_t Start = Advance(S, 0, Index - 1);
  return S.substr(Start, Advance(S, Start, Count) - Start);
}

Integer PosEx(const String& Sub, const String& S, Integer Offset) {
  if (Sub.empty() || Offset < 1) return 0;
  size_t Boundary = Advance(S, 0, Offset - 1);  // a code-point boundary at or before Found
  Integer Index = Offset;                       // code-point index of Boundary
  if (Boundary >= S.size()) return 0;
  size_t From = Boundary;
  for (;;) {
    const size_t Found = S.find(Sub, From);
    if (Found == String::npos) return 0;
    while (Boundary < Found) {
      Boundary += Step(S, Boundary);
      ++Index;
    }
    // Only a match of whole code points counts (a stray byte of Sub may equal a byte
    // inside a longer sequence of S).
    if (Boundary == Found) {
      size_t End = Found;
      while (End < Found + Sub.size()) End += Step(S, End);
      if (End == Found + Sub.size()) return Index;
    }
    From = Found + 1;
  }
}

Integer Pos(const String& Sub, const String& S) { return PosEx(Sub, S, 1); }

void Delete(String& S, Integer Index, Integer Count) {
  if (Index < 1 || Count <= 0) return;
  const size_t Start = Advance(S, 0, Index - 1);
  if (Start >= S.size()) return;
  S.erase(Start, Advance(S, Start, Count) - Start);
}

void Insert(const String& Sub, String& S, Integer Index) {
  S.insert(Index < 1 ? 0 : Advance(S, 0, Index - 1), Sub);
}

String UpperCase(const String& S) {
  String R(S);
  for (char& C : R) C = AsciiUpper(C);
  return R;
}

String LowerCase(const String& S) {
  String R(S);
  for (char& C : R) C = AsciiLower(C);
  return R;
}

Integer CompareText(const String& S1, const String& S2) {
  const size_t N = std::min(S1.size(), S2.size());
  for (size_t I = 0; I < N; ++I) {
    const int A = static_cast<unsigned char>(AsciiUpper(S1[I]));
    const int B = static_cast<unsigned char>(AsciiUpper(S2[I]));
    if (A != B) return A - B;
  }
  return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

Integer CompareStr(const String& S1, const String& S2) {
  const int R = S1.compare(S2);
  return R < 0 ? -1 : (R > 0 ? 1 : 0);
}

bool SameText(const String& S1, const String& S2) {
  return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

String Trim(const String& S) { return TrimRight(TrimLeft(S)); }

String TrimLeft(const String& S) {
  size_t I = 0;
  while (I < S.size() && IsTrimmed(S[I])) ++I;
  return S.substr(I);
}

String TrimRight(const String& S) {
  size_t N = S.size();
  while (N > 0 && IsTrimmed(S[N - 1])) --N;
  return S.substr(0, N);
}

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  // ASCII case folding keeps byte offsets, so the folded copies index S directly.
  const bool IgnoreCase = Flags.Contains(rfIgnoreCase);
  const String Hay = IgnoreCase ? UpperCase(S) : String();
  const String Needle = IgnoreCase ? UpperCase(OldPattern) : String();
  const String& SearchIn = IgnoreCase ? Hay : S;
  const String& SearchFor = IgnoreCase ? Needle : OldPattern;
  String R;
  size_t From = 0;
  for (;;) {
    const size_t Found = SearchIn.find(SearchFor, From);
    if (Found == String::npos) break;
    R.append(S, From, Found - From);
    R += NewPattern;
    From = Found + OldPattern.size();
    if (!Flags.Contains(rfReplaceAll)) break;
  }
  R.append(S, From, String::npos);
  return R;
}

bool StartsText(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() && SameText(Text.substr(0, SubText.size()), SubText);
}

bool EndsText(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() &&
         SameText(Text.substr(Text.size() - SubText.size()), SubText);
}

bool StartsStr(const String& SubText, const String& Text) {
  return Text.compare(0, SubText.size(), SubText) == 0;
}

bool EndsStr(const String& SubText, const String& Text) {
  return SubText.size() <= Text.size() &&
         Text.compare(Text.size() - SubText.size(), SubText.size(), SubText) == 0;
}

String IntToHexBits(UInt64 Bits, Integer Digits) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  String R;
  do {
    R.push_back(Hex[Bits & 0xF]);
    Bits >>= 4;
  } while (Bits != 0);
  while (static_cast<Integer>(R.size()) < Digits) R.push_back('0');
  std::reverse(R.begin(), R.end());
  return R;
}

String StringOfChar(char Ch, Integer Count) {
  return Count > 0 ? String(static_cast<size_t>(Count), Ch) : String();
}

namespace {

// The wide-character classification of C.UTF-8, or nullptr where the C library lacks it.
const std::ctype<wchar_t>* UnicodeCaseFacet() {
  static const std::ctype<wchar_t>* const Facet = []() -> const std::ctype<wchar_t>* {
    try {
      static const std::locale L("C.UTF-8");
      return &std::use_facet<std::ctype<wchar_t>>(L);
    } catch (const std::exception&) {
      return nullptr;
    }
  }();
  return Facet;
}

}  // namespace

char32_t UpperCaseChar(char32_t C) {
  const std::ctype<wchar_t>* F = UnicodeCaseFacet();
  const wchar_t W = static_cast<wchar_t>(C);
  return static_cast<char32_t>(F ? F->toupper(W) : std::towupper(static_cast<wint_t>(W)));
}

char32_t LowerCaseChar(char32_t C) {
  const std::ctype<wchar_t>* F = UnicodeCaseFacet();
  const wchar_t W = static_cast<wchar_t>(C);
  return static_cast<char32_t>(F ? F->tolower(W) : std::towlower(static_cast<wint_t>(W)));
}

bool IsLetterChar(char32_t C) {
  const std::ctype<wchar_t>* F = UnicodeCaseFacet();
  const wchar_t W = static_cast<wchar_t>(C);
  return F ? F->is(std::ctype_base::alpha, W) : std::iswalpha(static_cast<wint_t>(W)) != 0;
}
