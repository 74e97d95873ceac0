// The video hooks of a conversion: deinterlacing, the turn upright of pictures stored
// sideways, the input hook and the frame-hook plug-ins on each decoded picture, the
// output hook on each picture about to be encoded, and the previews (a bitmap event or
// the preview window) at most once per interval. A processed picture is a new
// reference-counted picture that replaces the frame's content; the decoder's and the
// filters' buffers are never written.
#include <cstdint>

#include "media/AVCodecAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "media/FFUpright.h"
#include "platform/rtl/Format.h"
#include "media/Previewer.h"

namespace vantrel::media {

namespace {

// Row alignment of the pool's pictures (the widest SIMD the scalers use).
constexpr int PictureAlign = 32;

AVPicture PictureOf(const AVFrame* AFrame) {
  AVPicture P;
  for (int i = 0; i < 4; ++i) {
    P.data[i] = AFrame->data[i];
    P.linesize[i] = AFrame->linesize[i];
  }
  return P;
}

void CopyPicture(AVFrame* ADst, const AVFrame* ASrc) {
  ff::av_image_copy(ADst->data, ADst->linesize, const_cast<const uint8_t**>(ASrc->data), ASrc->linesize,
                    static_cast<AVPixelFormat>(ASrc->format), ASrc->width, ASrc->height);
}

// AFrame's content becomes AProcessed's (props kept): the old planes are only released.
void ReplacePicture(AVFrame* AFrame, TFramePtr& AProcessed) {
  ff::av_frame_copy_props(AProcessed.get(), AFrame);
  ff::av_frame_unref(AFrame);
  ff::av_frame_move_ref(AFrame, AProcessed.get());
}

}  // namespace

// --- the picture pool ---

TPicturePool::~TPicturePool() { Reset(); }

void TPicturePool::Reset() {
  if (FPool && ff::av_buffer_pool_uninit) ff::av_buffer_pool_uninit(&FPool);
  FPool = nullptr;
}

AVFrame* TPicturePool::Get(Integer APixFmt, Integer AWidth, Integer AHeight) {
  const auto Fmt = static_cast<AVPixelFormat>(APixFmt);
  if (!FPool || APixFmt != FPixFmt || AWidth != FWidth || AHeight != FHeight) {
    Reset();
    const int Size = ff::av_image_get_buffer_size(Fmt, AWidth, AHeight, PictureAlign);
    if (Size <= 0) return nullptr;
    // Buffers still held by an encoder keep the old pool alive until they come back.
    FPool = ff::av_buffer_pool_init(static_cast<size_t>(Size), nullptr);
    if (!FPool) return nullptr;
    FPixFmt = APixFmt;
    FWidth = AWidth;
    FHeight = AHeight;
  }
  TFramePtr Frame(ff::av_frame_alloc());
  if (!Frame) return nullptr;
  Frame->buf[0] = ff::av_buffer_pool_get(FPool);
  if (!Frame->buf[0]) return nullptr;
  if (ff::av_image_fill_arrays(Frame->data, Frame->linesize, Frame->buf[0]->data, Fmt, AWidth, AHeight,
                               PictureAlign) < 0)
    return nullptr;
  Frame->format = APixFmt;
  Frame->width = AWidth;
  Frame->height = AHeight;
  return Frame.release();
}

// --- hooks ---

void TCustomFFmpeg::CallVideoHook(TVideoHookEvent& AEvent, TFormatConverter& AConverter, bool& AUpdated, Int64 APts,
                                  Integer AFrameNumber, AVFrame* APicture) {
  AVPicture Pic = PictureOf(APicture);
  const bool Converted = AConverter.PictureToRGB(Pic, APicture->format, APicture->width, APicture->height, true);
  AUpdated = Converted;
  bool AStopHook = !Converted;
  if (!Converted) {
    Log(llError, AConverter.LastErrMsg());
  } else {
    bool AUpdate = true;
    try {
      AEvent(this, AConverter.Bitmap(), AFrameNumber, APts, AUpdate, AStopHook);
    } catch (const Exception& E) {
      Log(llError, "Error occurs VideoHook event: " + E.Message());
      AUpdate = false;
    } catch (const std::exception& E) {
      Log(llError, String("Error occurs VideoHook event: ") + E.what());
      AUpdate = false;
    }
    if (AUpdate) {
      try {
        AConverter.BitmapToRGB();
        if (AConverter.RGBPictureRef() &&
            !AConverter.RGBToPicture(Pic, APicture->format, APicture->width, APicture->height)) {
          Log(llError, AConverter.LastErrMsg());
          AStopHook = true;
        }
      } catch (const Exception& E) {
        // The handler left a bitmap that no longer fits the picture.
        Log(llError, E.Message());
        AStopHook = true;
      }
    } else if (!FPostHooks.Empty()) {
      AUpdated = false;
    }
  }
  if (AStopHook) AEvent = nullptr;
}

void TCustomFFmpeg::PreprocessVideoFrame(TAVInputStream& ist, AVFrame* AFrame) {
  ++ist.frame_number;
  const Int64 pts = ist.pts;
  // Whether AFrame holds a picture of ours (not the decoder's), which may be written.
  bool Own = false;
  // Fields are rows of the stored picture: deinterlacing comes before the turn.
  if (Fdo_deinterlace) {
    TFramePtr Work(FInputPicturePool.Get(AFrame->format, AFrame->width, AFrame->height));
    if (!Work) {
      Log(llError, "hook buf malloc error.");
    } else {
      AVPicture Dst = PictureOf(Work.get());
      // A picture that could not be deinterlaced passes unchanged.
      if (DeinterlacePicture(Dst, PictureOf(AFrame), AFrame->format, AFrame->width, AFrame->height) < 0) {
        Log(llError, "Deinterlacing failed.");
      } else {
        ReplacePicture(AFrame, Work);
        Own = true;
      }
    }
  }
  // The hooks and the filters see the picture as it is shown.
  if (!ist.upright.None()) {
    AVFrame* Upright = TurnFrameUpright(AFrame, ist.upright);
    if (!Upright)
      throw FFmpegException(Format("Cannot turn the pictures of input stream #%d.%d upright",
                                   {ist.file_index, ist.index}));
    ff::av_frame_unref(AFrame);
    ff::av_frame_move_ref(AFrame, Upright);
    ff::av_frame_free(&Upright);
    Own = true;
  }
  if (!(OnInputVideoHook || Fusing_vhook)) return;
  TFramePtr Work;
  AVFrame* Picture = AFrame;
  if (!Own) {
    Work.reset(FInputPicturePool.Get(AFrame->format, AFrame->width, AFrame->height));
    if (!Work) {
      Log(llError, "hook buf malloc error.");
      return;
    }
    CopyPicture(Work.get(), AFrame);
    Picture = Work.get();
  }
  if (OnInputVideoHook) {
    bool Updated = false;
    CallVideoHook(OnInputVideoHook, *FInputVideoHook, Updated, pts, static_cast<Integer>(ist.frame_number),
                  Picture);
  } else if (Fusing_vhook) {
    TFrameHookPicture P{};
    for (int i = 0; i < 4; ++i) {
      P.data[i] = Picture->data[i];
      P.linesize[i] = Picture->linesize[i];
    }
    FrameHookProcess(FFirstHook, &P, Picture->format, Picture->width, Picture->height, pts);
  }
  if (Work) ReplacePicture(AFrame, Work);
}

void TCustomFFmpeg::CallOutputVideoHook(AVFrame* APicture, bool& AUpdated, Int64 APts, Integer AFrameNumber) {
  TFramePtr Copy(FOutputPicturePool.Get(APicture->format, APicture->width, APicture->height));
  if (!Copy) {
    Log(llError, "hook buf malloc error.");
    return;
  }
  CopyPicture(Copy.get(), APicture);
  CallVideoHook(OnOutputVideoHook, *FOutputVideoHook.Converter, AUpdated, APts, AFrameNumber, Copy.get());
  ReplacePicture(APicture, Copy);
}

void TCustomFFmpeg::RunOutputHooks(TAVOutputStream& ost, AVFrame* AFrame, Int64 APts, Integer AFrameNumber) {
  (void)ost;
  bool Updated = false;
  if (OnOutputVideoHook) CallOutputVideoHook(AFrame, Updated, APts, AFrameNumber);
  if (!FPostHooks.Empty()) DoPostHooks(AFrame, Updated, APts, AFrameNumber);
}

void TCustomFFmpeg::DoPostHooks(AVFrame* APicture, bool AUpdated, Int64 APts, Integer AFrameNumber) {
  TPostHookContext& Ctx = FOutputVideoHook;
  TPostHooks Hooks;
  bool Changed;
  {
    std::lock_guard<TCriticalSection> L(PostHookLock());
    Hooks = FPostHooks;
    Changed = FPostHooksChanged;
    FPostHooksChanged = false;
  }
  const bool ToBitmap = Hooks.Contains(phBitmap) && OnPreviewBitmap;
  if (!ToBitmap && !Hooks.Contains(phPreview)) return;
  Ctx.preview_cur_time = Now();
  if (Ctx.preview_cur_time - Ctx.preview_last_time <= PreviewInterval) return;
  Ctx.preview_last_time = Ctx.preview_cur_time;

  TFormatConverter& Conv = *Ctx.Converter;
  bool Ok = true;
  if (!AUpdated || Changed) {
    AVPicture Pic = PictureOf(APicture);
    Ok = Conv.PictureToRGB(Pic, APicture->format, APicture->width, APicture->height, true);
    if (!Ok) Log(llError, Conv.LastErrMsg());
  }
  // The event and the window call into the GUI thread, whose preview setters take
  // PostHookLock: it is not held here.
  bool Remove = !Ok;
  const TPostHook Flag = ToBitmap ? phBitmap : phPreview;
  if (Ok && ToBitmap) {
    OnPreviewBitmap(this, Conv.Bitmap(), AFrameNumber, APts);
  } else if (Ok) {
    std::shared_ptr<TPreviewer> Previewer;
    {
      std::lock_guard<TCriticalSection> L(PostHookLock());
      if (FPostHooks.Contains(phPreview)) {
        if (!Ctx.Previewer) Ctx.Previewer.reset(TPreviewer::Create(), TObjectDeleter());
        Previewer = Ctx.Previewer;
      }
    }
    if (Previewer && !Previewer->PaintFrame(Conv.Bitmap(), AFrameNumber, APts)) Remove = true;
  }
  if (Remove) {
    std::lock_guard<TCriticalSection> L(PostHookLock());
    TPostHooks Flags = FPostHooks;
    Flags.Exclude(Flag);
    SetPostHooks(Flags);
  }
}

}  // namespace vantrel::media
