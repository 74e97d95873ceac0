// The objects of the main menu bar: the base (hover, pressed, morphing), the system
// buttons of a maximized MDI child and the menu titles.
#include "skin/forms/SkinMenus.h"

#include "platform/win/DrawText.h"
#include "skin/core/bitmaps/spEffBmp_EffectKinds.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr TColor BarPressedFill = static_cast<TColor>(0xB59385);  // red 133, green 147, blue 181
constexpr TColor BarHotFill = static_cast<TColor>(0xD2BDB6);      // red 182, green 189, blue 210

TBitmap* BarActivePicture(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures.Count()) return nullptr;
  return SD->FActivePictures[Index];
}

// The plain look's frame and fill into B (of the object's size).
void FillBarObjectPlain(TBitmap* B, Boolean Pressed, Boolean Hot) {
  TCanvas* C = B->Canvas();
  const TRect R = Rect(0, 0, B->Width(), B->Height());
  if (Pressed || Hot) {
    C->Brush()->SetColor(Pressed ? BarPressedFill : BarHotFill);
    C->FillRect(R);
    C->Brush()->SetColor(clNavy);
    C->FrameRect(R);
  } else {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
  }
}

}  // namespace

// --- Base ----------------------------------------------------------------------------------------

TspMenuBarObject::TspMenuBarObject(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData) : Parent(AParent) {
  if (!AData) return;
  IDName = AData->IDName;
  SkinRect = AData->SkinRect;
  ActiveSkinRect = AData->ActiveSkinRect;
  DownRect = AData->ActiveSkinRect;
  Morphing = AData->Morphing;
  MorphKind = AData->MorphKind;
  ObjectRect = SkinRect;
  Picture = BarActivePicture(Parent->SkinData(), AData->ActivePictureIndex);
}

Boolean TspMenuBarObject::EnableMorphing() const {
  return Morphing && Parent->SkinData() && Parent->SkinData()->EnableSkinEffects();
}

void TspMenuBarObject::SetMorphKf(Double Value) { FMorphKf = std::clamp(Value, 0.0, 1.0); }

void TspMenuBarObject::DoMorphing() {
  SetMorphKf(FMorphKf + (Active ? 0.2 : -0.2));
  Draw(Parent->Canvas());
  ShowMenuDrawing(Parent->Canvas());
}

Boolean TspMenuBarObject::CanMorphing() {
  if (FDown && !IsNullRect(DownRect)) return false;
  return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TspMenuBarObject::ReDraw() {
  if (EnableMorphing())
    Parent->MorphTimer->SetEnabled(true);
  else
    Parent->DrawSkinObject(this);
}

void TspMenuBarObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  ReDraw();
}

void TspMenuBarObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  ReDraw();
}

void TspMenuBarObject::DrawMorphed(TCanvas* Cnvs, TBitmap* Normal, TBitmap* Hot) {
  auto NormalEffect = CreateOwned<TspEffectBmp>(Normal->Handle());
  auto HotEffect = CreateOwned<TspEffectBmp>(Hot->Handle());
  vantrel::skin::MorphByKind(NormalEffect.get(), HotEffect.get(), MorphKind, FMorphKf);
  NormalEffect->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
}

// --- System buttons ----------------------------------------------------------------------------

TspSkinMainMenuBarButton::TspSkinMainMenuBarButton(TspSkinMainMenuBar* AParent, TspDataSkinMainMenuBarButton* AData)
    : TspMenuBarObject(AParent, AData) {
  FSkinSupport = AData != nullptr;
  if (!AData) return;
  Command = AData->Command;
  DownRect = AData->DownRect;
}

void TspSkinMainMenuBarButton::Draw(TCanvas* Cnvs) {
  if (!FSkinSupport || !Picture) {
    DefaultDraw(Cnvs);
    return;
  }
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0) return;
  if (FDown && FMouseIn && !IsNullRect(DownRect)) {
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), DownRect);
  } else if (EnableMorphing() && !IsNullRect(ActiveSkinRect) &&
             ((Active && FMorphKf < 1) || (!Active && FMorphKf > 0))) {
    TBitmap Normal, Hot;
    Normal.SetSize(W, H);
    Hot.SetSize(W, H);
    Normal.Canvas()->CopyRect(Rect(0, 0, W, H), Picture->Canvas(), SkinRect);
    Hot.Canvas()->CopyRect(Rect(0, 0, W, H), Picture->Canvas(), ActiveSkinRect);
    DrawMorphed(Cnvs, &Normal, &Hot);
  } else {
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), Active && !IsNullRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect);
  }
}

void TspSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  const Boolean Pressed = FDown && FMouseIn;
  FillBarObjectPlain(&B, Pressed, FMouseIn);
  const Integer X = W / 2 - 5 + (Pressed ? 1 : 0), Y = H / 2 - 4 + (Pressed ? 1 : 0);
  const TColor Colour = Enabled ? clBtnText : clBtnShadow;
  switch (Command) {
    case cmClose: DrawCloseImage(B.Canvas(), X, Y, Colour); break;
    case cmMaximize: DrawRestoreImage(B.Canvas(), X, Y, Colour); break;
    case cmMinimize: DrawMinimizeImage(B.Canvas(), X, Y, Colour); break;
    case cmSysMenu: DrawSysMenuImage(B.Canvas(), X, Y, Colour); break;
    default: break;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TspSkinMainMenuBarButton::MouseEnter() {
  if (FDown && Command == cmSysMenu) {
    FMouseIn = Active = true;
  } else if (FDown && EnableMorphing()) {
    FMouseIn = Active = true;
    Parent->DrawSkinObject(this);
  } else {
    TspMenuBarObject::MouseEnter();
  }
}

void TspSkinMainMenuBarButton::MouseLeave() {
  if (FDown && Command == cmSysMenu) {
    FMouseIn = Active = false;
    if (EnableMorphing()) SetMorphKf(1);
  } else if (FDown && EnableMorphing()) {
    FMouseIn = Active = false;
    Parent->DrawSkinObject(this);
  } else {
    TspMenuBarObject::MouseLeave();
  }
}

void TspSkinMainMenuBarButton::MouseDown(Integer, Integer, TMouseButton Button) {
  if (!Enabled || Button != mbLeft || FDown) return;
  FDown = true;
  if (EnableMorphing() && !IsNullRect(DownRect)) SetMorphKf(1);
  Parent->DrawSkinObject(this);
  if (Command == cmSysMenu) DoCommand();
}

void TspSkinMainMenuBarButton::MouseUp(Integer, Integer, TMouseButton Button) {
  if (!Enabled || Button != mbLeft || Command == cmSysMenu || !FDown) return;
  FDown = false;
  Parent->DrawSkinObject(this);
  if (EnableMorphing()) ReDraw();
  if (Active) DoCommand();
}

void TspSkinMainMenuBarButton::DblClick() {
  if (Command != cmSysMenu) return;
  TspFormSkin* Child = FindMaximizedChildSkinForm();
  TspFormSkin* F = Parent->FormSkin();
  if (!Child) return;
  if (F) {
    F->SkinMenu->Hide();
    F->SkinMenuClose();
  }
  Child->FForm->Close();
}

void TspSkinMainMenuBarButton::DoCommand() {
  TspFormSkin* Child = FindMaximizedChildSkinForm();
  if (!Child) return;
  switch (Command) {
    case cmClose: Child->FForm->Close(); break;
    case cmMaximize: Child->SetWindowState(wsNormal); break;
    case cmMinimize: Child->SetWindowState(wsMinimized); break;
    case cmSysMenu: {
      TspFormSkin* F = Parent->FormSkin();
      if (!F) return;
      Parent->Repaint();
      TRect R = ObjectRect;
      const TPoint P = Parent->ClientToScreen(Point(R.Left, R.Top));
      OffsetRect(&R, P.X - R.Left, P.Y - R.Top);
      TMenuItem* Items = Child->GetSystemMenuItems();
      F->SkinMenuOpen();
      F->SkinMenu->Popup(Parent, F->MenuSkin(), 0, R, Items, Parent->PopupToUp());
      break;
    }
    default: break;
  }
}

// --- Titles --------------------------------------------------------------------------------------

TspSkinMainMenuBarItem::TspSkinMainMenuBarItem(TspSkinMainMenuBar* AParent, TspDataSkinMainMenuBarItem* AData)
    : TspMenuBarObject(AParent, AData) {
  FSkinSupport = AData != nullptr;
  if (AData) {
    FontName = AData->FontName;
    FontHeight = AData->FontHeight;
    FontStyle = AData->FontStyle;
    UnEnabledFontColor = AData->UnEnabledFontColor;
    FontColor = AData->FontColor;
    ActiveFontColor = AData->ActiveFontColor;
    DownFontColor = AData->DownFontColor;
    TextRct = AData->TextRct;
    DownRect = AData->DownRect;
    LO = AData->ItemLO;
    RO = AData->ItemRO;
    StretchEffect = AData->StretchEffect;
    AnimateSkinRect = AData->AnimateSkinRect;
    FrameCount = AData->FrameCount;
    AnimateInterval = AData->AnimateInterval;
    InActiveAnimation = AData->InActiveAnimation;
    if (IsNullRect(DownRect)) DownRect = IsNullRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    if (IsNullRect(ActiveSkinRect)) Morphing = false;
  }
  OldEnabled = Enabled;
  Visible = true;
  CurrentFrame = 0;
}

Boolean TspSkinMainMenuBarItem::EnableAnimation() const {
  TspSkinData* SD = Parent->SkinData();
  return !IsNullRect(AnimateSkinRect) && FrameCount > 0 && SD && !SD->Empty && SD->EnableSkinEffects();
}

void TspSkinMainMenuBarItem::ReDraw() {
  if (EnableAnimation()) {
    if (Parent->AnimateTimer->Interval() != static_cast<Cardinal>(AnimateInterval) && AnimateInterval > 0)
      Parent->AnimateTimer->SetInterval(static_cast<Cardinal>(AnimateInterval));
    Parent->AnimateTimer->SetEnabled(true);
  } else {
    TspMenuBarObject::ReDraw();
  }
}

void TspSkinMainMenuBarItem::SetTitleFont(TCanvas* Cnvs) const {
  if (FSkinSupport && Parent->UseSkinFont()) {
    Cnvs->Font()->SetName(FontName);
    Cnvs->Font()->SetStyle(FontStyle);
    Cnvs->Font()->SetHeight(FontHeight);
  } else {
    Cnvs->Font()->Assign(Parent->DefItemFont());
  }
  TspSkinData* SD = Parent->SkinData();
  if (SD && SD->ResourceStrData())
    Cnvs->Font()->SetCharset(SD->ResourceStrData()->CharSet());
  else
    Cnvs->Font()->SetCharset(Parent->DefItemFont()->Charset());
}

Boolean TspSkinMainMenuBarItem::CalcObjectRect(TCanvas* Cnvs) {
  SetTitleFont(Cnvs);
  TRect T = Rect(0, 0, 0, 0);
  DrawWideText(Cnvs, MenuItem ? MenuItem->Caption() : String(), T, DT_CALCRECT | DT_CENTER);
  const Integer C = RectWidth(T);
  Integer Left = 0;
  for (TspMenuBarObject* Obj : Parent->ObjectList) {
    if (Obj == this) break;
    if (auto* Prior = dynamic_cast<TspSkinMainMenuBarItem*>(Obj)) Left = Prior->ObjectRect.Right;
  }
  const TRect& NR = Parent->NewItemsRect;
  if (Left == 0) Left = NR.Left;
  if (FSkinSupport) {
    const Integer N = RectWidth(SkinRect) + TextRct.Left - TextRct.Right;
    ObjectRect = Rect(Left, NR.Top, Left + N + C + 2, NR.Top + RectHeight(SkinRect));
  } else {
    ObjectRect = Rect(Left, NR.Top, Left + C + 12, NR.Bottom);
  }
  const Integer M = Parent->ScrollMenu() ? 5 : 0;
  if (ObjectRect.Right > NR.Right - M) {
    Parent->Scroll = true;
    if (Visible) {
      OldEnabled = Enabled;
      Enabled = false;
      Visible = false;
    }
    return false;
  }
  if (!Visible) {
    Visible = true;
    Enabled = OldEnabled;
  }
  return true;
}

TRect TspSkinMainMenuBarItem::FrameRect(Integer K) const {
  const TRect& A = AnimateSkinRect;
  if (RectHeight(A) > RectHeight(SkinRect)) {
    const Integer H = RectHeight(A) / FrameCount;
    return Rect(A.Left, A.Top + (K - 1) * H, A.Right, A.Top + K * H);
  }
  const Integer W = RectWidth(A) / FrameCount;
  return Rect(A.Left + (K - 1) * W, A.Top, A.Left + K * W, A.Bottom);
}

void TspSkinMainMenuBarItem::DrawCaption(TCanvas* C, TRect T, Boolean Selected) {
  if (MenuItem && MenuItem->OnDrawItem) {
    MenuItem->OnDrawItem(this, C, T, Selected);
    return;
  }
  DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), T,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TspSkinMainMenuBarItem::CreateTitleImage(TBitmap* B, const TRect& R, Boolean AActive) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (Parent->ItemTransparent && R == SkinRect && !Parent->BarImage.Empty()) {
    B->SetSize(W, H);
    B->Canvas()->CopyRect(Rect(0, 0, W, H), Parent->BarImage.Canvas(), ObjectRect);
  } else {
    CreateHSkinImage(LO, RO, B, Picture, R, W, H, AActive && StretchEffect);
  }
  TCanvas* C = B->Canvas();
  SetTitleFont(C);
  C->Brush()->SetStyle(bsClear);
  TColor Colour = UnEnabledFontColor;
  if (FDown)
    Colour = DownFontColor;
  else if (AActive)
    Colour = ActiveFontColor;
  else if (MenuItem && MenuItem->Enabled())
    Colour = FontColor;
  C->Font()->SetColor(Colour);
  TRect T = Rect(TextRct.Left, TextRct.Top, TextRct.Left, TextRct.Top);
  DrawWideText(C, MenuItem ? MenuItem->Caption() : String(), T, DT_CALCRECT | DT_CENTER);
  T.Right += 2;
  T.Bottom = std::max(T.Bottom, TextRct.Bottom);
  DrawCaption(C, T, AActive);
}

void TspSkinMainMenuBarItem::Draw(TCanvas* Cnvs) {
  if (!FSkinSupport || !Picture) {
    DefaultDraw(Cnvs);
    return;
  }
  if (IsNullRect(SkinRect) || IsNullRect(TextRct)) return;
  TBitmap Measure;
  if (!CalcObjectRect(Measure.Canvas())) return;
  TBitmap B;
  if (FDown) {
    CreateTitleImage(&B, DownRect, true);
  } else if (EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= FrameCount) {
    CreateTitleImage(&B, FrameRect(CurrentFrame), true);
  } else if (!EnableMorphing() || (Active && FMorphKf == 1) || (!Active && FMorphKf == 0)) {
    if (Active)
      CreateTitleImage(&B, IsNullRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect, true);
    else
      CreateTitleImage(&B, SkinRect, false);
  } else {
    TBitmap Hot;
    CreateTitleImage(&B, SkinRect, false);
    CreateTitleImage(&Hot, ActiveSkinRect, true);
    DrawMorphed(Cnvs, &B, &Hot);
    return;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TspSkinMainMenuBarItem::DefaultDraw(TCanvas* Cnvs) {
  TBitmap Measure;
  if (!CalcObjectRect(Measure.Canvas())) return;
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  FillBarObjectPlain(&B, FDown, FMouseIn);
  TCanvas* C = B.Canvas();
  C->Font()->Assign(Parent->DefItemFont());
  TspSkinData* SD = Parent->SkinData();
  if (SD && SD->ResourceStrData()) C->Font()->SetCharset(SD->ResourceStrData()->CharSet());
  if (MenuItem && !MenuItem->Enabled()) C->Font()->SetColor(clBtnShadow);
  C->Brush()->SetStyle(bsClear);
  const Integer TH = C->TextHeight("Wg");
  TRect T = Rect(0, H / 2 - TH / 2, W, H / 2 - TH / 2 + TH);
  if (FDown) OffsetRect(&T, 1, 1);
  DrawCaption(C, T, Active);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TspSkinMainMenuBarItem::MouseEnter() {
  TspSkinMainMenuBarItem* Pressed = nullptr;
  TspSkinMainMenuBarItem* Hot = nullptr;
  for (TspMenuBarObject* Obj : Parent->ObjectList) {
    auto* T = dynamic_cast<TspSkinMainMenuBarItem*>(Obj);
    if (!T || T == this || T->IDName == IDName) continue;
    if (!Pressed && T->FDown) Pressed = T;
    if (!Hot && T->Active) Hot = T;
  }
  if (Pressed) {
    Pressed->SetDown(false);
    Active = FMouseIn = true;
    if (EnableMorphing()) SetMorphKf(1);
    SetDown(true);
    return;
  }
  if (Hot) Hot->MouseLeave();
  FMouseIn = Active = true;
  ReDraw();
  if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
  if (MenuItem && Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TspSkinMainMenuBarItem::MouseLeave() {
  Active = FMouseIn = false;
  if (EnableAnimation() && !InActiveAnimation) {
    CurrentFrame = 0;
    Parent->DrawSkinObject(this);
  }
  if (EnableMorphing() && FDown) SetMorphKf(0);
  ReDraw();
  if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

void TspSkinMainMenuBarItem::MouseDown(Integer, Integer, TMouseButton Button) {
  TspFormSkin* F = Parent->FormSkin();
  if (!Enabled || !F || Button != mbLeft) return;
  if (Parent->OnMainMenuItemClick) Parent->OnMainMenuItemClick(IDName);
  if (MenuItem && MenuItem->Count() > 0) {
    Parent->MenuActive = true;
    SetDown(true);
    return;
  }
  if (F->InMainMenu) F->ExitMainMenuMode();
  F->InMenu = false;
  if (EnableMorphing())
    ReDraw();
  else
    Parent->DrawSkinObject(this);
  if (MenuItem)
    if (TMenu* Menu = MenuItem->GetParentMenu()) Menu->DispatchCommand(MenuItem->Command());
}

void TspSkinMainMenuBarItem::SetDown(Boolean Value) {
  FDown = Value;
  if (Value) {
    Parent->DrawSkinObject(this);
    TspFormSkin* F = Parent->FormSkin();
    if (F && !F->InMainMenu && F->OnMainMenuEnter) F->OnMainMenuEnter(Parent);
    PopupSubMenu();
    return;
  }
  Active = false;
  if (EnableAnimation()) {
    if (InActiveAnimation) {
      CurrentFrame = FrameCount + 1;
      ReDraw();
    } else {
      CurrentFrame = 0;
      Parent->DrawSkinObject(this);
    }
  } else if (EnableMorphing()) {
    SetMorphKf(1);
    ReDraw();
  } else {
    Parent->DrawSkinObject(this);
  }
}

void TspSkinMainMenuBarItem::PopupSubMenu() {
  TspFormSkin* F = Parent->FormSkin();
  if (!F || !MenuItem) return;
  TRect R = ObjectRect;
  const TPoint P = Parent->ClientToScreen(Point(R.Left, R.Top));
  OffsetRect(&R, P.X - R.Left, P.Y - R.Top);
  F->SkinMenuOpen();
  F->InMainMenu = true;
  F->SkinMenu->Popup(nullptr, Parent->SkinData(), 0, R, MenuItem, Parent->PopupToUp());
}
