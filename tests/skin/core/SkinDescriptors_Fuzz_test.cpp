// Mutated skin sections: whatever the text, a descriptor either loads or fails with the
// conversion error, and what it loaded writes and reads back unchanged.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skin/core/data/SkinDescriptors.h"
#include "tests/skin/core/SkinDescriptors_TestKit.h"

using namespace vantrel::test;
using vantrel::skin::CreateSkinControl;
using vantrel::skin::SkinControlKind;
using vantrel::skin::SkinControlKinds;

namespace {

const std::vector<std::string> NastyValues = {
    "",           "-",           "abc",          "99999999999999999999", "2147483648",
    "-2147483648", "4294967295", "0x",           "$",                    "0xFFFFFFFF",
    "1,2",        ",,,,,,,,",    "1,2,3,4,5,6,7", " 1 , 2 , 3 , 4 ",      "-1,-2,-3,-4",
    "fsbold",     "fsboldfsitalic", "mkpush",    "stvert",               "tacenter",
    "rkhorizontal", "fpvertical", "1",           "0",                    "-3",
    "2000000000", "\xff\xfe\x80", "[section]",   "=",                    "a=b=c",
    std::string(300, '9'),        std::string(5000, 'x')};

std::vector<std::string> SplitLines(const std::string& S) {
  std::vector<std::string> R;
  size_t Start = 0;
  while (Start <= S.size()) {
    const size_t End = S.find('\n', Start);
    R.push_back(S.substr(Start, End == std::string::npos ? std::string::npos : End - Start));
    if (End == std::string::npos) break;
    Start = End + 1;
  }
  return R;
}

std::string Mutate(const std::vector<std::string>& Lines, std::mt19937& Rng) {
  std::vector<std::string> Out = Lines;
  auto Pick = [&Rng](size_t N) { return std::uniform_int_distribution<size_t>(0, N - 1)(Rng); };
  const size_t Edits = 1 + Pick(8);
  for (size_t e = 0; e < Edits && !Out.empty(); ++e) {
    std::string& L = Out[Pick(Out.size())];
    const size_t Eq = L.find('=');
    switch (Pick(7)) {
      case 0:  // another value
        if (Eq != std::string::npos) L = L.substr(0, Eq + 1) + NastyValues[Pick(NastyValues.size())];
        break;
      case 1:  // drop the line
        L.clear();
        break;
      case 2:  // upper-case the key
        for (size_t i = 0; i < Eq && i < L.size(); ++i) L[i] = static_cast<char>(toupper(L[i]));
        break;
      case 3:  // a random byte somewhere
        if (!L.empty()) L[Pick(L.size())] = static_cast<char>(Pick(256));
        break;
      case 4:  // cut the line short
        L = L.substr(0, Pick(L.size() + 1));
        break;
      case 5:  // duplicate a line with another value
        if (Eq != std::string::npos)
          Out.push_back(L.substr(0, Eq + 1) + NastyValues[Pick(NastyValues.size())]);
        break;
      default:  // a huge line count
        Out.push_back("symbolslinecount=" + NastyValues[Pick(NastyValues.size())]);
        break;
    }
  }
  std::string Text;
  for (const std::string& L : Out) Text += L + "\n";
  return Text;
}

struct Outcomes {
  int Loaded = 0;
  int Refused = 0;
};

// Loads Text into a new descriptor of Make; when the load succeeds, writes and reads it back.
template <class Make>
void Probe(Make MakeNew, const std::string& Text, Outcomes& Count) {
  auto Ini = IniFromText(Text);
  auto D = MakeNew();
  try {
    D->LoadFromFile(Ini.get());
  } catch (const EConvertError&) {
    ++Count.Refused;  // a rectangle or point field without digits
    return;
  }
  ++Count.Loaded;
  if (auto* Strip = dynamic_cast<TspDataSkinFrameControl*>(D.get())) {
    EXPECT_GE(Strip->FramesCount, 1);
  }
  auto Out = IniFromText("");
  D->SaveToFile(Out.get());
  auto Back = MakeNew();
  Back->LoadFromFile(Out.get());
  EXPECT_EQ(Dump(*Back), Dump(*D));
}

TEST(SkinDescriptorsFuzz, MutatedSectionsLoadOrFailWithTheConversionError) {
  std::mt19937 Rng(20240611);
  Outcomes Count;
  for (const SkinControlKind& K : SkinControlKinds()) {
    SCOPED_TRACE(K.Keyword);
    const std::string Kind = K.Keyword;
    auto Make = [&Kind] { return CreateSkinControl(Kind, "fz"); };
    auto Seed = Make();
    FieldFill Fill;
    Seed->VisitKeys(Fill);
    auto Ini = IniFromText("");
    Seed->SaveToFile(Ini.get());
    TStringList Text;
    Ini->GetStrings(Text);
    const std::vector<std::string> Lines = SplitLines(Text.Text());
    for (int i = 0; i < 60; ++i) {
      const std::string Mutated = Mutate(Lines, Rng);
      SCOPED_TRACE(Mutated);
      Probe(Make, Mutated, Count);
      if (HasFatalFailure() || HasNonfatalFailure()) return;
    }
  }
  auto MakeObject = [] { return CreateOwned<TspDataSkinObject>("fz"); };
  auto Seed = MakeObject();
  FieldFill Fill;
  Seed->VisitKeys(Fill);
  auto Ini = IniFromText("");
  Seed->SaveToFile(Ini.get());
  TStringList Text;
  Ini->GetStrings(Text);
  const std::vector<std::string> Lines = SplitLines(Text.Text());
  for (int i = 0; i < 200; ++i) Probe(MakeObject, Mutate(Lines, Rng), Count);
  // Both ways out were taken many times.
  EXPECT_GT(Count.Loaded, 200);
  EXPECT_GT(Count.Refused, 200);
}

}  // namespace
