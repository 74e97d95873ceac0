#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Shell.h"

using vantrel::display::HeadlessSession;
using vantrel::win::RecordingLauncher;

namespace {

using Argv = std::vector<std::string>;

// A session whose launcher records; the recorder stays owned by the session.
struct ShellFixture {
  HeadlessSession S;
  RecordingLauncher* Rec;
  ShellFixture() {
    auto R = std::make_unique<RecordingLauncher>();
    Rec = R.get();
    S.Manager().Shell().SetLauncher(std::move(R));
  }
};

std::string MakeFile(const std::string& Name, const std::string& Text, mode_t Mode) {
  const std::string Path = testing::TempDir() + Name;
  std::ofstream(Path) << Text;
  chmod(Path.c_str(), Mode);
  return Path;
}

uintptr_t Result(HINSTANCE H) { return reinterpret_cast<uintptr_t>(H); }

}  // namespace

TEST(Shell, FoldersDocumentsAndLinksOpenThroughXdgOpen) {
  ShellFixture F;
  const std::string Dir = testing::TempDir();
  const std::string Doc = MakeFile("clip.mp4", "not a program", 0755);  // executable bit, but no program
  struct Case {
    const char* Verb;
    std::string File;
  } Cases[] = {{"open", Dir},
               {nullptr, "mailto:someone@example.org?subject=Hello%20there"},
               {"open", "https://example.org/help page"},
               {"explore", Dir},
               {"open", Doc}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.File);
    F.Rec->Calls.clear();
    EXPECT_GT(Result(ShellExecute(nullptr, C.Verb, C.File.c_str(), "ignored", nullptr, 1)), 32u);
    ASSERT_EQ(F.Rec->Calls.size(), 1u);
    EXPECT_EQ(F.Rec->Calls[0].Argv, (Argv{"xdg-open", C.File}));
  }
}

TEST(Shell, ProgramsRunThemselvesWithTheParametersSplitIntoArguments) {
  ShellFixture F;
  const std::string Script = MakeFile("tool.sh", "#!/bin/sh\nexit 0\n", 0755);
  ASSERT_GT(Result(ShellExecute(nullptr, "open", Script.c_str(), R"(-i "my clip.avi" say\"hi)", "/tmp", 1)), 32u);
  ASSERT_EQ(F.Rec->Calls.size(), 1u);
  EXPECT_EQ(F.Rec->Calls[0].Argv, (Argv{Script, "-i", "my clip.avi", "say\"hi"}));
  EXPECT_EQ(F.Rec->Calls[0].Directory, "/tmp");
  // A bare name is looked up in PATH by the launcher.
  ShellExecute(nullptr, nullptr, "ffprobe", "-v quiet", nullptr, 1);
  EXPECT_EQ(F.Rec->Calls.back().Argv, (Argv{"ffprobe", "-v", "quiet"}));
}

TEST(Shell, FailuresGiveCodesOf32OrLess) {
  ShellFixture F;
  const std::string Missing = testing::TempDir() + "no-such-file.avi";
  struct Case {
    const char* Verb;
    std::string File;
    uintptr_t Code;
  } Cases[] = {{"open", Missing, SE_ERR_FNF},
               {"open", "/no/such/folder/file.avi", SE_ERR_PNF},
               {"print", testing::TempDir(), SE_ERR_NOASSOC},
               {"open", "", SE_ERR_FNF}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.File);
    EXPECT_EQ(Result(ShellExecute(nullptr, C.Verb, C.File.c_str(), nullptr, nullptr, 1)), C.Code);
  }
  EXPECT_TRUE(F.Rec->Calls.empty());
  // A launcher that cannot start the program.
  F.Rec->Fail = true;
  EXPECT_LE(Result(ShellExecute(nullptr, "open", "https://example.org", nullptr, nullptr, 1)), 32u);
  SHELLEXECUTEINFO Info;
  Info.lpFile = "mailto:x@example.org";
  EXPECT_FALSE(ShellExecuteEx(&Info));
  EXPECT_LE(Result(Info.hInstApp), 32u);
  F.Rec->Fail = false;
  EXPECT_TRUE(ShellExecuteEx(&Info));
  EXPECT_GT(Result(Info.hInstApp), 32u);
  SHELLEXECUTEINFO NoFile;
  EXPECT_FALSE(ShellExecuteEx(&NoFile));
}

TEST(Shell, CommandLinesSplitAsTheWindowsRuntimeDoes) {
  struct Case {
    const char* Line;
    Argv Expected;
  } Cases[] = {
      {"", {}},
      {"  a   b ", {"a", "b"}},
      {R"("a b" c)", {"a b", "c"}},
      {R"(a"b c"d)", {"ab cd"}},
      {R"(a\"b)", {"a\"b"}},
      {R"(a\\"b c")", {"a\\b c"}},
      {R"(C:\path\to\file)", {R"(C:\path\to\file)"}},
      {R"("")", {""}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Line);
    EXPECT_EQ(vantrel::win::SplitCommandLine(C.Line), C.Expected);
  }
}

TEST(Shell, TheSpawnLauncherStartsARealProgramWithoutAShell) {
  vantrel::win::SpawnLauncher L;
  std::string Error;
  const std::string Out = testing::TempDir() + "spawned; rm -rf nothing";
  std::remove(Out.c_str());
  // The file name would break a shell command line; as one argument it is just a name.
  ASSERT_TRUE(L.Launch({"touch", Out}, "", Error)) << Error;
  struct stat St {};
  for (int I = 0; I < 1000 && ::stat(Out.c_str(), &St) != 0; ++I)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(::stat(Out.c_str(), &St), 0);
  EXPECT_FALSE(L.Launch({"no-such-program-vantrel"}, "", Error));
  EXPECT_FALSE(Error.empty());
}
