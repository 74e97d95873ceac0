// The grid's look from the skin: the values of the grid descriptor, what a skin change
// does to the row height, the text area of a cell, and the backdrop of a transparent grid.
#include "skin/controls/SkinGrids.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/data/SkinDescriptors.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

// The skin's picture at Index, or none when the index lies outside the picture list.
TBitmap* GridSkinPicture(TspSkinData* SD, Integer Index) {
  if (Index < 0 || Index >= SD->FActivePictures.Count()) return nullptr;
  return SD->FActivePictures.Items(Index);
}

}  // namespace

void TspSkinCustomGrid::GetSkinData() {
  Picture = nullptr;
  BGPicture = nullptr;
  FIndex = -1;
  TspSkinControl::GetSkinData();
  if (FIndex < 0) return;
  auto* D = dynamic_cast<TspDataSkinGridControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) {
    // A descriptor of another kind has no cell pictures to draw from.
    FIndex = -1;
    return;
  }
  Picture = GridSkinPicture(FSD, D->PictureIndex);
  FixedCellRect = D->FixedCellRect;
  SelectCellRect = D->SelectCellRect;
  FocusCellRect = D->FocusCellRect;
  FixedCellLeftOffset = D->FixedCellLeftOffset;
  FixedCellRightOffset = D->FixedCellRightOffset;
  FixedCellTextRect = D->FixedCellTextRect;
  CellLeftOffset = D->CellLeftOffset;
  CellRightOffset = D->CellRightOffset;
  CellTextRect = D->CellTextRect;
  LinesColor = D->LinesColor;
  BGColor = D->BGColor;
  BGPictureIndex = D->BGPictureIndex;
  BGPicture = GridSkinPicture(FSD, BGPictureIndex);
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  SelectFontColor = D->SelectFontColor;
  FocusFontColor = D->FocusFontColor;
  FixedFontName = D->FixedFontName;
  FixedFontStyle = D->FixedFontStyle;
  FixedFontHeight = D->FixedFontHeight;
  FixedFontColor = D->FixedFontColor;
  CellStretchEffect = D->CellStretchEffect;
  FixedCellStretchEffect = D->FixedCellStretchEffect;
  ShowFocus = D->ShowFocus;
  if (IsNullRect(SelectCellRect)) SelectCellRect = FocusCellRect;
  if (IsNullRect(FocusCellRect)) FocusCellRect = SelectCellRect;
  if (IsNullRect(FixedCellRect)) {
    FIndex = -1;
    Picture = nullptr;
    BGPicture = nullptr;
  }
}

void TspSkinCustomGrid::ChangeSkinData() {
  GetSkinData();
  ApplySkinCursor();
  // A skin without selected and focused pictures has no cell height to offer.
  const Integer SkinHeight = RectHeight(SelectCellRect);
  if (FIndex >= 0 && FUseSkinCellHeight && SkinHeight > 0 && FDefaultRowHeight != SkinHeight)
    SetDefaultRowHeight(SkinHeight);
  else
    Invalidate();
}

TRect TspSkinCustomGrid::GetNewTextRect(const TRect& CellR, TGridDrawState AState) const {
  if (FIndex < 0) return CellR;
  const Boolean Fixed = AState.Contains(gdFixed);
  const TRect& P = Fixed ? FixedCellRect : SelectCellRect;
  const TRect& T = Fixed ? FixedCellTextRect : CellTextRect;
  if (IsNullRect(T)) return CellR;
  const Integer DX = RectWidth(CellR) - RectWidth(P);
  const Integer DY = FUseSkinCellHeight ? 0 : RectHeight(CellR) - RectHeight(P);
  TRect R;
  R.Left = CellR.Left + T.Left;
  R.Top = CellR.Top + T.Top;
  R.Right = R.Left + RectWidth(T) + DX;
  R.Bottom = R.Top + RectHeight(T) + DY;
  return R;
}

void TspSkinCustomGrid::SetParentImage(TBitmap* ParentImage) {
  ParentImage->SetSize(Width(), Height());
  if (FWallpaper->Empty()) {
    CopyParentImage(this, ParentImage->Canvas());
    return;
  }
  if (FWallpaperStretch) {
    ParentImage->Canvas()->StretchDraw(Rect(0, 0, ParentImage->Width(), ParentImage->Height()), FWallpaper.get());
    return;
  }
  const Integer W = FWallpaper->Width();
  const Integer H = FWallpaper->Height();
  if (W <= 0 || H <= 0) return;
  for (Integer I = 0; I <= Width() / W; ++I)
    for (Integer J = 0; J <= Height() / H; ++J) ParentImage->Canvas()->Draw(I * W, J * H, FWallpaper.get());
}

void TspSkinCustomGrid::SetWallpaper(TBitmap* Value) {
  FWallpaper->Assign(Value);
  if (Value) FTransparent = true;
  Repaint();
}

void TspSkinCustomGrid::SetWallpaperStretch(Boolean Value) {
  FWallpaperStretch = Value;
  if (!FWallpaper->Empty()) Repaint();
}
