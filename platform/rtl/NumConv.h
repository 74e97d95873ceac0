// Number <-> text conversions and number helpers of the class library: IntToStr, StrToInt and
// StrToFloat with their EConvertError texts, FloatToStrF, Round (halves to even), checked
// integer arithmetic raising EIntOverflow, and MulDiv. The decimal separator is always '.'.
#pragma once

#include <concepts>
#include <string>
#include <string_view>

#include "platform/rtl/Types.h"

String IntToStr(Integer Value);
String IntToStr(Int64 Value);
// Any other integer type (unsigned, size_t ...).
template <std::integral T>
  requires(!std::same_as<T, bool>)
String IntToStr(T Value) {
  return std::to_string(Value);
}

// Leading blanks, an optional sign, then decimal digits or hexadecimal after "$", "0x" or
// "0X" (hexadecimal may fill all bits: "$FFFFFFFF" is -1 as an Integer).
// Raise EConvertError "'%s' is not a valid integer value" (also when out of range).
Integer StrToInt(const String& S);
Int64 StrToInt64(const String& S);
Integer StrToIntDef(const String& S, Integer Default);
Int64 StrToInt64Def(const String& S, Int64 Default);
bool TryStrToInt(std::string_view S, Integer& Value);
bool TryStrToInt64(std::string_view S, Int64& Value);

// Blanks around, optional sign, digits with the decimal point ".", optional exponent; raises
// EConvertError
// "'%s' is not a valid floating point value".
Extended StrToFloat(const String& S);
Extended StrToFloatDef(const String& S, Extended Default);
bool TryStrToFloat(const String& S, Extended& Value);
bool TryStrToFloat(const String& S, Double& Value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// ffGeneral: shortest of fixed or exponent with Precision significant digits, trailing zeros
// dropped; ffExponent: d.ddd E+dddd with Precision digits and at least Digits exponent digits;
// ffFixed: Digits decimals; ffNumber: like ffFixed with ',' thousands separators; ffCurrency:
// ffNumber with a "$" prefix ("-$" for negatives). NaN and infinities give "NAN", "INF", "-INF".
String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits);
String FloatToStr(Extended Value);  // ffGeneral, 15 digits

// Round to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4). Raises EInvalidOp for NaN,
// infinities and values outside Int64.
Int64 Round(Extended Value);
Int64 Trunc(Extended Value);  // toward zero; same errors as Round

// Arithmetic that raises EIntOverflow "Integer overflow" instead of wrapping.
Integer CheckedAdd(Integer A, Integer B);
Integer CheckedSub(Integer A, Integer B);
Integer CheckedMul(Integer A, Integer B);
Int64 CheckedAdd(Int64 A, Int64 B);
Int64 CheckedSub(Int64 A, Int64 B);
Int64 CheckedMul(Int64 A, Int64 B);
// Narrowing that raises EIntOverflow when the value does not fit an Integer.
Integer CheckedInt(Int64 Value);

// A * B / C with a 64-bit intermediate, rounded half away from zero; -1 when C is 0 or the
// result does not fit an Integer.
Integer MulDiv(Integer A, Integer B, Integer C);
