#include "platform/ui/Clipbrd.h"

#include <cstring>

#include "platform/ui/Graphics.h"

namespace {

// Copies a 32 bpp bitmap's pixels out, top row first.
void ReadPixels(TBitmap* Bitmap, std::vector<uint32_t>& Pixels) {
  const Integer W = Bitmap->Width(), H = Bitmap->Height();
  Pixels.assign(static_cast<size_t>(W) * static_cast<size_t>(H), 0);
  for (Integer Y = 0; Y < H; ++Y)
    std::memcpy(Pixels.data() + static_cast<size_t>(Y) * W, Bitmap->ScanLine(Y), static_cast<size_t>(W) * 4);
}

}  // namespace

void TClipboard::Assign(TPersistent* Source) {
  auto Temp = CreateOwned<TBitmap>();
  if (!Source) AssignError(nullptr);
  // An empty picture puts an empty image on the clipboard.
  if (auto* Picture = dynamic_cast<TPicture*>(Source)) Source = Picture->Graphic();
  if (Source) {
    try {
      Temp->Assign(Source);  // a graphic, or the source's own AssignTo(TBitmap)
    } catch (const EConvertError&) {
      AssignError(Source);
    }
  }
  Temp->SetPixelFormat(pf32bit);
  EmptyText();
  FWidth = Temp->Width();
  FHeight = Temp->Height();
  if (FWidth > 0 && FHeight > 0)
    ReadPixels(Temp.get(), FPixels);
  else
    FPixels.clear();
  FHasPicture = true;
}

void TClipboard::AssignTo(TPersistent* Dest) {
  TBitmap* Target = dynamic_cast<TBitmap*>(Dest);
  if (!Target)
    if (auto* Picture = dynamic_cast<TPicture*>(Dest)) Target = Picture->Bitmap();
  if (!Target) {
    TPersistent::AssignTo(Dest);
    return;
  }
  Target->SetPixelFormat(pf32bit);
  Target->SetSize(FHasPicture ? FWidth : 0, FHasPicture ? FHeight : 0);
  for (Integer Y = 0; Y < Target->Height(); ++Y)
    std::memcpy(Target->ScanLine(Y), FPixels.data() + static_cast<size_t>(Y) * FWidth,
                static_cast<size_t>(FWidth) * 4);
}

Boolean TClipboard::HasFormat(UINT Format) const {
  if (Format == CF_BITMAP) return FHasPicture;
  return IsClipboardFormatAvailable(Format) != FALSE;
}

void TClipboard::Clear() {
  FHasPicture = false;
  FPixels.clear();
  FWidth = FHeight = 0;
  EmptyText();
}

void TClipboard::EmptyText() const {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

String TClipboard::AsText() const {
  String Text;
  if (!OpenClipboard(nullptr)) return Text;
  if (HANDLE Mem = GetClipboardData(CF_TEXT)) {
    if (const auto* Data = static_cast<const char*>(GlobalLock(Mem))) Text = Data;
    GlobalUnlock(Mem);
  }
  CloseClipboard();
  return Text;
}

void TClipboard::SetAsText(const String& Value) {
  FHasPicture = false;
  FPixels.clear();
  FWidth = FHeight = 0;
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  if (HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Value.size() + 1)) {
    std::memcpy(GlobalLock(Mem), Value.c_str(), Value.size() + 1);
    GlobalUnlock(Mem);
    if (!SetClipboardData(CF_TEXT, Mem)) GlobalFree(Mem);
  }
  CloseClipboard();
}

TClipboard* Clipboard() {
  static TClipboard Instance;
  return &Instance;
}
