// Helpers of the prober tests: what Debian's ffprobe says about a file, and whole-file
// reads and writes for mutated copies of fixtures.
#pragma once

#include <string>

namespace vantrel::test {

// The values ffprobe prints for the entries (for example "format=start_time"), one per
// line without keys, of the streams AStreams selects (ffprobe's -select_streams) or of
// all; empty when ffprobe fails.
std::string FFProbeEntries(const std::string& AFile, const std::string& AEntries,
                           const std::string& AStreams = std::string());

std::string ReadFileBytes(const std::string& APath);
void WriteFileBytes(const std::string& APath, const std::string& ABytes);

}  // namespace vantrel::test
