// The "Profile Settings" dialog: the frame size, codecs and rates of the current catalogue
// format, each picked from the choice lists the catalogue gives for it.
#pragma once

#include <memory>

#include "app/main.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Forms.h"

class TspFormSkin;
class TspSkinButton;
class TspSkinComboBox;
class TspSkinData;
class TspSkinEdit;
class TspSkinGroupBox;
class TspSkinStdLabel;

namespace vantrel::app {

// A choice list ("value$label" or bare "label" items joined by ",") walked once: "$" ends a
// value, "," ends a label, the rest at the end is a label. Returns the values or the labels.
// A bare item adds a label and no value, so later values move away from their labels.
std::unique_ptr<TStringList> SplitChoiceList(const String& Text, bool Values);
// The width ("640" of "640*480") and the height ("480"): the text before the first and after
// the last "*"; "-1" without a "*" or when the part is not an integer.
String ResolutionWidthPart(const String& Text);
String ResolutionHeightPart(const String& Text);

class Tsettingsform : public TForm {
  VANTREL_CLASS(Tsettingsform)
  explicit Tsettingsform(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
  TspSkinStdLabel* lblProfile = nullptr;
  TspSkinEdit* edProfile = nullptr;
  TspSkinGroupBox* gbVideo = nullptr;
  TspSkinGroupBox* gbAudio = nullptr;
  TspSkinComboBox* cmbVideoResolution = nullptr;
  TspSkinComboBox* cmbVideoEncoder = nullptr;
  TspSkinComboBox* cmbVideoFrameRate = nullptr;
  TspSkinComboBox* cmbVideoBitRate = nullptr;
  TspSkinComboBox* cmbSampleRate = nullptr;
  TspSkinComboBox* cmbAudioEncoder = nullptr;
  TspSkinComboBox* cmbChannel = nullptr;
  TspSkinComboBox* cmbAudioBitRate = nullptr;
  TspSkinButton* spSkinButton1 = nullptr;  // OK
  TspSkinButton* spSkinButton2 = nullptr;  // Cancel
  TspSkinButton* spSkinButton3 = nullptr;  // Default

  // The unit state holding the catalogue and the main window's file list; the program's
  // main window sets FileList.
  TMainUnitState* State = &MainUnit();
  TFileListSeam* FileList = nullptr;

  void BindSkin(TspSkinData* Data);
  void FillSettingsCombos();
  void FormShow(TObject* Sender);
  void spSkinButton1Click(TObject* Sender);
  void spSkinButton2Click(TObject* Sender);
  void spSkinButton3Click(TObject* Sender);

 private:
  TFormat& CurrentFormat();
};

// The warning shown for a resolution that is refused.
inline constexpr const char* InvalidResolutionText =
    "Please input valid resolution. Both width and height must be multiples of 2, and range from "
    "64*64 to 1920*1280.";
inline constexpr const char* CLM_SettingProfile = "CLM_SettingProfile";

}  // namespace vantrel::app
