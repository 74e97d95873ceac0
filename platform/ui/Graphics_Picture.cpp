// TGraphic's common behaviour, TPicture (a graphic of any class, chosen by file
// extension), TIcon, and alpha blending of pixels onto a canvas.
#include <algorithm>
#include <cstring>

#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/PngImage.h"
#include "platform/win/PixelBlend.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/Resources.h"

// ---------------------------------------------------------------------------------------
// TGraphic

void TGraphic::SetSize(Integer AWidth, Integer AHeight) {
  SetWidth(AWidth);
  SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool Value) {
  if (Value != FTransparent) {
    FTransparent = Value;
    Changed(this);
  }
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

// ---------------------------------------------------------------------------------------
// TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::TakeGraphic(TOwned<TGraphic> Value) {
  FGraphic = std::move(Value);
  if (FGraphic) FGraphic->OnChange = [this](TObject* Sender) { Changed(Sender); };
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic.get()) return;
  if (!Value) {
    TakeGraphic(nullptr);
    return;
  }
  TOwned<TGraphic> copy = Value->NewEmpty();
  copy->Assign(Value);
  TakeGraphic(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get());
  if (!bitmap) {
    TOwned<TBitmap> fresh = CreateOwned<TBitmap>();
    bitmap = fresh.get();
    TakeGraphic(std::move(fresh));
  }
  return bitmap;
}

Integer TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
Integer TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromFile(const String& FileName) {
  const size_t dot = FileName.find_last_of('.');
  const size_t slash = FileName.find_last_of('/');
  String ext = (dot == String::npos || (slash != String::npos && dot < slash)) ? String() : FileName.substr(dot + 1);
  const String lower = LowerCase(ext);
  TOwned<TGraphic> graphic;
  if (lower == "bmp" || lower == "dib")
    graphic = CreateOwned<TBitmap>();
  else if (lower == "jpg" || lower == "jpeg" || lower == "jpe" || lower == "jfif")
    graphic = CreateOwned<TJPEGImage>();
  else if (lower == "png")
    graphic = CreateOwned<TPngImage>();
  else
    throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {ext}));
  graphic->LoadFromFile(FileName);
  TakeGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const String& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    if (picture != this) SetGraphic(picture->Graphic());
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (FGraphic && dynamic_cast<TGraphic*>(Dest)) {
    Dest->Assign(FGraphic.get());
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------
// TIcon

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

TOwned<TGraphic> TIcon::NewEmpty() const { return CreateOwned<TIcon>(); }

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  if (auto* icon = dynamic_cast<TIcon*>(Source)) {
    if (icon != this) SetHandle(icon->FHandle ? CopyIcon(icon->FHandle) : nullptr);
    return;
  }
  TGraphic::Assign(Source);
}

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  if (FHandle) DestroyIcon(FHandle);
  FHandle = Value;
  FWidth = FHeight = 0;
  if (auto icon = vantrel::win::IconOf(Value)) {
    FWidth = icon->Width();
    FHeight = icon->Height();
  }
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON h = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  return h;
}

void TIcon::SetWidth(Integer Value) {
  if (Value != FWidth) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(Integer Value) {
  if (Value != FHeight) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::LoadFromStream(TStream*) { throw EInvalidGraphicOperation("Icon files are not supported"); }

void TIcon::SaveToStream(TStream*) { throw EInvalidGraphicOperation("Icon files are not supported"); }

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  DrawIconEx(ACanvas->Handle(), Rect.Left, Rect.Top, FHandle, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top, 0,
             nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------------------
// Alpha blending onto a canvas: the visible part of the target is read into a 32 bpp
// buffer, blended there and written back, so the DC's clip and origins apply as for any
// blit.

namespace vantrel::ui {

void BlendPixels(TCanvas* Canvas, const TRect& Dest, Integer Width, Integer Height, const uint32_t* Pixels) {
  vantrel::win::BlendPixelsOnDc(Canvas->Handle(), Dest, Width, Height, Pixels);
}

}  // namespace vantrel::ui
