// Compressed skins, the block side: the block of a stored skin deflated from and inflated
// to inner streams (with a cap on the inflated size), its file and stream form, and the
// list of stored skins. Kept apart from the graphics units, whose colour names clash with
// the compression levels.
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "skin/core/data/spCompressedSkin.h"
#include "skin/core/data/spzlibcompress.h"

using vantrel::skin::CompressedSkinTag;
using vantrel::skin::MaxCompressedSkinTag;
using vantrel::skin::MaxInflatedSkinSize;
using vantrel::skin::detail::ReadInt32;
using vantrel::skin::detail::StreamReadError;
using vantrel::skin::detail::WriteInt32;

namespace {

constexpr const char* SkinTooLarge = "Compressed skin exceeds %d bytes when inflated";

}  // namespace

namespace vantrel::skin::detail {

void WriteInt32(TStream* S, Integer Value) {
  const uint32_t V = static_cast<uint32_t>(Value);
  const Byte Bytes[4] = {static_cast<Byte>(V), static_cast<Byte>(V >> 8), static_cast<Byte>(V >> 16),
                         static_cast<Byte>(V >> 24)};
  S->WriteBuffer(Bytes, 4);
}

Integer ReadInt32(TStream* S) {
  Byte B[4];
  S->ReadBuffer(B, 4);
  return static_cast<Integer>(static_cast<uint32_t>(B[0]) | static_cast<uint32_t>(B[1]) << 8 |
                              static_cast<uint32_t>(B[2]) << 16 | static_cast<uint32_t>(B[3]) << 24);
}

}  // namespace vantrel::skin::detail

// ---- TspCompressedStoredSkin ----------------------------------------------------------------

TspCompressedStoredSkin::TspCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(CreateOwned<TMemoryStream>()) {}

TspCompressedStoredSkin::~TspCompressedStoredSkin() = default;

Boolean TspCompressedStoredSkin::Empty() const { return FCompressedStream->Size() == 0; }

void TspCompressedStoredSkin::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TspCompressedStoredSkin*>(Source);
  if (!Other) {
    TComponent::Assign(Source);
    return;
  }
  if (Other == this) return;
  FCompressedStream->Clear();
  if (!Other->Empty()) FCompressedStream->CopyFrom(Other->FCompressedStream.get(), 0);
  FDescription = Other->FDescription;
  FFileName = Other->FFileName;
  FCompressedFileName = Other->FCompressedFileName;
}

void TspCompressedStoredSkin::CompressInner(TStream* Inner) {
  FCompressedStream->Clear();
  DeflateStream(Inner, FCompressedStream.get());
}

void TspCompressedStoredSkin::DeCompressToStream(TMemoryStream* S) {
  if (!S) return;
  FCompressedStream->SetPosition(0);
  TDecompressionStream Inflater(FCompressedStream.get());
  std::vector<Byte> Buffer(4096);
  Int64 Total = 0;
  for (;;) {
    const Integer N = Inflater.Read(Buffer.data(), static_cast<Integer>(Buffer.size()));
    if (N <= 0) break;
    Total += N;
    if (Total > MaxInflatedSkinSize)
      throw EDecompressionError(Format(SkinTooLarge, {static_cast<Integer>(MaxInflatedSkinSize)}));
    S->WriteBuffer(Buffer.data(), N);
  }
}

void TspCompressedStoredSkin::SaveToCompressFile(const String& AFileName) {
  if (Empty()) return;
  TFileStream File(AFileName, fmCreate);
  SaveToCompressStream(&File);
}

void TspCompressedStoredSkin::LoadFromCompressFile(const String& AFileName) {
  FCompressedStream->Clear();
  TFileStream File(AFileName, fmOpenRead | fmShareDenyWrite);
  ReadCompressedForm(&File);
}

void TspCompressedStoredSkin::SaveToCompressStream(TStream* Stream) {
  WriteInt32(Stream, CompressedSkinTag);
  WriteInt32(Stream, static_cast<Integer>(FCompressedStream->Size()));
  if (!Empty()) {
    FCompressedStream->SetPosition(0);
    Stream->CopyFrom(FCompressedStream.get(), FCompressedStream->Size());
  }
}

void TspCompressedStoredSkin::LoadFromCompressStream(TStream* Stream) {
  FCompressedStream->Clear();
  Stream->SetPosition(0);
  ReadCompressedForm(Stream);
}

void TspCompressedStoredSkin::ReadCompressedForm(TStream* Stream) {
  if (ReadInt32(Stream) > MaxCompressedSkinTag) return;
  const Integer Length = ReadInt32(Stream);
  if (Length == 0) return;
  // A length the stream cannot supply is refused before anything is copied.
  if (Length < 0 || Length > Stream->Size() - Stream->Position()) throw EReadError(StreamReadError);
  try {
    FCompressedStream->CopyFrom(Stream, Length);
  } catch (...) {
    FCompressedStream->Clear();
    throw;
  }
}

// ---- The skin list ----------------------------------------------------------------------------

TspSkinListItem::TspSkinListItem(TCollection* Collection)
    : TCollectionItem(Collection), FSkin(CreateOwned<TspCompressedStoredSkin>(nullptr)) {
  FName = Format("spSkin%d", {Index()});
}

TspSkinListItem::~TspSkinListItem() = default;

void TspSkinListItem::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TspSkinListItem*>(Source);
  if (!Other) {
    TCollectionItem::Assign(Source);
    return;
  }
  FSkin->Assign(Other->FSkin.get());
  FDescription = Other->FDescription;
  FFileName = Other->FFileName;
  FCompressedFileName = Other->FCompressedFileName;
  FName = Other->FName;
}

TspSkinListItems::TspSkinListItems(TspCompressedSkinList* ASkinList)
    : TCollection(CollectionItemClassOf<TspSkinListItem>()), FSkinList(ASkinList) {}

TspSkinListItem* TspSkinListItems::GetItem(Integer Index) const {
  return static_cast<TspSkinListItem*>(Items(Index));
}

TPersistent* TspSkinListItems::Owner() const { return FSkinList; }

TspCompressedSkinList::TspCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(CreateOwned<TspSkinListItems>(this)) {}

TspCompressedSkinList::~TspCompressedSkinList() = default;

