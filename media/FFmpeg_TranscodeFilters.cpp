// The video filter graph of a transcoded stream: decoded pictures (times in
// microseconds) through an optional scaler to the encoder's size and the user's chain,
// out in the encoder's pixel format. Our own filters run as steps of the chain.
#include <cstdint>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "media/FFUpright.h"
#include "media/vf_eq.h"
#include "media/vf_hue.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

Integer TCustomFFmpeg::BuildFilterGraph(TAVInputStream& ist, TAVOutputStream& ost) {
  RegisterEqFilter();
  RegisterHueFilter();
  AVCodecContext* codec = ost.enc_ctx.get();
  const AVCodecContext* icodec = ist.dec_ctx.get();

  // Pictures reach the chain upright (turned in PreprocessVideoFrame): the chain starts
  // from the shown size and the format the turned pictures have.
  ist.upright = UprightTurnOf(ist.st);
  TVideoFilterInput In;
  In.Width = icodec->width;
  In.Height = icodec->height;
  UprightSize(ist.upright, In.Width, In.Height);
  In.PixFmt = UprightPixFmt(icodec->pix_fmt, ist.upright);
  In.TimeBase = TAVRational{1, AV_TIME_BASE};
  AVRational Sar = icodec->sample_aspect_ratio;
  if (Sar.num <= 0 || Sar.den <= 0) Sar = ist.st->sample_aspect_ratio;
  if (Sar.num > 0 && Sar.den > 0)
    In.SampleAspect = ist.upright.Transposed() ? TAVRational{Sar.den, Sar.num} : TAVRational{Sar.num, Sar.den};
  const AVRational Rate = ist.st->avg_frame_rate;
  if (Rate.num > 0 && Rate.den > 0) In.FrameRate = TAVRational{Rate.num, Rate.den};

  int64_t Flags = Fsws_flags;
  if (FOptions.sws_opts) ff::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &Flags);
  String Chain;
  if (codec->width != In.Width || codec->height != In.Height)
    Chain = Format("scale=%d:%d:flags=%d", {codec->width, codec->height, static_cast<Integer>(Flags)});
  if (!Fvfilters.empty()) Chain += (Chain.empty() ? "" : ",") + Fvfilters;

  ist.filter = std::make_unique<TVideoFilterChain>();
  const Integer R = ist.filter->Configure(In, Chain, {static_cast<Integer>(codec->pix_fmt)},
                                          Format("flags=0x%X", {static_cast<Integer>(Flags)}));
  if (R < 0) {
    FLastErrMsg = ist.filter->LastErrMsg();
    return R;
  }
  // The chain decides the size; its aspect is known before the header.
  codec->width = ist.filter->Width();
  codec->height = ist.filter->Height();
  const TAVRational OutSar = ist.filter->SampleAspect();
  if (OutSar.num > 0 && OutSar.den > 0) {
    codec->sample_aspect_ratio = AVRational{OutSar.num, OutSar.den};
    ost.st->sample_aspect_ratio = codec->sample_aspect_ratio;
  }
  return 0;
}

}  // namespace vantrel::media
