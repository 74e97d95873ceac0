// The notebook, its pages, the string view over the pages and the page buttons.
#include "skin/controls/SkinCtrls.h"

// --- page ------------------------------------------------------------------------------

TspSkinPage::TspSkinPage(TComponent* AOwner) : TspSkinPanel(AOwner) {
  SetVisible(false);
  ControlStyle.Include(csNoDesignVisible);
  SetAlign(alClient);
  SetBorderStyle(bvNone);
}

void TspSkinPage::Dispatch(TMessage& Message) {
  // At run time the notebook underneath takes the mouse hits on the page's own surface.
  if (Message.Msg == WM_NCHITTEST && !ComponentState().Contains(csDesigning)) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  TspSkinPanel::Dispatch(Message);
}

// --- the string view -------------------------------------------------------------------

Integer TspPageAccess::Count() const { return static_cast<Integer>(Notebook->FPageList.size()); }

String TspPageAccess::Get(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  return Notebook->FPageList[Index]->Caption();
}

TObject* TspPageAccess::GetObject(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  return Notebook->FPageList[Index];
}

void TspPageAccess::Put(Integer Index, const String& S) {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  Notebook->FPageList[Index]->SetCaption(S);
  if (Notebook->FButtonsMode) Notebook->UpdateButton(Index, S);
  Notebook->PagesModified();
}

Integer TspPageAccess::Add(const String& S) {
  Insert(Count(), S);
  return Count() - 1;
}

void TspPageAccess::Insert(Integer Index, const String& S) {
  if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
  auto* Page = ::Create<TspSkinPage>(Notebook);
  Page->SetParent(Notebook);
  Page->SetCaption(S);
  Notebook->FPageList.insert(Notebook->FPageList.begin() + Index, Page);
  Notebook->ShowPageAt(Index);
  if (Notebook->FButtonsMode) Notebook->RebuildButtons();
  Notebook->PagesModified();
}

void TspPageAccess::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  TspSkinPage* Page = Notebook->FPageList[Index];
  Notebook->FPageList.erase(Notebook->FPageList.begin() + Index);
  Page->Free();
  Notebook->ShowPageAt(0);
  if (Notebook->FButtonsMode) Notebook->RebuildButtons();
  Notebook->PagesModified();
}

void TspPageAccess::Clear() {
  std::vector<TspSkinPage*> Pages;
  Pages.swap(Notebook->FPageList);
  for (TspSkinPage* Page : Pages) Page->Free();
  Notebook->FPageIndex = -1;
  if (Notebook->FButtonsMode) Notebook->RebuildButtons();
  Notebook->PagesModified();
}

void TspPageAccess::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  if (CurIndex < 0 || CurIndex >= Count()) Error(SListIndexError, CurIndex);
  if (NewIndex < 0 || NewIndex >= Count()) Error(SListIndexError, NewIndex);
  std::swap(Notebook->FPageList[CurIndex], Notebook->FPageList[NewIndex]);
  if (Notebook->FButtonsMode) Notebook->RebuildButtons();
}

// --- page button -----------------------------------------------------------------------

TspPageButton::TspPageButton(TComponent* AOwner, Integer APageIndex, TspSkinNotebook* ANoteBook)
    : TspSkinSpeedButton(AOwner), FPageIndex(APageIndex), FNoteBook(ANoteBook) {
  SetNumGlyphs(1);
  SetSpacing(5);
  SetSkinDataName(ANoteBook->ButtonSkinDataName());
}

void TspPageButton::ButtonClick() {
  FNoteBook->SetPageIndex(FPageIndex);
  TspSkinSpeedButton::ButtonClick();
}

// --- notebook --------------------------------------------------------------------------

TspSkinNotebook::TspSkinNotebook(TComponent* AOwner)
    : TspSkinPanel(AOwner), FAccess(std::make_unique<TspPageAccess>(this)) {
  ControlStyle.Exclude(csAcceptsControls);
  ControlStyle.Exclude(csCaptureMouse);
  ControlStyle.Exclude(csClickEvents);
  SetBorderStyle(bvFrame);
  SetBounds(Left(), Top(), 150, 150);
  FAccess->Add("Default");
}

TspSkinNotebook::~TspSkinNotebook() = default;

void TspSkinNotebook::CreateParams(TCreateParams& Params) {
  TspSkinPanel::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinNotebook::SetPages(TStrings* Value) { FAccess->Assign(Value); }

String TspSkinNotebook::ActivePage() const {
  if (FPageIndex < 0 || FPageIndex >= FAccess->Count()) return String();
  return FAccess->Get(FPageIndex);
}

void TspSkinNotebook::SetActivePage(const String& Value) { SetPageIndex(FAccess->IndexOf(Value)); }

void TspSkinNotebook::SetPageIndex(Integer Value) {
  if (ComponentState().Contains(csLoading)) {
    FPageIndex = Value;
    return;
  }
  const Integer Count = static_cast<Integer>(FPageList.size());
  if (Value == FPageIndex || Value < 0 || Value >= Count) return;
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form->ActiveControl() && ContainsControl(Form->ActiveControl())) Form->SetActiveControl(this);
  TspSkinPage* Page = FPageList[Value];
  Page->BringToFront();
  Page->SetSkinData(FSD);
  Page->SetVisible(true);
  Page->SetAlign(alClient);
  if (FPageIndex >= 0 && FPageIndex < Count && FPageList[FPageIndex] != Page) FPageList[FPageIndex]->SetVisible(false);
  FPageIndex = Value;
  if (Form && Form->ActiveControl() == this) SelectNext(nullptr, true, true);
  if (FButtonsMode) {
    for (Integer I = ButtonCount() - 1; I >= 0; --I)
      if (FButtons[I]->PageIndex() > FPageIndex && FButtons[I]->Align() != alBottom) FButtons[I]->SetAlign(alBottom);
    for (Integer I = 0; I < ButtonCount(); ++I)
      if (FButtons[I]->PageIndex() <= FPageIndex && FButtons[I]->Align() != alTop) FButtons[I]->SetAlign(alTop);
  }
  if (OnPageChanged) OnPageChanged(this);
}

// The stored index no longer names the page shown after an insert or delete: whatever
// page now lies at Index is shown, the others hidden; with no pages none is current.
void TspSkinNotebook::ShowPageAt(Integer Index) {
  FPageIndex = -1;
  if (FPageList.empty()) return;
  SetPageIndex(std::min<Integer>(Index, static_cast<Integer>(FPageList.size()) - 1));
  for (Integer I = 0; I < static_cast<Integer>(FPageList.size()); ++I)
    if (I != FPageIndex) FPageList[I]->SetVisible(false);
}

void TspSkinNotebook::SetButtonsMode(Boolean Value) {
  FButtonsMode = Value;
  if (Value)
    RebuildButtons();
  else
    FreeButtons();
}

void TspSkinNotebook::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  if (FButtonsMode) RebuildButtons();
}

void TspSkinNotebook::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    if (FButtonsMode) RebuildButtons();
  }
  // A page freed from outside leaves the list.
  auto* Page = dynamic_cast<TspSkinPage*>(AComponent);
  if (Page) std::erase(FPageList, Page);
  std::erase_if(FButtons, [AComponent](TspPageButton* B) { return B == AComponent; });
}

void TspSkinNotebook::FreeButtons() {
  std::vector<TspPageButton*> Old;
  Old.swap(FButtons);
  for (TspPageButton* B : Old) B->Free();
}

void TspSkinNotebook::RebuildButtons() {
  if (FPageList.empty()) return;
  FreeButtons();
  for (Integer I = 0; I < static_cast<Integer>(FPageList.size()); ++I) {
    auto* B = ::Create<TspPageButton>(this, I, this);
    FButtons.push_back(B);
    B->SetTop(Height());
    B->SetAlign(I > FPageIndex ? alBottom : alTop);
    B->SetParent(this);
    B->SetDefaultHeight(25);
    B->SetSkinData(FSD);
    B->SetCaption(FAccess->Get(I));
    const Integer Image = FPageList[I]->ImageIndex();
    if (Image != -1 && FImages && Image < FImages->Count()) {
      B->SetImageList(FImages);
      B->SetImageIndex(Image);
    } else {
      B->SetImageList(nullptr);
      B->SetImageIndex(-1);
    }
  }
}

void TspSkinNotebook::UpdateButton(Integer APageIndex, const String& ACaption) {
  for (TspPageButton* B : FButtons) {
    if (B->PageIndex() != APageIndex) continue;
    B->SetCaption(ACaption);
    B->SetImageList(FImages);
    B->SetImageIndex(FPageList[APageIndex]->ImageIndex());
    B->Repaint();
  }
}

void TspSkinNotebook::ShowControl(TControl* AControl) {
  for (Integer I = 0; I < static_cast<Integer>(FPageList.size()); ++I)
    if (FPageList[I] == AControl) {
      SetPageIndex(I);
      return;
    }
  TspSkinPanel::ShowControl(AControl);
}

void TspSkinNotebook::Loaded() {
  TspSkinPanel::Loaded();
  if (FPageIndex >= 0 && FPageIndex < static_cast<Integer>(FPageList.size())) {
    FPageList[FPageIndex]->SetSkinData(FSD);
    FPageList[FPageIndex]->SetSkinDataName(FSkinDataName);
  }
  if (FButtonsMode) RebuildButtons();
  for (TspSkinPage* Page : FPageList) {
    Page->DisableAlign();
    Page->HandleNeeded();
    Page->EnableAlign();
  }
}

void TspSkinNotebook::PagesModified() {}
