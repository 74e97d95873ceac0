// Helpers of the prober tests.
#include "tests/support/ProbeFixtures.h"

#include <cstdio>

namespace vantrel::test {

namespace {

// The text in single quotes for the shell.
std::string ShellQuote(const std::string& S) {
  std::string R = "'";
  for (char C : S) R += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return R + "'";
}

}  // namespace

std::string FFProbeEntries(const std::string& AFile, const std::string& AEntries,
                           const std::string& AStreams) {
  std::string Cmd = "ffprobe -v error";
  if (!AStreams.empty()) Cmd += " -select_streams " + ShellQuote(AStreams);
  Cmd += " -show_entries " + ShellQuote(AEntries) + " -of default=noprint_wrappers=1:nokey=1 " +
         ShellQuote(AFile);
  std::FILE* P = ::popen(Cmd.c_str(), "r");
  if (!P) return std::string();
  std::string Out;
  char Buf[4096];
  size_t N;
  while ((N = std::fread(Buf, 1, sizeof Buf, P)) > 0) Out.append(Buf, N);
  if (::pclose(P) != 0) return std::string();
  return Out;
}

}  // namespace vantrel::test
