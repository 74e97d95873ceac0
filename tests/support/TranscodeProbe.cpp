// ffprobe figures for the transcoder tests.
#include "tests/support/TranscodeProbe.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace vantrel::test {

namespace {

std::string Quote(const std::string& S) {
  std::string R = "'";
  for (char C : S) R += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return R + "'";
}

bool Run(const std::string& ACommand, std::string& AOut) {
  std::FILE* P = ::popen(ACommand.c_str(), "r");
  if (!P) return false;
  char Buf[4096];
  size_t N;
  AOut.clear();
  while ((N = std::fread(Buf, 1, sizeof Buf, P)) > 0) AOut.append(Buf, N);
  return ::pclose(P) == 0;
}

int Count(const std::string& AFile, const std::string& AStream, const char* AOption, const char* AEntry) {
  std::string Out;
  if (!Run("ffprobe -v error " + std::string(AOption) + " -select_streams " + Quote(AStream) +
               " -show_entries stream=" + AEntry + " -of default=noprint_wrappers=1:nokey=1 " + Quote(AFile),
           Out) ||
      Out.empty())
    return -1;
  return std::atoi(Out.c_str());
}

}  // namespace

int TranscodeCountFrames(const std::string& AFile, const std::string& AStream) {
  return Count(AFile, AStream, "-count_frames", "nb_read_frames");
}

int TranscodeCountPackets(const std::string& AFile, const std::string& AStream) {
  return Count(AFile, AStream, "-count_packets", "nb_read_packets");
}

double TranscodeMeanStat(const std::string& AFile, const std::string& AKey) {
  // The movie source reads the file by name: ":" and "," would need escaping there.
  std::string Out;
  if (!Run("ffprobe -v error -f lavfi " + Quote("movie=" + AFile + ",signalstats") +
               " -show_entries frame_tags=lavfi.signalstats." + AKey + " -of default=noprint_wrappers=1:nokey=1",
           Out))
    return -1;
  std::istringstream In(Out);
  double Sum = 0, V;
  int N = 0;
  while (In >> V) {
    Sum += V;
    ++N;
  }
  return N ? Sum / N : -1;
}

std::vector<std::pair<double, double>> TranscodeFrameStats(const std::string& AFile, const std::string& AKey) {
  std::string Out;
  std::vector<std::pair<double, double>> Frames;
  if (!Run("ffprobe -v error -f lavfi " + Quote("movie=" + AFile + ",signalstats") +
               " -show_entries frame=pts_time:frame_tags=lavfi.signalstats." + AKey + " -of csv=p=0",
           Out))
    return Frames;
  std::istringstream In(Out);
  std::string Line;
  while (std::getline(In, Line)) {
    double Time = 0, Value = 0;
    if (std::sscanf(Line.c_str(), "%lf,%lf", &Time, &Value) == 2) Frames.emplace_back(Time, Value);
  }
  return Frames;
}

}  // namespace vantrel::test
