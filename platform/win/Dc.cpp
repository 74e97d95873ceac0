// Device contexts: creation on a bitmap, the screen or any surface, selected objects,
// SaveDC/RestoreDC, window and viewport origins, clipping and the clipped pixel writers
// every drawing call goes through.
#include <pixman.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/win/GdiInternal.h"

namespace vantrel::win {

uint32_t ApplyRop2(int Rop2, uint32_t D, uint32_t P) {
  const uint32_t A = D & 0xFF000000u;
  const uint32_t d = D & 0x00FFFFFFu;
  const uint32_t p = P & 0x00FFFFFFu;
  switch (Rop2) {
    case R2_BLACK: return 0;
    case R2_NOTMERGEPEN: return A | (~(d | p) & 0xFFFFFF);
    case R2_MASKNOTPEN: return A | (d & ~p & 0xFFFFFF);
    case R2_NOTCOPYPEN: return ~p & 0xFFFFFF;
    case R2_MASKPENNOT: return A | (p & ~d & 0xFFFFFF);
    case R2_NOT: return A | (~d & 0xFFFFFF);
    case R2_XORPEN: return A | (d ^ p);
    case R2_NOTMASKPEN: return A | (~(d & p) & 0xFFFFFF);
    case R2_MASKPEN: return A | (d & p);
    case R2_NOTXORPEN: return A | (~(d ^ p) & 0xFFFFFF);
    case R2_NOP: return D;
    case R2_MERGENOTPEN: return A | ((d | ~p) & 0xFFFFFF);
    case R2_MERGEPENNOT: return A | ((p | ~d) & 0xFFFFFF);
    case R2_MERGEPEN: return A | d | p;
    case R2_WHITE: return 0xFFFFFF;
    default: return p;  // R2_COPYPEN
  }
}

namespace {

struct ScreenState {
  ScreenSurfaceProvider Provider;
  std::unique_ptr<Surface> Default;
};

ScreenState& Screen() {
  static ScreenState S;
  return S;
}

template <class T>
void SelectInto(std::shared_ptr<T>& Slot, std::shared_ptr<T> Obj) {
  if (Slot) Slot->RemoveSelection();
  Slot = std::move(Obj);
  if (Slot) Slot->AddSelection();
}

RECT SurfaceBounds(const Surface* S) { return S ? RECT{0, 0, S->Width(), S->Height()} : RECT{}; }

}  // namespace

// ---------------------------------------------------------------------------------------
// DcObject

DcObject::DcObject(DWORD Kind, Surface* Target, POINT DeviceOrigin, std::optional<Region> BaseClip)
    : GdiObject(Kind), FTarget(Target), FDeviceOrigin(DeviceOrigin), FBaseClip(std::move(BaseClip)) {
  SelectInto(FState.Pen, std::static_pointer_cast<PenObject>(StockObjectPtr(BLACK_PEN)));
  SelectInto(FState.Brush, std::static_pointer_cast<BrushObject>(StockObjectPtr(WHITE_BRUSH)));
  FState.Font = FindGdiObject(GetDefaultDcFont());
  if (FState.Font) FState.Font->AddSelection();
  if (Kind == OBJ_MEMDC)
    SelectInto(FState.Bitmap, std::static_pointer_cast<BitmapObject>(StockObjectPtr(DEFAULT_BITMAP_INDEX)));
}

DcObject::~DcObject() {
  if (FState.Pen) FState.Pen->RemoveSelection();
  if (FState.Brush) FState.Brush->RemoveSelection();
  if (FState.Font) FState.Font->RemoveSelection();
  if (FState.Bitmap) FState.Bitmap->RemoveSelection();
}

Surface* DcObject::Target() {
  if (Memory()) return FState.Bitmap ? &FState.Bitmap->Pixels() : nullptr;
  if (FScreen) {
    if (FComposeOnUse) std::exchange(FComposeOnUse, nullptr)();
    return ScreenSurface();
  }
  return FTarget;
}

Surface* DcObject::Begin() {
  if (Memory() && FState.Bitmap) FState.Bitmap->Pull();
  return Target();
}

void DcObject::Commit() {
  if (Memory() && FState.Bitmap) FState.Bitmap->Push();
}

void DcObject::Commit(int Top, int Bottom) {
  if (Memory() && FState.Bitmap) FState.Bitmap->Push(Top, Bottom);
}

void DcObject::SetTarget(Surface* Target, POINT DeviceOrigin, std::optional<Region> BaseClip) {
  FTarget = Target;
  FDeviceOrigin = DeviceOrigin;
  FBaseClip = std::move(BaseClip);
  FClipValid = false;
}

void DcObject::RecomputeClip() {
  Surface* S = Target();
  Region R(SurfaceBounds(S));
  if (FBaseClip && !Memory()) R.Intersect(*FBaseClip);
  if (FState.Clip) {
    Region C(*FState.Clip);
    C.Translate(FDeviceOrigin.X, FDeviceOrigin.Y);
    R.Intersect(C);
  }
  FClipRects = R.Rects();
  FClipBox = R.Extents();
  FClipSurface = S;
  FClipW = S ? S->Width() : 0;
  FClipH = S ? S->Height() : 0;
  FClipValid = true;
}

const std::vector<RECT>& DcObject::ClipRects() {
  Surface* S = Target();
  if (!FClipValid || S != FClipSurface || (S && (S->Width() != FClipW || S->Height() != FClipH)))
    RecomputeClip();
  return FClipRects;
}

const RECT& DcObject::ClipBox() {
  ClipRects();
  return FClipBox;
}

Region DcObject::EffectiveClip() {
  const auto& Rs = ClipRects();
  return Region(Rs.data(), Rs.size());
}

void DcObject::FillSpan(int Y, int X0, int X1, uint32_t Pixel, int Rop2) {
  if (X0 >= X1 || Rop2 == R2_NOP) return;
  const auto& Rs = ClipRects();
  Surface* S = Target();
  if (!S) return;
  uint32_t* Row = nullptr;
  for (const RECT& C : Rs) {
    if (C.Top > Y) break;
    if (Y >= C.Bottom) continue;
    int L = std::max(X0, C.Left), R = std::min(X1, C.Right);
    if (L >= R) continue;
    if (!Row) Row = S->Row(Y);
    if (Rop2 == R2_COPYPEN) {
      std::fill(Row + L, Row + R, Pixel);
    } else {
      for (int x = L; x < R; ++x) Row[x] = ApplyRop2(Rop2, Row[x], Pixel);
    }
  }
}

void DcObject::FillRectPixels(RECT R, uint32_t Pixel, int Rop2) {
  if (R.Left >= R.Right || R.Top >= R.Bottom || Rop2 == R2_NOP) return;
  Surface* S = Target();
  if (!S) return;
  for (const RECT& C : ClipRects()) {
    if (C.Top >= R.Bottom) break;
    int L = std::max(R.Left, C.Left), Rt = std::min(R.Right, C.Right);
    int T = std::max(R.Top, C.Top), B = std::min(R.Bottom, C.Bottom);
    if (L >= Rt || T >= B) continue;
    // Plain fills go to pixman's fill: visual rows T..B-1 are contiguous memory rows
    // either way up.
    if (Rop2 == R2_COPYPEN &&
        pixman_fill(S->Bits(), S->Width(), 32, L, S->BottomUp() ? S->Height() - B : T, Rt - L, B - T, Pixel))
      continue;
    for (int y = T; y < B; ++y) {
      uint32_t* Row = S->Row(y);
      if (Rop2 == R2_COPYPEN) {
        std::fill(Row + L, Row + Rt, Pixel);
      } else {
        for (int x = L; x < Rt; ++x) Row[x] = ApplyRop2(Rop2, Row[x], Pixel);
      }
    }
  }
}

bool DcObject::Visible(int X, int Y) {
  const RECT& B = ClipBox();
  if (X < B.Left || X >= B.Right || Y < B.Top || Y >= B.Bottom) return false;
  for (const RECT& C : ClipRects()) {
    if (C.Top > Y) break;
    if (Y < C.Bottom && X >= C.Left && X < C.Right) return true;
  }
  return false;
}

void DcObject::PutPixel(int X, int Y, uint32_t Pixel, int Rop2) {
  if (!Visible(X, Y)) return;
  uint32_t& D = Target()->Row(Y)[X];
  D = ApplyRop2(Rop2, D, Pixel);
}

void DcObject::BlendPixel(int X, int Y, COLORREF Color, uint8_t Coverage) {
  if (Coverage == 0 || !Visible(X, Y)) return;
  uint32_t& D = Target()->Row(Y)[X];
  uint32_t P = PixelOf(Color);
  if (Coverage == 255) {
    D = P;
    return;
  }
  uint32_t Out = 0;
  for (int Shift = 0; Shift < 24; Shift += 8) {
    uint32_t d = (D >> Shift) & 0xFF, p = (P >> Shift) & 0xFF;
    uint32_t v = (p * Coverage + d * (255 - Coverage) + 127) / 255;
    Out |= v << Shift;
  }
  D = Out;
}

void DcObject::FillRegionPixels(const Region& R, uint32_t Pixel, int Rop2) {
  for (const RECT& Rc : R.Rects()) FillRectPixels(Rc, Pixel, Rop2);
}

// ---------------------------------------------------------------------------------------
// Screen and factories

void SetScreenSurfaceProvider(ScreenSurfaceProvider Provider) { Screen().Provider = std::move(Provider); }

Surface* ScreenSurface() {
  auto& S = Screen();
  if (S.Provider) {
    if (Surface* P = S.Provider()) return P;
  }
  if (!S.Default) S.Default = std::make_unique<Surface>(1024, 768, false);
  return S.Default.get();
}

HDC CreateDcOnSurface(Surface* Target, POINT DeviceOrigin, std::optional<Region> BaseClip) {
  auto Dc = std::make_shared<DcObject>(OBJ_DC, Target, DeviceOrigin, std::move(BaseClip));
  return RegisterAs<DcObject, HDC>(std::move(Dc));
}

HDC CreateScreenDc() {
  auto Dc = std::make_shared<DcObject>(OBJ_DC, nullptr, POINT{0, 0}, std::nullopt);
  Dc->FScreen = true;
  return RegisterAs<DcObject, HDC>(std::move(Dc));
}

}  // namespace vantrel::win

using namespace vantrel::win;

// ---------------------------------------------------------------------------------------
// DC API

HDC CreateCompatibleDC(HDC) {
  auto Dc = std::make_shared<DcObject>(OBJ_MEMDC, nullptr, POINT{0, 0}, std::nullopt);
  return RegisterAs<DcObject, HDC>(std::move(Dc));
}

HDC CreateDCA(LPCSTR Driver, LPCSTR, LPCSTR, const void*) {
  if (!Driver || strcasecmp(Driver, "DISPLAY") != 0) return nullptr;
  return CreateScreenDc();
}

BOOL DeleteDC(HDC Dc) {
  if (!DcOf(Dc)) return FALSE;
  return UnregisterGdiObject(Dc) ? TRUE : FALSE;
}

int SaveDC(HDC Dc) {
  auto D = DcOf(Dc);
  if (!D) return 0;
  D->Saved().push_back(D->State());
  return static_cast<int>(D->Saved().size());
}

BOOL RestoreDC(HDC Dc, int SavedDc) {
  auto D = DcOf(Dc);
  if (!D) return FALSE;
  auto& Saved = D->Saved();
  int Level = SavedDc > 0 ? SavedDc : static_cast<int>(Saved.size()) + 1 + SavedDc;
  if (SavedDc == 0 || Level < 1 || Level > static_cast<int>(Saved.size())) return FALSE;
  DcState S = std::move(Saved[Level - 1]);
  Saved.resize(Level - 1);
  auto& Cur = D->State();
  SelectInto(Cur.Pen, S.Pen);
  SelectInto(Cur.Brush, S.Brush);
  SelectInto(Cur.Font, S.Font);
  SelectInto(Cur.Bitmap, S.Bitmap);
  S.Pen = Cur.Pen;
  S.Brush = Cur.Brush;
  S.Font = Cur.Font;
  S.Bitmap = Cur.Bitmap;
  Cur = std::move(S);
  D->InvalidateClip();
  return TRUE;
}

int GetDeviceCaps(HDC Dc, int Index) {
  if (!DcOf(Dc)) return 0;
  Surface* S = ScreenSurface();
  switch (Index) {
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: case DESKTOPHORZRES: return S->Width();
    case VERTRES: case DESKTOPVERTRES: return S->Height();
    case HORZSIZE: return S->Width() * 254 / 960;
    case VERTSIZE: return S->Height() * 254 / 960;
    case LOGPIXELSX: case LOGPIXELSY: return 96;
    case NUMCOLORS: return -1;
    case SIZEPALETTE: return 0;
    case COLORRES: return 24;
    case RASTERCAPS: return RC_BITBLT | RC_DI_BITMAP | RC_STRETCHBLT | RC_STRETCHDIB;
    default: return 0;
  }
}

HGDIOBJ SelectObject(HDC Dc, HGDIOBJ Obj) {
  auto D = DcOf(Dc);
  auto O = FindGdiObject(Obj);
  if (!D || !O) return nullptr;
  auto& S = D->State();
  switch (O->Kind()) {
    case OBJ_PEN:
    case OBJ_EXTPEN: {
      HGDIOBJ Old = S.Pen ? S.Pen->Handle() : nullptr;
      SelectInto(S.Pen, std::static_pointer_cast<PenObject>(O));
      return Old;
    }
    case OBJ_BRUSH: {
      HGDIOBJ Old = S.Brush ? S.Brush->Handle() : nullptr;
      SelectInto(S.Brush, std::static_pointer_cast<BrushObject>(O));
      return Old;
    }
    case OBJ_FONT: {
      HGDIOBJ Old = S.Font ? S.Font->Handle() : nullptr;
      SelectInto(S.Font, O);
      return Old;
    }
    case OBJ_BITMAP: {
      if (!D->Memory()) return nullptr;
      auto B = std::static_pointer_cast<BitmapObject>(O);
      if (B == S.Bitmap) return B->Handle();
      // A bitmap can be selected into one DC at a time (the stock bitmap into any).
      if (B->Selections() > 0 && !B->Stock()) return nullptr;
      HGDIOBJ Old = S.Bitmap ? S.Bitmap->Handle() : nullptr;
      SelectInto(S.Bitmap, B);
      D->InvalidateClip();
      return Old;
    }
    case OBJ_REGION: {
      int R = ExtSelectClipRgn(Dc, static_cast<HRGN>(Obj), RGN_COPY);
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(R == ERROR ? -1 : R));
    }
    default:
      return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC Dc, UINT Type) {
  auto D = DcOf(Dc);
  if (!D) return nullptr;
  auto& S = D->State();
  switch (Type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return S.Pen ? S.Pen->Handle() : nullptr;
    case OBJ_BRUSH: return S.Brush ? S.Brush->Handle() : nullptr;
    case OBJ_FONT: return S.Font ? S.Font->Handle() : nullptr;
    case OBJ_BITMAP: return S.Bitmap ? S.Bitmap->Handle() : nullptr;
    default: return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ Obj) {
  auto O = FindGdiObject(Obj);
  if (!O) return FALSE;
  switch (O->Kind()) {
    case OBJ_DC:
    case OBJ_MEMDC:
    case OBJ_ICON_KIND:
      return FALSE;  // DeleteDC and DestroyIcon end these
    default:
      break;
  }
  if (O->Stock()) return TRUE;  // stock objects stay
  switch (O->Kind()) {
    case OBJ_REGION:
      if (O->Owned()) return FALSE;
      break;
    case OBJ_BITMAP:
      if (O->Selections() > 0) return FALSE;
      break;
    default:
      break;
  }
  return UnregisterGdiObject(Obj) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ Obj) {
  auto O = FindGdiObject(Obj);
  if (!O || O->Kind() == OBJ_ICON_KIND) return 0;
  return O->Kind();
}

int GetObject(HGDIOBJ Obj, int Size, LPVOID Out) {
  auto O = FindGdiObject(Obj);
  if (!O || Size < 0) return 0;
  return O->GetObjectData(Out ? Size : 0, Out);
}

BOOL GdiFlush() { return TRUE; }

// ---------------------------------------------------------------------------------------
// Coordinates

namespace {

BOOL SetOrg(HDC Dc, POINT DcState::*Field, int X, int Y, LPPOINT Old, bool Relative) {
  auto D = DcOf(Dc);
  if (!D) return FALSE;
  POINT& P = D->State().*Field;
  if (Old) *Old = P;
  P = Relative ? POINT{P.X + X, P.Y + Y} : POINT{X, Y};
  return TRUE;
}

BOOL GetOrg(HDC Dc, POINT DcState::*Field, LPPOINT Out) {
  auto D = DcOf(Dc);
  if (!D || !Out) return FALSE;
  *Out = D->State().*Field;
  return TRUE;
}

// Device offset of logical coordinates: device = logical + Shift.
POINT Shift(const DcState& S) {
  return {S.ViewportOrg.X - S.WindowOrg.X, S.ViewportOrg.Y - S.WindowOrg.Y};
}

}  // namespace

BOOL SetWindowOrgEx(HDC Dc, int X, int Y, LPPOINT Old) { return SetOrg(Dc, &DcState::WindowOrg, X, Y, Old, false); }
BOOL GetWindowOrgEx(HDC Dc, LPPOINT Out) { return GetOrg(Dc, &DcState::WindowOrg, Out); }
BOOL OffsetWindowOrgEx(HDC Dc, int DX, int DY, LPPOINT Old) {
  return SetOrg(Dc, &DcState::WindowOrg, DX, DY, Old, true);
}
BOOL SetViewportOrgEx(HDC Dc, int X, int Y, LPPOINT Old) {
  return SetOrg(Dc, &DcState::ViewportOrg, X, Y, Old, false);
}
BOOL GetViewportOrgEx(HDC Dc, LPPOINT Out) { return GetOrg(Dc, &DcState::ViewportOrg, Out); }
BOOL OffsetViewportOrgEx(HDC Dc, int DX, int DY, LPPOINT Old) {
  return SetOrg(Dc, &DcState::ViewportOrg, DX, DY, Old, true);
}
BOOL SetBrushOrgEx(HDC Dc, int X, int Y, LPPOINT Old) { return SetOrg(Dc, &DcState::BrushOrg, X, Y, Old, false); }
BOOL GetBrushOrgEx(HDC Dc, LPPOINT Out) { return GetOrg(Dc, &DcState::BrushOrg, Out); }

BOOL LPtoDP(HDC Dc, LPPOINT Points, int Count) {
  auto D = DcOf(Dc);
  if (!D || (!Points && Count > 0)) return FALSE;
  POINT S = Shift(D->State());
  for (int i = 0; i < Count; ++i) Points[i] = {Points[i].X + S.X, Points[i].Y + S.Y};
  return TRUE;
}

BOOL DPtoLP(HDC Dc, LPPOINT Points, int Count) {
  auto D = DcOf(Dc);
  if (!D || (!Points && Count > 0)) return FALSE;
  POINT S = Shift(D->State());
  for (int i = 0; i < Count; ++i) Points[i] = {Points[i].X - S.X, Points[i].Y - S.Y};
  return TRUE;
}

int SetMapMode(HDC Dc, int Mode) { return DcOf(Dc) && Mode == MM_TEXT ? MM_TEXT : 0; }
int GetMapMode(HDC Dc) { return DcOf(Dc) ? MM_TEXT : 0; }

// ---------------------------------------------------------------------------------------
// Clipping

namespace {

// The whole device in device coordinates, what an absent clip stands for.
Region WholeDevice(DcObject& D) {
  Surface* S = D.Target();
  if (!S) return Region(RECT{-0x4000000, -0x4000000, 0x4000000, 0x4000000});
  RECT R = SurfaceBounds(S);
  POINT O = D.DeviceOrigin();
  return Region(RECT{R.Left - O.X, R.Top - O.Y, R.Right - O.X, R.Bottom - O.Y});
}

int ClipComplexity(DcObject& D) {
  const auto& Rs = D.ClipRects();
  return Rs.empty() ? NULLREGION : Rs.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT LogicalToDeviceRect(const DcState& S, int L, int T, int R, int B) {
  POINT Sh = Shift(S);
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  return {L + Sh.X, T + Sh.Y, R + Sh.X, B + Sh.Y};
}

}  // namespace

int IntersectClipRect(HDC Dc, int Left, int Top, int Right, int Bottom) {
  auto D = DcOf(Dc);
  if (!D) return ERROR;
  auto& S = D->State();
  RECT R = LogicalToDeviceRect(S, Left, Top, Right, Bottom);
  if (!S.Clip) S.Clip = WholeDevice(*D);
  S.Clip->IntersectRect(R);
  D->InvalidateClip();
  return ClipComplexity(*D);
}

int ExcludeClipRect(HDC Dc, int Left, int Top, int Right, int Bottom) {
  auto D = DcOf(Dc);
  if (!D) return ERROR;
  auto& S = D->State();
  RECT R = LogicalToDeviceRect(S, Left, Top, Right, Bottom);
  if (!S.Clip) S.Clip = WholeDevice(*D);
  S.Clip->SubtractRect(R);
  D->InvalidateClip();
  return ClipComplexity(*D);
}

int ExtSelectClipRgn(HDC Dc, HRGN Rgn, int Mode) {
  auto D = DcOf(Dc);
  if (!D) return ERROR;
  auto& S = D->State();
  auto R = RegionOf(Rgn);
  if (!R) {
    if (Rgn || Mode != RGN_COPY) return ERROR;
    S.Clip.reset();
  } else {
    Region Cur = S.Clip ? *S.Clip : WholeDevice(*D);
    switch (Mode) {
      case RGN_COPY: Cur = R->FRegion; break;
      case RGN_AND: Cur.Intersect(R->FRegion); break;
      case RGN_OR: Cur.Union(R->FRegion); break;
      case RGN_XOR: Cur.Xor(R->FRegion); break;
      case RGN_DIFF: Cur.Subtract(R->FRegion); break;
      default: return ERROR;
    }
    S.Clip = std::move(Cur);
  }
  D->InvalidateClip();
  return ClipComplexity(*D);
}

int SelectClipRgn(HDC Dc, HRGN Rgn) { return ExtSelectClipRgn(Dc, Rgn, RGN_COPY); }

int OffsetClipRgn(HDC Dc, int DX, int DY) {
  auto D = DcOf(Dc);
  if (!D) return ERROR;
  auto& S = D->State();
  if (S.Clip) S.Clip->Translate(DX, DY);
  D->InvalidateClip();
  return ClipComplexity(*D);
}

int GetClipBox(HDC Dc, LPRECT Out) {
  auto D = DcOf(Dc);
  if (!D || !Out) return ERROR;
  RECT B = D->ClipBox();
  if (B.Right <= B.Left || B.Bottom <= B.Top) {
    *Out = RECT{};
    return NULLREGION;
  }
  POINT O = D->LogicalToSurfaceOffset();
  *Out = {B.Left - O.X, B.Top - O.Y, B.Right - O.X, B.Bottom - O.Y};
  return ClipComplexity(*D);
}

int GetClipRgn(HDC Dc, HRGN Out) {
  auto D = DcOf(Dc);
  auto R = RegionOf(Out);
  if (!D || !R) return -1;
  if (!D->State().Clip) return 0;
  R->FRegion = *D->State().Clip;
  return 1;
}

BOOL PtVisible(HDC Dc, int X, int Y) {
  auto D = DcOf(Dc);
  if (!D) return FALSE;
  POINT P = D->ToSurface(POINT{X, Y});
  return D->Visible(P.X, P.Y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC Dc, const RECT* R) {
  auto D = DcOf(Dc);
  if (!D || !R) return FALSE;
  RECT S = D->ToSurface(*R);
  for (const RECT& C : D->ClipRects())
    if (std::max(S.Left, C.Left) < std::min(S.Right, C.Right) && std::max(S.Top, C.Top) < std::min(S.Bottom, C.Bottom))
      return TRUE;
  return FALSE;
}

// ---------------------------------------------------------------------------------------
// State

namespace {

template <class T, class V>
V Swap(HDC Dc, T DcState::*Field, V Value, V Fail) {
  auto D = DcOf(Dc);
  if (!D) return Fail;
  V Old = static_cast<V>(D->State().*Field);
  D->State().*Field = static_cast<T>(Value);
  return Old;
}

template <class T, class V>
V Read(HDC Dc, T DcState::*Field, V Fail) {
  auto D = DcOf(Dc);
  return D ? static_cast<V>(D->State().*Field) : Fail;
}

}  // namespace

COLORREF SetTextColor(HDC Dc, COLORREF C) { return Swap(Dc, &DcState::TextColor, C & 0xFFFFFF, CLR_INVALID); }
COLORREF GetTextColor(HDC Dc) { return Read(Dc, &DcState::TextColor, CLR_INVALID); }
COLORREF SetBkColor(HDC Dc, COLORREF C) { return Swap(Dc, &DcState::BkColor, C & 0xFFFFFF, CLR_INVALID); }
COLORREF GetBkColor(HDC Dc) { return Read(Dc, &DcState::BkColor, CLR_INVALID); }
int SetBkMode(HDC Dc, int Mode) {
  if (Mode != TRANSPARENT && Mode != OPAQUE) return 0;
  return Swap(Dc, &DcState::BkMode, Mode, 0);
}
int GetBkMode(HDC Dc) { return Read(Dc, &DcState::BkMode, 0); }
UINT SetTextAlign(HDC Dc, UINT Align) { return Swap(Dc, &DcState::TextAlign, Align, static_cast<UINT>(-1)); }
UINT GetTextAlign(HDC Dc) { return Read(Dc, &DcState::TextAlign, static_cast<UINT>(-1)); }
constexpr int kBadExtra = static_cast<int>(0x80000000);
int SetTextCharacterExtra(HDC Dc, int Extra) { return Swap(Dc, &DcState::CharExtra, Extra, kBadExtra); }
int GetTextCharacterExtra(HDC Dc) { return Read(Dc, &DcState::CharExtra, kBadExtra); }
int SetROP2(HDC Dc, int Mode) {
  if (Mode < R2_BLACK || Mode > R2_WHITE) return 0;
  return Swap(Dc, &DcState::Rop2, Mode, 0);
}
int GetROP2(HDC Dc) { return Read(Dc, &DcState::Rop2, 0); }
int SetStretchBltMode(HDC Dc, int Mode) {
  if (Mode < BLACKONWHITE || Mode > HALFTONE) return 0;
  return Swap(Dc, &DcState::StretchMode, Mode, 0);
}
int GetStretchBltMode(HDC Dc) { return Read(Dc, &DcState::StretchMode, 0); }
int SetPolyFillMode(HDC Dc, int Mode) {
  if (Mode != ALTERNATE && Mode != WINDING) return 0;
  return Swap(Dc, &DcState::PolyFillMode, Mode, 0);
}
int GetPolyFillMode(HDC Dc) { return Read(Dc, &DcState::PolyFillMode, 0); }
COLORREF SetDCBrushColor(HDC Dc, COLORREF C) { return Swap(Dc, &DcState::DcBrushColor, C & 0xFFFFFF, CLR_INVALID); }
COLORREF SetDCPenColor(HDC Dc, COLORREF C) { return Swap(Dc, &DcState::DcPenColor, C & 0xFFFFFF, CLR_INVALID); }
COLORREF GetDCBrushColor(HDC Dc) { return Read(Dc, &DcState::DcBrushColor, CLR_INVALID); }
COLORREF GetDCPenColor(HDC Dc) { return Read(Dc, &DcState::DcPenColor, CLR_INVALID); }
