// The main window's file list commands: adding through the open dialog or a drop, preparing
// the libraries, the list operations, the job's start, and what the list and the job see of
// the window.
#include <algorithm>

#include "app/conversion.h"
#include "app/main_JobSeams.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Timers.h"
#include "platform/win/DragDrop.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/dialogs/SkinMessageDlg.h"
#include "skin/forms/SkinMenus.h"

namespace vantrel::app {

// --- the seams ---

void TMainForm::TJobSeams::ShowInfo(const String& Text) { F.SkinMessage->MessageDlg(Text, mtInformation, {mbOK}, 0); }
// The grid keeps its header row fixed: an empty list shows one blank row under it, as at
// start-up (a single row would stop being a header). The entries changed, so the rows are
// drawn again even when their count stays (the first entry takes the blank row).
void TMainForm::TJobSeams::SetRowCount(Integer RowCount) {
  F.sgList->SetRowCount(std::max<Integer>(RowCount, 2));
  F.sgList->Invalidate();
}
String TMainForm::TJobSeams::DestinationFolder() { return F.DestinationFolder(); }
bool TMainForm::TJobSeams::MergeChecked() { return F.chMerge->Checked(); }
Integer TMainForm::TJobSeams::CurrentRow() { return F.sgList->Row(); }
void TMainForm::TJobSeams::ShowWarning(const String& Text) { F.SkinMessage->MessageDlg(Text, mtWarning, {mbOK}, 0); }
void TMainForm::TJobSeams::StopPreview() { F.StopPreview(); }
media::TCustomEncoder& TMainForm::TJobSeams::Encoder() { return *F.Tarnwell; }
void TMainForm::TJobSeams::ShowProgress() { ShowConversionDialog(*ConvForm); }
void TMainForm::TJobSeams::SaveSettings() { vantrel::app::SaveSettings(MainUnit(), F); }
HWND TMainForm::TJobSeams::OwnerWindow() { return F.Handle(); }

TMainForm::~TMainForm() = default;
void TMainForm::TJobSeamsDeleter::operator()(TJobSeams* P) const { delete P; }

void TMainForm::BindFileListAndJob() {
  FJobSeams.reset(new TJobSeams(*this));
  struct TCommand {
    std::initializer_list<TMenuItem*> Items;
    TspSkinButton* Button;
    void (TMainForm::*Handler)(TObject*);
  };
  const TCommand Commands[] = {
      {{AddVideoFiles1, AddVideoFiles2}, nullptr, &TMainForm::AddButtonClick},
      {{Remove1, Remove2}, spSkinButton1, &TMainForm::Remove1Click},
      {{MoveUp1, MoveUp2}, spSkinButton2, &TMainForm::MoveUp1Click},
      {{MoveDown1, MoveDown2}, spSkinButton3, &TMainForm::MoveDown1Click},
      {{Rename1, Rename2}, spSkinButton4, &TMainForm::Rename1Click},
      {{ClearAll1, ClearAll2}, nullptr, &TMainForm::ClearAll1Click},
      {{StartConversion1}, nullptr, &TMainForm::StartButtonClick},
  };
  for (const TCommand& C : Commands) {
    const auto Handler = [this, H = C.Handler](TObject* Sender) { (this->*H)(Sender); };
    for (TMenuItem* Item : C.Items) Item->OnClick = Handler;
    if (C.Button) C.Button->OnClick = Handler;
  }
  AddButton->OnClick = [this](TObject* Sender) { AddButtonClick(Sender); };
  StartButton->OnClick = [this](TObject* Sender) { StartButtonClick(Sender); };
  sgList->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    sgListMouseDown(Sender, Button, Shift, X, Y);
  };
  sgList->OnClick = [this](TObject* Sender) { sgListClick(Sender); };
  sgList->OnDrawCell = [this](TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State) {
    sgListDrawCell(Sender, ACol, ARow, Rect, State);
  };
  edDestinationTitle->OnExit = [this](TObject* Sender) { edDestinationTitleExit(Sender); };
  edDestinationTitle->OnKeyPress = [this](TObject* Sender, char32_t& Key) { edDestinationTitleKeyPress(Sender, Key); };
  chApplyToAll->OnClick = [this](TObject* Sender) { chApplyToAllClick(Sender); };
  Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
}

void TMainForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_DROPFILES) {
    WMDropFiles(Message);
    return;
  }
  TForm::WndProc(Message);
}

// --- adding files ---

void TMainForm::AddButtonClick(TObject*) {
  std::vector<String> Files;
  if (!RunOpenDialog || !RunOpenDialog(Files)) return;
  // Nothing can be probed without the libraries: the files wait for another try.
  if (!PrepareLibrariesAndEnableUI()) return;
  for (const String& File : Files) AddMediaFile(File);
  spSkinNotebook1->SetPageIndex(1);
  if (!MainUnit().VideoFiles.empty()) sgList->SetRow(static_cast<Integer>(MainUnit().VideoFiles.size()));
}

void TMainForm::WMDropFiles(TMessage& Msg) {
  TForm::WndProc(Msg);
  const HDROP Drop = reinterpret_cast<HDROP>(Msg.WParam);
  struct TDropRelease {
    HDROP D;
    ~TDropRelease() { DragFinish(D); }
  } Release{Drop};
  Msg.Result = 0;
  // The libraries come first; when they cannot be loaded the drop adds nothing.
  WaitForMediaLibraries();
  if (!PrepareMediaLibraries(MainUnit(), *Tarnwell)) return;
  const UINT Count = DragQueryFile(Drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT I = 0; I < Count; ++I) {
    String Name(DragQueryFile(Drop, I, nullptr, 0), '\0');
    DragQueryFile(Drop, I, Name.data(), static_cast<UINT>(Name.size()) + 1);
    AddMediaFile(Name);
  }
  if (!MainUnit().VideoFiles.empty()) PrepareLibrariesAndEnableUI();
}

bool TMainForm::AddMediaFile(const String& FileName) {
  return vantrel::app::AddMediaFile(MainUnit(), *Tarnwell->Decoder(), FileName, *FJobSeams);
}

bool TMainForm::PrepareLibrariesAndEnableUI() {
  WaitForMediaLibraries();
  if (!PrepareMediaLibraries(MainUnit(), *Tarnwell)) return false;
  // A preview that cannot start stays off; the files still come.
  const bool Preview = PreparePreviewLibrary();
  GettingStartedPanel->SetVisible(false);
  sgList->SetVisible(true);
  if (Preview && panPreview) panPreview->SetVisible(true);
  EnableFileCommands(true);
  for (TMenuItem* Item : {FileInformation1, StartConversion1, Remove1, ClearAll1, Rename1, MoveUp1, MoveDown1,
                          TrimVideo1, EditVideo1})
    Item->SetEnabled(true);
  return true;
}

void TMainForm::EnableFileCommands(bool Enabled) {
  for (TControl* Control : std::initializer_list<TControl*>{EditButton, ClipButton, SettingsButton})
    Control->SetEnabled(Enabled);
  for (TMenuItem* Item : {Remove2, ClearAll2, Rename2, MoveUp2, MoveDown2, EditVideo2, TrimVideo2, FileInformation2})
    Item->SetEnabled(Enabled);
}

// --- the list operations ---

void TMainForm::MoveUp1Click(TObject*) {
  sgList->SetRow(MoveEntryUp(MainUnit(), sgList->Row()));
  sgList->Repaint();
}

void TMainForm::MoveDown1Click(TObject*) {
  sgList->SetRow(MoveEntryDown(MainUnit(), sgList->Row()));
  sgList->Repaint();
}

void TMainForm::Remove1Click(TObject* Sender) {
  TMainUnitState& State = MainUnit();
  if (State.VideoFiles.empty()) return;
  if (State.VideoFiles.size() == 1) {
    ClearAll1Click(Sender);
    return;
  }
  const Integer Row = sgList->Row();
  const Integer Rows = RemoveEntry(State, Row);
  FJobSeams->SetRowCount(Rows);
  if (Row >= Rows) sgList->SetRow(Rows - 1);
  sgList->Repaint();
}

void TMainForm::ClearAll1Click(TObject*) {
  MainUnit().VideoFiles.clear();
  FJobSeams->SetRowCount(1);
  EnableFileCommands(false);
  sgList->Repaint();
}

void TMainForm::StartButtonClick(TObject*) {
  if (ConvForm && ConvForm->Tarnwell != Tarnwell) {
    ConnectJobEvents(*Tarnwell, MainUnit(), *ConvForm, *FJobSeams);
    ConvForm->BindSkin(spSkinData1);
  }
  StartConversion(MainUnit(), *FJobSeams);
}

}  // namespace vantrel::app
