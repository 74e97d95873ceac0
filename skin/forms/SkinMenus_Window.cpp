// One level of an open skin menu: a top-most pop-up that lists the visible sub-items of a
// menu item, sizes and places itself in the work area, scrolls, and polls the cursor.
#include <algorithm>

#include "platform/ui/ImgList.h"
#include "platform/win/DrawText.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Paint.h"
#include "platform/win/SysColors.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowRegion.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/SkinMenus.h"

namespace {

constexpr UINT_PTR PopupScrollTimerId = 1;
constexpr Integer PopupScrollInterval = 100;
constexpr Integer PopupMouseInterval = 50;
constexpr Integer PopupMorphInterval = 20;
constexpr Integer PopupDeferredShow = 100;
constexpr DWORD PopupFadeStepMs = 5;
constexpr Integer PopupMarkerHeight = 10;
constexpr Integer PopupPlainFrame = 3;   // the unskinned frame on every side
constexpr Integer PopupPlainSeparator = 4;

// The hot-key character of a caption compared with a virtual-key code, case ignored.
bool PopupHotkeyMatches(const String& Caption, Integer CharCode) {
  const char32_t H = GetHotkey(Caption);
  if (H == 0 || CharCode <= 0) return false;
  const char32_t K = static_cast<char32_t>(CharCode);
  auto Up = [](char32_t C) { return (C >= 'a' && C <= 'z') ? C - 32 : C; };
  return Up(H) == Up(K);
}

}  // namespace

TspSkinPopupWindow::TspSkinPopupWindow(TComponent* AOwner, TspSkinMenu* AParentMenu,
                                       TspDataSkinPopupWindow* AData)
    : TCustomControl(AOwner), ParentMenu(AParentMenu) {
  SetVisible(false);
  FMouseTimer = ::Create<TTimer>(this);
  FMouseTimer->SetEnabled(false);
  FMouseTimer->SetInterval(PopupMouseInterval);
  FMouseTimer->OnTimer = [this](TObject* Sender) { MouseTimerProc(Sender); };
  FMorphTimer = ::Create<TTimer>(this);
  FMorphTimer->SetEnabled(false);
  FMorphTimer->SetInterval(PopupMorphInterval);
  FMorphTimer->OnTimer = [this](TObject* Sender) { MorphTimerProc(Sender); };
  FWT = ::Create<TTimer>(this);
  FWT->SetEnabled(false);
  FWT->SetInterval(PopupDeferredShow);
  FWT->OnTimer = [this](TObject* Sender) { ShowDeferred(Sender); };
  AlphaBlend = AParentMenu->AlphaBlend;
  AlphaBlendValue = AParentMenu->AlphaBlendValue;
  AlphaBlendAnimation = AParentMenu->AlphaBlendAnimation;
  TspSkinData* MenuSkin = AParentMenu->SkinData;
  if (AData && AData->WindowPictureIndex != -1 && MenuSkin && !MenuSkin->Empty) {
    const Integer N = MenuSkin->FActivePictures.Count();
    if (AData->WindowPictureIndex >= 0 && AData->WindowPictureIndex < N)
      WindowPicture = MenuSkin->FActivePictures.Items(AData->WindowPictureIndex);
    if (AData->MaskPictureIndex >= 0 && AData->MaskPictureIndex < N)
      MaskPicture = MenuSkin->FActivePictures.Items(AData->MaskPictureIndex);
    // A descriptor whose picture is missing gives the unskinned window.
    if (WindowPicture) {
      PW = AData;
      SD = MenuSkin;
    }
  }
  FMeasure.SetSize(1, 1);
}

TspSkinPopupWindow::~TspSkinPopupWindow() {
  *FAlive = false;
  if (HandleAllocated()) KillTimer(Handle(), PopupScrollTimerId);
  ItemList.clear();
}

void TspSkinPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
  Params.WndParent = nullptr;
}

void TspSkinPopupWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_ERASEBKGND:
      PaintMenu(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const TMouseButton B = Message.Msg == WM_LBUTTONUP   ? mbLeft
                             : Message.Msg == WM_RBUTTONUP ? mbRight
                                                           : mbMiddle;
      MouseUpAt(B, static_cast<int16_t>(Message.LParam & 0xFFFF),
                static_cast<int16_t>((Message.LParam >> 16) & 0xFFFF));
      return;
    }
    case WM_TIMER:
      if (Message.WParam == PopupScrollTimerId) {
        if (ScrollCode == 1) {
          if (CanScroll(1)) ScrollUp(false); else StopScroll();
        } else if (ScrollCode == 2) {
          if (CanScroll(2)) ScrollDown(false); else StopScroll();
        }
        return;
      }
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

// --- Building and sizing ---------------------------------------------------------------------

Integer TspSkinPopupWindow::NormalItemHeight() const {
  if (PW && DSMI) return RectHeight(DSMI->SkinRect);
  return ParentMenu->DefaultMenuItemHeight();
}

Integer TspSkinPopupWindow::ItemHeight(const TspSkinMenuItem& Item) const {
  if (DSMI) return Item.IsSeparator() ? RectHeight(DSMI->DividerRect) : RectHeight(DSMI->SkinRect);
  return Item.IsSeparator() ? PopupPlainSeparator : ParentMenu->DefaultMenuItemHeight();
}

void TspSkinPopupWindow::AddItems(TMenuItem* AItem, Integer StartIndex) {
  for (Integer I = std::max<Integer>(StartIndex, 0); I < AItem->Count(); ++I) {
    TMenuItem* Sub = AItem->Items(I);
    if (!Sub->Visible()) continue;
    if (Sub->Action()) Sub->InitiateAction();
    ItemList.push_back(std::make_unique<TspSkinMenuItem>(this, Sub, DSMI));
  }
}

void TspSkinPopupWindow::CreateMenu(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex) {
  TspDataSkinMenuItem* Found = nullptr;
  if (SD) {
    Integer I = SD->GetIndex("MENUITEM");
    if (I < 0) I = SD->GetIndex("menuitem");
    if (I >= 0) Found = dynamic_cast<TspDataSkinMenuItem*>(SD->ObjectList.Items(I));
  }
  // A popup-window picture without a menu-item object: the items take the unskinned look
  // inside the skinned frame.
  DSMI = PW ? Found : nullptr;
  TFont* F = FMeasure.Canvas()->Font();
  if (DSMI && ParentMenu->UseSkinFont) {
    F->SetName(DSMI->FontName);
    F->SetHeight(DSMI->FontHeight);
    F->SetStyle(DSMI->FontStyle);
    F->SetCharset(ParentMenu->DefaultMenuItemFont()->Charset());
  } else {
    F->Assign(ParentMenu->DefaultMenuItemFont());
  }
  TMenu* Menu = AItem->GetParentMenu();
  if (Menu && Menu->AutoLineReduction() == maAutomatic) AItem->RethinkLines();
  ImgL = Menu ? Menu->Images() : nullptr;
  AddItems(AItem, StartIndex);
  if (AItem2) AddItems(AItem2, std::max<Integer>(StartIndex - AItem->Count(), 0));
  SizeWindow();
}

void TspSkinPopupWindow::SizeWindow() {
  VisibleStartIndex = 0;
  VisibleCount = static_cast<Integer>(ItemList.size());
  Scroll = Scroll2 = false;
  Integer T = 0;
  HDC DC = FMeasure.Canvas()->Handle();
  for (const auto& It : ItemList) {
    String Text = It->MenuItem->Caption();
    if (It->MenuItem->ShortCut() != scNone) Text += "  " + ShortCutToText(It->MenuItem->ShortCut());
    RECT R{0, 0, 0, 0};
    DrawText(DC, Text, -1, &R, DT_CALCRECT | DT_SINGLELINE);
    T = std::max<Integer>(T, R.Right - R.Left + 2);
  }
  GlyphWidth = ImgL ? ImgL->Width() + 5 : 16;
  const Integer C = T + GlyphWidth + 16;
  Integer W, Frame;
  if (PW) {
    const Integer PicW = WindowPicture->Width(), PicH = WindowPicture->Height();
    const TRect& IR = PW->ItemsRect;
    // Without a menu-item object the items keep the unskinned margin.
    const Integer Margins = DSMI ? DSMI->TextRct.Left + (RectWidth(DSMI->SkinRect) - DSMI->TextRct.Right)
                                 : 2 * (PopupPlainFrame + 2);
    W = C + Margins + IR.Left + (PicW - IR.Right);
    Frame = IR.Top + PicH - IR.Bottom;
  } else {
    W = C + 10;
    Frame = 2 * PopupPlainFrame;
  }
  Integer S = 0;
  for (const auto& It : ItemList) S += ItemHeight(*It);
  Integer H;
  const Integer Max = ParentMenu->MaxMenuItemsInWindow;
  if (Max > 0 && Max < static_cast<Integer>(ItemList.size())) {
    H = NormalItemHeight() * Max + Frame + 2 * PopupMarkerHeight;
    Scroll = Scroll2 = true;
  } else {
    H = S + Frame;
  }
  const Integer WAH = RectHeight(ParentMenu->WorkArea);
  if (WAH > 0 && H > WAH) {
    H = WAH;
    Scroll = true;
  }
  SetBounds(Left(), Top(), W, H);
  if (PW) {
    const Integer PicW = WindowPicture->Width(), PicH = WindowPicture->Height();
    NewLTPoint = PW->LTPoint;
    NewRTPoint = Point(W - (PicW - PW->RTPoint.X), PW->RTPoint.Y);
    NewLBPoint = Point(PW->LBPoint.X, H - (PicH - PW->LBPoint.Y));
    NewRBPoint = Point(W - (PicW - PW->RBPoint.X), H - (PicH - PW->RBPoint.Y));
    NewItemsRect = Rect(PW->ItemsRect.Left, PW->ItemsRect.Top, W - (PicW - PW->ItemsRect.Right),
                        H - (PicH - PW->ItemsRect.Bottom));
  } else {
    NewItemsRect = Rect(PopupPlainFrame, PopupPlainFrame, W - PopupPlainFrame, H - PopupPlainFrame);
  }
  ArrangeItems();
}

void TspSkinPopupWindow::ArrangeItems() {
  Integer Top = NewItemsRect.Top, Bottom = NewItemsRect.Bottom;
  if (Scroll) {
    Top += PopupMarkerHeight;
    Bottom -= PopupMarkerHeight;
  }
  VisibleCount = 0;
  const Integer N = static_cast<Integer>(ItemList.size());
  Integer I = VisibleStartIndex;
  for (; I < N; ++I) {
    TspSkinMenuItem& It = *ItemList[static_cast<size_t>(I)];
    It.ObjectRect = Rect(NewItemsRect.Left, Top, NewItemsRect.Right, Top + ItemHeight(It));
    if (It.ObjectRect.Bottom > Bottom) break;
    It.FVisible = true;
    ++VisibleCount;
    Top = It.ObjectRect.Bottom;
  }
  if (Scroll)
    for (Integer J = 0; J < N; ++J)
      if (J < VisibleStartIndex || J >= VisibleStartIndex + VisibleCount)
        ItemList[static_cast<size_t>(J)]->FVisible = false;
}

Integer TspSkinPopupWindow::GetLastPageStart() const {
  const Integer N = static_cast<Integer>(ItemList.size());
  Integer Bottom = NewItemsRect.Bottom - PopupMarkerHeight, Fit = 0;
  for (Integer I = N - 1; I >= 0; --I) {
    Bottom -= ItemHeight(*ItemList[static_cast<size_t>(I)]);
    if (Bottom < NewItemsRect.Top + PopupMarkerHeight) break;
    ++Fit;
  }
  return N - Fit;
}

// --- Placing and showing ---------------------------------------------------------------------

void TspSkinPopupWindow::CalcPopupPosition(const TRect& R, Boolean PopupByItem, Boolean PopupUp) {
  const TRect& WA = ParentMenu->WorkArea;
  const Integer W = Width(), H = Height();
  const Integer Mid = WA.Top + RectHeight(WA) / 2;
  const Boolean CutToWorkArea = Scroll && !Scroll2;
  Boolean Beside = false;
  Integer Y;
  if (CutToWorkArea) {
    Y = WA.Top;
  } else if (PopupByItem) {
    Y = R.Top - NewItemsRect.Top;
    if (Y + H > WA.Bottom) {
      if (R.Top < Mid)
        Y = WA.Bottom - H;
      else
        Y = std::max(R.Bottom - H + NewItemsRect.Top, WA.Top);
    }
  } else if (PopupUp) {
    if (R.Top - H >= WA.Top) {
      Y = R.Top - H;
    } else if (R.Top < Mid) {
      Y = R.Bottom;
      if (Y + H > WA.Bottom) {
        Y = WA.Bottom - H;
        Beside = true;
      }
    } else {
      Y = WA.Top;
      Beside = true;
    }
  } else if (R.Bottom + H <= WA.Bottom) {
    Y = R.Bottom;
  } else if (Mid > R.Top) {
    Y = WA.Bottom - H;
    Beside = true;
  } else if (R.Top - H >= WA.Top) {
    Y = R.Top - H;
  } else {
    Y = WA.Top;
    Beside = true;
  }
  Integer X;
  if (PopupByItem || CutToWorkArea || Beside) {
    X = (R.Right + W + 1 <= WA.Right) ? R.Right + 1 : R.Left - W - 1;
  } else {
    X = R.Left;
    if (X + W > WA.Right)
      X = WA.Right - W;
    else if (R.Left < WA.Left)
      X = WA.Left;
  }
  ShowX = X;
  ShowY = Y;
}

Boolean TspSkinPopupWindow::LayeredWindows() const { return IsWin2000OrLater(); }

void TspSkinPopupWindow::ShowWindowAt(TMenuItem* AItem, TMenuItem* AItem2, const TRect& R,
                                      Integer StartIndex, Boolean PopupByItem, Boolean PopupUp) {
  const Boolean Layered = LayeredWindows();
  const Boolean Fade = Layered && AlphaBlend && AlphaBlendAnimation && ParentMenu->First();
  if (Fade) {
    // The screen is brought up to date before the fade; what runs meanwhile may close the menu.
    const std::shared_ptr<bool> Alive = FAlive;
    Application->ProcessMessages();
    if (!*Alive) return;
  }
  CreateMenu(AItem, AItem2, StartIndex);
  CalcPopupPosition(R, PopupByItem, PopupUp);
  SetBounds(ShowX, ShowY, Width(), Height());
  if (MaskPicture && PW) {
    HRGN Rgn = nullptr;
    CreateSkinRegion(Rgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                     NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
    if (Rgn) SetWindowRgn(Handle(), Rgn, true);  // the window owns the region from here
  }
  if (AlphaBlend && !Layered) {
    FWT->SetEnabled(true);
    return;
  }
  if (PW && PW->CursorIndex != -1) SetCursor(static_cast<TCursor>(SD->StartCursorIndex + PW->CursorIndex));
  const HWND Wnd = Handle();
  if (Layered && AlphaBlend) {
    SetWindowLongPtr(Wnd, GWL_EXSTYLE, GetWindowLongPtr(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredAlpha(Wnd, Fade ? 0 : AlphaBlendValue);
  }
  SetWindowPos(Wnd, HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  SetVisible(true);
  if (Fade) {
    const std::shared_ptr<bool> Alive = FAlive;
    const Integer Step = std::max<Integer>(1, AlphaBlendValue / 15);
    Integer Value = 0;
    DWORD Last = GetTickCount();
    while (Value < AlphaBlendValue) {
      const DWORD Now = GetTickCount();
      if (Now - Last > PopupFadeStepMs) {
        Value = std::min<Integer>(Value + Step, AlphaBlendValue);
        SetLayeredAlpha(Wnd, Value);
        Last = Now;
        continue;
      }
      Sleep(1);
      if (!*Alive || !IsWindow(Wnd)) return;
    }
  }
  FMouseTimer->SetEnabled(true);
  ActiveItem = -1;
  for (size_t I = 0; I < ItemList.size(); ++I) {
    TspSkinMenuItem& It = *ItemList[I];
    if (!It.Selectable()) continue;
    It.WaitCommand = true;
    ActiveItem = static_cast<Integer>(I);
    It.MouseEnter(true);
    break;
  }
}

void TspSkinPopupWindow::ShowDeferred(TObject*) {
  FWT->SetEnabled(false);
  Sc = std::make_unique<TBitmap>();
  Sc->SetPixelFormat(pf24bit);
  Sc->SetSize(Width() + 1, Height() + 1);
  CopyScreenToBitmap(ShowX, ShowY, Sc.get());
  ESc = CreateOwned<TspEffectBmp>(Sc->Handle());
  if (PW && PW->CursorIndex != -1) SetCursor(static_cast<TCursor>(SD->StartCursorIndex + PW->CursorIndex));
  SetWindowPos(Handle(), HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  SetVisible(true);
  FMouseTimer->SetEnabled(true);
  if (!ItemList.empty()) {
    ActiveItem = 0;
    ItemList[0]->MouseEnter(true);
  }
}

void TspSkinPopupWindow::BlendWithScreen(TBitmap* B, Integer X, Integer Y) {
  if (!AlphaBlend || LayeredWindows() || !ESc) return;
  auto Ef = CreateOwned<TspEffectBmp>(B->Handle());
  Ef->MorphRect(ESc.get(), 1.0 - static_cast<Double>(AlphaBlendValue) / 255.0,
                Rect(0, 0, B->Width(), B->Height()), X, Y);
  Ef->Draw(B->Canvas()->Handle(), 0, 0);
}

void TspSkinPopupWindow::Show(const TRect& R, TMenuItem* AItem, Integer StartIndex, Boolean PopupByItem,
                              Boolean PopupUp) {
  ShowWindowAt(AItem, nullptr, R, StartIndex, PopupByItem, PopupUp);
}

void TspSkinPopupWindow::Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                               Boolean PopupByItem, Boolean PopupUp) {
  ShowWindowAt(AItem, AItem2, R, StartIndex, PopupByItem, PopupUp);
}

void TspSkinPopupWindow::Hide() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  FMouseTimer->SetEnabled(false);
  SetVisible(false);
}

// --- Painting --------------------------------------------------------------------------------

void TspSkinPopupWindow::CreateWindowImage(TBitmap* B, Boolean DrawClient) {
  const Integer W = Width(), H = Height();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  TCanvas* C = B->Canvas();
  if (PW) {
    CreateSkinImage2(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                     NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, B, WindowPicture,
                     Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), W, H, DrawClient,
                     PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch,
                     PW->StretchEffect, PW->StretchType);
    BlendWithScreen(B, 0, 0);
    return;
  }
  const Integer Col = ImgL ? GlyphWidth + 3 : 22;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, Col, H));
  C->Brush()->SetColor(clWindow);
  C->FillRect(Rect(Col, 0, W, H));
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(Rect(0, 0, W, H));
  C->Brush()->SetColor(clWindow);
  C->FrameRect(Rect(1, 1, W - 1, H - 1));
  BlendWithScreen(B, 0, 0);
}

TRect TspSkinPopupWindow::MarkerRect(Boolean Up) const {
  if (PW)
    return Up ? Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + PopupMarkerHeight)
              : Rect(NewItemsRect.Left, NewItemsRect.Bottom - PopupMarkerHeight, NewItemsRect.Right,
                     NewItemsRect.Bottom);
  return Up ? Rect(3, 3, Width() - 3, 13) : Rect(3, Height() - 10, Width() - 3, Height() - 3);
}

void TspSkinPopupWindow::DrawMarker(TCanvas* Cnvs, Boolean Up) {
  const TRect R = MarkerRect(Up);
  const Boolean Hot = ScrollCode == (Up ? 1 : 2);
  TColor Colour;
  if (PW) {
    DrawItemBackground(Cnvs, R);
    Colour = static_cast<TColor>(Hot ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor);
  } else {
    Colour = Hot ? clBtnText : clBtnShadow;
  }
  DrawArrow(Cnvs, R, Colour, Up ? 3 : 4);
}

void TspSkinPopupWindow::DrawItemBackground(TCanvas* Cnvs, const TRect& R) {
  if (!SD) return;
  Integer I = SD->GetIndex("menuitem");
  if (I < 0) I = SD->GetIndex("MENUITEM");
  if (I < 0) return;
  auto* O = dynamic_cast<TspDataSkinMenuItem*>(SD->ObjectList.Items(I));
  if (!O || RectWidth(R) <= 0 || RectHeight(R) <= 0) return;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  if (O->InActiveTransparent && FPaintBuffer) {
    B.SetSize(RectWidth(R), RectHeight(R));
    B.Canvas()->CopyRect(Rect(0, 0, RectWidth(R), RectHeight(R)), FPaintBuffer->Canvas(), R);
  } else {
    const Integer P = O->ActivePictureIndex;
    if (P < 0 || P >= SD->FActivePictures.Count() || IsNullRect(O->SkinRect)) return;
    B.SetSize(RectWidth(R), RectHeight(O->SkinRect));
    CreateHSkinImage(O->ItemLO, O->ItemRO, &B, SD->FActivePictures.Items(P), O->SkinRect, RectWidth(R),
                     RectHeight(O->SkinRect), O->InActiveStretchEffect);
  }
  Cnvs->CopyRect(Rect(R.Left, R.Top, R.Right, R.Top + std::min(RectHeight(R), B.Height())), B.Canvas(),
                 Rect(0, 0, RectWidth(R), std::min(RectHeight(R), B.Height())));
}

void TspSkinPopupWindow::PaintMenu(HDC DC) {
  if (Width() <= 0 || Height() <= 0) return;
  TBitmap B;
  CreateWindowImage(&B, Scroll);
  if (PW && DSMI && DSMI->InActiveTransparent) {
    FPaintBuffer = std::make_unique<TBitmap>();
    CreateWindowImage(FPaintBuffer.get(), true);
  }
  for (const auto& It : ItemList)
    if (It->FVisible) It->Draw(B.Canvas());
  if (Scroll) {
    DrawMarker(B.Canvas(), true);
    DrawMarker(B.Canvas(), false);
    if (VisibleCount > 0) {
      const Integer GapTop = ItemList[static_cast<size_t>(LastLaidOut())]->ObjectRect.Bottom;
      const Integer GapBottom = MarkerRect(false).Top;
      if (GapBottom > GapTop)
        DrawItemBackground(B.Canvas(), Rect(NewItemsRect.Left, GapTop, NewItemsRect.Right, GapBottom));
    }
  }
  BitBlt(DC, 0, 0, Width(), Height(), B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TspSkinPopupWindow::Repaint() {
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, true);
}

// --- Mouse -----------------------------------------------------------------------------------

Boolean TspSkinPopupWindow::IsCursorOverWindow(const TPoint& ScreenP) {
  return HandleAllocated() && WindowFromPoint(POINT{ScreenP.X, ScreenP.Y}) == Handle();
}

void TspSkinPopupWindow::MouseTimerProc(TObject*) {
  POINT SP{0, 0};
  GetCursorPos(&SP);
  const TPoint P = ScreenToClient(Point(SP.X, SP.Y));
  if (P.X == OMX && P.Y == OMY) return;
  if (IsCursorOverWindow(Point(SP.X, SP.Y))) {
    TestActive(P.X, P.Y);
  } else if (Scroll && ScrollCode != 0) {
    StopScroll();
  }
  OMX = P.X;
  OMY = P.Y;
}

void TspSkinPopupWindow::SetActive(Integer NewIndex, Integer OldIndex) {
  ActiveItem = NewIndex;
  if (NewIndex == OldIndex || NewIndex < 0) return;
  // MouseEnter may close deeper levels, never this one: the old item is still ours.
  ItemList[static_cast<size_t>(NewIndex)]->MouseEnter(true);
  if (OldIndex >= 0 && OldIndex < static_cast<Integer>(ItemList.size()))
    ItemList[static_cast<size_t>(OldIndex)]->MouseLeave();
}

void TspSkinPopupWindow::TestActive(Integer X, Integer Y) {
  const TPoint P = Point(X, Y);
  if (Scroll) {
    const Boolean OnUp = IsPointInRect(MarkerRect(true), P), OnDown = IsPointInRect(MarkerRect(false), P);
    if (OnUp && ScrollCode == 0 && CanScroll(1)) {
      ScrollCode = 1;
      Repaint();
      StartScroll();
    } else if (OnDown && ScrollCode == 0 && CanScroll(2)) {
      ScrollCode = 2;
      Repaint();
      StartScroll();
    } else if (ScrollCode != 0 && !OnUp && !OnDown) {
      StopScroll();
    }
  }
  if (ItemList.empty()) return;
  OldActiveItem = ActiveItem;
  for (size_t I = 0; I < ItemList.size(); ++I) {
    const TspSkinMenuItem& It = *ItemList[I];
    if (It.FVisible && X >= It.ObjectRect.Left && X < It.ObjectRect.Right && Y >= It.ObjectRect.Top &&
        Y < It.ObjectRect.Bottom) {
      ActiveItem = static_cast<Integer>(I);
      break;
    }
  }
  if (ActiveItem >= static_cast<Integer>(ItemList.size())) ActiveItem = -1;
  if (ActiveItem == OldActiveItem) {
    if (ActiveItem != -1) {
      TspSkinMenuItem& It = *ItemList[static_cast<size_t>(ActiveItem)];
      if (It.WaitCommand) {
        It.WaitCommand = false;
        if (It.HasSubItems()) It.MouseEnter(false);
      }
    }
    return;
  }
  const Integer OldI = OldActiveItem, NewI = ActiveItem;
  if (OldI >= 0 && ItemList[static_cast<size_t>(OldI)]->Selectable()) ItemList[static_cast<size_t>(OldI)]->MouseLeave();
  if (NewI >= 0 && ItemList[static_cast<size_t>(NewI)]->Selectable()) ItemList[static_cast<size_t>(NewI)]->MouseEnter(false);
}

void TspSkinPopupWindow::MouseUpAt(TMouseButton Button, Integer X, Integer Y) {
  TestActive(X, Y);
  if (Button != mbLeft || ActiveItem < 0) return;
  TspSkinMenuItem& It = *ItemList[static_cast<size_t>(ActiveItem)];
  if (!It.FVisible || !IsPointInRect(It.ObjectRect, Point(X, Y)) || It.IsSeparator()) return;
  It.MouseDown(X, Y);  // may free this window
}

// --- Scrolling -------------------------------------------------------------------------------

Boolean TspSkinPopupWindow::CanScroll(Integer Code) const {
  if (Code == 1) return VisibleStartIndex > 0;
  return LastLaidOut() < static_cast<Integer>(ItemList.size()) - 1;
}

void TspSkinPopupWindow::StartScroll() {
  ParentMenu->CloseMenu(ParentMenu->GetPopupIndex(this) + 1);
  SetTimer(Handle(), PopupScrollTimerId, PopupScrollInterval, nullptr);
}

void TspSkinPopupWindow::StopScroll() {
  ScrollCode = 0;
  Repaint();
  if (HandleAllocated()) KillTimer(Handle(), PopupScrollTimerId);
}

void TspSkinPopupWindow::ScrollUp(Boolean Cycle) {
  if (VisibleStartIndex > 0)
    --VisibleStartIndex;
  else if (Cycle)
    VisibleStartIndex = GetLastPageStart();
  else
    return;
  ArrangeItems();
  Repaint();
}

void TspSkinPopupWindow::ScrollDown(Boolean Cycle) {
  if (LastLaidOut() >= static_cast<Integer>(ItemList.size()) - 1) {
    if (!Cycle) return;
    VisibleStartIndex = 0;
  } else {
    ++VisibleStartIndex;
  }
  ArrangeItems();
  Repaint();
}

// --- Keyboard --------------------------------------------------------------------------------

void TspSkinPopupWindow::NextItem() {
  const Integer N = static_cast<Integer>(ItemList.size());
  if (N == 0) return;
  if (Scroll && ScrollCode == 0 && ActiveItem >= 0 && IsLastVisible(ActiveItem)) ScrollDown(true);
  const Integer Old = ActiveItem;
  Integer I = ActiveItem + 1;
  if (I >= N) I = 0;
  Integer Found = Old;
  for (; I < N; ++I) {
    if (ItemList[static_cast<size_t>(I)]->Selectable()) {
      Found = I;
      break;
    }
    if (IsLastVisible(I)) ScrollDown(true);
  }
  if (Found != Old) SetActive(Found, Old);
}

void TspSkinPopupWindow::PriorItem() {
  const Integer N = static_cast<Integer>(ItemList.size());
  if (N == 0) return;
  if (Scroll && ScrollCode == 0 && ActiveItem >= 0 && IsFirstVisible(ActiveItem)) ScrollUp(true);
  const Integer Old = ActiveItem;
  Integer I = (ActiveItem <= 0) ? N - 1 : ActiveItem - 1;
  Integer Found = Old;
  for (; I >= 0; --I) {
    if (ItemList[static_cast<size_t>(I)]->Selectable()) {
      Found = I;
      break;
    }
    if (IsFirstVisible(I)) ScrollUp(true);
  }
  if (Found != Old) SetActive(Found, Old);
}

void TspSkinPopupWindow::CloseChildLevels() {
  const Integer I = ParentMenu->GetPopupIndex(this);
  if (I + 1 < ParentMenu->LevelCount()) ParentMenu->CloseMenu(I + 1);
  for (const auto& It : ItemList) {
    if (!It->Down) continue;
    It->Down = false;
    if (!It->EnableAnimation() || It->MI->InActiveAnimation) {
      It->ReDraw();
    } else {
      It->CurrentFrame = 0;
      if (HandleAllocated()) {
        It->Draw(Canvas());
        ShowMenuDrawing(Canvas());
      }
    }
  }
}

void TspSkinPopupWindow::MorphTimerProc(TObject*) {
  if (!DSMI) return;
  bool Busy = false;
  for (const auto& It : ItemList) {
    if (It->EnableMorphing() && It->CanMorphing()) {
      It->DoMorphing();
      Busy = true;
    } else if (It->EnableAnimation()) {
      if (It->Active && It->CurrentFrame <= It->MI->FrameCount) {
        ++It->CurrentFrame;
      } else if (!It->Active && It->CurrentFrame > 0) {
        --It->CurrentFrame;
      } else {
        continue;
      }
      if (HandleAllocated()) {
        It->Draw(Canvas());
        ShowMenuDrawing(Canvas());
      }
      Busy = true;
    }
  }
  if (!Busy) FMorphTimer->SetEnabled(false);
}

void TspSkinPopupWindow::PopupKeyDown(Integer CharCode) {
  if (!Visible()) return;
  if (Enabled()) {
    for (size_t I = 0; I < ItemList.size(); ++I) {
      TspSkinMenuItem& It = *ItemList[I];
      if (!PopupHotkeyMatches(It.MenuItem->Caption(), CharCode)) continue;
      const Integer Old = ActiveItem;
      It.MouseEnter(false);
      ActiveItem = static_cast<Integer>(I);
      if (Old >= 0 && Old != ActiveItem) ItemList[static_cast<size_t>(Old)]->MouseLeave();
      It.MouseDown(0, 0);  // may free this window
      return;
    }
  }
  TspSkinMenu* Menu = ParentMenu;
  switch (CharCode) {
    case VK_RETURN:
      if (ActiveItem >= 0) ItemList[static_cast<size_t>(ActiveItem)]->MouseDown(0, 0);
      break;
    case VK_LEFT:
      if (Menu->LevelCount() < 2) break;
      [[fallthrough]];
    case VK_ESCAPE: {
      const Integer Levels = Menu->LevelCount();
      if (Levels >= 2) {
        TspSkinPopupWindow* P = Menu->Level(Levels - 2);
        if (P->ActiveItem >= 0) {
          TspSkinMenuItem& PI = *P->ItemList[static_cast<size_t>(P->ActiveItem)];
          PI.Down = false;
          PI.ReDraw();
        }
      }
      Menu->CloseMenu(Levels - 1);  // frees this window
      break;
    }
    case VK_UP:
      PriorItem();
      break;
    case VK_RIGHT:
      if (ActiveItem >= 0 && ItemList[static_cast<size_t>(ActiveItem)]->HasSubItems())
        ItemList[static_cast<size_t>(ActiveItem)]->MouseDown(0, 0);
      break;
    case VK_DOWN:
      NextItem();
      break;
    default:
      break;
  }
}
