// The PNG image list: named PNG items drawn by their alpha through the platform's image
// list, with placeholders keeping the list's image count equal to the item count.
#include "skin/core/bitmaps/sppngimagelist.h"

#include <algorithm>

#include "platform/rtl/Format.h"

namespace {

// alpha / 256 * (Level + 1), nearest with halves to the even value.
Byte ScaleAlpha(Byte Alpha, Byte Level) {
  const Integer num = Integer{Alpha} * (Integer{Level} + 1);
  Integer q = num / 256;
  const Integer r = num % 256;
  if (r > 128 || (r == 128 && (q & 1))) ++q;
  return static_cast<Byte>(q);
}

}  // namespace

void ApplyPngAlphaLevel(TPngImage* Png, Byte Level) {
  if (!Png || Png->Empty()) return;
  const Integer w = Png->Width(), h = Png->Height();
  switch (Png->Header().ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: {
      // A truecolour copy with alpha: Level where the picture was opaque, 0 where it was
      // transparent. Partly transparent palette entries are scaled like an alpha channel
      // rather than made Level, so they do not turn more opaque than they were.
      TOwned<TPngImage> copy = CreateOwned<TPngImage>();
      copy->CreateBlank(COLOR_RGBALPHA, 8, w, h);
      for (Integer y = 0; y < h; ++y) {
        Byte* alpha = copy->AlphaScanline(y);
        for (Integer x = 0; x < w; ++x) {
          copy->SetPixels(x, y, Png->Pixels(x, y));
          const Byte a = Png->PixelAlpha(x, y);
          alpha[x] = a == 255 ? Level : a == 0 ? 0 : ScaleAlpha(a, Level);
        }
      }
      Png->Assign(copy.get());
      return;
    }
    case COLOR_RGB:
      // The transparent colour, if any, becomes alpha 0.
      Png->CreateAlpha();
      break;
    default:
      break;
  }
  for (Integer y = 0; y < h; ++y) {
    Byte* alpha = Png->AlphaScanline(y);
    if (!alpha) return;
    for (Integer x = 0; x < w; ++x) alpha[x] = ScaleAlpha(alpha[x], Level);
  }
  Png->SetModified(true);
}

// ---------------------------------------------------------------------------------------
// Items

TspPngImageItem::TspPngImageItem(TspPngImageItems* Collection)
    : FCollection(Collection), FPngImage(CreateOwned<TspPngImage>()) {
  const Integer index = Collection->Count();
  FName = Format("PngImage%d", {index});
  if (TspPngImageList* list = Collection->FPngImageList) {
    TOwned<TBitmap> placeholder = CreateOwned<TBitmap>();
    placeholder->SetPixelFormat(pf1bit);
    placeholder->SetSize(list->Width(), list->Height());
    // The list may hold fewer images than items when its images were dropped.
    list->Insert(std::min(index, list->Count()), placeholder.get(), nullptr);
  }
  Collection->FItems.emplace_back(this);
}

TspPngImageItem::~TspPngImageItem() = default;

void TspPngImageItem::Detach(Integer AIndex) {
  TspPngImageList* list = FCollection ? FCollection->FPngImageList : nullptr;
  if (list && AIndex >= 0 && AIndex < list->Count()) list->Delete(AIndex);
}

Integer TspPngImageItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

String TspPngImageItem::GetDisplayName() const {
  return FName.empty() ? String(ClassName()) : FName;
}

void TspPngImageItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TspPngImageItem*>(Source)) {
    if (item == this) return;
    FPngImage->Assign(item->PngImage());
    FName = item->Name();
    return;
  }
  TPersistent::Assign(Source);
}

void TspPngImageItem::SetPngImage(TPngImage* Value) {
  FPngImage->Assign(Value);
  if (FCollection) FCollection->Changed();
}

// ---------------------------------------------------------------------------------------
// Collection

TspPngImageItems::TspPngImageItems(TspPngImageList* AOwner) : FPngImageList(AOwner) {}

TspPngImageItems::~TspPngImageItems() { ClearItems(); }

TspPngImageItem* TspPngImageItems::Add() {
  // The item adds itself; the collection owns it from then on.
  return ::Create<TspPngImageItem>(this);
}

TspPngImageItem* TspPngImageItems::GetPngImageItem(Integer Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FItems[static_cast<size_t>(Index)].get();
}

Integer TspPngImageItems::IndexOf(const TspPngImageItem* Item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == Item) return static_cast<Integer>(i);
  return -1;
}

void TspPngImageItems::Delete(Integer Index) {
  GetPngImageItem(Index)->Detach(Index);
  TOwned<TspPngImageItem> item = std::move(FItems[static_cast<size_t>(Index)]);
  FItems.erase(FItems.begin() + Index);
  item.reset();
  Changed();
}

void TspPngImageItems::ClearItems() {
  while (!FItems.empty()) {
    FItems.back()->Detach(Count() - 1);
    FItems.pop_back();
  }
}

void TspPngImageItems::Clear() {
  if (FItems.empty()) return;
  ClearItems();
  Changed();
}

void TspPngImageItems::Assign(TPersistent* Source) {
  auto* items = dynamic_cast<TspPngImageItems*>(Source);
  if (!items) {
    TPersistent::Assign(Source);
    return;
  }
  if (items == this) return;
  Clear();
  for (Integer i = 0; i < items->Count(); ++i) Add()->Assign(items->GetPngImageItem(i));
  Changed();
}

void TspPngImageItems::Changed() {
  if (FPngImageList && !FPngImageList->ComponentState().Contains(csDestroying))
    FPngImageList->Change();
}

// ---------------------------------------------------------------------------------------
// The list

TspPngImageList::TspPngImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FPngImages(CreateOwned<TspPngImageItems>(this)) {}

TspPngImageList::~TspPngImageList() { FPngImages.reset(); }

void TspPngImageList::SetPngImages(TspPngImageItems* Value) { FPngImages->Assign(Value); }

void TspPngImageList::SetPngWidth(Integer Value) {
  if (Value == Width()) return;
  SetWidth(Value);
  if (!ComponentState().Contains(csLoading)) FPngImages->Clear();
}

void TspPngImageList::SetPngHeight(Integer Value) {
  if (Value == Height()) return;
  SetHeight(Value);
  if (!ComponentState().Contains(csLoading)) FPngImages->Clear();
}

void TspPngImageList::DrawPngImage(Integer Index, TCanvas* Canvas, Integer X, Integer Y,
                                   Cardinal /*Style*/, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= FPngImages->Count()) return;
  const TRect target = Rect(X, Y, X + Width(), Y + Height());
  TspPngImage* png = FPngImages->GetPngImageItem(Index)->PngImage();
  if (Enabled) {
    Canvas->StretchDraw(target, png);
    return;
  }
  // Disabled: a half-transparent copy; the item's own picture stays as it is.
  TOwned<TspPngImage> copy = CreateOwned<TspPngImage>();
  copy->Assign(png);
  ApplyPngAlphaLevel(copy.get(), 127);
  Canvas->StretchDraw(target, copy.get());
}

void TspPngImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal Style,
                             bool Enabled) {
  DrawPngImage(Index, Canvas, X, Y, Style, Enabled);
}
