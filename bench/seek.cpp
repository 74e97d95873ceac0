// Seeking: a 2-minute 640x480 H.264/AAC clip with one key frame every 10 s, opened by our
// player component and sought to the middle of a key-frame interval (65 s), until the
// picture at 65 s is on screen; against ffmpeg -ss 65 -i clip -frames:v 1 -f null -,
// which decodes from the same key frame to the same picture. Both timed as whole
// processes (ours is this program started again with --ours) on SDL's dummy drivers,
// pinned to the same two cores, alternating, medians of 5 rounds after a warm-up.
// Last line: ratio <ours / ffmpeg in wall time>.
#include <stdlib.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchKit.h"
#include "media/FFPlay.h"
#include "platform/rtl/SyncObjs.h"

namespace {

constexpr int SeekRounds = 5;
constexpr double SeekTarget = 65.0;  // seconds

using TSeekCost = vantrel::bench::TProcessCost;

// Our side: open paused, seek, wait for the picture at the target. 0 when it came.
int SeekWithOurPlayer(const std::string& AClip, double ATarget) {
  using namespace vantrel::media;
  auto Player = CreateOwned<TDODodeve>(nullptr);
  if (!Player->LoadAVLib("", true)) {
    std::fprintf(stderr, "%s\n", Player->LastErrMsg().c_str());
    return 1;
  }
  Player->SetTriggerEventInMainThread(false);
  TEvent Paused(true, false), Arrived(true, false);
  Player->OnState = [&](TObject*, TPlayState AState) {
    if (AState == psPause) Paused.SetEvent();
  };
  std::atomic<bool> Sought{false};
  detail::SetPlayerShowHook(*Player, [&](double APTS, Int64) {
    if (Sought.load() && APTS > ATarget - 0.05) Arrived.SetEvent();
  });
  if (!Player->Open(AClip, 0, true)) {
    std::fprintf(stderr, "%s\n", Player->LastErrMsg().c_str());
    return 1;
  }
  while (Paused.WaitFor(10) != wrSignaled) CheckSynchronize(0);
  Sought.store(true);
  Player->Seek(std::llround(ATarget * 1000000), {}, false);
  int Waited = 0;
  while (Arrived.WaitFor(10) != wrSignaled) {
    CheckSynchronize(0);
    if (++Waited > 3000) {
      std::fprintf(stderr, "no picture at the target\n");
      return 1;
    }
  }
  Player->Stop(true);
  detail::SetPlayerShowHook(*Player, nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (argc == 3 && std::string(argv[1]) == "--ours") return SeekWithOurPlayer(argv[2], SeekTarget);

  vantrel::bench::PinToLastTwoCores();
  const vantrel::bench::TScratchDir Scratch("vantrel-bench-seek");
  if (!Scratch.Ok()) return 1;
  const std::string Clip = Scratch.Path() + "/clip.mp4";
  TSeekCost Made;
  if (!vantrel::bench::RunProcess(
          {"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-f", "lavfi", "-i",
           "testsrc2=size=640x480:rate=25:duration=120", "-f", "lavfi", "-i",
           "sine=frequency=440:sample_rate=48000:duration=120", "-ac", "2", "-c:v", "libx264", "-preset", "veryfast",
           "-g", "250", "-keyint_min", "250", "-sc_threshold", "0", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest",
           Clip},
          Made))
    return 1;

  const std::string Self = std::filesystem::canonical("/proc/self/exe").string();
  const std::string Target = std::to_string(SeekTarget);
  const vantrel::bench::ProcessArgs Ours{Self, "--ours", Clip};
  const vantrel::bench::ProcessArgs Peer{"ffmpeg", "-nostdin", "-loglevel", "error", "-ss", Target, "-i", Clip,
                                         "-frames:v", "1", "-f", "null", "-"};
  TSeekCost Warm;
  if (!vantrel::bench::RunProcess(Ours, Warm) || !vantrel::bench::RunProcess(Peer, Warm)) return 1;
  std::vector<double> OW, OC, PW, PC;
  for (int R = 0; R < SeekRounds; ++R) {
    for (int Side = 0; Side < 2; ++Side) {
      const bool OursNow = (Side == 0) == (R % 2 == 0);
      TSeekCost Cost;
      if (!vantrel::bench::RunProcess(OursNow ? Ours : Peer, Cost)) return 1;
      (OursNow ? OW : PW).push_back(Cost.Wall);
      (OursNow ? OC : PC).push_back(Cost.Cpu);
    }
  }
  std::printf("seek to %.0f s in a 2-minute 640x480 H.264/AAC clip, key frames every 10 s, medians of %d rounds\n",
              SeekTarget, SeekRounds);
  std::printf("%-10s %10s %10s\n", "", "wall", "cpu");
  std::printf("%-10s %9.3fs %9.3fs\n", "ours", vantrel::bench::Median(OW), vantrel::bench::Median(OC));
  std::printf("%-10s %9.3fs %9.3fs\n", "ffmpeg", vantrel::bench::Median(PW), vantrel::bench::Median(PC));
  std::printf("ratio %.3f\n", vantrel::bench::Median(OW) / vantrel::bench::Median(PW));
  return 0;
}
