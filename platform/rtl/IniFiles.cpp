// The ini model shared by TMemIniFile and TIniFile: sections in file order, each with its
// lines; lookups by name without regard to case, the first section and key of a name winning.
#include "platform/rtl/IniFiles.h"

#include <sys/stat.h>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::rtl::detail {

struct IniLine {
  bool IsKey = false;
  String Key;    // trimmed, for key lines
  String Value;  // trimmed, for key lines; the whole trimmed line otherwise
};

struct IniSection {
  String Name;
  std::vector<IniLine> Lines;

  const IniLine* Find(const String& Key) const {
    for (const auto& L : Lines)
      if (L.IsKey && SameText(L.Key, Key)) return &L;
    return nullptr;
  }
  IniLine* Find(const String& Key) {
    return const_cast<IniLine*>(static_cast<const IniSection*>(this)->Find(Key));
  }
  bool HasKey() const {
    for (const auto& L : Lines)
      if (L.IsKey) return true;
    return false;
  }
  // Keys in order, each name once (the first occurrence).
  std::vector<const IniLine*> DistinctKeys() const {
    std::vector<const IniLine*> R;
    for (const auto& L : Lines)
      if (L.IsKey && Find(L.Key) == &L) R.push_back(&L);
    return R;
  }
};

class IniModel {
 public:
  void Clear() {
    FPreamble.clear();
    FSections.clear();
    FIndex.clear();
  }

  void Parse(const TStrings& Lines) {
    Clear();
    IniSection* Cur = nullptr;
    for (Integer i = 0; i < Lines.Count(); ++i) {
      const String L = Trim(Lines.Get(i));
      if (L.empty()) continue;
      if (L.size() >= 2 && L.front() == '[' && L.back() == ']') {
        Cur = Append(Trim(L.substr(1, L.size() - 2)));
        continue;
      }
      IniLine Line;
      const size_t Eq = L.find('=');
      if (L[0] != ';' && Eq != String::npos) {
        Line.IsKey = true;
        Line.Key = Trim(L.substr(0, Eq));
        Line.Value = Trim(L.substr(Eq + 1));
      } else {
        Line.Value = L;
      }
      // Text before the first section is never read, but kept for writing back.
      if (Cur) Cur->Lines.push_back(std::move(Line));
      else FPreamble.push_back(L);
    }
  }

  void Emit(TStrings& Out) const {
    Out.BeginUpdate();
    try {
      for (const auto& P : FPreamble) Out.Add(P);
      for (const auto& S : FSections) {
        Out.Add("[" + S->Name + "]");
        for (const auto& L : S->Lines) Out.Add(L.IsKey ? L.Key + "=" + L.Value : L.Value);
        Out.Add(String());
      }
    } catch (...) {
      Out.EndUpdate();
      throw;
    }
    Out.EndUpdate();
  }

  const IniSection* Section(const String& Name) const {
    auto It = FIndex.find(LowerCase(Name));
    return It == FIndex.end() ? nullptr : It->second;
  }
  IniSection* Section(const String& Name) {
    return const_cast<IniSection*>(static_cast<const IniModel*>(this)->Section(Name));
  }

  IniSection* SectionForWrite(const String& Name) {
    IniSection* S = Section(Name);
    return S ? S : Append(Name);
  }

  void Erase(const String& Name) {
    const String Key = LowerCase(Name);
    if (!FIndex.count(Key)) return;
    std::erase_if(FSections, [&](const std::unique_ptr<IniSection>& S) { return LowerCase(S->Name) == Key; });
    FIndex.erase(Key);
  }

  // Names in order, each once.
  std::vector<String> SectionNames() const {
    std::vector<String> R;
    for (const auto& S : FSections)
      if (Section(S->Name) == S.get()) R.push_back(S->Name);
    return R;
  }

 private:
  IniSection* Append(const String& Name) {
    FSections.push_back(std::make_unique<IniSection>());
    IniSection* S = FSections.back().get();
    S->Name = Name;
    FIndex.emplace(LowerCase(Name), S);  // keeps the first of equal names
    return S;
  }

  std::vector<String> FPreamble;
  std::vector<std::unique_ptr<IniSection>> FSections;
  std::unordered_map<String, IniSection*> FIndex;  // lower-case name -> first section
};

}  // namespace vantrel::rtl::detail

using vantrel::rtl::detail::IniLine;
using vantrel::rtl::detail::IniModel;
using vantrel::rtl::detail::IniSection;

// ---- TCustomIniFile ----------------------------------------------------------------------

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
  const String S = ReadString(Section, Ident, String());
  Integer V;
  return TryStrToInt(S, V) ? V : Default;
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

Double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, Double Default) {
  const String S = ReadString(Section, Ident, String());
  Double V;
  return TryStrToFloat(S, V) ? V : Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, Double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList Keys;
  ReadSection(Section, Keys);
  return Keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList Keys;
  ReadSection(Section, Keys);
  return Keys.IndexOf(Ident) >= 0;
}

// ---- TMemIniFile -------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const String& FileName) : TMemIniFile(FileName, false) {}

TMemIniFile::TMemIniFile(const String& FileName, bool Quiet)
    : TCustomIniFile(FileName), FModel(std::make_unique<IniModel>()) {
  FLoadFailed = !LoadValues(Quiet);
}

TMemIniFile::~TMemIniFile() = default;

bool TMemIniFile::LoadValues(bool Quiet) {
  FModel->Clear();
  FEncoding = teUTF8;
  if (FFileName.empty() || !FileExists(FFileName)) return true;
  TStringList List;
  try {
    List.LoadFromFile(FFileName);
  } catch (const EStreamError&) {
    if (!Quiet) throw;
    return false;
  }
  FEncoding = List.Encoding();
  FModel->Parse(List);
  return true;
}

void TMemIniFile::CheckEntry(const String& Section, const String& Ident, const String& Value) {
  auto HasBreak = [](const String& S) { return S.find_first_of("\r\n") != String::npos; };
  if (HasBreak(Section) || HasBreak(Ident) || HasBreak(Value) ||
      Ident.find('=') != String::npos || (!Ident.empty() && Trim(Ident)[0] == ';'))
    throw EIniFileException(
        Format("Cannot store key \"%s\" of section [%s]: a line break, or \"=\" or a leading "
               "\";\" in the key, would not read back",
               {Ident, Section}));
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  const IniSection* S = FModel->Section(Section);
  const IniLine* L = S ? S->Find(Ident) : nullptr;
  return L ? L->Value : Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  CheckEntry(Section, Ident, Value);
  IniSection* S = FModel->SectionForWrite(Section);
  if (IniLine* L = S->Find(Ident)) {
    L->Value = Value;
    return;
  }
  IniLine Line;
  Line.IsKey = true;
  Line.Key = Ident;
  Line.Value = Value;
  S->Lines.push_back(std::move(Line));
}

void TMemIniFile::ReadSection(const String& Section, TStrings& Strings) {
  Strings.BeginUpdate();
  try {
    Strings.Clear();
    if (const IniSection* S = FModel->Section(Section))
      for (const IniLine* L : S->DistinctKeys()) Strings.Add(L->Key);
  } catch (...) {
    Strings.EndUpdate();
    throw;
  }
  Strings.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& Strings) {
  Strings.BeginUpdate();
  try {
    Strings.Clear();
    for (const String& N : FModel->SectionNames()) Strings.Add(N);
  } catch (...) {
    Strings.EndUpdate();
    throw;
  }
  Strings.EndUpdate();
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings& Strings) {
  Strings.BeginUpdate();
  try {
    Strings.Clear();
    if (const IniSection* S = FModel->Section(Section))
      for (const IniLine* L : S->DistinctKeys()) Strings.Add(L->Key + "=" + L->Value);
  } catch (...) {
    Strings.EndUpdate();
    throw;
  }
  Strings.EndUpdate();
}

void TMemIniFile::EraseSection(const String& Section) { FModel->Erase(Section); }

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  IniSection* S = FModel->Section(Section);
  if (!S) return;
  for (auto It = S->Lines.begin(); It != S->Lines.end(); ++It) {
    if (It->IsKey && SameText(It->Key, Ident)) {
      S->Lines.erase(It);
      return;
    }
  }
}

void TMemIniFile::UpdateFile() {
  if (FFileName.empty()) return;
  TStringList List;
  List.SetLineBreak("\r\n");
  FModel->Emit(List);
  TStringStream Bytes;
  List.SaveToStream(Bytes, FEncoding);
  vantrel::rtl::SaveFileAtomically(FFileName, Bytes.DataString());
}

void TMemIniFile::Clear() { FModel->Clear(); }

void TMemIniFile::GetStrings(TStrings& List) {
  List.BeginUpdate();
  try {
    List.Clear();
    FModel->Emit(List);
  } catch (...) {
    List.EndUpdate();
    throw;
  }
  List.EndUpdate();
}

void TMemIniFile::SetStrings(const TStrings& List) { FModel->Parse(List); }

void TMemIniFile::Rename(const String& FileName, bool Reload) {
  FFileName = FileName;
  if (Reload) LoadValues(false);
}

// ---- TIniFile ----------------------------------------------------------------------------

namespace {
constexpr Integer ProfileValueLimit = 2047;
}

TIniFile::TIniFile(const String& FileName) : TMemIniFile(FileName, true) {
  FUnreadable = FLoadFailed;
  Remember();
}

TIniFile::FileStamp TIniFile::Stamp() const {
  FileStamp R;
  struct stat S {};
  if (!FFileName.empty() && ::stat(FFileName.c_str(), &S) == 0) {
    R.Exists = true;
    R.Size = static_cast<Int64>(S.st_size);
    R.MTimeNs = static_cast<Int64>(S.st_mtim.tv_sec) * 1000000000 + S.st_mtim.tv_nsec;
    R.Inode = static_cast<Int64>(S.st_ino);
  }
  return R;
}

void TIniFile::Remember() { FStamp = Stamp(); }

void TIniFile::Refresh() {
  const FileStamp Now = Stamp();
  if (Now == FStamp) return;
  FUnreadable = !LoadValues(true);
  FStamp = Now;
}

void TIniFile::WriteThrough() {
  if (FUnreadable)
    throw EFOpenError(Format("Cannot open file \"%s\". %s", {FFileName, "Permission denied"}));
  try {
    TMemIniFile::UpdateFile();
  } catch (...) {
    FStamp = FileStamp{false, -1, 0, 0};  // re-read the file at the next access
    throw;
  }
  Remember();
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  Refresh();
  String V = TMemIniFile::ReadString(Section, Ident, Default);
  if (V.size() > static_cast<size_t>(ProfileValueLimit) && Utf8Length(V) > ProfileValueLimit)
    V = Copy(V, 1, ProfileValueLimit);
  return V;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  Refresh();
  TMemIniFile::WriteString(Section, Ident, Value);
  WriteThrough();
}

void TIniFile::ReadSection(const String& Section, TStrings& Strings) {
  Refresh();
  TMemIniFile::ReadSection(Section, Strings);
}

void TIniFile::ReadSections(TStrings& Strings) {
  Refresh();
  TMemIniFile::ReadSections(Strings);
}

void TIniFile::ReadSectionValues(const String& Section, TStrings& Strings) {
  Refresh();
  TMemIniFile::ReadSectionValues(Section, Strings);
}

void TIniFile::EraseSection(const String& Section) {
  Refresh();
  if (!FModel->Section(Section)) return;
  TMemIniFile::EraseSection(Section);
  WriteThrough();
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  Refresh();
  const IniSection* S = FModel->Section(Section);
  if (!S || !S->Find(Ident)) return;
  TMemIniFile::DeleteKey(Section, Ident);
  WriteThrough();
}

void TIniFile::UpdateFile() { Refresh(); }
