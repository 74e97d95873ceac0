// The window of the "Edit" dialog: crop, aspect ratio and picture corrections of the
// selected file, shown twice: as it is, with the crop rectangle and its eight handles,
// and as it will come out, zoomed to the crop with the corrections applied live.
#pragma once

#include <array>
#include <atomic>
#include <memory>

#include "app/crop_Geometry.h"
#include "media/FFPlay.h"
#include "media/FFUtils.h"
#include "platform/ui/Forms.h"

class TPanel;
class TShape;
class TspFormSkin;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinComboBox;
class TspSkinData;
class TspSkinSpeedButton;
class TspSkinSpinEdit;
class TspSkinStdLabel;
class TspSkinTrackBar;

namespace vantrel::app {

class TEditorHost;

// The output player's aspect ratio for an aspect choice (-1: none chosen).
float CropAspectRatio(Integer ItemIndex);
// The live filter text of the output player for the live values' ids and start values.
String CropFilterText(Integer Brightness, Integer Contrast, Integer BrightnessId, Integer ContrastId,
                      Integer Saturation, Integer HueId, Integer SaturationId);

// The editor's state between its events.
struct TCropState {
  media::TPlayState CropPlayState = media::psPlay;
  bool CropSeekDragging = false;
  bool CropFirstOpen = false;
  std::atomic<bool> NudgeOutputPreview{false};
  Integer CropFrameWidth = 0, CropFrameHeight = 0;
  bool HandleDragging = false;
  Integer DragStartX = 0, DragStartY = 0;
  bool SkipEditChange = false;
  TRect PictureBounds;
};

class TCropForm : public TForm {
  VANTREL_CLASS(TCropForm)
  explicit TCropForm(TComponent* AOwner);
  void BeforeDestruction() override;

  TspFormSkin* spFormSkin1 = nullptr;
  TspSkinStdLabel* lblOriginal = nullptr;
  TspSkinStdLabel* lblOutput = nullptr;
  TPanel* panPreview1 = nullptr;
  TPanel* Panel1 = nullptr;
  TPanel* Panel2 = nullptr;
  TPanel* panPreview2 = nullptr;
  TspSkinSpeedButton* PlayButton = nullptr;
  TspSkinSpeedButton* PauseButton = nullptr;
  TspSkinSpeedButton* StopButton = nullptr;
  TspSkinTrackBar* videotrackbar = nullptr;
  TspSkinComboBox* cmbAspectRatio = nullptr;
  TspSkinSpinEdit* edLeft = nullptr;
  TspSkinSpinEdit* edTop = nullptr;
  TspSkinSpinEdit* edWidth = nullptr;
  TspSkinSpinEdit* edHeight = nullptr;
  TspSkinCheckRadioBox* chBrightness = nullptr;
  TspSkinCheckRadioBox* chContrast = nullptr;
  TspSkinCheckRadioBox* chSaturation = nullptr;
  TspSkinTrackBar* tbBrightness = nullptr;
  TspSkinTrackBar* tbContrast = nullptr;
  TspSkinTrackBar* tbSaturation = nullptr;
  TspSkinButton* spSkinButton2 = nullptr;  // "Reset All"
  TspSkinButton* spSkinButton1 = nullptr;  // "Apply"
  TspSkinButton* spSkinButton4 = nullptr;  // "OK"
  TspSkinButton* spSkinButton5 = nullptr;  // "Cancel"
  // The selection over the source preview, by TCropHandle and TCropLine.
  std::array<TPanel*, CropHandleCount> Handles{};
  std::array<TPanel*, 4> Lines{};
  TPanel*& szLeftTop = Handles[chLeftTop];
  TPanel*& szRightBottom = Handles[chRightBottom];
  TPanel*& szLeftBottom = Handles[chLeftBottom];
  TPanel*& szRightTop = Handles[chRightTop];
  TPanel*& szTopMiddle = Handles[chTopMiddle];
  TPanel*& szBottomMiddle = Handles[chBottomMiddle];
  TPanel*& szLeftMiddle = Handles[chLeftMiddle];
  TPanel*& szRightMiddle = Handles[chRightMiddle];
  TPanel*& lnleft = Lines[clLeft];
  TPanel*& lnright = Lines[clRight];
  TPanel*& lntop = Lines[clTop];
  TPanel*& lnBottom = Lines[clBottom];
  media::TDODodeve* FFPlayer1 = nullptr;
  media::TDODodeve* FFPlayer2 = nullptr;

  TWinControl* FScreenControl1 = nullptr;
  TWinControl* FScreenControl2 = nullptr;
  Int64 FDuration = 0;
  // The live corrections the output player's filters read for every picture.
  media::TLiveValueRef FBrightness, FContrast, FSaturation, FHue;
  TCropState Crop;

  // Where the dialog finds its entry, SDL copies and reports; set before it is shown.
  void SetHost(TEditorHost* Host);
  // Draws the frame and the controls with the application's skin.
  void BindSkin(TspSkinData* Data);

  void OpenVideo(const String& FileName, bool IsPaused);
  void UpdateVideoFilters();
  void CropAreaToEdits(bool isReset, bool isWindowJustOpen);
  void PaintSelectionFromEdits();
  void PaintPreviewFromEdits();
  // The edits' values and the selection as the handles show it.
  TCropEdits EditValues() const;
  TCropSelection ShownSelection() const;
  // The edits' values kept inside the source picture.
  TCropEdits ClampedEditValues() const;

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FFPlayer1FileOpen(TObject* Sender, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight,
                         Integer& AScreenWidth, Integer& AScreenHeight);
  void FFPlayer1Position(TObject* Sender, Int64 APTS);
  void FFPlayer1State(TObject* Sender, media::TPlayState APlayState);
  void FFPlayer2VideoHook(TObject* Sender, TBitmap* ABitmap, Int64 APTS, bool& AUpdate);
  void PlayButtonClick(TObject* Sender);
  void PauseButtonClick(TObject* Sender);
  void StopButtonClick(TObject* Sender);
  void videotrackbarStartDragButton(TObject* Sender);
  void videotrackbarLastChange(TObject* Sender);
  void chBrightnessClick(TObject* Sender);
  void chContrastClick(TObject* Sender);
  void chSaturationClick(TObject* Sender);
  void tbBrightnessChange(TObject* Sender);
  void tbContrastChange(TObject* Sender);
  void tbSaturationChange(TObject* Sender);
  void tbBrightnessStartDragButton(TObject* Sender);
  void tbContrastStartDragButton(TObject* Sender);
  void tbSaturationStartDragButton(TObject* Sender);
  void cmbAspectRatioChange(TObject* Sender);
  void edLeftChange(TObject* Sender);
  void spSkinButton1Click(TObject* Sender);  // "Apply"
  void spSkinButton2Click(TObject* Sender);  // "Reset All"
  void spSkinButton4Click(TObject* Sender);  // "OK"
  void spSkinButton5Click(TObject* Sender);  // "Cancel"
  void szRightBottomMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void szRightBottomMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  // The move handler of one handle (each handle's own).
  void HandleMouseMove(TCropHandle Handle, TShiftState Shift, Integer X, Integer Y);

 private:
  // Sets an edit or the aspect choice from code: the change it raises repaints nothing.
  void SetEditQuietly(TspSkinSpinEdit* Edit, Integer Value);
  void SetAspectQuietly(Integer Index);
  // Sets the edits that differ from E, quietly.
  void ShowEditValues(const TCropEdits& E);
  void ShowSelection(const TCropSelection& Sel);
  // A correction's bar starts to move: its box is checked and paused previews play.
  void StartCorrectionDrag(TspSkinCheckRadioBox* Box);
  String GeometryReportTail(Integer W, Integer H) const;

  TEditorHost* FHost = nullptr;
  // Calls queued from the output player's thread run only while this lives.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace vantrel::app
