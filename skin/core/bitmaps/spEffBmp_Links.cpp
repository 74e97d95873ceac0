// Bitmap links: a named rectangle of a working bitmap that is stored, drawn and checked
// for transparent pixels as a unit, and the text form of its rectangle.
#include <cstring>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Utf8.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"

namespace {

// Never counts as masked, whatever its alpha.
constexpr TspColor OpaqueMarker = 0x33333333;

Boolean IsMaskedPixel(TspColor C) {
  return C != OpaqueMarker && (C == spTransparentKey || (C >> 24) < 255);
}

void WriteLinkInt32(TStream& Stream, Integer V) {
  Byte b[4];
  for (Integer i = 0; i < 4; ++i) b[i] = static_cast<Byte>(static_cast<uint32_t>(V) >> (8 * i));
  Stream.WriteBuffer(b, 4);
}

Integer ReadLinkInt32(TStream& Stream) {
  Byte b[4];
  Stream.ReadBuffer(b, 4);
  return static_cast<Integer>(b[0] | (b[1] << 8) | (b[2] << 16) |
                              (static_cast<uint32_t>(b[3]) << 24));
}

// l <= x < r and t <= y < b.
Boolean InRegion(Int64 x, Int64 y, Int64 l, Int64 t, Int64 r, Int64 b) {
  return l <= x && x < r && t <= y && y < b;
}

// Takes the next token off the front of S: it ends at a blank, "(", ")", ",", ":", ";" or
// "=" (removed with it) or at the end of S; token and rest are then trimmed.
String NextRectToken(String& S) {
  String Token;
  size_t i = 0;
  for (; i < S.size(); ++i) {
    const char c = S[i];
    if (c != '\0' && std::strchr(" (),:;=", c) != nullptr) {
      ++i;
      break;
    }
    Token += c;
  }
  S = Trim(S.substr(i));
  return Trim(Token);
}

}  // namespace

Boolean TspBitmapLink::Assigned() const {
  return FImage != nullptr &&
         (Int64{FRect.Right} - FRect.Left) * (Int64{FRect.Bottom} - FRect.Top) > 0;
}

void TspBitmapLink::Assign(TPersistent* Source) {
  if (auto* L = dynamic_cast<TspBitmapLink*>(Source)) {
    FImage = L->FImage;
    FRect = L->FRect;
    FName = L->FName;
    FMasked = L->FMasked;
    FMaskedBorder = L->FMaskedBorder;
    FMaskedAngles = L->FMaskedAngles;
    return;
  }
  TPersistent::Assign(Source);
}

void TspBitmapLink::SaveToStream(TStream& Stream) const {
  WriteStringToStream(Stream, FName);
  WriteLinkInt32(Stream, FRect.Left);
  WriteLinkInt32(Stream, FRect.Top);
  WriteLinkInt32(Stream, FRect.Right);
  WriteLinkInt32(Stream, FRect.Bottom);
}

void TspBitmapLink::LoadFromStream(TStream& Stream) {
  FName = ReadStringFromStream(Stream);
  FRect.Left = ReadLinkInt32(Stream);
  FRect.Top = ReadLinkInt32(Stream);
  FRect.Right = ReadLinkInt32(Stream);
  FRect.Bottom = ReadLinkInt32(Stream);
}

void TspBitmapLink::CheckingMasked() { CheckingMasked(::Rect(0, 0, 0, 0)); }

void TspBitmapLink::CheckingMasked(const TRect& Margin) {
  FMasked = FMaskedBorder = FMaskedAngles = false;
  if (!FImage) return;
  const TRect& M = Margin;
  const Int64 w = Int64{FRect.Right} - FRect.Left;
  const Int64 h = Int64{FRect.Bottom} - FRect.Top;
  const Boolean NoMargins = M.Left == 0 && M.Top == 0 && M.Right == 0 && M.Bottom == 0;
  for (Integer y = FRect.Top; y < FRect.Bottom; ++y) {
    for (Integer x = FRect.Left; x < FRect.Right; ++x) {
      if (!IsMaskedPixel(FImage->GetPixelValue(x, y))) continue;
      if (NoMargins) {
        FMasked = true;
        return;
      }
      const Int64 px = Int64{x} - FRect.Left, py = Int64{y} - FRect.Top;
      if (InRegion(px, py, 0, 0, M.Left, M.Top) || InRegion(px, py, w - M.Right, 0, w, M.Top) ||
          InRegion(px, py, w - M.Right, h - M.Bottom, w, h) ||
          InRegion(px, py, 0, h - M.Bottom, M.Left, h))
        FMaskedAngles = true;
      if (InRegion(px, py, M.Left, 0, w - M.Right, M.Top) ||
          InRegion(px, py, M.Left, h - M.Bottom, w - M.Right, h) ||
          InRegion(px, py, 0, M.Top, M.Left, h - M.Bottom) ||
          InRegion(px, py, w - M.Right, M.Top, w, h - M.Bottom))
        FMaskedBorder = true;
      if (InRegion(px, py, M.Left, M.Top, w - M.Right, h - M.Bottom)) FMasked = true;
    }
  }
}

void TspBitmapLink::Draw(TCanvas* Canvas, Integer X, Integer Y) const {
  if (!Canvas || !FImage || FImage->Empty() || FRect.Right <= FRect.Left ||
      FRect.Bottom <= FRect.Top)
    return;
  FImage->Draw(Canvas, X, Y, FRect);
}

void TspBitmapLink::Draw(TspBitmap* Bitmap, Integer X, Integer Y) const {
  if (!Bitmap || !FImage || FImage->Empty() || FRect.Right <= FRect.Left ||
      FRect.Bottom <= FRect.Top)
    return;
  FImage->Draw(Bitmap, X, Y, FRect);
}

TOwned<TspBitmapLink> GetBitmapLink(TspBitmap* Bitmap, const TRect& Rect) {
  TOwned<TspBitmapLink> Link(TspBitmapLink::Create());
  Link->SetImage(Bitmap);
  if (Bitmap) Link->SetName(Bitmap->Name());
  Link->SetRect(Rect);
  return Link;
}

TOwned<TspBitmapLink> GetBitmapLink(TspBitmap* Bitmap, const String& Rect) {
  TRect R;
  TextToRect(Rect, R);
  return GetBitmapLink(Bitmap, R);
}

void TextToRect(const String& S, TRect& R) {
  String Rest = S;
  try {
    R.Left = StrToInt(NextRectToken(Rest));
    R.Top = StrToInt(NextRectToken(Rest));
    R.Right = StrToInt(NextRectToken(Rest));
    R.Bottom = StrToInt(NextRectToken(Rest));
  } catch (const EConvertError&) {
    R = ::Rect(0, 0, 0, 0);
  }
}
