// The folder list: "/" and each ancestor (opened folders), the current folder, its sorted
// sub-folders (closed folders); opening an entry moves the process's current folder there
// and tells the linked file list and label.
#include <algorithm>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Volumes.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/dialogs/SkinFileCtrl.h"

namespace {

std::unique_ptr<TBitmap> FolderResourceBitmap(const char* Name) {
  auto B = std::make_unique<TBitmap>();
  B->LoadFromResourceName(nullptr, Name);
  B->SetTransparent(true);
  return B;
}

}  // namespace

TspSkinDirectoryListBox::TspSkinDirectoryListBox(TComponent* AOwner)
    : TspSkinListBox(AOwner),
      ClosedBMP(FolderResourceBitmap("SP_CLOSEDFOLDER")),
      OpenedBMP(FolderResourceBitmap("SP_OPENFOLDER")),
      CurrentBMP(FolderResourceBitmap("SP_CURRENTFOLDER")) {
  OnDrawItem = [this](TCanvas* C, Integer Index, Integer W, Integer H, const TRect& R, TOwnerDrawState State) {
    DrawItem(C, Index, W, H, R, State);
  };
  SetWidth(145);
  SetSorted(false);
  FDirectory = GetCurrentDir();
}

TspSkinDirectoryListBox::~TspSkinDirectoryListBox() = default;

void TspSkinDirectoryListBox::CreateWnd() {
  TspSkinListBox::CreateWnd();
  // BuildList selects the current folder's entry.
  BuildList();
}

String TspSkinDirectoryListBox::Drive() const {
  vantrel::win::Volume V;
  return vantrel::win::VolumeOfPath(FDirectory, V) ? V.MountPoint : String();
}

String TspSkinDirectoryListBox::DisplayCase(const String& S) const {
  return FPreserveCase || FCaseSensitive ? S : LowerCase(S);
}

Integer TspSkinDirectoryListBox::FileCompareText(const String& A, const String& B) const {
  return FCaseSensitive ? CompareStr(A, B) : CompareStr(LowerCase(A), LowerCase(B));
}

void TspSkinDirectoryListBox::MoveTo(const String& Target) {
  if (DirectoryExists(FDirectory)) SetCurrentDir(FDirectory);
  ChDir(Target);
  FDirectory = GetCurrentDir();
}

void TspSkinDirectoryListBox::SetDrive(const String& NewDrive) {
  if (NewDrive == Drive()) return;
  if (!NewDrive.empty() && SetCurrentDir(NewDrive)) FDirectory = GetCurrentDir();
  if (!FInSetDir) {
    BuildList();
    Change();
  }
}

void TspSkinDirectoryListBox::SetDirectory(const String& NewDirectory) {
  if (NewDirectory.empty() || FileCompareText(NewDirectory, FDirectory) == 0) return;
  String NewDrive, DirPart, FilePart;
  ProcessPath(NewDirectory, NewDrive, DirPart, FilePart);
  if (NewDrive != Drive()) {
    FInSetDir = true;
    try {
      if (FDriveCombo)
        FDriveCombo->SetDrive(NewDrive);
      else
        SetDrive(NewDrive);
    } catch (...) {
      FInSetDir = false;
      throw;
    }
    FInSetDir = false;
  }
  MoveTo(DirPart);
  BuildList();
  Change();
}

void TspSkinDirectoryListBox::BuildList() {
  if (!ListBox) return;
  FStopUpDateHScrollBar = true;
  Items()->BeginUpdate();
  Integer Current = -1;
  try {
    Items()->Clear();
    DWORD Flags = 0;
    const String Root = Drive();
    if (GetVolumeInformation(Root.c_str(), nullptr, 0, nullptr, nullptr, &Flags, nullptr, 0)) {
      FCaseSensitive = (Flags & FILE_CASE_SENSITIVE_SEARCH) != 0;
      FPreserveCase = FCaseSensitive || (Flags & FILE_CASE_PRESERVED_NAMES) != 0;
    } else {
      FCaseSensitive = FPreserveCase = true;
    }
    // "/" first, then each part of the path; the last part is the current folder.
    Items()->AddObject("/", FDirectory == "/" ? CurrentBMP.get() : OpenedBMP.get());
    if (FDirectory != "/") {
      String Rest = FDirectory.substr(1);
      for (size_t Slash = Rest.find(PathDelim); Slash != String::npos; Slash = Rest.find(PathDelim)) {
        Items()->AddObject(DisplayCase(Rest.substr(0, Slash)), OpenedBMP.get());
        Rest.erase(0, Slash + 1);
      }
      Items()->AddObject(DisplayCase(Rest), CurrentBMP.get());
    }
    Current = Items()->Count() - 1;
    TStringList Subs;
    TSearchRec SR;
    if (FindFirst(SlashSep(FDirectory, "*.*"), faDirectory, SR) == 0) {
      do {
        if ((SR.Attr & faDirectory) != 0 && SR.Name != "." && SR.Name != "..") Subs.Add(SR.Name);
      } while (FindNext(SR) == 0);
      FindClose(SR);
    }
    Subs.Sort();
    for (Integer I = 0; I < Subs.Count(); ++I) Items()->AddObject(DisplayCase(Subs.Get(I)), ClosedBMP.get());
  } catch (...) {
    Items()->EndUpdate();
    FStopUpDateHScrollBar = false;
    throw;
  }
  Items()->EndUpdate();
  FStopUpDateHScrollBar = false;
  if (HandleAllocated()) {
    SetItemIndex(Current);
    UpDateScrollBar();
  }
}

void TspSkinDirectoryListBox::DrawItem(TCanvas* Cnvs, Integer Index, Integer, Integer, const TRect& TxtRect,
                                       TOwnerDrawState) {
  if (Index < 0 || Index >= Items()->Count()) return;
  const Integer Scroll = ListBox->HorizontalExtentValue();
  Integer Indent = Index * 4 + 2;
  Integer BmpWidth = 16;
  if (auto* Bmp = dynamic_cast<TBitmap*>(Items()->Objects(Index))) {
    if (Bmp == ClosedBMP.get()) Indent = DirLevel(FDirectory) * 4 + 6;
    BmpWidth = Bmp->Width();
    Cnvs->Draw(TxtRect.Left + Indent - Scroll, (TxtRect.Top + TxtRect.Bottom - Bmp->Height()) / 2, Bmp);
  }
  Cnvs->Brush()->SetStyle(bsClear);
  DrawVCenteredTextAt(Cnvs, Items()->Get(Index), TxtRect, Indent + BmpWidth + 4 - Scroll);
}

Integer TspSkinDirectoryListBox::GetItemTextWidth(Integer Index, TCanvas* Canvas) {
  Integer Indent = Index * 4 + 2;
  Integer BmpWidth = 16;
  if (auto* Bmp = dynamic_cast<TBitmap*>(Items()->Objects(Index))) {
    if (Bmp == ClosedBMP.get()) Indent = DirLevel(FDirectory) * 4 + 6;
    BmpWidth = Bmp->Width();
  }
  return TspSkinListBox::GetItemTextWidth(Index, Canvas) + Indent + BmpWidth + 4;
}

String TspSkinDirectoryListBox::GetItemPath(Integer Index) {
  if (Index < 0 || Index >= Items()->Count()) return String();
  if (Index == 0) return "/";
  TObject* Kind = Items()->Objects(Index);
  if (Kind == ClosedBMP.get()) return SlashSep(FDirectory, Items()->Get(Index));
  if (Kind == CurrentBMP.get()) return FDirectory;
  // An ancestor: the path up to its own "/" (the (Index + 1)-th one).
  size_t Slash = 0;
  for (Integer Seen = 0; Seen <= Index && Slash != String::npos; ++Seen)
    Slash = FDirectory.find(PathDelim, Seen == 0 ? 0 : Slash + 1);
  return Slash == String::npos ? FDirectory : FDirectory.substr(0, Slash);
}

void TspSkinDirectoryListBox::OpenCurrent() { SetDirectory(GetItemPath(ItemIndex())); }

void TspSkinDirectoryListBox::UpdateList() {
  BuildList();
  Change();
}

void TspSkinDirectoryListBox::ListBoxDblClick() {
  TspSkinListBox::ListBoxDblClick();
  OpenCurrent();
}

void TspSkinDirectoryListBox::ListBoxKeyPress(char32_t& Key) {
  TspSkinListBox::ListBoxKeyPress(Key);
  if (Key == U'\r') OpenCurrent();
}

void TspSkinDirectoryListBox::Change() {
  if (FFileList) FFileList->SetDirectory(FDirectory);
  ShowDirLabel();
  if (OnChange) OnChange(this);
}

void TspSkinDirectoryListBox::ShowDirLabel() {
  if (!FDirLabel) return;
  FDirLabel->ApplyTextFont();
  const Integer W = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
  FDirLabel->SetCaption(MinimizeName(FDirectory, FDirLabel->Canvas(), W));
}

void TspSkinDirectoryListBox::SetDirLabel(TspSkinStdLabel* Value) {
  if (FDirLabel) FDirLabel->RemoveFreeNotification(this);
  FDirLabel = Value;
  if (FDirLabel) FDirLabel->FreeNotification(this);
  ShowDirLabel();
}

void TspSkinDirectoryListBox::SetFileList(TspSkinFileListBox* Value) {
  if (FFileList) {
    FFileList->FDirList = nullptr;
    FFileList->RemoveFreeNotification(this);
  }
  FFileList = Value;
  if (FFileList) {
    FFileList->FDirList = this;
    FFileList->FreeNotification(this);
  }
}

void TspSkinDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FFileList) FFileList = nullptr;
  if (AComponent == FDriveCombo) FDriveCombo = nullptr;
  if (AComponent == FDirLabel) FDirLabel = nullptr;
}
