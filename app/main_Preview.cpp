// The main window's preview: the player drawing into panPreview, its buttons, position and
// volume bars and time label, and the snapshots of the picture on screen.
#include "app/main.h"
#include "media/FFPlay.h"
#include "media/MyUtils.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/NumConv.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/TrackBar.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Shell.h"
#include "platform/ui/Menus.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/bitmaps/sppngimagelist.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "skin/forms/SkinMenus.h"

namespace vantrel::app {

namespace {

// The logical left button (the right one when the buttons are swapped), read now.
bool PreviewLeftButtonDown() {
  return (GetAsyncKeyState(win::IsMouseButtonSwapped() ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0;
}

template <class T>
T* PlacePreviewControl(TMainForm* Form, const char* Name, Integer X, Integer Y, Integer W, Integer H) {
  T* C = ::Create<T>(Form);
  C->SetName(Name);
  C->SetParent(Form);
  C->SetBounds(X, Y, W, H);
  return C;
}

TspSkinTrackBar* PlacePreviewTrackBar(TMainForm* Form, const char* Name, Integer X, Integer Y, Integer W,
                                      Integer Max, Integer Value) {
  auto* T = PlacePreviewControl<TspSkinTrackBar>(Form, Name, X, Y, W, 20);
  T->SetMaxValue(Max);
  T->SetValue(Value);
  // Only a drag of the thumb changes it: no focus, no jump to a click beside the thumb.
  T->SetCanFocused(false);
  T->JumpWhenClick = false;
  return T;
}

String PreviewTimeLabel(Int64 Position, Int64 Duration) {
  return PlayTimeText(Position) + " / " + PlayTimeText(Duration);
}

}  // namespace

void TMainForm::CreatePreview() {
  lblPreview = PlacePreviewControl<TspSkinStdLabel>(this, "lblPreview", 530, 50, 218, 16);
  lblPreview->SetAutoSize(false);
  lblPreview->SetEllipsType(spetEndEllips);
  lblPreview->SetCaption("Preview:");
  panPreview = PlacePreviewControl<TPanel>(this, "panPreview", 530, 71, 250, 160);
  panPreview->SetColor(clBlack);
  panPreview->SetCaption("");
  panPlayerArea = PlacePreviewControl<TspSkinPanel>(this, "panPlayerArea", 530, 71, 250, 168);
  panPlayerArea->SetSkinDataName("videoplayerarea");
  imgPlayerArea = ::Create<TImage>(this);
  imgPlayerArea->SetName("imgPlayerArea");
  imgPlayerArea->SetParent(panPlayerArea);
  imgPlayerArea->SetAlign(alClient);
  imgPlayerArea->SetStretch(true);
  lblPlayTime = PlacePreviewControl<TspSkinStdLabel>(this, "lblPlayTime", 530, 252, 250, 16);
  lblPlayTime->SetAutoSize(false);
  lblPlayTime->SetAlignment(taRightJustify);
  lblPlayTime->SetCaption("00:00:00 / 00:00:00");
  VideoTrackBar = PlacePreviewTrackBar(this, "VideoTrackBar", 530, 277, 250, 1000, 0);
  PlayButton = PlacePreviewControl<TspSkinButton>(this, "PlayButton", 530, 309, 24, 24);
  PauseButton = PlacePreviewControl<TspSkinButton>(this, "PauseButton", 530, 309, 24, 24);
  PauseButton->SetVisible(false);
  // A control made later lies below the ones before it: shown, Pause covers Play.
  PauseButton->BringToFront();
  StopButton = PlacePreviewControl<TspSkinButton>(this, "StopButton", 555, 309, 24, 24);
  spSkinMenuButton1 = PlacePreviewControl<TspSkinMenuButton>(this, "spSkinMenuButton1", 582, 309, 41, 24);
  VolumeTrackBar = PlacePreviewTrackBar(this, "VolumeTrackBar", 674, 313, 106, 128, 128);
  const auto StreamList = [this](const char* Name, Integer Top) {
    auto* C = PlacePreviewControl<TComboBox>(this, Name, 530, Top, 100, 21);
    C->SetStyle(csDropDownList);
    return C;
  };
  cboVideo = StreamList("cboVideo", 0);
  cboVideo->SetVisible(false);
  cboVideo->SetEnabled(false);
  // Nothing reads the lists: the audio one lies out of sight above the client area.
  cboAudio = StreamList("cboAudio", -1000);
  cboSubtitle = StreamList("cboSubtitle", -1000);
  cboSubtitle->SetVisible(false);
  TrackBar1 = PlacePreviewControl<TTrackBar>(this, "TrackBar1", 530, 0, 150, 20);
  TrackBar1->SetVisible(false);

  // The snapshot menu: on the snapshot button's arrow and on the share buttons.
  struct SnapshotMenuRow {
    TMenuItem* TMainForm::*Item;
    const char* Name;
    const char* Caption;
    TMenuItem* TMainForm::*Parent;
    void (TMainForm::*Click)(TObject*);
  };
  const SnapshotMenuRow SnapshotMenuRows[] = {
      {&TMainForm::Item12, "Item12", "Snapshot", nullptr, &TMainForm::spSkinMenuButton1Click},
      {&TMainForm::Item22, "Item22", "Open Snapshot Folder", nullptr, &TMainForm::Item22Click},
      {&TMainForm::Item32, "Item32", "Change Snapshot Folder", nullptr, &TMainForm::Item32Click},
      {&TMainForm::ChangeSnapshotFormat1, "ChangeSnapshotFormat1", "Change Snapshot Format", nullptr, nullptr},
      {&TMainForm::JPEG1, "JPEG1", "JPEG", &TMainForm::ChangeSnapshotFormat1, &TMainForm::JPEG1Click},
      {&TMainForm::BMP1, "BMP1", "BMP", &TMainForm::ChangeSnapshotFormat1, &TMainForm::BMP1Click},
  };
  for (const SnapshotMenuRow& Row : SnapshotMenuRows) {
    auto* Item = ::Create<TMenuItem>(this);
    Item->SetName(Row.Name);
    Item->SetCaption(Row.Caption);
    if (Row.Click) Item->OnClick = [this, Click = Row.Click](TObject* Sender) { (this->*Click)(Sender); };
    (Row.Parent ? this->*Row.Parent : spSkinPopupMenu1->Items())->Add(Item);
    this->*Row.Item = Item;
  }
  Item12->SetEnabled(false);  // until the first files are added
  for (TMenuItem* Item : {JPEG1, BMP1}) Item->SetRadioItem(true);
  JPEG1->SetChecked(true);
  spSkinMenuButton1->SetSkinPopupMenu(spSkinPopupMenu1);
  // The button takes a snapshot; only its arrow part opens the menu.
  spSkinMenuButton1->SetTrackButtonMode(true);
  const std::pair<TspSkinButton*, Integer> Pictures[] = {
      {PlayButton, 0}, {PauseButton, 1}, {StopButton, 2}, {spSkinMenuButton1, 3}};
  for (const auto& [Button, Index] : Pictures) {
    Button->SetImageList(PlayerImages);
    Button->SetImageIndex(Index);
    Button->SetSkinData(spSkinData1);
  }
  for (TspSkinTrackBar* Bar : {VideoTrackBar, VolumeTrackBar}) Bar->SetSkinData(spSkinData1);
  for (TspSkinStdLabel* Label : {lblPreview, lblPlayTime}) Label->SetSkinData(spSkinData1);
  panPlayerArea->SetSkinData(spSkinData1);
  panPlayerArea->BringToFront();  // the placeholder covers the player's window

  FEntryHost = MakeMainWindowEntries(*this);
  FileList = FEntryHost.get();
  // The snapshot folder is picked in the folder dialog, starting at the current one.
  PickSnapshotFolder = [this](const String& Start) {
    spSkinSelectDirectoryDialog1->SetDirectory(Start);
    return spSkinSelectDirectoryDialog1->Execute() ? spSkinSelectDirectoryDialog1->Directory() : String();
  };
  BindCommands();

  DODodeve = ::Create<media::TDODodeve>(this);
  DODodeve->SetName("DODodeve");
  DODodeve->OnFileOpen = [this](TObject* S, Int64 D, Integer W, Integer H, Integer& SW, Integer& SH) {
    FFPlayerFileOpen(S, D, W, H, SW, SH);
  };
  DODodeve->OnPosition = [this](TObject* S, Int64 P) { FFPlayerPosition(S, P); };
  DODodeve->OnState = [this](TObject* S, media::TPlayState A) { FFPlayerState(S, A); };

  PlayButton->OnClick = [this](TObject* S) { PlayButtonClick(S); };
  PauseButton->OnClick = [this](TObject* S) { PauseButtonClick(S); };
  StopButton->OnClick = [this](TObject* S) { StopButtonClick(S); };
  spSkinMenuButton1->OnClick = [this](TObject* S) { spSkinMenuButton1Click(S); };
  VideoTrackBar->OnStartDragButton = [this](TObject* S) { VideoTrackBarStartDragButton(S); };
  VideoTrackBar->OnLastChange = [this](TObject* S) { VideoTrackBarLastChange(S); };
  VolumeTrackBar->OnChange = [this](TObject* S) { VolumeTrackBarChange(S); };
}

void TMainForm::OpenVideo(const String& FileName) {
  TMainUnitState& State = MainUnit();
  WaitForMediaLibraries();
  if (!DODodeve->AVLibLoaded() && !DODodeve->LoadAVLib(GetExeFolder() + "LibAV", false)) {
    AddActionLogLine(State, DODodeve->LastErrMsg());
    ReportError(State, DODodeve->LastErrMsg(), "CLM_LoadAVLib");
    return;
  }
  FScreenControl = panPreview;
  if (DODodeve->Open(FileName, panPreview->Handle(), false)) {
    PauseButton->Show();
    return;
  }
  AddActionLogLine(State, DODodeve->LastErrMsg());
  ReportError(State, DODodeve->LastErrMsg(), "CLM_FFPlayerOpen");
}

void TMainForm::PlayButtonClick(TObject*) {
  if (!FileList || FileList->SelectedRow() < 1 || FileList->EntryCount() == 0) return;
  const Integer Index = FileList->SelectedRow() - 1;
  if (Index >= FileList->EntryCount()) return;
  panPlayerArea->Hide();
  if (PreviewPlayState == media::psPause) {
    DODodeve->Resume();
    return;
  }
  const String Source = FileList->EntrySource(Index);
  if (FileExists(Source)) lblPreview->SetCaption("Preview: " + ExtractFileName(Source));
  OpenVideo(Source);
}

void TMainForm::PauseButtonClick(TObject*) {
  DODodeve->TogglePause();
  PauseButton->Hide();
}

void TMainForm::StopButtonClick(TObject*) {
  for (TspSkinButton* B : {PlayButton, PauseButton})
    if (B->Down()) B->SetDown(false);
  DODodeve->Stop(true);
  VideoTrackBar->SetValue(0);
  panPreview->Repaint();
  panPlayerArea->Show();
  PauseButton->Hide();
  lblPlayTime->SetCaption(PreviewTimeLabel(FDuration, FDuration));
}

bool TMainForm::PreparePreviewLibrary() {
  if (!DODodeve) return false;
  TMainUnitState& State = MainUnit();
  Item12->SetEnabled(true);
  return LoadPreviewSdl(State, *DODodeve, State.TempFolder.empty() ? GetTempFolder() : State.TempFolder,
                        SdlSourceFile());
}

void TMainForm::StopPreview() {
  const media::TPlayState State = DODodeve->PlayState();
  if (State == media::psPlay || State == media::psPause) StopButtonClick(nullptr);
}

void TMainForm::VideoTrackBarStartDragButton(TObject*) { PreviewSeekDragging = true; }

void TMainForm::VideoTrackBarLastChange(TObject*) {
  if (FTrackChanging || PreviewLeftButtonDown()) return;
  const Integer Max = VideoTrackBar->MaxValue();
  if (Max > 0) DODodeve->Seek(FDuration * VideoTrackBar->Value() / Max, {}, false);
  PreviewSeekDragging = false;
}

void TMainForm::VolumeTrackBarChange(TObject*) { DODodeve->SetAudioVolume(VolumeTrackBar->Value()); }

void TMainForm::FFPlayerFileOpen(TObject*, Int64 ADuration, Integer, Integer, Integer& AScreenWidth,
                                 Integer& AScreenHeight) {
  AScreenWidth = FScreenControl ? FScreenControl->Width() : Screen->Width();
  AScreenHeight = FScreenControl ? FScreenControl->Height() : Screen->Height();
  FDuration = ADuration;
  TrackBar1->SetFrequency(5);
  TrackBar1->SetTickStyle(tsAuto);
  TrackBar1->SetMax(TrackBar1->Width());
  TrackBar1->SetSelStart(0);
  TrackBar1->SetSelEnd(0);
  TrackBar1->SetSliderVisible(ADuration > 0);
  FTrackChanging = true;
  TrackBar1->SetPosition(0);
  FTrackChanging = false;

  for (TComboBox* C : {cboVideo, cboAudio, cboSubtitle}) {
    C->Items()->BeginUpdate();
    C->Items()->Clear();
  }
  media::TFFDecoder* D = DODodeve->Decoder();
  for (Integer I = 0; D && I < D->StreamCount(); ++I) {
    if (D->IsVideoStream(I))
      cboVideo->Items()->Add("Video#" + IntToStr(I));
    else if (D->IsAudioStream(I))
      cboAudio->Items()->Add("Audio#" + IntToStr(I));
    else if (D->IsSubtitleStream(I))
      cboSubtitle->Items()->Add("Subtitle#" + IntToStr(I));
  }
  for (TComboBox* C : {cboVideo, cboAudio, cboSubtitle}) C->Items()->EndUpdate();
  const Integer Video = DODodeve->VideoStreamIndex(), Audio = DODodeve->AudioStreamIndex();
  cboVideo->SetEnabled(cboVideo->Items()->Count() >= 2 && Video >= 0);
  if (cboVideo->Enabled()) cboVideo->SetItemIndex(cboVideo->Items()->IndexOf("Video#" + IntToStr(Video)));
  cboAudio->SetEnabled(cboAudio->Items()->Count() >= 2 && Audio >= 0);
  if (cboAudio->Enabled()) cboAudio->SetItemIndex(cboAudio->Items()->IndexOf("Audio#" + IntToStr(Audio)));
  cboSubtitle->SetEnabled(cboSubtitle->Items()->Count() >= 1 && Video >= 0);
  if (cboSubtitle->Enabled()) {
    cboSubtitle->Items()->Insert(0, "Subtitle#-1");
    cboSubtitle->SetItemIndex(
        cboSubtitle->Items()->IndexOf("Subtitle#" + IntToStr(DODodeve->SubtitleStreamIndex())));
  }
}

void TMainForm::FFPlayerPosition(TObject*, Int64 APTS) {
  // A position the player queued before it stopped would move the bar off 0 again.
  if (PreviewPlayState == media::psStop || PreviewPlayState == media::psEnd) return;
  if (APTS >= 0 && FDuration > 0 && !PreviewLeftButtonDown() && !PreviewSeekDragging)
    VideoTrackBar->SetValue(static_cast<Integer>(APTS * VideoTrackBar->MaxValue() / FDuration));
  if (APTS > 0) lblPlayTime->SetCaption(PreviewTimeLabel(APTS, FDuration));
}

void TMainForm::FFPlayerState(TObject*, media::TPlayState AState) {
  PreviewPlayState = AState;
  if (AState == media::psEnd) StopButtonClick(nullptr);
}

void TMainForm::spSkinMenuButton1Click(TObject*) {
  TBitmap Frame;
  Frame.Assign(DODodeve->CurrentFrame());
  if (Frame.Width() <= 0) return;
  TMainUnitState& State = MainUnit();
  try {
    const Integer Index = FileList ? FileList->SelectedRow() - 1 : -1;
    // "Clear All" leaves "Snapshot" enabled: no entry is not read.
    if (Index < 0 || Index >= FileList->EntryCount()) throw Exception("No file is selected");
    const String Stem = SnapshotStem(FileList->EntryDestinationTitle(Index), FileList->EntrySource(Index));
    if (SnapshotFormat == 0) {
      const String Name = NextSnapshotFile(State.SnapshotFolder, Stem, ".jpg", State.JpegSnapshotCounter);
      TJPEGImage Jpeg;
      Jpeg.Assign(&Frame);
      Jpeg.SaveToFile(Name);
      ++State.JpegSnapshotCounter;
    } else {
      const String Name = NextSnapshotFile(State.SnapshotFolder, Stem, ".bmp", State.BmpSnapshotCounter);
      Frame.SaveToFile(Name);
      ++State.BmpSnapshotCounter;
    }
  } catch (const std::exception&) {
    if (FileList) FileList->ShowSkinMessage("Cannot take snapshot.\nMake sure Snapshot Folder is available.", mtError);
  }
}

void TMainForm::Item22Click(TObject*) {
  ShellExecute(Handle(), "open", MainUnit().SnapshotFolder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainForm::Item32Click(TObject*) {
  if (!PickSnapshotFolder) return;
  const String Folder = PickSnapshotFolder(MainUnit().SnapshotFolder);
  if (!Folder.empty()) MainUnit().SnapshotFolder = Folder;
}

void TMainForm::JPEG1Click(TObject*) {
  SnapshotFormat = 0;
  JPEG1->SetChecked(true);
}

void TMainForm::BMP1Click(TObject*) {
  SnapshotFormat = 1;
  BMP1->SetChecked(true);
}

}  // namespace vantrel::app
