// Compressed skins: a whole skin (the five frame pictures, the picture list and the text
// of skin.ini) as one zlib block held by a component, written to and read from a file or
// a stream, and a list of such skins that a store can choose from. TspSkinData loads a
// block with LoadCompressedStoredSkin (SkinData_Compressed.cpp).
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Collection.h"

class TspSkinData;

namespace vantrel::skin {

// The inner stream: an int32 version (2 is written; a reader takes up to 3), then per
// picture slot of that version a byte (1 = none, 0 = a BMP file image follows), the int32
// count of the picture list and its BMP images, and the skin.ini text to the end.
constexpr Integer CompressedSkinVersion = 2;
constexpr Integer MaxCompressedSkinVersion = 3;
// The file and stream form: an int32 tag (2 is written; a reader takes up to 3), the int32
// length of the block and the block.
constexpr Integer CompressedSkinTag = 2;
constexpr Integer MaxCompressedSkinTag = 3;
// No block inflates to more than this: a larger one is refused (EDecompressionError)
// before it can take the memory.
constexpr Int64 MaxInflatedSkinSize = Int64{256} << 20;

namespace detail {
// The class library's text for a stream that ends before what it must hold.
constexpr const char* StreamReadError = "Stream read error";
// Little-endian int32 fields of both forms; reading past the end raises EReadError.
void WriteInt32(TStream* S, Integer Value);
Integer ReadInt32(TStream* S);
}  // namespace detail

}  // namespace vantrel::skin

class TspCompressedStoredSkin : public TComponent {
  VANTREL_CLASS(TspCompressedStoredSkin)
  explicit TspCompressedStoredSkin(TComponent* AOwner);
  ~TspCompressedStoredSkin() override;

  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }
  // Only remembered: a stored skin is filled by the load routines below.
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  const String& CompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const String& Value) { FCompressedFileName = Value; }
  // True when the block has no bytes.
  Boolean Empty() const;

  // The block := the compressed form of the skin the store holds now.
  void LoadFromSkinData(TspSkinData* ASkinData);
  // The block := the compressed form of the skin folder whose skin.ini is AFileName;
  // nothing changes when that file is not a skin description. Pictures are BMP files.
  void LoadFromIniFile(const String& AFileName);
  // Appends the inflated block to S at its position. Raises EDecompressionError for data
  // that is not zlib, or that inflates past MaxInflatedSkinSize.
  void DeCompressToStream(TMemoryStream* S);
  // The file form. Saving an empty stored skin creates no file.
  void SaveToCompressFile(const String& AFileName);
  void LoadFromCompressFile(const String& AFileName);
  // The file form at the stream's position; an empty stored skin writes tag and length 0.
  void SaveToCompressStream(TStream* Stream);
  // Reads the file form from the start of Stream. A tag above 3 leaves the stored skin
  // empty; a length beyond the stream's end raises EReadError and leaves it empty.
  void LoadFromCompressStream(TStream* Stream);
  // Copies the other stored skin's block and texts.
  void Assign(TPersistent* Source) override;

 private:
  // Reads tag, length and block from Stream's position into the emptied block.
  void ReadCompressedForm(TStream* Stream);
  // The block := Inner (from its start) deflated at the highest level.
  void CompressInner(TStream* Inner);

  String FFileName;
  String FCompressedFileName;
  TOwned<TMemoryStream> FCompressedStream;
  String FDescription;
};

class TspCompressedSkinList;

// One skin of a list: its stored skin (owned) and the texts that describe it. A new
// item is named "spSkin<index>".
class TspSkinListItem : public TCollectionItem {
  VANTREL_CLASS(TspSkinListItem)
  explicit TspSkinListItem(TCollection* Collection);
  ~TspSkinListItem() override;

  TspCompressedStoredSkin* Skin() const { return FSkin.get(); }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  const String& CompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const String& Value) { FCompressedFileName = Value; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  String DisplayName() const override { return FName; }
  // Copies the texts and the stored skin of another item.
  void Assign(TPersistent* Source) override;

 private:
  TOwned<TspCompressedStoredSkin> FSkin;
  String FDescription;
  String FFileName;
  String FCompressedFileName;
  String FName;
};

class TspSkinListItems : public TCollection {
  VANTREL_CLASS(TspSkinListItems)
  explicit TspSkinListItems(TspCompressedSkinList* ASkinList);

  // Raises EListError "List index out of bounds (%d)" out of range.
  TspSkinListItem* GetItem(Integer Index) const;
  TspSkinListItem* Add() { return static_cast<TspSkinListItem*>(TCollection::Add()); }
  TPersistent* Owner() const override;

 private:
  TspCompressedSkinList* FSkinList;
};

class TspCompressedSkinList : public TComponent {
  VANTREL_CLASS(TspCompressedSkinList)
  explicit TspCompressedSkinList(TComponent* AOwner);
  ~TspCompressedSkinList() override;

  TspSkinListItems* Skins() const { return FSkins.get(); }
  // Replaces the items by copies of Value's.
  void SetSkins(TspSkinListItems* Value) { FSkins->Assign(Value); }

 private:
  TOwned<TspSkinListItems> FSkins;
};
