// TStrings protocol and the TStringList implementation.
#include "platform/rtl/StringList.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr const char* SSortedListError = "Operation not allowed on sorted list";
constexpr const char* SDuplicateString = "String list does not allow duplicates";

// UTF-16 bytes (after the mark) to UTF-8; unpaired surrogates and a last odd byte give U+FFFD.
String Utf16ToUtf8(const Byte* P, size_t N, bool BigEndian) {
  std::u32string Out;
  Out.reserve(N / 2);
  auto Unit = [&](size_t i) -> char32_t {
    return BigEndian ? static_cast<char32_t>(P[i] << 8 | P[i + 1])
                     : static_cast<char32_t>(P[i + 1] << 8 | P[i]);
  };
  size_t i = 0;
  while (i + 1 < N) {
    const char32_t U = Unit(i);
    i += 2;
    if (U >= 0xD800 && U <= 0xDBFF) {
      if (i + 1 < N) {
        const char32_t L = Unit(i);
        if (L >= 0xDC00 && L <= 0xDFFF) {
          i += 2;
          Out += 0x10000 + ((U - 0xD800) << 10) + (L - 0xDC00);
          continue;
        }
      }
      Out += 0xFFFD;
    } else if (U >= 0xDC00 && U <= 0xDFFF) {
      Out += 0xFFFD;
    } else {
      Out += U;
    }
  }
  if (i < N) Out += 0xFFFD;
  String R;
  for (char32_t C : Out) R += CodePointToUtf8(C);
  return R;
}

String Utf8ToUtf16(const String& S, bool BigEndian) {
  String Out;
  auto Put = [&](char32_t U) {
    const char Hi = static_cast<char>(U >> 8), Lo = static_cast<char>(U & 0xFF);
    if (BigEndian) {
      Out += Hi;
      Out += Lo;
    } else {
      Out += Lo;
      Out += Hi;
    }
  };
  for (char32_t C : Utf8ToCodePoints(S)) {
    if (C >= 0xD800 && C <= 0xDFFF) C = 0xFFFD;  // undecodable bytes cannot be kept in UTF-16
    if (C >= 0x10000) {
      C -= 0x10000;
      Put(0xD800 + (C >> 10));
      Put(0xDC00 + (C & 0x3FF));
    } else {
      Put(C);
    }
  }
  return Out;
}

}  // namespace

// ---- TStrings ----------------------------------------------------------------------------

void TStrings::Error(const char* Msg, Integer Data) {
  throw EStringListError(Format(Msg, {Data}));
}

void TStrings::Put(Integer Index, const String& S) {
  TObject* Obj = GetObject(Index);
  BeginUpdate();
  try {
    Delete(Index);
    InsertObject(Index, S, Obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TObject* TStrings::GetObject(Integer) const { return nullptr; }
void TStrings::PutObject(Integer, TObject*) {}

Integer TStrings::Add(const String& S) {
  const Integer Result = Count();
  Insert(Result, S);
  return Result;
}

Integer TStrings::AddObject(const String& S, TObject* AObject) {
  const Integer Result = Add(S);
  PutObject(Result, AObject);
  return Result;
}

void TStrings::InsertObject(Integer Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::AddStrings(const TStrings& Strings) {
  if (&Strings == this) {
    // Adding a list to itself: copy first so the loop ends.
    TStringList Copy;
    Copy.AddStrings(Strings);
    AddStrings(Copy);
    return;
  }
  BeginUpdate();
  try {
    for (Integer i = 0; i < Strings.Count(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= Count()) Error(SListIndexError, NewIndex);
  BeginUpdate();
  try {
    const String S = Get(CurIndex);
    TObject* Obj = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, S, Obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  BeginUpdate();
  try {
    const String S1 = Get(Index1), S2 = Get(Index2);
    TObject* O1 = GetObject(Index1);
    TObject* O2 = GetObject(Index2);
    Put(Index1, S2);
    PutObject(Index1, O2);
    Put(Index2, S1);
    PutObject(Index2, O1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::SameStr(const String& A, const String& B) const {
  return IsCaseSensitive() ? A == B : SameText(A, B);
}

Integer TStrings::IndexOf(const String& S) const {
  for (Integer i = 0; i < Count(); ++i)
    if (SameStr(Get(i), S)) return i;
  return -1;
}

Integer TStrings::IndexOfName(const String& Name) const {
  for (Integer i = 0; i < Count(); ++i) {
    const String S = Get(i);
    const size_t P = S.find(FNameValueSeparator);
    if (P != String::npos && SameStr(S.substr(0, P), Name)) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(const TObject* AObject) const {
  for (Integer i = 0; i < Count(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& Strings) const {
  if (Count() != Strings.Count()) return false;
  for (Integer i = 0; i < Count(); ++i)
    if (Get(i) != Strings.Get(i)) return false;
  return true;
}

String TStrings::Names(Integer Index) const {
  const String S = Get(Index);
  const size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(0, P);
}

String TStrings::Values(const String& Name) const {
  const Integer i = IndexOfName(Name);
  return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& Name, const String& Value) {
  Integer i = IndexOfName(Name);
  if (!Value.empty()) {
    const String Line = Name + FNameValueSeparator + Value;
    if (i < 0) Add(Line);
    else Put(i, Line);
  } else if (i >= 0) {
    Delete(i);
  }
}

String TStrings::ValueFromIndex(Integer Index) const {
  const String S = Get(Index);
  const size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(Integer Index, const String& Value) {
  if (!Value.empty()) {
    if (Index < 0) Index = Add(String());
    Put(Index, Names(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

String TStrings::Text() const {
  String R;
  for (Integer i = 0; i < Count(); ++i) {
    R += Get(i);
    R += FLineBreak;
  }
  return R;
}

void TStrings::SetText(const String& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    const size_t n = Value.size();
    while (i < n) {
      size_t j = i;
      while (j < n && Value[j] != '\r' && Value[j] != '\n') ++j;
      Add(Value.substr(i, j - i));
      if (j < n && Value[j] == '\r') {
        ++j;
        if (j < n && Value[j] == '\n') ++j;
      } else if (j < n) {
        ++j;
      }
      i = j;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::DelimitedText() const {
  if (Count() == 1 && Get(0).empty()) return String(2, FQuoteChar);
  String R;
  for (Integer i = 0; i < Count(); ++i) {
    const String S = Get(i);
    bool Quote = false;
    for (char C : S) {
      if (C == FDelimiter || C == FQuoteChar || C == '\0' ||
          (!FStrictDelimiter && static_cast<unsigned char>(C) <= ' ')) {
        Quote = true;
        break;
      }
    }
    if (i > 0) R += FDelimiter;
    if (Quote) {
      R += FQuoteChar;
      for (char C : S) {
        if (C == FQuoteChar) R += FQuoteChar;
        R += C;
      }
      R += FQuoteChar;
    } else {
      R += S;
    }
  }
  return R;
}

void TStrings::SetDelimitedText(const String& Value) {
  auto IsBlank = [&](char C) {
    return !FStrictDelimiter && C != '\0' && static_cast<unsigned char>(C) <= ' ';
  };
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    const size_t n = Value.size();
    while (i < n && IsBlank(Value[i])) ++i;
    while (i < n) {
      String S;
      if (Value[i] == FQuoteChar) {
        ++i;
        while (i < n) {
          if (Value[i] == FQuoteChar) {
            if (i + 1 < n && Value[i + 1] == FQuoteChar) {
              S += FQuoteChar;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          S += Value[i++];
        }
      } else {
        while (i < n && Value[i] != FDelimiter && !IsBlank(Value[i])) S += Value[i++];
      }
      Add(S);
      while (i < n && IsBlank(Value[i])) ++i;
      if (i < n && Value[i] == FDelimiter) {
        if (i + 1 == n) Add(String());
        ++i;
        while (i < n && IsBlank(Value[i])) ++i;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::CommaText() const {
  TStringList Tmp;
  Tmp.SetDelimiter(',');
  Tmp.SetQuoteChar('"');
  Tmp.AddStrings(*this);
  return Tmp.DelimitedText();
}

void TStrings::SetCommaText(const String& Value) {
  const char D = FDelimiter, Q = FQuoteChar;
  const bool Strict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  try {
    SetDelimitedText(Value);
  } catch (...) {
    FDelimiter = D;
    FQuoteChar = Q;
    FStrictDelimiter = Strict;
    throw;
  }
  FDelimiter = D;
  FQuoteChar = Q;
  FStrictDelimiter = Strict;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TStrings*>(Source)) {
    Assign(*S);
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::Assign(const TStrings& Source) {
  if (&Source == this) return;
  BeginUpdate();
  try {
    Clear();
    FNameValueSeparator = Source.FNameValueSeparator;
    FQuoteChar = Source.FQuoteChar;
    FDelimiter = Source.FDelimiter;
    FLineBreak = Source.FLineBreak;
    FStrictDelimiter = Source.FStrictDelimiter;
    AddStrings(Source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::LoadFromStream(TStream& Stream) {
  const Int64 Size = Stream.Size() - Stream.Position();
  std::vector<Byte> Buf(static_cast<size_t>(std::max<Int64>(Size, 0)));
  if (!Buf.empty()) Stream.ReadBuffer(Buf.data(), static_cast<Integer>(Buf.size()));
  const Byte* P = Buf.data();
  const size_t N = Buf.size();
  String Text;
  if (N >= 3 && P[0] == 0xEF && P[1] == 0xBB && P[2] == 0xBF) {
    FEncoding = teUTF8BOM;
    Text.assign(reinterpret_cast<const char*>(P) + 3, N - 3);
  } else if (N >= 2 && P[0] == 0xFF && P[1] == 0xFE) {
    FEncoding = teUTF16LE;
    Text = Utf16ToUtf8(P + 2, N - 2, false);
  } else if (N >= 2 && P[0] == 0xFE && P[1] == 0xFF) {
    FEncoding = teUTF16BE;
    Text = Utf16ToUtf8(P + 2, N - 2, true);
  } else {
    FEncoding = teUTF8;
    Text.assign(reinterpret_cast<const char*>(P), N);
  }
  SetText(Text);
}

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(Stream);
}

void TStrings::SaveToStream(TStream& Stream, TTextEncoding Encoding) const {
  const String T = Text();
  String Bytes;
  switch (Encoding) {
    case teUTF8BOM: Bytes = "\xEF\xBB\xBF" + T; break;
    case teUTF16LE: Bytes = "\xFF\xFE" + Utf8ToUtf16(T, false); break;
    case teUTF16BE: Bytes = "\xFE\xFF" + Utf8ToUtf16(T, true); break;
    case teUTF8:
    default: Bytes = T; break;
  }
  size_t Done = 0;
  while (Done < Bytes.size()) {
    const Integer N = static_cast<Integer>(std::min<size_t>(Bytes.size() - Done, 1u << 30));
    Stream.WriteBuffer(Bytes.data() + Done, N);
    Done += static_cast<size_t>(N);
  }
}

void TStrings::SaveToFile(const String& FileName, TTextEncoding Encoding) const {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(Stream, Encoding);
}

// ---- TStringList -------------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (auto& Item : FList) ReleaseObject(Item.FObject);
}

void TStringList::CheckIndex(Integer Index, Integer Limit) const {
  if (Index < 0 || Index >= Limit) Error(SListIndexError, Index);
}

void TStringList::ReleaseObject(TObject* AObject) {
  if (FOwnsObjects && AObject) FreeObject(AObject);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  // Called while the count is still 0 (begin) or already back at 0 (end).
  if (Updating) {
    if (OnChanging) OnChanging(this);
  } else {
    if (OnChange) OnChange(this);
  }
}

Integer TStringList::CompareStrings(const String& A, const String& B) const {
  return FCaseSensitive ? CompareStr(A, B) : CompareText(A, B);
}

String TStringList::Get(Integer Index) const {
  CheckIndex(Index, Count());
  return FList[static_cast<size_t>(Index)].FString;
}

void TStringList::Put(Integer Index, const String& S) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(Index, Count());
  Changing();
  FList[static_cast<size_t>(Index)].FString = S;
  Changed();
}

TObject* TStringList::GetObject(Integer Index) const {
  CheckIndex(Index, Count());
  return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index, Count());
  Changing();
  TObject*& Slot = FList[static_cast<size_t>(Index)].FObject;
  if (Slot != AObject) ReleaseObject(Slot);
  Slot = AObject;
  Changed();
}

void TStringList::InsertItem(Integer Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Insert(Integer Index, const String& S) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(Index, Count() + 1);
  InsertItem(Index, S, nullptr);
}

Integer TStringList::Add(const String& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const String& S, TObject* AObject) {
  Integer Index;
  if (!FSorted) {
    Index = Count();
  } else if (Find(S, Index)) {
    switch (FDuplicates) {
      case dupIgnore: return Index;
      case dupError: Error(SDuplicateString, 0);
      case dupAccept: break;
    }
  }
  InsertItem(Index, S, AObject);
  return Index;
}

void TStringList::Delete(Integer Index) {
  CheckIndex(Index, Count());
  Changing();
  TObject* Obj = FList[static_cast<size_t>(Index)].FObject;
  FList.erase(FList.begin() + Index);
  ReleaseObject(Obj);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> Old;
  Old.swap(FList);
  for (auto& Item : Old) ReleaseObject(Item.FObject);
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1, Count());
  CheckIndex(Index2, Count());
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

void TStringList::Move(Integer CurIndex, Integer NewIndex) {
  // Checked before anything changes: a failed move must not lose the line.
  CheckIndex(CurIndex, Count());
  CheckIndex(NewIndex, Count());
  if (CurIndex == NewIndex) return;
  if (FSorted) Error(SSortedListError, 0);
  Changing();
  TStringItem Item = std::move(FList[static_cast<size_t>(CurIndex)]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(Item));
  Changed();
}

bool TStringList::Find(const String& S, Integer& Index) const {
  if (!FSorted) {
    for (Integer i = 0; i < Count(); ++i)
      if (CompareStrings(FList[static_cast<size_t>(i)].FString, S) == 0) {
        Index = i;
        return true;
      }
    Index = Count();
    return false;
  }
  Integer L = 0, H = Count() - 1;
  bool Found = false;
  while (L <= H) {
    const Integer I = L + (H - L) / 2;
    const Integer C = CompareStrings(FList[static_cast<size_t>(I)].FString, S);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) {
        Found = true;
        if (FDuplicates != dupAccept) L = I;
      }
    }
  }
  Index = L;
  return Found;
}

Integer TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  Integer Index;
  return Find(S, Index) ? Index : -1;
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  const size_t N = FList.size();
  if (N < 2) return;
  Changing();
  // Merge sort of the positions, comparing through the unchanged list; stable and safe with
  // a comparison that is not a consistent order.
  std::vector<Integer> Perm(N), Tmp(N);
  for (size_t i = 0; i < N; ++i) Perm[i] = static_cast<Integer>(i);
  for (size_t Width = 1; Width < N; Width *= 2) {
    for (size_t Lo = 0; Lo < N; Lo += 2 * Width) {
      const size_t Mid = std::min(Lo + Width, N), Hi = std::min(Lo + 2 * Width, N);
      size_t a = Lo, b = Mid, k = Lo;
      while (a < Mid && b < Hi) Tmp[k++] = Compare(this, Perm[b], Perm[a]) < 0 ? Perm[b++] : Perm[a++];
      while (a < Mid) Tmp[k++] = Perm[a++];
      while (b < Hi) Tmp[k++] = Perm[b++];
    }
    Perm.swap(Tmp);
  }
  std::vector<TStringItem> Sorted;
  Sorted.reserve(N);
  for (Integer i : Perm) Sorted.push_back(std::move(FList[static_cast<size_t>(i)]));
  FList.swap(Sorted);
  Changed();
}

void TStringList::Sort() {
  CustomSort([](TStringList* List, Integer A, Integer B) {
    return List->CompareStrings(List->FList[static_cast<size_t>(A)].FString,
                                List->FList[static_cast<size_t>(B)].FString);
  });
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}
