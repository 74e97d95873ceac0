// The pointer's shape on X: standard shapes from the cursor font, other cursors (the
// skin's) as ARGB cursors made through RENDER once per handle, and an empty cursor for
// none.
#include <vector>

#include "platform/display/X11Display.h"
#include "platform/win/Cursor.h"
#include "platform/win/Gdi.h"
#include "platform/win/Resources.h"
#include "platform/win/WindowDc.h"

#include "platform/display/X11Internal.h"

#include <X11/cursorfont.h>
#include <X11/extensions/Xrender.h>

namespace vantrel::display {

namespace {

struct FontShape {
  uintptr_t Id;
  unsigned Shape;
};

// IDC_* id -> cursor font glyph.
constexpr FontShape StandardShapes[] = {
    {32512, XC_left_ptr},           {32513, XC_xterm},           {32514, XC_watch},
    {32515, XC_crosshair},          {32516, XC_sb_up_arrow},     {32640, XC_fleur},
    {32641, XC_icon},               {32642, XC_bottom_right_corner}, {32643, XC_bottom_left_corner},
    {32644, XC_sb_h_double_arrow},  {32645, XC_sb_v_double_arrow}, {32646, XC_fleur},
    {32648, XC_X_cursor},           {32649, XC_hand2},           {32650, XC_watch},
    {32651, XC_question_arrow},
};

Cursor MakeArgbCursor(X11State& S, HCURSOR C) {
  int W = 0, H = 0, HotX = 0, HotY = 0;
  std::vector<uint32_t> Pixels = X11IconPixels(reinterpret_cast<HICON>(C), W, H, HotX, HotY);
  if (Pixels.empty()) return 0;
  XRenderPictFormat* Format = XRenderFindStandardFormat(S.Dpy, PictStandardARGB32);
  if (!Format) return 0;
  Pixmap Pix = XCreatePixmap(S.Dpy, S.Root, static_cast<unsigned>(W), static_cast<unsigned>(H), 32);
  XImage* Img = XCreateImage(S.Dpy, nullptr, 32, ZPixmap, 0, reinterpret_cast<char*>(Pixels.data()),
                             static_cast<unsigned>(W), static_cast<unsigned>(H), 32, W * 4);
  Img->byte_order = LSBFirst;
  GC Gc = XCreateGC(S.Dpy, Pix, 0, nullptr);
  XPutImage(S.Dpy, Pix, Gc, Img, 0, 0, 0, 0, static_cast<unsigned>(W), static_cast<unsigned>(H));
  XFreeGC(S.Dpy, Gc);
  Img->data = nullptr;  // the vector keeps its pixels
  XDestroyImage(Img);
  Picture Pic = XRenderCreatePicture(S.Dpy, Pix, Format, 0, nullptr);
  const Cursor Made = XRenderCreateCursor(S.Dpy, Pic, static_cast<unsigned>(HotX), static_cast<unsigned>(HotY));
  XRenderFreePicture(S.Dpy, Pic);
  XFreePixmap(S.Dpy, Pix);
  return Made;
}

Cursor MakeEmptyCursor(X11State& S) {
  const char Bits[1] = {0};
  Pixmap Blank = XCreateBitmapFromData(S.Dpy, S.Root, Bits, 1, 1);
  XColor Black{};
  const Cursor Made = XCreatePixmapCursor(S.Dpy, Blank, Blank, &Black, &Black, 0, 0);
  XFreePixmap(S.Dpy, Blank);
  return Made;
}

}  // namespace

std::vector<uint32_t> X11IconPixels(HICON C, int& W, int& H, int& HotX, int& HotY) {
  ICONINFO Info{};
  if (!GetIconInfo(C, &Info)) return {};
  HotX = static_cast<int>(Info.xHotspot);
  HotY = static_cast<int>(Info.yHotspot);
  std::vector<uint32_t> Color, Mask;
  auto Read = [&](HBITMAP Bmp, std::vector<uint32_t>& Out) {
    BITMAP B{};
    if (!Bmp || !GetObject(Bmp, sizeof B, &B)) return false;
    W = B.bmWidth;
    H = B.bmHeight < 0 ? -B.bmHeight : B.bmHeight;
    if (W <= 0 || H <= 0) return false;
    BITMAPINFO BI{};
    BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    BI.bmiHeader.biWidth = W;
    BI.bmiHeader.biHeight = -H;
    BI.bmiHeader.biPlanes = 1;
    BI.bmiHeader.biBitCount = 32;
    BI.bmiHeader.biCompression = BI_RGB;
    Out.assign(static_cast<size_t>(W) * static_cast<size_t>(H), 0);
    HDC Dc = GetDC(nullptr);
    const int Lines = GetDIBits(Dc, Bmp, 0, static_cast<UINT>(H), Out.data(), &BI, DIB_RGB_COLORS);
    ReleaseDC(nullptr, Dc);
    return Lines > 0;
  };
  const bool HaveMask = Read(Info.hbmMask, Mask);
  const int MaskW = W, MaskH = H;
  const bool HaveColor = Read(Info.hbmColor, Color);
  if (Info.hbmMask) DeleteObject(Info.hbmMask);
  if (Info.hbmColor) DeleteObject(Info.hbmColor);
  if (!HaveColor) return {};
  bool AnyAlpha = false;
  for (uint32_t P : Color) AnyAlpha = AnyAlpha || (P >> 24) != 0;
  const bool UseMask = !AnyAlpha && HaveMask && MaskW == W && MaskH >= H;
  for (size_t I = 0; I < Color.size(); ++I) {
    uint32_t P = Color[I];
    uint32_t A = P >> 24;
    if (!AnyAlpha) A = UseMask && (Mask[I] & 0xFFFFFF) != 0 ? 0 : 255;
    const uint32_t R = ((P >> 16) & 0xFF) * A / 255, G = ((P >> 8) & 0xFF) * A / 255, B = (P & 0xFF) * A / 255;
    Color[I] = (A << 24) | (R << 16) | (G << 8) | B;
  }
  return Color;
}

Cursor X11State::CursorFor(HCURSOR C) {
  if (!C) {
    if (!EmptyCursor) EmptyCursor = MakeEmptyCursor(*this);
    return EmptyCursor;
  }
  auto It = Cursors.find(C);
  if (It != Cursors.end()) return It->second;
  Cursor Made = 0;
  const uintptr_t Id = win::StandardCursorId(C);
  for (const FontShape& S : StandardShapes)
    if (S.Id == Id) Made = XCreateFontCursor(Dpy, S.Shape);
  if (!Made && !Id) Made = MakeArgbCursor(*this, C);
  if (!Made) Made = XCreateFontCursor(Dpy, XC_left_ptr);
  Cursors[C] = Made;
  return Made;
}

void X11State::DefineCursorOn(X11Native& N) {
  if (N.Xid && CursorSet) XDefineCursor(Dpy, N.Xid, CursorFor(CurrentCursor));
}

void X11Display::SetCursorShape(HCURSOR C) {
  X11State& S = *F;
  if (S.CursorSet && S.CurrentCursor == C) return;
  S.CurrentCursor = C;
  S.CursorSet = true;
  for (auto& [Wnd, N] : S.Windows) S.DefineCursorOn(N);
  XFlush(S.Dpy);
}

}  // namespace vantrel::display
