// The window of the "Trim" dialog: the part of the selected file that is converted, set
// with two markers on the position bar, "Set start"/"Set end" at the playing position or
// typed times, watched in a preview that can loop the trimmed part.
#pragma once

#include "media/FFPlay.h"
#include "platform/ui/Forms.h"

class TImage;
class TPanel;
class TShape;
class TTimer;
class TspFormSkin;
class TspSkinButton;
class TspSkinData;
class TspSkinLabel;
class TspSkinSpeedButton;
class TspSkinStdLabel;
class TspSkinTimeEdit;
class TspSkinTrackBar;

namespace vantrel::app {

class TEditorHost;

// The editor's state between its events; times in microseconds.
struct TTrimState {
  Int64 TrimStartTime = 0;
  Int64 TrimEndTime = 0;
  Int64 TrimCurrentPosition = 0;
  media::TPlayState TrimPlayState = media::psPlay;
  bool PlayTrimmedPart = false;
  bool TrimSeekDragging = false;
  bool StartMarkerDragging = false, EndMarkerDragging = false;
  Integer StartMarkerGrabX = 0, EndMarkerGrabX = 0;
  bool StartFromPosition = false, EndFromPosition = false;
  bool StartMarkerReleased = false, EndMarkerReleased = false;
  bool InTrimPositionEvent = false;
};

class TClipForm : public TForm {
  VANTREL_CLASS(TClipForm)
  explicit TClipForm(TComponent* AOwner);
  void BeforeDestruction() override;

  TspFormSkin* spFormSkin1 = nullptr;
  TPanel* panPreview = nullptr;
  TspSkinTrackBar* videotrackbar2 = nullptr;
  TImage* imgTrimLeft = nullptr;
  TImage* imgTrimRight = nullptr;
  TShape* TrimmedTimeLine = nullptr;
  TspSkinSpeedButton* PlayButton = nullptr;
  TspSkinSpeedButton* PauseButton = nullptr;
  TspSkinSpeedButton* StopButton = nullptr;
  TspSkinSpeedButton* spSkinButton1 = nullptr;  // "Set start"
  TspSkinSpeedButton* spSkinButton3 = nullptr;  // "Set end"
  TspSkinSpeedButton* spSkinButton2 = nullptr;  // "Play trimmed part"
  TspSkinStdLabel* lblPlayTimeCaption = nullptr;
  TspSkinLabel* lblPlayTime = nullptr;
  TspSkinStdLabel* lblStartCaption = nullptr;
  TspSkinStdLabel* lblEndCaption = nullptr;
  TspSkinTimeEdit* TimeStart = nullptr;
  TspSkinTimeEdit* TimeEnd = nullptr;
  TspSkinSpeedButton* spSkinSpeedButton1 = nullptr;
  TspSkinSpeedButton* spSkinSpeedButton2 = nullptr;
  TspSkinButton* spSkinButton6 = nullptr;  // "Reset"
  TspSkinButton* spSkinButton4 = nullptr;  // "OK"
  TspSkinButton* spSkinButton5 = nullptr;  // "Cancel"
  TTimer* Timer1 = nullptr;
  media::TDODodeve* FFPlayer2 = nullptr;

  TWinControl* FScreenControl = nullptr;
  Int64 FDuration = 0;
  TTrimState Trim;

  // Where the dialog finds its entry, SDL copy and reports; set before it is shown.
  void SetHost(TEditorHost* Host);
  // Draws the frame and the controls with the application's skin.
  void BindSkin(TspSkinData* Data);

  void SetTrimStart(Int64 T);
  void SetTrimEnd(Int64 T);
  void UpdateTrimmedTimeLine();
  void OpenFile(const String& FileName);

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FFPlayer2FileOpen(TObject* Sender, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight,
                         Integer& AScreenWidth, Integer& AScreenHeight);
  void FFPlayer2Position(TObject* Sender, Int64 APTS);
  void FFPlayer2State(TObject* Sender, media::TPlayState APlayState);
  void PlayButtonClick(TObject* Sender);
  void PauseButtonClick(TObject* Sender);
  void StopButtonClick(TObject* Sender);
  void spSkinButton1Click(TObject* Sender);  // "Set start"
  void spSkinButton3Click(TObject* Sender);  // "Set end"
  void spSkinButton2Click(TObject* Sender);  // "Play trimmed part"
  void spSkinSpeedButton1Click(TObject* Sender);  // typed start
  void spSkinSpeedButton2Click(TObject* Sender);  // typed end
  void spSkinButton6Click(TObject* Sender);  // "Reset"
  void spSkinButton4Click(TObject* Sender);  // "OK"
  void spSkinButton5Click(TObject* Sender);  // "Cancel"
  void imgTrimLeftMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void imgTrimLeftMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void imgTrimLeftMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void imgTrimRightMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void imgTrimRightMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void imgTrimRightMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void videotrackbar2StartDragButton(TObject* Sender);
  void videotrackbar2LastChange(TObject* Sender);
  void Timer1Timer(TObject* Sender);

 private:
  // The marker left of time T; without a known duration the marker's resting place.
  Integer MarkerLeftOf(Int64 T, Integer Resting) const;
  Int64 MarkerTimeOf(Integer X) const;
  // Serves the GUI thread until the player's seek ends (at most 2 s).
  void WaitForSeek();
  // Waits for the seek of a marker drag; seeks again to the marker's time when the
  // player did not get there.
  void WaitForSeekTo(Integer AMarkerLeft);
  String DurationText() const;

  TEditorHost* FHost = nullptr;
};

}  // namespace vantrel::app
