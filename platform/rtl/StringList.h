// The class library's string lists: TStrings (the protocol every list of lines speaks) and
// TStringList (lines with an object each, sorting, duplicates, change events), loading and
// saving text with byte-order-mark detection. Text is joined with LineBreak, "\n" by default
// (this is Linux); CR, LF and CR LF all split lines when text is read.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// The text encoding a list was loaded from, and the one it saves in.
enum TTextEncoding { teUTF8, teUTF8BOM, teUTF16LE, teUTF16BE };

class TStrings : public TPersistent {
  VANTREL_CLASS(TStrings)

  ~TStrings() override = default;

  // The protocol a concrete list implements.
  virtual Integer Count() const = 0;
  virtual String Get(Integer Index) const = 0;
  virtual void Put(Integer Index, const String& S);
  virtual TObject* GetObject(Integer Index) const;
  virtual void PutObject(Integer Index, TObject* AObject);
  virtual void Insert(Integer Index, const String& S) = 0;
  virtual void Delete(Integer Index) = 0;
  virtual void Clear() = 0;

  virtual Integer Add(const String& S);
  virtual Integer AddObject(const String& S, TObject* AObject);
  void InsertObject(Integer Index, const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(const TStrings& Strings);
  void AddStrings(const TStrings* Strings) { AddStrings(*Strings); }
  virtual void Move(Integer CurIndex, Integer NewIndex);
  virtual void Exchange(Integer Index1, Integer Index2);
  // Case-insensitive unless the list says otherwise (TStringList::CaseSensitive).
  virtual Integer IndexOf(const String& S) const;
  Integer IndexOfName(const String& Name) const;
  Integer IndexOfObject(const TObject* AObject) const;
  bool Equals(const TStrings& Strings) const;

  String Strings(Integer Index) const { return Get(Index); }
  String operator[](Integer Index) const { return Get(Index); }
  TObject* Objects(Integer Index) const { return GetObject(Index); }
  void SetStrings(Integer Index, const String& S) { Put(Index, S); }
  void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }

  // Name=Value lines.
  String Names(Integer Index) const;
  String Values(const String& Name) const;
  void SetValues(const String& Name, const String& Value);  // empty Value deletes the line
  String ValueFromIndex(Integer Index) const;
  void SetValueFromIndex(Integer Index, const String& Value);
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char C) { FNameValueSeparator = C; }

  String Text() const;  // every line followed by LineBreak
  virtual void SetText(const String& Value);
  const String& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const String& Value) { FLineBreak = Value; }
  // Items separated by Delimiter; an item holding a blank, the delimiter, the quote or a
  // control character is quoted with QuoteChar (doubling the quote inside).
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  String CommaText() const;  // DelimitedText with ',' and '"'
  void SetCommaText(const String& Value);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char C) { FDelimiter = C; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char C) { FQuoteChar = C; }
  // When set, only Delimiter separates items (blanks do not).
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  void Assign(TPersistent* Source) override;
  void Assign(const TStrings& Source);

  // Byte-order mark detection: UTF-8 BOM dropped; UTF-16 LE/BE converted to UTF-8;
  // no BOM = UTF-8. Encoding() tells which one was found.
  virtual void LoadFromStream(TStream& Stream);
  void LoadFromStream(TStream* Stream) { LoadFromStream(*Stream); }
  virtual void LoadFromFile(const String& FileName);
  void SaveToStream(TStream& Stream) const { SaveToStream(Stream, FEncoding); }
  void SaveToStream(TStream* Stream) const { SaveToStream(*Stream, FEncoding); }
  virtual void SaveToStream(TStream& Stream, TTextEncoding Encoding) const;
  void SaveToFile(const String& FileName) const { SaveToFile(FileName, FEncoding); }
  virtual void SaveToFile(const String& FileName, TTextEncoding Encoding) const;
  TTextEncoding Encoding() const { return FEncoding; }
  void SetEncoding(TTextEncoding Value) { FEncoding = Value; }

 protected:
  // Called around changes; TStringList raises OnChanging/OnChange outside updates.
  virtual void SetUpdateState(bool Updating);
  virtual bool IsCaseSensitive() const { return false; }
  bool SameStr(const String& A, const String& B) const;
  [[noreturn]] static void Error(const char* Msg, Integer Data);

 private:
  char FNameValueSeparator = '=';
  char FDelimiter = ',';
  char FQuoteChar = '"';
  bool FStrictDelimiter = false;
  String FLineBreak = "\n";
  Integer FUpdateCount = 0;
  TTextEncoding FEncoding = teUTF8;
};

class TStringList;
using TStringListSortCompare = std::function<Integer(TStringList* List, Integer Index1, Integer Index2)>;

// Errors raise EStringListError with "List index out of bounds (%d)",
// "Operation not allowed on sorted list" or "String list does not allow duplicates".
class TStringList : public TStrings {
  VANTREL_CLASS(TStringList)

  TStringList() = default;
  explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
  ~TStringList() override;
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;

  Integer Count() const override { return static_cast<Integer>(FList.size()); }
  String Get(Integer Index) const override;
  void Put(Integer Index, const String& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  void Insert(Integer Index, const String& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  Integer Add(const String& S) override;
  Integer AddObject(const String& S, TObject* AObject) override;
  void Exchange(Integer Index1, Integer Index2) override;
  void Move(Integer CurIndex, Integer NewIndex) override;
  Integer IndexOf(const String& S) const override;

  // Binary search of a sorted list (linear on an unsorted one): true when S is present;
  // Index is where it is or where it would be inserted.
  bool Find(const String& S, Integer& Index) const;
  void Sort();
  void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // An owning list deletes its objects when they are replaced or their lines removed.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;
  bool IsCaseSensitive() const override { return FCaseSensitive; }
  virtual void Changed();
  virtual void Changing();
  Integer CompareStrings(const String& A, const String& B) const;

 private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };
  void CheckIndex(Integer Index, Integer Limit) const;
  void InsertItem(Integer Index, const String& S, TObject* AObject);
  void ReleaseObject(TObject* AObject);

  std::vector<TStringItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};
