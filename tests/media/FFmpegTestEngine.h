// A transcoder whose option state the tests can read, with the encoder libraries
// loaded and the log captured.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "media/FFLoad.h"
#include "media/FFmpeg.h"

namespace vantrel::test {

class TTestEngine : public media::TCustomFFmpeg {
 public:
  using TCustomFFmpeg::TCustomFFmpeg;
  using TCustomFFmpeg::Faudio_channels;
  using TCustomFFmpeg::Faudio_codec_name;
  using TCustomFFmpeg::Faudio_disable;
  using TCustomFFmpeg::Faudio_sample_rate;
  using TCustomFFmpeg::Faudio_volume;
  using TCustomFFmpeg::Fchapter_maps;
  using TCustomFFmpeg::FFirstHook;
  using TCustomFFmpeg::Fforce_fps;
  using TCustomFFmpeg::Fframe_aspect_ratio;
  using TCustomFFmpeg::Fframe_height;
  using TCustomFFmpeg::Fframe_pix_fmt;
  using TCustomFFmpeg::Fframe_rate;
  using TCustomFFmpeg::Fframe_width;
  using TCustomFFmpeg::Finput_files_ts_scale;
  using TCustomFFmpeg::Fintra_matrix;
  using TCustomFFmpeg::FLastRead;
  using TCustomFFmpeg::Flast_asked_format;
  using TCustomFFmpeg::Flimit_filesize;
  using TCustomFFmpeg::Fmeta_data_maps;
  using TCustomFFmpeg::Fmetadata;
  using TCustomFFmpeg::Fmetadata_global_autocopy;
  using TCustomFFmpeg::Fmetadata_streams_autocopy;
  using TCustomFFmpeg::Fmetadata_chapters_autocopy;
  using TCustomFFmpeg::Fmux_preload;
  using TCustomFFmpeg::Fnb_input_files;
  using TCustomFFmpeg::Fnb_output_files;
  using TCustomFFmpeg::FOptions;
  using TCustomFFmpeg::Foutput_files;
  using TCustomFFmpeg::Frecording_timestamp;
  using TCustomFFmpeg::FReadTimeout;
  using TCustomFFmpeg::Fsame_quality;
  using TCustomFFmpeg::Fstream_maps;
  using TCustomFFmpeg::Fstreamid_map;
  using TCustomFFmpeg::Fvideo_codec_name;
  using TCustomFFmpeg::Fvideo_codec_tag;
  using TCustomFFmpeg::Fvideo_disable;
  using TCustomFFmpeg::Fvideo_stream_copy;
  using TCustomFFmpeg::Fusing_vhook;
  using TCustomFFmpeg::Fvstats_filename;
};

// Loads the encoder libraries and records every log line (delivered at once, in the
// thread that logs).
class TEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(media::FFLoader().Load(media::EncoderLibraries)) << media::FFLoader().LastErrMsg();
    Logger = CreateOwned<media::TFFLogger>(nullptr);
    Logger->SetTriggerEventInMainThread(false);
    Logger->SetLogLevel(media::llDebug);
    Logger->OnLog = [this](TObject*, Cardinal, media::TLogLevel, const String& Msg) {
      std::lock_guard<std::mutex> L(LinesLock);
      Lines.push_back(Msg);
    };
  }
  void TearDown() override {
    Logger.reset();
    media::FFLoader().Unload(media::EncoderLibraries);
  }
  bool Logged(const std::string& Text) {
    std::lock_guard<std::mutex> L(LinesLock);
    for (const std::string& Line : Lines)
      if (Line.find(Text) != std::string::npos) return true;
    return false;
  }

  TOwned<media::TFFLogger> Logger;
  std::mutex LinesLock;  // guards Lines
  std::vector<std::string> Lines;
};

}  // namespace vantrel::test
