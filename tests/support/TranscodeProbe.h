// What Debian's ffprobe counts and measures in a converted file, for the transcoder tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vantrel::test {

// Frames ffprobe decodes from the selected stream ("v:0"); -1 when ffprobe fails.
int TranscodeCountFrames(const std::string& AFile, const std::string& AStream = "v:0");
// Packets of the selected stream; -1 when ffprobe fails.
int TranscodeCountPackets(const std::string& AFile, const std::string& AStream);
// The mean over all pictures of the first video stream of one figure of the signalstats
// filter ("YAVG" the mean luma, "SATAVG" the mean saturation); -1 when ffprobe fails.
double TranscodeMeanStat(const std::string& AFile, const std::string& AKey);
// The time (seconds) and one signalstats figure of each picture of the first video
// stream, in order; empty when ffprobe fails.
std::vector<std::pair<double, double>> TranscodeFrameStats(const std::string& AFile, const std::string& AKey);

}  // namespace vantrel::test
