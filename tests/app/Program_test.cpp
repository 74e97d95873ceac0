// The program's entry: the library versions without a display, and a clear message and
// exit code 1 when there is no X display to show windows on.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/support/TestPaths.h"

namespace {

struct RunResult {
  int Code = -1;
  std::string Out;  // standard output and error together
};

RunResult RunProgram(const std::string& Args) {
  RunResult R;
  const std::string Command = "env -u DISPLAY '" + vantrel::test::BinDir() + "/vantrel' " + Args + " 2>&1";
  FILE* P = popen(Command.c_str(), "r");
  if (!P) return R;
  char Buffer[512];
  size_t N;
  while ((N = std::fread(Buffer, 1, sizeof Buffer, P)) > 0) R.Out.append(Buffer, N);
  const int Status = pclose(P);
  R.Code = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  return R;
}

}  // namespace

TEST(Program, WithoutADisplayItSaysSoAndExitsWith1) {
  const RunResult R = RunProgram("");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out,
            "Vantrel needs an X11 display, but the DISPLAY environment variable is not set. Start it from a graphical "
            "desktop or under xvfb-run.\n");
}

TEST(Program, VersionsNeedNoDisplay) {
  const RunResult R = RunProgram("--versions");
  EXPECT_EQ(R.Code, 0) << R.Out;
  EXPECT_NE(R.Out.find("libavcodec"), std::string::npos) << R.Out;
  EXPECT_NE(R.Out.find("libavformat"), std::string::npos) << R.Out;
}
