// The tree and list view wrappers: the skin's font and colours, a borderless view whose
// native scroll state drives two outside skinned bars (and is driven by them), and the
// list view's column header subclassed and painted as a row of skinned buttons.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/win/Header.h"
#include "platform/win/ListView.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/TreeView.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WndProc.h"
#include "skin/controls/SkinCtrls.h"

namespace {

// The header window is given this much more width than the view proposes, so its last
// section never shows the native edge.
constexpr Integer ViewHeaderExtraWidth = 25;
// A view this narrow or low shows no bars.
constexpr Integer ViewMinBarsSize = 5;
constexpr Integer ViewHeaderTextMargin = 5;
constexpr Integer ViewHeaderImageGap = 10;
constexpr TColor ViewHeaderDownFill = 0xB59385;
constexpr Integer ViewClassNameBuffer = 80;

// Both bars' common set-up when a view takes them.
void ViewTakeBar(TspSkinScrollBar* Bar, TNotifyEvent OnChange) {
  if (!Bar) return;
  Bar->SetEnabled(true);
  Bar->SetVisible(false);
  Bar->OnChange = std::move(OnChange);
}

void ViewApplyFont(TFont* Font, TFont* DefaultFont, Boolean UseSkinFont, const String& Name,
                   TFontStyles Style, Integer Height, TColor Color) {
  if (UseSkinFont) {
    Font->SetName(Name);
    Font->SetStyle(Style);
    Font->SetHeight(Height);
  } else {
    Font->Assign(DefaultFont);
  }
  Font->SetColor(Color);
}

void ViewSetCharset(TFont* Font, TFont* DefaultFont, TspSkinData* SD) {
  if (SD && !SD->Empty && SD->ResourceStrData())
    Font->SetCharset(SD->ResourceStrData()->CharSet());
  else
    Font->SetCharset(DefaultFont->Charset());
}

std::unique_ptr<TFont> ViewDefaultFont() {
  auto F = std::make_unique<TFont>();
  F->SetName("Arial");
  F->SetStyle({});
  F->SetHeight(14);
  return F;
}

WPARAM ViewThumbPosition(Integer Position) {
  return SB_THUMBPOSITION | (static_cast<WPARAM>(static_cast<uint16_t>(Position)) << 16);
}

}  // namespace

// --- Shared by both views ----------------------------------------------------------------

template <class TView, class TData>
TspSkinViewBase<TView, TData>::TspSkinViewBase(TComponent* AOwner, const char* ASkinDataName)
    : TView(AOwner), FSkinDataName(ASkinDataName), FDefaultFont(ViewDefaultFont()) {}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
  if (FSD && !FSD->Empty) ChangeSkinData();
}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  if (FIndex == -1) this->Font()->Assign(Value);
}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (FIndex == -1) this->SetColor(Value);
}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::SetVScrollBar(TspSkinScrollBar* Value) {
  FVScrollBar = Value;
  if (Value) Value->FreeNotification(this);
  ViewTakeBar(Value, [this](TObject* Sender) { OnVScrollBarChange(Sender); });
  UpDateScrollBars();
}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::SetHScrollBar(TspSkinScrollBar* Value) {
  FHScrollBar = Value;
  if (Value) Value->FreeNotification(this);
  ViewTakeBar(Value, [this](TObject* Sender) { OnHScrollBarChange(Sender); });
  UpDateScrollBars();
}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::Notification(TComponent* AComponent, TOperation Operation) {
  TView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::CreateParams(TCreateParams& Params) {
  TView::CreateParams(Params);
  Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::ApplySkinLook() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) {
    this->SetColor(FDefaultColor);
    this->Font()->Assign(FDefaultFont.get());
  } else if (auto* D = dynamic_cast<TData*>(FSD->CtrlList.Items(FIndex))) {
    ViewApplyFont(this->Font(), FDefaultFont.get(), FUseSkinFont, D->FontName, D->FontStyle, D->FontHeight,
                  D->FontColor);
    this->SetColor(D->BGColor);
  }
  ViewSetCharset(this->Font(), FDefaultFont.get(), FSD);
}

template <class TView, class TData>
void TspSkinViewBase<TView, TData>::RefreshBars() {
  UpDateScrollBars();
  if (FVScrollBar) FVScrollBar->SetAlign(FVScrollBar->Align());
  if (FHScrollBar) FHScrollBar->SetAlign(FHScrollBar->Align());
}

template class TspSkinViewBase<TCustomTreeView, TspDataSkinTreeView>;
template class TspSkinViewBase<TCustomListView, TspDataSkinListView>;

// --- Tree view ---------------------------------------------------------------------------

TspSkinCustomTreeView::TspSkinCustomTreeView(TComponent* AOwner) : TspSkinViewBase(AOwner, "treeview") {}

void TspSkinCustomTreeView::ChangeSkinData() {
  if (ComponentState().Contains(csLoading)) return;
  ApplySkinLook();
  if (Images()) Images()->SetBkColor(Color());
  if (StateImages()) StateImages()->SetBkColor(Color());
  RefreshBars();
}

void TspSkinCustomTreeView::UpDateScrollBars() {
  if (ComponentState().Contains(csLoading) || FInCheckScrollBars || !HandleAllocated()) return;
  const HWND Wnd = Handle();
  const bool OldV = FVScrollBar && FVScrollBar->Visible();
  const bool OldH = FHScrollBar && FHScrollBar->Visible();
  if (FVScrollBar) {
    int Min = 0, Max = 0;
    GetScrollRange(Wnd, SB_VERT, &Min, &Max);
    const Integer Pos = GetScrollPos(Wnd, SB_VERT);
    const Integer Page = static_cast<Integer>(SendMessage(Wnd, TVM_GETVISIBLECOUNT, 0, 0));
    const Integer Count = static_cast<Integer>(SendMessage(Wnd, TVM_GETCOUNT, 0, 0));
    const bool Show = Visible() && Max > 0 && Page <= Max && Count > Max;
    FInCheckScrollBars = true;
    FVScrollBar->SetVisible(Show);
    FInCheckScrollBars = false;
    if (Show) FVScrollBar->SetRange(Min, Max, Pos, Page);
  }
  if (FHScrollBar) {
    int Min = 0, Max = 0;
    GetScrollRange(Wnd, SB_HORZ, &Min, &Max);
    const Integer Pos = GetScrollPos(Wnd, SB_HORZ);
    const bool Show = Visible() && Max > Width();
    FInCheckScrollBars = true;
    FHScrollBar->SetVisible(Show);
    FInCheckScrollBars = false;
    if (Show) FHScrollBar->SetRange(Min, Max, Pos, Width());
  }
  if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
  const bool Changed = (FVScrollBar && FVScrollBar->Visible() != OldV) || (FHScrollBar && FHScrollBar->Visible() != OldH);
  if (Align() != alNone && Changed && Parent()) {
    FInCheckScrollBars = true;
    Parent()->Realign();
    FInCheckScrollBars = false;
  }
}

void TspSkinCustomTreeView::OnVScrollBarChange(TObject*) {
  Integer Major = 0, Minor = 0;
  ReadWindowsVersion(Major, Minor);
  if (Major > 5) {
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_POS;
    Info.nPos = FVScrollBar->Position();
    SetScrollInfo(Handle(), SB_VERT, &Info, TRUE);
  }
  SendMessage(Handle(), WM_VSCROLL, ViewThumbPosition(FVScrollBar->Position()), 0);
}

void TspSkinCustomTreeView::OnHScrollBarChange(TObject*) {
  SendMessage(Handle(), WM_HSCROLL, ViewThumbPosition(FHScrollBar->Position()), 0);
}

void TspSkinCustomTreeView::Change(TTreeNode* Node) {
  TspSkinViewBase::Change(Node);
  UpDateScrollBars();
}

void TspSkinCustomTreeView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      Message.Result = 0;
      return;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      return;
    case WM_NCPAINT:
      return;
    case CM_SKIN_PAINT_FRAME:
      Message.Result = SKIN_ANSWER_FRAME_PAINTED;
      return;
    case CM_VISIBLECHANGED:
      TspSkinViewBase::WndProc(Message);
      if (FVScrollBar) FVScrollBar->SetVisible(Visible());
      if (FHScrollBar) FHScrollBar->SetVisible(Visible());
      return;
    default:
      break;
  }
  TspSkinViewBase::WndProc(Message);
  switch (Message.Msg) {
    case WM_SIZE:
      if (!FInCheckScrollBars) UpDateScrollBars();
      break;
    case WM_PAINT:
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
      UpDateScrollBars();
      break;
    default:
      break;
  }
}

// --- List view: skin and bars ------------------------------------------------------------

TspSkinCustomListView::TspSkinCustomListView(TComponent* AOwner) : TspSkinViewBase(AOwner, "listview") {
  Font()->Assign(FDefaultFont.get());
  FHeaderInstance = MakeObjectInstance([this](TMessage& Message) { HeaderWndProc(Message); });
}

TspSkinCustomListView::~TspSkinCustomListView() {
  if (FHeaderInstance) FreeObjectInstance(FHeaderInstance);
}

void TspSkinCustomListView::BeforeDestruction() {
  // The header's own procedure goes back before its window and the thunk go.
  UnsubclassHeader();
  TspSkinViewBase::BeforeDestruction();
}

void TspSkinCustomListView::ChangeSkinData() {
  ApplySkinLook();
  RefreshBars();
  if (ViewStyle() == vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, TRUE);
}

TSize TspSkinCustomListView::FirstItemSize() {
  if (Items()->Count() == 0) return TSize{0, 0};
  const TRect R = Items()->Item(0)->DisplayRect(drBounds);
  return TSize{RectWidth(R), RectHeight(R)};
}

void TspSkinCustomListView::UpDateScrollBars() {
  if (!HandleAllocated() || FromSB || Width() <= ViewMinBarsSize || Height() <= ViewMinBarsSize) return;
  if (FInCheckScrollBars) return;
  switch (ViewStyle()) {
    case vsIcon:
    case vsSmallIcon:
      UpDateIconScrollBars();
      break;
    case vsList:
      UpDateListScrollBars();
      break;
    case vsReport:
      UpDateReportScrollBars();
      break;
  }
}

void TspSkinCustomListView::ShowBars(Boolean V, Boolean H) {
  const bool OldV = FVScrollBar && FVScrollBar->Visible();
  const bool OldH = FHScrollBar && FHScrollBar->Visible();
  FInCheckScrollBars = true;
  if (FVScrollBar) FVScrollBar->SetVisible(V && Visible());
  if (FHScrollBar) FHScrollBar->SetVisible(H && Visible());
  FInCheckScrollBars = false;
  if (FVScrollBar && FHScrollBar) FHScrollBar->SetBoth(FVScrollBar->Visible());
  const bool Changed = (FVScrollBar && FVScrollBar->Visible() != OldV) || (FHScrollBar && FHScrollBar->Visible() != OldH);
  if (Align() != alNone && Changed && Parent()) {
    FInCheckScrollBars = true;
    Parent()->Realign();
    FInCheckScrollBars = false;
  }
}

void TspSkinCustomListView::UpDateIconScrollBars() {
  const HWND Wnd = Handle();
  int VMin = 0, VMax = 0, HMin = 0, HMax = 0;
  GetScrollRange(Wnd, SB_VERT, &VMin, &VMax);
  GetScrollRange(Wnd, SB_HORZ, &HMin, &HMax);
  const Integer VPos = GetScrollPos(Wnd, SB_VERT), HPos = GetScrollPos(Wnd, SB_HORZ);
  ShowBars(VMax > Height(), HMax > Width());
  const TSize S = FirstItemSize();
  if (FVScrollBar && FVScrollBar->Visible()) {
    const Integer Step = std::max(1, S.cy / 2);
    FVScrollBar->SetSmallChange(Step);
    FVScrollBar->SetLargeChange(Step);
    FVScrollBar->SetRange(VMin, VMax, VPos, Height());
    FOldVScrollBarPos = FVScrollBar->Position();
  }
  if (FHScrollBar && FHScrollBar->Visible()) {
    const Integer Step = std::max(1, S.cx / 2);
    FHScrollBar->SetSmallChange(Step);
    FHScrollBar->SetLargeChange(Step);
    FHScrollBar->SetRange(HMin, HMax, HPos, Width());
    FOldHScrollBarPos = FHScrollBar->Position();
  }
}

void TspSkinCustomListView::UpDateListScrollBars() {
  const HWND Wnd = Handle();
  int HMin = 0, HMax = 0;
  GetScrollRange(Wnd, SB_HORZ, &HMin, &HMax);
  const Integer HPos = GetScrollPos(Wnd, SB_HORZ);
  const LRESULT PerPage = SendMessage(Wnd, LVM_GETCOUNTPERPAGE, 0, 0);
  const LRESULT Count = SendMessage(Wnd, LVM_GETITEMCOUNT, 0, 0);
  ShowBars(false, PerPage < Count);
  if (FHScrollBar && FHScrollBar->Visible()) {
    const Integer W = std::max(1, FirstItemSize().cx);
    FHScrollBar->SetRange(HMin, HMax, HPos, Width() / W);
    FHScrollBar->SetSmallChange(1);
    FHScrollBar->SetLargeChange(1);
    FOldHScrollBarPos = FHScrollBar->Position();
  }
}

void TspSkinCustomListView::UpDateReportScrollBars() {
  const HWND Wnd = Handle();
  int VMin = 0, VMax = 0, HMin = 0, HMax = 0;
  GetScrollRange(Wnd, SB_VERT, &VMin, &VMax);
  GetScrollRange(Wnd, SB_HORZ, &HMin, &HMax);
  const Integer VPos = GetScrollPos(Wnd, SB_VERT), HPos = GetScrollPos(Wnd, SB_HORZ);
  const Integer PerPage = static_cast<Integer>(SendMessage(Wnd, LVM_GETCOUNTPERPAGE, 0, 0));
  ShowBars(PerPage < VMax + 1, HMax > Width());
  if (FVScrollBar && FVScrollBar->Visible()) {
    FVScrollBar->SetRange(VMin, VMax, VPos, PerPage);
    FVScrollBar->SetSmallChange(1);
    FVScrollBar->SetLargeChange(std::max(1, PerPage));
    FOldVScrollBarPos = FVScrollBar->Position();
  }
  if (FHScrollBar && FHScrollBar->Visible()) {
    FHScrollBar->SetRange(HMin, HMax, HPos, Width());
    FOldHScrollBarPos = FHScrollBar->Position();
  }
}

void TspSkinCustomListView::OnVScrollBarChange(TObject*) {
  FromSB = true;
  const Integer Diff = FVScrollBar->Position() - FOldVScrollBarPos;
  const bool Rows = ViewStyle() == vsList || ViewStyle() == vsReport;
  const Integer DY = Rows ? Diff * std::max(1, FirstItemSize().cy) : Diff;
  Scroll(0, DY);
  FromSB = false;
  FOldVScrollBarPos = FVScrollBar->Position();
}

void TspSkinCustomListView::OnHScrollBarChange(TObject*) {
  FromSB = true;
  const Integer Diff = FHScrollBar->Position() - FOldHScrollBarPos;
  if (ViewStyle() == vsList) {
    const WPARAM Code = Diff < 0 ? SB_LINELEFT : SB_LINERIGHT;
    for (Integer I = 0; I < std::abs(Diff); ++I) SendMessage(Handle(), WM_HSCROLL, Code, 0);
  } else {
    Scroll(Diff, 0);
  }
  FromSB = false;
  FOldHScrollBarPos = FHScrollBar->Position();
}

void TspSkinCustomListView::Change(TListItem* Item, Integer AChange) {
  TspSkinViewBase::Change(Item, AChange);
  if (!FInCheckScrollBars) UpDateScrollBars();
}

void TspSkinCustomListView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      Message.Result = 0;
      return;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      return;
    case WM_NCPAINT:
      return;
    case CM_SKIN_PAINT_FRAME:
      Message.Result = SKIN_ANSWER_FRAME_PAINTED;
      return;
    case CM_SKIN_PAINT_HEADER:
      if (FHeaderHandle) PaintHeader(reinterpret_cast<HDC>(Message.WParam));
      return;
    case CM_VISIBLECHANGED:
      TspSkinViewBase::WndProc(Message);
      if (FVScrollBar) FVScrollBar->SetVisible(Visible());
      if (FHScrollBar) FHScrollBar->SetVisible(Visible());
      return;
    case WM_PARENTNOTIFY:
      if (LOWORD(Message.WParam) == WM_CREATE && ShowColumnHeaders()) {
        const HWND Child = reinterpret_cast<HWND>(Message.LParam);
        char Name[ViewClassNameBuffer] = {};
        GetClassName(Child, Name, ViewClassNameBuffer);
        if (String(Name) == "SysHeader32") {
          UnsubclassHeader();
          SubclassHeader(Child);
        }
      }
      break;
    default:
      break;
  }
  TspSkinViewBase::WndProc(Message);
  switch (Message.Msg) {
    case WM_SIZE:
      if (!FInCheckScrollBars && Items()->Count() > 0) UpDateScrollBars();
      if (ViewStyle() == vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, FALSE);
      break;
    case WM_PAINT:
      if (!FInCheckScrollBars) UpDateScrollBars();
      break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
      UpDateScrollBars();
      break;
    default:
      break;
  }
}

// --- List view: the column header ----------------------------------------------------------

void TspSkinCustomListView::SubclassHeader(HWND Header) {
  FHeaderHandle = Header;
  FDefHeaderProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Header, GWL_WNDPROC));
  SetWindowLongPtr(Header, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FHeaderInstance));
}

void TspSkinCustomListView::UnsubclassHeader() {
  if (!FHeaderHandle) return;
  if (IsWindow(FHeaderHandle)) SetWindowLongPtr(FHeaderHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FDefHeaderProc));
  FHeaderHandle = nullptr;
  FDefHeaderProc = nullptr;
}

TRect TspSkinCustomListView::GetHeaderSectionRect(Integer Index) {
  Integer Item = Index;
  if (FullDrag()) {
    const Integer N = Columns()->Count();
    std::vector<INT> Order(static_cast<size_t>(std::max(N, 1)));
    SendMessage(FHeaderHandle, HDM_GETORDERARRAY, static_cast<WPARAM>(N), reinterpret_cast<LPARAM>(Order.data()));
    if (Index < N) Item = Order[static_cast<size_t>(Index)];
  }
  RECT R{};
  SendMessage(FHeaderHandle, HDM_GETITEMRECT, static_cast<WPARAM>(Item), reinterpret_cast<LPARAM>(&R));
  return R;
}

void TspSkinCustomListView::HeaderWndProc(TMessage& Message) {
  const HWND Header = FHeaderHandle;
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING:
      if (auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam)) Pos->cx += ViewHeaderExtraWidth;
      Message.Result = 0;
      return;
    case WM_PAINT:
      PaintHeader(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_NCDESTROY: {
      // The header goes: its own procedure back first, then its last message.
      const WNDPROC Prev = FDefHeaderProc;
      UnsubclassHeader();
      Message.Result = CallWindowProc(Prev, Header, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    default:
      Message.Result = CallWindowProc(FDefHeaderProc, Header, Message.Msg, Message.WParam, Message.LParam);
      break;
  }
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      if (FDevDown) RedrawWindow(Header, nullptr, nullptr, RDW_INVALIDATE);
      break;
    case WM_LBUTTONDOWN: {
      const TPoint P = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      FActiveSection = -1;
      for (Integer I = 0; I < Columns()->Count(); ++I) {
        const TRect R = GetHeaderSectionRect(I);
        if (PtInRect(&R, P)) {
          FActiveSection = I;
          break;
        }
      }
      HDHITTESTINFO Hit{};
      Hit.pt = P;
      SendMessage(Header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
      const bool OnDivider = (Hit.flags & HHT_ONDIVIDER) != 0;
      FHeaderDown = !OnDivider;
      FDevDown = OnDivider;
      RedrawWindow(Header, nullptr, nullptr, RDW_INVALIDATE);
      break;
    }
    case WM_LBUTTONUP:
      FHeaderDown = false;
      FActiveSection = -1;
      RedrawWindow(Header, nullptr, nullptr, RDW_INVALIDATE);
      break;
    default:
      break;
  }
}

void TspSkinCustomListView::GetHeaderSkinData() {
  FHIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FHeaderSkinDataName);
  HPicture = nullptr;
  if (FHIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinButtonControl*>(FSD->CtrlList.Items(FHIndex));
  if (!D) return;
  HLTPt = D->LTPoint;
  HRTPt = D->RTPoint;
  HLBPt = D->LBPoint;
  HRBPt = D->RBPoint;
  HSkinRect = D->SkinRect;
  HClRect = D->ClRect;
  HStretchEffect = D->StretchEffect;
  HLeftStretch = D->LeftStretch;
  HTopStretch = D->TopStretch;
  HRightStretch = D->RightStretch;
  HBottomStretch = D->BottomStretch;
  HStretchType = D->StretchType;
  HPicture = SkinActivePicture(FSD, D->PictureIndex);
  HFontColor = D->FontColor;
  HActiveFontColor = D->ActiveFontColor;
  HDownFontColor = D->DownFontColor;
  HActiveSkinRect = IsNullRect(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
  HDownSkinRect = IsNullRect(D->DownSkinRect) ? HActiveSkinRect : D->DownSkinRect;
}

void TspSkinCustomListView::PaintHeader(HDC DC) {
  if (!FHeaderHandle) return;
  PAINTSTRUCT PS{};
  const bool OwnPaint = DC == nullptr;
  if (OwnPaint) DC = BeginPaint(FHeaderHandle, &PS);
  auto C = CreateOwned<TCanvas>();
  C->SetHandle(DC);
  try {
    const Integer N = static_cast<Integer>(SendMessage(FHeaderHandle, HDM_GETITEMCOUNT, 0, 0));
    Integer Edge = 0;
    for (Integer I = 0; I < N && I < Columns()->Count(); ++I) {
      const TRect R = GetHeaderSectionRect(I);
      DrawHeaderSection(C.get(), Columns()->Items(I), R, I == FActiveSection && FHeaderDown);
      Edge = std::max(Edge, static_cast<Integer>(R.Right));
    }
    RECT HR{};
    GetClientRect(FHeaderHandle, &HR);
    const TRect Rest = Rect(Edge, 0, HR.Right + 1, HR.Bottom);
    if (RectWidth(Rest) > 0 && RectHeight(Rest) > 0) {
      GetHeaderSkinData();
      if (FHIndex == -1 || !HPicture) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(Rest);
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(Rest);
      } else {
        const Integer W = RectWidth(Rest), H = RectHeight(Rest);
        auto B = CreateControlImage(W, H);
        if (!IsNullPoint(HLBPt)) {
          const Integer DX = W - RectWidth(HSkinRect), DY = H - RectHeight(HSkinRect);
          CreateSkinImageNoRight(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, Point(HRTPt.X + DX, HRTPt.Y),
                                 Point(HLBPt.X, HLBPt.Y + DY), Point(HRBPt.X + DX, HRBPt.Y + DY),
                                 Rect(HClRect.Left, HClRect.Top, HClRect.Right + DX, HClRect.Bottom + DY), B.get(),
                                 HPicture, HSkinRect, W, H, true, HLeftStretch, HTopStretch, HRightStretch,
                                 HBottomStretch, HStretchEffect, HStretchType);
          C->Draw(Rest.Left, Rest.Top, B.get());
        } else {
          CreateHSkinImageNoRight(HLTPt.X, RectWidth(HSkinRect) - HRTPt.X, B.get(), HPicture, HSkinRect, W,
                                  RectHeight(HSkinRect), HStretchEffect);
          C->StretchDraw(Rest, B.get());
        }
      }
    }
  } catch (...) {
    C->SetHandle(nullptr);
    if (OwnPaint) EndPaint(FHeaderHandle, &PS);
    throw;
  }
  C->SetHandle(nullptr);
  if (OwnPaint) EndPaint(FHeaderHandle, &PS);
}

void TspSkinCustomListView::DrawHeaderSection(TCanvas* Cnvs, TListColumn* Column, const TRect& R, Boolean Pressed) {
  if (IsNullRect(R) || RectWidth(R) <= 0 || RectHeight(R) <= 0) return;
  const Integer W = RectWidth(R), H = RectHeight(R);
  auto B = CreateControlImage(W, H);
  TCanvas* C = B->Canvas();
  TRect R0 = Rect(0, 0, W, H);
  GetHeaderSkinData();
  if (FHIndex == -1 || !HPicture) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Pressed ? ViewHeaderDownFill : clBtnFace);
    C->FillRect(R0);
    C->Brush()->SetColor(Pressed ? clNavy : clBtnShadow);
    C->FrameRect(R0);
    C->Font()->Assign(Font());
    C->Font()->SetColor(clBtnText);
  } else {
    const TRect Src = Pressed ? HDownSkinRect : HSkinRect;
    C->Font()->Assign(Font());
    C->Font()->SetColor(Pressed ? HDownFontColor : HFontColor);
    if (!IsNullPoint(HLBPt)) {
      const Integer DX = W - RectWidth(HSkinRect), DY = H - RectHeight(HSkinRect);
      CreateSkinImage(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, Point(HRTPt.X + DX, HRTPt.Y),
                      Point(HLBPt.X, HLBPt.Y + DY), Point(HRBPt.X + DX, HRBPt.Y + DY),
                      Rect(HClRect.Left, HClRect.Top, HClRect.Right + DX, HClRect.Bottom + DY), B.get(), HPicture, Src,
                      W, H, true, HLeftStretch, HTopStretch, HRightStretch, HBottomStretch, HStretchEffect,
                      HStretchType);
    } else {
      auto S = CreateControlImage(W, RectHeight(Src));
      CreateHSkinImage(HLTPt.X, RectWidth(Src) - HRTPt.X, S.get(), HPicture, Src, W, RectHeight(Src), HStretchEffect);
      C->StretchDraw(R0, S.get());
    }
  }
  if (OnDrawHeaderSection) {
    OnDrawHeaderSection(C, Column, Pressed, R0);
  } else {
    C->Brush()->SetStyle(bsClear);
    R0 = Rect(R0.Left + ViewHeaderTextMargin, R0.Top, R0.Right - ViewHeaderTextMargin, R0.Bottom);
    String Caption = Column->Caption();
    TCustomImageList* Img = SmallImages();
    Integer X = R0.Left;
    const Integer Y = R0.Top + RectHeight(R0) / 2 - C->TextHeight(Caption) / 2;
    if (Img && Column->ImageIndex() >= 0 && Column->ImageIndex() < Img->Count()) {
      const String Full = Caption;
      FitTextToWidth(C, Caption, RectWidth(R0) - Img->Width() - ViewHeaderImageGap);
      if (Caption == Full) {
        const Integer Span = C->TextWidth(Caption) + Img->Width() + ViewHeaderImageGap;
        if (Column->Alignment() == taRightJustify)
          X = R0.Right - Span;
        else if (Column->Alignment() == taCenter)
          X = R0.Left + RectWidth(R0) / 2 - Span / 2;
      }
      Img->Draw(C, X, R0.Top + RectHeight(R0) / 2 - Img->Height() / 2, Column->ImageIndex(), true);
      C->TextRect(R0, X + Img->Width() + ViewHeaderImageGap, Y, Caption);
    } else {
      FitTextToWidth(C, Caption, RectWidth(R0));
      if (Column->Alignment() == taRightJustify)
        X = R0.Right - C->TextWidth(Caption);
      else if (Column->Alignment() == taCenter)
        X = R0.Left + RectWidth(R0) / 2 - C->TextWidth(Caption) / 2;
      C->TextRect(R0, X, Y, Caption);
    }
  }
  Cnvs->Draw(R.Left, R.Top, B.get());
}
