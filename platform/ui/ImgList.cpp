// TCustomImageList: images kept as plain pixels with a mask, drawn by blending onto the
// target canvas so the DC's clip and origins apply.
#include "platform/ui/ImgList.h"

#include <algorithm>
#include <cstring>

#include "platform/win/Gdi.h"
#include "platform/win/Resources.h"

namespace {

constexpr char kIndexError[] = "Invalid ImageList Index";

uint32_t RgbPixel(TColor C) {
  const COLORREF c = static_cast<COLORREF>(ColorToRGB(C));
  return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner)
    : TComponent(AOwner), FHandle(ImageList_Create(FWidth, FHeight, ILC_MASK | ILC_COLOR32, 0, 4)) {
  if (!FHandle) throw EOutOfResources("Out of system resources");
}

TCustomImageList::~TCustomImageList() {
  if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
}

std::vector<TCustomImageList::Entry>& TCustomImageList::Images() const {
  return vantrel::win::ImageListContentOf(FHandle)->Images;
}

void TCustomImageList::SyncHandle() {
  vantrel::win::ImageListContent* C = vantrel::win::ImageListContentOf(FHandle);
  C->Width = FWidth;
  C->Height = FHeight;
  C->Masked = FMasked;
  C->BkColor = FBkColor == clNone ? CLR_NONE : static_cast<COLORREF>(ColorToRGB(FBkColor));
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  if (Value == FHandle) return;
  vantrel::win::ImageListContent* C = vantrel::win::ImageListContentOf(Value);
  if (!C) throw EInvalidOperation("Invalid image list handle");
  if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
  FHandle = Value;
  FWidth = C->Width;
  FHeight = C->Height;
  FMasked = C->Masked;
  Change();
}

void TCustomImageList::Assign(TPersistent* Source) {
  if (auto* list = dynamic_cast<TCustomImageList*>(Source)) {
    if (list == this) return;
    FWidth = list->FWidth;
    FHeight = list->FHeight;
    FMasked = list->FMasked;
    FBkColor = list->FBkColor;
    FDrawingStyle = list->FDrawingStyle;
    FImageType = list->FImageType;
    Images() = list->Images();
    SyncHandle();
    Change();
    return;
  }
  TComponent::Assign(Source);
}

void TCustomImageList::SetWidth(Integer Value) {
  if (Value == FWidth || Value <= 0) return;
  FWidth = Value;
  Images().clear();
  SyncHandle();
  Change();
}

void TCustomImageList::SetHeight(Integer Value) {
  if (Value == FHeight || Value <= 0) return;
  FHeight = Value;
  Images().clear();
  SyncHandle();
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == FMasked) return;
  FMasked = Value;
  SyncHandle();
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (Value == FBkColor) return;
  FBkColor = Value;
  SyncHandle();
  Change();
}

std::vector<TCustomImageList::Entry> TCustomImageList::Cut(TBitmap* Source, TBitmap* Mask, bool UseColor,
                                                           TColor MaskColor) const {
  std::vector<Entry> out;
  if (!Source) return out;
  TBitmap pixels;
  pixels.Assign(Source);
  pixels.SetPixelFormat(pf32bit);
  TBitmap mask;
  if (Mask && !UseColor) {
    mask.Assign(Mask);
    mask.SetPixelFormat(pf32bit);
  }
  const bool hasMask = !UseColor && Mask && !mask.Empty();
  uint32_t key = 0;
  if (UseColor) key = RgbPixel(MaskColor == clDefault ? Source->TransparentColor() : MaskColor);
  const Integer count = std::max<Integer>(1, pixels.Width() / FWidth);
  for (Integer i = 0; i < count; ++i) {
    Entry img;
    img.Pixels.assign(static_cast<size_t>(FWidth) * FHeight, 0);
    img.Mask.assign(img.Pixels.size(), 1);
    for (Integer y = 0; y < FHeight && y < pixels.Height(); ++y) {
      const auto* row = static_cast<const uint32_t*>(pixels.ScanLine(y));
      const uint32_t* maskRow = hasMask && y < mask.Height() ? static_cast<const uint32_t*>(mask.ScanLine(y)) : nullptr;
      for (Integer x = 0; x < FWidth; ++x) {
        const Integer sx = i * FWidth + x;
        if (sx >= pixels.Width()) break;
        const size_t at = static_cast<size_t>(y) * FWidth + x;
        const uint32_t p = row[sx] & 0xFFFFFF;
        bool transparent = false;
        if (UseColor)
          transparent = p == key;
        else if (maskRow && sx < mask.Width())
          transparent = (maskRow[sx] & 0xFFFFFF) != 0;
        // As on the platform, masked pixels of a colour-keyed image turn black.
        img.Pixels[at] = transparent && UseColor ? 0 : p;
        img.Mask[at] = transparent ? 1 : 0;
      }
    }
    out.push_back(std::move(img));
  }
  return out;
}

void TCustomImageList::InsertImages(Integer Index, std::vector<Entry> Added) {
  if (Index < 0 || Index > Count()) throw EInvalidOperation(kIndexError);
  Images().insert(Images().begin() + Index, std::make_move_iterator(Added.begin()),
                  std::make_move_iterator(Added.end()));
  Change();
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image) return -1;
  const Integer first = Count();
  InsertImages(first, Cut(Image, Mask, false, clNone));
  return first;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image) return -1;
  const Integer first = Count();
  InsertImages(first, Cut(Image, nullptr, true, MaskColor));
  return first;
}

void TCustomImageList::Insert(Integer Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index > Count()) throw EInvalidOperation(kIndexError);
  InsertImages(Index, Cut(Image, Mask, false, clNone));
}

void TCustomImageList::InsertMasked(Integer Index, TBitmap* Image, TColor MaskColor) {
  if (Index < 0 || Index > Count()) throw EInvalidOperation(kIndexError);
  InsertImages(Index, Cut(Image, nullptr, true, MaskColor));
}

void TCustomImageList::Delete(Integer Index) {
  if (Index == -1) {
    Clear();
    return;
  }
  if (Index < 0 || Index >= Count()) throw EInvalidOperation(kIndexError);
  Images().erase(Images().begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  Images().clear();
  Change();
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  Cardinal style = ILD_NORMAL;
  if (FDrawingStyle == dsTransparent) style |= ILD_TRANSPARENT;
  style |= FImageType == itMask ? ILD_MASK : 0;
  DoDraw(Index, Canvas, X, Y, style, Enabled);
}

void TCustomImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal Style, bool Enabled) {
  if (Index < 0 || Index >= Count() || !Canvas) return;
  const Entry& img = Images()[static_cast<size_t>(Index)];
  const auto transparentAt = [&](Integer x, Integer y) {
    return FMasked && img.Mask[static_cast<size_t>(y) * FWidth + x] != 0;
  };
  if (Enabled) {
    std::vector<uint32_t> argb(img.Pixels.size());
    const bool maskOnly = (Style & ILD_MASK) != 0;
    const bool keepBk = FBkColor != clNone && !(Style & ILD_TRANSPARENT);
    for (Integer y = 0; y < FHeight; ++y)
      for (Integer x = 0; x < FWidth; ++x) {
        const size_t at = static_cast<size_t>(y) * FWidth + x;
        if (maskOnly)
          argb[at] = 0xFF000000u | (transparentAt(x, y) ? 0xFFFFFFu : 0);
        else if (!transparentAt(x, y))
          argb[at] = 0xFF000000u | img.Pixels[at];
        else if (keepBk)
          argb[at] = 0xFF000000u | RgbPixel(FBkColor);
      }
    vantrel::ui::BlendPixels(Canvas, Bounds(X, Y, FWidth, FHeight), FWidth, FHeight, argb.data());
    return;
  }
  // The greyed look: a pixel is "dark" when it is drawn and not white; the highlight is the
  // dark shape moved by (1, 1), the shadow the shape itself on top.
  const auto darkAt = [&](Integer x, Integer y) {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight || transparentAt(x, y)) return false;
    return img.Pixels[static_cast<size_t>(y) * FWidth + x] != 0xFFFFFF;
  };
  const Integer w = FWidth + 1, h = FHeight + 1;
  const uint32_t shadow = 0xFF000000u | RgbPixel(clBtnShadow);
  const uint32_t highlight = 0xFF000000u | RgbPixel(clBtnHighlight);
  std::vector<uint32_t> argb(static_cast<size_t>(w) * h, 0);
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      uint32_t& p = argb[static_cast<size_t>(y) * w + x];
      if (darkAt(x, y))
        p = shadow;
      else if (darkAt(x - 1, y - 1))
        p = highlight;
    }
  vantrel::ui::BlendPixels(Canvas, Bounds(X, Y, w, h), w, h, argb.data());
}

bool TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  Image->SetHeight(FHeight);
  Image->SetWidth(FWidth);
  Draw(Image->Canvas(), 0, 0, Index);
  return true;
}

void TCustomImageList::GetIcon(Integer Index, TIcon* Image) {
  if (!Image || Index < 0 || Index >= Count()) return;
  const Entry& img = Images()[static_cast<size_t>(Index)];
  TBitmap color;
  color.SetPixelFormat(pf32bit);
  color.SetSize(FWidth, FHeight);
  TBitmap mask;
  mask.SetPixelFormat(pf1bit);
  mask.SetSize(FWidth, FHeight);
  for (Integer y = 0; y < FHeight; ++y) {
    auto* row = static_cast<uint32_t*>(color.ScanLine(y));
    auto* maskRow = static_cast<uint8_t*>(mask.ScanLine(y));
    std::memset(maskRow, 0, static_cast<size_t>((FWidth + 7) / 8));
    for (Integer x = 0; x < FWidth; ++x) {
      const size_t at = static_cast<size_t>(y) * FWidth + x;
      const bool transparent = FMasked && img.Mask[at];
      row[x] = transparent ? 0 : img.Pixels[at];
      if (transparent) maskRow[x >> 3] = static_cast<uint8_t>(maskRow[x >> 3] | (0x80 >> (x & 7)));
    }
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color.Handle();
  info.hbmMask = mask.Handle();
  Image->SetHandle(CreateIconIndirect(&info));
}
