// Helpers of the prober tests.
#include "tests/support/ProbeFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

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

std::string ReadFileBytes(const std::string& APath) {
  std::ifstream F(APath, std::ios::binary);
  if (!F) ADD_FAILURE() << "cannot read " << APath;
  return std::string(std::istreambuf_iterator<char>(F), {});
}

void WriteFileBytes(const std::string& APath, const std::string& ABytes) {
  std::ofstream F(APath, std::ios::binary | std::ios::trunc);
  F.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
  if (!F) ADD_FAILURE() << "cannot write " << APath;
}

}  // namespace vantrel::test
