// The main menu bar: building the titles (merged with an MDI child's menu), layout and
// painting, the maximized child's buttons, menu mode and the keyboard, and the mouse.
#include "skin/forms/SkinMenus.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

TTimer* MakeBarTimer(TComponent* Owner, Cardinal Interval, TNotifyEvent Tick) {
  TTimer* Timer = ::Create<TTimer>(Owner);
  Timer->SetEnabled(false);
  Timer->SetInterval(Interval);
  Timer->OnTimer = std::move(Tick);
  return Timer;
}

template <class T>
T* BarSkinObject(TspSkinData* SD, const String& Name) {
  if (!SD || SD->Empty) return nullptr;
  const Integer I = SD->GetIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<T*>(SD->ObjectList[I]);
}

}  // namespace

TspSkinMainMenuBar::TspSkinMainMenuBar(TComponent* AOwner) : TspSkinControl(AOwner) {
  FSkinDataName = "mainmenubar";
  FDefItemFont = CreateOwned<TFont>();
  FDefItemFont->SetName("Arial");
  FDefItemFont->SetHeight(14);
  FDefItemFont->SetColor(clBtnText);
  MouseTimer = MakeBarTimer(this, 50, [this](TObject* S) { MouseTimerTick(S); });
  MorphTimer = MakeBarTimer(this, 25, [this](TObject* S) { MorphTimerTick(S); });
  AnimateTimer = MakeBarTimer(this, 25, [this](TObject* S) { AnimateTimerTick(S); });
  SetAlign(alTop);
  SetHeight(FDefaultHeight);
}

TspSkinMainMenuBar::~TspSkinMainMenuBar() { ClearObjects(); }

void TspSkinMainMenuBar::ClearObjects() {
  std::vector<TspMenuBarObject*> Objects;
  Objects.swap(ObjectList);
  for (TspMenuBarObject* Obj : Objects) FreeObject(Obj);
  ButtonsCount = 0;
}

TspMenuBarObject* TspSkinMainMenuBar::ObjectAt(Integer I) const {
  if (I < 0 || I >= ObjectCount()) return nullptr;
  return ObjectList[static_cast<size_t>(I)];
}

std::vector<TspSkinMainMenuBarItem*> TspSkinMainMenuBar::Titles() const {
  std::vector<TspSkinMainMenuBarItem*> T;
  for (TspMenuBarObject* Obj : ObjectList)
    if (auto* Title = dynamic_cast<TspSkinMainMenuBarItem*>(Obj)) T.push_back(Title);
  return T;
}

void TspSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainMenu) {
    FMainMenu = nullptr;
    if (!ComponentState().Contains(csDestroying)) CreateMenu();
  }
  if (AComponent == FMergeMenu) FMergeMenu = nullptr;
  if (AComponent == DSF) DSF = nullptr;
}

// --- Properties ----------------------------------------------------------------------------------

void TspSkinMainMenuBar::SetMainMenu(TMainMenu* Value) {
  if (FMainMenu && FMainMenu != Value) FMainMenu->RemoveFreeNotification(this);
  FMainMenu = Value;
  if (FMainMenu) FMainMenu->FreeNotification(this);
  CreateMenu();
  Repaint();
}

void TspSkinMainMenuBar::SetFormSkin(TspFormSkin* Value) {
  if (DSF && DSF != Value) DSF->RemoveFreeNotification(this);
  DSF = Value;
  if (DSF) DSF->FreeNotification(this);
}

void TspSkinMainMenuBar::SetDefItemFont(TFont* Value) {
  FDefItemFont->Assign(Value);
  if (!FSkinSupport) Repaint();
}

void TspSkinMainMenuBar::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (!FSkinSupport && Value > 0) SetWidth(Value);
}

void TspSkinMainMenuBar::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (!FSkinSupport && Value > 0) SetHeight(Value);
}

// --- Skin ----------------------------------------------------------------------------------------

void TspSkinMainMenuBar::GetSkinData() {
  TspSkinControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinMainMenuBar*>(FSD->CtrlList[FIndex]);
  if (!D) return;
  SkinRect = D->SkinRect;
  ItemsRect = D->ItemsRect;
  MenuBarItem = D->MenuBarItem;
  CloseButton = D->CloseButton;
  MaxButton = D->MaxButton;
  MinButton = D->MinButton;
  SysMenuButton = D->SysMenuButton;
  TrackMarkColor = D->TrackMarkColor;
  TrackMarkActiveColor = D->TrackMarkActiveColor;
  StretchEffect = D->StretchEffect;
  ItemTransparent = D->ItemTransparent;
  const Integer P = D->PictureIndex;
  Picture = P >= 0 && P < FSD->FActivePictures.Count() ? FSD->FActivePictures[P] : nullptr;
}

void TspSkinMainMenuBar::BeforeChangeSkinData() {
  FSkinSupport = false;
  TspSkinControl::BeforeChangeSkinData();
  ClearObjects();
}

void TspSkinMainMenuBar::ChangeSkinData() {
  GetSkinData();
  FSkinSupport = FIndex != -1;
  CreateMenu();
  if (FSkinSupport)
    SetHeight(RectHeight(SkinRect));
  else if (FDefaultHeight > 0)
    SetHeight(FDefaultHeight);
  Repaint();
}

void TspSkinMainMenuBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  if (FIndex != -1 && !IsNullRect(SkinRect)) AHeight = RectHeight(SkinRect);
  TspSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Repaint();
}

// --- Building --------------------------------------------------------------------------------------

TMainMenu* TspSkinMainMenuBar::GetChildMainMenu() const {
  if (FMergeMenu) return FMergeMenu;
  TForm* Main = Application->MainForm();
  TForm* Child = Main ? Main->ActiveMDIChild() : nullptr;
  if (!Child) return nullptr;
  for (Integer I = 0; I < Child->ComponentCount(); ++I)
    if (auto* M = dynamic_cast<TMainMenu*>(Child->Components(I))) return M;
  return nullptr;
}

void TspSkinMainMenuBar::CreateMenu() {
  ClearObjects();
  TMainMenu* Child = nullptr;
  if (DSF && (DSF->IsMDIMainForm() || FMergeMenu)) Child = GetChildMainMenu();
  if (!FMainMenu) return;
  TspDataSkinMainMenuBarItem* Data = FSkinSupport ? BarSkinObject<TspDataSkinMainMenuBarItem>(FSD, MenuBarItem) : nullptr;
  ChildMenuIn = Child != nullptr;
  if (Child) FScrollMenu = false;
  std::vector<TMenuItem*> L;
  TMenuItem* Main = FMainMenu->Items();
  if (Child) {
    TMenuItem* CI = Child->Items();
    for (Integer I = 0; I < Main->Count(); ++I) {
      Boolean Replaced = false;
      for (Integer J = 0; J < CI->Count() && !Replaced; ++J)
        Replaced = CI->Items(J)->GroupIndex() == Main->Items(I)->GroupIndex();
      if (!Replaced) L.push_back(Main->Items(I));
    }
    for (Integer J = 0; J < CI->Count(); ++J) L.push_back(CI->Items(J));
    std::stable_sort(L.begin(), L.end(),
                     [](const TMenuItem* A, const TMenuItem* B) { return A->GroupIndex() < B->GroupIndex(); });
  } else {
    for (Integer I = 0; I < Main->Count(); ++I) L.push_back(Main->Items(I));
  }
  for (TMenuItem* Item : L) {
    if (!Item->Visible()) continue;
    auto* T = new TspSkinMainMenuBarItem(this, Data);
    T->IDName = Item->Name();
    T->Enabled = Item->Enabled();
    T->OldEnabled = T->Enabled;
    T->MenuItem = Item;
    ObjectList.push_back(T);
  }
  if (FMDIChildMax) {
    AddSysButtons();
    if (TspFormSkin* C = FindMaximizedChildSkinForm()) EnableSysButtons(C->BorderIcons());
  }
}

void TspSkinMainMenuBar::Merge(TMainMenu* Menu) {
  FMergeMenu = Menu;
  UpDateItems();
}

void TspSkinMainMenuBar::UnMerge() {
  FMergeMenu = nullptr;
  UpDateItems();
}

void TspSkinMainMenuBar::UpDateItems() {
  CreateMenu();
  Repaint();
  ActiveObject = OldActiveObject = -1;
  MouseTimer->SetEnabled(true);
}

void TspSkinMainMenuBar::UpDateEnabledItems() {
  for (TspSkinMainMenuBarItem* T : Titles())
    if (T->MenuItem) T->Enabled = T->MenuItem->Enabled();
  Repaint();
}

// --- Layout and painting -----------------------------------------------------------------------

void TspSkinMainMenuBar::CalcItemsRect() {
  if (FSkinSupport)
    NewItemsRect = Rect(ItemsRect.Left, ItemsRect.Top, Width() - (RectWidth(SkinRect) - ItemsRect.Right),
                        ItemsRect.Bottom);
  else
    NewItemsRect = Rect(2, 2, Width() - 2, Height() - 2);
  if (!FMDIChildMax || ButtonsCount != 4) return;
  const Integer H = RectHeight(NewItemsRect);
  auto Size = [&](TspMenuBarObject* B) {
    auto* Btn = static_cast<TspSkinMainMenuBarButton*>(B);
    if (Btn->FSkinSupport && Btn->Picture) return TSize{RectWidth(Btn->SkinRect), RectHeight(Btn->SkinRect)};
    return TSize{H, H};
  };
  auto Place = [&](TspMenuBarObject* B, Integer Left) {
    const TSize S = Size(B);
    const Integer Top = NewItemsRect.Top + H / 2 - S.cy / 2;
    B->ObjectRect = Rect(Left, Top, Left + S.cx, Top + S.cy);
    return S.cx;
  };
  NewItemsRect.Left += Place(ObjectList[0], NewItemsRect.Left) + 2;
  for (size_t I = 1; I < 4; ++I) {
    const Integer W = Size(ObjectList[I]).cx;
    Place(ObjectList[I], NewItemsRect.Right - W);
    NewItemsRect.Right -= W + 2;
  }
}

void TspSkinMainMenuBar::PaintBar(HDC DC) {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  BarImage.SetSize(Width(), Height());
  TCanvas* C = BarImage.Canvas();
  if (!FSkinSupport || !Picture) {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, Width(), Height()));
  } else if (FSD->MainMenuBarTransparent) {
    CopyParentImage(this, C);
  } else {
    CreateHSkinImage(ItemsRect.Left, RectWidth(SkinRect) - ItemsRect.Right, &BarImage, Picture, SkinRect, Width(),
                     Height(), StretchEffect);
  }
  CalcItemsRect();
  Scroll = false;
  // The bar image under the titles stays as it is for transparent titles.
  TBitmap Composed;
  Composed.Assign(&BarImage);
  for (TspMenuBarObject* Obj : ObjectList)
    if (Obj->Visible) Obj->Draw(Composed.Canvas());
  if (Scroll && FScrollMenu) DrawMarker(Composed.Canvas());
  TCanvas Out;
  Out.SetHandle(DC);
  Out.Draw(0, 0, &Composed);
  Out.SetHandle(nullptr);
}

TRect TspSkinMainMenuBar::GetMarkerRect() const {
  return Rect(NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom);
}

void TspSkinMainMenuBar::DrawMarker(TCanvas* Cnvs) {
  TColor Colour;
  if (FSkinSupport)
    Colour = MarkerActive ? TrackMarkActiveColor : TrackMarkColor;
  else
    Colour = MarkerActive ? clBtnText : clBtnShadow;
  DrawArrow(Cnvs, GetMarkerRect(), Colour, 2);
}

void TspSkinMainMenuBar::DrawSkinObject(TspMenuBarObject* Obj) {
  if (!HandleAllocated()) return;
  if (dynamic_cast<TspSkinMainMenuBarItem*>(Obj) && FSkinSupport && ItemTransparent) {
    Repaint();
    return;
  }
  if (!Obj->Visible) return;
  Obj->Draw(Canvas());
  ShowMenuDrawing(Canvas());
}

void TspSkinMainMenuBar::PopupHiddenItems() {
  if (!DSF || !FMainMenu) return;
  Integer N = 0;
  for (TspSkinMainMenuBarItem* T : Titles())
    if (T->Visible) ++N;
  TRect R = GetMarkerRect();
  const TPoint P = ClientToScreen(Point(R.Left, R.Top));
  OffsetRect(&R, P.X - R.Left, P.Y - R.Top);
  TMainMenu* M = DSF->IsMDIMainForm() || FMergeMenu ? GetChildMainMenu() : nullptr;
  DSF->SkinMenuOpen();
  if (M)
    DSF->SkinMenu->Popup2(nullptr, FSD, N, R, M->Items(), FMainMenu->Items(), false);
  else
    DSF->SkinMenu->Popup(nullptr, FSD, N, R, FMainMenu->Items(), false);
}

void TspSkinMainMenuBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      PaintBar(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_SIZE:
      TspSkinControl::WndProc(Message);
      CalcItemsRect();
      return;
    case WM_MOVE:
      TspSkinControl::WndProc(Message);
      if (FSkinSupport && FSD && FSD->MainMenuBarTransparent && Align() == alNone) Repaint();
      return;
    case WM_SKIN_CHECK_PARENT_BACKGROUND:
      if (FSkinSupport && FSD && FSD->MainMenuBarTransparent) Repaint();
      return;
    case WM_SKINMENU_CLOSED:
      ReleaseSysMenuButton();
      return;
    default:
      TspSkinControl::WndProc(Message);
  }
}

// --- MDI child buttons -------------------------------------------------------------------------

void TspSkinMainMenuBar::AddSysButtons() {
  ButtonsCount = 0;
  struct Role {
    const String* SkinName;
    const char* Name;
    TStdCommand Command;
  };
  const Role Roles[] = {{&MinButton, "MinButton", cmMinimize},
                        {&MaxButton, "MaxButton", cmMaximize},
                        {&CloseButton, "CloseButton", cmClose},
                        {&SysMenuButton, "SysMenuButton", cmSysMenu}};
  for (const Role& R : Roles) {
    const String Name = FSkinSupport ? *R.SkinName : String(R.Name);
    auto* Data = BarSkinObject<TspDataSkinMainMenuBarButton>(FSD, Name);
    auto* B = new TspSkinMainMenuBarButton(this, Data);
    // Each button acts by its role, whatever the skin gives it.
    B->Command = R.Command;
    B->IDName = Name;
    ObjectList.insert(ObjectList.begin(), B);
    ++ButtonsCount;
  }
}

void TspSkinMainMenuBar::RemoveSysButtons() {
  for (Integer I = 0; I < ButtonsCount && !ObjectList.empty(); ++I) {
    FreeObject(ObjectList.front());
    ObjectList.erase(ObjectList.begin());
  }
  ActiveObject = MouseCaptureObject = -1;
  ButtonsCount = 0;
}

void TspSkinMainMenuBar::EnableSysButtons(TspBorderIcons Icons) {
  for (Integer I = 0; I < ButtonsCount && I < ObjectCount(); ++I) {
    auto* B = static_cast<TspSkinMainMenuBarButton*>(ObjectList[static_cast<size_t>(I)]);
    B->Enabled = true;
    if (B->Command == cmMinimize && !Icons.Contains(TspBorderIcon::biMinimize)) B->Enabled = false;
    if (B->Command == cmSysMenu && !Icons.Contains(TspBorderIcon::biSystemMenu)) B->Enabled = false;
  }
}

void TspSkinMainMenuBar::MDIChildMaximize() {
  if (FMDIChildMax) return;
  FMDIChildMax = true;
  OldActiveObject = ActiveObject = MouseCaptureObject = -1;
  AddSysButtons();
  if (TspFormSkin* C = FindMaximizedChildSkinForm()) EnableSysButtons(C->BorderIcons());
  Repaint();
}

void TspSkinMainMenuBar::MDIChildRestore() {
  TspFormSkin* C = FindMaximizedChildSkinForm();
  if (!C && FMDIChildMax) {
    FMDIChildMax = false;
    RemoveSysButtons();
    Repaint();
  } else if (C) {
    EnableSysButtons(C->BorderIcons());
  }
}

void TspSkinMainMenuBar::ReleaseSysMenuButton() {
  for (Integer I = 0; I < ObjectCount(); ++I) {
    auto* B = dynamic_cast<TspSkinMainMenuBarButton*>(ObjectList[static_cast<size_t>(I)]);
    if (!B || B->Command != cmSysMenu || !B->FDown) continue;
    if (I != ActiveObject) B->Active = B->FMouseIn = false;
    B->FDown = false;
    B->ReDraw();
  }
}

// --- Menu mode and keys --------------------------------------------------------------------------

void TspSkinMainMenuBar::EnterMenuMode() {
  MenuActive = true;
  const std::vector<TspSkinMainMenuBarItem*> T = Titles();
  TspSkinMainMenuBarItem* Chosen = nullptr;
  for (TspSkinMainMenuBarItem* Title : T)
    if (Title->Active) {
      Chosen = Title;
      break;
    }
  if (!Chosen && !T.empty()) Chosen = T.front();
  if (Chosen) Chosen->MouseEnter();
  if (!DSF) return;
  DSF->HookAppMessages();
  DSF->InMainMenu = true;
  if (DSF->OnMainMenuEnter) DSF->OnMainMenuEnter(this);
}

void TspSkinMainMenuBar::ExitMenuMode() {
  MenuActive = false;
  for (TspSkinMainMenuBarItem* T : Titles()) {
    if (!T->FDown && !T->Active) continue;
    T->Active = T->FMouseIn = T->FDown = false;
    if (T->EnableMorphing()) T->SetMorphKf(1);
    if (!T->EnableAnimation() || T->InActiveAnimation) {
      T->ReDraw();
    } else {
      T->CurrentFrame = 0;
      DrawSkinObject(T);
    }
    break;
  }
  ActiveObject = OldActiveObject = -1;
}

void TspSkinMainMenuBar::ReleaseDownItem() {
  for (TspSkinMainMenuBarItem* T : Titles()) {
    if (!T->FDown) continue;
    T->FDown = false;
    T->Active = true;
    if (T->EnableMorphing()) T->SetMorphKf(1);
    DrawSkinObject(T);
    return;
  }
}

void TspSkinMainMenuBar::NextMainMenuItem() {
  const std::vector<TspSkinMainMenuBarItem*> T = Titles();
  std::vector<TspSkinMainMenuBarItem*> U;
  for (TspSkinMainMenuBarItem* Title : T)
    if (Usable(Title)) U.push_back(Title);
  if (U.empty()) return;
  for (size_t I = 0; I < U.size(); ++I) {
    if (!U[I]->Active && !U[I]->FDown) continue;
    U[I]->MouseLeave();
    U[(I + 1) % U.size()]->MouseEnter();
    return;
  }
  U.front()->MouseEnter();
}

void TspSkinMainMenuBar::PriorMainMenuItem() {
  const std::vector<TspSkinMainMenuBarItem*> T = Titles();
  std::vector<TspSkinMainMenuBarItem*> U;
  for (TspSkinMainMenuBarItem* Title : T)
    if (Usable(Title)) U.push_back(Title);
  if (U.empty()) return;
  for (size_t I = U.size(); I-- > 0;) {
    if (!U[I]->Active && !U[I]->FDown) continue;
    U[I]->MouseLeave();
    U[I == 0 ? U.size() - 1 : I - 1]->MouseEnter();
    return;
  }
  U.back()->MouseEnter();
}

Boolean TspSkinMainMenuBar::PressActiveItem() {
  if (!DSF) return false;
  for (TspSkinMainMenuBarItem* T : Titles()) {
    const Boolean PressedLeaf = T->FDown && T->MenuItem && T->MenuItem->Count() == 0;
    if (!PressedLeaf && !(T->Active && !DSF->InMenu)) continue;
    T->Active = false;
    T->MouseDown(0, 0, mbLeft);
    return true;
  }
  return false;
}

Boolean TspSkinMainMenuBar::CheckHotKey(Word Key) {
  if (!DSF || ObjectList.empty() || !DSF->FForm->Visible()) return false;
  for (TspSkinMainMenuBarItem* T : Titles()) {
    if (!Usable(T) || !T->MenuItem || !IsAccel(Key, T->MenuItem->Caption())) continue;
    T->MouseEnter();
    if (!(DSF->InMenu && T->MenuItem->Count() > 0)) T->MouseDown(0, 0, mbLeft);
    return true;
  }
  return false;
}

// --- Mouse -----------------------------------------------------------------------------------------

void TspSkinMainMenuBar::TestActive(Integer X, Integer Y) {
  if (ObjectList.empty()) return;
  OldActiveObject = ActiveObject;
  Integer Hit = -1;
  const TPoint P = Point(X, Y);
  for (Integer I = 0; I < ObjectCount(); ++I) {
    TspMenuBarObject* Obj = ObjectList[static_cast<size_t>(I)];
    if (Obj->Enabled && PtInRect(&Obj->ObjectRect, P)) {
      Hit = I;
      break;
    }
  }
  if (Hit == -1 && MenuActive && dynamic_cast<TspSkinMainMenuBarItem*>(ObjectAt(ActiveObject)))
    Hit = ActiveObject;
  ActiveObject = Hit;
  if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject) ActiveObject = -1;
  if (ActiveObject >= ObjectCount()) ActiveObject = -1;
  if (ActiveObject != OldActiveObject) {
    if (TspMenuBarObject* Old = ObjectAt(OldActiveObject); Old && Old->Enabled) Old->MouseLeave();
    if (TspMenuBarObject* New = ObjectAt(ActiveObject); New && New->Enabled) New->MouseEnter();
  }
  if (Scroll && FScrollMenu) {
    const TRect M = GetMarkerRect();
    const Boolean On = PtInRect(&M, P) != FALSE;
    if (On != MarkerActive) {
      MarkerActive = On;
      if (HandleAllocated()) DrawMarker(Canvas());
    }
  }
}

void TspSkinMainMenuBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (!MouseTimer->Enabled()) MouseTimer->SetEnabled(true);
  TspSkinControl::MouseMove(Shift, X, Y);
}

void TspSkinMainMenuBar::MouseTimerTick(TObject*) {
  TPoint P{};
  GetCursorPos(&P);
  P = ScreenToClient(P);
  if (P.X < 0 || P.Y < 0 || P.X >= Width() || P.Y >= Height()) {
    MouseTimer->SetEnabled(false);
    TestActive(-1, -1);
  } else {
    TestActive(P.X, P.Y);
  }
}

void TspSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinControl::MouseDown(Button, Shift, X, Y);
  TestActive(X, Y);
  if (TspMenuBarObject* Obj = ObjectAt(ActiveObject)) {
    MouseCaptureObject = ActiveObject;
    Obj->MouseDown(X, Y, Button);
    if (Shift.Contains(ssDouble)) Obj->DblClick();
    return;
  }
  const TRect M = GetMarkerRect();
  if (Scroll && FScrollMenu && PtInRect(&M, Point(X, Y))) PopupHiddenItems();
}

void TspSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (TspMenuBarObject* Obj = ObjectAt(MouseCaptureObject)) Obj->MouseUp(X, Y, Button);
  MouseCaptureObject = -1;
  TspSkinControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinMainMenuBar::CMMouseEnter(TWMNoParams& Message) {
  TspSkinControl::CMMouseEnter(Message);
  if (!ComponentState().Contains(csDesigning)) MouseTimer->SetEnabled(true);
}

void TspSkinMainMenuBar::CMMouseLeave(TWMNoParams& Message) {
  TspSkinControl::CMMouseLeave(Message);
  if (ComponentState().Contains(csDesigning)) return;
  MouseTimer->SetEnabled(false);
  TestActive(-1, -1);
}

void TspSkinMainMenuBar::MorphTimerTick(TObject*) {
  Boolean Any = false;
  for (TspMenuBarObject* Obj : ObjectList)
    if (Obj->EnableMorphing() && Obj->CanMorphing()) {
      Obj->DoMorphing();
      Any = true;
    }
  if (!Any) MorphTimer->SetEnabled(false);
}

void TspSkinMainMenuBar::AnimateTimerTick(TObject*) {
  Boolean Any = false;
  for (TspSkinMainMenuBarItem* T : Titles()) {
    if (!T->EnableAnimation()) continue;
    if (T->Active && T->CurrentFrame <= T->FrameCount) {
      ++T->CurrentFrame;
    } else if (!T->Active && T->CurrentFrame > 0) {
      --T->CurrentFrame;
    } else {
      continue;
    }
    DrawSkinObject(T);
    Any = true;
  }
  if (!Any) AnimateTimer->SetEnabled(false);
}
