// Playback: a 10 s 640x480 H.264/AAC clip played to its end by our player component
// (through the vantrel_play driver program) and by ffplay -autoexit -threads 1, both on
// SDL's dummy video and audio drivers, timed as whole processes (user + system CPU
// time), pinned to the same two cores, alternating, medians of 3 rounds after a warm-up.
// Both play in real time, so the wall times are about the clip's length; the CPU time is
// what playing costs.
// Last line: ratio <ours / ffplay in CPU time>.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchKit.h"

namespace {

constexpr int PlayerRounds = 3;

using TPlayCost = vantrel::bench::TProcessCost;
using PlayerArgs = vantrel::bench::ProcessArgs;

bool RunPlayer(const PlayerArgs& AArgs, TPlayCost& ACost) { return vantrel::bench::RunProcess(AArgs, ACost); }

}  // namespace

int main(int argc, char** argv) {
  (void)argc;
  const std::filesystem::path Self = std::filesystem::canonical("/proc/self/exe");
  const std::string Driver = (Self.parent_path() / "vantrel_play").string();
  if (!std::filesystem::exists(Driver)) {
    std::fprintf(stderr, "%s: driver %s not built\n", argv[0], Driver.c_str());
    return 1;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);

  // Both sides on the same two cores (the children inherit the mask).
  vantrel::bench::PinToLastTwoCores();
  const vantrel::bench::TScratchDir Scratch("vantrel-bench-player");
  if (!Scratch.Ok()) return 1;
  const std::string& Dir = Scratch.Path();
  const std::string Clip = Dir + "/clip.mp4";
  TPlayCost Made;
  if (!RunPlayer({"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-f", "lavfi", "-i",
                  "testsrc2=size=640x480:rate=25:duration=10", "-f", "lavfi", "-i",
                  "sine=frequency=440:sample_rate=48000:duration=10", "-ac", "2", "-c:v", "libx264", "-preset",
                  "veryfast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", Clip},
                 Made))
    return 1;

  const PlayerArgs Ours{Driver, Clip};
  const PlayerArgs Peer{"ffplay", "-hide_banner", "-loglevel", "error", "-autoexit", "-threads", "1", Clip};
  TPlayCost Warm;
  if (!RunPlayer(Ours, Warm) || !RunPlayer(Peer, Warm)) return 1;
  std::vector<double> OW, OC, PW, PC;
  for (int R = 0; R < PlayerRounds; ++R) {
    for (int Side = 0; Side < 2; ++Side) {
      // Alternating which side goes first.
      const bool OursNow = (Side == 0) == (R % 2 == 0);
      TPlayCost Cost;
      if (!RunPlayer(OursNow ? Ours : Peer, Cost)) return 1;
      (OursNow ? OW : PW).push_back(Cost.Wall);
      (OursNow ? OC : PC).push_back(Cost.Cpu);
    }
  }
  std::printf("player, 10 s 640x480 H.264/AAC to its end, SDL dummy drivers, medians of %d rounds after a warm-up\n",
              PlayerRounds);
  std::printf("%-10s %10s %10s\n", "", "wall", "cpu");
  std::printf("%-10s %9.3fs %9.3fs\n", "ours", vantrel::bench::Median(OW), vantrel::bench::Median(OC));
  std::printf("%-10s %9.3fs %9.3fs\n", "ffplay", vantrel::bench::Median(PW), vantrel::bench::Median(PC));
  std::printf("ratio %.3f\n", vantrel::bench::Median(OC) / vantrel::bench::Median(PC));
  return 0;
}
