// The volume box: an entry per volume of the volume table with the icon of its kind, the
// mount point kept beside each entry, and the linked folder list moved on a choice.
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysEnv.h"
#include "platform/win/Volumes.h"
#include "skin/dialogs/SkinFileCtrl.h"

namespace {

std::unique_ptr<TBitmap> FileCtrlResourceBitmap(const char* Name) {
  auto B = std::make_unique<TBitmap>();
  B->LoadFromResourceName(nullptr, Name);
  B->SetTransparent(true);
  return B;
}

}  // namespace

TspSkinDriveComboBox::TspSkinDriveComboBox(TComponent* AOwner)
    : TspSkinComboBox(AOwner),
      FloppyBMP(FileCtrlResourceBitmap("SP_FLOPPY")),
      FixedBMP(FileCtrlResourceBitmap("SP_HARD")),
      NetworkBMP(FileCtrlResourceBitmap("SP_NETWORK")),
      CDROMBMP(FileCtrlResourceBitmap("SP_CDROM")),
      RAMBMP(FileCtrlResourceBitmap("SP_RAM")) {
  OnChange = [this](TObject* Sender) { TextChanged(Sender); };
  auto Draw = [this](TCanvas* C, Integer Index, Integer W, Integer H, const TRect& R, TOwnerDrawState State) {
    DrawItem(C, Index, W, H, R, State);
  };
  OnComboBoxDrawItem = Draw;
  SetOnListBoxDrawItem(Draw);
  vantrel::win::Volume V;
  if (vantrel::win::VolumeOfPath(GetCurrentDir(), V)) FDrive = V.MountPoint;
}

TspSkinDriveComboBox::~TspSkinDriveComboBox() = default;

void TspSkinDriveComboBox::CreateWnd() {
  TspSkinComboBox::CreateWnd();
  BuildList();
  SetDrive(FDrive);
}

void TspSkinDriveComboBox::BuildList() {
  ListWindow();
  Items()->Clear();
  FEntryDrives.clear();
  for (const vantrel::win::Volume& V : vantrel::win::ListVolumes()) {
    const String& Root = V.MountPoint;
    TBitmap* Icon = nullptr;
    String Text;
    switch (GetDriveType(Root.c_str())) {
      case DRIVE_REMOVABLE:
        Icon = FloppyBMP.get();
        Text = Root;
        break;
      case DRIVE_FIXED:
        Icon = FixedBMP.get();
        Text = Root + " " + VolumeID(Root, FTextCase);
        break;
      case DRIVE_REMOTE:
        Icon = NetworkBMP.get();
        Text = Root + " " + NetworkVolume(Root, FTextCase);
        break;
      case DRIVE_CDROM:
        Icon = CDROMBMP.get();
        Text = Root + " " + VolumeID(Root, FTextCase);
        break;
      case DRIVE_RAMDISK:
        Icon = RAMBMP.get();
        Text = Root + " " + VolumeID(Root, FTextCase);
        break;
      default:
        continue;
    }
    Items()->AddObject(Text, Icon);
    FEntryDrives.push_back(Root);
  }
}

String TspSkinDriveComboBox::EntryDrive(Integer Index) const {
  if (Index < 0 || Index >= static_cast<Integer>(FEntryDrives.size())) return String();
  return FEntryDrives[static_cast<size_t>(Index)];
}

void TspSkinDriveComboBox::SetDrive(const String& NewDrive) {
  if (ItemIndex() >= 0 && NewDrive == FDrive) return;
  if (NewDrive.empty()) {
    FDrive.clear();
    SetItemIndex(-1);
  } else {
    FDrive = NewDrive;
    for (size_t I = 0; I < FEntryDrives.size(); ++I)
      if (FEntryDrives[I] == FDrive) {
        SetItemIndex(static_cast<Integer>(I));
        break;
      }
  }
  if (FDirList) FDirList->SetDrive(FDrive);
  Change();
}

void TspSkinDriveComboBox::SetTextCase(TTextCase Value) {
  FTextCase = Value;
  BuildList();
  SetDrive(FDrive);
}

void TspSkinDriveComboBox::SetDirList(TspSkinDirectoryListBox* Value) {
  if (FDirList) {
    FDirList->FDriveCombo = nullptr;
    FDirList->RemoveFreeNotification(this);
  }
  FDirList = Value;
  if (FDirList) {
    FDirList->FDriveCombo = this;
    FDirList->FreeNotification(this);
  }
}

void TspSkinDriveComboBox::TextChanged(TObject*) {
  if (ItemIndex() >= 0) SetDrive(EntryDrive(ItemIndex()));
}

void TspSkinDriveComboBox::DrawItem(TCanvas* Cnvs, Integer Index, Integer, Integer, const TRect& TxtRect,
                                    TOwnerDrawState) {
  if (Index < 0 || Index >= Items()->Count()) return;
  Integer BmpWidth = 0;
  if (auto* Bmp = dynamic_cast<TBitmap*>(Items()->Objects(Index))) {
    BmpWidth = Bmp->Width();
    Cnvs->Draw(TxtRect.Left, (TxtRect.Top + TxtRect.Bottom - Bmp->Height()) / 2, Bmp);
  }
  Cnvs->Brush()->SetStyle(bsClear);
  Cnvs->TextOut(TxtRect.Left + BmpWidth + 6,
                TxtRect.Top + (TxtRect.Bottom - TxtRect.Top) / 2 - Cnvs->TextHeight("Wg") / 2, Items()->Get(Index));
}

void TspSkinDriveComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDirList) FDirList = nullptr;
}
