// Subtitles: the subtitle thread decodes bitmap subtitles into a four-slot queue with
// their palettes in YUV; the event loop drops the ones whose time is over and blends the
// due one into each picture's overlay before it is shown.
#include <algorithm>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFPlay.h"
#include "media/libsdl.h"

namespace vantrel::media {

namespace {

// A sign-keeping shift: rounds towards minus infinity.
constexpr int SubtitleShift10(int AValue) { return AValue >> 10; }

void FreeSubPicture(TSubPicture& ASlot) {
  if (ASlot.sub) ff::avsubtitle_free(ASlot.sub);
}

}  // namespace

uint32_t SubtitleColorToYUV(uint32_t AARGB) {
  const int A = static_cast<int>((AARGB >> 24) & 0xFF), R = static_cast<int>((AARGB >> 16) & 0xFF),
            G = static_cast<int>((AARGB >> 8) & 0xFF), B = static_cast<int>(AARGB & 0xFF);
  const int Y = SubtitleShift10(263 * R + 517 * G + 101 * B + 16896);
  const int U = SubtitleShift10(-152 * R - 298 * G + 450 * B + 511) + 128;
  const int V = SubtitleShift10(450 * R - 377 * G - 74 * B + 511) + 128;
  return (uint32_t(A) << 24) | (uint32_t(Y) << 16) | (uint32_t(U) << 8) | uint32_t(V);
}

void BlendSubtitleRect(const AVPicture& ADst, const AVSubtitleRect& ARect, Integer AImageW, Integer AImageH) {
  // Clipped size first, then the position, so the rectangle stays inside.
  const Integer W = std::clamp<Integer>(ARect.w, 0, std::max<Integer>(AImageW, 0));
  const Integer H = std::clamp<Integer>(ARect.h, 0, std::max<Integer>(AImageH, 0));
  const Integer X = std::clamp<Integer>(ARect.x, 0, AImageW - W);
  const Integer Y = std::clamp<Integer>(ARect.y, 0, AImageH - H);
  if (W <= 0 || H <= 0 || !ARect.data[0] || !ARect.data[1]) return;
  const auto* Palette = reinterpret_cast<const uint32_t*>(ARect.data[1]);
  auto Entry = [&](Integer AI, Integer AJ) { return Palette[ARect.data[0][AJ * ARect.linesize[0] + AI]]; };
  for (Integer J = 0; J < H; ++J) {
    uint8_t* Row = ADst.data[0] + (Y + J) * ADst.linesize[0] + X;
    for (Integer I = 0; I < W; ++I) {
      const uint32_t E = Entry(I, J);
      const int A = int(E >> 24), Luma = int((E >> 16) & 0xFF);
      Row[I] = static_cast<uint8_t>((Row[I] * (255 - A) + Luma * A) / 255);
    }
  }
  // Each chroma sample takes the rectangle pixels of its 2 x 2 luma block: four inside,
  // two or one along an odd edge.
  for (Integer CY = Y / 2; CY <= (Y + H - 1) / 2; ++CY) {
    for (Integer CX = X / 2; CX <= (X + W - 1) / 2; ++CX) {
      int K = 0, ASum = 0, USum = 0, VSum = 0;
      for (Integer LY = 2 * CY; LY < 2 * CY + 2; ++LY) {
        for (Integer LX = 2 * CX; LX < 2 * CX + 2; ++LX) {
          if (LX < X || LX >= X + W || LY < Y || LY >= Y + H) continue;
          const uint32_t E = Entry(LX - X, LY - Y);
          ++K;
          ASum += int(E >> 24);
          USum += int((E >> 8) & 0xFF);
          VSum += int(E & 0xFF);
        }
      }
      // The block's coverage: the alphas of its four pixels, those outside counting as 0.
      const int A = ASum >> 2;
      uint8_t* U = ADst.data[1] + CY * ADst.linesize[1] + CX;
      uint8_t* V = ADst.data[2] + CY * ADst.linesize[2] + CX;
      *U = static_cast<uint8_t>((*U * K * (255 - A) + USum * A) / (255 * K));
      *V = static_cast<uint8_t>((*V * K * (255 - A) + VSum * A) / (255 * K));
    }
  }
}

void TCustomPlayer::SubtitleThread(TVideoState* S) {
  AVPacket* Pkt = ff::av_packet_alloc();
  while (Pkt) {
    while (S->paused.load() && !S->subtitleq.Aborted() && !S->seek_paused) TThread::Sleep(10);
    bool Flush = false;
    if (S->subtitleq.Get(Pkt, Flush, true) < 0) break;
    if (Flush) {
      ff::avcodec_flush_buffers(S->subtitle_ctx);
      continue;
    }
    {
      std::unique_lock<std::mutex> L(S->subpq_mutex);
      S->subpq_cond.wait(L, [S] { return S->subpq_size < SubPictureQueueSize || S->subtitleq.Aborted(); });
    }
    if (S->subtitleq.Aborted()) break;
    const double PTS = Pkt->pts != AV_NOPTS_VALUE ? Pkt->pts * av_q2d(S->subtitle_st->time_base) : 0;
    AVSubtitle Sub{};
    int Got = 0;
    const int Ret = ff::avcodec_decode_subtitle2(S->subtitle_ctx, &Sub, &Got, Pkt);
    ff::av_packet_unref(Pkt);
    if (Ret < 0 || !Got) continue;
    // Only bitmap subtitles are shown; a text one is not kept.
    if (Sub.format != 0) {
      ff::avsubtitle_free(&Sub);
      continue;
    }
    for (unsigned I = 0; I < Sub.num_rects; ++I) {
      AVSubtitleRect* R = Sub.rects[I];
      if (!R->data[1]) continue;
      auto* Palette = reinterpret_cast<uint32_t*>(R->data[1]);
      for (int C = 0; C < R->nb_colors; ++C) Palette[C] = SubtitleColorToYUV(Palette[C]);
    }
    TSubPicture& SP = S->subpq[S->subpq_windex];
    if (!SP.sub) SP.sub = new AVSubtitle{};
    *SP.sub = Sub;
    SP.pts = PTS;
    SP.serial = ++S->sub_serial;
    S->subpq_windex = (S->subpq_windex + 1) % SubPictureQueueSize;
    std::lock_guard<std::mutex> L(S->subpq_mutex);
    ++S->subpq_size;
  }
  ff::av_packet_free(&Pkt);
}

void TCustomPlayer::ExpireSubtitles(TVideoState* S) {
  if (S->subtitle_stream_changed.load()) {
    std::lock_guard<std::mutex> L(S->subpq_mutex);
    while (S->subpq_size > 0) {
      FreeSubPicture(S->subpq[S->subpq_rindex]);
      S->subpq_rindex = (S->subpq_rindex + 1) % SubPictureQueueSize;
      --S->subpq_size;
    }
    S->subtitle_stream_changed.store(0);
    S->subpq_cond.notify_all();
    return;
  }
  if (!S->subtitle_st) return;
  Integer Size;
  {
    std::lock_guard<std::mutex> L(S->subpq_mutex);
    Size = S->subpq_size;
  }
  if (Size == 0) return;
  TSubPicture& SP = S->subpq[S->subpq_rindex];
  const TSubPicture* Next = Size > 1 ? &S->subpq[(S->subpq_rindex + 1) % SubPictureQueueSize] : nullptr;
  const bool Over = SP.pts + SP.sub->end_display_time / 1000.0 < S->video_current_pts;
  const bool Replaced = Next && Next->pts + Next->sub->start_display_time / 1000.0 < S->video_current_pts;
  if (!Over && !Replaced) return;
  FreeSubPicture(SP);
  S->subpq_rindex = (S->subpq_rindex + 1) % SubPictureQueueSize;
  std::lock_guard<std::mutex> L(S->subpq_mutex);
  --S->subpq_size;
  S->subpq_cond.notify_all();
}

void TCustomPlayer::BlendSubtitles(TVideoState* S, TVideoPicture& VP) {
  if (!S->subtitle_st || !VP.bmp) return;
  {
    std::lock_guard<std::mutex> L(S->subpq_mutex);
    if (S->subpq_size == 0) return;
  }
  const TSubPicture& SP = S->subpq[S->subpq_rindex];
  if (VP.pts < SP.pts + SP.sub->start_display_time / 1000.0) return;
  // Once per picture: a repaint shows the overlay as it is.
  if (VP.sub_blended == SP.serial) return;
  VP.sub_blended = SP.serial;
  FSDL->SDL_LockYUVOverlay(VP.bmp);
  AVPicture Pic;
  const int Planes[3] = {0, 2, 1};
  for (int I = 0; I < 3; ++I) {
    Pic.data[I] = VP.bmp->pixels[Planes[I]];
    Pic.linesize[I] = VP.bmp->pitches[Planes[I]];
  }
  for (unsigned I = 0; I < SP.sub->num_rects; ++I) BlendSubtitleRect(Pic, *SP.sub->rects[I], VP.width, VP.height);
  FSDL->SDL_UnlockYUVOverlay(VP.bmp);
}

void FreeSubtitleQueue(TVideoState& AState) {
  for (TSubPicture& SP : AState.subpq) {
    FreeSubPicture(SP);
    delete SP.sub;
    SP.sub = nullptr;
  }
  AState.subpq_size = AState.subpq_rindex = AState.subpq_windex = 0;
}

}  // namespace vantrel::media
