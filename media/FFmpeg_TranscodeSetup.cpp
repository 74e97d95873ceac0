// The first half of a conversion: the input and output stream tables, which input
// stream feeds which output stream, stream copy or encoder preparation, opening the
// codecs, metadata and chapters, and the headers of the outputs.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFmpeg_Detail.h"
#include "media/FFmpeg.h"
#include "media/SWScaleAPI.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {

using detail::TOptionDict;

constexpr Int64 MaxExtradataSize = 2147483647;
constexpr int SdpBufferSize = 2048;

String TypeName(const AVCodecParameters* APar) { return MediaTypeName(APar->codec_type); }

// Today's streams keep their frame count only where the container says it; the bit
// rate and then the order break ties.
bool RanksAbove(const AVStream* A, const AVStream* B) {
  if (A->nb_frames != B->nb_frames) return A->nb_frames > B->nb_frames;
  return A->codecpar->bit_rate > B->codecpar->bit_rate;
}

bool InProgram(const AVFormatContext* ic, Integer AProgramID, unsigned AStream) {
  for (unsigned P = 0; P < ic->nb_programs; ++P) {
    const AVProgram* Prog = ic->programs[P];
    if (Prog->id != AProgramID) continue;
    for (unsigned K = 0; K < Prog->nb_stream_indexes; ++K)
      if (Prog->stream_index[K] == AStream) return true;
  }
  return false;
}

// The time base a stream copy writes in: the input stream's (always with "copytb").
AVRational StreamCopyTimeBaseOf(const AVStream* AStream, bool ACopyTb) {
  const AVRational StreamTb = AStream->time_base;
  if (ACopyTb) return StreamTb;
  // The codec's tick times its ticks per frame: one frame of the stream (one sample of
  // audio). A stream whose own ticks are finer than a millisecond while the codec's are
  // coarser is written in the codec's.
  const AVCodecParameters* ipar = AStream->codecpar;
  AVRational FrameTb{0, 1};
  if (ipar->codec_type == AVMEDIA_TYPE_VIDEO) {
    AVRational Rate = AStream->r_frame_rate;
    if (Rate.num <= 0 || Rate.den <= 0) Rate = AStream->avg_frame_rate;
    if (Rate.num > 0 && Rate.den > 0) FrameTb = AVRational{Rate.den, Rate.num};
  } else if (ipar->codec_type == AVMEDIA_TYPE_AUDIO && ipar->sample_rate > 0) {
    FrameTb = AVRational{1, ipar->sample_rate};
  }
  if (FrameTb.num <= 0 || StreamTb.num <= 0 || StreamTb.den <= 0) return StreamTb;
  if (av_cmp_q(FrameTb, StreamTb) > 0 && av_q2d(StreamTb) < 0.001) {
    AVRational Reduced{0, 1};
    ff::av_reduce(&Reduced.num, &Reduced.den, FrameTb.num, FrameTb.den, 2147483647);
    return Reduced;
  }
  return StreamTb;
}
}  // namespace

void TCustomFFmpeg::CheckDecodedSource(const TAVOutputStream& ost, const TAVInputStream& ist) {
  if (ost.stream_copy) return;
  const String What = detail::MissingDecodeFact(ist.st->codecpar, true);
  if (What.empty()) return;
  const AVFormatContext* ic = Finput_files[ist.file_index];
  throw FFmpegException(Format("Could not determine the %s of input stream #%d.%d (%s) of '%s'; the file may be damaged",
                               {What, ist.file_index, ist.st->index, TypeName(ist.st->codecpar),
                                ic && ic->url ? FromFFmpegFileName(ic->url) : String()}));
}

void TCustomFFmpeg::CheckDecodedSources() {
  for (const TAVOutputStream* ost : Fost_table) CheckDecodedSource(*ost, *Fist_table[ost->source_index]);
  // Streams no output uses are only noted.
  for (const auto& ist : Fist_table) {
    if (!ist->discard) continue;
    const String What = detail::MissingDecodeFact(ist->st->codecpar, true);
    if (!What.empty())
      Log(llVerbose, Format("Input stream #%d.%d (%s) has no known %s; it is not used",
                            {ist->file_index, ist->st->index, TypeName(ist->st->codecpar), What}));
  }
}

void TCustomFFmpeg::BuildInputStreamTable() {
  Finput_file_table.assign(static_cast<size_t>(Fnb_input_files), TAVInputFile());
  Fist_table.clear();
  for (Integer i = 0; i < Fnb_input_files; ++i) {
    AVFormatContext* ic = Finput_files[i];
    TAVInputFile& F = Finput_file_table[i];
    F.ist_index = static_cast<Integer>(Fist_table.size());
    F.nb_streams = static_cast<Integer>(ic->nb_streams);
    for (unsigned k = 0; k < ic->nb_streams; ++k) {
      auto ist = std::make_unique<TAVInputStream>();
      ist->st = ic->streams[k];
      ist->file_index = i;
      ist->index = static_cast<Integer>(k);
      ist->discard = 1;
      if (Frate_emu) ist->start = Now();
      // Each input stream has its own decoder context, made from the stream's parameters.
      ist->dec_ctx.reset(ff::avcodec_alloc_context3(nullptr));
      if (!ist->dec_ctx || ff::avcodec_parameters_to_context(ist->dec_ctx.get(), ist->st->codecpar) < 0)
        throw FFmpegException("av_mallocz fail");
      ist->dec_ctx->pkt_timebase = ist->st->time_base;
      Fist_table.push_back(std::move(ist));
    }
  }
}

void TCustomFFmpeg::CheckOutputsAndMaps() {
  Fjoin_group_size = static_cast<Integer>(Foutput_files[0]->nb_streams);
  Integer nb_ostreams = 0;
  const Integer Outputs = FJoinMode ? 1 : Fnb_output_files;
  for (Integer i = 0; i < Outputs; ++i) {
    AVFormatContext* os = Foutput_files[i];
    if (os->nb_streams == 0 && !(os->oformat->flags & AVFMT_NOSTREAMS)) {
      ff::av_dump_format(os, i, os->url, 1);
      throw FFmpegException(Format("Output file #%d does not contain any stream", {i}));
    }
    nb_ostreams += static_cast<Integer>(os->nb_streams);
  }
  if (static_cast<Integer>(Fstream_maps.size()) > 0 && static_cast<Integer>(Fstream_maps.size()) != nb_ostreams)
    throw FFmpegException("Number of stream maps must match number of output streams");
  auto Exists = [this](Integer AFile, Integer AStream) {
    return AFile >= 0 && AFile < Fnb_input_files && AStream >= 0 &&
           AStream < static_cast<Integer>(Finput_files[AFile]->nb_streams);
  };
  for (Integer i = 0; i < static_cast<Integer>(Fstream_maps.size()); ++i) {
    const TAVStreamMap& M = Fstream_maps[i];
    if (!Exists(M.file_index, M.stream_index))
      throw FFmpegException(Format("Could not find input stream #%d.%d", {M.file_index, M.stream_index}));
    if (!Exists(M.sync_file_index, M.sync_stream_index))
      throw FFmpegException(
          Format("Could not find sync stream #%d.%d", {M.sync_file_index, M.sync_stream_index}));
  }
}

Integer TCustomFFmpeg::MapStreamAuto(const TAVOutputStream& AOst, Integer AFile) {
  const AVMediaType Type = AOst.st->codecpar->codec_type;
  Integer Found = -1;
  for (Integer j = 0; j < static_cast<Integer>(Fist_table.size()); ++j) {
    const TAVInputStream& ist = *Fist_table[j];
    if (!ist.discard || ist.st->discard == AVDISCARD_ALL || ist.st->codecpar->codec_type != Type) continue;
    if (FJoinMode && ist.file_index != AFile) continue;
    if (Fopt_programid != 0 && !InProgram(Finput_files[ist.file_index], Fopt_programid, ist.index)) continue;
    if (Found < 0 || RanksAbove(ist.st, Fist_table[Found]->st)) Found = j;
  }
  if (Found < 0 && Fopt_programid == 0 && !FJoinMode) {
    // The last stream of that kind serves a second output stream too.
    for (Integer j = 0; j < static_cast<Integer>(Fist_table.size()); ++j) {
      const TAVInputStream& ist = *Fist_table[j];
      if (ist.st->codecpar->codec_type == Type && ist.st->discard != AVDISCARD_ALL) Found = j;
    }
  }
  return Found;
}

void TCustomFFmpeg::BuildOutputStreamTable() {
  Fost_table.clear();
  const Integer Outputs = FJoinMode ? 1 : Fnb_output_files;
  Integer n = 0;
  for (Integer i = 0; i < Outputs; ++i) {
    AVFormatContext* os = Foutput_files[i];
    for (unsigned k = 0; k < os->nb_streams; ++k, ++n) {
      TAVOutputStream* ost = Foutput_streams_for_file[i][k].get();
      if (!ost || !ost->enc_ctx) throw FFmpegException("av_mallocz fail");
      ost->st = os->streams[k];
      Fost_table.push_back(ost);
      const String OutType = TypeName(ost->st->codecpar);
      Integer Source;
      TAVInputStream* Sync;
      if (static_cast<Integer>(Fstream_maps.size()) > 0) {
        const TAVStreamMap& M = Fstream_maps[n];
        Source = Finput_file_table[M.file_index].ist_index + M.stream_index;
        if (Fist_table[Source]->st->codecpar->codec_type != ost->st->codecpar->codec_type) {
          ff::av_dump_format(os, i, os->url, 1);
          throw FFmpegException(Format("Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)",
                                       {M.file_index, M.stream_index, TypeName(Fist_table[Source]->st->codecpar),
                                        i, static_cast<Integer>(k), OutType}));
        }
        Sync = Fist_table[Finput_file_table[M.sync_file_index].ist_index + M.sync_stream_index].get();
      } else {
        Source = MapStreamAuto(*ost, i);
        if (Source < 0) {
          ff::av_dump_format(os, i, os->url, 1);
          throw FFmpegException(Format("Could not find input stream matching output stream #%d.%d (%s)",
                                       {i, static_cast<Integer>(k), OutType}));
        }
        Sync = Fist_table[Source].get();
      }
      ost->source_index = Source;
      Fist_table[Source]->discard = 0;
      ost->sync_ist = Sync;
      ost->show_fps = 1;
    }
  }
}

void TCustomFFmpeg::SetupOutputCodecs() {
  for (size_t n = 0; n < Fost_table.size(); ++n) {
    TAVOutputStream& ost = *Fost_table[n];
    TAVInputStream& ist = *Fist_table[ost.source_index];
    if (Fmetadata_streams_autocopy)
      ff::av_dict_copy(&ost.st->metadata, ist.st->metadata, AV_DICT_DONT_OVERWRITE);
    ost.st->disposition = ist.st->disposition;
    ost.enc_ctx->bits_per_raw_sample = ist.dec_ctx->bits_per_raw_sample;
    ost.enc_ctx->chroma_sample_location = ist.dec_ctx->chroma_sample_location;
    if (ost.stream_copy)
      SetupStreamCopy(ost, ist);
    else
      SetupEncoding(ost, ist, static_cast<Integer>(n));
  }
}

void TCustomFFmpeg::SetupStreamCopy(TAVOutputStream& ost, TAVInputStream& ist) {
  const AVCodecParameters* ipar = ist.st->codecpar;
  AVCodecParameters* par = ost.st->codecpar;
  if (Int64{ipar->extradata_size} + AV_INPUT_BUFFER_PADDING_SIZE > MaxExtradataSize)
    throw FFmpegException("icodec.extradata_size is invalid (too large)");
  switch (ipar->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
      if (Faudio_volume != 256) throw FFmpegException("-acodec copy and -vol are incompatible (frames are not decoded)");
      if (OnAudioHook) throw FFmpegException("-acodec copy and AudioHook are incompatible (frames are not decoded)");
      break;
    case AVMEDIA_TYPE_VIDEO:
      if (OnInputVideoHook || OnOutputVideoHook)
        throw FFmpegException("-vcodec copy and VideoHook are incompatible (frames are not decoded)");
      if (Fusing_vhook) throw FFmpegException("-vcodec copy and -vhook are incompatible (frames are not decoded)");
      if (!FPostHooks.Empty())
        throw FFmpegException("-vcodec copy and PostHooks are incompatible (frames are not decoded)");
      break;
    case AVMEDIA_TYPE_SUBTITLE:
      break;
    default:
      throw FFmpegException("invalid codec_type of output stream");
  }
  // The parameters travel whole (extradata, sizes, layout, block_align ...); the tag
  // given by the user stays, else the input's is kept only where the muxer allows it.
  const unsigned UserTag = ost.enc_ctx->codec_tag;
  if (ff::avcodec_parameters_copy(par, ipar) < 0) throw FFmpegException("av_mallocz fail");
  par->codec_tag = UserTag;
  if (UserTag == 0) {
    const AVCodecTag* const* Tags = ost.st ? Foutput_files[ost.file_index]->oformat->codec_tag : nullptr;
    unsigned Tmp = 0;
    if (!Tags || ff::av_codec_get_id(Tags, ipar->codec_tag) == ipar->codec_id ||
        !ff::av_codec_get_tag2(Tags, ipar->codec_id, &Tmp))
      par->codec_tag = ipar->codec_tag;
  }
  if (ipar->codec_type == AVMEDIA_TYPE_AUDIO) {
    if ((par->block_align == 1 && par->codec_id == AV_CODEC_ID_MP3) || par->codec_id == AV_CODEC_ID_AC3)
      par->block_align = 0;
  }
  if (ipar->codec_type == AVMEDIA_TYPE_VIDEO) {
    // A copy is shown as the input is: its display matrix travels with it.
    size_t MatrixSize = 0;
    if (const uint8_t* Matrix = ff::av_stream_get_side_data(ist.st, AV_PKT_DATA_DISPLAYMATRIX, &MatrixSize)) {
      uint8_t* Copy = ff::av_stream_new_side_data(ost.st, AV_PKT_DATA_DISPLAYMATRIX, MatrixSize);
      if (!Copy) throw EOutOfMemory("Out of memory");
      std::memcpy(Copy, Matrix, MatrixSize);
    }
    // The muxer refuses a stream whose aspect differs from its parameters'.
    ost.st->sample_aspect_ratio = par->sample_aspect_ratio;
    ost.st->avg_frame_rate = ist.st->avg_frame_rate;
    ost.st->r_frame_rate = ist.st->r_frame_rate;
  }
  // The output stream's time base (the muxer may still choose another at the header;
  // packets are rescaled to it).
  const AVRational TimeBase = StreamCopyTimeBaseOf(ist.st, Fcopy_tb);
  ost.st->time_base = TimeBase;
  ost.enc_ctx->codec_type = ipar->codec_type;
  ost.enc_ctx->codec_id = ipar->codec_id;
  ost.enc_ctx->time_base = TimeBase;
}

void TCustomFFmpeg::SetupEncoding(TAVOutputStream& ost, TAVInputStream& ist, Integer n) {
  AVCodecContext* codec = ost.enc_ctx.get();
  AVCodecContext* icodec = ist.dec_ctx.get();
  switch (codec->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
      ost.audio_resample = (codec->sample_rate != icodec->sample_rate || Faudio_sync_method > 1) ? 1 : 0;
      ost.resample_sample_fmt = icodec->sample_fmt;
      ost.resample_sample_rate = icodec->sample_rate;
      ost.resample_channels = icodec->ch_layout.nb_channels;
      ost.encoding_needed = 1;
      ist.decoding_needed = 1;
      SetupAudioEncoding(ost, ist);
      break;
    case AVMEDIA_TYPE_VIDEO: {
      if (codec->pix_fmt == AV_PIX_FMT_NONE)
        throw FFmpegException("Video pixel format is unknown, stream cannot be encoded");
      ost.video_resample = (codec->width != icodec->width || codec->height != icodec->height ||
                            codec->pix_fmt != icodec->pix_fmt)
                               ? 1
                               : 0;
      if (ost.video_resample && !FEnableFilter) {
        ost.pict_tmp.reset(ff::av_frame_alloc());
        if (!ost.pict_tmp) throw FFmpegException("Cannot allocate temp picture, check pix fmt");
        ost.pict_tmp->format = codec->pix_fmt;
        ost.pict_tmp->width = codec->width;
        ost.pict_tmp->height = codec->height;
        if (ff::av_frame_get_buffer(ost.pict_tmp.get(), 0) < 0)
          throw FFmpegException("Cannot allocate temp picture, check pix fmt");
        int64_t Flags = Fsws_flags;
        if (FOptions.sws_opts && ff::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &Flags) >= 0)
          Fsws_flags = static_cast<Integer>(Flags);
        ost.img_resample_ctx.reset(ff::sws_getCachedContext(nullptr, icodec->width, icodec->height,
                                                            icodec->pix_fmt, codec->width, codec->height,
                                                            codec->pix_fmt, Fsws_flags, nullptr, nullptr,
                                                            nullptr));
        if (!ost.img_resample_ctx) throw FFmpegException("Cannot get resampling context");
        ost.original_height = icodec->height;
        ost.original_width = icodec->width;
      }
      codec->bits_per_raw_sample = 0;
      ost.resample_height = icodec->height;
      ost.resample_width = icodec->width;
      ost.resample_pix_fmt = icodec->pix_fmt;
      ost.encoding_needed = 1;
      ist.decoding_needed = 1;
      FLastErrMsg.clear();
      if (FEnableFilter && BuildFilterGraph(ist, ost) != 0) {
        if (!FLastErrMsg.empty()) throw FFmpegException("Error opening filters: " + FLastErrMsg);
        throw FFmpegException("Error opening filters!");
      }
      break;
    }
    case AVMEDIA_TYPE_SUBTITLE:
      ost.encoding_needed = 1;
      ist.decoding_needed = 1;
      break;
    default:
      throw FFmpegException("invalid codec_type of output stream");
  }
  if (ost.encoding_needed && (codec->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2))) OpenPassLog(ost, n);
}

void TCustomFFmpeg::OpenPassLog(TAVOutputStream& ost, Integer n) {
  const String Name = PassLogFileName(n);
  AVCodecContext* codec = ost.enc_ctx.get();
  const AVCodec* Enc = n < static_cast<Integer>(Foutput_codecs.size()) && Foutput_codecs[n] ? Foutput_codecs[n]
                                                                   : ff::avcodec_find_encoder(codec->codec_id);
  // libx264 keeps its own log where its "stats" option says; the others go through
  // stats_out / stats_in.
  const bool X264 = Enc && std::strcmp(Enc->name, "libx264") == 0;
  if (X264) ost.encoder_opts.emplace_back("stats", Name);
  if (codec->flags & AV_CODEC_FLAG_PASS1) {
    if (X264) return;
    ost.logfile = std::fopen(Name.c_str(), "wb");
    if (!ost.logfile) throw FFmpegException(Format("Cannot write log file %s for pass-1 encoding", {Name}));
  } else {
    char* Buffer = nullptr;
    Integer Size = 0;
    const Integer R = ReadWholeFile(Name, Buffer, Size);
    if (R == -12)
      throw FFmpegException(Format("Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding", {Name}));
    if (R < 0)
      throw FFmpegException(Format("Cannot read file: Error reading log file \"%s\" for pass-2 encoding", {Name}));
    ff::av_freep(&codec->stats_in);
    codec->stats_in = Buffer;
  }
}

void TCustomFFmpeg::OpenDecoders() {
  for (size_t i = 0; i < Fist_table.size(); ++i) {
    TAVInputStream& ist = *Fist_table[i];
    if (!ist.decoding_needed) continue;
    const Integer I = static_cast<Integer>(i);
    const AVCodec* Codec = I < static_cast<Integer>(Finput_codecs.size()) && Finput_codecs[i] ? Finput_codecs[i]
                                                                    : ff::avcodec_find_decoder(ist.st->codecpar->codec_id);
    const String Type = TypeName(ist.st->codecpar);
    if (!Codec)
      FailWithMapping(Format("Decoder (codec id %d) not found for input stream #%d.%d (%s)",
                             {static_cast<Integer>(ist.st->codecpar->codec_id), ist.file_index, ist.index, Type}));
    TOptionDict Opts;
    if (i < Finput_decoder_settings.size()) {
      const TDecoderSettings& S = Finput_decoder_settings[i];
      ist.dec_ctx->thread_count = S.thread_count;
      ist.dec_ctx->lowres = S.lowres;
      for (const auto& [Name, Value] : S.options) Opts.Set(Name, Value);
    }
    int R;
    {
      TCodecLockGuard G;
      R = ff::avcodec_open2(ist.dec_ctx.get(), Codec, &Opts.D);
    }
    if (R < 0)
      FailWithMapping(Format("Error while opening decoder for input stream #%d.%d (%s)", {ist.file_index, ist.index, Type}));
    std::lock_guard<TCriticalSection> L(CodecLock());
    FDecoderList.push_back(&ist);
  }
}

void TCustomFFmpeg::OpenEncoders() {
  for (size_t i = 0; i < Fost_table.size(); ++i) {
    TAVOutputStream& ost = *Fost_table[i];
    if (!ost.encoding_needed) continue;
    AVCodecContext* ctx = ost.enc_ctx.get();
    const Integer I = static_cast<Integer>(i);
    const AVCodec* Codec = I < static_cast<Integer>(Foutput_codecs.size()) && Foutput_codecs[i] ? Foutput_codecs[i]
                                                                      : ff::avcodec_find_encoder(ctx->codec_id);
    const String Type = MediaTypeName(ctx->codec_type);
    if (!Codec)
      FailWithMapping(Format("Encoder (codec id %d) not found for output stream #%d.%d (%s)",
                             {static_cast<Integer>(ctx->codec_id), ost.file_index, ost.index, Type}));
    const TAVInputStream& ist = *Fist_table[ost.source_index];
    if (ist.dec_ctx->subtitle_header && !ctx->subtitle_header) {
      ctx->subtitle_header = static_cast<uint8_t*>(ff::av_mallocz(ist.dec_ctx->subtitle_header_size + 1));
      if (!ctx->subtitle_header) FailWithMapping("av_malloc failed");
      std::memcpy(ctx->subtitle_header, ist.dec_ctx->subtitle_header, ist.dec_ctx->subtitle_header_size);
      ctx->subtitle_header_size = ist.dec_ctx->subtitle_header_size;
    }
    if (FJoinMode) ost.codec_id = ctx->codec_id;
    // Today's encoders all need a time base; subtitle times are milliseconds.
    if (ctx->codec_type == AVMEDIA_TYPE_SUBTITLE && (ctx->time_base.num <= 0 || ctx->time_base.den <= 0))
      ctx->time_base = AVRational{1, 1000};
    if (ctx->codec_type == AVMEDIA_TYPE_VIDEO && ctx->time_base.num > 0)
      ctx->framerate = AVRational{ctx->time_base.den, ctx->time_base.num};
    TOptionDict Opts;
    for (const auto& [Name, Value] : ost.encoder_opts) Opts.Set(Name, Value);
    int R;
    {
      TCodecLockGuard G;
      R = ff::avcodec_open2(ctx, Codec, &Opts.D);
    }
    if (R < 0)
      FailWithMapping(Format("Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect "
                             "parameters such as bit_rate, rate, width or height. Please check error log "
                             "message to find out more detail information.",
                             {ost.file_index, ost.index, Type}));
    {
      std::lock_guard<TCriticalSection> L(CodecLock());
      FEncoderList.push_back(&ost);
    }
    Fextra_size += ctx->extradata_size;
    // The stream's parameters come from the opened encoder (5.1 streams have no codec).
    if (ff::avcodec_parameters_from_context(ost.st->codecpar, ctx) < 0) FailWithMapping("av_mallocz fail");
    ost.st->time_base = ctx->time_base;
    if (ctx->codec_type == AVMEDIA_TYPE_VIDEO) {
      ost.st->avg_frame_rate = ctx->framerate;
      ost.st->sample_aspect_ratio = ctx->sample_aspect_ratio;
    }
  }
}

void TCustomFFmpeg::InitInputPts() {
  for (auto& P : Fist_table) {
    TAVInputStream& ist = *P;
    const AVRational Rate = ist.st->avg_frame_rate;
    ist.pts = (Rate.num && Rate.den)
                  ? -static_cast<Int64>(std::rint(ist.dec_ctx->has_b_frames * 1000000.0 / av_q2d(Rate)))
                  : 0;
    ist.next_pts = NoPTSValue;
    InitPtsCorrection(ist.pts_ctx);
    ist.is_start = 1;
  }
}

void TCustomFFmpeg::CopyMetadata() {
  const Integer Outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
  for (Integer i = 0; i < static_cast<Integer>(Fmeta_data_maps.size() / 2); ++i) {
    const TAVMetaDataMap& Out = Fmeta_data_maps[2 * i];
    const TAVMetaDataMap& In = Fmeta_data_maps[2 * i + 1];
    if (Out.file_idx < 0 || In.file_idx < 0) continue;
    auto Check = [this](bool AOk, const char* AWhat, Integer AIndex) {
      if (!AOk) FailWithMapping(Format("Invalid %s index %d while processing metadata maps", {AWhat, AIndex}));
    };
    Check(Out.file_idx < Fnb_output_files, "output file", Out.file_idx);
    Check(In.file_idx < Fnb_input_files, "input file", In.file_idx);
    auto Select = [&](AVFormatContext* ctx, const TAVMetaDataMap& M) -> AVDictionary** {
      switch (M.type_) {
        case 'c':
          Check(M.index >= 0 && M.index < static_cast<Integer>(ctx->nb_chapters), "chapter", M.index);
          return &ctx->chapters[M.index]->metadata;
        case 'p':
          Check(M.index >= 0 && M.index < static_cast<Integer>(ctx->nb_programs), "program", M.index);
          return &ctx->programs[M.index]->metadata;
        case 's':
          Check(M.index >= 0 && M.index < static_cast<Integer>(ctx->nb_streams), "stream", M.index);
          return &ctx->streams[M.index]->metadata;
        default:
          return &ctx->metadata;
      }
    };
    AVDictionary** Dst = Select(Foutput_files[Out.file_idx], Out);
    AVDictionary** Src = Select(Finput_files[In.file_idx], In);
    ff::av_dict_copy(Dst, *Src, AV_DICT_DONT_OVERWRITE);
  }
  if (Fmetadata_global_autocopy && Fnb_input_files > 0)
    for (Integer i = 0; i < Outputs; ++i)
      ff::av_dict_copy(&Foutput_files[i]->metadata, Finput_files[0]->metadata, AV_DICT_DONT_OVERWRITE);
  for (Integer i = 0; i < static_cast<Integer>(Fchapter_maps.size()); ++i) {
    const TAVChapterMap& M = Fchapter_maps[i];
    if (M.in_file < 0 || M.out_file < 0) continue;
    if (M.in_file >= Fnb_input_files)
      FailWithMapping(Format("Invalid input file index %d in chapter mapping.", {M.in_file}));
    if (M.out_file >= Fnb_output_files)
      FailWithMapping(Format("Invalid output file index %d in chapter mapping.", {M.out_file}));
    CopyChapters(M.in_file, M.out_file);
  }
  if (static_cast<Integer>(Fchapter_maps.size()) == 0) {
    for (Integer i = 0; i < Fnb_input_files; ++i) {
      if (Finput_files[i]->nb_chapters == 0) continue;
      for (Integer j = 0; j < Outputs; ++j) CopyChapters(i, j);
      break;
    }
  }
}

void TCustomFFmpeg::CopyChapters(Integer AInFile, Integer AOutFile) {
  AVFormatContext* is = Finput_files[AInFile];
  AVFormatContext* os = Foutput_files[AOutFile];
  for (unsigned i = 0; i < is->nb_chapters; ++i) {
    const AVChapter* in_ch = is->chapters[i];
    const Int64 ts_off = ff::av_rescale_q(Fstart_time - Finput_files_ts_offset[AInFile], AVRational{1, AV_TIME_BASE},
                                          in_ch->time_base);
    const Int64 rt = Frecording_time == INT64_MAX
                         ? INT64_MAX
                         : ff::av_rescale_q(Frecording_time, AVRational{1, AV_TIME_BASE}, in_ch->time_base);
    if (in_ch->end < ts_off) continue;
    if (rt != INT64_MAX && in_ch->start > rt + ts_off) break;
    auto* out_ch = static_cast<AVChapter*>(ff::av_mallocz(sizeof(AVChapter)));
    if (!out_ch) throw FFmpegException("av_mallocz fail");
    out_ch->id = in_ch->id;
    out_ch->time_base = in_ch->time_base;
    out_ch->start = std::max<Int64>(0, in_ch->start - ts_off);
    out_ch->end = std::min(rt, in_ch->end - ts_off);
    if (Fmetadata_chapters_autocopy) ff::av_dict_copy(&out_ch->metadata, in_ch->metadata, 0);
    if (ff::av_dynarray_add_nofree(&os->chapters, reinterpret_cast<int*>(&os->nb_chapters), out_ch) < 0) {
      ff::av_dict_free(&out_ch->metadata);
      ff::av_free(out_ch);
      throw FFmpegException("av_realloc fail");
    }
  }
}

void TCustomFFmpeg::WriteHeaders() {
  // Bitstream filters see the stream's final parameters and leave theirs for the muxer.
  for (TAVOutputStream* P : Fost_table) {
    TAVOutputStream& ost = *P;
    ost.bsf_ctx.clear();
    for (const AVBitStreamFilter* F : ost.bitstream_filters) {
      AVBSFContext* Ctx = nullptr;
      if (ff::av_bsf_alloc(F, &Ctx) < 0) throw FFmpegException("av_mallocz fail");
      ost.bsf_ctx.emplace_back(Ctx);
      const AVCodecParameters* In = ost.bsf_ctx.size() > 1 ? ost.bsf_ctx[ost.bsf_ctx.size() - 2]->par_out : ost.st->codecpar;
      const AVRational InTb = ost.bsf_ctx.size() > 1 ? ost.bsf_ctx[ost.bsf_ctx.size() - 2]->time_base_out : ost.st->time_base;
      ff::avcodec_parameters_copy(Ctx->par_in, In);
      Ctx->time_base_in = InTb;
      const int R = ff::av_bsf_init(Ctx);
      if (R < 0) throw FFmpegException(PrintError(Format("Error initializing bitstream filter %s", {F->name}), R));
    }
    if (!ost.bsf_ctx.empty()) {
      ff::avcodec_parameters_copy(ost.st->codecpar, ost.bsf_ctx.back()->par_out);
      ost.st->time_base = ost.bsf_ctx.back()->time_base_out;
    }
  }
  const Integer Outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
  for (Integer i = 0; i < Outputs; ++i) {
    TOptionDict Opts;
    if (i < static_cast<Integer>(Foutput_file_settings.size()))
      for (const auto& [Name, Value] : Foutput_file_settings[i].muxer_options) Opts.Set(Name, Value);
    AVFormatContext* oc = Foutput_files[i];
    const int R = ff::avformat_write_header(oc, &Opts.D);
    // The header goes to the file now, so that a disk that is full is told as such.
    if (R >= 0 && oc->pb) ff::avio_flush(oc->pb);
    if (oc->pb && oc->pb->error < 0)
      FailWithMapping(PrintError(Format("Could not write header for output file #%d", {i}), oc->pb->error));
    if (R < 0) FailWithMapping(Format("Could not write header for output file #%d (incorrect codec parameters ?)", {i}));
  }
  bool AllRtp = Outputs > 0;
  for (Integer i = 0; i < Outputs; ++i)
    AllRtp = AllRtp && std::strcmp(Foutput_files[i]->oformat->name, "rtp") == 0;
  if (AllRtp) {
    char Sdp[SdpBufferSize] = {};
    ff::av_sdp_create(Foutput_files.data(), Outputs, Sdp, sizeof Sdp);
    Log(llInfo, "SDP:\r\n" + Trim(String(Sdp)));
  }
}

void TCustomFFmpeg::DumpStreamMapping() {
  const Integer Outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
  // Under the names asked for (a file is written under a part name until it is finished).
  for (Integer i = 0; i < Outputs; ++i)
    ff::av_dump_format(Foutput_files[i], i, ToFFmpegFileName(Foutput_file_names[i]).c_str(), 1);
  if (Fverbose < 0) return;
  Log(llVerbose, "Stream mapping:");
  for (const TAVOutputStream* ost : Fost_table) {
    const TAVInputStream& ist = *Fist_table[ost->source_index];
    Log(llVerbose, Format("  Stream #%d.%d -> #%d.%d (%s)",
                          {ist.file_index, ist.index, FJoinMode ? 0 : ost->file_index, ost->index,
                           MediaTypeName(ost->st->codecpar->codec_type)}));
    if (ost->sync_ist && ost->sync_ist != &ist)
      Log(llVerbose, Format(" [sync #%d.%d (%s)]", {ost->sync_ist->file_index, ost->sync_ist->index,
                                                     MediaTypeName(ost->sync_ist->st->codecpar->codec_type)}));
  }
}

void TCustomFFmpeg::FailWithMapping(const String& AMessage) {
  DumpStreamMapping();
  Log(llError, AMessage);
  throw FFmpegException(AMessage);
}

}  // namespace vantrel::media
