// Text forms of skin values in skin.ini: booleans, points, rectangles, font styles, the
// skin enumerations and string lists, plus loading a skin picture from JPEG. Every reader
// and writer of the skin store and of the descriptors goes through these routines, so a
// value one writer produces reads back the same way everywhere.
#pragma once

#include <string_view>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"
#include "skin/core/drawing/SPUtils.h"  // TspStretchType

// Cross-fade kinds of the morph transitions.
enum TMorphKind {
  mkDefault,
  mkGradient,
  mkLeftGradient,
  mkRightGradient,
  mkLeftSlide,
  mkRightSlide,
  mkPush
};

// Effects that render the inactive form picture.
enum TspInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };

// 1 is true; any other integer, unreadable text and an absent key are false.
bool ReadIniBoolean(TCustomIniFile* Ini, const String& Section, const String& Ident);
void WriteIniBoolean(TCustomIniFile* Ini, const String& Section, const String& Ident, bool Value);

// Absent keys read as zeros; a present field without digits raises EConvertError.
void ReadIniPoint(TCustomIniFile* Ini, const String& Section, const String& Ident, TPoint& P);
void WriteIniPoint(TCustomIniFile* Ini, const String& Section, const String& Ident,
                   const TPoint& P);
void ReadIniRect(TCustomIniFile* Ini, const String& Section, const String& Ident, TRect& R);
void WriteIniRect(TCustomIniFile* Ini, const String& Section, const String& Ident, const TRect& R);

// "fsbold", "fsitalic", "fsunderline", "fsstrikeout", joined by ",".
TFontStyles ReadIniFontStyles(TCustomIniFile* Ini, const String& Section, const String& Ident);
void WriteIniFontStyles(TCustomIniFile* Ini, const String& Section, const String& Ident,
                        TFontStyles Styles);

// Keyword enumerations: an absent key gives the first value below, a word outside the
// list gives the second (they differ on purpose, the format depends on it).
//   alignment: taCenter / taRightJustify; stretch type: spstFull / spstHorz;
//   morph kind: mkDefault / mkDefault; inactive effect: ieBrightness / ieGrayScale.
TAlignment ReadIniAlignment(TCustomIniFile* Ini, const String& Section, const String& Ident);
void WriteIniAlignment(TCustomIniFile* Ini, const String& Section, const String& Ident,
                       TAlignment Value);
TspStretchType ReadIniStretchType(TCustomIniFile* Ini, const String& Section, const String& Ident);
void WriteIniStretchType(TCustomIniFile* Ini, const String& Section, const String& Ident,
                         TspStretchType Value);
TMorphKind ReadIniMorphKind(TCustomIniFile* Ini, const String& Section, const String& Ident);
void WriteIniMorphKind(TCustomIniFile* Ini, const String& Section, const String& Ident,
                       TMorphKind Value);
TspInActiveEffect ReadIniInActiveEffect(TCustomIniFile* Ini, const String& Section,
                                        const String& Ident);
void WriteIniInActiveEffect(TCustomIniFile* Ini, const String& Section, const String& Ident,
                            TspInActiveEffect Value);

// String lists: Name+"count", then keys "0", "1", ...; line lists: Name+"linecount", then
// Name+"line0", Name+"line1", ... The readers append to Strings without clearing it.
void ReadIniStrings(TCustomIniFile* Ini, const String& Section, const String& Name,
                    TStrings* Strings);
void WriteIniStrings(TCustomIniFile* Ini, const String& Section, const String& Name,
                     const TStrings* Strings);
void ReadIniLines(TCustomIniFile* Ini, const String& Section, const String& Name,
                  TStrings* Strings);
void WriteIniLines(TCustomIniFile* Ini, const String& Section, const String& Name,
                   const TStrings* Strings);

// Fields are split at ","; only the digits of a field are kept (a sign, blanks and letters
// are dropped), so "-5,10" is (5, 10). A field without digits, or out of the 32-bit range,
// raises EConvertError "'<field>' is not a valid integer value". Fields past the last one
// of the value are ignored.
void StrToPoint(std::string_view S, TPoint& P);
void StrToRect(std::string_view S, TRect& R);
String RectToStr(const TRect& R);

// True when the name contains ".jpg" or ".jpeg" (case matters).
bool IsJpegFileName(const String& FileName);
// Decodes the JPEG file and draws it at (0, 0) into Bitmap, resized to the picture; the
// bitmap keeps its pixel format. File and decoder errors pass on.
void LoadJpegToBitmap(TBitmap* Bitmap, const String& FileName);
// A picture file of a skin folder, decoded by what it holds rather than by its name (a
// stored skin writes BMP under JPEG names): a JPEG file (its first bytes FF D8 FF) through
// LoadJpegToBitmap, anything else as a BMP file. File and decoder errors pass on.
void LoadSkinPictureFile(TBitmap* Bitmap, const String& FileName);
