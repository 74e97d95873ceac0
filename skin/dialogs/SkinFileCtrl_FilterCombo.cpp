// The filter box: the pairs of a filter text become entries (description shown, mask kept
// beside it), and the chosen mask goes to the linked file list.
#include "platform/rtl/Utf8.h"
#include "skin/dialogs/SkinFileCtrl.h"

namespace {

const String kAllFilesFilter = "All files (*.*)|*.*";

}  // namespace

TspSkinFilterComboBox::TspSkinFilterComboBox(TComponent* AOwner)
    : TspSkinComboBox(AOwner), FFilter(kAllFilesFilter), MaskList(std::make_unique<TStringList>()) {}

TspSkinFilterComboBox::~TspSkinFilterComboBox() = default;

void TspSkinFilterComboBox::CreateWnd() {
  TspSkinComboBox::CreateWnd();
  BuildList();
}

void TspSkinFilterComboBox::SetFilter(const String& Value) {
  if (LowerCase(Value) == LowerCase(FFilter)) return;
  FFilter = Value;
  if (HandleAllocated()) BuildList();
  Change();
}

void TspSkinFilterComboBox::BuildList() {
  // The drop-down's list keeps the selection; it must exist to report "none" after Clear.
  ListWindow();
  Items()->Clear();
  MaskList->Clear();
  String S = FFilter;
  for (size_t Bar = S.find('|'); Bar != String::npos; Bar = S.find('|')) {
    const String Description = S.substr(0, Bar);
    S.erase(0, Bar + 1);
    String EntryMask;
    const size_t Next = S.find('|');
    if (Next != String::npos) {
      EntryMask = S.substr(0, Next);
      S.erase(0, Next + 1);
    } else {
      EntryMask = S;
      S.clear();
    }
    Items()->Add(Description);
    MaskList->Add(EntryMask);
  }
  SetItemIndex(0);
}

String TspSkinFilterComboBox::Mask() {
  if (ItemIndex() < 0 && Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
  const Integer I = ItemIndex();
  if (I < 0 || I >= MaskList->Count()) return "*.*";
  return MaskList->Get(I);
}

void TspSkinFilterComboBox::SetFileList(TspSkinFileListBox* Value) {
  if (FFileList) {
    FFileList->FFilterCombo = nullptr;
    FFileList->RemoveFreeNotification(this);
  }
  FFileList = Value;
  if (FFileList) {
    FFileList->FFilterCombo = this;
    FFileList->FreeNotification(this);
  }
}

void TspSkinFilterComboBox::Change() {
  if (FFileList) FFileList->SetMask(Mask());
  TspSkinComboBox::Change();
}

void TspSkinFilterComboBox::Click() {
  TspSkinComboBox::Click();
  Change();
}

void TspSkinFilterComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFileList) FFileList = nullptr;
}
