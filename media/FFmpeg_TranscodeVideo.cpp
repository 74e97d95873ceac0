// Video and subtitle output of a conversion: dropping or repeating pictures to keep the
// output's frame rate, scaling without a filter graph, encoding, subtitle encoding and
// the optional per-frame statistics file.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "media/SWScaleAPI.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

constexpr AVRational VideoMicroTB{1, AV_TIME_BASE};
constexpr size_t SubtitleOutSize = 1048576;
// FFmpeg's lambda scale of a quantiser (FF_QP2LAMBDA).
constexpr double VideoQualityScale = 118.0;

// The output frame a picture of time AIpts (in output frames) belongs to: the nearest,
// the earlier of two equally near (a hair of rounding error is no distance).
Int64 VideoSyncSlot(double AIpts) { return static_cast<Int64>(std::ceil(AIpts - 0.5 - 1e-6)); }

}  // namespace

void TSwsContextDeleter::operator()(SwsContext* ACtx) const {
  if (ACtx && ff::sws_freeContext) ff::sws_freeContext(ACtx);
}

bool TCustomFFmpeg::ConstantVideoRate(const AVFormatContext* os) const {
  if (Fvideo_sync_method == 0 || Fvideo_sync_method == 2) return false;
  return Fvideo_sync_method > 0 || !(os->oformat->flags & AVFMT_VARIABLE_FPS);
}

void TCustomFFmpeg::DoVideoOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist, AVFrame* in_picture,
                               Integer& frame_size) {
  AVCodecContext* enc = ost.enc_ctx.get();
  const TAVInputStream& sync = ost.sync_ist ? *ost.sync_ist : ist;
  const double sync_ipts = static_cast<double>(sync.pts - Fstart_time) / AV_TIME_BASE / av_q2d(enc->time_base);
  frame_size = 0;

  // Output frames to write, of which the first nb_previous repeat the previous picture.
  Int64 nb_frames = 1;
  Int64 nb_previous = 0;
  if (Fvideo_sync_method == 0) {
    ost.sync_opts = std::llrint(sync_ipts);
  } else if (!ConstantVideoRate(os)) {
    // Variable rate: each picture at its own time, a late one just after the previous.
    const double vdelta = sync_ipts - static_cast<double>(ost.sync_opts);
    if (vdelta <= -0.6)
      nb_frames = 0;
    else if (vdelta > 0.6)
      ost.sync_opts = std::llrint(sync_ipts);
  } else {
    // Constant rate: a picture is written at the frame nearest its time (the earlier of
    // two equally near), never before it; the frames up to it show the picture before.
    const Int64 Slot = VideoSyncSlot(sync_ipts);
    // The first picture keeps the stream's start against the others: nothing before it.
    if (!ost.last_picture && Slot > ost.sync_opts) ost.sync_opts = Slot;
    if (Slot < ost.sync_opts) {
      nb_frames = 0;  // its frame shows an earlier picture already
    } else {
      nb_previous = Slot - ost.sync_opts;
      nb_frames = nb_previous + 1;
    }
  }
  if (nb_frames == 0) {
    ++Fnb_frames_drop;
    FShowDupOrDrop = true;
    if (Fverbose > 2) Log(llVerbose, "*** drop!");
  } else if (nb_frames > 1) {
    Fnb_frames_dup += static_cast<Integer>(nb_frames - 1);
    FShowDupOrDrop = true;
    if (Fverbose > 2) Log(llVerbose, Format("*** %d dup!", {static_cast<Integer>(nb_frames - 1)}));
  }
  const Int64 Room = Fmax_frames[mtVideo] - ost.frame_number;
  if (Room <= 0) return;
  nb_frames = std::min<Int64>(nb_frames, Room);

  AVFrame* final_picture = in_picture;
  // Without a filter graph the decoder's geometry is followed here.
  if (!FEnableFilter) {
    const int W = in_picture->width, H = in_picture->height, Fmt = in_picture->format;
    if (W != ost.resample_width || H != ost.resample_height || Fmt != ost.resample_pix_fmt) {
      const char* Name = ff::av_get_pix_fmt_name(static_cast<AVPixelFormat>(Fmt));
      Log(llQuiet, Format("Input Stream #%d.%d frame size changed to %dx%d, %s",
                          {ist.file_index, ist.index, W, H, String(Name ? Name : "none")}));
      // A joined input of another geometry is scaled to the encoder's.
      const bool Differs = W != enc->width || H != enc->height || Fmt != enc->pix_fmt;
      if (!ost.video_resample && Differs && !FJoinMode)
        throw FFmpegException("The picture size changed on a stream prepared without scaling");
      if (!ost.video_resample && !ost.pict_tmp && !Differs) {
        // Back to the encoder's geometry: nothing to scale.
      } else {
        if (!ost.pict_tmp) {
          ost.pict_tmp.reset(ff::av_frame_alloc());
          if (!ost.pict_tmp) throw EOutOfMemory("Out of memory");
          ost.pict_tmp->format = enc->pix_fmt;
          ost.pict_tmp->width = enc->width;
          ost.pict_tmp->height = enc->height;
          if (ff::av_frame_get_buffer(ost.pict_tmp.get(), 0) < 0)
            throw FFmpegException("Cannot allocate temp picture, check pix fmt");
        }
        int64_t Flags = Fsws_flags;
        if (FOptions.sws_opts && ff::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &Flags) >= 0)
          Fsws_flags = static_cast<Integer>(Flags);
        ost.img_resample_ctx.reset(ff::sws_getCachedContext(nullptr, W, H, static_cast<AVPixelFormat>(Fmt),
                                                            enc->width, enc->height, enc->pix_fmt, Fsws_flags,
                                                            nullptr, nullptr, nullptr));
        if (!ost.img_resample_ctx) throw FFmpegException("Cannot get resampling context");
        ost.video_resample = 1;
      }
      ost.resample_width = W;
      ost.resample_height = H;
      ost.resample_pix_fmt = Fmt;
    }
    if (ost.video_resample && ost.img_resample_ctx) {
      // The encoder, or the picture kept to fill a gap, may still hold the previous one.
      if (ff::av_frame_make_writable(ost.pict_tmp.get()) < 0) throw EOutOfMemory("Out of memory");
      ff::sws_scale(ost.img_resample_ctx.get(), in_picture->data, in_picture->linesize, 0, ost.resample_height,
                    ost.pict_tmp->data, ost.pict_tmp->linesize);
      final_picture = ost.pict_tmp.get();
    }
  }

  // The picture as it is encoded, kept (at a constant rate) for the frames after it.
  TFramePtr Current(ff::av_frame_alloc());
  if (!Current || ff::av_frame_ref(Current.get(), final_picture) < 0) throw EOutOfMemory("Out of memory");
  Current->interlaced_frame = in_picture->interlaced_frame;
  Current->top_field_first = in_picture->top_field_first;
  for (Int64 i = 0; i < nb_frames && !FBroken; ++i) {
    const AVFrame* Source = i < nb_previous && ost.last_picture ? ost.last_picture.get() : Current.get();
    const Integer Bytes = WriteVideoFrame(os, ost, ist, Source);
    if (Bytes > 0) frame_size = Bytes;
  }
  if (ConstantVideoRate(os)) ost.last_picture = std::move(Current);
}

void TCustomFFmpeg::FinishVideoOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist) {
  if (!ost.last_picture || !ConstantVideoRate(os) || FBroken) return;
  const AVCodecContext* enc = ost.enc_ctx.get();
  const TAVInputStream& sync = ost.sync_ist ? *ost.sync_ist : ist;
  // The last picture lasts until the input's clock (which stands after it), within the
  // recording window.
  Int64 End = sync.next_pts;
  if (Frecording_time != INT64_MAX) End = std::min(End, Fstart_time + Frecording_time);
  const double end_ipts = static_cast<double>(End - Fstart_time) / AV_TIME_BASE / av_q2d(enc->time_base);
  Int64 nb_frames = VideoSyncSlot(end_ipts) - ost.sync_opts;
  if (nb_frames <= 0) return;
  Fnb_frames_dup += static_cast<Integer>(nb_frames);
  FShowDupOrDrop = true;
  if (Fverbose > 2) Log(llVerbose, Format("*** %d dup!", {static_cast<Integer>(nb_frames)}));
  nb_frames = std::min<Int64>(nb_frames, Fmax_frames[mtVideo] - ost.frame_number);
  for (Int64 i = 0; i < nb_frames && !FBroken; ++i) {
    const Integer Bytes = WriteVideoFrame(os, ost, ist, ost.last_picture.get());
    if (Bytes > 0 && !Fvstats_filename.empty()) DoVideoStats(os, ost, Bytes);
  }
}

Integer TCustomFFmpeg::WriteVideoFrame(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist,
                                       const AVFrame* APicture) {
  AVCodecContext* enc = ost.enc_ctx.get();
  TFramePtr Picture(ff::av_frame_alloc());
  if (!Picture || ff::av_frame_ref(Picture.get(), APicture) < 0) throw EOutOfMemory("Out of memory");
  const AVCodecContext* Template = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
  if (Template && (Template->flags & (AV_CODEC_FLAG_INTERLACED_ME | AV_CODEC_FLAG_INTERLACED_DCT)))
    Picture->top_field_first = Ftop_field_first == -1 ? APicture->top_field_first : Ftop_field_first;
  // In quantiser mode the encoder reads the quantiser from each picture.
  if (Fsame_quality)
    Picture->quality = static_cast<int>(std::lrint(ist.quality));
  else if (enc->flags & AV_CODEC_FLAG_QSCALE)
    Picture->quality = enc->global_quality;
  else
    Picture->quality = 0;
  if (!Fme_threshold) Picture->pict_type = AV_PICTURE_TYPE_NONE;
  Picture->pts = ost.sync_opts;
  Picture->sample_aspect_ratio = enc->sample_aspect_ratio;
  if (ost.forced_kf_index < ost.forced_kf_count && Picture->pts >= ost.forced_kf_pts[ost.forced_kf_index]) {
    Picture->pict_type = AV_PICTURE_TYPE_I;
    ++ost.forced_kf_index;
  }
  RunOutputHooks(ost, Picture.get(), ff::av_rescale_q(ost.sync_opts, enc->time_base, VideoMicroTB),
                 static_cast<Integer>(ost.frame_number + 1));
  const Integer Bytes = EncodeAndWrite(os, ost, Picture.get());
  ++ost.sync_opts;
  ++ost.frame_number;
  return Bytes;
}

void TCustomFFmpeg::DoSubtitleOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist, AVSubtitle* sub,
                                  Int64 pts) {
  if (pts == NoPTSValue) {
    if (Fexit_on_error) throw FFmpegException("Subtitle packets must have a pts");
    Log(llError, "Subtitle packets must have a pts");
    return;
  }
  AVCodecContext* enc = ost.enc_ctx.get();
  if (Fsubtitle_out.empty()) Fsubtitle_out.resize(SubtitleOutSize);
  const int nb = enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE ? 2 : 1;
  const AVRational MilliTB{1, 1000};
  for (int i = 0; i < nb; ++i) {
    sub->pts = ff::av_rescale_q(pts, ist.st->time_base, VideoMicroTB) +
               ff::av_rescale_q(sub->start_display_time, MilliTB, VideoMicroTB);
    sub->end_display_time -= sub->start_display_time;
    sub->start_display_time = 0;
    const int Size = ff::avcodec_encode_subtitle(enc, Fsubtitle_out.data(), static_cast<int>(Fsubtitle_out.size()), sub);
    if (Size < 0) throw FFmpegException("Subtitle encoding failed");
    TPacketPtr Pkt(ff::av_packet_alloc());
    if (!Pkt || ff::av_new_packet(Pkt.get(), Size) < 0) throw EOutOfMemory("Out of memory");
    std::memcpy(Pkt->data, Fsubtitle_out.data(), static_cast<size_t>(Size));
    Pkt->stream_index = ost.st->index;
    Pkt->pts = ff::av_rescale_q(sub->pts, VideoMicroTB, ost.st->time_base);
    if (enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE)
      Pkt->pts += ff::av_rescale_q(i == 0 ? sub->start_display_time : sub->end_display_time, MilliTB,
                                   ost.st->time_base);
    else
      Pkt->duration = ff::av_rescale_q(sub->end_display_time, MilliTB, ost.st->time_base);
    Pkt->dts = Pkt->pts;
    WriteFrame(os, Pkt.get(), ost);
    ++ost.frame_number;
  }
}

void TCustomFFmpeg::DoVideoStats(AVFormatContext* os, TAVOutputStream& ost, Integer frame_size) {
  (void)os;
  if (!Fvstats_file) {
    Fvstats_file = std::fopen(Fvstats_filename.c_str(), "w");
    if (!Fvstats_file) throw FFmpegException("fopen fail: " + Fvstats_filename);
  }
  const AVCodecContext* enc = ost.enc_ctx.get();
  if (enc->codec_type != AVMEDIA_TYPE_VIDEO) return;
  std::fprintf(Fvstats_file, "frame= %5d q= %2.1f ", static_cast<int>(ost.frame_number),
               ost.coded_quality / VideoQualityScale);
  if (enc->flags & AV_CODEC_FLAG_PSNR) {
    const double Scale = static_cast<double>(enc->width) * enc->height * 255.0 * 255.0;
    std::fprintf(Fvstats_file, "PSNR= %6.2f ",
                 ost.coded_error0 > 0 ? -10.0 * std::log10(static_cast<double>(ost.coded_error0) / Scale) : 0.0);
  }
  std::fprintf(Fvstats_file, "f_size= %6d ", frame_size);
  const double ti1 = std::max(static_cast<double>(ost.sync_opts) * av_q2d(enc->time_base), 0.01);
  const double bitrate = frame_size * 8 / av_q2d(enc->time_base) / 1000.0;
  const double avg_bitrate = static_cast<double>(Fvideo_size) * 8 / ti1 / 1000.0;
  std::fprintf(Fvstats_file, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
               static_cast<double>(Fvideo_size) / 1024, ti1, bitrate, avg_bitrate);
  std::fprintf(Fvstats_file, "type= %c\n", ff::av_get_picture_type_char(static_cast<AVPictureType>(ost.coded_pict_type)));
}

}  // namespace vantrel::media
