// The audio side of the frame decoder: packets of an audio stream decoded into blocks of
// interleaved 16-bit samples at the wanted channel count and rate, and a byte reader
// over these blocks.
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFDecode.h"
#include "media/FFLog.h"
#include "media/SWResampleAPI.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

constexpr AVSampleFormat WantedFormat = AV_SAMPLE_FMT_S16;
constexpr Integer WantedBytes = 2;

String SampleFormatName(Integer AFormat) {
  const char* Name = ff::av_get_sample_fmt_name(static_cast<AVSampleFormat>(AFormat));
  return Name ? Name : "unknown";
}

// The frame's channel layout, or the default one for its channel count when it has none.
struct TLayout {
  AVChannelLayout Layout{};
  TLayout(const AVChannelLayout& ASource) {
    if (ASource.order == AV_CHANNEL_ORDER_UNSPEC || ff::av_channel_layout_copy(&Layout, &ASource) < 0)
      ff::av_channel_layout_default(&Layout, ASource.nb_channels);
  }
  explicit TLayout(Integer AChannels) { ff::av_channel_layout_default(&Layout, AChannels); }
  ~TLayout() { ff::av_channel_layout_uninit(&Layout); }
  TLayout(const TLayout&) = delete;
  TLayout& operator=(const TLayout&) = delete;
};

}  // namespace

void TFFDecoder::SetDesireAudioChannels(Integer Value) {
  if (Value == FDesireAudioChannels) return;
  if (Value < 1 || Value > 64)
    throw EArgumentOutOfRangeException(Format("Invalid audio channel count %d", {Value}));
  FDesireAudioChannels = Value;
  FreeResampler();
}

void TFFDecoder::SetDesireAudioSampleRate(Integer Value) {
  if (Value == FDesireAudioSampleRate) return;
  if (Value < 1)
    throw EArgumentOutOfRangeException(Format("Invalid audio sample rate %d", {Value}));
  FDesireAudioSampleRate = Value;
  FreeResampler();
}

void TFFDecoder::ResetWaveInfo() {
  FWaveInfo.Channels = FWaveInfo.SampleRate = FWaveInfo.BytesPerSample = 0;
  FWaveInfo.BytesPerSecond = FWaveInfo.Size = 0;
  FWaveInfo.SampleFormat = FWaveInfo.StreamIndex = -1;
  FWaveInfo.PTS = FWaveInfo.OriginalDTS = FWaveInfo.OriginalPTS = NoPTSValue;
  FWaveInfo.Duration = NoPTSValue;
  FWaveInfo.Ready = false;
  FWaveInfo.Buffer = nullptr;
  // The reader's place lies in the block just forgotten.
  FRemainsAudioSize = 0;
}

void TFFDecoder::FreeResampler() {
  if (FAudioResampler && ff::swr_free) ff::swr_free(&FAudioResampler);
  FAudioResampler = nullptr;
  FResampleInFormat = -1;
  FResampleInRate = FResampleInChannels = FResampleOutChannels = FResampleOutRate = 0;
}

Integer TFFDecoder::SelectAudioStream(Integer AStreamIndex) {
  if (!CheckOwnHandle()) return -1;
  Integer Index = AStreamIndex;
  if (Index < 0) {
    Index = FDesireAudioIndex >= 0 ? FDesireAudioIndex : FFirstAudioStreamIndex;
    if (Index < 0) {
      LogMessage(AV_LOG_ERROR, "no audio stream.");
      return -1;
    }
  }
  if (Index >= FStreamCount) {
    LogMessage(AV_LOG_ERROR, Format("stream index #%d is invalid.", {Index}));
    return -1;
  }
  if (!IsAudioStream(Index)) {
    LogMessage(AV_LOG_ERROR, Format("stream #%d is not audio stream.", {Index}));
    return -1;
  }
  if (Index != FDesireAudioIndex) {
    ResetWaveInfo();
    FreeResampler();
  }
  FDesireAudioIndex = Index;
  return Index;
}

bool TFFDecoder::AppendAudio(const AVFrame* AFrame) {
  const Integer Format_ = AFrame->format;
  const Integer Rate = AFrame->sample_rate;
  const Integer Channels = AFrame->ch_layout.nb_channels;
  const Integer Samples = AFrame->nb_samples;
  if (Channels <= 0 || Rate <= 0 || Samples <= 0) return true;  // nothing usable
  if (FAudioTotal == 0) {
    FAudioBlockPTS = AFrame->best_effort_timestamp;
    if (FAudioBlockPTS == AV_NOPTS_VALUE) FAudioBlockPTS = AFrame->pts;
    if (FAudioBlockPTS == AV_NOPTS_VALUE) FAudioBlockPTS = AFrame->pkt_dts;
    FAudioBlockDTS = AFrame->pkt_dts;
    FAudioBlockOrigPTS = AFrame->pts;
  }
  const bool Same = Format_ == WantedFormat && Channels == FDesireAudioChannels &&
                    Rate == FDesireAudioSampleRate;
  try {
    if (Same && !FAudioConverted) {
      // Already what is wanted: the decoded samples are the block.
      const Int64 Bytes = static_cast<Int64>(Samples) * Channels * WantedBytes;
      if (FAudioTotal + Bytes > INT_MAX) {
        LogMessage(AV_LOG_ERROR, "Buffer sizes too large in DecodeAudio");
        return false;
      }
      if (FDecodedAudio.size() < static_cast<size_t>(FAudioTotal + Bytes))
        FDecodedAudio.resize(static_cast<size_t>(FAudioTotal + Bytes));
      std::memcpy(FDecodedAudio.data() + FAudioTotal, AFrame->data[0], static_cast<size_t>(Bytes));
      FAudioTotal += static_cast<Integer>(Bytes);
      return true;
    }
    if (!FAudioConverted && FAudioTotal > 0) {
      // The block began unconverted: it continues in the converted buffer.
      if (FResampledAudio.size() < static_cast<size_t>(FAudioTotal))
        FResampledAudio.resize(static_cast<size_t>(FAudioTotal));
      std::memcpy(FResampledAudio.data(), FDecodedAudio.data(), static_cast<size_t>(FAudioTotal));
    }
    FAudioConverted = true;

    if (FAudioResampler &&
        (FResampleInFormat != Format_ || FResampleInRate != Rate ||
         FResampleInChannels != Channels || FResampleOutChannels != FDesireAudioChannels ||
         FResampleOutRate != FDesireAudioSampleRate))
      FreeResampler();
    if (!FAudioResampler) {
      const bool Resample = Channels != FDesireAudioChannels || Rate != FDesireAudioSampleRate;
      TLayout In(AFrame->ch_layout);
      TLayout Out(FDesireAudioChannels);
      Integer R = ff::swr_alloc_set_opts2(&FAudioResampler, &Out.Layout, WantedFormat,
                                          FDesireAudioSampleRate, &In.Layout,
                                          static_cast<AVSampleFormat>(Format_), Rate, 0, nullptr);
      // One channel goes to every wanted channel at full level (the default mix lowers
      // a mono source by 3 dB).
      if (R >= 0 && Channels == 1) {
        const std::vector<double> Matrix(static_cast<size_t>(FDesireAudioChannels), 1.0);
        R = ff::swr_set_matrix(FAudioResampler, Matrix.data(), 1);
      }
      if (R >= 0) R = ff::swr_init(FAudioResampler);
      if (R < 0) {
        FreeResampler();
        if (Resample)
          LogMessage(AV_LOG_ERROR, Format("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                          {Channels, Rate, FDesireAudioChannels, FDesireAudioSampleRate}));
        else
          LogMessage(AV_LOG_ERROR, Format("Cannot convert %s sample format to %s sample format",
                                          {SampleFormatName(Format_), SampleFormatName(WantedFormat)}));
        return false;
      }
      FResampleInFormat = Format_;
      FResampleInRate = Rate;
      FResampleInChannels = Channels;
      FResampleOutChannels = FDesireAudioChannels;
      FResampleOutRate = FDesireAudioSampleRate;
      if (Resample)
        GetFFLogger()->Log(this, llInfo,
                           Format("need resample %d channels @ %d Hz to %d channels @ %d Hz",
                                  {Channels, Rate, FDesireAudioChannels, FDesireAudioSampleRate}));
      else
        GetFFLogger()->Log(this, llInfo,
                           Format("need convert %s sample format to %s sample format",
                                  {SampleFormatName(Format_), SampleFormatName(WantedFormat)}));
    }
    const Integer OutMax = ff::swr_get_out_samples(FAudioResampler, Samples);
    if (OutMax < 0) {
      LogMessage(AV_LOG_ERROR, "Buffer sizes too large in DecodeAudio");
      return false;
    }
    const Int64 Bytes = static_cast<Int64>(OutMax) * FDesireAudioChannels * WantedBytes;
    if (FAudioTotal + Bytes > INT_MAX) {
      LogMessage(AV_LOG_ERROR, "Buffer sizes too large in DecodeAudio");
      return false;
    }
    if (FResampledAudio.size() < static_cast<size_t>(FAudioTotal + Bytes))
      FResampledAudio.resize(static_cast<size_t>(FAudioTotal + Bytes));
    uint8_t* Out = FResampledAudio.data() + FAudioTotal;
    const Integer N = ff::swr_convert(FAudioResampler, &Out, OutMax,
                                      const_cast<const uint8_t**>(AFrame->extended_data), Samples);
    if (N < 0) {
      LogMessage(AV_LOG_ERROR, "audio conversion failed.");
      return false;
    }
    FAudioTotal += N * FDesireAudioChannels * WantedBytes;
    return true;
  } catch (const std::bad_alloc&) {
    LogMessage(AV_LOG_ERROR, "Out of memory in DecodeAudio");
    return false;
  }
}

bool TFFDecoder::FlushResampler() {
  if (!FAudioResampler) return true;
  const Integer OutMax = ff::swr_get_out_samples(FAudioResampler, 0);
  if (OutMax <= 0) return true;
  try {
    const size_t Need = static_cast<size_t>(FAudioTotal) +
                        static_cast<size_t>(OutMax) * FDesireAudioChannels * WantedBytes;
    if (!FAudioConverted && FAudioTotal > 0) {
      if (FResampledAudio.size() < static_cast<size_t>(FAudioTotal))
        FResampledAudio.resize(static_cast<size_t>(FAudioTotal));
      std::memcpy(FResampledAudio.data(), FDecodedAudio.data(), static_cast<size_t>(FAudioTotal));
    }
    if (FResampledAudio.size() < Need) FResampledAudio.resize(Need);
  } catch (const std::bad_alloc&) {
    LogMessage(AV_LOG_ERROR, "Out of memory in DecodeAudio");
    return false;
  }
  FAudioConverted = true;
  uint8_t* Out = FResampledAudio.data() + FAudioTotal;
  const Integer N = ff::swr_convert(FAudioResampler, &Out, OutMax, nullptr, 0);
  if (N > 0) FAudioTotal += N * FDesireAudioChannels * WantedBytes;
  return true;
}

bool TFFDecoder::FinishAudioBlock(Integer AIndex) {
  if (GetFFLogger()->LogLevel() >= llDebug)
    GetFFLogger()->Log(this, llDebug,
                       Format("pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, samples data size=%d",
                              {AIndex, FAudioBlockDTS, FAudioBlockOrigPTS, 0, FAudioTotal}));
  FWaveInfo.Buffer = FAudioConverted ? FResampledAudio.data() : FDecodedAudio.data();
  FWaveInfo.Size = FAudioTotal;
  FWaveInfo.Channels = FDesireAudioChannels;
  FWaveInfo.SampleRate = FDesireAudioSampleRate;
  FWaveInfo.SampleFormat = WantedFormat;
  FWaveInfo.BytesPerSample = WantedBytes;
  FWaveInfo.BytesPerSecond = WantedBytes * FDesireAudioSampleRate * FDesireAudioChannels;
  if (FAudioBlockPTS == AV_NOPTS_VALUE) {
    FWaveInfo.PTS = NoPTSValue;
  } else {
    const AVStream* Stream = FFileHandle->streams[AIndex];
    Int64 T = FAudioBlockPTS;
    if (Stream->start_time != AV_NOPTS_VALUE) T -= Stream->start_time;
    FWaveInfo.PTS = ff::av_rescale_q(T, Stream->time_base, AVRational{1, AV_TIME_BASE});
    if (GetFFLogger()->LogLevel() >= llDebug)
      GetFFLogger()->Log(this, llDebug, Format("decode PTS: %0.3f",
                                               {static_cast<double>(FWaveInfo.PTS) / AV_TIME_BASE}));
  }
  FWaveInfo.OriginalDTS = FAudioBlockDTS;
  FWaveInfo.OriginalPTS = FAudioBlockOrigPTS;
  FWaveInfo.StreamIndex = AIndex;
  FWaveInfo.Ready = true;
  // In 64 bits: 1000000 / 2 x Size passes 32 bits from 4,295 bytes on.
  FWaveInfo.Duration = static_cast<Int64>(1000000 / FWaveInfo.BytesPerSample) * FWaveInfo.Size /
                       (static_cast<Int64>(FWaveInfo.SampleRate) * FWaveInfo.Channels);
  return true;
}

bool TFFDecoder::DecodeAudio(Integer AStreamIndex) {
  const Integer Index = SelectAudioStream(AStreamIndex);
  if (Index < 0) return false;
  if (FEOF) {
    LogMessage(AV_LOG_INFO, "stream eof reached.");
    return false;
  }
  AVCodecContext* Codec = OpenCodec(FAudioCodec, FAudioCodecIndex, Index, false);
  if (!Codec) return false;
  FLastPTS = NoPTSValue;
  FLastPos = -1;
  ResetWaveInfo();
  FAudioTotal = 0;
  FAudioConverted = false;
  FAudioBlockPTS = FAudioBlockDTS = FAudioBlockOrigPTS = NoPTSValue;
  for (;;) {
    // Everything the decoder holds goes into the block.
    for (;;) {
      const Integer R = ff::avcodec_receive_frame(Codec, FFrame);
      if (R == AVERROR(EAGAIN)) {
        if (FAudioDraining) FAudioEnded = true;
        break;
      }
      if (R < 0) {
        // The end after draining; otherwise a packet that failed to decode, skipped.
        if (R == AVERROR_EOF || FAudioDraining) FAudioEnded = true;
        break;
      }
      const bool Ok = AppendAudio(FFrame);
      ff::av_frame_unref(FFrame);
      if (!Ok) return false;
    }
    if (FAudioEnded) {
      // The resampler's last samples end the stream's last block.
      if (!FlushResampler()) return false;
      if (FAudioTotal > 0) return FinishAudioBlock(Index);
      LogMessage(AV_LOG_INFO, "stream eof reached.");
      FEOF = true;
      return false;
    }
    if (FAudioTotal > 0) return FinishAudioBlock(Index);
    const Integer R = ff::av_read_frame(FFileHandle, FPacket);
    if (R < 0) {
      if (ReadFailed(R)) return false;
      ff::avcodec_send_packet(Codec, nullptr);
      FAudioDraining = true;
      continue;
    }
    if (FPacket->stream_index == Index) ff::avcodec_send_packet(Codec, FPacket);
    ff::av_packet_unref(FPacket);
  }
}

Integer TFFDecoder::ReadAudio(uint8_t* ABuffer, Integer ACount, Integer AStreamIndex) {
  if (ACount < 0) ACount = 0;
  // Another stream named: its own blocks.
  if (AStreamIndex >= 0 && AStreamIndex != FDesireAudioIndex) FRemainsAudioSize = 0;
  if (FRemainsAudioSize <= 0) {
    if (!DecodeAudio(AStreamIndex)) return -1;
    FRemainsAudioSize = FWaveInfo.Size;
  }
  const Integer N = ACount < FRemainsAudioSize ? ACount : FRemainsAudioSize;
  if (ABuffer && N > 0) {
    std::memcpy(ABuffer, FWaveInfo.Buffer + (FWaveInfo.Size - FRemainsAudioSize),
                static_cast<size_t>(N));
    FRemainsAudioSize -= N;
  }
  return N;
}

}  // namespace vantrel::media
