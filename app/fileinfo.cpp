// The window of the "File Information" dialog and the reading of a file into it
#include "app/fileinfo.h"

#include "app/FormShape.h"
#include "app/PlainLog.h"
#include "app/clip_Times.h"
#include "app/main_FileList.h"
#include "app/log.h"
#include "app/main.h"
#include "media/FFDecode.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/NumConv.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

namespace {

constexpr Integer FileInfoClientHeight = 370;
constexpr Integer InfoBoxWidth = 226, InfoBoxHeight = 21;

// Where a value box and its caption go: on the form or in a group box (0 video, 1 audio).
enum TInfoPlace { ipForm, ipVideo, ipAudio };
struct TInfoRow {
  TspSkinLabel* TFileInfoForm::*Box;
  const char* Name;
  const char* Caption;
  TInfoPlace Place;
  Integer Top;
};
constexpr TInfoRow InfoRows[] = {
    {&TFileInfoForm::spSkinLabel2, "spSkinLabel2", "File name:", ipForm, 12},
    {&TFileInfoForm::spSkinLabel3, "spSkinLabel3", "Media Length:", ipForm, 40},
    {&TFileInfoForm::spSkinLabel1, "spSkinLabel1", "Resolution:", ipVideo, 24},
    {&TFileInfoForm::spSkinLabel4, "spSkinLabel4", "Bit Rate:", ipVideo, 55},
    {&TFileInfoForm::spSkinLabel5, "spSkinLabel5", "Frame Rate:", ipVideo, 86},
    {&TFileInfoForm::spSkinLabel6, "spSkinLabel6", "Sample Rate:", ipAudio, 24},
    {&TFileInfoForm::spSkinLabel7, "spSkinLabel7", "Channels:", ipAudio, 55},
    {&TFileInfoForm::spSkinLabel8, "spSkinLabel8", "Bit Rate:", ipAudio, 86},
};

// Closes the probed file on every path out of a read.
struct TProbeCloser {
  media::TCustomDecoder& Decoder;
  ~TProbeCloser() { Decoder.CloseFile(); }
};

}  // namespace

TFileInfoForm::TFileInfoForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"File Information", bsDialog, 338, FileInfoClientHeight, poScreenCenter}, false);
  OnShow = [this](TObject* Sender) { FormShow(Sender); };

  auto MakeGroup = [this](const char* Name, const char* Caption, Integer Top) {
    auto* G = ::Create<TspSkinGroupBox>(this);
    G->SetName(Name);
    G->SetParent(this);
    G->SetBounds(12, Top, 313, 120);
    G->SetCaption(Caption);
    return G;
  };
  gbVideo = MakeGroup("gbVideo", "Video", 72);
  gbAudio = MakeGroup("gbAudio", "Audio", 202);

  for (const TInfoRow& Row : InfoRows) {
    TWinControl* Parent = Row.Place == ipForm ? static_cast<TWinControl*>(this)
                          : Row.Place == ipVideo ? static_cast<TWinControl*>(gbVideo)
                                                 : static_cast<TWinControl*>(gbAudio);
    const Integer BoxLeft = Row.Place == ipForm ? 100 : 83;
    auto* Caption = ::Create<TspSkinStdLabel>(this);
    Caption->SetParent(Parent);
    Caption->SetLeft(Row.Place == ipForm ? 12 : 6);
    Caption->SetTop(Row.Top + 3);
    Caption->SetCaption(Row.Caption);
    FCaptions.push_back(Caption);
    auto* Box = ::Create<TspSkinLabel>(this);
    Box->SetName(Row.Name);
    Box->SetParent(Parent);
    Box->SetBounds(BoxLeft, Row.Top, InfoBoxWidth, InfoBoxHeight);
    Box->SetCaption("");
    this->*Row.Box = Box;
    FValues.push_back(Box);
  }

  spSkinButton1 = ::Create<TspSkinButton>(this);
  spSkinButton1->SetName("spSkinButton1");
  spSkinButton1->SetParent(this);
  spSkinButton1->SetBounds(250, 334, 75, 25);
  spSkinButton1->SetCaption("OK");
  spSkinButton1->OnClick = [this](TObject* Sender) { spSkinButton1Click(Sender); };
}

void TFileInfoForm::FormShow(TObject*) { SetClientHeight(FileInfoClientHeight); }

void TFileInfoForm::spSkinButton1Click(TObject*) { Close(); }

void TFileInfoForm::ClearValues() {
  for (TspSkinLabel* Box : FValues) Box->SetCaption("");
}

void TFileInfoForm::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  gbVideo->SetSkinData(Data);
  gbAudio->SetSkinData(Data);
  for (TspSkinStdLabel* L : FCaptions) L->SetSkinData(Data);
  for (TspSkinLabel* Box : FValues) Box->SetSkinData(Data);
  spSkinButton1->SetSkinData(Data);
}

String FrameRateText(const media::TAVRational& Rate) {
  if (Rate.num <= 0 || Rate.den <= 0) return String();
  return IntToStr(Round(double(Rate.num) / Rate.den)) + " fps";
}

String BitRateText(Integer BitRate) {
  if (BitRate <= 0) return "is not preseted";
  return IntToStr(BitRate / 1000) + " Kb";
}

bool ReadFileInformation(TFileInfoForm& Form, media::TCustomDecoder& Decoder, const String& Source,
                         TMainUnitState& State) {
  TProbeCloser Closer{Decoder};
  // A box keeps nothing of the file shown before.
  Form.ClearValues();
  if (!Decoder.LoadFile(Source)) {
    AddPlainLogLine(State, "");
    AddPlainLogLine(State, StampedLine(Now(), "File load error: " + Decoder.LastErrMsg()));
    AddPlainLogLine(State, "");
    ReportError(State, "The information for this media is unavailable." + Decoder.LastErrMsg(),
                "CLM_ProbeLoadFile");
    return false;
  }
  try {
    Form.spSkinLabel2->SetCaption(ExtractFileName(Source));
    Form.spSkinLabel3->SetCaption(FormatMicroseconds(Decoder.FileStreamInfo().Duration));
    for (Integer I = 0; I < Decoder.StreamCount(); ++I) {
      if (Decoder.IsVideoStream(I)) {
        const media::TVideoStreamInfo V = Decoder.GetVideoStreamInfo(I);
        Form.spSkinLabel5->SetCaption(FrameRateText(V.FrameRate));
        Form.spSkinLabel4->SetCaption(BitRateText(V.BitRate));
        Form.spSkinLabel1->SetCaption(IntToStr(V.Width) + "x" + IntToStr(V.Height));
      } else if (Decoder.IsAudioStream(I)) {
        const media::TAudioStreamInfo A = Decoder.GetAudioStreamInfo(I);
        Form.spSkinLabel7->SetCaption(IntToStr(A.Channels) + " channel");
        Form.spSkinLabel6->SetCaption(IntToStr(A.SampleRate) + " Hz");
        Form.spSkinLabel8->SetCaption(BitRateText(A.BitRate));
      }
    }
  } catch (const std::exception&) {
    ReportError(State, "Error writing file info", "CLM_WriteFileInfo");
  }
  return true;
}

void ShowFileInformation(TFileInfoForm& Form, media::TCustomDecoder& Decoder, const String& Source,
                         TMainUnitState& State) {
  if (ReadFileInformation(Form, Decoder, Source, State)) Form.ShowModal();
}

void FileInformationForRow(TFileInfoForm& Form, media::TCustomDecoder& Decoder, TMainUnitState& State,
                           Integer Row) {
  const Integer Index = Row - 1;
  if (Index < 0 || Index >= Integer(State.VideoFiles.size())) return;
  ShowFileInformation(Form, Decoder, State.VideoFiles[size_t(Index)].Source, State);
}

}  // namespace vantrel::app
