// The native list inside the skinned list box: no frame, the container sees every message
// and event first, rows painted by the unskinned, stretched or skin-height painter, the
// empty area below the rows filled with the skin's client piece, and the horizontal offset
// that the container's horizontal bar moves.
#include <algorithm>
#include <vector>

#include "platform/rtl/NumConv.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBox.h"
#include "platform/win/Scroll.h"
#include "platform/win/Text.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr Integer InnerListMaxTabStops = 10;

// A canvas over a foreign DC for the length of one paint.
class InnerListDCCanvas {
 public:
  explicit InnerListDCCanvas(HDC DC) : C(CreateOwned<TCanvas>()) { C->SetHandle(DC); }
  ~InnerListDCCanvas() { C->SetHandle(nullptr); }
  InnerListDCCanvas(const InnerListDCCanvas&) = delete;
  InnerListDCCanvas& operator=(const InnerListDCCanvas&) = delete;
  TCanvas* operator->() const { return C.get(); }
  TCanvas* get() const { return C.get(); }

 private:
  TOwned<TCanvas> C;
};

}  // namespace

Integer TabWidthToInt(const String& S) {
  if (S.empty()) return 0;
  if (!std::all_of(S.begin(), S.end(), [](char Ch) { return Ch >= '0' && Ch <= '9'; })) return 0;
  return StrToIntDef(S, 0);  // digits too many for a number count as 0 too
}

TspListBox::TspListBox(TComponent* AOwner) : TListBox(AOwner) {
  SetCtl3D(false);
  SetBorderStyle(bsNone);
  ControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
}

void TspListBox::CreateParams(TCreateParams& Params) {
  TListBox::CreateParams(Params);
  Params.Style &= ~WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  Params.WindowClass.style = CS_DBLCLKS;
  Params.Style |= WS_TABSTOP;
}

void TspListBox::CreateWnd() {
  TListBox::CreateWnd();
  if (SkinListBox) SkinListBox->ListBoxCreateWnd();
}

Integer TspListBox::SafeItemHeight() { return std::max(1, ItemHeight()); }

void TspListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldWidth = Width();
  TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Width() != OldWidth && FHorizontalExtentValue > 0) {
    SetHorizontalExtentValue(FHorizontalExtentValue + (OldWidth - Width()));
    Invalidate();
  }
}

void TspListBox::WndProc(TMessage& Message) {
  if (SkinListBox) {
    Boolean CallDefault = true;
    SkinListBox->ListBoxWindowProcHook(Message, CallDefault);
    if (!CallDefault) return;
  }
  TListBox::WndProc(Message);
  TspSkinCustomListBox* Box = SkinListBox;
  if (!Box) return;
  switch (Message.Msg) {
    case WM_ERASEBKGND:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
      Box->UpDateScrollBar();
      break;
    case WM_LBUTTONDBLCLK:
      Box->ListBoxDblClick();
      break;
    case WM_MOUSEWHEEL: {
      const bool Up = static_cast<int32_t>(Message.WParam) > 0;
      if (Box->ScrollBar) {
        SendMessage(Handle(), WM_VSCROLL, Up ? SB_LINEUP : SB_LINEDOWN, 0);
        Box->UpDateScrollBar();
      } else if (TspSkinScrollBar* H = Box->HScrollBar) {
        H->SetPosition(Up ? H->Position() - H->SmallChange() : H->Position() + H->SmallChange());
      }
      break;
    }
    case CN_SKIN_PAINT_BACKGROUND:
      if (Count() == 0 && Message.LParam == SKIN_PAINT_KEY) {
        if (Message.WParam != 0) PaintBackground(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = SKIN_PAINT_KEY;
      }
      break;
    default:
      break;
  }
}

void TspListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      // The whole window is client area: the native bars never show.
      Message.Result = 0;
      return;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      return;
    case WM_ERASEBKGND:
      if (Width() > 0 && Height() > 0) PaintBackground(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_PAINT: {
      TWMPaint M(Message);
      PaintHandler(M);
      return;
    }
    case CM_SKIN_PAINT_FRAME:
      Message.Result = SKIN_ANSWER_FRAME_PAINTED;
      return;
    default:
      TListBox::Dispatch(Message);
  }
}

void TspListBox::CMEnter(TWMNoParams& Message) {
  if (SkinListBox) SkinListBox->ListBoxEnter();
  TListBox::CMEnter(Message);
}

void TspListBox::CMExit(TWMNoParams& Message) {
  if (SkinListBox) SkinListBox->ListBoxExit();
  TListBox::CMExit(Message);
}

void TspListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
  TListBox::MouseDown(Button, Shift, X, Y);
}

void TspListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
  TListBox::MouseUp(Button, Shift, X, Y);
}

void TspListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox) SkinListBox->ListBoxMouseMove(Shift, X, Y);
  TListBox::MouseMove(Shift, X, Y);
}

void TspListBox::KeyDown(Word& Key, TShiftState Shift) {
  if (SkinListBox) {
    SkinListBox->ListBoxKeyDown(Key, Shift);
    if (TspSkinScrollBar* H = SkinListBox->HScrollBar) {
      if (Key == VK_LEFT) {
        H->SetPosition(H->Position() - H->SmallChange());
        Key = 0;
      } else if (Key == VK_RIGHT) {
        H->SetPosition(H->Position() + H->SmallChange());
        Key = 0;
      }
    }
  }
  TListBox::KeyDown(Key, Shift);
}

void TspListBox::KeyUp(Word& Key, TShiftState Shift) {
  if (SkinListBox) SkinListBox->ListBoxKeyUp(Key, Shift);
  TListBox::KeyUp(Key, Shift);
}

void TspListBox::KeyPress(char32_t& Key) {
  if (SkinListBox) SkinListBox->ListBoxKeyPress(Key);
  TListBox::KeyPress(Key);
}

void TspListBox::Click() {
  if (SkinListBox) SkinListBox->ListBoxClick();
  TListBox::Click();
}

TOwnerDrawState TspListBox::GetItemDrawState(Integer Index) {
  TOwnerDrawState State;
  if (Index == ItemIndex()) {
    State.Include(odSelected);
    if (HandleAllocated() && GetFocus() == Handle()) State.Include(odFocused);
  } else if (SelCount() > 0 && Selected(Index)) {
    State.Include(odSelected);
  }
  return State;
}

// --- Whole-list painting -------------------------------------------------------------------

void TspListBox::PaintWindow(HDC DC) {
  if (Width() <= 0 || Height() <= 0) return;
  const int Saved = SaveDC(DC);
  try {
    InnerListDCCanvas C(DC);
    if (Columns() <= 0)
      PaintItems(C.get());
    else
      PaintColumnItems(C.get());
  } catch (...) {
    RestoreDC(DC, Saved);
    throw;
  }
  RestoreDC(DC, Saved);
}

void TspListBox::PaintItems(TCanvas* C) {
  const Integer Rows = Height() / SafeItemHeight();
  const Integer Last = std::min(TopIndex() + Rows, Count() - 1);
  Integer Bottom = 0;
  for (Integer I = TopIndex(); I <= Last; ++I) {
    const TRect R = ItemRect(I);
    PaintItem(C, I, GetItemDrawState(I), R);
    Bottom = R.Bottom;
  }
  if (Bottom >= Height()) return;
  if (SkinListBox) SkinListBox->GetSkinData();
  if (!SkinListBox || SkinListBox->FIndex == -1) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(0, Bottom, Width(), Height()));
  } else {
    DrawSkinClientTiles(C, 0, Bottom, Width(), Height() - Bottom);
  }
}

void TspListBox::PaintColumnItems(TCanvas* C) {
  const Integer Rows = Height() / SafeItemHeight();
  const Integer Last = std::min(TopIndex() + Rows * Columns(), Count() - 1);
  for (Integer I = TopIndex(); I <= Last; ++I) PaintItem(C, I, GetItemDrawState(I), ItemRect(I));
}

void TspListBox::PaintBackground(HDC DC) {
  if (SkinListBox) SkinListBox->GetSkinData();
  InnerListDCCanvas C(DC);
  if (!SkinListBox || SkinListBox->FIndex == -1) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(0, 0, Width(), Height()));
  } else {
    DrawSkinClientTiles(C.get(), 0, 0, Width(), Height());
  }
}

void TspListBox::DrawSkinClientTiles(TCanvas* C, Integer X, Integer Y, Integer W, Integer H) {
  if (W <= 0 || H <= 0) return;
  TspSkinCustomListBox* Box = SkinListBox;
  const Integer TW = RectWidth(Box->ClRect), TH = RectHeight(Box->ClRect);
  if (TW <= 0 || TH <= 0 || !Box->Picture) {
    // No client piece to tile: the plain list's colour.
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(X, Y, X + W, Y + H));
    return;
  }
  auto B = CreateControlImage(W, H);
  const TRect& SR = Box->SkinRect;
  const TRect& CR = Box->ClRect;
  for (Integer I = 0; I <= W / TW; ++I)
    for (Integer J = 0; J <= H / TH; ++J) {
      const Integer CutX = std::max(0, (I + 1) * TW - W);
      const Integer CutY = std::max(0, (J + 1) * TH - H);
      B->Canvas()->CopyRect(
          Rect(I * TW, J * TH, (I + 1) * TW - CutX, (J + 1) * TH - CutY), Box->Picture->Canvas(),
          Rect(SR.Left + CR.Left, SR.Top + CR.Top, SR.Left + CR.Right - CutX, SR.Top + CR.Bottom - CutY));
    }
  C->Draw(X, Y, B.get());
}

void TspListBox::CNDrawItem(TWMDrawItem& Message) {
  DRAWITEMSTRUCT* Item = Message.DrawItemStruct();
  if (!Item) return;
  TCanvas* C = Canvas();
  C->SetHandle(Item->hDC);
  try {
    C->SetFont(Font());
    C->SetBrush(Brush());
    PaintItem(C, static_cast<Integer>(Item->itemID), TOwnerDrawState::FromBits(LOWORD(Item->itemState)),
              Item->rcItem);
  } catch (...) {
    C->SetHandle(nullptr);
    throw;
  }
  C->SetHandle(nullptr);
  Message.Result() = 1;
}

// --- Item painters -------------------------------------------------------------------------

void TspListBox::PaintItem(TCanvas* C, Integer Index, TOwnerDrawState State, const TRect& R) {
  if (!SkinListBox || SkinListBox->FIndex == -1)
    PaintDefaultItem(C, Index, State, R);
  else if (SkinListBox->FUseSkinItemHeight)
    PaintSkinItem(C, Index, State, R);
  else
    PaintStretchedSkinItem(C, Index, State, R);
}

void TspListBox::SetItemCharset(TFont* F) {
  TspSkinCustomListBox* Box = SkinListBox;
  if (Box && Box->FSD && Box->FSD->ResourceStrData())
    F->SetCharset(Box->FSD->ResourceStrData()->CharSet());
  else if (Box)
    F->SetCharset(Box->DefaultFont()->Charset());
}

void TspListBox::DrawItemContent(TCanvas* C, Integer Index, TRect TR) {
  TspSkinCustomListBox* Box = SkinListBox;
  Integer Offset = 0;
  if (Box && Box->FImages) {
    const Integer ImgIndex = Box->FImageIndex >= 0 ? Box->FImageIndex : Index;
    if (ImgIndex < Box->FImages->Count())
      Box->FImages->Draw(C, TR.Left - FHorizontalExtentValue,
                         TR.Top + RectHeight(TR) / 2 - Box->FImages->Height() / 2, ImgIndex, true);
    Offset = Box->FImages->Width() + 2;
  }
  C->Brush()->SetStyle(bsClear);
  const String Text = Items()->Get(Index);
  if (Box && Box->FTabWidths->Count() > 0 && Columns() == 0)
    DrawTabbedItemText(Text, Box->FTabWidths.get(), Offset, TR, C);
  else
    DrawVCenteredTextAt(C, Text, TR, Offset - FHorizontalExtentValue);
}

void TspListBox::DrawTabbedItemText(const String& Text, TStrings* TabWidths, Integer Offset, const TRect& TR,
                                    TCanvas* C) {
  const Integer N = std::min(TabWidths->Count(), InnerListMaxTabStops);
  std::vector<INT> Stops(static_cast<size_t>(std::max(N, 1)));
  for (Integer I = 0; I < N; ++I) Stops[static_cast<size_t>(I)] = TabWidthToInt(TabWidths->Get(I));
  const Integer X = TR.Left + Offset + 2;
  const Integer Y = TR.Top + RectHeight(TR) / 2 - C->TextHeight(Text) / 2;
  TabbedTextOutW(C->Handle(), X, Y, Text, static_cast<int>(Utf8Length(Text)), N, Stops.data(), 0);
}

void TspListBox::PaintDefaultItem(TCanvas* Cnvs, Integer Index, TOwnerDrawState State, const TRect& R) {
  if (Index < 0 || Index > Count() - 1) return;
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (W <= 0 || H <= 0) return;
  auto B = CreateControlImage(W, H);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(State.Contains(odSelected) ? clHighlight : clWindow);
  C->FillRect(Rect(0, 0, W, H));
  const TRect TR = Rect(2, 0, W - 2, H);
  TFont* Own = SkinListBox ? SkinListBox->Font() : Font();
  C->Font()->SetName(Own->Name());
  C->Font()->SetStyle(Own->Style());
  C->Font()->SetHeight(Own->Height());
  SetItemCharset(C->Font());
  C->Font()->SetColor(State.Contains(odSelected) ? clHighlightText : Own->Color());
  if (SkinListBox && SkinListBox->OnDrawItem)
    SkinListBox->OnDrawItem(C, Index, W, H, TR, State);
  else
    DrawItemContent(C, Index, TR);
  if (State.Contains(odFocused)) DrawSkinFocusRect(C, Rect(0, 0, W, H));
  Cnvs->Draw(R.Left, R.Top, B.get());
}

void TspListBox::PaintStretchedSkinItem(TCanvas* Cnvs, Integer Index, TOwnerDrawState State, const TRect& R) {
  TspSkinCustomListBox* Box = SkinListBox;
  if (Index < 0 || Index > Count() - 1 || !Box->Picture) return;
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (W <= 0 || H <= 0) return;
  auto B = CreateControlImage(W, H);
  TCanvas* C = B->Canvas();
  const TRect& Source = State.Contains(odFocused)    ? Box->FocusItemRect
                        : State.Contains(odSelected) ? Box->ActiveItemRect
                                                     : Box->SItemRect;
  const TRect& T = Box->ItemTextRect;
  CreateStretchSkinImage(B.get(), Box->Picture, Source, Rect(T.Left + 1, T.Top + 1, T.Right - 1, T.Bottom - 1), true);
  const TRect TR = Rect(T.Left, T.Top, T.Right + (W - RectWidth(Box->SItemRect)),
                        T.Bottom + (H - RectHeight(Box->SItemRect)));
  if (Box->FUseSkinFont) {
    C->Font()->SetName(Box->FontName);
    C->Font()->SetStyle(Box->FontStyle);
    C->Font()->SetHeight(Box->FontHeight);
  } else {
    C->Font()->Assign(Box->DefaultFont());
  }
  SetItemCharset(C->Font());
  C->Font()->SetColor(State.Contains(odFocused)    ? Box->FocusFontColor
                      : State.Contains(odSelected) ? Box->ActiveFontColor
                                                   : Box->FontColor);
  C->Brush()->SetStyle(bsClear);
  if (Box->OnDrawItem) {
    Box->OnDrawItem(C, Index, W, RectHeight(Box->SItemRect), TR, State);
  } else {
    DrawItemContent(C, Index, TR);
    if (State.Contains(odFocused) && Box->ShowFocus) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Box->FSD->SkinColors()->cBtnFace());
      DrawSkinFocusRect(C, Rect(0, 0, W, H));
      C->Brush()->SetStyle(bsClear);
    }
  }
  Cnvs->Draw(R.Left, R.Top, B.get());
}

void TspListBox::PaintSkinItem(TCanvas* Cnvs, Integer Index, TOwnerDrawState State, const TRect& R) {
  TspSkinCustomListBox* Box = SkinListBox;
  if (Index < 0 || Index > Count() - 1 || !Box->Picture) return;
  const Integer W = RectWidth(R);
  const Integer H = std::max(1, RectHeight(Box->SItemRect));
  if (W <= 0) return;
  auto B = CreateControlImage(W, H);
  TCanvas* C = B->Canvas();
  const bool Focused = State.Contains(odFocused), Sel = State.Contains(odSelected);
  const Integer L = Box->ItemLeftOffset, Rt = Box->ItemRightOffset;
  if (Focused && !Sel) {
    CreateHSkinImage(L, Rt, B.get(), Box->Picture, Box->SItemRect, W, H, Box->StretchEffect);
    DrawSkinFocusRect(C, Rect(0, 0, W, H));
  } else if (Focused) {
    CreateHSkinImage(L, Rt, B.get(), Box->Picture, Box->FocusItemRect, W, H, Box->StretchEffect);
  } else if (Sel) {
    CreateHSkinImage(L, Rt, B.get(), Box->Picture, Box->ActiveItemRect, W, H, Box->StretchEffect);
  } else {
    CreateHSkinImage(L, Rt, B.get(), Box->Picture, Box->SItemRect, W, H, false);
  }
  const TRect& T = Box->ItemTextRect;
  const TRect TR = Rect(T.Left, T.Top, T.Right + (W - RectWidth(Box->SItemRect)), T.Bottom);
  if (Box->FUseSkinFont) {
    C->Font()->SetName(Box->FontName);
    C->Font()->SetStyle(Box->FontStyle);
    C->Font()->SetHeight(Box->FontHeight);
    SetItemCharset(C->Font());
  } else {
    C->Font()->Assign(Box->DefaultFont());
  }
  if (Focused)
    C->Font()->SetColor(Sel ? Box->FocusFontColor : Box->FontColor);
  else
    C->Font()->SetColor(Sel ? Box->ActiveFontColor : Box->FontColor);
  C->Brush()->SetStyle(bsClear);
  if (Box->OnDrawItem) {
    Box->OnDrawItem(C, Index, W, B->Height(), TR, State);
  } else {
    DrawItemContent(C, Index, TR);
    if (Focused && Box->ShowFocus) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Box->FSD->SkinColors()->cBtnFace());
      DrawSkinFocusRect(C, Rect(0, 0, W, H));
      C->Brush()->SetStyle(bsClear);
    }
  }
  Cnvs->Draw(R.Left, R.Top, B.get());
}
