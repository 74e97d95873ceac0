// The skinned memo: descriptor copies, the text rectangle inside the painted frame, the
// external scroll bars kept in step with the native scroll state, the read-only mode, the
// hot colours and the context menu.
#include <algorithm>

#include "platform/ui/Clipbrd.h"
#include "platform/win/Edit.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"

TspSkinMemo::TspSkinMemo(TComponent* AOwner) : TMemo(AOwner) {
  SetAutoSize(false);
  Font()->SetName("Arial");
  Font()->SetHeight(14);
  Font()->SetColor(clBlack);
  FDefaultFont = std::make_unique<TFont>();
  FDefaultFont->Assign(Font());
  FDefaultFont->OnChange = [this](TObject* Sender) { DefaultFontChanged(Sender); };
  SetScrollBars(ssBoth);
}

// A remaining context menu is owned and goes with the memo's components.
TspSkinMemo::~TspSkinMemo() {
  // The bars outlive the memo: they must not call it any more.
  for (TspSkinScrollBar* Bar : {FVScrollBar, FHScrollBar})
    if (Bar) Bar->OnChange = nullptr;
  for (TComponent* C : {static_cast<TComponent*>(FSD), static_cast<TComponent*>(FVScrollBar),
                        static_cast<TComponent*>(FHScrollBar)})
    if (C) C->RemoveFreeNotification(this);
}

void TspSkinMemo::DefaultFontChanged(TObject*) {
  if (FIndex == -1) Font()->Assign(FDefaultFont.get());
}

void TspSkinMemo::SetSkinData(TspSkinData* Value) {
  if (FSD) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
  if (FSD && !FSD->Empty) ChangeSkinData();
}

void TspSkinMemo::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  if (FIndex == -1) Font()->Assign(Value);
}

void TspSkinMemo::SetBitMapBG(Boolean Value) {
  FBitMapBG = Value;
  RecreateWnd();
}

void TspSkinMemo::SetTransparent(Boolean Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  Invalidate();
}

void TspSkinMemo::SetAlphaBlendValue(Byte Value) {
  if (FAlphaBlendValue == Value) return;
  FAlphaBlendValue = Value;
  if (FAlphaBlend) Invalidate();
}

void TspSkinMemo::SetVScrollBar(TspSkinScrollBar* Value) {
  if (FVScrollBar) {
    FVScrollBar->RemoveFreeNotification(this);
    FVScrollBar->OnChange = nullptr;
  }
  FVScrollBar = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetMin(0);
  Value->SetMax(0);
  Value->SetPosition(0);
  Value->OnChange = [this](TObject* S) { BarChanged(S); };
}

void TspSkinMemo::SetHScrollBar(TspSkinScrollBar* Value) {
  if (FHScrollBar) {
    FHScrollBar->RemoveFreeNotification(this);
    FHScrollBar->OnChange = nullptr;
  }
  FHScrollBar = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetMin(0);
  Value->SetMax(0);
  Value->SetPosition(0);
  Value->OnChange = [this](TObject* S) { BarChanged(S); };
}

void TspSkinMemo::BarChanged(TObject* Sender) {
  auto* Bar = static_cast<TspSkinScrollBar*>(Sender);
  const UINT Msg = Bar == FVScrollBar ? WM_VSCROLL : WM_HSCROLL;
  SendMessage(Handle(), Msg, MAKEWPARAM(SB_THUMBPOSITION, Bar->Position()), 0);
  Invalidate();
}

void TspSkinMemo::Notification(TComponent* AComponent, TOperation Operation) {
  TMemo::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FSysPopupMenu) FSysPopupMenu = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TspSkinMemo::GetSkinData() {
  FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinMemoControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) return;
  Picture = SkinActivePicture(FSD, D->PictureIndex);
  SkinRect = D->SkinRect;
  ActiveSkinRect = IsNullRect(D->ActiveSkinRect) ? SkinRect : D->ActiveSkinRect;
  LTPoint = D->LTPoint;
  RTPoint = D->RTPoint;
  LBPoint = D->LBPoint;
  RBPoint = D->RBPoint;
  ClRect = D->ClRect;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  BGColor = D->BGColor;
  ActiveBGColor = D->ActiveBGColor;
  LeftStretch = D->LeftStretch;
  TopStretch = D->TopStretch;
  RightStretch = D->RightStretch;
  BottomStretch = D->BottomStretch;
  StretchEffect = D->StretchEffect;
  StretchType = D->StretchType;
}

void TspSkinMemo::CreateParams(TCreateParams& Params) {
  TMemo::CreateParams(Params);
  Params.ExStyle &= ~(WS_EX_CLIENTEDGE | WS_EX_TRANSPARENT);
  Params.Style &= ~WS_BORDER;
  Params.Style |= ES_MULTILINE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinMemo::Invalidate() {
  if (!FBitMapBG) {
    TMemo::Invalidate();
    return;
  }
  if (!Parent() || !HandleAllocated()) return;
  FStopDraw = false;
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

void TspSkinMemo::Refresh() {
  if (FBitMapBG) Invalidate();
}

void TspSkinMemo::SetParentImage() {
  if (!ParentImage) return;
  ParentImage->SetSize(Width(), Height());
  CopyParentImage(this, ParentImage->Canvas());
}

void TspSkinMemo::UpDateScrollRange() {
  if (!HandleAllocated()) return;
  struct BarSync {
    TspSkinScrollBar* Bar;
    int Which;
    int Slack;  // the vertical bar is needed from a page of nMax + 1, the other from nMax
  };
  for (const BarSync& S : {BarSync{FVScrollBar, SB_VERT, 1}, BarSync{FHScrollBar, SB_HORZ, 0}}) {
    if (!S.Bar) continue;
    if (!Enabled()) {
      S.Bar->SetEnabled(false);
      continue;
    }
    SCROLLINFO SI{};
    SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(Handle(), S.Which, &SI);
    if (static_cast<int>(SI.nPage) < SI.nMax + S.Slack) {
      S.Bar->SetRange(0, SI.nMax, SI.nPos, static_cast<Integer>(SI.nPage));
      S.Bar->SetEnabled(true);
    } else {
      S.Bar->SetRange(0, 0, 0, 0);
      S.Bar->SetEnabled(false);
    }
  }
}

void TspSkinMemo::SetTextArea() {
  if (BorderStyle() == bsNone || !HandleAllocated()) return;
  GetSkinData();
  TRect R = ClientRect();
  if (FIndex == -1) {
    R.Left += FBitMapBG ? 3 : 6;
    R.Top += 2;
    R.Right -= 4;
    R.Bottom -= 2;
  } else {
    R.Left += ClRect.Left + (FBitMapBG ? 1 : 3);
    R.Top += ClRect.Top + (FBitMapBG ? 1 : 2);
    R.Right -= RectWidth(SkinRect) - ClRect.Right + 3;
    R.Bottom -= RectHeight(SkinRect) - ClRect.Bottom + 2;
    R.Right = std::max(R.Right, R.Left);
    R.Bottom = std::max(R.Bottom, R.Top);
  }
  FTextArea = R;
  RECT T = R;
  SendMessage(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&T));
}

void TspSkinMemo::ChangeSkinData() {
  GetSkinData();
  if (FIndex == -1) {
    Font()->Assign(FDefaultFont.get());
  } else {
    if (UseSkinFont) {
      Font()->SetName(FontName);
      Font()->SetStyle(FontStyle);
      Font()->SetHeight(FontHeight);
    } else {
      Font()->Assign(FDefaultFont.get());
    }
    if (UseSkinFontColor) Font()->SetColor(Focused() ? ActiveFontColor : FontColor);
    SetColor(BGColor);
  }
  Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                   : FDefaultFont->Charset());
  UpDateScrollRange();
  if (FVScrollBar) FVScrollBar->SetAlign(FVScrollBar->Align());
  if (!Enabled())
    Font()->SetColor(clGrayText);
  else if (FIndex != -1 && UseSkinFontColor)
    Font()->SetColor(FontColor);
  else
    Font()->SetColor(FDefaultFont->Color());
  SetTextArea();
}

void TspSkinMemo::HotChanged(Boolean Hot) {
  if (FIndex != -1) {
    if (UseSkinFontColor) Font()->SetColor(Hot ? ActiveFontColor : FontColor);
    if (!FBitMapBG) SetColor(Hot ? ActiveBGColor : BGColor);
  }
  Invalidate();
}

void TspSkinMemo::CMMouseEnter(TWMNoParams& Message) {
  TMemo::CMMouseEnter(Message);
  FMouseIn = true;
  if (!Focused()) HotChanged(true);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TspSkinMemo::CMMouseLeave(TWMNoParams& Message) {
  TMemo::CMMouseLeave(Message);
  FMouseIn = false;
  if (!Focused()) HotChanged(false);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TspSkinMemo::Change() {
  TMemo::Change();
  UpDateScrollRange();
}

void TspSkinMemo::CreateSysPopupMenu() {
  delete FSysPopupMenu;
  FSysPopupMenu = nullptr;
  TspEditMenuState S;
  S.CanUndo = CanUndo();
  S.HasSelection = SelLength() > 0;
  S.ReadOnly = FReadOnly;
  S.ClipboardHasText = !Clipboard()->AsText().empty();
  S.AllSelected = SelText() == Text();
  FSysPopupMenu = CreateEditSysMenu(this, FSD ? FSD->ResourceStrData() : nullptr, S);
  FSysPopupMenu->FreeNotification(this);
}

void TspSkinMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      Message.Result = 0;
      return;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      return;
    case WM_NCPAINT:
      if (FBitMapBG) Invalidate();
      return;
    case CM_SKIN_PAINT_FRAME:
      if (!Message.WParam) return;
      PaintBackground(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = SKIN_ANSWER_FRAME_PAINTED;
      return;
    case WM_ERASEBKGND:
      if (!FBitMapBG && BorderStyle() != bsSingle) break;
      PaintBackground(reinterpret_cast<HDC>(Message.WParam));
      SendMessage(Handle(), WM_PAINT, Message.WParam, 0);
      FStopDraw = true;
      return;
    case WM_PAINT:
      if (FStopDraw && FBitMapBG) {
        if (!Message.WParam) {
          PAINTSTRUCT Ps{};
          BeginPaint(Handle(), &Ps);
          EndPaint(Handle(), &Ps);
        }
        FStopDraw = false;
        return;
      }
      if (Enabled()) {
        if (FBitMapBG) FStopDraw = true;
        DefaultHandler(Message);
        if (FBitMapBG) FStopDraw = false;
        return;
      }
      if (Message.WParam) {
        PaintDisabledLines(reinterpret_cast<HDC>(Message.WParam));
      } else {
        PAINTSTRUCT Ps{};
        HDC DC = BeginPaint(Handle(), &Ps);
        if (DC) PaintDisabledLines(DC);
        EndPaint(Handle(), &Ps);
      }
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
      if (!FBitMapBG) break;
      const HDC DC = reinterpret_cast<HDC>(Message.WParam);
      SetBkMode(DC, TRANSPARENT);
      SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
      Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return;
    }
    case WM_CHAR:
      // Read-only: only Ctrl+C still does something.
      if (!FReadOnly || Message.WParam == 3) TMemo::Dispatch(Message);
      UpDateScrollRange();
      Refresh();
      return;
    case WM_KEYDOWN:
      if (Message.WParam == VK_DELETE && FReadOnly) return;
      TMemo::Dispatch(Message);
      UpDateScrollRange();
      Refresh();
      return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
      if (FReadOnly) return;
      TMemo::Dispatch(Message);
      Refresh();
      UpDateScrollRange();
      return;
    case WM_SETTEXT:
      TMemo::Dispatch(Message);
      Refresh();
      UpDateScrollRange();
      return;
    case WM_MOUSEWHEEL:
      SendMessage(Handle(), WM_VSCROLL, static_cast<int32_t>(Message.WParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      Refresh();
      return;
    case WM_LBUTTONDOWN:
      TMemo::Dispatch(Message);
      FDown = true;
      return;
    case WM_LBUTTONUP:
      TMemo::Dispatch(Message);
      if (FDown) {
        UpDateScrollRange();
        FDown = false;
      }
      return;
    case WM_MOUSEMOVE:
      TMemo::Dispatch(Message);
      if (FDown) {
        UpDateScrollRange();
        Refresh();
      }
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_SIZE:
      TMemo::Dispatch(Message);
      UpDateScrollRange();
      return;
    case WM_MOVE:
      TMemo::Dispatch(Message);
      if (FAlphaBlend && FIndex != -1) Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
      TMemo::Dispatch(Message);
      UpDateScrollRange();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TMemo::Dispatch(Message);
      if (!FMouseIn) HotChanged(Message.Msg == WM_SETFOCUS);
      return;
    case WM_CONTEXTMENU: {
      if (PopupMenu()) break;
      CreateSysPopupMenu();
      PopupEditSysMenu(FSysPopupMenu, this, Message.LParam);
      return;
    }
    case WM_SKINMENU_COMMAND:
      delete FSysPopupMenu;
      FSysPopupMenu = nullptr;
      return;
    default:
      break;
  }
  TMemo::Dispatch(Message);
}
