// Pens and brushes, their GetObject records, and the stock objects.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <mutex>

#include "platform/win/GdiInternal.h"

namespace vantrel::win {

int PenObject::GetObjectData(int Size, void* Out) const {
  if (Kind() == OBJ_EXTPEN) {
    int Need = static_cast<int>(offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD) * std::max<size_t>(1, FUserStyle.size()));
    if (!Out) return Need;
    if (Size < static_cast<int>(offsetof(EXTLOGPEN, elpStyleEntry))) return 0;
    EXTLOGPEN P{};
    P.elpPenStyle = FStyle;
    P.elpWidth = static_cast<DWORD>(FWidth);
    P.elpBrushStyle = FBrushStyle;
    P.elpColor = FColor;
    P.elpNumEntries = static_cast<DWORD>(FUserStyle.size());
    int N = std::min(Size, static_cast<int>(sizeof P));
    std::memcpy(Out, &P, static_cast<size_t>(N));
    auto* Entries = reinterpret_cast<uint8_t*>(Out) + offsetof(EXTLOGPEN, elpStyleEntry);
    for (size_t i = 0; i < FUserStyle.size(); ++i) {
      size_t Off = offsetof(EXTLOGPEN, elpStyleEntry) + i * sizeof(DWORD);
      if (Off + sizeof(DWORD) > static_cast<size_t>(Size)) break;
      std::memcpy(Entries + i * sizeof(DWORD), &FUserStyle[i], sizeof(DWORD));
      N = static_cast<int>(Off + sizeof(DWORD));
    }
    return N;
  }
  if (!Out) return sizeof(LOGPEN);
  if (Size < static_cast<int>(sizeof(LOGPEN))) return 0;
  LOGPEN P{FStyle, POINT{FWidth, 0}, FColor};
  std::memcpy(Out, &P, sizeof P);
  return sizeof(LOGPEN);
}

int BrushObject::GetObjectData(int Size, void* Out) const {
  if (!Out) return sizeof(LOGBRUSH);
  if (Size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
  LOGBRUSH B{FStyle, FColor, FHatch};
  std::memcpy(Out, &B, sizeof B);
  return sizeof(LOGBRUSH);
}

int RegionObject::GetObjectData(int, void*) const { return 0; }

namespace {

struct StockTable {
  std::once_flag Once;
  std::shared_ptr<GdiObject> Objects[DEFAULT_BITMAP_INDEX + 1];
};

StockTable& StockObjectTable() {
  static StockTable* T = new StockTable;  // lives to exit, as the handle table does
  std::call_once(T->Once, [] {
    auto Brush = [](UINT Style, COLORREF C) {
      auto B = std::make_shared<BrushObject>(Style, C, 0);
      RegisterGdiObject(B, true);
      return B;
    };
    auto Pen = [](UINT Style, COLORREF C) {
      auto P = std::make_shared<PenObject>(OBJ_PEN, Style, 1, C);
      RegisterGdiObject(P, true);
      return P;
    };
    T->Objects[WHITE_BRUSH] = Brush(BS_SOLID, RGB(255, 255, 255));
    T->Objects[LTGRAY_BRUSH] = Brush(BS_SOLID, RGB(192, 192, 192));
    T->Objects[GRAY_BRUSH] = Brush(BS_SOLID, RGB(128, 128, 128));
    T->Objects[DKGRAY_BRUSH] = Brush(BS_SOLID, RGB(64, 64, 64));
    T->Objects[BLACK_BRUSH] = Brush(BS_SOLID, RGB(0, 0, 0));
    T->Objects[NULL_BRUSH] = Brush(BS_NULL, 0);
    T->Objects[WHITE_PEN] = Pen(PS_SOLID, RGB(255, 255, 255));
    T->Objects[BLACK_PEN] = Pen(PS_SOLID, RGB(0, 0, 0));
    T->Objects[NULL_PEN] = Pen(PS_NULL, 0);
    T->Objects[DC_BRUSH] = Brush(BS_SOLID, RGB(255, 255, 255));
    T->Objects[DC_PEN] = Pen(PS_SOLID, RGB(0, 0, 0));
    auto Bm = BitmapObject::CreateDdb(1, 1, 1);
    RegisterGdiObject(Bm, true);
    T->Objects[DEFAULT_BITMAP_INDEX] = Bm;
  });
  return *T;
}

}  // namespace

std::shared_ptr<GdiObject> StockObjectPtr(int Index) {
  if (Index < 0 || Index > DEFAULT_BITMAP_INDEX) return nullptr;
  return StockObjectTable().Objects[Index];
}

}  // namespace vantrel::win

using namespace vantrel::win;

HGDIOBJ GetStockObject(int Index) {
  switch (Index) {
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
      return GetStockFont(Index);
    default:
      break;
  }
  if (Index == DEFAULT_BITMAP_INDEX) return nullptr;  // not a public stock object
  auto O = StockObjectPtr(Index);
  return O ? O->Handle() : nullptr;
}

HPEN CreatePen(int Style, int Width, COLORREF Color) {
  UINT S = static_cast<UINT>(Style) & PS_STYLE_MASK;
  if (S > PS_INSIDEFRAME) return nullptr;
  // A styled pen wider than one pixel draws solid.
  if (Width > 1 && S >= PS_DASH && S <= PS_DASHDOTDOT) S = PS_SOLID;
  if (Width > 1) S |= PS_GEOMETRIC | PS_ENDCAP_ROUND | PS_JOIN_ROUND;
  auto P = std::make_shared<PenObject>(OBJ_PEN, S, Width < 0 ? 0 : Width, Color & 0xFFFFFF);
  return RegisterAs<PenObject, HPEN>(std::move(P));
}

HPEN CreatePenIndirect(const LOGPEN* Pen) {
  if (!Pen) return nullptr;
  return CreatePen(static_cast<int>(Pen->lopnStyle), Pen->lopnWidth.X, Pen->lopnColor);
}

HPEN ExtCreatePen(DWORD Style, DWORD Width, const LOGBRUSH* Brush, DWORD StyleCount, const DWORD* StyleEntries) {
  if (!Brush) return nullptr;
  UINT LineStyle = Style & PS_STYLE_MASK;
  bool Geometric = (Style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (LineStyle > PS_ALTERNATE || (!Geometric && Width != 1)) return nullptr;
  if (LineStyle == PS_USERSTYLE && (StyleCount == 0 || StyleCount > 16 || !StyleEntries)) return nullptr;
  if (Brush->lbStyle != BS_SOLID && Brush->lbStyle != BS_NULL && Brush->lbStyle != BS_HATCHED) return nullptr;
  auto P = std::make_shared<PenObject>(OBJ_EXTPEN, Style, static_cast<int>(Width), Brush->lbColor & 0xFFFFFF);
  P->FBrushStyle = Brush->lbStyle;
  if (LineStyle == PS_USERSTYLE) P->FUserStyle.assign(StyleEntries, StyleEntries + StyleCount);
  return RegisterAs<PenObject, HPEN>(std::move(P));
}

HBRUSH CreateSolidBrush(COLORREF Color) {
  return RegisterAs<BrushObject, HBRUSH>(std::make_shared<BrushObject>(BS_SOLID, Color & 0xFFFFFF, 0));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* Brush) {
  if (!Brush) return nullptr;
  if (Brush->lbStyle != BS_SOLID && Brush->lbStyle != BS_NULL && Brush->lbStyle != BS_HATCHED) return nullptr;
  return RegisterAs<BrushObject, HBRUSH>(
      std::make_shared<BrushObject>(Brush->lbStyle, Brush->lbColor & 0xFFFFFF, Brush->lbHatch));
}

HBRUSH CreateHatchBrush(int Style, COLORREF Color) {
  if (Style < HS_HORIZONTAL || Style > HS_DIAGCROSS) return nullptr;
  return RegisterAs<BrushObject, HBRUSH>(
      std::make_shared<BrushObject>(BS_HATCHED, Color & 0xFFFFFF, static_cast<ULONG_PTR>(Style)));
}
