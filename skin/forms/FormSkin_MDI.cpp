// The frame's MDI work: skinned children are minimized, maximized and placed by their own
// frames, so the frames keep the main form's Window menu in step with the children,
// arrange them (tile, cascade, the minimized frames) and act on all of them at once.
#include <algorithm>
#include <cmath>

#include "platform/rtl/NumConv.h"
#include "skin/forms/FormSkin.h"

namespace {

const String MDIChildItemSuffix = "_DSFCHILDITEM";

TForm* FormSkinMainForm() { return Application ? Application->MainForm() : nullptr; }

// The main form's Window menu, when the main form has a frame component and a menu.
TMenuItem* FormSkinWindowMenu() {
  TForm* Main = FormSkinMainForm();
  if (!Main || !FindSkinFormComponent(Main)) return nullptr;
  return Main->WindowMenu();
}

Boolean FormSkinIsChildItem(const TMenuItem* Item) { return Item->Name().find(MDIChildItemSuffix) != String::npos; }

// The name of the child an item of the Window menu stands for.
String FormSkinItemChildName(const TMenuItem* Item) {
  String Name = Item->Name();
  const size_t At = Name.find(MDIChildItemSuffix);
  if (At != String::npos) Name.erase(At, MDIChildItemSuffix.size());
  return Name;
}

TMenuItem* FormSkinFindChildItem(TMenuItem* Menu, const String& ChildName) {
  for (Integer I = 0; I < Menu->Count(); ++I) {
    TMenuItem* Item = Menu->Items(I);
    if (FormSkinIsChildItem(Item) && FormSkinItemChildName(Item) == ChildName) return Item;
  }
  return nullptr;
}

}  // namespace

// --- The Window menu ------------------------------------------------------------------------

void TspFormSkin::AddChildToMenu(TCustomForm* Child) {
  TMenuItem* Menu = FormSkinWindowMenu();
  if (!Menu || !Child) return;
  auto* Item = new TMenuItem(this);
  Item->SetName(Child->Name() + MDIChildItemSuffix);
  Item->SetCaption(Child->Caption());
  Item->OnClick = [this](TObject* Sender) { MDIItemClick(Sender); };
  Menu->Add(Item);
}

void TspFormSkin::DeleteChildFromMenu(TCustomForm* Child) {
  TMenuItem* Menu = FormSkinWindowMenu();
  if (!Menu || !Child) return;
  if (TMenuItem* Item = FormSkinFindChildItem(Menu, Child->Name())) Item->Free();
  // With no child left, an item that outlived its child goes as well.
  if (FormSkinMainForm()->MDIChildCount() == 0)
    for (Integer I = 0; I < Menu->Count(); ++I)
      if (FormSkinIsChildItem(Menu->Items(I))) {
        Menu->Items(I)->Free();
        break;
      }
}

void TspFormSkin::UpDateChildCaptionInMenu(TCustomForm* Child) {
  TMenuItem* Menu = FormSkinWindowMenu();
  if (!Menu || !Child) return;
  if (TMenuItem* Item = FormSkinFindChildItem(Menu, Child->Name())) Item->SetCaption(Child->Caption());
}

void TspFormSkin::UpDateChildActiveInMenu() {
  TMenuItem* Menu = FormSkinWindowMenu();
  if (!Menu) return;
  TForm* Active = FormSkinMainForm()->ActiveMDIChild();
  for (Integer I = 0; I < Menu->Count(); ++I) {
    TMenuItem* Item = Menu->Items(I);
    if (FormSkinIsChildItem(Item)) Item->SetChecked(Active && FormSkinItemChildName(Item) == Active->Name());
  }
}

void TspFormSkin::MDIItemClick(TObject* Sender) {
  auto* Item = dynamic_cast<TMenuItem*>(Sender);
  TForm* Main = FormSkinMainForm();
  if (!Item || !Main) return;
  const String ChildName = FormSkinItemChildName(Item);
  for (Integer I = 0; I < Main->MDIChildCount(); ++I) {
    TForm* Child = Main->MDIChildren(I);
    if (Child->Name() != ChildName) continue;
    TspFormSkin* ChildSkin = FindSkinFormComponent(Child);
    if (ChildSkin && ChildSkin->WindowState() == wsMinimized) ChildSkin->SetWindowState(wsNormal);
    Child->Show();
  }
}

// --- Lookups ----------------------------------------------------------------------------------

TCustomForm* TspFormSkin::GetMaximizedMDIChild() {
  TForm* Main = FormSkinMainForm();
  if (!Main) return nullptr;
  if (TForm* Active = Main->ActiveMDIChild()) {
    TspFormSkin* S = FindSkinFormComponent(Active);
    if (S && S->WindowState() == wsMaximized) return Active;
  }
  for (Integer I = 0; I < Main->MDIChildCount(); ++I) {
    TspFormSkin* S = FindSkinFormComponent(Main->MDIChildren(I));
    if (S && S->WindowState() == wsMaximized) return Main->MDIChildren(I);
  }
  return nullptr;
}

void TspFormSkin::GetMDIWorkArea(TRect& R) {
  TForm* Main = FormSkinMainForm();
  if (!Main) return;
  R = Rect(0, 0, Main->ClientWidth(), Main->ClientHeight());
  Boolean AnyLeft = false, AnyTop = false, AnyRight = false, AnyBottom = false;
  for (Integer I = 0; I < Main->ControlCount(); ++I) {
    TControl* C = Main->Controls(I);
    if (!C->Visible()) continue;
    switch (C->Align()) {
      case alLeft:
        R.Left = AnyLeft ? std::max(R.Left, C->Left() + C->Width()) : C->Left() + C->Width();
        AnyLeft = true;
        break;
      case alTop:
        R.Top = AnyTop ? std::max(R.Top, C->Top() + C->Height()) : C->Top() + C->Height();
        AnyTop = true;
        break;
      case alRight:
        R.Right = AnyRight ? std::min(R.Right, C->Left()) : C->Left();
        AnyRight = true;
        break;
      case alBottom:
        R.Bottom = AnyBottom ? std::min(R.Bottom, C->Top()) : C->Top();
        AnyBottom = true;
        break;
      default:
        break;
    }
  }
}

// --- Arrangements -----------------------------------------------------------------------------

void TspFormSkin::RestoreAll() {
  if (!IsMDIMainForm()) return;
  for (Integer I = 0; I < FForm->MDIChildCount(); ++I) {
    TspFormSkin* S = FindSkinFormComponent(FForm->MDIChildren(I));
    if (!S) continue;
    if (S->WindowState() != wsNormal) S->SetWindowState(wsNormal);
    if (S->RollUpState() && S->WindowState() == wsNormal) S->SetRollUpState(false);
  }
}

void TspFormSkin::MinimizeAll() {
  if (!IsMDIMainForm()) return;
  for (Integer I = 0; I < FForm->MDIChildCount(); ++I)
    if (TspFormSkin* S = FindSkinFormComponent(FForm->MDIChildren(I))) S->SetWindowState(wsMinimized);
}

void TspFormSkin::MaximizeAll() {
  if (!IsMDIMainForm()) return;
  for (Integer I = 0; I < FForm->MDIChildCount(); ++I)
    if (TspFormSkin* S = FindSkinFormComponent(FForm->MDIChildren(I))) S->SetWindowState(wsMaximized);
}

void TspFormSkin::CloseAll() {
  if (!IsMDIMainForm()) return;
  for (Integer I = FForm->MDIChildCount() - 1; I >= 0; --I)
    if (I < FForm->MDIChildCount()) FForm->MDIChildren(I)->Close();
}

void TspFormSkin::Tile() {
  if (!IsMDIMainForm()) return;
  RestoreAll();
  const Integer N = FForm->MDIChildCount();
  Integer Cols = static_cast<Integer>(std::sqrt(static_cast<double>(N)));
  if (Cols == 0) return;
  Integer Rows = N / Cols;
  if (N > Rows * Cols) ++Rows;
  TRect R{};
  GetMDIWorkArea(R);
  const Integer W = RectWidth(R), H = RectHeight(R);
  const Integer ColW = W / Cols;
  Integer RowH = H / Rows;
  Integer X = W, Y = H, ColsLeft = Cols;
  for (Integer I = N; I >= 1; --I) {
    FForm->MDIChildren(I - 1)->SetBounds(std::max(0, X - ColW), std::max(0, Y - RowH), ColW, RowH);
    Y -= RowH;
    if (Y - RowH < 0) {
      Y = H;
      X -= ColW;
      ColsLeft = std::max(1, ColsLeft - 1);
      Rows = std::max(1, (I - 1 + ColsLeft - 1) / ColsLeft);
      RowH = H / Rows;
    }
  }
}

void TspFormSkin::Cascade() {
  if (!IsMDIMainForm()) return;
  RestoreAll();
  TRect R{};
  GetMDIWorkArea(R);
  const Integer W = RectWidth(R), H = RectHeight(R);
  // A skin whose client area starts at the top would give no step at all.
  const Integer Step = std::max(1, HasSkin() ? NewClRect.Top : GetDefCaptionHeight() + 3);
  const Integer N = FForm->MDIChildCount();
  const Integer K = (W - static_cast<Integer>(Round(W * 0.8))) / Step;
  Integer CW, CH;
  if (K > N) {
    CW = W - (N - 1) * Step;
    CH = H - (N - 1) * Step;
  } else {
    CW = W - K * Step;
    CH = H - K * Step;
  }
  CW = std::max(CW, GetMinWidth());
  CH = std::max(CH, GetMinHeight());
  Integer Off = 0;
  for (Integer I = N - 1; I >= 0; --I) {
    TForm* Child = FForm->MDIChildren(I);
    Integer CWi = CW, CHi = CH;
    if (Child->BorderStyle() == bsSingle) {
      CWi = Child->Width();
      CHi = Child->Height();
    }
    if (Off + CWi > W || Off + CHi > H) Off = 0;
    Child->SetBounds(Off, Off, CWi, CHi);
    Off += Step;
  }
}

void TspFormSkin::RefitMDIChildren() {
  TForm* Main = FormSkinMainForm();
  if (!Main || !IsMDIMainForm()) return;
  for (Integer I = 0; I < FForm->MDIChildCount(); ++I) {
    TForm* Child = FForm->MDIChildren(I);
    if (Child->HandleAllocated()) SendMessage(Child->Handle(), WM_MDICHILD_REFIT, 0, 0);
  }
  ArrangeMinimizedChildren();
}

void TspFormSkin::ArrangeMinimizedChildren() {
  TForm* Main = FormSkinMainForm();
  if (!Main) return;
  for (Integer I = 0; I < Main->MDIChildCount(); ++I) {
    TForm* Child = Main->MDIChildren(I);
    TspFormSkin* S = FindSkinFormComponent(Child);
    if (!S || S->WindowState() != wsMinimized) continue;
    TPoint P{};
    S->FindMinimizedPos(P);
    Child->SetBounds(P.X, P.Y, Child->Width(), Child->Height());
  }
}

namespace {

// Whether F, another visible form than Self minimized by its frame, stands at P.
Boolean FormSkinMinimizedAt(const TCustomForm* Self, TCustomForm* F, const TPoint& P) {
  if (!F || F == Self || !F->Visible() || F->Left() != P.X || F->Top() != P.Y) return false;
  TspFormSkin* S = FindSkinFormComponent(F);
  return S && S->WindowState() == wsMinimized;
}

}  // namespace

// The first free cell of minimum-size frames from the bottom left of the work area, rows
// filled upwards; a full area starts again at the first cell. A frame without a minimum
// size still steps a pixel, so two frames in one cell cannot hold the search for ever.
void TspFormSkin::FindMinimizedPos(TPoint& P) {
  const Integer MW = std::max(1, GetMinWidth());
  const Integer MH = std::max(1, GetMinHeight());
  TForm* Main = FormSkinMainForm();
  const Boolean Child = IsMDIChildForm();
  TRect R{};
  if (Child) {
    GetMDIWorkArea(R);
    R = Rect(0, 0, RectWidth(R), RectHeight(R));
  } else {
    GetMonitorArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, R);
  }
  // MDI children look among their siblings, other forms among the screen's forms but the
  // main form.
  auto Taken = [&](const TPoint& Q) {
    if (Child) {
      if (!Main) return false;
      for (Integer I = 0; I < Main->MDIChildCount(); ++I)
        if (FormSkinMinimizedAt(FForm, Main->MDIChildren(I), Q)) return true;
      return false;
    }
    for (Integer I = 0; I < Screen->CustomFormCount(); ++I) {
      TCustomForm* F = Screen->CustomForms(I);
      if (F != Main && FormSkinMinimizedAt(FForm, F, Q)) return true;
    }
    return false;
  };
  P = Point(R.Left, R.Bottom - MH);
  while (Taken(P)) {
    P.X += MW;
    if (P.X + MW > R.Right) {
      P.X = R.Left;
      P.Y -= MH;
    }
    if (P.Y < R.Top) {
      P = Point(R.Left, R.Bottom - MH);
      return;
    }
  }
}
