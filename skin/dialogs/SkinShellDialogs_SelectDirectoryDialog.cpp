// TspSkinSelectDirectoryDialog: its settings, and Execute, which builds a fresh folder
// picker, shows it modally, takes the chosen folder back and always frees the form.
#include <exception>

#include "platform/rtl/FileUtils.h"
#include "skin/dialogs/SkinShellDialogs.h"

namespace {

constexpr Integer SelDirDefaultSize = 280;

TOwned<TFont> SelDirDefaultFont() {
  TOwned<TFont> F = CreateOwned<TFont>();
  F->SetName("Arial");
  F->SetHeight(14);
  F->SetStyle(TFontStyles{});
  return F;
}

// Frees the shown form and forgets it on every way out.
struct SelDirFormOwner {
  TspSelDirDlgForm*& Shown;
  TOwned<TspSelDirDlgForm> Form;
  ~SelDirFormOwner() {
    Shown = nullptr;
    Form.reset();
  }
};

}  // namespace

TspSkinSelectDirectoryDialog::TspSkinSelectDirectoryDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(SelDirDefaultFont()) {}

TspSkinSelectDirectoryDialog::~TspSkinSelectDirectoryDialog() = default;

void TspSkinSelectDirectoryDialog::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinSelectDirectoryDialog::SetCtrlSkinData(TspSkinData* Value) {
  FCtrlSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinSelectDirectoryDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlSD) FCtrlSD = nullptr;
}

void TspSkinSelectDirectoryDialog::SetUpForm(TspSelDirDlgForm* F) {
  F->SetCaption(FTitle);
  TspFormSkin* DSF = F->DSF;
  DSF->SetBorderIcons(TspBorderIcons{});
  DSF->SetSkinData(FSD);
  DSF->SetMenusSkinData(FCtrlSD);
  DSF->SetAlphaBlend(FAlphaBlend);
  DSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  DSF->SetAlphaBlendValue(FAlphaBlendValue);
  DSF->SetMinWidth(FDialogMinWidth);
  DSF->SetMinHeight(FDialogMinHeight);

  F->DirTreeViewPanel->SetSkinData(FCtrlSD);
  F->DirTreeView->SetSkinData(FCtrlSD);
  F->VScrollBar->SetSkinData(FCtrlSD);
  F->HScrollBar->SetSkinData(FCtrlSD);
  F->OkButton->SetSkinData(FCtrlSD);
  F->CancelButton->SetSkinData(FCtrlSD);
  F->BottomPanel->SetSkinData(FCtrlSD);
  if (F->ShowToolBar) {
    F->ToolPanel->SetSkinData(FCtrlSD);
    F->NewFolderToolButton->SetSkinData(FCtrlSD);
    F->DirEdit->SetSkinData(FCtrlSD);
  }
  F->DirTreeView->SetDefaultFont(FDefaultFont.get());
  F->OkButton->SetDefaultFont(FDefaultFont.get());
  F->CancelButton->SetDefaultFont(FDefaultFont.get());
  // The frame's borders are in place, and the tree has its window, before it is filled.
  F->HandleNeeded();

  if (!FDirectory.empty() && DirectoryExists(FDirectory))
    F->DirTreeView->SetPath(FDirectory);
  else
    F->DirTreeView->ExpandMyComputer();

  Integer W = FDialogWidth > 0 ? FDialogWidth : SelDirDefaultSize;
  Integer H = FDialogHeight > 0 ? FDialogHeight : SelDirDefaultSize;
  if (FSD && !FSD->Empty) {
    W = std::max(W, DSF->GetMinWidth());
    H = std::max(H, DSF->GetMinHeight());
  }
  F->SetClientWidth(W);
  F->SetClientHeight(H);
}

Boolean TspSkinSelectDirectoryDialog::Execute() {
  if (OnShow) OnShow(this);
  SelDirFormOwner Owner{FForm, TOwned<TspSelDirDlgForm>(TspSelDirDlgForm::Create(Application, FToolButtonsTransparent,
                                                                                  FShowToolBar, FCtrlSD))};
  TspSelDirDlgForm* F = Owner.Form.get();
  FForm = F;
  Boolean Result = false;
  std::exception_ptr Error;
  try {
    SetUpForm(F);
    Result = F->ShowModal() == mrOk;
    FDialogWidth = F->ClientWidth();
    FDialogHeight = F->ClientHeight();
    if (Result) FDirectory = F->DirTreeView->Path();
  } catch (...) {
    Error = std::current_exception();
  }
  if (OnClose) OnClose(this);
  if (Error) std::rethrow_exception(Error);
  return Result;
}
