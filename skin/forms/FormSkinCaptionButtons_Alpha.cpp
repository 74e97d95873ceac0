// The caption buttons' 32-bit looks for the layered full border: each look cut from the
// active picture with an alpha from a grey mask picture (or opaque), drawn over the
// border's image so that its clear pixels keep what lies below.
#include <algorithm>

#include "platform/win/Gdi.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinCaption.h"

namespace {

// Rectangle R of Picture as a 32-bit image whose alpha comes from the grey levels of the
// mask picture's top-left part, or opaque without a mask; nil for an empty R.
TOwned<TspBitmap> CaptionButtonAlphaImage(TBitmap* Picture, const TRect& R, TBitmap* Mask) {
  if (!Picture || IsNullRect(R) || RectWidth(R) <= 0 || RectHeight(R) <= 0) return nullptr;
  const Integer W = RectWidth(R), H = RectHeight(R);
  auto Image = CreateOwned<TspBitmap>();
  Image->SetSize(W, H);
  BitBlt(Image->DC(), 0, 0, W, H, Picture->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
  Image->SetAlphaBlend(true);
  if (!Mask) {
    Image->SetAlpha(255);
    return Image;
  }
  auto Grey = CreateOwned<TspBitmap>();
  Grey->SetSize(W, H);
  BitBlt(Grey->DC(), 0, 0, W, H, Mask->Canvas()->Handle(), 0, 0, SRCCOPY);
  SetAlphaFromGray(Image.get(), Grey.get());
  return Image;
}

}  // namespace

TspSkinStdButtonObject::~TspSkinStdButtonObject() = default;

void TspSkinStdButtonObject::InitAlphaImages() {
  const auto MaskOf = [this](Integer Index) -> TBitmap* {
    return Index == -1 || !SD ? nullptr : SkinActivePicture(SD, Index);
  };
  struct Look {
    TOwned<TspBitmap>& Image;
    const TRect& R;
    Integer MaskIndex;
  };
  const Look Looks[] = {
      {FAlphaNormalImage, SkinRect, AlphaMaskPictureIndex},
      {FAlphaActiveImage, ActiveSkinRect, AlphaMaskActivePictureIndex},
      {FAlphaDownImage, DownRect, AlphaMaskActivePictureIndex},
      {FAlphaRestoreNormalImage, RestoreRect, AlphaMaskPictureIndex},
      {FAlphaRestoreActiveImage, RestoreActiveRect, AlphaMaskActivePictureIndex},
      {FAlphaRestoreDownImage, RestoreDownRect, AlphaMaskActivePictureIndex},
      {FAlphaInActiveImage, InActiveSkinRect, AlphaMaskInActivePictureIndex},
      {FAlphaInActiveRestoreImage, RestoreInActiveRect, AlphaMaskInActivePictureIndex},
  };
  for (const Look& L : Looks) {
    L.Image.reset();
    L.Image = CaptionButtonAlphaImage(ActivePicture, L.R, MaskOf(L.MaskIndex));
  }
}

TspBitmap* TspSkinStdButtonObject::AlphaImageOfState() const {
  const Boolean Restore = RestoreState();
  const auto Pick = [Restore](const TOwned<TspBitmap>& RestoreImage, const TOwned<TspBitmap>& Image) {
    return Restore && RestoreImage ? RestoreImage.get() : Image.get();
  };
  if (!Parent->FFormActive && !IsNullRect(InActiveSkinRect))
    return Pick(FAlphaInActiveRestoreImage, FAlphaInActiveImage);
  if (FDown && FMouseIn && !IsNullRect(DownRect)) return Pick(FAlphaRestoreDownImage, FAlphaDownImage);
  if (FMouseIn && !IsNullRect(ActiveSkinRect)) return Pick(FAlphaRestoreActiveImage, FAlphaActiveImage);
  return Pick(FAlphaRestoreNormalImage, FAlphaNormalImage);
}

void TspSkinStdButtonObject::DrawAlphaIcon(TCanvas* Cnvs) {
  if (Parent->IsAlphaIcon) {
    Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    return;
  }
  Integer W = 0, H = 0;
  Parent->GetIconSize(W, H);
  if (W <= 0 || H <= 0) return;
  auto Keyed = CreateOwned<TspBitmap>();
  Keyed->SetSize(W, H);
  Keyed->Clear(spTransparentKey);
  Parent->DrawFormIcon(Keyed->Canvas(), 0, 0);
  Keyed->SetTransparent(true);
  Keyed->Draw(Cnvs, ObjectRect.Left, ObjectRect.Top);
}

void TspSkinStdButtonObject::DrawAlpha(TCanvas* Cnvs, TspBitmap* ABitMap) {
  if (Command == cmSysMenu && Parent->ShowIcon()) return DrawAlphaIcon(Cnvs);
  TspBitmap* Image = AlphaImageOfState();
  if (!Image || !ABitMap) return;
  // Clear pixels of the look take the border's own pixels (colour and alpha).
  const Integer W = Image->Width(), H = Image->Height();
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      TspColor* Pixel = Image->GetPixelPtr(X, Y);
      if ((*Pixel >> 24) != 0) continue;
      const Integer BX = ObjectRect.Left + X, BY = ObjectRect.Top + Y;
      if (BX >= 0 && BY >= 0 && BX < ABitMap->Width() && BY < ABitMap->Height())
        *Pixel = ABitMap->GetPixelValue(BX, BY);
    }
  Image->Draw(Cnvs, ObjectRect.Left, ObjectRect.Top);
}
