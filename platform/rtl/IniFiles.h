// Ini files of the class library, one implementation: TMemIniFile keeps the whole file in
// memory and writes it on UpdateFile; TIniFile is the same model writing every change through
// to its file at once (and reading changes other writers made), as the profile API does.
// Line rules: lines are trimmed; empty lines are skipped; "[name]" opens a section; "key=value"
// (both trimmed) belongs to the last section; ";" comments and lines without "=" stay in their
// section but never match a key; section and key names match without regard to case; the
// first of two equal keys, and the first of two equal sections, is the one read.
#pragma once

#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Types.h"

class TCustomIniFile : public TObject {
  VANTREL_CLASS(TCustomIniFile)

  explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}
  ~TCustomIniFile() override = default;

  const String& FileName() const { return FFileName; }

  virtual String ReadString(const String& Section, const String& Ident,
                            const String& Default) = 0;
  // Line breaks cannot be stored in a line: a value, key or section holding one, or a key
  // holding "=", raises EIniFileException.
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // Decimal or hexadecimal ("$1F", "0x1F"); the Default for absent or unreadable text.
  virtual Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
  virtual void WriteInteger(const String& Section, const String& Ident, Integer Value);
  // "0" is false, any other integer true; unreadable text gives Default.
  virtual bool ReadBool(const String& Section, const String& Ident, bool Default);
  virtual void WriteBool(const String& Section, const String& Ident, bool Value);  // "1"/"0"
  virtual Double ReadFloat(const String& Section, const String& Ident, Double Default);
  virtual void WriteFloat(const String& Section, const String& Ident, Double Value);

  // Fill Strings (cleared first) with the keys of a section / the section names / the
  // section's "key=value" lines.
  virtual void ReadSection(const String& Section, TStrings& Strings) = 0;
  void ReadSection(const String& Section, TStrings* Strings) { ReadSection(Section, *Strings); }
  virtual void ReadSections(TStrings& Strings) = 0;
  void ReadSections(TStrings* Strings) { ReadSections(*Strings); }
  virtual void ReadSectionValues(const String& Section, TStrings& Strings) = 0;
  void ReadSectionValues(const String& Section, TStrings* Strings) {
    ReadSectionValues(Section, *Strings);
  }
  // A section exists when it holds at least one key.
  virtual bool SectionExists(const String& Section);
  virtual bool ValueExists(const String& Section, const String& Ident);
  // Removes every section of that name with all its lines.
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  virtual void UpdateFile() = 0;

 protected:
  String FFileName;
};

namespace vantrel::rtl::detail {
class IniModel;
}

class TMemIniFile : public TCustomIniFile {
  VANTREL_CLASS(TMemIniFile)

  // Reads the file when it exists (encoding by byte-order mark, else UTF-8); an empty
  // FileName gives an empty ini that UpdateFile does not write.
  explicit TMemIniFile(const String& FileName);
  ~TMemIniFile() override;
  TMemIniFile(const TMemIniFile&) = delete;
  TMemIniFile& operator=(const TMemIniFile&) = delete;

  using TCustomIniFile::ReadSection;
  using TCustomIniFile::ReadSections;
  using TCustomIniFile::ReadSectionValues;
  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings& Strings) override;
  void ReadSections(TStrings& Strings) override;
  void ReadSectionValues(const String& Section, TStrings& Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Writes every section: "[name]", its lines, one empty line; lines end in CR LF; the text
  // encoding is the one the file was read in (UTF-8 without mark for a new file). Raises the
  // file stream errors when the file cannot be written.
  void UpdateFile() override;

  void Clear();
  // The whole ini as lines / replaced by lines (parsed by the rules above).
  void GetStrings(TStrings& List);
  void GetStrings(TStrings* List) { GetStrings(*List); }
  void SetStrings(const TStrings& List);
  void SetStrings(const TStrings* List) { SetStrings(*List); }
  // Points the object at another file, reading it when Reload is set.
  void Rename(const String& FileName, bool Reload);
  TTextEncoding Encoding() const { return FEncoding; }
  void SetEncoding(TTextEncoding Value) { FEncoding = Value; }

 protected:
  // Quiet: an unreadable file reads as empty (the profile API's way) instead of raising.
  TMemIniFile(const String& FileName, bool Quiet);
  // Replaces the contents by the file's; false when it exists but cannot be read (Quiet).
  bool LoadValues(bool Quiet);
  // Checks that Section, Ident and Value can be stored as one line each.
  static void CheckEntry(const String& Section, const String& Ident, const String& Value);
  std::unique_ptr<vantrel::rtl::detail::IniModel> FModel;
  TTextEncoding FEncoding = teUTF8;
  bool FLoadFailed = false;  // the last quiet load met a file it could not read
};

class TIniFile : public TMemIniFile {
  VANTREL_CLASS(TIniFile)

  explicit TIniFile(const String& FileName);

  // A value read through the profile API is cut to 2047 characters.
  using TCustomIniFile::ReadSection;
  using TCustomIniFile::ReadSections;
  using TCustomIniFile::ReadSectionValues;
  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings& Strings) override;
  void ReadSections(TStrings& Strings) override;
  void ReadSectionValues(const String& Section, TStrings& Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override;

 private:
  // Re-reads the file when it changed on disk since it was last read or written.
  void Refresh();
  void Remember();
  struct FileStamp {
    bool Exists = false;
    Int64 Size = 0, MTimeNs = 0, Inode = 0;
    bool operator==(const FileStamp&) const = default;
  };
  FileStamp Stamp() const;
  // Writes the model through; on failure the next access re-reads the file.
  void WriteThrough();
  FileStamp FStamp;
  bool FUnreadable = false;  // the file exists but could not be read: never overwrite it
};
