// Helpers of the stream set-up: output stream records, fitting an encoder's formats and
// rates, time parsing, forced key frames and the names of two-pass log files.
#include <cstdint>
#include <functional>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

TAVOutputStream* TCustomFFmpeg::NewOutputStream(AVFormatContext* oc, Integer file_index) {
  if (!oc || oc->nb_streams < 1 || file_index < 0 || file_index >= FMaxFiles)
    throw Exception("Could not alloc output stream");
  const Integer n = static_cast<Integer>(oc->nb_streams);
  auto& Streams = Foutput_streams_for_file[file_index];
  GrowArray(Streams, n);
  auto Ost = std::make_unique<TAVOutputStream>();
  Ost->file_index = file_index;
  Ost->index = n - 1;
  Ost->st = oc->streams[n - 1];
  Streams[n - 1] = std::move(Ost);
  return Streams[n - 1].get();
}

void TCustomFFmpeg::ChooseSampleFormat(AVCodecContext* ACtx, const AVCodec* ACodec) {
  if (!ACodec || !ACodec->sample_fmts) return;
  for (const AVSampleFormat* F = ACodec->sample_fmts; *F != -1; ++F)
    if (*F == ACtx->sample_fmt) return;
  ACtx->sample_fmt = ACodec->sample_fmts[0];
}

void TCustomFFmpeg::ChooseSampleRate(AVCodecContext* ACtx, const AVCodec* ACodec) {
  if (!ACodec || !ACodec->supported_samplerates) return;
  const int* Rates = ACodec->supported_samplerates;
  int Best = Rates[0];
  int64_t BestDiff = INT64_MAX;
  for (const int* R = Rates; *R; ++R) {
    const int64_t Diff = std::llabs(int64_t{*R} - ACtx->sample_rate);
    if (Diff < BestDiff) {
      BestDiff = Diff;
      Best = *R;
    }
  }
  if (BestDiff != 0)
    Log(llWarning, Format("Requested sampling rate unsupported using closest supported (%d)", {Best}));
  ACtx->sample_rate = Best;
}

void TCustomFFmpeg::ChoosePixelFormat(AVCodecContext* ACtx, const AVCodec* ACodec) {
  if (!ACodec || !ACodec->pix_fmts) return;
  static const AVPixelFormat MJpegFormats[] = {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUV420P,
                                               AV_PIX_FMT_YUV422P, AV_PIX_FMT_NONE};
  static const AVPixelFormat LJpegFormats[] = {AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUVJ444P,
                                               AV_PIX_FMT_YUV420P,  AV_PIX_FMT_YUV422P,  AV_PIX_FMT_YUV444P,
                                               AV_PIX_FMT_BGRA,     AV_PIX_FMT_NONE};
  const AVPixelFormat* List = ACodec->pix_fmts;
  if (ACtx->strict_std_compliance <= FF_COMPLIANCE_UNOFFICIAL) {
    if (ACodec->id == AV_CODEC_ID_MJPEG) List = MJpegFormats;
    if (ACodec->id == AV_CODEC_ID_LJPEG) List = LJpegFormats;
  }
  for (const AVPixelFormat* F = List; *F != AV_PIX_FMT_NONE; ++F)
    if (*F == ACtx->pix_fmt) return;
  ACtx->pix_fmt = ACodec->pix_fmts[0];
}

// Feeds were served by a muxer that today's FFmpeg no longer has.
Integer TCustomFFmpeg::ReadFeedStreams(AVFormatContext* oc, const String& AFileName) {
  (void)oc;
  throw FFmpegException("Feed streams are not supported: " + AFileName);
}

Int64 TCustomFFmpeg::ParseTime(const String& AContext, const String& ATimeStr, bool AIsDuration) {
  int64_t Us = 0;
  if (ff::av_parse_time(&Us, ATimeStr.c_str(), AIsDuration ? 1 : 0) < 0)
    throw FFmpegException(Format("Invalid %s specification for %s: %s",
                                 {AIsDuration ? "duration" : "date", AContext, ATimeStr}));
  return Us;
}

void TCustomFFmpeg::ParseForcedKeyFrames(const String& AText, TAVOutputStream& AOst,
                                         const AVCodecContext* AEncoder) {
  std::vector<String> Times{String()};
  for (char C : AText) {
    if (C == ',')
      Times.emplace_back();
    else
      Times.back() += C;
  }
  AOst.forced_kf_pts.clear();
  for (const String& T : Times)
    AOst.forced_kf_pts.push_back(
        ff::av_rescale_q(ParseTime("force_key_frames", T, true), AVRational{1, AV_TIME_BASE}, AEncoder->time_base));
  AOst.forced_kf_count = static_cast<Integer>(AOst.forced_kf_pts.size());
  AOst.forced_kf_index = 0;
}

String TCustomFFmpeg::PassLogFileName(Integer AIndex) const {
  String Prefix = Fpass_logfilename_prefix;
  if (Prefix.empty()) {
    String Inputs;
    for (Integer I = 0; I < Fnb_input_files; ++I)
      if (Finput_files[I] && Finput_files[I]->url) Inputs += String(Finput_files[I]->url) + "\n";
    Prefix = Format("ffmpeg2pass-%x", {static_cast<UInt64>(std::hash<String>{}(Inputs))});
  }
  if (Prefix.find('/') == String::npos) Prefix = GetTempFolder() + Prefix;
  String Name = Format("%s-%d.log", {Prefix, AIndex});
  if (Name.size() > 1023) Name.resize(1023);
  return Name;
}

// The output set-up adds the stream itself; without an output there is nowhere to add it.
void TCustomFFmpeg::AddNewStream(const String& AName) {
  if (Fnb_output_files <= 0 || !Foutput_files[Fnb_output_files - 1])
    throw FFmpegException(Format("No output file for option %s", {AName}));
  AddStreamToLastOutput(AName);
}

}  // namespace vantrel::media
