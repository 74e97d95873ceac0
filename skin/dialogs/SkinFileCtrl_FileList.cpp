// The file list: the sorted names of its folder that match Mask and FileType (folders in
// brackets), the selection mirrored into a linked edit, and typed paths taken apart.
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/Forms.h"
#include "platform/win/ListBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Volumes.h"
#include "skin/dialogs/SkinFileCtrl.h"

namespace {

// The attribute bit each kind of entry stands for (none for spftNormal).
constexpr struct {
  TspFileAttr Kind;
  Integer Bit;
} kFileAttrBits[] = {{spftReadOnly, faReadOnly}, {spftHidden, faHidden},     {spftSystem, faSysFile},
                     {spftVolumeID, faVolumeID}, {spftDirectory, faDirectory}, {spftArchive, faArchive}};

// From this many entries on, reading shows the hourglass.
constexpr Integer kHourGlassEntries = 100;

// Restores the screen cursor when the scope ends.
class TScreenCursorKeeper {
 public:
  TScreenCursorKeeper() : FSaved(Screen->Cursor()) {}
  ~TScreenCursorKeeper() { Screen->SetCursor(FSaved); }
  TScreenCursorKeeper(const TScreenCursorKeeper&) = delete;
  TScreenCursorKeeper& operator=(const TScreenCursorKeeper&) = delete;

 private:
  TCursor FSaved;
};

}  // namespace

TspSkinFileListBox::TspSkinFileListBox(TComponent* AOwner) : TspSkinListBox(AOwner) {
  SetWidth(145);
  FDirectory = GetCurrentDir();
  SetMultiSelect(false);
  SetSorted(true);
}

TspSkinFileListBox::~TspSkinFileListBox() = default;

void TspSkinFileListBox::CreateWnd() {
  TspSkinListBox::CreateWnd();
  ReadFileNames();
}

String TspSkinFileListBox::Drive() const {
  vantrel::win::Volume V;
  return vantrel::win::VolumeOfPath(FDirectory, V) ? V.MountPoint : String();
}

void TspSkinFileListBox::SetDrive(const String& NewDrive) {
  if (NewDrive != Drive()) ApplyFilePath(NewDrive);
}

void TspSkinFileListBox::SetDirectory(const String& NewDirectory) {
  if (NewDirectory == FDirectory) return;
  if (DirectoryExists(FDirectory)) SetCurrentDir(FDirectory);
  ChDir(NewDirectory);
  FDirectory = GetCurrentDir();
  ReadFileNames();
}

void TspSkinFileListBox::SetMask(const String& Value) {
  if (Value == FMask) return;
  FMask = Value;
  ReadFileNames();
}

void TspSkinFileListBox::SetFileType(TspFileType Value) {
  if (Value == FFileType) return;
  FFileType = Value;
  ReadFileNames();
}

void TspSkinFileListBox::ReadFileNames() {
  if (!HandleAllocated() || !ListBox) return;
  Integer AttrMask = 0;
  for (const auto& A : kFileAttrBits)
    if (FFileType.Contains(A.Kind)) AttrMask |= A.Bit;
  ChDir(FDirectory);
  Clear();
  {
    TScreenCursorKeeper Cursor;
    // The patterns of Mask, split at ";"; blanks around each are not part of it ("*.mp4; *.ts").
    for (size_t Start = 0;;) {
      const size_t Semi = FMask.find(';', Start);
      const String Pattern = Trim(FMask.substr(Start, Semi == String::npos ? String::npos : Semi - Start));
      TSearchRec SR;
      if (!Pattern.empty() && FindFirst(Pattern, AttrMask, SR) == 0) {
        do {
          if (!FFileType.Contains(spftNormal) && (SR.Attr & AttrMask) == 0) continue;
          Items()->Add((SR.Attr & faDirectory) != 0 ? Format("[%s]", {SR.Name}) : SR.Name);
          if (Items()->Count() == kHourGlassEntries + 1) Screen->SetCursor(crHourGlass);
        } while (FindNext(SR) == 0);
        FindClose(SR);
      }
      if (Semi == String::npos) break;
      Start = Semi + 1;
    }
  }
  Change();
}

String TspSkinFileListBox::SelectedText() {
  const Integer I = ItemIndex();
  if (I >= 0 && I < Items()->Count() && Selected(I)) return Items()->Get(I);
  return String();
}

String TspSkinFileListBox::FileName() {
  const String S = SelectedText();
  return S.empty() ? String() : SlashSep(FDirectory, S);
}

void TspSkinFileListBox::SetFileName(const String& NewFile) {
  if (LowerCase(SelectedText()) == LowerCase(NewFile)) return;
  Integer Found = -1;
  if (ListBox->HandleAllocated())
    Found = static_cast<Integer>(SendMessage(ListBox->Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(NewFile.c_str())));
  SetItemIndex(Found < 0 ? -1 : Found);
  Change();
}

void TspSkinFileListBox::ApplyFilePath(const String& EditText) {
  if (EditText.empty() || EditText == FileName()) return;
  String NewDrive, DirPart, FilePart;
  ProcessPath(EditText, NewDrive, DirPart, FilePart);
  if (FDirList)
    FDirList->SetDirectory(EditText);
  else
    SetDirectory(DirPart);
  if (FilePart.find_first_of("*?") != String::npos) {
    SetMask(FilePart);
  } else if (!FilePart.empty()) {
    SetFileName(FilePart);
    if (FileExists(FilePart) && SelectedText().empty()) {
      SetMask(FilePart);
      SetFileName(FilePart);
    }
  }
}

void TspSkinFileListBox::UpdateList() { ReadFileNames(); }

void TspSkinFileListBox::Change() {
  FLastSel = ItemIndex();
  if (FFileEdit) {
    const String S = SelectedText();
    FFileEdit->SetText(S.empty() ? FMask : S);
    FFileEdit->SelectAll();
  }
  if (OnChange) OnChange(this);
}

void TspSkinFileListBox::ListBoxClick() {
  TspSkinListBox::ListBoxClick();
  if (ItemIndex() != FLastSel) Change();
}

void TspSkinFileListBox::SetFileEdit(TCustomEdit* Value) {
  if (FFileEdit) FFileEdit->RemoveFreeNotification(this);
  FFileEdit = Value;
  if (!FFileEdit) return;
  FFileEdit->FreeNotification(this);
  const String S = SelectedText();
  FFileEdit->SetText(S.empty() ? FMask : S);
}

void TspSkinFileListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FFileEdit) FFileEdit = nullptr;
  if (AComponent == FDirList) FDirList = nullptr;
  if (AComponent == FFilterCombo) FFilterCombo = nullptr;
}
