// The window of the "Edit" dialog and its handlers
#include "app/crop.h"

#include <chrono>

#include "app/EditorButtons.h"
#include "app/EditorHost.h"
#include "app/FormShape.h"
#include "app/PlainLog.h"
#include "app/main.h"
#include "media/vf_eq.h"
#include "media/vf_hue.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/ExtCtrls.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

namespace {

// How long the dialog waits for both previews to stand paused at their first picture.
constexpr auto CropOpenWait = std::chrono::seconds(10);

constexpr std::array<float, 4> CropAspectRatios = {0.0f, -1.0f, 4.0f / 3.0f, 16.0f / 9.0f};
constexpr const char* CropAspectNames[] = {"Keep Original", "Full Screen", "4:3", "16:9"};

struct TCropHandleDef {
  const char* Name;
  TCursor Cursor;
};
constexpr std::array<TCropHandleDef, CropHandleCount> CropHandleDefs = {{
    {"szLeftTop", crSizeNWSE},    {"szRightBottom", crSizeNWSE}, {"szLeftBottom", crSizeNESW},
    {"szRightTop", crSizeNESW},   {"szTopMiddle", crSizeNS},     {"szBottomMiddle", crSizeNS},
    {"szLeftMiddle", crSizeWE},   {"szRightMiddle", crSizeWE},
}};
constexpr const char* CropLineNames[] = {"lnleft", "lnright", "lntop", "lnBottom"};

constexpr TEditorButtonDef<TCropForm> CropPlayerButtons[] = {
    {&TCropForm::PlayButton, "PlayButton", 15, 0, 1, "Play full video", &TCropForm::PlayButtonClick},
    {&TCropForm::PauseButton, "PauseButton", 43, 1, 1, "Pause", &TCropForm::PauseButtonClick},
    {&TCropForm::StopButton, "StopButton", 71, 2, 0, "Stop", &TCropForm::StopButtonClick},
};

struct TCropEditDef {
  TspSkinSpinEdit* TCropForm::*Field;
  const char* Name;
  const char* Caption;
  Integer CaptionLeft, Left, Top;
};
constexpr TCropEditDef CropEditDefs[] = {
    {&TCropForm::edLeft, "edLeft", "Crop area left:", 13, 110, 352},
    {&TCropForm::edTop, "edTop", "Crop area top:", 182, 288, 352},
    {&TCropForm::edWidth, "edWidth", "Crop area width:", 13, 110, 384},
    {&TCropForm::edHeight, "edHeight", "Crop area height:", 182, 288, 384},
};

struct TCorrectionDef {
  TspSkinCheckRadioBox* TCropForm::*Box;
  TspSkinTrackBar* TCropForm::*Bar;
  const char* BoxName;
  const char* BarName;
  const char* Caption;
  Integer BoxTop, BarTop;
  void (TCropForm::*Click)(TObject*);
  void (TCropForm::*Change)(TObject*);
  void (TCropForm::*StartDrag)(TObject*);
};
constexpr TCorrectionDef CorrectionDefs[] = {
    {&TCropForm::chBrightness, &TCropForm::tbBrightness, "chBrightness", "tbBrightness", "Brightness", 321, 320,
     &TCropForm::chBrightnessClick, &TCropForm::tbBrightnessChange, &TCropForm::tbBrightnessStartDragButton},
    {&TCropForm::chContrast, &TCropForm::tbContrast, "chContrast", "tbContrast", "Contrast", 352, 353,
     &TCropForm::chContrastClick, &TCropForm::tbContrastChange, &TCropForm::tbContrastStartDragButton},
    {&TCropForm::chSaturation, &TCropForm::tbSaturation, "chSaturation", "tbSaturation", "Saturation", 383, 384,
     &TCropForm::chSaturationClick, &TCropForm::tbSaturationChange, &TCropForm::tbSaturationStartDragButton},
};

TPanel* MakeBlackPanel(TComponent* Owner, TWinControl* Parent, const char* Name, Integer Left, Integer Top) {
  auto* P = ::Create<TPanel>(Owner);
  P->SetName(Name);
  P->SetParent(Parent);
  P->SetBounds(Left, Top, 319, 222);
  P->SetColor(clBlack);
  P->SetCaption("");
  return P;
}

}  // namespace

float CropAspectRatio(Integer ItemIndex) {
  if (ItemIndex < 0 || ItemIndex >= Integer(CropAspectRatios.size())) return 0.0f;
  return CropAspectRatios[size_t(ItemIndex)];
}

String CropFilterText(Integer Brightness, Integer Contrast, Integer BrightnessId, Integer ContrastId,
                      Integer Saturation, Integer HueId, Integer SaturationId) {
  return Format("nativeeq=%d:%d:%d:%d, nativehue=%d:%d:%d:%d",
                {Brightness, Contrast, BrightnessId, ContrastId, 0, Saturation, HueId, SaturationId});
}

TCropForm::TCropForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"Edit", bsDialog, 700, 466, poMainFormCenter});
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
  FBrightness = media::NewLiveValue(0);
  FContrast = media::NewLiveValue(0);
  FSaturation = media::NewLiveValue(0);
  FHue = media::NewLiveValue(0);

  auto MakeTitle = [this](const char* Caption, Integer Left) {
    auto* L = ::Create<TspSkinStdLabel>(this);
    L->SetParent(this);
    L->SetLeft(Left);
    L->SetTop(5);
    L->Font()->SetName("Tahoma");
    L->Font()->SetHeight(-13);
    L->SetCaption(Caption);
    return L;
  };
  lblOriginal = MakeTitle("Original Preview", 132);
  lblOutput = MakeTitle("Output Preview", 497);

  panPreview1 = MakeBlackPanel(this, this, "panPreview1", 20, 35);
  Panel1 = MakeBlackPanel(this, this, "Panel1", 368, 35);
  Panel2 = MakeBlackPanel(this, Panel1, "Panel2", 0, 0);
  panPreview2 = MakeBlackPanel(this, Panel2, "panPreview2", 0, 0);
  FScreenControl1 = panPreview1;
  FScreenControl2 = panPreview2;

  for (size_t I = 0; I < Lines.size(); ++I) {
    auto* Line = ::Create<TPanel>(this);
    Line->SetName(CropLineNames[I]);
    Line->SetParent(panPreview1);
    Line->SetColor(clWhite);
    Line->SetCaption("");
    auto* Dots = ::Create<TShape>(this);
    Dots->SetParent(Line);
    Dots->SetAlign(alClient);
    Dots->Brush()->SetColor(clBlack);
    Dots->Pen()->SetColor(clWhite);
    Dots->Pen()->SetStyle(psDot);
    Lines[I] = Line;
  }
  for (size_t I = 0; I < Handles.size(); ++I) {
    auto* H = ::Create<TPanel>(this);
    H->SetName(CropHandleDefs[I].Name);
    H->SetParent(panPreview1);
    H->SetBounds(0, 0, 8, 9);
    H->SetColor(clWhite);
    H->SetCaption("");
    H->SetCursor(CropHandleDefs[I].Cursor);
    H->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      szRightBottomMouseDown(S, B, Sh, X, Y);
    };
    H->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      szRightBottomMouseUp(S, B, Sh, X, Y);
    };
    H->OnMouseMove = [this, Code = TCropHandle(I)](TObject*, TShiftState Sh, Integer X, Integer Y) {
      HandleMouseMove(Code, Sh, X, Y);
    };
    Handles[I] = H;
  }

  MakeEditorButtons(this, CropPlayerButtons, 279);

  videotrackbar = ::Create<TspSkinTrackBar>(this);
  videotrackbar->SetName("videotrackbar");
  videotrackbar->SetParent(this);
  videotrackbar->SetBounds(121, 282, 570, videotrackbar->Height());
  videotrackbar->SetMinValue(0);
  videotrackbar->SetValue(0);
  videotrackbar->OnStartDragButton = [this](TObject* S) { videotrackbarStartDragButton(S); };
  videotrackbar->OnLastChange = [this](TObject* S) { videotrackbarLastChange(S); };

  auto* AspectCaption = ::Create<TspSkinStdLabel>(this);
  AspectCaption->SetParent(this);
  AspectCaption->SetLeft(13);
  AspectCaption->SetTop(323);
  AspectCaption->SetCaption("Aspect ratio:");
  cmbAspectRatio = ::Create<TspSkinComboBox>(this);
  cmbAspectRatio->SetName("cmbAspectRatio");
  cmbAspectRatio->SetParent(this);
  cmbAspectRatio->SetBounds(91, 320, 237, cmbAspectRatio->Height());
  for (const char* Name : CropAspectNames) cmbAspectRatio->Items()->Add(Name);
  cmbAspectRatio->OnChange = [this](TObject* S) { cmbAspectRatioChange(S); };

  for (const TCropEditDef& Def : CropEditDefs) {
    auto* Caption = ::Create<TspSkinStdLabel>(this);
    Caption->SetParent(this);
    Caption->SetLeft(Def.CaptionLeft);
    Caption->SetTop(Def.Top + 3);
    Caption->SetCaption(Def.Caption);
    auto* E = ::Create<TspSkinSpinEdit>(this);
    E->SetName(Def.Name);
    E->SetParent(this);
    E->SetBounds(Def.Left, Def.Top, 66, E->Height());
    E->SetValueType(vtInteger);
    E->SetMinValue(0);
    E->SetMaxValue(5000);
    E->SetIncrement(1);
    E->SimpleSetValue(0);
    E->OnChange = [this](TObject* S) { edLeftChange(S); };
    this->*Def.Field = E;
  }

  for (const TCorrectionDef& Def : CorrectionDefs) {
    auto* Box = ::Create<TspSkinCheckRadioBox>(this);
    Box->SetName(Def.BoxName);
    Box->SetParent(this);
    Box->SetBounds(358, Def.BoxTop, 85, 25);
    Box->SetCaption(Def.Caption);
    Box->OnClick = [this, Click = Def.Click](TObject* S) { (this->*Click)(S); };
    this->*Def.Box = Box;
    auto* Bar = ::Create<TspSkinTrackBar>(this);
    Bar->SetName(Def.BarName);
    Bar->SetParent(this);
    Bar->SetBounds(446, Def.BarTop, 245, Bar->Height());
    Bar->SetMinValue(-100);
    Bar->SetMaxValue(100);
    Bar->SetValue(0);
    Bar->OnChange = [this, Change = Def.Change](TObject* S) { (this->*Change)(S); };
    Bar->OnStartDragButton = [this, Start = Def.StartDrag](TObject* S) { (this->*Start)(S); };
    this->*Def.Bar = Bar;
  }

  auto MakeAction = [this](const char* Name, const char* Caption, Integer Left, void (TCropForm::*Click)(TObject*)) {
    auto* B = ::Create<TspSkinButton>(this);
    B->SetName(Name);
    B->SetParent(this);
    B->SetBounds(Left, 430, 85, 25);
    B->SetCaption(Caption);
    B->OnClick = [this, Click](TObject* S) { (this->*Click)(S); };
    return B;
  };
  spSkinButton2 = MakeAction("spSkinButton2", "Reset All", 13, &TCropForm::spSkinButton2Click);
  spSkinButton1 = MakeAction("spSkinButton1", "Apply", 109, &TCropForm::spSkinButton1Click);
  spSkinButton4 = MakeAction("spSkinButton4", "OK", 508, &TCropForm::spSkinButton4Click);
  spSkinButton5 = MakeAction("spSkinButton5", "Cancel", 602, &TCropForm::spSkinButton5Click);

  FFPlayer1 = ::Create<media::TDODodeve>(this);
  FFPlayer1->SetName("FFPlayer1");
  FFPlayer1->OnFileOpen = [this](TObject* S, Int64 D, Integer FW, Integer FH, Integer& SW, Integer& SH) {
    FFPlayer1FileOpen(S, D, FW, FH, SW, SH);
  };
  FFPlayer1->OnPosition = [this](TObject* S, Int64 P) { FFPlayer1Position(S, P); };
  FFPlayer1->OnState = [this](TObject* S, media::TPlayState St) { FFPlayer1State(S, St); };
  FFPlayer2 = ::Create<media::TDODodeve>(this);
  FFPlayer2->SetName("FFPlayer2");
  FFPlayer2->SetMute(true);
  FFPlayer2->SetVideoHook(true);
  FFPlayer2->OnVideoHook = [this](TObject* S, TBitmap* B, Int64 P, bool& U) { FFPlayer2VideoHook(S, B, P, U); };
}

void TCropForm::BeforeDestruction() {
  // The players end before the controls their events reach.
  FFPlayer2->SetVideoHook(false);
  for (media::TDODodeve* P : {FFPlayer1, FFPlayer2}) {
    P->OnFileOpen = nullptr;
    P->OnPosition = nullptr;
    P->OnState = nullptr;
    P->Stop(true);
  }
  FAlive.reset();
  TForm::BeforeDestruction();
}

void TCropForm::SetHost(TEditorHost* Host) {
  FHost = Host;
  TCustomImageList* Images = Host ? Host->PlayerImages() : nullptr;
  for (const auto& Def : CropPlayerButtons) (this->*Def.Field)->SetImageList(Images);
}

void TCropForm::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  lblOriginal->SetSkinData(Data);
  lblOutput->SetSkinData(Data);
  for (const auto& Def : CropPlayerButtons) (this->*Def.Field)->SetSkinData(Data);
  videotrackbar->SetSkinData(Data);
  cmbAspectRatio->SetSkinData(Data);
  for (const TCropEditDef& Def : CropEditDefs) (this->*Def.Field)->SetSkinData(Data);
  for (const TCorrectionDef& Def : CorrectionDefs) {
    (this->*Def.Box)->SetSkinData(Data);
    (this->*Def.Bar)->SetSkinData(Data);
  }
  for (TspSkinButton* B : {spSkinButton2, spSkinButton1, spSkinButton4, spSkinButton5}) B->SetSkinData(Data);
}

// --- showing and the players -----------------------------------------------------------------

void TCropForm::FormShow(TObject*) {
  // Without a file list to edit there is nothing to show.
  if (!FHost) return;
  Crop.NudgeOutputPreview.store(true);
  videotrackbar->SetMaxValue(videotrackbar->Width());
  Crop.CropFirstOpen = true;
  media::RegisterEqFilter();
  media::RegisterHueFilter();
  UpdateVideoFilters();
  OpenVideo(FHost->SelectedPicture().Source, false);
}

void TCropForm::UpdateVideoFilters() {
  FHue->store(0);
  FFPlayer2->SetVideoFilters(CropFilterText(FBrightness->load(), FContrast->load(), media::LiveValueId(FBrightness),
                                            media::LiveValueId(FContrast), FSaturation->load(),
                                            media::LiveValueId(FHue), media::LiveValueId(FSaturation)));
}

void TCropForm::OpenVideo(const String& FileName, bool IsPaused) {
  TMainUnitState& State = FHost->UnitState();
  struct TOpening {
    media::TDODodeve* Player;
    TPanel* Panel;
    TWinControl*& ScreenControl;
    Integer Number;
    bool Opened = false;
    bool Started = false;  // seen past the stopped state it opens in
  } Openings[] = {{FFPlayer1, panPreview1, FScreenControl1, 1}, {FFPlayer2, panPreview2, FScreenControl2, 2}};
  for (TOpening& O : Openings) {
    media::TDODodeve* P = O.Player;
    if (!P->AVLibLoaded() && !P->LoadAVLib(FHost->LibAVFolder(), false)) {
      ReportError(State, P->LastErrMsg(), Format("CLM_FFPlayer%dLoadAVLib", {O.Number}));
      AddActionLogLine(State, P->LastErrMsg());
      return;
    }
    if (!P->SDLLibLoaded()) {
      const String Copy = FHost->PrepareSdlCopy(O.Number);
      if (!P->LoadSDLLib(FHost->SdlFolder(), Copy)) {
        AddPlainLogLine(State, P->LastErrMsg());
        ReportError(State, Format("Error loading SDL library for player%d", {O.Number}),
                    Format("CLM_SDlLibLoad%d", {O.Number}));
        return;
      }
    }
    O.ScreenControl = O.Panel;
    O.Opened = P->Open(FileName, O.Panel->Handle(), true);
    if (!O.Opened) {
      ReportError(State, P->LastErrMsg(), Format("CLM_FFPlayer%dOpen", {O.Number}));
      AddActionLogLine(State, P->LastErrMsg());
    }
  }
  if (IsPaused) return;
  // Both previews start together: once both stand paused at their first picture, or
  // one of them failed, stopped or ended, or the wait ran out.
  auto Settled = [](TOpening& O) {
    const media::TPlayState S = O.Player->PlayState();
    if (S != media::psStop) O.Started = true;
    return !O.Opened || S == media::psPause || S == media::psEnd || (O.Started && S == media::psStop);
  };
  const auto End = std::chrono::steady_clock::now() + CropOpenWait;
  for (;;) {
    const bool Both = Settled(Openings[0]) & Settled(Openings[1]);
    if (Both || std::chrono::steady_clock::now() >= End) break;
    Application->ProcessMessages();
    CheckSynchronize(10);
  }
  FFPlayer1->Resume();
  FFPlayer2->Resume();
}

void TCropForm::FFPlayer1FileOpen(TObject*, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight, Integer&,
                                  Integer&) {
  FDuration = ADuration;
  if (!Crop.CropFirstOpen) return;
  Crop.CropFirstOpen = false;
  FFPlayer1->SetAudioVolume(FHost->PreviewVolume());
  Crop.CropFrameWidth = AFrameWidth;
  Crop.CropFrameHeight = AFrameHeight;
  edTop->SetMaxValue(AFrameHeight);
  edHeight->SetMaxValue(AFrameHeight);
  edLeft->SetMaxValue(AFrameWidth);
  edWidth->SetMaxValue(AFrameWidth);
  const TEntryPicture Entry = FHost->SelectedPicture();
  const std::pair<Integer, const TCorrectionDef*> Stored[] = {
      {Entry.Brightness, &CorrectionDefs[0]}, {Entry.Contrast, &CorrectionDefs[1]}, {Entry.Saturation, &CorrectionDefs[2]}};
  for (const auto& [Value, Def] : Stored) {
    (this->*Def->Box)->SetChecked(Value != 0);
    (this->*Def->Bar)->SetValue(Value);
  }
  if (Entry.CropLeft == 0 && Entry.CropTop == 0 && Entry.CropRight == 0 && Entry.CropBottom == 0) {
    SetEditQuietly(edLeft, 0);
    SetEditQuietly(edTop, 0);
    SetEditQuietly(edWidth, AFrameWidth);
    SetEditQuietly(edHeight, AFrameHeight);
    SetAspectQuietly(0);
  } else {
    SetEditQuietly(edLeft, Entry.CropLeft);
    SetEditQuietly(edTop, Entry.CropTop);
    SetEditQuietly(edWidth, AFrameWidth - Entry.CropRight - Entry.CropLeft);
    SetEditQuietly(edHeight, AFrameHeight - Entry.CropBottom - Entry.CropTop);
    // A stored crop that does not fit this picture is brought inside it.
    ShowEditValues(ClampedEditValues());
  }
  SetAspectQuietly(Entry.AspectRatio);
  PaintSelectionFromEdits();
  PaintPreviewFromEdits();
  try {
    const TPicturePlacement P = PlacePicture(AFrameWidth, AFrameHeight, panPreview1->Width(), panPreview1->Height());
    Crop.PictureBounds = PictureBounds(P, AFrameWidth, AFrameHeight);
  } catch (const std::exception&) {
    Crop.PictureBounds = {};
  }
}

void TCropForm::FFPlayer1Position(TObject*, Int64 APTS) {
  if (APTS < 0 || FDuration <= 0 || IsLeftButtonDown() || Crop.CropSeekDragging) return;
  videotrackbar->SetValue(Integer(APTS * videotrackbar->MaxValue() / FDuration));
}

void TCropForm::FFPlayer1State(TObject*, media::TPlayState APlayState) {
  Crop.CropPlayState = APlayState;
  if (APlayState == media::psEnd) StopButtonClick(this);
}

void TCropForm::FFPlayer2VideoHook(TObject*, TBitmap*, Int64, bool&) {
  if (!Crop.NudgeOutputPreview.exchange(false)) return;
  // The output player re-fits its picture when its window changes size; the change is
  // made on the GUI thread, which this thread never waits for.
  TThread::Queue(nullptr, [this, Alive = std::weak_ptr<bool>(FAlive)] {
    if (Alive.expired()) return;
    panPreview2->SetBounds(panPreview2->Left(), panPreview2->Top(), panPreview2->Width() - 1,
                           panPreview2->Height() - 1);
  });
}

void TCropForm::PlayButtonClick(TObject*) {
  if (!FHost) return;
  if (Crop.CropPlayState == media::psPause) {
    FFPlayer1->Resume();
    FFPlayer2->Resume();
  } else {
    OpenVideo(FHost->SelectedPicture().Source, false);
  }
}

void TCropForm::PauseButtonClick(TObject*) {
  FFPlayer1->Pause();
  FFPlayer2->Pause();
}

void TCropForm::StopButtonClick(TObject*) {
  for (TspSkinSpeedButton* B : {PlayButton, PauseButton})
    if (B->Down()) B->SetDown(false);
  FFPlayer1->Stop(false);
  FFPlayer2->Stop(false);
  videotrackbar->SetValue(videotrackbar->MaxValue());
  panPreview1->Repaint();
  panPreview2->Repaint();
}

void TCropForm::videotrackbarStartDragButton(TObject*) { Crop.CropSeekDragging = true; }

void TCropForm::videotrackbarLastChange(TObject*) {
  if (IsLeftButtonDown()) return;
  const Int64 T = FDuration * videotrackbar->Value() / std::max(1, videotrackbar->MaxValue());
  FFPlayer1->Seek(T);
  FFPlayer2->Seek(T);
  Crop.CropSeekDragging = false;
}

// --- corrections and aspect --------------------------------------------------------------------

void TCropForm::chBrightnessClick(TObject*) {
  if (!chBrightness->Checked()) tbBrightness->SetValue(0);
}
void TCropForm::chContrastClick(TObject*) {
  if (!chContrast->Checked()) tbContrast->SetValue(0);
}
void TCropForm::chSaturationClick(TObject*) {
  if (!chSaturation->Checked()) tbSaturation->SetValue(0);
}
void TCropForm::tbBrightnessChange(TObject*) { FBrightness->store(tbBrightness->Value()); }
void TCropForm::tbContrastChange(TObject*) { FContrast->store(tbContrast->Value()); }
void TCropForm::tbSaturationChange(TObject*) { FSaturation->store(tbSaturation->Value()); }
void TCropForm::tbBrightnessStartDragButton(TObject*) { StartCorrectionDrag(chBrightness); }
void TCropForm::tbContrastStartDragButton(TObject*) { StartCorrectionDrag(chContrast); }
void TCropForm::tbSaturationStartDragButton(TObject*) { StartCorrectionDrag(chSaturation); }

void TCropForm::StartCorrectionDrag(TspSkinCheckRadioBox* Box) {
  Box->SetChecked(true);
  if (Crop.CropPlayState == media::psPause) {
    PlayButton->SetDown(true);
    PlayButtonClick(PlayButton);
  }
}

void TCropForm::cmbAspectRatioChange(TObject*) {
  FFPlayer2->SetAspectRatio(CropAspectRatio(cmbAspectRatio->ItemIndex()));
  if (Crop.SkipEditChange) {
    Crop.SkipEditChange = false;
    return;
  }
  PaintSelectionFromEdits();
  PaintPreviewFromEdits();
}

void TCropForm::edLeftChange(TObject*) {
  if (Crop.SkipEditChange) {
    Crop.SkipEditChange = false;
    return;
  }
  // A size below the least one (met while a number is retyped) has nothing to show yet.
  if (Round(edWidth->Value()) < CropMinSize || Round(edHeight->Value()) < CropMinSize) return;
  // What was typed is kept inside the picture.
  if (Crop.CropFrameWidth > 0 && Crop.CropFrameHeight > 0) ShowEditValues(ClampedEditValues());
  PaintSelectionFromEdits();
  PaintPreviewFromEdits();
}

void TCropForm::SetEditQuietly(TspSkinSpinEdit* Edit, Integer Value) {
  Crop.SkipEditChange = true;
  Edit->SetValue(Value);
  // The change event came at once; one that did not come must not swallow the next.
  Crop.SkipEditChange = false;
}

void TCropForm::SetAspectQuietly(Integer Index) {
  // The choice raises its change event only when its text changes.
  Crop.SkipEditChange = true;
  cmbAspectRatio->SetItemIndex(Index);
  Crop.SkipEditChange = false;
}

// --- the buttons ----------------------------------------------------------------------------------

void TCropForm::spSkinButton1Click(TObject*) {
  if (!FHost) return;
  try {
    TEntryPicture V = FHost->SelectedPicture();
    const Integer FW = Crop.CropFrameWidth, FH = Crop.CropFrameHeight;
    // The crop stays inside the frame, whatever was left half typed.
    const TCropEdits E = ClampedEditValues();
    V.CropLeft = E.Left;
    V.CropTop = E.Top;
    V.CropRight = FW - E.Width - E.Left;
    V.CropBottom = FH - E.Height - E.Top;
    V.AspectRatio = cmbAspectRatio->ItemIndex();
    V.Brightness = tbBrightness->Value();
    V.Saturation = tbSaturation->Value();
    V.Contrast = tbContrast->Value();
    FHost->StorePicture(V);
  } catch (const std::exception&) {
    ReportError(FHost->UnitState(), "Error setting cropped area", "CLM_CropSet");
  }
}

void TCropForm::spSkinButton2Click(TObject*) { CropAreaToEdits(true, false); }

void TCropForm::spSkinButton4Click(TObject* Sender) {
  spSkinButton1Click(Sender);
  if (FormState().Contains(fsModal))
    SetModalResult(mrOk);
  else
    Close();
}

void TCropForm::spSkinButton5Click(TObject*) { Close(); }

void TCropForm::FormClose(TObject*, TCloseAction&) {
  StopButtonClick(this);
  Panel2->SetBounds(0, 0, panPreview1->Width(), panPreview1->Height());
  panPreview2->SetBounds(0, 0, panPreview1->Width(), panPreview1->Height());
}

// --- the selection ---------------------------------------------------------------------------------

TCropEdits TCropForm::EditValues() const {
  return {CheckedInt(Round(edLeft->Value())), CheckedInt(Round(edTop->Value())),
          CheckedInt(Round(edWidth->Value())), CheckedInt(Round(edHeight->Value()))};
}

TCropEdits TCropForm::ClampedEditValues() const {
  return ClampCropEdits(EditValues(), Crop.CropFrameWidth, Crop.CropFrameHeight);
}

void TCropForm::ShowEditValues(const TCropEdits& E) {
  const TCropEdits Shown = EditValues();
  const std::pair<TspSkinSpinEdit*, Integer> Values[] = {
      {edLeft, E.Left}, {edTop, E.Top}, {edWidth, E.Width}, {edHeight, E.Height}};
  const Integer Was[] = {Shown.Left, Shown.Top, Shown.Width, Shown.Height};
  for (size_t I = 0; I < std::size(Values); ++I)
    if (Values[I].second != Was[I]) SetEditQuietly(Values[I].first, Values[I].second);
}

TCropSelection TCropForm::ShownSelection() const {
  TCropSelection Sel;
  for (size_t I = 0; I < Handles.size(); ++I) Sel.Handles[I] = {Handles[I]->Left(), Handles[I]->Top()};
  CompleteSelection(Sel);
  return Sel;
}

void TCropForm::ShowSelection(const TCropSelection& Sel) {
  for (size_t I = 0; I < Handles.size(); ++I) Handles[I]->SetBounds(Sel.Handles[I].X, Sel.Handles[I].Y, 8, 9);
  for (size_t I = 0; I < Lines.size(); ++I) {
    const TCropBox& B = Sel.Lines[I];
    Lines[I]->SetBounds(B.Left, B.Top, B.Width, B.Height);
  }
  // The handles stay above the lines.
  for (TPanel* H : Handles) H->BringToFront();
}

String TCropForm::GeometryReportTail(Integer W, Integer H) const {
  return "BitmapWidth=" + IntToStr(W) + "; BitmapHeight=" + IntToStr(H) +
         "; AspectRatio=" + FloatToStr(FFPlayer1->AspectRatio());
}

void TCropForm::PaintSelectionFromEdits() {
  const Integer W = Crop.CropFrameWidth, H = Crop.CropFrameHeight;
  try {
    const TPicturePlacement P = PlacePicture(W, H, panPreview1->Width(), panPreview1->Height());
    ShowSelection(SelectionFromEdits(P, EditValues()));
  } catch (const std::exception&) {
    ReportError(FHost->UnitState(), "Error painting Selection Area with edited values. " + GeometryReportTail(W, H),
                "CLM_ValuesToCropArea");
  }
}

void TCropForm::PaintPreviewFromEdits() {
  const Integer W = Crop.CropFrameWidth, H = Crop.CropFrameHeight;
  const float A = FFPlayer2->AspectRatio();
  try {
    const TPreviewZoom Z = PreviewZoom(W, H, panPreview1->Width(), panPreview1->Height(), Panel1->Width(),
                                       Panel1->Height(), A, EditValues());
    Panel2->SetBounds(Z.Clip.Left, Z.Clip.Top, Z.Clip.Width, Z.Clip.Height);
    panPreview2->SetBounds(Z.Picture.Left, Z.Picture.Top, Z.Picture.Width, Z.Picture.Height);
  } catch (const std::exception&) {
    ReportError(FHost->UnitState(),
                "Error painting Preview Area with edited values. BitmapWidth=" + IntToStr(W) + "; BitmapHeight=" +
                    IntToStr(H) + "; AspectRatio=" + FloatToStr(A) + "; panPreview2.Width=" +
                    IntToStr(panPreview2->Width()) + "; panPreview2.Height=" + IntToStr(panPreview2->Height()),
                "CLM_ValuesToPreviewArea");
  }
}

void TCropForm::CropAreaToEdits(bool isReset, bool) {
  Integer W = 0, H = 0;
  try {
    TBitmap* Frame = FFPlayer1->CurrentFrame();
    W = Frame ? Frame->Width() : 0;
    H = Frame ? Frame->Height() : 0;
    // The whole picture comes back even when no picture is shown (stopped or ended).
    if (isReset && (W == 0 || H == 0)) {
      W = Crop.CropFrameWidth;
      H = Crop.CropFrameHeight;
    }
    if (W == 0 || H == 0) return;
    if (!isReset) {
      const TPicturePlacement P = PlacePicture(W, H, panPreview1->Width(), panPreview1->Height());
      if (P.S == 0) return;
      // Rounding may map a handle at the picture's edge a pixel beyond it.
      const TCropEdits E = ClampCropEdits(EditsFromSelection(P, ShownSelection()), W, H);
      SetEditQuietly(edLeft, E.Left);
      SetEditQuietly(edTop, E.Top);
      SetEditQuietly(edWidth, E.Width);
      SetEditQuietly(edHeight, E.Height);
      return;
    }
    SetEditQuietly(edLeft, 0);
    SetEditQuietly(edTop, 0);
    SetEditQuietly(edWidth, W);
    SetEditQuietly(edHeight, H);
    tbBrightness->SetValue(0);
    tbContrast->SetValue(0);
    tbSaturation->SetValue(0);
    PaintSelectionFromEdits();
    SetAspectQuietly(0);
    PaintPreviewFromEdits();
  } catch (const std::exception&) {
    ReportError(FHost->UnitState(), "Error painting Selection Area. " + GeometryReportTail(W, H), "CLM_PaintCropArea");
  }
}

// --- dragging a handle ------------------------------------------------------------------------------

void TCropForm::szRightBottomMouseDown(TObject*, TMouseButton, TShiftState, Integer X, Integer Y) {
  if (FFPlayer1->PlayState() == media::psStop) return;
  Crop.DragStartX = X;
  Crop.DragStartY = Y;
  Crop.HandleDragging = true;
}

void TCropForm::szRightBottomMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  Crop.HandleDragging = false;
}

void TCropForm::HandleMouseMove(TCropHandle Handle, TShiftState, Integer X, Integer Y) {
  if (!Crop.HandleDragging) return;
  TPanel* H = Handles[Handle];
  const TPoint Candidate{H->Left() + X - Crop.DragStartX, H->Top() + Y - Crop.DragStartY};
  TCropSelection Sel = ShownSelection();
  if (!CropHandleMoveAllowed(Sel, Handle, Candidate)) return;
  DragCropHandle(Sel, Handle, Candidate, Crop.PictureBounds);
  ShowSelection(Sel);
  CropAreaToEdits(false, false);
  PaintPreviewFromEdits();
}

}  // namespace vantrel::app
