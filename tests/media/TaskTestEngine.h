// A conversion task whose tables and option state the input/output set-up tests can
// read, and what those tests share: fixtures, ffprobe figures, a private folder.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFEncode.h"
#include "tests/media/FFmpegTestEngine.h"
#include "tests/support/TempDir.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TestPaths.h"

namespace vantrel::test {

class TTestTask : public media::TFFmpeg {
 public:
  using TFFmpeg::TFFmpeg;
  using TFFmpeg::Faudio_channels;
  using TFFmpeg::Faudio_disable;
  using TFFmpeg::Faudio_language;
  using TFFmpeg::Faudio_sample_rate;
  using TFFmpeg::Faudio_sync_method;
  using TFFmpeg::Fframe_aspect_ratio;
  using TFFmpeg::Fframe_height;
  using TFFmpeg::Fframe_pix_fmt;
  using TFFmpeg::Fframe_rate;
  using TFFmpeg::Fframe_width;
  using TFFmpeg::Finput_codecs;
  using TFFmpeg::Finput_decoder_settings;
  using TFFmpeg::Finput_files;
  using TFFmpeg::Finput_files_ts_offset;
  using TFFmpeg::Finput_sync;
  using TFFmpeg::Flast_asked_format;
  using TFFmpeg::Fnb_frames_drop;
  using TFFmpeg::Fnb_frames_dup;
  using TFFmpeg::Fmetadata;
  using TFFmpeg::Fmux_max_delay;
  using TFFmpeg::Fmux_preload;
  using TFFmpeg::Fopt_programid;
  using TFFmpeg::FOptions;
  using TFFmpeg::Foutput_codecs;
  using TFFmpeg::Foutput_file_settings;
  using TFFmpeg::Foutput_files;
  using TFFmpeg::Foutput_streams_for_file;
  using TFFmpeg::Frecording_time;
  using TFFmpeg::Frecording_timestamp;
  using TFFmpeg::Fstart_time;
  using TFFmpeg::Fsubtitle_language;
  using TFFmpeg::Fvideo_codec_name;
  using TFFmpeg::Fvideo_disable;
  using TFFmpeg::Fvideo_language;
  using TFFmpeg::Fvideo_sync_method;
  using TFFmpeg::Fvfilters;
};

class TTaskTest : public TEngineTest {
 protected:
  void SetUp() override {
    TEngineTest::SetUp();
    T = CreateOwned<TTestTask>(8);
  }
  void TearDown() override {
    T.reset();
    TEngineTest::TearDown();
  }

  static std::string Fixture(const char* AName) { return FixturePath(AName); }
  // A figure of ffprobe's in microseconds (for example "format=duration").
  static Int64 ProbeMicroseconds(const std::string& AFile, const std::string& AEntry) {
    const std::string Text = FFProbeEntries(AFile, AEntry);
    EXPECT_FALSE(Text.empty()) << AEntry << " of " << AFile;
    return static_cast<Int64>(std::llround(std::strtod(Text.c_str(), nullptr) * 1e6));
  }
  // Opens an input with a record whose extra options are AExt.
  bool OpenInput(const std::string& AFile, const std::string& AExt = std::string()) {
    media::TInputOptions O;
    O.ExtOptions = AExt;
    return T->OpenInput(AFile, &O);
  }
  AVFormatContext* Output(int AIndex = 0) { return T->Foutput_files[AIndex]; }
  media::TAVOutputStream& Stream(int AFile, int AIndex) { return *T->Foutput_streams_for_file[AFile][AIndex]; }

  TOwned<TTestTask> T;
  TTempDir Dir;
};

}  // namespace vantrel::test
