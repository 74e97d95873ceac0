// UTF-8 string helpers: code-point counting and the class library's 1-based string
// routines (Copy, Pos, Delete, Insert) counting code points, plus ASCII-case helpers.
// A byte that does not start a valid UTF-8 sequence counts as one code point and is
// always kept as it is.
#pragma once

#include <concepts>
#include <cstddef>
#include <string>
#include <type_traits>

#include "platform/rtl/Types.h"

// Number of code points in S.
Integer Utf8Length(const String& S);

// Decodes S. An invalid byte b becomes the lone surrogate U+DC00 + b, which
// CodePointsToUtf8 turns back into the byte, so a round trip never changes the text.
std::u32string Utf8ToCodePoints(const String& S);
String CodePointsToUtf8(const std::u32string& S);
// Encodes one code point; a lone surrogate U+DC80..U+DCFF gives back its raw byte,
// other surrogates and values above U+10FFFF give U+FFFD.
String CodePointToUtf8(char32_t C);

// 0-based byte offset where the 1-based code point CharIndex starts; S.size() when
// CharIndex is past the end, 0 when it is below 1.
size_t Utf8ByteOffset(const String& S, Integer CharIndex);
// 1-based index of the code point that contains the byte at 0-based ByteOffset;
// Utf8Length(S) + 1 when ByteOffset is at or past the end.
Integer Utf8CharIndex(const String& S, size_t ByteOffset);

// The class library's string routines, counting code points from 1.
// Copy: Count code points from Index; Index < 1 counts as 1, out-of-range parts are cut.
String Copy(const String& S, Integer Index, Integer Count);
// 1-based code-point position of the first Sub in S, 0 when absent or Sub is empty.
Integer Pos(const String& Sub, const String& S);
// As Pos, searching from code point Offset (1-based); 0 when Offset is out of range.
Integer PosEx(const String& Sub, const String& S, Integer Offset);
// Removes Count code points from Index; nothing when Index is out of range.
void Delete(String& S, Integer Index, Integer Count);
// Inserts Sub before code point Index (below 1: at the start, past the end: appended).
void Insert(const String& Sub, String& S, Integer Index);

// ASCII-case helpers: only 'a'..'z' / 'A'..'Z' change or compare case-insensitively.
String UpperCase(const String& S);
String LowerCase(const String& S);
bool SameText(const String& S1, const String& S2);
// <0, 0, >0 as S1 sorts before, equal to, or after S2.
Integer CompareText(const String& S1, const String& S2);
Integer CompareStr(const String& S1, const String& S2);
// Remove leading and/or trailing spaces and control characters (bytes <= ' ').
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags);

bool StartsText(const String& SubText, const String& Text);
bool EndsText(const String& SubText, const String& Text);
bool StartsStr(const String& SubText, const String& Text);
bool EndsStr(const String& SubText, const String& Text);

// Upper-case hexadecimal of the value's bits in its own width (IntToHex(-1, 2) of an
// Integer is "FFFFFFFF"), at least Digits digits.
String IntToHexBits(UInt64 Bits, Integer Digits);
template <std::integral T>
requires(!std::same_as<T, bool>) String IntToHex(T Value, Integer Digits) {
  using U = std::make_unsigned_t<T>;
  return IntToHexBits(static_cast<UInt64>(static_cast<U>(Value)), Digits);
}

String StringOfChar(char Ch, Integer Count);

// The upper- or lower-case form of one code point by Unicode's simple case mapping (the
// C.UTF-8 locale's); a code point without one comes back unchanged.
char32_t UpperCaseChar(char32_t C);
char32_t LowerCaseChar(char32_t C);
// Whether the code point is a letter (the same locale's classification).
bool IsLetterChar(char32_t C);
