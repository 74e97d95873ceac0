// Compressed skins, the picture side: the inner stream (version, frame pictures, picture
// list, skin.ini text) written from a store or a skin folder, and the store's load of a
// block. Picture sizes read from a block are checked against the bytes that are really
// there before the bitmap reader allocates anything for them.
#include <algorithm>
#include <array>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Graphics.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/data/SkinValues.h"
#include "skin/core/data/spCompressedSkin.h"

using vantrel::skin::CompressedSkinVersion;
using vantrel::skin::MaxCompressedSkinVersion;
using vantrel::skin::detail::ReadInt32;
using vantrel::skin::detail::StreamReadError;
using vantrel::skin::detail::WriteInt32;

namespace {

Byte ReadByte(TStream* S) {
  Byte B;
  S->ReadBuffer(&B, 1);
  return B;
}

// A picture slot: the presence byte, then the BMP file image of a picture that has one.
void WritePictureSlot(TStream* S, TBitmap* Bitmap) {
  const bool None = !Bitmap || Bitmap->Empty();
  const Byte Presence = None ? 1 : 0;
  S->WriteBuffer(&Presence, 1);
  if (!None) Bitmap->SaveToStream(S);
}

uint32_t Le32At(const Byte* P) {
  return static_cast<uint32_t>(P[0]) | static_cast<uint32_t>(P[1]) << 8 | static_cast<uint32_t>(P[2]) << 16 |
         static_cast<uint32_t>(P[3]) << 24;
}
uint16_t Le16At(const Byte* P) { return static_cast<uint16_t>(P[0] | P[1] << 8); }

// The bytes a BMP file image at S's position declares (headers, table, gap, rows), as far
// as the bytes there tell; 0 when they are not the headers of a picture the bitmap reader
// takes, which then raises on them without allocating.
uint64_t DeclaredBmpSize(TMemoryStream* S) {
  const Int64 Left = S->Size() - S->Position();
  const Byte* P = static_cast<const Byte*>(S->Memory()) + S->Position();
  if (Left < 2 || P[0] != 'B' || P[1] != 'M') return 0;
  if (Left < 18) return 18;
  const uint32_t OffBits = Le32At(P + 10);
  const uint32_t HeaderSize = Le32At(P + 14);
  const bool Core = HeaderSize == 12;
  if (!Core && (HeaderSize < 40 || HeaderSize > 124)) return 0;
  if (Left < 14 + static_cast<Int64>(HeaderSize)) return 14 + HeaderSize;
  const Byte* H = P + 14;
  const int64_t Width = Core ? Le16At(H + 4) : static_cast<int32_t>(Le32At(H + 4));
  int64_t Height = Core ? Le16At(H + 6) : static_cast<int32_t>(Le32At(H + 8));
  const uint32_t BitCount = Core ? Le16At(H + 10) : Le16At(H + 14);
  const uint32_t Compression = Core ? 0 : Le32At(H + 16);
  const uint32_t ClrUsed = Core ? 0 : Le32At(H + 32);
  if (Width <= 0 || BitCount == 0 || BitCount > 32) return 0;
  Height = Height < 0 ? -Height : Height;
  uint64_t Consumed = 14 + HeaderSize;
  if (Compression == 3 && HeaderSize < 52) Consumed += 12;  // masks after a short header
  uint64_t Table = ClrUsed;
  if (BitCount <= 8 && Table == 0) Table = uint64_t{1} << BitCount;
  Consumed += Table * (Core ? 3 : 4);
  const uint64_t Stride = ((static_cast<uint64_t>(Width) * BitCount + 31) / 32) * 4;
  return std::max<uint64_t>(Consumed, OffBits) + Stride * static_cast<uint64_t>(Height);
}

// Reads one BMP file image from the inner stream into Bitmap. A picture that claims more
// bytes than the stream has left is a read error, found before the reader allocates its
// rows.
void ReadPicture(TMemoryStream* S, TBitmap* Bitmap) {
  const Int64 Left = S->Size() - S->Position();
  if (Left < 14) throw EReadError(StreamReadError);
  const uint64_t Declared = DeclaredBmpSize(S);
  if (Declared > static_cast<uint64_t>(Left)) throw EReadError(StreamReadError);
  Bitmap->LoadFromStream(S);
}

// Every line followed by CR LF.
String CrLfText(const TStringList& Lines) {
  String Text;
  for (Integer i = 0; i < Lines.Count(); ++i) Text += Lines.Get(i) + "\r\n";
  return Text;
}

void WriteText(TStream* S, const String& Text) {
  if (!Text.empty()) S->WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

// Which picture slots an inner stream of a version carries, in the order of the frame
// pictures: frame picture, inactive picture, mask, roll-up picture, roll-up mask.
std::array<bool, 5> SlotsOfVersion(Integer Version) {
  if (Version <= 0) return {true, false, true, false, false};
  if (Version == 1) return {true, false, true, true, true};
  if (Version == 3) return {true, true, true, false, false};
  return {true, true, true, true, true};
}

}  // namespace

// ---- Filling a stored skin -------------------------------------------------------------

void TspCompressedStoredSkin::LoadFromSkinData(TspSkinData* ASkinData) {
  FCompressedStream->Clear();
  if (!ASkinData) return;
  auto Inner = CreateOwned<TMemoryStream>();
  WriteInt32(Inner.get(), CompressedSkinVersion);
  for (const TspSkinData::FramePicture& P : ASkinData->FramePictures())
    WritePictureSlot(Inner.get(), P.Bitmap);
  WriteInt32(Inner.get(), ASkinData->FActivePictures.Count());
  for (TBitmap* B : ASkinData->FActivePictures) vantrel::skin::SaveSkinPicture(B, Inner.get());
  auto Ini = CreateOwned<TMemIniFile>(String());
  ASkinData->SaveToCustomIniFile(Ini.get());
  TStringList Lines;
  Ini->GetStrings(Lines);
  WriteText(Inner.get(), CrLfText(Lines));
  CompressInner(Inner.get());
}

void TspCompressedStoredSkin::LoadFromIniFile(const String& AFileName) {
  TStringList Lines;
  Lines.LoadFromFile(AFileName);
  auto Ini = CreateOwned<TMemIniFile>(String());
  Ini->SetStrings(Lines);
  if (!IsSkinIniFile(Ini.get())) return;

  FCompressedStream->Clear();
  const String Folder = ExtractFilePath(AFileName);
  auto Inner = CreateOwned<TMemoryStream>();
  WriteInt32(Inner.get(), CompressedSkinVersion);
  // JPEG names are not told apart here: such a file fails as an invalid bitmap.
  for (const char* Key : vantrel::skin::FramePictureKeys) {
    const String Name = Ini->ReadString("PICTURES", Key, "");
    auto Bitmap = CreateOwned<TBitmap>();
    if (!Name.empty()) Bitmap->LoadFromFile(Folder + Name);
    WritePictureSlot(Inner.get(), Bitmap.get());
  }
  TStringList Names;
  ReadIniStrings(Ini.get(), "PICTURES", "activepictures", &Names);
  WriteInt32(Inner.get(), Names.Count());
  for (Integer i = 0; i < Names.Count(); ++i) {
    auto Bitmap = CreateOwned<TBitmap>();
    Bitmap->LoadFromFile(Folder + Names.Get(i));
    vantrel::skin::SaveSkinPicture(Bitmap.get(), Inner.get());
  }
  WriteText(Inner.get(), CrLfText(Lines));  // the file's own lines, comments included
  CompressInner(Inner.get());
}

// ---- The store ------------------------------------------------------------------------------

void TspSkinData::LoadCompressedStoredSkin(TspCompressedStoredSkin* AStoredSkin) {
  if (!AStoredSkin || AStoredSkin->Empty()) return;
  RunSkinChange([&] { return ReadCompressedSkin(AStoredSkin); });
}

bool TspSkinData::ReadCompressedSkin(TspCompressedStoredSkin* AStoredSkin) {
  auto Inner = CreateOwned<TMemoryStream>();
  AStoredSkin->DeCompressToStream(Inner.get());
  Inner->SetPosition(0);
  const Integer Version = ReadInt32(Inner.get());
  // A later format is not read at all; the change still ends, with the store emptied.
  if (Version > MaxCompressedSkinVersion) return false;

  const auto Present = SlotsOfVersion(Version);
  const auto Frame = FramePictures();
  for (size_t i = 0; i < Frame.size(); ++i) {
    if (!Present[i]) continue;
    if (ReadByte(Inner.get()) != 0)
      Frame[i].Bitmap->SetSize(0, 0);
    else
      ReadPicture(Inner.get(), Frame[i].Bitmap);
  }
  const Integer Count = ReadInt32(Inner.get());
  for (Integer i = 0; i < Count; ++i) {
    TBitmap* Bitmap = FActivePictures[FActivePictures.Add(CreateOwned<TBitmap>())];
    ReadPicture(Inner.get(), Bitmap);
  }

  TStringList Lines;
  Lines.LoadFromStream(Inner.get());
  auto Ini = CreateOwned<TMemIniFile>(String());
  Ini->SetStrings(Lines);
  Inner.reset();

  // Only the names: the pictures came with the block. Cursors are never read from a
  // compressed skin.
  ReadVersionAndPictureNames(Ini.get());
  // Names and pictures travel apart; a skin whose lists disagree would index the wrong
  // pictures and could not be stored again.
  CheckPictureNames();
  ReadFrameAndDescriptors(Ini.get());
  return true;
}

void TspSkinData::SaveToCompressedFile(const String& FileName) {
  auto Stored = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Stored->LoadFromSkinData(this);
  Stored->SaveToCompressFile(FileName);
}

void TspSkinData::LoadFromCompressedFile(const String& FileName) {
  auto Stored = CreateOwned<TspCompressedStoredSkin>(nullptr);
  Stored->LoadFromCompressFile(FileName);
  if (!Stored->Empty()) LoadCompressedStoredSkin(Stored.get());
}
