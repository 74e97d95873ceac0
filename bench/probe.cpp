// Probing media files: TFFDecoder.LoadFile (with the stream records the file list reads)
// against the same libavformat calls made directly in this process (open, find the
// stream information, close), over the same 20 generated files. Several rounds, medians.
// The ffprobe a user would run per file (`ffprobe -show_streams`, timed as the whole
// process) is printed for information.
// Last line: ratio <LoadFile's time / the direct calls' time>.
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchKit.h"
#include "media/AVFormatAPI.h"
#include "media/FFDecode.h"


using namespace vantrel::media;

namespace {

constexpr int OurRounds = 11, PeerRounds = 5;

// Name, then the ffmpeg arguments after the lavfi sources (T: testsrc, S: sine).
struct TFixture {
  const char* Name;
  bool Video;
  const char* Args;
};

const TFixture Fixtures[] = {
    {"h264-aac.mp4", true, "-c:v libx264 -preset ultrafast -c:a aac"},
    {"h264-aac.mkv", true, "-c:v libx264 -preset ultrafast -c:a aac"},
    {"mpeg2-mp2.ts", true, "-c:v mpeg2video -c:a mp2"},
    {"mpeg1-mp2.mpg", true, "-c:v mpeg1video -c:a mp2 -f mpeg"},
    {"mpeg4-mp3.avi", true, "-c:v mpeg4 -c:a libmp3lame"},
    {"vp8-vorbis.webm", true, "-c:v libvpx -deadline realtime -c:a libvorbis"},
    {"theora-vorbis.ogv", true, "-c:v libtheora -c:a libvorbis"},
    {"mjpeg-pcm.mov", true, "-c:v mjpeg -c:a pcm_s16le"},
    {"flv1-mp3.flv", true, "-c:v flv1 -c:a libmp3lame -ar 44100"},
    {"wmv2-wma.wmv", true, "-c:v wmv2 -c:a wmav2"},
    {"h263-aac.3gp", true, "-s 176x144 -c:v h263 -c:a aac -ar 8000 -ac 1"},
    {"mpeg4-aac.mkv", true, "-c:v mpeg4 -c:a aac"},
    {"mp3.mp3", false, "-c:a libmp3lame"},
    {"aac.m4a", false, "-c:a aac"},
    {"vorbis.ogg", false, "-c:a libvorbis"},
    {"opus.opus", false, "-c:a libopus"},
    {"flac.flac", false, "-c:a flac"},
    {"pcm.wav", false, "-c:a pcm_s16le"},
    {"ac3.ac3", false, "-c:a ac3"},
    {"mp2.mp2", false, "-c:a mp2"},
};

bool MakeFixtures(const std::string& ADir) {
  for (const TFixture& F : Fixtures) {
    std::string Cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y ";
    if (F.Video) Cmd += "-f lavfi -i testsrc=size=320x240:rate=25:duration=2 ";
    Cmd += "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=2 ";
    Cmd += std::string(F.Args) + " '" + ADir + "/" + F.Name + "'";
    if (std::system(Cmd.c_str()) != 0) {
      std::fprintf(stderr, "cannot make %s\n", F.Name);
      return false;
    }
  }
  return true;
}

using vantrel::bench::Median;

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

// One round of ours: what the application does when files are added.
bool ProbeOurs(TFFDecoder& D, const std::vector<std::string>& AFiles, long long& AChecksum) {
  for (const std::string& F : AFiles) {
    if (!D.LoadFile(F, "")) {
      std::fprintf(stderr, "LoadFile %s: %s\n", F.c_str(), D.LastErrMsg().c_str());
      return false;
    }
    AChecksum += D.FileStreamInfo().Duration;
    for (Integer I = 0; I < D.StreamCount(); ++I) {
      if (D.IsVideoStream(I)) AChecksum += D.GetVideoStreamInfo(I).Width;
      if (D.IsAudioStream(I)) AChecksum += D.GetAudioStreamInfo(I).SampleRate;
    }
  }
  D.CloseFile();
  return true;
}

// One round of the library alone: what any prober must do per file.
bool ProbeDirect(const std::vector<std::string>& AFiles, long long& AChecksum) {
  for (const std::string& F : AFiles) {
    AVFormatContext* Ic = nullptr;
    if (ff::avformat_open_input(&Ic, F.c_str(), nullptr, nullptr) < 0) {
      std::fprintf(stderr, "avformat_open_input %s failed\n", F.c_str());
      return false;
    }
    if (ff::avformat_find_stream_info(Ic, nullptr) < 0) {
      std::fprintf(stderr, "avformat_find_stream_info %s failed\n", F.c_str());
      ff::avformat_close_input(&Ic);
      return false;
    }
    AChecksum += Ic->duration;
    ff::avformat_close_input(&Ic);
  }
  return true;
}

// One ffprobe process per file, its output dropped.
bool ProbePeer(const std::vector<std::string>& AFiles) {
  for (const std::string& F : AFiles) {
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    const char* Argv[] = {"ffprobe", "-v", "error", "-show_streams", F.c_str(), nullptr};
    pid_t Pid = 0;
    const int Err =
        posix_spawnp(&Pid, "ffprobe", &Actions, nullptr, const_cast<char* const*>(Argv), environ);
    posix_spawn_file_actions_destroy(&Actions);
    int Status = 0;
    if (Err != 0 || waitpid(Pid, &Status, 0) < 0 || !WIFEXITED(Status) ||
        WEXITSTATUS(Status) != 0) {
      std::fprintf(stderr, "ffprobe %s failed\n", F.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

int main() {
  const vantrel::bench::TScratchDir Scratch("vantrel-bench-probe");
  if (!Scratch.Ok()) return 1;
  const std::string& Dir = Scratch.Path();
  if (!MakeFixtures(Dir)) return 1;
  std::vector<std::string> Files;
  for (const TFixture& F : Fixtures) Files.push_back(Dir + "/" + F.Name);

  TOwned<TFFDecoder> Decoder(TFFDecoder::Create(nullptr));
  if (!Decoder->LoadAVLib("")) {
    std::fprintf(stderr, "%s\n", Decoder->LastErrMsg().c_str());
    return 1;
  }
  long long Checksum = 0;
  if (!ProbeOurs(*Decoder, Files, Checksum) || !ProbeDirect(Files, Checksum) || !ProbePeer(Files))
    return 1;  // warm-up

  // Ours and the direct calls take turns, so that both see the same machine load.
  std::vector<double> Ours, Direct, Peer;
  for (int R = 0; R < OurRounds; ++R) {
    auto T0 = Clock::now();
    if (!ProbeOurs(*Decoder, Files, Checksum)) return 1;
    Ours.push_back(Ms(Clock::now() - T0));
    T0 = Clock::now();
    if (!ProbeDirect(Files, Checksum)) return 1;
    Direct.push_back(Ms(Clock::now() - T0));
  }
  for (int R = 0; R < PeerRounds; ++R) {
    const auto T0 = Clock::now();
    if (!ProbePeer(Files)) return 1;
    Peer.push_back(Ms(Clock::now() - T0));
  }
  const double OurMs = Median(Ours), DirectMs = Median(Direct), PeerMs = Median(Peer);
  std::printf("probe %zu files, medians of %d / %d rounds (checksum %lld)\n", Files.size(),
              OurRounds, PeerRounds, Checksum);
  std::printf("LoadFile          %8.2f ms  (%.2f ms a file)\n", OurMs, OurMs / Files.size());
  std::printf("libavformat calls %8.2f ms  (%.2f ms a file)\n", DirectMs, DirectMs / Files.size());
  std::printf("ffprobe process   %8.2f ms  (%.2f ms a file, information)\n", PeerMs, PeerMs / Files.size());
  std::printf("ratio %.3f\n", OurMs / DirectMs);
  return 0;
}
