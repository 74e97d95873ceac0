// TspSkinOpenDialog: its settings, and Execute, which builds a fresh form, shows it
// modally, takes the results back and always frees the form again.
#include <exception>

#include "platform/rtl/FileUtils.h"
#include "skin/dialogs/SkinShellDialogs.h"

namespace {

constexpr Integer OpenDlgDefaultWidth = 450;
constexpr Integer OpenDlgDefaultHeight = 290;

TOwned<TFont> OpenDlgDefaultFont() {
  TOwned<TFont> F = CreateOwned<TFont>();
  F->SetName("Arial");
  F->SetHeight(14);
  F->SetStyle(TFontStyles{});
  return F;
}

// Frees the shown form and forgets it on every way out.
struct OpenDlgFormOwner {
  TspOpenDlgForm*& Shown;
  TOwned<TspOpenDlgForm> Form;
  ~OpenDlgFormOwner() {
    Shown = nullptr;
    Form.reset();
  }
};

}  // namespace

TspSkinOpenDialog::TspSkinOpenDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(OpenDlgDefaultFont()), FFiles(CreateOwned<TStringList>()) {}

TspSkinOpenDialog::~TspSkinOpenDialog() = default;

void TspSkinOpenDialog::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinOpenDialog::SetCtrlSkinData(TspSkinData* Value) {
  FCtrlSD = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinOpenDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlSD) FCtrlSD = nullptr;
}

void TspSkinOpenDialog::SetFileName(const String& Value) {
  FFileName = Value;
  if (FForm) FForm->FileNameEdit->SetText(Value);
}

String TspSkinOpenDialog::GetSelectedFile() { return FForm ? FForm->FileListView->GetSelectedFile() : String(); }

void TspSkinOpenDialog::SetUpForm(TspOpenDlgForm* F) {
  F->SetCaption(FTitle);
  TspFormSkin* DSF = F->DSF;
  DSF->SetBorderIcons(TspBorderIcons{});
  DSF->SetSkinData(FSD);
  DSF->SetMenusSkinData(FCtrlSD);
  DSF->SetMinWidth(FDialogMinWidth);
  DSF->SetMinHeight(FDialogMinHeight);
  DSF->SetAlphaBlend(FAlphaBlend);
  DSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  DSF->SetAlphaBlendValue(FAlphaBlendValue);
  DSF->SetMenusAlphaBlend(FCtrlAlphaBlend);
  DSF->SetMenusAlphaBlendAnimation(FCtrlAlphaBlendAnimation);
  DSF->SetMenusAlphaBlendValue(FCtrlAlphaBlendValue);
  for (TspSkinCustomComboBox* Box : {static_cast<TspSkinCustomComboBox*>(F->ShellBox),
                                     static_cast<TspSkinCustomComboBox*>(F->FilterComboBox)}) {
    Box->SetListBoxAlphaBlend(FCtrlAlphaBlend);
    Box->SetListBoxAlphaBlendValue(FCtrlAlphaBlendValue);
    Box->SetListBoxAlphaBlendAnimation(FCtrlAlphaBlendAnimation);
  }
  F->OpenButton->SetDefaultFont(FDefaultFont.get());
  F->CancelButton->SetDefaultFont(FDefaultFont.get());
  F->ShellBox->SetDefaultFont(FDefaultFont.get());
  F->FileListView->SetDefaultFont(FDefaultFont.get());
  // The frame's borders are in place, and the boxes have their windows, before they are filled.
  F->HandleNeeded();

  F->ShowViewStyle(FLVStyle);
  TspSkinFileListView* List = F->FileListView;
  List->SetRoot(FileDialogStartFolder(FFileName, FInitialDir));
  List->SetMask(F->FilterComboBox->Text());
  List->SetHeaderSkinDataName(FLVHeaderSkinDataName);
  List->SetSkinData(FCtrlSD);
  List->SetMultiSelect(FMultiSelection);
  if (FShowHiddenFiles) List->SetObjectTypes(List->ObjectTypes() + TShellObjectTypes{otHidden});

  F->FilterComboBox->SetFilter(FFilter);
  F->FilterComboBox->SetItemIndex(FFilterIndex - 1);
  // No entry chosen raises no change, but the list still needs the mask the box answers.
  F->FCBChange(F->FilterComboBox);

  F->FileListViewPanel->SetSkinData(FCtrlSD);
  F->BottomPanel->SetSkinData(FCtrlSD);
  F->ToolPanel->SetSkinData(FCtrlSD);
  F->Drivelabel->SetSkinData(FCtrlSD);
  for (TspSkinSpeedButton* B : {F->BackToolButton, F->UpToolButton, F->NewFolderToolButton,
                                static_cast<TspSkinSpeedButton*>(F->StyleToolButton)})
    B->SetSkinData(FCtrlSD);
  F->FLVHScrollBar->SetSkinData(FCtrlSD);
  F->FLVVScrollBar->SetSkinData(FCtrlSD);
  F->FileNameEdit->SetSkinData(FCtrlSD);
  F->FilterComboBox->SetSkinData(FCtrlSD);
  F->OpenButton->SetSkinData(FCtrlSD);
  F->CancelButton->SetSkinData(FCtrlSD);
  F->OpenFileLabel->SetSkinData(FCtrlSD);
  F->FileTypeLabel->SetSkinData(FCtrlSD);
  F->ShellBox->SetSkinData(FCtrlSD);
  F->ShellBox->SetSkinDataName("combobox");

  Integer W = FDialogWidth > 0 ? FDialogWidth : OpenDlgDefaultWidth;
  Integer H = FDialogHeight > 0 ? FDialogHeight : OpenDlgDefaultHeight;
  if (FSD && !FSD->Empty) {
    W = std::max(W, DSF->GetMinWidth());
    H = std::max(H, DSF->GetMinHeight());
  }
  F->SetClientWidth(W);
  F->SetClientHeight(H);
  if (List->FolderCount() > 0) List->SetItemFocused(List->Items()->Item(0));
  F->FileNameEdit->SetText(ExtractFileName(FFileName));
  F->InitHistory();
}

Boolean TspSkinOpenDialog::Execute() {
  if (OnShow) OnShow(this);
  OpenDlgFormOwner Owner{FForm, TOwned<TspOpenDlgForm>(
                                    TspOpenDlgForm::Create(Application, FToolButtonsTransparent, FCtrlSD, FSaveMode))};
  TspOpenDlgForm* F = Owner.Form.get();
  FForm = F;
  Boolean Result = false;
  std::exception_ptr Error;
  try {
    F->OnFolderChange = OnFolderChange;
    F->CheckFileExists = FCheckFileExists;
    F->OverwritePromt = FOverwritePromt;
    F->DefaultExt = FDefaultExt;
    SetUpForm(F);
    Result = F->ShowModal() == mrOk;
    FFilterIndex = F->FilterComboBox->ItemIndex() + 1;
    FDialogWidth = F->ClientWidth();
    FDialogHeight = F->ClientHeight();
    FLVStyle = F->FileListView->ViewStyle();
    if (Result) {
      FFileName = F->FileName;
      F->FileListView->GetSelectedFiles(FFiles.get());
      if (FSaveMode) FFileName = CompleteSaveName(FFileName, F->FilterComboBox->Mask(), FDefaultExt);
    }
  } catch (...) {
    Error = std::current_exception();
  }
  if (OnClose) OnClose(this);
  if (Error) std::rethrow_exception(Error);
  return Result;
}
