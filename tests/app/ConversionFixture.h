// What the conversion job tests share: formats of the catalogue's shape, entries and
// states made from them, ffprobe's read-outs, and a fixture that runs real jobs with the
// "Conversion" dialog behind the main window's seams.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/conversion.h"
#include "app/main_FileList.h"
#include "app/main_Job.h"
#include "media/FFLoad.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Shell.h"
#include "tests/support/RealTimeModal.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"

namespace vantrel::apptest {

// A video format of the catalogue's shape: H.264 of Width x Height at 25 pictures a
// second, AAC stereo at 44.1 kHz, into ".mp4".
inline app::TFormat ConversionVideoFormat(const String& Width, const String& Height) {
  app::TFormat F;
  F.Title = "MP4 Video";
  F.FormatExt = ".mp4";
  F.IsAudioFormat = "0";
  F.VideoCodecName = "libx264";
  F.Width = Width;
  F.Height = Height;
  F.FrameRate = "25000";
  F.VideoBitRate = "800000";
  F.AudioCodecName = "aac";
  F.SampleRate = "44100";
  F.AudioBitRate = "64000";
  F.Channel = "2";
  return F;
}

// A sound format of the catalogue's shape: MP3 stereo at 44.1 kHz.
inline app::TFormat ConversionMp3Format() {
  app::TFormat F;
  F.Title = "MP3";
  F.FormatExt = ".mp3";
  F.IsAudioFormat = "1";
  F.AudioCodecName = "libmp3lame";
  F.SampleRate = "44100";
  F.AudioBitRate = "64000";
  F.Channel = "2";
  return F;
}

// An entry of the list for Source, of a Width x Height picture (negative: sound only),
// two seconds long, untrimmed.
inline app::TVideoFile ConversionEntry(const String& Source, Integer Width, Integer Height) {
  app::TVideoFile E;
  E.Source = Source;
  E.SourceTitleExt = ExtractFileName(Source);
  E.DestinationTitle = E.SourceTitleExt.substr(0, E.SourceTitleExt.rfind('.'));
  E.SourceWidth = Width;
  E.SourceHeight = Height;
  E.isSourceAudioFormat = Width < 0;
  E.TimeEnd = E.TrimmedLength = 2000000;
  return E;
}

// A state of one profile holding Format, and one entry.
inline app::TMainUnitState ConversionState(const app::TFormat& Format, const app::TVideoFile& Entry) {
  app::TMainUnitState S;
  S.Profiles.push_back({"Profile", "id", "icon", {Format}});
  S.VideoFiles.push_back(Entry);
  S.InputOptionsList.resize(1);
  S.OutputOptionsList.resize(1);
  return S;
}

// The standard output of a shell command.
inline std::string ConversionShell(const std::string& Cmd) {
  std::string Out;
  if (std::FILE* P = ::popen(Cmd.c_str(), "r")) {
    char Buf[4096];
    size_t N;
    while ((N = std::fread(Buf, 1, sizeof Buf, P)) > 0) Out.append(Buf, N);
    ::pclose(P);
  }
  return Out;
}

// What ffprobe prints for Args ("-show_entries ...") of File, lines joined by ",".
inline std::string ConversionProbe(const std::string& File, const std::string& Args) {
  std::string Out = ConversionShell("ffprobe -v error " + Args + " -of csv=p=0 '" + File + "'");
  while (!Out.empty() && (Out.back() == '\n' || Out.back() == '\r')) Out.pop_back();
  std::replace(Out.begin(), Out.end(), '\n', ',');
  return Out;
}

inline double ConversionDuration(const std::string& File) {
  return std::strtod(ConversionProbe(File, "-show_entries format=duration").c_str(), nullptr);
}
inline std::string ConversionStreamTypes(const std::string& File) {
  return ConversionProbe(File, "-show_entries stream=codec_type");
}

// Real jobs: the encoder with the media libraries loaded, the "Conversion" dialog whose
// modal loop waits in real time, the shell's requests recorded, outputs into Out. The
// window's seams do nothing unless a test's fixture overrides them.
class ConversionJobTest : public testing::Test,
                          public app::TJobWindowSeam,
                          public app::TJobEndSeam,
                          public app::TFileAddSeam {
 protected:
  test::TTempDir Config, Out;
  uitest::FormsSession S;
  win::RecordingLauncher* Launcher = nullptr;
  app::TConvForm* Form = nullptr;
  app::TMainUnitState State;
  TOwned<media::TFFEncoder> Tarnwell;
  bool Merge = false;
  Integer Row = 1;

  void SetUp() override {
    setenv("XDG_CONFIG_HOME", Config.Path().c_str(), 1);
    auto L = std::make_unique<win::RecordingLauncher>();
    Launcher = L.get();
    S.Session.Manager().Shell().SetLauncher(std::move(L));
    ASSERT_TRUE(media::FFLoader().Load(media::EncoderLibraries)) << media::FFLoader().LastErrMsg();
    Application->CreateForm(Form);
    Tarnwell = CreateOwned<media::TFFEncoder>(nullptr);
    app::ConnectJobEvents(*Tarnwell, State, *Form, *this);
  }
  void TearDown() override {
    Tarnwell.reset();
    media::FFLoader().Unload(media::EncoderLibraries);
  }

  // Starts the job; the dialog's modal loop waits in real time, Step at each of its turns.
  void Run(const std::function<void()>& Step = {},
           std::chrono::milliseconds Deadline = std::chrono::milliseconds(120000)) {
    testsupport::RealTimeModal Wait(Deadline);
    Wait.OnStep = Step;
    Wait.OnDeadline = [this] { Form->CloseJob(); };
    app::StartConversion(State, *this);
  }
  // What the shell was asked to open, in order.
  std::vector<std::string> Opened() const {
    std::vector<std::string> R;
    for (const auto& C : Launcher->Calls) R.push_back(C.Argv.back());
    return R;
  }

 public:
  // TJobWindowSeam
  String DestinationFolder() override { return Out.Path(); }
  bool MergeChecked() override { return Merge; }
  Integer CurrentRow() override { return Row; }
  void ShowWarning(const String&) override {}
  void StopPreview() override {}
  media::TCustomEncoder& Encoder() override { return *Tarnwell; }
  void ShowProgress() override { app::ShowConversionDialog(*Form); }
  // TJobEndSeam
  void SaveSettings() override {}
  HWND OwnerWindow() override { return nullptr; }
  // TFileAddSeam
  void ShowInfo(const String&) override {}
  void SetRowCount(Integer) override {}
};

}  // namespace vantrel::apptest
