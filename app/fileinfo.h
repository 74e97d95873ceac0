// The window of the "File Information" dialog: what the media engine reads from a file:
// its name and length and the main values of its video and audio streams.
#pragma once

#include <vector>

#include "media/FFUtils.h"
#include "platform/ui/Forms.h"

class TspFormSkin;
class TspSkinButton;
class TspSkinData;
class TspSkinGroupBox;
class TspSkinLabel;
class TspSkinStdLabel;

namespace vantrel::media {
class TCustomDecoder;
}

namespace vantrel::app {

struct TMainUnitState;

class TFileInfoForm : public TForm {
  VANTREL_CLASS(TFileInfoForm)
  explicit TFileInfoForm(TComponent* AOwner);

  TspFormSkin* spFormSkin1 = nullptr;
  TspSkinGroupBox* gbVideo = nullptr;
  TspSkinGroupBox* gbAudio = nullptr;
  // The value boxes.
  TspSkinLabel* spSkinLabel1 = nullptr;  // resolution
  TspSkinLabel* spSkinLabel2 = nullptr;  // file name
  TspSkinLabel* spSkinLabel3 = nullptr;  // length
  TspSkinLabel* spSkinLabel4 = nullptr;  // video bit rate
  TspSkinLabel* spSkinLabel5 = nullptr;  // frame rate
  TspSkinLabel* spSkinLabel6 = nullptr;  // sample rate
  TspSkinLabel* spSkinLabel7 = nullptr;  // channels
  TspSkinLabel* spSkinLabel8 = nullptr;  // audio bit rate
  TspSkinButton* spSkinButton1 = nullptr;

  void FormShow(TObject* Sender);
  void spSkinButton1Click(TObject* Sender);
  // Empties every value box.
  void ClearValues();
  // Draws the frame and the controls with the application's skin.
  void BindSkin(TspSkinData* Data);

 private:
  std::vector<TspSkinStdLabel*> FCaptions;
  std::vector<TspSkinLabel*> FValues;
};

// A frame rate to the nearest whole number (halves to even) and " fps"; empty when the
// rate is unknown (a part 0 or less).
String FrameRateText(const media::TAVRational& Rate);
// A bit rate (bit/s) in whole kilobits and " Kb"; "is not preseted" when 0 or less.
String BitRateText(Integer BitRate);

// Reads Source with Decoder into the dialog's boxes: true when the file was read and the
// dialog is to be shown. A file that cannot be read writes three lines to the events log
// and reports; a failure while the boxes are filled is reported and the rest shown. The
// decoder holds no open file afterwards.
bool ReadFileInformation(TFileInfoForm& Form, media::TCustomDecoder& Decoder, const String& Source,
                         TMainUnitState& State);
// Reads Source and shows the dialog modally when that succeeded.
void ShowFileInformation(TFileInfoForm& Form, media::TCustomDecoder& Decoder, const String& Source,
                         TMainUnitState& State);
// The main window's "File Information" command for the file grid's row Row (the header is
// row 0): nothing at all when the file list is empty or the row holds no entry.
void FileInformationForRow(TFileInfoForm& Form, media::TCustomDecoder& Decoder, TMainUnitState& State,
                           Integer Row);

}  // namespace vantrel::app
