// The progress report of a conversion: the size and time of the output written so far,
// the frame count, rate and quality of the counted video stream, and on the last call
// the summary of sizes. Raised as OnProgress, or logged when nobody listens.
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"

namespace vantrel::media {

namespace {

constexpr size_t ReportBufferSize = 1024;
// FFmpeg's lambda scale of a quantiser (FF_QP2LAMBDA).
constexpr double QualityScale = 118.0;
// No stream has written anything yet.
constexpr double NoOutputTime = 1e10;

// The report line, appended to in bounded steps.
class TReportLine {
 public:
  TReportLine() { FBuf[0] = 0; }
  void Append(const char* AFormat, ...) __attribute__((format(printf, 2, 3))) {
    if (FLen >= ReportBufferSize - 1) return;
    va_list Args;
    va_start(Args, AFormat);
    const int N = std::vsnprintf(FBuf + FLen, ReportBufferSize - FLen, AFormat, Args);
    va_end(Args);
    if (N > 0) FLen = std::min(ReportBufferSize - 1, FLen + static_cast<size_t>(N));
  }
  String Text() const { return String(FBuf, FLen); }

 private:
  char FBuf[ReportBufferSize];
  size_t FLen = 0;
};

double Psnr(double AError) { return -10.0 * std::log10(AError); }

}  // namespace

void TCustomFFmpeg::PrintReport(bool AIsLastReport, Integer AInputIndex) {
  Int64 total_size = 0;
  if (Fnb_output_files > 0 && Foutput_files[0] && Foutput_files[0]->pb) {
    AVIOContext* pb = Foutput_files[0]->pb;
    total_size = ff::avio_size(pb);
    if (total_size < 0) total_size = ff::avio_seek(pb, 0, SEEK_CUR);
    if (total_size < 0) total_size = 0;
  }

  TReportLine Line;
  double ti1 = NoOutputTime;
  bool vid = false;
  Integer FrameNumber = -1, Fps = -1;
  Single Quality = -1.0f;
  for (TAVOutputStream* P : Fost_table) {
    const TAVOutputStream& ost = *P;
    const AVCodecContext* enc = ost.enc_ctx.get();
    const bool Video = ost.st && ost.st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    const double q = ost.stream_copy || !enc ? -1.0 : ost.coded_quality / QualityScale;
    if (vid && Video) Line.Append("q=%2.1f ", q);
    if (!vid && Video && ost.show_fps == 1) {
      const double t = static_cast<double>(Now() - Ftimer_start) / 1000000.0;
      if (ost.frame_number < 1) return;
      const Integer fps = t > 1.0 ? static_cast<Integer>(std::trunc(ost.frame_number / t + 0.5)) : 0;
      Line.Append("frame=%5d fps=%3d q=%3.1f ", static_cast<int>(ost.frame_number), fps, q);
      if (AIsLastReport) Line.Append("L");
      if (Fqp_hist) {
        const long j = std::lrint(q);
        if (j >= 0 && j < static_cast<long>(FQPHistogram.size())) ++FQPHistogram[j];
        for (size_t k = 0; k < 32; ++k)
          Line.Append("%X", static_cast<unsigned>(std::lrint(std::log2(FQPHistogram[k] + 1.0))));
      }
      if (enc && (enc->flags & AV_CODEC_FLAG_PSNR)) {
        double error_sum = 0, scale_sum = 0;
        static const char Letters[3] = {'Y', 'U', 'V'};
        Line.Append("PSNR=");
        for (int j = 0; j < 3; ++j) {
          double error, scale;
          if (!AIsLastReport) {
            error = static_cast<double>(ost.coded_error[j]);
            scale = static_cast<double>(enc->width) * enc->height * 255.0 * 255.0;
          } else {
            error = static_cast<double>(enc->error[j]);
            scale = static_cast<double>(ost.frame_number) * enc->width * enc->height * 255.0 * 255.0;
          }
          if (j) scale /= 4;
          error_sum += error;
          scale_sum += scale;
          Line.Append("%c:%2.2f ", Letters[j], Psnr(error / scale));
        }
        Line.Append("*:%2.2f ", Psnr(error_sum / scale_sum));
      }
      vid = true;
      FrameNumber = static_cast<Integer>(ost.frame_number);
      Fps = fps;
      Quality = static_cast<Single>(q);
    }
    // Output time of the stream: the end of the last packet it wrote.
    const double pts = ost.cur_time;
    if (pts > 0 && pts < ti1) ti1 = pts;
  }
  // Nothing written yet: the output is 0 long (not the start value of the search).
  const bool Written = ti1 < NoOutputTime;
  if (ti1 < 0.01) ti1 = 0.01;

  if (OnProgress || Fverbose > 0 || AIsLastReport) {
    const double bitrate = static_cast<double>(total_size) * 8 / ti1 / 1000.0;
    Line.Append("size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", static_cast<double>(total_size) / 1024,
                Written ? ti1 : 0.0, bitrate);
    if (Fnb_frames_dup || Fnb_frames_drop) {
      Line.Append(" dup=%d drop=%d", Fnb_frames_dup, Fnb_frames_drop);
      if (FShowDupOrDrop && Fverbose >= 0 && OnProgress) {
        FShowDupOrDrop = false;
        Log(llVerbose, Line.Text());
      }
    }
    if (!OnProgress) {
      if (Fverbose >= 0) Log(llVerbose, Line.Text());
    } else {
      Int64 Current = Written ? static_cast<Int64>(ti1 * 1000000.0) : 0;
      // Encoders that pad their last frame end a little after the input.
      if (FTotalOutputDuration > 0 && Current > FTotalOutputDuration) Current = FTotalOutputDuration;
      OnProgress(this, AInputIndex, FrameNumber, Fps, Quality, static_cast<Single>(bitrate), total_size, Current,
                 FTotalOutputDuration);
    }
  }

  if (AIsLastReport && Fverbose >= 0) {
    const double raw = static_cast<double>(Fvideo_size + Faudio_size + Fextra_size);
    char Buf[ReportBufferSize];
    std::snprintf(Buf, sizeof Buf, "video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%\r\n",
                  static_cast<double>(Fvideo_size) / 1024, static_cast<double>(Faudio_size) / 1024,
                  static_cast<double>(Fextra_size) / 1024, (static_cast<double>(total_size) - raw) * 100 / raw);
    Log(llVerbose, Buf);
  }
}

}  // namespace vantrel::media
