// Edit masks as free routines: reading a mask text ("mask;literals;blank"), the check of a
// character against a mask position, skipping literals, and formatting a value into the
// text an edit shows and back. Positions count code points of the shown text.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Types.h"

// What a mask position accepts.
enum TMaskCharKind {
  mkLiteral,       // a fixed character
  mkLetter,        // L: a letter, required
  mkLetterOpt,     // l: a letter, optional
  mkAlphaNum,      // A: a letter or digit, required
  mkAlphaNumOpt,   // a: a letter or digit, optional
  mkAny,           // C: any character, required
  mkAnyOpt,        // c: any character, optional
  mkDigit,         // 0: a digit, required
  mkDigitOpt,      // 9: a digit, optional
  mkDigitSignOpt   // #: a digit or a sign, optional
};
enum TMaskCase { mcNone, mcUpper, mcLower };

struct TMaskPosition {
  TMaskCharKind Kind = mkLiteral;
  char32_t Literal = 0;  // mkLiteral: the character shown
  TMaskCase Case = mcNone;
};

struct TMaskInfo {
  std::vector<TMaskPosition> Positions;
  bool Reverse = false;       // '!': optional positions left blank lead rather than trail
  bool SaveLiterals = true;   // second field not "0": Text keeps the literals
  char32_t Blank = U'_';      // third field: the character of an empty position
  bool IsMasked() const { return !Positions.empty(); }
  Integer Count() const { return static_cast<Integer>(Positions.size()); }
};

// The separators of the platform's fixed locale that ':' and '/' stand for.
constexpr char32_t MaskTimeSeparator = U':';
constexpr char32_t MaskDateSeparator = U'/';

// Reads a mask text; an empty text gives no positions (not masked). A lone '\' at the end
// is a literal backslash.
TMaskInfo ParseEditMask(const String& EditMask);

bool MaskIsLiteral(const TMaskInfo& Mask, Integer Pos);
// A position that must not stay blank (L, A, C, 0).
bool MaskIsRequired(const TMaskInfo& Mask, Integer Pos);
// Whether C may stand at Pos (false for literals and past the end).
bool MaskCharFits(const TMaskInfo& Mask, Integer Pos, char32_t C);
// C in the position's letter case.
char32_t MaskApplyCase(const TMaskInfo& Mask, Integer Pos, char32_t C);
// The first input position at or after Pos (Count when none), the last at or before Pos
// (-1 when none).
Integer MaskNextInput(const TMaskInfo& Mask, Integer Pos);
Integer MaskPrevInput(const TMaskInfo& Mask, Integer Pos);
// What position Pos shows when empty: the literal or the blank character.
char32_t MaskEmptyChar(const TMaskInfo& Mask, Integer Pos);

// The shown text for Value, literals in place: Value's characters fill the input
// positions in order (from the end with '!'), literals of the mask in Value are taken as
// themselves, and a character that does not fit leaves its position blank.
String MaskFormat(const TMaskInfo& Mask, const String& Value);
String FormatMaskText(const String& EditMask, const String& Value);
// The value of a shown text: blanks as spaces, literals kept or left out as the mask says.
String MaskEditTextToText(const TMaskInfo& Mask, const String& EditText);
// False with Pos at the first required position holding a blank (or past the text's end).
bool MaskValidate(const TMaskInfo& Mask, const String& EditText, Integer& Pos);
