// The conversion proper: the set-up, the main loop that reads packets from the inputs
// in output-time order until they end, a limit is reached or a stop is asked (in join
// mode the inputs one after another into one output), and the end of the run (drained
// decoders and encoders, trailers, closed codecs, freed state).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "media/AVCodecAPI.h"
#include "media/AVFilterAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFmpeg.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Threads.h"

namespace vantrel::media {

namespace {

constexpr AVRational MicroTB{1, AV_TIME_BASE};
constexpr Cardinal NoPacketWaitMs = 10;
constexpr int PacketDumpLevel = 48;

}  // namespace

void TCustomFFmpeg::Transcode() {
  try {
    Fno_packet.assign(static_cast<size_t>(FMaxFiles), false);
    Fno_packet_count = 0;
    BuildInputStreamTable();
    CheckOutputsAndMaps();
    BuildOutputStreamTable();
    CheckDecodedSources();
    SetupOutputCodecs();
    if (FJoinMode) MapJoinSegments();
    // Decoders first: an encoded subtitle takes its header from its decoder.
    OpenDecoders();
    OpenEncoders();
    InitInputPts();
    CopyMetadata();
    OpenOutputFiles();
    WriteHeaders();
    DumpStreamMapping();
    TranscodeLoop();
  } catch (...) {
    TranscodeCleanup();
    throw;
  }
  TranscodeCleanup();
}

void TCustomFFmpeg::MapJoinSegments() {
  // The output streams (the first group) are fed by input k while segment k plays: the
  // encoders stay open across segments, so timestamps and counters simply go on.
  Fjoin_sources.assign(static_cast<size_t>(Fnb_input_files), {});
  for (TAVOutputStream* ost : Fost_table) Fjoin_sources[0].push_back(ost->source_index);
  for (Integer k = 1; k < Fnb_input_files; ++k) {
    for (size_t j = 0; j < Fost_table.size(); ++j) {
      TAVOutputStream& ost = *Fost_table[j];
      const String Type = MediaTypeName(ost.st->codecpar->codec_type);
      Integer Source = -1;
      if (static_cast<Integer>(Fstream_maps.size()) > 0) {
        // The map's stream number, in this input.
        const Integer Stream = Fstream_maps[j].stream_index;
        if (Stream >= 0 && Stream < Finput_file_table[k].nb_streams) Source = Finput_file_table[k].ist_index + Stream;
      } else {
        Source = MapStreamAuto(ost, k);
      }
      const bool Silent = Source < 0 && Fstream_maps.empty() && ost.encoding_needed &&
                          ost.st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
      if (Silent) {
        // An input without sound (a silent clip) is joined with silence.
        Fjoin_sources[k].push_back(-1);
        continue;
      }
      if (Source < 0 || Fist_table[Source]->st->codecpar->codec_type != ost.st->codecpar->codec_type)
        FailWithMapping(Format("Could not find input stream matching output stream #%d.%d (%s) in input file #%d",
                               {0, static_cast<Integer>(j), Type, k}));
      TAVInputStream& ist = *Fist_table[Source];
      CheckDecodedSource(ost, ist);
      ist.discard = 0;
      if (ost.encoding_needed) {
        ist.decoding_needed = 1;
        if (FEnableFilter && ost.enc_ctx->codec_type == AVMEDIA_TYPE_VIDEO) {
          FLastErrMsg.clear();
          if (BuildFilterGraph(ist, ost) != 0)
            throw FFmpegException(FLastErrMsg.empty() ? String("Error opening filters!")
                                                      : "Error opening filters: " + FLastErrMsg);
        }
      }
      Fjoin_sources[k].push_back(Source);
    }
  }
}

bool TCustomFFmpeg::NextJoinSegment(Integer AIndex) {
  // Only the decoders of the ended input are drained; the encoders keep their state.
  const TAVInputFile& F = Finput_file_table[AIndex];
  for (Integer i = F.ist_index; i < F.ist_index + F.nb_streams; ++i) {
    TAVInputStream& ist = *Fist_table[i];
    if (ist.decoding_needed && !ist.decoder_flushed) OutputPacket(ist, i, nullptr);
  }
  // Where the output stands: a stream copied as it is cannot be cut, and an input of
  // unknown length ends where its streams did.
  double CopiedEnd = 0, StreamsEnd = 0;
  for (const TAVOutputStream* ost : Fost_table) {
    double T = ost->cur_time;
    if (ost->encoding_needed && ost->enc_ctx) {
      Int64 Samples = ost->sync_opts;
      if (ost->fifo) Samples += ff::av_audio_fifo_size(ost->fifo.get());
      T = std::max(T, static_cast<double>(Samples) * av_q2d(ost->enc_ctx->time_base));
    } else {
      CopiedEnd = std::max(CopiedEnd, T);
    }
    StreamsEnd = std::max(StreamsEnd, T);
  }
  const auto ToClock = [this](double ASeconds) {
    return static_cast<Int64>(std::llrint(ASeconds * 1000000.0)) + Fstart_time;
  };
  Int64 End = JoinSegmentEnd(AIndex);
  if (End == INT64_MAX) End = ToClock(StreamsEnd);
  End = std::max<Int64>(End, ToClock(CopiedEnd));
  FillJoinSilence(AIndex, End);
  if (AIndex + 1 >= Fnb_input_files) return false;
  // The next input starts where this one's part ends: its own length, not the few
  // samples its sound may run on (an encoder's padding) nor a picture's rounding.
  Finput_files_ts_offset[AIndex + 1] += End;
  if (Finput_files_start[AIndex + 1] != NoPTSValue) Finput_files_start[AIndex + 1] += End;
  for (size_t j = 0; j < Fost_table.size(); ++j) {
    const Integer Source = Fjoin_sources[AIndex + 1][j];
    if (Source < 0) continue;  // keeps its clock; silence is made at the input's end
    TAVOutputStream& ost = *Fost_table[j];
    ost.source_index = Source;
    ost.sync_ist = Fist_table[Source].get();
  }
  return true;
}

Int64 TCustomFFmpeg::JoinSegmentEnd(Integer AIndex) const {
  if (!FJoinMode || AIndex < 0 || AIndex >= Fnb_input_files) return INT64_MAX;
  const AVFormatContext* ic = Finput_files[AIndex];
  if (!ic || ic->duration == NoPTSValue || ic->duration <= 0) return INT64_MAX;
  const Int64 Start = ic->start_time != NoPTSValue ? ic->start_time : 0;
  return Start + ic->duration + Finput_files_ts_offset[AIndex];
}

void TCustomFFmpeg::FillJoinSilence(Integer AIndex, Int64 AEnd) {
  for (size_t j = 0; j < Fost_table.size(); ++j) {
    if (Fjoin_sources[AIndex][j] >= 0) continue;
    TAVOutputStream& ost = *Fost_table[j];
    AVCodecContext* enc = ost.enc_ctx.get();
    if (!enc || !ost.fifo) continue;
    const Int64 Rate = enc->sample_rate;
    const Int64 Target = ff::av_rescale_q(AEnd - Fstart_time, MicroTB, AVRational{1, enc->sample_rate});
    Int64 Missing = Target - ost.sync_opts - ff::av_audio_fifo_size(ost.fifo.get());
    if (Missing <= 0) continue;
    // At most a second of samples at a time.
    const int Block = static_cast<int>(std::min<Int64>(Missing, Rate));
    TFramePtr Silence(ff::av_frame_alloc());
    if (!Silence) throw EOutOfMemory("Out of memory");
    Silence->nb_samples = Block;
    Silence->format = enc->sample_fmt;
    if (ff::av_channel_layout_copy(&Silence->ch_layout, &enc->ch_layout) < 0 ||
        ff::av_frame_get_buffer(Silence.get(), 0) < 0)
      throw EOutOfMemory("Out of memory");
    ff::av_samples_set_silence(Silence->extended_data, 0, Block, enc->ch_layout.nb_channels, enc->sample_fmt);
    AVFormatContext* os = Foutput_files[ost.file_index];
    for (; Missing > 0; Missing -= Block) {
      const int N = static_cast<int>(std::min<Int64>(Missing, Block));
      if (ff::av_audio_fifo_write(ost.fifo.get(), reinterpret_cast<void**>(Silence->extended_data), N) < N)
        throw FFmpegException("av_fifo_realloc2() failed");
      EncodeAudioFifo(os, ost, false);
    }
  }
}

void TCustomFFmpeg::TranscodeLoop() {
  FQPHistogram.fill(0);
  Integer Segment = 0;
  Ftimer_start = Now();
  Flast_report_time = Ftimer_start;
  Fpackets_written = 0;
  std::fill(Fno_packet.begin(), Fno_packet.end(), false);
  Fno_packet_count = 0;
  if (!IsMainThread()) {
    InterruptCB().Add(GetCurrentThreadId(), this, BrokenCheck);
    FBrokenCheckRegistered = true;
  }
  auto ClearNoPacket = [this] {
    std::fill(Fno_packet.begin(), Fno_packet.end(), false);
    Fno_packet_count = 0;
  };

  TPacketPtr Pkt(ff::av_packet_alloc());
  if (!Pkt) throw EOutOfMemory("Out of memory");
  while (!FBroken) {
    WaitWhilePaused();
    if (FBroken) break;

    // The input whose output lags most is read next (in join mode: the current one).
    Integer file_index = FJoinMode ? Segment : -1;
    double smallest_output_pts = 1e100, smallest_input_pts = 1e100;
    for (const TAVOutputStream* ost : Fost_table) {
      if (FJoinMode) {
        if (FrameLimitReached(*ost)) {
          file_index = -1;
          break;
        }
        continue;
      }
      const TAVInputStream& ist = *Fist_table[ost->source_index];
      if (ist.is_past_recording_time || Fno_packet[ist.file_index]) continue;
      const double opts = ost->encoding_needed && ost->enc_ctx
                              ? static_cast<double>(ost->sync_opts) * av_q2d(ost->enc_ctx->time_base)
                              : ost->cur_time;
      const double ipts = static_cast<double>(ist.pts);
      if (!Finput_file_table[ist.file_index].eof_reached) {
        if (Finput_sync ? ipts < smallest_input_pts : opts < smallest_output_pts) {
          smallest_input_pts = ipts;
          smallest_output_pts = opts;
          file_index = ist.file_index;
        }
      }
      if (FrameLimitReached(*ost)) {
        file_index = -1;
        break;
      }
    }
    if (file_index < 0) {
      if (Fno_packet_count > 0) {
        ClearNoPacket();
        TThread::Sleep(NoPacketWaitMs);
        continue;
      }
      break;
    }

    if (Flimit_filesize != 0 && Foutput_files[0]->pb &&
        ff::avio_seek(Foutput_files[0]->pb, 0, SEEK_CUR) >= Flimit_filesize)
      break;

    AVFormatContext* is = Finput_files[file_index];
    int R = ff::av_read_frame(is, Pkt.get());
    if (R == AVERROR(EAGAIN)) {
      Fno_packet[file_index] = true;
      ++Fno_packet_count;
      // In join mode the only input in play has none: wait as for all inputs.
      if (FJoinMode) TThread::Sleep(NoPacketWaitMs);
      continue;
    }
    if (R < 0) {
      Finput_file_table[file_index].eof_reached = 1;
      if (FJoinMode) {
        if (!NextJoinSegment(file_index)) break;
        ++Segment;
        ClearNoPacket();
        continue;
      }
      if (Fopt_shortest) break;
      continue;
    }
    ClearNoPacket();
    AVPacket* pkt = Pkt.get();
    if (Fdo_pkt_dump && pkt->stream_index >= 0 && pkt->stream_index < static_cast<int>(is->nb_streams))
      ff::av_pkt_dump_log2(nullptr, PacketDumpLevel, pkt, Fdo_hex_dump ? 1 : 0, is->streams[pkt->stream_index]);

    const TAVInputFile& F = Finput_file_table[file_index];
    bool Drop = pkt->stream_index < 0 || pkt->stream_index >= F.nb_streams;
    const Integer ist_index = F.ist_index + pkt->stream_index;
    TAVInputStream* ist = Drop ? nullptr : Fist_table[ist_index].get();
    if (ist && ist->discard) Drop = true;
    if (!Drop) {
      const AVRational TB = ist->st->time_base;
      const Int64 Offset = ff::av_rescale_q(Finput_files_ts_offset[file_index], MicroTB, TB);
      if (pkt->dts != NoPTSValue) pkt->dts += Offset;
      if (pkt->pts != NoPTSValue) pkt->pts += Offset;
      if (pkt->stream_index < static_cast<Integer>(Finput_files_ts_scale[file_index].size())) {
        const Double Scale = Finput_files_ts_scale[file_index][pkt->stream_index];
        if (Scale != 0) {
          if (pkt->pts != NoPTSValue) pkt->pts = std::llrint(static_cast<double>(pkt->pts) * Scale);
          if (pkt->dts != NoPTSValue) pkt->dts = std::llrint(static_cast<double>(pkt->dts) * Scale);
        }
      }
      if (pkt->dts != NoPTSValue && ist->next_pts != NoPTSValue && (is->iformat->flags & AVFMT_TS_DISCONT)) {
        // Both sides in microseconds.
        const Int64 pkt_dts = ff::av_rescale_q(pkt->dts, TB, MicroTB);
        const Int64 delta = pkt_dts - ist->next_pts;
        if ((std::llabs(delta) > static_cast<Int64>(Fdts_delta_threshold * 1000000.0) || pkt_dts + 1 < ist->pts) &&
            !Fcopy_ts) {
          Finput_files_ts_offset[file_index] -= delta;
          if (Fverbose >= 3)
            Log(llVerbose, Format("timestamp discontinuity %d, new offset= %d",
                                  {delta, Finput_files_ts_offset[file_index]}));
          const Int64 Shift = ff::av_rescale_q(delta, MicroTB, TB);
          pkt->dts -= Shift;
          if (pkt->pts != NoPTSValue) pkt->pts -= Shift;
        }
      }
      if (Frecording_time != INT64_MAX) {
        // A decoded stream is read until its decoding times pass the end: a picture shown
        // before the end may come after one shown later. Its frames are cut to the end.
        const Int64 T = (ist->decoding_needed && pkt->dts != NoPTSValue) || pkt->pts == NoPTSValue ? pkt->dts : pkt->pts;
        if (T != NoPTSValue && ff::av_compare_ts(T, TB, Fstart_time + Frecording_time, MicroTB) >= 0) {
          ist->is_past_recording_time = 1;
          Drop = true;
        }
      }
    }
    if (!Drop && OutputPacket(*ist, ist_index, pkt) < 0) {
      const String Msg = Format("Error while decoding stream #%d.%d (%s)",
                                {ist->file_index, ist->index, MediaTypeName(ist->st->codecpar->codec_type)});
      ff::av_packet_unref(pkt);
      if (Fexit_on_error) throw FFmpegException(Msg);
      if (Fverbose >= 0) Log(llVerbose, Msg);
      continue;
    }
    ff::av_packet_unref(pkt);
    const Int64 Current = Now();
    if (Current - Flast_report_time > ReportInterval) {
      Flast_report_time = Current;
      PrintReport(false, file_index);
    }
  }

  if (FBrokenCheckRegistered) {
    InterruptCB().Remove(GetCurrentThreadId(), this, BrokenCheck);
    FBrokenCheckRegistered = false;
  }
  // A stopped conversion does not finish: its outputs are dropped, not completed.
  if (FBroken) {
    PrintReport(true, -1);
    return;
  }

  // What the decoders still hold, then (a separate step) what the encoders hold.
  for (size_t i = 0; i < Fist_table.size(); ++i) {
    TAVInputStream& ist = *Fist_table[i];
    if (ist.decoding_needed && !ist.decoder_flushed) OutputPacket(ist, static_cast<Integer>(i), nullptr);
  }
  FlushEncoders();

  // A conversion that wrote nothing has failed: its outputs hold a header at most and
  // go as an empty output does.
  const Integer Outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
  if (Fpackets_written == 0)
    throw FFmpegException("Nothing was written to the output: no packet of the input could be converted");

  // A trailer that fails or an output whose writes failed (a full disk) is an error:
  // the file is not complete.
  for (Integer i = 0; i < Outputs; ++i) {
    AVFormatContext* oc = Foutput_files[i];
    int R = ff::av_write_trailer(oc);
    if (R >= 0 && oc->pb) {
      ff::avio_flush(oc->pb);
      if (oc->pb->error < 0) R = oc->pb->error;
    }
    if (R < 0)
      throw FFmpegException(PrintError(Format("Error writing output file #%d %s", {i, Foutput_file_names[i]}), R));
  }
  PrintReport(true, -1);
  CloseEncoders();
  CloseDecoders();
  // A stop that came while the outputs were being completed still drops them.
  if (FBroken) return;
  CommitOutputFiles();
  FFinished = true;
}

void TCustomFFmpeg::CloseEncoders() {
  for (TAVOutputStream* ost : Fost_table) {
    if (!ost->encoding_needed || !ost->enc_ctx) continue;
    std::lock_guard<TCriticalSection> L(CodecLock());
    std::erase(FEncoderList, ost);
    ost->enc_ctx.reset();
  }
}

void TCustomFFmpeg::CloseDecoders() {
  for (auto& P : Fist_table) {
    if (!P->decoding_needed || !P->dec_ctx) continue;
    std::lock_guard<TCriticalSection> L(CodecLock());
    std::erase(FDecoderList, P.get());
    P->dec_ctx.reset();
  }
}

void TCustomFFmpeg::TranscodeCleanup() {
  for (auto& P : Fist_table) {
    P->filter.reset();
    P->decoded_frame.reset();
    P->filter_frame.reset();
  }
  if (Fgraph) ff::avfilter_graph_free(&Fgraph);
  Fno_packet.clear();
  Fno_packet_count = 0;
  Fsubtitle_out.clear();
  {
    // Codecs still open after a failure.
    std::lock_guard<TCriticalSection> L(CodecLock());
    CloseDecoderList(FDecoderList);
    CloseEncoderList(FEncoderList);
  }
  Fist_table.clear();
  Finput_file_table.clear();
  for (TAVOutputStream* ost : Fost_table) {
    if (ost->logfile) {
      std::fclose(ost->logfile);
      ost->logfile = nullptr;
    }
    ost->pict_tmp.reset();
    ost->img_resample_ctx.reset();
    ost->bsf_ctx.clear();
    ost->forced_kf_pts.clear();
    ost->resample.reset();
    ost->fifo.reset();
  }
  Fost_table.clear();
  Fjoin_sources.clear();
  if (FBrokenCheckRegistered) {
    InterruptCB().Remove(GetCurrentThreadId(), this, BrokenCheck);
    FBrokenCheckRegistered = false;
  }
}

}  // namespace vantrel::media
