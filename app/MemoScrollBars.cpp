#include "app/MemoScrollBars.h"

#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"

namespace vantrel::app {

namespace {

// The bars' thickness until a skin gives its own.
constexpr Integer MemoBarSize = 19;

}  // namespace

void TMemoScrollBars::SetSkinData(TspSkinData* Data) {
  Vertical->SetSkinData(Data);
  Horizontal->SetSkinData(Data);
  Place();
}

void TMemoScrollBars::Place() {
  const Integer VW = Vertical->Width(), HH = Horizontal->Height();
  Vertical->SetBounds(Area.Right - VW, Area.Top, VW, Area.Bottom - Area.Top - HH);
  Horizontal->SetBounds(Area.Left, Area.Bottom - HH, Area.Right - Area.Left, HH);
  Horizontal->SetBothMarkerWidth(VW);
  Memo->SetBounds(Area.Left, Area.Top, Area.Right - Area.Left - VW, Area.Bottom - Area.Top - HH);
}

TMemoScrollBars AttachMemoScrollBars(TspSkinMemo* Memo) {
  const TAnchors A = Memo->Anchors();
  TMemoScrollBars Bars;
  Bars.Memo = Memo;
  Bars.Area = Memo->BoundsRect();
  Bars.Vertical = ::Create<TspSkinScrollBar>(Memo->Owner());
  Bars.Vertical->SetName(Memo->Name() + "VScrollBar");
  Bars.Vertical->SetKind(sbVertical);
  Bars.Vertical->SetSkinDataName("vscrollbar");
  Bars.Vertical->SetDefaultHeight(0);
  Bars.Vertical->SetDefaultWidth(MemoBarSize);
  Bars.Vertical->SetParent(Memo->Parent());
  Bars.Vertical->SetBounds(0, 0, MemoBarSize, MemoBarSize * 2);
  // The horizontal bar runs under both and fills the corner with its marker.
  Bars.Horizontal = ::Create<TspSkinScrollBar>(Memo->Owner());
  Bars.Horizontal->SetName(Memo->Name() + "HScrollBar");
  Bars.Horizontal->SetDefaultHeight(MemoBarSize);
  Bars.Horizontal->SetBoth(true);
  Bars.Horizontal->SetParent(Memo->Parent());
  Bars.Horizontal->SetBounds(0, 0, MemoBarSize * 2, MemoBarSize);
  Bars.Place();
  TAnchors VA = A, HA = A;
  if (A.Contains(akRight)) VA.Exclude(akLeft);
  if (A.Contains(akBottom)) HA.Exclude(akTop);
  Bars.Vertical->SetAnchors(VA);
  Bars.Horizontal->SetAnchors(HA);
  Memo->SetVScrollBar(Bars.Vertical);
  Memo->SetHScrollBar(Bars.Horizontal);
  return Bars;
}

}  // namespace vantrel::app
