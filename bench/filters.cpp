// The picture adjustments through a filter chain: our "nativeeq" and "nativehue" (C++ steps
// before a libavfilter graph) followed by a scaler, against libavfilter's own "eq" and
// "hue" and the same scaler in one graph. 500 pictures of 640x480 each, several rounds,
// medians. Last line: ratio <our ms per picture / built-in ms per picture>, the larger of
// the two pairs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "media/AVFilterAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFUtils.h"
#include "media/vf_eq.h"
#include "media/vf_hue.h"

using namespace vantrel::media;

namespace {

constexpr int Frames = 500;
constexpr int Rounds = 5;
constexpr int Width = 640, Height = 480;

// A picture with a pattern, so neither side meets a flat plane.
AVFrame* MakePicture() {
  AVFrame* F = ff::av_frame_alloc();
  F->format = AV_PIX_FMT_YUV420P;
  F->width = Width;
  F->height = Height;
  if (ff::av_frame_get_buffer(F, 0) < 0) return nullptr;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) F->data[0][Y * F->linesize[0] + X] = static_cast<uint8_t>((X + 3 * Y) & 0xFF);
  for (int P = 1; P < 3; ++P)
    for (int Y = 0; Y < Height / 2; ++Y)
      for (int X = 0; X < Width / 2; ++X)
        F->data[P][Y * F->linesize[P] + X] = static_cast<uint8_t>((P * 60 + X - Y) & 0xFF);
  return F;
}

// Milliseconds per picture of one run of Frames pictures through the chain; -1 on failure.
double RunChain(const String& AFilters, AVFrame* AIn, long long& AChecksum) {
  TVideoFilterChain Chain;
  TVideoFilterInput In;
  In.Width = Width;
  In.Height = Height;
  In.PixFmt = AV_PIX_FMT_YUV420P;
  In.TimeBase = TAVRational{1, 25};
  if (Chain.Configure(In, AFilters, {AV_PIX_FMT_YUV420P}) < 0) {
    std::fprintf(stderr, "%s: %s\n", AFilters.c_str(), Chain.LastErrMsg().c_str());
    return -1;
  }
  AVFrame* Out = ff::av_frame_alloc();
  const auto Start = std::chrono::steady_clock::now();
  for (int I = 0; I < Frames; ++I) {
    AIn->pts = I;
    if (Chain.Push(AIn) < 0) return -1;
    while (Chain.Pull(Out) > 0) AChecksum += Out->data[0][I % (Out->linesize[0] * Out->height)];
  }
  const auto End = std::chrono::steady_clock::now();
  ff::av_frame_free(&Out);
  return std::chrono::duration<double, std::milli>(End - Start).count() / Frames;
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

}  // namespace

int main() {
  if (!FFLoader().Load(EncoderLibraries)) {
    std::fprintf(stderr, "%s\n", FFLoader().LastErrMsg().c_str());
    return 1;
  }
  RegisterEqFilter();
  RegisterHueFilter();
  AVFrame* In = MakePicture();
  if (!In) return 1;
  // The same adjustments on both sides: brightness +0.1, contrast 1.3; then a hue turned
  // by 36 degrees (20 hundredths of half a turn) with saturation 1.3.
  const std::pair<String, String> Pairs[] = {
      {"nativeeq=20:30,scale=320:240", "eq=brightness=0.1:contrast=1.3,scale=320:240"},
      {"nativehue=20:30,scale=320:240", "hue=h=36:s=1.3,scale=320:240"},
  };
  long long Checksum = 0;
  double Worst = 0;
  std::printf("frames %d of %dx%d, rounds %d\n", Frames, Width, Height, Rounds);
  for (const auto& [Ours, Peer] : Pairs) {
    std::vector<double> OurTimes, PeerTimes;
    for (int R = 0; R < Rounds; ++R) {
      OurTimes.push_back(RunChain(Ours, In, Checksum));
      PeerTimes.push_back(RunChain(Peer, In, Checksum));
      if (OurTimes.back() < 0 || PeerTimes.back() < 0) return 1;
    }
    const double O = Median(OurTimes), P = Median(PeerTimes);
    std::printf("ours     \"%s\": %.4f ms per frame\n", Ours.c_str(), O);
    std::printf("built-in \"%s\": %.4f ms per frame\n", Peer.c_str(), P);
    std::printf("pair ratio %.3f\n", O / P);
    Worst = std::max(Worst, O / P);
  }
  ff::av_frame_free(&In);
  std::printf("(checksum %lld)\n", Checksum);
  std::printf("ratio %.3f\n", Worst);
  FFLoader().Unload(EncoderLibraries);
  return 0;
}
