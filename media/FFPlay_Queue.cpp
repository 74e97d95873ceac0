// The packet queues and the state record of an open file.
#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFPlay.h"
#include "media/SWResampleAPI.h"

namespace vantrel::media {

void TPacketQueue::Init() {
  Flush();
  abort_request.store(false);
}

Integer TPacketQueue::Put(AVPacket* APacket) {
  AVPacket* Own = ff::av_packet_alloc();
  if (!Own) return -1;
  ff::av_packet_move_ref(Own, APacket);
  // The end-of-input mark (no data, size 0) stays without data.
  if ((Own->data || Own->size) && ff::av_packet_make_refcounted(Own) < 0) {
    ff::av_packet_free(&Own);
    return -1;
  }
  std::lock_guard<std::mutex> L(mutex);
  FNodes.push_back({Own, false});
  FSize += Own->size + PacketNodeSize;
  cond.notify_one();
  return 0;
}

Integer TPacketQueue::PutFlush() {
  std::lock_guard<std::mutex> L(mutex);
  FNodes.push_back({nullptr, true});
  FSize += PacketNodeSize;
  cond.notify_one();
  return 0;
}

Integer TPacketQueue::Get(AVPacket* APacket, bool& AFlush, bool ABlock) {
  std::unique_lock<std::mutex> L(mutex);
  for (;;) {
    if (abort_request.load()) return -1;
    if (FHead < FNodes.size()) {
      TNode N = FNodes[FHead++];
      FSize -= (N.Pkt ? N.Pkt->size : 0) + PacketNodeSize;
      if (FHead == FNodes.size()) {
        FNodes.clear();
        FHead = 0;
      }
      AFlush = N.Flush;
      if (N.Pkt) {
        ff::av_packet_unref(APacket);
        ff::av_packet_move_ref(APacket, N.Pkt);
        ff::av_packet_free(&N.Pkt);
      }
      return 1;
    }
    if (!ABlock) return 0;
    cond.wait(L);
  }
}

void TPacketQueue::Flush() {
  std::lock_guard<std::mutex> L(mutex);
  for (size_t I = FHead; I < FNodes.size(); ++I)
    if (FNodes[I].Pkt) ff::av_packet_free(&FNodes[I].Pkt);
  FNodes.clear();
  FHead = 0;
  FSize = 0;
}

void TPacketQueue::Abort() {
  std::lock_guard<std::mutex> L(mutex);
  abort_request.store(true);
  cond.notify_all();
}

Integer TPacketQueue::nb_packets() const {
  std::lock_guard<std::mutex> L(mutex);
  return static_cast<Integer>(FNodes.size() - FHead);
}

Integer TPacketQueue::size() const {
  std::lock_guard<std::mutex> L(mutex);
  return FSize;
}

TVideoState::TVideoState()
    : audio_buf1(AudioBufferSize), audio_buf2(AudioBufferSize), sample_array(SampleArraySize) {}

TVideoState::~TVideoState() {
  audioq.End();
  videoq.End();
  subtitleq.End();
  if (audio_pkt) ff::av_packet_free(&audio_pkt);
  if (audio_frame) ff::av_frame_free(&audio_frame);
  if (video_held) ff::av_frame_free(&video_held);
  if (video_pending) ff::av_frame_free(&video_pending);
  if (reformat_ctx) ff::swr_free(&reformat_ctx);
  FreeSubtitleQueue(*this);
  if (rdft) ff::av_rdft_end(rdft);
}

}  // namespace vantrel::media
