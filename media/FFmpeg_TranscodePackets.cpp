// Packets of a conversion: decoding an input packet and keeping the input stream's
// clock, handing decoded pictures and subtitles to the output streams, stream copy,
// encoding with the send/receive calls, and the single way to the muxer through the
// bitstream filters.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg_Detail.h"
#include "media/FFmpeg.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

constexpr AVRational PacketsMicroTB{1, AV_TIME_BASE};

String ErrText(int ACode) {
  char Buf[128] = {};
  if (ff::av_strerror(ACode, Buf, sizeof Buf) < 0) std::snprintf(Buf, sizeof Buf, "Error number %d occurred", ACode);
  return Buf;
}

// The interleaved counterpart of a planar sample format.
Integer PackedSampleFormat(Integer AFmt) {
  switch (AFmt) {
    case AV_SAMPLE_FMT_U8P: return AV_SAMPLE_FMT_U8;
    case AV_SAMPLE_FMT_S16P: return AV_SAMPLE_FMT_S16;
    case AV_SAMPLE_FMT_S32P: return AV_SAMPLE_FMT_S32;
    case AV_SAMPLE_FMT_FLTP: return AV_SAMPLE_FMT_FLT;
    case AV_SAMPLE_FMT_DBLP: return AV_SAMPLE_FMT_DBL;
    case AV_SAMPLE_FMT_S64P: return AV_SAMPLE_FMT_S64;
    default: return AFmt;
  }
}

// Microseconds of one picture of the stream when its packets or pictures do not say.
Int64 PictureDuration(const TAVInputStream& ist, Int64 ADuration, AVRational ADurationTB, int ARepeat) {
  if (ADuration > 0) return ff::av_rescale_q(ADuration, ADurationTB, PacketsMicroTB);
  AVRational Rate = ist.dec_ctx->framerate;
  if (Rate.num <= 0 || Rate.den <= 0) Rate = ist.st->avg_frame_rate;
  if (Rate.num <= 0 || Rate.den <= 0) Rate = ist.st->r_frame_rate;
  if (Rate.num <= 0 || Rate.den <= 0) return 0;
  return Int64{AV_TIME_BASE} * Rate.den * (2 + ARepeat) / (Int64{Rate.num} * 2);
}

}  // namespace

void TFrameDeleter::operator()(AVFrame* AFrame) const {
  if (AFrame && ff::av_frame_free) ff::av_frame_free(&AFrame);
}
void TPacketDeleter::operator()(AVPacket* APacket) const {
  if (APacket && ff::av_packet_free) ff::av_packet_free(&APacket);
}
void TBSFContextDeleter::operator()(AVBSFContext* ACtx) const {
  if (ACtx && ff::av_bsf_free) ff::av_bsf_free(&ACtx);
}

bool TCustomFFmpeg::FrameLimitReached(const TAVOutputStream& ost) const {
  const int Type = ost.enc_ctx ? ost.enc_ctx->codec_type : ost.st->codecpar->codec_type;
  if (Type < 0 || Type >= static_cast<int>(Fmax_frames.size())) return false;
  return ost.frame_number >= Fmax_frames[Type];
}

Integer TCustomFFmpeg::OutputPacket(TAVInputStream& ist, Integer ist_index, const AVPacket* APacket) {
  AVCodecContext* dec = ist.dec_ctx.get();
  const AVMediaType Type = ist.st->codecpar->codec_type;
  if (ist.next_pts == NoPTSValue) ist.next_pts = ist.pts;
  if (APacket && APacket->dts != NoPTSValue)
    ist.next_pts = ist.pts = ff::av_rescale_q(APacket->dts, ist.st->time_base, PacketsMicroTB);
  if (!APacket && (!ist.decoding_needed || ist.decoder_flushed)) return 0;
  // Packets before the output's start are decoded (the clock moves) but not output.
  const bool StartReached = Fstart_time == 0 || ist.pts >= Fstart_time;

  if (ist.decoding_needed) {
    if (Type == AVMEDIA_TYPE_SUBTITLE) {
      if (APacket) {
        AVSubtitle Sub{};
        int Got = 0;
        AVPacket* Pkt = const_cast<AVPacket*>(APacket);
        if (ff::avcodec_decode_subtitle2(dec, &Sub, &Got, Pkt) < 0) return -1;
        if (Got) {
          detail::TScopeExit FreeSub{[&Sub] { ff::avsubtitle_free(&Sub); }};
          if (StartReached)
            for (TAVOutputStream* ost : Fost_table)
              if (ost->source_index == ist_index && ost->encoding_needed)
                DoSubtitleOut(Foutput_files[ost->file_index], *ost, ist, &Sub, APacket->pts);
        }
      } else {
        ist.decoder_flushed = 1;
      }
    } else if (Type == AVMEDIA_TYPE_VIDEO || Type == AVMEDIA_TYPE_AUDIO) {
      int R = ff::avcodec_send_packet(dec, APacket);
      if (R < 0 && R != AVERROR_EOF && R != AVERROR(EAGAIN)) return -1;
      if (!ist.decoded_frame) ist.decoded_frame.reset(ff::av_frame_alloc());
      if (!ist.decoded_frame) throw EOutOfMemory("Out of memory");
      AVFrame* Frame = ist.decoded_frame.get();
      Integer FramesOfPacket = 0;
      for (;;) {
        R = ff::avcodec_receive_frame(dec, Frame);
        if (R == AVERROR(EAGAIN) || R == AVERROR_EOF) break;
        if (R < 0) return -1;
        if (++FramesOfPacket == 2 && APacket &&
            ((!ist.showed_multi_packet_warning && Fverbose > 0) || Fverbose > 1)) {
          Log(llError, Format("Multiple frames in a packet from stream %d", {APacket->stream_index}));
          ist.showed_multi_packet_warning = 1;
        }
        // The frame's time from the decoder's best guess, else where the clock stands.
        ist.pts = ist.next_pts;
        if (Frame->best_effort_timestamp != NoPTSValue)
          ist.pts = ff::av_rescale_q(Frame->best_effort_timestamp, ist.st->time_base, PacketsMicroTB);
        if (Type == AVMEDIA_TYPE_VIDEO) {
          ist.next_pts = ist.pts + PictureDuration(ist, Frame->pkt_duration, ist.st->time_base, Frame->repeat_pict);
          ist.quality = static_cast<Single>(Frame->quality);
        } else if (Frame->sample_rate > 0) {
          ist.next_pts = ist.pts + Int64{AV_TIME_BASE} * Frame->nb_samples / Frame->sample_rate;
        }
        OutputDecodedFrame(ist, ist_index, Frame);
        ff::av_frame_unref(Frame);
      }
      if (!APacket) {
        ist.decoder_flushed = 1;
        // The end of the pictures goes through the filter graph too.
        if (FEnableFilter && ist.filter && ist.filter->Configured()) {
          ist.filter->Push(nullptr);
          OutputDecodedFrame(ist, ist_index, nullptr);
        }
        // At a constant rate the last picture lasts to its end.
        if (Type == AVMEDIA_TYPE_VIDEO)
          for (TAVOutputStream* ost : Fost_table)
            if (ost->source_index == ist_index && ost->encoding_needed)
              FinishVideoOut(Foutput_files[ost->file_index], *ost, ist);
      }
    } else {
      return -1;
    }
  } else if (APacket) {
    // Not decoded: the clock moves by the packet's length.
    if (Type == AVMEDIA_TYPE_AUDIO) {
      if (APacket->duration > 0)
        ist.next_pts += ff::av_rescale_q(APacket->duration, ist.st->time_base, PacketsMicroTB);
      else if (ist.st->codecpar->sample_rate > 0)
        ist.next_pts += Int64{AV_TIME_BASE} * ist.st->codecpar->frame_size / ist.st->codecpar->sample_rate;
    } else if (Type == AVMEDIA_TYPE_VIDEO) {
      ist.next_pts += PictureDuration(ist, APacket->duration, ist.st->time_base, 0);
    }
  }

  if (Frate_emu) {
    const Int64 Ahead = ist.pts - (Now() - ist.start);
    if (Ahead > 1000) TThread::Sleep(static_cast<Cardinal>(Ahead / 1000));
  }

  // Stream copy: the packet itself, retimed for the output stream.
  if (!APacket || !StartReached) return 0;
  for (TAVOutputStream* P : Fost_table) {
    TAVOutputStream& ost = *P;
    if (ost.source_index != ist_index || !ost.stream_copy) continue;
    const bool Key = (APacket->flags & AV_PKT_FLAG_KEY) != 0;
    if (!ost.frame_number && !Key && !Fcopy_initial_nonkeyframes) continue;
    ost.coded_key_frame = Key;
    if (Type == AVMEDIA_TYPE_AUDIO) {
      Faudio_size += APacket->size;
    } else if (Type == AVMEDIA_TYPE_VIDEO) {
      Fvideo_size += APacket->size;
      ++ost.sync_opts;
    }
    TPacketPtr Out(ff::av_packet_alloc());
    if (!Out || ff::av_packet_ref(Out.get(), APacket) < 0) throw EOutOfMemory("Out of memory");
    const AVRational OutTB = ost.st->time_base;
    const Int64 Start = ff::av_rescale_q(Fstart_time, PacketsMicroTB, OutTB);
    Out->stream_index = ost.st->index;
    Out->pts = APacket->pts != NoPTSValue ? ff::av_rescale_q(APacket->pts, ist.st->time_base, OutTB) - Start : NoPTSValue;
    Out->dts = (APacket->dts != NoPTSValue ? ff::av_rescale_q(APacket->dts, ist.st->time_base, OutTB)
                                           : ff::av_rescale_q(ist.pts, PacketsMicroTB, OutTB)) -
               Start;
    Out->duration = ff::av_rescale_q(APacket->duration, ist.st->time_base, OutTB);
    Out->pos = -1;
    WriteFrame(Foutput_files[ost.file_index], Out.get(), ost);
    ++ost.frame_number;
  }
  return 0;
}

void TCustomFFmpeg::OutputDecodedFrame(TAVInputStream& ist, Integer ist_index, AVFrame* AFrame) {
  const AVMediaType Type = ist.st->codecpar->codec_type;
  auto ToOutputs = [&](AVFrame* APicture) {
    if (Fstart_time != 0 && ist.pts < Fstart_time) return;
    TFramePtr Cut;
    if (APicture && !FitToWindow(ist, APicture, Cut)) return;
    for (TAVOutputStream* P : Fost_table) {
      TAVOutputStream& ost = *P;
      if (ost.source_index != ist_index || !ost.encoding_needed) continue;
      AVFormatContext* os = Foutput_files[ost.file_index];
      if (Type == AVMEDIA_TYPE_VIDEO) {
        Integer FrameSize = 0;
        DoVideoOut(os, ost, ist, APicture, FrameSize);
        if (!Fvstats_filename.empty() && FrameSize > 0) DoVideoStats(os, ost, FrameSize);
      } else if (Type == AVMEDIA_TYPE_AUDIO) {
        DoAudioOut(os, ost, ist, APicture);
      } else {
        throw FFmpegException("invalid codec_type");
      }
    }
  };

  if (Type == AVMEDIA_TYPE_AUDIO) {
    if (!AFrame) return;
    if (OnAudioHook && AFrame->data[0]) {
      // The hook sees interleaved samples: planar decoder output is packed first.
      const auto Fmt = static_cast<AVSampleFormat>(AFrame->format);
      const int Bytes = ff::av_get_bytes_per_sample(Fmt);
      const int Channels = AFrame->ch_layout.nb_channels;
      const int Size = AFrame->nb_samples * Bytes * Channels;
      Byte* Samples = AFrame->data[0];
      if (ff::av_sample_fmt_is_planar(Fmt) && Channels > 1) {
        if (Fsamples.size() < static_cast<size_t>(Size)) Fsamples.resize(static_cast<size_t>(Size));
        for (int c = 0; c < Channels; ++c) {
          const uint8_t* Src = AFrame->extended_data[c];
          for (size_t i = 0; i < static_cast<size_t>(AFrame->nb_samples); ++i)
            std::memcpy(&Fsamples[(i * Channels + c) * Bytes], Src + i * Bytes, static_cast<size_t>(Bytes));
        }
        Samples = Fsamples.data();
      }
      OnAudioHook(this, ist.pts, Samples, Size, AFrame->sample_rate, Channels, PackedSampleFormat(AFrame->format));
    }
    ToOutputs(AFrame);
    return;
  }

  if (AFrame) PreprocessVideoFrame(ist, AFrame);
  if (!(FEnableFilter && ist.filter && ist.filter->Configured())) {
    if (AFrame) ToOutputs(AFrame);
    return;
  }
  if (AFrame) {
    // The graph takes the pictures' times in microseconds.
    AFrame->pts = ist.pts;
    if (ist.filter->Push(AFrame) < 0) throw FFmpegException("Error while filtering the video");
  }
  if (!ist.filter_frame) ist.filter_frame.reset(ff::av_frame_alloc());
  if (!ist.filter_frame) throw EOutOfMemory("Out of memory");
  AVFrame* Filtered = ist.filter_frame.get();
  for (;;) {
    TAVRational TB{1, AV_TIME_BASE};
    const Integer R = GetFilteredVideoFrame(*ist.filter, Filtered, TB);
    if (R != 1) break;
    if (Filtered->pts != NoPTSValue)
      ist.pts = ff::av_rescale_q(Filtered->pts, AVRational{TB.num, TB.den}, PacketsMicroTB);
    ToOutputs(Filtered);
    ff::av_frame_unref(Filtered);
  }
}

bool TCustomFFmpeg::FitToWindow(TAVInputStream& ist, AVFrame*& AFrame, TFramePtr& ACut) {
  const Int64 Start = Finput_files_start[ist.file_index];
  // A joined input ends with its own length: what its sound runs on past that is cut.
  const Int64 End = std::min(Frecording_time != INT64_MAX ? Fstart_time + Frecording_time : INT64_MAX,
                             JoinSegmentEnd(ist.file_index));
  if (ist.st->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
    return (Start == NoPTSValue || ist.pts >= Start) && ist.pts < End;
  const Int64 Rate = AFrame->sample_rate;
  const Integer Count = AFrame->nb_samples;
  if (Rate <= 0 || Count <= 0) return true;
  const Int64 Length = Count * Int64{AV_TIME_BASE} / Rate;
  Int64 Skip = 0, Keep = Count;
  if (Start != NoPTSValue && ist.pts < Start)
    Skip = std::min<Int64>(Count, ff::av_rescale_q(Start - ist.pts, PacketsMicroTB, AVRational{1, AFrame->sample_rate}));
  if (End != INT64_MAX && ist.pts + Length > End)
    Keep = std::clamp<Int64>(ff::av_rescale_q(End - ist.pts, PacketsMicroTB, AVRational{1, AFrame->sample_rate}), 0, Count);
  if (Keep <= Skip) return false;
  if (Skip == 0 && Keep == Count) return true;
  ACut.reset(ff::av_frame_alloc());
  if (!ACut) throw EOutOfMemory("Out of memory");
  ACut->format = AFrame->format;
  ACut->sample_rate = AFrame->sample_rate;
  ACut->nb_samples = static_cast<int>(Keep - Skip);
  if (ff::av_channel_layout_copy(&ACut->ch_layout, &AFrame->ch_layout) < 0 ||
      ff::av_frame_get_buffer(ACut.get(), 0) < 0)
    throw EOutOfMemory("Out of memory");
  ff::av_samples_copy(ACut->extended_data, AFrame->extended_data, 0, static_cast<int>(Skip), ACut->nb_samples,
                      AFrame->ch_layout.nb_channels, static_cast<AVSampleFormat>(AFrame->format));
  ist.pts += Skip * AV_TIME_BASE / Rate;
  AFrame = ACut.get();
  return true;
}

Integer TCustomFFmpeg::EncodeAndWrite(AVFormatContext* os, TAVOutputStream& ost, AVFrame* AFrame) {
  AVCodecContext* enc = ost.enc_ctx.get();
  const bool Video = enc->codec_type == AVMEDIA_TYPE_VIDEO;
  const char* Failure = Video ? "Video encoding failed" : "Audio encoding failed";
  int R = ff::avcodec_send_frame(enc, AFrame);
  if (R == AVERROR_EOF && !AFrame) return 0;  // ended before
  if (R < 0) throw FFmpegException(Failure);
  TPacketPtr Pkt(ff::av_packet_alloc());
  if (!Pkt) throw EOutOfMemory("Out of memory");
  Integer Last = 0;
  for (;;) {
    R = ff::avcodec_receive_packet(enc, Pkt.get());
    if (R == AVERROR(EAGAIN) || R == AVERROR_EOF) break;
    if (R < 0) throw FFmpegException(Failure);
    if (Video) {
      // Quality, picture type and error of the encoded picture travel as side data.
      size_t Size = 0;
      if (const uint8_t* Q = ff::av_packet_get_side_data(Pkt.get(), AV_PKT_DATA_QUALITY_STATS, &Size);
          Q && Size >= 6) {
        ost.coded_quality = static_cast<Integer>(Q[0] | (Q[1] << 8) | (Q[2] << 16) | (uint32_t{Q[3]} << 24));
        ost.coded_pict_type = Q[4];
        for (size_t p = 0; p < ost.coded_error.size() && p < Q[5] && Size >= 16 + 8 * p; ++p) {
          uint64_t E = 0;
          for (int b = 7; b >= 0; --b) E = (E << 8) | Q[8 + 8 * p + b];
          ost.coded_error[p] = static_cast<Int64>(E);
        }
        if (Q[5] > 0 && Size >= 16) ost.coded_error0 = ost.coded_error[0];
      }
      if (Pkt->duration == 0) Pkt->duration = 1;
      Fvideo_size += Pkt->size;
    } else {
      Faudio_size += Pkt->size;
    }
    ost.coded_key_frame = (Pkt->flags & AV_PKT_FLAG_KEY) != 0;
    if (ost.logfile && enc->stats_out) std::fprintf(ost.logfile, "%s", enc->stats_out);
    Last = Pkt->size;
    Pkt->stream_index = ost.st->index;
    ff::av_packet_rescale_ts(Pkt.get(), enc->time_base, ost.st->time_base);
    WriteFrame(os, Pkt.get(), ost);
    ff::av_packet_unref(Pkt.get());
  }
  return Last;
}

void TCustomFFmpeg::FlushEncoders() {
  for (TAVOutputStream* P : Fost_table) {
    TAVOutputStream& ost = *P;
    if (!ost.encoding_needed || !ost.enc_ctx) continue;
    AVCodecContext* enc = ost.enc_ctx.get();
    AVFormatContext* os = Foutput_files[ost.file_index];
    if (enc->codec_type == AVMEDIA_TYPE_AUDIO) {
      FlushAudioFifo(os, ost);
      if (enc->frame_size <= 1) continue;
    } else if (enc->codec_type != AVMEDIA_TYPE_VIDEO) {
      continue;
    }
    EncodeAndWrite(os, ost, nullptr);
  }
}

void TCustomFFmpeg::WriteFrame(AVFormatContext* os, AVPacket* APacket, TAVOutputStream& ost) {
  // Through the chain of bitstream filters, each packet a filter gives going on to the
  // next; a filter that fails passes the packet on unchanged.
  std::function<void(size_t, AVPacket*)> Pass = [&](size_t AIndex, AVPacket* APkt) {
    if (AIndex == ost.bsf_ctx.size()) {
      if (APkt->dts != NoPTSValue || APkt->pts != NoPTSValue) {
        const Int64 T = APkt->dts != NoPTSValue ? APkt->dts : APkt->pts;
        ost.cur_time = (T + APkt->duration) * av_q2d(ost.st->time_base);
      }
      const int R = ff::av_interleaved_write_frame(os, APkt);
      if (R < 0) throw FFmpegException(PrintError("av_interleaved_write_frame()", R));
      ++Fpackets_written;
      return;
    }
    AVBSFContext* Ctx = ost.bsf_ctx[AIndex].get();
    int R = ff::av_bsf_send_packet(Ctx, APkt);
    if (R < 0) {
      const String Msg = Format("%s failed for stream %d, codec %s: %s",
                                {String(Ctx->filter->name), APkt->stream_index,
                                 String(ost.enc_ctx && ost.enc_ctx->codec ? ost.enc_ctx->codec->name : "copy"),
                                 ErrText(R)});
      if (Fexit_on_error) throw FFmpegException(Msg);
      Log(llError, Msg);
      Pass(AIndex + 1, APkt);
      return;
    }
    TPacketPtr Out(ff::av_packet_alloc());
    if (!Out) throw EOutOfMemory("Out of memory");
    while ((R = ff::av_bsf_receive_packet(Ctx, Out.get())) >= 0) {
      Out->stream_index = ost.st->index;
      Pass(AIndex + 1, Out.get());
      ff::av_packet_unref(Out.get());
    }
  };
  Pass(0, APacket);
}

}  // namespace vantrel::media
