// The window of the "Trim" dialog and its handlers
#include "app/clip.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "app/EditorButtons.h"
#include "app/EditorHost.h"
#include "app/FormShape.h"
#include "app/PlainLog.h"
#include "app/clip_Times.h"
#include "app/main_FileList.h"
#include "app/main.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Timers.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

namespace {

constexpr Integer TrimWindowHeight = 494;
constexpr Integer TrimMarkerSize = 12;
constexpr Integer TrimMarkerTop = 327;
// The markers stand this far apart when the start meets the end.
constexpr Integer TrimMarkerApart = 11;
constexpr TColor TrimLineColor = static_cast<TColor>(0xBF8A3C);
// How long a released marker waits for the player's seek.
constexpr auto TrimSeekWait = std::chrono::seconds(2);
// How far (microseconds) the picture on screen may stand from a marker's time: the
// picture shown at a time started up to one picture's length before it.
constexpr Int64 TrimMarkerReach = 100000;

// A marker: a triangle pointing up at the bar, in the line's colour.
void PaintTrimMarker(TImage* Image) {
  TBitmap* B = Image->Picture()->Bitmap();
  B->SetPixelFormat(pf24bit);
  B->SetSize(TrimMarkerSize, TrimMarkerSize);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, TrimMarkerSize, TrimMarkerSize));
  C->Brush()->SetColor(TrimLineColor);
  C->Pen()->SetColor(TrimLineColor);
  C->Polygon({{5, 0}, {6, 0}, {11, 11}, {0, 11}});
}

using TTrimButton = TEditorButtonDef<TClipForm>;
constexpr TTrimButton TrimButtons[] = {
    {&TClipForm::PlayButton, "PlayButton", 14, 0, 1, "Play full video", &TClipForm::PlayButtonClick},
    {&TClipForm::PauseButton, "PauseButton", 39, 1, 1, "Pause", &TClipForm::PauseButtonClick},
    {&TClipForm::StopButton, "StopButton", 64, 2, 0, "Stop", &TClipForm::StopButtonClick},
    {&TClipForm::spSkinButton1, "spSkinButton1", 133, 4, 0, "Set start", &TClipForm::spSkinButton1Click},
    {&TClipForm::spSkinButton3, "spSkinButton3", 158, 5, 0, "Set end", &TClipForm::spSkinButton3Click},
    {&TClipForm::spSkinButton2, "spSkinButton2", 183, 6, 1, "Play trimmed part", &TClipForm::spSkinButton2Click},
};

}  // namespace

TClipForm::TClipForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Trim", bsDialog, 494, 494, poScreenCenter});
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };

  panPreview = ::Create<TPanel>(this);
  panPreview->SetName("panPreview");
  panPreview->SetParent(this);
  panPreview->SetBounds(18, 17, 461, 271);
  panPreview->SetColor(clBlack);
  panPreview->SetCaption("");
  FScreenControl = panPreview;

  videotrackbar2 = ::Create<TspSkinTrackBar>(this);
  videotrackbar2->SetName("videotrackbar2");
  videotrackbar2->SetParent(this);
  videotrackbar2->SetBounds(19, 305, 456, videotrackbar2->Height());
  videotrackbar2->SetMinValue(0);
  videotrackbar2->SetMaxValue(TrimTrackMax);
  videotrackbar2->SetValue(0);
  videotrackbar2->OnStartDragButton = [this](TObject* S) { videotrackbar2StartDragButton(S); };
  videotrackbar2->OnLastChange = [this](TObject* S) { videotrackbar2LastChange(S); };

  auto MakeMarker = [this](const char* Name, Integer Left) {
    auto* M = ::Create<TImage>(this);
    M->SetName(Name);
    M->SetParent(this);
    M->SetBounds(Left, TrimMarkerTop, TrimMarkerSize, TrimMarkerSize);
    PaintTrimMarker(M);
    return M;
  };
  imgTrimLeft = MakeMarker("imgTrimLeft", 11);
  imgTrimRight = MakeMarker("imgTrimRight", 473);
  imgTrimLeft->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    imgTrimLeftMouseDown(S, B, Sh, X, Y);
  };
  imgTrimLeft->OnMouseMove = [this](TObject* S, TShiftState Sh, Integer X, Integer Y) { imgTrimLeftMouseMove(S, Sh, X, Y); };
  imgTrimLeft->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    imgTrimLeftMouseUp(S, B, Sh, X, Y);
  };
  imgTrimRight->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    imgTrimRightMouseDown(S, B, Sh, X, Y);
  };
  imgTrimRight->OnMouseMove = [this](TObject* S, TShiftState Sh, Integer X, Integer Y) { imgTrimRightMouseMove(S, Sh, X, Y); };
  imgTrimRight->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    imgTrimRightMouseUp(S, B, Sh, X, Y);
  };

  TrimmedTimeLine = ::Create<TShape>(this);
  TrimmedTimeLine->SetName("TrimmedTimeLine");
  TrimmedTimeLine->SetParent(this);
  TrimmedTimeLine->Brush()->SetStyle(bsClear);
  TrimmedTimeLine->Pen()->SetColor(TrimLineColor);
  TrimmedTimeLine->SetHeight(1);

  MakeEditorButtons(this, TrimButtons, 348);

  auto MakeCaption = [this](const char* Caption, Integer Left, Integer Top) {
    auto* L = ::Create<TspSkinStdLabel>(this);
    L->SetParent(this);
    L->SetLeft(Left);
    L->SetTop(Top);
    L->SetCaption(Caption);
    return L;
  };
  lblPlayTimeCaption = MakeCaption("Play time:", 17, 390);
  lblPlayTime = ::Create<TspSkinLabel>(this);
  lblPlayTime->SetName("lblPlayTime");
  lblPlayTime->SetParent(this);
  lblPlayTime->SetBounds(76, 387, 152, 21);
  lblPlayTime->SetAlignment(taCenter);
  lblPlayTime->SetCaption("00:00:00 / 00:00:00");

  lblStartCaption = MakeCaption("Set start time:", 260, 355);
  lblEndCaption = MakeCaption("Set end time:", 260, 387);
  auto MakeTime = [this](const char* Name, Integer Top) {
    auto* E = ::Create<TspSkinTimeEdit>(this);
    E->SetName(Name);
    E->SetParent(this);
    E->SetBounds(342, Top, 88, 21);
    E->SetEditMask("!90:00:00;1; ");
    E->SetText("00:00:00");
    return E;
  };
  TimeStart = MakeTime("TimeStart", 352);
  TimeEnd = MakeTime("TimeEnd", 384);
  auto MakeTimeOk = [this](const char* Name, Integer Top, void (TClipForm::*Click)(TObject*)) {
    auto* B = ::Create<TspSkinSpeedButton>(this);
    B->SetName(Name);
    B->SetParent(this);
    B->SetBounds(434, Top, 35, 21);
    B->SetCaption("OK");
    B->OnClick = [this, Click](TObject* S) { (this->*Click)(S); };
    return B;
  };
  spSkinSpeedButton1 = MakeTimeOk("spSkinSpeedButton1", 352, &TClipForm::spSkinSpeedButton1Click);
  spSkinSpeedButton2 = MakeTimeOk("spSkinSpeedButton2", 384, &TClipForm::spSkinSpeedButton2Click);

  auto MakeAction = [this](const char* Name, const char* Caption, Integer Left, void (TClipForm::*Click)(TObject*)) {
    auto* B = ::Create<TspSkinButton>(this);
    B->SetName(Name);
    B->SetParent(this);
    B->SetBounds(Left, 427, 85, 25);
    B->SetCaption(Caption);
    B->OnClick = [this, Click](TObject* S) { (this->*Click)(S); };
    return B;
  };
  spSkinButton6 = MakeAction("spSkinButton6", "Reset", 11, &TClipForm::spSkinButton6Click);
  spSkinButton4 = MakeAction("spSkinButton4", "OK", 304, &TClipForm::spSkinButton4Click);
  spSkinButton5 = MakeAction("spSkinButton5", "Cancel", 398, &TClipForm::spSkinButton5Click);

  Timer1 = ::Create<TTimer>(this);
  Timer1->SetEnabled(false);
  Timer1->SetInterval(500);
  Timer1->OnTimer = [this](TObject* S) { Timer1Timer(S); };

  FFPlayer2 = ::Create<media::TDODodeve>(this);
  FFPlayer2->SetName("FFPlayer2");
  FFPlayer2->OnFileOpen = [this](TObject* S, Int64 D, Integer FW, Integer FH, Integer& SW, Integer& SH) {
    FFPlayer2FileOpen(S, D, FW, FH, SW, SH);
  };
  FFPlayer2->OnPosition = [this](TObject* S, Int64 P) { FFPlayer2Position(S, P); };
  FFPlayer2->OnState = [this](TObject* S, media::TPlayState St) { FFPlayer2State(S, St); };
}

void TClipForm::BeforeDestruction() {
  // The player ends before the controls its events reach.
  FFPlayer2->OnFileOpen = nullptr;
  FFPlayer2->OnPosition = nullptr;
  FFPlayer2->OnState = nullptr;
  FFPlayer2->Stop(true);
  TForm::BeforeDestruction();
}

void TClipForm::SetHost(TEditorHost* Host) {
  FHost = Host;
  TCustomImageList* Images = Host ? Host->PlayerImages() : nullptr;
  for (const TTrimButton& Def : TrimButtons) (this->*Def.Field)->SetImageList(Images);
}

void TClipForm::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  videotrackbar2->SetSkinData(Data);
  for (const TTrimButton& Def : TrimButtons) (this->*Def.Field)->SetSkinData(Data);
  for (TspSkinStdLabel* L : {lblPlayTimeCaption, lblStartCaption, lblEndCaption}) L->SetSkinData(Data);
  lblPlayTime->SetSkinData(Data);
  TimeStart->SetSkinData(Data);
  TimeEnd->SetSkinData(Data);
  spSkinSpeedButton1->SetSkinData(Data);
  spSkinSpeedButton2->SetSkinData(Data);
  for (TspSkinButton* B : {spSkinButton6, spSkinButton4, spSkinButton5}) B->SetSkinData(Data);
}

Integer TClipForm::MarkerLeftOf(Int64 T, Integer Resting) const {
  if (FDuration <= 0) return Resting;
  return TrimMarkerLeft(T, FDuration, videotrackbar2->Width());
}

Int64 TClipForm::MarkerTimeOf(Integer X) const {
  if (FDuration <= 0) return 0;
  return TrimMarkerTime(X, FDuration, videotrackbar2->Width());
}

String TClipForm::DurationText() const { return FormatMicroseconds(FDuration); }

void TClipForm::SetTrimStart(Int64 T) {
  Trim.TrimStartTime = T;
  TimeStart->SetText(FormatMicroseconds(T));
}

void TClipForm::SetTrimEnd(Int64 T) {
  Trim.TrimEndTime = T;
  TimeEnd->SetText(FormatMicroseconds(T));
}

void TClipForm::UpdateTrimmedTimeLine() {
  const Integer Left = imgTrimLeft->Left() + imgTrimLeft->Width() / 2 + 6;
  const Integer Width = imgTrimRight->Left() + imgTrimLeft->Width() / 2 - Left - 6;
  // Markers standing closer than the line's ends leave no line.
  TrimmedTimeLine->SetBounds(Left, imgTrimLeft->Top(), std::max(0, Width), 1);
}

void TClipForm::OpenFile(const String& FileName) {
  TMainUnitState& State = FHost->UnitState();
  // The media libraries come without SDL: the dialog plays on its own private SDL copy.
  if (!FFPlayer2->AVLibLoaded() && !FFPlayer2->LoadAVLib(FHost->LibAVFolder(), false)) {
    ReportError(State, "Error Loading AV Lib: " + FFPlayer2->LastErrMsg(), "CLM_FFPlayer2LoadAVLib");
    AddActionLogLine(State, FFPlayer2->LastErrMsg());
    return;
  }
  if (!FFPlayer2->SDLLibLoaded()) {
    const String Copy = FHost->PrepareSdlCopy(3);
    if (!FFPlayer2->LoadSDLLib(FHost->SdlFolder(), Copy)) {
      AddPlainLogLine(State, FFPlayer2->LastErrMsg());
      ReportError(State, "Error loading SDL library", "CLM_SDlLibLoad");
      return;
    }
  }
  FScreenControl = panPreview;
  if (!FFPlayer2->Open(FileName, panPreview->Handle(), false)) {
    ReportError(State, "Error open file: " + FFPlayer2->LastErrMsg(), "CLM_FFPlayer2Open");
    AddActionLogLine(State, FFPlayer2->LastErrMsg());
  }
}

void TClipForm::FormShow(TObject*) {
  SetHeight(TrimWindowHeight);
  // Without a file list to edit there is nothing to show.
  if (!FHost) return;
  if (spSkinButton4->CanFocus()) spSkinButton4->SetFocus();
  const TEntryTrim Entry = FHost->SelectedTrim();
  SetTrimStart(Entry.TimeStart);
  SetTrimEnd(Entry.TimeEnd);
  Trim.PlayTrimmedPart = false;
  // The open event tells the duration; a file that does not open has none.
  FDuration = 0;
  OpenFile(Entry.Source);
  const Integer Resting = videotrackbar2->Width() + TrimMarkerOffset;
  if (FDuration <= 0) {
    // No duration known (the file did not open): the markers rest at both ends.
    imgTrimLeft->SetLeft(TrimMarkerOffset);
    imgTrimRight->SetLeft(Resting);
    UpdateTrimmedTimeLine();
    return;
  }
  imgTrimLeft->SetLeft(MarkerLeftOf(Trim.TrimStartTime, TrimMarkerOffset));
  if (Trim.TrimStartTime >= Trim.TrimEndTime) {
    imgTrimRight->SetLeft(imgTrimLeft->Left());
    imgTrimLeft->SetLeft(imgTrimLeft->Left() - TrimMarkerApart);
  }
  imgTrimRight->SetLeft(MarkerLeftOf(Trim.TrimEndTime, Resting));
  if (Trim.TrimEndTime <= Trim.TrimStartTime) {
    imgTrimLeft->SetLeft(imgTrimRight->Left());
    imgTrimRight->SetLeft(imgTrimRight->Left() + TrimMarkerApart);
  }
  UpdateTrimmedTimeLine();
}

void TClipForm::FormClose(TObject*, TCloseAction&) {
  Trim.PlayTrimmedPart = false;
  StopButtonClick(this);
}

void TClipForm::FFPlayer2FileOpen(TObject*, Int64 ADuration, Integer, Integer, Integer& AScreenWidth,
                                  Integer& AScreenHeight) {
  if (FScreenControl) {
    AScreenWidth = FScreenControl->Width();
    AScreenHeight = FScreenControl->Height();
  } else {
    AScreenWidth = Screen->Width();
    AScreenHeight = Screen->Height();
  }
  FDuration = ADuration;
}

void TClipForm::FFPlayer2Position(TObject*, Int64 APTS) {
  if (Trim.InTrimPositionEvent) return;
  Trim.InTrimPositionEvent = true;
  struct TGuard {
    bool& Flag;
    ~TGuard() { Flag = false; }
  } Guard{Trim.InTrimPositionEvent};
  if (APTS >= 0 && FDuration > 0 && !Trim.TrimSeekDragging)
    videotrackbar2->SetValue(Integer(APTS * videotrackbar2->MaxValue() / FDuration));
  if (APTS > 0) {
    lblPlayTime->SetCaption(FormatMicroseconds(APTS) + " / " + DurationText());
    Trim.TrimCurrentPosition = APTS;
    if (Trim.StartFromPosition || Trim.StartMarkerReleased) {
      SetTrimStart(Trim.TrimCurrentPosition);
      if (Trim.StartMarkerReleased) Trim.StartFromPosition = Trim.StartMarkerReleased = false;
      UpdateTrimmedTimeLine();
    }
    if (Trim.EndFromPosition || Trim.EndMarkerReleased) {
      SetTrimEnd(Trim.TrimCurrentPosition);
      if (Trim.EndMarkerReleased) Trim.EndFromPosition = Trim.EndMarkerReleased = false;
      UpdateTrimmedTimeLine();
    }
  }
  if (Trim.PlayTrimmedPart && APTS >= Trim.TrimEndTime) FFPlayer2->Seek(Trim.TrimStartTime, {}, true);
}

void TClipForm::FFPlayer2State(TObject*, media::TPlayState APlayState) {
  Trim.TrimPlayState = APlayState;
  if (APlayState == media::psEnd) StopButtonClick(this);
}

void TClipForm::PlayButtonClick(TObject*) {
  Trim.PlayTrimmedPart = false;
  if (!FHost) return;
  if (Trim.TrimPlayState == media::psPause)
    FFPlayer2->Resume();
  else
    OpenFile(FHost->SelectedTrim().Source);
}

void TClipForm::PauseButtonClick(TObject*) {
  Trim.PlayTrimmedPart = false;
  FFPlayer2->TogglePause();
}

void TClipForm::StopButtonClick(TObject*) {
  Trim.PlayTrimmedPart = false;
  for (TspSkinSpeedButton* B : {spSkinButton2, PlayButton, PauseButton})
    if (B->Down()) B->SetDown(false);
  FFPlayer2->Stop(true);
  videotrackbar2->SetValue(videotrackbar2->MaxValue());
  panPreview->Repaint();
  lblPlayTime->SetCaption(DurationText() + " / " + DurationText());
}

void TClipForm::spSkinButton1Click(TObject*) {
  const Integer X = videotrackbar2->Width() * videotrackbar2->Value() / TrimTrackMax + TrimMarkerOffset;
  SetTrimStart(Trim.TrimCurrentPosition);
  imgTrimLeft->SetLeft(X);
  UpdateTrimmedTimeLine();
  if (Trim.TrimStartTime >= Trim.TrimEndTime) {
    SetTrimEnd(Trim.TrimCurrentPosition);
    imgTrimRight->SetLeft(X);
    imgTrimLeft->SetLeft(imgTrimLeft->Left() - TrimMarkerApart);
    TrimmedTimeLine->SetWidth(0);
  }
}

void TClipForm::spSkinButton3Click(TObject*) {
  const Integer X = videotrackbar2->Width() * videotrackbar2->Value() / TrimTrackMax + TrimMarkerOffset;
  SetTrimEnd(Trim.TrimCurrentPosition);
  imgTrimRight->SetLeft(X);
  UpdateTrimmedTimeLine();
  if (Trim.TrimEndTime <= Trim.TrimStartTime) {
    SetTrimStart(Trim.TrimCurrentPosition);
    imgTrimLeft->SetLeft(X);
    imgTrimRight->SetLeft(imgTrimRight->Left() + TrimMarkerApart);
    TrimmedTimeLine->SetWidth(0);
  }
}

void TClipForm::spSkinButton2Click(TObject*) {
  if (!FHost) return;
  Trim.PlayTrimmedPart = true;
  switch (FFPlayer2->PlayState()) {
    case media::psPause:
      FFPlayer2->Resume();
      break;
    case media::psPlay:
      FFPlayer2->Seek(Trim.TrimStartTime);
      break;
    case media::psStop:
    case media::psEnd:
      // Opened at the start of the part: its first picture is the first one shown.
      FFPlayer2->start_time = Trim.TrimStartTime;
      OpenFile(FHost->SelectedTrim().Source);
      break;
    default:
      break;
  }
}

void TClipForm::spSkinSpeedButton1Click(TObject*) {
  const Int64 T = TypedTimeToMicroseconds(TimeStart->Text());
  Trim.TrimStartTime = T;
  imgTrimLeft->SetLeft(MarkerLeftOf(T, TrimMarkerOffset));
  if (Trim.TrimStartTime >= Trim.TrimEndTime) {
    SetTrimEnd(T);
    imgTrimRight->SetLeft(imgTrimLeft->Left());
    imgTrimLeft->SetLeft(imgTrimLeft->Left() - TrimMarkerApart);
  }
  UpdateTrimmedTimeLine();
}

void TClipForm::spSkinSpeedButton2Click(TObject*) {
  const Int64 T = TypedTimeToMicroseconds(TimeEnd->Text());
  Trim.TrimEndTime = T;
  imgTrimRight->SetLeft(MarkerLeftOf(T, videotrackbar2->Width() + TrimMarkerOffset));
  if (Trim.TrimEndTime <= Trim.TrimStartTime) {
    SetTrimStart(T);
    imgTrimLeft->SetLeft(imgTrimRight->Left());
    imgTrimRight->SetLeft(imgTrimRight->Left() + TrimMarkerApart);
  }
  UpdateTrimmedTimeLine();
}

void TClipForm::spSkinButton6Click(TObject*) {
  imgTrimLeft->SetLeft(TrimMarkerOffset);
  imgTrimRight->SetLeft(videotrackbar2->Width() + TrimMarkerOffset);
  const Integer Top = videotrackbar2->Top() + videotrackbar2->Height();
  imgTrimLeft->SetTop(Top);
  imgTrimRight->SetTop(Top);
  UpdateTrimmedTimeLine();
  videotrackbar2->SetValue(0);
  SetTrimStart(0);
  SetTrimEnd(FDuration);
}

void TClipForm::spSkinButton4Click(TObject*) {
  if (FHost) FHost->StoreTrim(Trim.TrimStartTime, Trim.TrimEndTime, Trim.TrimEndTime - Trim.TrimStartTime);
  if (FormState().Contains(fsModal))
    SetModalResult(mrOk);
  else
    Close();
}

void TClipForm::spSkinButton5Click(TObject*) {
  Close();
}

void TClipForm::imgTrimLeftMouseDown(TObject*, TMouseButton, TShiftState, Integer X, Integer) {
  Trim.PlayTrimmedPart = false;
  Trim.StartFromPosition = true;
  Trim.StartMarkerDragging = true;
  Trim.StartMarkerGrabX = X;
  FFPlayer2->Pause();
}

void TClipForm::imgTrimLeftMouseMove(TObject*, TShiftState, Integer X, Integer) {
  if (!Trim.StartMarkerDragging) return;
  const Integer Candidate = imgTrimLeft->Left() + X - Trim.StartMarkerGrabX;
  if (Candidate <= TrimMarkerOffset || Candidate >= imgTrimRight->Left() ||
      Candidate >= videotrackbar2->Width() + TrimMarkerOffset)
    return;
  imgTrimLeft->SetLeft(Candidate);
  UpdateTrimmedTimeLine();
  FFPlayer2->Seek(MarkerTimeOf(Candidate));
}

void TClipForm::imgTrimLeftMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  Trim.StartMarkerDragging = false;
  WaitForSeekTo(imgTrimLeft->Left());
  Trim.StartMarkerReleased = true;
  if (FFPlayer2->PlayState() == media::psPause) FFPlayer2->Resume();
}

void TClipForm::imgTrimRightMouseDown(TObject*, TMouseButton, TShiftState, Integer X, Integer) {
  Trim.PlayTrimmedPart = false;
  Trim.EndFromPosition = true;
  Trim.EndMarkerDragging = true;
  Trim.EndMarkerGrabX = X;
  FFPlayer2->Pause();
}

void TClipForm::imgTrimRightMouseMove(TObject*, TShiftState, Integer X, Integer) {
  if (!Trim.EndMarkerDragging) return;
  const Integer Candidate = imgTrimRight->Left() + X - Trim.EndMarkerGrabX;
  if (Candidate <= TrimMarkerOffset || Candidate <= imgTrimLeft->Left() ||
      Candidate >= videotrackbar2->Width() + TrimMarkerOffset)
    return;
  imgTrimRight->SetLeft(Candidate);
  UpdateTrimmedTimeLine();
  FFPlayer2->Seek(MarkerTimeOf(Candidate));
}

void TClipForm::imgTrimRightMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  Trim.EndMarkerDragging = false;
  WaitForSeekTo(imgTrimRight->Left());
  Trim.EndMarkerReleased = true;
  if (FFPlayer2->PlayState() == media::psPause) FFPlayer2->Resume();
}

void TClipForm::WaitForSeek() {
  const auto End = std::chrono::steady_clock::now() + TrimSeekWait;
  while (FFPlayer2->Seeking() && std::chrono::steady_clock::now() < End) {
    Application->ProcessMessages();
    CheckSynchronize(10);
  }
}

void TClipForm::WaitForSeekTo(Integer AMarkerLeft) {
  WaitForSeek();
  // A seek asked for while the one before was still pending was not taken: the player
  // stands short of the marker, so it goes there now.
  const Int64 Time = MarkerTimeOf(AMarkerLeft);
  if (std::llabs(FFPlayer2->CurrentPTS() - Time) <= TrimMarkerReach) return;
  FFPlayer2->Seek(Time);
  WaitForSeek();
}

void TClipForm::videotrackbar2StartDragButton(TObject*) {
  Trim.PlayTrimmedPart = false;
  Trim.TrimSeekDragging = true;
}

void TClipForm::videotrackbar2LastChange(TObject*) {
  if (IsLeftButtonDown()) return;
  FFPlayer2->Seek(FDuration * videotrackbar2->Value() / videotrackbar2->MaxValue());
  Trim.TrimSeekDragging = false;
}

void TClipForm::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  FFPlayer2->Resume();
}

}  // namespace vantrel::app
