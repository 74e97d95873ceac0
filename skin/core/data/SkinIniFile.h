// skin.ini as a skin load reads it: the file is read once into an index of its sections and
// keys and every later read is a lookup. The lines read as the class library's ini files
// read them (trimmed lines, "[name]" sections, "key=value" keys, ";" comments, names without
// regard to case, the first of two equal sections or keys wins, the text encoding by its
// byte-order mark), and as the profile reader gives them: a file that cannot be read reads as
// empty and a value is cut to 2047 characters. A load only reads: every write raises.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <unordered_map>
#include <vector>

#include "platform/rtl/IniFiles.h"

namespace vantrel::skin {

class SkinIniFile final : public TCustomIniFile {
 public:
  explicit SkinIniFile(const String& FileName);

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  // Read straight from the index, without a string for the value in between.
  Integer ReadInteger(const String& Section, const String& Ident, Integer Default) override;
  void ReadSection(const String& Section, TStrings& Strings) override;
  void ReadSections(TStrings& Strings) override;
  // A key's value as the file has it, straight from the index with nothing copied; null
  // when the key is absent. A value longer than ReadString gives is given whole.
  const std::string_view* Value(std::string_view Section, std::string_view Ident);
  // The longest value ReadString gives whole, in characters.
  static constexpr Integer ValueLimit = 2047;
  void ReadSectionValues(const String& Section, TStrings& Strings) override;
  bool SectionExists(const String& Section) override;

  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override;

  using TCustomIniFile::ReadSection;
  using TCustomIniFile::ReadSections;
  using TCustomIniFile::ReadSectionValues;

 private:
  struct Entry {
    size_t Hash;  // of the name without regard to case
    size_t Section;
    uint32_t Place;  // in its section's Entries
    std::string_view Name;
    std::string_view Value;
  };
  struct Section {
    std::string_view Name;
    std::vector<uint32_t> Entries;  // each name once, in file order
  };
  struct NameHash {
    size_t operator()(std::string_view S) const;
  };
  struct NameEqual {
    bool operator()(std::string_view A, std::string_view B) const;
  };

  void Parse();
  // The place of the first section of that name, or -1.
  ptrdiff_t Find(std::string_view Name);
  // The entry of a name in a section, or null.
  const Entry* FindEntry(size_t Section, std::string_view Name, size_t Hash) const;
  // The entry of a key in the first section of that name, or null.
  const Entry* Lookup(std::string_view Section, std::string_view Ident);
  [[noreturn]] void ReadOnly() const;

  String FText;  // the file's text; names and values point into it
  std::vector<Section> FSections;  // each name once, in file order
  std::unordered_map<std::string_view, size_t, NameHash, NameEqual> FSectionIndex;
  std::vector<Entry> FEntries;
  // Open addressing over FEntries: entry + 1, 0 for a free slot; a power of two in size
  // and at most half full, so a probe ends soon.
  std::vector<uint32_t> FSlots;
  ptrdiff_t FLast = -1;  // the section found last: a descriptor reads many keys of one
  // The entry found last. A descriptor reads its keys in the order they were written, so
  // the next read is most often the entry after it.
  const Entry* FLastEntry = nullptr;
};

}  // namespace vantrel::skin
