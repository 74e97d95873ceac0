#include "skin/core/data/SkinIniFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::skin {

namespace {

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

char AsciiLowerOf(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

std::string_view Trimmed(std::string_view S) {
  size_t Begin = 0, End = S.size();
  while (Begin < End && IsBlank(S[Begin])) ++Begin;
  while (End > Begin && IsBlank(S[End - 1])) --End;
  return S.substr(Begin, End - Begin);
}

bool SameName(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (AsciiLowerOf(A[i]) != AsciiLowerOf(B[i])) return false;
  return true;
}

// A name's hash without regard to case: its length and its first and last eight bytes with
// the case bit set, which names of the same letters in any case share.
size_t NameHashOf(std::string_view S) {
  constexpr uint64_t CaseBits = 0x2020202020202020ull;
  uint64_t First = 0, Last = 0;
  if (S.size() >= 8) {
    std::memcpy(&First, S.data(), 8);
    std::memcpy(&Last, S.data() + S.size() - 8, 8);
  } else {
    for (size_t i = 0; i < S.size(); ++i) First |= uint64_t{static_cast<unsigned char>(S[i])} << (8 * i);
  }
  uint64_t H = ((First | CaseBits) * 0x9E3779B97F4A7C15ull) ^ ((Last | CaseBits) * 0xC2B2AE3D27D4EB4Full) ^ S.size();
  H ^= H >> 29;
  return static_cast<size_t>(H * 0xBF58476D1CE4E5B9ull ^ (H >> 32));
}

// The file's text: UTF-8 with or without its mark as it is, UTF-16 by the string list's
// decoding. A file that is missing or cannot be read gives no text.
String ReadText(const String& FileName) {
  if (FileName.empty() || !FileExists(FileName)) return String();
  try {
    TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
    String Bytes(static_cast<size_t>(std::max<Int64>(File.Size(), 0)), '\0');
    if (!Bytes.empty()) File.ReadBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
    const auto Starts = [&Bytes](std::string_view Mark) { return std::string_view(Bytes).starts_with(Mark); };
    if (Starts("\xEF\xBB\xBF")) return Bytes.substr(3);
    if (!Starts("\xFF\xFE") && !Starts("\xFE\xFF")) return Bytes;
    TStringList Lines;
    TStringStream Stream(Bytes);
    Lines.LoadFromStream(Stream);
    return Lines.Text();
  } catch (const EStreamError&) {
    return String();
  }
}

}  // namespace

size_t SkinIniFile::NameHash::operator()(std::string_view S) const { return NameHashOf(S); }
bool SkinIniFile::NameEqual::operator()(std::string_view A, std::string_view B) const { return SameName(A, B); }

SkinIniFile::SkinIniFile(const String& FileName) : TCustomIniFile(FileName), FText(ReadText(FileName)) {
  Parse();
}

const SkinIniFile::Entry* SkinIniFile::FindEntry(size_t Section, std::string_view Name, size_t Hash) const {
  if (FSlots.empty()) return nullptr;
  const size_t Mask = FSlots.size() - 1;
  for (size_t i = (Hash ^ Section * 0x9E3779B97F4A7C15ull) & Mask; FSlots[i]; i = (i + 1) & Mask) {
    const Entry& E = FEntries[FSlots[i] - 1];
    if (E.Hash == Hash && E.Section == Section && SameName(E.Name, Name)) return &E;
  }
  return nullptr;
}

void SkinIniFile::Parse() {
  const std::string_view Text(FText);
  // Room for a key on every line.
  const size_t Lines = static_cast<size_t>(std::count(Text.begin(), Text.end(), '\n')) +
                       static_cast<size_t>(std::count(Text.begin(), Text.end(), '\r')) + 1;
  size_t Size = 16;
  while (Size < 2 * Lines) Size *= 2;
  FSlots.assign(Size, 0);
  FEntries.reserve(Lines);
  const size_t Mask = Size - 1;

  ptrdiff_t Current = -1;  // none before the first section and within a repeated one
  size_t At = 0;
  while (At < Text.size()) {
    // A line ends at CR LF, CR or LF.
    const char* Begin = Text.data() + At;
    const size_t Left = Text.size() - At;
    const void* Lf = std::memchr(Begin, '\n', Left);
    size_t End = Lf ? static_cast<size_t>(static_cast<const char*>(Lf) - Text.data()) : Text.size();
    size_t Next = End + 1;
    if (const void* Cr = std::memchr(Begin, '\r', End - At)) {
      const size_t CrAt = static_cast<size_t>(static_cast<const char*>(Cr) - Text.data());
      if (CrAt + 1 != End) Next = CrAt + 1;  // a CR alone
      End = CrAt;
    }
    const std::string_view Line = Trimmed(Text.substr(At, End - At));
    At = Next;
    if (Line.empty()) continue;
    if (Line.size() >= 2 && Line.front() == '[' && Line.back() == ']') {
      const std::string_view Name = Trimmed(Line.substr(1, Line.size() - 2));
      Current = -1;
      if (FSectionIndex.try_emplace(Name, FSections.size()).second) {
        Current = static_cast<ptrdiff_t>(FSections.size());
        FSections.push_back(Section{Name, {}});
      }
      continue;
    }
    const size_t Eq = Line.find('=');
    if (Current < 0 || Line.front() == ';' || Eq == std::string_view::npos) continue;
    const Entry E{0, static_cast<size_t>(Current), 0, Trimmed(Line.substr(0, Eq)), Trimmed(Line.substr(Eq + 1))};
    const size_t Hash = NameHashOf(E.Name);
    size_t i = (Hash ^ E.Section * 0x9E3779B97F4A7C15ull) & Mask;
    bool Repeated = false;
    for (; FSlots[i]; i = (i + 1) & Mask) {
      const Entry& Old = FEntries[FSlots[i] - 1];
      if (Old.Hash == Hash && Old.Section == E.Section && SameName(Old.Name, E.Name)) {
        Repeated = true;  // the first of two equal keys is the one read
        break;
      }
    }
    if (Repeated) continue;
    std::vector<uint32_t>& InSection = FSections[E.Section].Entries;
    FEntries.push_back(Entry{Hash, E.Section, static_cast<uint32_t>(InSection.size()), E.Name, E.Value});
    FSlots[i] = static_cast<uint32_t>(FEntries.size());
    InSection.push_back(static_cast<uint32_t>(FEntries.size() - 1));
  }
}

ptrdiff_t SkinIniFile::Find(std::string_view Name) {
  if (FLast >= 0 && SameName(FSections[static_cast<size_t>(FLast)].Name, Name)) return FLast;
  const auto It = FSectionIndex.find(Name);
  if (It == FSectionIndex.end()) return -1;
  FLast = static_cast<ptrdiff_t>(It->second);
  return FLast;
}

const SkinIniFile::Entry* SkinIniFile::Lookup(std::string_view SectionName, std::string_view Ident) {
  const ptrdiff_t S = Find(SectionName);
  if (S < 0) return nullptr;
  const auto Section = static_cast<size_t>(S);
  if (FLastEntry && FLastEntry->Section == Section) {
    const std::vector<uint32_t>& InSection = FSections[Section].Entries;
    const size_t Next = FLastEntry->Place + size_t{1};
    if (Next < InSection.size() && SameName(FEntries[InSection[Next]].Name, Ident))
      return FLastEntry = &FEntries[InSection[Next]];
  }
  const Entry* E = FindEntry(Section, Ident, NameHashOf(Ident));
  if (E) FLastEntry = E;
  return E;
}

const std::string_view* SkinIniFile::Value(std::string_view SectionName, std::string_view Ident) {
  const Entry* E = Lookup(SectionName, Ident);
  return E ? &E->Value : nullptr;
}

String SkinIniFile::ReadString(const String& SectionName, const String& Ident, const String& Default) {
  const Entry* E = Lookup(SectionName, Ident);
  if (!E) return Default;
  String V(E->Value);
  if (V.size() > static_cast<size_t>(ValueLimit) && Utf8Length(V) > ValueLimit) V = Copy(V, 1, ValueLimit);
  return V;
}

Integer SkinIniFile::ReadInteger(const String& SectionName, const String& Ident, Integer Default) {
  const Entry* E = Lookup(SectionName, Ident);
  if (!E) return Default;
  // A value past the length limit reads cut, as ReadString gives it.
  if (E->Value.size() > static_cast<size_t>(ValueLimit)) return TCustomIniFile::ReadInteger(SectionName, Ident, Default);
  Integer V;
  return TryStrToInt(E->Value, V) ? V : Default;
}

bool SkinIniFile::SectionExists(const String& SectionName) {
  const ptrdiff_t S = Find(SectionName);
  return S >= 0 && !FSections[static_cast<size_t>(S)].Entries.empty();
}

void SkinIniFile::ReadSection(const String& SectionName, TStrings& Strings) {
  Strings.BeginUpdate();
  try {
    Strings.Clear();
    if (const ptrdiff_t S = Find(SectionName); S >= 0)
      for (const uint32_t i : FSections[static_cast<size_t>(S)].Entries) Strings.Add(String(FEntries[i].Name));
  } catch (...) {
    Strings.EndUpdate();
    throw;
  }
  Strings.EndUpdate();
}

void SkinIniFile::ReadSections(TStrings& Strings) {
  Strings.BeginUpdate();
  try {
    Strings.Clear();
    for (const Section& S : FSections) Strings.Add(String(S.Name));
  } catch (...) {
    Strings.EndUpdate();
    throw;
  }
  Strings.EndUpdate();
}

void SkinIniFile::ReadSectionValues(const String& SectionName, TStrings& Strings) {
  Strings.BeginUpdate();
  try {
    Strings.Clear();
    if (const ptrdiff_t S = Find(SectionName); S >= 0)
      for (const uint32_t i : FSections[static_cast<size_t>(S)].Entries)
        Strings.Add(String(FEntries[i].Name) + "=" + String(FEntries[i].Value));
  } catch (...) {
    Strings.EndUpdate();
    throw;
  }
  Strings.EndUpdate();
}

void SkinIniFile::ReadOnly() const {
  throw EIniFileException(Format("Cannot write to \"%s\": a skin is read, never written, while it loads", {FFileName}));
}

void SkinIniFile::WriteString(const String&, const String&, const String&) { ReadOnly(); }
void SkinIniFile::EraseSection(const String&) { ReadOnly(); }
void SkinIniFile::DeleteKey(const String&, const String&) { ReadOnly(); }
void SkinIniFile::UpdateFile() {}

}  // namespace vantrel::skin
