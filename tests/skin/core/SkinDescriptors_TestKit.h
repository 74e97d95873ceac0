// Test helpers for the skin descriptors: key walkers that list, fill, print and check the
// fields of any descriptor, and ini objects built from text.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "skin/core/data/SkinDescriptors.h"

namespace vantrel::test {

// An in-memory ini holding Text (lines separated by "\n").
inline TOwned<TMemIniFile> IniFromText(const std::string& Text) {
  auto Ini = CreateOwned<TMemIniFile>(String());
  TStringList Lines;
  Lines.SetText(Text);
  Ini->SetStrings(Lines);
  return Ini;
}

// The keys of a section in file order.
inline std::vector<std::string> SectionKeys(TCustomIniFile& Ini, const std::string& Section) {
  TStringList Keys;
  Ini.ReadSection(Section, Keys);
  std::vector<std::string> R;
  for (Integer i = 0; i < Keys.Count(); ++i) R.push_back(Keys.Get(i));
  return R;
}

inline std::string RectText(const TRect& R) {
  std::ostringstream S;
  S << R.Left << "," << R.Top << "," << R.Right << "," << R.Bottom;
  return S.str();
}

// Prints every field as "key=value", in key order.
class FieldDump final : public skin::SkinKeyVisitor {
 public:
  using SkinKeyVisitor::Bool;
  using SkinKeyVisitor::FontStyle;
  using SkinKeyVisitor::MorphKind;
  using SkinKeyVisitor::Point;
  using SkinKeyVisitor::Rect;
  using SkinKeyVisitor::StretchType;

  std::vector<std::string> Out;

  void Int(const char* K, Integer& F, Integer, Integer) override { Add(K, std::to_string(F)); }
  void Str(const char* K, String& F, const char*, const char*) override { Add(K, "'" + F + "'"); }
  void Bool(const char* K, bool& F, bool) override { Add(K, F ? "true" : "false"); }
  void Rect(const char* K, TRect& F, TRect) override { Add(K, RectText(F)); }
  void Point(const char* K, TPoint& F, TPoint) override {
    Add(K, std::to_string(F.X) + "," + std::to_string(F.Y));
  }
  void FontStyle(const char* K, TFontStyles& F, TFontStyles) override {
    Add(K, "styles " + std::to_string(F.Bits()));
  }
  void Alignment(const char* K, TAlignment& F, TAlignment) override { Add(K, std::to_string(F)); }
  void StretchType(const char* K, TspStretchType& F, TspStretchType) override {
    Add(K, std::to_string(F));
  }
  void MorphKind(const char* K, TMorphKind& F, TMorphKind) override { Add(K, std::to_string(F)); }
  void InActiveEffect(const char* K, TspInActiveEffect& F, TspInActiveEffect) override {
    Add(K, std::to_string(F));
  }
  void Lines(const char* K, TStrings& F) override {
    std::string S;
    for (Integer i = 0; i < F.Count(); ++i) S += "[" + F.Get(i) + "]";
    Add(K, S);
  }
  void KeywordValue(const char* K, Integer& F, std::initializer_list<const char*>, Integer, Integer,
                    Integer) override {
    Add(K, std::to_string(F));
  }

 private:
  void Add(const char* K, const std::string& V) { Out.push_back(std::string(K) + "=" + V); }
};

template <class D>
std::vector<std::string> Dump(D& Descriptor) {
  FieldDump V;
  Descriptor.VisitKeys(V);
  return V.Out;
}

// Key names in order, and how many of them are booleans.
class KeyList final : public skin::SkinKeyVisitor {
 public:
  using SkinKeyVisitor::Bool;
  using SkinKeyVisitor::FontStyle;
  using SkinKeyVisitor::MorphKind;
  using SkinKeyVisitor::Point;
  using SkinKeyVisitor::Rect;
  using SkinKeyVisitor::StretchType;

  std::vector<std::string> Keys;
  std::vector<std::string> BoolKeys;

  void Int(const char* K, Integer&, Integer, Integer) override { Keys.push_back(K); }
  void Str(const char* K, String&, const char*, const char*) override { Keys.push_back(K); }
  void Bool(const char* K, bool&, bool) override {
    Keys.push_back(K);
    BoolKeys.push_back(K);
  }
  void Rect(const char* K, TRect&, TRect) override { Keys.push_back(K); }
  void Point(const char* K, TPoint&, TPoint) override { Keys.push_back(K); }
  void FontStyle(const char* K, TFontStyles&, TFontStyles) override { Keys.push_back(K); }
  void Alignment(const char* K, TAlignment&, TAlignment) override { Keys.push_back(K); }
  void StretchType(const char* K, TspStretchType&, TspStretchType) override { Keys.push_back(K); }
  void MorphKind(const char* K, TMorphKind&, TMorphKind) override { Keys.push_back(K); }
  void InActiveEffect(const char* K, TspInActiveEffect&, TspInActiveEffect) override {
    Keys.push_back(K);
  }
  // A line list writes its count key and one key per line.
  void Lines(const char* K, TStrings& F) override {
    Keys.push_back(std::string(K) + "linecount");
    for (Integer i = 0; i < F.Count(); ++i)
      Keys.push_back(std::string(K) + "line" + std::to_string(i));
  }
  void KeywordValue(const char* K, Integer&, std::initializer_list<const char*>, Integer, Integer,
                    Integer) override {
    Keys.push_back(K);
  }
};

template <class D>
KeyList ListKeys(D& Descriptor) {
  KeyList V;
  Descriptor.VisitKeys(V);
  return V;
}

// Gives every field a value that differs from its absent and creation values and from the
// other keys' values (non-negative, so it reads back unchanged). Booleans are all false
// except the one named OnlyTrue, so a test can move one flag at a time.
class FieldFill final : public skin::SkinKeyVisitor {
 public:
  explicit FieldFill(std::string OnlyTrue = std::string()) : FOnlyTrue(std::move(OnlyTrue)) {}

  using SkinKeyVisitor::Bool;
  using SkinKeyVisitor::FontStyle;
  using SkinKeyVisitor::MorphKind;
  using SkinKeyVisitor::Point;
  using SkinKeyVisitor::Rect;
  using SkinKeyVisitor::StretchType;

  void Int(const char*, Integer& F, Integer, Integer) override { F = 1000 + Next(); }
  void Str(const char*, String& F, const char*, const char*) override {
    F = "text" + std::to_string(Next());
  }
  void Bool(const char* K, bool& F, bool) override { F = FOnlyTrue == K; }
  void Rect(const char*, TRect& F, TRect) override {
    const Integer n = Next() * 10;
    F = {n + 1, n + 2, n + 3, n + 4};
  }
  void Point(const char*, TPoint& F, TPoint) override {
    const Integer n = Next() * 10;
    F = {n + 5, n + 6};
  }
  void FontStyle(const char*, TFontStyles& F, TFontStyles) override {
    F = TFontStyles::FromBits(static_cast<uint64_t>(Next() % 15 + 1));
  }
  void Alignment(const char*, TAlignment& F, TAlignment) override {
    F = Next() % 2 ? taLeftJustify : taRightJustify;
  }
  void StretchType(const char*, TspStretchType& F, TspStretchType) override {
    F = Next() % 2 ? spstHorz : spstVert;
  }
  void MorphKind(const char*, TMorphKind& F, TMorphKind) override {
    F = static_cast<TMorphKind>(Next() % 6 + 1);
  }
  void InActiveEffect(const char*, TspInActiveEffect& F, TspInActiveEffect) override {
    F = static_cast<TspInActiveEffect>(Next() % 5 + 1);
  }
  void Lines(const char*, TStrings& F) override {
    F.Clear();
    const std::string n = std::to_string(Next());
    for (const char* L : {"first ", "second ", "third "}) F.Add(L + n);
  }
  void KeywordValue(const char*, Integer& F, std::initializer_list<const char*> Words, Integer,
                    Integer Absent, Integer) override {
    // The last word: never the absent value in any table.
    F = static_cast<Integer>(Words.size()) - 1;
    EXPECT_NE(F, Absent);
  }

 private:
  Integer Next() { return ++FCounter; }
  Integer FCounter = 0;
  std::string FOnlyTrue;
};

// Checks every field against its creation value (Creation) or the value a missing key
// gives (otherwise); the fixed absent values of the encodings are written out here.
class FieldCheck final : public skin::SkinKeyVisitor {
 public:
  explicit FieldCheck(bool Creation) : FCreation(Creation) {}

  using SkinKeyVisitor::Bool;
  using SkinKeyVisitor::FontStyle;
  using SkinKeyVisitor::MorphKind;
  using SkinKeyVisitor::Point;
  using SkinKeyVisitor::Rect;
  using SkinKeyVisitor::StretchType;

  void Int(const char* K, Integer& F, Integer Absent, Integer Create) override {
    EXPECT_EQ(F, FCreation ? Create : Absent) << K;
  }
  void Str(const char* K, String& F, const char* Absent, const char* Create) override {
    EXPECT_EQ(F, FCreation ? Create : Absent) << K;
  }
  void Bool(const char* K, bool& F, bool Create) override {
    EXPECT_EQ(F, FCreation ? Create : false) << K;
  }
  void Rect(const char* K, TRect& F, TRect Create) override {
    EXPECT_EQ(RectText(F), RectText(FCreation ? Create : TRect{})) << K;
  }
  void Point(const char* K, TPoint& F, TPoint Create) override {
    const TPoint E = FCreation ? Create : TPoint{};
    EXPECT_TRUE(F == E) << K;
  }
  void FontStyle(const char* K, TFontStyles& F, TFontStyles Create) override {
    EXPECT_EQ(F.Bits(), (FCreation ? Create : TFontStyles{}).Bits()) << K;
  }
  void Alignment(const char* K, TAlignment& F, TAlignment Create) override {
    EXPECT_EQ(F, FCreation ? Create : taCenter) << K;
  }
  void StretchType(const char* K, TspStretchType& F, TspStretchType Create) override {
    EXPECT_EQ(F, FCreation ? Create : spstFull) << K;
  }
  void MorphKind(const char* K, TMorphKind& F, TMorphKind Create) override {
    EXPECT_EQ(F, FCreation ? Create : mkDefault) << K;
  }
  void InActiveEffect(const char* K, TspInActiveEffect& F, TspInActiveEffect Create) override {
    EXPECT_EQ(F, FCreation ? Create : ieBrightness) << K;
  }
  // A load appends to a line list, so only a new list is known to be empty.
  void Lines(const char* K, TStrings& F) override {
    if (FCreation) {
      EXPECT_EQ(F.Count(), 0) << K;
    }
  }
  void KeywordValue(const char* K, Integer& F, std::initializer_list<const char*>, Integer,
                    Integer Absent, Integer Create) override {
    EXPECT_EQ(F, FCreation ? Create : Absent) << K;
  }

 private:
  bool FCreation;
};

}  // namespace vantrel::test
