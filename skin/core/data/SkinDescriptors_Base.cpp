// The key walkers (section reader, section writer, creation values) and the two roots of
// the descriptor classes with the resizable-control base.
#include "platform/rtl/NumConv.h"
#include "skin/core/data/SkinDescriptors.h"
#include "skin/core/data/SkinIniFile.h"
#include "skin/core/data/SkinValues.h"

using vantrel::skin::SkinKeyVisitor;

namespace {

// Reads each key from section [Section]; missing keys give their absent values.
class SectionReader final : public SkinKeyVisitor {
 public:
  SectionReader(TCustomIniFile* Ini, const String& Section)
      : FIni(Ini), FIndex(dynamic_cast<vantrel::skin::SkinIniFile*>(Ini)), FSection(Section) {}

  using SkinKeyVisitor::Bool;
  using SkinKeyVisitor::FontStyle;
  using SkinKeyVisitor::MorphKind;
  using SkinKeyVisitor::Point;
  using SkinKeyVisitor::Rect;
  using SkinKeyVisitor::StretchType;

  void Int(const char* Key, Integer& Field, Integer Absent, Integer) override {
    if (const auto [Whole, V] = Read(Key); Whole) {
      Integer I;
      Field = V && TryStrToInt(*V, I) ? I : Absent;
    } else {
      Field = FIni->ReadInteger(FSection, Key, Absent);
    }
  }
  void Str(const char* Key, String& Field, const char* Absent, const char*) override {
    if (const auto [Whole, V] = Read(Key); Whole)
      Field = V ? String(*V) : String(Absent);
    else
      Field = FIni->ReadString(FSection, Key, Absent);
  }
  void Bool(const char* Key, bool& Field, bool) override {
    Integer I = 0;
    Int(Key, I, 0, 0);
    Field = I == 1;
  }
  void Rect(const char* Key, TRect& Field, TRect) override {
    if (const auto [Whole, V] = Read(Key); Whole)
      StrToRect(V ? *V : "0,0,0,0", Field);
    else
      ReadIniRect(FIni, FSection, Key, Field);
  }
  void Point(const char* Key, TPoint& Field, TPoint) override {
    if (const auto [Whole, V] = Read(Key); Whole)
      StrToPoint(V ? *V : "0,0", Field);
    else
      ReadIniPoint(FIni, FSection, Key, Field);
  }
  void FontStyle(const char* Key, TFontStyles& Field, TFontStyles) override {
    Field = ReadIniFontStyles(FIni, FSection, Key);
  }
  void Alignment(const char* Key, TAlignment& Field, TAlignment) override {
    Field = ReadIniAlignment(FIni, FSection, Key);
  }
  void StretchType(const char* Key, TspStretchType& Field, TspStretchType) override {
    Field = ReadIniStretchType(FIni, FSection, Key);
  }
  void MorphKind(const char* Key, TMorphKind& Field, TMorphKind) override {
    Field = ReadIniMorphKind(FIni, FSection, Key);
  }
  void InActiveEffect(const char* Key, TspInActiveEffect& Field, TspInActiveEffect) override {
    Field = ReadIniInActiveEffect(FIni, FSection, Key);
  }
  void Lines(const char* Name, TStrings& Field) override {
    ReadIniLines(FIni, FSection, Name, &Field);
  }
  void KeywordValue(const char* Key, Integer& Field, std::initializer_list<const char*> Words,
                    Integer Fallback, Integer Absent, Integer) override {
    const String S = FIni->ReadString(FSection, Key, Words.begin()[Absent]);
    Field = Fallback;
    Integer i = 0;
    for (const char* W : Words) {
      if (S == W) {
        Field = i;
        break;
      }
      ++i;
    }
  }

 private:
  // A skin's own ini gives its values straight from its index, without the strings the
  // ini interface makes for each key, default and value. First: the value was read here
  // (second null for an absent key); false sends the read the ini's own way (another
  // ini, or a value ReadString would cut).
  std::pair<bool, const std::string_view*> Read(const char* Key) const {
    if (!FIndex) return {false, nullptr};
    const std::string_view* V = FIndex->Value(FSection, Key);
    if (V && V->size() > static_cast<size_t>(vantrel::skin::SkinIniFile::ValueLimit))
      return {false, nullptr};
    return {true, V};
  }

  TCustomIniFile* FIni;
  vantrel::skin::SkinIniFile* FIndex;
  String FSection;
};

// Writes every key into section [Section].
class SectionWriter final : public SkinKeyVisitor {
 public:
  SectionWriter(TCustomIniFile* Ini, const String& Section) : FIni(Ini), FSection(Section) {}

  using SkinKeyVisitor::Bool;
  using SkinKeyVisitor::FontStyle;
  using SkinKeyVisitor::MorphKind;
  using SkinKeyVisitor::Point;
  using SkinKeyVisitor::Rect;
  using SkinKeyVisitor::StretchType;

  void Int(const char* Key, Integer& Field, Integer, Integer) override {
    FIni->WriteInteger(FSection, Key, Field);
  }
  void Str(const char* Key, String& Field, const char*, const char*) override {
    FIni->WriteString(FSection, Key, Field);
  }
  void Bool(const char* Key, bool& Field, bool) override {
    WriteIniBoolean(FIni, FSection, Key, Field);
  }
  void Rect(const char* Key, TRect& Field, TRect) override {
    WriteIniRect(FIni, FSection, Key, Field);
  }
  void Point(const char* Key, TPoint& Field, TPoint) override {
    WriteIniPoint(FIni, FSection, Key, Field);
  }
  void FontStyle(const char* Key, TFontStyles& Field, TFontStyles) override {
    WriteIniFontStyles(FIni, FSection, Key, Field);
  }
  void Alignment(const char* Key, TAlignment& Field, TAlignment) override {
    WriteIniAlignment(FIni, FSection, Key, Field);
  }
  void StretchType(const char* Key, TspStretchType& Field, TspStretchType) override {
    WriteIniStretchType(FIni, FSection, Key, Field);
  }
  void MorphKind(const char* Key, TMorphKind& Field, TMorphKind) override {
    WriteIniMorphKind(FIni, FSection, Key, Field);
  }
  void InActiveEffect(const char* Key, TspInActiveEffect& Field, TspInActiveEffect) override {
    WriteIniInActiveEffect(FIni, FSection, Key, Field);
  }
  void Lines(const char* Name, TStrings& Field) override {
    WriteIniLines(FIni, FSection, Name, &Field);
  }
  void KeywordValue(const char* Key, Integer& Field, std::initializer_list<const char*> Words,
                    Integer Fallback, Integer, Integer) override {
    const Integer Count = static_cast<Integer>(Words.size());
    const Integer i = Field >= 0 && Field < Count ? Field : Fallback;
    FIni->WriteString(FSection, Key, Words.begin()[i]);
  }

 private:
  TCustomIniFile* FIni;
  String FSection;
};

// Sets each field to its creation value.
class CreateValues final : public SkinKeyVisitor {
 public:
  using SkinKeyVisitor::Bool;
  using SkinKeyVisitor::FontStyle;
  using SkinKeyVisitor::MorphKind;
  using SkinKeyVisitor::Point;
  using SkinKeyVisitor::Rect;
  using SkinKeyVisitor::StretchType;

  void Int(const char*, Integer& Field, Integer, Integer Create) override { Field = Create; }
  void Str(const char*, String& Field, const char*, const char* Create) override { Field = Create; }
  void Bool(const char*, bool& Field, bool Create) override { Field = Create; }
  void Rect(const char*, TRect& Field, TRect Create) override { Field = Create; }
  void Point(const char*, TPoint& Field, TPoint Create) override { Field = Create; }
  void FontStyle(const char*, TFontStyles& Field, TFontStyles Create) override { Field = Create; }
  void Alignment(const char*, TAlignment& Field, TAlignment Create) override { Field = Create; }
  void StretchType(const char*, TspStretchType& Field, TspStretchType Create) override {
    Field = Create;
  }
  void MorphKind(const char*, TMorphKind& Field, TMorphKind Create) override { Field = Create; }
  void InActiveEffect(const char*, TspInActiveEffect& Field, TspInActiveEffect Create) override {
    Field = Create;
  }
  void Lines(const char*, TStrings&) override {}
  void KeywordValue(const char*, Integer& Field, std::initializer_list<const char*>, Integer,
                    Integer, Integer Create) override {
    Field = Create;
  }
};

}  // namespace

// ---- TspDataSkinControl ------------------------------------------------------------------

TspDataSkinControl::TspDataSkinControl(const String& AIDName) : IDName(AIDName) {
  SetCreateValues();
}

void TspDataSkinControl::SetCreateValues() {
  CreateValues V;
  VisitKeys(V);
}

void TspDataSkinControl::LoadFromFile(TCustomIniFile* IniFile) {
  SectionReader R(IniFile, IDName);
  VisitKeys(R);
}

void TspDataSkinControl::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(IDName);
  SectionWriter W(IniFile, IDName);
  VisitKeys(W);
}

void TspDataSkinControl::VisitKeys(SkinKeyVisitor& V) {
  V.Int("pictureindex", PictureIndex, -1, -1);
  V.Int("maskpictureindex", MaskPictureIndex, -1, -1);
  V.Int("cursorindex", CursorIndex, -1, -1);
  V.Rect("skinrect", SkinRect);
}

// ---- TspDataSkinCustomControl ------------------------------------------------------------

TspDataSkinCustomControl::TspDataSkinCustomControl(const String& AIDName)
    : TspDataSkinControl(AIDName) {
  SetCreateValues();
}

void TspDataSkinCustomControl::VisitKeys(SkinKeyVisitor& V) {
  TspDataSkinControl::VisitKeys(V);
  V.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
  V.Rect("clientrect", ClRect);
  V.Bool("stretcheffect", StretchEffect);
  V.Bool("leftstretch", LeftStretch);
  V.Bool("topstretch", TopStretch);
  V.Bool("rightstretch", RightStretch);
  V.Bool("bottomstretch", BottomStretch);
  V.StretchType("stretchtype", StretchType);
}

// ---- TspDataSkinObject -------------------------------------------------------------------

TspDataSkinObject::TspDataSkinObject(const String& AIDName) : IDName(AIDName) { SetCreateValues(); }

void TspDataSkinObject::SetCreateValues() {
  CreateValues V;
  VisitKeys(V);
}

void TspDataSkinObject::LoadFromFile(TCustomIniFile* IniFile) {
  SectionReader R(IniFile, IDName);
  VisitKeys(R);
}

void TspDataSkinObject::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(IDName);
  SectionWriter W(IniFile, IDName);
  VisitKeys(W);
}

void TspDataSkinObject::VisitKeys(SkinKeyVisitor& V) {
  V.Str("hint", Hint, "", "");
  V.Bool("rollup", RollUp);
  V.Int("activepictureindex", ActivePictureIndex, -1, -1);
  V.Int("activemaskpictureindex", ActiveMaskPictureIndex, -1, -1);
  V.Bool("skinrectinapicture", SkinRectInAPicture);
  V.Int("cursorindex", CursorIndex, -1, -1);
  V.Rect("skinrect", SkinRect);
  V.Rect("activeskinrect", ActiveSkinRect);
  V.Rect("inactiveskinrect", InActiveSkinRect);
  V.Bool("morphing", Morphing);
  V.MorphKind("morphkind", MorphKind);
  V.Int("glowlayerpictureindex", GlowLayerPictureIndex, -1, -1);
  V.Int("glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1, -1);
  V.Int("glowlayeroffsetx", GlowLayerOffsetX, 0, 0);
  V.Int("glowlayeroffsety", GlowLayerOffsetY, 0, 0);
  V.Int("glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255, 255);
}

// ---- Shared key groups -------------------------------------------------------------------

void SkinKeyVisitor::Font(String& Name, Integer& Height, TFontStyles& Style, Integer& Color,
                          const char* CreateName, Integer CreateHeight, const char* Prefix) {
  const String P = Prefix;
  Str((P + "fontname").c_str(), Name, "Arial", CreateName);
  Int((P + "fontheight").c_str(), Height, 14, CreateHeight);
  FontStyle((P + "fontstyle").c_str(), Style);
  Int((P + "fontcolor").c_str(), Color, 0, 0);
}

void SkinKeyVisitor::Corners(TPoint& LT, TPoint& RT, TPoint& LB, TPoint& RB, const char* Prefix) {
  const String P = Prefix;
  Point((P + "lefttoppoint").c_str(), LT);
  Point((P + "righttoppoint").c_str(), RT);
  Point((P + "leftbottompoint").c_str(), LB);
  Point((P + "rightbottompoint").c_str(), RB);
}

// ---- Key lists of records with a section of their own -----------------------------------

namespace vantrel::skin {

void ReadSectionKeys(TCustomIniFile* Ini, const String& Section, const SkinKeyList& Keys) {
  SectionReader R(Ini, Section);
  Keys(R);
}

void WriteSectionKeys(TCustomIniFile* Ini, const String& Section, const SkinKeyList& Keys) {
  SectionWriter W(Ini, Section);
  Keys(W);
}

void SetCreationValues(const SkinKeyList& Keys) {
  CreateValues V;
  Keys(V);
}

}  // namespace vantrel::skin
