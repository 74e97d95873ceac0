// Whole conversions: our encoder component (through the vantrel_encode driver program)
// against the ffmpeg command line on the same work, both timed as whole processes,
// pinned to the same two cores, alternating, medians of several rounds after a warm-up.
// Scenarios: (a) 20 s 1280x720 30 fps H.264/AAC to H.264/AAC at the same size, libx264
// veryfast; (b) the same down to 640x360 through a crop/pad/scale chain; (c) stream-copy
// remux into Matroska, 20 times a round, for information; (d) MP3 to AAC. Every setting
// is given on both sides, and the outputs are checked equal once before timing (stream
// parameters, packet counts, libx264's options string, video packet checksums).
// Last line: ratio <worst of (a), (b), (d) in CPU time, ours / ffmpeg's>.
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchKit.h"


namespace {

constexpr int DefaultRounds = 7;
constexpr int RemuxRepeats = 20;
constexpr const char* Threads = "2";  // decoder and encoder threads on both sides

using Args = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

using TCost = vantrel::bench::TProcessCost;
using vantrel::bench::Median;

bool Run(const Args& AArgs, TCost& ACost, std::string* AStdout = nullptr) {
  return vantrel::bench::RunProcess(AArgs, ACost, AStdout);
}

bool Run(const Args& AArgs) {
  TCost Cost;
  return Run(AArgs, Cost);
}

std::string Output(const Args& AArgs) {
  TCost Cost;
  std::string Text;
  return Run(AArgs, Cost, &Text) ? Text : std::string();
}

// One piece of work, as option lines of ours and the matching ffmpeg arguments.
struct TScenario {
  const char* Name;
  std::string Input;
  const char* Ext;  // output file extension
  Args OurInput;    // input option lines
  Args OurOutput;   // output option lines
  Args PeerInput;   // ffmpeg arguments before -i
  Args PeerOutput;  // ffmpeg arguments after -i
  int Repeats = 1;
  bool Counted = true;  // part of the ratio
  bool Video = true;
};

Args OurCommand(const std::string& ADriver, const TScenario& S, const std::string& AOut) {
  Args A{ADriver, S.Input, AOut};
  A.insert(A.end(), S.OurInput.begin(), S.OurInput.end());
  A.push_back("--");
  A.insert(A.end(), S.OurOutput.begin(), S.OurOutput.end());
  return A;
}

Args PeerCommand(const TScenario& S, const std::string& AOut) {
  Args A{"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
  A.insert(A.end(), S.PeerInput.begin(), S.PeerInput.end());
  A.push_back("-i");
  A.push_back(S.Input);
  A.insert(A.end(), S.PeerOutput.begin(), S.PeerOutput.end());
  A.push_back(AOut);
  return A;
}

// libx264's options string as it writes it into the stream ("options: ..."), empty when none.
std::string X264Options(const std::string& AFile) {
  std::ifstream In(AFile, std::ios::binary);
  std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  const size_t P = Bytes.find("options: ");
  if (P == std::string::npos) return std::string();
  return Bytes.substr(P, Bytes.find('\0', P) - P);
}

// Both outputs carry the same streams, packet counts and (video) packets.
bool SameOutputs(const TScenario& S, const std::string& AOurs, const std::string& APeers) {
  bool Same = true;
  auto Check = [&](const char* What, const std::string& A, const std::string& B) {
    if (A != B || A.empty()) {
      std::fprintf(stderr, "(%s) %s differ:\n--- ours\n%s\n--- ffmpeg\n%s\n", S.Name, What, A.c_str(), B.c_str());
      Same = false;
    }
  };
  const Args Probe{"ffprobe", "-v", "error", "-count_packets", "-show_entries",
                   "stream=codec_name,profile,width,height,pix_fmt,r_frame_rate,sample_rate,channels,nb_read_packets",
                   "-of", "compact"};
  Args A = Probe, B = Probe;
  A.push_back(AOurs);
  B.push_back(APeers);
  Check("stream parameters and packet counts", Output(A), Output(B));
  if (S.Video) {
    Check("libx264 options", X264Options(AOurs), X264Options(APeers));
    auto Md5 = [](const std::string& F) {
      std::string Text = Output({"ffmpeg", "-nostdin", "-v", "error", "-i", F, "-map", "0:v", "-c", "copy", "-f", "framemd5", "-"});
      // Only the packet lines: the header names the muxer's time base.
      std::string Lines;
      std::istringstream In(Text);
      for (std::string L; std::getline(In, L);)
        if (!L.empty() && L[0] != '#') Lines += L + "\n";
      return Lines;
    };
    Check("video packet checksums", Md5(AOurs), Md5(APeers));
  }
  return Same;
}

bool MakeFixtures(const std::string& ADir) {
  return Run({"ffmpeg", "-nostdin", "-y", "-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=30:duration=20", "-f", "lavfi",
              "-i", "sine=frequency=440:sample_rate=48000:duration=20", "-c:v", "libx264", "-preset", "veryfast",
              "-pix_fmt", "yuv420p", "-g", "60", "-c:a", "aac", "-b:a", "128k", "-ac", "2", "-shortest",
              ADir + "/in720.mp4"}) &&
         Run({"ffmpeg", "-nostdin", "-y", "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=20", "-ac",
              "2", "-c:a", "libmp3lame", "-b:a", "128k", ADir + "/in.mp3"});
}

std::vector<TScenario> Scenarios(const std::string& ADir) {
  const std::string In720 = ADir + "/in720.mp4";
  // The same encoder settings on both sides: the option vocabulary's names for ours.
  const Args OurVideo{"map=0:0", "map=0:1", "vcodec=libx264", "preset=veryfast", "g=60", "bf=3", "b=2000k",
                      "acodec=aac", "ab=128k", "ar=44100", "ac=2", "sws_flags=bicubic",
                      std::string("threads=") + Threads};
  const Args PeerVideo{"-map", "0:0", "-map", "0:1", "-c:v", "libx264", "-preset", "veryfast", "-g", "60", "-bf", "3",
                       "-b:v", "2000k", "-c:a", "aac", "-b:a", "128k", "-ar", "44100", "-ac", "2", "-threads", Threads,
                       "-filter_threads", "1", "-sws_flags", "bicubic"};
  const std::string Chain = "crop=1248:704:16:8,pad=1280:720:16:8:black,scale=640:360";
  std::vector<TScenario> L;
  L.push_back({"a", In720, "mp4", {std::string("threads=") + Threads}, OurVideo, {"-threads", Threads}, PeerVideo});
  TScenario B{"b", In720, "mp4", {std::string("threads=") + Threads}, OurVideo, {"-threads", Threads}, PeerVideo};
  B.OurOutput.push_back("vf=" + Chain);
  B.PeerOutput.insert(B.PeerOutput.end(), {"-vf", Chain});
  L.push_back(B);
  TScenario C{"c", In720, "mkv", {}, {"map=0:0", "map=0:1", "vcodec=copy", "acodec=copy"}, {},
              {"-map", "0:0", "-map", "0:1", "-c", "copy"}};
  C.Repeats = RemuxRepeats;
  C.Counted = false;
  C.Video = false;
  L.push_back(C);
  TScenario D{"d", ADir + "/in.mp3", "m4a", {}, {"acodec=aac", "ab=128k", "ar=44100", "ac=2"}, {},
              {"-map", "0:a", "-c:a", "aac", "-b:a", "128k", "-ar", "44100", "-ac", "2"}};
  D.Video = false;
  L.push_back(D);
  return L;
}

}  // namespace

int main(int argc, char** argv) {
  (void)argc;
  const std::filesystem::path Self = std::filesystem::canonical("/proc/self/exe");
  const std::string Driver = (Self.parent_path() / "vantrel_encode").string();
  if (!std::filesystem::exists(Driver)) {
    std::fprintf(stderr, "%s: driver %s not built\n", argv[0], Driver.c_str());
    return 1;
  }
  int Rounds = DefaultRounds;
  if (const char* R = std::getenv("VANTREL_BENCH_ROUNDS")) Rounds = std::max(1, std::atoi(R));

  // Both sides on the same two cores (the children inherit the mask).
  vantrel::bench::PinToLastTwoCores();
  const vantrel::bench::TScratchDir Scratch("vantrel-bench-transcode");
  if (!Scratch.Ok()) return 1;
  const std::string& Dir = Scratch.Path();
  if (!MakeFixtures(Dir)) return 1;

  const std::vector<TScenario> List = Scenarios(Dir);
  bool Verified = true;
  for (const TScenario& S : List) {
    const std::string Ours = Dir + "/ours-" + S.Name + "." + S.Ext, Peers = Dir + "/peer-" + S.Name + "." + S.Ext;
    if (!Run(OurCommand(Driver, S, Ours)) || !Run(PeerCommand(S, Peers))) return 1;  // also the warm-up
    if (!SameOutputs(S, Ours, Peers)) Verified = false;
  }

  std::vector<std::vector<TCost>> Ours(List.size()), Peer(List.size());
  for (int R = 0; R < Rounds; ++R) {
    for (size_t K = 0; K < List.size(); ++K) {
      const TScenario& S = List[K];
      const std::string Out = Dir + "/timed." + S.Ext;
      for (int Side = 0; Side < 2; ++Side) {
        // Alternating which side goes first.
        const bool OursNow = (Side == 0) == (R % 2 == 0);
        TCost Sum;
        for (int I = 0; I < S.Repeats; ++I) {
          TCost Cost;
          if (!Run(OursNow ? OurCommand(Driver, S, Out) : PeerCommand(S, Out), Cost)) return 1;
          Sum.Wall += Cost.Wall;
          Sum.Cpu += Cost.Cpu;
        }
        (OursNow ? Ours : Peer)[K].push_back(Sum);
      }
    }
  }

  std::printf("transcode, medians of %d rounds after a warm-up, pinned to 2 cores, %s threads%s\n", Rounds, Threads,
              Verified ? ", outputs verified equal" : ", OUTPUTS DIFFER (see stderr)");
  std::printf("%-34s %10s %10s %10s %10s %8s\n", "scenario", "ours wall", "ours cpu", "ffm wall", "ffm cpu", "cpu x");
  double Worst = 0;
  for (size_t K = 0; K < List.size(); ++K) {
    std::vector<double> OW, OC, PW, PC;
    for (const TCost& C : Ours[K]) OW.push_back(C.Wall), OC.push_back(C.Cpu);
    for (const TCost& C : Peer[K]) PW.push_back(C.Wall), PC.push_back(C.Cpu);
    const double X = Median(OC) / Median(PC);
    static const char* Titles[] = {"(a) 720p H.264/AAC, libx264", "(b) 720p -> 360p crop/pad/scale",
                                   "(c) remux x20 (information)", "(d) MP3 -> AAC"};
    std::printf("%-34s %9.3fs %9.3fs %9.3fs %9.3fs %8.3f\n", Titles[K], Median(OW), Median(OC), Median(PW),
                Median(PC), X);
    if (List[K].Counted) Worst = std::max(Worst, X);
  }
  std::printf("ratio %.3f\n", Worst);
  return 0;
}
