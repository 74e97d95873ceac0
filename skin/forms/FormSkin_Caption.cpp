// The caption buttons of a frame without a skin: six plain buttons, laid out by the
// default frame and shown by the form's border icons.
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinObjects.h"

namespace {

struct DefaultCaptionButtonRow {
  const char* Name;
  TStdCommand Command;
};

constexpr DefaultCaptionButtonRow DefaultCaptionButtonRows[] = {
    {"closebutton", cmClose},   {"maxbutton", cmMaximize},     {"minbutton", cmMinimize},
    {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray},
};

}  // namespace

void TspFormSkin::CreateDefaultCaptionButtons() {
  ClearObjects();
  for (const DefaultCaptionButtonRow& Row : DefaultCaptionButtonRows) {
    auto* B = new TspSkinStdButtonObject(this, nullptr);
    B->IDName = Row.Name;
    B->Command = Row.Command;
    B->SkinRectInAPicture = true;
    B->SkinRect = B->ObjectRect = Rect(0, 0, 1, 1);
    ObjectList.push_back(B);
  }
  UpdateCaptionButtonStates();
}
