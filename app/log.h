// The events log window: a read-only memo holding the stamped lines of what the user and
// the converter did during the run, shown modally from the main window.
#pragma once

#include "platform/rtl/DateUtils.h"
#include "app/MemoScrollBars.h"
#include "platform/ui/Forms.h"

class TspSkinButton;
class TspSkinData;
class TspSkinMemo;

namespace vantrel::app {

class TLogForm : public TForm {
  VANTREL_CLASS(TLogForm)
  explicit TLogForm(TComponent* AOwner);
  ~TLogForm() override;

  TspSkinMemo* mmoLog = nullptr;
  TMemoScrollBars mmoLogBars;
  TspSkinButton* btnOK = nullptr;

  // Draws the window's controls with the application's skin.
  void BindSkin(TspSkinData* Data);
  // Appends one line as it stands.
  void AddLine(const String& Line);
};

// The application's events log window; set while one exists.
extern TLogForm* LogForm;

// The time of At in the long time format followed by "-> " and Text.
String StampedLine(TDateTime At, const String& Text);

}  // namespace vantrel::app
