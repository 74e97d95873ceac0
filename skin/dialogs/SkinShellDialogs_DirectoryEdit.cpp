// TspSkinDirectoryEdit: a skinned edit whose button picks a folder with its own picker.
#include "skin/dialogs/SkinShellDialogs.h"

TspSkinDirectoryEdit::TspSkinDirectoryEdit(TComponent* AOwner) : TspSkinEdit(AOwner) {
  ControlStyle.Exclude(csSetCaption);
  SetButtonMode(true);
  OnButtonClick = [this](TObject* Sender) { ButtonClick(Sender); };
  SetSkinDataName("buttonedit");
  FDlg = TspSkinSelectDirectoryDialog::Create(this);
}

TspSkinDirectoryEdit::~TspSkinDirectoryEdit() = default;

void TspSkinDirectoryEdit::SetDlgSkinData(TspSkinData* Value) {
  FDlgSkinData = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinDirectoryEdit::SetDlgCtrlSkinData(TspSkinData* Value) {
  FDlgCtrlSkinData = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinDirectoryEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDlgSkinData) FDlgSkinData = nullptr;
  if (AComponent == FDlgCtrlSkinData) FDlgCtrlSkinData = nullptr;
  if (AComponent == FDlg) FDlg = nullptr;
}

void TspSkinDirectoryEdit::ButtonClick(TObject*) {
  if (!FDlg) return;
  FDlg->SetDirectory(Text());
  FDlg->SetSkinData(FDlgSkinData);
  FDlg->SetCtrlSkinData(FDlgCtrlSkinData);
  if (FDlg->Execute()) SetText(FDlg->Directory());
}
