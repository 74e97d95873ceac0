// Helpers of the prober tests: what Debian's ffprobe says about a file.
#pragma once

#include <string>

#include "tests/support/TempDir.h"  // ReadFileBytes, WriteFileBytes

namespace vantrel::test {

// The values ffprobe prints for the entries (for example "format=start_time"), one per
// line without keys, of the streams AStreams selects (ffprobe's -select_streams) or of
// all; empty when ffprobe fails.
std::string FFProbeEntries(const std::string& AFile, const std::string& AEntries,
                           const std::string& AStreams = std::string());

}  // namespace vantrel::test
