// Text forms of skin values; see SkinValues.h.
#include "skin/core/data/SkinValues.h"

#include <algorithm>
#include <array>

#include "platform/rtl/NumConv.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/Jpeg.h"

namespace {

constexpr std::array<const char*, 3> AlignmentWords = {"taleftjustify", "tarightjustify",
                                                       "tacenter"};
constexpr std::array<const char*, 3> StretchTypeWords = {"stfull", "sthorz", "stvert"};
constexpr std::array<const char*, 7> MorphKindWords = {
    "mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
    "mkleftslide", "mkrightslide", "mkpush"};
constexpr std::array<const char*, 6> InActiveEffectWords = {
    "iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};

// Reads a keyword with the word of Absent as default; the index of the first exact match,
// Fallback when none matches.
template <class E, size_t N>
E ReadKeyword(TCustomIniFile* Ini, const String& Section, const String& Ident,
              const std::array<const char*, N>& Words, E Absent, E Fallback) {
  const String S = Ini->ReadString(Section, Ident, Words[static_cast<size_t>(Absent)]);
  for (size_t i = 0; i < N; ++i)
    if (S == Words[i]) return static_cast<E>(i);
  return Fallback;
}

template <class E, size_t N>
void WriteKeyword(TCustomIniFile* Ini, const String& Section, const String& Ident,
                  const std::array<const char*, N>& Words, E Value) {
  const auto i = static_cast<size_t>(Value);
  Ini->WriteString(Section, Ident, i < N ? Words[i] : Words[0]);
}

// Splits S at "," into Fields, keeping only the digits, and converts each field.
template <size_t N>
std::array<Integer, N> ParseFields(std::string_view S) {
  std::array<String, N> Text;
  size_t Field = 0;
  for (const char C : S) {
    if (C == ',') {
      ++Field;  // past the last field the rest is dropped
    } else if (C >= '0' && C <= '9' && Field < N) {
      Text[Field] += C;
    }
  }
  std::array<Integer, N> Values{};
  for (size_t i = 0; i < N; ++i) Values[i] = StrToInt(Text[i]);
  return Values;
}

// Reads a list whose count key is CountKey and whose line i is under LineKey(i). A count
// larger than the section could hold (one key per line) would otherwise invent a run of
// empty lines as long as the number says, up to exhausting memory: then only the lines up
// to the last one present are read.
template <class KeyOf>
void ReadList(TCustomIniFile* Ini, const String& Section, const String& CountKey, KeyOf LineKey,
              TStrings* Strings) {
  Integer Count = Ini->ReadInteger(Section, CountKey, 0);
  if (Count <= 0) return;
  TStringList Keys;
  Ini->ReadSection(Section, Keys);
  if (Count > Keys.Count()) {
    Integer Last = -1;
    for (Integer i = 0; i < Keys.Count(); ++i) {
      // Candidates are the keys that look like a line key; each is checked exactly.
      const String K = Keys.Get(i);
      const String Digits = K.substr(K.find_last_not_of("0123456789") + 1);
      Integer Index;
      if (Digits.empty() || !TryStrToInt(Digits, Index) || Index >= Count) continue;
      if (SameText(LineKey(Index), K)) Last = std::max(Last, Index);
    }
    Count = Last + 1;
  }
  Strings->BeginUpdate();
  try {
    for (Integer i = 0; i < Count; ++i)
      Strings->Add(Ini->ReadString(Section, LineKey(i), String()));
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

template <class KeyOf>
void WriteList(TCustomIniFile* Ini, const String& Section, const String& CountKey, KeyOf LineKey,
               const TStrings* Strings) {
  Ini->WriteInteger(Section, CountKey, Strings->Count());
  for (Integer i = 0; i < Strings->Count(); ++i)
    Ini->WriteString(Section, LineKey(i), Strings->Get(i));
}

}  // namespace

bool ReadIniBoolean(TCustomIniFile* Ini, const String& Section, const String& Ident) {
  return Ini->ReadInteger(Section, Ident, 0) == 1;
}

void WriteIniBoolean(TCustomIniFile* Ini, const String& Section, const String& Ident, bool Value) {
  Ini->WriteInteger(Section, Ident, Value ? 1 : 0);
}

void StrToPoint(std::string_view S, TPoint& P) {
  const auto V = ParseFields<2>(S);
  P.X = V[0];
  P.Y = V[1];
}

void StrToRect(std::string_view S, TRect& R) {
  const auto V = ParseFields<4>(S);
  R.Left = V[0];
  R.Top = V[1];
  R.Right = V[2];
  R.Bottom = V[3];
}

String RectToStr(const TRect& R) {
  return IntToStr(R.Left) + "," + IntToStr(R.Top) + "," + IntToStr(R.Right) + "," +
         IntToStr(R.Bottom);
}

void ReadIniPoint(TCustomIniFile* Ini, const String& Section, const String& Ident, TPoint& P) {
  StrToPoint(Ini->ReadString(Section, Ident, "0,0"), P);
}

void WriteIniPoint(TCustomIniFile* Ini, const String& Section, const String& Ident,
                   const TPoint& P) {
  Ini->WriteString(Section, Ident, IntToStr(P.X) + "," + IntToStr(P.Y));
}

void ReadIniRect(TCustomIniFile* Ini, const String& Section, const String& Ident, TRect& R) {
  StrToRect(Ini->ReadString(Section, Ident, "0,0,0,0"), R);
}

void WriteIniRect(TCustomIniFile* Ini, const String& Section, const String& Ident, const TRect& R) {
  Ini->WriteString(Section, Ident, RectToStr(R));
}

TFontStyles ReadIniFontStyles(TCustomIniFile* Ini, const String& Section, const String& Ident) {
  const String S = Ini->ReadString(Section, Ident, String());
  TFontStyles Styles;
  if (S.find("fsbold") != String::npos) Styles.Include(fsBold);
  if (S.find("fsitalic") != String::npos) Styles.Include(fsItalic);
  if (S.find("fsunderline") != String::npos) Styles.Include(fsUnderline);
  if (S.find("fsstrikeout") != String::npos) Styles.Include(fsStrikeOut);
  return Styles;
}

void WriteIniFontStyles(TCustomIniFile* Ini, const String& Section, const String& Ident,
                        TFontStyles Styles) {
  String S;
  auto Add = [&S](const char* Word) {
    if (!S.empty()) S += ",";
    S += Word;
  };
  if (Styles.Contains(fsBold)) Add("fsbold");
  if (Styles.Contains(fsItalic)) Add("fsitalic");
  if (Styles.Contains(fsUnderline)) Add("fsunderline");
  if (Styles.Contains(fsStrikeOut)) Add("fsstrikeout");
  Ini->WriteString(Section, Ident, S);
}

TAlignment ReadIniAlignment(TCustomIniFile* Ini, const String& Section, const String& Ident) {
  return ReadKeyword(Ini, Section, Ident, AlignmentWords, taCenter, taRightJustify);
}

void WriteIniAlignment(TCustomIniFile* Ini, const String& Section, const String& Ident,
                       TAlignment Value) {
  WriteKeyword(Ini, Section, Ident, AlignmentWords, Value);
}

TspStretchType ReadIniStretchType(TCustomIniFile* Ini, const String& Section, const String& Ident) {
  return ReadKeyword(Ini, Section, Ident, StretchTypeWords, spstFull, spstHorz);
}

void WriteIniStretchType(TCustomIniFile* Ini, const String& Section, const String& Ident,
                         TspStretchType Value) {
  WriteKeyword(Ini, Section, Ident, StretchTypeWords, Value);
}

TMorphKind ReadIniMorphKind(TCustomIniFile* Ini, const String& Section, const String& Ident) {
  return ReadKeyword(Ini, Section, Ident, MorphKindWords, mkDefault, mkDefault);
}

void WriteIniMorphKind(TCustomIniFile* Ini, const String& Section, const String& Ident,
                       TMorphKind Value) {
  WriteKeyword(Ini, Section, Ident, MorphKindWords, Value);
}

TspInActiveEffect ReadIniInActiveEffect(TCustomIniFile* Ini, const String& Section,
                                        const String& Ident) {
  return ReadKeyword(Ini, Section, Ident, InActiveEffectWords, ieBrightness, ieGrayScale);
}

void WriteIniInActiveEffect(TCustomIniFile* Ini, const String& Section, const String& Ident,
                            TspInActiveEffect Value) {
  WriteKeyword(Ini, Section, Ident, InActiveEffectWords, Value);
}

void ReadIniStrings(TCustomIniFile* Ini, const String& Section, const String& Name,
                    TStrings* Strings) {
  ReadList(
      Ini, Section, Name + "count", [](Integer i) { return IntToStr(i); }, Strings);
}

void WriteIniStrings(TCustomIniFile* Ini, const String& Section, const String& Name,
                     const TStrings* Strings) {
  WriteList(
      Ini, Section, Name + "count", [](Integer i) { return IntToStr(i); }, Strings);
}

void ReadIniLines(TCustomIniFile* Ini, const String& Section, const String& Name,
                  TStrings* Strings) {
  ReadList(
      Ini, Section, Name + "linecount", [&Name](Integer i) { return Name + "line" + IntToStr(i); },
      Strings);
}

void WriteIniLines(TCustomIniFile* Ini, const String& Section, const String& Name,
                   const TStrings* Strings) {
  WriteList(
      Ini, Section, Name + "linecount", [&Name](Integer i) { return Name + "line" + IntToStr(i); },
      Strings);
}

bool IsJpegFileName(const String& FileName) {
  return FileName.find(".jpg") != String::npos || FileName.find(".jpeg") != String::npos;
}

namespace {

void DrawJpegIntoBitmap(TBitmap* Bitmap, TStream* Stream) {
  TOwned<TJPEGImage> Jpeg = CreateOwned<TJPEGImage>();
  Jpeg->LoadFromStream(Stream);
  Bitmap->SetSize(Jpeg->Width(), Jpeg->Height());
  Bitmap->Canvas()->Draw(0, 0, Jpeg.get());
}

}  // namespace

void LoadJpegToBitmap(TBitmap* Bitmap, const String& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  DrawJpegIntoBitmap(Bitmap, &File);
}

void LoadSkinPictureFile(TBitmap* Bitmap, const String& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  Byte Signature[3] = {};
  File.Read(Signature, 3);
  File.SetPosition(0);
  if (Signature[0] == 0xFF && Signature[1] == 0xD8 && Signature[2] == 0xFF)
    DrawJpegIntoBitmap(Bitmap, &File);
  else
    Bitmap->LoadFromStream(&File);
}
