// The profile chooser: a borderless pop-up above the main window's profile field with the
// catalogue's profiles on the left and the formats of one profile on the right. Resting on a
// profile for half a second lists its formats; clicking a format applies it to the selected
// entry (or every entry) and hides the pop-up.
#pragma once

#include <optional>

#include "app/main.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "skin/controls/SkinGrids.h"

class TspFormSkin;
class TspSkinData;
class TspSkinScrollBar;
class TspSkinStringGrid;

namespace vantrel::app {

// Colours of the rows: the highlighted profile's band and the hovered format's band.
inline constexpr TColor ChooserProfileBand = 0xA8A8A8;
inline constexpr TColor ChooserFormatBand = 0xE3D7CA;
inline constexpr Cardinal ChooserDelay = 500;

inline constexpr const char* CLM_ProfileDrawCell = "CLM_ProfileDrawCell";
inline constexpr const char* CLM_FormatsDrawCell = "CLM_FormatsDrawCell";
inline constexpr const char* CLM_ProfileChoosing = "CLM_ProfileChoosing";

class Tproform : public TForm {
  VANTREL_CLASS(Tproform)
  explicit Tproform(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
  TShape* Shape1 = nullptr;
  TShape* Shape2 = nullptr;
  TspSkinStringGrid* sgProfiles = nullptr;
  TspSkinStringGrid* sgFormats = nullptr;
  TspSkinScrollBar* spSkinScrollBar1 = nullptr;
  TImage* imgArrow = nullptr;
  TTimer* ProfileChangeDelayTimer = nullptr;

  // The unit state holding the catalogue; the program's main window sets FileList.
  TMainUnitState* State = &MainUnit();
  TEntryHost* FileList = nullptr;

  // The profile drawn highlighted, the one whose formats are listed, the one last under the
  // mouse, and the format under the mouse (-1: none).
  Integer ShownProfile = 0;
  Integer ConfirmedProfile = 0;
  Integer PendingProfile = 0;
  Integer HoveredFormat = 0;

  void BindSkin(TspSkinData* Data);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDeactivate(TObject* Sender);
  void sgProfilesMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void sgProfilesDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState AState);
  void ProfileChangeDelayTimerTimer(TObject* Sender);
  void sgFormatsMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void sgFormatsDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState AState);
  void sgFormatsClick(TObject* Sender);
  // The wheel over the format list scrolls it by Rows (negative: up) and the hovered row
  // follows the pointer.
  void sgFormatsWheel(Integer Rows, TPoint ScreenPos);

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  // A drawing failure is reported once per showing, after the paint that met it.
  void DrawingFailed(const char* Mark, TCanvas* Canvas, const TRect& Rect);
  bool FDrawFailureReported = false;
  std::optional<String> FPendingDrawFailure;
  const char* FPendingDrawMark = "";
};

}  // namespace vantrel::app
